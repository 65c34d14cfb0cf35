// The end-to-end programs of tests/programs run in-process through the
// headless run, so that the sanitizer build checks them too. (The same
// files run through the tarmisy-run binary in the programs tests.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "encoding.h"
#include "headless.h"
#include "program.h"
#include "random.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p, const std::string& otherwise = "") {
  std::ifstream in(p, std::ios::binary);
  if (!in) return otherwise;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Programs, EveryProgramGivesItsExpectedOutputReportAndStatus) {
  const fs::path dir = TARMISY_PROGRAMS_DIR;
  int count = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".prg") continue;
    fs::path base = entry.path();
    base.replace_extension();
    if (fs::exists(base.string() + ".args")) continue;  // options belong to the runner's own test
    SCOPED_TRACE(entry.path().filename().string());
    std::vector<std::string> input;
    std::istringstream in(Read(base.string() + ".in"));
    for (std::string line; std::getline(in, line);) input.push_back(Utf8ToCp1251(line));
    size_t next = 0;
    std::string out, report;
    SetRandomSeed(0);  // as in a fresh process
    const int status = RunHeadless(
        ProgramLines(Read(entry.path())), THeadlessOptions{}, [&](std::string_view t) { out += t; },
        [&](std::string& line, const std::atomic<bool>&) {
          if (next >= input.size()) return false;
          line = input[next++];
          return true;
        },
        [&](std::string_view t) { report += t; });
    EXPECT_EQ(Cp1251ToUtf8(out), Read(base.string() + ".out"));
    EXPECT_EQ(Cp1251ToUtf8(report), Read(base.string() + ".err", "Выполнение программы завершено успешно.\n"));
    EXPECT_EQ(std::to_string(status) + "\n", Read(base.string() + ".status", "0\n"));
    ++count;
  }
  EXPECT_GT(count, 20);
}

// The runner decides what a run needs from the translated program, before
// the run has said anything; a program that does not translate runs nothing.
TEST(Programs, PrepareSeesTheTranslatedProgramBeforeItRuns) {
  const struct {
    const char* text;
    int calls;
    bool usesExecutor;
  } cases[] = {
      {"главная { выводстр 1; }", 1, false},
      {"главная { вперед(1); }", 1, true},
      {"главная { выводстр 1 }", 0, false},
  };
  for (const auto& c : cases) {
    THeadlessOptions o;
    int calls = 0;
    bool usesExecutor = false;
    std::string out, outAtPrepare = "none";
    o.Prepare = [&](const TPseudoCode& code) {
      ++calls;
      usesExecutor = code.UsesExecutor;
      outAtPrepare = out;
    };
    RunHeadless(ProgramLines(Utf8ToCp1251(c.text)), o, [&](std::string_view t) { out += t; }, nullptr,
                [](std::string_view) {});
    EXPECT_EQ(calls, c.calls) << c.text;
    EXPECT_EQ(usesExecutor, c.usesExecutor) << c.text;
    EXPECT_EQ(outAtPrepare, c.calls ? "" : "none") << c.text;
  }
}

}  // namespace
