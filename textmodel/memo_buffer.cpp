#include "memo_buffer.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "encoding.h"

namespace {

enum { kDeleteChar, kDeleteLine, kDeleteBuf };

bool IsWordChar(unsigned char c) { return IsLetterCp1251(c) || IsDigitCp1251(c) || c == '_'; }

// Splits text at CR LF, CR and LF; a line end at the very end starts an
// empty last line, as pressing Enter there does.
std::vector<std::string> SplitEveryLine(std::string_view text) {
  std::vector<std::string> out(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  return out;
}

}  // namespace

std::string ExpandTabs(std::string_view text, int tabSize, int startCol) {
  if (text.find('\t') == std::string_view::npos) return std::string(text);
  if (tabSize < 1) tabSize = 1;
  std::string out;
  int col = startCol;
  for (char c : text) {
    if (c == '\t') {
      int n = tabSize - col % tabSize;
      out.append(n, ' ');
      col += n;
    } else if (c == '\r' || c == '\n') {
      out += c;
      col = 0;
    } else {
      out += c;
      ++col;
    }
  }
  return out;
}

TMemoBuffer::TMemoBuffer() = default;

void TMemoBuffer::SetLines(std::vector<std::string> lines) {
  for (auto& l : lines) l = ExpandTabs(l, TabSize);
  lines_.Assign(std::move(lines));
  caret_ = anchor_ = {};
  hlLine_ = hlCol_ = hlStyle_ = -1;
  undo_.Clear();
  Changed();
}

void TMemoBuffer::SetText(std::string_view text) { SetLines(SplitEveryLine(text)); }

void TMemoBuffer::ClearAll() { SetLines({}); }

TTextPos TMemoBuffer::Clamp(TTextPos p) const {
  p.Line = std::clamp(p.Line, 0, LineCount() - 1);
  p.Col = std::clamp(p.Col, 0, int(Line(p.Line).size()));
  return p;
}

void TMemoBuffer::TrimLine(int line) {
  if (ReadOnly || !TrimOnLeave || line < 0 || line >= LineCount()) return;
  const std::string& t = Line(line);
  size_t n = t.find_last_not_of(' ');
  n = n == std::string::npos ? 0 : n + 1;
  if (n < t.size()) lines_.Set(line, t.substr(0, n));
}

void TMemoBuffer::PadLine(int line, int col) {
  const std::string& t = Line(line);
  if (int(t.size()) < col) lines_.Set(line, t + std::string(col - t.size(), ' '));
}

void TMemoBuffer::GoTo(int col, int line) {
  line = std::clamp(line, 0, LineCount() - 1);
  if (line != caret_.Line) TrimLine(caret_.Line);
  caret_.Line = line;
  if (col < 0) {
    if (line == 0) {
      caret_.Col = 0;
      return;
    }
    GoTo(INT_MAX, line - 1);
    return;
  }
  const int len = int(Line(line).size());
  if (col == INT_MAX || ReadOnly || !PadBeyondEnd)
    col = std::min(col, len);
  else
    PadLine(line, col);
  caret_.Col = col;
}

void TMemoBuffer::SetCaretLine(int line) { GoTo(caret_.Col, line); }

void TMemoBuffer::SetCaretCol(int col) { GoTo(col, caret_.Line); }

void TMemoBuffer::SetCaret(int col, int line) {
  GoTo(col, line);
  anchor_ = caret_;
}

void TMemoBuffer::MoveCaret(TTextPos pos, bool extend) {
  GoTo(pos.Col, pos.Line);
  if (!extend) anchor_ = caret_;
}

void TMemoBuffer::SetSelection(TTextPos anchor, TTextPos caret) {
  MoveCaret(caret, false);
  anchor_ = Clamp(anchor);
}

void TMemoBuffer::SelectAll() {
  int last = LineCount() - 1;
  SetSelection({0, 0}, {int(Line(last).size()), last});
}

std::pair<int, int> TMemoBuffer::WordBounds(TTextPos pos) const {
  pos = Clamp(pos);
  const std::string& t = Line(pos.Line);
  auto word = [&](int i) { return i >= 0 && i < int(t.size()) && IsWordChar(static_cast<unsigned char>(t[i])); };
  int b = pos.Col;
  if (!word(b) && word(b - 1)) --b;
  if (!word(b)) return {pos.Col, pos.Col};
  int e = b;
  while (word(b - 1)) --b;
  while (word(e)) ++e;
  return {b, e};
}

std::string TMemoBuffer::WordAt(TTextPos pos) const {
  auto [b, e] = WordBounds(pos);
  return Line(Clamp(pos).Line).substr(b, e - b);
}

void TMemoBuffer::SelectWordAt(TTextPos pos) {
  auto [b, e] = WordBounds(pos);
  int line = Clamp(pos).Line;
  if (b == e)
    SetCaret(pos.Col, line);
  else
    SetSelection({b, line}, {e, line});
}

std::string TMemoBuffer::SelectedText() const {
  TTextPos a = Clamp(SelStart()), b = Clamp(SelEnd());
  if (a.Line == b.Line) return Line(a.Line).substr(a.Col, b.Col - a.Col);
  std::string out = Line(a.Line).substr(a.Col);
  for (int l = a.Line + 1; l < b.Line; ++l) out += "\r\n" + Line(l);
  out += "\r\n" + Line(b.Line).substr(0, b.Col);
  return out;
}

TTextPos TMemoBuffer::InsertRaw(TTextPos at, std::string_view text) {
  at.Line = std::clamp(at.Line, 0, LineCount() - 1);
  at.Col = std::max(at.Col, 0);
  PadLine(at.Line, at.Col);
  std::vector<std::string> parts = SplitEveryLine(text);
  const std::string& line = Line(at.Line);
  std::string tail = line.substr(at.Col);
  if (parts.size() == 1) {
    lines_.Set(at.Line, line.substr(0, at.Col) + parts[0] + tail);
    return {at.Col + int(parts[0].size()), at.Line};
  }
  lines_.Set(at.Line, line.substr(0, at.Col) + parts[0]);
  for (size_t i = 1; i + 1 < parts.size(); ++i) lines_.Insert(at.Line + int(i), std::move(parts[i]));
  int last = at.Line + int(parts.size()) - 1;
  TTextPos end{int(parts.back().size()), last};
  lines_.Insert(last, parts.back() + tail);
  // Caret and anchor stay on their lines, so leaving them trims the line
  // they stood on and not the one that moved into its place.
  for (TTextPos* p : {&caret_, &anchor_})
    if (p->Line > at.Line) p->Line += last - at.Line;
  return end;
}

std::string TMemoBuffer::RemoveRaw(TTextPos from, TTextPos to) {
  if (to < from) std::swap(from, to);
  from.Line = std::clamp(from.Line, 0, LineCount() - 1);
  from.Col = std::max(from.Col, 0);
  to = Clamp(to);
  if (to <= from) return {};
  // The start may lie beyond the end of its line (the caret stood there when
  // the text was typed); the line is padded so the join lands there again.
  PadLine(from.Line, from.Col);
  const std::string& first = Line(from.Line);
  if (from.Line == to.Line) {
    std::string removed = first.substr(from.Col, to.Col - from.Col);
    lines_.Set(from.Line, first.substr(0, from.Col) + first.substr(to.Col));
    return removed;
  }
  std::string removed = first.substr(from.Col);
  for (int l = from.Line + 1; l < to.Line; ++l) removed += "\r" + Line(l);
  removed += "\r" + Line(to.Line).substr(0, to.Col);
  std::string joined = first.substr(0, from.Col) + Line(to.Line).substr(to.Col);
  for (int l = to.Line; l > from.Line; --l) lines_.Delete(l);
  lines_.Set(from.Line, std::move(joined));
  for (TTextPos* p : {&caret_, &anchor_}) {
    if (p->Line > to.Line)
      p->Line -= to.Line - from.Line;
    else if (p->Line > from.Line)
      *p = from;
  }
  return removed;
}

void TMemoBuffer::TypeChar(char c) {
  if (ReadOnly) return;
  if (static_cast<unsigned char>(c) < 32) return;
  if (HasSelection()) {
    if (DelErase)
      DeleteSelection();
    else
      ClearSelection();
  }
  TTextPos start = caret_;
  TTextPos end = InsertRaw(start, std::string_view(&c, 1));
  SetCaret(end.Col, end.Line);
  undo_.Add(std::make_unique<TInsertCharUndo>(start, end, start, end, std::string(1, c)));
  Changed();
}

std::string TMemoBuffer::Indentation(int line, int col) const {
  const std::string& t = Line(line);
  size_t n = t.find_first_not_of(' ');
  if (n == std::string::npos) n = t.size();
  return std::string(std::min<size_t>(n, std::max(col, 0)), ' ');
}

void TMemoBuffer::NewLine() {
  if (ReadOnly) return;
  if (HasSelection() && DelErase) DeleteSelection();
  ClearSelection();
  std::string text = "\r";
  if (AutoIndent) text += Indentation(caret_.Line, caret_.Col);
  TTextPos start = caret_;
  TTextPos end = InsertRaw(start, text);
  SetCaret(end.Col, end.Line);
  undo_.Add(std::make_unique<TInsertCharUndo>(start, end, start, end, text));
  Changed();
}

void TMemoBuffer::TypeTab() {
  if (ReadOnly) return;
  if (HasSelection() && DelErase) DeleteSelection();
  ClearSelection();
  int tab = std::max(TabSize, 1);
  std::string text(tab - caret_.Col % tab, ' ');
  TTextPos start = caret_;
  TTextPos end = InsertRaw(start, text);
  SetCaret(end.Col, end.Line);
  undo_.Add(std::make_unique<TInsertCharUndo>(start, end, start, end, text));
  Changed();
}

void TMemoBuffer::IndentLines(bool unindent) {
  if (ReadOnly) return;
  int first = caret_.Line, last = caret_.Line;
  const bool block = SelectionSpansLines();
  if (block) {
    first = SelStart().Line;
    last = SelEnd().Line;
    // A selection that ends at the start of a line does not take that line.
    if (SelEnd().Col == 0) --last;
  }
  const int tab = std::max(TabSize, 1);
  std::string before, after;
  int caretShift = 0;
  for (int l = first; l <= last; ++l) {
    const std::string& t = Line(l);
    std::string changed;
    if (unindent) {
      size_t lead = t.find_first_not_of(' ');
      size_t blanks = std::min<size_t>(lead == std::string::npos ? t.size() : lead, tab);
      changed = t.substr(blanks);
      if (l == caret_.Line) caretShift = -int(std::min<size_t>(blanks, caret_.Col));
    } else {
      changed = t.empty() ? t : std::string(tab, ' ') + t;
      if (l == caret_.Line && !t.empty()) caretShift = tab;
    }
    if (l > first) {
      before += '\r';
      after += '\r';
    }
    before += t;
    after += changed;
  }
  if (before == after) return;
  const TTextPos from{0, first};
  const TTextPos oldTo{int(Line(last).size()), last};
  const TTextPos start = caret_;
  RemoveRaw(from, oldTo);
  const TTextPos newTo = InsertRaw(from, after);
  TTextPos end{std::max(0, start.Col + caretShift), start.Line};
  if (block) {
    // The block stays selected, as whole lines, so Tab can be pressed again.
    SetSelection(from, {int(Line(last).size()), last});
    end = caret_;
  } else {
    SetCaret(end.Col, end.Line);
  }
  undo_.Add(std::make_unique<TReplaceUndo>(start, end, from, oldTo, newTo, std::move(before), std::move(after)));
  Changed();
}

void TMemoBuffer::Remove(TTextPos from, TTextPos to, TTextPos start, TTextPos end, int kind) {
  TTextPos anchor = anchor_, caret = caret_;
  std::string text = RemoveRaw(from, to);
  SetCaret(end.Col, end.Line);
  if (kind == kDeleteBuf)
    undo_.Add(std::make_unique<TDeleteBufUndo>(start, end, from, to, std::move(text), anchor, caret));
  else if (kind == kDeleteLine)
    undo_.Add(std::make_unique<TDeleteLineUndo>(start, end, from, to, std::move(text)));
  else
    undo_.Add(std::make_unique<TDeleteCharUndo>(start, end, from, to, std::move(text)));
  Changed();
}

void TMemoBuffer::Backspace() {
  if (ReadOnly) return;
  if (HasSelection() && DelErase) return DeleteSelection();
  ClearSelection();
  TTextPos c = caret_;
  if (c.Col > 0) {
    Remove({c.Col - 1, c.Line}, c, c, {c.Col - 1, c.Line}, kDeleteChar);
  } else if (c.Line > 0) {
    TTextPos prev{int(Line(c.Line - 1).size()), c.Line - 1};
    Remove(prev, c, c, prev, kDeleteChar);
  }
}

void TMemoBuffer::DeleteChar() {
  if (ReadOnly) return;
  if (HasSelection() && DelErase) return DeleteSelection();
  ClearSelection();
  TTextPos c = caret_;
  if (c.Col < int(Line(c.Line).size()))
    Remove(c, {c.Col + 1, c.Line}, c, c, kDeleteChar);
  else if (c.Line + 1 < LineCount())
    Remove(c, {0, c.Line + 1}, c, c, kDeleteChar);
}

void TMemoBuffer::DeleteLine() {
  if (ReadOnly) return;
  ClearSelection();
  TTextPos c = caret_;
  if (c.Line + 1 < LineCount())
    Remove({0, c.Line}, {0, c.Line + 1}, c, {0, c.Line}, kDeleteLine);
  else if (c.Line > 0)
    Remove({int(Line(c.Line - 1).size()), c.Line - 1}, {int(Line(c.Line).size()), c.Line}, c, {0, c.Line - 1},
           kDeleteLine);
  else if (!Line(0).empty())
    Remove({0, 0}, {int(Line(0).size()), 0}, c, {0, 0}, kDeleteLine);
}

void TMemoBuffer::DeleteSelection() {
  if (ReadOnly || !HasSelection()) return;
  TTextPos from = SelStart(), to = SelEnd();
  Remove(from, to, caret_, Clamp(from), kDeleteBuf);
}

void TMemoBuffer::Paste(std::string_view text) {
  if (ReadOnly) return;
  std::string clean;
  for (char c : ExpandTabs(text, TabSize, caret_.Col))
    if (static_cast<unsigned char>(c) >= 32 || c == '\r' || c == '\n') clean += c;
  if (clean.empty()) return;
  if (HasSelection() && DelErase) DeleteSelection();
  ClearSelection();
  TTextPos start = caret_;
  TTextPos end = InsertRaw(start, clean);
  SetCaret(end.Col, end.Line);
  undo_.Add(std::make_unique<TPasteUndo>(start, end, start, end, clean));
  Changed();
}

void TMemoBuffer::ReplaceAll(std::string_view text, TTextPos caret) {
  if (ReadOnly) return;
  const TTextPos start = caret_;
  ClearSelection();
  const int last = LineCount() - 1;
  const TTextPos from{0, 0}, oldTo{static_cast<int>(Line(last).size()), last};
  std::string oldText = RemoveRaw(from, oldTo);
  const TTextPos newTo = InsertRaw(from, text);
  const int line = std::clamp(caret.Line, 0, LineCount() - 1);
  SetCaret(std::min(caret.Col, static_cast<int>(Line(line).size())), line);
  undo_.Add(std::make_unique<TReplaceUndo>(start, caret_, from, oldTo, newTo, std::move(oldText), std::string(text)));
  Changed();
}

void TMemoBuffer::InsertTemplate(std::string_view text) {
  if (ReadOnly) return;
  std::string indent = AutoIndent ? Indentation(caret_.Line, caret_.Col) : std::string();
  if (HasSelection()) DeleteSelection();
  ClearSelection();
  TTextPos start = caret_;
  TTextPos pos = start;  // where the text walked so far ends
  TTextPos target{-1, -1};
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      // CR LF and a lone LF count as one break, as a lone CR does.
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r" + indent;
      pos = {int(indent.size()), pos.Line + 1};
    } else if (c == '\a') {
      if (target.Line < 0) target = pos;
    } else if (static_cast<unsigned char>(c) >= 32) {
      out += c;
      ++pos.Col;
    }
  }
  if (target.Line < 0) target = pos;
  TTextPos end = InsertRaw(start, out);
  SetCaret(end.Col, end.Line);
  undo_.Add(std::make_unique<TPasteUndo>(start, end, start, end, out));
  SetCaret(target.Col, target.Line);
  Changed();
}

