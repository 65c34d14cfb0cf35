// The pictures of Grondo's field: cells, walls and Grondo himself, drawn by
// our own code at each of the six scales.
//
// Every cell picture is exactly one cell in size and carries a dark one-pixel
// edge along its left column and bottom row; together with the black top row
// and right column of the field bitmap these edges draw the grid lines.
#pragma once

#include <QColor>
#include <QImage>

#include <array>
#include <mutex>

inline constexpr int kScaleCount = 6;

// One entry of the scale box.
struct TFieldScale {
  int CellSize;  // pixels, width = height
  int Num;       // stretch factor Num / Den of the pen executors' canvas
  int Den;
  const char* Item;  // the scale box's text
};

inline constexpr TFieldScale kFieldScales[kScaleCount] = {
    {40, 1, 1, "100%"}, {30, 3, 4, "75%"}, {24, 6, 10, "60%"},
    {20, 1, 2, "50%"},  {16, 2, 5, "40%"}, {13, 1, 3, "33%"}};

// Index s clamped to 0..5 (a stored setting out of range means 100%).
int ValidScale(int s);

// Neighbour bits of a wall picture.
enum TWallSide : int { wsLeft = 1, wsBelow = 2, wsRight = 4, wsAbove = 8 };

class TPictures {
 public:
  // The pictures of a scale are drawn when that scale is first asked for
  // (a picture of the field needs one scale only); any thread may ask.
  TPictures() = default;

  const QImage& Empty(int s) const { return Set(s).empty; }
  const QImage& Target(int s) const { return Set(s).target; }
  const QImage& Painted(int s) const { return Set(s).painted; }
  const QImage& Base(int s) const { return Set(s).base; }
  // Wall with neighbouring walls k (sum of TWallSide bits, 0..15).
  const QImage& Wall(int s, int k) const { return Set(s).wall[k & 15]; }
  // Grondo for heading h (0..7, 45 degrees clockwise from up) on the mask
  // color, which is also the picture's pixel (1, 1).
  const QImage& Grondo(int s, int h) const { return Set(s).grondo[h & 7]; }
  // The same picture with the mask color made transparent (and its edges
  // blended), as it is drawn onto a cell.
  const QImage& GrondoSprite(int s, int h) const { return Set(s).sprite[h & 7]; }

  // The masked background color of the Grondo pictures: light lavender.
  static QColor GrondoMaskColor() { return QColor(204, 204, 255); }

 private:
  struct TSet {
    QImage empty, target, painted, base;
    std::array<QImage, 16> wall;
    std::array<QImage, 8> grondo;
    std::array<QImage, 8> sprite;
  };
  const TSet& Set(int s) const;

  mutable std::array<TSet, kScaleCount> sets_;
  mutable std::array<std::once_flag, kScaleCount> drawn_;
};

// The pictures of the program, drawn on first use and kept to the end.
const TPictures& CellPictures();
