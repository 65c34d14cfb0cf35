// tarmisy-check: checks a whole class against a task pack in one command.
//
//   tarmisy-check TASK PROGRAMS... --out REPORT_DIR [-j N] [--time-limit S] ...
//
// Every program runs once per field of the task and once per console test,
// each run a tarmisy-run process of its own (a crash or a hang costs that
// run only), a few at a time. The results go to REPORT_DIR/report.csv and
// REPORT_DIR/index.html, the pictures also to REPORT_DIR/pictures/.
// Exit status: 0 every program was checked (whatever its verdicts), 64 bad
// arguments, 2 the check itself failed (the runner missing or failing, a
// report that cannot be written, an interrupt).
#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include "errors.h"
#include "grid.h"
#include "grid_robot.h"
#include "jobs.h"
#include "machine.h"
#include "maze_file.h"
#include "program.h"
#include "report.h"
#include "task_pack.h"
#include "texts.h"
#include "verdict.h"

namespace fs = std::filesystem;

namespace {

constexpr int kUsage = 64;
constexpr int kFailed = 2;

volatile std::sig_atomic_t gInterrupted = 0;
void OnSignal(int) { gInterrupted = 1; }

struct TCheckOptions {
  std::string Task;
  std::vector<std::string> Programs;
  std::string Out;
  std::string Runner;
  std::string Executor = "turtle";
  int Parallel = 0;
  double TimeLimit = 10;
  uint64_t MaxSteps = 10'000'000;
  double Threshold = 0.8;
  bool Help = false;
};

bool ParseArgs(const std::vector<std::string>& args, TCheckOptions& o, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = Cp1251ToUtf8(FormatStr(sCliMissingValue, {a}));
        return false;
      }
      out = args[++i];
      return true;
    };
    auto number = [&](double lo, double hi, double& out) {
      std::string v;
      if (!value(v)) return false;
      char* end = nullptr;
      out = std::strtod(v.c_str(), &end);
      if (v.empty() || *end || !(out >= lo && out <= hi)) {
        error = Cp1251ToUtf8(FormatStr(sCliBadValue, {a, Cp(v)}));
        return false;
      }
      return true;
    };
    double n = 0;
    if (a == "--out") {
      if (!value(o.Out)) return false;
    } else if (a == "--runner") {
      if (!value(o.Runner)) return false;
    } else if (a == "-j" || a == "--jobs") {
      if (!number(1, 256, n)) return false;
      o.Parallel = static_cast<int>(n);
    } else if (a == "--time-limit") {
      if (!number(0.1, 86400, o.TimeLimit)) return false;
    } else if (a == "--max-steps") {
      if (!number(1, 1e18, n)) return false;
      o.MaxSteps = static_cast<uint64_t>(n);
    } else if (a == "--similarity") {
      if (!number(1, 100, n)) return false;
      o.Threshold = n / 100;
    } else if (a == "--executor") {
      if (!value(o.Executor)) return false;
      if (o.Executor != "turtle" && o.Executor != "drawer") {
        error = Cp1251ToUtf8(FormatStr(sCliBadValue, {a, Cp(o.Executor)}));
        return false;
      }
    } else if (a == "--help" || a == "-h") {
      o.Help = true;
    } else if (a.size() > 1 && a[0] == '-') {
      error = Cp1251ToUtf8(FormatStr(sCliUnknownOption, {Cp(a)}));
      return false;
    } else if (o.Task.empty()) {
      o.Task = a;
    } else {
      o.Programs.push_back(a);
    }
  }
  if (o.Help) return true;
  if (o.Task.empty() || o.Programs.empty()) {
    error = U8(sCheckNoPrograms);
    return false;
  }
  if (o.Out.empty()) {
    error = U8(sCheckNoOut);
    return false;
  }
  return true;
}

// The runner beside this program, or in the build tree's cli/ beside its
// folder.
std::string FindRunner() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "tarmisy-run";
  for (const fs::path& p : {self.parent_path() / "tarmisy-run", self.parent_path().parent_path() / "cli" / "tarmisy-run"})
    if (fs::exists(p, ec)) return p.string();
  return (self.parent_path() / "tarmisy-run").string();
}

// A name safe for a file: the program's name with anything odd replaced.
std::string FileStem(const std::string& name, size_t index) {
  std::string s = std::to_string(index + 1) + "-";
  for (const char c : fs::path(name).stem().string())
    s += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || (c & 0x80)) ? c : '_';
  return s;
}

