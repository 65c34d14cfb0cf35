// The canvas itself: colors, rounding, the dirty rectangle, flood fill and
// transparent pictures.
#include "canvas.h"

#include <gtest/gtest.h>

#include "encoding.h"
#include "errors.h"
#include "pen_test_util.h"
#include "sprites.h"

TEST(PenColors, PaletteCountsCyclically) {
  EXPECT_EQ(PaletteColor(0), 0x000000);
  EXPECT_EQ(PaletteColor(12), 0x3333FF);
  EXPECT_EQ(PaletteColor(16), PaletteColor(0));
  EXPECT_EQ(PaletteColor(17), 0x993300);
  EXPECT_EQ(PaletteColor(-1), 0xFFFFFF);
  EXPECT_EQ(PaletteColor(-16), 0x000000);
  EXPECT_EQ(PaletteColor(INT32_MIN), PaletteColor(0));
  // 0x00BBGGRR: entry 12 is a light red on the screen.
  EXPECT_EQ(ColorToRgb(PaletteColor(12)), qRgb(255, 51, 51));
}

TEST(PenColors, MakeRGBChecksEveryComponentInOrder) {
  EXPECT_EQ(MakeRGB(255, 0, 0), 255);
  EXPECT_EQ(MakeRGB(1, 2, 3), 1 + 2 * 256 + 3 * 65536);
  EXPECT_EQ(MakeRGB(255, 255, 255), 0xFFFFFF);
  auto message = [](int r, int g, int b) {
    try {
      MakeRGB(r, g, b);
    } catch (const EExecuteException& e) {
      return Cp1251ToUtf8(e.Message());
    }
    return std::string();
  };
  EXPECT_EQ(message(256, -1, 300), "неверно задан красный цвет 256 в формате RGB");
  EXPECT_EQ(message(0, -1, 300), "неверно задан зеленый цвет -1 в формате RGB");
  EXPECT_EQ(message(0, 0, 300), "неверно задан синий цвет 300 в формате RGB");
}

TEST(PenColors, PaletteFlagIsIgnoredOnScreenAndOverflowIsCaught) {
  EXPECT_EQ(PaletteRelative(255), 0x020000FF);
  EXPECT_EQ(ColorToRgb(PaletteRelative(255)), qRgb(255, 0, 0));
  EXPECT_THROW(PaletteRelative(0x7E000000), EIntOverflow);
  EXPECT_EQ(PaletteRelative(0x7DFFFFFF), 0x7FFFFFFF);
}

TEST(PenGeometry, RoundingTiesToEvenAndNeverOverflows) {
  EXPECT_EQ(RoundEven(0.5), 0);
  EXPECT_EQ(RoundEven(1.5), 2);
  EXPECT_EQ(RoundEven(-0.5), 0);
  EXPECT_EQ(RoundEven(2.4999), 2);
  EXPECT_EQ(RoundEven(1e300), 9007199254740992LL);
  EXPECT_EQ(RoundEven(-1e300), -9007199254740992LL);
  TCanvas c(100, 80, 50, 40);
  EXPECT_EQ(c.PixelX(0.5), 50);
  EXPECT_EQ(c.PixelX(1.5), 52);
  EXPECT_EQ(c.PixelY(10), 30);
  EXPECT_TRUE(c.InField(-50, 40));
  EXPECT_TRUE(c.InField(49, -39));
  EXPECT_FALSE(c.InField(50, 0));
  EXPECT_FALSE(c.InField(0, 41));
  EXPECT_FALSE(c.InField(0, -40));
  EXPECT_FALSE(c.InField(-51, 0));
  EXPECT_FALSE(c.InField(1LL << 40, 0));
}

