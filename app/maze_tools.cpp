#include "maze_tools.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>

#include "help.h"
#include "maze_edit.h"
#include "pictures.h"
#include "qtext.h"
#include "string_table.h"

namespace {

constexpr int kGlyph = 20;  // tool bar glyphs are 20 x 20 like the main bar's
constexpr int kGlyphScale = 3;  // 20-pixel cells

QString Text(TStrId id) { return FromCp1251(Str(id)); }

QPixmap NewGlyph() {
  QPixmap pm(kGlyph, kGlyph);
  pm.fill(Qt::transparent);
  return pm;
}

QIcon CellIcon(char tool) {
  const TPictures& pics = CellPictures();
  QImage img;
  switch (tool) {
    case kWallCell: img = pics.Wall(kGlyphScale, 0); break;
    case kBedCell: img = pics.Target(kGlyphScale); break;
    case kFlowerCell: img = pics.Painted(kGlyphScale); break;
    case kBaseCell: img = pics.Base(kGlyphScale); break;
    case kGrondoTool: {
      img = pics.Empty(kGlyphScale).copy();
      QPainter p(&img);
      p.drawImage(0, 0, pics.GrondoSprite(kGlyphScale, ghUp));
      break;
    }
    default: img = pics.Empty(kGlyphScale); break;
  }
  return QIcon(QPixmap::fromImage(img));
}

// A 3 x 3 block of cells with the line at side drawn beside it (green with a
// plus: added) or over its edge cells (red with a cross: removed).
QIcon LineIcon(int side, bool insert) {
  QPixmap pm = NewGlyph();
  QPainter p(&pm);
  constexpr int cell = 5;
  constexpr int side3 = 3 * cell + 1;  // the block with its outer lines
  constexpr int strip = kGlyph - side3;  // room for an added line
  // Centred across the line; along it, the added line takes the free strip.
  QPoint origin((kGlyph - side3) / 2, (kGlyph - side3) / 2);
  if (insert) {
    if (side == lsLeft) origin.rx() = strip;
    if (side == lsRight) origin.rx() = 0;
    if (side == lsTop) origin.ry() = strip;
    if (side == lsBottom) origin.ry() = 0;
  }
  const QRect block(origin, QSize(side3, side3));
  p.fillRect(block, QColor(238, 214, 160));
  p.setPen(QColor(120, 100, 60));
  for (int i = 0; i <= 3; ++i) {
    p.drawLine(block.left() + i * cell, block.top(), block.left() + i * cell, block.bottom());
    p.drawLine(block.left(), block.top() + i * cell, block.right(), block.top() + i * cell);
  }
  QRect line;
  if (insert) {
    switch (side) {
      case lsLeft: line = QRect(0, block.top(), strip, side3); break;
      case lsRight: line = QRect(block.right() + 1, block.top(), strip, side3); break;
      case lsTop: line = QRect(block.left(), 0, side3, strip); break;
      default: line = QRect(block.left(), block.bottom() + 1, side3, strip); break;
    }
  } else {
    const int edge = cell + 1;
    switch (side) {
      case lsLeft: line = QRect(block.left(), block.top(), edge, side3); break;
      case lsRight: line = QRect(block.right() + 1 - edge, block.top(), edge, side3); break;
      case lsTop: line = QRect(block.left(), block.top(), side3, edge); break;
      default: line = QRect(block.left(), block.bottom() + 1 - edge, side3, edge); break;
    }
  }
  p.fillRect(line, insert ? QColor(0, 150, 0) : QColor(200, 0, 0));
  // The sign in the middle of the line.
  p.setPen(Qt::white);
  const QPoint c = line.center();
  if (insert) {
    p.drawLine(c.x() - 1, c.y(), c.x() + 1, c.y());
    p.drawLine(c.x(), c.y() - 1, c.x(), c.y() + 1);
  } else {
    p.drawLine(c.x() - 1, c.y() - 1, c.x() + 1, c.y() + 1);
    p.drawLine(c.x() - 1, c.y() + 1, c.x() + 1, c.y() - 1);
  }
  return QIcon(pm);
}

QIcon NewMazeIcon() {
  QPixmap pm = NewGlyph();
  QPainter p(&pm);
  p.fillRect(QRect(3, 2, 14, 16), Qt::white);
  p.setPen(QColor(150, 150, 150));
  for (int i = 0; i <= 3; ++i) {
    p.drawLine(3 + i * 14 / 3, 2, 3 + i * 14 / 3, 17);
    p.drawLine(3, 2 + i * 5, 17, 2 + i * 5);
  }
  p.setPen(Qt::black);
  p.drawRect(3, 2, 14, 15);
  // A yellow star in the corner: something new.
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath star;
  const QPointF centre(15, 5);
  for (int i = 0; i < 10; ++i) {
    const double r = i % 2 ? 2.0 : 5.0;
    const double a = -M_PI / 2 + i * M_PI / 5;
    const QPointF pt = centre + QPointF(r * std::cos(a), r * std::sin(a));
    i ? star.lineTo(pt) : star.moveTo(pt);
  }
  star.closeSubpath();
  p.setPen(QColor(160, 120, 0));
  p.setBrush(QColor(255, 220, 0));
  p.drawPath(star);
  return QIcon(pm);
}

QIcon UndoIcon() {
  QPixmap pm = NewGlyph();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 0, 128), 2.2, Qt::SolidLine, Qt::RoundCap));
  QPainterPath arc;
  arc.moveTo(6, 8);
  arc.cubicTo(12, 3, 19, 8, 15, 15);
  p.drawPath(arc);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 128));
  p.drawPolygon(QPolygonF({QPointF(2, 8), QPointF(8, 3.5), QPointF(8, 12.5)}));
  return QIcon(pm);
}

