#include "variables.h"

#include <cstdint>

#include "errors.h"
#include "string_table.h"

void TVar::Assign(const TDatum& src) {
  if (const auto* var = dynamic_cast<const TVar*>(&src)) Name = var->Name;
  TDatum::Assign(src);
}

void TStackDatum::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  items_.erase(items_.end() - 1 - i);
}

void TStackDatum::Push(const TDatum& v) {
  items_.emplace_back();
  items_.back().Assign(v);
}

void TStackDatum::Push(TDatum&& v) { items_.push_back(std::move(v)); }

void TStackDatum::Pop(TDatum& out) {
  out.Assign(items_.back());
  items_.pop_back();
}

void TStackDatum::AssignFrom(const TStackDatum& other) {
  if (this == &other) return;
  items_.resize(other.items_.size());
  for (size_t i = 0; i < items_.size(); ++i) {
    items_[i].Assign(other.items_[i]);
    items_[i].Width = 0;
    items_[i].Fraction = 0;
    items_[i].Args.reset();
  }
  Result.Assign(other.Result);
}

void TVarList::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  items_.erase(items_.begin() + i);
}

TVar& TVarList::Item(int i) {
  if (i < 0 || i >= Count()) throw EListIndexError(FormatStr(sBadVarIndex, {i}));
  return items_[static_cast<size_t>(i)];
}

const TVar& TVarList::Item(int i) const { return const_cast<TVarList*>(this)->Item(i); }

int TVarList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].Name == name) return static_cast<int>(i);
  return -1;
}

TVar& TVarList::Add(TVar v) {
  items_.push_back(std::move(v));
  return items_.back();
}

void TVarList::AssignFrom(const TVarList& other) {
  if (this == &other) return;
  // Resizing keeps the records (and their buffers) already here, so copying
  // an activation into a reused record does not allocate.
  items_.resize(other.items_.size());
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].Name != other.items_[i].Name) items_[i].Name = other.items_[i].Name;
    items_[i].TDatum::Assign(other.items_[i]);
  }
}

void TVarList::CopyValuesFrom(const TVarList& other) {
  if (items_.size() != other.items_.size()) {
    AssignFrom(other);
    return;
  }
  // Scalars, what recursion copies most, need only their value fields: when
  // neither value has anything attached (TDatum::IsPlain, in one test).
  auto attached = [](const TDatum& v) {
    return static_cast<uintptr_t>(static_cast<uint32_t>(v.Size1) | static_cast<uint32_t>(v.Size2)) |
           reinterpret_cast<uintptr_t>(v.Index1.get()) | reinterpret_cast<uintptr_t>(v.Index2.get()) |
           static_cast<uintptr_t>(v.HasBuffer());
  };
  TVar* to = items_.data();
  const TVar* from = other.items_.data();
  for (size_t i = 0, n = items_.size(); i < n; ++i) {
    if ((attached(to[i]) | attached(from[i])) == 0) to[i].CopyScalar(from[i]);
    else to[i].TDatum::Assign(from[i]);
  }
}
