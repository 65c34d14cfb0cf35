#include "procedure.h"

#include "errors.h"
#include "string_table.h"

namespace {

// The memory a copy of the list's variables takes: each value's record and
// its array's elements.
int64_t FootprintOf(const TVarList& vars) {
  int64_t bytes = 0;
  for (int i = 0; i < vars.Count(); ++i) {
    const TVar& v = vars[i];
    bytes += static_cast<int64_t>(sizeof(TVar));
    if (v.IsArray()) {
      const int64_t size = v.Kind == dkRealArray ? 8 : v.Kind == dkIntegerArray ? 4 : 1;
      bytes += static_cast<int64_t>(v.ElementCount()) * size;
    }
  }
  return bytes;
}

}  // namespace

TProcedure::TProcedure() = default;

TProcedure::~TProcedure() {
  // Free a long chain of saved activations iteratively rather than by
  // recursive destructors, so a deep recursion cannot overflow the C++ stack.
  std::unique_ptr<TProcedure> next = std::move(Outer);
  while (next) next = std::move(next->Outer);
}

std::unique_ptr<TProcedure> TProcedure::CreateBuiltIn(std::string_view name,
                                                      std::initializer_list<uint8_t> argKinds,
                                                      uint8_t resultKind, int32_t code) {
  auto p = std::make_unique<TProcedure>();
  p->Name = std::string(name);
  p->Id = code;
  p->Result.Kind = resultKind;
  for (uint8_t kind : argKinds) {
    if (kind == dkVoid) continue;
    p->Vars.Add(TVar("", kind));
    ++p->ArgCount;
  }
  return p;
}

void TProcedure::ActivateCopy(const TProcedure& src, bool sameShape) {
  if (sameShape) {
    CallerProc = src.CallerProc;
    Depth = src.Depth;
    ReturnPos = src.ReturnPos;
    Vars.CopyValuesFrom(src.Vars);
    Temps.CopyValuesFrom(src.Temps);
    Result.AssignValue(src.Result);
    Active = true;
    return;
  }
  if (Name != src.Name) Name = src.Name;
  Id = src.Id;
  ArgCount = src.ArgCount;
  CallerProc = src.CallerProc;
  Depth = src.Depth;
  ReturnPos = src.ReturnPos;
  Entry = src.Entry;
  FirstLine = src.FirstLine;
  LastLine = src.LastLine;
  Vars.AssignFrom(src.Vars);
  Temps.AssignFrom(src.Temps);
  Result.Assign(src.Result);
  Active = true;
}

TProcList::TProcList() = default;
TProcList::~TProcList() = default;

void TProcList::Clear() {
  items_.clear();
  activationBytes_ = 0;
}

void TProcList::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  for (const TProcedure* r = items_[static_cast<size_t>(i)].get(); r; r = r->Outer.get())
    activationBytes_ -= r->Footprint;
  items_.erase(items_.begin() + i);
}

TProcedure& TProcList::Item(int i) {
  if (i < 0 || i >= Count()) throw EListIndexError(FormatStr(sBadProcIndex, {i}));
  return *items_[static_cast<size_t>(i)];
}

const TProcedure& TProcList::Item(int i) const { return const_cast<TProcList*>(this)->Item(i); }

int TProcList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->Name == name) return static_cast<int>(i);
  return -1;
}

TProcedure& TProcList::Add(std::unique_ptr<TProcedure> p) {
  items_.push_back(std::move(p));
  return *items_.back();
}

std::unique_ptr<TProcedure> TProcList::Replace(int i, std::unique_ptr<TProcedure> p) {
  if (i < 0 || i >= Count()) throw EListIndexError(FormatStr(sBadProcIndex, {i}));
  std::swap(items_[static_cast<size_t>(i)], p);
  return p;
}

TProcedure& TProcList::EnterActivation(int p) {
  TProcedure& current = Item(p);
  if (!current.Active) return current;
  if (current.Depth > kMaxRecursionDepth) RunTimeError(sRecursionLimit);
  // Checked before the copy is made: the copy is what would not fit. A copy
  // of a fresh activation has its shapes, so only the first level counts.
  const int64_t footprint =
      current.Footprint > 0
          ? current.Footprint
          : static_cast<int64_t>(sizeof(TProcedure)) + FootprintOf(current.Vars) + FootprintOf(current.Temps);
  if (activationBytes_ + footprint > kMaxActivationBytes) throw EOutOfMemory();
  std::unique_ptr<TProcedure> fresh;
  if (static_cast<size_t>(p) < spare_.size() && !spare_[static_cast<size_t>(p)].empty()) {
    auto& spare = spare_[static_cast<size_t>(p)];
    fresh = std::move(spare.back());
    spare.pop_back();
    fresh->ActivateCopy(current, true);
  } else {
    fresh = std::make_unique<TProcedure>();
    fresh->ActivateCopy(current);
  }
  fresh->Depth = current.Depth + 1;
  fresh->Footprint = footprint;
  activationBytes_ += footprint;
  TProcedure& result = *fresh;
  result.Outer = Replace(p, std::move(fresh));
  return result;
}

void TProcList::LeaveActivation(int p) {
  TProcedure& current = Item(p);
  current.Active = false;
  if (!current.Outer) return;
  activationBytes_ -= current.Footprint;
  std::unique_ptr<TProcedure> outer = std::move(current.Outer);
  outer->Result.AssignValue(current.Result);
  std::unique_ptr<TProcedure> done = Replace(p, std::move(outer));
  if (spare_.size() <= static_cast<size_t>(p)) spare_.resize(static_cast<size_t>(p) + 1);
  spare_[static_cast<size_t>(p)].push_back(std::move(done));
}
