// TExecutor: the interpreter of a TPseudoCode program.
//
// Run dispatches the decoded instructions through a table of handler
// addresses, the program counter a pointer to the decoded instruction.
// Before the first instruction every expression and call record of the
// program is decoded once into a compact form (TXExpr): a flat list of
// tagged items whose variable references are plain indexes, evaluated on a
// stack of TSlot that is reused from one evaluation to the next. Scalars
// never allocate and element loads read the array in place. Instructions are
// decoded where execution first meets them (TXInstr), the commonest ones on
// integers and reals into fused forms that read the variables directly,
// each at a fixed offset checked when the instruction was decoded.
//
// The interpreter runs on the execution thread. Everything outside the
// program (console, highlighting, variables window, executor drawing) goes
// through the host; commands of the debugger arrive through the run state's
// events, polled at line markers (Step, Run to cursor) and wherever control
// goes backwards (Stop, the step budget).
#pragma once

#include <cmath>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host.h"
#include "machine.h"
#include "pcode.h"
#include "runstate.h"
#include "scalar.h"

class TLoopGuard;

// One item of a decoded expression.
struct TXItem {
  enum : uint8_t {
    kConst,       // Value (a scalar, or a reference to the expression's own constant)
    kGlobal,      // whole global Index
    kLocal,       // whole local Index of the current activation
    kTemp,        // temporary Index of the current activation
    kGlobalItem,  // element of global Index: Sub1 (and Sub2) index expressions
    kLocalItem,   // element of local Index
    kOperator,    // Code
    kBad          // a token that has no place in an expression
  };
  uint8_t Op = kConst;
  uint8_t Code = 0;
  int32_t Index = 0;
  int32_t Sub1 = -1;
  int32_t Sub2 = -1;
  TSlot Value;
};

// A decoded expression: its items in evaluation order and the output format
// the compiler put on its result.
struct TXExpr {
  std::vector<TXItem> Items;
  int32_t Width = 0;
  int32_t Fraction = 0;
  int32_t MaxDepth = 0;  // the most values it has on the stack at once
  // The shapes evaluated without the stack, a, b, c constants or whole
  // variables and o, p binary operators: kOne "a", kTwo "a b o",
  // kRight "a b c o p" (a p (b o c)), kLeft "a b o c p" ((a o b) p c).
  enum : uint8_t { kGeneral, kOne, kTwo, kRight, kLeft } Shape = kGeneral;
  // For "v + rest" with v a whole variable: v's place (kGlobal or kLocal and
  // its index) and the decoded rest, so that "v = v + rest" can append in
  // place. AppendRest is -1 for every other shape.
  uint8_t AppendScope = 0;
  int32_t AppendVar = -1;
  int32_t AppendRest = -1;
};

