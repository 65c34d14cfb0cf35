// A position in the text: 0-based column and line.
#pragma once

#include <compare>

struct TTextPos {
  int Col = 0;
  int Line = 0;
  bool operator==(const TTextPos&) const = default;
  // Text order: by line, then by column.
  std::strong_ordering operator<=>(const TTextPos& o) const {
    if (auto c = Line <=> o.Line; c != 0) return c;
    return Col <=> o.Col;
  }
};
