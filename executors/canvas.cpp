#include "canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

#include "encoding.h"
#include "errors.h"
#include "string_table.h"

const int Palette16[16] = {
    0x000000, 0x993300, 0x339933, 0x999900, 0x330099, 0x660099, 0x003366, 0xCCCCCC,
    0x999999, 0xFF6600, 0x33FF66, 0xFFFF33, 0x3333FF, 0x9900CC, 0x33FFFF, 0xFFFFFF,
};

int PaletteColor(int n) {
  // A negative number names no table entry; counting on cyclically is what a
  // pupil looping with a decreasing counter expects.
  int i = n % 16;
  if (i < 0) i += 16;
  return Palette16[i];
}

int MakeRGB(int r, int g, int b) {
  if (r < 0 || r > 255) throw EExecuteException(FormatStr(sRgbRed, {r}));
  if (g < 0 || g > 255) throw EExecuteException(FormatStr(sRgbGreen, {g}));
  if (b < 0 || b > 255) throw EExecuteException(FormatStr(sRgbBlue, {b}));
  return r + 256 * g + 65536 * b;
}

int PaletteRelative(int color) {
  int sum;
  if (__builtin_add_overflow(color, kPaletteRelative, &sum)) throw EIntOverflow();
  return sum;
}

QRgb ColorToRgb(int color) {
  const unsigned c = static_cast<unsigned>(color);
  return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

static int RgbToColor(QRgb rgb) { return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16); }

long long RoundEven(double v) {
  constexpr double kLimit = 9007199254740992.0;  // 2^53
  if (std::isnan(v)) return 0;
  if (v > kLimit) return static_cast<long long>(kLimit);
  if (v < -kLimit) return -static_cast<long long>(kLimit);
  return static_cast<long long>(std::nearbyint(v));
}

static int ClampInt(long long v) {
  return static_cast<int>(std::clamp<long long>(v, -(1 << 30), 1 << 30));
}

void TDirtyRect::Widen(int left, int top, int right, int bottom) {
  if (IsEmpty()) {
    Left = left;
    Top = top;
    Right = right;
    Bottom = bottom;
    return;
  }
  Left = std::min(Left, left);
  Top = std::min(Top, top);
  Right = std::max(Right, right);
  Bottom = std::max(Bottom, bottom);
}

TCanvas::TCanvas(int width, int height, int originX, int originY) {
  SetGeometry(width, height, originX, originY);
  ClearCanvas();
}

void TCanvas::Bind(QImage* bitmap) {
  bitmap_ = bitmap ? bitmap : &own_;
  // The pixel code below reads and writes 32-bit RGB rows.
  if (!bitmap_->isNull() && bitmap_->format() != QImage::Format_RGB32)
    *bitmap_ = bitmap_->convertToFormat(QImage::Format_RGB32);
}

void TCanvas::SetGeometry(int width, int height, int originX, int originY) {
  // A size from a damaged setting must not ask for gigabytes.
  width_ = std::clamp(width, 1, kMaxCanvasSide);
  height_ = std::clamp(height, 1, kMaxCanvasSide);
  originX_ = originX;
  originY_ = originY;
  if (bitmap_->width() != width_ || bitmap_->height() != height_ ||
      bitmap_->format() != QImage::Format_RGB32) {
    *bitmap_ = QImage(width_, height_, QImage::Format_RGB32);
    bitmap_->fill(Qt::white);
  }
}

bool TCanvas::InField(long long x, long long y) const {
  const long long px = originX_ + x;
  const long long py = originY_ - y;
  return 0 <= px && px < width_ && 0 <= py && py < height_;
}

int TCanvas::PixelX(double x) const { return ClampInt(originX_ + RoundEven(x)); }
int TCanvas::PixelY(double y) const { return ClampInt(originY_ - RoundEven(y)); }

void TCanvas::ClearCanvas() {
  brushColor_ = 0xFFFFFF;
  brushStyle_ = bsSolid;
  penColor_ = 0;
  penStyle_ = psSolid;
  penWidth_ = 1;
  fontName_ = "MS Sans Serif";
  fontSize_ = 10;
  fontStyle_ = 0;
  textAngle_ = 0;
  RebuildFont();
  bitmap_->fill(Qt::white);
}

void TCanvas::SetPen(int color, int style, int width) {
  penColor_ = color;
  penStyle_ = style;
  penWidth_ = width;
}

void TCanvas::SetPenColor(int color) { penColor_ = color; }

void TCanvas::SetBrush(int color, int style) {
  SetBrushColor(color);
  SetBrushStyle(style);
}

void TCanvas::SetBrushColor(int color) {
  brushColor_ = color;
  if (brushStyle_ == bsClear) brushStyle_ = bsSolid;
}

