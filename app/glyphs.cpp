#include "glyphs.h"

#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSvgRenderer>
#include <cmath>

// Every glyph is drawn on a 20 × 20 grid and scaled to the size asked for,
// so a 2× display gets a picture drawn at 40 × 40, not an enlarged one.

namespace {

using TPaint = void (*)(QPainter&);

const QColor kInk(40, 40, 48);
const QColor kPaper(255, 255, 255);
const QColor kBlue(38, 98, 196);
const QColor kNavy(0, 0, 128);
const QColor kGreen(40, 150, 60);
const QColor kRed(205, 45, 40);
const QColor kYellow(250, 204, 60);
const QColor kBrown(150, 100, 55);
const QColor kSoil(120, 80, 45);
const QColor kGrey(150, 150, 158);
const QColor kLight(225, 228, 235);

void Pen(QPainter& p, const QColor& c, qreal w = 1.2) {
  QPen pen(c, w);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  p.setPen(pen);
}
void Fill(QPainter& p, const QColor& c) { p.setBrush(c); }
void NoFill(QPainter& p) { p.setBrush(Qt::NoBrush); }

// A sheet of paper with a folded corner, its top left at (x, y).
void Page(QPainter& p, qreal x, qreal y, qreal w = 11, qreal h = 15) {
  Pen(p, kInk, 1);
  Fill(p, kPaper);
  const QPointF pts[] = {{x, y}, {x + w - 4, y}, {x + w, y + 4}, {x + w, y + h}, {x, y + h}};
  p.drawPolygon(pts, 5);
  p.drawPolyline(QPolygonF({{x + w - 4, y}, {x + w - 4, y + 4}, {x + w, y + 4}}));
}

void TextLines(QPainter& p, qreal x, qreal y, int n, qreal w) {
  Pen(p, kGrey, 1);
  for (int i = 0; i < n; ++i) p.drawLine(QPointF(x, y + i * 2.5), QPointF(x + w - (i % 2) * 2, y + i * 2.5));
}

void Arrowhead(QPainter& p, QPointF tip, qreal angleDeg, const QColor& c, qreal size = 4) {
  const qreal a = qDegreesToRadians(angleDeg);
  const QPointF back(-std::cos(a) * size, -std::sin(a) * size);
  const QPointF side(-std::sin(a) * size * 0.6, std::cos(a) * size * 0.6);
  p.setPen(Qt::NoPen);
  Fill(p, c);
  const QPointF pts[] = {tip, tip + back + side, tip + back - side};
  p.drawPolygon(pts, 3);
}

void Question(QPainter& p, QPointF at, qreal s, const QColor& c) {
  QPainterPath path;
  path.moveTo(at + QPointF(-3, -2.5) * s);
  path.cubicTo(at + QPointF(-3, -6.5) * s, at + QPointF(3.5, -6.5) * s, at + QPointF(3, -2.5) * s);
  path.cubicTo(at + QPointF(2.7, -0.5) * s, at + QPointF(0, 0) * s, at + QPointF(0, 2) * s);
  Pen(p, c, 1.8 * s);
  NoFill(p);
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  Fill(p, c);
  p.drawEllipse(at + QPointF(0, 5) * s, 1.1 * s, 1.1 * s);
}

void Magnifier(QPainter& p, QPointF c, qreal r) {
  Pen(p, kInk, 1.3);
  Fill(p, QColor(200, 230, 250));
  p.drawEllipse(c, r, r);
  Pen(p, kBrown, 2.6);
  p.drawLine(c + QPointF(r * 0.75, r * 0.75), c + QPointF(r * 1.9, r * 1.9));
}

// A small maze: a frame with a few inner walls.
void Maze(QPainter& p, qreal x, qreal y, qreal s) {
  Pen(p, kInk, 0.8);
  Fill(p, QColor(235, 225, 190));
  p.drawRect(QRectF(x, y, s, s));
  Pen(p, kBrown, 1.6);
  const qreal c = s / 4;
  p.drawLine(QPointF(x + c, y + c), QPointF(x + 3 * c, y + c));
  p.drawLine(QPointF(x + c, y + c), QPointF(x + c, y + 3 * c));
  p.drawLine(QPointF(x + 2 * c, y + 2 * c), QPointF(x + 3 * c, y + 2 * c));
  p.drawLine(QPointF(x + 3 * c, y + 2 * c), QPointF(x + 3 * c, y + 3.4 * c));
}

void Flower(QPainter& p, QPointF c, qreal r, const QColor& petals = QColor(230, 70, 140)) {
  p.setPen(Qt::NoPen);
  Fill(p, petals);
  for (int i = 0; i < 5; ++i) {
    const qreal a = qDegreesToRadians(90.0 + i * 72.0);
    p.drawEllipse(c + QPointF(std::cos(a), -std::sin(a)) * r * 0.9, r * 0.6, r * 0.6);
  }
  Fill(p, kYellow);
  p.drawEllipse(c, r * 0.5, r * 0.5);
}

void Robot(QPainter& p, qreal x, qreal y, qreal s) {
  auto at = [&](qreal dx, qreal dy) { return QPointF(x + dx * s, y + dy * s); };
  Pen(p, kInk, 1);
  p.drawLine(at(8, 3), at(8, 0.8));
  Fill(p, kRed);
  p.drawEllipse(at(8, 0.8), 1 * s, 1 * s);
  Fill(p, QColor(120, 170, 230));
  p.drawRoundedRect(QRectF(at(3, 3), at(13, 9)), 1.5 * s, 1.5 * s);
  Fill(p, kPaper);
  p.drawEllipse(at(6, 6), 1.4 * s, 1.4 * s);
  p.drawEllipse(at(10, 6), 1.4 * s, 1.4 * s);
  Fill(p, kBlue);
  p.drawRect(QRectF(at(4, 10), at(12, 16)));
  Fill(p, kInk);
  p.drawRect(QRectF(at(4.5, 16), at(7, 18)));
  p.drawRect(QRectF(at(9, 16), at(11.5, 18)));
}

// A cell grid for the maze editor's line buttons.
void Grid(QPainter& p) {
  Pen(p, kGrey, 1);
  Fill(p, kLight);
  p.drawRect(QRectF(5, 5, 10, 10));
  p.drawLine(QPointF(10, 5), QPointF(10, 15));
  p.drawLine(QPointF(5, 10), QPointF(15, 10));
}

void Sign(QPainter& p, QPointF c, bool plus) {
  Pen(p, plus ? kGreen : kRed, 2.2);
  p.drawLine(c - QPointF(2.6, 0), c + QPointF(2.6, 0));
  if (plus) p.drawLine(c - QPointF(0, 2.6), c + QPointF(0, 2.6));
}

// Side 0 left, 1 right, 2 top, 3 bottom: the new (or removed) line.
void LineButton(QPainter& p, int side, bool add) {
  Grid(p);
  const QRectF strips[] = {{1, 5, 3, 10}, {16, 5, 3, 10}, {5, 1, 10, 3}, {5, 16, 10, 3}};
  p.setPen(Qt::NoPen);
  Fill(p, add ? QColor(140, 210, 150) : QColor(240, 150, 140));
  p.drawRect(strips[side]);
  const QPointF signs[] = {{2.5, 10}, {17.5, 10}, {10, 2.5}, {10, 17.5}};
  Sign(p, signs[side], add);
}

void Soil(QPainter& p) {
  Pen(p, kInk, 0.8);
  Fill(p, kSoil);
  p.drawRoundedRect(QRectF(2, 9, 16, 9), 2, 2);
  Pen(p, QColor(90, 55, 30), 1);
  for (qreal y : {12.0, 15.0}) p.drawLine(QPointF(4, y), QPointF(16, y));
}

void PaintNew(QPainter& p) {
  Page(p, 4, 3, 12, 15);
  Pen(p, QColor(200, 120, 0), 0.6);
  Fill(p, QColor(255, 190, 30));
  QPainterPath star;
  const QPointF c(5, 5);
  for (int i = 0; i < 8; ++i) {
    const qreal r = i % 2 ? 1.8 : 4.8;
    const qreal a = qDegreesToRadians(i * 45.0);
    const QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * r;
    i ? star.lineTo(pt) : star.moveTo(pt);
  }
  p.drawPath(star);
}

void PaintOpen(QPainter& p) {
  Pen(p, QColor(150, 110, 20), 1);
  Fill(p, QColor(235, 180, 50));
  p.drawPolygon(QPolygonF({{2, 5}, {7, 5}, {9, 7}, {16, 7}, {16, 16}, {2, 16}}));
  Fill(p, kYellow);
  p.drawPolygon(QPolygonF({{2, 16}, {5, 10}, {19, 10}, {16, 16}}));
}

void PaintSave(QPainter& p) {
  Pen(p, QColor(20, 50, 110), 1);
  Fill(p, kBlue);
  p.drawPolygon(QPolygonF({{3, 3}, {15, 3}, {17, 5}, {17, 17}, {3, 17}}));
  Fill(p, kPaper);
  p.drawRect(QRectF(6, 3, 8, 5.5));
  Fill(p, kLight);
  p.drawRect(QRectF(5.5, 11, 9, 6));
  Fill(p, kBlue);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(11, 4, 2, 3.5));
}

