#include "user_screen.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <charconv>
#include <climits>
#include <cmath>

#include "qtext.h"

namespace {

constexpr int kRefocusMs = 200;

std::string_view Trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

bool IsNavigation(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

}  // namespace

TqxUserScreen::TqxUserScreen(QWidget* parent) : TqxCustomMemo(parent) {
  userIndex_ = Styles().Add(userStyle_);
  Styles().Set(0, sysStyle_);
  Buffer().TrimOnLeave = false;
  Buffer().PadBeyondEnd = false;
  SetUndoLimit(0);
  SetAutoIndent(false);
  SetHiddenCaret(true);
  SetScrollMode(smStrict);
  SetScrollBars(ssVertical);
}

void TqxUserScreen::SetSysStyle(const TCharStyle& style) {
  sysStyle_ = style;
  Styles().Set(0, style);
  viewport()->update();
}

void TqxUserScreen::SetUserStyle(const TCharStyle& style) {
  userStyle_ = style;
  Styles().Set(userIndex_, style);
  viewport()->update();
}

void TqxUserScreen::BeforePaint() {
  Styles().Set(0, sysStyle_);
  Styles().Set(userIndex_, userStyle_);
}

void TqxUserScreen::AddLine(std::string_view text) {
  TqxMemoStrings& lines = Lines();
  int last = lines.Count() - 1;
  if (lines.Count() == 1 && lines.Get(0).empty()) {
    lines.Set(0, std::string(text));
  } else {
    lines.Insert(++last, std::string(text));
  }
  lines.Prop(last).Mark = 0;
  SetCaret(0, last);
  viewport()->update();
}

void TqxUserScreen::AppendToLine(int index, std::string_view text) {
  Lines().Set(index, Lines().Get(index) + std::string(text));
  if (index == CaretLine()) ScrollToCaret();
  viewport()->update();
}

void TqxUserScreen::Clear() {
  ClearAll();
  SetCaret(0, 0);
}

void TqxUserScreen::BeginInput(int mode) {
  if (inputMode_ != imNone) return;
  inputMode_ = mode;
  inputDone_ = false;
  typedCount_ = 0;
  separatorTyped_ = false;
  TqxMemoStrings& lines = Lines();
  int last = lines.Count() - 1;
  // A prompt printed without a line end stays above the input line.
  if (!lines.Get(last).empty()) lines.Insert(++last, std::string());
  lines.Prop(last).Mark = userIndex_;
  SetCaret(0, last);
  savedHiddenCaret_ = HiddenCaret();
  SetHiddenCaret(false);
  setFocus();
  viewport()->update();
}

void TqxUserScreen::EndInput() {
  refocus_.stop();
  SetHiddenCaret(savedHiddenCaret_);
  inputMode_ = imNone;
}

bool TqxUserScreen::WaitForInput(const TStopFlag& stopped) {
  QPointer<TqxUserScreen> self(this);
  QEventLoop loop;
  // The stop command arrives through another part of the window; polling
  // keeps this loop independent of how it is delivered.
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!self || (stopped && stopped())) loop.quit();
  });
  QObject::connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
  poll.start();
  waiting_ = &loop;
  if (!inputDone_ && !(stopped && stopped())) loop.exec();
  if (!self) return false;
  waiting_ = nullptr;
  return true;
}

std::string TqxUserScreen::InputLine() const { return Lines().Get(CaretLine()); }

bool TqxUserScreen::ParseInteger(std::string_view text, int& value) {
  text = Trim(text);
  long long v = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || v < INT_MIN || v > INT_MAX) return false;
  value = int(v);
  return true;
}

