// The Turtle: moves, heading, clipping at the edge, circles, fills, the
// sprite and the dirty rectangle, as a program's commands reach it.
#include "turtle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "encoding.h"
#include "errors.h"
#include "pen_test_util.h"
#include "sprites.h"

namespace {

class TurtleTest : public TPenFixture<TTurtle> {
 protected:
  TurtleTest() : TPenFixture(200, 160, 100, 80) {}
  TTurtle& turtle = pen;
};

}  // namespace

TEST_F(TurtleTest, DrawsNothingAndShowsNothingUntilAsked) {
  Exec(turtle, pnForward, {50});
  Exec(turtle, pnCircle, {10});
  Exec(turtle, pnFill, {3});
  EXPECT_EQ(CountColor(canvas, kWhite), 200 * 160);
  EXPECT_DOUBLE_EQ(turtle.Y, 50);
  EXPECT_EQ(host.Repaints, 0);
}

TEST_F(TurtleTest, ForwardWithHeadingRightDrawsFromTheOrigin) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnRight, {90});
  Exec(turtle, pnForward, {60});
  EXPECT_NEAR(turtle.X, 60, 1e-9);
  EXPECT_NEAR(turtle.Y, 0, 1e-9);
  EXPECT_EQ(At(canvas, 100, 80), kBlack);
  EXPECT_EQ(At(canvas, 160, 80), kBlack);
  EXPECT_EQ(At(canvas, 99, 80), kWhite);
  EXPECT_EQ(At(canvas, 150, 79), kWhite);
  EXPECT_EQ(CountColor(canvas, kBlack), 61);
}

TEST_F(TurtleTest, AMoveOffTheCanvasStopsAtTheEdgeWithAnError) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnForward, {30});
  EXPECT_EQ(ErrorOf(turtle, pnForward, {1000}), "Ошибка исполнителя: Не могу идти дальше");
  // Up to the top row, and the Turtle stands at the edge.
  EXPECT_EQ(At(canvas, 100, 0), kBlack);
  EXPECT_EQ(At(canvas, 100, 1), kBlack);
  EXPECT_NEAR(turtle.Y, 80.0, 0.51);
  EXPECT_TRUE(canvas.InField(RoundEven(turtle.X), RoundEven(turtle.Y)) ||
              std::fabs(turtle.Y - 80.5) < 0.011);
  EXPECT_FALSE(turtle.Busy);
  // A diagonal move is clipped on its own line, not snapped to a corner.
  Exec(turtle, pnHome);
  Exec(turtle, pnHeading, {45});
  EXPECT_EQ(ErrorOf(turtle, pnBack, {500}), "Ошибка исполнителя: Не могу идти дальше");
  EXPECT_NEAR(turtle.X, turtle.Y, 0.02);
  EXPECT_NEAR(turtle.Y, -79.5, 0.02);
}

TEST_F(TurtleTest, HeadingStaysWithinOneTurn) {
  Exec(turtle, pnLeft, {30});
  EXPECT_DOUBLE_EQ(turtle.Heading, 330);
  Exec(turtle, pnHeading, {720});
  EXPECT_DOUBLE_EQ(turtle.Heading, 360);
  Exec(turtle, pnRight, {400});
  EXPECT_DOUBLE_EQ(turtle.Heading, 40);
  Exec(turtle, pnHeading, {3600});
  EXPECT_DOUBLE_EQ(turtle.Heading, 360);
  Exec(turtle, pnHeading, {-3600});
  EXPECT_DOUBLE_EQ(turtle.Heading, 0);
  Exec(turtle, pnHeading, {-3610});
  EXPECT_DOUBLE_EQ(turtle.Heading, 350);
  Exec(turtle, pnHeading, {40});
  Exec(turtle, pnLeft, {-2000000000});
  EXPECT_GE(turtle.Heading, 0);
  EXPECT_LE(turtle.Heading, 360);
  EXPECT_NEAR(std::fmod(turtle.Heading - 40 - 2000000000.0, 360.0), 0, 1e-6);
  // Back moves against the heading.
  Exec(turtle, pnHeading, {180});
  Exec(turtle, pnBack, {20});
  EXPECT_NEAR(turtle.Y, 20, 1e-9);
  EXPECT_NEAR(turtle.X, 0, 1e-9);
}

