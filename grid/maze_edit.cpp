#include "maze_edit.h"

namespace {

int Cols(const TGrid& g) { return g.WorkingMaze.empty() ? 0 : static_cast<int>(g.WorkingMaze[0].size()); }
int Rows(const TGrid& g) { return static_cast<int>(g.WorkingMaze.size()); }

// The grid's own test is on row 0's length and the number of rows, which is
// what a click is measured against.
bool InMaze(const TGrid& g, int x, int y) {
  return x >= 0 && y >= 0 && y < Rows(g) && x < Cols(g) && x < static_cast<int>(g.WorkingMaze[y].size());
}

// One line removed at index i of a direction: a position on it is gone, one
// beyond it moves back.
void DropLine(int& along, int& other, int i) {
  if (along < 0) return;
  if (along == i) {
    along = other = -1;
  } else if (along > i) {
    --along;
  }
}

}  // namespace

bool CellAtPixel(const TGrid& grid, int px, int py, int cellSize, int& x, int& y) {
  // Both tests come before the division: integer division rounds toward
  // zero, so a pixel just left of or above the grid would land in cell 0.
  // The black pixel row above the cells belongs to none of them.
  if (cellSize <= 0 || px < 0 || py < 1) return false;
  x = px / cellSize;
  y = (py - 1) / cellSize;
  return InMaze(grid, x, y);
}

void TMazeEdit::Begin(const std::string& fileName) {
  grid_.Restore();
  grid_.Modified = false;
  fileName_ = keptFileName_ = fileName;
  undo_.clear();
}

void TMazeEdit::Push(bool withFileName) {
  if (undo_.size() >= kMazeUndoLimit) undo_.pop_front();
  const TGrid& g = grid_;
  undo_.push_back(TState{g.WorkingMaze, g.GrondoX, g.GrondoY, g.GrondoDir, g.BaseX, g.BaseY, g.FieldCols,
                         g.FieldRows, g.Modified, withFileName, withFileName ? fileName_ : std::string()});
}

void TMazeEdit::Changed(TCellChange& change, int x, int y) {
  change.Changed = true;
  change.Cells.emplace_back(x, y);
}

TCellChange TMazeEdit::Place(int x, int y, char tool) {
  TCellChange change;
  if (!InMaze(grid_, x, y)) return change;
  if (tool == kGrondoTool && x == grid_.GrondoX && y == grid_.GrondoY) {
    Push();
    // A heading read from a file may be odd; wrapping keeps it within 0..7
    // instead of counting past 8 for ever.
    grid_.GrondoDir = ((grid_.GrondoDir + 2) % 8 + 8) % 8;
    grid_.Modified = true;
    Changed(change, x, y);
    return change;
  }
  return SetCell(x, y, tool);
}

TCellChange TMazeEdit::SetCell(int x, int y, char tool) {
  TCellChange change;
  if (!InMaze(grid_, x, y)) return change;
  Push();
  TGrid& g = grid_;
  char& cell = g.WorkingMaze[y][x];
  const char old = cell;
  const bool onGrondo = x == g.GrondoX && y == g.GrondoY;
  const bool onBase = x == g.BaseX && y == g.BaseY;
  switch (tool) {
    case kGrondoTool:
      // Grondo keeps his heading and stands on whatever the cell holds,
      // except a wall, which he replaces.
      if (!onGrondo) {
        if (g.HasGrondo()) Changed(change, g.GrondoX, g.GrondoY);
        g.GrondoX = x;
        g.GrondoY = y;
        Changed(change, x, y);
      }
      if (old == kWallCell) {
        cell = kEmptyCell;
        Changed(change, x, y);
        change.Whole = true;
      }
      break;
    case kBaseCell:
      if (g.HasBase() && !onBase) {
        if (InMaze(g, g.BaseX, g.BaseY)) g.WorkingMaze[g.BaseY][g.BaseX] = kEmptyCell;
        Changed(change, g.BaseX, g.BaseY);
      }
      g.BaseX = x;
      g.BaseY = y;
      if (old != kBaseCell || !onBase) {
        cell = kBaseCell;
        Changed(change, x, y);
      }
      if (old == kWallCell) change.Whole = true;
      break;
    case kWallCell:
    case kEmptyCell:
    case kBedCell:
    case kFlowerCell:
      if (tool == kWallCell && onGrondo) break;
      if (onBase) {
        g.BaseX = g.BaseY = -1;
        Changed(change, x, y);
      }
      if (old != tool) {
        cell = tool;
        Changed(change, x, y);
        if (old == kWallCell || tool == kWallCell) change.Whole = true;
      }
      break;
    default:
      break;
  }
  if (change.Changed)
    g.Modified = true;
  else
    undo_.pop_back();
  return change;
}

