// The plotter commands as the interpreter hands them over: canvas pixel
// coordinates, the canvas's own pen, brush and font.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "pen_test_util.h"
#include "turtle.h"

namespace {

TPlotArgs Ints(std::initializer_list<int> v) {
  TPlotArgs a;
  int i = 0;
  for (int x : v) a.Int[i++] = x;
  return a;
}

// Colors arrive with the palette flag the interpreter adds.
int Flagged(int color) { return PaletteRelative(color); }

// An origin far from the corner, to show that plotter coordinates ignore it.
class PlotterTest : public TPenFixture<TTurtle> {
 protected:
  PlotterTest() : TPenFixture(200, 150, 120, 70) {}
  TTurtle& turtle = pen;
};

}  // namespace

TEST_F(PlotterTest, MoveToAndLineToUseCanvasPixels) {
  turtle.Plot(pcMoveTo, Ints({10, 10}));
  EXPECT_EQ(CountColor(canvas, kBlack), 0);
  turtle.Plot(pcLineTo, Ints({50, 10}));
  EXPECT_EQ(CountColor(canvas, kBlack), 41);
  EXPECT_EQ(CountColor(canvas, kBlack, 10, 10, 50, 10), 41);
  // The pen position moved on: a second LineTo continues from (50, 10).
  turtle.Plot(pcLineTo, Ints({50, 20}));
  EXPECT_EQ(At(canvas, 50, 15), kBlack);
  EXPECT_EQ(turtle.X, 0);
  EXPECT_EQ(turtle.Y, 0);
}

TEST_F(PlotterTest, RectangleAndEllipseFillTheirBoxBelowTheFarEdges) {
  turtle.Plot(pcBrush, Ints({Flagged(kRed), bsSolid}));
  turtle.Plot(pcRectangle, Ints({40, 30, 10, 20}));  // corners in any order
  EXPECT_EQ(At(canvas, 10, 20), kBlack);
  EXPECT_EQ(At(canvas, 39, 29), kBlack);
  EXPECT_EQ(At(canvas, 40, 25), kWhite);
  EXPECT_EQ(At(canvas, 25, 30), kWhite);
  EXPECT_EQ(At(canvas, 25, 25), kRed);
  EXPECT_EQ(CountColor(canvas, kRed), 28 * 8);

  turtle.Plot(pcEllipse, Ints({100, 100, 141, 141}));
  EXPECT_EQ(At(canvas, 120, 120), kRed);
  EXPECT_EQ(At(canvas, 100, 120), kBlack);
  EXPECT_EQ(At(canvas, 120, 100), kBlack);
  EXPECT_EQ(At(canvas, 101, 101), kWhite);
  EXPECT_EQ(CountColor(canvas, kBlack, 141, 0, 199, 149), 0);
}

TEST_F(PlotterTest, ArcFromZeroToPiIsTheUpperHalf) {
  turtle.Plot(pcPen, Ints({Flagged(kBlack), psSolid, 1}));
  TPlotArgs a = Ints({0, 0, 100, 100});
  a.Real[0] = 0;
  a.Real[1] = 3.14159;
  turtle.Plot(pcArc, a);
  const int upper = CountColor(canvas, kBlack, 0, 0, 100, 47);
  const int lower = CountColor(canvas, kBlack, 0, 52, 100, 100);
  EXPECT_GT(upper, 100);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(At(canvas, 49, 0), kBlack);
  // Arcs are never filled.
  EXPECT_EQ(At(canvas, 50, 25), kWhite);
}

TEST_F(PlotterTest, PenColorAndWidthCarryOverToTheExecutorsLines) {
  turtle.Plot(pcPen, Ints({Flagged(255), psSolid, 3}));
  EXPECT_EQ(turtle.PenColor & 0xFFFFFF, 255);
  Exec(turtle, pnPenDown);
  Exec(turtle, pnHeading, {90});
  Exec(turtle, pnForward, {40});
  EXPECT_EQ(At(canvas, 140, 70), kRed);
  EXPECT_EQ(At(canvas, 140, 69), kRed);
  EXPECT_EQ(At(canvas, 140, 71), kRed);
  EXPECT_EQ(At(canvas, 140, 73), kWhite);
}