void PaintPrint(QPainter& p) {
  Page(p, 6, 2, 8, 7);
  Pen(p, kInk, 1);
  Fill(p, kGrey);
  p.drawRoundedRect(QRectF(2, 8, 16, 7), 1.5, 1.5);
  Fill(p, kPaper);
  p.drawRect(QRectF(5.5, 13, 9, 5));
  TextLines(p, 7, 15, 2, 6);
  p.setPen(Qt::NoPen);
  Fill(p, kGreen);
  p.drawEllipse(QPointF(15.5, 10.5), 0.9, 0.9);
}

void PaintCut(QPainter& p) {
  Pen(p, kInk, 1.4);
  p.drawLine(QPointF(6.5, 12), QPointF(13, 2));
  p.drawLine(QPointF(13.5, 12), QPointF(7, 2));
  Pen(p, kRed, 1.6);
  NoFill(p);
  p.drawEllipse(QPointF(5.5, 15), 2.6, 2.6);
  p.drawEllipse(QPointF(14.5, 15), 2.6, 2.6);
}

void PaintCopy(QPainter& p) {
  Page(p, 2, 2, 10, 12);
  TextLines(p, 4, 7, 3, 5);
  Page(p, 8, 6, 10, 12);
  TextLines(p, 10, 11, 3, 5);
}

