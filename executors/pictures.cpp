#include "pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>

// Every picture is designed on the 40-pixel cell and scaled by f = cs / 40.
// Shapes that must stay crisp at 13 pixels (grid edge, brickwork, small
// flowers, the small letter P) are set pixel by pixel; round shapes are
// drawn antialiased.

namespace {

const QColor kSand(226, 206, 150);
const QColor kSandDark(203, 178, 118);
const QColor kSandLight(240, 226, 184);
const QColor kSoil(122, 76, 40);
const QColor kSoilRidge(152, 100, 58);
const QColor kSoilFurrow(88, 52, 24);
const QColor kGrass(82, 158, 60);
const QColor kGrassDark(56, 122, 40);
const QColor kGrassLight(120, 190, 86);
const QColor kPetal(240, 100, 170);
const QColor kPetalDark(200, 60, 130);
const QColor kFlowerHeart(255, 222, 70);
const QColor kSignBlue(30, 86, 196);
const QColor kSignEdge(16, 48, 120);
const QColor kBrick(176, 80, 42);
const QColor kMortar(214, 196, 170);
const QColor kBrickLight(226, 140, 96);
const QColor kBrickShadow(100, 40, 18);

QColor EdgeColor(int s) { return s == 0 ? QColor(0, 0, 0) : QColor(44, 36, 28); }

// A small deterministic generator, so the pictures are the same every run.
class TDice {
 public:
  explicit TDice(uint32_t seed) : state_(seed * 2654435761u + 1) {}
  int Next(int n) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<uint32_t>(n));
  }

 private:
  uint32_t state_;
};

QImage NewCell(int cs) {
  QImage img(cs, cs, QImage::Format_RGB32);
  img.fill(Qt::black);
  return img;
}

// The grid edge: left column and bottom row.
void DrawEdge(QImage& img, int s) {
  const int cs = img.width();
  const QRgb e = EdgeColor(s).rgb();
  for (int i = 0; i < cs; ++i) {
    img.setPixel(0, i, e);
    img.setPixel(i, cs - 1, e);
  }
}

// The cell's own area: everything but the edge.
QRect Inside(int cs) { return QRect(1, 0, cs - 1, cs - 1); }

void Speckle(QImage& img, const QColor& dark, const QColor& light, int count, uint32_t seed) {
  const int cs = img.width();
  TDice dice(seed);
  for (int i = 0; i < count; ++i) {
    const int x = 1 + dice.Next(cs - 1);
    const int y = dice.Next(cs - 1);
    img.setPixel(x, y, (i % 3 == 0 ? light : dark).rgb());
  }
}

QImage DrawEmpty(int s) {
  const int cs = kFieldScales[s].CellSize;
  QImage img = NewCell(cs);
  {
    QPainter p(&img);
    p.fillRect(Inside(cs), kSand);
  }
  Speckle(img, kSandDark, kSandLight, cs * cs / 22, 7);
  DrawEdge(img, s);
  return img;
}

QImage DrawTarget(int s) {
  const int cs = kFieldScales[s].CellSize;
  QImage img = NewCell(cs);
  QPainter p(&img);
  p.fillRect(Inside(cs), kSoil);
  // Ridges of dug earth across the bed, each with a furrow below it.
  const int rows = cs >= 24 ? 4 : 3;
  const int inner = cs - 1;
  for (int r = 0; r < rows; ++r) {
    const int top = (2 * r + 1) * inner / (2 * rows) - 1;
    const int h = std::max(1, cs / 20);
    p.fillRect(QRect(2, top, cs - 3, h), kSoilRidge);
    p.fillRect(QRect(2, top + h, cs - 3, 1), kSoilFurrow);
  }
  p.end();
  Speckle(img, kSoilFurrow, kSoilRidge, cs * cs / 40, 11);
  DrawEdge(img, s);
  return img;
}

