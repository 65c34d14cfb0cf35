// The window's side of the host contract without the window: calls from the
// worker are carried to the main thread and waited for.
//
// A window host is written for the main thread (it touches widgets). Wrap
// it in a TRelayHost and give the run session the relay: every call the
// worker makes is posted to the main thread's event loop, runs there, and
// the worker waits; an exception thrown there is re-thrown in the worker.
// Calls already made on the main thread run directly. Sleep stays on the
// worker.
//
// The main thread must keep its event loop running until the run has ended
// (the session's Running() is false); a worker waiting for a call that
// never runs would wait forever.
#pragma once

#include <functional>
#include <thread>

#include "host.h"

// Carries functions to the main thread and waits for them.
class TMainThreadCalls {
 public:
  // Queues a function on the main thread's event loop (returns at once).
  using TPost = std::function<void(std::function<void()>)>;

  // Made on the main thread.
  explicit TMainThreadCalls(TPost post) : post_(std::move(post)), main_(std::this_thread::get_id()) {}

  // Runs fn on the main thread and waits for it; re-throws what it throws.
  void Call(const std::function<void()>& fn) const;
  bool OnMainThread() const { return std::this_thread::get_id() == main_; }

 private:
  TPost post_;
  std::thread::id main_;
};

class TRelayHost : public TRunHost {
 public:
  TRelayHost(TRunHost& ui, const TMainThreadCalls& calls) : ui_(ui), calls_(calls) {}

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
  void RunOnMain(const std::function<void()>& fn) override;

 private:
  TRunHost& ui_;
  const TMainThreadCalls& calls_;
};
