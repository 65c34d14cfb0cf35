#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace {

const char* const kPrefix = "Ошибка трансляции: ";

// The error as "LINE:COL message" without the common prefix and final dot.
std::string Err(const std::string& text, int kind = 0) {
  std::string e = ErrorOf(text, kind);
  const size_t p = e.find(kPrefix);
  if (p != std::string::npos) {
    e.erase(p, std::string(kPrefix).size());
    if (!e.empty() && e.back() == '.') e.pop_back();
  }
  return e;
}

TEST(Program, StructureErrors) {
  EXPECT_EQ(Err("целые x;\nдробные y = 1.5;"), "1:16 в программе нет ни одной процедуры");
  EXPECT_EQ(Err(""), "0:1 в программе нет ни одной процедуры");
  EXPECT_EQ(Err("главная {\n}\n}"), "2:1 обнаружена лишняя скобка }");
  EXPECT_EQ(Err("главная {\n  если (1) {\n"), "1:12 непарные скобки {-}");
  EXPECT_EQ(Err("главная { }\nf + 1"), "1:3 ожидается запятая, скобка ( или { после имени процедуры или переменной 'f'");
  EXPECT_EQ(Err("главная { }\n42"), "1:1 Ожидается процедура или список переменных вместо '42'");
  EXPECT_EQ(Err("главная { }\nf;"), "1:1 неверное объявление процедуры");
  EXPECT_EQ(Err("главная { }\n;"), "1:1 Ожидается процедура или список переменных вместо ';'");
  EXPECT_EQ(Err("целые [] f { }"), "0:7 Ожидается имя переменной или процедуры вместо '['");
  EXPECT_EQ(Err("символы [ f { }"), "0:11 Ожидается закрывающая скобка ] вместо 'f'");
}

TEST(Program, ProcedureHeaders) {
  EXPECT_EQ(Err("главная() { }"), "0:8 главная программа не может иметь аргументов");
  EXPECT_EQ(ListingOf("главная { }"), "0 opNop\n1 opLine 0\n3 opLine 0\n5 opReturn\n6 opEnd\n");
  EXPECT_EQ(Err("главная { }\nf() { }"), "1:3 Ожидается имя типа аргумента вместо ')'");
  EXPECT_EQ(Err("главная { }\nsin { }"), "1:1 нельзя называть процедуру 'sin', потому что есть такая встроенная процедура");
  EXPECT_EQ(Err("главная { }\nдлина { }"), "1:1 нельзя называть процедуру 'длина', потому что есть такая встроенная процедура");
  EXPECT_EQ(Err("главная { }\nf { }\nf { }"), "2:1 процедура 'f' уже была определена раньше");
  EXPECT_EQ(Err("главная { }\nf(целые a { }"), "1:11 Ожидается запятая или скобка ) вместо '{'");
  EXPECT_EQ(Err("главная { }\nf(целые a) x"), "1:12 Ожидается открывающая скобка { вместо 'x'");
  EXPECT_EQ(Err("главная { }\nf(целые a, b) { }"), "1:12 Ожидается имя типа аргумента вместо 'b'");
  EXPECT_EQ(Err("главная { }\nf(целые a, дробные a) { }"), "1:20 нельзя объявлять две переменных с именем 'a'");
}

TEST(Program, ProceduresSeeEachOtherAndResultKinds) {
  TPseudoCode prog(0);
  TCompileResult r = CompileText(
      "главная {\nсимволы t[20];\nt = имя(\"x\");\nf(1, 2.5);\n}\n"
      "символы [] имя(символы s[]) { возврат s; }\n"
      "f(целые a, дробные b[][]) { }\nлогические g { возврат истина; }",
      0, &prog);
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(prog.Procs.Count(), 4);
  EXPECT_EQ(prog.Procs.Item(1).Result.Kind, dkCharArray);
  EXPECT_EQ(prog.Procs.Item(1).ArgCount, 1);
  EXPECT_EQ(prog.Procs.Item(1).Vars.Item(0).Kind, dkCharArray);
  EXPECT_EQ(prog.Procs.Item(1).Vars.Item(0).Size1, 1);
  EXPECT_EQ(prog.Procs.Item(2).Result.Kind, dkVoid);
  EXPECT_EQ(prog.Procs.Item(2).Vars.Item(1).Kind, dkRealArray);
  EXPECT_EQ(prog.Procs.Item(2).Vars.Item(1).Size2, 1);
  EXPECT_EQ(prog.Procs.Item(3).Result.Kind, dkLogical);
  EXPECT_EQ(prog.Procs.Item(0).Temps.Item(0).Kind, dkCharArray);
  EXPECT_NE(r.listing.find("opCall p1(\"x\")"), std::string::npos) << r.listing;
  EXPECT_NE(r.listing.find("opCall p2(1, 2.5)"), std::string::npos) << r.listing;
  EXPECT_EQ(prog.Procs.Item(1).Entry, 20);
  EXPECT_EQ(prog.Procs.Item(1).FirstLine, 5);
}