void SmallFlower(QImage& img, int x, int y) {
  const QRgb petal = kPetal.rgb();
  img.setPixel(x, y - 1, petal);
  img.setPixel(x - 1, y, petal);
  img.setPixel(x + 1, y, petal);
  img.setPixel(x, y + 1, petal);
  img.setPixel(x, y, kFlowerHeart.rgb());
}

QImage DrawPainted(int s) {
  const int cs = kFieldScales[s].CellSize;
  const double f = cs / 40.0;
  QImage img = NewCell(cs);
  {
    QPainter p(&img);
    p.fillRect(Inside(cs), kGrass);
  }
  // Blades of grass: short dark and light strokes.
  TDice dice(23);
  for (int i = 0; i < cs * cs / 14; ++i) {
    const int x = 1 + dice.Next(cs - 1);
    const int y = 1 + dice.Next(cs - 3);
    const QRgb c = (i % 2 ? kGrassDark : kGrassLight).rgb();
    img.setPixel(x, y, c);
    if (cs >= 24) img.setPixel(x, y - 1, c);
  }
  struct Spot {
    double x, y;
  };
  if (cs >= 20) {
    static constexpr Spot kSpots[] = {{11, 10}, {28, 8}, {20, 21}, {9, 30}, {31, 29}};
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double r = 3.4 * f;
    for (const Spot& sp : kSpots) {
      const QPointF c(1 + sp.x * f, sp.y * f);
      p.setPen(Qt::NoPen);
      p.setBrush(kPetal);
      for (int k = 0; k < 5; ++k) {
        const double a = k * 2 * M_PI / 5 - M_PI / 2;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * r * 0.95, r * 0.75, r * 0.75);
      }
      p.setBrush(kPetalDark);
      p.drawEllipse(c, r * 0.55, r * 0.55);
      p.setBrush(kFlowerHeart);
      p.drawEllipse(c, r * 0.4, r * 0.4);
    }
  } else {
    static constexpr Spot kSpots[] = {{0.28, 0.28}, {0.72, 0.30}, {0.48, 0.68}, {0.80, 0.78}};
    const int n = cs >= 16 ? 4 : 3;
    for (int i = 0; i < n; ++i)
      SmallFlower(img, 1 + static_cast<int>(kSpots[i].x * (cs - 1)), static_cast<int>(kSpots[i].y * (cs - 1)));
  }
  DrawEdge(img, s);
  return img;
}

// The letter P of the base sign, 4 x 6 pixels, for the small scales.
void SmallLetterP(QImage& img, int left, int top) {
  static constexpr const char* kRows[] = {"###.", "#..#", "#..#", "###.", "#...", "#..."};
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 4; ++x)
      if (kRows[y][x] == '#') img.setPixel(left + x, top + y, qRgb(255, 255, 255));
}

