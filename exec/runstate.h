// The state one run shares between the window (or runner) and the worker.
//
// The window writes the commands and flags, the worker reads them, and the
// other way round for PausedCount and ErrorShown. Counters and flags are
// atomics, so no lock guards them; program values are another matter and
// are read by the window only while the worker waits in a host call.
#pragma once

#include <atomic>
#include <cstdint>

#include "events.h"

struct TRunState {
  TRunEvents Events;
  std::atomic<int> RunningCount{0};   // above 0 while a run exists
  std::atomic<int> PausedCount{0};    // above 0 while the worker waits at a line
  std::atomic<bool> StoppedByUser{false};
  std::atomic<bool> ErrorShown{false};
  std::atomic<bool> DebugRun{false};  // the last run command was Step, Trace or Run to
  std::atomic<int> RunToLine{-1};     // caret line of the last Run to cursor

  // Limits of a checked run (the headless runner's), set before it starts,
  // and what the run used of them once it has ended.
  uint64_t StepLimit = 0;     // steps before it ends as stopped; 0 none
  bool DetectLoops = false;   // end a run that returns to a state it was in
  bool CountInstructions = false;     // count into Executed
  std::atomic<uint64_t> Executed{0};  // instructions the run went through, when counted
  std::atomic<bool> StepLimitReached{false};  // the run ended at StepLimit
  std::atomic<int> LoopLine{-1};      // 0-based line of the loop found; -1 none

  // Sets Stop and StoppedByUser: ends a free-running program before its next
  // instruction, a pause at once, and a console read.
  void RequestStop() {
    StoppedByUser.store(true);
    Events.Set(evStop);
  }
};
