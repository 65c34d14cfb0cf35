// tarmisy-run: runs a program file without a window.
//
// Standard output is the console as the program writes it; standard error
// ends with the report the window would show (the error, the end-of-run
// message, the Grondo task verdict); the exit status tells the outcome:
// 0 normal end (for Grondo: solved, or no verdict due), 1 translation error,
// 2 run-time or executor error, 3 Grondo task not solved, 5 stopped (input
// ended, or interrupted), 64 bad command line, a file that cannot be read,
// or output that cannot be written (the picture, or the console text: a
// failed write stops the run, so that a full disk or a reader that went
// away never passes for a successful run).
//
// With --png the field picture is written after every run, also one that
// ended in an error or a stop (where Grondo stood when it failed is what a
// teacher wants to see) and one that never started because of a
// translation error (the field as the run would have started on it), so a
// picture left over from an earlier program is never mistaken for this
// one's.
//
// This file is the main program of both tarmisy-run, which links no Qt,
// and tarmisy-run-draw, to which tarmisy-run hands every run that needs the
// executors or a picture (runfield.h).
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "encoding.h"
#include "errors.h"
#include "files.h"
#include "formatter.h"
#include "handover.h"
#include "headless.h"
#include "listing.h"
#include "maze_file.h"
#include "options.h"
#include "program.h"
#include "program_html.h"
#include "runfield.h"
#include "string_table.h"
#include "terminal.h"

