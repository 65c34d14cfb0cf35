// tarmisy-run: runs a program file without a window.
//
// Standard output is the console as the program writes it; standard error
// ends with the report the window would show (the error, the end-of-run
// message); the exit status tells the outcome: 0 normal end, 1 translation
// error, 2 run-time or executor error, 3 Grondo task not solved, 5 stopped
// (input ended, or interrupted), 64 bad command line or unreadable file.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "errors.h"
#include "listing.h"
#include "options.h"
#include "program.h"
#include "session.h"
#include "string_table.h"
#include "terminal.h"
#include "texthost.h"

namespace {

enum TExitCode { kOk = 0, kTranslation = 1, kRunTime = 2, kNotSolved = 3, kStopped = 5, kUsage = 64 };

volatile std::sig_atomic_t gInterrupted = 0;

void OnSignal(int) { gInterrupted = 1; }

bool ReadFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  if (in.bad()) return false;
  bytes = s.str();
  return true;
}

std::string TranslationErrorText(const ECompileException& e) {
  return std::to_string(e.Line + 1) + ":" + std::to_string(e.Col) + ": " + e.Message() + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const std::optional<TRunOptions> options = ParseOptions(args, error);
  // Messages before the options are known go out in UTF-8.
  TTerminalOut err(STDERR_FILENO, options ? options->Utf8 : true);
  if (!options) {
    err.Write("tarmisy-run: " + error + "\n" + Str(sCliUsage) + "\n");
    return kUsage;
  }
  const TRunOptions& o = *options;
  if (!o.Unsupported.empty()) {
    err.Write("tarmisy-run: " + FormatStr(sCliNotAvailable, {o.Unsupported.front()}) + "\n");
    return kUsage;
  }
  std::string bytes;
  if (!ReadFile(o.Program, bytes)) {
    err.Write("tarmisy-run: " + FormatStr(sCliCannotRead, {o.Program}) + "\n");
    return kUsage;
  }
  const std::vector<std::string> lines = ProgramLines(bytes);
  TTerminalOut out(STDOUT_FILENO, o.Utf8);

  if (o.Listing) {
    try {
      out.Write(Listing(*CompileProgram(lines, o.Executor)));
      return kOk;
    } catch (const ECompileException& e) {
      err.Write(TranslationErrorText(e));
      return kTranslation;
    }
  }

  int inputFd = STDIN_FILENO;
  if (!o.Input.empty()) {
    inputFd = open(o.Input.c_str(), O_RDONLY | O_CLOEXEC);
    if (inputFd < 0) {
      err.Write("tarmisy-run: " + FormatStr(sCliCannotRead, {o.Input}) + "\n");
      return kUsage;
    }
  }
  const bool terminalOut = isatty(STDOUT_FILENO);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);

  // The host needs the session's stop flag and the session needs the host:
  // the reader is made once the session exists.
  std::unique_ptr<TLineReader> reader;
  TTextHost host(
      [&](std::string_view text) {
        out.Write(text);
        if (terminalOut && text.find('\n') != std::string_view::npos) out.Flush();
      },
      [&](std::string& line) {
        out.Flush();
        return reader->ReadLine(line);
      },
      !isatty(inputFd));
  host.Animate = o.Animate;
  TRunSession session(host, {}, false);
  reader = std::make_unique<TLineReader>(inputFd, o.Utf8, session.State().StoppedByUser);

  if (session.Run(ProgramBuilder(lines, o.Executor, &host)) == crTranslationError) {
    err.Write(TranslationErrorText(*session.TranslationError()));
    return kTranslation;
  }
  while (session.Running()) {
    if (gInterrupted) session.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  session.Wait();
  host.Finish();
  out.Flush();

  if (host.HasError()) {
    const std::string where = host.ErrorLine() >= 0 ? std::to_string(host.ErrorLine() + 1) + ": " : "";
    err.Write(where + host.ErrorText() + "\n");
    return kRunTime;
  }
  const TRunEnd end = host.End().value_or(reFinished);
  err.Write(RunEndText(end) + "\n");
  return end == reStopped ? kStopped : kOk;
}
