#include "style_list.h"

#include "string_table.h"

TStyleList::TStyleList() { items_.push_back(TCharStyle{}); }

int TStyleList::Add(TColor text, TColor bk, unsigned style) {
  items_.push_back(TCharStyle{text, bk, style});
  return Count() - 1;
}

void TStyleList::Check(int index) const {
  if (index < 0 || index >= Count()) throw EListError(FormatStr(sEditorStyleIndexError, {index}));
}

const TCharStyle& TStyleList::Get(int index) const {
  Check(index);
  return items_[index];
}

void TStyleList::Set(int index, const TCharStyle& style) {
  Check(index);
  items_[index] = style;
}

void TStyleList::SetTextColor(int index, TColor c) {
  Check(index);
  items_[index].TextColor = c;
}

void TStyleList::SetBkColor(int index, TColor c) {
  Check(index);
  items_[index].BkColor = c;
}

void TStyleList::SetStyle(int index, unsigned style) {
  Check(index);
  items_[index].Style = style;
}

const TCharStyle& TStyleList::SafeGet(int index) const {
  return index >= 0 && index < Count() ? items_[index] : items_[0];
}