// An instruction with its operands, decoded from the cells (pcode_ops.h).
// Next is the cell after it; Go is where execution goes on, which is Next
// unless unconditional jumps follow, which Go passes over. Two codes of its
// own join a condition and the jump that tests it. The codes of its own lie
// in a gap of the p-code's codes, so that the dispatch stays one table.
//
// The commonest instructions on integers also get a fused form that reads
// its operands straight from the variables (TXOperand) and does the whole
// instruction in one step: "v = a o b" and the like, a comparison and its
// jump, an element store, a jump on an element of a logical array. Each
// first makes sure its operands are what the fused form assumes (integers,
// variables that exist) and otherwise runs the instruction it was made
// from (Base), so that every other case, and every error, is the general
// path's own.
constexpr int32_t kTestJumpIfFalse = 50;       // opAssignTemp A B + opJumpIfFalse A C
constexpr int32_t kTestJumpIfNotPositive = 51;  // opAssignTemp A B + opJumpIfNotPositive A C
// The fused forms.
constexpr int32_t kIntAssign = 52;  // an integer or real variable A (Base's scope) := numbers X by Shape
constexpr int32_t kIntTest = 53;    // temporary A := comparison of integers X by Shape; to C when false
constexpr int32_t kItemTest = 54;   // temporary A := element X[1] of logical array X[0] (Not); to C when false
constexpr int32_t kItemStore = 55;  // element X[1] of array X[0] := Value
constexpr int32_t kForeign = 56;     // an undefined code (Base), or one of these in a cell
constexpr int32_t kUndecoded = 57;   // a cell not reached yet
constexpr int32_t kIncrement = 58;  // an integer variable A := itself + X[1]
constexpr int32_t kCompare = 59;    // kIntTest of "X[0] o X[1]", o the comparison kCompare + o - ocEq (to 64)
constexpr int32_t kOffEnd = 65;     // past the code or before it: the run ends
constexpr int32_t kStepCompare = 66;  // kIncrement, then the kCompare form of its counter at its Go (a loop's round)
// kIntAssign by the shape of its expression, for integers only.
constexpr int32_t kIntAssignTwo = 67, kIntAssignRight = 68, kIntAssignLeft = 69;
constexpr int32_t kRealCall = 70;   // opSysCall of a built-in of one real argument, a shape over numbers
constexpr int32_t kIntResult = 71;  // opSetResult of a shape over integers
// kStepCompare with a constant step (K1), a constant bound (K2), or both.
constexpr int32_t kStepCompareK1 = 72, kStepCompareK2 = 73, kStepCompareK3 = 74;
// Added to kIntAssignTwo, Right or Left (to 75, 76, 77): the last operand
// is an integer constant.
constexpr int32_t kConstLast = 8;
// kIntAssignRight + kConstLast whose inner operator divides by a constant
// that is neither 0 nor -1 ("s + i % 7"): no division check is needed.
constexpr int32_t kIntAssignRightDiv = 78;
// kItemStore of a logical constant (X[2].Value), the marks of a sieve.
constexpr int32_t kFlagStore = 79;
// kIntAssign of a single integer variable (One) or constant (OneK).
constexpr int32_t kIntAssignOne = 80, kIntAssignOneK = 81;
// opCall of a procedure that exists, with at most kFastArgs arguments, as
// many as it takes, each with a fused form (TXInstr::Forms).
constexpr int32_t kCallInts = 82;
constexpr size_t kFastArgs = 4;
// opTakeResult of a procedure that exists, opTakeSysResult of a built-in.
constexpr int32_t kTakeResult = 83, kTakeSysResult = 84;
// kStepCompare whose comparison is "<" (Below) or "<=" (AtMost), the
// counted loops going up, plus 0 to 3 as for K1 to K3 (none, K1, K2, K3):
// tested directly rather than through the comparison's mask.
constexpr int32_t kStepBelow = 85, kStepAtMost = 89;
// kCallInts of its own procedure (Test) whose one argument is "variable
// op integer constant", as recursions count down: "f(n - 1)".
constexpr int32_t kCallSelf = 93;
// kCompare whose right operand is an integer constant, read from the
// instruction (to 99): "n < 2".
constexpr int32_t kCompareK = 94;
// kTakeResult of the procedure it was decoded in, with no line marker
// joined to it, which a return of that procedure's recursion takes itself
// when it comes next.
constexpr int32_t kTakeSelf = 100;
constexpr int32_t kOpCodes = 101;    // every code a decoded instruction may have
// The comparison operator of a kCompare or kCompareK form; 0 for any other code.
inline uint8_t ComparisonOf(int32_t op) {
  if (op >= kCompare && op <= kCompare + (ocGe - ocEq)) return static_cast<uint8_t>(ocEq + (op - kCompare));
  if (op >= kCompareK && op <= kCompareK + (ocGe - ocEq)) return static_cast<uint8_t>(ocEq + (op - kCompareK));
  return 0;
}
// The p-code's codes above 49 move into its gaps below.
constexpr int32_t xDecTemp = 11, xJump = 12, xJumpIfFalse = 13, xJumpIfNotPositive = 14, xLoopBegin = 15,
                  xBreak = 16, xContinue = 17, xEndRepeat = 18, xEndFor = 19, xEndWhile = 25, xLine = 26;
