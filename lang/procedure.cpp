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
  // Free a long chain of activation records iteratively rather than by
  // recursive destructors, so a deep recursion cannot overflow the C++ stack.
  std::unique_ptr<TProcedure> next = std::move(Deeper);
  while (next) next = std::move(next->Deeper);
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

void TProcedure::ActivateFull(const TProcedure& src) {
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
  Result.Assign(src.CurrentResult());
  ResultOwn = true;
  Active = true;
}

TProcList::TProcList() = default;
TProcList::~TProcList() = default;

void TProcList::Clear() {
  items_.clear();
  homes_.clear();
  activationBytes_ = 0;
}

void TProcList::Delete(int i) {
  if (i < 0 || i >= Count()) return;
  // The fresh activations count, the home record at the chain's end not.
  for (const TProcedure* r = items_[static_cast<size_t>(i)]; r && r->Outer; r = r->Outer)
    activationBytes_ -= r->Footprint;
  items_.erase(items_.begin() + i);
  homes_.erase(homes_.begin() + i);
}

void TProcList::BadIndex(int i) { throw EListIndexError(FormatStr(sBadProcIndex, {i})); }

int TProcList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->Name == name) return static_cast<int>(i);
  return -1;
}

TProcedure& TProcList::Add(std::unique_ptr<TProcedure> p) {
  items_.reserve(items_.size() + 1);  // so that the two stay the same length
  homes_.push_back(std::move(p));
  items_.push_back(homes_.back().get());
  return *homes_.back();
}

std::unique_ptr<TProcedure> TProcList::Replace(int i, std::unique_ptr<TProcedure> p) {
  if (i < 0 || i >= Count()) throw EListIndexError(FormatStr(sBadProcIndex, {i}));
  // The old procedure's chain goes with its home record: its records do
  // not fit the new one.
  std::swap(homes_[static_cast<size_t>(i)], p);
  items_[static_cast<size_t>(i)] = homes_[static_cast<size_t>(i)].get();
  return p;
}

void TProcList::TooDeep() { RunTimeError(sRecursionLimit); }

void TProcList::OutOfMemory() { throw EOutOfMemory(); }

TProcedure* TProcList::EnterSelfCopying(int p, TProcedure& current) { return EnterSelfWith<true>(p, current); }

TProcedure& TProcList::Nest(int p, TProcedure& current) {
  // Checked before the copy is made: the copy is what would not fit. A copy
  // has its original's shapes, so the sizes are counted once, from the
  // home record.
  int64_t footprint = current.Footprint;
  if (footprint <= 0)
    footprint = static_cast<int64_t>(sizeof(TProcedure)) + FootprintOf(current.Vars) + FootprintOf(current.Temps);
  if (activationBytes_ + footprint > kMaxActivationBytes) OutOfMemory();
  auto made = std::make_unique<TProcedure>();
  made->ActivateCopy(current);
  made->Outer = &current;
  made->Depth = current.Depth + 1;
  made->Footprint = current.Footprint = footprint;
  TProcedure& fresh = *made;
  current.Deeper = std::move(made);
  activationBytes_ += footprint;
  items_[static_cast<size_t>(p)] = &fresh;
  return fresh;
}
