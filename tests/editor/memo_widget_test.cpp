#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "encoding.h"
#include "qtext.h"
#include "syntax_memo.h"
#include "type_text.h"

namespace {

std::string Utf(const std::string& cp) { return Cp1251ToUtf8(cp); }

class MemoWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    memo.resize(400, 300);
    memo.show();
    QApplication::setActiveWindow(&memo);
    memo.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(&memo, Qt::Key(key), mods);
  }
  // The viewport point in the middle of a character cell.
  QPoint Cell(int col, int line) { return memo.CellRect(col, line).center(); }

  TqxSyntaxMemo memo;
};

TEST_F(MemoWidget, TypingUndoAndRedoWithTheKeys) {
  TypeText(&memo, QString::fromUtf8("пока x"));
  Key(Qt::Key_Return);
  QTest::keyClicks(&memo, QStringLiteral("y"));
  // A menu key that no menu took is not text.
  QTest::keyClick(&memo, 'f', Qt::AltModifier);
  EXPECT_EQ(Utf(memo.Text()), "пока x\r\ny");
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo.Text(), "");
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Utf(memo.Text()), "пока x\r\ny");
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Utf(memo.Text()), "пока x\r\ny");
}

TEST_F(MemoWidget, ShiftSelectionAndTheClipboard) {
  memo.SetText("alpha beta");
  Key(Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(memo.SelectedText(), "alpha ");
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("alpha "));
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(memo.Text(), "beta");
  Key(Qt::Key_End);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(memo.Text(), "betaalpha ");
  QApplication::clipboard()->setText(QString::fromUtf8("один\nдва"));
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Utf(memo.Text()), "betaalpha один\r\nдва");
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(memo.SelectedText(), memo.Text());
  Key(Qt::Key_Delete);
  EXPECT_EQ(memo.Text(), "");
}

TEST_F(MemoWidget, HomeEndAndWordKeys) {
  memo.SetText("    if (x) y;  ");
  Key(Qt::Key_End);
  EXPECT_EQ(memo.CaretCol(), 13);
  Key(Qt::Key_Home);
  EXPECT_EQ(memo.CaretCol(), 4);
  Key(Qt::Key_Home);
  EXPECT_EQ(memo.CaretCol(), 0);
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(memo.CaretCol(), 4);
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(memo.CaretCol(), 7);
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(memo.CaretCol(), 4);
  Key(Qt::Key_Left);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(memo.SelectedText(), " ");
}

TEST_F(MemoWidget, PageKeysMoveByAPageAndScroll) {
  std::vector<std::string> lines;
  for (int i = 0; i < 200; ++i) lines.push_back("line " + std::to_string(i));
  memo.SetLines(lines);
  const int page = memo.VisibleLines();
  ASSERT_GT(page, 5);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(memo.CaretLine(), page);
  EXPECT_EQ(memo.TopLine(), page);
  Key(Qt::Key_PageDown);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(memo.CaretLine(), page);
  EXPECT_EQ(memo.TopLine(), page);
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(memo.CaretLine(), 199);
  EXPECT_GE(199, memo.TopLine());
  EXPECT_LT(199, memo.TopLine() + page);
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(memo.TopLine(), 0);
  EXPECT_EQ(memo.verticalScrollBar()->value(), 0);
}

TEST_F(MemoWidget, MouseClickDragAndDoubleClick) {
  memo.SetText("first line\r\nsecond line\r\nthird");
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, Cell(3, 1) - QPoint(memo.CharWidth() / 3, 0));
  EXPECT_EQ(memo.CaretLine(), 1);
  EXPECT_EQ(memo.CaretCol(), 3);
  // A click beyond the end puts the caret there.
  QTest::mouseClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, Cell(20, 2));
  EXPECT_EQ(memo.CaretCol(), 20);
  QTest::mousePress(memo.viewport(), Qt::LeftButton, Qt::NoModifier, Cell(0, 0) - QPoint(memo.CharWidth() / 3, 0));
  QMouseEvent move(QEvent::MouseMove, QPointF(Cell(2, 1) - QPoint(memo.CharWidth() / 3, 0)),
                   memo.viewport()->mapToGlobal(QPointF(Cell(2, 1))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(memo.viewport(), &move);
  QTest::mouseRelease(memo.viewport(), Qt::LeftButton, Qt::NoModifier, Cell(2, 1));
  EXPECT_EQ(memo.SelectedText(), "first line\r\nse");
  QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, Cell(8, 1));
  EXPECT_EQ(memo.SelectedText(), "line");
}

