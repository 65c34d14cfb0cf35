#include "runfield.h"

#include "grid_robot.h"
#include "maze_file.h"

TRunField::TRunField(int kind, int width, int height, int originX, int originY, const std::string& taskFile)
    : kind_(kind), width_(width), height_(height), originX_(originX), originY_(originY) {
  if (kind != ekGrondo) return;
  if (taskFile.empty())
    grid_.Restore();
  else
    LoadMaze(grid_, taskFile);
}

bool TRunField::Verdict(std::string& text) const {
  const TTaskVerdict verdict = TaskVerdict(grid_);
  text.clear();
  for (const char c : verdict.Text)
    if (c != '\r') text += c;
  return verdict.Solved;
}
