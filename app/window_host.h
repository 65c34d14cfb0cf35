// The window's side of a run: what the worker asks of the interface, done
// on the main thread (the session reaches it through a TRelayHost).
#pragma once

#include <atomic>

#include "host.h"

class TMainForm;

class TWindowHost : public TRunHost {
 public:
  explicit TWindowHost(TMainForm& form) : form_(form) {}

  // While the window closes: no boxes, no reads, no reports.
  std::atomic<bool> Closing{false};

  void ConsoleAppend(std::string_view text) override;
  void ConsoleNewLine() override;
  void ConsoleClear() override;
  bool ConsoleRead(TInputMode mode, std::string& text) override;
  void HighlightLine(int line) override;
  void UnhighlightLine() override;
  void ShowVariables(const TPauseView& view) override;
  void ShowValueHint(const TPauseView& view) override;
  void ClearCanvas() override;
  void RepaintField() override;
  void Sleep(int ms) override;
  void ReportError(int line, const std::string& text) override;
  void ReportRunEnd(TRunEnd end) override;
  void RunOnMain(const std::function<void()>& fn) override { fn(); }

 private:
  TMainForm& form_;
  int highlighted_ = -1;  // the line marked as the execution line
  int savedMark_ = 0;     // its mark before
};