TEST_F(TurtleTest, CircleAroundThePosition) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnColor, {12});
  Exec(turtle, pnCircle, {20});
  const int red = PaletteColor(12);
  EXPECT_EQ(At(canvas, 120, 80), red);
  EXPECT_EQ(At(canvas, 80, 80), red);
  EXPECT_EQ(At(canvas, 100, 60), red);
  EXPECT_EQ(At(canvas, 100, 100), red);
  EXPECT_EQ(At(canvas, 100, 80), kWhite);
  EXPECT_EQ(At(canvas, 121, 80), kWhite);
  EXPECT_EQ(canvas.BrushStyle(), bsClear);
}

TEST_F(TurtleTest, FillInsideACircleStopsAtTheCircle) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnCircle, {30});
  Exec(turtle, pnFill, {9});
  const int orange = PaletteColor(9);
  EXPECT_EQ(At(canvas, 100, 80), orange);
  EXPECT_EQ(At(canvas, 125, 80), orange);
  EXPECT_EQ(At(canvas, 130, 80), kBlack);
  EXPECT_EQ(At(canvas, 132, 80), kWhite);
  EXPECT_EQ(At(canvas, 0, 0), kWhite);
  const int inside = CountColor(canvas, orange);
  EXPECT_NEAR(inside, M_PI * 29.5 * 29.5, 150);
  // закрасьRGB with a full component.
  Exec(turtle, pnFillRGB, {0, 255, 0});
  EXPECT_EQ(At(canvas, 100, 80), 0x00FF00);
}

TEST_F(TurtleTest, ColorRGBTakesFullIntensityAndChecksTheRange) {
  Exec(turtle, pnColorRGB, {255, 0, 255});
  EXPECT_EQ(turtle.PenColor, 0xFF00FF);
  try {
    Exec(turtle, pnColorRGB, {256, 0, 0});
    FAIL();
  } catch (const EExecuteException& e) {
    EXPECT_EQ(Cp1251ToUtf8(e.Message()), "неверно задан красный цвет 256 в формате RGB");
  }
  EXPECT_THROW(Exec(turtle, pnColorRGB, {0, 0, -1}), EExecuteException);
  EXPECT_EQ(turtle.PenColor, 0xFF00FF);
  // The numbered colors wrap round.
  Exec(turtle, pnColor, {18});
  EXPECT_EQ(turtle.PenColor, PaletteColor(2));
  Exec(turtle, pnColor, {-3});
  EXPECT_EQ(turtle.PenColor, PaletteColor(13));
}

TEST_F(TurtleTest, SpriteShowsAtThePositionAndHidingRestoresThePicture) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnForward, {10});
  const QImage drawn = canvas.Bitmap().copy();
  Exec(turtle, pnShow);
  EXPECT_TRUE(turtle.Drawn);
  EXPECT_NE(canvas.Bitmap(), drawn);
  // The sprite's centre pixel sits on the position's pixel (100, 70).
  const QImage& pic = TurtleSprite(0);
  EXPECT_EQ(canvas.Bitmap().pixel(100, 70), pic.pixel(kTurtleHotX, kTurtleHotY));
  Exec(turtle, pnShow);  // no change, no error
  Exec(turtle, pnHide);
  EXPECT_EQ(canvas.Bitmap(), drawn);
  Exec(turtle, pnHide);
  EXPECT_FALSE(turtle.Drawn);
}

TEST_F(TurtleTest, TurningShowsTheNewPictureAtTheNextMove) {
  Exec(turtle, pnShow);
  Exec(turtle, pnRight, {90});
  const QImage& up = TurtleSprite(0);
  const QImage& right = TurtleSprite(90);
  auto matches = [&](const QImage& pic) {
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 18; ++x)
        if (pic.pixel(x, y) != qRgb(255, 255, 255) && canvas.Bitmap().pixel(91 + x, 71 + y) != pic.pixel(x, y))
          return false;
    return true;
  };
  EXPECT_TRUE(matches(up));
  Exec(turtle, pnForward, {0});
  EXPECT_TRUE(matches(right));
}

