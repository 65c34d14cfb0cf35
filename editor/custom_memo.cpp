#include "custom_memo.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "gutter.h"
#include "qtext.h"
#include "string_table.h"

namespace {

constexpr int kTextMargin = 2;  // pixels between the gutter and column 0
constexpr int kBlinkMs = 530;
constexpr int kAutoScrollMs = 50;

QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// Clipboard text uses LF; the control's own line breaks are CR LF.
QString ToClipboardText(const std::string& text) {
  QString s = FromCp1251(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

}  // namespace

QFont TqxCustomMemo::DefaultFont() {
  QFont f;
  f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("monospace")});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  f.setPointSize(10);
  return f;
}

TqxCustomMemo::TqxCustomMemo(QWidget* parent) : QAbstractScrollArea(parent) {
  gutter_ = new TqxGutter(this);
  gutter_->hide();
  setFocusPolicy(Qt::StrongFocus);
  // Typed text arrives as key events with their text, so the console's key
  // filter sees every character; an input method would bypass it.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setCursor(Qt::IBeamCursor);
  // Value hints follow the mouse without a button pressed.
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  setFont(DefaultFont());
  UpdateMetrics();
  buf_.OnChange = [this] { TextChanged(); };
  buf_.UndoList().OnChange = [this] { emit OnUndoChange(); };
  SetScrollBars(ssBoth);
}

TqxCustomMemo::~TqxCustomMemo() {
  buf_.OnChange = nullptr;
  buf_.UndoList().OnChange = nullptr;
}

void TqxCustomMemo::TextChanged() {
  UpdateScrollBars();
  viewport()->update();
  if (gutter_->isVisible()) gutter_->update();
  emit OnChange();
}

void TqxCustomMemo::SetLines(std::vector<std::string> lines) {
  buf_.SetLines(std::move(lines));
  topLine_ = leftCol_ = 0;
  UpdateScrollBars();
  viewport()->update();
}

void TqxCustomMemo::SetText(std::string_view text) {
  buf_.SetText(text);
  topLine_ = leftCol_ = 0;
  UpdateScrollBars();
  viewport()->update();
}

void TqxCustomMemo::ClearAll() { SetLines({}); }

void TqxCustomMemo::AfterMove() {
  ScrollToCaret();
  RestartBlink();
  viewport()->update();
  if (gutter_->isVisible()) gutter_->update();
  emit OnCaretMove();
}

void TqxCustomMemo::SetCaretLine(int line) {
  buf_.SetCaretLine(line);
  AfterMove();
}

void TqxCustomMemo::SetCaretCol(int col) {
  buf_.SetCaretCol(col);
  AfterMove();
}

void TqxCustomMemo::SetCaret(int col, int line) {
  buf_.SetCaret(col, line);
  AfterMove();
}

int TqxCustomMemo::VisibleLines() const { return std::max(1, viewport()->height() / lineHeight_); }

int TqxCustomMemo::VisibleCols() const {
  return std::max(1, (viewport()->width() - kTextMargin) / charWidth_);
}

void TqxCustomMemo::SetTopLine(int line) {
  int max = scrollMode_ == smStrict ? LineCount() - VisibleLines() : LineCount() - 1;
  line = std::clamp(line, 0, std::max(max, 0));
  if (line == topLine_) return;
  topLine_ = line;
  UpdateScrollBars();
  viewport()->update();
  gutter_->update();
}

void TqxCustomMemo::SetLeftCol(int col) {
  col = std::max(col, 0);
  if (col == leftCol_) return;
  leftCol_ = col;
  UpdateScrollBars();
  viewport()->update();
}

void TqxCustomMemo::ScrollToCaret() {
  // Before the first show the viewport has no real size yet; the caret is
  // brought into view when it gets one.
  if (!isVisible()) {
    scrollPending_ = true;
    return;
  }
  scrollPending_ = false;
  TTextPos c = buf_.Caret();
  int rows = VisibleLines();
  if (c.Line < topLine_)
    SetTopLine(c.Line);
  else if (c.Line >= topLine_ + rows)
    SetTopLine(c.Line - rows + 1);
  int cols = VisibleCols();
  if (c.Col < leftCol_)
    SetLeftCol(std::max(0, c.Col - 4));
  else if (c.Col >= leftCol_ + cols)
    SetLeftCol(c.Col - cols + std::min(8, cols));
}

