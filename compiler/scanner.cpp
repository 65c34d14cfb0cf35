// The source scanner: tokens straight from the editor's lines, and the
// compiler's error reporting.

#include <charconv>
#include <cmath>
#include <limits>

#include "compiler.h"
#include "encoding.h"
#include "errors.h"

namespace {

// Only these end a word (with the colon, tested apart). "!", "&", "|", ".",
// the tab and every other character belong to words.
constexpr char kDelimiters[] = " \"%'()*+,-/;<=>[]^{}";

}  // namespace

TCompiler::TCompiler() {
  for (const char* p = kDelimiters; *p; ++p) Delimiters.set(static_cast<unsigned char>(*p));
  for (const TOperatorEntry& op : vocab_.Operators())
    if (!op.text.empty()) operatorStarts_.set(static_cast<unsigned char>(op.text[0]));
}

TNestingGuard::TNestingGuard(TCompiler& c) : c_(c) {
  if (++c_.nesting_ > TCompiler::kMaxNesting) c_.Error(FormatStr(sNestingTooDeep, {TCompiler::kMaxNesting}));
}

void TCompiler::SetSource(const std::vector<std::string>& lines, TPseudoCode* program) {
  Lines = &lines;
  Prog = program;
  Token2 = Token1 = Token = TToken();
  nesting_ = 0;
  errorCellWritten_ = false;
  sysProcIndex_.clear();
  procIndex_.clear();
  if (Prog)
    for (int i = 0; i < Prog->SysProcs.Count(); ++i) sysProcIndex_.emplace(Prog->SysProcs[i].Name, i);
  Reset();
}

int TCompiler::FindSysProc(const std::string& name) const {
  auto it = sysProcIndex_.find(name);
  return it == sysProcIndex_.end() ? -1 : it->second;
}

int TCompiler::FindProc(const std::string& name) const {
  auto it = procIndex_.find(name);
  return it == procIndex_.end() ? -1 : it->second;
}

void TCompiler::Reset() {
  if (Prog) Prog->Restart();
  Line = 0;
  Col = 1;
  LoopDepth = 0;
  DeclaredBytes = 0;
}

// --- errors ---