QIcon ExitIcon() {
  QPixmap pm = NewGlyph();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 140, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(3.5, 10.5), QPointF(8, 15), QPointF(16.5, 4.5)}));
  return QIcon(pm);
}

QIcon HelpIcon() {
  QPixmap pm = NewGlyph();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // The mouse arrow with a question mark: "what is this".
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({QPointF(2, 2), QPointF(2, 15), QPointF(5, 12), QPointF(7.5, 17), QPointF(9.5, 16),
                           QPointF(7, 11), QPointF(11, 11)}));
  QFont f;
  f.setPixelSize(12);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0, 0, 160));
  p.drawText(QRect(10, 2, 10, 16), Qt::AlignCenter, QStringLiteral("?"));
  return QIcon(pm);
}

}  // namespace

TMazeToolBar::TMazeToolBar(QWidget* parent) : QToolBar(parent), tools_(new QActionGroup(this)) {
  setObjectName(QStringLiteral("DesignToolBar"));
  setWindowTitle(Text(sDesignToolBarTitle));
  setMovable(false);
  setIconSize(QSize(kGlyph, kGlyph));

  const auto make = [this](const char* name, TStrId hint, const QIcon& icon) {
    QAction* a = addAction(icon, Text(hint));
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(Text(hint));
    const QString what = WhatsThisText(a->objectName());
    a->setWhatsThis(what.isEmpty() ? Text(hint) : what);
    return a;
  };
  const auto tool = [&](const char* name, TStrId hint, char c) {
    QAction* a = make(name, hint, CellIcon(c));
    a->setCheckable(true);
    a->setData(QChar::fromLatin1(c));
    tools_->addAction(a);
    return a;
  };
  DEmptyBtn = tool("DEmptyBtn", sDEmptyHint, kEmptyCell);
  DWallBtn = tool("DWallBtn", sDWallHint, kWallCell);
  DTargetBtn = tool("DTargetBtn", sDTargetHint, kBedCell);
  DPaintedBtn = tool("DPaintedBtn", sDPaintedHint, kFlowerCell);
  DGrondoBtn = tool("DGrondoBtn", sDGrondoHint, kGrondoTool);
  DBaseBtn = tool("DBaseBtn", sDBaseHint, kBaseCell);
  tools_->setExclusive(true);
  DEmptyBtn->setChecked(true);
  connect(tools_, &QActionGroup::triggered, this, &TMazeToolBar::ToolChanged);
  addSeparator();

  // One handler for the add buttons and one for the remove buttons; the tag
  // says the side.
  const auto line = [&](const char* name, TStrId hint, int side, bool insert) {
    QAction* a = make(name, hint, LineIcon(side, insert));
    a->setData(side);
    connect(a, &QAction::triggered, this, [this, a, insert] {
      const int s = a->data().toInt();
      insert ? emit InsertLineClicked(s) : emit DeleteLineClicked(s);
    });
    return a;
  };
  InsLBtn = line("InsLBtn", sInsLHint, lsLeft, true);
  InsRBtn = line("InsRBtn", sInsRHint, lsRight, true);
  InsTBtn = line("InsTBtn", sInsTHint, lsTop, true);
  InsBBtn = line("InsBBtn", sInsBHint, lsBottom, true);
  addSeparator();
  DelLBtn = line("DelLBtn", sDelLHint, lsLeft, false);
  DelRBtn = line("DelRBtn", sDelRHint, lsRight, false);
  DelTBtn = line("DelTBtn", sDelTHint, lsTop, false);
  DelBBtn = line("DelBBtn", sDelBHint, lsBottom, false);
  addSeparator();
  NewMazeBtn = make("NewMazeBtn", sNewMazeHint, NewMazeIcon());
  DUndoBtn = make("DUndoBtn", sDUndoHint, UndoIcon());
  DExitBtn = make("DExitBtn", sDExitHint, ExitIcon());
  addSeparator();
  DHelpBtn = make("DHelpBtn", sDHelpHint, HelpIcon());
}