TEST_F(PlotterTest, ClearPenAndBrushStyles) {
  turtle.Plot(pcPen, Ints({Flagged(kBlack), psClear, 1}));
  turtle.Plot(pcBrush, Ints({Flagged(kRed), bsClear}));
  turtle.Plot(pcRectangle, Ints({10, 10, 30, 30}));
  EXPECT_EQ(CountColor(canvas, kWhite), 200 * 150);
  // A dashed line leaves gaps.
  turtle.Plot(pcPen, Ints({Flagged(kBlack), psDash, 1}));
  turtle.Plot(pcLine, Ints({0, 50, 199, 50}));
  const int dashed = CountColor(canvas, kBlack, 0, 50, 199, 50);
  EXPECT_GT(dashed, 100);
  EXPECT_LT(dashed, 199);
}

TEST_F(PlotterTest, InsideFramePenKeepsFiguresWithinTheirBox) {
  turtle.Plot(pcBrush, Ints({Flagged(kRed), bsSolid}));
  // A wide solid pen reaches beyond the box...
  turtle.Plot(pcPen, Ints({Flagged(kBlack), psSolid, 5}));
  turtle.Plot(pcRectangle, Ints({20, 20, 50, 50}));
  EXPECT_EQ(At(canvas, 18, 35), kBlack);
  // ...an inside-frame pen of the same width stays within it.
  turtle.ClearCanvas();
  turtle.Plot(pcBrush, Ints({Flagged(kRed), bsSolid}));
  for (int width : {2, 5, 6}) {
    turtle.Plot(pcPen, Ints({Flagged(kBlack), psInsideFrame, width}));
    turtle.Plot(pcRectangle, Ints({20, 20, 50, 50}));
    turtle.Plot(pcEllipse, Ints({60, 20, 90, 50}));
    const auto inked = [&](int x1, int y1, int x2, int y2) {
      return CountColor(canvas, kBlack, x1, y1, x2, y2) + CountColor(canvas, kRed, x1, y1, x2, y2);
    };
    EXPECT_EQ(inked(0, 0, 199, 149), inked(20, 20, 49, 49) + inked(60, 20, 89, 49)) << width;
    EXPECT_EQ(At(canvas, 20, 35), kBlack) << width;
    EXPECT_EQ(At(canvas, 49, 35), kBlack) << width;
    EXPECT_EQ(At(canvas, 35, 20 + width - 1), kBlack) << width;
    EXPECT_EQ(At(canvas, 35, 20 + width), kRed) << width;
    EXPECT_EQ(At(canvas, 75, 35), kRed) << width;
    turtle.ClearCanvas();
    turtle.Plot(pcBrush, Ints({Flagged(kRed), bsSolid}));
  }
  // Lines have no box: inside-frame draws them like a solid pen.
  turtle.Plot(pcPen, Ints({Flagged(kBlack), psInsideFrame, 5}));
  turtle.Plot(pcLine, Ints({20, 100, 60, 100}));
  EXPECT_EQ(At(canvas, 40, 98), kBlack);
  EXPECT_EQ(At(canvas, 40, 102), kBlack);
}

TEST_F(PlotterTest, CircleLeavesTheBrushClearUntilItGetsAColor) {
  Exec(turtle, pnPenDown);
  Exec(turtle, pnCircle, {10});
  turtle.Plot(pcRectangle, Ints({10, 10, 30, 30}));
  EXPECT_EQ(At(canvas, 20, 20), kWhite);
  EXPECT_EQ(At(canvas, 10, 20), kBlack);
  turtle.Plot(pcBrush, Ints({Flagged(kRed), bsSolid}));
  turtle.Plot(pcRectangle, Ints({10, 10, 30, 30}));
  EXPECT_EQ(At(canvas, 20, 20), kRed);
}

TEST_F(PlotterTest, FillAndFillToAndPoint) {
  turtle.Plot(pcBrush, Ints({Flagged(kRed), bsSolid}));
  turtle.Plot(pcFill, Ints({5, 5}));
  EXPECT_EQ(CountColor(canvas, kRed), 200 * 150);
  turtle.Plot(pcPen, Ints({Flagged(kBlack), psSolid, 1}));
  turtle.Plot(pcPoint, Ints({3, 4}));
  EXPECT_EQ(At(canvas, 3, 4), kBlack);
  turtle.Plot(pcEllipse, Ints({50, 50, 90, 90}));  // red inside, black ring
  turtle.Plot(pcBrush, Ints({Flagged(0x00FF00), bsSolid}));
  turtle.Plot(pcFillTo, Ints({70, 70, Flagged(kBlack)}));
  EXPECT_EQ(At(canvas, 70, 70), 0x00FF00);
  EXPECT_EQ(At(canvas, 10, 10), kRed);
  // Off the canvas nothing happens.
  turtle.Plot(pcFill, Ints({-1, 5}));
  turtle.Plot(pcPoint, Ints({500, 5}));
}

