// Procedure records and the activation chain.
//
// One TProcedure per user procedure (index 0 is the main program) and per
// built-in. The same record is the activation record at run time: a
// recursive call puts a fresh copy in the list's slot in its place, linked
// back to it through Outer. The copies of one procedure form a chain by
// depth, each owned by the record one level up, and stay when their calls
// return: the next call at that depth takes the same record again.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "datum.h"
#include "variables.h"

// The deepest recursion: a call made while the innermost activation has a
// depth above this fails.
constexpr int kMaxRecursionDepth = 1000;

// The most memory the fresh activations of one procedure list may hold at
// once (their variables and arrays). Each procedure may recurse 1000 deep,
// so without it a few local arrays of 10000 reals, or mutual recursion,
// could take more memory than the machine has.
constexpr int64_t kMaxActivationBytes = int64_t{256} << 20;

class TProcedure {
 public:
  std::string Name;
  int32_t Id = 0;        // code of a built-in
  int32_t ArgCount = 0;
  TVarList Vars;         // the arguments in order, then the declared variables
  TVarList Temps;        // compiler-made temporaries "#0", "#1", ...
  bool Active = false;
  // The activation one level up, for a record of a recursive call: set
  // when the record is made, the same for every call it serves.
  TProcedure* Outer = nullptr;
  // The record that serves the calls one level down, once one was made.
  std::unique_ptr<TProcedure> Deeper;
  int32_t CallerProc = -1;
  int32_t ReturnPos = -1;
  // The interpreter's own form of ReturnPos, set with it on every call so
  // that a return need not look the cell up.
  const void* ReturnIp = nullptr;
  int32_t Depth = 0;     // 0 for the compiler's record
  int32_t Entry = -1;
  int32_t FirstLine = 0;
  int32_t LastLine = 0;
  TDatum Result;         // its kind is the declared result kind
  // Whether Result is this activation's result. A recursive call's record
  // starts without one of its own (ActivateValues): until the activation
  // sets one, its result is its outer activation's, which is what a copy
  // would have given it, and nothing else can change that one meanwhile.
  bool ResultOwn = true;
  // What a fresh activation of the procedure takes, counted against
  // kMaxActivationBytes while one is active: set on the record a fresh one
  // is copied from when the first is made, so every record with a Deeper
  // has it, and so has every fresh one.
  int64_t Footprint = 0;

  TProcedure();
  ~TProcedure();
  TProcedure(const TProcedure&) = delete;
  TProcedure& operator=(const TProcedure&) = delete;

  // A built-in: one argument variable per kind that is not dkVoid, so the
  // single kind dkVoid gives a built-in without arguments.
  static std::unique_ptr<TProcedure> CreateBuiltIn(std::string_view name,
                                                   std::initializer_list<uint8_t> argKinds,
                                                   uint8_t resultKind, int32_t code);

  // Makes this record a fresh activation equal to src: fields, full copies
  // of Vars, Temps and Result; Active. Outer and Deeper are left as they
  // are. When sameShape, this record was an activation of the same
  // procedure before, one level below src, so its variables already have
  // src's names and shapes and only the values are copied, and it keeps
  // its Depth; then, unless withTemps, its temporaries keep what
  // they held (a procedure writes a temporary before it reads one, so only
  // a look at the whole state, such as the loop detector's, can tell), and
  // the first skipVars variables keep theirs too: the caller is about to
  // store the arguments there.
  void ActivateCopy(const TProcedure& src, bool sameShape = false, bool withTemps = true, int skipVars = 0) {
    if (!sameShape) {
      ActivateFull(src);
      return;
    }
    CallerProc = src.CallerProc;
    ReturnPos = src.ReturnPos;
    Vars.CopyValuesFrom(src.Vars, skipVars);
    if (withTemps) Temps.CopyValuesFrom(src.Temps);
    Result.AssignValue(src.CurrentResult());
    ResultOwn = true;
    Active = true;
  }
  // ActivateCopy of an earlier activation of the same procedure without
  // its temporaries, for a caller that sets CallerProc and ReturnPos
  // itself: the variables only, inline on every recursive call; the
  // result stays src's (ResultOwn).
  [[gnu::always_inline]] void ActivateValues(const TProcedure& src, int skipVars) {
    if (Vars.MoreThan(skipVars)) Vars.CopyValuesFrom(src.Vars, skipVars);
    ResultOwn = false;
    Active = true;
  }
  // The activation's result: its own, or that of the nearest outer
  // activation with one.
  const TDatum& CurrentResult() const {
    const TProcedure* r = this;
    while (!r->ResultOwn && r->Outer) r = r->Outer;
    return r->Result;
  }