void PaintPaste(QPainter& p) {
  Pen(p, QColor(100, 65, 30), 1);
  Fill(p, kBrown);
  p.drawRoundedRect(QRectF(2, 3, 12, 15), 1.5, 1.5);
  Fill(p, kGrey);
  p.drawRoundedRect(QRectF(5, 1.5, 6, 3), 1, 1);
  Page(p, 8, 7, 10, 12);
  TextLines(p, 10, 12, 3, 5);
}

void Curl(QPainter& p, bool mirror) {
  p.save();
  if (mirror) {
    p.translate(20, 0);
    p.scale(-1, 1);
  }
  QPainterPath path;
  path.moveTo(16, 15);
  path.cubicTo(17, 8, 12, 5.5, 6, 7);
  Pen(p, kBlue, 2.2);
  NoFill(p);
  p.drawPath(path);
  Arrowhead(p, QPointF(2.5, 8), 165, kBlue, 5.5);
  p.restore();
}
void PaintUndo(QPainter& p) { Curl(p, false); }
void PaintRedo(QPainter& p) { Curl(p, true); }

void PaintTurtle(QPainter& p) {
  Pen(p, QColor(30, 90, 40), 1);
  Fill(p, QColor(120, 190, 90));
  for (const QPointF& leg : {QPointF(5, 6), QPointF(15, 6), QPointF(5, 15), QPointF(15, 15)})
    p.drawEllipse(leg, 2, 1.6);
  p.drawEllipse(QPointF(10, 2.8), 2, 2.2);
  Fill(p, kGreen);
  p.drawEllipse(QPointF(10, 10.5), 5.5, 6.5);
  Pen(p, QColor(20, 90, 40), 0.9);
  NoFill(p);
  p.drawPolygon(QPolygonF({{10, 7}, {13, 9}, {13, 12.5}, {10, 14.5}, {7, 12.5}, {7, 9}}));
  p.drawLine(QPointF(10, 4.2), QPointF(10, 7));
  p.drawLine(QPointF(10, 14.5), QPointF(10, 17));
}