TEST(PenDirtyRect, UnionReplacesAnEmptyRectangle) {
  TDirtyRect r;
  EXPECT_TRUE(r.IsEmpty());
  r.Widen(10, 20, 30, 40);
  EXPECT_EQ(r.Left, 10);
  EXPECT_EQ(r.Bottom, 40);
  r.Widen(5, 25, 12, 50);
  EXPECT_EQ(r.Left, 5);
  EXPECT_EQ(r.Top, 20);
  EXPECT_EQ(r.Right, 30);
  EXPECT_EQ(r.Bottom, 50);
  // A rectangle whose left equals its right counts as empty, whatever its
  // top and bottom, so it is replaced rather than joined.
  TDirtyRect flat{7, 0, 7, 300};
  flat.Widen(100, 100, 120, 110);
  EXPECT_EQ(flat.Left, 100);
  EXPECT_EQ(flat.Top, 100);
  EXPECT_EQ(flat.Right, 120);
  EXPECT_EQ(flat.Bottom, 110);
}

TEST(PenFill, FillsTheConnectedAreaOnlyAndStopsAtDiagonalGaps) {
  TCanvas c(40, 30, 0, 0);
  c.MoveTo(10, 0);
  c.LineTo(10, 29);  // a wall splitting the canvas
  c.SetBrushColor(kRed);
  c.Fill(2, 2);
  EXPECT_EQ(CountColor(c, kRed, 0, 0, 9, 29), 10 * 30);
  EXPECT_EQ(CountColor(c, kRed, 11, 0, 39, 29), 0);
  EXPECT_EQ(At(c, 10, 5), kBlack);
  // Filling an area with its own color ends and changes nothing.
  c.Fill(2, 2);
  EXPECT_EQ(CountColor(c, kRed), 10 * 30);
  // A diagonal line is a closed wall for a 4-connected fill.
  TCanvas d(20, 20, 0, 0);
  d.MoveTo(0, 19);
  d.LineTo(19, 0);
  d.SetBrushColor(kRed);
  d.Fill(0, 0);
  EXPECT_EQ(At(d, 19, 19), kWhite);
  EXPECT_EQ(At(d, 18, 0), kRed);
}

TEST(PenFill, FillToStopsAtTheBorderColorOnly) {
  TCanvas c(50, 50, 0, 0);
  c.SetPen(kRed, psSolid, 1);
  c.Rectangle(5, 5, 45, 45);  // red border, white inside
  c.SetPen(kBlack, psSolid, 1);
  c.MoveTo(10, 25);
  c.LineTo(40, 25);  // a black line inside that FillTo crosses
  c.SetBrush(0x00FF00, bsSolid);
  c.FillTo(20, 20, kRed);
  EXPECT_EQ(At(c, 20, 30), 0x00FF00);
  EXPECT_EQ(At(c, 20, 25), 0x00FF00);
  EXPECT_EQ(At(c, 5, 20), kRed);
  EXPECT_EQ(At(c, 2, 2), kWhite);
  // Starting on the border color fills nothing.
  c.SetBrushColor(0xFF0000);
  c.FillTo(5, 20, kRed);
  EXPECT_EQ(CountColor(c, 0xFF0000), 0);
}

TEST(PenFill, ClearBrushFillsNothingAndHatchLeavesGaps) {
  TCanvas c(40, 40, 0, 0);
  c.SetBrushStyle(bsClear);
  c.Fill(5, 5);
  EXPECT_EQ(CountColor(c, kWhite), 40 * 40);
  c.SetBrush(kBlack, bsHorizontal);
  c.Fill(5, 5);
  const int black = CountColor(c, kBlack);
  EXPECT_GT(black, 0);
  EXPECT_LT(black, 40 * 40 / 2);
}

