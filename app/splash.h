// The start-up picture with its progress bar: shown at once, advanced by
// the start-up steps, and closed by its own timer after three seconds.
#pragma once

#include <QBasicTimer>
#include <QWidget>

class TSplash : public QWidget {
 public:
  TSplash();
  // Sets the bar to percent; the closing timer counts on from there.
  void SetProgress(int percent);
  int Progress() const { return ticks_ * 100 / kTicks; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  static constexpr int kTicks = 30;  // 100 ms each
  int ticks_ = 0;
  QBasicTimer timer_;
};
