#include "maze_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "qtext.h"
#include "string_table.h"

TMazeView::TMazeView(TGrid& grid, QWidget* parent) : QWidget(parent), grid_(grid), field_(grid, bitmap_) {
  setObjectName(QStringLiteral("Field"));
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setWhatsThis(FromCp1251(Str(sMazeKeysHelp)));
}

void TMazeView::DrawAll(bool autoScale, QSize box) {
  field_.DrawField(-1, 0, 0, 0, false, autoScale, box);
  setFixedSize(bitmap_.size());
  SetCursorCell(cursor_);
  update();
}

void TMazeView::DrawChange(const TCellChange& change) {
  if (!change.Changed) return;
  if (change.Whole) {
    DrawAll();
    return;
  }
  for (const auto& [x, y] : change.Cells) field_.DrawCell(x, y);
  update();
}

void TMazeView::SetCursorCell(QPoint cell) {
  const QPoint old = cursor_;
  cursor_.setX(std::clamp(cell.x(), 0, std::max(grid_.FieldCols - 1, 0)));
  cursor_.setY(std::clamp(cell.y(), 0, std::max(grid_.FieldRows - 1, 0)));
  if (cursor_ != old) {
    update();
    emit CursorMoved(CellRect(cursor_.x(), cursor_.y(), field_.ScaleIndex));
  }
}

void TMazeView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, bitmap_);
  if (!hasFocus() || grid_.FieldCols <= 0 || grid_.FieldRows <= 0) return;
  // The cursor must show on every picture: a black frame with a yellow one
  // inside it.
  const QRect r = CellRect(cursor_.x(), cursor_.y(), field_.ScaleIndex);
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setPen(QPen(QColor(255, 230, 0), 2));
  p.drawRect(r.adjusted(2, 2, -2, -2));
}

void TMazeView::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  int x = 0, y = 0;
  if (!CellAtPixel(grid_, pos.x(), pos.y(), kFieldScales[field_.ScaleIndex].CellSize, x, y)) return;
  SetCursorCell(QPoint(x, y));
  emit CellReleased(x, y);
}

void TMazeView::mouseMoveEvent(QMouseEvent* e) { emit MouseMoved(e->globalPosition().toPoint()); }

void TMazeView::keyPressEvent(QKeyEvent* e) {
  const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  const int key = e->key();
  if (mods & Qt::AltModifier) {
    QWidget::keyPressEvent(e);
    return;
  }
  if (key == Qt::Key_Insert || key == Qt::Key_Delete) {
    // Plain: a column on the right; Shift: a row at the bottom; Ctrl: the
    // same on the left or at the top.
    const int side = shift ? (ctrl ? lsTop : lsBottom) : (ctrl ? lsLeft : lsRight);
    emit LineKey(key == Qt::Key_Insert, side);
    return;
  }
  if (ctrl) {
    if (key == Qt::Key_Z && !shift) {
      emit UndoKey();
      return;
    }
    QWidget::keyPressEvent(e);
    return;
  }
  switch (key) {
    case Qt::Key_Left: SetCursorCell(cursor_ - QPoint(1, 0)); return;
    case Qt::Key_Right: SetCursorCell(cursor_ + QPoint(1, 0)); return;
    case Qt::Key_Up: SetCursorCell(cursor_ - QPoint(0, 1)); return;
    case Qt::Key_Down: SetCursorCell(cursor_ + QPoint(0, 1)); return;
    case Qt::Key_Home: SetCursorCell(QPoint(0, cursor_.y())); return;
    case Qt::Key_End: SetCursorCell(QPoint(grid_.FieldCols - 1, cursor_.y())); return;
    case Qt::Key_Space: emit CellKey(cursor_.x(), cursor_.y()); return;
    case Qt::Key_F1: emit HelpKey(); return;
    default: break;
  }
  if (key >= Qt::Key_1 && key <= Qt::Key_6 && !shift) {
    emit ToolKey(key - Qt::Key_1);
    return;
  }
  QWidget::keyPressEvent(e);
}

void TMazeView::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  update();
}

void TMazeView::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  update();
}