// What Grondo's verdict says of the field as the task gives it: the
// verdict of a program that never moves him.
TTaskVerdict InitialVerdict(const std::string& field) {
  TGrid grid;
  try {
    LoadMaze(grid, field);
  } catch (const EMazeFileError& e) {
    return TTaskVerdict{false, e.Message()};
  }
  grid.Restore();
  TTaskVerdict v = TaskVerdict(grid);
  std::string text;
  for (const char c : v.Text)
    if (c != '\r') text += c;
  v.Text = Cp1251ToUtf8(text);
  return v;
}

// The progress line of a terminal, redrawn in place.
class TProgress {
 public:
  TProgress(size_t total, bool terminal) : total_(total), terminal_(terminal) {}
  void Update(size_t done, size_t running, size_t failed) {
    if (!terminal_) return;
    winsize ws{};
    const int width = ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 30 ? ws.ws_col : 80;
    const std::string text = U8(sCheckProgress, {static_cast<int>(done), static_cast<int>(total_),
                                                 static_cast<int>(running), static_cast<int>(failed)});
    const int bar = std::max(10, std::min(30, width - 60));
    const int filled = total_ ? static_cast<int>(bar * done / total_) : bar;
    std::string line = "\r[" + std::string(static_cast<size_t>(filled), '#') + std::string(static_cast<size_t>(bar - filled), '-') + "] " + text + "\x1b[K";
    std::cerr << line << std::flush;
  }
  void Line(const std::string& text) {
    if (terminal_) std::cerr << "\r\x1b[K";
    std::cerr << text << "\n" << std::flush;
  }
  void Finish() {
    if (terminal_) std::cerr << "\n" << std::flush;
  }

 private:
  size_t total_;
  bool terminal_;
};

}  // namespace