void PaintDrawer(QPainter& p) {
  Pen(p, kBlue, 1.3);
  NoFill(p);
  p.drawPolyline(QPolygonF({{2, 17}, {6, 11}, {9, 15}, {11, 12}}));
  p.save();
  p.translate(11, 12);
  p.rotate(-45);
  Pen(p, kInk, 0.9);
  Fill(p, kYellow);
  p.drawRect(QRectF(3, -2, 9, 4));
  Fill(p, QColor(240, 200, 160));
  p.drawPolygon(QPolygonF({{3, -2}, {0, 0}, {3, 2}}));
  Fill(p, QColor(230, 130, 140));
  p.drawRect(QRectF(12, -2, 2, 4));
  p.restore();
}

void PaintGrondo(QPainter& p) { Robot(p, 1.5, 1, 1.05); }

void PaintZad(QPainter& p) {
  Maze(p, 2, 5, 13);
  Flower(p, QPointF(15, 5), 3);
}

void PaintReload(QPainter& p) {
  Maze(p, 5.5, 5.5, 9);
  QPainterPath arc;
  arc.arcMoveTo(QRectF(2, 2, 16, 16), 60);
  arc.arcTo(QRectF(2, 2, 16, 16), 60, 270);
  Pen(p, kGreen, 1.8);
  NoFill(p);
  p.drawPath(arc);
  Arrowhead(p, QPointF(14.5, 2.9), -10, kGreen, 4.5);
}

void PaintOrder(QPainter& p) {
  Pen(p, kBlue, 1.6);
  const qreal indent[] = {2, 5, 8, 8, 5, 2};
  const qreal width[] = {9, 9, 9, 7, 8, 6};
  for (int i = 0; i < 6; ++i) p.drawLine(QPointF(indent[i], 3 + i * 2.8), QPointF(indent[i] + width[i], 3 + i * 2.8));
  Arrowhead(p, QPointF(19, 10), 0, kGreen, 4);
}

void Play(QPainter& p, qreal x, qreal y, qreal h) {
  Pen(p, QColor(20, 100, 35), 1);
  Fill(p, QColor(60, 180, 75));
  p.drawPolygon(QPolygonF({{x, y}, {x + h * 0.85, y + h / 2}, {x, y + h}}));
}

void PaintRun(QPainter& p) { Play(p, 5, 3, 14); }

// A dot for each statement line, and the arrow that goes to the next one.
void Statements(QPainter& p) {
  Pen(p, kGrey, 1.6);
  for (qreal y : {4.0, 16.0}) p.drawLine(QPointF(11, y), QPointF(18, y));
}

void PaintStep(QPainter& p) {
  Statements(p);
  QPainterPath hop;
  hop.moveTo(3, 5);
  hop.cubicTo(10, 6, 10, 13, 5, 15);
  Pen(p, kBlue, 2);
  NoFill(p);
  p.drawPath(hop);
  Arrowhead(p, QPointF(9.5, 15.5), 0, kBlue, 4.5);
  Pen(p, kGrey, 1.6);
  p.drawLine(QPointF(13, 10), QPointF(18, 10));
}

void PaintTrace(QPainter& p) {
  Pen(p, kGrey, 1.6);
  p.drawLine(QPointF(2, 3), QPointF(10, 3));
  Pen(p, kInk, 1);
  Fill(p, kLight);
  p.drawRoundedRect(QRectF(9, 8, 9, 10), 1.5, 1.5);
  Pen(p, kGrey, 1.2);
  for (qreal y : {11.0, 13.5, 16.0}) p.drawLine(QPointF(11, y), QPointF(16, y));
  Pen(p, kBlue, 2);
  NoFill(p);
  QPainterPath in;
  in.moveTo(4, 5);
  in.cubicTo(4, 10, 4, 12, 7, 12);
  p.drawPath(in);
  Arrowhead(p, QPointF(11, 12), 0, kBlue, 4.5);
}