struct TXOperand {
  // TXItem::kConst (Value is the integer), kGlobal, kLocal, kTemp,
  // kRealConst (R is the real), or kScalarConst (Value is the logical or
  // character of kind Kind).
  uint8_t Scope = 0;
  int32_t Value = 0;  // the integer constant, or the variable's index
  double R = 0;
  // Where it lies from its scope's first variable, in bytes, or for a
  // constant (whose scope has no first variable) its address in the
  // executor's pool. Set once the instruction's operands are known to
  // exist in its procedure (TXInstr::Proc).
  uintptr_t Offset = 0;
  // Where it lies in the first activation of that procedure (or for a
  // global or a constant, where it lies): read there while that
  // activation runs, with no scope to look up.
  TVar* Home = nullptr;
  uint8_t Kind = 0;
};
constexpr uint8_t kRealConst = 8;
constexpr uint8_t kScalarConst = 9;
// An integer or a real, as the fused forms compute with them.
struct TXNum {
  bool Real;
  int32_t I;
  double R;
};
struct TXCall;
struct TXInstr {
  int32_t Op = kUndecoded;
  const void* Handler = nullptr;  // the running loop's handler of Op
  int32_t A = 0, B = 0, C = 0, D = 0;
  int32_t Next = 0;
  int32_t Go = 0;
  int32_t Cell = 0;     // where it lies (a joined marker's cell for a joined one)
  // Go's instruction, and that of the jump when a test sends control to
  // its C (B for the plain conditional jumps).
  const TXInstr* GoIp = nullptr;
  const TXInstr* CIp = nullptr;
  uint32_t CJumps = 0;  // unconditional jumps CIp passes over (counted when taken)
  int32_t Base = 0;     // for a fused form: the instruction it was made from
  uint8_t Shape = 0;    // for a fused form: the TXExpr shape of its expression
  uint8_t O1 = 0, O2 = 0;  // its operators: kTwo a O1 b, kRight a O2 (b O1 c), kLeft (a O1 b) O2 c
  bool Not = false;     // kItemTest: the element's negation
  uint8_t Mask = 0;     // a kCompare form: bit k set when it holds for a - b below (0), at (1), above (2) zero
  bool Test = false;    // kIntTest: the last operator is a comparison;
                        // kCallInts: a call of its own procedure, one argument;
                        // kItemStore: the value is operand X[2];
                        // xLine: the next instruction is a marker too
  TXOperand T;          // the variable it stores into
  TXOperand X[3];       // its operands in order
  const TXItem* Value = nullptr;  // kItemStore: the value stored
  // opCall: its call record, none when it has no valid one, and the fused
  // forms of its arguments (Proc -2 for an argument without one), none
  // when no argument has one.
  const TXCall* CallRec = nullptr;
  const TXInstr* Forms = nullptr;
  const TXInstr* EntryIp = nullptr;  // kCallInts: the procedure's first instruction
  // kCallInts: when that is a heading's marker right before the first
  // statement's, the first statement (EntryIp's GoIp), else none.
  const TXInstr* FirstIp = nullptr;
  bool MoreVars = false;  // kCallInts: the procedure has variables besides its first
  bool Returns = false;   // kIntResult: an opReturn without a marker comes next (at GoIp)
  // A line marker joined to the instruction after it: the marker's line and
  // the cell after the marker (where that instruction starts), else -1.
  int32_t Line = -1;
  int32_t LineNext = -1;
  int32_t Self = 0;     // the cell of the instruction itself (after a joined marker)
  // Its decoded instruction: control going to it or to any instruction at
  // a lower address goes backwards.
  const TXInstr* SelfIp = nullptr;
  // For a fused form: the procedure whose variables its operands were
  // checked against when it was decoded, or -2 when one does not exist. A
  // fused form runs as such only in an activation of that procedure (all
  // of them have the same variables), else the general way.
  int32_t Proc = -2;
  // That procedure's first activation, where TXOperand::Home points.
  const TProcedure* Home = nullptr;
  uint32_t Count = 1;   // p-code instructions it stands for
};

// A decoded call record: the procedure index and the argument expressions
// (-1 for an argument without one); HasArgs false when written without a list.
struct TXCall {
  int32_t Proc = 0;
  bool HasArgs = false;
  std::vector<int32_t> Args;
};

class TExecutor {
 public:
  // Runs code with the given host, run state and executor (taken over).
  TExecutor(TPseudoCode& code, TRunHost& host, TRunState& state, std::unique_ptr<TGenericGrondo> machine);
  ~TExecutor();

  // Interprets from cell 0 until the end of the program, the main program's
  // return or a stop; raises on errors (CurLine tells where).
  void Run();

  // Raises EExecuteException "Ошибка при выполнении программы: <message>."
  [[noreturn]] static void Error(std::string_view message);

  // The program as it stands, for the variables window and value hints.
  TPauseView View() const { return TPauseView{&code_, CurProc, CurLine}; }

  TGenericGrondo& Machine() { return *machine_; }

  // Removes the execution-line mark through the host, when there is one.
  void Unhighlight();

  // Backward transfers of control (loop rounds, calls of procedures written
  // above) the run may make before it ends as if stopped by the user; 0 for
  // no limit. Fuzzing and tests give a budget so that endless loops end
  // deterministically; a window's run has none (Stop ends it).
  uint64_t StepLimit = 0;
  // Whether Run counts the instructions it goes through into Executed;
  // counting costs a little on every instruction, so only the headless
  // runner's statistics ask for it.
  bool CountInstructions = false;
  // Instructions the last Run went through, however it ended (0 when not
  // counted).
  uint64_t Executed = 0;
  // Whether the last Run ended because it had made StepLimit steps.
  bool StepLimitReached = false;
  // Ends a run that can never end (loop_guard.h); not owned, none: no check.
  // Run calls LoopGuard->Check(*this) after every instruction that sent
  // execution back to its own cell or before (a loop's jump, a call or
  // return to an earlier cell), with code_.Pos at the target.
  TLoopGuard* LoopGuard = nullptr;

