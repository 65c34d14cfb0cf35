// The line list of the text control with the per-line properties the
// highlighter and the painting need. Plain C++: the compiler reads the lines
// from here directly, in Windows-1251.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "highlighter.h"

struct TLineProp {
  int Mark = 0;               // style whose background fills the whole line
  bool CommentOpen = false;   // the line begins inside a multi-line comment
  int BracketOpen = -1;       // bracket pair still open at the start of the line
  bool Valid = false;         // Styles matches the text and the start state
  std::string Styles;         // one style byte per character
};

// Scans one line from a start state into its style bytes; returns the state
// at the end of the line.
using THighlightFn = std::function<TLineState(std::string_view line, TLineState start, std::string& styles)>;

class TqxMemoStrings {
 public:
  TqxMemoStrings();

  int Count() const { return int(lines_.size()); }
  // The text of line i; raises EListError outside the list.
  const std::string& Get(int i) const;
  const std::string& operator[](int i) const { return Get(i); }
  // Replaces the text of line i and marks its highlighting stale.
  void Set(int i, std::string text);
  // Inserts a line before index i (i == Count() appends).
  void Insert(int i, std::string text);
  void Delete(int i);
  // Replaces everything; an empty list becomes one empty line, since the
  // caret always needs a line to stand on.
  void Assign(std::vector<std::string> lines);
  // All lines joined with CR LF.
  std::string Text() const;

  TLineProp& Prop(int i);
  const TLineProp& Prop(int i) const;

  // Marks line i stale (ignored outside the list).
  void Invalidate(int i);
  void InvalidateAll();
  // Scans every stale line from the first one down to last, passing each
  // line's end state on to the next line and marking that line stale when
  // its start state changes. Lines below last are left for a later call.
  void Validate(int last, const THighlightFn& scan);

 private:
  struct TLine {
    std::string Text;
    TLineProp Prop;
  };
  void Check(int i) const;

  std::vector<TLine> lines_;
  int firstStale_ = 0;  // no stale line lies above this index
};