bool TqxUserScreen::ParseReal(std::string_view text, char separator, double& value) {
  std::string t(Trim(text));
  if (separator != '.') {
    // With another separator a point is no part of a number.
    if (t.find('.') != std::string::npos) return false;
    for (char& c : t)
      if (c == separator) c = '.';
  }
  double v = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::fixed);
  if (t.empty() || ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool TqxUserScreen::ReadInteger(int& value, const TStopFlag& stopped) {
  value = 0;
  if (inputMode_ != imNone) return false;
  BeginInput(imInteger);
  if (!WaitForInput(stopped)) return false;
  if (!inputDone_) {
    EndInput();
    return false;
  }
  if (!ParseInteger(InputLine(), value)) {
    value = INT_MAX;
    return false;
  }
  return true;
}

bool TqxUserScreen::ReadReal(double& value, const TStopFlag& stopped) {
  value = 0.0;
  if (inputMode_ != imNone) return false;
  BeginInput(imReal);
  if (!WaitForInput(stopped)) return false;
  if (!inputDone_) {
    EndInput();
    return false;
  }
  if (!ParseReal(InputLine(), separator_, value)) {
    value = 2147483647.0;
    return false;
  }
  return true;
}

bool TqxUserScreen::ReadText(std::string& text, const TStopFlag& stopped) {
  text.clear();
  if (inputMode_ != imNone) return false;
  BeginInput(imText);
  if (!WaitForInput(stopped)) return false;
  if (!inputDone_) {
    EndInput();
    return false;
  }
  text = InputLine();
  return true;
}

void TqxUserScreen::HandleKey(QKeyEvent* event) {
  const int key = event->key();
  const auto mods = event->modifiers();
  const bool ctrl = mods & (Qt::ControlModifier | Qt::AltModifier);
  const bool copy = (mods & Qt::ControlModifier) && (key == Qt::Key_C || key == Qt::Key_Insert || key == Qt::Key_A);
  // Backspace at column 0 would join the line to the one above it.
  if (inputMode_ != imNone && key == Qt::Key_Backspace && CaretCol() == 0) return;
  if (inputMode_ == imFree) return TqxCustomMemo::HandleKey(event);
  // Copying the output never changes it, so it works also between inputs.
  if (copy) return TqxCustomMemo::HandleKey(event);
  if (inputMode_ == imNone || IsNavigation(key) || ctrl) return;
  TMemoBuffer& buf = Buffer();
  // A selection here can only come from Select All, made to copy the
  // output; typing over it would erase the output above the input line.
  if (buf.HasSelection()) {
    buf.ClearSelection();
    viewport()->update();
  }
  switch (key) {
    case Qt::Key_Backspace: {
      const int col = CaretCol();
      if (col == 0) return;
      const char deleted = InputLine()[col - 1];
      buf.Backspace();
      --typedCount_;
      if (deleted == separator_ && inputMode_ == imReal) separatorTyped_ = false;
      return AfterMove();
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
      EndInput();
      inputDone_ = true;
      if (waiting_) waiting_->quit();
      return;
    case Qt::Key_Tab:
      if (inputMode_ == imText) {
        buf.TypeTab();
        ++typedCount_;
        AfterMove();
      }
      return;
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_Escape:
      return;
    default:
      break;
  }
  for (QChar qc : event->text()) {
    if (qc.unicode() < 32 || qc.unicode() == 127) continue;
    const char c = ToCp1251(QString(qc))[0];
    const bool digit = c >= '0' && c <= '9';
    bool accept = false;
    if (inputMode_ == imText) {
      accept = true;
    } else if (digit) {
      accept = true;
    } else if (c == '-') {
      accept = typedCount_ == 0;
    } else if (inputMode_ == imReal && c == separator_) {
      accept = !separatorTyped_;
    }
    if (!accept) continue;
    buf.TypeChar(c);
    ++typedCount_;
    if (inputMode_ == imReal && c == separator_) separatorTyped_ = true;
  }
  AfterMove();
}

void TqxUserScreen::focusOutEvent(QFocusEvent* event) {
  TqxCustomMemo::focusOutEvent(event);
  if (inputMode_ >= imInteger && inputMode_ <= imText) refocus_.start(kRefocusMs, this);
}

void TqxUserScreen::timerEvent(QTimerEvent* event) {
  if (event->timerId() != refocus_.timerId()) return TqxCustomMemo::timerEvent(event);
  refocus_.stop();
  if (inputMode_ >= imInteger && inputMode_ <= imText) setFocus();
}