TEST_F(TurtleTest, DirtyRectCoversEachStepAndEveryCommandStartsEmpty) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnRight, {90});
  Exec(turtle, pnForward, {30});
  ASSERT_EQ(host.Dirty.size(), 1u);
  EXPECT_EQ(host.Dirty[0].Left, 100);
  EXPECT_EQ(host.Dirty[0].Top, 80);
  EXPECT_EQ(host.Dirty[0].Right, 130);
  EXPECT_EQ(host.Dirty[0].Bottom, 80);
  EXPECT_TRUE(canvas.DirtyRect.IsEmpty());
  // With the sprite: the line's box joined with the sprite's boxes.
  Exec(turtle, pnShow);
  host.Dirty.clear();
  Exec(turtle, pnRight, {90});
  Exec(turtle, pnForward, {20});
  ASSERT_EQ(host.Dirty.size(), 1u);  // hiding repaints nothing while busy
  const TDirtyRect& d = host.Dirty[0];
  EXPECT_EQ(d.Left, 130 - 9 - 10);
  EXPECT_EQ(d.Top, 80 - 9 - 10);
  EXPECT_EQ(d.Right, 130 - 9 + 30);
  EXPECT_EQ(d.Bottom, 100 - 9 + 30);
  // A wide pen's line is marked with its width.
  Exec(turtle, pnHide);
  host.Dirty.clear();
  canvas.SetPen(kBlack, psSolid, 5);
  Exec(turtle, pnHome);
  EXPECT_EQ(host.Dirty.back().Left, 100 - 3);
  EXPECT_EQ(host.Dirty.back().Top, 80 - 3);
  EXPECT_EQ(host.Dirty.back().Right, 130 + 3);
  EXPECT_EQ(host.Dirty.back().Bottom, 100 + 3);
  // A fill marks the whole canvas.
  host.Dirty.clear();
  Exec(turtle, pnFill, {4});
  EXPECT_EQ(host.Dirty.back().Left, 0);
  EXPECT_EQ(host.Dirty.back().Right, 199);
  EXPECT_EQ(host.Dirty.back().Bottom, 159);
}

TEST_F(TurtleTest, AFailedMoveLeavesNoDirtyRectBehind) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnShow);
  EXPECT_EQ(ErrorOf(turtle, pnForward, {1000}), "Ошибка исполнителя: Не могу идти дальше");
  EXPECT_TRUE(canvas.DirtyRect.IsEmpty());
  // The next run wipes the canvas and repaints: all of it must reach the
  // screen, not just the block the failed move had marked.
  TTurtle next(canvas);
  next.Host = &host;
  next.ClearCanvas();
  next.RequestRepaint();
  EXPECT_TRUE(host.Dirty.back().IsEmpty());
}

TEST_F(TurtleTest, ClearingWhileShownLeavesNoGhostOfTheOldPicture) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnColor, {12});
  Exec(turtle, pnCircle, {5});
  Exec(turtle, pnShow);
  turtle.ClearCanvas();
  Exec(turtle, pnPenUp);
  Exec(turtle, pnForward, {50});
  Exec(turtle, pnHide);
  EXPECT_EQ(CountColor(canvas, kWhite), 200 * 160);
}

TEST_F(TurtleTest, UnknownAndDrawerCommandsDoNothing) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnVector, {10, 10});
  Exec(turtle, 2012, {1});
  Exec(turtle, 9999);
  EXPECT_EQ(turtle.X, 0);
  EXPECT_EQ(turtle.Y, 0);
  EXPECT_EQ(CountColor(canvas, kWhite), 200 * 160);
}

TEST_F(TurtleTest, StarAndFilledCirclePicture) {
  TCanvas big(400, 300, 200, 150);
  TTurtle t(big);
  Exec(t, pnMoveToPoint, {-60, 40});
  Exec(t, pnPenDown);
  Exec(t, pnColor, {1});
  Exec(t, pnHeading, {90});
  for (int i = 0; i < 5; ++i) {
    Exec(t, pnForward, {150});
    Exec(t, pnRight, {144});
  }
  Exec(t, pnPenUp);
  Exec(t, pnMoveToPoint, {15, -5});
  Exec(t, pnPenDown);
  Exec(t, pnFill, {11});
  Exec(t, pnPenUp);
  Exec(t, pnMoveToPoint, {120, -90});
  Exec(t, pnPenDown);
  Exec(t, pnColorRGB, {0, 128, 0});
  Exec(t, pnCircle, {40});
  Exec(t, pnFill, {10});
  Exec(t, pnPenUp);
  Exec(t, pnMoveToPoint, {-150, -100});
  Exec(t, pnHeading, {0});
  Exec(t, pnPenDown);
  Exec(t, pnColor, {4});
  for (int i = 1; i <= 40; ++i) {
    Exec(t, pnForward, {i});
    Exec(t, pnRight, {61});
  }
  Exec(t, pnShow);
  ASSERT_TRUE(big.Bitmap().save(QString::fromStdString(PicturePath("turtle_star.png"))));
  EXPECT_EQ(At(big, 200 + 15, 150 + 5), PaletteColor(11));
  EXPECT_EQ(At(big, 200 + 120, 150 + 90), PaletteColor(10));
  EXPECT_EQ(At(big, 200 + 120 + 40, 150 + 90), 0x008000);
  EXPECT_EQ(At(big, 5, 5), kWhite);
}
