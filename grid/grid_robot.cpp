#include "grid_robot.h"

#include <algorithm>

#include "errors.h"

namespace {

// Offsets of the absolute neighbours: 0 left, 1 up, 2 right, 3 down.
constexpr int kDx[4] = {-1, 0, 1, 0};
constexpr int kDy[4] = {0, -1, 0, 1};

}  // namespace

void TGrondoRobot::RaiseError(TStrId message) const {
  throw EGrondoException(FormatStr(sExecutorError, {Str(message)}));
}

void TGrondoRobot::CheckReady() const {
  if (grid_.WorkingMaze.empty()) RaiseError(sGrondoNoTask);
  if (!grid_.HasGrondo()) RaiseError(sGrondoNoPosition);
}

int TGrondoRobot::Neighbour(TGrondoSide side) const {
  // An odd heading (only a hand-made file holds one between commands) is
  // taken as the quarter just before it, the same quarter the sensors look
  // at, so a walk never leaves the four neighbours.
  const int quarter = ((grid_.GrondoDir % 8) + 8) % 8 / 2;
  return (quarter + side) % 4;
}

TCellKind TGrondoRobot::CellKind(int x, int y) const {
  if (!grid_.InField(x, y)) return ckOutside;
  switch (grid_.CellAt(x, y)) {
    case 'P':
    case kFlowerCell: return ckFlowers;
    case kWallCell: return ckWall;
    default: return ckEnterable;
  }
}

bool TGrondoRobot::Probe(TGrondoSide side, std::string_view set) const {
  const int n = Neighbour(side);
  const int x = grid_.GrondoX + kDx[n];
  const int y = grid_.GrondoY + kDy[n];
  return !grid_.InField(x, y) || grid_.CellIn(x, y, set);
}

void TGrondoRobot::Walk(bool backward, long long count) {
  try {
    for (long long i = 1; i <= count; ++i) {
      const int n = Neighbour(backward ? gsBehind : gsAhead);
      const int x = grid_.GrondoX + kDx[n];
      const int y = grid_.GrondoY + kDy[n];
      switch (CellKind(x, y)) {
        case ckOutside: RaiseError(sGrondoOffField);
        case ckWall: RaiseError(sGrondoThroughWall);
        case ckFlowers: RaiseError(sGrondoOnFlowers);
        case ckEnterable: break;
      }
      const int oldX = grid_.GrondoX;
      const int oldY = grid_.GrondoY;
      grid_.GrondoX = x;
      grid_.GrondoY = y;
      view_.CellChanged(oldX, oldY);
      view_.CellChanged(x, y);
      if (i < count) {
        view_.Repaint();
        view_.Pause(kWalkStepPause);
      }
    }
  } catch (const EGrondoException&) {
    // The pupil sees where Grondo stopped before the message appears.
    view_.Repaint();
    view_.Pause(kWalkEndPause);
    throw;
  }
  view_.Repaint();
  view_.Pause(kWalkEndPause);
}

void TGrondoRobot::Turn(TGrondoTurn kind) {
  // A quarter turn passes through the diagonal picture; turning around goes
  // counter-clockwise.
  const int step = kind == gtRight ? 1 : -1;
  const int steps = kind == gtAround ? 4 : 2;
  for (int i = 1; i <= steps; ++i) {
    grid_.GrondoDir = ((grid_.GrondoDir + step) % 8 + 8) % 8;
    view_.CellChanged(grid_.GrondoX, grid_.GrondoY);
    view_.Repaint();
    if (i < steps) view_.Pause(kTurnStepPause);
  }
}

void TGrondoRobot::Plant() {
  if (!grid_.CellIn(grid_.GrondoX, grid_.GrondoY, kBedSet)) RaiseError(sGrondoPlantOnBedOnly);
  grid_.WorkingMaze[grid_.GrondoY][grid_.GrondoX] = kFlowerCell;
  view_.CellChanged(grid_.GrondoX, grid_.GrondoY);
  view_.Repaint();
}

bool TGrondoRobot::Execute(int id, int n) {
  if (!IsCommand(id)) return false;
  CheckReady();
  // Widened before negating: -(-2147483648) does not fit an int.
  const long long count = n;
  const int x = grid_.GrondoX;
  const int y = grid_.GrondoY;
  switch (id) {
    case gcForward: Walk(count < 0, count < 0 ? -count : count); return false;
    case gcBack: Walk(count >= 0, count < 0 ? -count : count); return false;
    case gcLeft: Turn(gtLeft); return false;
    case gcRight: Turn(gtRight); return false;
    case gcAround: Turn(gtAround); return false;
    case gcPlant: Plant(); return false;
    case gcWallAhead: return Probe(gsAhead, kWallSet);
    case gcWallBehind: return Probe(gsBehind, kWallSet);
    case gcWallLeft: return Probe(gsLeft, kWallSet);
    case gcWallRight: return Probe(gsRight, kWallSet);
    case gcFlowersAhead: return Probe(gsAhead, kFlowerSet);
    case gcFlowersBehind: return Probe(gsBehind, kFlowerSet);
    case gcFlowersLeft: return Probe(gsLeft, kFlowerSet);
    case gcFlowersRight: return Probe(gsRight, kFlowerSet);
    case gcFreeAhead: return !Probe(gsAhead, kBlockedSet);
    case gcFreeBehind: return !Probe(gsBehind, kBlockedSet);
    case gcFreeLeft: return !Probe(gsLeft, kBlockedSet);
    case gcFreeRight: return !Probe(gsRight, kBlockedSet);
    case gcOnBed: return grid_.CellIn(x, y, kBedSet);
    case gcOnFlowers: return grid_.CellIn(x, y, kPlantedSet);
    case gcOnBase: return grid_.CellIn(x, y, kBaseSet);
    default: return false;
  }
}

TTaskVerdict TaskVerdict(const TGrid& grid) {
  long long unplanted = 0;
  for (const std::string& row : grid.WorkingMaze)
    unplanted += std::count(row.begin(), row.end(), kBedCell);

  std::string errors;
  if (unplanted > 0) {
    errors += FormatStr(sVerdictItem,
                        {FormatStr(sVerdictCount, {Str(sVerdictUnplanted), unplanted, Str(sVerdictPieces)})});
  }
  if (grid.BaseX >= 0 && (grid.GrondoX != grid.BaseX || grid.GrondoY != grid.BaseY))
    errors += FormatStr(sVerdictItem, {Str(sVerdictNotOnBase)});

  if (!errors.empty()) return {false, Str(sVerdictWrong) + errors};
  return {true, Str(grid.BaseX < 0 ? sVerdictSolved : sVerdictSolvedBase)};
}
