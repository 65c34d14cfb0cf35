#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace {

// Scans text and describes every token as "KIND:TEXT@LINE:COL" (UTF-8), or
// the error as "error LINE:COL MESSAGE".
std::string Scan(const std::string& utf8) {
  const std::vector<std::string> lines = SourceLines(utf8);
  TPseudoCode prog(0);
  TCompiler c;
  c.SetSource(lines, &prog);
  std::string out;
  try {
    for (int guard = 0; guard < 1000; ++guard) {
      c.NextToken();
      if (c.Token.Kind == tkEnd) return out + "end";
      out += std::to_string(c.Token.Kind);
      if (c.Token.Kind == tkOperator || c.Token.Kind == tkKeyword) out += "/" + std::to_string(c.Token.Code);
      if (c.Token.Kind == tkConstant) out += "/" + std::to_string(c.Token.ValueType);
      out += ":" + Cp1251ToUtf8(c.Token.Text) + "@" + std::to_string(c.Token.Line) + ":" +
             std::to_string(c.Token.Col) + " ";
    }
    return out + "no end";
  } catch (const ECompileException& e) {
    EXPECT_EQ(prog.Cells[static_cast<size_t>(prog.CodeSize - 1)], opTranslationError);
    return out + "error " + std::to_string(e.Line) + ":" + std::to_string(e.Col) + " " + Cp1251ToUtf8(e.Message());
  }
}

TEST(Scanner, EmptyTextsEndAtOnce) {
  EXPECT_EQ(Scan(""), "end");
  EXPECT_EQ(Scan("   \n\n  "), "end");
  EXPECT_EQ(Scan("// one\n/* two\n three */  \n"), "end");
  EXPECT_EQ(Scan("x // comment at the end"), "9:x@0:1 end");
}

TEST(Scanner, CommentsAndPositions) {
  EXPECT_EQ(Scan("x/*a*/y"), "9:x@0:1 9:y@0:7 end");
  EXPECT_EQ(Scan("/**/z"), "9:z@0:5 end");
  EXPECT_EQ(Scan("a /* x\n  y */ b"), "9:a@0:1 9:b@1:8 end");
}

TEST(Scanner, UnclosedCommentPointsAtTheLastCharacter) {
  EXPECT_EQ(Scan("a /* never\n  closed   \n\n"), "9:a@0:1 error 1:8 Ошибка трансляции: комментарий не закончен.");
  EXPECT_EQ(Scan("/*/"), "error 0:3 Ошибка трансляции: комментарий не закончен.");
}

TEST(Scanner, OperatorsLongestFirst) {
  EXPECT_EQ(Scan("a<=b"), "9:a@0:1 16/27:<=@0:2 9:b@0:4 end");
  EXPECT_EQ(Scan("a< =b"), "9:a@0:1 16/26:<@0:2 16/23:=@0:4 9:b@0:5 end");
  EXPECT_EQ(Scan("<> >> << == >= !"), "16/25:<>@0:1 16/36:>>@0:4 16/37:<<@0:7 16/24:==@0:10 16/29:>=@0:13 16/30:!@0:16 end");
  EXPECT_EQ(Scan("2^3%4"), "0/4:2@0:1 16/22:^@0:2 0/4:3@0:3 16/21:%@0:4 0/4:4@0:5 end");
}

TEST(Scanner, OnlyDelimitersEndWords) {
  // "!" belongs to the word, so "!=" needs a blank before it.
  EXPECT_EQ(Scan("a!=b"), "9:a!@0:1 16/23:=@0:3 9:b@0:4 end");
  EXPECT_EQ(Scan("a != b"), "9:a@0:1 16/25:!=@0:3 9:b@0:6 end");
  EXPECT_EQ(Scan("a|b a&b"), "9:a|b@0:1 9:a&b@0:5 end");
  EXPECT_EQ(Scan("a\tb"), "9:a\tb@0:1 end");
  EXPECT_EQ(Scan("x:y"), "9:x@0:1 21::@0:2 9:y@0:3 end");
  EXPECT_EQ(Scan("2x"), "0/4:2@0:1 9:x@0:2 end");
}

TEST(Scanner, WordOperatorsNeedABlankOrTheLineEnd) {
  EXPECT_EQ(Scan("x или y"), "9:x@0:1 16/32:или@0:3 9:y@0:7 end");
  EXPECT_EQ(Scan("или( илия"), "9:или@0:1 10:(@0:4 9:илия@0:6 end");
  EXPECT_EQ(Scan("x and y"), "9:x@0:1 16/31:and@0:3 9:y@0:7 end");
  EXPECT_EQ(Scan("x andy"), "9:x@0:1 9:andy@0:3 end");
  EXPECT_EQ(Scan("Not x | y"), "9:Not@0:1 9:x@0:5 16/32:|@0:7 9:y@0:9 end");
  EXPECT_EQ(Scan("a И\nНЕ b"), "9:a@0:1 16/31:И@0:3 16/30:НЕ@1:1 9:b@1:4 end");
}