TEST(PenSprites, TransparentPictureLeavesItsBackgroundOut) {
  TCanvas c(60, 60, 0, 0);
  c.SetBrushColor(kRed);
  c.Fill(0, 0);
  const QImage& turtle = TurtleSprite(0);
  const QImage saved = c.SaveBlock(20, 20, turtle.width(), turtle.height());
  c.DrawTransparent(turtle, 20, 20);
  // The corners are the white background: the red canvas shows through.
  EXPECT_EQ(At(c, 20, 20), kRed);
  EXPECT_EQ(At(c, 20, 37), kRed);
  EXPECT_NE(At(c, 29, 29), kRed);
  c.RestoreBlock(saved, 20, 20);
  EXPECT_EQ(CountColor(c, kRed), 60 * 60);
  // Partly off the canvas: only the part on it is touched and put back.
  const QImage before = c.Bitmap().copy();
  const QImage under = c.SaveBlock(-9, 51, 18, 18);
  c.DrawTransparent(turtle, -9, 51);
  EXPECT_NE(c.Bitmap(), before);
  c.RestoreBlock(under, -9, 51);
  EXPECT_EQ(c.Bitmap(), before);
}

TEST(PenSprites, TurtlePicturesAreTurnsOfEachOther) {
  const auto& s = TurtleSprites();
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(s[i].width(), 18);
    EXPECT_EQ(s[i].height(), 18);
    // The bottom-left pixel is the white background.
    EXPECT_EQ(s[i].pixel(0, 17), qRgb(255, 255, 255)) << i;
  }
  EXPECT_EQ(s[4], TurnClockwise(s[0]));
  EXPECT_EQ(s[9], TurnHalf(s[1]));
  EXPECT_EQ(s[14], TurnClockwise(s[10]));
  // Heading up: the head is in the top rows, the tail at the bottom.
  int topDark = 0;
  for (int x = 0; x < 18; ++x) topDark += s[0].pixel(x, 1) != qRgb(255, 255, 255);
  EXPECT_GT(topDark, 0);
  EXPECT_EQ(&TurtleSprite(350), &s[0]);
  EXPECT_EQ(&TurtleSprite(90), &s[4]);
  EXPECT_EQ(&TurtleSprite(360), &s[0]);
  EXPECT_EQ(&TurtleSprite(33.75), &s[2]);  // 1.5 rounds to 2
}

TEST(PenSprites, DrawerPicturesKeepTheirTipOnTheHotSpot) {
  const QImage& down = DrawerSprite(true);
  const QImage& up = DrawerSprite(false);
  EXPECT_EQ(down.size(), QSize(21, 20));
  EXPECT_EQ(up.size(), QSize(21, 20));
  const QRgb grey = qRgb(192, 192, 192);
  EXPECT_EQ(down.pixel(0, 19), grey);
  EXPECT_EQ(up.pixel(0, 19), grey);
  EXPECT_NE(down.pixel(kDrawerHotX, kDrawerHotY), grey);  // the pencil's tip
  EXPECT_EQ(up.pixel(kDrawerHotX, kDrawerHotY), grey);    // lifted off the paper
  EXPECT_NE(down, up);
}

TEST(PenGeometry, DrawsOnTheBoundFieldBitmapAndKeepsSizesSane) {
  QImage field(30, 20, QImage::Format_ARGB32);
  field.fill(Qt::white);
  TCanvas c(30, 20, 0, 0);
  c.Bind(&field);
  EXPECT_EQ(field.format(), QImage::Format_RGB32);
  c.Point(3, 4);
  EXPECT_EQ(field.pixel(3, 4), qRgb(0, 0, 0));
  // A switch to a pen executor gives the field bitmap the canvas's size.
  c.SetGeometry(50, 40, 25, 20);
  EXPECT_EQ(field.size(), QSize(50, 40));
  EXPECT_EQ(field.pixel(3, 4), qRgb(255, 255, 255));
  c.Bind(nullptr);
  EXPECT_NE(&c.Bitmap(), &field);
  c.SetGeometry(1 << 30, -5, 0, 0);
  EXPECT_EQ(c.CanvasWidth(), kMaxCanvasSide);
  EXPECT_EQ(c.CanvasHeight(), 1);
}