bool TMemoBuffer::Find(std::string_view pattern, TFindOptions options, bool select) {
  if (pattern.empty()) return false;
  ClearSelection();
  std::string pat = options.MatchCase ? std::string(pattern) : LowerCase(pattern);
  auto fold = [&](const std::string& s) { return options.MatchCase ? s : LowerCase(s); };
  const TTextPos c = caret_;
  int line = -1;
  size_t at = std::string::npos;
  if (options.Down) {
    std::string first = fold(Line(c.Line));
    at = first.find(pat, std::min<size_t>(c.Col, first.size()));
    if (at != std::string::npos) line = c.Line;
    for (int l = c.Line + 1; line < 0 && l < LineCount(); ++l)
      if ((at = fold(Line(l)).find(pat)) != std::string::npos) line = l;
  } else {
    std::string first = fold(Line(c.Line)).substr(0, c.Col);
    at = first.rfind(pat);
    if (at != std::string::npos) line = c.Line;
    for (int l = c.Line - 1; line < 0 && l >= 0; --l)
      if ((at = fold(Line(l)).rfind(pat)) != std::string::npos) line = l;
  }
  if (line < 0) return false;
  TTextPos b{int(at), line}, e{int(at + pat.size()), line};
  if (!select)
    SetCaret(b.Col, b.Line);
  else if (options.Down)
    SetSelection(b, e);
  else
    SetSelection(e, b);
  return true;
}

