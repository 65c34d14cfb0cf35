#include <gtest/gtest.h>

#include "grid.h"

namespace {

TGrid GridOf(TMaze rows) {
  TGrid g;
  g.TaskMaze = std::move(rows);
  g.Restore();
  return g;
}

TEST(GridNormalise, SmallMazeIsCentredInElevenByEleven) {
  TGrid g = GridOf({"abc", "def", "ghi"});
  ASSERT_EQ(g.FieldCols, 11);
  ASSERT_EQ(g.FieldRows, 11);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(g.WorkingMaze[y], std::string(11, '.'));
  EXPECT_EQ(g.WorkingMaze[4], "....abc....");
  EXPECT_EQ(g.WorkingMaze[6], "....ghi....");
  for (int y = 7; y < 11; ++y) EXPECT_EQ(g.WorkingMaze[y], std::string(11, '.'));
  // The task itself is stored normalised.
  EXPECT_EQ(g.TaskMaze, g.WorkingMaze);
}

TEST(GridNormalise, RowCountsGrowToTenOrEleven) {
  const std::string wide(12, 'w');
  TGrid eight = GridOf(TMaze(8, wide));
  EXPECT_EQ(eight.FieldRows, 10);
  EXPECT_EQ(eight.WorkingMaze.front(), std::string(12, '.'));
  EXPECT_EQ(eight.WorkingMaze[1], wide);
  EXPECT_EQ(eight.WorkingMaze.back(), std::string(12, '.'));
  EXPECT_EQ(eight.WorkingMaze[8], wide);

  TGrid nine = GridOf(TMaze(9, wide));
  EXPECT_EQ(nine.FieldRows, 11);
  EXPECT_EQ(nine.WorkingMaze[1], wide);
  EXPECT_EQ(nine.WorkingMaze[9], wide);
  EXPECT_EQ(nine.FieldCols, 12);
}

TEST(GridNormalise, ShortRowsArePaddedOnTheRight) {
  TGrid g = GridOf({"wwwwwwwwwwww", "w", "", "ww..x"});
  EXPECT_EQ(g.FieldCols, 12);
  ASSERT_EQ(g.FieldRows, 10);
  EXPECT_EQ(g.WorkingMaze[3], "wwwwwwwwwwww");
  EXPECT_EQ(g.WorkingMaze[4], "w...........");
  EXPECT_EQ(g.WorkingMaze[5], "............");
  EXPECT_EQ(g.WorkingMaze[6], "ww..x.......");
}

TEST(GridNormalise, EmptyTaskGivesTenByTenWithNobody) {
  TGrid g = GridOf({});
  EXPECT_EQ(g.FieldCols, 10);
  EXPECT_EQ(g.FieldRows, 10);
  EXPECT_EQ(g.WorkingMaze, TMaze(10, std::string(10, '.')));
  EXPECT_FALSE(g.HasGrondo());
  EXPECT_FALSE(g.HasBase());
}

TEST(GridNormalise, BigMazeIsKeptAndUnknownBytesPass) {
  TMaze rows(120, std::string(150, 'w'));
  rows[3][7] = '\0';
  rows[4][8] = '\xFF';
  rows[5][9] = '?';
  TGrid g = GridOf(rows);
  EXPECT_EQ(g.FieldCols, 150);
  EXPECT_EQ(g.FieldRows, 120);
  EXPECT_EQ(g.WorkingMaze, rows);
}

TEST(GridDiscovery, GrondoOnBaseFacingRight) {
  TGrid g = GridOf({"..........", "...D......"});
  // Two rows grow to ten: four rows above them.
  EXPECT_EQ(g.GrondoX, 3);
  EXPECT_EQ(g.GrondoY, 5);
  EXPECT_EQ(g.GrondoDir, ghRight);
  EXPECT_EQ(g.BaseX, 3);
  EXPECT_EQ(g.BaseY, 5);
  EXPECT_EQ(g.WorkingMaze[5][3], 'b');
  EXPECT_EQ(g.TaskMaze[5][3], 'D');  // a restore finds him again
}

TEST(GridDiscovery, EveryCodeRangeGivesCellAndHeading) {
  struct Case {
    char code;
    char under;
    int dir;
  };
  const Case cases[] = {{'0', '.', 0}, {'7', '.', 7}, {'B', 'b', 0}, {'H', 'b', 6}, {'I', 'b', 7},
                        {'P', 'p', 0}, {'V', 'p', 6}, {'W', 'p', 7}, {'X', 'x', 0}, {'^', 'x', 6},
                        {'_', 'x', 7}};
  for (const Case& c : cases) {
    TGrid g = GridOf({std::string("..........") + c.code});
    SCOPED_TRACE(c.code);
    EXPECT_EQ(g.GrondoX, 10);
    EXPECT_EQ(g.GrondoDir, c.dir);
    EXPECT_EQ(g.WorkingMaze[g.GrondoY][10], c.under);
    EXPECT_EQ(g.HasBase(), c.under == 'b');
  }
}

TEST(GridDiscovery, LastGrondoAndLastBaseWin) {
  TGrid g = GridOf({"0.b.......", "..b..6...."});
  EXPECT_EQ(g.GrondoX, 5);
  EXPECT_EQ(g.GrondoDir, 6);
  EXPECT_EQ(g.BaseX, 2);
  EXPECT_EQ(g.BaseY, g.GrondoY);
  // The other codes keep only their plain characters.
  EXPECT_EQ(g.WorkingMaze[g.GrondoY - 1][0], '.');
  EXPECT_EQ(g.WorkingMaze[g.GrondoY - 1][2], 'b');
}

TEST(GridDiscovery, RedrawWithoutInitKeepsWhatTheRunChanged) {
  TGrid g = GridOf({"2x........"});
  g.GrondoX = 1;
  g.WorkingMaze[g.GrondoY][1] = 'p';
  g.Layout(false);
  EXPECT_EQ(g.GrondoX, 1);
  EXPECT_EQ(g.WorkingMaze[g.GrondoY][1], 'p');
  g.Restore();
  EXPECT_EQ(g.GrondoX, 0);
  EXPECT_EQ(g.WorkingMaze[g.GrondoY][1], 'x');
}

TEST(GridStoreGrondo, WritesTheCodeOfTheCellUnderneath) {
  TGrid g;
  g.GrondoY = 0;
  g.GrondoDir = 4;
  TMaze list = {"bpx.w0Ck#"};
  const std::string expected[] = {"F", "T", "\\", "4", "4", "4", "C", "4", "4"};
  for (int x = 0; x < 9; ++x) {
    TMaze copy = list;
    g.GrondoX = x;
    g.StoreGrondo(copy);
    EXPECT_EQ(copy[0].substr(x, 1), expected[x]) << "at " << x;
    EXPECT_EQ(copy[0].size(), list[0].size());
  }
}

TEST(GridStoreGrondo, NoGrondoNoCodeAndShortRowIsExtended) {
  TGrid g;
  TMaze list = {"....", "b"};
  g.StoreGrondo(list);
  EXPECT_EQ(list, (TMaze{"....", "b"}));
  g.GrondoX = 3;
  g.GrondoY = 1;
  g.GrondoDir = 2;
  g.StoreGrondo(list);
  EXPECT_EQ(list[1], "b..2");
  g.GrondoY = 5;  // beyond the list: nothing to write into
  g.StoreGrondo(list);
  EXPECT_EQ(list.size(), 2u);
}

TEST(GridStoreGrondo, CodesRoundTripForEveryCellAndHeading) {
  for (char under : {'.', 'b', 'p', 'x'}) {
    for (int dir = 0; dir < 8; ++dir) {
      TGrondoCode code;
      ASSERT_TRUE(DecodeGrondo(EncodeGrondo(under, dir), code));
      EXPECT_EQ(code.Under, under);
      EXPECT_EQ(code.Dir, dir);
    }
  }
}

TEST(GridCells, CellAccessOutsideTheMazeIsSafe) {
  TGrid g = GridOf({"w"});
  EXPECT_EQ(g.CellAt(-1, 0), '\0');
  EXPECT_EQ(g.CellAt(0, 11), '\0');
  EXPECT_EQ(g.CellAt(11, 0), '\0');
  EXPECT_FALSE(g.CellIn(11, 5, "."));
  EXPECT_TRUE(g.CellIn(5, 5, "w"));
  EXPECT_FALSE(g.InField(11, 0));
  EXPECT_TRUE(g.InField(10, 10));
}

}  // namespace