namespace {

// A message quotes words of the program as they are: a control byte (a NUL
// that slipped into the file) is shown escaped, and an overlong word (a
// file of one word) is cut, keeping its start and its end, where the
// closing quote is.
std::string Readable(const std::string& message) {
  constexpr size_t kLongest = 64, kHead = 48, kTail = 8;
  std::string cut;
  for (size_t i = 0; i <= message.size();) {
    size_t end = message.find(' ', i);
    if (end == std::string::npos) end = message.size();
    const std::string_view word(message.data() + i, end - i);
    if (word.size() > kLongest) {
      cut.append(word.substr(0, kHead)).append("...").append(word.substr(word.size() - kTail));
    } else {
      cut.append(word);
    }
    if (end < message.size()) cut += ' ';
    i = end + 1;
  }
  std::string out;
  for (const char c : cut) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0) {
      out += "\\0";
    } else if (b < 0x20) {
      static const char kHex[] = "0123456789ABCDEF";
      out.append("\\x").append(1, kHex[b >> 4]).append(1, kHex[b & 15]);
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

void TCompiler::Error(const std::string& message) {
  // The end cell tells the walk over a failed program where its code stops.
  if (Prog && !errorCellWritten_) {
    errorCellWritten_ = true;
    Prog->Emit(opTranslationError);
  }
  throw ECompileException(Readable(FormatStr(sTranslationError, {message})), Token.Line, Token.Col);
}

void TCompiler::ErrorStr(TStrId id) { Error(Str(id)); }

void TCompiler::Expected(const std::string& what) { Error(FormatStr(sExpectedInsteadOf, {what, Token.Text})); }

void TCompiler::ExpectedStr(TStrId id) { Expected(Str(id)); }

void TCompiler::UnexpectedEnd() { ErrorStr(sUnexpectedEnd); }

void TCompiler::NotUnderstood() { Error(FormatStr(sNotUnderstood, {Token.Text})); }

// --- cursor ---

bool TCompiler::MatchAt(const std::string& text) const {
  const std::string& line = (*Lines)[static_cast<size_t>(Line)];
  const size_t start = static_cast<size_t>(Col - 1);
  return !text.empty() && start <= line.size() && line.size() - start >= text.size() &&
         line.compare(start, text.size(), text) == 0;
}

// Moves the cursor to the next non-blank character, across lines, and
// marks it as the token's start. False at the end of the text.
bool TCompiler::SkipBlanks() {
  const int32_t count = static_cast<int32_t>(Lines->size());
  while (Line < count) {
    const std::string& line = (*Lines)[static_cast<size_t>(Line)];
    const int32_t len = static_cast<int32_t>(line.size());
    while (Col <= len && line[static_cast<size_t>(Col - 1)] == ' ') ++Col;
    if (Col <= len) {
      Token.Line = Line;
      Token.Col = Col;
      return true;
    }
    ++Line;
    Col = 1;
  }
  Token.Kind = tkEnd;
  return false;
}

TScanState TCompiler::SaveState() const { return {Token2, Token1, Token}; }

void TCompiler::RestoreState(const TScanState& state) {
  Token2 = state.Token2;
  Token1 = state.Token1;
  Token = state.Token;
  if (Token.Kind == tkEnd) {
    Line = static_cast<int32_t>(Lines->size());
    Col = 1;
  } else {
    Line = Token.Line;
    Col = Token.Col;
  }
}

void TCompiler::UngetToken() {
  // An end token keeps the previous token's position; going back to it
  // would scan that token twice, so the cursor stays at the end.
  if (Token.Kind == tkEnd) {
    Line = static_cast<int32_t>(Lines->size());
    Col = 1;
  } else {
    Line = Token.Line;
    Col = Token.Col;
  }
  Token = Token1;
  Token1 = Token2;
}

void TCompiler::NextTokenRequired() {
  NextToken();
  if (Token.Kind == tkEnd) UnexpectedEnd();
}

// --- tokens ---

void TCompiler::NextToken() {
  Token2 = std::move(Token1);
  Token1 = Token;
  Token.Text.clear();
  Token.Code = 0;
  Token.ValueType = 0;
  Token.Index = 0;

  for (;;) {
    if (!SkipBlanks()) return;
    if (MatchAt("//")) {
      Col = static_cast<int32_t>((*Lines)[static_cast<size_t>(Line)].size()) + 1;
      continue;
    }
    if (MatchAt("/*")) {
      ++Col;
      do {
        ++Col;
        // Each step lets the token position follow the comment, so an
        // unclosed comment is reported at the last character of the text.
        if (!SkipBlanks()) ErrorStr(sCommentNotClosed);
      } while (!MatchAt("*/"));
      Col += 2;
      continue;
    }
    break;
  }

  const std::string& line = (*Lines)[static_cast<size_t>(Line)];
  const size_t len = line.size();
  const size_t at = static_cast<size_t>(Col - 1);
  const unsigned char c = static_cast<unsigned char>(line[at]);

  const TOperatorTable& ops = vocab_.Operators();
  for (int i = 0; i < kOperatorCount && operatorStarts_.test(c); ++i) {
    const TOperatorEntry& op = ops[static_cast<size_t>(i)];
    if (!MatchAt(op.text)) continue;
    const size_t after = at + op.text.size();
    if (op.needsBlank && after < len && line[after] != ' ') continue;
    Token.Kind = tkOperator;
    Token.Text = op.text;
    Token.Code = op.code;
    Col += static_cast<int32_t>(op.text.size());
    return;
  }

  switch (c) {
    case '"': {
      Token.Kind = tkString;
      const size_t close = line.find('"', at + 1);
      if (close == std::string::npos) ErrorStr(sQuotesNotClosed);
      Token.Text = line.substr(at + 1, close - at - 1);
      Col = static_cast<int32_t>(close) + 2;
      return;
    }
    case ';': Token.Kind = tkSemicolon; break;
    case ',': Token.Kind = tkComma; break;
    case ':': Token.Kind = tkColon; break;
    case '{': Token.Kind = tkLBrace; break;
    case '}': Token.Kind = tkRBrace; break;
    case '(': Token.Kind = tkLParen; break;
    case ')': Token.Kind = tkRParen; break;
    case '[': Token.Kind = tkLBracket; break;
    case ']': Token.Kind = tkRBracket; break;
    case '\'': {
      Token.Kind = tkConstant;
      Token.ValueType = dkChar;
      if (at + 2 >= len || line[at + 2] != '\'') ErrorStr(sBadCharLiteral);
      Token.Text = line.substr(at + 1, 1);
      Col += 3;
      return;
    }
    default:
      if (IsDigitCp1251(c) || c == '.') {
        ScanNumber(line);
        return;
      }
      {
        size_t end = at;
        while (end < len && !Delimiters.test(static_cast<unsigned char>(line[end])) && line[end] != ':') ++end;
        if (end == at) ++end;  // cannot happen with the fixed delimiters; never stall
        Token.Text = line.substr(at, end - at);
        Col = static_cast<int32_t>(end) + 1;
      }
      if (const int kw = vocab_.Keyword(Token.Text); kw != kwNone) {
        Token.Kind = tkKeyword;
        Token.Code = static_cast<uint8_t>(kw);
        if (IsTypeKeyword(kw)) Token.ValueType = static_cast<uint8_t>(kw);
      } else if (const int logical = vocab_.LogicalConstant(Token.Text); logical >= 0) {
        Token.Kind = tkConstant;
        Token.ValueType = dkLogical;
        Token.Text.assign(1, logical ? '1' : '0');
      } else {
        Token.Kind = tkIdentifier;
      }
      return;
  }
  Token.Text.assign(1, static_cast<char>(c));
  ++Col;
}

void TCompiler::ScanNumber(const std::string& line) {
  Token.Kind = tkConstant;
  Token.ValueType = dkInteger;
  size_t i = static_cast<size_t>(Col - 1);
  const size_t start = i;
  for (; i < line.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(line[i]);
    if (IsDigitCp1251(ch)) continue;
    if (ch != '.') break;
    if (Token.ValueType == dkReal) {
      Token.Text = line.substr(start, i - start);
      ErrorStr(sTwoDotsInNumber);
    }
    Token.ValueType = dkReal;
  }
  Token.Text = line.substr(start, i - start);
  Col = static_cast<int32_t>(i) + 1;
  CheckNumber();
}

// A number the language cannot hold is refused where it is written, rather
// than wrapped or turned into infinity where it is used.
void TCompiler::CheckNumber() {
  if (Token.ValueType == dkInteger) {
    int64_t v = 0;
    for (char ch : Token.Text) {
      v = v * 10 + (ch - '0');
      if (v > std::numeric_limits<int32_t>::max()) Error(FormatStr(sNumberOutOfRange, {Token.Text}));
    }
    return;
  }
  if (Token.Text == ".") Error(FormatStr(sBadNumber, {Token.Text}));
  if (!std::isfinite(RealOfText(Token.Text))) Error(FormatStr(sNumberOutOfRange, {Token.Text}));
}

int32_t IntegerOfText(const std::string& text) {
  int64_t v = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') break;
    v = v * 10 + (ch - '0');
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(v);
}

double RealOfText(const std::string& text) {
  // from_chars, unlike strtod, ignores the process locale: "." is always
  // the decimal separator.
  double v = 0;
  auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  if (res.ec != std::errc::result_out_of_range) return v;
  // Out of range: too large when the whole part has a non-zero digit,
  // otherwise too small to be told from 0.
  for (char ch : text) {
    if (ch == '.') break;
    if (ch != '0') return std::numeric_limits<double>::infinity();
  }
  return 0.0;
}
