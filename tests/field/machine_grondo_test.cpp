#include <gtest/gtest.h>

#include "encoding.h"
#include "errors.h"
#include "field.h"
#include "host.h"
#include "machine_grondo.h"
#include "procedure.h"

namespace {

// Counts what Grondo asks of the host; main-thread work runs directly.
class CountingHost : public TNullHost {
 public:
  int onMain = 0;
  int repaints = 0;
  std::vector<int> sleeps;
  void RunOnMain(const std::function<void()>& fn) override {
    ++onMain;
    fn();
  }
  void RepaintField() override { ++repaints; }
  void Sleep(int ms) override { sleeps.push_back(ms); }
};

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TMaze rows(10, std::string(10, '.'));
    rows[5][2] = '2';
    rows[5][6] = 'w';
    grid.TaskMaze = rows;
    field.DrawField(-1, 0, 0, 0, true, false);
    machine.Host = &host;
  }
  std::unique_ptr<TProcedure> Command(int id, int n) {
    auto p = TProcedure::CreateBuiltIn("cmd", {dkInteger}, dkVoid, id);
    p->Vars[0].IntValue = n;
    return p;
  }
  std::unique_ptr<TProcedure> Sensor(int id) { return TProcedure::CreateBuiltIn("sensor", {dkVoid}, dkLogical, id); }

  TGrid grid;
  QImage bitmap;
  TGrondoField field{grid, bitmap};
  CountingHost host;
  TMachine machine{grid, &field};
};

TEST_F(MachineTest, WalkDrawsCellsOnTheMainThreadAndSleepsOnTheWorker) {
  EXPECT_EQ(machine.Kind(), ekGrondo);
  auto walk = Command(gcForward, 2);
  machine.Execute(*walk);
  EXPECT_EQ(grid.GrondoX, 4);
  EXPECT_EQ(host.onMain, 4);
  EXPECT_EQ(host.repaints, 2);
  EXPECT_EQ(host.sleeps, (std::vector<int>{200, 100}));
  const QImage start = bitmap.copy(CellRect(2, 5, 0)).convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(start, CellPictures().Empty(0));
  const QImage now = bitmap.copy(CellRect(4, 5, 0)).convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(now, CellPictures().Empty(0));
}

TEST_F(MachineTest, SensorsAnswerInTheResult) {
  auto walk = Command(gcForward, 3);
  machine.Execute(*walk);
  auto wall = Sensor(gcWallAhead);
  machine.Execute(*wall);
  EXPECT_EQ(wall->Result.Kind, dkLogical);
  EXPECT_EQ(wall->Result.BoolValue, 1);
  auto free = Sensor(gcFreeLeft);
  machine.Execute(*free);
  EXPECT_EQ(free->Result.BoolValue, 1);
  auto bed = Sensor(gcOnBed);
  machine.Execute(*bed);
  EXPECT_EQ(bed->Result.Kind, dkLogical);
  EXPECT_EQ(bed->Result.BoolValue, 0);
}

TEST_F(MachineTest, ErrorsCarryTheExecutorPrefixAndBusySuppressesRepaints) {
  auto walk = Command(gcForward, 9);
  try {
    machine.Execute(*walk);
    FAIL() << "no error";
  } catch (const EGrondoException& e) {
    EXPECT_EQ(Cp1251ToUtf8(e.Message()), "Ошибка исполнителя: не могу ходить сквозь стену");
  }
  EXPECT_EQ(grid.GrondoX, 5);
  machine.Busy = true;
  host.repaints = 0;
  auto turn = Command(gcRight, 0);
  machine.Execute(*turn);
  EXPECT_EQ(host.repaints, 0);
  EXPECT_EQ(grid.GrondoDir, 4);
}

TEST_F(MachineTest, WithoutAFieldOrHostOnlyTheModelChanges) {
  TMachine bare(grid, nullptr);
  auto walk = Command(gcBack, 1);
  bare.Execute(*walk);
  EXPECT_EQ(grid.GrondoX, 1);
  EXPECT_TRUE(bare.InField(9, 9));
  EXPECT_FALSE(bare.InField(10, 0));
}

}  // namespace
