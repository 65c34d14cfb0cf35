// The host of a run: everything the execution thread needs from the world
// outside the interpreter.
//
// The worker never touches the user interface. Console output and input, line
// highlighting, the variables window, the value hint, the drawing surface,
// repaints, animation pauses and the final reports all go through this one
// interface. The window implements it by a blocking queued call onto the main
// thread (an exception thrown there is re-thrown in the worker), so program
// values may be read inside these calls: the worker is waiting. The headless
// runner and the tests implement it directly on the calling thread. A few
// calls also come from the main thread itself (the compile entry clears
// the console before the worker exists), so a window host runs a call made
// on the main thread directly.
//
// All texts are Windows-1251. Lines are 0-based editor lines.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "input_mode.h"

class TPseudoCode;

// How a run ended without an error; decides the end-of-run report.
enum TRunEnd : int {
  reStopped,        // "Программа остановлена пользователем."
  reFinished,       // "Выполнение программы завершено успешно."
  reDebugFinished,  // "Отладочное выполнение программы завершено успешно."
  reVerdictDue      // a Grondo run in normal mode that used the executor
};

// The program as it stands while the worker waits: what the variables window
// and the value hint read. Valid only during the call it is passed to.
struct TPauseView {
  const TPseudoCode* Code = nullptr;
  int CurProc = 0;   // index in Code->Procs; its slot holds the current activation
  int CurLine = -1;  // line of the last line marker passed
};

class TRunHost {
 public:
  virtual ~TRunHost() = default;

  // Appends text to the console's last line.
  virtual void ConsoleAppend(std::string_view text) = 0;
  // Starts a new console line (AddLine("") of the console model).
  virtual void ConsoleNewLine() = 0;
  // Clears the console to one empty line.
  virtual void ConsoleClear() = 0;
  // Reads one line typed by the user for mode; false (and text empty) when
  // the run was stopped or the input ended. The console puts the typed line
  // on a line of its own below any output on the last line.
  virtual bool ConsoleRead(TInputMode mode, std::string& text) = 0;

  // Marks line as the line about to execute (the run is pausing there).
  virtual void HighlightLine(int line) = 0;
  // Removes the execution-line mark, when there is one.
  virtual void UnhighlightLine() = 0;

  // Shows the variables window; returns when it is closed.
  virtual void ShowVariables(const TPauseView& view) = 0;
  // Shows the value hint for the word under the mouse.
  virtual void ShowValueHint(const TPauseView& view) = 0;

  // Wipes the drawing surface to white.
  virtual void ClearCanvas() = 0;
  // Shows the current picture in the field pane.
  virtual void RepaintField() = 0;
  // An animation pause of ms milliseconds. It is spent on the worker, not
  // on the main thread, which stays free to paint.
  virtual void Sleep(int ms) = 0;

  // Reports the error that ended the run: line (-1 when none) and the
  // complete message.
  virtual void ReportError(int line, const std::string& text) = 0;
  // Reports the end of a run that raised no error.
  virtual void ReportRunEnd(TRunEnd end) = 0;

  // Runs fn on the main thread and waits for it; an exception thrown by fn
  // is re-thrown here. Executors use it for their drawing.
  virtual void RunOnMain(const std::function<void()>& fn) = 0;
};

// A host that discards output, answers every read with "stopped" and runs
// main-thread work directly. The base for test hosts.
class TNullHost : public TRunHost {
 public:
  void ConsoleAppend(std::string_view) override {}
  void ConsoleNewLine() override {}
  void ConsoleClear() override {}
  bool ConsoleRead(TInputMode, std::string& text) override {
    text.clear();
    return false;
  }
  void HighlightLine(int) override {}
  void UnhighlightLine() override {}
  void ShowVariables(const TPauseView&) override {}
  void ShowValueHint(const TPauseView&) override {}
  void ClearCanvas() override {}
  void RepaintField() override {}
  void Sleep(int) override {}
  void ReportError(int, const std::string&) override {}
  void ReportRunEnd(TRunEnd) override {}
  void RunOnMain(const std::function<void()>& fn) override { fn(); }
};
