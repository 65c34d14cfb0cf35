#include "sprites.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdint>
#include <map>

#include "canvas.h"

namespace {

constexpr int kTurtleSize = 18;
// Pictures are painted this many times larger and then reduced by taking
// the most frequent color of each block: smooth outlines at any angle, yet
// only the picture's own colors, so no pale fringe shows on a colored
// canvas.
constexpr int kOversample = 8;

const QColor kTurtleSkin(128, 16, 16);
const QColor kTurtleSkinDark(80, 8, 8);
const QColor kShell(250, 208, 32);
const QColor kShellPattern(214, 128, 16);

// The turtle heading up, centred on (9, 9), turned by angle degrees clockwise.
QImage PaintTurtle(double angle) {
  const int big = kTurtleSize * kOversample;
  QImage canvas(big, big, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.scale(kOversample, kOversample);
  p.translate(9, 9);
  p.rotate(angle);
  p.setPen(Qt::NoPen);

  p.setBrush(kTurtleSkin);
  // Flippers: the front pair reaching forward, the back pair backward.
  for (int side : {-1, 1}) {
    for (int back : {0, 1}) {
      p.save();
      p.translate(side * 4.5, back ? 4.3 : -3.1);
      p.rotate(side * (back ? 45 : -50));
      p.drawEllipse(QPointF(0, back ? 0.7 : -0.7), 1.2, 2.0);
      p.restore();
    }
  }
  QPainterPath tail;
  tail.moveTo(-1.3, 4.6);
  tail.lineTo(1.3, 4.6);
  tail.lineTo(0, 8.4);
  tail.closeSubpath();
  p.drawPath(tail);
  p.drawRect(QRectF(-1.1, -6.0, 2.2, 2.0));
  p.drawEllipse(QPointF(0, -6.5), 2.2, 2.3);

  const QPointF centre(0, 0.8);
  p.setBrush(kTurtleSkinDark);
  p.drawEllipse(centre, 4.1, 4.9);
  p.setBrush(kShell);
  p.drawEllipse(centre, 3.4, 4.2);
  p.setBrush(kShellPattern);
  QPolygonF hex;
  for (int k = 0; k < 6; ++k) {
    const double a = k * 60 * M_PI / 180;
    hex << centre + QPointF(1.6 * std::cos(a), 2.0 * std::sin(a));
  }
  p.drawPolygon(hex);
  p.end();
  return canvas;
}

// Each kOversample-square block becomes the color most of its pixels have;
// a tie keeps the color met first.
QImage Reduce(const QImage& big, int factor) {
  QImage small(big.width() / factor, big.height() / factor, QImage::Format_RGB32);
  for (int y = 0; y < small.height(); ++y)
    for (int x = 0; x < small.width(); ++x) {
      std::map<uint32_t, int> count;
      uint32_t best = 0;
      int bestCount = 0;
      for (int dy = 0; dy < factor; ++dy) {
        const auto* line = reinterpret_cast<const uint32_t*>(big.constScanLine(y * factor + dy));
        for (int dx = 0; dx < factor; ++dx) {
          const uint32_t c = line[x * factor + dx];
          const int n = ++count[c];
          if (n > bestCount) {
            bestCount = n;
            best = c;
          }
        }
      }
      small.setPixel(x, y, best);
    }
  return small;
}

// The Drawer pictures as pixel art, one character per pixel.
constexpr const char* kDrawerDown[20] = {
    ".....................",
    ".....KKKKK...........",
    ".....KKKKK...........",
    ".....KKKKK...........",
    "...KKKKKKKKK.........",
    "....SSSSSSS..........",
    "....SKSSSKS..........",
    "....SSSSSSS..........",
    ".....SSRSS...........",
    "......SSS............",
    "....BBBBBBB..........",
    "...BBBBBBBBBB........",
    "...BB.BBB.BBBBB......",
    "...SS.BBB...BBBBB....",
    ".....DDDDD.....BSSS..",
    ".....DD.DD......SSS..",
    "..WWWWWWWWWWWWWWWW...",
    ".PPWYYYYYYYYYYYYYAAAG",
    "..WWWWWWWWWWWWWWWW...",
    "....KKK.KKK..........",
};

constexpr const char* kDrawerUp[20] = {
    ".................PPP.",
    ".....KKKKK.......PPP.",
    ".....KKKKK......WWWWW",
    ".....KKKKK......WYYYW",
    "...KKKKKKKKK....WYYYW",
    "....SSSSSSS.....WYYYW",
    "....SKSSSKS.....WYYYW",
    "....SSSSSSS.....WYYYW",
    ".....SSRSS......WYYYW",
    "......SSS......SSSSS.",
    "....BBBBBBB...BSSSSS.",
    "...BBBBBBBBBBBB.WYYYW",
    "...BB.BBB.BBBB..WYYYW",
    "...SS.BBB.......WYYYW",
    ".....DDDDD.......AAA.",
    ".....DD.DD.......AAA.",
    ".....DD.DD........G..",
    ".....DD.DD...........",
    "....KKK.KKK..........",
    ".....................",
};

QImage PixelArt(const char* const rows[20]) {
  const std::map<char, QRgb> colors = {
      {'.', qRgb(192, 192, 192)}, {'K', qRgb(0, 0, 0)},       {'S', qRgb(250, 196, 150)},
      {'R', qRgb(200, 40, 40)},   {'B', qRgb(32, 80, 200)},    {'D', qRgb(64, 48, 32)},
      {'Y', qRgb(255, 216, 0)},   {'W', qRgb(176, 128, 0)},    {'A', qRgb(236, 184, 120)},
      {'G', qRgb(48, 48, 48)},    {'P', qRgb(240, 112, 150)},
  };
  QImage img(21, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 21; ++x) img.setPixel(x, y, colors.at(rows[y][x]));
  return img;
}

}  // namespace

QImage TurnClockwise(const QImage& src) {
  const int w = src.width(), h = src.height();
  QImage out(h, w, QImage::Format_RGB32);
  for (int j = 0; j < w; ++j)
    for (int i = 0; i < h; ++i) out.setPixel(i, j, src.pixel(j, h - 1 - i));
  return out;
}

QImage TurnHalf(const QImage& src) {
  const int w = src.width(), h = src.height();
  QImage out(w, h, QImage::Format_RGB32);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out.setPixel(i, j, src.pixel(w - 1 - i, h - 1 - j));
  return out;
}

const std::array<QImage, 16>& TurtleSprites() {
  static const std::array<QImage, 16> sprites = [] {
    std::array<QImage, 16> s;
    // Only the first quarter is painted at its angle; the rest are exact
    // pixel turns, so the turtle looks the same in every quarter.
    for (int i = 0; i < 4; ++i) s[i] = Reduce(PaintTurtle(i * 22.5), kOversample);
    for (int i = 0; i < 4; ++i) {
      s[i + 4] = TurnClockwise(s[i]);
      s[i + 8] = TurnHalf(s[i]);
      s[i + 12] = TurnClockwise(s[i + 8]);
    }
    return s;
  }();
  return sprites;
}

const QImage& TurtleSprite(double heading) {
  const long long k = RoundEven(heading / 22.5) % 16;
  return TurtleSprites()[static_cast<size_t>(k < 0 ? k + 16 : k)];
}

const QImage& DrawerSprite(bool penDown) {
  static const QImage down = PixelArt(kDrawerDown);
  static const QImage up = PixelArt(kDrawerUp);
  return penDown ? down : up;
}
