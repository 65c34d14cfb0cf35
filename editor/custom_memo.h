// The text control: a custom-drawn multi-line editor over TMemoBuffer with a
// fixed-pitch character grid, a style per character, line marks, a gutter
// with line numbers, a blinking caret and the usual keyboard and mouse.
// The program editor (TqxSyntaxMemo) and the console (TqxUserScreen) derive
// from it.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "memo_buffer.h"
#include "style_list.h"

class QMenu;
class TqxGutter;

enum TScrollMode {
  smAuto,   // the text may scroll up until its last line is the top one
  smStrict  // scrolling stops when the last line reaches the bottom
};

enum TScrollBars { ssNone, ssHorizontal, ssVertical, ssBoth };

class TqxCustomMemo : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TqxCustomMemo(QWidget* parent = nullptr);
  ~TqxCustomMemo() override;

  TMemoBuffer& Buffer() { return buf_; }
  const TMemoBuffer& Buffer() const { return buf_; }
  TqxMemoStrings& Lines() { return buf_.Lines(); }
  const TqxMemoStrings& Lines() const { return buf_.Lines(); }
  TStyleList& Styles() { return styles_; }
  const TStyleList& Styles() const { return styles_; }

  // Replaces the text; caret, first visible line and column go to 0.
  void SetLines(std::vector<std::string> lines);
  void SetText(std::string_view text);
  void ClearAll();
  std::string Text() const { return buf_.Text(); }
  int LineCount() const { return buf_.LineCount(); }

  int CaretLine() const { return buf_.Caret().Line; }
  int CaretCol() const { return buf_.Caret().Col; }
  void SetCaretLine(int line);
  void SetCaretCol(int col);
  void SetCaret(int col, int line);

  int TopLine() const { return topLine_; }
  void SetTopLine(int line);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int col);
  // Lines that fit entirely into the view (at least 1).
  int VisibleLines() const;
  int VisibleCols() const;
  // Scrolls so that the caret is in view.
  void ScrollToCaret();

  int LineMark(int line) const { return buf_.LineMark(line); }
  // Sets a line mark, repaints, and returns the previous mark.
  int SetLineMark(int line, int style);
  void SetCharHighlight(int line, int col, int style);
  void ClearCharHighlight();
  // Style of the character at a 1-based position; 0 outside the text.
  int StyleAt(int line, int pos) { return buf_.StyleAt(line, pos); }

  bool HasSelection() const { return buf_.HasSelection(); }
  std::string SelectedText() const { return buf_.SelectedText(); }
  void SelectAll();
  void DeleteSelection();
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  void InsertTemplate(std::string_view text);
  bool Find(std::string_view text, TFindOptions options, bool select);
  bool Undo();
  bool Redo();
  bool CanUndo() const { return buf_.UndoList().CanUndo(); }
  bool CanRedo() const { return buf_.UndoList().CanRedo(); }

  // The position of the character cell under a point of the viewport.
  TTextPos PosAt(QPoint point) const;
  // The viewport rectangle of a character cell.
  QRect CellRect(int col, int line) const;
  int CharWidth() const { return charWidth_; }
  int LineHeight() const { return lineHeight_; }

  int TabSize() const { return buf_.TabSize; }
  void SetTabSize(int n) { buf_.TabSize = std::max(n, 1); }
  bool AutoIndent() const { return buf_.AutoIndent; }
  void SetAutoIndent(bool on) { buf_.AutoIndent = on; }
  bool ReadOnly() const { return buf_.ReadOnly; }
  void SetReadOnly(bool on) { buf_.ReadOnly = on; }
  bool DelErase() const { return buf_.DelErase; }
  void SetDelErase(bool on) { buf_.DelErase = on; }
  int UndoLimit() const { return buf_.UndoList().Limit(); }
  void SetUndoLimit(int n) { buf_.UndoList().SetLimit(n); }
  TScrollBars ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollBars bars);
  TScrollMode ScrollMode() const { return scrollMode_; }
  void SetScrollMode(TScrollMode mode);
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor c);
  TColor SelColor() const { return selColor_; }
  void SetSelColor(TColor c);
  TColor SelBkColor() const { return selBkColor_; }
  void SetSelBkColor(TColor c);
  int GutterWidth() const { return gutterWidth_; }
  void SetGutterWidth(int pixels);
  TColor GutterColor() const { return gutterColor_; }
  void SetGutterColor(TColor c);
  bool HiddenCaret() const { return hiddenCaret_; }
  void SetHiddenCaret(bool on);

  // The font family list every control of the system starts with.
  static QFont DefaultFont();

  // Draws the gutter (called by the gutter widget).
  void PaintGutter(QPainter& p, const QRect& rect);

 signals:
  void OnChange();
  void OnUndoChange();
  // Before the control handles a key; a handler that accepts the event
  // keeps it from the control.
  void OnKeyDown(QKeyEvent* event);
  void OnMouseMove(QMouseEvent* event);
  void OnCaretMove();
  // The context menu is filled and about to be shown: a handler may add
  // its own items (the program editor's template submenus).
  void OnContextMenu(QMenu* menu);

 protected:
  // Refreshes derived data just before painting (style properties copied
  // into the style list).
  virtual void BeforePaint() {}
  // Mouse presses, moves and releases are handled only while this is true.
  virtual bool MouseEnabled() const { return true; }
  // Whether the context menu offers the editing commands besides copying.
  virtual bool EditingMenu() const { return true; }
  // Handles a key after OnKeyDown; derived controls filter first.
  virtual void HandleKey(QKeyEvent* event);
  void AfterMove();

  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;
  bool event(QEvent* event) override;

 private:
  void PaintLine(QPainter& p, int line, int y);
  const QFont& FontFor(unsigned style);
  void UpdateMetrics();
  void UpdateScrollBars();
  void RestartBlink();
  void TextChanged();

  TMemoBuffer buf_;
  TStyleList styles_;
  TqxGutter* gutter_ = nullptr;
  std::array<QFont, 16> fonts_;
  std::array<bool, 16> fontReady_{};
  int charWidth_ = 8, lineHeight_ = 16, ascent_ = 12;
  int topLine_ = 0, leftCol_ = 0;
  TScrollBars scrollBars_ = ssBoth;
  TScrollMode scrollMode_ = smAuto;
  TColor bkColor_ = clWhite, selColor_ = clWhite, selBkColor_ = clNavy;
  int gutterWidth_ = 0;
  TColor gutterColor_ = clBtnFace;
  bool hiddenCaret_ = false;
  bool caretOn_ = true;
  bool dragging_ = false;
  bool syncingBars_ = false;
  bool scrollPending_ = false;
  QBasicTimer blink_;
  QBasicTimer autoScroll_;
  QPoint dragPoint_;
};