void TCanvas::SetBrushStyle(int style) { brushStyle_ = style; }

void TCanvas::SetFont(const std::string& name, int size, int style) {
  fontName_ = name;
  fontSize_ = size;
  fontStyle_ = style & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
  RebuildFont();
}

void TCanvas::SetTextColor(int color) { textColor_ = color; }

void TCanvas::SetTextAngle(int angle) {
  textAngle_ = angle;
  RebuildFont();
}

// The programs name the fonts of the platform they were written for; the
// Liberation fonts have the same metrics, so texts keep their width.
static QString FontFamily(const std::string& name) {
  const std::string lower = LowerCase(name);
  if (lower == "arial" || lower == "ms sans serif" || lower == "helvetica" || lower == "tahoma" ||
      lower == "verdana" || lower == "ms shell dlg" || lower.empty())
    return QStringLiteral("Liberation Sans");
  if (lower == "courier new" || lower == "courier" || lower == "fixedsys" || lower == "lucida console")
    return QStringLiteral("Liberation Mono");
  if (lower == "times new roman" || lower == "times" || lower == "ms serif")
    return QStringLiteral("Liberation Serif");
  return QString::fromStdString(Cp1251ToUtf8(name));
}

void TCanvas::RebuildFont() {
  QFont f(FontFamily(fontName_));
  // Sizes are points on a 96 dpi screen; a negative size is a pixel height.
  long long pixels = 13;
  if (fontSize_ > 0)
    pixels = (static_cast<long long>(fontSize_) * 96 + 36) / 72;
  else if (fontSize_ < 0)
    pixels = -static_cast<long long>(fontSize_);
  f.setPixelSize(static_cast<int>(std::clamp<long long>(pixels, 1, 1000)));
  f.setBold(fontStyle_ & fsBold);
  f.setItalic(fontStyle_ & fsItalic);
  f.setUnderline(fontStyle_ & fsUnderline);
  f.setStrikeOut(fontStyle_ & fsStrikeOut);
  // Hard edges, so that a text outline stops a flood fill like a line does.
  f.setStyleStrategy(QFont::NoAntialias);
  font_ = f;
}

QPen TCanvas::MakePen() const {
  if (penStyle_ == psClear) return QPen(Qt::NoPen);
  const int width = std::clamp(penWidth_, 1, 10000);
  QPen pen(QColor(ColorToRgb(penColor_)));
  pen.setWidth(width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  // Dash lengths of the classic screen pens, in pen widths.
  switch (penStyle_) {
    case psDash: pen.setDashPattern({18, 6}); break;
    case psDot: pen.setDashPattern({3, 3}); break;
    case psDashDot: pen.setDashPattern({9, 6, 3, 6}); break;
    case psDashDotDot: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
    default: break;
  }
  if (pen.style() == Qt::CustomDashLine) pen.setCapStyle(Qt::FlatCap);
  return pen;
}

QBrush TCanvas::MakeBrush() const {
  const QColor c(ColorToRgb(brushColor_));
  switch (brushStyle_) {
    case bsClear: return QBrush(Qt::NoBrush);
    case bsHorizontal: return QBrush(c, Qt::HorPattern);
    case bsVertical: return QBrush(c, Qt::VerPattern);
    case bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
    case bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
    case bsCross: return QBrush(c, Qt::CrossPattern);
    case bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
    default: return QBrush(c, Qt::SolidPattern);
  }
}

void TCanvas::Begin(QPainter& p, bool withPen, bool withBrush) const {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(withPen ? MakePen() : QPen(Qt::NoPen));
  p.setBrush(withBrush ? MakeBrush() : QBrush(Qt::NoBrush));
}

void TCanvas::MoveTo(int x, int y) { penPos_ = QPoint(x, y); }

void TCanvas::LineTo(int x, int y) {
  QPainter p(bitmap_);
  Begin(p, true, false);
  const QPoint to(x, y);
  if (to == penPos_)
    p.drawPoint(to);
  else
    p.drawLine(penPos_, to);
  penPos_ = to;
}

// The box of a rectangle or ellipse: the figure covers the pixels from the
// smaller corner up to one before the larger one, so that two figures whose
// boxes touch do not overlap.
static QRectF FigureBox(int x1, int y1, int x2, int y2) {
  const long long l = std::min(x1, x2), r = std::max(x1, x2);
  const long long t = std::min(y1, y2), b = std::max(y1, y2);
  return QRectF(static_cast<double>(l), static_cast<double>(t), static_cast<double>(std::max(0LL, r - l - 1)),
                static_cast<double>(std::max(0LL, b - t - 1)));
}

// An inside-frame pen keeps a figure within its box: the outline moves in by
// the part of the pen that would stick out (a wide pen reaches w / 2 pixels
// before the path and (w - 1) / 2 after it).
QRectF TCanvas::FrameBox(const QRectF& box) const {
  const int w = std::clamp(penWidth_, 1, 10000);
  if (penStyle_ != psInsideFrame || w <= 1) return box;
  const double before = w / 2, after = (w - 1) / 2;
  return QRectF(box.left() + before, box.top() + before, std::max(0.0, box.width() - before - after),
                std::max(0.0, box.height() - before - after));
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2) return;
  QPainter p(bitmap_);
  Begin(p, true, true);
  p.drawRect(FrameBox(FigureBox(x1, y1, x2, y2)));
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2) return;
  QPainter p(bitmap_);
  Begin(p, true, true);
  p.drawEllipse(FrameBox(FigureBox(x1, y1, x2, y2)));
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey) {
  if (x1 == x2 || y1 == y2) return;
  const QRectF box = FrameBox(FigureBox(x1, y1, x2, y2));
  const double a = std::max(box.width() / 2, 0.5), b = std::max(box.height() / 2, 0.5);
  const QPointF c = box.center();
  // The rays are given by points; the arc functions want the ellipse's own
  // parameter angle, which differs from the ray's angle unless it is a circle.
  auto param = [&](int x, int y) {
    const double dx = x - c.x(), dy = c.y() - y;
    if (dx == 0 && dy == 0) return 0.0;
    return std::atan2(dy / b, dx / a) * 180 / M_PI;
  };
  const double start = param(sx, sy);
  double span = std::fmod(param(ex, ey) - start, 360.0);
  if (span <= 1e-9) span += 360;
  QPainterPath path;
  path.arcMoveTo(box, start);
  path.arcTo(box, start, span);
  QPainter p(bitmap_);
  Begin(p, true, false);
  p.drawPath(path);
}

