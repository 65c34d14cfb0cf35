#include <gtest/gtest.h>

#include <climits>

#include "encoding.h"
#include "errors.h"
#include "grid_robot.h"

namespace {

// Keeps what the rules asked of the world, one entry per call.
class RecordingView : public TGrondoView {
 public:
  explicit RecordingView(const TGrid& g) : grid_(g) {}
  std::vector<std::string> log;
  void CellChanged(int x, int y) override {
    log.push_back("cell " + std::to_string(x) + "," + std::to_string(y) + " dir " +
                  std::to_string(grid_.GrondoDir));
  }
  void Repaint() override { log.push_back("repaint"); }
  void Pause(int ms) override { log.push_back("pause " + std::to_string(ms)); }

 private:
  const TGrid& grid_;
};

// A 10 x 10 field laid out from rows; no padding is added to rows of ten.
class RobotTest : public ::testing::Test {
 protected:
  void Load(TMaze rows) {
    grid.TaskMaze = std::move(rows);
    grid.Restore();
    view.log.clear();
  }
  // Runs a command expecting an executor error; returns its text in UTF-8.
  std::string Fails(int id, int n = 0) {
    try {
      robot.Execute(id, n);
    } catch (const EGrondoException& e) {
      return Cp1251ToUtf8(e.Message());
    }
    return "no error";
  }
  std::pair<int, int> Pos() const { return {grid.GrondoX, grid.GrondoY}; }