void TqxCustomMemo::UpdateScrollBars() {
  syncingBars_ = true;
  int rows = VisibleLines();
  int vmax = scrollMode_ == smStrict ? LineCount() - rows : LineCount() - 1;
  verticalScrollBar()->setRange(0, std::max(vmax, topLine_));
  verticalScrollBar()->setPageStep(rows);
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setValue(topLine_);
  int longest = 0;
  for (int i = 0; i < LineCount(); ++i) longest = std::max(longest, int(buf_.Line(i).size()));
  longest = std::max(longest, CaretCol()) + 1;
  int cols = VisibleCols();
  horizontalScrollBar()->setRange(0, std::max(longest - cols, leftCol_));
  horizontalScrollBar()->setPageStep(cols);
  horizontalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setValue(leftCol_);
  syncingBars_ = false;
}

void TqxCustomMemo::scrollContentsBy(int, int) {
  if (syncingBars_) return;
  topLine_ = verticalScrollBar()->value();
  leftCol_ = horizontalScrollBar()->value();
  viewport()->update();
  gutter_->update();
}

void TqxCustomMemo::SetScrollBars(TScrollBars bars) {
  scrollBars_ = bars;
  setVerticalScrollBarPolicy(bars == ssVertical || bars == ssBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(bars == ssHorizontal || bars == ssBoth ? Qt::ScrollBarAsNeeded
                                                                       : Qt::ScrollBarAlwaysOff);
}

void TqxCustomMemo::SetScrollMode(TScrollMode mode) {
  scrollMode_ = mode;
  SetTopLine(topLine_);
  UpdateScrollBars();
}

void TqxCustomMemo::SetBkColor(TColor c) {
  bkColor_ = c;
  viewport()->update();
}

void TqxCustomMemo::SetSelColor(TColor c) {
  selColor_ = c;
  viewport()->update();
}

void TqxCustomMemo::SetSelBkColor(TColor c) {
  selBkColor_ = c;
  viewport()->update();
}

void TqxCustomMemo::SetGutterWidth(int pixels) {
  gutterWidth_ = std::max(pixels, 0);
  setViewportMargins(gutterWidth_, 0, 0, 0);
  gutter_->setVisible(gutterWidth_ > 0);
  QRect r = contentsRect();
  gutter_->setGeometry(r.left(), r.top(), gutterWidth_, viewport()->height());
}

void TqxCustomMemo::SetGutterColor(TColor c) {
  gutterColor_ = c;
  gutter_->update();
}

void TqxCustomMemo::SetHiddenCaret(bool on) {
  hiddenCaret_ = on;
  RestartBlink();
  viewport()->update();
}

int TqxCustomMemo::SetLineMark(int line, int style) {
  int old = buf_.SetLineMark(line, style);
  if (old != style) viewport()->update();
  return old;
}

void TqxCustomMemo::SetCharHighlight(int line, int col, int style) {
  buf_.SetCharHighlight(line, col, style);
  viewport()->update();
}

void TqxCustomMemo::ClearCharHighlight() { SetCharHighlight(-1, -1, -1); }

void TqxCustomMemo::SelectAll() {
  buf_.SelectAll();
  AfterMove();
}

void TqxCustomMemo::DeleteSelection() {
  buf_.DeleteSelection();
  AfterMove();
}

void TqxCustomMemo::CopyToClipboard() {
  if (buf_.HasSelection()) QApplication::clipboard()->setText(ToClipboardText(buf_.SelectedText()));
}

void TqxCustomMemo::CutToClipboard() {
  if (!buf_.HasSelection() || ReadOnly()) return;
  CopyToClipboard();
  DeleteSelection();
}

void TqxCustomMemo::PasteFromClipboard() {
  if (ReadOnly()) return;
  buf_.Paste(ToCp1251(QApplication::clipboard()->text()));
  AfterMove();
}

void TqxCustomMemo::InsertTemplate(std::string_view text) {
  buf_.InsertTemplate(text);
  AfterMove();
  setFocus();
}

bool TqxCustomMemo::Find(std::string_view text, TFindOptions options, bool select) {
  bool found = buf_.Find(text, options, select);
  if (found)
    AfterMove();
  else
    viewport()->update();  // the selection was collapsed all the same
  return found;
}

bool TqxCustomMemo::Undo() {
  bool done = buf_.Undo();
  AfterMove();
  return done;
}

bool TqxCustomMemo::Redo() {
  bool done = buf_.Redo();
  AfterMove();
  return done;
}

TTextPos TqxCustomMemo::PosAt(QPoint point) const {
  int line = topLine_ + (point.y() < 0 ? (point.y() - lineHeight_ + 1) / lineHeight_ : point.y() / lineHeight_);
  int x = point.x() - kTextMargin;
  int col = leftCol_ + (x < 0 ? 0 : (x + charWidth_ / 2) / charWidth_);
  return {std::max(col, 0), std::clamp(line, 0, LineCount() - 1)};
}

QRect TqxCustomMemo::CellRect(int col, int line) const {
  return QRect(kTextMargin + (col - leftCol_) * charWidth_, (line - topLine_) * lineHeight_, charWidth_,
               lineHeight_);
}

void TqxCustomMemo::UpdateMetrics() {
  fontReady_.fill(false);
  QFontMetrics fm(font());
  charWidth_ = std::max(1, fm.horizontalAdvance(QLatin1Char('M')));
  lineHeight_ = std::max(1, fm.height());
  ascent_ = fm.ascent();
}

const QFont& TqxCustomMemo::FontFor(unsigned style) {
  style &= 15;
  if (!fontReady_[style]) {
    QFont f = font();
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    fonts_[style] = f;
    fontReady_[style] = true;
  }
  return fonts_[style];
}

void TqxCustomMemo::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    UpdateMetrics();
    UpdateScrollBars();
    viewport()->update();
    gutter_->update();
  }
  QAbstractScrollArea::changeEvent(event);
}

