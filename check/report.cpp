#include "report.h"

#include <cstdio>

#include "encoding.h"
#include "highlighter.h"
#include "program_colours.h"
#include "texts.h"

namespace {

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Base64(const std::string& bytes) {
  static const char* abc = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const uint32_t b0 = static_cast<unsigned char>(bytes[i]);
    const uint32_t b1 = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    const uint32_t b2 = i + 2 < bytes.size() ? static_cast<unsigned char>(bytes[i + 2]) : 0;
    const uint32_t n = (b0 << 16) | (b1 << 8) | b2;
    out += abc[(n >> 18) & 63];
    out += abc[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? abc[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? abc[n & 63] : '=';
  }
  return out;
}

std::string Fixed(double v, int digits) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.*f", digits, v);
  return buffer;
}

// The program editor's colouring; the page's classes are its style indexes.
const TProgramColouring& Colouring() {
  static const TProgramColouring c = ProgramColouring();
  return c;
}

std::string Css(const TCharStyle& s) {
  char color[32];
  std::snprintf(color, sizeof color, "color:#%06x;", static_cast<unsigned>(s.TextColor));
  std::string css = color;
  if (s.Style & fsBold) css += "font-weight:bold;";
  if (s.Style & fsItalic) css += "font-style:italic;";
  return css;
}

const char* VerdictClass(TVerdictKind k) { return IsSuccess(k) ? "ok" : IsError(k) ? "err" : "bad"; }

int FailureLine(const TProgramResult& p) {
  for (const TCheckCell& c : p.Cells)
    if (!IsSuccess(c.Verdict.Kind) && c.Verdict.Line > 0) return c.Verdict.Line;
  return -1;
}

const char* kScript = R"(
document.querySelectorAll('table.sortable th').forEach(function (th, col) {
  th.addEventListener('click', function () {
    var table = th.closest('table'), body = table.tBodies[0];
    var rows = Array.prototype.slice.call(body.rows);
    var up = th.getAttribute('data-order') !== 'up';
    table.querySelectorAll('th').forEach(function (h) { h.removeAttribute('data-order'); });
    th.setAttribute('data-order', up ? 'up' : 'down');
    function key(row) {
      var cell = row.cells[col];
      var v = cell.getAttribute('data-sort');
      return v !== null ? v : cell.textContent.trim();
    }
    var numeric = rows.every(function (r) { return key(r) !== '' && !isNaN(Number(key(r))); });
    rows.sort(function (a, b) {
      var x = key(a), y = key(b);
      var d = numeric ? Number(x) - Number(y) : x.localeCompare(y, 'ru');
      return up ? d : -d;
    });
    rows.forEach(function (r) { body.appendChild(r); });
  });
});
)";

