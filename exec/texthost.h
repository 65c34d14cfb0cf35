// A host for runs without a window: the console is a text stream.
//
// Output is streamed as the console changes: appended text as it comes and
// a line break wherever the console starts a new line. Typed input comes
// from a line source; when the source is not a terminal the lines are
// echoed where the console would show them (on a line of their own). The
// end of the input ends the run like a stop by the user. Reports are kept
// for the caller. The headless runner and the tests use it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "console.h"
#include "host.h"

class TTextHost : public TNullHost {
 public:
  // Receives console text (Windows-1251), line breaks as '\n'.
  using TOutput = std::function<void(std::string_view text)>;
  // Supplies the next typed line (Windows-1251, without its line break);
  // false when the input has ended.
  using TInput = std::function<bool(std::string& line)>;

  TTextHost(TOutput output, TInput input, bool echoInput);

  void ConsoleAppend(std::string_view text) override;
  void ConsoleNewLine() override;
  void ConsoleClear() override;
  bool ConsoleRead(TInputMode mode, std::string& text) override;
  void Sleep(int ms) override;
  void ReportError(int line, const std::string& text) override;
  void ReportRunEnd(TRunEnd end) override;

  // Ends the output: a final line break when the last line is not empty.
  void Finish();

  // Keep Grondo's animation pauses (off by default: runs are checked, not watched).
  bool Animate = false;
  // Keep the console's text for Console(); a run that only streams its
  // output turns this off so that its memory does not grow with the output.
  void KeepConsoleText(bool keep) { console_.SetKeepText(keep); }

  const TConsoleModel& Console() const { return console_; }
  bool HasError() const { return error_.has_value(); }
  int ErrorLine() const { return errorLine_; }
  const std::string& ErrorText() const { return *error_; }
  std::optional<TRunEnd> End() const { return end_; }

 private:
  void Out(std::string_view text);

  TOutput output_;
  TInput input_;
  bool echo_;
  TConsoleModel console_;
  bool atLineStart_ = true;   // the output stream's last line is empty
  bool skipLineBreak_ = false;  // a terminal already moved on after typed input
  std::optional<std::string> error_;
  int errorLine_ = -1;
  std::optional<TRunEnd> end_;
};
