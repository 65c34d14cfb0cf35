#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace {

// The listing line of the first assignment in main { ... } with the
// given locals declared: "целые a, b, c; дробные x, y; логические p, q;
// символы s[10]; целые m[5], t[3][4]; ...".
std::string Expr(const std::string& statement, int kind = 0) {
  const std::string text =
      "главная {\nцелые a, b, c; дробные x, y; логические p, q; символы s[10], ch; целые m[5], t[3][4];\n" +
      statement + "\n}";
  TCompileResult r = CompileText(text, kind);
  if (!r.ok) return std::to_string(r.line) + ":" + std::to_string(r.col) + " " + r.error;
  // Everything between the opLine of line 2 and the closing opLine.
  const size_t from = r.listing.find("opLine 2\n");
  const size_t to = r.listing.find(" opLine 3\n");
  std::string body = r.listing.substr(from + 9, to - from - 9);
  body = body.substr(0, body.rfind('\n') + 1);
  // Drop the cell numbers.
  std::string out;
  size_t pos = 0;
  while (pos < body.size()) {
    const size_t eol = body.find('\n', pos);
    const std::string line = body.substr(pos, eol - pos);
    out += (out.empty() ? "" : "; ") + line.substr(line.find(' ') + 1);
    pos = eol + 1;
  }
  return out;
}

TEST(Expressions, PrioritiesAndAssociativity) {
  EXPECT_EQ(Expr("a = 2^3^2;"), "opAssignLocal 0 {2 3 ^ 2 ^}");
  EXPECT_EQ(Expr("a = a + b * c;"), "opAssignLocal 0 {l0 l1 l2 * +}");
  EXPECT_EQ(Expr("p = a < b and c < a;"), "opAssignLocal 5 {l0 l1 < l2 l0 < &}");
  EXPECT_EQ(Expr("p = not p == q;"), "opAssignLocal 5 {l5 ! l6 ==}");
  EXPECT_EQ(Expr("p = p или q и p;"), "opAssignLocal 5 {l5 l6 l5 & |}");
  EXPECT_EQ(Expr("a = (a + b) * c;"), "opAssignLocal 0 {l0 l1 + l2 *}");
  EXPECT_EQ(Expr("a = a - b - c;"), "opAssignLocal 0 {l0 l1 - l2 -}");
  EXPECT_EQ(Expr("p = a <> b;"), "opAssignLocal 5 {l0 l1 !=}");
  // A "not" after a tighter binary operator applies to what follows it.
  EXPECT_EQ(Expr("a = a * not p;"), "opAssignLocal 0 {l0 l5 ! *}");
  EXPECT_EQ(Expr("a = 2 ^ not p + 1;"), "opAssignLocal 0 {2 l5 ! ^ 1 +}");
  EXPECT_EQ(Expr("p = p and not q;"), "opAssignLocal 5 {l5 l6 ! &}");
}

TEST(Expressions, LeadingSignIsZeroPlusOrMinus) {
  EXPECT_EQ(Expr("a = -5;"), "opAssignLocal 0 {0 5 -}");
  EXPECT_EQ(Expr("a = -a^2;"), "opAssignLocal 0 {0 l0 2 ^ -}");
  EXPECT_EQ(Expr("a = 2*(-3);"), "opAssignLocal 0 {2 0 3 - *}");
  EXPECT_EQ(Expr("a = 2*-3;"), "2:7 Ошибка трансляции: неверная запись '-' в формуле.");
}

TEST(Expressions, ConstantsOfEveryKind) {
  EXPECT_EQ(Expr("x = 3.5 + .5 + 5. + 007;"), "opAssignLocal 3 {3.5 0.5 + 5.0 + 7 +}");
  EXPECT_EQ(Expr("p = истина & False;"), "opAssignLocal 5 {true false &}");
  EXPECT_EQ(Expr("ch = 'z';"), "opAssignLocal 8 {'z'}");
  EXPECT_EQ(Expr("s = \"hi\" + ch;"), "opAssignLocal 7 {\"hi\" l8 +}");
}

