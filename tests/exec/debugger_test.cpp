// The debugger commands driven without a window: a scripted host presses
// the next command whenever the worker pauses and records what it shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>

#include "asm.h"
#include "program.h"

namespace {

struct TPress {
  int Event;
  int Line = -1;  // for Run to cursor
};

class TScriptHost : public TNullHost {
 public:
  TScriptHost(TRunState& state, std::deque<TPress> script) : state_(state), script_(std::move(script)) {}

  void HighlightLine(int line) override {
    Highlights.push_back(line);
    // The worker is about to wait: press the next command unless one that
    // continues it is already pending (the one that started the run).
    for (int e : {evRun, evRunTo, evStep, evTrace, evStop})
      if (state_.Events.IsSet(e)) return;
    PressNext();
  }
  void ShowVariables(const TPauseView& view) override {
    Shown.push_back(view.CurLine);
    PressNext();
  }
  void ShowValueHint(const TPauseView& view) override {
    Hints.push_back(view.CurLine);
    PressNext();
  }
  std::vector<int> Hints;
  void ReportError(int line, const std::string& text) override {
    ErrorLine = line;
    Error = Cp1251ToUtf8(text);
  }
  void ReportRunEnd(TRunEnd end) override { End = end; }

  std::vector<int> Highlights;
  std::vector<int> Shown;
  int ErrorLine = -1;
  std::string Error;
  std::optional<TRunEnd> End;

 private:
  void PressNext() {
    if (script_.empty()) {
      state_.RequestStop();
      return;
    }
    const TPress p = script_.front();
    script_.pop_front();
    if (p.Event == evStop) {
      state_.RequestStop();
      return;
    }
    if (p.Event == evRunTo) state_.RunToLine.store(p.Line);
    state_.DebugRun.store(p.Event != evRun);
    state_.Events.Set(p.Event);
  }

  TRunState& state_;
  std::deque<TPress> script_;
};

// 0 main {            10 f {
// 1   a = 1;          11   b = 1;
// 2   f;              12 }
// 3   a = 2;
// 4 }
std::unique_ptr<TPseudoCode> Program() {
  TAsm a;
  a.Global(dkInteger);
  const int m = a.Proc(dkVoid);
  const int f = a.Proc(dkVoid);
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opLine, 1, opAssignGlobal, 0, a.E({I(1)}), opLine, 2, opCall, a.Call(false, f, {}, false)});
  a.Emit({opLine, 3, opAssignGlobal, 0, a.E({I(2)}), opLine, 4, opReturn});
  a.Entry(f);
  a.Emit({opNop, opLine, 10, opLine, 11, opAssignGlobal, 0, a.E({I(3)}), opLine, 12, opReturn, opEnd});
  return std::move(a.code);
}

struct TDebugRun {
  std::vector<int> Highlights;
  std::vector<int> Shown;
  std::vector<int> Hints;
  std::optional<TRunEnd> End;
  std::string Error;
  int ErrorLine = -1;
};

TDebugRun Debug(int first, std::deque<TPress> script, std::function<std::unique_ptr<TPseudoCode>()> build = Program,
                int firstLine = -1) {
  TRunState* state = nullptr;
  std::unique_ptr<TScriptHost> host;
  // The host needs the session's state; the session needs the host.
  struct THostRef : TNullHost {
    TScriptHost* to = nullptr;
    void HighlightLine(int l) override { to->HighlightLine(l); }
    void ShowVariables(const TPauseView& v) override { to->ShowVariables(v); }
    void ShowValueHint(const TPauseView& v) override { to->ShowValueHint(v); }
    void ReportError(int l, const std::string& t) override { to->ReportError(l, t); }
    void ReportRunEnd(TRunEnd e) override { to->ReportRunEnd(e); }
  } ref;
  TRunSession session(ref, {}, false);
  state = &session.State();
  host = std::make_unique<TScriptHost>(*state, std::move(script));
  ref.to = host.get();
  TCommandResult started;
  switch (first) {
    case evRun: started = session.Run(build); break;
    case evStep: started = session.Step(build); break;
    case evTrace: started = session.Trace(build); break;
    default: started = session.RunTo(build, firstLine); break;
  }
  EXPECT_EQ(started, crStarted);
  session.Wait();
  EXPECT_FALSE(session.Running());
  return TDebugRun{host->Highlights, host->Shown, host->Hints, host->End, host->Error, host->ErrorLine};
}