TEST_F(PlotterTest, TextIsWrittenInTheTextColorOnAnOpaqueCell) {
  TPlotArgs font;
  font.Text = "Arial";
  font.Int[0] = 20;
  font.Int[1] = fsBold | 16;  // the high bit is ignored
  turtle.Plot(pcFont, font);
  EXPECT_EQ(canvas.Font().family(), "Liberation Sans");
  EXPECT_TRUE(canvas.Font().bold());
  EXPECT_EQ(canvas.Font().pixelSize(), 27);
  turtle.Plot(pcTextColor, Ints({Flagged(kRed)}));
  turtle.Plot(pcBrush, Ints({Flagged(0xFF0000), bsSolid}));
  TPlotArgs text = Ints({10, 10});
  text.Text = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in Windows-1251
  turtle.Plot(pcTextOut, text);
  EXPECT_GT(CountColor(canvas, kRed, 10, 10, 120, 50), 30);
  EXPECT_GT(CountColor(canvas, 0xFF0000, 10, 10, 120, 50), 100);
  EXPECT_EQ(CountColor(canvas, kRed, 0, 0, 9, 149), 0);
  // Clearing the canvas for the next run keeps the text color only.
  turtle.ClearCanvas();
  EXPECT_EQ(canvas.TextColor() & 0xFFFFFF, kRed);
  EXPECT_EQ(canvas.BrushColor(), kWhite);
  EXPECT_EQ(canvas.Font().family(), "Liberation Sans");
  EXPECT_FALSE(canvas.Font().bold());
  EXPECT_EQ(CountColor(canvas, kWhite), 200 * 150);
}

TEST_F(PlotterTest, TurnedTextGoesUpwards) {
  turtle.Plot(pcBrush, Ints({Flagged(kWhite), bsClear}));
  turtle.Plot(pcTextAngle, Ints({90}));
  TPlotArgs text = Ints({50, 140});
  text.Text = "WWWWWW";
  turtle.Plot(pcTextOut, text);
  // Written upwards from (50, 140): the ink is above the start, not beside it.
  EXPECT_GT(CountColor(canvas, kBlack, 45, 60, 70, 140), 20);
  EXPECT_EQ(CountColor(canvas, kBlack, 80, 0, 199, 149), 0);
}

TEST_F(PlotterTest, DrawingCommandsHideAndShowTheSprite) {
  TRecordingHost host(canvas);
  turtle.Host = &host;
  Exec(turtle, pnShow);
  const QImage shown = canvas.Bitmap().copy();
  host.Repaints = 0;
  turtle.Plot(pcLine, Ints({0, 0, 5, 0}));
  // Hidden and shown again inside one busy step: a single repaint, and it
  // copies the whole canvas, not only the sprite's corner.
  EXPECT_EQ(host.Repaints, 1);
  EXPECT_EQ(host.Dirty.back().Left, 0);
  EXPECT_EQ(host.Dirty.back().Right, 199);
  EXPECT_EQ(host.Dirty.back().Bottom, 149);
  EXPECT_TRUE(canvas.DirtyRect.IsEmpty());
  EXPECT_EQ(At(canvas, 3, 0), kBlack);
  EXPECT_TRUE(turtle.Drawn);
  // MoveTo and the tool commands neither hide the sprite nor repaint.
  turtle.Plot(pcMoveTo, Ints({1, 1}));
  turtle.Plot(pcBrush, Ints({Flagged(kRed), bsSolid}));
  EXPECT_EQ(host.Repaints, 1);
  // LineTo is not busy: hiding and showing repaint on their own.
  turtle.Plot(pcLineTo, Ints({1, 5}));
  EXPECT_EQ(host.Repaints, 3);
}

