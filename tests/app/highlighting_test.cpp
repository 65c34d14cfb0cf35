#include "highlighting.h"

#include <gtest/gtest.h>

#include "encoding.h"
#include "string_table.h"
#include "syntax_memo.h"
#include "vocabulary.h"

namespace {

class ProgramEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    SetupProgramEditor(editor);
    styles = SetupHighlighting(editor);
  }
  // The style of each character of a one-line text.
  std::vector<int> StylesOf(std::string_view utf8) {
    editor.SetText(Utf8ToCp1251(utf8));
    std::vector<int> out;
    for (int i = 1; i <= int(editor.Lines().Get(0).size()); ++i) out.push_back(editor.StyleAt(0, i));
    return out;
  }
  TqxSyntaxMemo editor;
  THighlightStyles styles;
};

// Every written word of the language's tables is colored in the style its
// table entry asks for, in both languages, and nothing else about them is
// assumed: a word added to the vocabulary is colored without touching the
// editor.
TEST_F(ProgramEditor, EveryWordOfTheVocabularyIsColoredWithItsStyle) {
  auto expectWord = [&](TStrId id, int style) {
    const std::string word = Str(id);
    editor.SetText(word);
    for (int i = 1; i <= int(word.size()); ++i)
      ASSERT_EQ(editor.StyleAt(0, i), style) << Cp1251ToUtf8(word) << " at " << i;
  };
  for (const TKeywordWord& k : KeywordWords()) expectWord(k.word, styles.Keyword);
  for (const TLogicalWord& w : LogicalWords()) expectWord(w.word, styles.Keyword);
  for (TStrId id : WordOperatorIds()) expectWord(id, styles.Keyword);
  for (const TBuiltinDef& def : BuiltinTable()) {
    const int style = def.style == bsKeyword    ? styles.Keyword
                      : def.style == bsFunction ? styles.Function
                      : def.style == bsCommand  ? styles.Command
                                                : styles.Sensor;
    expectWord(def.name, style);
    if (def.russianName != kNoWord) expectWord(def.russianName, style);
  }
}

// What a pupil sees: the colors of the word, string and line styles.
TEST_F(ProgramEditor, StylesHaveTheirColors) {
  const TStyleList& s = editor.Styles();
  const struct {
    int index;
    TCharStyle style;
  } cases[] = {
      {styles.Keyword, {RGBColor(0, 0, 255), clWhite, 0}},
      {styles.Function, {RGBColor(0, 0, 128), clWhite, fsBold}},
      {styles.Command, {RGBColor(204, 0, 0), clWhite, fsBold}},
      {styles.Sensor, {RGBColor(255, 0, 255), clWhite, fsBold}},
      {styles.String, {RGBColor(0, 128, 0), clWhite, 0}},
      {styles.ErrorLine, {RGBColor(255, 255, 0), RGBColor(255, 0, 0), fsBold}},
      {styles.ErrorChar, {clBlack, RGBColor(255, 255, 0), fsBold}},
      {styles.CurrentLine, {clWhite, RGBColor(0, 128, 0), 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(s.Get(c.index), c.style) << c.index;
  EXPECT_EQ(editor.NumberStyle, (TCharStyle{RGBColor(0, 0, 128), clWhite, 0}));
  EXPECT_EQ(editor.CommentStyle, (TCharStyle{RGBColor(192, 192, 192), clWhite, fsItalic}));
  EXPECT_TRUE(editor.CaseSensitive());
  EXPECT_EQ(editor.LineComment(), "//");
}

// The HTML export reads the style list, which must hold the program
// editor's own colors already before the editor is first painted.
TEST_F(ProgramEditor, OwnStylesAreInTheListBeforeAnyPaint) {
  const TStyleList& s = editor.Styles();
  EXPECT_EQ(s.Get(editor.DelimiterStyleIndex()), kDelimiterStyle);
  EXPECT_EQ(s.Get(editor.CommentStyleIndex()), kCommentStyle);
  EXPECT_EQ(s.Get(editor.NumberStyleIndex()), (TCharStyle{RGBColor(0, 0, 128), clWhite, 0}));
}

TEST_F(ProgramEditor, CapitalKeywordIsNotColored) {
  const int k = styles.Keyword;
  EXPECT_EQ(StylesOf("если ЕСЛИ"), (std::vector<int>{k, k, k, k, 0, 0, 0, 0, 0}));
}

TEST_F(ProgramEditor, ExclamationIsASpecialAndEqualsADelimiter) {
  const int k = styles.Keyword, d = editor.DelimiterStyleIndex();
  EXPECT_EQ(StylesOf("a != b"), (std::vector<int>{0, 0, k, d, 0, 0}));
}

TEST_F(ProgramEditor, SlashesInAStringStayInTheString) {
  const int s = styles.String, c = editor.CommentStyleIndex();
  EXPECT_EQ(StylesOf("\"a//b\"//c"), (std::vector<int>{s, s, s, s, s, s, c, c, c}));
}

TEST_F(ProgramEditor, EveryExecutorsWordsAreColored) {
  const int cmd = styles.Command, sen = styles.Sensor, fn = styles.Function;
  std::vector<int> v = StylesOf("вперед грядка Линия");
  EXPECT_EQ(v[0], cmd);
  EXPECT_EQ(v[7], sen);
  EXPECT_EQ(v[14], fn);
}

}  // namespace