using Lines = std::vector<int>;

TEST(Debugger, StepFromIdlePausesAtTheFirstStatement) {
  const TDebugRun r = Debug(evStep, {{evStep}, {evStep}, {evStep}, {evStep}});
  // The brace line's marker consumes the starting Step; f is stepped over.
  EXPECT_EQ(r.Highlights, (Lines{0, 1, 2, 3, 4}));
  EXPECT_EQ(r.End, reFinished);
}

TEST(Debugger, TraceEntersProcedures) {
  const TDebugRun r = Debug(evTrace, {{evTrace}, {evTrace}, {evTrace}, {evTrace}, {evTrace}, {evTrace}, {evTrace}});
  EXPECT_EQ(r.Highlights, (Lines{0, 1, 2, 10, 11, 12, 3, 4}));
}

TEST(Debugger, StepOverTheLastLineOfAProcedureStopsInTheCaller) {
  const TDebugRun r = Debug(evTrace, {{evTrace}, {evTrace}, {evStep}, {evStep}, {evStep}, {evRun}});
  EXPECT_EQ(r.Highlights, (Lines{0, 1, 2, 10, 11, 12, 3}));
}

TEST(Debugger, RunToCursor) {
  EXPECT_EQ(Debug(evRunTo, {{evRun}}, Program, 11).Highlights, (Lines{11}));
  // A caret line without statements runs to the end.
  const TDebugRun r = Debug(evRunTo, {}, Program, 7);
  EXPECT_EQ(r.Highlights, Lines{});
  EXPECT_EQ(r.End, reFinished);
}

TEST(Debugger, StopWhilePausedEndsWithTheStopReport) {
  const TDebugRun r = Debug(evStep, {{evStop}});
  EXPECT_EQ(r.Highlights, (Lines{0, 1}));
  EXPECT_EQ(r.End, reStopped);
  EXPECT_EQ(r.Error, "");
}

TEST(Debugger, VariablesWindowAndValueHintWhilePaused) {
  const TDebugRun r = Debug(evStep, {{evVar}, {evStep}, {evVar}, {evVarHint}, {evRun}});
  EXPECT_EQ(r.Shown, (Lines{1, 2}));
  EXPECT_EQ(r.Hints, (Lines{2}));
  EXPECT_EQ(r.Highlights, (Lines{0, 1, 2}));
}

// 0 main {              10 f(n) {
// 1   f(3);             11   если (n > 0) f(n - 1);
// 2   a = 1;            12 }
// 3 }
std::unique_ptr<TPseudoCode> Recursive() {
  TAsm a;
  a.Global(dkInteger);
  const int m = a.Proc(dkVoid);
  const int f = a.Proc(dkVoid, {dkInteger}, {}, {dkLogical});
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opLine, 1, opCall, a.Call(false, f, {{I(3)}})});
  a.Emit({opLine, 2, opAssignGlobal, 0, a.E({I(1)}), opLine, 3, opReturn});
  a.Entry(f);
  a.Emit({opNop, opLine, 10, opLine, 11, opAssignTemp, 0, a.E({Lc(0), I(0), Op(ocGt)}), opJumpIfFalse, 0, 0});
  const int32_t skip = a.Here() - 1;
  a.Emit({opCall, a.Call(false, f, {{Lc(0), I(1), Op(ocSub)}})});
  a.code->Patch(skip, a.Here());
  a.Emit({opLine, 12, opReturn, opEnd});
  return std::move(a.code);
}

TEST(Debugger, StepOverARecursiveCallStopsAtTheCallersNextLine) {
  EXPECT_EQ(Debug(evStep, {{evStep}, {evStep}, {evRun}}, Recursive).Highlights, (Lines{0, 1, 2, 3}));
}

TEST(Debugger, StepOutOfAnInnerActivationStopsInTheOuterOne) {
  // Into f(3), into f(2); stepping on in f(2) reaches its last line, and the
  // next Step stops in f(3) after the call, not at the end of the program.
  const TDebugRun r =
      Debug(evTrace, {{evTrace}, {evTrace}, {evTrace}, {evTrace}, {evStep}, {evStep}, {evRun}}, Recursive);
  EXPECT_EQ(r.Highlights, (Lines{0, 1, 10, 11, 10, 11, 12, 12}));
}