  int CurProc = 0;         // index in Procs of the current procedure
  int CurLine = -1;        // line of the last line marker passed
  int HighlightLine = -1;  // line shown as the execution line; -1 when none

 private:
  friend class TExecutorTest;

  template <bool kCount>
  void Loop();   // Run, counting the instructions when kCount (asked for, or a loop detector)
  void Start();  // decodes the program and resets the run's state
  bool SkipOver(const TXInstr& in);
  bool SkipToLoopEnd();
  bool ReadInstr(const TXInstr& in);
  void Decode();
  int32_t DecodeExpr(const TStackDatum* expr);
  const TXInstr& InstrAt(int32_t pos);
  void DecodeInstr(TXInstr& in, int32_t pos);
  // The running loop's handler addresses by code, for InstrAt; none
  // outside the loop.
  const void* const* handlers_ = nullptr;
  // The decoded instruction at cell pos, or where the run ends for a cell
  // off the code.
  [[gnu::always_inline]] const TXInstr* IpAt(int32_t pos) const {
    if (pos < 0) return instrs_.data();
    if (pos >= cells_) return end_;
    return &instrs_[static_cast<size_t>(pos) + 1];
  }
  // The decoded instruction of cell pos, -1 to cells_.
  TXInstr& Slot(int32_t pos) { return instrs_[static_cast<size_t>(pos + 1)]; }
  int32_t CodeCells() const { return cells_; }
  void DecodeAppend(TXExpr& x);
  int32_t ExprOperand(int32_t cell);

  // The value of decoded expression e (an absent one gives an error): the
  // common short shapes here, inline, the others on the stack.
  [[gnu::always_inline]] TSlot Eval(int32_t e) {
    if (static_cast<size_t>(e) >= exprs_.size()) [[unlikely]] Error(Str(sBadArithExpression));
    const TXExpr& x = exprs_[static_cast<size_t>(e)];
    const TXItem* it = x.Items.data();
    switch (x.Shape) {
      case TXExpr::kOne: return Simple(it[0]);
      case TXExpr::kTwo: return Binary(it[2].Code, Simple(it[0]), Simple(it[1]));
      case TXExpr::kRight: {
        // Operands are read in the order the stack would read them.
        const TSlot a = Simple(it[0]), b = Simple(it[1]), c = Simple(it[2]);
        return Binary(it[4].Code, a, Binary(it[3].Code, b, c));
      }
      case TXExpr::kLeft: {
        const TSlot a = Simple(it[0]), b = Simple(it[1]);
        const TSlot ab = Binary(it[2].Code, a, b);
        return Binary(it[4].Code, ab, Simple(it[3]));
      }
      default: return EvalStack(x);
    }
  }
  TSlot EvalStack(const TXExpr& x);
  // A binary operator on two values, integers inline.
  [[gnu::always_inline]] TSlot Binary(uint8_t op, TSlot l, const TSlot& r) {
    TSlot v;
    if (l.Kind == dkInteger && r.Kind == dkInteger && IntegerShortcut(op, l.I, r.I, v)) return v;
    // A real with a real or an integer, the arithmetic of ApplyScalar inline.
    if ((l.Kind == dkReal || l.Kind == dkInteger) && (r.Kind == dkReal || r.Kind == dkInteger) && op >= ocAdd &&
        op <= ocDiv) {
      const TXNum a{l.Kind == dkReal, l.Kind == dkReal ? 0 : l.I, l.Kind == dkReal ? l.R : 0};
      const TXNum b{r.Kind == dkReal, r.Kind == dkReal ? 0 : r.I, r.Kind == dkReal ? r.R : 0};
      const TXNum n = NumArith(op, a, b);
      return n.Real ? TSlot::Real(n.R) : TSlot::Int(n.I);
    }
    if (l.IsScalar() && r.IsScalar() && IsScalarOperator(op)) return ApplyScalar(op, l, r);
    ApplySlow(op, l, r);
    return l;
  }
  TSlot LoadElement(const TDatum& array, const TSlot& i, const TSlot* j);
  // The value of a constant or whole-variable item.
  [[gnu::always_inline]] TSlot Simple(const TXItem& it) {
    switch (it.Op) {
      case TXItem::kLocal: return SlotOf(Local(it.Index));
      case TXItem::kTemp: return SlotOf(Temp(it.Index));
      case TXItem::kGlobal: return SlotOf(Global(it.Index));
      default: return it.Value;
    }
  }
  void ApplySlow(uint8_t op, TSlot& l, const TSlot& r);
  TDatum& Scratch();