TEST_F(MemoWidget, DragBelowTheTextKeepsScrollingAndMovesAreReported) {
  memo.SetLines(std::vector<std::string>(300, "text"));
  int moves = 0;
  QObject::connect(&memo, &TqxCustomMemo::OnMouseMove, [&] { ++moves; });
  QTest::mouseMove(memo.viewport(), Cell(1, 1));
  EXPECT_GE(moves, 1);
  QTest::mousePress(memo.viewport(), Qt::LeftButton, Qt::NoModifier, Cell(0, 0));
  QPoint below(10, memo.viewport()->height() + 5);
  QMouseEvent move(QEvent::MouseMove, QPointF(below), memo.viewport()->mapToGlobal(QPointF(below)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(memo.viewport(), &move);
  const int first = memo.TopLine();
  EXPECT_GT(first, 0);
  QTRY_VERIFY_WITH_TIMEOUT(memo.TopLine() > first + 2, 2000);
  QTest::mouseRelease(memo.viewport(), Qt::LeftButton, Qt::NoModifier, below);
  EXPECT_EQ(memo.Buffer().SelStart(), (TTextPos{0, 0}));
  EXPECT_GT(memo.CaretLine(), first + 2);
}

TEST_F(MemoWidget, WheelScrollsTheText) {
  std::vector<std::string> lines(300, "x");
  memo.SetLines(lines);
  QPoint at = memo.viewport()->rect().center();
  QWheelEvent wheel(at, memo.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(memo.viewport(), &wheel);
  EXPECT_GT(memo.TopLine(), 0);
  EXPECT_EQ(memo.CaretLine(), 0);
}

TEST_F(MemoWidget, TabInsertsBlanksAndKeepsTheFocus) {
  Key(Qt::Key_Tab);
  QTest::keyClicks(&memo, QStringLiteral("ab"));
  Key(Qt::Key_Tab);
  EXPECT_EQ(memo.Text(), "    ab  ");
  EXPECT_TRUE(memo.hasFocus());
}

TEST_F(MemoWidget, TabOverSeveralLinesIndentsThemInsteadOfReplacingThem) {
  memo.SetText("x\r\ny");
  Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_End, Qt::ShiftModifier);
  Key(Qt::Key_Tab);
  EXPECT_EQ(memo.Text(), "    x\r\n    y");
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(memo.Text(), "x\r\ny");
}

TEST_F(MemoWidget, ReadOnlyIgnoresEditingKeys) {
  memo.SetText("fixed");
  memo.SetReadOnly(true);
  QTest::keyClicks(&memo, QStringLiteral("zz"));
  Key(Qt::Key_Delete);
  Key(Qt::Key_Backspace);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(memo.Text(), "fixed");
}

TEST_F(MemoWidget, KeyDownHandlersCanTakeAKey) {
  int seen = 0;
  QObject::connect(&memo, &TqxCustomMemo::OnKeyDown, [&](QKeyEvent* e) {
    ++seen;
    if (e->key() == Qt::Key_F5) e->accept();
    if (e->text() == QStringLiteral("q")) e->accept();
  });
  QTest::keyClicks(&memo, QStringLiteral("aqb"));
  EXPECT_EQ(seen, 3);
  EXPECT_EQ(memo.Text(), "ab");
}

TEST_F(MemoWidget, ChangeAndUndoChangeAreSignalled) {
  int changes = 0, undoChanges = 0;
  QObject::connect(&memo, &TqxCustomMemo::OnChange, [&] { ++changes; });
  QObject::connect(&memo, &TqxCustomMemo::OnUndoChange, [&] { ++undoChanges; });
  QTest::keyClicks(&memo, QStringLiteral("ab"));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(undoChanges, 2);
  memo.Undo();
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(undoChanges, 3);
}

// The colors on the screen: line marks, the character highlight and the
// selection, and the style properties copied on the next paint.
TEST_F(MemoWidget, PaintingOfMarksHighlightAndSelection) {
  const int red = memo.Styles().Add(clYellow, clRed, fsBold);
  const int yellow = memo.Styles().Add(clBlack, clYellow, fsBold);
  memo.SetText("abc def\r\nghi\r\njkl");
  memo.SetLineMark(0, red);
  memo.SetCharHighlight(1, 1, yellow);
  memo.Buffer().SetSelection({0, 2}, {2, 2});
  QImage img = memo.viewport()->grab().toImage();
  auto at = [&](QPoint p) { return img.pixelColor(p).rgb() & 0xFFFFFF; };
  // Blank cells of each area, clear of the glyphs: the top left corner.
  auto corner = [&](int col, int line) { return memo.CellRect(col, line).topLeft() + QPoint(1, 0); };
  EXPECT_EQ(at(corner(3, 0)), 0xFF0000u);
  // The text of a marked line takes the mark's color: yellow on red.
  auto holds = [&](QRect r, QRgb color) {
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if ((img.pixel(x, y) & 0xFFFFFF) == color) return true;
    return false;
  };
  EXPECT_TRUE(holds(memo.CellRect(0, 0), 0xFFFF00u));
  EXPECT_FALSE(holds(memo.CellRect(0, 0), 0x000000u));
  EXPECT_EQ(at(QPoint(memo.viewport()->width() - 3, memo.CellRect(0, 0).center().y())), 0xFF0000u);
  EXPECT_EQ(at(corner(1, 1)), 0xFFFF00u);
  EXPECT_EQ(at(corner(0, 1)), 0xFFFFFFu);
  EXPECT_EQ(at(corner(0, 2)), 0x000080u);
  EXPECT_EQ(at(corner(4, 2)), 0xFFFFFFu);

  memo.SetText("1/2");
  memo.DelimiterStyle = TCharStyle{clBlue, clRed, 0};
  img = memo.viewport()->grab().toImage();
  EXPECT_EQ(at(corner(1, 0)), 0xFF0000u);
  EXPECT_EQ(memo.StyleAt(0, 2), memo.DelimiterStyleIndex());
  EXPECT_EQ(memo.StyleAt(0, 1), memo.NumberStyleIndex());
}

TEST_F(MemoWidget, CommentOpenedAboveTheViewColorsItInOnePaint) {
  std::vector<std::string> lines(500, "x");
  memo.SetLines(lines);
  memo.SetMultiCommentLeft("/*");
  memo.SetMultiCommentRight("*/");
  memo.SetTopLine(400);
  memo.viewport()->grab();
  memo.Lines().Set(10, "/*");
  memo.viewport()->grab();
  EXPECT_EQ(memo.StyleAt(400, 1), memo.CommentStyleIndex());
  memo.Lines().Set(10, "x");
  memo.viewport()->grab();
  EXPECT_EQ(memo.StyleAt(400, 1), 0);
}

TEST_F(MemoWidget, CaseSensitiveSwitchRescans) {
  memo.AddWords(memo.Styles().Add(clBlue, clWhite, 0), {Utf8ToCp1251("если")});
  memo.SetText(Utf8ToCp1251("ЕСЛИ"));
  memo.SetCaseSensitive(true);
  EXPECT_EQ(memo.StyleAt(0, 1), 0);
  memo.SetCaseSensitive(false);
  EXPECT_NE(memo.StyleAt(0, 1), 0);
}

TEST_F(MemoWidget, TemplateAndFindThroughTheControl) {
  memo.SetText("  ");
  memo.SetCaret(2, 0);
  memo.InsertTemplate("if (\a)\r{\r}");
  EXPECT_EQ(memo.CaretLine(), 0);
  EXPECT_EQ(memo.CaretCol(), 6);
  EXPECT_TRUE(memo.hasFocus());
  QTest::keyClicks(&memo, QStringLiteral("x"));
  EXPECT_EQ(memo.Text(), "  if (x)\r\n  {\r\n  }");
  memo.SetCaret(0, 0);
  EXPECT_TRUE(memo.Find("{", TFindOptions{}, true));
  EXPECT_EQ(memo.SelectedText(), "{");
  EXPECT_FALSE(memo.Find("zz", TFindOptions{}, true));
}

// A search that finds nothing still collapses the selection, and the
// screen must stop showing it.
TEST_F(MemoWidget, AFailedFindRepaintsTheCollapsedSelection) {
  memo.SetText("abc def");
  memo.Buffer().SetSelection({0, 0}, {3, 0});
  QCoreApplication::processEvents();
  struct TPaints : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++count;
      return false;
    }
  } paints;
  memo.viewport()->installEventFilter(&paints);
  EXPECT_FALSE(memo.Find("zz", TFindOptions{}, true));
  EXPECT_FALSE(memo.HasSelection());
  QCoreApplication::processEvents();
  EXPECT_GE(paints.count, 1);
  memo.viewport()->removeEventFilter(&paints);
}

TEST(QText, Cp1251RoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != 0x98) all += char(b);
  EXPECT_EQ(ToCp1251(FromCp1251(all)), all);
  EXPECT_EQ(FromCp1251(Utf8ToCp1251("Ёж")), QString::fromUtf8("Ёж"));
  EXPECT_EQ(ToCp1251(QString::fromUtf8("a€😀")), Utf8ToCp1251("a€?"));
}

}  // namespace