TEST(Program, GlobalsAreInitialisedAtTranslation) {
  TPseudoCode prog(0);
  ASSERT_TRUE(CompileText("целые a = 7, m[3], b;\nлогические p = true;\nсимволы c = 'q';\n"
                          "дробные x = 2.5;\nглавная { }",
                          0, &prog)
                  .ok);
  ASSERT_EQ(prog.Globals.Count(), 6);
  EXPECT_EQ(prog.Globals.Item(0).IntValue, 7);
  EXPECT_EQ(prog.Globals.Item(1).Kind, dkIntegerArray);
  EXPECT_EQ(prog.Globals.Item(2).Kind, dkInteger);  // the list's type again after an array
  EXPECT_EQ(prog.Globals.Item(3).BoolValue, 1);
  EXPECT_EQ(prog.Globals.Item(4).CharValue, 'q');
  EXPECT_EQ(prog.Globals.Item(5).RealValue, 2.5);
  EXPECT_EQ(Listing(prog), "0 opNop\n1 opLine 4\n3 opLine 4\n5 opReturn\n6 opEnd\n");
}

TEST(Program, GlobalInitialiserErrors) {
  EXPECT_EQ(Err("целые x = -5;\nглавная { }"), "0:11 Ожидается значение вместо '-'");
  EXPECT_EQ(Err("дробные x = 1;\nглавная { }"), "0:13 Ожидается дробное число вместо '1'");
  EXPECT_EQ(Err("целые x = 1.5;\nглавная { }"), "0:11 Ожидается целое число вместо '1.5'");
  EXPECT_EQ(Err("целые x = 'a';\nглавная { }"), "0:11 Ожидается целое число вместо 'a'");
  EXPECT_EQ(Err("логические p = 1;\nглавная { }"), "0:16 Ожидается логическое значение вместо '1'");
  EXPECT_EQ(Err("символы c = 1;\nглавная { }"), "0:13 Ожидается символ вместо '1'");
  EXPECT_EQ(Err("целые m[3] = 1;\nглавная { }"), "0:12 Ожидается запятая или точка с запятой вместо '='");
  EXPECT_EQ(Err("целые a = 1 b;\nглавная { }"), "0:13 Ожидается запятая или точка с запятой вместо 'b'");
  EXPECT_EQ(Err("целые a b;\nглавная { }"), "0:9 ожидается запятая, скобка ( или { после имени процедуры или переменной 'a'");
  EXPECT_EQ(Err("void v;\nглавная { }"), "0:1 Ожидается имя типа аргумента вместо 'void'");
}

TEST(Program, ArraySizes) {
  EXPECT_TRUE(CompileText("целые a[100][100];\nглавная { }").ok);
  EXPECT_EQ(ErrorOf("целые a[101][100];\nглавная { }"), "0:14 Массив не может содержать более 10000 элементов.");
  EXPECT_EQ(Err("целые a[2][2][2];\nглавная { }"), "0:14 многомерные массивы не поддерживаются");
  EXPECT_EQ(Err("целые a[0];\nглавная { }"), "0:9 Ожидается число от 1 до 10000 вместо '0'");
  EXPECT_EQ(Err("целые a[1.5];\nглавная { }"), "0:9 Ожидается целое число вместо '1.5'");
  EXPECT_EQ(Err("целые a[n];\nглавная { }"), "0:9 Ожидается числовое значение вместо 'n'");
  EXPECT_EQ(Err("целые a[5;\nглавная { }"), "0:10 Ожидается ] вместо ';'");
}

TEST(Program, NameClashes) {
  EXPECT_EQ(Err("целые f;\nглавная { }\nf { }"), "0:7 нельзя объявлять переменную с именем 'f', совпадающим с именем процедуры");
  EXPECT_EQ(Err("целые sin;\nглавная { }"),
            "0:7 нельзя объявлять переменную с именем 'sin', совпадающим с именем системной процедуры");
  EXPECT_EQ(Err("главная {\nцелые a;\nдробные a;\n}"), "2:9 нельзя объявлять две переменных с именем 'a'");
  EXPECT_EQ(Err("главная { }\nf(целые a) { целые a; }"), "1:20 нельзя объявлять две переменных с именем 'a'");
  // A local may hide a global; a global declared later is not seen.
  EXPECT_TRUE(CompileText("целые a;\nглавная { дробные a; a = 1.5; }").ok);
  EXPECT_EQ(Err("главная { g = 1; }\nцелые g;"), "0:11 не могу понять, что такое 'g'");
}


}  // namespace

namespace {

TEST(Program, CompileCallsTheStartHookOnceAndFillsPositions) {
  TPseudoCode prog(0);
  TCompiler c;
  int calls = 0;
  c.OnStart = [&] { ++calls; };
  const std::vector<std::string> lines = SourceLines("главная {\n  вывод 1;\n  x = 2;\n}");
  try {
    c.Compile(lines, prog);
    ADD_FAILURE() << "x is not declared";
  } catch (const ECompileException& e) {
    EXPECT_EQ(e.Line, 2);
    EXPECT_EQ(e.Col, 3);
  }
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(c.Line, 2);
  EXPECT_EQ(c.Col, 3);
  EXPECT_EQ(prog.Cells[static_cast<size_t>(prog.CodeSize - 1)], opTranslationError);
}

}  // namespace

TEST(Program, DeclaredDataHasABudget) {
  // 3400 arrays of 10000 reals would be 272 MB before anything runs.
  std::string text = "главная {\n";
  for (int i = 0; i < 3400; ++i) text += "дробные a" + std::to_string(i) + "[10000];\n";
  text += "}\n";
  EXPECT_EQ(ErrorOf(text), "3356:21 Ошибка трансляции: слишком много данных в программе: больше 256 МБ.");
  // Far below the budget, many arrays are fine.
  std::string fine = "дробные g[10000];\nглавная {\n";
  for (int i = 0; i < 300; ++i) fine += "целые a" + std::to_string(i) + "[100][100];\n";
  fine += "}\n";
  EXPECT_EQ(ErrorOf(fine), "compiled");
}