  TGrid grid;
  RecordingView view{grid};
  TGrondoRobot robot{grid, view};
};

const TMaze kOpen = {
    "..........", "..........", "..........", "..........", "..........",
    "..........", "..........", "..........", "..........", ".........."};

TMaze With(TMaze m, int x, int y, char c) {
  m[y][x] = c;
  return m;
}

TEST_F(RobotTest, EveryCommandChecksTaskThenPosition) {
  for (int id : {4001, 4003, 4006, 4008, 4016, 4022}) {
    grid = TGrid();
    EXPECT_EQ(Fails(id, 1), "Ошибка исполнителя: задача для Грондо не загружена") << id;
  }
  Load(kOpen);
  for (int id : {4002, 4005, 4011, 4020})
    EXPECT_EQ(Fails(id, 1), "Ошибка исполнителя: позиция Грондо не определена") << id;
  // Ids Grondo does not know do nothing, not even the checks.
  for (int id : {4007, 4000, 4023, 2114, 1}) EXPECT_EQ(Fails(id), "no error") << id;
  EXPECT_TRUE(view.log.empty());
}

TEST_F(RobotTest, ForwardZeroOnlyRepaintsAndPauses) {
  Load(With(kOpen, 4, 4, '0'));
  robot.Execute(gcForward, 0);
  EXPECT_EQ(Pos(), std::make_pair(4, 4));
  EXPECT_EQ(view.log, (std::vector<std::string>{"repaint", "pause 100"}));
}

TEST_F(RobotTest, WalkDrawsOldThenNewCellAndPausesBetweenSteps) {
  Load(With(kOpen, 4, 4, '2'));
  robot.Execute(gcForward, 2);
  EXPECT_EQ(Pos(), std::make_pair(6, 4));
  EXPECT_EQ(view.log, (std::vector<std::string>{"cell 4,4 dir 2", "cell 5,4 dir 2", "repaint", "pause 200",
                                                "cell 5,4 dir 2", "cell 6,4 dir 2", "repaint", "pause 100"}));
}

TEST_F(RobotTest, NegativeCountsWalkTheOtherWay) {
  Load(With(kOpen, 4, 4, '0'));
  robot.Execute(gcForward, -2);
  EXPECT_EQ(Pos(), std::make_pair(4, 6));
  robot.Execute(gcBack, -1);
  EXPECT_EQ(Pos(), std::make_pair(4, 5));
  robot.Execute(gcBack, 3);
  EXPECT_EQ(Pos(), std::make_pair(4, 8));
}

TEST_F(RobotTest, EachHeadingWalksItsWay) {
  const struct {
    char code;
    int dx, dy;
  } cases[] = {{'0', 0, -1}, {'2', 1, 0}, {'4', 0, 1}, {'6', -1, 0}};
  for (const auto& c : cases) {
    Load(With(kOpen, 4, 4, c.code));
    robot.Execute(gcForward, 3);
    EXPECT_EQ(Pos(), std::make_pair(4 + 3 * c.dx, 4 + 3 * c.dy)) << c.code;
    robot.Execute(gcBack, 1);
    EXPECT_EQ(Pos(), std::make_pair(4 + 2 * c.dx, 4 + 2 * c.dy)) << c.code;
  }
}

TEST_F(RobotTest, WalkStopsOnTheLastCellReached) {
  TMaze m = With(kOpen, 1, 4, '2');
  m[4][4] = 'w';
  m[7][1] = 'p';
  m[1][1] = 'P';
  Load(m);
  EXPECT_EQ(Fails(gcForward, 5), "Ошибка исполнителя: не могу ходить сквозь стену");
  EXPECT_EQ(Pos(), std::make_pair(3, 4));
  // The error still repaints and pauses after the cells walked.
  ASSERT_GE(view.log.size(), 2u);
  EXPECT_EQ(view.log[view.log.size() - 2], "repaint");
  EXPECT_EQ(view.log.back(), "pause 100");
  EXPECT_EQ(view.log[view.log.size() - 3], "pause 200");

  EXPECT_EQ(Fails(gcBack, 10), "Ошибка исполнителя: не могу идти за пределы поля");
  EXPECT_EQ(Pos(), std::make_pair(0, 4));

  grid.GrondoX = 1;
  grid.GrondoDir = ghDown;
  EXPECT_EQ(Fails(gcForward, 9), "Ошибка исполнителя: не могу ходить по цветам");
  EXPECT_EQ(Pos(), std::make_pair(1, 6));
  EXPECT_EQ(Fails(gcBack, 9), "Ошибка исполнителя: не могу ходить по цветам");
  EXPECT_EQ(Pos(), std::make_pair(1, 2));
}

TEST_F(RobotTest, AnyCellButWallsAndFlowersCanBeEntered) {
  TMaze m = With(kOpen, 0, 0, '2');
  m[0] = "2xb#\x01.....";
  Load(m);
  robot.Execute(gcForward, 9);
  EXPECT_EQ(Pos(), std::make_pair(9, 0));
}

TEST_F(RobotTest, TurnsPassTheDiagonals) {
  Load(With(kOpen, 4, 4, '0'));
  robot.Execute(gcAround);
  EXPECT_EQ(view.log, (std::vector<std::string>{"cell 4,4 dir 7", "repaint", "pause 200", "cell 4,4 dir 6",
                                                "repaint", "pause 200", "cell 4,4 dir 5", "repaint",
                                                "pause 200", "cell 4,4 dir 4", "repaint"}));
  view.log.clear();
  robot.Execute(gcLeft);
  EXPECT_EQ(view.log, (std::vector<std::string>{"cell 4,4 dir 3", "repaint", "pause 200", "cell 4,4 dir 2",
                                                "repaint"}));
  robot.Execute(gcRight);
  robot.Execute(gcRight);
  robot.Execute(gcRight);
  EXPECT_EQ(grid.GrondoDir, 0);
}

TEST_F(RobotTest, PlantingTurnsTheBedIntoFlowers) {
  TMaze m = With(kOpen, 4, 4, 'Z');  // on a bed, facing right
  m[4][5] = 'x';
  Load(m);
  EXPECT_TRUE(robot.Execute(gcOnBed));
  EXPECT_FALSE(robot.Execute(gcOnFlowers));
  robot.Execute(gcPlant);
  EXPECT_EQ(grid.WorkingMaze[4][4], 'p');
  EXPECT_EQ(view.log, (std::vector<std::string>{"cell 4,4 dir 2", "repaint"}));
  EXPECT_FALSE(robot.Execute(gcOnBed));
  EXPECT_TRUE(robot.Execute(gcOnFlowers));
  EXPECT_EQ(Fails(gcPlant), "Ошибка исполнителя: можно сажать цветы только на грядке");

  // He may leave the flowers but never step back onto them.
  robot.Execute(gcForward, 1);
  EXPECT_TRUE(robot.Execute(gcFlowersBehind));
  EXPECT_EQ(Fails(gcBack, 1), "Ошибка исполнителя: не могу ходить по цветам");
  EXPECT_EQ(Pos(), std::make_pair(5, 4));
  robot.Execute(gcForward, 1);
  EXPECT_EQ(Fails(gcPlant), "Ошибка исполнителя: можно сажать цветы только на грядке");
  EXPECT_EQ(grid.WorkingMaze[4][6], '.');
}

// Neighbours on screen: a wall left, flowers above, a bed right, empty below.
TEST_F(RobotTest, SensorsAreRelativeToTheHeading) {
  TMaze m = kOpen;
  m[4][3] = 'w';
  m[3][4] = 'p';
  m[4][5] = 'x';
  const int ids[12] = {gcWallLeft, gcWallAhead, gcWallRight, gcWallBehind,
                       gcFlowersLeft, gcFlowersAhead, gcFlowersRight, gcFlowersBehind,
                       gcFreeLeft, gcFreeAhead, gcFreeRight, gcFreeBehind};
  // Answers for left, ahead, right, behind, per heading.
  const struct {
    char code;
    const char* walls;
    const char* flowers;
    const char* free;
  } cases[] = {{'0', "1000", "0100", "0011"},
               {'2', "0001", "1000", "0110"},
               {'4', "0010", "0001", "1100"},
               {'6', "0100", "0010", "1001"}};
  for (const auto& c : cases) {
    Load(With(m, 4, 4, c.code));
    const std::string expected = std::string(c.walls) + c.flowers + c.free;
    std::string got;
    for (int id : ids) got += robot.Execute(id) ? '1' : '0';
    EXPECT_EQ(got, expected) << "heading " << c.code;
  }
  EXPECT_TRUE(view.log.empty());  // sensors draw nothing
}

TEST_F(RobotTest, OutsideTheFieldIsWallAndFlowersAndNotFree) {
  Load(With(kOpen, 0, 0, '0'));
  EXPECT_TRUE(robot.Execute(gcWallAhead));
  EXPECT_TRUE(robot.Execute(gcFlowersAhead));
  EXPECT_FALSE(robot.Execute(gcFreeAhead));
  EXPECT_TRUE(robot.Execute(gcWallLeft));
  EXPECT_FALSE(robot.Execute(gcWallRight));
  EXPECT_TRUE(robot.Execute(gcFreeRight));
}

TEST_F(RobotTest, OnBaseSensor) {
  Load(With(kOpen, 4, 4, 'B'));
  EXPECT_TRUE(robot.Execute(gcOnBase));
  robot.Execute(gcForward, 1);
  EXPECT_FALSE(robot.Execute(gcOnBase));
}

TEST_F(RobotTest, OddHeadingWalksWhereTheSensorsLook) {
  Load(With(kOpen, 4, 4, '1'));
  EXPECT_FALSE(robot.Execute(gcWallAhead));
  robot.Execute(gcForward, 2);
  EXPECT_EQ(Pos(), std::make_pair(4, 2));
  Load(With(kOpen, 4, 4, '7'));
  robot.Execute(gcForward, 1);
  EXPECT_EQ(Pos(), std::make_pair(3, 4));
  robot.Execute(gcBack, 2);
  EXPECT_EQ(Pos(), std::make_pair(5, 4));
}

TEST_F(RobotTest, SmallestIntegerCountIsNoOverflow) {
  Load(With(kOpen, 4, 4, '0'));
  EXPECT_EQ(Fails(gcForward, INT_MIN), "Ошибка исполнителя: не могу идти за пределы поля");
  EXPECT_EQ(Pos(), std::make_pair(4, 9));
  EXPECT_EQ(Fails(gcBack, INT_MIN), "Ошибка исполнителя: не могу идти за пределы поля");
  EXPECT_EQ(Pos(), std::make_pair(4, 0));
}

std::string Verdict(const TGrid& g) { return Cp1251ToUtf8(TaskVerdict(g).Text); }

TEST_F(RobotTest, VerdictCountsBedsAndTheBase) {
  TMaze m = With(kOpen, 1, 1, 'x');
  m[2][2] = 'x';
  m[3][3] = 'X';  // a bed under Grondo counts too
  Load(m);
  EXPECT_FALSE(TaskVerdict(grid).Solved);
  EXPECT_EQ(Verdict(grid),
            "Задача решена неверно. Обнаружены следующие ошибки:\r\n    - не обработано клеток: 3 шт.");

  Load(With(kOpen, 4, 4, '0'));
  EXPECT_TRUE(TaskVerdict(grid).Solved);
  EXPECT_EQ(Verdict(grid), "Задача решена верно. Грондо выполнил задание.");

  m = With(kOpen, 4, 4, 'B');
  m[0][0] = 'x';
  Load(m);
  EXPECT_EQ(Fails(gcPlant), "Ошибка исполнителя: можно сажать цветы только на грядке");
  robot.Execute(gcForward, 1);
  EXPECT_EQ(Verdict(grid),
            "Задача решена неверно. Обнаружены следующие ошибки:\r\n    - не обработано клеток: 1 шт."
            "\r\n    - Грондо не пришел на базу");
  grid.WorkingMaze[0][0] = 'p';
  EXPECT_EQ(Verdict(grid), "Задача решена неверно. Обнаружены следующие ошибки:\r\n    - Грондо не пришел на базу");
  robot.Execute(gcBack, 1);
  EXPECT_TRUE(TaskVerdict(grid).Solved);
  EXPECT_EQ(Verdict(grid), "Задача решена верно. Грондо выполнил задание и вернулся на базу.");
}

}  // namespace
