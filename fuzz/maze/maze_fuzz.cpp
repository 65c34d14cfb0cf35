// Feeds arbitrary bytes to the task-file reader and checks what every later
// step relies on: the normalised field is rectangular and at least 10 x 10,
// no Grondo code survives the layout, saving and reading back gives the same
// field, and Grondo's commands (taken from the input's first bytes) never
// leave him off the field or inside a wall.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "errors.h"
#include "grid_robot.h"
#include "maze_file.h"

namespace {

class TQuietView : public TGrondoView {
 public:
  void CellChanged(int, int) override {}
  void Repaint() override {}
  void Pause(int) override {}
};

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckLaidOut(const TGrid& g) {
  Check(g.FieldRows >= kMinMazeSide && g.FieldCols >= kMinMazeSide);
  Check(static_cast<int>(g.WorkingMaze.size()) == g.FieldRows);
  for (const std::string& row : g.WorkingMaze) {
    Check(static_cast<int>(row.size()) == g.FieldCols);
    for (char c : row) {
      TGrondoCode code;
      Check(!DecodeGrondo(c, code));
    }
  }
  if (g.HasGrondo()) Check(g.InField(g.GrondoX, g.GrondoY) && g.GrondoDir >= 0 && g.GrondoDir < 8);
  if (g.HasBase()) Check(g.CellAt(g.BaseX, g.BaseY) == kBaseCell);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The first bytes double as a command list; the whole input is the file.
  const std::string_view commands = bytes.substr(0, std::min<size_t>(size, 16));

  TMaze rows = ParseMaze(bytes);
  if (NormalisedCells(rows) > kMaxMazeCells) return 0;
  Check(ParseMaze(SerializeMaze(rows)) == rows);

  TGrid g;
  g.TaskMaze = rows;
  g.Restore();
  CheckLaidOut(g);

  TMaze saved = g.WorkingMaze;
  g.StoreGrondo(saved);
  TGrid reread;
  reread.TaskMaze = ParseMaze(SerializeMaze(saved));
  reread.Restore();
  Check(reread.WorkingMaze == g.WorkingMaze);
  Check(reread.GrondoX == g.GrondoX && reread.GrondoY == g.GrondoY);
  Check(!g.HasGrondo() || reread.GrondoDir == g.GrondoDir);
  Check(reread.BaseX == g.BaseX && reread.BaseY == g.BaseY);

  TQuietView view;
  TGrondoRobot robot(g, view);
  for (unsigned char c : commands) {
    const int id = 4001 + c % 22;
    const int n = static_cast<signed char>(c) / 16;
    try {
      robot.Execute(id, n);
    } catch (const EGrondoException&) {
    }
    CheckLaidOut(g);
    if (g.HasGrondo() && id <= 4002 && n != 0) Check(g.CellAt(g.GrondoX, g.GrondoY) != kWallCell);
  }
  (void)TaskVerdict(g);
  return 0;
}
