// The interpreter's main loop, calls, console instructions and the
// debugger's stops. Expressions and stores are in evaluator.cpp, the
// built-in functions in builtins.cpp.
#include "interpreter.h"

#include <algorithm>
#include <cassert>

#include "console.h"
#include "errors.h"
#include "loop_guard.h"
#include "string_table.h"

TExecutor::TExecutor(TPseudoCode& code, TRunHost& host, TRunState& state, std::unique_ptr<TGenericGrondo> machine)
    : code_(code), host_(host), state_(state), machine_(std::move(machine)) {
  if (!machine_) machine_ = std::make_unique<TNullGrondo>(code.ExecutorKind);
  machine_->Host = &host_;
  stack_.resize(256);
}

TExecutor::~TExecutor() = default;

void TExecutor::Error(std::string_view message) { RunTimeError(message); }

void TExecutor::Overflow() { throw EIntOverflow(); }

// ---------------------------------------------------------------------------
// Calls

void TExecutor::Call(const TXCall& c, const TXInstr* forms) {
  // Activation records are copied and reused: no string stays known.
  appended_ = nullptr;
  const int p = c.Proc;
  if (p < 0 || p >= code_.Procs.Count()) code_.Procs.Item(p);
  TProcedure& callee = code_.Procs[p];
  if (callee.Active && callee.Depth > kMaxRecursionDepth) Error(Str(sRecursionLimit));
  if (c.HasArgs && static_cast<int>(c.Args.size()) != callee.ArgCount) Error(Str(sBadArgCount));
  // The arguments are evaluated in the caller's activation, before a
  // recursive call's fresh record takes the slot: f(b, a) really swaps.
  // A few arguments wait in place, more in args_ (no call happens while
  // they are evaluated, so one buffer serves).
  const size_t n = c.HasArgs ? c.Args.size() : 0;
  union Few {
    Few() {}
    TSlot Slots[4];
  } few;
  TSlot* args = few.Slots;
  if (n > 4) {
    args_.resize(n);
    args = args_.data();
  }
  for (size_t i = 0; i < n; ++i) {
    int32_t v;
    if (forms && forms[i].Proc == CurProc && IntShape(forms[i], v)) args[i] = TSlot::Int(v);
    else args[i] = Eval(c.Args[i]);
  }
  Enter(p, callee, args, n, code_.Pos);
}

[[gnu::always_inline]] inline void TExecutor::Enter(int p, TProcedure& callee, const TSlot* args, size_t n,
                                                    int32_t returnPos) {
  // Temporaries are written before they are read, so a recursive call's
  // record need not start from the caller's, nor need the arguments'
  // variables, which are written next; only the loop detector, which
  // compares whole states, sees the difference.
  const bool exact = LoopGuard != nullptr;
  size_t skipped = exact ? 0 : n;
  TProcedure& r = callee.Active ? code_.Procs.EnterNested(p, callee, exact, static_cast<int>(skipped)) : callee;
  r.CallerProc = CurProc;
  r.ReturnPos = returnPos;
  r.ReturnIp = IpAt(returnPos);
  r.Active = true;
  if (n <= static_cast<size_t>(r.Vars.Count())) [[likely]] {
    TVar* vars = r.Vars.Data();
    for (size_t i = 0; i < n; ++i)
      if (!StoreSameKind(vars[i], args[i])) [[unlikely]]
        StoreArgument(r, i, args[i], skipped);
  } else {
    for (size_t i = 0; i < n; ++i) {
      TVar& v = r.Vars.Item(static_cast<int>(i));
      if (!StoreSameKind(v, args[i])) StoreArgument(r, i, args[i], skipped);
    }
  }
  code_.Pos = r.Entry;
  CurProc = p;
  SetFrame(&r);
}

// An argument that converts, or fails, into variable i of a call's record.
// The variables of the arguments not yet stored first get what a full
// copy of the outer activation would have given them, so that a failure
// leaves the record as it always was.
void TExecutor::StoreArgument(TProcedure& r, size_t i, const TSlot& v, size_t& skipped) {
  if (r.Outer) {
    const int count = std::min(r.Vars.Count(), r.Outer->Vars.Count());
    for (size_t j = i; j < skipped && j < static_cast<size_t>(count); ++j)
      r.Vars[static_cast<int>(j)].AssignValue(r.Outer->Vars[static_cast<int>(j)]);
  }
  skipped = 0;
  StoreWhole(r.Vars.Item(static_cast<int>(i)), v, true);
}

[[gnu::always_inline]] inline bool TExecutor::Return(int32_t& to) {
  appended_ = nullptr;
  const int p = CurProc;
  TProcedure& r = *cur_;
  const int caller = r.CallerProc;
  to = r.ReturnPos;
  code_.Pos = to;
  const bool stepLevel = p == stepProc_ && r.Depth == stepDepth_;
  // A recursive call returns to the outer activation, which Leave puts
  // back into slot p.
  TProcedure* const outer = caller == p ? r.Outer : nullptr;
  // The current activation is the record in slot p.
  code_.Procs.Leave(p, r);
  CurProc = caller;
  if (caller < 0) return false;
  if (outer) SetFrame(outer);
  else Refresh();
  // Step over the last line of a procedure stops at the caller's next line,
  // also when the caller is an outer activation of the same procedure.
  if (stepLevel) [[unlikely]] {
    stepProc_ = CurProc;
    stepDepth_ = cur_->Depth;
  }
  return true;
}

void TExecutor::SysCall(const TXCall& c) {
  const int p = c.Proc;
  if (p < 0 || p >= code_.SysProcs.Count()) code_.SysProcs.Item(p);
  TProcedure& b = code_.SysProcs[p];
  if (c.HasArgs) {
    const size_t n = c.Args.size();
    if (static_cast<int>(n) != b.ArgCount) Error(Str(sBadArgCount));
    // Only abs and the string functions treat an argument specially.
    const bool special = b.Id == 1004 || (b.Id >= 1028 && b.Id <= 1032);
    for (size_t i = 0; i < n; ++i) {
      const TSlot v = Eval(c.Args[i]);
      TVar& arg = b.Vars.Item(static_cast<int>(i));
      if (special) {
        if (b.Id == 1004 && i == 0) {
          // abs keeps the kind of its argument: integer stays integer.
          const uint8_t k = v.IsScalar() && v.Kind == dkReal ? dkReal : dkInteger;
          arg.Kind = k;
          b.Result.Kind = k;
        }
        if (v.Kind == dkChar && arg.Kind == dkCharArray && b.Id >= 1028 && b.Id <= 1032) {
          // The string functions read a character as a one-character string.
          TDatum text;
          text.Kind = dkCharArray;
          text.SetString(std::string(1, static_cast<char>(v.I)));
          arg.Assign(text);
          continue;
        }
      }
      if (!StoreSameKind(arg, v)) StoreWhole(arg, v, true);
    }
  }
  if (b.Id >= 1001 && b.Id <= 1032) {
    CallFunction(b);
  } else if (b.Id == 2114) {
    host_.ConsoleClear();
    if (machine_->Kind() != ekGrondo) machine_->ClearCanvas();
    machine_->RequestRepaint();
  } else if (b.Id >= 2100 && b.Id <= 2115) {
    Plot(b);
  } else {
    machine_->Execute(b);
  }
}