QImage DrawBase(int s, const QImage& empty) {
  const int cs = kFieldScales[s].CellSize;
  const double f = cs / 40.0;
  QImage img = empty.copy();
  QPainter p(&img);
  // The sign: a blue square with a dark rim and a thin white frame inside.
  const int inset = std::max(1, static_cast<int>(std::lround(4 * f)));
  const QRect sign(1 + inset, inset, cs - 1 - 2 * inset, cs - 1 - 2 * inset);
  if (cs >= 20) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kSignEdge, std::max(1.0, 1.2 * f)));
    p.setBrush(kSignBlue);
    p.drawRoundedRect(QRectF(sign).adjusted(0.5, 0.5, -0.5, -0.5), 3 * f, 3 * f);
    p.setPen(QPen(Qt::white, std::max(1.0, 1.3 * f)));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(sign).adjusted(3 * f, 3 * f, -3 * f, -3 * f), 2 * f, 2 * f);
    // A bold P: stem and a round bowl with a hole.
    const QRectF box = QRectF(sign).adjusted(sign.width() * 0.30, sign.height() * 0.2,
                                             -sign.width() * 0.28, -sign.height() * 0.2);
    const double stem = box.width() * 0.34;
    const double bowlH = box.height() * 0.58;
    QPainterPath outer;
    outer.addRect(QRectF(box.left(), box.top(), stem, box.height()));
    QPainterPath bowl;
    bowl.moveTo(box.left(), box.top());
    bowl.lineTo(box.right() - bowlH / 2, box.top());
    bowl.arcTo(QRectF(box.right() - bowlH, box.top(), bowlH, bowlH), 90, -180);
    bowl.lineTo(box.left(), box.top() + bowlH);
    bowl.closeSubpath();
    const double t = stem * 0.9;
    QPainterPath hole;
    const double hh = bowlH - 2 * t;
    hole.moveTo(box.left() + stem, box.top() + t);
    hole.lineTo(box.right() - bowlH / 2, box.top() + t);
    hole.arcTo(QRectF(box.right() - bowlH / 2 - hh / 2, box.top() + t, hh, hh), 90, -180);
    hole.lineTo(box.left() + stem, box.top() + t + hh);
    hole.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(outer.united(bowl).subtracted(hole));
  } else {
    p.fillRect(sign, kSignBlue);
    p.setPen(kSignEdge);
    p.drawRect(sign.adjusted(0, 0, -1, -1));
    p.end();
    SmallLetterP(img, sign.left() + (sign.width() - 4 + 1) / 2, sign.top() + (sign.height() - 6) / 2);
  }
  return img;
}

// A wall is a brick block standing on the sand; towards each neighbouring
// wall it reaches the cell's border (over the grid edge) so that walls join
// into one brickwork.
QImage DrawWall(int s, int k, const QImage& empty) {
  const int cs = kFieldScales[s].CellSize;
  QImage img = empty.copy();
  const int m = std::max(1, static_cast<int>(std::lround(cs * 0.08)));
  const int bevel = cs >= 24 ? 2 : 1;
  const int left = 1 + m, right = cs - 1 - m;  // block columns [left, right)
  const int top = m, bottom = cs - 1 - m;      // block rows [top, bottom)

  const auto inBlock = [&](int x, int y) {
    // Outside the picture a joined side continues the wall.
    if (x < 0) return (k & wsLeft) && y >= top && y < bottom;
    if (x >= cs) return (k & wsRight) && y >= top && y < bottom;
    if (y < 0) return (k & wsAbove) && x >= left && x < right;
    if (y >= cs) return (k & wsBelow) && x >= left && x < right;
    const bool midX = x >= left && x < right;
    const bool midY = y >= top && y < bottom;
    if (midX && midY) return true;
    if (midY && x < left) return (k & wsLeft) != 0;
    if (midY && x >= right) return (k & wsRight) != 0;
    if (midX && y < top) return (k & wsAbove) != 0;
    if (midX && y >= bottom) return (k & wsBelow) != 0;
    return false;
  };

  // Courses of bricks repeat with the cell, so neighbouring walls continue
  // each other's pattern.
  const int courses = cs >= 30 ? 5 : cs >= 16 ? 4 : 3;
  const auto courseOf = [&](int y) { return y * courses / cs; };
  const auto courseTop = [&](int c) { return (c * cs + courses - 1) / courses; };

  for (int y = 0; y < cs; ++y) {
    for (int x = 0; x < cs; ++x) {
      if (!inBlock(x, y)) continue;
      int lit = 0, dark = 0;
      for (int d = 1; d <= bevel; ++d) {
        if (!lit && (!inBlock(x - d, y) || !inBlock(x, y - d))) lit = d;
        if (!dark && (!inBlock(x + d, y) || !inBlock(x, y + d))) dark = d;
      }
      QColor c;
      if (lit && (!dark || lit <= dark)) {
        c = kBrickLight;
      } else if (dark) {
        c = kBrickShadow;
      } else {
        const int course = courseOf(y);
        const int shift = course % 2 ? cs / 4 : 0;
        const int brickW = cs / 2;
        const bool joint = y == courseTop(course) || (x - shift + cs) % brickW == 0;
        if (joint) {
          c = kMortar;
        } else {
          const int brick = ((x - shift + cs) / brickW) * 7 + course * 3;
          const int tone = (brick * 37 % 5) * 6 - 12;
          c = QColor(std::clamp(kBrick.red() + tone, 0, 255), std::clamp(kBrick.green() + tone / 2, 0, 255),
                     std::clamp(kBrick.blue() + tone / 3, 0, 255));
        }
      }
      img.setPixel(x, y, c.rgb());
    }
  }
  return img;
}