  // Stores: AssignChecked and StoreItem of the values layer for slots.
  void StoreWhole(TDatum& target, const TSlot& v, bool full);
  void StoreElement(TDatum& array, const TSlot& v, const TSlot& i, const TSlot* j);
  // StoreQuick of a value that lies in a variable (or the pool).
  [[gnu::always_inline]] bool StoreQuickVar(TDatum& a, const TVar& v, int32_t i) {
    if (v.Kind + 4 != a.Kind || a.Size2 != 0 || static_cast<uint32_t>(i) >= static_cast<uint32_t>(a.Size1))
      return false;
    switch (v.Kind) {
      case dkLogical:
        if (uint8_t* p = a.Bools()) p[i] = v.BoolValue != 0;
        break;
      case dkInteger:
        if (int32_t* p = a.Ints()) p[i] = v.IntValue;
        break;
      case dkReal:
        if (double* p = a.Reals()) p[i] = v.RealValue;
        break;
      case dkChar:
        if (uint8_t* p = a.Chars()) p[i] = v.CharValue;
        appended_ = nullptr;
        break;
      default: return false;
    }
    return true;
  }
  // StoreElement of a value of the element kind into a one-dimensional
  // array inside its bounds, inline; false, with nothing done, otherwise.
  [[gnu::always_inline]] bool StoreQuick(TDatum& a, const TSlot& v, int32_t i) {
    if (!v.IsScalar() || v.Kind + 4 != a.Kind || a.Size2 != 0 ||
        static_cast<uint32_t>(i) >= static_cast<uint32_t>(a.Size1))
      return false;
    if (a.Kind == dkCharArray) appended_ = nullptr;
    PutElement(a, i, v);
    return true;
  }
  // Element pos of array a := e, a value of its element kind; nothing for
  // an array that has no buffer of its kind (never sized).
  [[gnu::always_inline]] static void PutElement(TDatum& a, int32_t pos, const TSlot& e) {
    switch (a.Kind) {
      case dkIntegerArray:
        if (int32_t* p = a.Ints()) p[pos] = e.I;
        break;
      case dkRealArray:
        if (double* p = a.Reals()) p[pos] = e.R;
        break;
      case dkCharArray:
        if (uint8_t* p = a.Chars()) p[pos] = static_cast<uint8_t>(e.I);
        break;
      default:
        if (uint8_t* p = a.Bools()) p[pos] = static_cast<uint8_t>(e.I);
        break;
    }
  }
  void AssignItem(TDatum& target, int32_t e1, int32_t e2, int32_t ev);
  void AssignWhole(TVar& target, uint8_t scope, int32_t index, int32_t e);
  bool Append(TDatum& target, int32_t rest);

  void Call(const TXCall& c, const TXInstr* forms);
  // The second half of a call: procedure p's activation (callee is the
  // record in its slot) entered with the arguments' values, returning to
  // cell returnPos.
  void Enter(int p, TProcedure& callee, const TSlot* args, size_t n, int32_t returnPos);
  void StoreArgument(TProcedure& r, size_t i, const TSlot& v, size_t& skipped);
  // False when the main program returned; else to is where the caller goes on.
  bool Return(int32_t& to);
  // A function's result into the temporary of the caller's expression: a
  // full copy converted to the temporary's kind, in place for scalars; an
  // integer or real into one of its own kind here, inline.
  [[gnu::always_inline]] void TakeResult(TVar& t, const TDatum& result) {
    if (t.Kind == result.Kind && t.IsPlain()) {
      if (t.Kind == dkInteger) {
        t.IntValue = result.IntValue;
        return;
      }
      if (t.Kind == dkReal) {
        t.RealValue = result.RealValue;
        return;
      }
    }
    TakeResultSlow(t, result);
  }
  void TakeResultSlow(TVar& t, const TDatum& result);
  // The current procedure's result becomes a full copy of v, kind included;
  // an integer or real into a plain result here, inline.
  [[gnu::always_inline]] void SetResult(const TSlot& v) {
    TDatum& r = cur_->Result;
    cur_->ResultOwn = true;
    if ((v.Kind == dkInteger || v.Kind == dkReal) && r.IsPlain()) {
      r.Kind = v.Kind;
      if (v.Kind == dkInteger) r.IntValue = v.I;
      else r.RealValue = v.R;
      return;
    }
    SetResultSlow(r, v);
  }
  void SetResultSlow(TDatum& r, const TSlot& v);
  void SysCall(const TXCall& c);
  void CallFunction(TProcedure& b);  // the built-ins 1001..1032
  void Plot(TProcedure& b);
  void Write(int32_t e);
  bool Read(TDatum& target, int32_t e1, int32_t e2);

