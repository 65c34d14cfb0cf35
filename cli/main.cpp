// tarmisy-run: runs a program file without a window.
//
// Standard output is the console as the program writes it; standard error
// ends with the report the window would show (the error, the end-of-run
// message); the exit status tells the outcome: 0 normal end, 1 translation
// error, 2 run-time or executor error, 3 Grondo task not solved, 5 stopped
// (input ended, or interrupted), 64 bad command line or unreadable file.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <memory>
#include <sstream>

#include "errors.h"
#include "headless.h"
#include "listing.h"
#include "options.h"
#include "program.h"
#include "string_table.h"
#include "terminal.h"

namespace {

// The statuses of a run are THeadlessStatus; a bad command line is 64.
constexpr int kUsage = 64;

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
      return hsOk;
    } catch (const ECompileException& e) {
      err.Write(std::to_string(e.Line + 1) + ":" + std::to_string(e.Col) + ": " + e.Message() + "\n");
      return hsTranslation;
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

  THeadlessOptions run;
  run.ExecutorKind = o.Executor;
  run.EchoInput = !isatty(inputFd);
  run.Animate = o.Animate;
  run.Interrupted = [] { return gInterrupted != 0; };
  std::unique_ptr<TLineReader> reader;
  const int status = RunHeadless(
      lines, run,
      [&](std::string_view text) {
        out.Write(text);
        if (terminalOut && text.find('\n') != std::string_view::npos) out.Flush();
      },
      [&](std::string& line, const std::atomic<bool>& stop) {
        out.Flush();
        if (!reader) reader = std::make_unique<TLineReader>(inputFd, o.Utf8, stop);
        return reader->ReadLine(line);
      },
      [&](std::string_view text) {
        out.Flush();
        err.Write(text);
      });
  out.Flush();
  return status;
}