void TqxCustomMemo::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  QRect r = contentsRect();
  gutter_->setGeometry(r.left(), r.top(), gutterWidth_, viewport()->height());
  SetTopLine(topLine_);
  UpdateScrollBars();
  if (scrollPending_) ScrollToCaret();
}

void TqxCustomMemo::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  if (scrollPending_) ScrollToCaret();
}

void TqxCustomMemo::paintEvent(QPaintEvent* event) {
  BeforePaint();
  QPainter p(viewport());
  const QRect area = event->rect();
  int first = topLine_ + area.top() / lineHeight_;
  int last = std::min(LineCount() - 1, topLine_ + area.bottom() / lineHeight_);
  // Every stale line down to the last one shown is scanned now, so a comment
  // opened above the view colors the view in this same paint.
  buf_.Validate(last);
  for (int i = first; i <= last; ++i) PaintLine(p, i, (i - topLine_) * lineHeight_);
  int filled = std::max(0, (last - topLine_ + 1) * lineHeight_);
  if (filled < viewport()->height())
    p.fillRect(QRect(0, filled, viewport()->width(), viewport()->height() - filled), ToQColor(bkColor_));
  TTextPos c = buf_.Caret();
  if (!hiddenCaret_ && caretOn_ && hasFocus() && c.Line >= first && c.Line <= last) {
    QRect cell = CellRect(c.Col, c.Line);
    p.fillRect(QRect(cell.left(), cell.top(), 2, cell.height()), Qt::black);
  }
}