void TExecutor::Plot(TProcedure& b) {
  TPlotArgs a;
  int ni = 0, nr = 0;
  for (int i = 0; i < b.Vars.Count(); ++i) {
    const TVar& v = b.Vars[i];
    if (v.Kind == dkCharArray) a.Text = v.AsString();
    else if (v.Kind == dkReal && nr < 2) a.Real[nr++] = v.RealValue;
    else if (ni < 4) a.Int[ni++] = v.IntValue;
  }
  // The colour arguments become palette-relative colours; the addition
  // overflows for colours of 0x7E000000 and above, as the integer error.
  constexpr int32_t kPaletteFlag = 0x02000000;
  auto flag = [&](int k) {
    if (__builtin_add_overflow(a.Int[k], kPaletteFlag, &a.Int[k])) throw EIntOverflow();
  };
  switch (b.Id) {
    case pcPen:
    case pcBrush:
    case pcTextColor: flag(0); break;
    case pcFillTo: flag(2); break;
    case pcFont: a.Int[1] &= 15; break;
    default: break;
  }
  machine_->Plot(b.Id, a);
}

void TExecutor::TakeResultSlow(TVar& t, const TDatum& result) {
  if (result.IsScalar() && t.IsScalar() && !t.HasBuffer() && t.Size1 == 0 && !t.Index1 && !t.Index2) {
    WriteScalar(t, SlotOf(result), t.Kind);
    return;
  }
  t.AssignChecked(result, true);
}

void TExecutor::SetResultSlow(TDatum& r, const TSlot& v) {
  if (!v.IsScalar()) {
    r.Assign(*v.Ref);
  } else if (r.Size1 == 0 && !r.HasBuffer() && !r.Index1 && !r.Index2) {
    WriteScalar(r, v, v.Kind);
  } else {
    r.Assign(DatumOf(v));
  }
}

// ---------------------------------------------------------------------------
// Console

void TExecutor::Write(int32_t e) {
  const TSlot v = Eval(e);
  const TXExpr& x = exprs_[static_cast<size_t>(e)];
  const std::string text = v.IsScalar() ? FormatOutput(DatumOf(v), x.Width, x.Fraction)
                                        : FormatOutput(*v.Ref, x.Width, x.Fraction);
  host_.ConsoleAppend(text);
}

// One input instruction. False when the run was stopped (or the input
// ended) while waiting; the run then ends as a stop.
bool TExecutor::Read(TDatum& target, int32_t e1, int32_t e2) {
  appended_ = nullptr;
  TSlot i, j;
  const bool indexed = e1 >= 0;
  const bool two = indexed && e2 >= 0;
  if (indexed) i = Eval(e1);
  if (two) j = Eval(e2);
  TDatum value;
  std::string text;
  const int kind = IsArrayKind(target.Kind) ? target.Kind - 4 : target.Kind;
  switch (kind) {
    case dkInteger: {
      if (!host_.ConsoleRead(imInteger, text)) return false;
      int32_t n;
      if (!ParseIntegerInput(text, n)) Error(Str(sBadIntegerInput));
      value = TDatum::Integer(n);
      break;
    }
    case dkReal: {
      if (!host_.ConsoleRead(imReal, text)) return false;
      double r;
      if (!ParseRealInput(text, r)) Error(Str(sBadRealInput));
      value = TDatum::Real(r);
      break;
    }
    default: {
      // Characters, strings and logicals: an empty line is asked again.
      do {
        if (!host_.ConsoleRead(imText, text)) return false;
      } while (text.empty());
      if (kind == dkLogical) {
        value = TDatum::Logical(ParseLogicalInput(text));
      } else if (target.Kind == dkCharArray && !indexed) {
        target.SetString(text);
        return true;
      } else {
        // A character, or one element of a string: the first character typed.
        value = TDatum::Char(static_cast<uint8_t>(text[0]));
      }
      break;
    }
  }
  if (indexed) {
    StoreElement(target, SlotOf(value), i, two ? &j : nullptr);
  } else if (IsScalarKind(target.Kind)) {
    target.AssignChecked(value, false);
  }
  return true;
}

// ---------------------------------------------------------------------------
// Debugger

bool TExecutor::AtLine(int line) {
  // A marker of the line just passed is no new stop point (two statements
  // on a line, a one-line loop) - unless it belongs to another activation:
  // the same line of the caller's activation after a recursive call is.
  if (line == lineSeen_) return true;
  const bool again = line == lastLine_ && CurProc == lastProc_ && cur_->Depth == lastDepth_;
  NoteLine(line);
  if (again) return true;
  if (stepProc_ >= 0 && !(CurProc == stepProc_ && cur_->Depth == stepDepth_)) return true;
  // Run, the lowest event asked for, is only read: no poll needed.
  if (state_.Events.IsSet(evRun)) return true;
  const int e = state_.Events.Poll((1u << evRun) | (1u << evRunTo));
  if (e == evRun) return true;
  if (e == evRunTo) {
    if (CurLine != state_.RunToLine.load()) return true;
    state_.Events.Reset(evRunTo);
  }
  return Pause();
}

bool TExecutor::Pause() {
  Unhighlight();
  host_.HighlightLine(CurLine);
  HighlightLine = CurLine;
  for (;;) {
    state_.PausedCount.fetch_add(1);
    const int e = state_.Events.WaitAny();
    if (state_.PausedCount.load() > 0) state_.PausedCount.fetch_sub(1);
    switch (e) {
      case evStep:
        stepProc_ = CurProc;
        stepDepth_ = cur_->Depth;
        return true;
      case evStop: return false;
      case evVar: host_.ShowVariables(View()); break;
      case evVarHint: host_.ShowValueHint(View()); break;
      default:
        stepProc_ = -1;
        return true;
    }
  }
}

void TExecutor::Unhighlight() {
  if (HighlightLine < 0) return;
  host_.UnhighlightLine();
  HighlightLine = -1;
}

// ---------------------------------------------------------------------------
// The main loop


// The instruction at cell pos with its operands, decoded when first
// reached. Instructions are decoded where execution meets them, so a jump
// into the middle of another instruction still reads the cells as they lie.
const TXInstr& TExecutor::InstrAt(int32_t pos) {
  TXInstr& in = Slot(pos);
  if (in.Op != kUndecoded) return in;
  DecodeInstr(in, pos);
  if (handlers_) in.Handler = handlers_[in.Op];
  return in;
}

