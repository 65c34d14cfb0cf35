#include <gtest/gtest.h>

#include "maze_edit.h"

namespace {

// A 10 x 10 task: Grondo facing right at (1, 1), the base at (5, 5), a wall
// at (3, 3).
TMaze Task() {
  TMaze m(10, std::string(10, '.'));
  m[1][1] = '2';
  m[5][5] = 'b';
  m[3][3] = 'w';
  return m;
}

struct TEditFixture : ::testing::Test {
  void SetUp() override {
    grid.TaskMaze = Task();
    edit.Begin("task.maz");
  }
  TGrid grid;
  TMazeEdit edit{grid};
};

using MazeEdit = TEditFixture;

TEST_F(MazeEdit, CellRules) {
  struct Case {
    const char* what;
    int x, y;
    char tool;
    bool changed, whole;
    char cell;  // the cell afterwards
    int grondoX, baseX;
  };
  const Case cases[] = {
      {"wall on Grondo does nothing", 1, 1, 'w', false, false, '.', 1, 5},
      {"same character again", 0, 0, '.', false, false, '.', 1, 5},
      {"garden bed on the base removes it", 5, 5, 'x', true, false, 'x', 1, -1},
      {"a second base moves the base", 7, 7, 'b', true, false, 'b', 1, 7},
      {"Grondo onto a wall clears it", 3, 3, '0', true, true, '.', 3, 5},
      {"a new wall redraws everything", 8, 0, 'w', true, true, 'w', 1, 5},
      {"removing a wall redraws everything", 3, 3, '.', true, true, '.', 1, 5},
      {"flowers under Grondo", 1, 1, 'p', true, false, 'p', 1, 5},
      {"unknown tool", 0, 0, 'z', false, false, '.', 1, 5},
      {"outside the grid", 10, 0, 'w', false, false, '\0', 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    grid.TaskMaze = Task();
    edit.Begin("task.maz");
    const TCellChange ch = edit.SetCell(c.x, c.y, c.tool);
    EXPECT_EQ(ch.Changed, c.changed);
    EXPECT_EQ(ch.Whole, c.whole);
    EXPECT_EQ(grid.Modified, c.changed);
    EXPECT_EQ(edit.CanUndo(), c.changed);
    EXPECT_EQ(grid.CellAt(c.x, c.y), c.cell);
    EXPECT_EQ(grid.GrondoX, c.grondoX);
    EXPECT_EQ(grid.BaseX, c.baseX);
  }
}

TEST_F(MazeEdit, BaseMoveRedrawsTheOldBaseCell) {
  const TCellChange ch = edit.SetCell(7, 2, 'b');
  EXPECT_EQ(grid.CellAt(5, 5), '.');
  EXPECT_EQ(grid.BaseY, 2);
  EXPECT_EQ(ch.Cells, (std::vector<std::pair<int, int>>{{5, 5}, {7, 2}}));
}

TEST_F(MazeEdit, GrondoTurnsOnHisOwnCellAndWraps) {
  grid.GrondoDir = 6;
  EXPECT_TRUE(edit.Place(1, 1, kGrondoTool).Changed);
  EXPECT_EQ(grid.GrondoDir, 0);
  edit.Place(1, 1, kGrondoTool);
  EXPECT_EQ(grid.GrondoDir, 2);
  // A hand-made odd heading stays within 0..7.
  grid.GrondoDir = 7;
  edit.Place(1, 1, kGrondoTool);
  EXPECT_EQ(grid.GrondoDir, 1);
  // Elsewhere Grondo moves and keeps his heading.
  edit.Place(4, 4, kGrondoTool);
  EXPECT_EQ(grid.GrondoX, 4);
  EXPECT_EQ(grid.GrondoDir, 1);
}

TEST(MazeEditPixels, OnlyPixelsOfCellsCount) {
  TGrid g;
  g.Restore();  // 10 x 10
  struct Case {
    int px, py;
    bool inside;
    int x, y;
  } cases[] = {
      {0, 1, true, 0, 0},     {39, 40, true, 0, 0},   {39, 41, true, 0, 1},  {399, 400, true, 9, 9},
      {-1, 20, false, 0, 0},  {-39, 20, false, 0, 0}, {20, -30, false, 0, 0}, {20, 0, false, 0, 0},
      {400, 20, false, 0, 0}, {20, 401, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.px << "," << c.py);
    int x = -7, y = -7;
    ASSERT_EQ(CellAtPixel(g, c.px, c.py, 40, x, y), c.inside);
    if (c.inside) {
      EXPECT_EQ(x, c.x);
      EXPECT_EQ(y, c.y);
    }
  }
}

TEST_F(MazeEdit, LineLimits) {
  // 10 x 10: nothing can be removed.
  for (int side : {lsLeft, lsRight, lsTop, lsBottom}) EXPECT_FALSE(edit.DeleteLine(side));
  EXPECT_FALSE(grid.Modified);
  for (int i = 0; i < 90; ++i) ASSERT_TRUE(edit.InsertLine(lsRight));
  EXPECT_EQ(grid.FieldCols, 100);
  EXPECT_FALSE(edit.InsertLine(lsRight));
  EXPECT_FALSE(edit.InsertLine(lsLeft));
  EXPECT_TRUE(edit.InsertLine(lsBottom));
  EXPECT_EQ(grid.FieldRows, 11);
  EXPECT_TRUE(edit.DeleteLine(lsLeft));
  EXPECT_EQ(grid.FieldCols, 99);
  EXPECT_TRUE(grid.Modified);
}

TEST_F(MazeEdit, LinesMoveGrondoAndBase) {
  struct Case {
    bool insert;
    int side;
    int gx, gy, bx, by;  // Grondo at (1, 1), base at (5, 5) before
  } cases[] = {
      {true, lsLeft, 2, 1, 6, 5},    {true, lsRight, 1, 1, 5, 5}, {true, lsTop, 1, 2, 5, 6},
      {true, lsBottom, 1, 1, 5, 5},  {false, lsLeft, 0, 1, 4, 5}, {false, lsTop, 1, 0, 5, 4},
      {false, lsRight, 1, 1, 5, 5},  {false, lsBottom, 1, 1, 5, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.insert << " " << c.side);
    TMaze big(11, std::string(11, '.'));
    big[1][1] = '2';
    big[5][5] = 'b';
    grid.TaskMaze = big;
    edit.Begin("");
    ASSERT_TRUE(c.insert ? edit.InsertLine(c.side) : edit.DeleteLine(c.side));
    EXPECT_EQ(grid.GrondoX, c.gx);
    EXPECT_EQ(grid.GrondoY, c.gy);
    EXPECT_EQ(grid.BaseX, c.bx);
    EXPECT_EQ(grid.BaseY, c.by);
    if (c.bx >= 0) {
      EXPECT_EQ(grid.CellAt(c.bx, c.by), 'b');
    }
  }
}

TEST_F(MazeEdit, DeletingGrondosColumnRemovesHim) {
  for (int i = 0; i < 2; ++i) edit.InsertLine(lsRight);
  ASSERT_TRUE(edit.DeleteLine(lsLeft));
  ASSERT_TRUE(edit.DeleteLine(lsLeft));
  EXPECT_FALSE(grid.HasGrondo());
  EXPECT_EQ(grid.GrondoY, -1);
  EXPECT_EQ(grid.BaseX, 3);
  // Deleting the base's row removes the base too.
  for (int i = 0; i < 6; ++i) edit.InsertLine(lsBottom);
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(edit.DeleteLine(lsTop));
  EXPECT_FALSE(grid.HasBase());
}

TEST_F(MazeEdit, NewMazeThenDiscardBringsTheTaskBack) {
  edit.SetCell(0, 0, 'w');
  edit.NewMaze();
  EXPECT_EQ(grid.WorkingMaze, TMaze(10, std::string(10, '.')));
  EXPECT_FALSE(grid.HasGrondo());
  EXPECT_FALSE(grid.HasBase());
  EXPECT_EQ(edit.FileName(), "");
  EXPECT_TRUE(grid.Modified);
  edit.Discard();
  TGrid original;
  original.TaskMaze = Task();
  original.Restore();
  EXPECT_EQ(grid.WorkingMaze, original.WorkingMaze);
  EXPECT_EQ(grid.GrondoX, 1);
  EXPECT_EQ(grid.GrondoDir, 2);
  EXPECT_EQ(edit.FileName(), "task.maz");
  EXPECT_FALSE(grid.Modified);
}

TEST_F(MazeEdit, UndoTakesBackEditsInOrder) {
  const TMaze before = grid.WorkingMaze;
  edit.SetCell(0, 0, 'w');
  edit.Place(1, 1, kGrondoTool);
  edit.InsertLine(lsTop);
  edit.NewMaze();
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(edit.FileName(), "task.maz");
  EXPECT_EQ(grid.FieldRows, 11);
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(grid.FieldRows, 10);
  EXPECT_EQ(grid.GrondoY, 1);
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(grid.GrondoDir, 2);
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(grid.WorkingMaze, before);
  // Back where design mode began: nothing to save.
  EXPECT_FALSE(grid.Modified);
  EXPECT_FALSE(edit.Undo());
}

TEST_F(MazeEdit, UndoPastASaveIsModified) {
  edit.SetCell(0, 0, 'w');
  grid.TaskMaze = grid.WorkingMaze;  // what SaveMaze does
  grid.Modified = false;
  edit.Saved("other.maz");
  edit.NewMaze();
  ASSERT_TRUE(edit.Undo());
  EXPECT_FALSE(grid.Modified);  // the saved maze again
  EXPECT_EQ(edit.FileName(), "other.maz");
  ASSERT_TRUE(edit.Undo());
  EXPECT_TRUE(grid.Modified);  // the field before the save differs from the file
  EXPECT_EQ(edit.FileName(), "other.maz");
  edit.Discard();
  EXPECT_EQ(grid.CellAt(0, 0), 'w');
  EXPECT_EQ(edit.FileName(), "other.maz");
}

TEST_F(MazeEdit, UndoKeepsOnlyTheLastEdits) {
  for (size_t i = 0; i < kMazeUndoLimit + 5; ++i) edit.SetCell(static_cast<int>(i % 10), 9, (i / 10) % 2 ? 'x' : 'p');
  size_t n = 0;
  while (edit.Undo()) ++n;
  EXPECT_EQ(n, kMazeUndoLimit);
}

}  // namespace