// Grondo heading up: a blue cart on four wheels, a windscreen and headlights
// in front, a green load behind. Drawn turned by h * 45 degrees.
QImage DrawGrondoSprite(int s, int h) {
  const int cs = kFieldScales[s].CellSize;
  const double f = cs / 40.0;
  QImage img(cs, cs, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(1 + (cs - 1) / 2.0, (cs - 1) / 2.0);
  p.rotate(45.0 * h);
  p.scale(f, f);
  const double line = std::max(1.0, 1.0 / f);  // at least one screen pixel

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(34, 34, 40));
  for (int sx : {-1, 1})
    for (double cy : {-8.0, 8.5}) p.drawRoundedRect(QRectF(sx > 0 ? 7.5 : -12.5, cy - 4.2, 5, 8.4), 1.5, 1.5);

  p.setPen(QPen(QColor(18, 46, 120), line));
  p.setBrush(QColor(44, 96, 214));
  p.drawRoundedRect(QRectF(-9, -15, 18, 29), 3.5, 3.5);

  // Front: a pale bonnet, the dark windscreen behind it, two headlights;
  // these contrasting bands show the heading even at the smallest scale.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(168, 200, 255));
  p.drawRoundedRect(QRectF(-8, -14, 16, 5.5), 2, 2);
  p.setBrush(QColor(20, 32, 80));
  p.drawRoundedRect(QRectF(-7.5, -8, 15, 4), 1.2, 1.2);
  p.setBrush(QColor(255, 226, 60));
  p.drawEllipse(QPointF(-5.2, -12.6), 1.9, 1.9);
  p.drawEllipse(QPointF(5.2, -12.6), 1.9, 1.9);

  // The load: a green heap of seedlings.
  p.setPen(QPen(QColor(30, 110, 30), line));
  p.setBrush(QColor(60, 168, 52));
  p.drawRoundedRect(QRectF(-7, -2, 14, 13.5), 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(130, 214, 104));
  p.drawEllipse(QPointF(-3.2, 1.5), 2.4, 2.4);
  p.drawEllipse(QPointF(3.0, 3.5), 2.4, 2.4);
  p.drawEllipse(QPointF(-2.6, 7.3), 2.2, 2.2);
  p.drawEllipse(QPointF(3.4, 8.3), 1.8, 1.8);
  return img;
}

QImage OnMask(const QImage& sprite) {
  QImage img(sprite.size(), QImage::Format_RGB32);
  img.fill(TPictures::GrondoMaskColor());
  QPainter p(&img);
  p.drawImage(0, 0, sprite);
  return img;
}

}  // namespace

int ValidScale(int s) { return s >= 0 && s < kScaleCount ? s : 0; }

const TPictures::TSet& TPictures::Set(int scale) const {
  const int s = ValidScale(scale);
  std::call_once(drawn_[s], [this, s] {
    TSet& set = sets_[s];
    set.empty = DrawEmpty(s);
    set.target = DrawTarget(s);
    set.painted = DrawPainted(s);
    set.base = DrawBase(s, set.empty);
    for (int k = 0; k < 16; ++k) set.wall[k] = DrawWall(s, k, set.empty);
    for (int h = 0; h < 8; ++h) {
      set.sprite[h] = DrawGrondoSprite(s, h);
      set.grondo[h] = OnMask(set.sprite[h]);
    }
  });
  return sets_[s];
}

const TPictures& CellPictures() {
  static const TPictures pictures;
  return pictures;
}
