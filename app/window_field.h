// The executor's world as the window holds it: the field bitmap, Grondo's
// grid, the pen executors' canvas bound to the bitmap, the scale, and the
// pane that shows the bitmap.
//
// Kept apart from the window's own file so that the canvas's drawing
// vocabulary and the editor's style vocabulary never meet in one file.
#pragma once

#include <QImage>
#include <QScrollArea>
#include <memory>
#include <string>

#include "grid.h"
#include "machine.h"

class TCanvas;
class TGrondoField;

// Default pen canvas: width, height and the origin pixel.
struct TCanvasGeometry {
  int Width = 600;
  int Height = 600;
  int OriginX = 200;
  int OriginY = 200;
};

class TWindowField {
 public:
  explicit TWindowField(TCanvasGeometry geometry = {});
  ~TWindowField();
  TWindowField(const TWindowField&) = delete;
  TWindowField& operator=(const TWindowField&) = delete;

  int Kind() const { return kind_; }
  // The kind as applied at start: nothing is drawn yet.
  void SetKindQuietly(int kind) { kind_ = kind; }
  // Switching the executor: Grondo gets the task laid out afresh; a pen
  // executor gets a white bitmap of the canvas size.
  void SwitchTo(int kind, QSize box);
  int ScaleIndex() const { return scale_; }
  // New size and origin of the pen canvas (the parameters dialog). While a
  // pen executor is chosen the bitmap takes the size at once and keeps its
  // picture; Grondo's field is left alone until a pen executor is chosen.
  void SetGeometry(TCanvasGeometry geometry);
  // A scale change; Grondo's cells are drawn afresh at the new size.
  void SetScale(int index);

  TGrid& Grid() { return grid_; }
  const QImage& Bitmap() const { return bitmap_; }
  bool HasTask() const { return !grid_.TaskMaze.empty(); }

  // Reads a task file (throws EMazeFileError, changing nothing) and lays it
  // out at the largest scale that fits box.
  void LoadTask(const std::string& fileName, QSize box);
  // The working maze becomes the task again.
  void Restore(bool autoScale, QSize box);
  // Grondo's field reset to the task at a run start.
  void ResetForRun();
  // F12 and run start of a pen executor: white canvas.
  void ClearCanvas();

  // The executor of a run; Grondo's cells are drawn through the host.
  TExecutorFactory Factory();
  // The Grondo task's verdict: solved, and the text (Windows-1251, CR LF).
  bool Verdict(std::string& text) const;

  // The block a partial repaint copies: the pen executors' changed block
  // (empty for Grondo, whose cells are drawn one by one and repainted whole).
  QRect DirtyPaneRect() const;
  // The picture the pane shows, at the pane's size.
  QSize PaneSize() const;
  void Paint(QPainter& p, const QRect& exposed) const;

 private:
  void SizeCanvas();

  TCanvasGeometry geometry_;
  int kind_ = ekTurtle;
  int scale_ = 0;
  TGrid grid_;
  QImage bitmap_;
  std::unique_ptr<TCanvas> canvas_;
  std::unique_ptr<TGrondoField> grondo_;
};

// ScrollBox1 with the paint box Field: shows the window field's bitmap.
class TFieldPane : public QScrollArea {
  Q_OBJECT
 public:
  TFieldPane(TWindowField& field, QWidget* parent = nullptr);
  // The bitmap changed: the paint box takes its size and repaints; partial
  // repaints only the executors' changed block.
  void Refresh(bool partial = false);
  QWidget* Field() const { return box_; }

 private:
  TWindowField& field_;
  QWidget* box_;
};