bool TMazeEdit::InsertLine(int side) {
  TGrid& g = grid_;
  const bool columns = side == lsLeft || side == lsRight;
  if (side < lsLeft || side > lsBottom) return false;
  if ((columns ? Cols(g) : Rows(g)) >= kMaxEditedSide) return false;
  Push();
  switch (side) {
    case lsLeft:
      for (std::string& row : g.WorkingMaze) row.insert(row.begin(), kEmptyCell);
      if (g.GrondoX >= 0) ++g.GrondoX;
      if (g.BaseX >= 0) ++g.BaseX;
      break;
    case lsRight:
      for (std::string& row : g.WorkingMaze) row.push_back(kEmptyCell);
      break;
    case lsTop:
      g.WorkingMaze.insert(g.WorkingMaze.begin(), std::string(Cols(g), kEmptyCell));
      if (g.GrondoY >= 0) ++g.GrondoY;
      if (g.BaseY >= 0) ++g.BaseY;
      break;
    default:
      g.WorkingMaze.push_back(std::string(Cols(g), kEmptyCell));
      break;
  }
  g.Normalise(false);
  g.Modified = true;
  return true;
}

bool TMazeEdit::DeleteLine(int side) {
  TGrid& g = grid_;
  const bool columns = side == lsLeft || side == lsRight;
  if (side < lsLeft || side > lsBottom) return false;
  if ((columns ? Cols(g) : Rows(g)) < kMinMazeSide + 1) return false;
  Push();
  switch (side) {
    case lsLeft:
      for (std::string& row : g.WorkingMaze) row.erase(row.begin());
      DropLine(g.GrondoX, g.GrondoY, 0);
      DropLine(g.BaseX, g.BaseY, 0);
      break;
    case lsRight: {
      const int last = Cols(g) - 1;
      for (std::string& row : g.WorkingMaze) row.resize(last);
      DropLine(g.GrondoX, g.GrondoY, last);
      DropLine(g.BaseX, g.BaseY, last);
      break;
    }
    case lsTop:
      g.WorkingMaze.erase(g.WorkingMaze.begin());
      DropLine(g.GrondoY, g.GrondoX, 0);
      DropLine(g.BaseY, g.BaseX, 0);
      break;
    default: {
      const int last = Rows(g) - 1;
      g.WorkingMaze.pop_back();
      DropLine(g.GrondoY, g.GrondoX, last);
      DropLine(g.BaseY, g.BaseX, last);
      break;
    }
  }
  g.Normalise(false);
  g.Modified = true;
  return true;
}

void TMazeEdit::NewMaze() {
  Push(true);
  TGrid& g = grid_;
  g.WorkingMaze.clear();
  g.GrondoX = g.GrondoY = g.BaseX = g.BaseY = -1;
  g.Layout(false);
  g.Modified = true;
  fileName_.clear();
}

void TMazeEdit::Saved(const std::string& fileName) {
  fileName_ = keptFileName_ = fileName;
  for (TState& s : undo_) s.Modified = true;
}

void TMazeEdit::Discard() {
  grid_.Restore();
  grid_.Modified = false;
  fileName_ = keptFileName_;
  undo_.clear();
}

bool TMazeEdit::Undo() {
  if (undo_.empty()) return false;
  TState s = std::move(undo_.back());
  undo_.pop_back();
  TGrid& g = grid_;
  g.WorkingMaze = std::move(s.Maze);
  g.GrondoX = s.GrondoX;
  g.GrondoY = s.GrondoY;
  g.GrondoDir = s.GrondoDir;
  g.BaseX = s.BaseX;
  g.BaseY = s.BaseY;
  g.FieldCols = s.Cols;
  g.FieldRows = s.Rows;
  g.Modified = s.Modified;
  if (s.HasFileName) fileName_ = std::move(s.FileName);
  return true;
}
