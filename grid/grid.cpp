#include "grid.h"

#include <algorithm>

namespace {

int WrapDir(int dir) { return ((dir % 8) + 8) % 8; }

}  // namespace

bool DecodeGrondo(char c, TGrondoCode& code) {
  // Each range has eight codes, one per heading. A file written with an odd
  // heading (possible after the maze editor turned a hand-made odd heading)
  // uses the eighth code of its range, so all eight are read back.
  struct Range {
    char first;
    char under;
  };
  static constexpr Range kRanges[] = {
      {'0', kEmptyCell}, {'B', kBaseCell}, {'P', kFlowerCell}, {'X', kBedCell}};
  for (const Range& r : kRanges) {
    if (c >= r.first && c < r.first + 8) {
      code.Under = r.under;
      code.Dir = c - r.first;
      return true;
    }
  }
  return false;
}

char EncodeGrondo(char under, int dir) {
  dir = WrapDir(dir);
  switch (under) {
    case kBaseCell: return static_cast<char>('B' + dir);
    case kFlowerCell: return static_cast<char>('P' + dir);
    case kBedCell: return static_cast<char>('X' + dir);
    default: return static_cast<char>('0' + dir);
  }
}

void TGrid::Normalise(bool init) {
  if (init) {
    WorkingMaze = TaskMaze;
    GrondoX = GrondoY = BaseX = BaseY = -1;
  }
  TMaze& m = WorkingMaze;

  // A small maze is centred: the odd extra row or column goes to both sides,
  // so a 9-row maze grows to 11 rows rather than 10.
  const size_t n = m.size();
  if (n < static_cast<size_t>(kMinMazeSide)) {
    const size_t gap = kMinMazeSide - n;
    const size_t extra = gap / 2 + gap % 2;
    m.insert(m.begin(), extra, std::string());
    m.insert(m.end(), extra, std::string());
  }

  size_t width = 0;
  for (const std::string& row : m) width = std::max(width, row.size());
  if (width < static_cast<size_t>(kMinMazeSide)) {
    const size_t gap = kMinMazeSide - width;
    const size_t extra = gap / 2 + gap % 2;
    for (std::string& row : m) row.insert(0, extra, kEmptyCell);
    width += 2 * extra;
  }
  for (std::string& row : m) row.resize(width, kEmptyCell);

  if (init) {
    TaskMaze = m;
    GrondoX = GrondoY = BaseX = BaseY = -1;
  }
  FieldCols = static_cast<int>(width);
  FieldRows = static_cast<int>(m.size());
}

void TGrid::DiscoverCell(int x, int y) {
  if (y < 0 || x < 0 || static_cast<size_t>(y) >= WorkingMaze.size()) return;
  std::string& row = WorkingMaze[y];
  if (static_cast<size_t>(x) >= row.size()) return;
  char& c = row[x];
  if (c == kBaseCell) {
    BaseX = x;
    BaseY = y;
    return;
  }
  TGrondoCode code;
  if (!DecodeGrondo(c, code)) return;
  GrondoX = x;
  GrondoY = y;
  GrondoDir = code.Dir;
  c = code.Under;
  if (c == kBaseCell) {
    BaseX = x;
    BaseY = y;
  }
}

void TGrid::Layout(bool init) {
  Normalise(init);
  for (int y = 0; y < FieldRows; ++y)
    for (int x = 0; x < FieldCols; ++x) DiscoverCell(x, y);
}

void TGrid::StoreGrondo(TMaze& list) const {
  if (!HasGrondo() || static_cast<size_t>(GrondoY) >= list.size()) return;
  std::string& row = list[GrondoY];
  // After normalisation every row reaches Grondo's column; a list that has
  // lost its padding still keeps Grondo rather than dropping him.
  if (static_cast<size_t>(GrondoX) >= row.size()) row.resize(GrondoX + 1, kEmptyCell);
  char& c = row[GrondoX];
  TGrondoCode code;
  if (DecodeGrondo(c, code) && code.Under != kEmptyCell) return;
  c = EncodeGrondo(c, GrondoDir);
}

char TGrid::CellAt(int x, int y) const {
  if (x < 0 || y < 0 || static_cast<size_t>(y) >= WorkingMaze.size()) return '\0';
  const std::string& row = WorkingMaze[y];
  if (static_cast<size_t>(x) >= row.size()) return '\0';
  return row[x];
}

bool TGrid::CellIn(int x, int y, std::string_view set) const {
  if (x < 0 || y < 0 || static_cast<size_t>(y) >= WorkingMaze.size()) return false;
  const std::string& row = WorkingMaze[y];
  if (static_cast<size_t>(x) >= row.size()) return false;
  return set.find(row[x]) != std::string_view::npos;
}