namespace {

// The statuses of a run are THeadlessStatus; a bad command line is 64.
constexpr int kUsage = 64;

volatile std::sig_atomic_t gInterrupted = 0;

void OnSignal(int) { gInterrupted = 1; }

// A file name as messages show it: the command line speaks the terminal's
// encoding, the messages are Windows-1251.
std::string Shown(const std::string& path, bool utf8) { return utf8 ? Utf8ToCp1251(path) : path; }

// The usage with the options for checking a class after the others.
std::string Usage() {
  std::string text = Str(sCliUsage);
  const size_t exits = text.find("\n", text.find("--encoding"));
  return exits == std::string::npos ? text + "\n" + Str(sCheckRunUsage)
                                    : text.insert(exits + 1, Str(sCheckRunUsage) + "\n");
}

// The numbers of a run for a program that checks many (tarmisy-check):
// one "key=value" line each.
bool WriteStats(const std::string& path, int status, const THeadlessStats& stats) {
  const char* end = status == hsOk ? "ok" : status == hsTranslation ? "translation" : status == hsNotSolved ? "not-solved" : "stopped";
  if (status == hsRunTime) end = stats.LoopLine >= 0 ? "loop" : "error";
  else if (status == hsStopped && stats.StepLimitReached) end = "step-limit";
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "instructions=" << stats.Instructions << "\nend=" << end << "\n";
  if (stats.LoopLine >= 0) out << "loop-line=" << stats.LoopLine + 1 << "\n";
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  KeepStandardDescriptors();
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const std::optional<TRunOptions> options = ParseOptions(args, error);
  // Messages before the options are known go out in UTF-8.
  TTerminalOut err(STDERR_FILENO, options ? options->Utf8 : true);
  if (!options) {
    err.Write("tarmisy-run: " + error + "\n" + Usage() + "\n");
    return kUsage;
  }
  const TRunOptions& o = *options;
  auto fail = [&](const std::string& message) {
    err.Write("tarmisy-run: " + message + "\n");
    return kUsage;
  };
  TTerminalOut out(STDOUT_FILENO, o.Utf8);
  if (o.Help) {
    out.Write(Usage() + "\n");
    return out.Flush() ? hsOk : fail(Str(sCliOutputFailed));
  }
  std::string bytes;
  if (!ReadProgramFile(o.Program, Shown(o.Program, o.Utf8), bytes, error)) return fail(error);
  const std::vector<std::string> lines = ProgramLines(bytes);
  bytes = std::string();

  if (!o.Html.empty()) {
    // Never over the program itself; a failed write leaves an older page.
    const std::string page = ProgramHtmlPage(Shown(o.Html, o.Utf8), lines);
    bool written = !SameFile(o.Html, o.Program);
    try {
      if (written) WriteFileSafely(o.Html, page);
    } catch (const EMazeFileError&) {
      written = false;
    }
    return written ? hsOk : fail(FormatStr(sCliCannotWrite, {Shown(o.Html, o.Utf8)}));
  }

  if (o.Format) {
    for (const std::string& line : FormattedProgram(lines)) out.Write(line + "\n");
    return out.Flush() ? hsOk : fail(Str(sCliOutputFailed));
  }

  if (o.Listing) {
    try {
      out.Write(Listing(*CompileProgram(lines, o.Executor)));
      return out.Flush() ? hsOk : fail(Str(sCliOutputFailed));
    } catch (const ECompileException& e) {
      err.Write(std::to_string(e.Line + 1) + ":" + std::to_string(e.Col) + ": " + e.Message() + "\n");
      return hsTranslation;
    }
  }

  int inputFd = STDIN_FILENO;
  if (!o.Input.empty()) {
    inputFd = OpenInputFile(o.Input, Shown(o.Input, o.Utf8), error);
    if (inputFd < 0) return fail(error);
  }
  if (!o.Stats.empty()) {
    if (SameFile(o.Stats, o.Program) || (!o.Task.empty() && SameFile(o.Stats, o.Task)) || SameFile(o.Stats, inputFd))
      return fail(FormatStr(sCheckStatsIsInput, {Shown(o.Stats, o.Utf8)}));
    if (!CanWrite(o.Stats)) return fail(FormatStr(sCliCannotWrite, {Shown(o.Stats, o.Utf8)}));
  }
  if (!o.Png.empty()) {
    // The picture replaces whatever its path names: never the pupil's
    // program, the teacher's task or the input.
    if (SameFile(o.Png, o.Program) || (!o.Task.empty() && SameFile(o.Png, o.Task)) || SameFile(o.Png, inputFd))
      return fail(FormatStr(sCliPictureIsInput, {Shown(o.Png, o.Utf8)}));
    if (!CanWrite(o.Png)) return fail(FormatStr(sCliCannotWrite, {Shown(o.Png, o.Utf8)}));
  }
  // The plain runner has no executors (runfield.h): a picture, or a
  // program that commands its executor, is the drawing runner's work.
  auto handOver = [&] {
    const std::string runner = DrawingRunner();
    HandOver(runner, argv);
    return fail(FormatStr(sCliCannotRead, {Shown(runner, o.Utf8)}));
  };
  if (!TRunField::kDraws && !o.Png.empty()) return handOver();
  std::unique_ptr<TRunField> field;
  try {
    field = std::make_unique<TRunField>(o.Executor, o.FieldWidth, o.FieldHeight, o.OriginX, o.OriginY, o.Task);
  } catch (const EMazeFileError& e) {
    return fail(e.Message());
  }
  const bool terminalOut = isatty(STDOUT_FILENO);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  // A closed terminal or a logged-out session: the run ends as a stop, and
  // the report and the picture are still written.
  std::signal(SIGHUP, OnSignal);

  THeadlessOptions run;
  run.ExecutorKind = o.Executor;
  run.EchoInput = !isatty(inputFd);
  run.Animate = o.Animate;
  // Console text that cannot be written stops the run: a program that
  // prints for ever would otherwise never end.
  run.Interrupted = [&out] { return gInterrupted != 0 || out.Failed(); };
  run.Factory = field->Factory();
  run.StepLimit = o.MaxSteps;
  run.CountInstructions = !o.Stats.empty();
  run.DetectLoops = o.DetectLoops;
  run.Prepare = [&](const TPseudoCode& code) {
    // Nothing has been said or written yet, and no thread but this one
    // runs: the process can become the drawing runner here.
    if (!TRunField::kDraws && code.UsesExecutor) {
      handOver();
      err.Flush();
      _exit(kUsage);
    }
    field->Prepare(code);
  };
  THeadlessStats stats;
  if (o.Executor == ekGrondo) run.Verdict = [&](std::string& text) { return field->Verdict(text); };
  std::unique_ptr<TLineReader> reader;
  // The report waits for the picture, so that it stays the last thing said.
  std::string report;
  int status = RunHeadless(
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
      [&](std::string_view text) { report += text; }, &stats);
  if (!out.Flush()) {
    // The run's own report would mislead: the stop was ours, and a normal
    // end is no success when what the program printed is lost.
    report.clear();
    status = fail(Str(sCliOutputFailed));
  }
  if (!o.Stats.empty() && !WriteStats(o.Stats, status, stats))
    status = fail(FormatStr(sCliCannotWrite, {Shown(o.Stats, o.Utf8)}));
  if (!o.Png.empty() && !field->SavePicture(o.Scale, o.Png))
    status = fail(FormatStr(sCliCannotWrite, {Shown(o.Png, o.Utf8)}));
  err.Write(report);
  return status;
}
