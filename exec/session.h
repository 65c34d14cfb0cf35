// One program run as the window and the headless runner see it: the run
// commands, the worker thread and the end-of-run reports.
//
// The commands follow the window's rules. Run, Step, Trace and Run to cursor
// start a run when none exists (compiling through the builder they are
// given) and otherwise act only while the run is paused; each then signals
// its own event, so a run started by Step behaves as if Step had been given
// at the program's first line. Stop acts while a run exists.
//
// The worker thread makes the executor (through the factory), interprets
// the program, reports an error or the end of the run through the host, and
// frees the program. Only one run exists at a time; with `exclusive` the
// run also holds the per-user lock, so a second run from any process is
// refused ("Программа уже работает!").
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "errors.h"
#include "host.h"
#include "machine.h"
#include "pcode.h"
#include "runlock.h"
#include "runstate.h"

// Compiles the program of a run; raises ECompileException on a translation
// error.
using TProgramBuilder = std::function<std::unique_ptr<TPseudoCode>()>;

enum TCommandResult : int {
  crStarted,           // a new run was started and the command given to it
  crDelivered,         // the command went to the paused run
  crIgnored,           // a run exists but is not paused: nothing happens
  crTranslationError,  // nothing runs; TranslationError() tells why
  crAlreadyRunning     // another run holds the lock; nothing runs (the caller shows
                       // Str(sAlreadyRunning), "Программа уже работает!")
};

class TRunSession {
 public:
  explicit TRunSession(TRunHost& host, TExecutorFactory factory = {}, bool exclusive = true);
  // Stops a run and waits for its worker: a window must keep serving the
  // worker's main-thread calls until Running() is false before it lets the
  // session go.
  ~TRunSession();
  TRunSession(const TRunSession&) = delete;
  TRunSession& operator=(const TRunSession&) = delete;

  TCommandResult Run(const TProgramBuilder& build);
  TCommandResult Step(const TProgramBuilder& build);
  TCommandResult Trace(const TProgramBuilder& build);
  TCommandResult RunTo(const TProgramBuilder& build, int caretLine);
  // Ends the run (a pause at once, a free run before its next instruction,
  // a console read as soon as the host notices StoppedByUser).
  void Stop();
  // While paused: the worker shows the variables window, or the value hint.
  void ShowVariables();
  void ShowValueHint();

  bool Running() const { return state_.RunningCount.load() > 0; }
  bool Paused() const { return Running() && state_.PausedCount.load() > 0; }
  // Waits until the worker of the last run has ended.
  void Wait();

  TRunState& State() { return state_; }
  // The translation error of the last failed start.
  const std::optional<ECompileException>& TranslationError() const { return translationError_; }

 private:
  TCommandResult Command(int event, bool debug, const TProgramBuilder& build);
  bool Start(const TProgramBuilder& build, int event);
  void Work(std::unique_ptr<TPseudoCode> code);

  TRunHost& host_;
  TExecutorFactory factory_;
  bool exclusive_;
  TRunState state_;
  TRunLock lock_;
  std::thread worker_;
  std::optional<ECompileException> translationError_;
  bool refused_ = false;
};

// The message that reports an exception which ended a run: the text of the
// language's errors, the overflow texts, and for anything else the
// unexpected-error message around the exception's own text.
std::string RunErrorText(std::exception_ptr error);

// How a run that raised no error ended, for the end-of-run report.
TRunEnd RunEndOf(bool stoppedByUser, int executorKind, bool usesExecutor, bool debugRun);

// The report text for an end other than a due verdict.
std::string RunEndText(TRunEnd end);