void TqxCustomMemo::PaintLine(QPainter& p, int line, int y) {
  const std::string& text = buf_.Line(line);
  const TLineProp& prop = buf_.Lines().Prop(line);
  const TCharStyle& mark = styles_.SafeGet(prop.Mark);
  const int width = viewport()->width();
  p.fillRect(QRect(0, y, width, lineHeight_), ToQColor(mark.BkColor));

  int selB = -1, selE = -1;
  if (buf_.HasSelection()) {
    TTextPos s = buf_.SelStart(), e = buf_.SelEnd();
    if (line >= s.Line && line <= e.Line) {
      selB = line == s.Line ? s.Col : 0;
      // A line break inside the selection shows as one selected cell.
      selE = line == e.Line ? e.Col : std::max(int(text.size()), selB) + 1;
    }
  }
  const bool highlighted = buf_.HasHighlighter() && prop.Valid && prop.Styles.size() == text.size();
  const int n = int(text.size());
  const int firstCol = leftCol_;
  const int lastCol = std::min(n, leftCol_ + VisibleCols() + 1);

  auto styleAt = [&](int col) -> int {
    if (line == buf_.HighlightLine() && col == buf_.HighlightCol()) return buf_.HighlightStyle();
    return highlighted ? static_cast<unsigned char>(prop.Styles[col]) : prop.Mark;
  };

  int col = firstCol;
  while (col < lastCol) {
    const int style = styleAt(col);
    const bool sel = col >= selB && col < selE;
    int end = col + 1;
    while (end < lastCol && styleAt(end) == style && (end >= selB && end < selE) == sel) ++end;
    TCharStyle s = styles_.SafeGet(style);
    // On a marked line the characters in plain-background styles take the
    // mark's colors, so the whole line reads as one (the error and current
    // line), while a character with a background of its own keeps it.
    if (prop.Mark != 0 && s.BkColor == bkColor_) s = TCharStyle{mark.TextColor, mark.BkColor, mark.Style};
    TColor fg = sel ? selColor_ : s.TextColor;
    TColor bg = sel ? selBkColor_ : s.BkColor;
    QRect r(kTextMargin + (col - leftCol_) * charWidth_, y, (end - col) * charWidth_, lineHeight_);
    if (bg != mark.BkColor) p.fillRect(r, ToQColor(bg));
    p.setFont(FontFor(s.Style));
    p.setPen(ToQColor(fg));
    p.drawText(r.left(), y + ascent_, FromCp1251(std::string_view(text).substr(col, end - col)));
    col = end;
  }
  if (selE > n) {
    int from = std::max({selB, n, leftCol_});
    QRect r(kTextMargin + (from - leftCol_) * charWidth_, y, (selE - from) * charWidth_, lineHeight_);
    if (r.width() > 0) p.fillRect(r, ToQColor(selBkColor_));
  }
}

void TqxCustomMemo::PaintGutter(QPainter& p, const QRect& rect) {
  p.fillRect(rect, ToQColor(gutterColor_));
  p.setFont(FontFor(0));
  int rows = VisibleLines() + 1;
  for (int i = 0; i < rows && topLine_ + i < LineCount(); ++i) {
    QRect r(0, i * lineHeight_, gutterWidth_ - 4, lineHeight_);
    if (!r.intersects(rect)) continue;
    // The caret's line number stands out, so the line is found at a glance.
    p.setPen(topLine_ + i == CaretLine() ? QColor(Qt::black) : QColor(128, 128, 128));
    p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, QString::number(topLine_ + i + 1));
  }
}

void TqxCustomMemo::RestartBlink() {
  caretOn_ = true;
  if (hasFocus() && !hiddenCaret_)
    blink_.start(kBlinkMs, this);
  else
    blink_.stop();
}

void TqxCustomMemo::timerEvent(QTimerEvent* event) {
  if (event->timerId() == autoScroll_.timerId()) {
    if (!dragging_ || !(QApplication::mouseButtons() & Qt::LeftButton)) {
      autoScroll_.stop();
      return;
    }
    buf_.MoveCaret(PosAt(dragPoint_), true);
    AfterMove();
    return;
  }
  if (event->timerId() != blink_.timerId()) return QAbstractScrollArea::timerEvent(event);
  caretOn_ = !caretOn_;
  TTextPos c = buf_.Caret();
  viewport()->update(CellRect(c.Col, c.Line).adjusted(-1, 0, 1, 0));
}