char TMazeToolBar::ToolChar() const {
  // The order is the one the design mode always had; with exclusive buttons
  // only one can be down, but the order decides should that ever change.
  if (DBaseBtn->isChecked()) return kBaseCell;
  if (DGrondoBtn->isChecked()) return kGrondoTool;
  if (DPaintedBtn->isChecked()) return kFlowerCell;
  if (DTargetBtn->isChecked()) return kBedCell;
  if (DWallBtn->isChecked()) return kWallCell;
  return kEmptyCell;
}

void TMazeToolBar::SelectTool(int index) {
  QAction* const all[] = {DEmptyBtn, DWallBtn, DTargetBtn, DPaintedBtn, DGrondoBtn, DBaseBtn};
  if (index < 0 || index >= 6) return;
  all[index]->setChecked(true);
  emit ToolChanged();
}

QImage ToolPicture(char tool, int s) {
  const TPictures& pics = CellPictures();
  QImage img;
  switch (tool) {
    case kWallCell: img = pics.Wall(s, 0).copy(); break;
    case kBedCell: img = pics.Target(s).copy(); break;
    case kFlowerCell: img = pics.Painted(s).copy(); break;
    case kBaseCell: img = pics.Base(s).copy(); break;
    case kGrondoTool: {
      img = pics.Empty(s).copy();
      QPainter p(&img);
      p.drawImage(0, 0, pics.GrondoSprite(s, ghUp));
      break;
    }
    default: img = pics.Empty(s).copy(); break;
  }
  QPainter p(&img);
  p.setPen(Qt::black);
  p.drawRect(img.rect().adjusted(0, 0, -1, -1));
  p.setPen(QColor(192, 192, 192));
  p.drawRect(img.rect().adjusted(1, 1, -2, -2));
  return img;
}

TCurForm::TCurForm(QWidget* field)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus),
      field_(field) {
  setObjectName(QStringLiteral("CurForm"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  timer_.setInterval(200);
  connect(&timer_, &QTimer::timeout, this, &TCurForm::HideOutsideField);
}

void TCurForm::ShowFor(char tool, int s, QPoint globalPos) {
  picture_ = ToolPicture(tool, std::max(ValidScale(s), 2));
  setFixedSize(picture_.size());
  move(globalPos + QPoint(5, 5));
  update();
  if (isHidden()) show();
  timer_.start();
}

void TCurForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, picture_);
}

void TCurForm::HideOutsideField() {
  if (!field_ || !field_->isVisible() ||
      !field_->rect().contains(field_->mapFromGlobal(QCursor::pos()))) {
    hide();
    timer_.stop();
  }
}
