// Value hints: the word under the mouse, which variable it names where it
// is hovered, the hint's text and where the hint window goes.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QGuiApplication>
#include <QScreen>

#include "paused_program.h"
#include "qtext.h"
#include "var_hint.h"

namespace {

TEST(WordAt, LongestRunOfNonDelimitersAroundTheColumn) {
  struct Case {
    const char* line;
    int column;
    const char* word;
  };
  const Case cases[] = {
      {"x1 = 5;", 0, "x1"},        {"x1 = 5;", 1, "x1"},     {"x1 = 5;", 2, ""},
      {"f(x);", 1, ""},            {"f(x);", 2, "x"},        {"s[i+1]", 2, "i"},
      {"a.b!c&d|e:f", 4, "a.b!c&d|e:f"},                     {"a\tb", 0, "a\tb"},
      {"abc", 3, ""},              {"abc", -1, ""},          {"", 0, ""},
      {"n%2==0", 0, "n"},          {"p^q", 2, "q"},          {"{k}", 1, "k"},
      {"\"s\"", 1, "s"},           {"'c'", 0, ""},           {"a-b*c/d", 6, "d"},
      {"x<y>z", 4, "z"},           {"x,y;z", 2, "y"},
  };
  for (const Case& c : cases) EXPECT_EQ(WordAt(c.line, c.column), c.word) << c.line << " @" << c.column;
  const std::string cyr = Utf8ToCp1251("выводстр счёт_1;");
  EXPECT_EQ(Cp1251ToUtf8(WordAt(cyr, 11)), "счёт_1");
}

// Globals on lines 0 and 2; the main program 3..6; max 7..12 (paused at
// 11); пусто 13..16, not running.
const char* const kProgram = R"(целые A = 100, g = 7;
// пояснение
символы big[300];
главная {
  выводстр max(2, 5);
  пусто;
}
целые max(целые a, целые b) {
  целые A[3];
  A[0] = 1; A[1] = 2; A[2] = 3;
  big[0] = 'x';
  возврат b;
}
пусто {
  целые q;
  q = 1;
}
)";
constexpr int kPauseLine = 11;

TEST(ValueHint, LocalHidesGlobalOnlyInsideItsProcedure) {
  TPausedProgram run(kProgram, kPauseLine);
  ASSERT_TRUE(run.Paused());
  struct Case {
    int line;
    const char* word;
    const char* text;
  };
  const Case cases[] = {
      {9, "A", "Целый массив\r\nA[3] = {1 2 3}"},
      {11, "b", "Целая переменная\r\nb = 5"},
      // The header line begins the body: its arguments are in sight.
      {7, "a", "Целая переменная\r\na = 2"},
      // In the main program the global is in sight, whatever runs now.
      {4, "A", "Целая переменная\r\nA = 100"},
      {9, "g", "Целая переменная\r\ng = 7"},
      {0, "g", "Целая переменная\r\ng = 7"},
      // Outside every procedure only globals are in sight.
      {1, "b", ""},
      // A procedure that is not running has no values: no hint, and not
      // the global of the same name either.
      {15, "q", ""},
      {15, "g", "Целая переменная\r\ng = 7"},
      {9, "a1", ""},
      {9, "", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Cp1251ToUtf8(ValueHintText(run.View(), c.line, c.word)), c.text) << c.word << " on " << c.line;

  const std::string big = ValueHintText(run.View(), 0, "big");
  ASSERT_EQ(big.size(), 204u);
  EXPECT_EQ(Cp1251ToUtf8(big.substr(0, 40)), "Символьный массив\r\nbig[300] = 'x¤¤¤¤¤¤¤¤");
  EXPECT_EQ(big.substr(200), " ...");
}

TEST(ValueHint, NoProgramNoHint) { EXPECT_EQ(ValueHintText(TPauseView{}, 0, "A"), ""); }

TEST(VarHintForm, ShowAtPutsTheBottomAtTheMouseAndTheTopNoHigherThan30) {
  TVarHintForm hint;
  const QString two = QStringLiteral("Целая переменная\r\ng = 7");
  hint.ShowAt(100, 400, two);
  EXPECT_TRUE(hint.isVisible());
  EXPECT_EQ(hint.Text(), QStringLiteral("Целая переменная\ng = 7"));
  EXPECT_EQ(hint.geometry().left(), 100);
  EXPECT_EQ(hint.width(), 154);
  EXPECT_EQ(hint.geometry().top() + hint.height(), 400);
  const int twoLines = hint.height();

  hint.ShowAt(100, 10, two);
  EXPECT_EQ(hint.geometry().top(), 30);

  // A long value wraps, the window grows downwards from the same bottom.
  const QString longText = two + QString(60, QLatin1Char('x'));
  hint.ShowAt(100, 400, longText);
  EXPECT_GT(hint.height(), twoLines);
  EXPECT_EQ(hint.geometry().top() + hint.height(), 400);
  if (const char* dir = std::getenv("TARMISY_SHOT_DIR")) {
    hint.ShowAt(100, 400, QStringLiteral("Символьный массив\nbig[300] = 'abc") + QString(180, QChar(0xA4)) +
                              QStringLiteral(" ..."));
    hint.grab().save(QString::fromUtf8(dir) + QStringLiteral("/hint.png"));
  }
}

TEST(VarHintForm, StaysOnTheScreenAtItsRightEdge) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  const QRect area = screen->availableGeometry();
  TVarHintForm hint;
  hint.ShowAt(area.right() - 10, 300, QStringLiteral("x"));
  EXPECT_EQ(hint.geometry().right(), area.right());
}

}  // namespace