void TqxCustomMemo::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  RestartBlink();
  viewport()->update();
}

void TqxCustomMemo::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  blink_.stop();
  autoScroll_.stop();
  dragging_ = false;
  viewport()->update();
}

bool TqxCustomMemo::focusNextPrevChild(bool) { return false; }

// Menu shortcuts of the window (Undo, Copy, Delete...) must not steal the
// editing keys while the text has the focus.
bool TqxCustomMemo::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
      case Qt::Key_A:
      case Qt::Key_Z:
      case Qt::Key_Y:
      case Qt::Key_X:
      case Qt::Key_C:
      case Qt::Key_V:
        if (ctrl) event->accept();
        break;
      case Qt::Key_Delete:
      case Qt::Key_Backspace:
      case Qt::Key_Insert:
      case Qt::Key_Home:
      case Qt::Key_End:
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Up:
      case Qt::Key_Down:
        event->accept();
        break;
      default:
        break;
    }
  }
  return QAbstractScrollArea::event(event);
}

void TqxCustomMemo::keyPressEvent(QKeyEvent* event) {
  event->setAccepted(false);
  emit OnKeyDown(event);
  if (event->isAccepted()) return;
  event->accept();
  HandleKey(event);
}

void TqxCustomMemo::HandleKey(QKeyEvent* event) {
  const auto mods = event->modifiers();
  const bool shift = mods & Qt::ShiftModifier;
  const bool ctrl = mods & Qt::ControlModifier;
  const TTextPos c = buf_.Caret();
  auto move = [&](TTextPos to) {
    buf_.MoveCaret(to, shift);
    AfterMove();
  };
  switch (event->key()) {
    case Qt::Key_Left:
      return move(ctrl ? buf_.WordLeft(c) : TTextPos{c.Col - 1, c.Line});
    case Qt::Key_Right:
      return move(ctrl ? buf_.WordRight(c) : TTextPos{c.Col + 1, c.Line});
    case Qt::Key_Up:
      if (ctrl) return SetTopLine(topLine_ - 1);
      return move({c.Col, c.Line - 1});
    case Qt::Key_Down:
      if (ctrl) return SetTopLine(topLine_ + 1);
      return move({c.Col, c.Line + 1});
    case Qt::Key_Home: {
      if (ctrl) return move({0, 0});
      // First press goes to the first non-blank, the next to column 0.
      const std::string& t = buf_.Line(c.Line);
      size_t nb = t.find_first_not_of(' ');
      int indent = nb == std::string::npos ? 0 : int(nb);
      return move({c.Col == indent ? 0 : indent, c.Line});
    }
    case Qt::Key_End: {
      if (ctrl) {
        int last = LineCount() - 1;
        return move({int(buf_.Line(last).size()), last});
      }
      const std::string& t = buf_.Line(c.Line);
      size_t nb = t.find_last_not_of(' ');
      return move({nb == std::string::npos ? 0 : int(nb) + 1, c.Line});
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      int step = event->key() == Qt::Key_PageUp ? -VisibleLines() : VisibleLines();
      if (ctrl) return move({c.Col, step < 0 ? topLine_ : topLine_ + VisibleLines() - 1});
      SetTopLine(topLine_ + step);
      return move({c.Col, std::clamp(c.Line + step, 0, LineCount() - 1)});
    }
    case Qt::Key_Backspace:
      if (mods & Qt::AltModifier) {
        Undo();
        return;
      }
      buf_.Backspace();
      return AfterMove();
    case Qt::Key_Delete:
      if (shift) return CutToClipboard();
      buf_.DeleteChar();
      return AfterMove();
    case Qt::Key_Insert:
      if (ctrl) return CopyToClipboard();
      if (shift) return PasteFromClipboard();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      buf_.NewLine();
      return AfterMove();
    case Qt::Key_Tab:
      if (buf_.SelectionSpansLines())
        buf_.IndentLines(false);
      else
        buf_.TypeTab();
      return AfterMove();
    case Qt::Key_Backtab:
      buf_.IndentLines(true);
      return AfterMove();
    default:
      break;
  }
  if (ctrl) {
    switch (event->key()) {
      case Qt::Key_A:
        return SelectAll();
      case Qt::Key_Z:
        shift ? Redo() : Undo();
        return;
      case Qt::Key_Y:
        if (shift) {
          buf_.DeleteLine();
          return AfterMove();
        }
        Redo();
        return;
      case Qt::Key_X:
        return CutToClipboard();
      case Qt::Key_C:
        return CopyToClipboard();
      case Qt::Key_V:
        return PasteFromClipboard();
      default:
        event->ignore();
        return;
    }
  }
  // Alt with a letter is a menu's or a command's key, never text (AltGr
  // characters arrive without the Alt modifier).
  if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier)) {
    event->ignore();
    return;
  }
  const QString text = event->text();
  bool typed = false;
  for (QChar ch : text) {
    if (ch.unicode() < 32 || ch.unicode() == 127) continue;
    buf_.TypeChar(ToCp1251(QString(ch))[0]);
    typed = true;
  }
  if (typed)
    AfterMove();
  else
    event->ignore();
}