TEST(Expressions, AdjacencyErrors) {
  EXPECT_EQ(Expr("a = a b;"), "2:7 Ошибка трансляции: неверная запись 'b' в формуле.");
  EXPECT_EQ(Expr("если (a +) a = 1;"), "2:10 Ошибка трансляции: неверная запись ')' в формуле.");
  EXPECT_EQ(Expr("a = (a+b;"), "2:8 Ошибка трансляции: нет закрывающей скобки ).");
  EXPECT_EQ(Expr("a = ;"), "2:5 Ошибка трансляции: не могу понять, что такое ';'.");
  EXPECT_EQ(Expr("a = zz;"), "2:5 Ошибка трансляции: не могу понять, что такое 'zz'.");
  EXPECT_EQ(Expr("a = m[];"), "2:7 Ошибка трансляции: Ожидается число или выражение вместо ']'.");
  EXPECT_EQ(Expr("p = not not p;"), "2:9 Ошибка трансляции: неверная запись 'not' в формуле.");
  // An expression may not stop after an operator or an open parenthesis.
  EXPECT_EQ(Expr("a = a + ;"), "2:9 Ошибка трансляции: неверная запись ';' в формуле.");
  EXPECT_EQ(Expr("p = не ;"), "2:8 Ошибка трансляции: неверная запись ';' в формуле.");
  EXPECT_EQ(Expr("p = не;"), "2:5 Ошибка трансляции: не могу понять, что такое 'не'.");
  EXPECT_EQ(Expr("a = m[a *];"), "2:10 Ошибка трансляции: неверная запись ']' в формуле.");
  EXPECT_EQ(Expr("s = \"a\";"), "opAssignLocal 7 {\"a\"}");
}

TEST(Expressions, ConditionEndsAtTheCallersParenthesis) {
  EXPECT_EQ(Expr("если (a > 0) a = 1;"),
            "opAssignTemp 0 {l0 0 >}; opJumpIfFalse 0 18; opLine 2; opAssignLocal 0 {1}; opJump 18");
}

TEST(Expressions, ArrayElementsAndWholeArrays) {
  EXPECT_EQ(Expr("a = m[a + 1] + t[1][m[0]];"), "opAssignLocal 0 {l9[l0 1 +] l10[1][l9[0]] +}");
  EXPECT_EQ(Expr("s = s;"), "opAssignLocal 7 {l7[]}");
  EXPECT_EQ(Expr("a = m;"), "2:5 Ошибка трансляции: Ожидается индекс элемента массива вместо 'm'.");
  EXPECT_EQ(Expr("a = t[1];"), "2:9 Ошибка трансляции: Ожидается индекс элемента массива вместо ';'.");
  EXPECT_EQ(Expr("a = m[1;"), "2:8 Ошибка трансляции: Ожидается закрывающая скобка ] вместо ';'.");
  EXPECT_EQ(Expr("a = m[1][2];"), "2:9 Ошибка трансляции: неверная запись '[' в формуле.");
}

TEST(Expressions, CallsAreHoistedIntoTemporaries) {
  EXPECT_EQ(Expr("x = sin(y) + cos(y);"),
            "opSysCall s4(l4); opTakeSysResult 0 4; opSysCall s6(l4); opTakeSysResult 1 6; "
            "opAssignLocal 3 {t0 t1 +}");
  // Inner calls first, left to right.
  EXPECT_EQ(Expr("x = sqrt(abs(y)) * pi;"),
            "opSysCall s3(l4); opTakeSysResult 0 3; opSysCall s2(t0); opTakeSysResult 1 2; "
            "opSysCall s24; opTakeSysResult 2 24; opAssignLocal 3 {t1 t2 *}");
  EXPECT_EQ(Expr("x = pi();"), "opSysCall s24(); opTakeSysResult 0 24; opAssignLocal 3 {t0}");
  EXPECT_EQ(Expr("a = length(s) + длина(\"ab\");"),
            "opSysCall s30(l7[]); opTakeSysResult 0 30; opSysCall s30(\"ab\"); opTakeSysResult 1 30; "
            "opAssignLocal 0 {t0 t1 +}");
}

TEST(Expressions, RandomWithoutArgumentsIsRandomU) {
  TPseudoCode prog(2);
  ASSERT_TRUE(CompileText("главная {\nдробные x; целые i;\nx = random; i = random(6);\n}", 2, &prog).ok);
  const TProcedure& main = prog.Procs.Item(0);
  ASSERT_EQ(main.Temps.Count(), 2);
  EXPECT_EQ(main.Temps.Item(0).Kind, dkReal);
  EXPECT_EQ(main.Temps.Item(1).Kind, dkInteger);
  EXPECT_NE(Cp1251ToUtf8(Listing(prog)).find("opSysCall s23\n"), std::string::npos);
  EXPECT_NE(Cp1251ToUtf8(Listing(prog)).find("opSysCall s22(6)"), std::string::npos);
  EXPECT_FALSE(prog.UsesExecutor);
}

