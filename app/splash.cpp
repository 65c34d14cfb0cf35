#include "splash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "glyphs.h"
#include "qtext.h"
#include "string_table.h"

TSplash::TSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Splash"));
  setFixedSize(344, 201);
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
  timer_.start(100, this);
}

void TSplash::SetProgress(int percent) {
  ticks_ = std::clamp(percent, 0, 100) * kTicks / 100;
  repaint();
}

void TSplash::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timer_.timerId()) return QWidget::timerEvent(event);
  if (++ticks_ >= kTicks) {
    timer_.stop();
    close();
    return;
  }
  update();
}

void TSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(0, 0, 128));
  sky.setColorAt(1, QColor(40, 110, 200));
  p.fillRect(rect(), sky);
  // A row of flower beds along the bottom, as Grondo's field has them.
  for (int x = 8; x < width() - 8; x += 24) {
    p.fillRect(x, height() - 44, 20, 20, QColor(60, 150, 60));
    p.setBrush(QColor(250, 150, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(x + 10, height() - 34), 4, 4);
  }
  const QIcon icon = AppIcon();
  if (!icon.isNull()) icon.paint(&p, QRect(20, 24, 64, 64));
  p.setPen(Qt::white);
  QFont title = font();
  title.setPixelSize(34);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRect(96, 20, width() - 110, 50), Qt::AlignLeft | Qt::AlignVCenter, FromCp1251(Str(sApplicationTitle)));
  QFont small = font();
  small.setPixelSize(12);
  p.setFont(small);
  p.drawText(QRect(96, 70, width() - 110, 20), Qt::AlignLeft | Qt::AlignVCenter, FromCp1251(Str(sSplashLoading)));
  // The thin progress bar.
  const QRect bar(8, height() - 14, width() - 16, 6);
  p.setPen(QColor(220, 220, 220));
  p.setBrush(Qt::NoBrush);
  p.drawRect(bar);
  p.fillRect(QRect(bar.left() + 1, bar.top() + 1, (bar.width() - 1) * ticks_ / kTicks, bar.height() - 1),
             QColor(255, 220, 0));
}
