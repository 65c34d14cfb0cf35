#include "session.h"

#include <new>

#include "interpreter.h"
#include "loop_guard.h"
#include "string_table.h"

std::string RunErrorText(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const EExecuteException& e) {
    return e.Message();
  } catch (const EGrondoException& e) {
    return e.Message();
  } catch (const EIntOverflow&) {
    return Str(sIntOverflowText);
  } catch (const EFloatOverflow&) {
    return Str(sRealOverflowText);
  } catch (const ETarmisyException& e) {
    return FormatStr(sUnexpectedError, {e.Message()});
  } catch (const std::bad_alloc&) {
    return FormatStr(sUnexpectedError, {"Out of memory"});
  } catch (const std::exception& e) {
    return FormatStr(sUnexpectedError, {e.what()});
  } catch (...) {
    return FormatStr(sUnexpectedError, {""});
  }
}

TRunEnd RunEndOf(bool stoppedByUser, int executorKind, bool usesExecutor, bool debugRun) {
  if (stoppedByUser) return reStopped;
  if (executorKind != ekGrondo || !usesExecutor) return reFinished;
  if (debugRun) return reDebugFinished;
  return reVerdictDue;
}

std::string RunEndText(TRunEnd end) {
  switch (end) {
    case reStopped: return Str(sStoppedByUser);
    case reDebugFinished: return Str(sDebugRunFinished);
    default: return Str(sRunFinished);
  }
}

TRunSession::TRunSession(TRunHost& host, TExecutorFactory factory, bool exclusive)
    : host_(host), factory_(std::move(factory)), exclusive_(exclusive) {}

TRunSession::~TRunSession() {
  if (Running()) Stop();
  Wait();
}

void TRunSession::Wait() {
  if (worker_.joinable()) worker_.join();
}

TCommandResult TRunSession::Run(const TProgramBuilder& build) { return Command(evRun, false, build); }
TCommandResult TRunSession::Step(const TProgramBuilder& build) { return Command(evStep, true, build); }
TCommandResult TRunSession::Trace(const TProgramBuilder& build) { return Command(evTrace, true, build); }

TCommandResult TRunSession::RunTo(const TProgramBuilder& build, int caretLine) {
  if (Running() && !Paused()) return crIgnored;
  state_.RunToLine.store(caretLine);
  return Command(evRunTo, true, build);
}

TCommandResult TRunSession::Command(int event, bool debug, const TProgramBuilder& build) {
  if (Running() && !Paused()) return crIgnored;
  state_.DebugRun.store(debug);
  if (Running()) {
    state_.Events.Set(event);
    return crDelivered;
  }
  // The command's event is set before the worker starts, so the run behaves
  // as if the command had been given at the program's first line.
  if (!Start(build, event)) return refused_ ? crAlreadyRunning : crTranslationError;
  return crStarted;
}

void TRunSession::Stop() {
  if (Running()) state_.RequestStop();
}

void TRunSession::ShowVariables() {
  if (Paused()) state_.Events.Set(evVar);
}

void TRunSession::ShowValueHint() {
  // A hint asked for while the program runs waits for the next pause.
  if (Running()) state_.Events.Set(evVarHint);
}

bool TRunSession::Start(const TProgramBuilder& build, int event) {
  Wait();
  refused_ = false;
  translationError_.reset();
  state_.RunningCount.fetch_add(1);
  state_.Events.ResetAll();
  std::unique_ptr<TPseudoCode> code;
  try {
    code = build();
  } catch (const ECompileException& e) {
    translationError_ = e;
  } catch (...) {
    translationError_ = ECompileException(RunErrorText(std::current_exception()), -1, -1);
  }
  if (!code) {
    if (!translationError_) translationError_ = ECompileException(std::string(), -1, -1);
    state_.StoppedByUser.store(true);
    state_.RunningCount.fetch_sub(1);
    return false;
  }
  if (exclusive_ && !lock_.Acquire()) {
    refused_ = true;
    state_.StoppedByUser.store(true);
    state_.RunningCount.fetch_sub(1);
    return false;
  }
  state_.StoppedByUser.store(false);
  state_.ErrorShown.store(false);
  state_.PausedCount.store(0);
  state_.Events.Set(event);
  worker_ = std::thread(&TRunSession::Work, this, std::move(code));
  return true;
}

void TRunSession::Work(std::unique_ptr<TPseudoCode> code) {
  const int kind = code->ExecutorKind;
  {
    std::unique_ptr<TGenericGrondo> machine;
    std::exception_ptr error;
    try {
      if (factory_) machine = factory_(kind);
    } catch (...) {
      error = std::current_exception();
    }
    TExecutor executor(*code, host_, state_, std::move(machine));
    std::optional<TLoopGuard> guard;
    if (state_.DetectLoops) executor.LoopGuard = &guard.emplace(*code);
    executor.StepLimit = state_.StepLimit;
    executor.CountInstructions = state_.CountInstructions;
    if (!error) {
      try {
        if (kind != ekGrondo) executor.Machine().ClearCanvas();
        executor.Machine().RequestRepaint();
        executor.Run();
      } catch (...) {
        error = std::current_exception();
      }
    }
    state_.Executed.store(executor.Executed);
    state_.StepLimitReached.store(executor.StepLimitReached);
    state_.LoopLine.store(guard ? guard->Line() : -1);
    try {
      if (error) {
        host_.ReportError(executor.CurLine, RunErrorText(error));
        state_.StoppedByUser.store(true);
        state_.ErrorShown.store(true);
      }
      executor.Unhighlight();
    } catch (...) {
      // The window is going away; the run ends all the same.
    }
  }
  const bool usesExecutor = code->UsesExecutor;
  code.reset();
  if (!state_.ErrorShown.load()) {
    try {
      host_.ReportRunEnd(RunEndOf(state_.StoppedByUser.load(), kind, usesExecutor, state_.DebugRun.load()));
    } catch (...) {
    }
  }
  lock_.Release();
  state_.PausedCount.store(0);
  state_.RunningCount.fetch_sub(1);
}
