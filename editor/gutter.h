// The strip left of the text with the line numbers; its painting belongs to
// the memo, which knows the scroll position and the metrics.
#pragma once

#include <QWidget>

class TqxCustomMemo;

class TqxGutter : public QWidget {
  Q_OBJECT

 public:
  explicit TqxGutter(TqxCustomMemo* memo);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TqxCustomMemo* memo_;
};
