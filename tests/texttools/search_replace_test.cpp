#include "search_replace.h"

#include <gtest/gtest.h>

#include "encoding.h"

namespace {

struct TWrapAnswers {
  int Asked = 0;
  bool Answer = true;
  bool LastDown = true;
  TAskWrap Fn() {
    return [this](bool down) {
      ++Asked;
      LastDown = down;
      return Answer;
    };
  }
};

TReplaceRequest All(std::string text, std::string replacement, bool down = true) {
  TReplaceRequest r{std::move(text), std::move(replacement), {}, true};
  r.Options.Down = down;
  return r;
}

TEST(ReplaceAll, WrapsOnceOnYesAndCountsTheSelectedOccurrence) {
  TMemoBuffer b;
  b.SetText("x = 1;\r\nx = 2; x = 3;\r\nx = 4;");
  b.SetCaret(0, 1);
  ASSERT_TRUE(FindNext(b, "x", {}));  // the first occurrence below is selected
  TWrapAnswers wrap;
  const TReplaceResult r = ReplaceText(b, All("x", "yy"), wrap.Fn());
  EXPECT_EQ(r.Count, 4);
  EXPECT_TRUE(r.Ended);
  EXPECT_EQ(wrap.Asked, 1);
  EXPECT_EQ(b.Text(), "yy = 1;\r\nyy = 2; yy = 3;\r\nyy = 4;");
}

TEST(ReplaceAll, NoAtTheWrapQuestionLeavesTheTextAbove) {
  TMemoBuffer b;
  b.SetText("x\r\nx x\r\nx");
  b.SetSelection({0, 1}, {1, 1});
  TWrapAnswers wrap;
  wrap.Answer = false;
  EXPECT_EQ(ReplaceText(b, All("X", "y"), wrap.Fn()).Count, 3);  // case folded
  EXPECT_EQ(b.Text(), "x\r\ny y\r\ny");
}

TEST(ReplaceAll, FromTheStartOfTheTextNeverAsks) {
  TMemoBuffer b;
  b.SetText("ab ab\r\nab");
  b.SetSelection({2, 0}, {0, 0});  // selected backwards: the caret at 0, 0
  TWrapAnswers wrap;
  EXPECT_EQ(ReplaceText(b, All("ab", "c"), wrap.Fn()).Count, 3);
  EXPECT_EQ(wrap.Asked, 0);
  EXPECT_EQ(b.Text(), "c c\r\nc");
}

// The second pass stops where the first began: the occurrences made by the
// first pass are not replaced again, however the text shifted on that line.
TEST(ReplaceAll, AReplacementHoldingTheSearchTextIsReplacedOnce) {
  for (bool down : {true, false}) {
    TMemoBuffer b;
    b.SetText("cout a; cout b; cout c;\r\ncout d;");
    b.SetCaret(8, 0);
    ASSERT_TRUE(FindNext(b, "cout", {down, false}));  // "cout b"
    TWrapAnswers wrap;
    const TReplaceResult r = ReplaceText(b, All("cout", "coutln", down), wrap.Fn());
    EXPECT_EQ(r.Count, 4) << down;
    EXPECT_EQ(wrap.Asked, 1) << down;
    EXPECT_EQ(wrap.LastDown, down);
    EXPECT_EQ(b.Text(), "coutln a; coutln b; coutln c;\r\ncoutln d;") << down;
  }
}

TEST(ReplaceAll, UpwardWrapsToTheEndAndEndsBeforeWhereItBegan) {
  TMemoBuffer b;
  b.SetText("a1 a2\r\na3\r\na4");
  b.SetSelection({1, 1}, {0, 1});  // "a" of a3, found upwards
  TWrapAnswers wrap;
  const TReplaceResult r = ReplaceText(b, All("a", "ba", false), wrap.Fn());
  EXPECT_EQ(r.Count, 4);
  EXPECT_EQ(b.Text(), "ba1 ba2\r\nba3\r\nba4");
}

TEST(ReplaceOne, ReplacesTheSelectionAndSelectsTheNext) {
  TMemoBuffer b;
  b.SetText("for for for");
  b.SetSelection({0, 0}, {3, 0});
  TReplaceRequest r{"for", "while", {}, false};
  TWrapAnswers wrap;
  const TReplaceResult res = ReplaceText(b, r, wrap.Fn());
  EXPECT_EQ(res.Count, 1);
  EXPECT_FALSE(res.Ended);
  EXPECT_EQ(b.Text(), "while for for");
  EXPECT_EQ(b.SelectedText(), "for");
  EXPECT_EQ(b.SelStart(), (TTextPos{6, 0}));
  // Upward the next one is the occurrence before, not the inserted text.
  b.SetSelection({13, 0}, {10, 0});
  r.Options.Down = false;
  r.Replacement = "forfor";
  ReplaceText(b, r, wrap.Fn());
  EXPECT_EQ(b.Text(), "while for forfor");
  EXPECT_EQ(b.SelStart(), (TTextPos{6, 0}));
  EXPECT_EQ(wrap.Asked, 0);
}

TEST(ReplaceOne, WithoutTheSearchTextSelectedOnlyFinds) {
  for (bool all : {false, true}) {
    TMemoBuffer b;
    b.SetText("abc abc");
    b.SetSelection({0, 0}, {2, 0});  // "ab"
    TReplaceRequest r{"abc", "x", {}, all};
    const TReplaceResult res = ReplaceText(b, r, nullptr);
    EXPECT_EQ(res.Count, 0);
    EXPECT_FALSE(res.Ended);
    EXPECT_EQ(b.Text(), "abc abc");
    EXPECT_EQ(b.SelStart(), (TTextPos{4, 0}));
  }
}

TEST(ReplaceAll, FoldsCyrillicCaseAndUndoes) {
  TMemoBuffer b;
  b.SetText(Utf8ToCp1251("пока пока"));
  b.SetSelection({0, 0}, {4, 0});
  TReplaceRequest r{Utf8ToCp1251("ПОКА"), "while", {}, true};
  EXPECT_EQ(ReplaceText(b, r, nullptr).Count, 2);
  EXPECT_EQ(b.Text(), "while while");
  while (b.Undo()) {
  }
  EXPECT_EQ(Cp1251ToUtf8(b.Text()), "пока пока");
}

}  // namespace