void TqxCustomMemo::mousePressEvent(QMouseEvent* event) {
  if (!MouseEnabled()) return;
  if (event->button() != Qt::LeftButton) return;
  TTextPos pos = PosAt(event->position().toPoint());
  buf_.MoveCaret(pos, event->modifiers() & Qt::ShiftModifier);
  dragging_ = true;
  AfterMove();
}

void TqxCustomMemo::mouseMoveEvent(QMouseEvent* event) {
  if (!MouseEnabled()) return;
  emit OnMouseMove(event);
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  dragPoint_ = event->position().toPoint();
  buf_.MoveCaret(PosAt(dragPoint_), true);
  AfterMove();
  // Held above or below the text, the selection goes on growing.
  if (dragPoint_.y() < 0 || dragPoint_.y() >= viewport()->height())
    autoScroll_.start(kAutoScrollMs, this);
  else
    autoScroll_.stop();
}

void TqxCustomMemo::mouseReleaseEvent(QMouseEvent* event) {
  if (!MouseEnabled()) return;
  if (event->button() == Qt::LeftButton) {
    dragging_ = false;
    autoScroll_.stop();
  }
}

void TqxCustomMemo::contextMenuEvent(QContextMenuEvent* event) {
  if (!MouseEnabled()) return;
  QMenu menu(this);
  const bool editable = !ReadOnly() && EditingMenu();
  if (editable) {
    menu.addAction(FromCp1251(Str(sEditorMenuUndo)), this, [this] { Undo(); })->setEnabled(CanUndo());
    menu.addAction(FromCp1251(Str(sEditorMenuRedo)), this, [this] { Redo(); })->setEnabled(CanRedo());
    menu.addSeparator();
    menu.addAction(FromCp1251(Str(sEditorMenuCut)), this, [this] { CutToClipboard(); })->setEnabled(HasSelection());
  }
  menu.addAction(FromCp1251(Str(sEditorMenuCopy)), this, [this] { CopyToClipboard(); })->setEnabled(HasSelection());
  if (editable) {
    menu.addAction(FromCp1251(Str(sEditorMenuPaste)), this, [this] { PasteFromClipboard(); })
        ->setEnabled(!QApplication::clipboard()->text().isEmpty());
    menu.addAction(FromCp1251(Str(sEditorMenuDelete)), this, [this] { DeleteSelection(); })
        ->setEnabled(HasSelection());
  }
  menu.addSeparator();
  menu.addAction(FromCp1251(Str(sEditorMenuSelectAll)), this, [this] { SelectAll(); });
  emit OnContextMenu(&menu);
  menu.exec(event->globalPos());
}

void TqxCustomMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!MouseEnabled()) return;
  if (event->button() != Qt::LeftButton) return;
  buf_.SelectWordAt(PosAt(event->position().toPoint()));
  dragging_ = false;
  AfterMove();
}
