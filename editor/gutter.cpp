#include "gutter.h"

#include <QMouseEvent>
#include <QPainter>

#include "custom_memo.h"

TqxGutter::TqxGutter(TqxCustomMemo* memo) : QWidget(memo), memo_(memo) {}

void TqxGutter::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  memo_->PaintGutter(p, event->rect());
}

// A click on a number puts the caret at the start of that line, so the
// gutter does not swallow clicks that users aim at the text.
void TqxGutter::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  TTextPos pos = memo_->PosAt(QPoint(0, int(event->position().y())));
  memo_->setFocus();
  memo_->SetCaret(0, pos.Line);
}