void TCanvas::ArcByAngles(int x1, int y1, int x2, int y2, double a1, double a2) {
  const double cx = (static_cast<double>(x1) + x2) / 2, cy = (static_cast<double>(y1) + y2) / 2;
  auto coord = [](double v) { return ClampInt(RoundEven(v)); };
  Arc(x1, y1, x2, y2, coord(cx + 100 * std::cos(a1)), coord(cy - 100 * std::sin(a1)),
      coord(cx + 100 * std::cos(a2)), coord(cy - 100 * std::sin(a2)));
}

void TCanvas::Circle(int cx, int cy, int r) {
  brushStyle_ = bsClear;
  if (r == 0) return;
  // Beyond 2^20 pixels the circle misses any canvas whose centre it has.
  const double radius = static_cast<double>(std::min<long long>(std::llabs(static_cast<long long>(r)), 1 << 20));
  QPainter p(bitmap_);
  Begin(p, true, false);
  // Inclusive on both sides, so the circle is symmetric about its centre.
  p.drawEllipse(FrameBox(QRectF(cx - radius, cy - radius, 2 * radius, 2 * radius)));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  const QString s = QString::fromStdString(Cp1251ToUtf8(text));
  QPainter p(bitmap_);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setFont(font_);
  const QFontMetrics fm = p.fontMetrics();
  p.translate(x, y);
  if (textAngle_ % 360 != 0) p.rotate(-static_cast<double>(textAngle_ % 360));
  // With a solid brush the text cell is painted first, as the text output of
  // the classic canvas does; with any other brush the text stands alone.
  if (brushStyle_ == bsSolid)
    p.fillRect(QRect(0, 0, fm.horizontalAdvance(s), fm.height()), QColor(ColorToRgb(brushColor_)));
  p.setPen(QColor(ColorToRgb(textColor_)));
  p.drawText(QPoint(0, fm.ascent()), s);
}

void TCanvas::Point(int x, int y) {
  if (x < 0 || y < 0 || x >= bitmap_->width() || y >= bitmap_->height()) return;
  bitmap_->setPixel(x, y, ColorToRgb(penColor_));
}

int TCanvas::PixelColor(int x, int y) const {
  if (x < 0 || y < 0 || x >= bitmap_->width() || y >= bitmap_->height()) return -1;
  return RgbToColor(bitmap_->pixel(x, y));
}

void TCanvas::Fill(int x, int y) {
  const int c = PixelColor(x, y);
  if (c < 0) return;
  FloodSpans(x, y, ColorToRgb(c), false);
}

void TCanvas::FillTo(int x, int y, int border) {
  const int c = PixelColor(x, y);
  const QRgb b = ColorToRgb(border);
  if (c < 0 || ColorToRgb(c) == b) return;
  FloodSpans(x, y, b, true);
}