void PaintRunTo(QPainter& p) {
  Play(p, 2, 4, 12);
  Pen(p, kInk, 1.4);
  p.drawLine(QPointF(15, 3), QPointF(15, 17));
  p.drawLine(QPointF(13, 3), QPointF(17, 3));
  p.drawLine(QPointF(13, 17), QPointF(17, 17));
}

void PaintVar(QPainter& p) {
  Pen(p, kInk, 1);
  Fill(p, kPaper);
  p.drawRect(QRectF(2, 3, 16, 14));
  Fill(p, QColor(190, 205, 235));
  p.drawRect(QRectF(2, 3, 16, 3.5));
  Pen(p, kGrey, 0.8);
  p.drawLine(QPointF(8, 6.5), QPointF(8, 17));
  Pen(p, kNavy, 1.3);
  p.drawLine(QPointF(3.5, 8.5), QPointF(6.5, 11.5));
  p.drawLine(QPointF(6.5, 8.5), QPointF(3.5, 11.5));
  p.drawLine(QPointF(10, 9), QPointF(16, 9));
  p.drawLine(QPointF(10, 12.5), QPointF(14, 12.5));
  p.drawLine(QPointF(3.5, 14.5), QPointF(6.5, 14.5));
  p.drawLine(QPointF(10, 15.5), QPointF(15, 15.5));
}

void PaintStop(QPainter& p) {
  Pen(p, QColor(130, 20, 20), 1);
  Fill(p, kRed);
  QPolygonF oct;
  for (int i = 0; i < 8; ++i) {
    const qreal a = qDegreesToRadians(22.5 + i * 45.0);
    oct << QPointF(10 + 8 * std::cos(a), 10 + 8 * std::sin(a));
  }
  p.drawPolygon(oct);
  p.setPen(Qt::NoPen);
  Fill(p, kPaper);
  p.drawRect(QRectF(5, 8.5, 10, 3));
}

void PaintHelp(QPainter& p) {
  Pen(p, kInk, 0.9);
  Fill(p, kPaper);
  p.drawPolygon(QPolygonF({{2, 2}, {2, 14}, {5, 11}, {7.5, 16}, {9.5, 15}, {7, 10}, {11, 10}}));
  Question(p, QPointF(15, 10), 0.85, kBlue);
}

void PaintDesign(QPainter& p) {
  Maze(p, 2, 4, 13);
  p.save();
  p.translate(9, 16);
  p.rotate(-55);
  Pen(p, kInk, 0.8);
  Fill(p, kYellow);
  p.drawRect(QRectF(3, -1.8, 9, 3.6));
  Fill(p, QColor(240, 200, 160));
  p.drawPolygon(QPolygonF({{3, -1.8}, {0, 0}, {3, 1.8}}));
  p.restore();
}

void PaintFont(QPainter& p) {
  Pen(p, kNavy, 2);
  p.drawLine(QPointF(3, 16), QPointF(8, 3));
  p.drawLine(QPointF(8, 3), QPointF(13, 16));
  p.drawLine(QPointF(5, 11.5), QPointF(11, 11.5));
  Pen(p, kRed, 1.6);
  NoFill(p);
  p.drawEllipse(QPointF(15.5, 13.5), 2.3, 2.5);
  p.drawLine(QPointF(17.8, 10.5), QPointF(17.8, 16.2));
}

void PaintHelpMenu(QPainter& p) {
  Pen(p, QColor(20, 60, 140), 1);
  Fill(p, kBlue);
  p.drawEllipse(QPointF(10, 10), 8.5, 8.5);
  Question(p, QPointF(10, 9.5), 1, kPaper);
}

void PaintOperators(QPainter& p) {
  Pen(p, kNavy, 1.6);
  NoFill(p);
  QPainterPath l;
  l.moveTo(7, 3);
  l.cubicTo(3, 3, 6, 10, 3, 10);
  l.cubicTo(6, 10, 3, 17, 7, 17);
  p.drawPath(l);
  QPainterPath r;
  r.moveTo(13, 3);
  r.cubicTo(17, 3, 14, 10, 17, 10);
  r.cubicTo(14, 10, 17, 17, 13, 17);
  p.drawPath(r);
  p.setPen(Qt::NoPen);
  Fill(p, kRed);
  p.drawEllipse(QPointF(10, 10), 1.5, 1.5);
}

