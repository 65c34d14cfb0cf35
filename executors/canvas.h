// The drawing surface of the pen executors (Turtle and Drawer).
//
// A TCanvas is the field bitmap while a pen executor is chosen, together with
// the drawing tools that stay on it between commands and between runs: pen
// (color, style, width), brush (color, style), font (name, size, style,
// color, angle) and the current pen position of line drawing. All its
// operations run on the main thread; the executors reach it through their
// host's synchronous call.
//
// Colors are the program's integers 0x00BBGGRR. The plotter commands add
// 0x02000000 (palette-relative); that byte is ignored when a color is drawn.
// Pixel coordinates: column from the left edge, row from the top edge.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>

#include <cstdint>
#include <string>

// The largest canvas side in pixels.
inline constexpr int kMaxCanvasSide = 10000;

// Flag byte that the plotter commands add to their colors.
inline constexpr int kPaletteRelative = 0x02000000;

// The sixteen numbered colors of цвет and закрась (0x00BBGGRR).
extern const int Palette16[16];

// Entry n of Palette16, counted cyclically: 16 is 0 again and -1 is 15.
int PaletteColor(int n);

// r + 256 g + 65536 b; a component outside 0..255 raises EExecuteException
// with the message for the first bad one (red, then green, then blue).
int MakeRGB(int r, int g, int b);

// color + kPaletteRelative; EIntOverflow when the sum leaves the 32-bit range.
int PaletteRelative(int color);

// The screen color of a program color (the flag byte ignored).
QRgb ColorToRgb(int color);

// Nearest integer, ties to even, clamped to +-2^53 (never undefined for any
// double; NaN gives 0).
long long RoundEven(double v);

// The part of the bitmap changed by the command in progress, in pixels,
// corners inclusive. Empty when Left equals Right.
struct TDirtyRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  bool IsEmpty() const { return Left == Right; }
  void Clear() { Left = Top = Right = Bottom = 0; }
  // The union with (left, top, right, bottom), corners ordered by the caller;
  // an empty rectangle is replaced.
  void Widen(int left, int top, int right, int bottom);
};

// Pen styles as the program numbers them.
enum TPenStyleNo { psSolid = 0, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Brush styles as the program numbers them.
enum TBrushStyleNo { bsSolid = 0, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
// Font style bits as the program adds them.
enum TFontStyleBit { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TCanvas {
 public:
  // A white canvas of width x height pixels whose executor origin lies at
  // pixel (originX, originY); the tools are in their cleared state.
  TCanvas(int width = 500, int height = 400, int originX = 250, int originY = 200);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // Draw on an image that someone else owns (the field bitmap); nullptr goes
  // back to the canvas's own image. The image is not resized, only made
  // 32-bit RGB when it is not.
  void Bind(QImage* bitmap);
  QImage& Bitmap() { return *bitmap_; }
  const QImage& Bitmap() const { return *bitmap_; }

  // Sets the size (each side within 1..kMaxCanvasSide) and origin from the
  // settings; resizes the bitmap and fills it white when it has another
  // size, else leaves the picture alone.
  void SetGeometry(int width, int height, int originX, int originY);
  int CanvasWidth() const { return width_; }
  int CanvasHeight() const { return height_; }
  int OriginX() const { return originX_; }
  int OriginY() const { return originY_; }

  // Executor point (x, y), given as rounded integers, lies on the canvas.
  bool InField(long long x, long long y) const;
  // Pixel column and row of executor coordinates (rounded, ties to even).
  int PixelX(double x) const;
  int PixelY(double y) const;

  TDirtyRect DirtyRect;

  // Run start and clrscr: white solid brush, black solid pen of width 1,
  // the default font without style and angle, the whole bitmap white. The
  // text color stays.
  void ClearCanvas();

  // Tools. Colors are program colors (see above).
  void SetPen(int color, int style, int width);
  void SetPenColor(int color);
  int PenColor() const { return penColor_; }
  int PenStyle() const { return penStyle_; }
  int PenWidth() const { return penWidth_; }
  // Sets color then style, as the plotter's Brush does.
  void SetBrush(int color, int style);
  // A clear brush becomes solid when it gets a color.
  void SetBrushColor(int color);
  void SetBrushStyle(int style);
  int BrushColor() const { return brushColor_; }
  int BrushStyle() const { return brushStyle_; }
  // name is Windows-1251; size in points (negative: pixels); style bits as
  // TFontStyleBit, higher bits ignored. The text angle stays.
  void SetFont(const std::string& name, int size, int style);
  void SetTextColor(int color);
  int TextColor() const { return textColor_; }
  // Text is written turned counter-clockwise by angle degrees.
  void SetTextAngle(int angle);
  const QFont& Font() const { return font_; }
  QPoint PenPos() const { return penPos_; }

  // Drawing in pixel coordinates with the current tools.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Rectangle and ellipse of the box whose right and bottom edges lie just
  // outside the figure; corners in any order.
  void Rectangle(int x1, int y1, int x2, int y2);
  void Ellipse(int x1, int y1, int x2, int y2);
  // Arc of the ellipse in the box, counter-clockwise from the ray through
  // (sx, sy) to the ray through (ex, ey); the whole ellipse when the rays
  // coincide.
  void Arc(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey);
  // The plotter's Arc: start and end rays at angles a1, a2 (radians,
  // counter-clockwise from the right).
  void ArcByAngles(int x1, int y1, int x2, int y2, double a1, double a2);
  // A circle of radius r around pixel (cx, cy) with the pen, not filled,
  // leaving the brush clear.
  void Circle(int cx, int cy, int r);
  // text is Windows-1251; (x, y) is the top-left corner of the text.
  void TextOut(int x, int y, const std::string& text);
  // Fills the 4-connected area of the color found at (x, y) with the brush.
  void Fill(int x, int y);
  // Fills the 4-connected area around (x, y) bounded by pixels of the border
  // color with the brush.
  void FillTo(int x, int y, int border);
  void Point(int x, int y);

  // The pixel's color as 0x00BBGGRR; -1 outside the bitmap.
  int PixelColor(int x, int y) const;

  // Sprite support: the block of w x h pixels at (left, top) (outside parts
  // read as white), putting it back (only the part on the bitmap), and a
  // picture drawn leaving out the color of its bottom-left pixel.
  QImage SaveBlock(int left, int top, int w, int h) const;
  void RestoreBlock(const QImage& block, int left, int top);
  void DrawTransparent(const QImage& picture, int left, int top);

 private:
  void Begin(QPainter& p, bool withPen, bool withBrush) const;
  QPen MakePen() const;
  QBrush MakeBrush() const;
  QRectF FrameBox(const QRectF& box) const;
  void FloodSpans(int x, int y, uint32_t match, bool border);
  void RebuildFont();

  QImage own_;
  QImage* bitmap_ = &own_;
  int width_ = 0;
  int height_ = 0;
  int originX_ = 0;
  int originY_ = 0;

  int penColor_ = 0;
  int penStyle_ = psSolid;
  int penWidth_ = 1;
  int brushColor_ = 0xFFFFFF;
  int brushStyle_ = bsSolid;
  std::string fontName_;
  int fontSize_ = 10;
  int fontStyle_ = 0;
  int textColor_ = 0;
  int textAngle_ = 0;
  QFont font_;
  QPoint penPos_;
};
