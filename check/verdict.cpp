#include "verdict.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "texts.h"

namespace {

std::vector<std::string> OutputLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string TrimRight(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

// The runner's report: the last line of its standard error (a Grondo
// verdict takes several, so for it the whole text is the report).
std::string LastLine(const std::string& err) {
  const std::vector<std::string> lines = OutputLines(TrimRight(err));
  return lines.empty() ? std::string() : lines.back();
}

// "LINE:COL: message" or "LINE: message"; false when it is neither.
bool ParseWhere(const std::string& report, int& line, int& col, std::string& message) {
  char* end = nullptr;
  const long l = std::strtol(report.c_str(), &end, 10);
  if (end == report.c_str() || *end != ':' || l <= 0) return false;
  line = static_cast<int>(l);
  col = -1;
  const char* rest = end + 1;
  char* end2 = nullptr;
  const long c = std::strtol(rest, &end2, 10);
  if (end2 != rest && *end2 == ':' && c >= 0 && *rest != ' ') {
    col = static_cast<int>(c);
    rest = end2 + 1;
  }
  while (*rest == ' ') ++rest;
  message = rest;
  return true;
}

std::string Number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", v);
  return buffer;
}

}  // namespace

std::string StatValue(const std::string& stats, const std::string& key) {
  std::istringstream in(stats);
  for (std::string line; std::getline(in, line);)
    if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 && line[key.size()] == '=')
      return line.substr(key.size() + 1);
  return {};
}

std::string VerdictWord(TVerdictKind kind) {
  static const TStrId words[] = {sVkSolved,      sVkPassed,  sVkFinished, sVkNotSolved,
                                 sVkFailed,      sVkTranslation, sVkRunTime, sVkLoop,
                                 sVkStepLimit,   sVkTimeLimit, sVkStopped, sVkCrashed};
  return U8(words[kind]);
}

std::string WithoutTyped(const std::string& output, const std::string& typed) {
  const std::vector<std::string> in = OutputLines(typed);
  size_t k = 0;
  std::string out;
  for (const std::string& line : OutputLines(output)) {
    if (k < in.size() && line == in[k]) {
      ++k;
      continue;
    }
    out += line + "\n";
  }
  return out;
}

int FirstDifference(const std::string& actual, const std::string& expected, std::string& got, std::string& want) {
  std::vector<std::string> a = OutputLines(actual), e = OutputLines(expected);
  for (auto* v : {&a, &e}) {
    for (std::string& l : *v) l = TrimRight(l);
    while (!v->empty() && v->back().empty()) v->pop_back();
  }
  for (size_t i = 0; i < std::max(a.size(), e.size()); ++i) {
    got = i < a.size() ? a[i] : std::string();
    want = i < e.size() ? e[i] : std::string();
    if (i >= a.size() || i >= e.size() || got != want) return static_cast<int>(i + 1);
  }
  return -1;
}

TVerdict JudgeRun(const TJobResult& run, const std::string& stats, const TRunContext& context) {
  TVerdict v;
  const std::string report = LastLine(run.Err);
  const std::string end = StatValue(stats, "end");
  if (!run.Started) {
    v.Text = U8(sCheckNotStarted);
    return v;
  }
  if (run.TimedOut) {
    v.Kind = vkTimeLimit;
    v.Text = U8(sCheckTimeLimitText, {Number(context.TimeLimit)});
    return v;
  }
  if (run.Signal != 0) {
    v.Text = U8(sCheckSignalText, {run.Signal});
    return v;
  }
  int line = -1, col = -1;
  std::string message;
  switch (run.Status) {
    case 0:
      if (context.Expected) {
        std::string got, want;
        // The expected text shows the typed lines as the console does, or
        // leaves them out as the program wrote it; the output is compared
        // the same way.
        const bool withTyped = !context.Typed || WithoutTyped(*context.Expected, *context.Typed) != WithoutTyped(*context.Expected, "");
        const int diff = FirstDifference(withTyped ? run.Out : WithoutTyped(run.Out, *context.Typed),
                                         *context.Expected, got, want);
        v.Kind = diff < 0 ? vkPassed : vkFailed;
        if (diff >= 0) v.Text = U8(sCheckWrongOutput, {diff, Cp(want), Cp(got)});
      } else if (context.Grondo && !context.UsesGrondo) {
        // The window calls such a run a plain success; a task is judged all the same.
        v.Kind = context.InitialSolved ? vkSolved : vkNotSolved;
        v.Text = context.InitialVerdict;
        if (!context.InitialSolved) v.Text = U8(sCheckNeverMoved) + ". " + v.Text;
      } else {
        v.Kind = context.Grondo ? vkSolved : vkFinished;
      }
      return v;
    case 1:
      v.Kind = vkTranslation;
      v.Text = report;
      if (ParseWhere(report, line, col, message)) {
        v.Line = line;
        v.Col = col;
        v.Text = message;
      }
      return v;
    case 2:
      v.Kind = end == "loop" ? vkLoop : vkRunTime;
      v.Text = report;
      if (ParseWhere(report, line, col, message)) {
        v.Line = line;
        v.Text = message;
      }
      return v;
    case 3:
      v.Kind = vkNotSolved;
      v.Text = TrimRight(run.Err);
      return v;
    case 5:
      if (end == "step-limit") {
        v.Kind = vkStepLimit;
        v.Text = U8(sCheckStepLimitText, {std::to_string(context.StepLimit)});
      } else {
        v.Kind = vkStopped;
        v.Text = report;
      }
      return v;
    default:
      v.Text = TrimRight(run.Err);
      return v;
  }
}