// InstrAt's decoding of the instruction at pos into in, its slot.
void TExecutor::DecodeInstr(TXInstr& in, int32_t pos) {
  const int32_t size = CodeCells();
  const int32_t* cells = code_.Cells.data();
  int32_t p = pos;
  auto cell = [&]() -> int32_t { return p < size ? cells[p++] : 0; };
  in.Op = cell();
  in.Self = pos;
  in.SelfIp = &Slot(pos);
  const TOpInfo* info = OpInfo(in.Op);
  if (in.Op == opWriteText) {
    std::string text;
    for (int32_t c; p < size && (c = cell()) != 0;) text += static_cast<char>(c);
    texts_.push_back(std::move(text));
    in.A = static_cast<int32_t>(texts_.size() - 1);
  } else if (info) {
    int32_t* operand[] = {&in.A, &in.B, &in.C, &in.D};
    for (size_t k = 0; info->operands[k] && k < 4; ++k) *operand[k] = cell();
  }
  in.Next = p;
  // A condition followed by its jump is one step: opAssignTemp t e and
  // opJumpIfFalse t a (or opJumpIfNotPositive) become one instruction.
  if (in.Op == opAssignTemp && p + 2 < size && (cells[p] == opJumpIfFalse || cells[p] == opJumpIfNotPositive) &&
      cells[p + 1] == in.A) {
    in.Op = cells[p] == opJumpIfFalse ? kTestJumpIfFalse : kTestJumpIfNotPositive;
    in.C = cells[p + 2];
    in.D = p;  // where the separate jump would start
    in.Next = p + 3;
  }
  // Unconditional jumps after it are passed over (a few, so that a jump to
  // itself stays an instruction that runs, and is stopped, on its own).
  in.Go = in.Op == opJump ? in.A : in.Next;
  for (int hops = 0; hops < 4 && in.Go >= 0 && in.Go + 1 < size && cells[in.Go] == opJump &&
                     cells[in.Go + 1] != in.Go;
       ++hops)
    in.Go = cells[in.Go + 1];
  // The codes above 49 move into the gaps below 50, and what is undefined
  // (a cell holding one of the interpreter's own codes included) keeps its
  // code for the message.
  switch (in.Op) {
    case opDecTemp: in.Op = xDecTemp; break;
    case opJump: in.Op = xJump; break;
    case opJumpIfFalse: in.Op = xJumpIfFalse; break;
    case opJumpIfNotPositive: in.Op = xJumpIfNotPositive; break;
    case opLoopBegin: in.Op = xLoopBegin; break;
    case opBreak: in.Op = xBreak; break;
    case opContinue: in.Op = xContinue; break;
    case opEndRepeat: in.Op = xEndRepeat; break;
    case opEndFor: in.Op = xEndFor; break;
    case opEndWhile: in.Op = xEndWhile; break;
    case opLine: in.Op = xLine; break;
    case kTestJumpIfFalse:
    case kTestJumpIfNotPositive:
      if (pos + 1 < size && cells[pos] == opAssignTemp) break;  // made above
      [[fallthrough]];
    default:
      if (!info || in.Op == opTranslationError || in.Op >= 50) {
        in.Base = in.Op;
        in.Op = kForeign;
      }
      break;
  }
  Fuse(in);
  // "возврат" of a fused result is a return where it goes on, forward and
  // with no marker before it (the slot of a return cell is never joined),
  // decoded now: the result's handler runs it without a dispatch.
  in.Returns = in.Op == kIntResult && in.Go > in.Self && in.Go < size && cells[in.Go] == opReturn;
  if (in.Returns) InstrAt(in.Go);
  in.GoIp = IpAt(in.Go);
  const int32_t to = in.Op == xJumpIfFalse || in.Op == xJumpIfNotPositive ? in.B : in.C;
  in.CIp = IpAt(to);
  // A test whose jump lands on an unconditional jump (an "если" at the end
  // of a loop's body) goes on where that jump goes, the jump counted as
  // run, when the transfers would be checked alike: the first forward,
  // the second backward from both or from neither.
  if (to > in.Self && to + 1 < size && cells[to] == opJump && cells[to + 1] != to) {
    int32_t go = cells[to + 1];
    for (int hops = 0; hops < 4 && go >= 0 && go + 1 < size && cells[go] == opJump && cells[go + 1] != go; ++hops)
      go = cells[go + 1];
    if (go <= in.Self || go > to) {
      in.CIp = IpAt(go);
      in.CJumps = 1;
    }
  }
  // A counted loop's step and the comparison it goes back to run as one
  // step when the comparison, met before the step in every loop, is a
  // fused one of the same procedure without a line marker of its own,
  // whose left operand is the counter.
  if (in.Op == kIncrement && in.Proc >= 0 && in.Go >= 0 && in.Go <= in.Self && in.Go < size) {
    const TXInstr& c = Slot(in.Go);
    const uint8_t o = ComparisonOf(c.Op);
    if (o && c.Line < 0 && c.Proc == in.Proc && c.Mask &&
        c.X[0].Scope == in.T.Scope && c.X[0].Value == in.T.Value) {
      const bool stepK = in.X[1].Scope == TXItem::kConst, boundK = c.X[1].Scope == TXItem::kConst;
      const int k = (stepK ? 1 : 0) + (boundK ? 2 : 0);
      if (o == ocLt) in.Op = kStepBelow + k;
      else if (o == ocLe) in.Op = kStepAtMost + k;
      else in.Op = stepK && boundK ? kStepCompareK3 : stepK ? kStepCompareK1 : boundK ? kStepCompareK2 : kStepCompare;
    }
  }
  // A line marker and the instruction after it are one step, so that a
  // loop's round is not half markers. Not a marker followed by a marker:
  // the joining stays one level deep. Nor a jump, which the marker passes
  // over already.
  if (in.Op == xLine) in.Test = in.Next < size && cells[in.Next] == opLine;
  if (in.Op == xLine && in.Next < size && cells[in.Next] != opLine && cells[in.Next] != opJump) {
    const int32_t line = in.A;
    const int32_t next = in.Next;
    const TXInstr& after = InstrAt(next);
    TXInstr& joined = Slot(pos);  // InstrAt does not move instrs_
    joined = after;
    joined.Cell = pos;
    joined.Line = line;
    joined.LineNext = next;
    joined.Count = after.Count + 1;
    // A return does not take over a take whose line is to be noted.
    if (joined.Op == kTakeSelf) joined.Op = kTakeResult;
    return;
  }
  // So are a no-op (every procedure's first instruction) and the
  // instruction after it, unless that one carries a marker's line of its
  // own or is another no-op; a jump is passed over already.
  if (in.Op == opNop && in.Next < size && cells[in.Next] != opNop && cells[in.Next] != opJump) {
    const int32_t next = in.Next;
    const TXInstr& after = InstrAt(next);
    if (after.Line < 0) {
      TXInstr& joined = Slot(pos);
      joined = after;
      joined.Cell = pos;
      joined.Count = after.Count + 1;
    }
  }
}

namespace {

// The truth a jump tests: the temporary as an integer.
inline int32_t JumpValue(TVar& t) {
  if (t.Kind == dkLogical) return t.BoolValue;  // converting would only be undone by the next store
  t.ToInteger();
  return t.IntValue;
}

// Publishes the instructions a run went through when Run ends, however it ends.
struct TStepCount {
  const uint64_t& count;
  uint64_t& out;
  bool asked;
  ~TStepCount() { out = asked ? count : 0; }
};

}  // namespace

bool TExecutor::TestFails(TVar& t, int32_t e, int32_t op) {
  const TSlot value = Eval(e);
  if (!StoreSameKind(t, value)) StoreWhole(t, value, false);
  const int32_t v = JumpValue(t);
  return op == kTestJumpIfFalse ? v == 0 : v <= 0;
}

// One instruction passed over while skipping to the end of a loop (break,
// continue): only the loop nesting and the current line are kept; a fused
// condition and jump is passed over as the two instructions it is. False at
// the end of the code.
bool TExecutor::SkipOver(const TXInstr& in) {
  int32_t& pos = code_.Pos;
  if (in.Line >= 0) {
    // A joined line marker is passed over on its own; a marker passed over
    // is not one seen (lineSeen_).
    CurLine = in.Line;
    lineSeen_ = kNoLine;
    pos = in.LineNext;
    return true;
  }
  const bool fused = in.Op == kIntTest || in.Op == kItemTest || ComparisonOf(in.Op) != 0;
  const int32_t op = fused ? in.Base : in.Op;
  if (op == kTestJumpIfFalse || op == kTestJumpIfNotPositive) {
    pos = in.D;
    return true;
  }
  pos = in.Next;
  switch (in.Op) {
    case opEnd: return false;
    case xLine:
      CurLine = in.A;
      lineSeen_ = kNoLine;
      break;
    case xLoopBegin: ++skipDepth_; break;
    case xEndRepeat:
    case xEndFor:
    case xEndWhile:
      if (skipDepth_ > 0) {
        --skipDepth_;
        break;
      }
      // The loop's end names where its next round goes on.
      if (skip_ == kContinue) pos = in.A;
      skip_ = kNoSkip;
      break;
    case kForeign: Error(FormatStr(sUnknownCommand, {in.Base}));
    default: break;
  }
  return true;
}

