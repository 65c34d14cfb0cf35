// The Drawer: absolute points, vectors and the pencil picture.
#include "drawer.h"

#include <gtest/gtest.h>

#include "errors.h"
#include "pen_test_util.h"
#include "sprites.h"

namespace {

class DrawerTest : public TPenFixture<TDrawer> {
 protected:
  DrawerTest() : TPenFixture(160, 120, 40, 90) {}
  TDrawer& drawer = pen;
};

bool SpriteAt(const TCanvas& c, const QImage& pic, int left, int top) {
  const QRgb key = pic.pixel(0, pic.height() - 1);
  for (int y = 0; y < pic.height(); ++y)
    for (int x = 0; x < pic.width(); ++x)
      if (pic.pixel(x, y) != key && c.Bitmap().pixel(left + x, top + y) != pic.pixel(x, y)) return false;
  return true;
}

}  // namespace

TEST_F(DrawerTest, VectorMovesByTheOffsetAndDrawsInExecutorCoordinates) {
  Exec(drawer, pnMoveToPoint, {5, 5});
  Exec(drawer, pnPenDown);
  Exec(drawer, pnVector, {10, 0});
  EXPECT_EQ(drawer.X, 15);
  EXPECT_EQ(drawer.Y, 5);
  EXPECT_EQ(CountColor(canvas, kBlack), 11);
  EXPECT_EQ(CountColor(canvas, kBlack, 45, 85, 55, 85), 11);
  Exec(drawer, pnVector, {0, -20});
  EXPECT_EQ(At(canvas, 55, 95), kBlack);
  Exec(drawer, pnHome);
  EXPECT_EQ(drawer.X, 0);
  EXPECT_EQ(At(canvas, 40, 90), kBlack);
}

TEST_F(DrawerTest, VectorOffTheCanvasFailsAtTheEdge) {
  Exec(drawer, pnPenDown);
  EXPECT_EQ(ErrorOf(drawer, pnVector, {-100, 0}), "Ошибка исполнителя: Не могу идти дальше");
  EXPECT_EQ(At(canvas, 0, 90), kBlack);
  EXPECT_NEAR(drawer.X, -40.5, 0.02);
}

TEST_F(DrawerTest, PenCommandsSwapThePictureAtOnce) {
  Exec(drawer, pnMoveToPoint, {30, 30});
  Exec(drawer, pnShow);
  const int left = 70 - kDrawerHotX, top = 60 - kDrawerHotY;
  EXPECT_TRUE(SpriteAt(canvas, DrawerSprite(false), left, top));
  host.Repaints = 0;
  Exec(drawer, pnPenDown);
  EXPECT_TRUE(SpriteAt(canvas, DrawerSprite(true), left, top));
  EXPECT_EQ(host.Repaints, 1);
  Exec(drawer, pnPenUp);
  EXPECT_TRUE(SpriteAt(canvas, DrawerSprite(false), left, top));
  Exec(drawer, pnHide);
  EXPECT_EQ(CountColor(canvas, kWhite), 160 * 120);
}

TEST_F(DrawerTest, TurtleCommandsMeanNothingHere) {
  Exec(drawer, pnPenDown);
  Exec(drawer, pnForward, {50});
  Exec(drawer, pnHeading, {90});
  Exec(drawer, 2013);
  EXPECT_EQ(drawer.Y, 0);
  EXPECT_EQ(CountColor(canvas, kWhite), 160 * 120);
}

TEST_F(DrawerTest, ColorRGBIsRangeChecked) {
  Exec(drawer, pnColorRGB, {255, 255, 0});
  EXPECT_EQ(drawer.PenColor, 0x00FFFF);
  EXPECT_THROW(Exec(drawer, pnColorRGB, {0, 256, 0}), EExecuteException);
}

TEST(PenFactory, MakesTheExecutorOfTheKind) {
  TCanvas canvas(50, 50, 25, 25);
  EXPECT_EQ(MakePenExecutor(ekTurtle, canvas)->Kind(), ekTurtle);
  EXPECT_EQ(MakePenExecutor(ekDrawer, canvas)->Kind(), ekDrawer);
  EXPECT_EQ(MakePenExecutor(ekGrondo, canvas), nullptr);
}
