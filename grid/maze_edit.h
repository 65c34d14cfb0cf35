// Design mode's edits of Grondo's grid: the cell tools, adding and removing
// rows and columns, a new maze, undo, and the task as it stood when editing
// began (or was last saved), so that leaving without saving brings it back.
//
// Only the working maze and the positions are edited; the task maze changes
// when the maze is saved (SaveMaze) and is what Discard returns to.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "grid.h"

// The side a row or column is added at or removed from; the values are the
// line buttons' tags.
enum TLineSide : int { lsLeft = 0, lsRight = 1, lsTop = 2, lsBottom = 3 };

// The editor keeps both sides of the maze within these bounds (a loaded task
// may be larger; it can then only shrink).
inline constexpr int kMaxEditedSide = 100;

// The tool characters: the cell characters, and '0' for Grondo.
inline constexpr char kGrondoTool = '0';

// The most edits Undo can take back.
inline constexpr size_t kMazeUndoLimit = 100;

// What an edit changed, for the view to draw again.
struct TCellChange {
  bool Changed = false;  // something changed; the maze is now modified
  bool Whole = false;    // a wall came or went: its neighbours' pictures change
  std::vector<std::pair<int, int>> Cells;  // (x, y) to redraw when not Whole
};

// The cell under pixel (px, py) of a field drawn with cellSize-pixel cells
// (cell (x, y) covers cellSize x cellSize pixels from (cellSize x,
// cellSize y + 1)). False for a pixel outside every cell: the black top row,
// the right column, or anywhere left of, above, right of or below the grid.
bool CellAtPixel(const TGrid& grid, int px, int py, int cellSize, int& x, int& y);

class TMazeEdit {
 public:
  explicit TMazeEdit(TGrid& grid) : grid_(grid) {}

  // Enters design mode: the working maze becomes the task again, the maze is
  // not modified, undo is empty, and fileName (the task's file, empty for
  // none) is kept for Discard.
  void Begin(const std::string& fileName);

  // A mouse release or the Space key on cell (x, y) with tool: a cell outside
  // the grid is ignored; Grondo put on his own cell turns a quarter clockwise.
  TCellChange Place(int x, int y, char tool);

  // Puts tool into cell (x, y): a wall never goes on Grondo; Grondo and the
  // base move there; any other tool on the base removes the base.
  TCellChange SetCell(int x, int y, char tool);

  // Adds a row or column of empty cells at side; false (nothing done) when
  // that direction already has kMaxEditedSide or more.
  bool InsertLine(int side);
  // Removes the row or column at side, with Grondo or the base standing on
  // it; false (nothing done) when that direction has fewer than 11.
  bool DeleteLine(int side);

  // A 10 x 10 maze of empty cells without Grondo or base, with no file. The
  // task itself stays, for Discard.
  void NewMaze();

  // The maze was saved to fileName (SaveMaze has made it the task): Discard
  // now returns to it, and every earlier state Undo can bring back differs
  // from what is saved.
  void Saved(const std::string& fileName);

  // Leaves without saving: the working maze becomes the task again and the
  // file name is the one of Begin or of the last save.
  void Discard();

  // Takes back the last edit; false when there is none.
  bool Undo();
  bool CanUndo() const { return !undo_.empty(); }
  void ClearUndo() { undo_.clear(); }

  // The file the maze belongs to (native path; empty after a new maze).
  const std::string& FileName() const { return fileName_; }

  TGrid& Grid() { return grid_; }
  const TGrid& Grid() const { return grid_; }

 private:
  struct TState {
    TMaze Maze;
    int GrondoX, GrondoY, GrondoDir, BaseX, BaseY;
    int Cols, Rows;
    bool Modified;
    bool HasFileName;  // only a new maze changes the file name
    std::string FileName;
  };
  void Push(bool withFileName = false);
  void Changed(TCellChange& change, int x, int y);

  TGrid& grid_;
  std::string fileName_;
  std::string keptFileName_;
  std::deque<TState> undo_;
};
