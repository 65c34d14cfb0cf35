#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "field.h"

namespace {

const TPictures& P() { return CellPictures(); }

QImage Block(const QImage& img, QRect r) { return img.copy(r).convertToFormat(QImage::Format_RGB32); }

QImage WithGrondo(const QImage& cell, int s, int h) {
  QImage out = cell.convertToFormat(QImage::Format_RGB32);
  QPainter p(&out);
  p.drawImage(0, 0, P().GrondoSprite(s, h));
  return out;
}

TGrid GridOf(TMaze rows) {
  TGrid g;
  g.TaskMaze = std::move(rows);
  return g;
}

TEST(FieldGeometry, BitmapSizesAndAutoScale) {
  EXPECT_EQ(FieldBitmapSize(10, 10, 0), QSize(401, 401));
  EXPECT_EQ(FieldBitmapSize(10, 10, 5), QSize(131, 131));
  EXPECT_EQ(AutoScaleIndex(30, 20, QSize(500, 400)), 4);
  EXPECT_EQ(FieldBitmapSize(30, 20, 4), QSize(481, 321));
  EXPECT_EQ(AutoScaleIndex(10, 10, QSize(401, 401)), 0);
  EXPECT_EQ(AutoScaleIndex(10, 10, QSize(400, 401)), 1);
  EXPECT_EQ(AutoScaleIndex(300, 300, QSize(500, 400)), 5);
  EXPECT_EQ(CellRect(2, 3, 0), QRect(80, 121, 40, 40));
}

TEST(FieldGeometry, MulDivRoundsHalvesAway) {
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(7, 2, 5), 3);
  EXPECT_EQ(MulDiv(500, 3, 4), 375);
  EXPECT_EQ(MulDiv(401, 1, 3), 134);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 2, 4), 1000000000);
}

TEST(FieldDraw, WholeFieldIsCellsOnBlackWithDiscovery) {
  TMaze rows(10, std::string(10, '.'));
  rows[0][0] = 'w';
  rows[1][0] = 'w';
  rows[1][1] = 'w';
  rows[3][4] = 'D';
  rows[5][5] = 'x';
  rows[6][6] = 'p';
  rows[7][7] = '#';
  TGrid g = GridOf(rows);
  QImage bitmap;
  TGrondoField f(g, bitmap);
  f.DrawField(-1, 0, 0, 0, true, false);
  ASSERT_EQ(bitmap.size(), QSize(401, 401));
  for (int i = 0; i < 401; ++i) {
    EXPECT_EQ(bitmap.pixel(i, 0), qRgb(0, 0, 0));
    EXPECT_EQ(bitmap.pixel(400, i), qRgb(0, 0, 0));
  }
  EXPECT_EQ(Block(bitmap, CellRect(2, 2, 0)), P().Empty(0));
  EXPECT_EQ(Block(bitmap, CellRect(1, 1, 0)), P().Wall(0, wsLeft));
  EXPECT_EQ(Block(bitmap, CellRect(0, 1, 0)), P().Wall(0, wsAbove | wsRight));
  EXPECT_EQ(Block(bitmap, CellRect(0, 0, 0)), P().Wall(0, wsBelow));
  EXPECT_EQ(Block(bitmap, CellRect(5, 5, 0)), P().Target(0));
  EXPECT_EQ(Block(bitmap, CellRect(6, 6, 0)), P().Painted(0));
  EXPECT_EQ(Block(bitmap, CellRect(7, 7, 0)).pixel(20, 20), qRgb(0, 0, 0));
  // The code D became the base with Grondo facing right on it.
  EXPECT_EQ(g.WorkingMaze[3][4], 'b');
  EXPECT_EQ(g.GrondoDir, 2);
  EXPECT_EQ(Block(bitmap, CellRect(4, 3, 0)), WithGrondo(P().Base(0), 0, 2));
}

TEST(FieldDraw, WallWithWallsLeftAndAboveUsesNine) {
  TGrid g = GridOf({"ww........", ".w........"});
  QImage bitmap;
  TGrondoField f(g, bitmap);
  f.DrawField(-1, 0, 0, 0, true, false);
  // Two rows grow to ten: the maze starts at row 4.
  EXPECT_EQ(Block(bitmap, CellRect(1, 4, 0)), P().Wall(0, wsLeft | wsBelow));
  g.WorkingMaze[5][0] = 'w';
  f.DrawCell(1, 5);
  EXPECT_EQ(Block(bitmap, CellRect(1, 5, 0)), P().Wall(0, 9));
}

TEST(FieldDraw, CellsRedrawnAfterAMoveLoseGrondo) {
  TMaze rows(10, std::string(10, '.'));
  rows[2][2] = '2';
  rows[2][3] = '#';
  TGrid g = GridOf(rows);
  QImage bitmap;
  TGrondoField f(g, bitmap);
  f.ScaleIndex = 3;
  f.DrawField(-1, 0, 0, 0, true, false);
  ASSERT_EQ(bitmap.size(), QSize(201, 201));
  EXPECT_EQ(Block(bitmap, CellRect(2, 2, 3)), WithGrondo(P().Empty(3), 3, 2));

  g.GrondoX = 3;
  f.DrawCell(2, 2);
  f.DrawCell(3, 2);
  EXPECT_EQ(Block(bitmap, CellRect(2, 2, 3)), P().Empty(3));
  g.GrondoX = 4;
  f.DrawField(3, 2, 4, 2, false, false);
  // A cell without a picture shows black again, not Grondo's ghost.
  const QImage left = Block(bitmap, CellRect(3, 2, 3));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(left.pixel(x, y), qRgb(0, 0, 0));
  EXPECT_EQ(Block(bitmap, CellRect(4, 2, 3)), WithGrondo(P().Empty(3), 3, 2));
}

