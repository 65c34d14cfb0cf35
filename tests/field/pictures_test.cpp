#include <gtest/gtest.h>

#include "pictures.h"

namespace {

const TPictures& P() { return CellPictures(); }

TEST(Pictures, EveryPictureIsOneCellAtEveryScale) {
  const int sizes[kScaleCount] = {40, 30, 24, 20, 16, 13};
  for (int s = 0; s < kScaleCount; ++s) {
    const QSize cell(sizes[s], sizes[s]);
    SCOPED_TRACE(s);
    EXPECT_EQ(kFieldScales[s].CellSize, sizes[s]);
    EXPECT_EQ(P().Empty(s).size(), cell);
    EXPECT_EQ(P().Target(s).size(), cell);
    EXPECT_EQ(P().Painted(s).size(), cell);
    EXPECT_EQ(P().Base(s).size(), cell);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(P().Wall(s, k).size(), cell);
    for (int h = 0; h < 8; ++h) {
      EXPECT_EQ(P().Grondo(s, h).size(), cell);
      EXPECT_EQ(P().GrondoSprite(s, h).size(), cell);
      // The mask color is the picture's pixel (1, 1), and the sprite leaves
      // it out.
      EXPECT_EQ(P().Grondo(s, h).pixelColor(1, 1), TPictures::GrondoMaskColor());
      EXPECT_EQ(qAlpha(P().GrondoSprite(s, h).pixel(1, 1)), 0);
    }
  }
}

TEST(Pictures, GridEdgeOnLeftAndBottomOnlyBlackAtFullSize) {
  for (int s = 0; s < kScaleCount; ++s) {
    const QImage& e = P().Empty(s);
    const int cs = e.width();
    const QColor edge = e.pixelColor(0, 0);
    EXPECT_LT(edge.lightness(), 50) << s;
    EXPECT_EQ(e.pixelColor(0, cs / 2), edge);
    EXPECT_EQ(e.pixelColor(cs / 2, cs - 1), edge);
    EXPECT_GT(e.pixelColor(cs / 2, 0).lightness(), 120);  // the top row is sand
    EXPECT_EQ(edge == QColor(Qt::black), s == 0);
  }
}

TEST(Pictures, CellKindsLookDifferent) {
  for (int s = 0; s < kScaleCount; ++s) {
    const int c = P().Empty(s).width() / 2;
    const QColor sand = P().Empty(s).pixelColor(c, 2);
    const QColor soil = P().Target(s).pixelColor(c, c);
    EXPECT_GT(sand.lightness(), soil.lightness() + 40) << s;
    // Grass is green, the sign blue in its middle row somewhere.
    const QColor grass = P().Painted(s).pixelColor(2, P().Painted(s).height() - 3);
    EXPECT_GT(grass.green(), grass.red() + 30) << s;
    bool blue = false;
    for (int x = 0; x < P().Base(s).width(); ++x) {
      const QColor q = P().Base(s).pixelColor(x, c);
      blue = blue || (q.blue() > 150 && q.red() < 80);
    }
    EXPECT_TRUE(blue) << s;
  }
}

TEST(Pictures, WallsReachTowardsTheirNeighboursOnly) {
  for (int s = 0; s < kScaleCount; ++s) {
    const int cs = kFieldScales[s].CellSize;
    const int mid = cs / 2;
    const QColor sand = P().Empty(s).pixelColor(0, mid);  // the edge pixel on the left
    for (int k = 0; k < 16; ++k) {
      const QImage& w = P().Wall(s, k);
      SCOPED_TRACE(testing::Message() << "scale " << s << " k " << k);
      EXPECT_EQ(w.pixelColor(0, mid) != sand, (k & wsLeft) != 0);
      EXPECT_EQ(w.pixelColor(mid + 1, cs - 1) != P().Empty(s).pixelColor(mid + 1, cs - 1), (k & wsBelow) != 0);
      EXPECT_EQ(w.pixelColor(cs - 1, mid) != P().Empty(s).pixelColor(cs - 1, mid), (k & wsRight) != 0);
      EXPECT_EQ(w.pixelColor(mid + 1, 0) != P().Empty(s).pixelColor(mid + 1, 0), (k & wsAbove) != 0);
      // The corners stay ground even in a crossing.
      EXPECT_EQ(w.pixelColor(1, 0), P().Empty(s).pixelColor(1, 0));
    }
  }
}

// The pale bonnet marks Grondo's front: it must lie on the heading's side.
TEST(Pictures, GrondoFacesItsHeading) {
  for (int s = 0; s < kScaleCount; ++s) {
    const int cs = kFieldScales[s].CellSize;
    for (int h = 0; h < 8; h += 2) {
      const QImage& g = P().GrondoSprite(s, h);
      double sx = 0, sy = 0;
      int n = 0;
      for (int y = 0; y < cs; ++y)
        for (int x = 0; x < cs; ++x) {
          const QColor c = QColor::fromRgba(g.pixel(x, y));
          if (c.alpha() > 200 && c.blue() > 220 && c.red() > 130 && c.green() > 170) {
            sx += x - cs / 2.0;
            sy += y - cs / 2.0;
            ++n;
          }
        }
      ASSERT_GT(n, 0) << s << " " << h;
      sx /= n;
      sy /= n;
      SCOPED_TRACE(testing::Message() << "scale " << s << " heading " << h);
      switch (h) {
        case 0: EXPECT_LT(sy, -cs * 0.15); break;
        case 2: EXPECT_GT(sx, cs * 0.15); break;
        case 4: EXPECT_GT(sy, cs * 0.15); break;
        case 6: EXPECT_LT(sx, -cs * 0.15); break;
      }
    }
  }
}

TEST(Pictures, OutOfRangeScaleFallsBackToFullSize) {
  EXPECT_EQ(ValidScale(6), 0);
  EXPECT_EQ(ValidScale(-1), 0);
  EXPECT_EQ(ValidScale(5), 5);
  EXPECT_EQ(P().Empty(9).width(), 40);
}

}  // namespace
