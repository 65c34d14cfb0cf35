// One run without a window, start to finish: compile, run, report, and the
// exit status a script can test. The headless runner is this plus a
// terminal; tests run program files through it in-process.
//
//   0 normal end (for Grondo: task solved, or no verdict due)
//   1 translation error          2 run-time or executor error
//   3 Grondo task not solved     5 stopped (input ended, or interrupted)
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "machine.h"
#include "pcode.h"
#include "texthost.h"

enum THeadlessStatus : int { hsOk = 0, hsTranslation = 1, hsRunTime = 2, hsNotSolved = 3, hsStopped = 5 };

struct THeadlessOptions {
  int ExecutorKind = ekTurtle;
  bool EchoInput = true;   // typed lines are shown in the output (input not from a terminal)
  bool Animate = false;    // keep the executors' animation pauses
  TExecutorFactory Factory;  // the executor of the run (none: commands do nothing)
  // Judges a Grondo task when a verdict is due: true when solved, with the
  // verdict's text. Without it a due verdict reports a plain normal end.
  std::function<bool(std::string& text)> Verdict;
  // Polled while the program runs; true stops it (an interrupt).
  std::function<bool()> Interrupted;
  // Steps (loop rounds, calls of procedures written above) the run may make
  // before it ends as stopped; 0 none.
  uint64_t StepLimit = 0;
  // End at once, with a run-time error, a run that returns to a state it was
  // in before (loop_guard.h).
  bool DetectLoops = false;
  // Count the instructions the run goes through (THeadlessStats::Instructions,
  // else 0); it slows every instruction a little.
  bool CountInstructions = false;
  // Called with the translated program on the calling thread before the run
  // starts (never after a translation error): the place to set up what only
  // some programs need.
  std::function<void(const TPseudoCode&)> Prepare;
};

// What a headless run used, for a report in numbers.
struct THeadlessStats {
  uint64_t Instructions = 0;  // instructions the run went through, when counted
  bool StepLimitReached = false;
  int LoopLine = -1;          // 0-based line of a certain endless loop; -1 none
};

// Runs lines. Console text goes to output as the program writes it (with
// a final line break when the last line is not empty); the report the
// window would show goes to report: "LINE:COL: message" for a translation
// error, "LINE: message" for a run-time error (1-based lines), else the
// end-of-run message or verdict; each report ends with '\n'. Input lines
// come from input, which is given the run's stop flag to watch. Texts are
// Windows-1251.
int RunHeadless(const std::vector<std::string>& lines, const THeadlessOptions& options,
                const TTextHost::TOutput& output,
                const std::function<bool(std::string& line, const std::atomic<bool>& stop)>& input,
                const std::function<void(std::string_view)>& report, THeadlessStats* stats = nullptr);