int main(int argc, char** argv) {
  TCheckOptions o;
  std::string error;
  if (!ParseArgs(std::vector<std::string>(argv + 1, argv + argc), o, error)) {
    std::cerr << "tarmisy-check: " << error << "\n" << U8(sCheckUsage) << "\n";
    return kUsage;
  }
  if (o.Help) {
    std::cout << U8(sCheckUsage) << "\n";
    return 0;
  }
  TTaskPack pack;
  std::vector<std::string> files;
  if (!LoadTaskPack(o.Task, pack, error) || !CollectPrograms(o.Programs, files, error)) {
    std::cerr << "tarmisy-check: " << error << "\n";
    return kUsage;
  }
  const std::string runner = o.Runner.empty() ? FindRunner() : o.Runner;
  if (access(runner.c_str(), X_OK) != 0) {
    std::cerr << "tarmisy-check: " << U8(sCheckNoRunner, {Cp(runner)}) << "\n";
    return kFailed;
  }
  const fs::path out(o.Out);
  const fs::path pictures = out / "pictures";
  const fs::path work = out / ".work";
  std::error_code ec;
  fs::create_directories(pictures, ec);
  if (!ec) fs::create_directories(work, ec);
  if (ec) {
    std::cerr << "tarmisy-check: " << U8(sCheckCannotWrite, {Cp(o.Out)}) << "\n";
    return kFailed;
  }

  // The columns: every field, every console test; a pack of neither has
  // none, which cannot be (LoadTaskPack refuses it).
  TClassReport report;
  report.TaskName = pack.Name;
  report.Wording = pack.Wording;
  const bool grondo = !pack.Fields.empty();
  const int kind = grondo ? ekGrondo : o.Executor == "drawer" ? ekDrawer : ekTurtle;
  std::vector<TTaskVerdict> initial;
  for (const std::string& f : pack.Fields) {
    report.Columns.push_back({U8(sCheckFieldColumn, {Cp(fs::path(f).filename().string())}), true});
    initial.push_back(InitialVerdict(f));
  }
  for (const TConsoleTest& t : pack.Tests) report.Columns.push_back({U8(sCheckTestColumn, {Cp(t.Name)}), false});
  const size_t columns = report.Columns.size();

  // Each program: its text, its normalised code, whether it moves Grondo.
  std::vector<std::vector<std::string>> codes(files.size());
  std::vector<bool> usesGrondo(files.size(), true);
  for (size_t i = 0; i < files.size(); ++i) {
    TProgramResult p;
    p.Name = fs::path(files[i]).filename().string();
    std::string bytes;
    ReadWholeFile(files[i], bytes);
    const std::vector<std::string> lines = ProgramLines(bytes);
    for (const std::string& l : lines) p.Lines.push_back(Cp1251ToUtf8(l));
    try {
      const std::unique_ptr<TPseudoCode> code = CompileProgram(lines, kind);
      codes[i] = NormalisedCode(*code);
      usesGrondo[i] = code->UsesExecutor;
    } catch (...) {
      // The runner reports the translation error.
    }
    p.Cells.resize(columns);
    report.Programs.push_back(std::move(p));
  }

  // The runs.
  std::vector<TJob> jobs;
  std::vector<std::string> pngs, stats;
  for (size_t i = 0; i < files.size(); ++i) {
    for (size_t c = 0; c < columns; ++c) {
      TJob job;
      const std::string stem = FileStem(report.Programs[i].Name, i) + "-" + std::to_string(c + 1);
      const bool field = c < pack.Fields.size();
      pngs.push_back(field || pack.Tests.empty() ? (pictures / (stem + ".png")).string() : std::string());
      stats.push_back((work / (stem + ".stats")).string());
      job.Argv = {runner, "--encoding", "utf8", "--detect-loops", "--max-steps", std::to_string(o.MaxSteps),
                  "--stats", stats.back()};
      if (field) job.Argv.insert(job.Argv.end(), {"--task", pack.Fields[c]});
      else job.Argv.insert(job.Argv.end(), {"--executor", grondo ? "grondo" : o.Executor});
      if (!pngs.back().empty()) job.Argv.insert(job.Argv.end(), {"--png", pngs.back()});
      job.Argv.push_back(files[i]);
      if (!field) job.Stdin = pack.Tests[c - pack.Fields.size()].InputPath;
      jobs.push_back(std::move(job));
    }
  }

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  const int parallel = o.Parallel > 0 ? o.Parallel : std::max(1u, std::thread::hardware_concurrency());
  TProgress progress(files.size(), isatty(STDERR_FILENO));
  std::vector<size_t> left(files.size(), columns), startedRuns(files.size(), 0);
  size_t done = 0, running = 0, failed = 0;
  bool checkFailed = false;
  progress.Update(0, 0, 0);
  TJobPool pool(parallel, o.TimeLimit);
  pool.Run(
      jobs,
      [&](size_t j) {
        if (startedRuns[j / columns]++ == 0) ++running;
        progress.Update(done, running, failed);
      },
      [&](size_t j, const TJobResult& run) {
        const size_t i = j / columns, c = j % columns;
        TProgramResult& p = report.Programs[i];
        TCheckCell& cell = p.Cells[c];
        std::string numbers;
        ReadWholeFile(stats[j], numbers);
        TRunContext context;
        context.Grondo = c < pack.Fields.size();
        context.UsesGrondo = usesGrondo[i];
        if (context.Grondo) {
          context.InitialSolved = initial[c].Solved;
          context.InitialVerdict = initial[c].Text;
        } else {
          context.Expected = &pack.Tests[c - pack.Fields.size()].Expected;
          context.Typed = &pack.Tests[c - pack.Fields.size()].Typed;
        }
        context.TimeLimit = o.TimeLimit;
        context.StepLimit = o.MaxSteps;
        cell.Verdict = JudgeRun(run, numbers, context);
        if (!context.Grondo && pack.Tests.empty()) cell.Verdict.Kind = cell.Verdict.Kind == vkPassed ? vkFinished : cell.Verdict.Kind;
        if (cell.Verdict.Kind == vkCrashed) checkFailed = true;
        cell.Output = TextAsUtf8(run.Out);
        cell.Instructions = std::strtoull(StatValue(numbers, "instructions").c_str(), nullptr, 10);
        cell.Seconds = run.Seconds;
        if (!pngs[j].empty()) ReadWholeFile(pngs[j], cell.Png);
        if (--left[i] == 0) {
          ++done;
          if (startedRuns[i] > 0) --running;
          const TOverall overall = Overall(p);
          if (overall != ovSolved) ++failed;
          const std::string word = overall == ovSolved ? U8(sCsvVerdictSolved)
                                   : overall == ovNotSolved ? U8(sVkNotSolved) : U8(sCsvVerdictErrors);
          if (!isatty(STDERR_FILENO))
            progress.Line(U8(sCheckProgramDone, {static_cast<int>(done), static_cast<int>(files.size()), Cp(p.Name), Cp(word)}));
        }
        progress.Update(done, running, failed);
      },
      [] { return gInterrupted != 0; });
  progress.Finish();
  fs::remove_all(work, ec);
  if (gInterrupted) {
    std::cerr << "tarmisy-check: " << U8(sCheckInterrupted) << "\n";
    return kFailed;
  }

  report.Similar = FindSimilar(codes, o.Threshold);
  for (const auto& [name, text] : {std::pair{"report.csv", CsvReport(report)}, std::pair{"index.html", HtmlReport(report)}}) {
    const fs::path path = out / name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file.flush()) {
      std::cerr << "tarmisy-check: " << U8(sCheckCannotWrite, {Cp(path.string())}) << "\n";
      return kFailed;
    }
  }
  std::cerr << U8(sCheckWritten, {Cp((out / "index.html").string())}) << "\n";
  return checkFailed ? kFailed : 0;
}