// 0 main { 1 повтори (3) a = a + 1;   (a one-line loop) 2 }
TEST(Debugger, AOneLineLoopStopsOnce) {
  auto build = [] {
    TAsm a;
    a.Global(dkInteger);
    const int m = a.Proc(dkVoid, {}, {}, {dkInteger});
    a.Entry(m);
    a.Emit({opNop, opLine, 0, opLoopBegin, opLine, 1, opAssignTemp, 0, a.E({I(3)})});
    const int32_t top = a.Here();
    a.Emit({opJumpIfNotPositive, 0, 0});
    const int32_t exitCell = a.Here() - 1;
    a.Emit({opLine, 1, opAssignGlobal, 0, a.E({G(0), I(1), Op(ocAdd)})});
    const int32_t next = a.Here();
    a.Emit({opDecTemp, 0, opJump, top});
    a.code->Patch(exitCell, a.Here());
    a.Emit({opEndRepeat, next, opLine, 2, opReturn, opEnd});
    return std::move(a.code);
  };
  EXPECT_EQ(Debug(evStep, {{evStep}, {evStep}}, build).Highlights, (Lines{0, 1, 2}));
}

TEST(Debugger, ARunTimeErrorIsReportedWithItsLine) {
  auto build = [] {
    TAsm a;
    const int m = a.Proc(dkVoid);
    a.Entry(m);
    a.Emit({opNop, opLine, 0, opLine, 5, opWrite, a.E({I(1), I(0), Op(ocMod)}), opReturn, opEnd});
    return std::move(a.code);
  };
  const TDebugRun r = Debug(evRun, {}, build);
  EXPECT_EQ(r.Error, "Ошибка при выполнении программы: деление на нуль.");
  EXPECT_EQ(r.ErrorLine, 5);
  EXPECT_FALSE(r.End.has_value());
}

TEST(RunSession, TranslationErrorStartsNothing) {
  TNullHost host;
  TRunSession session(host, {}, false);
  auto failing = []() -> std::unique_ptr<TPseudoCode> { throw ECompileException("bad", 2, 7); };
  EXPECT_EQ(session.Run(failing), crTranslationError);
  ASSERT_TRUE(session.TranslationError().has_value());
  EXPECT_EQ(session.TranslationError()->Line, 2);
  EXPECT_FALSE(session.Running());
  session.Stop();
  EXPECT_FALSE(session.State().StoppedByUser.load() && session.Running());
}