bool TMemoBuffer::Undo() {
  if (ReadOnly || !undo_.Undo(*this)) return false;
  Changed();
  return true;
}

bool TMemoBuffer::Redo() {
  if (ReadOnly || !undo_.Redo(*this)) return false;
  Changed();
  return true;
}

int TMemoBuffer::SetLineMark(int line, int style) {
  TLineProp& p = lines_.Prop(line);
  int old = p.Mark;
  p.Mark = style;
  return old;
}

void TMemoBuffer::SetCharHighlight(int line, int col, int style) {
  hlLine_ = line;
  hlCol_ = col;
  hlStyle_ = style;
}

void TMemoBuffer::SetHighlighter(THighlightFn fn) {
  highlight_ = std::move(fn);
  lines_.InvalidateAll();
}

int TMemoBuffer::StyleAt(int line, int pos) {
  if (line < 0 || line >= LineCount() || pos < 1 || pos > int(Line(line).size())) return 0;
  if (!highlight_) return LineMark(line);
  Validate(line);
  const std::string& s = lines_.Prop(line).Styles;
  return pos <= int(s.size()) ? static_cast<unsigned char>(s[pos - 1]) : 0;
}

TTextPos TMemoBuffer::WordLeft(TTextPos p) const {
  p = Clamp(p);
  if (p.Col == 0) return p.Line > 0 ? TTextPos{int(Line(p.Line - 1).size()), p.Line - 1} : p;
  const std::string& t = Line(p.Line);
  auto word = [&](int i) { return IsWordChar(static_cast<unsigned char>(t[i])); };
  int i = p.Col;
  while (i > 0 && t[i - 1] == ' ') --i;
  if (i > 0 && word(i - 1))
    while (i > 0 && word(i - 1)) --i;
  else if (i > 0)
    while (i > 0 && !word(i - 1) && t[i - 1] != ' ') --i;
  return {i, p.Line};
}

TTextPos TMemoBuffer::WordRight(TTextPos p) const {
  p = Clamp(p);
  const std::string& t = Line(p.Line);
  int n = int(t.size());
  if (p.Col >= n) return p.Line + 1 < LineCount() ? TTextPos{0, p.Line + 1} : p;
  auto word = [&](int i) { return IsWordChar(static_cast<unsigned char>(t[i])); };
  int i = p.Col;
  if (word(i))
    while (i < n && word(i)) ++i;
  else if (t[i] != ' ')
    while (i < n && !word(i) && t[i] != ' ') ++i;
  while (i < n && t[i] == ' ') ++i;
  return {i, p.Line};
}