  // The line marker check; false when the run is to end (Stop).
  bool AtLine(int line);
  bool Pause();

  TVar& Global(int32_t i) {
    if (static_cast<uint32_t>(i) >= static_cast<uint32_t>(code_.Globals.Count())) return code_.Globals.Item(i);
    return code_.Globals[i];
  }
  TVar& Local(int32_t i) {
    if (static_cast<uint32_t>(i) >= static_cast<uint32_t>(cur_->Vars.Count())) return cur_->Vars.Item(i);
    return cur_->Vars[i];
  }
  TVar& Temp(int32_t i) {
    if (static_cast<uint32_t>(i) >= static_cast<uint32_t>(cur_->Temps.Count())) return cur_->Temps.Item(i);
    return cur_->Temps[i];
  }
  void Refresh() { SetFrame(&code_.Procs[CurProc]); }
  // Makes r the current activation; the fused forms read its variables
  // through base_.
  void SetFrame(TProcedure* r) {
    cur_ = r;
    lineSeen_ = kNoLine;
    base_[TXItem::kLocal] = r->Vars.Data();
    base_[TXItem::kTemp] = r->Temps.Data();
  }
  // Whether fused form in may read its operands where they lie: it runs
  // in the procedure it was decoded for.
  [[gnu::always_inline]] bool Fits(const TXInstr& in) const { return in.Proc == CurProc; }
  // Whether it runs in its procedure's first activation, where each of its
  // operands is read at the address it has, with no scope looked up: a
  // shorter chain of loads on every operand of the commonest case (a
  // loop in the main program or in a procedure that is not recursing).
  [[gnu::always_inline]] bool AtHome(const TXInstr& in) const { return in.Home == cur_; }
  // The variable or pooled constant of a fused form's operand, in.Proc
  // running; kHome: in its first activation (AtHome).
  template <bool kHome = false>
  [[gnu::always_inline]] TVar& At(const TXOperand& o) const {
    if constexpr (kHome) return *o.Home;
    return *reinterpret_cast<TVar*>(reinterpret_cast<uintptr_t>(base_[o.Scope]) + o.Offset);
  }
  // The integer an operand of a fused form stands for; false when it holds
  // no integer.
  template <bool kHome = false>
  [[gnu::always_inline]] bool ReadInt(const TXOperand& o, int32_t& v) const {
    const TVar& d = At<kHome>(o);
    if (d.Kind != dkInteger) return false;
    v = d.IntValue;
    return true;
  }
  // The value of a fused form's integer expression (operators and shapes of
  // TXExpr); false, with nothing done, when an operand is no integer.
  template <bool kHome = false>
  [[gnu::always_inline]] bool IntShape(const TXInstr& in, int32_t& r) {
    int32_t a, b, c = 0;
    if (!ReadInt<kHome>(in.X[0], a)) return false;
    if (in.Shape == TXExpr::kOne) {
      r = a;
      return true;
    }
    if (!ReadInt<kHome>(in.X[1], b)) return false;
    if (in.Shape != TXExpr::kTwo && !ReadInt<kHome>(in.X[2], c)) return false;
    switch (in.Shape) {
      case TXExpr::kTwo: r = in.Test ? IntCompare(in.O1, a, b) : IntArith(in.O1, a, b); break;
      case TXExpr::kRight: {
        const int32_t bc = IntArith(in.O1, b, c);
        r = in.Test ? IntCompare(in.O2, a, bc) : IntArith(in.O2, a, bc);
        break;
      }
      default: {
        const int32_t ab = IntArith(in.O1, a, b);
        r = in.Test ? IntCompare(in.O2, ab, c) : IntArith(in.O2, ab, c);
        break;
      }
    }
    return true;
  }
  // IntShape for an assignment of a known shape.
  // K: the last operand is an integer constant, read from the instruction.
  // kDivRight: a kRight shape with K whose inner operator is / or % by a
  // constant that needs no check.
  static constexpr uint8_t kDivRight = 100;
  template <uint8_t Shape, bool K, bool kHome = false>
  [[gnu::always_inline]] bool IntShapeOf(const TXInstr& in, int32_t& r) {
    int32_t a, b, c = 0;
    if constexpr (Shape == TXExpr::kOne) {
      if constexpr (K) r = in.X[0].Value;
      else if (!ReadInt<kHome>(in.X[0], r)) return false;
      return true;
    }
    if (!ReadInt<kHome>(in.X[0], a)) return false;
    static_assert(Shape != kDivRight || K);
    if constexpr (Shape == TXExpr::kTwo) {
      if constexpr (K) b = in.X[1].Value;
      else if (!ReadInt<kHome>(in.X[1], b)) return false;
    } else {
      if (!ReadInt<kHome>(in.X[1], b)) return false;
      if constexpr (K) c = in.X[2].Value;
      else if (!ReadInt<kHome>(in.X[2], c)) return false;
    }
    if constexpr (Shape == kDivRight) r = IntArith(in.O2, a, in.O1 == ocDiv ? b / c : b % c);
    else if constexpr (Shape == TXExpr::kTwo) r = IntArith(in.O1, a, b);
    else if constexpr (Shape == TXExpr::kRight) r = IntArith(in.O2, a, IntArith(in.O1, b, c));
    else r = IntArith(in.O2, IntArith(in.O1, a, b), c);
    return true;
  }
  // The checked integer arithmetic of IntegerShortcut for + - * / %, and its
  // comparisons, without the slots.
  [[gnu::always_inline]] static int32_t IntArith(uint8_t op, int32_t a, int32_t b) {
    // Tested in the order of how often pupils' programs use them.
    int32_t v;
    if (op == ocAdd) {
      if (__builtin_add_overflow(a, b, &v)) [[unlikely]] Overflow();
      return v;
    }
    if (op == ocSub) {
      if (__builtin_sub_overflow(a, b, &v)) [[unlikely]] Overflow();
      return v;
    }
    if (op == ocMul) {
      if (__builtin_mul_overflow(a, b, &v)) [[unlikely]] Overflow();
      return v;
    }
    if (b == 0) [[unlikely]] RunTimeError(sDivisionByZero);
    if (a == INT32_MIN && b == -1) [[unlikely]] Overflow();
    return op == ocDiv ? a / b : a % b;
  }
  [[gnu::always_inline]] static bool IntCompare(uint8_t op, int32_t a, int32_t b) {
    switch (op) {
      case ocEq: return a == b;
      case ocNe: return a != b;
      case ocLt: return a < b;
      case ocLe: return a <= b;
      case ocGt: return a > b;
      default: return a >= b;
    }
  }
  [[noreturn]] static void Overflow();
  // The number an operand stands for; false when it holds neither an
  // integer nor a real.
  template <bool kHome = false>
  [[gnu::always_inline]] bool ReadNum(const TXOperand& o, TXNum& v) const {
    const TVar& d = At<kHome>(o);
    if (d.Kind == dkReal) {
      v = {true, 0, d.RealValue};
      return true;
    }
    if (d.Kind != dkInteger) return false;
    v = {false, d.IntValue, 0};
    return true;
  }
  // An arithmetic operator on two numbers as ApplyScalar has it: integers
  // stay integers, anything with a real is real and must stay finite.
  [[gnu::always_inline]] static TXNum NumArith(uint8_t op, const TXNum& a, const TXNum& b) {
    if (!a.Real && !b.Real) return {false, IntArith(op, a.I, b.I), 0};
    const double x = a.Real ? a.R : static_cast<double>(a.I);
    const double y = b.Real ? b.R : static_cast<double>(b.I);
    const double v = RealArith(op, x, y);
    return {true, 0, v};
  }
  // The value of a fused assignment's expression over numbers; false, with
  // nothing done, when an operand is neither an integer nor a real.
  template <bool kHome = false>
  [[gnu::always_inline]] bool NumShape(const TXInstr& in, double& r) {
    TXNum a, b, c;
    if (!ReadNum<kHome>(in.X[0], a)) return false;
    TXNum v = a;
    if (in.Shape != TXExpr::kOne) {
      if (!ReadNum<kHome>(in.X[1], b)) return false;
      if (in.Shape != TXExpr::kTwo && !ReadNum<kHome>(in.X[2], c)) return false;
      switch (in.Shape) {
        case TXExpr::kTwo: v = NumArith(in.O1, a, b); break;
        case TXExpr::kRight: v = NumArith(in.O2, a, NumArith(in.O1, b, c)); break;
        default: v = NumArith(in.O2, NumArith(in.O1, a, b), c); break;
      }
    }
    r = v.Real ? v.R : static_cast<double>(v.I);
    return true;
  }
  // A fused test's value into its temporary, when that is a logical
  // variable; false, with nothing done, otherwise.
  [[gnu::always_inline]] static bool WriteTest(TVar& t, bool v) {
    if (t.Kind != dkLogical) return false;
    t.BoolValue = v;
    return true;
  }
  void Fuse(TXInstr& in);
  bool FuseShape(TXInstr& in, int32_t e, bool test);
  bool FuseOperand(const TXItem& it, TXOperand& o) const;
  bool Resolve(TXOperand& o, TProcedure& home);
  bool ResolveAll(TXInstr& in);
  // A condition's value into temporary t and the test of its jump (op is
  // kTestJumpIfFalse or kTestJumpIfNotPositive): true when the jump is taken.
  bool TestFails(TVar& t, int32_t e, int32_t op);
  bool BudgetSpent();
  uint64_t Checkpoint();
  // Steps between two looks at Stop while nothing is drawn or written: a
  // few microseconds of the tightest loop.
  static constexpr uint64_t kStepWindow = 1024;