 private:
  void ActivateFull(const TProcedure& src);
};

// An owned list of procedure records.
class TProcList {
 public:
  TProcList();
  ~TProcList();
  TProcList(const TProcList&) = delete;
  TProcList& operator=(const TProcList&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  void Clear();
  void Delete(int i);
  // The record at i; EListIndexError "Неверный индекс процедуры в списке: %d." outside.
  TProcedure& Item(int i) {
    if (static_cast<size_t>(i) >= items_.size()) [[unlikely]] BadIndex(i);
    return *items_[static_cast<size_t>(i)];
  }
  const TProcedure& Item(int i) const { return const_cast<TProcList*>(this)->Item(i); }
  // Unchecked access for the interpreter's hot path.
  TProcedure& operator[](int i) { return *items_[static_cast<size_t>(i)]; }
  const TProcedure& operator[](int i) const { return *items_[static_cast<size_t>(i)]; }
  int IndexOf(std::string_view name) const;
  // The first activation of procedure p: the record in slot p while p is
  // not active, and the outermost of its activations while it is. It never
  // leaves the list, so its variables stay where they are for a whole run.
  TProcedure& Home(int p) {
    Item(p);
    return *homes_[static_cast<size_t>(p)];
  }
  TProcedure& Add(std::unique_ptr<TProcedure> p);
  // Puts p into slot i and hands back the record that was there.
  std::unique_ptr<TProcedure> Replace(int i, std::unique_ptr<TProcedure> p);

  // The activation chain. Enter returns the record that runs a call of
  // procedure p: the record itself when it is not active, otherwise a fresh
  // activation copied from it, chained through Outer, one level deeper, and
  // put into slot p. Past kMaxRecursionDepth it raises the run-time error
  // "превышен предел в 1000 рекурсивных вызовов", past kMaxActivationBytes
  // EOutOfMemory. The caller fills in CallerProc, ReturnPos and the
  // arguments. withTemps false lets a reused record keep its temporaries'
  // old values rather than the outer activation's, and skipVars its first
  // variables' (see ActivateCopy): a caller that passes skipVars must
  // itself give those variables either the argument or the outer value.
  //
  // Both are on every call of the interpreter: the usual cases, a record
  // that is not active and a recursive call once that depth was reached
  // before, are inline and move pointers only.
  TProcedure& EnterActivation(int p, bool withTemps = true, int skipVars = 0) {
    TProcedure& current = Item(p);
    if (!current.Active) return current;
    return EnterNested(p, current, withTemps, skipVars);
  }
  // EnterActivation for current, the active record in slot p.
  [[gnu::always_inline]] TProcedure& EnterNested(int p, TProcedure& current, bool withTemps, int skipVars) {
    if (current.Depth > kMaxRecursionDepth) [[unlikely]] TooDeep();
    if (!current.Deeper) [[unlikely]] return Nest(p, current);
    if (activationBytes_ + current.Footprint > kMaxActivationBytes) [[unlikely]] OutOfMemory();
    TProcedure* fresh = current.Deeper.get();
    // Copied before it takes the slot, so that a copy that throws leaves
    // the chain as it was.
    if (withTemps) {
      fresh->ActivateCopy(current, true, true, skipVars);
    } else {
      fresh->ActivateValues(current, skipVars);
    }
    Link(static_cast<size_t>(p), *fresh, current);
    return *fresh;
  }
  // EnterNested without temporaries for a call of procedure p from its
  // own record current, with its one argument still to be stored, when
  // current has a Deeper and nothing is to be raised: the record, or
  // none with nothing done (the call then goes on the general way).
  // moreVars: p has variables besides that argument, which get current's
  // values.
  [[gnu::always_inline]] TProcedure* EnterSelf(int p, TProcedure& current, bool moreVars) {
    // The copy is a call: out of line, so that the usual case holds no
    // values across one.
    if (moreVars) [[unlikely]] return EnterSelfCopying(p, current);
    return EnterSelfWith<false>(p, current);
  }

 private:
  template <bool kCopy>
  [[gnu::always_inline]] TProcedure* EnterSelfWith(int p, TProcedure& current) {
    // Nest makes a Deeper only for a record that may still call (EnterNested
    // checks its depth first) and gives the record its Footprint: with a
    // Deeper at hand, the memory is all that is left to check.
    TProcedure* const fresh = current.Deeper.get();
    if (!fresh || activationBytes_ + current.Footprint > kMaxActivationBytes) [[unlikely]] return nullptr;
    if constexpr (kCopy) fresh->Vars.CopyValuesFrom(current.Vars, 1);
    fresh->ResultOwn = false;
    fresh->Active = true;
    Link(static_cast<size_t>(p), *fresh, current);
    return fresh;
  }
  TProcedure* EnterSelfCopying(int p, TProcedure& current);

 public:
  // The return half: the record in slot p becomes inactive; when it has an
  // Outer, the outer record returns to slot p with a full copy of the
  // returning record's Result (when it has one of its own: else the outer
  // one is still what it would get), and the returning record stays in the
  // chain for the next recursive call of p at its depth.
  void LeaveActivation(int p) { Leave(p, Item(p)); }
  // LeaveActivation for current, the record in slot p.
  void Leave(int p, TProcedure& current) {
    current.Active = false;
    if (!current.Outer) return;
    // The only step that can throw comes first: the lists stay whole.
    if (current.ResultOwn) {
      current.Outer->Result.AssignValue(current.Result);
      current.Outer->ResultOwn = true;
    }
    LeaveNested(p, current);
  }
  // Leave for current, which has an Outer that already has the result it
  // is to get. current's Active is left as it is: nothing reads the Active
  // of a record below the slot's, and Leave has cleared it already.
  [[gnu::always_inline]] void LeaveNested(int p, const TProcedure& current) {
    activationBytes_ -= current.Footprint;
    items_[static_cast<size_t>(p)] = current.Outer;
  }

 private:
  [[noreturn]] static void BadIndex(int i);
  [[noreturn]] static void TooDeep();
  [[noreturn]] static void OutOfMemory();
  // Puts fresh, current's Deeper, into slot at in current's place. Its
  // Outer, Depth and Footprint were set when Nest made it and never change.
  [[gnu::always_inline]] void Link(size_t at, TProcedure& fresh, const TProcedure& current) {
    activationBytes_ += current.Footprint;
    items_[at] = &fresh;
  }
  // EnterActivation's call from a record with no Deeper yet: makes one, a
  // full copy of current.
  TProcedure& Nest(int p, TProcedure& current);

  // The innermost activation of each procedure: its home record while it
  // is not active, else the deepest record of the chain that is.
  std::vector<TProcedure*> items_;
  // The owners of the chains: the records that run each procedure's
  // outermost call, each owning its Deeper, so that recursion allocates
  // only the first time it reaches a depth and a record used again already
  // has its procedure's variables. One per record of items_.
  std::vector<std::unique_ptr<TProcedure>> homes_;
  int64_t activationBytes_ = 0;  // the Footprint of every fresh activation in the chain
};
