#include "line_store.h"

#include <algorithm>

#include "string_table.h"
#include "style_list.h"

TqxMemoStrings::TqxMemoStrings() { lines_.push_back({}); }

void TqxMemoStrings::Check(int i) const {
  if (i < 0 || i >= Count()) throw EListError(FormatStr(sEditorLineIndexError, {i}));
}

const std::string& TqxMemoStrings::Get(int i) const {
  Check(i);
  return lines_[i].Text;
}

void TqxMemoStrings::Set(int i, std::string text) {
  Check(i);
  lines_[i].Text = std::move(text);
  Invalidate(i);
}

void TqxMemoStrings::Insert(int i, std::string text) {
  if (i < 0 || i > Count()) Check(i);
  TLine line;
  line.Text = std::move(text);
  lines_.insert(lines_.begin() + i, std::move(line));
  // The line above must hand its end state to the new line.
  Invalidate(i - 1);
  Invalidate(i);
}

void TqxMemoStrings::Delete(int i) {
  Check(i);
  lines_.erase(lines_.begin() + i);
  if (lines_.empty()) lines_.push_back({});
  // The new first line has no line above to hand it a state.
  if (i == 0) {
    lines_[0].Prop.CommentOpen = false;
    lines_[0].Prop.BracketOpen = -1;
  }
  Invalidate(i - 1);
  Invalidate(std::min(i, Count() - 1));
}

void TqxMemoStrings::Assign(std::vector<std::string> lines) {
  lines_.clear();
  lines_.reserve(std::max<size_t>(lines.size(), 1));
  for (auto& t : lines) lines_.push_back({std::move(t), {}});
  if (lines_.empty()) lines_.push_back({});
  firstStale_ = 0;
}

std::string TqxMemoStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    if (i) out += "\r\n";
    out += lines_[i].Text;
  }
  return out;
}

TLineProp& TqxMemoStrings::Prop(int i) {
  Check(i);
  return lines_[i].Prop;
}

const TLineProp& TqxMemoStrings::Prop(int i) const {
  Check(i);
  return lines_[i].Prop;
}

void TqxMemoStrings::Invalidate(int i) {
  if (i < 0 || i >= Count()) return;
  lines_[i].Prop.Valid = false;
  firstStale_ = std::min(firstStale_, i);
}

void TqxMemoStrings::InvalidateAll() {
  for (auto& l : lines_) l.Prop.Valid = false;
  firstStale_ = 0;
}

void TqxMemoStrings::Validate(int last, const THighlightFn& scan) {
  last = std::min(last, Count() - 1);
  if (!scan || firstStale_ > last) return;
  for (int i = firstStale_; i <= last; ++i) {
    TLineProp& prop = lines_[i].Prop;
    if (prop.Valid) continue;
    TLineState start{prop.CommentOpen, prop.BracketOpen};
    TLineState end = scan(lines_[i].Text, start, prop.Styles);
    prop.Valid = true;
    if (i + 1 < Count()) {
      TLineProp& next = lines_[i + 1].Prop;
      if (next.CommentOpen != end.InComment || next.BracketOpen != end.Bracket) {
        next.CommentOpen = end.InComment;
        next.BracketOpen = end.Bracket;
        next.Valid = false;
      }
    }
  }
  firstStale_ = last + 1;
}
