// Input instructions: parsing, re-asking, element targets, the errors and
// the end of the input; where the typed line lands in the console.
#include <gtest/gtest.h>

#include "asm.h"

namespace {

// вывод "?"; ввод <target>; вывод <target or element>;
TRunOutcome ReadAndPrint(uint8_t kind, int size, std::vector<std::string> input, bool element = false) {
  TAsm a;
  a.Global(kind, size);
  const int m = a.Proc(dkVoid);
  a.Entry(m);
  a.Emit({opNop, opLine, 0});
  a.Text("?");
  a.Emit({opLine, 1});
  if (element) a.Emit({opReadGlobalItem, 0, a.E({I(1)})});
  else a.Emit({opReadGlobal, 0});
  a.Emit({opWriteLn, opLine, 2});
  a.Emit({opWrite, element ? a.E({Item(true, 0, {I(1)})}) : a.E({G(0)})});
  a.Emit({opReturn, opEnd});
  return RunProgram(*a.code, std::move(input));
}

TEST(Input, ValuesOfEachKind) {
  EXPECT_EQ(ReadAndPrint(dkInteger, 0, {" 42 "}).Output, "?\n 42 \n42\n");
  EXPECT_EQ(ReadAndPrint(dkReal, 0, {"1,5"}).Output, "?\n1,5\n1.50\n");
  // Enter on an empty line is not taken; the next line is typed on it.
  EXPECT_EQ(ReadAndPrint(dkChar, 0, {"", "xyz"}).Output, "?\nxyz\nx\n");
  EXPECT_EQ(ReadAndPrint(dkLogical, 0, {"Истина"}).Output, "?\nИстина\nИстина\n");
  EXPECT_EQ(ReadAndPrint(dkLogical, 0, {"да"}).Output, "?\nда\nЛожь\n");
  EXPECT_EQ(ReadAndPrint(dkChar, 5, {"abcde"}).Output, "?\nabcde\nabcde\n");
}

TEST(Input, ElementTargets) {
  EXPECT_EQ(ReadAndPrint(dkInteger, 3, {"7"}, true).Output, "?\n7\n7\n");
  EXPECT_EQ(ReadAndPrint(dkLogical, 3, {"true"}, true).Output, "?\ntrue\nИстина\n");
  // One element of a string takes the first character typed.
  EXPECT_EQ(ReadAndPrint(dkChar, 3, {"qw"}, true).Output, "?\nqw\nq\n");
}

TEST(Input, Errors) {
  TRunOutcome r = ReadAndPrint(dkInteger, 0, {"12a"});
  EXPECT_EQ(r.Error, "Ошибка при выполнении программы: введено некорректное целое число.");
  EXPECT_EQ(r.ErrorLine, 1);
  EXPECT_EQ(ReadAndPrint(dkReal, 0, {""}).Error,
            "Ошибка при выполнении программы: введено некорректное вещественное число.");
  EXPECT_EQ(ReadAndPrint(dkChar, 3, {"abcd"}).Error, "слишком длинная символьная строка");
}

TEST(Input, EndOfInputStopsTheRun) {
  const TRunOutcome r = ReadAndPrint(dkChar, 0, {"", ""});
  EXPECT_TRUE(r.Stopped);
  EXPECT_EQ(r.Error, "");
  EXPECT_EQ(r.Output, "?\n");
}

TEST(TextHost, TerminalInputIsNotEchoed) {
  std::string out;
  std::vector<std::string> lines = {"5", "6"};
  size_t next = 0;
  TTextHost host([&](std::string_view t) { out += t; },
                 [&](std::string& l) {
                   if (next == lines.size()) return false;
                   l = lines[next++];
                   return true;
                 },
                 false);
  std::string text;
  host.ConsoleAppend("a=");
  ASSERT_TRUE(host.ConsoleRead(imInteger, text));
  ASSERT_TRUE(host.ConsoleRead(imInteger, text));
  host.ConsoleNewLine();
  host.ConsoleAppend("ok");
  host.ConsoleClear();
  host.Finish();
  // The terminal itself showed "5\n6\n" as the user typed.
  EXPECT_EQ(out, "a=\nok\n");
  EXPECT_EQ(host.Console().Text(), "");
}

}  // namespace