const char* kStyle = R"(
body { font-family: sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.5em; } h2 { font-size: 1.2em; margin-top: 2em; border-bottom: 1px solid #ccc; }
pre.task { background: #f6f6f0; padding: .6em; white-space: pre-wrap; }
table { border-collapse: collapse; margin: .6em 0; }
th, td { border: 1px solid #bbb; padding: .25em .5em; text-align: left; vertical-align: top; }
table.sortable th { cursor: pointer; background: #eee; user-select: none; }
table.sortable th[data-order=up]::after { content: " \25B2"; }
table.sortable th[data-order=down]::after { content: " \25BC"; }
td.ok { background: #e3f6e3; } td.bad { background: #fdf1d6; } td.err { background: #f9dcdc; }
td.num { text-align: right; }
span.ok { color: #070; } span.bad { color: #a60; } span.err { color: #b00; }
pre.src { font-family: monospace; font-size: 13px; border: 1px solid #ccc; padding: .3em 0; margin: .4em 0; overflow-x: auto; }
pre.src .ln { display: block; padding: 0 .5em; white-space: pre; }
pre.src .ln::before { content: attr(data-n); display: inline-block; width: 2.5em; color: #999; text-align: right; margin-right: 1em; }
pre.src .fail { background: #ffd0d0; outline: 1px solid #e00; }
pre.out { background: #111; color: #eee; padding: .4em; max-height: 14em; overflow: auto; white-space: pre-wrap; }
.fields { display: flex; flex-wrap: wrap; gap: 1em; }
figure { margin: 0; border: 1px solid #ccc; padding: .4em; max-width: 320px; }
figure img { max-width: 300px; max-height: 300px; image-rendering: pixelated; display: block; }
figcaption { font-size: .9em; margin-top: .3em; white-space: pre-line; }
.pair { display: flex; gap: 1em; } .pair > div { flex: 1; min-width: 0; }
.summary { font-size: 1.1em; }
)";

}  // namespace

TOverall Overall(const TProgramResult& p) {
  TOverall o = ovSolved;
  for (const TCheckCell& c : p.Cells) {
    if (IsError(c.Verdict.Kind)) return ovErrors;
    if (!IsSuccess(c.Verdict.Kind)) o = ovNotSolved;
  }
  return o;
}

std::string FirstFailure(const TClassReport& r, const TProgramResult& p) {
  for (size_t i = 0; i < p.Cells.size(); ++i) {
    const TVerdict& v = p.Cells[i].Verdict;
    if (IsSuccess(v.Kind)) continue;
    std::string text = r.Columns[i].Name + ": " + VerdictWord(v.Kind);
    std::string details = v.Text;
    if (v.Kind == vkLoop) details = v.Text;  // the message names its line itself
    else if (v.Line > 0 && v.Col > 0) details = U8(sCheckLineCol, {v.Line, v.Col, Cp(v.Text)});
    else if (v.Line > 0) details = U8(sCheckLine, {v.Line, Cp(v.Text)});
    if (!details.empty()) text += ": " + details;
    for (char& c : text)
      if (c == '\n') c = ' ';
    return text;
  }
  return {};
}

uint64_t TotalInstructions(const TProgramResult& p) {
  uint64_t n = 0;
  for (const TCheckCell& c : p.Cells) n += c.Instructions;
  return n;
}

double TotalSeconds(const TProgramResult& p) {
  double s = 0;
  for (const TCheckCell& c : p.Cells) s += c.Seconds;
  return s;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r;") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvReport(const TClassReport& r) {
  std::string out = "\xEF\xBB\xBF";
  auto row = [&](const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + CsvField(fields[i]);
    out += "\r\n";
  };
  std::vector<std::string> header = {U8(sCsvProgram), U8(sCsvResult)};
  for (const TCheckColumn& c : r.Columns) header.push_back(c.Name);
  for (const std::string& h : {U8(sCsvFirstFailure), U8(sCsvInstructions), U8(sCsvSeconds), U8(sCsvSimilar)})
    header.push_back(h);
  row(header);
  for (size_t i = 0; i < r.Programs.size(); ++i) {
    const TProgramResult& p = r.Programs[i];
    const TOverall o = Overall(p);
    std::vector<std::string> fields = {
        p.Name, o == ovSolved ? U8(sCsvVerdictSolved) : o == ovNotSolved ? U8(sVkNotSolved) : U8(sCsvVerdictErrors)};
    for (const TCheckCell& c : p.Cells) fields.push_back(VerdictWord(c.Verdict.Kind));
    fields.push_back(FirstFailure(r, p));
    fields.push_back(std::to_string(TotalInstructions(p)));
    fields.push_back(Fixed(TotalSeconds(p), 2));
    std::string similar;
    auto add = [&](int other, const std::string& note) {
      similar += (similar.empty() ? "" : "; ") + r.Programs[static_cast<size_t>(other)].Name + note;
    };
    for (const std::vector<int>& g : r.Similar.Groups)
      if (std::find(g.begin(), g.end(), static_cast<int>(i)) != g.end())
        for (int m : g)
          if (m != static_cast<int>(i)) add(m, "");
    for (const TNearMatch& n : r.Similar.Near)
      if (n.A == static_cast<int>(i) || n.B == static_cast<int>(i))
        add(n.A == static_cast<int>(i) ? n.B : n.A, " (" + std::to_string(static_cast<int>(n.Score * 100 + 0.5)) + "%)");
    fields.push_back(similar);
    row(fields);
  }
  return out;
}

std::string ColoredSource(const std::vector<std::string>& utf8Lines, int errorLine) {
  const THighlighter& h = Colouring().Highlighter;
  const int styleCount = Colouring().Styles.Count();
  std::string out = "<pre class=\"src\">";
  TLineState state;
  std::string styles;
  for (size_t n = 0; n < utf8Lines.size(); ++n) {
    const std::string line = Utf8ToCp1251(utf8Lines[n]);
    state = h.Scan(line, state, styles);
    out += "<span class=\"ln";
    if (static_cast<int>(n + 1) == errorLine) out += " fail";
    out += "\" data-n=\"" + std::to_string(n + 1) + "\">";
    for (size_t i = 0; i < line.size();) {
      const int s = i < styles.size() ? static_cast<unsigned char>(styles[i]) : 0;
      size_t j = i + 1;
      while (j < line.size() && (j < styles.size() ? static_cast<unsigned char>(styles[j]) : 0) == s) ++j;
      const std::string piece = Escape(Cp1251ToUtf8(std::string_view(line).substr(i, j - i)));
      if (s > 0 && s < styleCount) out += "<span class=\"s" + std::to_string(s) + "\">" + piece + "</span>";
      else out += piece;
      i = j;
    }
    out += "</span>";
  }
  return out + "</pre>";
}

std::string HtmlReport(const TClassReport& r) {
  std::string title = U8(sHtmlTitle, {Cp(r.TaskName)});
  std::string out = "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>" + Escape(title) +
                    "</title>\n<style>" + kStyle;
  for (int s = 1; s < Colouring().Styles.Count(); ++s)
    out += "pre.src .s" + std::to_string(s) + " { " + Css(Colouring().Styles.Get(s)) + " }\n";
  out += "</style></head>\n<body>\n<h1>" + Escape(title) + "</h1>\n";
  if (!r.Wording.empty()) out += "<h2>" + Escape(U8(sHtmlTask)) + "</h2><pre class=\"task\">" + Escape(r.Wording) + "</pre>\n";

  int counts[3] = {0, 0, 0};
  for (const TProgramResult& p : r.Programs) ++counts[Overall(p)];
  out += "<p class=\"summary\">" +
         Escape(U8(sHtmlSummary, {static_cast<int>(r.Programs.size()), counts[ovSolved], counts[ovNotSolved], counts[ovErrors]})) +
         "</p>\n<p>" + Escape(U8(sHtmlSortHint)) + "</p>\n";

  // The table.
  out += "<table class=\"sortable\" id=\"results\"><thead><tr><th>№</th><th>" + Escape(U8(sCsvProgram)) + "</th><th>" +
         Escape(U8(sCsvResult)) + "</th>";
  for (const TCheckColumn& c : r.Columns) out += "<th>" + Escape(c.Name) + "</th>";
  out += "<th>" + Escape(U8(sCsvFirstFailure)) + "</th><th>" + Escape(U8(sCsvInstructions)) + "</th><th>" +
         Escape(U8(sCsvSeconds)) + "</th></tr></thead><tbody>\n";
  for (size_t i = 0; i < r.Programs.size(); ++i) {
    const TProgramResult& p = r.Programs[i];
    const TOverall o = Overall(p);
    const char* cls = o == ovSolved ? "ok" : o == ovNotSolved ? "bad" : "err";
    out += "<tr><td class=\"num\">" + std::to_string(i + 1) + "</td><td><a href=\"#p" + std::to_string(i) + "\">" +
           Escape(p.Name) + "</a></td><td class=\"" + cls + "\" data-sort=\"" + std::to_string(o) + "\">" +
           Escape(o == ovSolved ? U8(sCsvVerdictSolved) : o == ovNotSolved ? U8(sVkNotSolved) : U8(sCsvVerdictErrors)) +
           "</td>";
    for (const TCheckCell& c : p.Cells)
      out += std::string("<td class=\"") + VerdictClass(c.Verdict.Kind) + "\" data-sort=\"" +
             std::to_string(c.Verdict.Kind) + "\">" + Escape(VerdictWord(c.Verdict.Kind)) + "</td>";
    out += "<td>" + Escape(FirstFailure(r, p)) + "</td><td class=\"num\">" + std::to_string(TotalInstructions(p)) +
           "</td><td class=\"num\">" + Fixed(TotalSeconds(p), 2) + "</td></tr>\n";
  }
  out += "</tbody></table>\n";

  // Similar programs.
  auto sideBySide = [&](int a, int b) {
    std::string html = "<div class=\"pair\">";
    for (int k : {a, b}) {
      const TProgramResult& p = r.Programs[static_cast<size_t>(k)];
      html += "<div><b>" + Escape(p.Name) + "</b>" + ColoredSource(p.Lines, -1) + "</div>";
    }
    return html + "</div>\n";
  };
  out += "<h2 id=\"similar\">" + Escape(U8(sHtmlSimilar)) + "</h2>\n";
  if (r.Similar.Groups.empty() && r.Similar.Near.empty()) out += "<p>" + Escape(U8(sHtmlNoSimilar)) + "</p>\n";
  if (!r.Similar.Groups.empty()) {
    out += "<h3>" + Escape(U8(sHtmlSameCode)) + "</h3>\n";
    for (const std::vector<int>& g : r.Similar.Groups) {
      std::string names;
      for (int m : g) names += (names.empty() ? "" : ", ") + r.Programs[static_cast<size_t>(m)].Name;
      out += "<details class=\"group\" open><summary>" + Escape(names) + "</summary>\n";
      for (size_t k = 1; k < g.size(); ++k) out += sideBySide(g[0], g[k]);
      out += "</details>\n";
    }
  }
  if (!r.Similar.Near.empty()) {
    out += "<h3>" + Escape(U8(sHtmlNear)) + "</h3>\n";
    for (const TNearMatch& n : r.Similar.Near) {
      out += "<details class=\"near\"><summary>" + Escape(r.Programs[static_cast<size_t>(n.A)].Name) + " — " +
             Escape(r.Programs[static_cast<size_t>(n.B)].Name) + ": " +
             Escape(U8(sHtmlScore, {static_cast<int>(n.Score * 100 + 0.5)})) + "</summary>\n" + sideBySide(n.A, n.B) +
             "</details>\n";
    }
  }

  // Each program.
  for (size_t i = 0; i < r.Programs.size(); ++i) {
    const TProgramResult& p = r.Programs[i];
    out += "<h2 id=\"p" + std::to_string(i) + "\">" + Escape(p.Name) + "</h2>\n";
    const std::string failure = FirstFailure(r, p);
    if (!failure.empty()) out += "<p>" + Escape(failure) + "</p>\n";
    out += ColoredSource(p.Lines, FailureLine(p));
    out += "<div class=\"fields\">";
    for (size_t c = 0; c < p.Cells.size(); ++c) {
      const TCheckCell& cell = p.Cells[c];
      out += "<figure>";
      if (!cell.Png.empty()) out += "<img alt=\"\" src=\"data:image/png;base64," + Base64(cell.Png) + "\">";
      out += "<figcaption><b>" + Escape(r.Columns[c].Name) + "</b>: <span class=\"" + VerdictClass(cell.Verdict.Kind) +
             "\">" + Escape(VerdictWord(cell.Verdict.Kind)) + "</span>";
      if (!cell.Verdict.Text.empty()) out += "<br>" + Escape(cell.Verdict.Text);
      out += "</figcaption>";
      if (!r.Columns[c].Field || !cell.Output.empty())
        out += "<pre class=\"out\" title=\"" + Escape(U8(sHtmlOutput)) + "\">" +
               Escape(cell.Output.empty() ? U8(sHtmlNoOutput) : cell.Output) + "</pre>";
      out += "</figure>";
    }
    out += "</div>\n";
  }
  out += "<script>" + std::string(kScript) + "</script>\n</body></html>\n";
  return out;
}
