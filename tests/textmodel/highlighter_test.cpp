#include "highlighter.h"

#include <gtest/gtest.h>

#include "encoding.h"
#include "line_store.h"
#include "style_list.h"

namespace {

enum { kDelim = 1, kComment = 2, kNumber = 3, kKeyword = 4, kString = 5, kCommand = 6 };

// A highlighter set up like the program editor, with a few words.
THighlighter MakeHighlighter() {
  THighlighter h;
  h.DelimiterStyle = kDelim;
  h.CommentStyle = kComment;
  h.NumberStyle = kNumber;
  h.LineComment = "//";
  h.MultiCommentLeft = "/*";
  h.MultiCommentRight = "*/";
  h.SetCaseSensitive(true);
  h.AddWords(kKeyword, {"if", Utf8ToCp1251("если"), "int"});
  h.AddSpecials(kKeyword, {">=", "<=", "<>", ">>", "<<", "&", "|", "!"});
  h.AddWords(kCommand, {Utf8ToCp1251("вперед"), "if"});
  h.AddBrackets(kString, {"\"\""});
  return h;
}

// The style bytes of a line as digits, one per character: easy to compare.
std::string Styles(const THighlighter& h, std::string_view utf8, TLineState* state = nullptr) {
  std::string styles;
  TLineState start = state ? *state : TLineState{};
  TLineState end = h.Scan(Utf8ToCp1251(utf8), start, styles);
  if (state) *state = end;
  for (char& c : styles) c = char('0' + c);
  return styles;
}

TEST(Highlighter, ExclamationIsPartOfAWordButASpecialAtTokenStart) {
  THighlighter h = MakeHighlighter();
  EXPECT_EQ(Styles(h, "a!=b"), "0010");
  EXPECT_EQ(Styles(h, "a != b"), "004100");
}

TEST(Highlighter, SpecialsAreComparedBeforeDelimiters) {
  THighlighter h = MakeHighlighter();
  EXPECT_EQ(Styles(h, "a>=b"), "0440");
  EXPECT_EQ(Styles(h, "a>b"), "010");
  EXPECT_EQ(Styles(h, "cin>>x"), "000440");
}

TEST(Highlighter, WordsNumbersAndDelimiters) {
  THighlighter h = MakeHighlighter();
  EXPECT_EQ(Styles(h, "int x1=12;"), "444000133" "1");
  // Digits and points run on, a malformed number included; a letter after
  // the digits starts a word.
  EXPECT_EQ(Styles(h, "12.5.3 7abc"), "33333303000");
  // The first listed style of a word wins.
  EXPECT_EQ(Styles(h, "if"), "44");
  EXPECT_EQ(Styles(h, "вперед(10)"), "6666661331");
  EXPECT_EQ(Styles(h, "under_score#x"), std::string(13, '0'));
}

TEST(Highlighter, CaseSensitiveComparisonCanBeSwitchedOff) {
  THighlighter h = MakeHighlighter();
  EXPECT_EQ(Styles(h, "ЕСЛИ если"), "000004444");
  h.SetCaseSensitive(false);
  EXPECT_EQ(Styles(h, "ЕСЛИ если"), "444404444");
}

TEST(Highlighter, StringsWithSlashesAndUnclosedStrings) {
  THighlighter h = MakeHighlighter();
  EXPECT_EQ(Styles(h, "s=\"a//b\";// c"), "0155555512222");
  TLineState state;
  EXPECT_EQ(Styles(h, "s=\"abc", &state), "015555");
  EXPECT_EQ(state.Bracket, 0);
  // The whole next line stays a string until a quote closes it; the quote
  // may be the very first character.
  EXPECT_EQ(Styles(h, "if x", &state), "5555");
  EXPECT_EQ(Styles(h, "\"+1", &state), "513");
  EXPECT_EQ(state.Bracket, -1);
}

TEST(Highlighter, LineAndBlockComments) {
  THighlighter h = MakeHighlighter();
  EXPECT_EQ(Styles(h, "x//if"), "02222");
  TLineState state;
  EXPECT_EQ(Styles(h, "a/*b", &state), "0222");
  EXPECT_TRUE(state.InComment);
  EXPECT_EQ(Styles(h, "if \"x", &state), "22222");
  EXPECT_EQ(Styles(h, "*/if", &state), "2244");
  EXPECT_FALSE(state.InComment);
  EXPECT_EQ(state.Bracket, -1);
  // "/*/" opens a comment and does not close it.
  state = {};
  EXPECT_EQ(Styles(h, "/*/x", &state), "2222");
  EXPECT_TRUE(state.InComment);
  // Without both delimiters there are no block comments.
  h.MultiCommentRight.clear();
  state = {};
  EXPECT_EQ(Styles(h, "/*x", &state), "110");
  EXPECT_FALSE(state.InComment);
}

TEST(LineStore, BlockCommentColorsTheLinesBetweenAndGoesAwayWithItsOpening) {
  THighlighter h = MakeHighlighter();
  THighlightFn scan = [&](std::string_view l, TLineState s, std::string& out) { return h.Scan(l, s, out); };
  TqxMemoStrings lines;
  lines.Assign({"x /* a", "if", "b", "c */ if", "if"});
  lines.Validate(lines.Count() - 1, scan);
  EXPECT_EQ(lines.Prop(1).Styles, std::string(2, char(kComment)));
  EXPECT_EQ(lines.Prop(2).Styles, std::string(1, char(kComment)));
  EXPECT_EQ(lines.Prop(3).Styles.substr(0, 4), std::string(4, char(kComment)));
  EXPECT_EQ(lines.Prop(3).Styles.substr(5), std::string(2, char(kKeyword)));
  EXPECT_EQ(lines.Prop(4).Styles, std::string(2, char(kKeyword)));

  lines.Set(0, "x  a");
  lines.Validate(lines.Count() - 1, scan);
  EXPECT_EQ(lines.Prop(1).Styles, std::string(2, char(kKeyword)));
  EXPECT_EQ(lines.Prop(2).Styles, std::string(1, '\0'));
  EXPECT_FALSE(lines.Prop(3).CommentOpen);
}

// The first line has no line above to inherit a comment or a string from.
TEST(LineStore, DeletingTheFirstLineLeavesNoStateInheritedFromIt) {
  THighlighter h = MakeHighlighter();
  THighlightFn scan = [&](std::string_view l, TLineState s, std::string& out) { return h.Scan(l, s, out); };
  TqxMemoStrings lines;
  lines.Assign({"/* a", "if", "\"x", "if"});
  lines.Validate(lines.Count() - 1, scan);
  EXPECT_TRUE(lines.Prop(1).CommentOpen);
  lines.Delete(0);
  lines.Validate(lines.Count() - 1, scan);
  EXPECT_FALSE(lines.Prop(0).CommentOpen);
  EXPECT_EQ(lines.Prop(0).Styles, std::string(2, char(kKeyword)));
  lines.Delete(0);
  lines.Delete(0);
  lines.Validate(lines.Count() - 1, scan);
  EXPECT_EQ(lines.Prop(0).BracketOpen, -1);
  EXPECT_EQ(lines.Prop(0).Styles, std::string(2, char(kKeyword)));
}

TEST(LineStore, ValidatesOnlyDownToTheLineAsked) {
  int scanned = 0;
  THighlighter h = MakeHighlighter();
  THighlightFn scan = [&](std::string_view l, TLineState s, std::string& out) {
    ++scanned;
    return h.Scan(l, s, out);
  };
  TqxMemoStrings lines;
  lines.Assign(std::vector<std::string>(1000, "if x"));
  lines.Validate(29, scan);
  EXPECT_EQ(scanned, 30);
  EXPECT_FALSE(lines.Prop(30).Valid);
  // An edit rescans that line only while the state it hands on is the same.
  scanned = 0;
  lines.Set(10, "if y");
  lines.Validate(29, scan);
  EXPECT_EQ(scanned, 1);
  // Opening a comment ripples down to the last line asked for.
  scanned = 0;
  lines.Set(10, "/*");
  lines.Validate(29, scan);
  EXPECT_EQ(scanned, 20);
  EXPECT_TRUE(lines.Prop(29).CommentOpen);
}

TEST(LineStore, IndexErrorsCarryTheirMessages) {
  TqxMemoStrings lines;
  EXPECT_EQ(lines.Count(), 1);
  try {
    lines.Get(5);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "Incorrect index of list item 5");
  }
  TStyleList styles;
  EXPECT_EQ(styles.Count(), 1);
  EXPECT_EQ(styles.Add(clBlue, clWhite, fsBold), 1);
  try {
    styles.Get(-1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "Incorrect list item index -1");
  }
  EXPECT_EQ(styles.SafeGet(99), styles.Get(0));
}

}  // namespace
