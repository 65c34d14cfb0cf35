#include "texthost.h"

#include <chrono>
#include <thread>

TTextHost::TTextHost(TOutput output, TInput input, bool echoInput)
    : output_(std::move(output)), input_(std::move(input)), echo_(echoInput) {}

void TTextHost::Out(std::string_view text) {
  if (text.empty()) return;
  if (output_) output_(text);
  atLineStart_ = text.back() == '\n';
}

void TTextHost::ConsoleAppend(std::string_view text) {
  console_.Append(text);
  if (!text.empty()) skipLineBreak_ = false;
  Out(text);
}

void TTextHost::ConsoleNewLine() {
  if (console_.AddLine("")) {
    if (!skipLineBreak_) Out("\n");
  }
  skipLineBreak_ = false;
}

void TTextHost::ConsoleClear() {
  // What was written stays written; the console just starts again.
  console_.Clear();
}

bool TTextHost::ConsoleRead(TInputMode, std::string& text) {
  text.clear();
  if (console_.BeginInput() && !skipLineBreak_) Out("\n");
  skipLineBreak_ = false;
  if (!input_ || !input_(text)) {
    text.clear();
    return false;
  }
  console_.Append(text);
  if (echo_) {
    Out(text);
  } else {
    // The terminal has shown the typed line and its Enter.
    atLineStart_ = true;
    skipLineBreak_ = true;
  }
  return true;
}

void TTextHost::Sleep(int ms) {
  if (Animate && ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void TTextHost::ReportError(int line, const std::string& text) {
  errorLine_ = line;
  error_ = text;
}

void TTextHost::ReportRunEnd(TRunEnd end) { end_ = end; }

void TTextHost::Finish() {
  if (!atLineStart_) Out("\n");
}
