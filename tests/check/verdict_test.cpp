// What the runner said, in the verdict's words.
#include <gtest/gtest.h>

#include "report.h"
#include "verdict.h"

namespace {

TJobResult Exited(int status, std::string err, std::string out = "") {
  TJobResult r;
  r.Status = status;
  r.Err = std::move(err);
  r.Out = std::move(out);
  return r;
}

TEST(Verdict, ReadsTheRunnersStatusReportAndNumbers) {
  TRunContext grondo;
  grondo.Grondo = true;
  grondo.TimeLimit = 2.5;
  grondo.StepLimit = 1000;
  TJobResult hung;
  hung.TimedOut = true;
  TJobResult crashed;
  crashed.Signal = 11;
  const struct {
    TJobResult run;
    std::string stats;
    TVerdictKind kind;
    std::string text;
    int line, col;
  } cases[] = {
      {Exited(0, "Задача решена верно.\n"), "end=ok", vkSolved, "", -1, -1},
      {Exited(1, "3:7: Ошибка трансляции: Ожидается ;\n"), "end=translation", vkTranslation, "Ошибка трансляции: Ожидается ;", 3, 7},
      {Exited(2, "4: Ошибка исполнителя: стена\n"), "end=error", vkRunTime, "Ошибка исполнителя: стена", 4, -1},
      {Exited(2, "5: программа зациклилась\n"), "end=loop\nloop-line=5", vkLoop, "программа зациклилась", 5, -1},
      {Exited(3, "Задача решена неверно.\n - не пришёл\n"), "end=not-solved", vkNotSolved, "Задача решена неверно.\n - не пришёл", -1, -1},
      {Exited(5, "остановлена\n"), "end=step-limit", vkStepLimit, "программа не закончилась за 1000 шагов", -1, -1},
      {Exited(5, "остановлена\n"), "end=stopped", vkStopped, "остановлена", -1, -1},
      {hung, "", vkTimeLimit, "программа не закончилась за 2.5 с", -1, -1},
      {crashed, "", vkCrashed, "tarmisy-run завершился по сигналу 11", -1, -1},
      {Exited(64, "tarmisy-run: не удалось прочитать файл\n"), "", vkCrashed, "tarmisy-run: не удалось прочитать файл", -1, -1},
  };
  for (const auto& c : cases) {
    const TVerdict v = JudgeRun(c.run, c.stats, grondo);
    EXPECT_EQ(v.Kind, c.kind) << c.run.Err;
    EXPECT_EQ(v.Text, c.text) << c.run.Err;
    EXPECT_EQ(v.Line, c.line) << c.run.Err;
    EXPECT_EQ(v.Col, c.col) << c.run.Err;
  }
}

TEST(Verdict, AProgramThatNeverMovesGrondoIsJudgedOnTheUntouchedField) {
  TRunContext c;
  c.Grondo = true;
  c.UsesGrondo = false;
  c.InitialVerdict = "Задача решена неверно.";
  EXPECT_EQ(JudgeRun(Exited(0, "Выполнение программы завершено успешно.\n"), "end=ok", c).Kind, vkNotSolved);
  c.InitialSolved = true;
  EXPECT_EQ(JudgeRun(Exited(0, ""), "end=ok", c).Kind, vkSolved);
}

TEST(Verdict, ConsoleOutputWithOrWithoutTheTypedLines) {
  const std::string typed = "2\n3\n";
  const std::string shown = "Введите: 2\n3\nСумма: 5\n";  // a prompt, then the typed lines
  TRunContext c;
  c.Typed = &typed;
  const struct {
    std::string expected;
    TVerdictKind kind;
  } cases[] = {
      {"Введите: 2\n3\nСумма: 5\n", vkPassed},
      {"Введите: 2\r\n3\r\nСумма: 5", vkPassed},   // line breaks and the last one do not count
      {"Введите: 2\n3\nСумма: 5   \n\n", vkPassed},  // nor blanks at line ends
      {"Введите: 2\nСумма: 5\n", vkFailed},  // "Введите: 2" is not a typed line on its own
      {"Введите: 2\n3\nСумма: 6\n", vkFailed},
  };
  for (const auto& k : cases) {
    c.Expected = &k.expected;
    EXPECT_EQ(JudgeRun(Exited(0, "", shown), "end=ok", c).Kind, k.kind) << k.expected;
  }
  // Without a prompt the typed lines stand alone and may be left out.
  const std::string expected = "5\n";
  c.Expected = &expected;
  EXPECT_EQ(JudgeRun(Exited(0, "", "2\n3\n5\n"), "end=ok", c).Kind, vkPassed);
  const TVerdict wrong = JudgeRun(Exited(0, "", "2\n3\n6\n"), "end=ok", c);
  EXPECT_EQ(wrong.Kind, vkFailed);
  EXPECT_EQ(wrong.Text, "вывод отличается от ожидаемого в строке 1: ожидалось «5», выведено «6»");
}

TEST(Verdict, CsvFieldsAreQuotedWhenTheyMustBe) {
  EXPECT_EQ(CsvField("решена"), "решена");
  EXPECT_EQ(CsvField("a, b"), "\"a, b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
}

}  // namespace