TEST(Scanner, KeywordsFoldCaseIdentifiersDoNot) {
  EXPECT_EQ(Scan("ЕСЛИ If iF"), "1/13:ЕСЛИ@0:1 1/13:If@0:6 1/13:iF@0:9 end");
  EXPECT_EQ(Scan("Истина false"), "0/2:1@0:1 0/2:0@0:8 end");
  EXPECT_EQ(Scan("Вперед вперед"), "9:Вперед@0:1 9:вперед@0:8 end");
  EXPECT_EQ(Scan("целые"), "1/4:целые@0:1 end");
}

TEST(Scanner, NumbersKeepTheirTexts) {
  EXPECT_EQ(Scan("3.14 3. .5 007"), "0/5:3.14@0:1 0/5:3.@0:6 0/5:.5@0:9 0/4:007@0:12 end");
  EXPECT_EQ(Scan("x 1.2.3"), "9:x@0:1 error 0:3 Ошибка трансляции: обнаружены две точки в числе.");
  EXPECT_EQ(Scan("2147483647"), "0/4:2147483647@0:1 end");
  EXPECT_EQ(Scan("2147483648"),
            "error 0:1 Ошибка трансляции: число 2147483648 выходит за допустимые пределы.");
  EXPECT_EQ(Scan("x = 12345678901234567890123456789012345678901234567890;"),
            "9:x@0:1 16/23:=@0:3 error 0:5 Ошибка трансляции: число "
            "12345678901234567890123456789012345678901234567890 выходит за допустимые пределы.");
  EXPECT_EQ(Scan("0000000000000000000000000000000000000001"), "0/4:0000000000000000000000000000000000000001@0:1 end");
  EXPECT_EQ(Scan(std::string(400, '9') + ".5").rfind("error 0:1 Ошибка трансляции: число 999", 0), 0u);
  EXPECT_EQ(Scan("0." + std::string(400, '0') + "1"), "0/5:0." + std::string(400, '0') + "1@0:1 end");
  EXPECT_EQ(Scan("."), "error 0:1 Ошибка трансляции: неверная запись числа '.'.");
}

TEST(Scanner, StringLiterals) {
  EXPECT_EQ(Scan("\"a b\" \"\""), "2:a b@0:1 2:@0:7 end");
  EXPECT_EQ(Scan("\"//not a comment\""), "2://not a comment@0:1 end");
  EXPECT_EQ(Scan("x \"open\ny\""), "9:x@0:1 error 0:3 Ошибка трансляции: кавычки не закрыты.");
  // A quote alone at the end of a line opens a literal that never closes.
  EXPECT_EQ(Scan("x \""), "9:x@0:1 error 0:3 Ошибка трансляции: кавычки не закрыты.");
}

TEST(Scanner, CharacterLiterals) {
  EXPECT_EQ(Scan("'a' ''' ' '"), "0/3:a@0:1 0/3:'@0:5 0/3: @0:9 end");
  EXPECT_EQ(Scan("x 'ab'"), "9:x@0:1 error 0:3 Ошибка трансляции: неверная запись символа.");
  EXPECT_EQ(Scan("x '"), "9:x@0:1 error 0:3 Ошибка трансляции: неверная запись символа.");
  EXPECT_EQ(Scan("'a"), "error 0:1 Ошибка трансляции: неверная запись символа.");
}

TEST(Scanner, UngetIsOneStepAndStateIsRestored) {
  const std::vector<std::string> lines = SourceLines("a b c d");
  TPseudoCode prog(0);
  TCompiler c;
  c.SetSource(lines, &prog);
  c.NextToken();
  c.NextToken();
  c.NextToken();  // c
  c.UngetToken();
  EXPECT_EQ(c.Token.Text, "b");
  EXPECT_EQ(c.Token1.Text, "a");
  c.NextToken();
  EXPECT_EQ(c.Token.Text, "c");
  const TScanState saved = c.SaveState();
  c.NextToken();
  EXPECT_EQ(c.Token.Text, "d");
  c.RestoreState(saved);
  EXPECT_EQ(c.Token.Text, "c");
  EXPECT_EQ(c.Token1.Text, "b");
  c.NextToken();  // the cursor is at the start of the restored token
  EXPECT_EQ(c.Token.Text, "c");
  c.NextToken();
  c.NextToken();
  EXPECT_EQ(c.Token.Kind, tkEnd);
  EXPECT_EQ(c.Token.Col, 7);  // the end keeps the last token's position
  c.UngetToken();
  c.NextToken();
  EXPECT_EQ(c.Token.Kind, tkEnd);
  EXPECT_THROW(c.NextTokenRequired(), ECompileException);
}

TEST(Scanner, SurvivesAnyBytes) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != '\n' && b != '"' && b != '\'' && b != '.') all += static_cast<char>(b);
  std::vector<std::string> lines = {all, std::string(100000, 'x'), std::string("a\0b", 3), "", "\x98\xff"};
  TPseudoCode prog(0);
  TCompiler c;
  c.SetSource(lines, &prog);
  int count = 0;
  for (c.NextToken(); c.Token.Kind != tkEnd; c.NextToken()) ++count;
  EXPECT_GT(count, 20);
  EXPECT_EQ(c.Token1.Text, "\x98\xff");
}

}  // namespace
