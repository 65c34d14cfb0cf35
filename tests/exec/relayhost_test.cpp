// The relay host: calls from the worker run on the main thread, in order,
// with their exceptions carried back.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>

#include "asm.h"
#include "relayhost.h"

namespace {

// A main thread's event loop in miniature: the test thread runs the queue.
class TLoop {
 public:
  void Post(std::function<void()> fn) {
    {
      std::lock_guard<std::mutex> lock(m_);
      q_.push_back(std::move(fn));
    }
    cv_.notify_all();
  }
  // Runs queued functions until done() holds.
  void RunUntil(const std::function<bool()>& done) {
    for (;;) {
      std::function<void()> fn;
      {
        std::unique_lock<std::mutex> lock(m_);
        if (!cv_.wait_for(lock, std::chrono::milliseconds(2), [&] { return !q_.empty(); })) {
          if (done()) return;
          continue;
        }
        fn = std::move(q_.front());
        q_.pop_front();
      }
      fn();
    }
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> q_;
};

// A window host: records the thread each call ran on.
class TUiHost : public TNullHost {
 public:
  void ConsoleAppend(std::string_view t) override {
    Main = Main && std::this_thread::get_id() == main;
    Text += t;
  }
  void ReportRunEnd(TRunEnd e) override {
    Main = Main && std::this_thread::get_id() == main;
    End = e;
  }
  void RepaintField() override {
    if (FailPaint) throw EGrondoException("paint");
  }
  bool FailPaint = false;
  std::thread::id main = std::this_thread::get_id();
  bool Main = true;
  std::string Text;
  std::optional<TRunEnd> End;
};

TEST(RelayHost, WorkerCallsRunOnTheMainThread) {
  TLoop loop;
  TMainThreadCalls calls([&](std::function<void()> fn) { loop.Post(std::move(fn)); });
  TUiHost ui;
  TRelayHost relay(ui, calls);
  TRunSession session(relay, {}, false);
  auto build = [] {
    TAsm a;
    const int m = a.Proc(dkVoid);
    a.Entry(m);
    a.Emit({opNop, opLine, 0});
    a.Text("раз ");
    a.Text("два");
    a.Emit({opReturn, opEnd});
    return std::move(a.code);
  };
  ASSERT_EQ(session.Run(build), crStarted);
  loop.RunUntil([&] { return !session.Running(); });
  session.Wait();
  EXPECT_TRUE(ui.Main);
  EXPECT_EQ(Cp1251ToUtf8(ui.Text), "раз два");
  EXPECT_EQ(ui.End, reFinished);
}

TEST(RelayHost, ExceptionsComeBackToTheWorkerAndMainThreadCallsRunDirectly) {
  TLoop loop;
  TMainThreadCalls calls([&](std::function<void()> fn) { loop.Post(std::move(fn)); });
  TUiHost ui;
  ui.FailPaint = true;
  TRelayHost relay(ui, calls);
  relay.ConsoleAppend("direct");  // on the main thread: no queue involved
  EXPECT_EQ(ui.Text, "direct");
  std::string caught;
  std::thread worker([&] {
    try {
      relay.RepaintField();
    } catch (const EGrondoException& e) {
      caught = e.Message();
    }
  });
  loop.RunUntil([&] { return !caught.empty(); });
  worker.join();
  EXPECT_EQ(caught, "paint");
}

}  // namespace
