// Field rendering: Grondo's cells drawn into the field bitmap, the field's
// size and scale, and what the field pane copies to the screen.
//
// Geometry at a scale with cell size cs: cell (x, y) covers the cs x cs
// pixels from (cs x, cs y + 1); the bitmap is (cs cols + 1) x (cs rows + 1)
// pixels on black, leaving one black row above the cells and one black column
// to their right: the missing grid lines of the cell pictures' edges.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>

#include "grid.h"
#include "pictures.h"

// The largest field bitmap drawn, in pixels (128 MB). A task too large for
// the chosen scale is drawn at the next smaller scale that fits.
inline constexpr long long kMaxFieldPixels = 32LL * 1024 * 1024;

// Rounded a * b / c as the platform's MulDiv does (halves away from zero);
// -1 when c is 0.
int MulDiv(int a, int b, int c);

// Size of the field bitmap for cols x rows cells at scale s.
QSize FieldBitmapSize(int cols, int rows, int s);

// The scale auto-scaling picks: the largest whose bitmap fits box, or 33%
// when none does.
int AutoScaleIndex(int cols, int rows, QSize box);

// The pixel rectangle of cell (x, y) at scale s.
QRect CellRect(int x, int y, int s);

// Draws Grondo's field: the grid's pictures into a bitmap someone else owns
// (the field bitmap of the window, or an image of the headless runner).
class TGrondoField {
 public:
  TGrondoField(TGrid& grid, QImage& bitmap, const TPictures& pictures = CellPictures())
      : grid_(grid), bitmap_(bitmap), pictures_(pictures) {}

  int X = 0;           // the cell DrawCell draws
  int Y = 0;
  int ScaleIndex = 0;  // 0..5, see kFieldScales

  // Draws cell (X, Y) with plain copy: its picture after position discovery
  // (a base or Grondo code found there moves into the grid), then Grondo when
  // he stands there. A cell holding a character without a picture shows the
  // black background.
  void DrawCell();
  void DrawCell(int x, int y) {
    X = x;
    Y = y;
    DrawCell();
  }

  // With x1 >= 0 redraws the cells x1..x2 x y1..y2. With x1 < 0 lays the
  // field out afresh: normalises the working maze (copying the task first
  // when init), picks the scale fitting box when autoScale (else keeps
  // ScaleIndex, going smaller only when the bitmap would exceed
  // kMaxFieldPixels), sizes the bitmap and draws every cell.
  void DrawField(int x1, int y1, int x2, int y2, bool init, bool autoScale, QSize box = QSize());

 private:
  void DrawCellWith(QPainter& p, int x, int y);
  int WallSides(int x, int y) const;

  TGrid& grid_;
  QImage& bitmap_;
  const TPictures& pictures_;
};

// What the field pane's paint handler does: the pane's size and which block
// of the bitmap goes where.
struct TFieldPaint {
  QSize PaneSize;
  QRect Source;  // in bitmap pixels
  QRect Target;  // in pane pixels
};

// The paint computation. grondo: Grondo is the executor (the pane is the
// bitmap's size and copies 1:1); otherwise a pen executor's canvas is
// stretched by the scale's Num / Den. partialPaint with a non-empty dirty
// rectangle (left differs from right; corners inclusive) copies only that
// block, else the whole bitmap.
TFieldPaint ComputeFieldPaint(QSize bitmap, bool grondo, int scaleIndex, bool partialPaint, int dirtyLeft,
                              int dirtyTop, int dirtyRight, int dirtyBottom);

// Copies the bitmap onto the pane as planned.
void PaintField(QPainter& pane, const QImage& bitmap, const TFieldPaint& plan);

// The whole field at scale s as a picture (the grid is laid out first,
// without init, as a scale change does): what the headless runner writes.
QImage RenderField(TGrid& grid, int s, const TPictures& pictures = CellPictures());

// RenderField saved as PNG; false when the file cannot be written.
bool SaveFieldPng(TGrid& grid, int s, const QString& fileName);