// The input instructions; false when the run was stopped while waiting.
bool TExecutor::ReadInstr(const TXInstr& in) {
  const bool global = in.Op <= opReadGlobalItem2;
  const int kind = (in.Op - opReadGlobal) % 3;  // 0 whole, 1 one index, 2 two
  TVar& target = global ? Global(in.A) : Local(in.A);
  return Read(target, kind >= 1 ? in.B : -1, kind == 2 ? in.C : -1);
}

void TExecutor::Start() {
  Decode();
  code_.Pos = 0;
  CurProc = 0;
  CurLine = -1;
  lastLine_ = -1;
  lastProc_ = -1;
  lastDepth_ = 0;
  lineSeen_ = kNoLine;
  stepProc_ = -1;
  stepDepth_ = 0;
  skip_ = kNoSkip;
  skipDepth_ = 0;
  scratchUsed_ = 0;
  base_[TXItem::kGlobal] = code_.Globals.Data();
  pool_.assign(1, TVar());
  const int32_t size = std::max(std::min<int32_t>(code_.CodeSize, static_cast<int32_t>(code_.Cells.size())), 0);
  // One more past the end, and one before the start, where control going
  // off the code ends the run: the one before lies below every cell's, so
  // that an instruction's address orders it as its cell does.
  instrs_.assign(static_cast<size_t>(size) + 2, TXInstr());
  for (int32_t i = -1; i <= size; ++i) Slot(i).Cell = i;
  for (TXInstr* off : {&instrs_.front(), &instrs_.back()}) {
    off->Op = kOffEnd;
    off->Count = 0;
  }
  cells_ = size;
  end_ = &instrs_.back();
  texts_.clear();
  argForms_.clear();
}

void TExecutor::Run() {
  if (CountInstructions || LoopGuard) Loop<true>();
  else Loop<false>();
}