  TPseudoCode& code_;
  TRunHost& host_;
  TRunState& state_;
  std::unique_ptr<TGenericGrondo> machine_;
  TProcedure* cur_ = nullptr;
  // The first variable of each scope of TXItem (globals, the current
  // activation's locals and temporaries, the pool for both kinds of
  // constant); for the fused forms.
  TVar* base_[kScalarConst + 1] = {};
  // The constants of the fused forms, one variable per distinct value, so
  // that every operand is read the same way; its first is no number. A
  // deque, so that a constant stays where it is as more are added.
  std::deque<TVar> pool_;

  std::vector<TXExpr> exprs_;     // the program's expressions, then their index expressions
  std::vector<TXCall> calls_;     // the program's call records
  // The fused forms of call instructions' arguments (TXInstr::Forms).
  std::vector<std::unique_ptr<TXInstr[]>> argForms_;
  // By cell from -1, the end before the code: the instruction starting
  // there; then the end after it (Slot).
  std::vector<TXInstr> instrs_;
  int32_t cells_ = 0;             // the cells decoded: instrs_ but its end
  const TXInstr* end_ = nullptr;  // its end
  std::vector<std::string> texts_;  // the texts of opWriteText
  std::vector<TSlot> stack_;      // the evaluation stack, reused
  size_t top_ = 0;                // its first free slot between evaluations
  std::vector<TSlot> args_;       // argument values of the call in progress
  std::deque<TDatum> scratch_;    // values made by the current instruction
  size_t scratchUsed_ = 0;