TEST(RunSession, ASecondExclusiveRunIsRefused) {
  const auto dir = std::filesystem::temp_directory_path() / ("tarmisy-lock-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  TNullHost host;
  TRunSession first(host, {}, true);
  TRunSession second(host, {}, true);
  ASSERT_EQ(first.Step(Program), crStarted);
  while (!first.Paused()) std::this_thread::yield();
  EXPECT_EQ(second.Run(Program), crAlreadyRunning);
  EXPECT_FALSE(second.Running());
  first.Stop();
  first.Wait();
  EXPECT_EQ(second.Run(Program), crStarted);
  second.Wait();
  std::filesystem::remove_all(dir);
}

TEST(RunSession, EndOfRunReports) {
  EXPECT_EQ(RunEndOf(true, ekGrondo, true, false), reStopped);
  EXPECT_EQ(RunEndOf(false, ekTurtle, true, true), reFinished);
  EXPECT_EQ(RunEndOf(false, ekGrondo, false, false), reFinished);
  EXPECT_EQ(RunEndOf(false, ekGrondo, true, true), reDebugFinished);
  EXPECT_EQ(RunEndOf(false, ekGrondo, true, false), reVerdictDue);
  EXPECT_EQ(Cp1251ToUtf8(RunEndText(reStopped)), "Программа остановлена пользователем.");
  EXPECT_EQ(Cp1251ToUtf8(RunEndText(reDebugFinished)), "Отладочное выполнение программы завершено успешно.");
}

TEST(RunEvents, ManualEventsStayAutoEventsAreConsumed) {
  TRunEvents e;
  e.Set(evRun);
  e.Set(evStep);
  EXPECT_EQ(e.Poll(1u << evRun), evRun);
  EXPECT_EQ(e.Poll(1u << evRun), evRun);
  EXPECT_EQ(e.Poll(1u << evStep), evStep);
  EXPECT_EQ(e.Poll(1u << evStep), -1);
  e.Reset(evRun);
  std::thread setter([&] { e.Set(evVarHint); });
  EXPECT_EQ(e.WaitAny(), evVarHint);
  setter.join();
  EXPECT_FALSE(e.StopRequested());
  e.Set(evStop);
  EXPECT_TRUE(e.StopRequested());
  EXPECT_FALSE(e.StopRequested());
}

// A console read that waits, as the window's does, until the user types or
// the run is stopped.
class TWaitingConsole : public TNullHost {
 public:
  explicit TWaitingConsole(TRunState** state) : state_(state) {}
  bool ConsoleRead(TInputMode, std::string& text) override {
    Waiting = true;
    while (!(*state_)->StoppedByUser.load()) std::this_thread::yield();
    text.clear();
    return false;
  }
  void ReportError(int, const std::string& t) override { Error = t; }
  void ReportRunEnd(TRunEnd e) override { End = e; }
  std::atomic<bool> Waiting{false};
  std::string Error;
  std::optional<TRunEnd> End;

 private:
  TRunState** state_;
};

TEST(RunSession, StopDuringInputEndsWithTheStopReportOnly) {
  TRunState* state = nullptr;
  TWaitingConsole host(&state);
  TRunSession session(host, {}, false);
  state = &session.State();
  auto build = [] {
    TAsm a;
    a.Global(dkInteger);
    const int m = a.Proc(dkVoid);
    a.Entry(m);
    a.Emit({opNop, opLine, 0, opReadGlobal, 0, opWriteLn, opReturn, opEnd});
    return std::move(a.code);
  };
  ASSERT_EQ(session.Run(build), crStarted);
  while (!host.Waiting.load()) std::this_thread::yield();
  session.Stop();
  session.Wait();
  EXPECT_EQ(host.Error, "");
  EXPECT_EQ(host.End, reStopped);
}

std::function<std::unique_ptr<TPseudoCode>()> Text(std::string utf8) {
  return [utf8] { return CompileProgram(ProgramLines(utf8), ekTurtle); };
}

TEST(Debugger, AForLoopWithItsBodyOnOtherLinesStopsEveryRound) {
  const auto build = Text(
      "главная {\n"                                  // 0
      "  целые i, s;\n"                              // 1
      "  цикл (i = 0; i < 2; i = i + 1)\n"           // 2
      "    s = s + i;\n"                             // 3
      "}\n");                                        // 4
  const TDebugRun r = Debug(evStep, {{evStep}, {evStep}, {evStep}, {evStep}, {evStep}, {evStep}, {evStep}}, build);
  EXPECT_EQ(r.Highlights, (Lines{0, 2, 3, 2, 3, 2, 4}));
}

TEST(Debugger, SteppingThroughBreakAndContinueStopsAtEachLineReached) {
  const auto build = Text(
      "главная {\n"                          // 0
      "  целые i, s;\n"                      // 1
      "  пока (i < 5) {\n"                   // 2
      "    i = i + 1;\n"                     // 3
      "    если (i == 1) продолжить;\n"      // 4
      "    если (i == 2) прервать;\n"        // 5
      "    s = s + i;\n"                     // 6
      "  }\n"                                // 7
      "  s = s + 1; i = 0;\n"                // 8
      "}\n");                                // 9
  std::deque<TPress> steps(20, TPress{evStep});
  const TDebugRun r = Debug(evStep, steps, build);
  // After "продолжить" the condition is tested again without a stop of its own.
  EXPECT_EQ(r.Highlights, (Lines{0, 2, 3, 4, 3, 4, 5, 8, 9}));
}

TEST(Debugger, StopInsideAProcedureEndsWithTheStopReportOnly) {
  const auto build = Text(
      "главная {\n"          // 0
      "  f;\n"               // 1
      "}\n"                  // 2
      "f {\n"                // 3
      "  целые a;\n"         // 4
      "  a = 1;\n"           // 5
      "}\n");                // 6
  const TDebugRun r = Debug(evTrace, {{evTrace}, {evTrace}, {evStop}}, build);
  EXPECT_EQ(r.Highlights, (Lines{0, 1, 3, 5}));
  EXPECT_EQ(r.End, reStopped);
  EXPECT_EQ(r.Error, "");
}

}  // namespace
