// tarmisy-run as a teacher's script sees it: exit statuses, the command
// line, encodings, input files, listings and interruption.
#include <gtest/gtest.h>

#include "encoding.h"
#include "runner_fixture.h"

namespace {

TEST_F(Runner, BadCommandLinesAndFiles) {
  TResult r = Run("");
  EXPECT_EQ(r.Status, 64);
  EXPECT_NE(r.Err.find("не указан файл программы"), std::string::npos);
  EXPECT_NE(r.Err.find("--listing"), std::string::npos);
  EXPECT_EQ(Run("--frobnicate x.prg").Status, 64);
  EXPECT_EQ(Run("--encoding koi8 x.prg").Status, 64);
  r = Run((dir_ / "missing.prg").string());
  EXPECT_EQ(r.Status, 64);
  EXPECT_NE(r.Err.find("не удалось прочитать файл"), std::string::npos);
  const std::string prg = File("p.prg", "главная { }\n");
  EXPECT_EQ(Run("--input " + (dir_ / "none.txt").string() + " " + prg).Status, 64);
}

TEST_F(Runner, TranslationAndRunTimeErrorsWithTheirLines) {
  TResult r = Run(File("t.prg", "главная {\n  целые a;\n  а = 1;\n}\n"));
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "3:3: Ошибка трансляции: не могу понять, что такое 'а'.\n");
  EXPECT_EQ(r.Out, "");
  r = Run(File("r.prg", "главная {\n  выводстр 1;\n  выводстр 1 / 0;\n}\n"));
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Out, "1\n");
  EXPECT_EQ(r.Err, "3: Ошибка при выполнении программы: деление на нуль.\n");
}

TEST_F(Runner, Windows1251ProgramsAndTerminals) {
  const std::string prg = File("w.prg", Utf8ToCp1251("главная { выводстр \"Привет\"; }\n"));
  TResult r = Run(prg);
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Привет\n");
  EXPECT_EQ(r.Err, "Выполнение программы завершено успешно.\n");
  r = Run("--encoding cp1251 " + prg);
  EXPECT_EQ(r.Out, Utf8ToCp1251("Привет\n"));
  EXPECT_EQ(r.Err, Utf8ToCp1251("Выполнение программы завершено успешно.\n"));
}

TEST_F(Runner, InputFromAFileIsEchoedOnItsOwnLine) {
  const std::string prg = File("i.prg", "главная { символы s[20]; вывод \"Имя? \"; ввод s; выводстр \"Привет, \", s; }\n");
  const std::string input = File("in.txt", "Маша\r\n");
  TResult r = Run("--input " + input + " " + prg);
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Имя? \nМаша\nПривет, Маша\n");
  r = Run(prg + " < " + input);
  EXPECT_EQ(r.Out, "Имя? \nМаша\nПривет, Маша\n");
  r = Run(prg);
  EXPECT_EQ(r.Status, 5);
  EXPECT_EQ(r.Err, "Программа остановлена пользователем.\n");
}

TEST_F(Runner, Listing) {
  const TResult r = Run("--listing " + File("l.prg", "главная {\n  выводстр 1;\n}\n"));
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "0 opNop\n1 opLine 0\n3 opLine 1\n5 opWrite {1}\n7 opWriteLn\n8 opLine 2\n10 opReturn\n11 opEnd\n");
  EXPECT_EQ(r.Err, "");
}

TEST_F(Runner, AnInterruptedRunEndsAsAStop) {
  const std::string prg = File("loop.prg", "главная { вывод \"x\"; пока (истина) { } }\n");
  const TResult r = Run(prg, "timeout --preserve-status -s INT 0.5 ");
  EXPECT_EQ(r.Status, 5);
  EXPECT_EQ(r.Out, "x\n");
  EXPECT_EQ(r.Err, "Программа остановлена пользователем.\n");
}

}  // namespace