void PaintFunctions(QPainter& p) {
  Pen(p, kNavy, 1.6);
  NoFill(p);
  QPainterPath f;
  f.moveTo(9, 4);
  f.cubicTo(6, 2, 6, 5, 6, 7);
  f.lineTo(5.5, 15);
  f.cubicTo(5.3, 18, 3, 18, 2, 16.5);
  p.drawPath(f);
  p.drawLine(QPointF(3.5, 8), QPointF(9, 8));
  Pen(p, kGreen, 1.4);
  p.drawArc(QRectF(10, 5, 5, 11), 110 * 16, 140 * 16);
  p.drawArc(QRectF(14, 5, 5, 11), -70 * 16, 140 * 16);
}

void PaintWhatsThis(QPainter& p) {
  Pen(p, kInk, 1);
  Fill(p, QColor(255, 255, 189));
  p.drawRoundedRect(QRectF(2, 3, 16, 11), 2, 2);
  p.drawPolygon(QPolygonF({{6, 14}, {6, 18}, {10, 14}}));
  Question(p, QPointF(10, 9), 0.7, kNavy);
}

void PaintParam(QPainter& p) {
  QPainterPath gear;
  const int teeth = 8;
  for (int i = 0; i < teeth * 4; ++i) {
    const qreal a = qDegreesToRadians(i * 360.0 / (teeth * 4));
    const qreal r = (i % 4 < 2) ? 8 : 6;
    const QPointF pt(10 + r * std::cos(a), 10 + r * std::sin(a));
    i ? gear.lineTo(pt) : gear.moveTo(pt);
  }
  gear.closeSubpath();
  gear.addEllipse(QPointF(10, 10), 2.5, 2.5);
  gear.setFillRule(Qt::OddEvenFill);
  Pen(p, QColor(70, 70, 80), 0.8);
  Fill(p, kGrey);
  p.drawPath(gear);
}

void PaintStrings(QPainter& p) {
  Pen(p, kRed, 1.6);
  p.drawLine(QPointF(3, 4), QPointF(3, 8));
  p.drawLine(QPointF(17, 4), QPointF(17, 8));
  Pen(p, kNavy, 1.4);
  NoFill(p);
  p.drawEllipse(QPointF(7.5, 13), 2.5, 2.8);
  p.drawLine(QPointF(10, 10), QPointF(10, 16));
  p.drawLine(QPointF(12, 6), QPointF(12, 16));
  p.drawArc(QRectF(12, 10, 5, 6), -90 * 16, 180 * 16);
}

void PaintGraphics(QPainter& p) {
  Pen(p, kInk, 1);
  Fill(p, QColor(120, 170, 230));
  p.drawEllipse(QPointF(7, 7), 5, 5);
  Fill(p, QColor(250, 150, 60));
  p.drawPolygon(QPolygonF({{12, 6}, {18, 17}, {6, 17}}));
}

void PaintFind(QPainter& p) {
  TextLines(p, 2, 3, 3, 10);
  Magnifier(p, QPointF(9, 10), 4.5);
}

void PaintReplace(QPainter& p) {
  Magnifier(p, QPointF(6.5, 6.5), 4);
  Pen(p, kGreen, 1.6);
  NoFill(p);
  p.drawArc(QRectF(9, 7, 8, 8), 90 * 16, -180 * 16);
  Arrowhead(p, QPointF(9.5, 15), 180, kGreen, 4);
}

void PaintDEmpty(QPainter& p) {
  Pen(p, kGrey, 1);
  Fill(p, QColor(245, 240, 220));
  p.drawRect(QRectF(3, 3, 14, 14));
}

void PaintDWall(QPainter& p) {
  Pen(p, QColor(235, 225, 210), 0.8);
  Fill(p, QColor(170, 70, 50));
  for (int row = 0; row < 4; ++row)
    for (int col = -1; col < 3; ++col) {
      const qreal x = 2 + col * 6 + (row % 2) * 3;
      const QRectF brick = QRectF(x, 2 + row * 4, 6, 4).intersected(QRectF(2, 2, 16, 16));
      if (!brick.isEmpty()) p.drawRect(brick);
    }
}

