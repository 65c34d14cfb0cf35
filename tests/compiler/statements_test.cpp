#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace {

TEST(Statements, WorkedExampleForTheTurtle) {
  TPseudoCode prog(0);
  TCompileResult r = CompileText("целые n = 3;\nглавная {\nповтори (n) вперед(10);\n}", 0, &prog);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.listing,
            "0 opNop\n"
            "1 opLine 1\n"
            "3 opLoopBegin\n"
            "4 opLine 2\n"
            "6 opAssignTemp 0 {g0}\n"
            "9 opJumpIfNotPositive 0 20\n"
            "12 opLine 2\n"
            "14 opSysCall s43(10)\n"
            "16 opDecTemp 0\n"
            "18 opJump 9\n"
            "20 opEndRepeat\n"
            "21 opLine 3\n"
            "23 opReturn\n"
            "24 opEnd\n");
  EXPECT_EQ(prog.CodeSize, 25);
  EXPECT_EQ(prog.Globals.Item(0).IntValue, 3);
  EXPECT_EQ(prog.Procs.Item(0).Entry, 0);
  EXPECT_EQ(prog.Procs.Item(0).FirstLine, 1);
  EXPECT_EQ(prog.Procs.Item(0).LastLine, 3);
  ASSERT_EQ(prog.Procs.Item(0).Temps.Count(), 1);
  EXPECT_EQ(prog.Procs.Item(0).Temps.Item(0).Name, "#0");
  EXPECT_EQ(prog.Procs.Item(0).Temps.Item(0).Kind, dkInteger);
  EXPECT_TRUE(prog.UsesExecutor);
  EXPECT_FALSE(prog.HasInput);
}

}  // namespace
