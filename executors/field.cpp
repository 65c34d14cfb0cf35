#include "field.h"

#include <cstdlib>

namespace {

int CellSize(int s) { return kFieldScales[ValidScale(s)].CellSize; }

long long Pixels(QSize size) { return static_cast<long long>(size.width()) * size.height(); }

}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long p = static_cast<long long>(a) * b;
  const long long q = (std::llabs(p) * 2 + std::llabs(c)) / (2 * std::llabs(static_cast<long long>(c)));
  return static_cast<int>((p < 0) != (c < 0) ? -q : q);
}

QSize FieldBitmapSize(int cols, int rows, int s) {
  const int cs = CellSize(s);
  return QSize(cs * cols + 1, cs * rows + 1);
}

int AutoScaleIndex(int cols, int rows, QSize box) {
  int s = 0;
  while (s < kScaleCount - 1) {
    const QSize size = FieldBitmapSize(cols, rows, s);
    if (box.width() >= size.width() && box.height() >= size.height()) break;
    ++s;
  }
  return s;
}

QRect CellRect(int x, int y, int s) {
  const int cs = CellSize(s);
  return QRect(cs * x, cs * y + 1, cs, cs);
}

int TGrondoField::WallSides(int x, int y) const {
  const auto wall = [&](int cx, int cy) { return grid_.CellAt(cx, cy) == kWallCell; };
  int k = 0;
  if (wall(x - 1, y)) k |= wsLeft;
  if (wall(x, y + 1)) k |= wsBelow;
  if (wall(x + 1, y)) k |= wsRight;
  if (wall(x, y - 1)) k |= wsAbove;
  return k;
}

void TGrondoField::DrawCellWith(QPainter& p, int x, int y) {
  grid_.DiscoverCell(x, y);
  const int s = ValidScale(ScaleIndex);
  const QRect r = CellRect(x, y, s);
  switch (grid_.CellAt(x, y)) {
    case kEmptyCell: p.drawImage(r.topLeft(), pictures_.Empty(s)); break;
    case kWallCell: p.drawImage(r.topLeft(), pictures_.Wall(s, WallSides(x, y))); break;
    case kBedCell: p.drawImage(r.topLeft(), pictures_.Target(s)); break;
    case kFlowerCell: p.drawImage(r.topLeft(), pictures_.Painted(s)); break;
    case kBaseCell: p.drawImage(r.topLeft(), pictures_.Base(s)); break;
    case '\0':
      // No such cell in the maze (a row shorter than the field): leave it.
      if (y < 0 || static_cast<size_t>(y) >= grid_.WorkingMaze.size() ||
          static_cast<size_t>(x) >= grid_.WorkingMaze[y].size())
        return;
      [[fallthrough]];
    default:
      // Black, like the background, so that a cell Grondo left does not keep
      // his picture.
      p.fillRect(r, Qt::black);
      break;
  }
  if (x == grid_.GrondoX && y == grid_.GrondoY) p.drawImage(r.topLeft(), pictures_.GrondoSprite(s, grid_.GrondoDir));
}

void TGrondoField::DrawCell() {
  if (bitmap_.isNull()) return;
  QPainter p(&bitmap_);
  DrawCellWith(p, X, Y);
}

void TGrondoField::DrawField(int x1, int y1, int x2, int y2, bool init, bool autoScale, QSize box) {
  if (x1 >= 0) {
    if (bitmap_.isNull()) return;
    QPainter p(&bitmap_);
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) DrawCellWith(p, x, y);
    return;
  }
  grid_.Normalise(init);
  int s = autoScale ? AutoScaleIndex(grid_.FieldCols, grid_.FieldRows, box) : ValidScale(ScaleIndex);
  while (s < kScaleCount - 1 && Pixels(FieldBitmapSize(grid_.FieldCols, grid_.FieldRows, s)) > kMaxFieldPixels) ++s;
  ScaleIndex = s;
  const QSize size = FieldBitmapSize(grid_.FieldCols, grid_.FieldRows, s);
  if (bitmap_.size() != size || bitmap_.format() != QImage::Format_RGB32)
    bitmap_ = QImage(size, QImage::Format_RGB32);
  if (bitmap_.isNull()) return;
  bitmap_.fill(Qt::black);
  QPainter p(&bitmap_);
  for (int y = 0; y < grid_.FieldRows; ++y)
    for (int x = 0; x < grid_.FieldCols; ++x) DrawCellWith(p, x, y);
}

TFieldPaint ComputeFieldPaint(QSize bitmap, bool grondo, int scaleIndex, bool partialPaint, int dirtyLeft,
                              int dirtyTop, int dirtyRight, int dirtyBottom) {
  const TFieldScale& sc = kFieldScales[ValidScale(scaleIndex)];
  TFieldPaint plan;
  plan.PaneSize = grondo ? bitmap
                         : QSize(MulDiv(bitmap.width(), sc.Num, sc.Den), MulDiv(bitmap.height(), sc.Num, sc.Den));
  const bool dirty = partialPaint && dirtyLeft != dirtyRight;
  const QRect block(dirtyLeft, dirtyTop, dirtyRight - dirtyLeft + 1, dirtyBottom - dirtyTop + 1);
  if (!grondo && ValidScale(scaleIndex) > 0) {
    if (dirty) {
      plan.Source = block;
      plan.Target = QRect(MulDiv(block.left(), sc.Num, sc.Den), MulDiv(block.top(), sc.Num, sc.Den),
                          MulDiv(block.width(), sc.Num, sc.Den), MulDiv(block.height(), sc.Num, sc.Den));
    } else {
      plan.Source = QRect(QPoint(0, 0), bitmap);
      plan.Target = QRect(QPoint(0, 0), plan.PaneSize);
    }
  } else if (dirty) {
    plan.Source = block;
    plan.Target = block;
  } else {
    plan.Source = QRect(QPoint(0, 0), plan.PaneSize);
    plan.Target = plan.Source;
  }
  return plan;
}

void PaintField(QPainter& pane, const QImage& bitmap, const TFieldPaint& plan) {
  // Shrinking a pen drawing by dropping pixels would lose its thin lines.
  pane.setRenderHint(QPainter::SmoothPixmapTransform, plan.Source.size() != plan.Target.size());
  pane.drawImage(plan.Target, bitmap, plan.Source);
}

QImage RenderField(TGrid& grid, int s, const TPictures& pictures) {
  QImage image;
  TGrondoField field(grid, image, pictures);
  field.ScaleIndex = ValidScale(s);
  field.DrawField(-1, 0, 0, 0, false, false);
  return image;
}

bool SaveFieldPng(TGrid& grid, int s, const QString& fileName) {
  const QImage image = RenderField(grid, s);
  return !image.isNull() && image.save(fileName, "PNG");
}