void PaintDTarget(QPainter& p) { Soil(p); }

void PaintDPainted(QPainter& p) {
  Soil(p);
  Pen(p, kGreen, 1.3);
  p.drawLine(QPointF(10, 12), QPointF(10, 7));
  Flower(p, QPointF(10, 5.5), 3.2);
}

void PaintDGrondo(QPainter& p) { Robot(p, 1.5, 1, 1.05); }

void PaintDBase(QPainter& p) {
  Pen(p, kInk, 1);
  Fill(p, kRed);
  p.drawPolygon(QPolygonF({{2, 9}, {10, 2}, {18, 9}}));
  Fill(p, QColor(240, 225, 180));
  p.drawRect(QRectF(4, 9, 12, 9));
  Fill(p, kBrown);
  p.drawRect(QRectF(8.5, 12, 3.5, 6));
}

void PaintInsL(QPainter& p) { LineButton(p, 0, true); }
void PaintInsR(QPainter& p) { LineButton(p, 1, true); }
void PaintInsT(QPainter& p) { LineButton(p, 2, true); }
void PaintInsB(QPainter& p) { LineButton(p, 3, true); }
void PaintDelL(QPainter& p) { LineButton(p, 0, false); }
void PaintDelR(QPainter& p) { LineButton(p, 1, false); }
void PaintDelT(QPainter& p) { LineButton(p, 2, false); }
void PaintDelB(QPainter& p) { LineButton(p, 3, false); }

void PaintNewMaze(QPainter& p) {
  Maze(p, 4, 4, 14);
  p.setPen(Qt::NoPen);
  Fill(p, kYellow);
  p.drawEllipse(QPointF(4.5, 4.5), 3.5, 3.5);
  Sign(p, QPointF(4.5, 4.5), true);
}

void PaintDExit(QPainter& p) {
  Pen(p, kInk, 1);
  Fill(p, kBrown);
  p.drawRect(QRectF(3, 2, 9, 16));
  Fill(p, kYellow);
  p.drawEllipse(QPointF(10, 10), 0.9, 0.9);
  Pen(p, kGreen, 2);
  p.drawLine(QPointF(11, 10), QPointF(16, 10));
  Arrowhead(p, QPointF(19.5, 10), 0, kGreen, 4.5);
}

struct TGlyphEntry {
  const char* Name;
  TPaint Paint;
};

const TGlyphEntry kGlyphs[] = {
    {"NewBtn", PaintNew},          {"OpenBtn", PaintOpen},
    {"SaveBtn", PaintSave},        {"PrintBtn", PaintPrint},
    {"CutBtn", PaintCut},          {"CopyBtn", PaintCopy},
    {"PasteBtn", PaintPaste},      {"UndoBtn", PaintUndo},
    {"RedoBtn", PaintRedo},        {"TurtleBtn", PaintTurtle},
    {"DrawerBtn", PaintDrawer},    {"GrondoBtn", PaintGrondo},
    {"ZadBtn", PaintZad},          {"ReloadBtn", PaintReload},
    {"OrderBtn", PaintOrder},      {"RunBtn", PaintRun},
    {"StepBtn", PaintStep},        {"TraceBtn", PaintTrace},
    {"RunToBtn", PaintRunTo},      {"VarBtn", PaintVar},
    {"StopBtn", PaintStop},        {"HelpBtn", PaintHelp},
    {"DesignBtn", PaintDesign},    {"FontMI", PaintFont},
    {"HelpMI", PaintHelpMenu},     {"OperatorsMI", PaintOperators},
    {"FunctionsMI", PaintFunctions}, {"WhatsThisMI", PaintWhatsThis},
    {"DesignMI", PaintDesign},     {"ParamMI", PaintParam},
    {"StringsMI", PaintStrings},   {"GraphicsMI", PaintGraphics},
    {"FindMI", PaintFind},         {"ReplaceMI", PaintReplace},
    {"DEmptyBtn", PaintDEmpty},    {"DWallBtn", PaintDWall},
    {"DTargetBtn", PaintDTarget},  {"DPaintedBtn", PaintDPainted},
    {"DGrondoBtn", PaintDGrondo},  {"DBaseBtn", PaintDBase},
    {"InsLBtn", PaintInsL},        {"InsRBtn", PaintInsR},
    {"InsTBtn", PaintInsT},        {"InsBBtn", PaintInsB},
    {"DelLBtn", PaintDelL},        {"DelRBtn", PaintDelR},
    {"DelTBtn", PaintDelT},        {"DelBBtn", PaintDelB},
    {"NewMazeBtn", PaintNewMaze},  {"DExitBtn", PaintDExit},
    {"DHelpBtn", PaintHelp},
};

