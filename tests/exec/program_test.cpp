// Program files to lines, and compiling through the session's builder.
#include <gtest/gtest.h>

#include "asm.h"
#include "program.h"

namespace {

TEST(ProgramLines, EncodingsAndLineEnds) {
  const auto utf8 = ProgramLines("\xEF\xBB\xBF" "главная {\r\n}\r\n");
  ASSERT_EQ(utf8.size(), 2u);
  EXPECT_EQ(utf8[0], Utf8ToCp1251("главная {"));
  const std::string cp = Utf8ToCp1251("главная {\n  выводстр \"ё\";\r}");
  const auto lines = ProgramLines(cp);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], Utf8ToCp1251("  выводстр \"ё\";"));
  EXPECT_EQ(ProgramLines("").size(), 1u);
}

TEST(ProgramBuilder, ClearsTheConsoleThenCompiles) {
  std::string out;
  TTextHost host([&](std::string_view t) { out += t; }, nullptr, true);
  host.ConsoleAppend("old");
  auto code = ProgramBuilder(ProgramLines("главная { выводстр 6 * 7; }"), ekTurtle, &host)();
  EXPECT_EQ(host.Console().Text(), "");
  TRunState state;
  state.Events.Set(evRun);
  TExecutor(*code, host, state, nullptr).Run();
  EXPECT_EQ(Cp1251ToUtf8(host.Console().Text()), "42\n");
  try {
    ProgramBuilder(ProgramLines("главная {\n  x = 1;\n}"), ekTurtle, &host)();
    FAIL();
  } catch (const ECompileException& e) {
    EXPECT_EQ(e.Line, 1);
    EXPECT_EQ(e.Col, 3);
  }
}

}  // namespace