template <bool kCount>
void TExecutor::Loop() {
  Start();
  if (code_.Procs.Count() == 0) return;
  Refresh();
  // The main program is an activation like any other, so that a call of it
  // from a procedure gets a record of its own.
  cur_->Active = true;
  cur_->CallerProc = -1;

  // The program counter is a pointer to the decoded instruction; code_.Pos
  // follows it where anything else looks: a call's return cell, a skip to
  // a loop's end, a backward transfer (the loop detector), the line stops.
  const TXInstr* ip = IpAt(code_.Pos);
  steps_ = StepLimit ? StepLimit : UINT64_MAX;
  uint64_t countdown = std::min(steps_, LoopGuard ? uint64_t{1} : kStepWindow);
  steps_ -= countdown;
  // Counted in a local, so that counting costs a register increment, and
  // only when asked for (kCount).
  uint64_t executed = 0;
#define TARMISY_COUNT(n)               \
  if constexpr (kCount) executed += (n)
  const TStepCount counted{executed, Executed, CountInstructions};
  // Whether the program runs on, neither stepped nor run to the cursor.
  // Only a pause can change that (the Run command is taken only while
  // paused, and nothing clears it before the run ends; stepping starts in
  // a pause), so it is looked at again after each stop at a line, the only
  // place a pause happens, and not at every marker.
  const auto RunsOn = [this]() { return stepProc_ < 0 && state_.Events.IsSet(evRun); };
  bool freeRun = RunsOn();
  // Whether the loop detector watches this run (its runs take the counting
  // loop, so that the others need not ask). A condition's temporary is read
  // by nothing but its own jump, which a fused test takes itself, and by
  // the detector, which compares whole states: only for that does a fused
  // test write it.
  const bool watched = kCount && LoopGuard != nullptr;
  // AtLine for a line other than the last one passed, whose stop would
  // leave code_.Pos at pos. Running on, only the line just seen is noted:
  // the rest of what NoteLine keeps is for AtLine, which a run that runs
  // on never calls again.
  const auto NewLine = [this, &freeRun, &RunsOn](int32_t pos) {
    if (freeRun) [[likely]] {
      lineSeen_ = CurLine;
      return true;
    }
    code_.Pos = pos;
    const bool on = AtLine(CurLine);
    freeRun = RunsOn();
    return on;
  };

  // The dispatch: every decoded code has its handler's address here (the
  // codes of no instruction, and kForeign, the error's), and a handler
  // ends by going to the next instruction's tail.
  const void* handler[kOpCodes];
  for (const void*& h : handler) h = &&op_foreign;
  handler[kOffEnd] = &&op_off_end;
  handler[kUndecoded] = &&op_undecoded;
  handler[opEnd] = &&op_end;
  handler[opAssignGlobal] = &&op_assign_global;
  handler[opAssignGlobalItem] = &&op_assign_global_item;
  handler[opAssignGlobalItem2] = &&op_assign_global_item2;
  handler[opAssignLocal] = &&op_assign_local;
  handler[opAssignLocalItem] = &&op_assign_local_item;
  handler[opAssignLocalItem2] = &&op_assign_local_item2;
  handler[opAssignTemp] = &&op_assign_temp;
  handler[kTestJumpIfFalse] = handler[kTestJumpIfNotPositive] = &&op_test_jump;
  handler[kIncrement] = &&op_increment;
  handler[kStepCompare] = &&op_step_compare;
  handler[kIntAssign] = &&op_int_assign;
  handler[kIntAssignOne] = &&op_int_assign_one;
  handler[kIntAssignOneK] = &&op_int_assign_one_k;
  handler[kIntAssignTwo] = &&op_int_assign_two;
  handler[kIntAssignRight] = &&op_int_assign_right;
  handler[kIntAssignLeft] = &&op_int_assign_left;
  handler[kIntAssignTwo + kConstLast] = &&op_int_assign_two_k;
  handler[kIntAssignRight + kConstLast] = &&op_int_assign_right_k;
  handler[kIntAssignLeft + kConstLast] = &&op_int_assign_left_k;
  handler[kIntAssignRightDiv] = &&op_int_assign_right_div;
  handler[kStepCompareK1] = &&op_step_compare_k1;
  handler[kStepCompareK2] = &&op_step_compare_k2;
  handler[kStepCompareK3] = &&op_step_compare_k3;
  handler[kStepBelow] = &&op_step_below;
  handler[kStepBelow + 1] = &&op_step_below_k1;
  handler[kStepBelow + 2] = &&op_step_below_k2;
  handler[kStepBelow + 3] = &&op_step_below_k3;
  handler[kStepAtMost] = &&op_step_at_most;
  handler[kStepAtMost + 1] = &&op_step_at_most_k1;
  handler[kStepAtMost + 2] = &&op_step_at_most_k2;
  handler[kStepAtMost + 3] = &&op_step_at_most_k3;
  {
    // The comparisons in the order of their operators, ocEq to ocGe: of
    // two operands, then with a constant.
    const void* const compares[2][6] = {
        {&&op_compare_eq, &&op_compare_ne, &&op_compare_lt, &&op_compare_le, &&op_compare_gt, &&op_compare_ge},
        {&&op_compare_k_eq, &&op_compare_k_ne, &&op_compare_k_lt, &&op_compare_k_le, &&op_compare_k_gt,
         &&op_compare_k_ge}};
    for (int o = 0; o <= ocGe - ocEq; ++o) {
      handler[kCompare + o] = compares[0][o];
      handler[kCompareK + o] = compares[1][o];
    }
  }
  handler[kIntTest] = &&op_int_test;
  handler[kItemTest] = &&op_item_test;
  handler[kItemStore] = &&op_item_store;
  handler[kFlagStore] = &&op_flag_store;
  handler[opTakeResult] = &&op_take_result;
  handler[kTakeResult] = handler[kTakeSelf] = &&op_take_number;
  handler[kTakeSysResult] = &&op_take_sys_number;
  handler[opTakeSysResult] = &&op_take_sys_result;
  handler[opCall] = &&op_call;
  handler[kCallInts] = &&op_call_ints;
  handler[kCallSelf] = &&op_call_self;
  handler[opSysCall] = &&op_sys_call;
  handler[kRealCall] = &&op_real_call;
  handler[opNop] = handler[xJump] = handler[xLoopBegin] = handler[xEndRepeat] = handler[xEndFor] =
      handler[xEndWhile] = &&done;
  handler[opSetResult] = &&op_set_result;
  handler[kIntResult] = &&op_int_result;
  handler[opReturn] = &&op_return;
  handler[opWriteText] = &&op_write_text;
  handler[opWrite] = &&op_write;
  handler[opWriteLn] = &&op_write_ln;
  for (int32_t op : {opReadGlobal, opReadLocal, opReadGlobalItem, opReadLocalItem, opReadGlobalItem2,
                     opReadLocalItem2})
    handler[op] = &&op_read;
  handler[xDecTemp] = &&op_dec_temp;
  handler[xJumpIfFalse] = handler[xJumpIfNotPositive] = &&op_jump_if;
  handler[xBreak] = handler[xContinue] = &&op_break;
  handler[xLine] = &&op_line;
  // Each decoded instruction carries its handler's address, one load
  // fewer on every dispatch; those decoded later get theirs from InstrAt.
  handlers_ = handler;
  struct Unthread {
    const void* const*& table;
    ~Unthread() { table = nullptr; }
  } unthread{handlers_};
  for (TXInstr& x : instrs_) x.Handler = handler[x.Op];

  // A backward transfer of control to cell, a step: one count down, and at
  // the end of each window of steps Stop, the step budget and the loop
  // detector are looked at (Checkpoint). code_.Pos is the target's only
  // when something may look at it.
#define TARMISY_BACKWARD(cell)           \
  if (--countdown == 0) [[unlikely]] {   \
    code_.Pos = (cell);                  \
    countdown = Checkpoint();            \
    if (countdown == 0) return;          \
  }
  // After anything that the world outside sees or waits for (a command of
  // the executor, the console), the next step looks at Stop: a stopped
  // program must not go on drawing.
#define TARMISY_POLL_SOON          \
  if (countdown > 1) {             \
    steps_ += countdown - 1;       \
    countdown = 1;                 \
  }

  // The end of a step and the start of the next, repeated at the end of
  // the commonest handlers so that each has a jump of its own to predict.
  // Only the fused forms' fast paths end here, and they make no scratch
  // values: the scratch is emptied at done, after any instruction that may
  // have made some, so it never holds more than one instruction's. A new
  // line, running on, is only noted, here rather than at new_line, so that
  // a loop whose round spans lines keeps its own jumps too.
#define TARMISY_DISPATCH                              \
  {                                                   \
    if (ip <= in->SelfIp) goto backward;              \
    in = ip;                                          \
    TARMISY_COUNT(in->Count);                         \
    if (NewJoinedLine(*in)) {                         \
      if (!freeRun) goto new_line;                    \
      PassLine(in->Line);                             \
    }                                                 \
    ip = in->GoIp;                                    \
    assert(in->Handler == handler[in->Op]);           \
    goto* in->Handler;                                \
  }

  // A test's jump taken, with the unconditional jump it passes over counted.
#define TARMISY_TAKEN(test)         \
  {                                 \
    ip = (test)->CIp;               \
    TARMISY_COUNT((test)->CJumps);  \
  }

  const TXInstr* in;
  int32_t selfArg;  // the argument of a call of its own procedure
next:
  in = ip;
  TARMISY_COUNT(in->Count);
  if (NewJoinedLine(*in)) goto new_line;
  ip = in->GoIp;
  assert(in->Handler == handler[in->Op]);
  goto* in->Handler;
new_line:
  // A joined line marker of a line not just passed.
  CurLine = in->Line;
  if (!NewLine(in->LineNext)) {
    if constexpr (kCount) executed -= in->Count - 1;
    return;
  }
  ip = in->GoIp;
  goto* in->Handler;

op_off_end:
  // Reading past the code (or before it) is the end of the run.
  code_.Pos = in->Cell;
  return;
op_undecoded:
  if constexpr (kCount) --executed;
  InstrAt(in->Cell);
  ip = in;
  goto next;
op_end:
  code_.Pos = in->Go;
  return;
op_assign_global:
  AssignWhole(Global(in->A), TXItem::kGlobal, in->A, in->B);
  goto done;
op_assign_global_item:
  AssignItem(Global(in->A), in->B, -1, in->C);
  goto done;
op_assign_global_item2:
  AssignItem(Global(in->A), in->B, in->C, in->D);
  goto done;
op_assign_local:
  AssignWhole(Local(in->A), TXItem::kLocal, in->A, in->B);
  goto done;
op_assign_local_item:
  AssignItem(Local(in->A), in->B, -1, in->C);
  goto done;
op_assign_local_item2:
  AssignItem(Local(in->A), in->B, in->C, in->D);
  goto done;
op_assign_temp: {
  TVar& t = Temp(in->A);
  const TSlot value = Eval(in->B);
  if (!StoreSameKind(t, value)) StoreWhole(t, value, false);
  goto done;
}
op_test_jump:
  if (TestFails(Temp(in->A), in->B, in->Op)) TARMISY_TAKEN(in);
  goto done;
  // A fused form's work, written once for both ways of reading its
  // operands: BODY(H, ...), H whether it runs in its procedure's first
  // activation. It either ends the instruction or falls through, with
  // nothing done, to the next way.
#define TARMISY_FUSED(BODY, ...)                                   \
  if (AtHome(*in)) [[likely]] BODY(true __VA_OPT__(, ) __VA_ARGS__) \
  if (Fits(*in)) BODY(false __VA_OPT__(, ) __VA_ARGS__)
#define TARMISY_INCREMENT(H)                                                  \
  {                                                                           \
    TVar& t = At<H>(in->T);                                                   \
    int32_t b, v;                                                             \
    if (t.Kind == dkInteger && ReadInt<H>(in->X[1], b)) {                     \
      if (__builtin_add_overflow(t.IntValue, b, &v)) [[unlikely]] Overflow(); \
      t.IntValue = v;                                                         \
      goto done;                                                              \
    }                                                                         \
  }
op_increment:
  TARMISY_FUSED(TARMISY_INCREMENT)
  // A real counter, or the general way, goes on below.
  goto op_int_assign;
#undef TARMISY_INCREMENT
  // A loop's step and its comparison; StepK: the step is a constant,
  // BoundK: the comparison's right operand is (both read from the
  // instruction, where they cannot change).
#define TARMISY_STEP_AS(H, StepK, BoundK, Holds)                                                      \
  {                                                                                             \
    TVar& t = At<H>(in->T);                                                                     \
    int32_t b, v;                                                                               \
    if (t.Kind == dkInteger && (StepK ? (b = in->X[1].Value, true) : ReadInt<H>(in->X[1], b))) {   \
      if (__builtin_add_overflow(t.IntValue, b, &v)) [[unlikely]] Overflow();                   \
      t.IntValue = v;                                                                           \
      /* The transfer back to the comparison, as at the end of any step. */                     \
      const TXInstr* c = ip;                                                                    \
      TARMISY_BACKWARD(c->Cell);                                                                \
      /* The comparison, an instruction of its own for everything counted. */                   \
      /* Its left operand is the counter, v. */                                                 \
      in = c;                                                                                   \
      TARMISY_COUNT(c->Count);                                                                  \
      ip = c->GoIp;                                                                             \
      const int32_t a = v;                                                                      \
      if (BoundK ? (b = c->X[1].Value, true) : ReadInt<H>(c->X[1], b)) {                          \
        const bool holds = Holds;                                                               \
        if (watched && !WriteTest(At<H>(c->T), holds)) goto* c->Handler;                 \
        if (!holds) TARMISY_TAKEN(c);                                                           \
        TARMISY_DISPATCH                                                                        \
      }                                                                                         \
      goto* c->Handler;                                                                     \
    }                                                                                           \
  }
  // The comparison's operands are of the same procedure as the step's.
#define TARMISY_STEP(label, StepK, BoundK, Holds)                         \
  label:                                                                 \
  TARMISY_FUSED(TARMISY_STEP_AS, StepK, BoundK, Holds)                   \
  goto op_int_assign;
  // The mask's bit 0, 1 or 2: whether the comparison holds when a is
  // below, equal to or above b.
#define TARMISY_MASK (c->Mask >> ((a > b) + (a >= b))) & 1
  TARMISY_STEP(op_step_compare, false, false, TARMISY_MASK)
  TARMISY_STEP(op_step_compare_k1, true, false, TARMISY_MASK)
  TARMISY_STEP(op_step_compare_k2, false, true, TARMISY_MASK)
  TARMISY_STEP(op_step_compare_k3, true, true, TARMISY_MASK)
  TARMISY_STEP(op_step_below, false, false, a < b)
  TARMISY_STEP(op_step_below_k1, true, false, a < b)
  TARMISY_STEP(op_step_below_k2, false, true, a < b)
  TARMISY_STEP(op_step_below_k3, true, true, a < b)
  TARMISY_STEP(op_step_at_most, false, false, a <= b)
  TARMISY_STEP(op_step_at_most_k1, true, false, a <= b)
  TARMISY_STEP(op_step_at_most_k2, false, true, a <= b)
  TARMISY_STEP(op_step_at_most_k3, true, true, a <= b)
#undef TARMISY_MASK
#undef TARMISY_STEP
#undef TARMISY_STEP_AS
#define TARMISY_INT_ASSIGN_AS(H, shape, K)                       \
  {                                                               \
    TVar& t = At<H>(in->T);                                       \
    int32_t v;                                                    \
    if (t.Kind == dkInteger && IntShapeOf<shape, K, H>(*in, v)) { \
      t.IntValue = v;                                             \
      TARMISY_DISPATCH                                            \
    }                                                             \
  }
#define TARMISY_INT_ASSIGN(label, shape, K)                 \
  label:                                                    \
  TARMISY_FUSED(TARMISY_INT_ASSIGN_AS, shape, K)            \
  goto op_int_assign;
  TARMISY_INT_ASSIGN(op_int_assign_one, TXExpr::kOne, false)
  TARMISY_INT_ASSIGN(op_int_assign_one_k, TXExpr::kOne, true)
  TARMISY_INT_ASSIGN(op_int_assign_two, TXExpr::kTwo, false)
  TARMISY_INT_ASSIGN(op_int_assign_right, TXExpr::kRight, false)
  TARMISY_INT_ASSIGN(op_int_assign_left, TXExpr::kLeft, false)
  TARMISY_INT_ASSIGN(op_int_assign_two_k, TXExpr::kTwo, true)
  TARMISY_INT_ASSIGN(op_int_assign_right_k, TXExpr::kRight, true)
  TARMISY_INT_ASSIGN(op_int_assign_right_div, kDivRight, true)
  TARMISY_INT_ASSIGN(op_int_assign_left_k, TXExpr::kLeft, true)
#undef TARMISY_INT_ASSIGN
#undef TARMISY_INT_ASSIGN_AS
#define TARMISY_ASSIGN(H)                 \
  {                                       \
    TVar& t = At<H>(in->T);               \
    if (t.Kind == dkInteger) {            \
      int32_t v;                          \
      if (IntShape<H>(*in, v)) {          \
        t.IntValue = v;                   \
        goto done;                        \
      }                                   \
    } else if (t.Kind == dkReal) {        \
      double v;                           \
      if (NumShape<H>(*in, v)) {          \
        t.RealValue = v;                  \
        goto done;                        \
      }                                   \
    }                                     \
  }
op_int_assign:
  TARMISY_FUSED(TARMISY_ASSIGN)
#undef TARMISY_ASSIGN
  {
    const bool local = in->Base == opAssignLocal;
    AssignWhole(local ? Local(in->A) : Global(in->A), local ? TXItem::kLocal : TXItem::kGlobal, in->A, in->B);
  }
  goto done;
  // K: the right operand is an integer constant, read from the instruction.
#define TARMISY_COMPARE_AS(H, K, test)                                                               \
  do {                                                                                               \
    int32_t a, b;                                                                                    \
    if (ReadInt<H>(in->X[0], a) && (K ? (b = in->X[1].Value, true) : ReadInt<H>(in->X[1], b))) {     \
      const bool v = test;                                                                           \
      if (watched && !WriteTest(At<H>(in->T), v)) break;                                          \
      if (!v) TARMISY_TAKEN(in);                                                                     \
      TARMISY_DISPATCH                                                                               \
    }                                                                                                \
  } while (false);
#define TARMISY_COMPARE(label, K, test)                             \
  label:                                                            \
  TARMISY_FUSED(TARMISY_COMPARE_AS, K, test)                        \
  if (TestFails(Temp(in->A), in->B, in->Base)) TARMISY_TAKEN(in);   \
  goto done;
  // Each comparison of two operands, and with a constant.
#define TARMISY_COMPARES(name, test)                \
  TARMISY_COMPARE(op_compare_##name, false, test)   \
  TARMISY_COMPARE(op_compare_k_##name, true, test)
  TARMISY_COMPARES(eq, a == b)
  TARMISY_COMPARES(ne, a != b)
  TARMISY_COMPARES(lt, a < b)
  TARMISY_COMPARES(le, a <= b)
  TARMISY_COMPARES(gt, a > b)
  TARMISY_COMPARES(ge, a >= b)
#undef TARMISY_COMPARES
#undef TARMISY_COMPARE
#undef TARMISY_COMPARE_AS
#define TARMISY_INT_TEST(H)                               \
  {                                                       \
    TVar& t = At<H>(in->T);                               \
    int32_t v;                                            \
    if (t.Kind == dkLogical && IntShape<H>(*in, v)) {     \
      t.BoolValue = static_cast<uint8_t>(v);              \
      if (v == 0) TARMISY_TAKEN(in);                      \
      goto done;                                          \
    }                                                     \
  }
op_int_test:
  TARMISY_FUSED(TARMISY_INT_TEST)
  if (TestFails(Temp(in->A), in->B, in->Base)) TARMISY_TAKEN(in);
  goto done;
#undef TARMISY_INT_TEST
#define TARMISY_ITEM_TEST(H)                                                         \
  {                                                                                  \
    TVar& t = At<H>(in->T);                                                          \
    const TVar& a = At<H>(in->X[0]);                                                 \
    int32_t i;                                                                       \
    if (t.Kind == dkLogical && a.Kind == dkLogicalArray && ReadInt<H>(in->X[1], i)) { \
      const int32_t at = ElementPosition(a, i, nullptr);                             \
      const uint8_t* b = a.Bools();                                                  \
      const bool v = (b ? b[at] != 0 : a.BoolValue != 0) != in->Not;                 \
      t.BoolValue = v;                                                               \
      if (!v) TARMISY_TAKEN(in);                                                     \
      TARMISY_DISPATCH                                                               \
    }                                                                                \
  }
op_item_test:
  TARMISY_FUSED(TARMISY_ITEM_TEST)
  if (TestFails(Temp(in->A), in->B, in->Base)) TARMISY_TAKEN(in);
  goto done;
#undef TARMISY_ITEM_TEST
#define TARMISY_FLAG_STORE(H)                                                                                  \
  {                                                                                                            \
    int32_t i;                                                                                                 \
    if (ReadInt<H>(in->X[1], i)) {                                                                             \
      TVar& a = At<H>(in->X[0]);                                                                               \
      if (a.Kind == dkLogicalArray && a.Size2 == 0 && static_cast<uint32_t>(i) < static_cast<uint32_t>(a.Size1)) { \
        if (uint8_t* p = a.Bools()) p[i] = in->X[2].Value != 0;                                                \
        TARMISY_DISPATCH                                                                                       \
      }                                                                                                        \
    }                                                                                                          \
  }
op_flag_store:
  TARMISY_FUSED(TARMISY_FLAG_STORE)
#undef TARMISY_FLAG_STORE
  // Any other element goes the way of every stored element.
#define TARMISY_ITEM_STORE(H)                                                       \
  {                                                                                 \
    int32_t i;                                                                      \
    if (ReadInt<H>(in->X[1], i)) {                                                  \
      TVar& a = At<H>(in->X[0]);                                                    \
      if (in->Test && StoreQuickVar(a, At<H>(in->X[2]), i)) TARMISY_DISPATCH        \
      const TSlot v = Simple(*in->Value);                                           \
      if (!StoreQuick(a, v, i)) StoreElement(a, v, TSlot::Int(i), nullptr);         \
      goto done;                                                                    \
    }                                                                               \
  }
op_item_store:
  TARMISY_FUSED(TARMISY_ITEM_STORE)
#undef TARMISY_ITEM_STORE
  {
    const bool local = in->Base == opAssignLocalItem;
    AssignItem(local ? Local(in->A) : Global(in->A), in->B, -1, in->C);
  }
  goto done;
  // An integer or real result into a temporary of its kind.
#define TARMISY_TAKE(label, procs, general)                 \
  label:                                                    \
  if (Fits(*in)) {                                          \
    TVar& t = At(in->T);                                    \
    const TProcedure& from = code_.procs[in->B];            \
    const TDatum& result = from.Result;                     \
    if (t.Kind == result.Kind && from.ResultOwn && t.IsPlain()) { \
      if (t.Kind == dkInteger) {                            \
        t.IntValue = result.IntValue;                       \
        TARMISY_DISPATCH                                    \
      }                                                     \
      if (t.Kind == dkReal) {                               \
        t.RealValue = result.RealValue;                     \
        TARMISY_DISPATCH                                    \
      }                                                     \
    }                                                       \
  }                                                         \
  goto general;
  TARMISY_TAKE(op_take_number, Procs, op_take_result)
  TARMISY_TAKE(op_take_sys_number, SysProcs, op_take_sys_result)
#undef TARMISY_TAKE
op_take_result:
  TakeResult(Temp(in->A), code_.Procs.Item(in->B).CurrentResult());
  goto done;
op_take_sys_result:
  TakeResult(Temp(in->A), code_.SysProcs.Item(in->B).Result);
  goto done;
op_call:
  if (!in->CallRec) Error(Str(sBadExpression));
  code_.Pos = in->Go;
  Call(*in->CallRec, in->Forms);
  ip = IpAt(code_.Pos);
  goto done;
op_call_self: {
  // The argument's shape is known, a variable plus a constant: no look at
  // it before it is computed. An overflow is raised the general way.
  const TXInstr& f = in->Forms[0];
  int32_t a;
  if (f.Proc != CurProc || watched || !ReadInt(f.X[0], a) || __builtin_add_overflow(a, f.X[1].Value, &selfArg))
    goto op_call_ints;
  goto call_self;
}
op_call_ints:
  // A procedure calling itself with one argument, the usual recursion
  // (the decoder marks it with Test), into a record used before: only what
  // changes is written (the decoder saw to it that the argument has its
  // variable). The loop detector compares temporaries too, so it has
  // Enter copy them.
  if (in->Test && in->Forms[0].Proc == CurProc && !watched) {
    if (!IntShape(in->Forms[0], selfArg)) goto op_call;
  call_self:
    TProcedure* const r = code_.Procs.EnterSelf(CurProc, *cur_, in->MoreVars);
    if (r) [[likely]] {
      appended_ = nullptr;
      r->CallerProc = CurProc;
      r->ReturnPos = in->Go;
      r->ReturnIp = in->GoIp;
      TVar& arg = *r->Vars.Data();
      if (arg.Kind == dkInteger) [[likely]] {
        arg.IntValue = selfArg;
      } else {
        size_t skipped = 1;
        StoreArgument(*r, 0, TSlot::Int(selfArg), skipped);
      }
      // code_.Pos is left as it is: the loop goes on from ip, and whatever
      // reads the position (a backward step, a stop at a line, a skip to
      // a loop's end) sets it first.
      SetFrame(r);
      goto entered;
    }
  }
  // Any other call of a procedure that exists, with as many arguments as
  // it takes, each an integer shape over this activation's variables:
  // Call's work without its generality. Anything else is Call's own.
  {
    const TXCall& c = *in->CallRec;
    TProcedure& callee = code_.Procs[c.Proc];
    if (callee.Active && callee.Depth > kMaxRecursionDepth) goto op_call;
    const size_t n = c.Args.size();
    if (n == 1 && !callee.Active) {
      // One argument into a procedure that is not running, the commonest
      // call there is: Enter's work on the callee's own record, which has
      // nothing to copy, for one integer.
      int32_t v;
      if (in->Forms[0].Proc != CurProc || !IntShape(in->Forms[0], v)) goto op_call;
      appended_ = nullptr;
      callee.CallerProc = CurProc;
      callee.ReturnPos = in->Go;
      callee.ReturnIp = in->GoIp;
      callee.Active = true;
      TVar& arg = *callee.Vars.Data();  // the decoder saw that the argument has its variable
      if (arg.Kind == dkInteger) [[likely]] {
        arg.IntValue = v;
      } else {
        size_t skipped = 1;
        StoreArgument(callee, 0, TSlot::Int(v), skipped);
      }
      code_.Pos = callee.Entry;
      CurProc = c.Proc;
      SetFrame(&callee);
      goto entered;
    }
    // Each argument is written before it is read: no slot starts cleared.
    union Few {
      Few() {}
      TSlot Slots[kFastArgs];
    } few;
    TSlot* const args = few.Slots;
    for (size_t i = 0; i < n; ++i) {
      int32_t v;
      if (in->Forms[i].Proc != CurProc || !IntShape(in->Forms[i], v)) goto op_call;
      args[i] = TSlot::Int(v);
    }
    appended_ = nullptr;
    Enter(c.Proc, callee, args, n, in->Go);
  }
entered:
  // Running on, the procedure's heading line, a marker right before the
  // first statement's, is passed by here rather than dispatched to.
  ip = in->EntryIp;
  if (const TXInstr* const first = in->FirstIp; first && freeRun) {
    // After the call's step, as done would take it (the call made no
    // scratch values): a run that ends there has not passed the marker.
    if (ip <= in->SelfIp) TARMISY_BACKWARD(ip->Cell);
    TARMISY_COUNT(ip->Count);
    // The first statement, as next would start it: a new activation has
    // seen no line yet, so a marker joined to it is a new line, and
    // running on, noting it is all that a new line asks.
    in = first;
    TARMISY_COUNT(in->Count);
    if (in->Line >= 0) PassLine(in->Line);
    ip = in->GoIp;
    goto* in->Handler;
  }
  goto done;
op_sys_call:
  if (static_cast<uint32_t>(in->A) >= calls_.size()) Error(Str(sBadExpression));
  TARMISY_POLL_SOON
  SysCall(calls_[static_cast<size_t>(in->A)]);
  goto done;
#define TARMISY_REAL_CALL(H)                                                         \
  {                                                                                  \
    double v;                                                                        \
    TProcedure& b = code_.SysProcs[calls_[static_cast<size_t>(in->A)].Proc];         \
    TVar& arg = b.Vars[0];                                                           \
    if (arg.Kind == dkReal && NumShape<H>(*in, v)) {                                 \
      arg.RealValue = v;                                                             \
      CallFunction(b);                                                               \
      TARMISY_DISPATCH                                                               \
    }                                                                                \
  }
op_real_call:
  TARMISY_FUSED(TARMISY_REAL_CALL)
  goto op_sys_call;
#undef TARMISY_REAL_CALL
op_int_result:
  if (Fits(*in)) {
    TProcedure& a = *cur_;
    int32_t v;
    if (IntShape(*in, v)) {
      // "возврат" is a result and the return after it: the return runs
      // here when it comes next, as it would after a dispatch.
      const bool returns = in->Returns;
      TProcedure* const outer = a.Outer;
      // A recursive call returns into an outer activation of its own
      // procedure: Return's work, with the result known to be plain. The
      // returning record stays below the outer one, where its result is
      // never read (the next call it serves has a result of its own, or
      // none, before anything reads one), so the result goes straight to
      // the activation it returns to.
      // Running on, no step is in progress (stepProc_ is negative).
      // Laid out as the straight path: a function that returns a value
      // at once mostly recurses.
      if (returns && a.CallerProc == CurProc && outer && (freeRun || stepProc_ != CurProc) &&
          outer->Result.IsPlain()) [[likely]] {
        in = ip;
        TARMISY_COUNT(in->Count);
        // As on a call of its own, code_.Pos is left to whatever reads it;
        // and appended_ too: the string it may name in the returning
        // record is forgotten before that record is used again (every
        // call forgets it), and the outer activation's are not that one.
        outer->Result.Kind = dkInteger;
        outer->Result.IntValue = v;
        outer->ResultOwn = true;
        code_.Procs.LeaveNested(CurProc, a);
        SetFrame(outer);
        ip = static_cast<const TXInstr*>(a.ReturnIp);
        // The caller's take of the result, when it comes next, is done
        // here too, after the return's step.
        if (ip->Op == kTakeSelf && Fits(*ip)) [[likely]]
          goto take_returned;
        goto done;
      }
      // SetResult of an integer into a result that holds no array.
      if (a.Result.IsPlain()) {
        a.Result.Kind = dkInteger;
        a.Result.IntValue = v;
        a.ResultOwn = true;
        if (returns) {
          in = ip;
          TARMISY_COUNT(in->Count);
          // Running on, from a record that no recursion made, to a caller:
          // the return, then the take as after a recursion's.
          if (!a.Outer && a.CallerProc >= 0 && freeRun) {
            const int32_t p = CurProc;
            int32_t to;
            Return(to);
            ip = static_cast<const TXInstr*>(a.ReturnIp);
            // The caller's take of this result, as after a recursion's
            // return, when it has no line to note.
            if (ip->Op == kTakeResult && ip->B == p && ip->Line < 0 && Fits(*ip)) goto take_returned;
            goto done;
          }
          goto op_return;
        }
        TARMISY_DISPATCH
      }
      goto op_set_result;
      // Below both returns: the take of the integer just returned, the
      // value the activation returned into now holds as its result.
    take_returned: {
      TVar& t = At(ip->T);
      if (t.Kind == dkInteger && t.IsPlain()) [[likely]] {
        if (ip <= in->SelfIp) TARMISY_BACKWARD(ip->Cell);
        in = ip;
        TARMISY_COUNT(in->Count);
        t.IntValue = v;
        ip = in->GoIp;
        TARMISY_DISPATCH
      }
      goto done;
    }
    }
  }
op_set_result:
  SetResult(Eval(in->A));
  goto done;
op_return: {
  int32_t to;
  if (!Return(to)) return;
  ip = IpAt(to);
  goto done;
}
op_write_text:
  TARMISY_POLL_SOON
  host_.ConsoleAppend(texts_[static_cast<size_t>(in->A)]);
  goto done;
op_write:
  TARMISY_POLL_SOON
  Write(in->A);
  goto done;
op_write_ln:
  TARMISY_POLL_SOON
  host_.ConsoleNewLine();
  goto done;
op_read:
  TARMISY_POLL_SOON
  if (!ReadInstr(*in)) {
    state_.StoppedByUser.store(true);
    return;
  }
  goto done;
op_dec_temp: {
  TVar& t = Temp(in->A);
  t.ToInteger();
  if (__builtin_sub_overflow(t.IntValue, 1, &t.IntValue)) throw EIntOverflow();
  goto done;
}
op_jump_if: {
  const int32_t v = JumpValue(Temp(in->A));
  if (in->Op == xJumpIfFalse ? v == 0 : v <= 0) TARMISY_TAKEN(in);
  goto done;
}
op_break:
  skip_ = in->Op == xBreak ? kBreak : kContinue;
  skipDepth_ = 0;
  code_.Pos = in->Go;
  if (!SkipToLoopEnd()) return;
  ip = IpAt(code_.Pos);
  goto done;
op_line:
  // A marker right before another (a procedure's heading, then its first
  // statement) is a stop of its own only to the debugger: running on, the
  // next marker notes all that this one would.
  if (in->Test && freeRun) goto done;
  CurLine = in->A;
  if (CurLine == lineSeen_) goto done;
  if (!NewLine(in->Go)) return;
  goto done;
op_foreign:
  Error(FormatStr(sUnknownCommand, {in->Base}));

done:
  // Every handler that may make scratch values ends here; the next
  // instruction starts with none.
  scratchUsed_ = 0;
  // Whatever repeats goes backwards at some point: a loop's jump, a call of
  // a procedure written above, a recursive call. So this is the one place
  // where a running program is looked at from outside, and a straight run
  // of instructions in between is never long.
  if (ip > in->SelfIp) [[likely]] goto next;
backward:
  TARMISY_BACKWARD(ip->Cell);
  goto next;
#undef TARMISY_BACKWARD
#undef TARMISY_POLL_SOON
#undef TARMISY_DISPATCH
#undef TARMISY_TAKEN
#undef TARMISY_FUSED
#undef TARMISY_COUNT
}

// The end of a window of steps, at a backward transfer (code_.Pos is its
// target): the steps of the next window, or 0 when the run is to end
// there, by Stop or because the budget is spent. The count stays in a
// register of the loop: it is handed over, never referred to.
uint64_t TExecutor::Checkpoint() {
  if (state_.Events.StopRequested()) return 0;
  if (steps_ == 0) {
    BudgetSpent();
    return 0;
  }
  const uint64_t window = std::min(steps_, LoopGuard ? uint64_t{1} : kStepWindow);
  steps_ -= window;
  if (LoopGuard) LoopGuard->Check(*this);
  return window;
}

// The step budget is spent: the run ends as if stopped.
bool TExecutor::BudgetSpent() {
  StepLimitReached = true;
  state_.StoppedByUser.store(true);
  return false;
}

// Passes over the instructions up to the end of the innermost loop after
// break or continue. False when the code ended first.
bool TExecutor::SkipToLoopEnd() {
  const int32_t size = CodeCells();
  while (skip_ != kNoSkip) {
    const int32_t pos = code_.Pos;
    if (pos < 0 || pos >= size) return false;
    if (!SkipOver(InstrAt(pos)))
      return false;
  }
  return true;
}
