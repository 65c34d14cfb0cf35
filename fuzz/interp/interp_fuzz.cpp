// Input: one byte choosing the run (its low three bits modulo 3 the
// executor kind; for Grondo, bit 3 takes the task away), then the program text as a file
// holds it (Windows-1251 or UTF-8, any line ends), then optionally a zero
// byte and the console input, one typed line per '\n'. Whatever compiles is
// run with a step budget, so endless loops end as a stop; a read past the
// input ends the run as a stop too. The run may end normally or with one of
// the language's exceptions; any other exception is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "errors.h"
#include "grid.h"
#include "grid_robot.h"
#include "interpreter.h"
#include "machine.h"
#include "procedure.h"
#include "program.h"
#include "random.h"
#include "texthost.h"

namespace {

// Enough for every seed program (1000-level recursion included) to finish,
// few enough that one input takes milliseconds under the sanitizers.
constexpr uint64_t kStepBudget = 50000;

// The end-to-end programs' ring: a corridor round a wall block, two garden
// beds, and Grondo on the base looking right.
const TMaze kField = {
    "wwwwww",
    "wDxx.w",
    "w.ww.w",
    "w....w",
    "wwwwww",
};

// Grondo's rules on the fuzzer's field, nothing drawn and nothing waited for
// (the window's executor does the same through the host).
class TFuzzGrondo : public TGenericGrondo, private TGrondoView {
 public:
  explicit TFuzzGrondo(bool withTask) : robot_(grid_, *this) {
    if (withTask) {
      grid_.TaskMaze = kField;
      grid_.Restore();
    }
  }
  int Kind() const override { return ekGrondo; }
  bool InField(int x, int y) const override { return grid_.InField(x, y); }
  void Execute(TProcedure& proc) override {
    const int n = proc.Vars.Count() > 0 ? proc.Vars[0].IntValue : 0;
    const bool answer = robot_.Execute(proc.Id, n);
    if (TGrondoRobot::IsSensor(proc.Id)) {
      proc.Result.Kind = dkLogical;
      proc.Result.BoolValue = answer ? 1 : 0;
    }
  }
  const TGrid& Grid() const { return grid_; }

 private:
  void CellChanged(int, int) override {}
  void Repaint() override { RequestRepaint(); }
  void Pause(int ms) override { Sleep(ms); }

  TGrid grid_;
  TGrondoRobot robot_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int kind = (data[0] & 7) % 3;
  const bool withTask = (data[0] & 8) == 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t zero = rest.find('\0');
  const std::string_view text = rest.substr(0, zero);
  std::string_view input = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
  bool haveInput = zero != std::string_view::npos;

  // TARMISY_FUZZ_VERBOSE=1 prints how each run ended, for triage.
  static const bool verbose = std::getenv("TARMISY_FUZZ_VERBOSE") != nullptr;
  std::unique_ptr<TPseudoCode> code;
  try {
    code = CompileProgram(ProgramLines(text), kind);
  } catch (const ECompileException& e) {
    if (verbose) std::fprintf(stderr, "translation error %d:%d: %s\n", e.Line + 1, e.Col, e.what());
    return 0;
  }

  TTextHost host(nullptr, [&](std::string& line) {
    if (!haveInput) return false;
    const size_t end = input.find('\n');
    line = input.substr(0, end);
    if (end == std::string_view::npos) haveInput = false;
    else input.remove_prefix(end + 1);
    return true;
  }, true);
  TRunState state;
  state.Events.Set(evRun);
  SetRandomSeed(0);  // as in a fresh process, so that a finding replays

  std::unique_ptr<TGenericGrondo> machine;
  if (kind == ekGrondo) machine = std::make_unique<TFuzzGrondo>(withTask);
  TExecutor executor(*code, host, state, std::move(machine));
  executor.StepLimit = kStepBudget;
  try {
    if (kind != ekGrondo) executor.Machine().ClearCanvas();
    executor.Machine().RequestRepaint();
    executor.Run();
  } catch (const ETarmisyException& e) {
    // The language's own failure: reported to the pupil as a message.
    if (verbose) std::fprintf(stderr, "line %d: %s\n", executor.CurLine + 1, e.what());
  } catch (...) {
    __builtin_trap();
  }
  executor.Unhighlight();
  const std::string console = host.Console().Text();
  if (verbose) std::fprintf(stderr, "%s\n[%s]\n", console.c_str(), state.StoppedByUser ? "stopped" : "ended");
  if (kind == ekGrondo && withTask)
    (void)TaskVerdict(static_cast<TFuzzGrondo&>(executor.Machine()).Grid());
  return 0;
}
