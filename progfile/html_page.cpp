#include "html_page.h"

#include <cstdio>

#include "encoding.h"
#include "program_text.h"
#include "string_table.h"

namespace {

// Text content of the page: blanks keep their width, the signs that would
// start or end a tag are written as entities, and '&' too, so that a
// program which holds the text "&lt;" gets it back on import.
void AppendEscaped(std::string& out, char c) {
  switch (c) {
    case ' ': out += "&nbsp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '&': out += "&amp;"; break;
    default: out += c;
  }
}

// The run of style s ends: the closing order mirrors the opening order
// "<font>", "<b>", "<i>" as browsers and the import expect.
void CloseRun(std::string& out, const TCharStyle& s) {
  out += "</font>";
  if (s.Style & fsItalic) out += "</i>";
  if (s.Style & fsBold) out += "</b>";
}

std::string StyledLine(const std::string& text, const std::string* styles, const TStyleList& list) {
  std::string out;
  int s = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    const int t = styles && i < styles->size() ? static_cast<unsigned char>((*styles)[i]) : 0;
    if (t != s) {
      if (s > 0) CloseRun(out, list.SafeGet(s));
      if (t != 0) {
        const TCharStyle& style = list.SafeGet(t);
        out += "<font color=" + HtmlColor(style.TextColor) + ">";
        if (style.Style & fsBold) out += "<b>";
        if (style.Style & fsItalic) out += "<i>";
      }
      s = t;
    }
    AppendEscaped(out, text[i]);
  }
  if (s > 0) CloseRun(out, list.SafeGet(s));
  out += "<br>";
  return out;
}

// The title's name: the target's file name with its extension made .prg.
std::string TitleName(std::string_view targetName) {
  std::string name(FileNamePart(targetName));
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  name += ".prg";
  std::string escaped;
  for (char c : name) {
    if (c == ' ') escaped += c;  // blanks of a file name stay blanks in the title
    else AppendEscaped(escaped, c);
  }
  return escaped;
}

bool IsBlankLine(const std::string& line) {
  for (char c : line)
    if (static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

// Decodes the four entities the export writes, left to right in one pass.
std::string DecodeEntities(const std::string& text) {
  static constexpr struct {
    std::string_view entity;
    char c;
  } kEntities[] = {{"&nbsp;", ' '}, {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
  std::string out;
  out.reserve(text.size());
  const std::string_view view(text);
  for (size_t i = 0; i < text.size();) {
    bool decoded = false;
    if (text[i] == '&') {
      for (const auto& e : kEntities) {
        if (view.substr(i, e.entity.size()) == e.entity) {
          out += e.c;
          i += e.entity.size();
          decoded = true;
          break;
        }
      }
    }
    if (!decoded) out += text[i++];
  }
  return out;
}

}  // namespace

std::string HtmlColor(TColor c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
  return text;
}

std::vector<std::string> HtmlPage(std::string_view targetName, const std::vector<std::string>& lines,
                                  const std::vector<std::string>& styles, const TStyleList& list) {
  std::vector<std::string> page;
  page.reserve(lines.size() + 7);
  page.push_back("<html>");
  page.push_back("<head>");
  page.push_back("<title>" + Str(sHtmlTitleWord) + " " + TitleName(targetName) + "</title>");
  page.push_back("</head>");
  const TCharStyle& plain = list.SafeGet(0);
  page.push_back("<body background=" + HtmlColor(plain.BkColor) + " text=" + HtmlColor(plain.TextColor) +
                 " style=\"font-family: Courier\">");
  for (size_t i = 0; i < lines.size(); ++i)
    page.push_back(StyledLine(lines[i], i < styles.size() ? &styles[i] : nullptr, list));
  page.push_back("</body>");
  page.push_back("</html>");
  return page;
}

std::string HtmlPageBytes(const std::vector<std::string>& pageLines) { return ProgramFileBytes(pageLines); }

std::vector<std::string> ImportHtml(const std::vector<std::string>& pageLines) {
  std::vector<std::string> lines;
  // The depth is carried across lines, as a tag may span several; 64 bits,
  // so that no input, however many '<' it holds, can overflow it.
  long long depth = 0;
  bool inBody = false;
  for (const std::string& line : pageLines) {
    // Where "<body" starts, found once per line: searching again at every
    // '<' would take quadratic time on a line of nothing but '<'.
    const size_t bodyAt = inBody ? std::string::npos : LowerCase(line).find("<body");
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '<') {
        ++depth;
        if (i == bodyAt) inBody = true;
      } else if (c == '>') {
        --depth;
      } else if (depth == 0 && inBody) {
        text += c;
      }
    }
    text = DecodeEntities(text);
    if (!IsBlankLine(text)) lines.push_back(std::move(text));
  }
  return lines;
}
