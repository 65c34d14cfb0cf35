#include "memo_buffer.h"

#include <gtest/gtest.h>

#include "encoding.h"
#include "type_buffer.h"

namespace {

std::string Utf(const std::string& cp) { return Cp1251ToUtf8(cp); }

TEST(MemoCaret, TrailingBlanksGoWhenTheCaretLeavesAndColumnsPad) {
  TMemoBuffer b;
  b.SetText("ab  \r\ncd");
  b.SetCaret(4, 0);
  EXPECT_EQ(b.Line(0), "ab  ");
  b.SetCaretLine(1);
  EXPECT_EQ(b.Line(0), "ab");
  // The column is kept and pads the new line.
  EXPECT_EQ(b.Caret(), (TTextPos{4, 1}));
  EXPECT_EQ(b.Line(1), "cd  ");
  b.SetCaretLine(7);
  EXPECT_EQ(b.Caret().Line, 1);
  // A negative column goes to the end of the previous line.
  b.SetCaretCol(-1);
  EXPECT_EQ(b.Caret(), (TTextPos{2, 0}));
  EXPECT_EQ(b.Line(1), "cd");
  b.SetCaret(-1, 0);
  EXPECT_EQ(b.Caret(), (TTextPos{0, 0}));
}

// Joining lines moves the lines below up; their trailing blanks are not the
// caret's to trim, neither after the edit nor after its undo.
TEST(MemoCaret, JoiningLinesTrimsNoLineTheCaretNeverStoodOn) {
  TMemoBuffer b;
  b.SetText("a\r\nb\r\nc  ");
  b.SetCaret(0, 1);
  b.Backspace();
  EXPECT_EQ(b.Text(), "ab\r\nc  ");
  b.Undo();
  EXPECT_EQ(b.Text(), "a\r\nb\r\nc  ");
  b.SetCaret(0, 0);
  Type(b, "x\ny");
  EXPECT_EQ(b.Text(), "x\r\nya\r\nb\r\nc  ");
  b.Undo();
  EXPECT_EQ(b.Text(), "a\r\nb\r\nc  ");
  b.Redo();
  EXPECT_EQ(b.Text(), "x\r\nya\r\nb\r\nc  ");
  b.SetSelection({0, 0}, {1, 1});
  b.DeleteSelection();
  EXPECT_EQ(b.Text(), "a\r\nb\r\nc  ");
  EXPECT_FALSE(b.HasSelection());
}

TEST(MemoCaret, ReadOnlyTextIsNeverPadded) {
  TMemoBuffer b;
  b.SetText("ab\r\nlonger");
  b.ReadOnly = true;
  b.SetCaret(5, 1);
  b.SetCaretLine(0);
  EXPECT_EQ(b.Caret(), (TTextPos{2, 0}));
  EXPECT_EQ(b.Text(), "ab\r\nlonger");
  b.TypeChar('x');
  b.Paste("y");
  b.Backspace();
  EXPECT_EQ(b.Text(), "ab\r\nlonger");
}

TEST(MemoEdit, TypingEnterAndAutoIndent) {
  TMemoBuffer b;
  Type(b, "  если (x)\n{\n  y");
  EXPECT_EQ(Utf(b.Text()), "  если (x)\r\n  {\r\n    y");
  b.AutoIndent = false;
  Type(b, "\nz");
  EXPECT_EQ(b.Line(3), "z");
}

TEST(MemoEdit, BackspaceAndDeleteJoinLinesAndUndoSplitsThemAgain) {
  TMemoBuffer b;
  b.SetText("ab\r\ncd");
  b.SetCaret(0, 1);
  b.Backspace();
  EXPECT_EQ(b.Text(), "abcd");
  EXPECT_EQ(b.Caret(), (TTextPos{2, 0}));
  b.DeleteChar();
  EXPECT_EQ(b.Text(), "abd");
  b.SetCaret(3, 0);
  b.DeleteChar();  // nothing after the last character
  EXPECT_EQ(b.Text(), "abd");
  EXPECT_TRUE(b.Undo());
  EXPECT_EQ(b.Text(), "abcd");
  EXPECT_EQ(b.Caret(), (TTextPos{2, 0}));
  EXPECT_TRUE(b.Undo());
  EXPECT_EQ(b.Text(), "ab\r\ncd");
  EXPECT_EQ(b.Caret(), (TTextPos{0, 1}));
  EXPECT_FALSE(b.Undo());
  EXPECT_TRUE(b.Redo());
  EXPECT_EQ(b.Text(), "abcd");
}

TEST(MemoEdit, SelectionTextDeleteAndUndoRestoresTheSelection) {
  TMemoBuffer b;
  b.SetText("one\r\ntwo\r\nthree");
  b.SetSelection({1, 0}, {2, 2});
  EXPECT_EQ(b.SelectedText(), "ne\r\ntwo\r\nth");
  b.DeleteSelection();
  EXPECT_EQ(b.Text(), "oree");
  EXPECT_FALSE(b.HasSelection());
  b.Undo();
  EXPECT_EQ(b.Text(), "one\r\ntwo\r\nthree");
  EXPECT_EQ(b.SelStart(), (TTextPos{1, 0}));
  EXPECT_EQ(b.SelEnd(), (TTextPos{2, 2}));
  // Typing replaces the selection when DelErase is on ...
  b.TypeChar('X');
  EXPECT_EQ(b.Text(), "oXree");
  b.Undo();
  b.Undo();
  // ... and only collapses it when off.
  b.DelErase = false;
  b.SetSelection({0, 0}, {3, 0});
  b.TypeChar('Y');
  EXPECT_EQ(b.Line(0), "oneY");
}

TEST(MemoEdit, TabAndShiftTabMoveBlocksOfLines) {
  TMemoBuffer b;
  b.SetText("a\r\n  b\r\n\r\nc\r\nd");
  // The selection ends at the start of line 4, which stays as it is.
  b.SetSelection({1, 0}, {0, 4});
  ASSERT_TRUE(b.SelectionSpansLines());
  b.IndentLines(false);
  EXPECT_EQ(b.Text(), "    a\r\n      b\r\n\r\n    c\r\nd");
  EXPECT_EQ(b.SelStart(), (TTextPos{0, 0}));
  EXPECT_EQ(b.SelEnd(), (TTextPos{5, 3}));
  b.IndentLines(true);
  b.IndentLines(true);
  EXPECT_EQ(b.Text(), "a\r\nb\r\n\r\nc\r\nd");
  b.Undo();
  b.Undo();
  EXPECT_EQ(b.Text(), "    a\r\n      b\r\n\r\n    c\r\nd");
  b.Undo();
  EXPECT_EQ(b.Text(), "a\r\n  b\r\n\r\nc\r\nd");
  // Without a block Shift+Tab takes the caret line back, caret and all.
  b.SetCaret(3, 1);
  b.IndentLines(true);
  EXPECT_EQ(b.Line(1), "b");
  EXPECT_EQ(b.Caret(), (TTextPos{1, 1}));
  b.IndentLines(true);
  EXPECT_EQ(b.UndoList().Count(), 1);  // nothing left to unindent, nothing recorded
}

TEST(MemoEdit, PasteNormalisesLineBreaksAndTabs) {
  TMemoBuffer b;
  b.SetText("ab");
  b.SetCaret(1, 0);
  b.Paste("1\r\n2\n3\r4\t5\a");
  EXPECT_EQ(b.Text(), "a1\r\n2\r\n3\r\n4   5b");
  EXPECT_EQ(b.Caret(), (TTextPos{5, 3}));
  b.Undo();
  EXPECT_EQ(b.Text(), "ab");
}

TEST(MemoEdit, WordsForDoubleClickAndCtrlArrows) {
  TMemoBuffer b;
  b.SetText(Utf8ToCp1251("  пока (x_1 >= 10)"));
  b.SelectWordAt({4, 0});
  EXPECT_EQ(Utf(b.SelectedText()), "пока");
  b.SelectWordAt({10, 0});
  EXPECT_EQ(b.SelectedText(), "x_1");
  EXPECT_EQ(b.WordAt({11, 0}), "x_1");
  EXPECT_EQ(b.WordAt({13, 0}), "");
  EXPECT_EQ(b.WordAt({40, 3}), "");
  EXPECT_EQ(b.WordRight({2, 0}), (TTextPos{7, 0}));
  EXPECT_EQ(b.WordRight({7, 0}), (TTextPos{8, 0}));
  EXPECT_EQ(b.WordLeft({12, 0}), (TTextPos{8, 0}));
  EXPECT_EQ(b.WordLeft({0, 0}), (TTextPos{0, 0}));
}

TEST(MemoTemplate, BelPlacesTheCaretOnTheRightLineAndColumnWhenIndented) {
  TMemoBuffer b;
  b.SetText("{\r\n    ");
  b.SetCaret(4, 1);
  b.InsertTemplate(Utf8ToCp1251("если (\a)\r{\r}"));
  EXPECT_EQ(Utf(b.Text()), "{\r\n    если ()\r\n    {\r\n    }");
  EXPECT_EQ(b.Caret(), (TTextPos{10, 1}));
  EXPECT_FALSE(b.HasSelection());

  b.SetText("  x");
  b.SetCaret(2, 0);
  b.InsertTemplate(Utf8ToCp1251("пока (y)\r{\r  \a\r}\r"));
  EXPECT_EQ(Utf(b.Text()), "  пока (y)\r\n  {\r\n    \r\n  }\r\n  x");
  EXPECT_EQ(b.Caret(), (TTextPos{4, 2}));
  // The whole template is one undo step.
  b.Undo();
  EXPECT_EQ(b.Text(), "  x");
}

TEST(MemoTemplate, NewProgramTemplate) {
  TMemoBuffer b;
  b.ClearAll();
  b.InsertTemplate(Utf8ToCp1251("Программа\r  {\r  \a\r  }"));
  ASSERT_EQ(b.LineCount(), 4);
  EXPECT_EQ(Utf(b.Line(0)), "Программа");
  EXPECT_EQ(b.Line(1), "  {");
  EXPECT_EQ(b.Line(2), "  ");
  EXPECT_EQ(b.Line(3), "  }");
  EXPECT_EQ(b.Caret(), (TTextPos{2, 2}));
}

TEST(MemoTemplate, IndentationStopsAtTheCaretAndIsOffWithoutAutoIndent) {
  TMemoBuffer b;
  b.SetText("      ");
  b.SetCaret(2, 0);
  b.InsertTemplate("a\rb");
  EXPECT_EQ(b.Text(), "  a\r\n  b    ");
  EXPECT_EQ(b.Caret(), (TTextPos{3, 1}));
  b.SetText("    ");
  b.SetCaret(4, 0);
  b.AutoIndent = false;
  b.InsertTemplate("a\r\a\tb");
  EXPECT_EQ(b.Text(), "    a\r\nb");
  EXPECT_EQ(b.Caret(), (TTextPos{0, 1}));
}

TEST(MemoTemplate, ReplacesTheSelection) {
  TMemoBuffer b;
  b.SetText("abc");
  b.SetSelection({0, 0}, {2, 0});
  b.InsertTemplate("X\aY");
  EXPECT_EQ(b.Text(), "XYc");
  EXPECT_EQ(b.Caret(), (TTextPos{1, 0}));
}

TEST(MemoFind, DownUpCaseAndSelection) {
  TMemoBuffer b;
  b.SetText(Utf8ToCp1251("Если x\r\nесли y\r\nz если"));
  TFindOptions down{true, false};
  ASSERT_TRUE(b.Find(Utf8ToCp1251("если"), down, true));
  EXPECT_EQ(b.SelStart(), (TTextPos{0, 0}));
  EXPECT_EQ(b.Caret(), (TTextPos{4, 0}));
  // A repeated search goes on past the match.
  ASSERT_TRUE(b.Find(Utf8ToCp1251("если"), down, true));
  EXPECT_EQ(b.SelStart(), (TTextPos{0, 1}));
  ASSERT_TRUE(b.Find(Utf8ToCp1251("если"), down, true));
  EXPECT_EQ(b.SelStart(), (TTextPos{2, 2}));
  EXPECT_FALSE(b.Find(Utf8ToCp1251("если"), down, true));
  EXPECT_EQ(b.Caret(), (TTextPos{6, 2}));

  TFindOptions up{false, true};
  ASSERT_TRUE(b.Find(Utf8ToCp1251("если"), up, true));
  EXPECT_EQ(b.Caret(), (TTextPos{2, 2}));
  ASSERT_TRUE(b.Find(Utf8ToCp1251("если"), up, true));
  EXPECT_EQ(b.Caret(), (TTextPos{0, 1}));
  EXPECT_EQ(b.SelEnd(), (TTextPos{4, 1}));
  // Match case skips "Если" on the first line.
  EXPECT_FALSE(b.Find(Utf8ToCp1251("если"), up, true));
  EXPECT_EQ(b.Caret(), (TTextPos{0, 1}));

  b.SetCaret(0, 0);
  ASSERT_TRUE(b.Find("y", down, false));
  EXPECT_EQ(b.Caret(), (TTextPos{5, 1}));
  EXPECT_FALSE(b.HasSelection());
}

TEST(MemoMarks, MarksTravelWithTheirLinesAndStylesAreAsked) {
  TMemoBuffer b;
  b.SetText("a\r\nb");
  EXPECT_EQ(b.SetLineMark(1, 5), 0);
  EXPECT_EQ(b.SetLineMark(1, 6), 5);
  b.SetCaret(0, 0);
  b.NewLine();
  EXPECT_EQ(b.LineMark(2), 6);
  // Without a highlighter every character is in its line's mark.
  EXPECT_EQ(b.StyleAt(2, 1), 6);
  EXPECT_EQ(b.StyleAt(2, 2), 0);
  EXPECT_EQ(b.StyleAt(9, 1), 0);
  b.SetCharHighlight(2, 0, 7);
  EXPECT_EQ(b.HighlightLine(), 2);
  b.ClearCharHighlight();
  EXPECT_EQ(b.HighlightStyle(), -1);
}

}  // namespace
