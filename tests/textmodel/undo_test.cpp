#include <gtest/gtest.h>

#include "memo_buffer.h"
#include "type_buffer.h"

namespace {

TEST(UndoList, ConsecutiveTypingIsOneRecord) {
  TMemoBuffer b;
  Type(b, "abc\n  de");
  EXPECT_EQ(b.UndoList().Count(), 1);
  b.Undo();
  EXPECT_EQ(b.Text(), "");
  EXPECT_EQ(b.Caret(), (TTextPos{0, 0}));
  b.Redo();
  EXPECT_EQ(b.Text(), "abc\r\n  de");
  EXPECT_EQ(b.Caret(), (TTextPos{4, 1}));
}

TEST(UndoList, TypingElsewhereStartsANewRecord) {
  TMemoBuffer b;
  Type(b, "abc");
  b.SetCaret(1, 0);
  Type(b, "X");
  EXPECT_EQ(b.UndoList().Count(), 2);
  b.Undo();
  EXPECT_EQ(b.Text(), "abc");
  EXPECT_EQ(b.Caret(), (TTextPos{1, 0}));
}

TEST(UndoList, TypingAfterAnUndoDropsTheUndoneRecordsAndDoesNotMergeWithThem) {
  TMemoBuffer b;
  Type(b, "ab");
  b.SetCaret(0, 0);
  b.Paste("P");
  b.Undo();  // the paste is undone, the caret back at 0
  b.SetCaret(2, 0);
  Type(b, "c");
  EXPECT_FALSE(b.UndoList().CanRedo());
  EXPECT_EQ(b.UndoList().Count(), 2);
  b.Undo();
  EXPECT_EQ(b.Text(), "ab");
  b.Undo();
  EXPECT_EQ(b.Text(), "");
}

TEST(UndoList, LimitDropsTheOldestRecord) {
  TMemoBuffer b;
  ASSERT_EQ(b.UndoList().Limit(), 100);
  int changes = 0;
  b.UndoList().OnChange = [&] { ++changes; };
  for (int i = 0; i < 101; ++i) b.Paste(std::string(1, char('A' + i % 26)));
  EXPECT_EQ(b.UndoList().Count(), 100);
  EXPECT_EQ(changes, 101);
  while (b.Undo()) {
  }
  // The first paste can no longer be undone.
  EXPECT_EQ(b.Text(), "A");
  b.UndoList().SetLimit(3);
  EXPECT_EQ(b.UndoList().Count(), 3);
}

TEST(UndoList, RecordsAddedWhileUndoingAreDiscarded) {
  TMemoBuffer b;
  Type(b, "xy");
  b.Backspace();
  b.Backspace();
  EXPECT_EQ(b.UndoList().Count(), 3);
  b.Undo();
  b.Undo();
  EXPECT_EQ(b.UndoList().Count(), 3);
  EXPECT_EQ(b.UndoList().UndoneCount(), 2);
  EXPECT_EQ(b.Text(), "xy");
}

TEST(UndoList, LineBreakTypedAfterTrailingBlanksComesBackExactly) {
  TMemoBuffer b;
  b.SetText("if");
  b.SetCaret(6, 0);  // pads with blanks
  Type(b, "\nz");
  EXPECT_EQ(b.Line(0), "if");  // the blanks went when the caret left
  b.Undo();
  EXPECT_EQ(b.LineCount(), 1);
  EXPECT_EQ(b.Line(0).substr(0, 2), "if");
  b.Redo();
  b.SetCaret(0, 0);
  EXPECT_EQ(b.Text(), "if\r\nz");
}

TEST(UndoList, DeleteLineAndItsUndo) {
  TMemoBuffer b;
  b.SetText("a\r\nb\r\nc");
  b.SetCaret(0, 1);
  b.DeleteLine();
  EXPECT_EQ(b.Text(), "a\r\nc");
  b.SetCaret(0, 1);
  b.DeleteLine();
  EXPECT_EQ(b.Text(), "a");
  b.Undo();
  b.Undo();
  EXPECT_EQ(b.Text(), "a\r\nb\r\nc");
}

TEST(UndoList, ReplacingTheTextEmptiesTheList) {
  TMemoBuffer b;
  Type(b, "abc");
  b.SetText("new");
  EXPECT_FALSE(b.UndoList().CanUndo());
  EXPECT_FALSE(b.Undo());
  EXPECT_EQ(b.Text(), "new");
}

}  // namespace

namespace {

// Each line without its trailing blanks: the caret pads and trims them as it
// passes, which is no change of the program.
std::string Trimmed(const TMemoBuffer& b) {
  std::string out;
  for (int i = 0; i < b.LineCount(); ++i) {
    std::string l = b.Line(i);
    l.erase(l.find_last_not_of(' ') + 1);
    out += l + "\n";
  }
  return out;
}

// Random editing, then undoing everything gives the first text back and
// redoing everything the last one; the caret never leaves the text.
TEST(UndoList, RandomEditingUndoesAndRedoesExactly) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    unsigned r = seed;
    auto next = [&](unsigned n) {
      r = r * 1103515245u + 12345u;
      return (r >> 16) % n;
    };
    TMemoBuffer b;
    b.SetText("  first line\r\nsecond\r\n\r\n    fourth {\r\n}");
    b.UndoList().SetLimit(1000);
    const std::string original = Trimmed(b);
    for (int step = 0; step < 200; ++step) {
      switch (next(13)) {
        case 0: b.TypeChar(char('a' + next(26))); break;
        case 1: b.NewLine(); break;
        case 2: b.Backspace(); break;
        case 3: b.DeleteChar(); break;
        case 4: b.Paste(next(2) ? "xy\r\n  z" : "q"); break;
        case 5: b.InsertTemplate("if (\a)\r{\r}"); break;
        case 6: b.SetCaret(int(next(15)), int(next(b.LineCount() + 1))); break;
        case 7:
          b.SetSelection({int(next(10)), int(next(b.LineCount()))}, {int(next(10)), int(next(b.LineCount()))});
          break;
        case 8: b.DeleteSelection(); break;
        case 9: b.DeleteLine(); break;
        case 10: b.TypeTab(); break;
        case 11: b.IndentLines(false); break;
        case 12: b.IndentLines(true); break;
      }
      ASSERT_GE(b.LineCount(), 1);
      ASSERT_LE(b.Caret().Col, int(b.Line(b.Caret().Line).size())) << "seed " << seed;
    }
    const std::string last = Trimmed(b);
    while (b.Undo()) {
    }
    ASSERT_EQ(Trimmed(b), original) << "seed " << seed;
    while (b.Redo()) {
    }
    ASSERT_EQ(Trimmed(b), last) << "seed " << seed;
  }
}

}  // namespace
