// TExecutor: the interpreter of a TPseudoCode program.
//
// Run fetches and dispatches the instructions of pcode_ops.h in one switch.
// Before the first instruction every expression and call record of the
// program is decoded once into a compact form (TXExpr): a flat list of
// tagged items whose variable references are plain indexes, evaluated on a
// stack of TSlot that is reused from one evaluation to the next. Scalars
// never allocate and element loads read the array in place.
//
// The interpreter runs on the execution thread. Everything outside the
// program (console, highlighting, variables window, executor drawing) goes
// through the host; commands of the debugger arrive through the run state's
// events, polled at line markers and before every instruction (Stop).
#pragma once

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
// own join a condition and the jump that tests it.
struct TXInstr {
  int32_t Op = 0;
  int32_t A = 0, B = 0, C = 0, D = 0;
  int32_t Next = 0;
  int32_t Go = 0;
  bool Ready = false;
};
constexpr int32_t kTestJumpIfFalse = 1000;       // opAssignTemp A B + opJumpIfFalse A C
constexpr int32_t kTestJumpIfNotPositive = 1001;  // opAssignTemp A B + opJumpIfNotPositive A C

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
  // Instructions the last Run went through, however it ended.
  uint64_t Executed = 0;
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

  void Start();  // decodes the program and resets the run's state
  bool SkipOver(const TXInstr& in);
  bool SkipToLoopEnd();
  bool Backwards();
  bool ReadInstr(const TXInstr& in);
  void Decode();
  int32_t DecodeExpr(const TStackDatum* expr);
  const TXInstr& InstrAt(int32_t pos);
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
  void AssignItem(TDatum& target, int32_t e1, int32_t e2, int32_t ev);
  void AssignWhole(TVar& target, uint8_t scope, int32_t index, int32_t e);
  bool Append(TDatum& target, int32_t rest);

  void Call(const TXCall& c);
  bool Return();  // false when the main program returned
  void TakeResult(TVar& t, const TDatum& result);
  void SetResult(const TSlot& v);
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
  void Refresh() { cur_ = &code_.Procs[CurProc]; }

  TPseudoCode& code_;
  TRunHost& host_;
  TRunState& state_;
  std::unique_ptr<TGenericGrondo> machine_;
  TProcedure* cur_ = nullptr;

  std::vector<TXExpr> exprs_;     // the program's expressions, then their index expressions
  std::vector<TXCall> calls_;     // the program's call records
  std::vector<TXInstr> instrs_;   // by cell: the instruction starting there
  std::vector<std::string> texts_;  // the texts of opWriteText
  std::vector<TSlot> stack_;      // the evaluation stack, reused
  size_t top_ = 0;                // its first free slot between evaluations
  std::vector<TSlot> args_;       // argument values of the call in progress
  std::deque<TDatum> scratch_;    // values made by the current instruction
  size_t scratchUsed_ = 0;

  // The string last appended to in place and its text length: its buffer
  // holds that text and zeros after it. Any other store may change that,
  // so each forgets it.
  const TDatum* appended_ = nullptr;
  size_t appendedLength_ = 0;

  int lastLine_ = -1;   // the last line marker's line, procedure and depth
  int lastProc_ = -1;
  int lastDepth_ = 0;
  int stepProc_ = -1;
  int stepDepth_ = 0;
  // Skipping to the end of the innermost loop (break, continue), and how
  // many loops nested in it the skip has entered.
  enum { kNoSkip, kBreak, kContinue } skip_ = kNoSkip;
  int skipDepth_ = 0;
  uint64_t steps_ = 0;  // what is left of StepLimit
};
