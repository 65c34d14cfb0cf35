#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace {

TEST(Statements, WorkedExampleForTheTurtle) {
  TPseudoCode prog(0);
  TCompileResult r = CompileText("целые n = 3;\nглавная {\nповтори (n) вперед(10);\n}", 0, &prog);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(prog.CodeSize, 26);
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

namespace {

// The listing of main's body (between its first opLine and its closing
// opLine), cell numbers kept, lines joined with "; ".
std::string Body(const std::string& body, int kind = 0, const std::string& decls = "") {
  TCompileResult r = CompileText(decls + "главная {\n" + body + "\n}", kind);
  if (!r.ok) return std::to_string(r.line) + ":" + std::to_string(r.col) + " " + r.error;
  std::string out;
  size_t pos = 0;
  int n = 0;
  const std::string& l = r.listing;
  while (pos < l.size()) {
    const size_t eol = l.find('\n', pos);
    if (n++ >= 2) out += (out.empty() ? "" : "; ") + l.substr(pos, eol - pos);
    pos = eol + 1;
  }
  // Drop the closing "opLine; opReturn; opEnd".
  for (int i = 0; i < 3; ++i) out = out.substr(0, out.rfind("; ") == std::string::npos ? 0 : out.rfind("; "));
  return out;
}

const char* const kVars = "целые a, b, m[3], t[2][2]; дробные x; символы s[10]; логические p; ";

TEST(Statements, IfElse) {
  EXPECT_EQ(Body("если a > 0) b = 1;", 0, kVars), "1:6 Ошибка трансляции: Ожидается открывающая скобка ( вместо 'a'.");
  EXPECT_EQ(Body("если (a > 0 b = 1;", 0, kVars), "1:13 Ошибка трансляции: неверная запись 'b' в формуле.");
  EXPECT_EQ(Body("иначе a = 1;", 0, kVars), "1:1 Ошибка трансляции: не могу понять, что такое 'иначе'.");
}

TEST(Statements, ForLoopShape) {
  const std::string indexed = Body("for (m[1] = 0; p; t[0][1] = 2) ;", 0, kVars);
  EXPECT_NE(indexed.find("8 opAssignGlobalItem 2 {1} {0}"), std::string::npos) << indexed;
  EXPECT_NE(indexed.find("opAssignGlobalItem2 3 {0} {1} {2}"), std::string::npos) << indexed;
  EXPECT_EQ(Body("цикл (1 = 0; p; a = 1) ;", 0, kVars), "1:7 Ошибка трансляции: Ожидается имя переменной вместо '1'.");
  EXPECT_EQ(Body("цикл (a = 0, p; a = 1) ;", 0, kVars), "1:12 Ошибка трансляции: Ожидается точка с запятой вместо ','.");
  EXPECT_EQ(Body("цикл (a = 0; p; a = 1 ;", 0, kVars),
            "1:23 Ошибка трансляции: Ожидается закрывающая скобка ) вместо ';'.");
}

TEST(Statements, RepeatBreakContinue) {
  EXPECT_EQ(Body("если (p) break;", 0, kVars),
            "1:10 Ошибка трансляции: Оператор 'break' можно использовать только внутри цикла.");
  EXPECT_EQ(Body("Прервать;", 0, kVars), "1:1 Ошибка трансляции: Оператор 'Прервать' можно использовать только внутри цикла.");
  EXPECT_EQ(Body("пока (p) прервать", 0, kVars), "2:1 Ошибка трансляции: Ожидается точка с запятой вместо '}'.");
}

TEST(Statements, Return) {
  EXPECT_EQ(Body("возврат;", 0, kVars), "3 opLine 1; 5 opReturn");
  EXPECT_EQ(ErrorOf("главная { }\nцелые f {\nвозврат;\n}"),
            "2:8 Ошибка трансляции: требуется вернуть результат процедуры 'f'.");
  EXPECT_EQ(ErrorOf("главная { возврат 1 }"), "0:21 Ошибка трансляции: Ожидается точка с запятой вместо '}'.");
}

TEST(Statements, BlocksAndStrayTokens) {
  EXPECT_EQ(Body("{ a = 1; }", 0, kVars), "1:1 Ошибка трансляции: обнаружена лишняя скобка {.");
  EXPECT_EQ(Body("(a) = 1;", 0, kVars), "1:1 Ошибка трансляции: обнаружена лишняя скобка (.");
  EXPECT_EQ(ListingOf("главная { ;; x = 1 }\nцелые x;"), "error 0:14 Ошибка трансляции: не могу понять, что такое 'x'.");
  EXPECT_EQ(ListingOf("целые x;\nглавная { ;; x = 1 }"),
            "0 opNop\n1 opLine 1\n3 opLine 1\n5 opAssignGlobal 0 {1}\n8 opLine 1\n10 opReturn\n11 opEnd\n");
  EXPECT_EQ(Body("a = 1 b = 2;", 0, kVars), "1:7 Ошибка трансляции: неверная запись 'b' в формуле.");
  EXPECT_EQ(Body("zz = 1;", 0, kVars), "1:1 Ошибка трансляции: не могу понять, что такое 'zz'.");
  EXPECT_EQ(Body("a = 1;", 0, "") , "1:1 Ошибка трансляции: не могу понять, что такое 'a'.");
  EXPECT_EQ(ErrorOf("главная {\nесли (1) a = 1;"), "1:15 Ошибка трансляции: непарные скобки {-}.");
}

TEST(Statements, AssignmentForms) {
  EXPECT_EQ(Body("m[a] = 1; t[1][a] = 2; s = \"abc\";", 0, kVars),
            "3 opLine 1; 5 opAssignGlobalItem 2 {g0} {1}; 9 opLine 1; 11 opAssignGlobalItem2 3 {1} {g0} {2}; "
            "16 opLine 1; 18 opAssignGlobal 5 {\"abc\"}");
  // A whole non-character array is refused once its value has been read,
  // so the value's own errors come first and the error stands at its end.
  EXPECT_EQ(Body("m = 1 + 2;", 0, kVars),
            "1:9 Ошибка трансляции: присваивание поддерживается только для символьных массивов.");
  EXPECT_EQ(Body("m = m;", 0, kVars), "1:5 Ошибка трансляции: Ожидается индекс элемента массива вместо 'm'.");
  EXPECT_EQ(Body("t = 1;", 0, kVars), "1:3 Ошибка трансляции: Ожидается индекс элемента массива вместо '='.");
  EXPECT_EQ(Body("t[1] = 1;", 0, kVars), "1:6 Ошибка трансляции: Ожидается индекс элемента массива вместо '='.");
  EXPECT_EQ(Body("a == 1;", 0, kVars), "1:3 Ошибка трансляции: Ожидается знак равенства вместо '=='.");
}

TEST(Statements, Output) {
  EXPECT_EQ(Body("вывод \"x=\", a:8:3, b;", 0, kVars),
            "3 opLine 1; 5 opWriteText \"x=\"; 9 opWrite {g0}; 11 opWrite {g1}");
  EXPECT_EQ(Body("выводстр; coutln; cout;", 0, kVars),
            "3 opLine 1; 5 opWriteLn; 6 opLine 1; 8 opWriteLn; 9 opLine 1");
  EXPECT_EQ(Body("cout << a << \"!\";", 0, kVars), "3 opLine 1; 5 opWrite {g0}; 7 opWriteText \"!\"");
  EXPECT_EQ(Body("println m, s;", 0, kVars), "3 opLine 1; 5 opWrite {g2[]}; 7 opWrite {g5[]}; 9 opWriteLn");
  EXPECT_EQ(Body("вывод;", 0, kVars), "1:6 Ошибка трансляции: не могу понять, что такое ';'.");
  EXPECT_EQ(Body("вывод если;", 0, kVars), "1:7 Ошибка трансляции: Здесь нельзя использовать ключевое слово 'если'.");
  EXPECT_EQ(Body("вывод a b;", 0, kVars), "1:9 Ошибка трансляции: неверная запись 'b' в формуле.");
  EXPECT_EQ(Body("вывод \"a\" b;", 0, kVars), "1:11 Ошибка трансляции: Ожидается запятая или точка с запятой вместо 'b'.");
  EXPECT_EQ(Body("вывод a:0;", 0, kVars), "1:9 Ошибка трансляции: поле вывода должно быть от 1 до 100 символов.");
  EXPECT_EQ(Body("вывод a:101;", 0, kVars), "1:9 Ошибка трансляции: поле вывода должно быть от 1 до 100 символов.");
  EXPECT_EQ(Body("вывод x:5:21;", 0, kVars),
            "1:11 Ошибка трансляции: поле вывода дробной части должно быть от 0 до 20 символов.");
  EXPECT_EQ(Body("вывод \"a\":3;", 0, kVars), "1:11 Ошибка трансляции: неверное использование форматирования.");
  EXPECT_EQ(Body("вывод a:5, \"a\":3;", 0, kVars), "1:16 Ошибка трансляции: неверное использование форматирования.");
  EXPECT_EQ(Body("вывод a:x;", 0, kVars), "1:9 Ошибка трансляции: Ожидается целое число вместо 'x'.");
  EXPECT_EQ(Body("cout << a:5 << b;", 0, kVars), "1:13 Ошибка трансляции: Ожидается запятая вместо '<<'.");
  EXPECT_EQ(Body("cout a;", 0, kVars), "1:6 Ошибка трансляции: Ожидается оператор '<<' вместо 'a'.");
  EXPECT_TRUE(CompileText(std::string(kVars) + "главная { cout << a:5, b; }").ok);
}

TEST(Statements, OutputFormatsAreStoredOnTheExpression) {
  TPseudoCode prog(0);
  ASSERT_TRUE(CompileText(std::string(kVars) + "главная { вывод x:8:3, a:-8, b; }", 0, &prog).ok);
  // main: opNop, opLine, opLine, then opWrite e at cells 5, 7, 9.
  const TStackDatum* first = prog.Expression(prog.Cells[6]);
  const TStackDatum* second = prog.Expression(prog.Cells[8]);
  const TStackDatum* third = prog.Expression(prog.Cells[10]);
  ASSERT_TRUE(first && second && third);
  EXPECT_EQ(first->Result.Width, 8);
  EXPECT_EQ(first->Result.Fraction, 3);
  EXPECT_EQ(second->Result.Width, -8);
  EXPECT_EQ(third->Result.Width, 0);
  EXPECT_TRUE(prog.HasInput);
}

TEST(Statements, Input) {
  EXPECT_EQ(Body("ввод a, m[1], t[0][1], s;", 0, kVars),
            "3 opLine 1; 5 opReadGlobal 0; 7 opReadGlobalItem 2 {1}; 10 opReadGlobalItem2 3 {0} {1}; "
            "14 opReadGlobal 5; 16 opWriteLn");
  EXPECT_EQ(Body("cin >> s >> a;", 0, kVars), "3 opLine 1; 5 opReadGlobal 5; 7 opReadGlobal 0; 9 opWriteLn");
  EXPECT_EQ(Body("ввод;", 0, kVars), "1:5 Ошибка трансляции: Ожидается имя переменной для ввода вместо ';'.");
  EXPECT_EQ(Body("ввод m;", 0, kVars), "1:6 Ошибка трансляции: Ввести целиком можно только символьную строку.");
  EXPECT_EQ(Body("ввод t;", 0, kVars), "1:7 Ошибка трансляции: Ожидается индекс элемента массива вместо ';'.");
  EXPECT_EQ(Body("ввод 5;", 0, kVars), "1:6 Ошибка трансляции: Ожидается имя переменной вместо '5'.");
  EXPECT_EQ(Body("cin a;", 0, kVars), "1:5 Ошибка трансляции: Ожидается оператор '>>' вместо 'a'.");
}

TEST(Statements, AnIndexIsLeftOutWhenTheNextTextStartsLikeASeparator) {
  // Whatever kind of token it is: a literal starting with "," or ";" ends
  // the name too, and the statement then fails on what follows.
  EXPECT_EQ(Body("ввод s \",\";", 0, kVars),
            "1:8 Ошибка трансляции: Ожидается запятая или точка с запятой вместо ','.");
  EXPECT_EQ(Body("m ';' = 1;", 0, kVars), "1:3 Ошибка трансляции: Ожидается знак равенства вместо ';'.");
  EXPECT_EQ(Body("m \"x\" = 1;", 0, kVars),
            "1:3 Ошибка трансляции: Ожидается индекс элемента массива вместо 'x'.");
}

TEST(Statements, BuiltinsFollowTheExecutor) {
  EXPECT_EQ(Body("вперед(2); налево;", 2), "3 opLine 1; 5 opSysCall s32(2); 7 opLine 1; 9 opSysCall s34");
  EXPECT_EQ(Body("вперед(2);", 0), "3 opLine 1; 5 opSysCall s43(2)");
  EXPECT_EQ(Body("налево;", 0), "1:1 Ошибка трансляции: не могу понять, что такое 'налево'.");
  EXPECT_EQ(Body("КурсорК(10, 20); MoveTo(10, 20);", 1),
            "3 opLine 1; 5 opSysCall s44(10, 20); 7 opLine 1; 9 opSysCall s44(10, 20)");
  EXPECT_EQ(Body("КурсорК(10, 20);", 2),
            "1:1 Ошибка трансляции: функцию 'MoveTo' можно использовать только для исполнителей Черепаха или Чертежник.");
  EXPECT_EQ(Body("Линия(1, 2, 3, 4);", 2),
            "1:1 Ошибка трансляции: функцию 'Line' можно использовать только для исполнителей Черепаха или Чертежник.");
  EXPECT_EQ(Body("вперед(1)", 2), "2:1 Ошибка трансляции: Ожидается точка с запятой вместо '}'.");
}

TEST(Statements, UsesExecutorFlag) {
  auto uses = [](const std::string& body, int kind) {
    TPseudoCode prog(kind);
    EXPECT_TRUE(CompileText("главная {\n" + body + "\n}", kind, &prog).ok);
    return prog.UsesExecutor;
  };
  EXPECT_FALSE(uses("вывод sin(1);", 0));
  EXPECT_TRUE(uses("clrscr;", 0));
  EXPECT_FALSE(uses("очистить;", 2));
  EXPECT_TRUE(uses("логические p; p = база;", 2));
  EXPECT_TRUE(uses("MoveTo(1, 1);", 1));
}

}  // namespace
