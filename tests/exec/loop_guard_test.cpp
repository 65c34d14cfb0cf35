// The loop guard ends runs that can never end, and only those.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "encoding.h"
#include "headless.h"
#include "procedure.h"
#include "program.h"

namespace {

struct TOutcome {
  int Status = -1;
  int LoopLine = -1;  // 1-based
  std::string Report;
  THeadlessStats Stats;
};

TOutcome Guarded(const std::string& utf8, int kind = ekTurtle, TExecutorFactory factory = {}, uint64_t steps = 20'000'000) {
  THeadlessOptions o;
  o.ExecutorKind = kind;
  o.DetectLoops = true;
  o.StepLimit = steps;
  o.CountInstructions = true;
  o.Factory = std::move(factory);
  TOutcome r;
  r.Status = RunHeadless(ProgramLines(Utf8ToCp1251(utf8)), o, [](std::string_view) {}, nullptr,
                         [&](std::string_view text) { r.Report += text; }, &r.Stats);
  r.LoopLine = r.Stats.LoopLine >= 0 ? r.Stats.LoopLine + 1 : -1;
  return r;
}

TEST(LoopGuard, EndsARunThatReturnsToAStateItWasIn) {
  const struct {
    const char* text;
    int line;
  } cases[] = {
      {"главная { пока (истина) ; }", 1},
      {"главная {\n  целые i = 5;\n  пока (i > 0) {\n    i = i * 1;\n  }\n}", 3},
      // A cycle of three rounds through a procedure with a local.
      {"главная {\n  целые i = 0;\n  пока (истина) {\n    i = (i + 1) % 3;\n    f(i);\n  }\n}\n"
       "f(целые x) {\n  целые y;\n  y = x * 2;\n}",
       3},
      {"главная {\n  целые i;\n  цикл (i = 0; i < 10; i = i) {}\n}", 3},
  };
  for (const auto& c : cases) {
    const TOutcome r = Guarded(c.text);
    EXPECT_EQ(r.Status, hsRunTime) << c.text;
    EXPECT_EQ(r.LoopLine, c.line) << c.text;
    EXPECT_EQ(Cp1251ToUtf8(r.Report), std::to_string(c.line) + ": программа зациклилась: строка " +
                                          std::to_string(c.line) + " повторяется с теми же значениями\n")
        << c.text;
    EXPECT_LT(r.Stats.Instructions, 100'000u) << "found late: " << c.text;
  }
}

TEST(LoopGuard, NeverEndsARunThatEnds) {
  // Loops that go round many times on the same line, with only a hidden
  // counter, a string, an array element or a deeper activation changing.
  for (const char* text : {
           "главная { целые i; повтори (50000) i = 1; выводстр i; }",
           "главная { целые i = 0; пока (i < 100000) i = i + 1; выводстр i; }",
           "главная { символы s[2000]; пока (длина(s) < 1500) s = s + \"a\"; }",
           "главная { целые a[100]; целые i; цикл (i = 0; i < 30000; i = i + 1) a[i % 100] = a[i % 100] + 1; }",
           "главная { целые i = 0; пока (истина) { i = i + 1; если (i == 30000) break; } }",
           "главная { целые n = 0; внешняя(n); }\nвнешняя(целые n) { повтори (300) внутренняя(n); }\n"
           "внутренняя(целые n) { целые k; повтори (100) k = n; }",
           "главная { выводстр fib(18); }\n"
           "целые fib(целые n) { если (n < 2) возврат n; возврат fib(n - 1) + fib(n - 2); }",
           // Each draw moves the generator on, even when nothing else changes.
           "главная { целые n = 0; пока (n < 8) если (random(4) == 1) n = n + 1; иначе n = 0; }",
       }) {
    const TOutcome r = Guarded(text);
    EXPECT_EQ(r.Status, hsOk) << text << "\n" << Cp1251ToUtf8(r.Report);
    EXPECT_EQ(r.LoopLine, -1) << text;
  }
}

TEST(LoopGuard, AStateThatKeepsChangingRunsToTheStepBudget) {
  const TOutcome r = Guarded("главная { целые n = 0; пока (истина) n = n + 1; }", ekTurtle, {}, 200'000);
  EXPECT_EQ(r.Status, hsStopped);
  EXPECT_TRUE(r.Stats.StepLimitReached);
  EXPECT_EQ(r.LoopLine, -1);
}

TEST(LoopGuard, ReadingTheConsoleTurnsItOff) {
  // Each read may change what follows, so nothing is judged; the end of the
  // input ends the run.
  const TOutcome r = Guarded("главная { целые x; пока (истина) ввод x; }");
  EXPECT_EQ(r.Status, hsStopped);
  EXPECT_EQ(r.LoopLine, -1);
}

TEST(LoopGuard, AnInputThatEndsIsNoSpentBudget) {
  // More instructions than steps allowed, but no step taken: the run stops
  // because the input ended, and says so.
  const TOutcome r = Guarded("главная { целые x, y; x = 1; y = 2; x = 3; y = 4; ввод x; }", ekTurtle, {}, 2);
  EXPECT_EQ(r.Status, hsStopped);
  EXPECT_GT(r.Stats.Instructions, 2u);
  EXPECT_FALSE(r.Stats.StepLimitReached);
}

// A Grondo whose every step moves him on: his state is part of the run's.
class TWalker : public TGenericGrondo {
 public:
  int Kind() const override { return ekGrondo; }
  bool InField(int, int) const override { return true; }
  void Execute(TProcedure&) override { ++steps_; }
  void AppendState(std::string& out) const override { out += std::to_string(steps_ % Period); }
  int Period = 1 << 30;

 private:
  long steps_ = 0;
};

TEST(LoopGuard, CountsTheExecutorsState) {
  auto walker = [](int period) {
    return [period](int) {
      auto w = std::make_unique<TWalker>();
      w->Period = period;
      return w;
    };
  };
  const char* text = "главная {\n  пока (истина) {\n    вперед(1);\n  }\n}";
  const TOutcome moving = Guarded(text, ekGrondo, walker(1 << 30), 300'000);
  EXPECT_EQ(moving.Status, hsStopped);
  EXPECT_EQ(moving.LoopLine, -1);
  // Walking round a ring of five cells comes back to where it was.
  const TOutcome ring = Guarded(text, ekGrondo, walker(5), 300'000);
  EXPECT_EQ(ring.Status, hsRunTime);
  EXPECT_EQ(ring.LoopLine, 2);
}

TEST(LoopGuard, NeverFiresOnTheEndToEndPrograms) {
  // Every program of tests/programs that needs no input or options ends as
  // it does without the guard.
  namespace fs = std::filesystem;
  int count = 0;
  for (const auto& entry : fs::directory_iterator(TARMISY_PROGRAMS_DIR)) {
    fs::path base = entry.path();
    if (base.extension() != ".prg") continue;
    base.replace_extension();
    if (fs::exists(base.string() + ".args") || fs::exists(base.string() + ".in")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    THeadlessOptions o;
    THeadlessStats plain, guarded;
    std::string first, second;
    const auto lines = ProgramLines(bytes.str());
    const int a = RunHeadless(lines, o, [](std::string_view) {}, nullptr, [&](std::string_view t) { first += t; }, &plain);
    o.DetectLoops = true;
    const int b = RunHeadless(lines, o, [](std::string_view) {}, nullptr, [&](std::string_view t) { second += t; }, &guarded);
    EXPECT_EQ(a, b) << entry.path();
    EXPECT_EQ(first, second) << entry.path();
    EXPECT_EQ(guarded.LoopLine, -1) << entry.path();
    ++count;
  }
  EXPECT_GT(count, 20);
}

}  // namespace