// An icon engine that draws its picture afresh for every size asked, so a
// 2x display gets a picture drawn at 42 x 40, not an enlarged 21 x 20. Qt
// hands scaledPixmap the size in device pixels already.
class TDrawnEngine : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap pm = QPixmap::fromImage(Render((QSizeF(rect.size()) * dpr).toSize(), mode));
    pm.setDevicePixelRatio(dpr);
    painter->drawPixmap(rect, pm);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    return QPixmap::fromImage(Render(size, mode));
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
    QPixmap pm = QPixmap::fromImage(Render(size, mode));
    pm.setDevicePixelRatio(scale);
    return pm;
  }

 protected:
  virtual void Draw(QPainter& p, const QSize& device) const = 0;

 private:
  QImage Render(const QSize& device, QIcon::Mode mode) const {
    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing);
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      Draw(p, device);
    }
    if (mode == QIcon::Disabled) Fade(image);
    return image;
  }
  // The disabled look: the same drawing in pale grey, its shapes still
  // told apart by their lightness.
  static void Fade(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = line[x];
        const int a = qAlpha(c);
        if (a == 0) continue;
        // Premultiplied: un-premultiply the grey, lighten it, premultiply again.
        const int grey = qGray(qRed(c), qGreen(c), qBlue(c)) * 255 / a;
        const int light = 110 + std::min(grey, 255) * 120 / 255;
        const int fa = a * 3 / 5;
        line[x] = qRgba(light * fa / 255, light * fa / 255, light * fa / 255, fa);
      }
    }
  }
};

class TGlyphEngine : public TDrawnEngine {
 public:
  explicit TGlyphEngine(TPaint paint) : paint_(paint) {}
  QIconEngine* clone() const override { return new TGlyphEngine(paint_); }
  QString key() const override { return QStringLiteral("TarmisyGlyph"); }

 protected:
  void Draw(QPainter& p, const QSize& device) const override {
    const qreal side = std::min(device.width(), device.height());
    p.translate((device.width() - side) / 2, (device.height() - side) / 2);
    p.scale(side / 20.0, side / 20.0);
    paint_(p);
  }

 private:
  TPaint paint_;
};

// The program's icon, drawn from the same picture as the desktop icon.
class TSvgEngine : public TDrawnEngine {
 public:
  explicit TSvgEngine(QByteArray svg) : svg_(std::move(svg)) {}
  QIconEngine* clone() const override { return new TSvgEngine(svg_); }
  QString key() const override { return QStringLiteral("TarmisyAppIcon"); }

 protected:
  void Draw(QPainter& p, const QSize& device) const override { QSvgRenderer(svg_).render(&p, QRectF(QPointF(0, 0), device)); }

 private:
  QByteArray svg_;
};

}  // namespace

QIcon Glyph(std::string_view name) {
  for (const TGlyphEntry& g : kGlyphs)
    if (name == g.Name) return QIcon(new TGlyphEngine(g.Paint));
  return {};
}

QStringList GlyphNames() {
  QStringList names;
  for (const TGlyphEntry& g : kGlyphs) names << QString::fromLatin1(g.Name);
  return names;
}

QIcon AppIcon() {
  // The picture is compiled into the program (data/tarmisy.svg).
  QFile file(QStringLiteral(":/tarmisy/tarmisy.svg"));
  if (!file.open(QIODevice::ReadOnly)) return Glyph("GrondoBtn");
  return QIcon(new TSvgEngine(file.readAll()));
}
