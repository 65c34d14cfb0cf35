#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <climits>

#include "encoding.h"
#include "type_text.h"
#include "user_screen.h"

namespace {

class Console : public ::testing::Test {
 protected:
  void SetUp() override {
    layout = new QVBoxLayout(&window);
    screen = new TqxUserScreen;
    other = new QLineEdit;
    layout->addWidget(screen);
    layout->addWidget(other);
    window.resize(400, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  // Types after the read has started waiting.
  void TypeLater(const QString& text, bool enter = true) {
    QTimer::singleShot(0, screen, [this, text, enter] {
      TypeText(screen, text);
      if (enter) QTest::keyClick(screen, Qt::Key_Return);
    });
  }
  std::string Line(int i) { return Cp1251ToUtf8(screen->Lines().Get(i)); }

  QWidget window;
  QVBoxLayout* layout = nullptr;
  TqxUserScreen* screen = nullptr;
  QLineEdit* other = nullptr;
  const TqxUserScreen::TStopFlag never = [] { return false; };
};

TEST_F(Console, AddLineAppendToLineAndClear) {
  screen->AddLine(Utf8ToCp1251("первая"));
  EXPECT_EQ(screen->LineCount(), 1);
  screen->AddLine("");
  screen->AppendToLine(1, "42");
  screen->AppendToLine(1, " ");
  EXPECT_EQ(screen->LineCount(), 2);
  EXPECT_EQ(Line(0), "первая");
  EXPECT_EQ(Line(1), "42 ");
  EXPECT_EQ(screen->CaretLine(), 1);
  screen->Clear();
  EXPECT_EQ(screen->LineCount(), 1);
  EXPECT_EQ(Line(0), "");
  EXPECT_EQ(screen->CaretLine(), 0);
}

TEST_F(Console, PromptStaysAboveTheInputLineInTheUserStyle) {
  screen->AddLine("x = ");
  TypeLater(QStringLiteral("12"));
  int value = 0;
  EXPECT_TRUE(screen->ReadInteger(value, never));
  EXPECT_EQ(value, 12);
  EXPECT_EQ(screen->LineCount(), 2);
  EXPECT_EQ(Line(0), "x = ");
  EXPECT_EQ(Line(1), "12");
  EXPECT_EQ(screen->LineMark(1), screen->UserStyleIndex());
  EXPECT_EQ(screen->LineMark(0), 0);
  EXPECT_EQ(screen->InputMode(), imNone);
  EXPECT_TRUE(screen->HiddenCaret());
  // Output goes on after the input line, in the output style.
  screen->AddLine("ok");
  EXPECT_EQ(screen->LineMark(2), 0);
}

TEST_F(Console, IntegerModeDropsLettersAndLateMinusSigns) {
  TypeLater(QStringLiteral("a-1x-2"));
  int value = 0;
  EXPECT_TRUE(screen->ReadInteger(value, never));
  EXPECT_EQ(value, -12);
  // A minus is the first typed character again once Backspace took all back.
  screen->BeginInput(imInteger);
  QTest::keyClicks(screen, QStringLiteral("5"));
  QTest::keyClick(screen, Qt::Key_Backspace);
  EXPECT_EQ(screen->TypedCount(), 0);
  QTest::keyClicks(screen, QStringLiteral("-7"));
  EXPECT_EQ(Line(screen->CaretLine()), "-7");
  screen->EndInput();
}

TEST_F(Console, BadNumbersGiveTheMaximumAndFalse) {
  TypeLater(QStringLiteral("-"));
  int value = 0;
  EXPECT_FALSE(screen->ReadInteger(value, never));
  EXPECT_EQ(value, INT_MAX);
  TypeLater(QStringLiteral("99999999999"));
  EXPECT_FALSE(screen->ReadInteger(value, never));
  EXPECT_EQ(value, INT_MAX);
  TypeLater(QString());
  double real = 0;
  EXPECT_FALSE(screen->ReadReal(real, never));
  EXPECT_EQ(real, 2147483647.0);
  EXPECT_FALSE(screen->HiddenCaret() == false);
}

TEST_F(Console, RealInputWithACommaSeparator) {
  screen->SetDecimalSeparator(',');
  TypeLater(QStringLiteral("1,5,.7"));
  double value = 0;
  EXPECT_TRUE(screen->ReadReal(value, never));
  EXPECT_DOUBLE_EQ(value, 1.57);
  // Deleting the separator allows a new one.
  screen->BeginInput(imReal);
  QTest::keyClicks(screen, QStringLiteral("2,"));
  EXPECT_TRUE(screen->SeparatorTyped());
  QTest::keyClick(screen, Qt::Key_Backspace);
  EXPECT_FALSE(screen->SeparatorTyped());
  QTest::keyClicks(screen, QStringLiteral(",25"));
  EXPECT_EQ(Line(screen->CaretLine()), "2,25");
  screen->EndInput();
}

TEST_F(Console, TextInputTakesEverythingAsTyped) {
  TypeLater(QString::fromUtf8("Да, -1.5 !"));
  std::string text;
  EXPECT_TRUE(screen->ReadText(text, never));
  EXPECT_EQ(Cp1251ToUtf8(text), "Да, -1.5 !");
}

TEST_F(Console, NavigationIsIgnoredDuringInputAndEverythingOutsideIt) {
  screen->AddLine("out");
  screen->BeginInput(imText);
  QTest::keyClicks(screen, QStringLiteral("ab"));
  for (int key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_End}) QTest::keyClick(screen, Qt::Key(key));
  QTest::keyClick(screen, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClicks(screen, QStringLiteral("c"));
  EXPECT_EQ(Line(1), "abc");
  EXPECT_EQ(screen->CaretCol(), 3);
  // Backspace stops at the start of the input line.
  for (int i = 0; i < 5; ++i) QTest::keyClick(screen, Qt::Key_Backspace);
  EXPECT_EQ(Line(1), "");
  EXPECT_EQ(Line(0), "out");
  EXPECT_EQ(screen->TypedCount(), 0);
  // Mouse presses cannot move the caret while reading.
  QTest::mouseClick(screen->viewport(), Qt::LeftButton, Qt::NoModifier, screen->CellRect(1, 0).center());
  EXPECT_EQ(screen->CaretLine(), 1);
  QTest::keyClick(screen, Qt::Key_Return);
  EXPECT_TRUE(screen->InputDone());
  EXPECT_EQ(screen->InputMode(), imNone);
  QTest::keyClicks(screen, QStringLiteral("zz"));
  QTest::keyClick(screen, Qt::Key_Return);
  EXPECT_EQ(screen->LineCount(), 2);
  EXPECT_EQ(Line(1), "");
  // Outside input the mouse selects, and the output can be copied.
  QTest::mouseClick(screen->viewport(), Qt::LeftButton, Qt::NoModifier, screen->CellRect(1, 0).center());
  EXPECT_EQ(screen->CaretLine(), 0);
}

// Select All may be pressed while reading (to copy the output); the next
// key must not wipe the output the selection covers.
TEST_F(Console, KeysAfterSelectAllDuringInputKeepTheOutput) {
  screen->AddLine("first");
  screen->AddLine("second");
  screen->BeginInput(imInteger);
  QTest::keyClicks(screen, QStringLiteral("1"));
  QTest::keyClick(screen, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(screen, Qt::Key_Backspace);
  QTest::keyClick(screen, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(screen, QStringLiteral("42"));
  EXPECT_EQ(screen->LineCount(), 3);
  EXPECT_EQ(Line(0), "first");
  EXPECT_EQ(Line(1), "second");
  EXPECT_EQ(Line(2), "42");
  EXPECT_EQ(screen->TypedCount(), 2);
  EXPECT_FALSE(screen->HasSelection());
  screen->EndInput();
}

// A click beyond the end of an output line must not pad it: the program's
// next output goes on right after what it printed.
TEST_F(Console, AClickBeyondTheOutputDoesNotPadIt) {
  screen->AddLine("abc");
  QTest::mouseClick(screen->viewport(), Qt::LeftButton, Qt::NoModifier, screen->CellRect(20, 0).center());
  EXPECT_EQ(screen->CaretCol(), 3);
  screen->AppendToLine(0, "def");
  EXPECT_EQ(Line(0), "abcdef");
  screen->BeginInput(imFree);
  QTest::keyClick(screen, Qt::Key_Up);
  for (int i = 0; i < 8; ++i) QTest::keyClick(screen, Qt::Key_Right);
  EXPECT_EQ(Line(0), "abcdef");
  screen->EndInput();
}

// Free editing handles the keys as the editor does, except that Backspace
// at the start of a line does not join it to the output above.
TEST_F(Console, FreeEditingBackspaceStopsAtTheStartOfTheLine) {
  screen->AddLine("out");
  screen->BeginInput(imFree);
  QTest::keyClicks(screen, QStringLiteral("ab"));
  for (int i = 0; i < 4; ++i) QTest::keyClick(screen, Qt::Key_Backspace);
  EXPECT_EQ(screen->LineCount(), 2);
  EXPECT_EQ(Line(0), "out");
  EXPECT_EQ(Line(1), "");
  screen->EndInput();
}

TEST_F(Console, StopEndsTheReadWithZero) {
  bool stop = false;
  QTimer::singleShot(30, [&] { stop = true; });
  int value = 5;
  EXPECT_FALSE(screen->ReadInteger(value, [&] { return stop; }));
  EXPECT_EQ(value, 0);
  EXPECT_EQ(screen->InputMode(), imNone);
  std::string text = "x";
  EXPECT_FALSE(screen->ReadText(text, [] { return true; }));
  EXPECT_EQ(text, "");
}

TEST_F(Console, TheFocusComesBackDuringInput) {
  screen->BeginInput(imInteger);
  EXPECT_TRUE(screen->hasFocus());
  other->setFocus();
  EXPECT_FALSE(screen->hasFocus());
  QTRY_VERIFY_WITH_TIMEOUT(screen->hasFocus(), 2000);
  screen->EndInput();
  other->setFocus();
  QTest::qWait(300);
  EXPECT_FALSE(screen->hasFocus());
}

TEST(ConsoleParse, NumbersAreTrimmedAndChecked) {
  int i = 0;
  EXPECT_TRUE(TqxUserScreen::ParseInteger("  -2147483648 ", i));
  EXPECT_EQ(i, INT_MIN);
  EXPECT_FALSE(TqxUserScreen::ParseInteger("2147483648", i));
  EXPECT_FALSE(TqxUserScreen::ParseInteger("1 2", i));
  EXPECT_FALSE(TqxUserScreen::ParseInteger("", i));
  double d = 0;
  EXPECT_TRUE(TqxUserScreen::ParseReal(" 2.5", '.', d));
  EXPECT_EQ(d, 2.5);
  EXPECT_TRUE(TqxUserScreen::ParseReal("-3", '.', d));
  EXPECT_FALSE(TqxUserScreen::ParseReal("1e999", '.', d));
  EXPECT_FALSE(TqxUserScreen::ParseReal("1.5", ',', d));
  EXPECT_TRUE(TqxUserScreen::ParseReal("1,5", ',', d));
  EXPECT_EQ(d, 1.5);
  EXPECT_FALSE(TqxUserScreen::ParseReal("nan", '.', d));
}

}  // namespace
