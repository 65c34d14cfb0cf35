// The field as the maze editor shows it: Grondo's cells drawn exactly as in
// the field pane, with a cell cursor for the keyboard. The view turns mouse
// releases and keys into requests; TMazeEditor carries them out.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "field.h"
#include "maze_edit.h"

class TMazeView : public QWidget {
  Q_OBJECT
 public:
  explicit TMazeView(TGrid& grid, QWidget* parent = nullptr);

  int ScaleIndex() const { return field_.ScaleIndex; }
  void SetScaleIndex(int s) { field_.ScaleIndex = ValidScale(s); }

  // Lays the field out and draws every cell; with autoScale the scale is the
  // largest that fits box.
  void DrawAll(bool autoScale = false, QSize box = QSize());
  // Draws the cells an edit changed (every cell when it says so) and
  // repaints.
  void DrawChange(const TCellChange& change);

  // The keyboard's cell; kept inside the field.
  QPoint CursorCell() const { return cursor_; }
  void SetCursorCell(QPoint cell);

  const QImage& Bitmap() const { return bitmap_; }
  QSize sizeHint() const override { return bitmap_.size(); }

 signals:
  // A mouse button was released over cell (x, y).
  void CellReleased(int x, int y);
  // Space on the cursor cell.
  void CellKey(int x, int y);
  // A digit key 1..6: tool index 0..5.
  void ToolKey(int index);
  // Insert or Delete with the side its modifiers choose.
  void LineKey(bool insert, int side);
  void UndoKey();
  void HelpKey();
  // The mouse moved over the field (global position), for the preview.
  void MouseMoved(QPoint globalPos);
  // The cursor moved to the cell covering rect (view pixels).
  void CursorMoved(QRect rect);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  TGrid& grid_;
  QImage bitmap_;
  TGrondoField field_;
  QPoint cursor_{0, 0};
};
