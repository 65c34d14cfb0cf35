// The text of the control with its caret, selection, editing operations,
// undo list, line marks, template insertion and search: everything the
// widget does to the text, without the widget. Lines are Windows-1251.
//
// The caret never stands beyond the end of its line: moving it further pads
// the line with spaces, and trailing blanks are removed again when the caret
// leaves the line. A read-only buffer clamps the caret instead of padding.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "line_store.h"
#include "text_pos.h"
#include "undo_list.h"

struct TFindOptions {
  bool Down = true;
  bool MatchCase = false;
};

class TMemoBuffer {
 public:
  TMemoBuffer();

  TqxMemoStrings& Lines() { return lines_; }
  const TqxMemoStrings& Lines() const { return lines_; }
  int LineCount() const { return lines_.Count(); }
  const std::string& Line(int i) const { return lines_.Get(i); }

  // Replaces the text (tabs expanded); caret and view to the start, the undo
  // list emptied.
  void SetLines(std::vector<std::string> lines);
  // The same from one text with CR LF, CR or LF line breaks.
  void SetText(std::string_view text);
  void ClearAll();
  // All lines joined with CR LF.
  std::string Text() const { return lines_.Text(); }

  TTextPos Caret() const { return caret_; }
  // Caret to a line, clamped to the text; the line left loses its trailing
  // blanks and the column is kept (padding the new line).
  void SetCaretLine(int line);
  // Caret to a column of its line: beyond the end pads the line, a negative
  // column goes to the end of the previous line.
  void SetCaretCol(int col);
  // Both, and no selection.
  void SetCaret(int col, int line);
  // Caret to pos; extend keeps the selection anchor (Shift+movement),
  // otherwise the selection goes.
  void MoveCaret(TTextPos pos, bool extend);

  bool HasSelection() const { return anchor_ != caret_; }
  TTextPos Anchor() const { return anchor_; }
  // The selection corners in text order.
  TTextPos SelStart() const { return std::min(anchor_, caret_); }
  TTextPos SelEnd() const { return std::max(anchor_, caret_); }
  void SetSelection(TTextPos anchor, TTextPos caret);
  void ClearSelection() { anchor_ = caret_; }
  void SelectAll();
  // The columns [first, last) of the word at pos (letters, digits and
  // underscores), also when pos is just after it; an empty range when there
  // is none. For double clicks and the value hints under the mouse.
  std::pair<int, int> WordBounds(TTextPos pos) const;
  std::string WordAt(TTextPos pos) const;
  // Selects the word at pos.
  void SelectWordAt(TTextPos pos);
  // The selected text with CR LF between lines.
  std::string SelectedText() const;

  // Editing. Each is one undoable change and does nothing when read-only.
  // A typed character replaces the selection when DelErase is on.
  void TypeChar(char c);
  // Enter: a line break with the indentation of the line when AutoIndent.
  void NewLine();
  // Tab: blanks up to the next tab stop.
  void TypeTab();
  // Tab and Shift+Tab over a selection of several lines: each line of it
  // moves right by TabSize blanks, or left by up to TabSize. Without such a
  // selection, unindent works on the caret line.
  void IndentLines(bool unindent);
  // True when the selection covers more than one line.
  bool SelectionSpansLines() const { return HasSelection() && SelStart().Line != SelEnd().Line; }
  void Backspace();
  void DeleteChar();
  void DeleteLine();
  void DeleteSelection();
  // Inserts text at the caret; its line breaks become line breaks of the
  // text, tabs are expanded and other control characters dropped.
  void Paste(std::string_view text);
  // Inserts a template: each CR gets the indentation of the caret line after
  // it, a BEL marks where the caret goes. Any selection is replaced.
  void InsertTemplate(std::string_view text);
  // Searches from the caret; on success the caret goes to the match and,
  // with select, the match is selected so that a repeated search goes on
  // past it. False leaves everything as it was.
  bool Find(std::string_view pattern, TFindOptions options, bool select);

  bool Undo();
  bool Redo();
  // Replaces the whole text with text (lines separated by "\r") as one
  // change that one Undo takes back; the caret goes to caret, clamped.
  void ReplaceAll(std::string_view text, TTextPos caret);

  TqxUndoList& UndoList() { return undo_; }
  const TqxUndoList& UndoList() const { return undo_; }

  // Line marks: the style whose background fills the line.
  int LineMark(int line) const { return lines_.Prop(line).Mark; }
  // Sets a mark and returns the previous one.
  int SetLineMark(int line, int style);
  // One character drawn with another style; -1 everywhere when unset.
  void SetCharHighlight(int line, int col, int style);
  void ClearCharHighlight() { SetCharHighlight(-1, -1, -1); }
  int HighlightLine() const { return hlLine_; }
  int HighlightCol() const { return hlCol_; }
  int HighlightStyle() const { return hlStyle_; }

  // The per-line highlighter; none leaves every character in the line's mark.
  void SetHighlighter(THighlightFn fn);
  bool HasHighlighter() const { return bool(highlight_); }
  // Brings the highlighting of lines 0..last up to date.
  void Validate(int last) { lines_.Validate(last, highlight_); }
  // Style of the character at a 1-based position; 0 outside the text.
  int StyleAt(int line, int pos);

  // Word-wise movement (Ctrl+Left/Right).
  TTextPos WordLeft(TTextPos p) const;
  TTextPos WordRight(TTextPos p) const;

  // The primitives the undo records replay: no undo record, no read-only
  // check; caret and anchor only follow their lines as lines come and go.
  // InsertRaw returns the end of the inserted text; RemoveRaw returns the
  // removed text with "\r" between lines.
  TTextPos InsertRaw(TTextPos at, std::string_view text);
  std::string RemoveRaw(TTextPos from, TTextPos to);

  int TabSize = 4;
  bool AutoIndent = true;
  bool ReadOnly = false;
  bool DelErase = true;
  // Whether a line left by the caret loses its trailing blanks (the console
  // keeps its output as printed).
  bool TrimOnLeave = true;
  // Whether the caret may go beyond the end of a line, padding it with
  // blanks; otherwise it stops at the end (the console's output must stay
  // as printed, since the program appends to it).
  bool PadBeyondEnd = true;

  // Raised after each change of the text by an edit, undo or redo.
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  // Caret to (col, line); INT_MAX is the end of the line.
  void GoTo(int col, int line);
  void TrimLine(int line);
  void PadLine(int line, int col);
  TTextPos Clamp(TTextPos p) const;
  void Remove(TTextPos from, TTextPos to, TTextPos start, TTextPos end, int kind);
  std::string Indentation(int line, int col) const;

  TqxMemoStrings lines_;
  TqxUndoList undo_;
  TTextPos caret_, anchor_;
  THighlightFn highlight_;
  int hlLine_ = -1, hlCol_ = -1, hlStyle_ = -1;
};

// Replaces tabs with blanks up to the next multiple of tabSize, counting
// columns from startCol.
std::string ExpandTabs(std::string_view text, int tabSize, int startCol = 0);
