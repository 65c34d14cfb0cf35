#include "relayhost.h"

#include <future>

void TMainThreadCalls::Call(const std::function<void()>& fn) const {
  if (OnMainThread()) {
    fn();
    return;
  }
  std::promise<void> done;
  std::future<void> result = done.get_future();
  post_([&fn, &done] {
    try {
      fn();
      done.set_value();
    } catch (...) {
      done.set_exception(std::current_exception());
    }
  });
  result.get();
}

void TRelayHost::ConsoleAppend(std::string_view text) {
  calls_.Call([&] { ui_.ConsoleAppend(text); });
}
void TRelayHost::ConsoleNewLine() {
  calls_.Call([&] { ui_.ConsoleNewLine(); });
}
void TRelayHost::ConsoleClear() {
  calls_.Call([&] { ui_.ConsoleClear(); });
}
bool TRelayHost::ConsoleRead(TInputMode mode, std::string& text) {
  bool ok = false;
  calls_.Call([&] { ok = ui_.ConsoleRead(mode, text); });
  return ok;
}
void TRelayHost::HighlightLine(int line) {
  calls_.Call([&] { ui_.HighlightLine(line); });
}
void TRelayHost::UnhighlightLine() {
  calls_.Call([&] { ui_.UnhighlightLine(); });
}
void TRelayHost::ShowVariables(const TPauseView& view) {
  calls_.Call([&] { ui_.ShowVariables(view); });
}
void TRelayHost::ShowValueHint(const TPauseView& view) {
  calls_.Call([&] { ui_.ShowValueHint(view); });
}
void TRelayHost::ClearCanvas() {
  calls_.Call([&] { ui_.ClearCanvas(); });
}
void TRelayHost::RepaintField() {
  calls_.Call([&] { ui_.RepaintField(); });
}
void TRelayHost::Sleep(int ms) { ui_.Sleep(ms); }
void TRelayHost::ReportError(int line, const std::string& text) {
  calls_.Call([&] { ui_.ReportError(line, text); });
}
void TRelayHost::ReportRunEnd(TRunEnd end) {
  calls_.Call([&] { ui_.ReportRunEnd(end); });
}
void TRelayHost::RunOnMain(const std::function<void()>& fn) { calls_.Call(fn); }
