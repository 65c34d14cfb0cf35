#include "var_hint.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>
#include <cstring>

#include "datum.h"
#include "var_text.h"
#include "variables.h"

namespace {

constexpr int kHintWidth = 154;
constexpr int kMinTop = 30;
constexpr size_t kMaxHintChars = 200;

// Word-wrapped lines of text in width; a word longer than a line (a long
// string value) is broken where the line ends.
void Layout(QTextLayout& layout, QString text, qreal width) {
  layout.setText(text.replace(QLatin1Char('\n'), QChar::LineSeparator));
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  qreal y = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  layout.endLayout();
}

bool IsDelimiter(char c) { return c == ' ' || (c != '\0' && std::strchr("\"%'()*+,-/;<=>[]^{}", c) != nullptr); }

}  // namespace

std::string WordAt(const std::string& line, int column) {
  if (column < 0 || column >= static_cast<int>(line.size())) return {};
  const size_t at = static_cast<size_t>(column);
  if (IsDelimiter(line[at])) return {};
  size_t first = at;
  while (first > 0 && !IsDelimiter(line[first - 1])) --first;
  size_t last = at + 1;
  while (last < line.size() && !IsDelimiter(line[last])) ++last;
  return line.substr(first, last - first);
}

std::string ValueHintText(const TPauseView& view, int hintLine, const std::string& word) {
  const TVar* v = HintVariable(view, hintLine, word);
  if (!v) return {};
  std::string text = KindName(v->Kind) + "\r\n" + v->Name;
  if (v->Size1 > 0) text += "[" + std::to_string(v->Size1) + "]";
  if (v->Size2 > 0) text += "[" + std::to_string(v->Size2) + "]";
  text += " = " + ValueText(*v);
  if (text.size() > kMaxHintChars) text = text.substr(0, kMaxHintChars) + " ...";
  return text;
}

TVarHintForm::TVarHintForm(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  QFont f(QStringLiteral("Courier New"));
  f.setStyleHint(QFont::TypeWriter);
  f.setPixelSize(13);
  setFont(f);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(255, 255, 189));
  p.setColor(QPalette::WindowText, Qt::black);
  setPalette(p);
  resize(kHintWidth, 40);
}

QRect TVarHintForm::TextRect(int h) const { return QRect(QPoint(4, 2), QPoint(width() - 8, h - 4)); }

void TVarHintForm::ShowAt(int x, int y, const QString& text) {
  text_ = text;
  text_.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QTextLayout layout(QString(), font());
  Layout(layout, text_, TextRect(10000).width());
  // Two pixels more than the frame's margins take, so that the last line's
  // descenders are not cut off.
  const int h = qCeil(layout.boundingRect().height()) + 6;
  int left = x;
  if (const QScreen* screen = QGuiApplication::screenAt(QPoint(x, y))) {
    // A hint near the right edge of the screen stays readable.
    left = std::max(screen->availableGeometry().left(),
                    std::min(left, screen->availableGeometry().right() + 1 - width()));
  }
  setGeometry(left, std::max(y - h, kMinTop), width(), h);
  show();
  raise();
  update();
}

void TVarHintForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  p.setPen(QColor(0, 0, 128));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(palette().color(QPalette::WindowText));
  const QRect r = TextRect(height());
  QTextLayout layout(QString(), font());
  Layout(layout, text_, r.width());
  p.setClipRect(r);
  layout.draw(&p, r.topLeft());
}
