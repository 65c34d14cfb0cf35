// The console pane: program output line by line, and the line the user
// types into while the program reads a number or a text, with the keys
// filtered by what is being read. Everything here runs on the main thread;
// the read operations keep the interface alive by running its events until
// Enter is pressed or the program is stopped.
#pragma once

#include <QBasicTimer>
#include <functional>
#include <string>
#include <string_view>

#include "custom_memo.h"
#include "input_mode.h"

class QEventLoop;

class TqxUserScreen : public TqxCustomMemo {
  Q_OBJECT

 public:
  // Asked while a read waits: true ends the wait (the program was stopped).
  using TStopFlag = std::function<bool()>;

  explicit TqxUserScreen(QWidget* parent = nullptr);

  // Style of the program's output lines (style 0 of the list).
  const TCharStyle& SysStyle() const { return sysStyle_; }
  void SetSysStyle(const TCharStyle& style);
  // Style of the line the user types into.
  const TCharStyle& UserStyle() const { return userStyle_; }
  void SetUserStyle(const TCharStyle& style);
  int UserStyleIndex() const { return userIndex_; }

  int InputMode() const { return inputMode_; }
  bool InputDone() const { return inputDone_; }
  int TypedCount() const { return typedCount_; }
  bool SeparatorTyped() const { return separatorTyped_; }
  // The decimal separator accepted and understood in real input.
  char DecimalSeparator() const { return separator_; }
  void SetDecimalSeparator(char c) { separator_ = c; }

  // Appends a line (or fills the only, empty line) in the output style;
  // the caret goes to the last line.
  void AddLine(std::string_view text);
  // Appends text to line index.
  void AppendToLine(int index, std::string_view text);
  // Removes all text, leaving one empty line; caret to the start.
  void Clear();

  // Starts reading on a fresh line below the output (ignored while an input
  // is active).
  void BeginInput(int mode);
  void EndInput();

  // Each reads one line. True with the value on success. A stopped read
  // gives 0, 0.0 or "" and false; a line that is no number gives
  // 2147483647 (or 2147483647.0) and false.
  bool ReadInteger(int& value, const TStopFlag& stopped);
  bool ReadReal(double& value, const TStopFlag& stopped);
  bool ReadText(std::string& text, const TStopFlag& stopped);

  // The conversions of ReadInteger and ReadReal: the text trimmed, a
  // decimal 32-bit integer / a finite real with separator as the point.
  static bool ParseInteger(std::string_view text, int& value);
  static bool ParseReal(std::string_view text, char separator, double& value);

 protected:
  void HandleKey(QKeyEvent* event) override;
  bool MouseEnabled() const override { return inputMode_ < imInteger || inputMode_ > imText; }
  bool EditingMenu() const override { return inputMode_ == imFree; }
  void BeforePaint() override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  // Runs the events until Enter or stop; false when the console went away.
  bool WaitForInput(const TStopFlag& stopped);
  std::string InputLine() const;

  TCharStyle sysStyle_{clBlack, clWhite, 0};
  TCharStyle userStyle_{clNavy, clWhite, fsBold};
  int userIndex_ = 0;
  int inputMode_ = imNone;
  bool inputDone_ = false;
  int typedCount_ = 0;
  bool separatorTyped_ = false;
  bool savedHiddenCaret_ = false;
  char separator_ = '.';
  QBasicTimer refocus_;
  QEventLoop* waiting_ = nullptr;
};
