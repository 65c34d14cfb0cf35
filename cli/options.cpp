#include "options.h"

#include <cstdlib>

#include "machine.h"
#include "string_table.h"

namespace {

// Digits with an optional minus, nothing else: strtol alone would also
// take a leading blank or "+", which a typo more likely put there.
bool ParseInt(const std::string& text, int lo, int hi, int& out) {
  const size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
  if (first >= text.size() || text[first] < '0' || text[first] > '9') return false;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

bool ParsePair(const std::string& text, char sep, int lo, int hi, int& a, int& b) {
  const size_t at = text.find(sep);
  if (at == std::string::npos) return false;
  return ParseInt(text.substr(0, at), lo, hi, a) && ParseInt(text.substr(at + 1), lo, hi, b);
}

}  // namespace

std::optional<TRunOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  TRunOptions o;
  bool executorGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = FormatStr(sCliMissingValue, {a});
        return false;
      }
      out = args[++i];
      return true;
    };
    auto bad = [&](const std::string& v) {
      error = FormatStr(sCliBadValue, {a, v});
      return std::nullopt;
    };
    std::string v;
    if (a == "--executor") {
      if (!value(v)) return std::nullopt;
      if (v == "turtle") o.Executor = ekTurtle;
      else if (v == "drawer") o.Executor = ekDrawer;
      else if (v == "grondo") o.Executor = ekGrondo;
      else return bad(v);
      executorGiven = true;
    } else if (a == "--task") {
      if (!value(o.Task)) return std::nullopt;
    } else if (a == "--input") {
      if (!value(o.Input)) return std::nullopt;
    } else if (a == "--png") {
      if (!value(o.Png)) return std::nullopt;
    } else if (a == "--scale") {
      if (!value(v)) return std::nullopt;
      if (!ParseInt(v, 0, 5, o.Scale)) return bad(v);
    } else if (a == "--field") {
      if (!value(v)) return std::nullopt;
      if (!ParsePair(v, 'x', 1, kMaxFieldSide, o.FieldWidth, o.FieldHeight)) return bad(v);
    } else if (a == "--origin") {
      if (!value(v)) return std::nullopt;
      // An origin off the canvas is allowed, as in the window's settings,
      // where the origin may lie beyond a narrower field.
      if (!ParsePair(v, ',', -kMaxFieldSide, 2 * kMaxFieldSide, o.OriginX, o.OriginY)) return bad(v);
    } else if (a == "--animate") {
      o.Animate = true;
    } else if (a == "--help" || a == "-h") {
      o.Help = true;
    } else if (a == "--html") {
      if (!value(o.Html)) return std::nullopt;
    } else if (a == "--listing") {
      o.Listing = true;
    } else if (a == "--format") {
      o.Format = true;
    } else if (a == "--encoding") {
      if (!value(v)) return std::nullopt;
      if (v == "utf8") o.Utf8 = true;
      else if (v == "cp1251") o.Utf8 = false;
      else return bad(v);
    } else if (a == "--max-steps" || a == "--stats" || a == "--detect-loops") {
      if (a == "--detect-loops") o.DetectLoops = true;
      else if (!value(v)) return std::nullopt;
      else if (a == "--stats") o.Stats = v;
      else if (char* end; (o.MaxSteps = std::strtoull(v.c_str(), &end, 10)) == 0 || *end || v[0] == '-') return bad(v);
    } else if (a.size() > 1 && a[0] == '-') {
      error = FormatStr(sCliUnknownOption, {a});
      return std::nullopt;
    } else if (!o.Program.empty()) {
      error = FormatStr(sCliTwoPrograms, {a});
      return std::nullopt;
    } else {
      o.Program = a;
    }
  }
  // Checked after the loop, so that the order of the options does not matter.
  if (!o.Task.empty()) {
    if (executorGiven && o.Executor != ekGrondo) {
      error = Str(sCliTaskNeedsGrondo);
      return std::nullopt;
    }
    o.Executor = ekGrondo;
  }
  if (o.Program.empty() && !o.Help) {
    error = Str(sCliNoProgram);
    return std::nullopt;
  }
  return o;
}
