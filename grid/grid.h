// Grondo's world: the task maze, the working maze and the positions on it.
//
// A maze is a list of row strings, top row first, one byte per cell. The
// same alphabet is used in task files and in memory:
//   .  empty cell            w  wall             b  base
//   x  garden bed (to plant) p  flower bed (planted)
//   0..7  Grondo on an empty cell, heading = code - '0'
//   B..I  Grondo on the base,      heading = code - 'B'
//   P..W  Grondo on flowers,       heading = code - 'P'
//   X.._  Grondo on a garden bed,  heading = code - 'X'
// Any other byte is a passable cell without a picture.
//
// Grondo codes live only in files and in the task maze: once a cell is laid
// out (drawn) its code becomes the plain character underneath and the
// position and heading move into TGrid. One TGrid is shared by the Grondo
// executor, the field drawing and the maze editor.
#pragma once

#include <string>
#include <string_view>
#include <vector>

using TMaze = std::vector<std::string>;

inline constexpr char kEmptyCell = '.';
inline constexpr char kWallCell = 'w';
inline constexpr char kBedCell = 'x';
inline constexpr char kFlowerCell = 'p';
inline constexpr char kBaseCell = 'b';

// A maze is never smaller than this in either direction once normalised.
inline constexpr int kMinMazeSide = 10;

// Heading 0..7 in 45-degree steps clockwise: 0 up, 2 right, 4 down, 6 left.
enum TGrondoHeading : int { ghUp = 0, ghRight = 2, ghDown = 4, ghLeft = 6 };

// What a Grondo code stands on and where it looks.
struct TGrondoCode {
  char Under = kEmptyCell;  // '.', 'b', 'p' or 'x'
  int Dir = 0;              // 0..7
};

// True when c is a Grondo code; fills code with its meaning.
bool DecodeGrondo(char c, TGrondoCode& code);

// The Grondo code for Grondo standing on a cell holding under, looking dir.
char EncodeGrondo(char under, int dir);

class TGrid {
 public:
  TMaze TaskMaze;     // the task as loaded or last saved
  TMaze WorkingMaze;  // the field that is drawn, run and edited

  int FieldCols = 0;  // width of the normalised working maze
  int FieldRows = 0;  // its number of rows
  int GrondoX = -1;   // Grondo's cell; -1, -1 = no Grondo
  int GrondoY = -1;
  int GrondoDir = 0;  // 0..7, odd only in the middle of a turn
  int BaseX = -1;     // the base; -1, -1 = no base
  int BaseY = -1;
  bool Modified = false;  // edited since loaded, made or saved

  // Pads the working maze to at least 10 x 10, centring a smaller maze, and
  // makes every row as long as the longest. With init the task is first
  // copied into the working maze, the normalised result copied back into
  // the task and the Grondo and base positions cleared. Sets FieldCols and
  // FieldRows.
  void Normalise(bool init);

  // The model side of drawing cell (x, y): a base cell becomes the base
  // position; a Grondo code becomes Grondo's position and heading and is
  // replaced by the plain character underneath. Cells outside the working
  // maze are ignored.
  void DiscoverCell(int x, int y);

  // Normalise(init), then DiscoverCell over every cell in drawing order (rows
  // top to bottom, each left to right): the whole-field redraw without
  // pictures. With several Grondos or bases the last one wins.
  void Layout(bool init);

  // Restore and run start: the working maze becomes the task again, with
  // positions found afresh.
  void Restore() { Layout(true); }

  // Writes Grondo's code into list at Grondo's cell, so that a saved file
  // remembers where Grondo stands. Does nothing without a Grondo.
  void StoreGrondo(TMaze& list) const;

  // 0 <= x < FieldCols and 0 <= y < FieldRows.
  bool InField(int x, int y) const { return x >= 0 && y >= 0 && x < FieldCols && y < FieldRows; }

  // The working maze's character at (x, y), or '\0' when the cell does not
  // exist.
  char CellAt(int x, int y) const;

  // True when the working maze's character at (x, y) is one of set.
  bool CellIn(int x, int y, std::string_view set) const;

  bool HasGrondo() const { return GrondoX >= 0 && GrondoY >= 0; }
  bool HasBase() const { return BaseX >= 0 && BaseY >= 0; }
};