TEST(FieldDraw, AutoScaleAndPixelBudget) {
  TGrid g = GridOf(TMaze(20, std::string(30, '.')));
  QImage bitmap;
  TGrondoField f(g, bitmap);
  f.DrawField(-1, 0, 0, 0, true, true, QSize(500, 400));
  EXPECT_EQ(f.ScaleIndex, 4);
  EXPECT_EQ(bitmap.size(), QSize(481, 321));
  // A scale change keeps the field and rebuilds it with the new cell size.
  f.ScaleIndex = 0;
  f.DrawField(-1, 0, 0, 0, false, false);
  EXPECT_EQ(bitmap.size(), QSize(1201, 801));

  // 200 x 200 cells would need 64 million pixels at 100%: drawn at 60%.
  TGrid big = GridOf(TMaze(200, std::string(200, 'w')));
  TGrondoField fb(big, bitmap);
  fb.DrawField(-1, 0, 0, 0, true, false);
  EXPECT_EQ(fb.ScaleIndex, 2);
  EXPECT_EQ(bitmap.size(), QSize(4801, 4801));
}

TEST(FieldDraw, WideTaskFromAFileIsDrawnWithinTheBudget) {
  // 5000 x 10 cells: 200001 x 401 pixels at 100% is too much; 60% fits.
  TGrid g = GridOf({std::string(5000, 'w'), "0"});
  QImage bitmap;
  TGrondoField f(g, bitmap);
  f.DrawField(-1, 0, 0, 0, true, false);
  EXPECT_EQ(f.ScaleIndex, 2);
  EXPECT_EQ(bitmap.size(), QSize(120001, 241));
  EXPECT_EQ(Block(bitmap, CellRect(4999, 4, 2)), P().Wall(2, wsLeft));
}

TEST(FieldPaint, GrondoCopiesOneToOne) {
  const QSize bmp(401, 401);
  TFieldPaint whole = ComputeFieldPaint(bmp, true, 3, false, 0, 0, 0, 0);
  EXPECT_EQ(whole.PaneSize, bmp);
  EXPECT_EQ(whole.Source, QRect(0, 0, 401, 401));
  EXPECT_EQ(whole.Target, whole.Source);
  // Partial paint with an empty rectangle (left = right) still copies all.
  TFieldPaint empty = ComputeFieldPaint(bmp, true, 0, true, 5, 5, 5, 9);
  EXPECT_EQ(empty.Source, QRect(0, 0, 401, 401));
  TFieldPaint part = ComputeFieldPaint(bmp, true, 0, true, 10, 20, 49, 59);
  EXPECT_EQ(part.Source, QRect(10, 20, 40, 40));
  EXPECT_EQ(part.Target, part.Source);
}

TEST(FieldPaint, PenCanvasStretchesByTheScale) {
  const QSize canvas(500, 400);
  TFieldPaint p75 = ComputeFieldPaint(canvas, false, 1, false, 0, 0, 0, 0);
  EXPECT_EQ(p75.PaneSize, QSize(375, 300));
  EXPECT_EQ(p75.Source, QRect(0, 0, 500, 400));
  EXPECT_EQ(p75.Target, QRect(0, 0, 375, 300));

  TFieldPaint part = ComputeFieldPaint(canvas, false, 3, true, 11, 20, 40, 61);
  EXPECT_EQ(part.Source, QRect(11, 20, 30, 42));
  EXPECT_EQ(part.Target, QRect(6, 10, 15, 21));

  TFieldPaint full = ComputeFieldPaint(canvas, false, 0, true, 11, 20, 40, 61);
  EXPECT_EQ(full.PaneSize, canvas);
  EXPECT_EQ(full.Target, QRect(11, 20, 30, 42));
}

TEST(FieldPaint, PaintFieldPutsThePixelsWherePlanned) {
  QImage canvas(500, 400, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  canvas.setPixel(100, 100, qRgb(255, 0, 0));
  QImage pane(600, 600, QImage::Format_RGB32);
  pane.fill(Qt::blue);
  {
    QPainter p(&pane);
    PaintField(p, canvas, ComputeFieldPaint(canvas.size(), false, 3, false, 0, 0, 0, 0));
  }
  EXPECT_EQ(pane.pixel(249, 199), qRgb(255, 255, 255));
  EXPECT_EQ(pane.pixel(250, 200), qRgb(0, 0, 255));
  EXPECT_GT(qRed(pane.pixel(50, 50)), qGreen(pane.pixel(50, 50)));  // the red dot shrunk, not dropped
}

TEST(FieldRender, AllScalesAndPng) {
  TGrid g = GridOf({"wwwww", "w2.xw", "wb.pw", "wwwww"});
  g.Restore();
  for (int s = 0; s < kScaleCount; ++s) {
    const QImage img = RenderField(g, s);
    const int cs = kFieldScales[s].CellSize;
    EXPECT_EQ(img.size(), QSize(cs * 11 + 1, cs * 10 + 1)) << s;
  }
  QTemporaryDir dir;
  const QString file = dir.filePath("field.png");
  ASSERT_TRUE(SaveFieldPng(g, 2, file));
  EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), RenderField(g, 2));
  EXPECT_FALSE(SaveFieldPng(g, 2, dir.filePath("no/such/dir/x.png")));
}

}  // namespace
