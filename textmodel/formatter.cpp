#include "formatter.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "memo_buffer.h"
#include "string_table.h"

namespace {

// What opened an entry of the indentation stack.
enum TEntryType { etBlock = 1, etBody = 2 };  // "{", or a header's brace-less body

enum TConstruct { cnNone = 0, cnIf = 11, cnElse = 12, cnFor = 13, cnWhile = 14, cnRepeat = 15 };

bool StartsWith(const std::string& text, const std::string& prefix) {
  return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

bool IsComparison(char c) { return c == '<' || c == '=' || c == '>'; }

class TFormatter {
 public:
  explicit TFormatter(std::string input) : in_(std::move(input)) {}

  std::vector<std::string> Run() {
    for (size_t i = 0; i < in_.size(); ++i) {
      const char c = in_[i];
      // A comment delimiter's characters never pair with their neighbours:
      // the star of "/*" does not close the comment in "/*/", and the slash
      // of "*/" starts nothing in "*//" (the scanner reads them so).
      const char prev = i > 0 && i - 1 != delimiterEnd_ ? in_[i - 1] : '\0';
      const bool atLineBreak = c == '\r';
      if (atLineBreak && i + 1 < in_.size() && in_[i + 1] == '\n') ++i;
      if (blockComment_ || lineComment_ || doubleQuoted_ || singleQuoted_)
        InsideText(c, prev, i);
      else
        InCode(c, prev, i);
    }
    if (!line_.empty()) out_.push_back(line_);
    if (out_.empty()) out_.emplace_back();
    return std::move(out_);
  }

 private:
  void InsideText(char c, char prev, size_t i) {
    if (c == '\r') {
      Flush();
      lineComment_ = false;
      return;
    }
    if (c == '"' && doubleQuoted_) doubleQuoted_ = false;
    // A character literal holds exactly one character, which may itself be
    // an apostrophe: in ''' only the third one closes it.
    if (c == '\'' && singleQuoted_ && quotedChars_ > 0) singleQuoted_ = false;
    ++quotedChars_;
    line_ += c;
    if (c == '/' && blockComment_ && prev == '*') {
      blockComment_ = false;
      delimiterEnd_ = i;
      Flush();
    }
  }

  void InCode(char c, char prev, size_t i) {
    switch (c) {
      case '\r':
        if (!line_.empty() && line_.back() != ' ') HeaderCheck();
        if (!line_.empty()) line_ += ' ';
        return;
      case ' ':
        if (line_.empty() || line_.back() == ' ' || (i > 0 && (in_[i - 1] == '\r' || in_[i - 1] == '\n' || in_[i - 1] == ' ')))
          return;
        if (depth_ == 0) HeaderCheck();
        if (!line_.empty()) line_ += ' ';
        return;
      case '"':
      case '\'':
        (c == '"' ? doubleQuoted_ : singleQuoted_) = true;
        quotedChars_ = 0;
        if (!line_.empty() && line_.back() != ' ') line_ += ' ';
        line_ += c;
        afterParen_ = false;
        return;
      case '(':
      case ')':
      case '+':
      case '-':
      case '<':
      case '=':
      case '>':
        // "!=" is one operator: a blank inside it would make a negation and
        // an assignment of it.
        if (!line_.empty() && line_.back() != ' ' && !(IsComparison(c) && IsComparison(line_.back())) &&
            c != '(' && c != ')' && !(c == '=' && line_.back() == '!'))
          line_ += ' ';
        if (c == '(') ++depth_;
        if (c == ')') --depth_;
        line_ += c;
        afterParen_ = c == ')';
        return;
      case '*':
        line_ += c;
        if (prev == '/') {
          blockComment_ = true;
          delimiterEnd_ = i;
        }
        afterParen_ = false;
        return;
      case '/':
        line_ += c;
        if (prev == '/') lineComment_ = true;
        afterParen_ = false;
        return;
      case ';':
        line_ += c;
        if (depth_ == 0) {
          Flush();
          if (TopIs(etBody)) Pop();
          statementEnded_ = true;
        }
        afterParen_ = false;
        return;
      case '{':
        Flush();
        if (TopIs(etBody)) Pop();
        Push(etBlock);
        line_ += c;
        Flush();
        afterParen_ = false;
        return;
      case '}':
        line_ += c;
        while (TopIs(etBody)) Pop();
        Flush();
        Pop();
        statementEnded_ = true;
        afterParen_ = false;
        return;
      default:
        if (!line_.empty()) {
          // A header directly followed by its statement: "если(x>0)вывод x;".
          if (line_.back() == ')' && depth_ == 0) HeaderCheck();
          if (!line_.empty() && std::string_view(")+,-<=>").find(line_.back()) != std::string_view::npos &&
              !(IsComparison(c) && IsComparison(line_.back())) && c != ')' && c != ',')
            line_ += ' ';
        }
        line_ += c;
        afterParen_ = false;
        return;
    }
  }

  bool TopIs(int type) const { return !stack_.empty() && stack_.back().first == type; }

  void Push(int type) { stack_.emplace_back(type, pending_); }

  void Pop() {
    if (stack_.empty()) return;
    popped_ = stack_.back().second;
    stack_.pop_back();
  }

  bool IsElse(const std::string& text) const {
    return StartsWith(text, Str(sKwElseRu)) || StartsWith(text, Str(sKwElse));
  }

  // The pending construct of a header that line_ begins with; else is a
  // header anywhere, the others only right after a ")".
  bool HeaderTest() {
    if (IsElse(line_)) {
      pending_ = cnElse;
      return true;
    }
    if (!afterParen_) return false;
    static const std::pair<TStrId, int> kHeaders[] = {
        {sKwIfRu, cnIf},       {sKwIf, cnIf},         {sKwWhileRu, cnWhile},   {sKwWhile, cnWhile},
        {sKwForRu, cnFor},     {sKwFor, cnFor},       {sKwRepeatRu, cnRepeat}, {sKwRepeat, cnRepeat},
    };
    for (const auto& [word, construct] : kHeaders)
      if (StartsWith(line_, Str(word))) {
        pending_ = construct;
        return true;
      }
    return false;
  }

  void HeaderCheck() {
    if (!HeaderTest()) return;
    Flush();
    Push(etBody);
  }

  void Flush() {
    if (line_.empty()) return;
    if (IsElse(line_)) {
      // "иначе" lines up with its "если": close the bodies opened since.
      if (popped_ != cnIf) {
        while (TopIs(etBody) && stack_.back().second != cnIf) Pop();
        if (!stack_.empty() && stack_.back().second == cnIf) Pop();
      }
    } else if (statementEnded_) {
      while (TopIs(etBody)) Pop();
    }
    statementEnded_ = false;
    out_.push_back(std::string(2 * stack_.size(), ' ') + line_);
    line_.clear();
  }

  const std::string in_;
  std::vector<std::string> out_;
  std::string line_;
  std::vector<std::pair<int, int>> stack_;  // (TEntryType, TConstruct)
  int pending_ = cnNone;
  int popped_ = cnNone;
  int depth_ = 0;  // parentheses
  bool blockComment_ = false, lineComment_ = false, doubleQuoted_ = false, singleQuoted_ = false;
  size_t quotedChars_ = 0;  // characters since the opening quote
  size_t delimiterEnd_ = std::string::npos;
  bool statementEnded_ = false;  // at the last ";" or "}"
  bool afterParen_ = false;      // the last character appended in code was ")"
};

}  // namespace

std::vector<std::string> FormattedProgram(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return TFormatter(std::move(text)).Run();
}

void FormatProgram(std::vector<std::string>& lines) { lines = FormattedProgram(lines); }

void FormatBuffer(TMemoBuffer& buf) {
  if (buf.ReadOnly) return;
  const TTextPos caret = buf.Caret();
  std::vector<std::string> lines;
  for (int i = 0; i < buf.LineCount(); ++i) lines.push_back(buf.Line(i));
  const std::vector<std::string> formatted = FormattedProgram(lines);
  if (formatted == lines) return;
  std::string text;
  for (size_t i = 0; i < formatted.size(); ++i) text += (i ? "\r" : "") + formatted[i];
  buf.ReplaceAll(text, caret);
}