  // The string last appended to in place and its text length: its buffer
  // holds that text and zeros after it. Any other store that may change
  // that (into a string, or through a record reused by a call) forgets it;
  // an element stored into an array of another kind cannot.
  const TDatum* appended_ = nullptr;
  size_t appendedLength_ = 0;

  int lastLine_ = -1;   // the last line marker's line, procedure and depth
  int lastProc_ = -1;
  int lastDepth_ = 0;
  // lastLine_ once a marker has been passed in the current activation,
  // kNoLine from a call or return until then: a marker of another line is
  // a new line, one comparison on every marker; the first marker after a
  // call or return is looked at in full (AtLine). Kept by SetFrame and
  // NoteLine, and reset wherever CurLine changes otherwise (a skip to a
  // loop's end), so that CurLine is lineSeen_ whenever that is a line: a
  // joined marker of the line just seen need not store it again.
  static constexpr int64_t kNoLine = INT64_MIN;
  int64_t lineSeen_ = kNoLine;
  // Whether decoded instruction in carries a joined line marker of a line
  // other than the one just seen.
  [[gnu::always_inline]] bool NewJoinedLine(const TXInstr& in) const {
    return in.Line >= 0 && in.Line != lineSeen_;
  }
  // All that a new line asks of a run that runs on: it is the line seen.
  [[gnu::always_inline]] void PassLine(int32_t line) { lineSeen_ = CurLine = line; }
  void NoteLine(int line) {
    // While a line is seen, the activation it was seen in is this one.
    if (lineSeen_ == kNoLine) {
      lastProc_ = CurProc;
      lastDepth_ = cur_->Depth;
    }
    lastLine_ = line;
    lineSeen_ = line;
  }
  int stepProc_ = -1;
  int stepDepth_ = 0;
  // Skipping to the end of the innermost loop (break, continue), and how
  // many loops nested in it the skip has entered.
  enum { kNoSkip, kBreak, kContinue } skip_ = kNoSkip;
  int skipDepth_ = 0;
  uint64_t steps_ = 0;  // what is left of StepLimit after the current window
};