TEST_F(PlotterTest, PictureOfEveryPlotterCommand) {
  TCanvas big(420, 300, 210, 150);
  TTurtle t(big);
  t.Plot(pcPen, Ints({Flagged(0x800000), psSolid, 2}));
  t.Plot(pcBrush, Ints({Flagged(0x00C0FF), bsSolid}));
  t.Plot(pcRectangle, Ints({10, 10, 110, 70}));
  t.Plot(pcBrush, Ints({Flagged(0x008000), bsDiagCross}));
  t.Plot(pcEllipse, Ints({130, 10, 230, 70}));
  t.Plot(pcPen, Ints({Flagged(0x0000C0), psDashDot, 1}));
  t.Plot(pcLine, Ints({250, 10, 400, 70}));
  t.Plot(pcPen, Ints({Flagged(0xC000C0), psSolid, 3}));
  TPlotArgs arc = Ints({250, 80, 400, 180});
  arc.Real[0] = 0;
  arc.Real[1] = 4.5;
  t.Plot(pcArc, arc);
  t.Plot(pcPen, Ints({Flagged(kBlack), psSolid, 1}));
  t.Plot(pcMoveTo, Ints({10, 180}));
  for (int i = 1; i <= 8; ++i) t.Plot(pcLineTo, Ints({10 + i * 25, i % 2 ? 100 : 180}));
  t.Plot(pcLineTo, Ints({10, 180}));
  t.Plot(pcBrush, Ints({Flagged(0xFF8080), bsSolid}));
  t.Plot(pcFill, Ints({35, 175}));
  t.Plot(pcBrush, Ints({Flagged(0x80FF80), bsHorizontal}));
  t.Plot(pcFill, Ints({85, 175}));
  TPlotArgs font;
  font.Text = "Times New Roman";
  font.Int[0] = 16;
  font.Int[1] = fsItalic | fsUnderline;
  t.Plot(pcFont, font);
  t.Plot(pcTextColor, Ints({Flagged(0x0000A0)}));
  t.Plot(pcBrush, Ints({Flagged(kWhite), bsClear}));
  TPlotArgs text = Ints({20, 200});
  text.Text = "\xD7\xE5\xF0\xE5\xEF\xE0\xF5\xE0";  // "Черепаха" in Windows-1251
  t.Plot(pcTextOut, text);
  t.Plot(pcTextAngle, Ints({30}));
  font.Text = "Courier New";
  font.Int[1] = fsBold;
  t.Plot(pcFont, font);
  text = Ints({200, 280});
  text.Text = "Drawer 30";
  t.Plot(pcTextOut, text);
  for (int i = 0; i < 50; ++i) t.Plot(pcPoint, Ints({350 + i, 250 + (i * i) % 40}));
  ASSERT_TRUE(big.Bitmap().save(QString::fromStdString(PicturePath("plotter.png"))));
  EXPECT_EQ(At(big, 60, 40), 0x00C0FF);
  EXPECT_EQ(At(big, 35, 175), 0xFF8080);
  EXPECT_EQ(At(big, 60, 175), kWhite);
  EXPECT_EQ(At(big, 5, 5), kWhite);
}

TEST_F(PlotterTest, ExtremeArgumentsAreClippedNotFatal) {
  const int lo = INT32_MIN, hi = INT32_MAX;
  for (int style : {psSolid, psDash}) {
    turtle.Plot(pcPen, Ints({Flagged(kBlack), style, hi}));
    turtle.Plot(pcRectangle, Ints({lo, lo, hi, hi}));
    turtle.Plot(pcPen, Ints({Flagged(kBlack), style, 1}));
    turtle.Plot(pcEllipse, Ints({lo, lo, hi, hi}));
    turtle.Plot(pcLine, Ints({lo, 5, hi, 7}));
    TPlotArgs arc = Ints({lo, lo, hi, hi});
    arc.Real[0] = 1e300;
    arc.Real[1] = -1e300;
    turtle.Plot(pcArc, arc);
    turtle.Plot(pcFillTo, Ints({lo, hi, 0}));
    TPlotArgs font;
    font.Int[0] = hi;
    turtle.Plot(pcFont, font);
    turtle.Plot(pcTextAngle, Ints({lo}));
    TPlotArgs text = Ints({hi, lo});
    text.Text = "x";
    turtle.Plot(pcTextOut, text);
  }
  Exec(turtle, pnPenDown);
  Exec(turtle, pnCircle, {lo});
  Exec(turtle, pnCircle, {hi});
  EXPECT_EQ(ErrorOf(turtle, pnForward, {hi}), "Ошибка исполнителя: Не могу идти дальше");
  EXPECT_TRUE(canvas.InField(RoundEven(turtle.X), RoundEven(turtle.Y)) || std::fabs(turtle.Y - 70) < 0.6);
}