// Scan-line flood fill over the image's own rows: the spans are found first
// (a visited mask keeps a fill in the area's own color from running
// forever) and then painted with the brush.
void TCanvas::FloodSpans(int x, int y, uint32_t match, bool border) {
  if (brushStyle_ == bsClear) return;
  const int w = bitmap_->width(), h = bitmap_->height();
  const uint32_t key = match & 0xFFFFFF;
  std::vector<uint8_t> seen(static_cast<size_t>(w) * h, 0);
  auto row = [&](int yy) { return reinterpret_cast<const uint32_t*>(bitmap_->constScanLine(yy)); };
  auto inside = [&](const uint32_t* line, int xx) {
    const bool same = (line[xx] & 0xFFFFFF) == key;
    return border ? !same : same;
  };
  struct Span {
    int y, l, r;
  };
  std::vector<Span> spans;
  std::vector<QPoint> stack{QPoint(x, y)};
  while (!stack.empty()) {
    const QPoint s = stack.back();
    stack.pop_back();
    const int sy = s.y();
    const uint32_t* line = row(sy);
    uint8_t* mark = &seen[static_cast<size_t>(sy) * w];
    if (mark[s.x()] || !inside(line, s.x())) continue;
    int l = s.x(), r = s.x();
    while (l > 0 && !mark[l - 1] && inside(line, l - 1)) --l;
    while (r + 1 < w && !mark[r + 1] && inside(line, r + 1)) ++r;
    std::fill(mark + l, mark + r + 1, 1);
    spans.push_back({sy, l, r});
    for (int ny : {sy - 1, sy + 1}) {
      if (ny < 0 || ny >= h) continue;
      const uint32_t* nline = row(ny);
      const uint8_t* nmark = &seen[static_cast<size_t>(ny) * w];
      bool inRun = false;
      for (int xx = l; xx <= r; ++xx) {
        const bool open = !nmark[xx] && inside(nline, xx);
        if (open && !inRun) stack.emplace_back(xx, ny);
        inRun = open;
      }
    }
  }
  if (brushStyle_ == bsSolid || brushStyle_ < 0 || brushStyle_ > bsDiagCross) {
    const uint32_t color = ColorToRgb(brushColor_);
    for (const Span& sp : spans) {
      auto* line = reinterpret_cast<uint32_t*>(bitmap_->scanLine(sp.y));
      std::fill(line + sp.l, line + sp.r + 1, color);
    }
    return;
  }
  QPainter p(bitmap_);
  const QBrush brush = MakeBrush();
  for (const Span& sp : spans) p.fillRect(QRect(sp.l, sp.y, sp.r - sp.l + 1, 1), brush);
}

QImage TCanvas::SaveBlock(int left, int top, int w, int h) const {
  QImage block(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
  block.fill(Qt::white);
  const int x0 = std::max(0, -left), y0 = std::max(0, -top);
  const int x1 = std::min(w, bitmap_->width() - left), y1 = std::min(h, bitmap_->height() - top);
  for (int y = y0; y < y1; ++y) {
    const auto* s = reinterpret_cast<const uint32_t*>(bitmap_->constScanLine(top + y));
    auto* d = reinterpret_cast<uint32_t*>(block.scanLine(y));
    for (int x = x0; x < x1; ++x) d[x] = s[left + x];
  }
  return block;
}

void TCanvas::RestoreBlock(const QImage& block, int left, int top) {
  const int x0 = std::max(0, -left), y0 = std::max(0, -top);
  const int x1 = std::min(block.width(), bitmap_->width() - left);
  const int y1 = std::min(block.height(), bitmap_->height() - top);
  for (int y = y0; y < y1; ++y) {
    const auto* s = reinterpret_cast<const uint32_t*>(block.constScanLine(y));
    auto* d = reinterpret_cast<uint32_t*>(bitmap_->scanLine(top + y));
    for (int x = x0; x < x1; ++x) d[left + x] = s[x];
  }
}

void TCanvas::DrawTransparent(const QImage& picture, int left, int top) {
  if (picture.isNull()) return;
  const QImage src = picture.convertToFormat(QImage::Format_RGB32);
  const uint32_t key = src.pixel(0, src.height() - 1) & 0xFFFFFF;
  const int x0 = std::max(0, -left), y0 = std::max(0, -top);
  const int x1 = std::min(src.width(), bitmap_->width() - left);
  const int y1 = std::min(src.height(), bitmap_->height() - top);
  for (int y = y0; y < y1; ++y) {
    const auto* s = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
    auto* d = reinterpret_cast<uint32_t*>(bitmap_->scanLine(top + y));
    for (int x = x0; x < x1; ++x)
      if ((s[x] & 0xFFFFFF) != key) d[left + x] = s[x];
  }
}
