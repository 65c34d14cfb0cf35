// The seven commands the window gives a running program.
//
// Each event is set by the main thread and polled or waited for by the
// worker. Run and RunTo are manual-reset: once set they stay in force across
// many line markers. The others are one-shot (auto-reset): a successful poll
// or wait consumes them. The worker polls Stop many times a millisecond, so
// its state is mirrored in an atomic that costs one load, not a lock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

enum TRunEvent : int {
  evRun = 0,      // "Grondo.Run.Event", manual reset
  evRunTo = 1,    // "Grondo.RunTo.Event", manual reset
  evStep = 2,     // "Grondo.Step.Event"
  evTrace = 3,    // "Grondo.Trace.Event"
  evStop = 4,     // "Grondo.Stop.Event"
  evVar = 5,      // "Grondo.Var.Event"
  evVarHint = 6,  // "Grondo.Var.Hint.Event"
  evCount = 7
};

class TRunEvents {
 public:
  // Signals event e and wakes a waiting worker.
  void Set(int e);
  // Clears event e.
  void Reset(int e);
  // True when event e is signalled (does not consume it).
  bool IsSet(int e) const { return (bits_.load(std::memory_order_acquire) >> e) & 1u; }
  // The lowest signalled event among those in mask (bit e = event e), or -1;
  // consumes it when it is auto-reset.
  int Poll(unsigned mask);
  // Waits until one of the events is signalled and returns the lowest one,
  // consuming it when it is auto-reset.
  int WaitAny();
  // Clears all seven.
  void ResetAll();

  // The per-instruction poll: true when Stop is signalled (consumed).
  bool StopRequested() {
    return (bits_.load(std::memory_order_relaxed) & (1u << evStop)) && Poll(1u << evStop) == evStop;
  }

 private:
  static bool IsManual(int e) { return e == evRun || e == evRunTo; }
  int TakeLowest(unsigned mask);  // under mutex_

  std::mutex mutex_;
  std::condition_variable changed_;
  std::atomic<uint32_t> bits_{0};
};
