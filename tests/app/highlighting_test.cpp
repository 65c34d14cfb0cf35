#include "highlighting.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "encoding.h"
#include "syntax_memo.h"

namespace {

std::vector<std::string> Utf(const std::vector<std::string>& cp) {
  std::vector<std::string> out;
  for (const auto& s : cp) out.push_back(Cp1251ToUtf8(s));
  return out;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST(HighlightLists, HoldEveryWordOfTheLanguageOnce) {
  const THighlightLists lists = HighlightLists();
  const std::vector<std::string> keywords = {
      "void",     "void",   "логические", "logical",  "boolean",   "символы",  "char",      "целые",  "int",
      "integer",  "дробные", "float",     "real",     "повтори",   "repeat",   "while",     "пока",   "for",
      "цикл",     "break",  "прервать",   "continue", "продолжить", "print",   "вывод",     "печать", "cout",
      "println",  "выводстр", "печатьстр", "coutln",  "input",     "ввод",     "cin",       "return", "возврат",
      "clrscr",   "очистить", "if",       "если",     "else",      "иначе",    "and",       "и",      "or",
      "или",      "not",    "не",         "true",     "false",     "истина",   "ложь"};
  const std::vector<std::string> functions = {
      "trunc",      "round",      "sqrt",    "abs",       "sin",     "sing",     "cos",      "cosg",
      "tan",        "tang",       "arcsin",  "arcsing",   "arccos",  "arccosg",  "arctan",   "arctang",
      "arctan2",    "arctan2g",   "exp",     "ln",        "lg",      "sign",     "random",   "randomu",
      "RGB",        "pi",         "copy",    "фрагмент",  "pos",     "позиция",  "insert",   "вставить",
      "delete",     "удалить",    "length",  "длина",     "MoveTo",  "КурсорК",  "LineTo",   "ЛинияК",
      "Line",       "Линия",      "Pen",     "Перо",      "Brush",   "Кисть",    "TextColor", "ЦветТекста",
      "TextAngle",  "УголТекста", "TextOut", "Текст",     "Point",   "Точка",    "Rectangle", "Прямоугольник",
      "Arc",        "Дуга",       "Ellipse", "Эллипс",    "Заливка", "Fill",     "FillTo",   "ЗаливкаДо",
      "Font",       "Шрифт"};
  const std::vector<std::string> commands = {
      "вперед",  "назад",      "влево",   "вправо",     "курс",   "вектор", "домой",  "скройся",
      "покажись", "подними_перо", "опусти_перо", "цвет", "цветRGB", "закрась", "закрасьRGB", "окружность",
      "в_точку", "вперед",     "назад",   "налево",     "направо", "кругом", "посади"};
  const std::vector<std::string> sensors = {
      "слева_стена",     "справа_стена",     "впереди_стена", "сзади_стена",     "слева_клумба",
      "справа_клумба",   "впереди_клумба",   "сзади_клумба",  "слева_свободно",  "справа_свободно",
      "впереди_свободно", "сзади_свободно",  "грядка",        "клумба",          "база"};
  EXPECT_EQ(lists.Keywords.size(), 52u);
  EXPECT_EQ(lists.Functions.size(), 66u);
  EXPECT_EQ(lists.Commands.size(), 23u);
  EXPECT_EQ(lists.Sensors.size(), 15u);
  EXPECT_EQ(Sorted(Utf(lists.Keywords)), Sorted(keywords));
  EXPECT_EQ(Sorted(Utf(lists.Functions)), Sorted(functions));
  EXPECT_EQ(Sorted(Utf(lists.Commands)), Sorted(commands));
  EXPECT_EQ(Sorted(Utf(lists.Sensors)), Sorted(sensors));
  EXPECT_EQ(lists.Specials, (std::vector<std::string>{">=", "<=", "<>", ">>", "<<", "&", "|", "!"}));
  EXPECT_EQ(lists.Brackets, (std::vector<std::string>{"\"\""}));
}

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

TEST_F(ProgramEditor, StylesFollowTheEditorsOwnInOrderWithTheirColours) {
  EXPECT_EQ(editor.NumberStyleIndex(), 3);
  EXPECT_EQ(styles.Keyword, 4);
  EXPECT_EQ(styles.Function, 5);
  EXPECT_EQ(styles.Command, 6);
  EXPECT_EQ(styles.Sensor, 7);
  EXPECT_EQ(styles.String, 8);
  EXPECT_EQ(styles.ErrorLine, 9);
  EXPECT_EQ(styles.ErrorChar, 10);
  EXPECT_EQ(styles.CurrentLine, 11);
  const TStyleList& s = editor.Styles();
  EXPECT_EQ(s.Get(styles.Keyword), (TCharStyle{RGBColor(0, 0, 255), clWhite, 0}));
  EXPECT_EQ(s.Get(styles.Function), (TCharStyle{RGBColor(0, 0, 128), clWhite, fsBold}));
  EXPECT_EQ(s.Get(styles.Command), (TCharStyle{RGBColor(204, 0, 0), clWhite, fsBold}));
  EXPECT_EQ(s.Get(styles.Sensor), (TCharStyle{RGBColor(255, 0, 255), clWhite, fsBold}));
  EXPECT_EQ(s.Get(styles.String), (TCharStyle{RGBColor(0, 128, 0), clWhite, 0}));
  EXPECT_EQ(s.Get(styles.ErrorLine), (TCharStyle{RGBColor(255, 255, 0), RGBColor(255, 0, 0), fsBold}));
  EXPECT_EQ(s.Get(styles.ErrorChar), (TCharStyle{clBlack, RGBColor(255, 255, 0), fsBold}));
  EXPECT_EQ(s.Get(styles.CurrentLine), (TCharStyle{clWhite, RGBColor(0, 128, 0), 0}));
  EXPECT_EQ(editor.NumberStyle, (TCharStyle{RGBColor(0, 0, 128), clWhite, 0}));
  EXPECT_EQ(editor.CommentStyle, (TCharStyle{RGBColor(192, 192, 192), clWhite, fsItalic}));
  EXPECT_TRUE(editor.CaseSensitive());
  EXPECT_EQ(editor.LineComment(), "//");
}

// The HTML export reads the style list, which must hold the program
// editor's own colours already before the editor is first painted.
TEST_F(ProgramEditor, OwnStylesAreInTheListBeforeAnyPaint) {
  const TStyleList& s = editor.Styles();
  EXPECT_EQ(s.Get(editor.DelimiterStyleIndex()), kDelimiterStyle);
  EXPECT_EQ(s.Get(editor.CommentStyleIndex()), kCommentStyle);
  EXPECT_EQ(s.Get(editor.NumberStyleIndex()), (TCharStyle{RGBColor(0, 0, 128), clWhite, 0}));
}

TEST_F(ProgramEditor, CapitalKeywordIsNotColoured) {
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

TEST_F(ProgramEditor, EveryExecutorsWordsAreColoured) {
  const int cmd = styles.Command, sen = styles.Sensor, fn = styles.Function;
  std::vector<int> v = StylesOf("вперед грядка Линия");
  EXPECT_EQ(v[0], cmd);
  EXPECT_EQ(v[7], sen);
  EXPECT_EQ(v[14], fn);
}

}  // namespace