TEST(Expressions, ArgumentCountErrors) {
  EXPECT_EQ(Expr("x = sin;"), "2:8 Ошибка трансляции: не хватает данных для вызова процедуры 'sin'.");
  EXPECT_EQ(Expr("x = sin();"), "2:9 Ошибка трансляции: не хватает данных для вызова процедуры 'sin'.");
  EXPECT_EQ(Expr("x = arctan2(1);"), "2:14 Ошибка трансляции: Ожидается запятая вместо ')'.");
  EXPECT_EQ(Expr("x = sin(1, 2);"), "2:10 Ошибка трансляции: Ожидается закрывающая скобка ) вместо ','.");
  EXPECT_EQ(Expr("x = pi(1);"), "2:8 Ошибка трансляции: Ожидается закрывающая скобка ) вместо '1'.");
  EXPECT_EQ(Expr("x = вперед(1);"),
            "2:5 Ошибка трансляции: системная процедура 'вперед' не может возвращать результат.");
}

TEST(Expressions, WholeLocalArraysAsArguments) {
  const std::string procs =
      "главная {\nцелые m[5]; целые n;\nn = f(m);\n}\n"
      "целые f(целые a[]) { возврат a[0]; }";
  EXPECT_NE(ListingOf(procs).find("opCall p1(l0[])"), std::string::npos) << ListingOf(procs);
  EXPECT_EQ(ErrorOf("целые g[5];\nглавная {\nцелые n;\nn = f(g);\n}\nцелые f(целые a[]) { возврат a[0]; }"),
            "3:7 Ошибка трансляции: Ожидается индекс элемента массива вместо 'g'.");
  EXPECT_EQ(ErrorOf("главная {\nцелые m[5]; целые n;\nn = f(1 + m);\n}\nцелые f(целые a[]) { возврат a[0]; }"),
            "2:12 Ошибка трансляции: Ожидается индекс элемента массива вместо ')'.");
  // After a nested call the flag is cleared for the rest of the list.
  EXPECT_EQ(ErrorOf("главная {\nцелые m[5]; целые n;\nn = g(f(m), m);\n}\n"
                    "целые f(целые a[]) { возврат a[0]; }\nцелые g(целые i, целые a[]) { возврат i; }"),
            "2:13 Ошибка трансляции: Ожидается индекс элемента массива вместо 'm'.");
}

TEST(Expressions, VoidProceduresHaveNoValue) {
  EXPECT_EQ(ErrorOf("главная {\nцелые n;\nn = p;\n}\np { }"),
            "2:5 Ошибка трансляции: процедура 'p' не может возвращать результат.");
}

TEST(Expressions, NestingIsBoundedNotACrash) {
  std::string deep = "a = ";
  for (int i = 0; i < 3000; ++i) deep += "m[";
  deep += "0";
  for (int i = 0; i < 3000; ++i) deep += "]";
  deep += ";";
  EXPECT_NE(Expr(deep).find("слишком глубокая вложенность (больше 200 уровней)"), std::string::npos);
  std::string calls = "x = ";
  for (int i = 0; i < 3000; ++i) calls += "sin(";
  calls += "1" + std::string(3000, ')') + ";";
  EXPECT_NE(Expr(calls).find("слишком глубокая вложенность"), std::string::npos);
  // Parentheses do not nest calls in the compiler: many are fine.
  EXPECT_EQ(Expr("a = " + std::string(5000, '(') + "1" + std::string(5000, ')') + ";"), "opAssignLocal 0 {1}");
}

}  // namespace

namespace {

// An argument may share its name with a procedure declared later in the
// text (the first pass declares arguments before it meets that procedure).
// The variable is meant unless "(" follows; a void procedure of that name
// still refuses to be used as a value.
TEST(Expressions, AProcedureWinsOverAVariableOnlyBeforeAParenthesis) {
  const std::string tail = "\n}\nцелые g { возврат 1; }\nv { }";
  const std::string head = "главная { }\nf(целые g, целые v) {\nцелые x;\n";
  const std::string calls = ListingOf(head + "x = g + g(); g = 2; g();" + tail);
  EXPECT_NE(calls.find("opCall p2()\n"), std::string::npos) << calls;
  EXPECT_NE(calls.find("opAssignLocal 2 {l0 t0 +}"), std::string::npos) << calls;
  EXPECT_NE(calls.find("opAssignLocal 0 {2}"), std::string::npos) << calls;
  EXPECT_EQ(ErrorOf(head + "x = v;" + tail), "3:5 Ошибка трансляции: процедура 'v' не может возвращать результат.");
  EXPECT_EQ(ListingOf(head + "v = 1; v;" + tail), "error 3:9 Ошибка трансляции: Ожидается знак равенства вместо ';'.");
}

}  // namespace
