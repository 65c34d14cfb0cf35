// Copies are found whatever their names, layout and comments; other
// programs are not.
#include <gtest/gtest.h>

#include "encoding.h"
#include "program.h"
#include "similarity.h"

namespace {

std::vector<std::string> Code(const std::string& utf8) {
  return NormalisedCode(*CompileProgram(ProgramLines(Utf8ToCp1251(utf8)), ekTurtle));
}

const char* kOriginal =
    "целые всего;\n"
    "главная {\n  целые i;\n  цикл (i = 0; i < 10; i = i + 1) прибавь(i);\n  выводстр всего;\n}\n"
    "прибавь(целые x) {\n  всего = всего + x * x;\n}\n";

TEST(Similarity, ACopyIsTheSameWhateverItsNamesLayoutAndComments) {
  const auto original = Code(kOriginal);
  for (const char* copy : {
           // renamed variables and procedure
           "целые s;\nглавная {\n  целые k;\n  цикл (k = 0; k < 10; k = k + 1) add(k);\n  выводстр s;\n}\n"
           "add(целые v) {\n  s = s + v * v;\n}\n",
           // other layout and comments
           "// сумма квадратов\nцелые всего;\n\n\nглавная\n{\n    целые i;   /* счётчик */\n"
           "    цикл (i = 0; i < 10; i = i + 1)\n        прибавь(i);\n    выводстр всего;\n}\n\n"
           "прибавь(целые x) { всего = всего + x * x; }  // квадрат\n",
       }) {
    EXPECT_EQ(Code(copy), original) << copy;
    EXPECT_DOUBLE_EQ(Similarity(Code(copy), original), 1.0);
  }
}

TEST(Similarity, ScoresChangesByHowMuchOfTheCodeTheyTouch) {
  const auto original = Code(kOriginal);
  // Another constant: one instruction differs.
  const auto tweaked = Code(
      "целые всего;\nглавная {\n  целые i;\n  цикл (i = 0; i < 12; i = i + 1) прибавь(i);\n  выводстр всего;\n}\n"
      "прибавь(целые x) {\n  всего = всего + x * x;\n}\n");
  // Another program.
  const auto other = Code("главная {\n  выводстр \"привет\";\n  выводстр 2 + 2;\n}\n");
  EXPECT_NE(tweaked, original);
  const double near = Similarity(tweaked, original), far = Similarity(other, original);
  EXPECT_GT(near, 0.85);
  EXPECT_LT(near, 1.0);
  EXPECT_LT(far, 0.5);
}

TEST(Similarity, GroupsCopiesAndListsNearMatchesApart) {
  const std::vector<std::vector<std::string>> codes = {
      {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"},
      {"x", "y"},
      {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"},
      {},  // did not translate: joins nothing
      {"a", "b", "c", "d", "e", "f", "g", "h", "i", "z"},
      {},
  };
  const TSimilarity s = FindSimilar(codes, 0.8);
  ASSERT_EQ(s.Groups.size(), 1u);
  EXPECT_EQ(s.Groups[0], (std::vector<int>{0, 2}));
  ASSERT_EQ(s.Near.size(), 2u);
  EXPECT_EQ(s.Near[0].A, 0);
  EXPECT_EQ(s.Near[0].B, 4);
  EXPECT_DOUBLE_EQ(s.Near[0].Score, 0.9);
  EXPECT_EQ(s.Near[1].A, 2);
}

}  // namespace
