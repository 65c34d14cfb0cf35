// A program compiled from its text and paused at a line by Run to cursor.
// While the object lives the worker waits inside the host's ShowVariables
// call, so the test reads the program's values on its own thread exactly as
// the window does.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "encoding.h"
#include "program.h"
#include "session.h"

class TPausedProgram {
 public:
  // utf8Text: the program; line: the 0-based line to pause at.
  TPausedProgram(const std::string& utf8Text, int line) : host_(*this), session_(host_, {}, false) {
    const std::string cp = Utf8ToCp1251(utf8Text);
    auto built = session_.RunTo(ProgramBuilder(ProgramLines(cp), 0, &host_), line);
    EXPECT_EQ(built, crStarted);
    if (built != crStarted) {
      if (session_.TranslationError()) ADD_FAILURE() << Cp1251ToUtf8(session_.TranslationError()->what());
      return;
    }
    auto ready = viewReady_.get_future();
    if (ready.wait_for(std::chrono::seconds(20)) != std::future_status::ready || !ready.get()) {
      ADD_FAILURE() << "the program never paused at line " << line << " " << error_;
      return;
    }
    paused_ = true;
  }
  ~TPausedProgram() {
    if (paused_) release_.set_value();
    session_.Stop();
    session_.Wait();
  }
  bool Paused() const { return paused_; }
  const TPauseView& View() const { return view_; }

 private:
  class THost : public TNullHost {
   public:
    explicit THost(TPausedProgram& owner) : owner_(owner) {}
    // Paused at the line: ask for the variables, which hands the view over.
    void HighlightLine(int) override {
      if (!asked_) owner_.session_.State().Events.Set(evVar);
      asked_ = true;
    }
    void ShowVariables(const TPauseView& view) override {
      owner_.view_ = view;
      owner_.viewReady_.set_value(true);
      owner_.release_.get_future().wait();
      owner_.session_.State().RequestStop();
    }

    void ReportError(int line, const std::string& text) override {
      owner_.error_ = std::to_string(line) + ": " + Cp1251ToUtf8(text);
      ReportRunEnd(reStopped);
    }
    // The worker ends its run: it never paused where it should have.
    void ReportRunEnd(TRunEnd) override {
      if (!asked_) owner_.viewReady_.set_value(false);
      asked_ = true;
    }

   private:
    TPausedProgram& owner_;
    bool asked_ = false;
  };

  THost host_;
  TRunSession session_;
  TPauseView view_;
  std::promise<bool> viewReady_;
  std::string error_;
  std::promise<void> release_;
  bool paused_ = false;
};
