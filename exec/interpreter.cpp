#include "interpreter.h"

#include <cstring>

#include "console.h"
#include "errors.h"
#include "string_table.h"

namespace {

[[noreturn]] void Fail(TStrId id) { throw EExecuteException(Str(id)); }

}  // namespace

TExecutor::TExecutor(TPseudoCode& code, TRunHost& host, TRunState& state, std::unique_ptr<TGenericGrondo> machine)
    : code_(code), host_(host), state_(state), machine_(std::move(machine)) {
  if (!machine_) machine_ = std::make_unique<TNullGrondo>(code.ExecutorKind);
  machine_->Host = &host_;
  stack_.resize(256);
}

TExecutor::~TExecutor() = default;

void TExecutor::Error(std::string_view message) { throw EExecuteException(RunTimeErrorText(message)); }

// ---------------------------------------------------------------------------
// Decoding

void TExecutor::Decode() {
  exprs_.clear();
  calls_.clear();
  const int count = code_.ExpressionCount();
  exprs_.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const TStackDatum* e = code_.Expression(i);
    if (!e) continue;
    const int32_t at = DecodeExpr(e);
    exprs_[static_cast<size_t>(i)] = std::move(exprs_[static_cast<size_t>(at)]);
    exprs_.pop_back();
  }
  for (int i = 0; i < code_.CallRecordCount(); ++i) {
    TXCall c;
    if (const TDatum* rec = code_.CallRecord(i)) {
      c.Proc = rec->IntValue;
      if (rec->Args) {
        c.HasArgs = true;
        for (const TDatum& arg : rec->Args->Postfix()) c.Args.push_back(arg.Args ? DecodeExpr(arg.Args.get()) : -1);
      }
    }
    calls_.push_back(std::move(c));
  }
}

// Appends the decoded form of expr (and before it those of its index
// expressions) to exprs_ and returns its position.
int32_t TExecutor::DecodeExpr(const TStackDatum* expr) {
  TXExpr x;
  x.Width = expr->Result.Width;
  x.Fraction = expr->Result.Fraction;
  x.Items.reserve(expr->Postfix().size());
  int depth = 0;
  for (const TDatum& t : expr->Postfix()) {
    TXItem it;
    it.Index = t.IntValue;
    switch (t.Kind) {
      case dkOperator: it.Op = TXItem::kOperator; it.Code = t.OpCode; break;
      case dkGlobalRef: it.Op = TXItem::kGlobal; break;
      case dkLocalRef: it.Op = TXItem::kLocal; break;
      case dkTempRef: it.Op = TXItem::kTemp; break;
      case dkGlobalItemRef:
      case dkLocalItemRef: {
        const bool global = t.Kind == dkGlobalItemRef;
        if (t.Index1) {
          it.Op = global ? TXItem::kGlobalItem : TXItem::kLocalItem;
          it.Sub1 = DecodeExpr(t.Index1.get());
          if (t.Index2) it.Sub2 = DecodeExpr(t.Index2.get());
        } else {
          it.Op = global ? TXItem::kGlobal : TXItem::kLocal;
        }
        break;
      }
      default:
        // Constants, and any other token, stand for themselves.
        it.Op = TXItem::kConst;
        it.Value = SlotOf(t);
        break;
    }
    x.Items.push_back(it);
    depth += it.Op == TXItem::kOperator ? (it.Code == ocNot ? 0 : -1) : 1;
    if (depth > x.MaxDepth) x.MaxDepth = depth;
  }
  auto simple = [](const TXItem& it) {
    return it.Op == TXItem::kConst || it.Op == TXItem::kGlobal || it.Op == TXItem::kLocal || it.Op == TXItem::kTemp;
  };
  x.Simple = (x.Items.size() == 1 && simple(x.Items[0])) ||
             (x.Items.size() == 3 && simple(x.Items[0]) && simple(x.Items[1]) &&
              x.Items[2].Op == TXItem::kOperator && x.Items[2].Code != ocNot);
  DecodeAppend(x);
  exprs_.push_back(std::move(x));
  return static_cast<int32_t>(exprs_.size() - 1);
}

// Recognises "v + rest" where v is a whole variable and rest a complete
// expression of its own, and decodes rest separately.
void TExecutor::DecodeAppend(TXExpr& x) {
  const size_t n = x.Items.size();
  if (n < 3) return;
  const TXItem& first = x.Items[0];
  const TXItem& last = x.Items[n - 1];
  if ((first.Op != TXItem::kGlobal && first.Op != TXItem::kLocal) || last.Op != TXItem::kOperator ||
      last.Code != ocAdd)
    return;
  TXExpr rest;
  int depth = 0;
  for (size_t i = 1; i + 1 < n; ++i) {
    const TXItem& it = x.Items[i];
    if (it.Op == TXItem::kOperator) {
      if (depth < (it.Code == ocNot ? 1 : 2)) return;
      if (it.Code != ocNot) --depth;
    } else {
      ++depth;
    }
    if (depth > rest.MaxDepth) rest.MaxDepth = depth;
    rest.Items.push_back(it);
  }
  if (depth != 1) return;
  x.AppendScope = first.Op;
  x.AppendVar = first.Index;
  exprs_.push_back(std::move(rest));
  x.AppendRest = static_cast<int32_t>(exprs_.size() - 1);
}

// ---------------------------------------------------------------------------
// Variables

TDatum& TExecutor::Scratch() {
  if (scratchUsed_ == scratch_.size()) scratch_.emplace_back();
  return scratch_[scratchUsed_++];
}

// ---------------------------------------------------------------------------
// Evaluation

// The evaluation stack is a plain array: its room is made sure of once per
// expression (MaxDepth), so pushes need no check. Index expressions are
// evaluated recursively on top of it.
TSlot TExecutor::Eval(int32_t e) {
  if (e < 0 || static_cast<size_t>(e) >= exprs_.size()) Error(Str(sBadArithExpression));
  const TXExpr& x = exprs_[static_cast<size_t>(e)];
  if (x.Simple) {
    // A lone constant or variable, or two of them and an operator: most
    // expressions, evaluated without the stack.
    if (x.Items.size() == 1) return Simple(x.Items[0]);
    const TXItem& op = x.Items[2];
    TSlot l = Simple(x.Items[0]);
    const TSlot r = Simple(x.Items[1]);
    if (l.Kind == dkInteger && r.Kind == dkInteger) {
      int32_t v;
      const int32_t a = l.I, b = r.I;
      switch (op.Code) {
        case ocAdd:
          if (__builtin_add_overflow(a, b, &v)) throw EIntOverflow();
          return TSlot::Int(v);
        case ocSub:
          if (__builtin_sub_overflow(a, b, &v)) throw EIntOverflow();
          return TSlot::Int(v);
        case ocMul:
          if (__builtin_mul_overflow(a, b, &v)) throw EIntOverflow();
          return TSlot::Int(v);
        case ocLt: return TSlot::Logical(a < b);
        case ocLe: return TSlot::Logical(a <= b);
        case ocGt: return TSlot::Logical(a > b);
        case ocGe: return TSlot::Logical(a >= b);
        case ocEq: return TSlot::Logical(a == b);
        case ocNe: return TSlot::Logical(a != b);
        default: break;
      }
    }
    if (l.IsScalar() && r.IsScalar() && IsFastOperator(op.Code)) return ApplyScalar(op.Code, l, r);
    ApplySlow(op.Code, l, r);
    return l;
  }
  const size_t base = top_;
  if (base + x.MaxDepth + 1 > stack_.size()) stack_.resize((base + x.MaxDepth + 1) * 2);
  TSlot* st = stack_.data();
  size_t top = base;
  for (const TXItem& it : x.Items) {
    switch (it.Op) {
      case TXItem::kConst: st[top++] = it.Value; break;
      case TXItem::kGlobal: st[top++] = SlotOf(Global(it.Index)); break;
      case TXItem::kLocal: st[top++] = SlotOf(Local(it.Index)); break;
      case TXItem::kTemp: st[top++] = SlotOf(Temp(it.Index)); break;
      case TXItem::kGlobalItem:
      case TXItem::kLocalItem: {
        top_ = top;
        const TSlot i = Eval(it.Sub1);
        TSlot j;
        const bool two = it.Sub2 >= 0;
        if (two) j = Eval(it.Sub2);
        st = stack_.data();
        if (i.Kind != dkInteger || (two && j.Kind != dkInteger)) Fail(sIndexNotInteger);
        const TDatum& array = it.Op == TXItem::kGlobalItem ? Global(it.Index) : Local(it.Index);
        st[top++] = LoadElement(array, i, two ? &j : nullptr);
        break;
      }
      case TXItem::kOperator: {
        if (top == base) Error(Str(sBadExpression));
        const TSlot r = st[--top];
        TSlot* l;
        if (it.Code == ocNot) {
          l = &st[top++];
          *l = r;
        } else {
          if (top == base) Error(Str(sBadExpression));
          l = &st[top - 1];
        }
        if (l->Kind == dkInteger && r.Kind == dkInteger) {
          // The commonest case, integers, without the promotion steps.
          int32_t v;
          const int32_t a = l->I, b = r.I;
          switch (it.Code) {
            case ocAdd:
              if (__builtin_add_overflow(a, b, &v)) throw EIntOverflow();
              *l = TSlot::Int(v);
              continue;
            case ocSub:
              if (__builtin_sub_overflow(a, b, &v)) throw EIntOverflow();
              *l = TSlot::Int(v);
              continue;
            case ocMul:
              if (__builtin_mul_overflow(a, b, &v)) throw EIntOverflow();
              *l = TSlot::Int(v);
              continue;
            case ocLt: *l = TSlot::Logical(a < b); continue;
            case ocLe: *l = TSlot::Logical(a <= b); continue;
            case ocGt: *l = TSlot::Logical(a > b); continue;
            case ocGe: *l = TSlot::Logical(a >= b); continue;
            case ocEq: *l = TSlot::Logical(a == b); continue;
            case ocNe: *l = TSlot::Logical(a != b); continue;
            default: break;
          }
        }
        if (l->IsScalar() && r.IsScalar() && IsFastOperator(it.Code)) {
          *l = ApplyScalar(it.Code, *l, r);
        } else {
          top_ = top;
          ApplySlow(it.Code, *l, r);
          st = stack_.data();
        }
        break;
      }
      default: Error(Str(sBadExpression));
    }
  }
  top_ = base;
  if (top != base + 1) Error(Str(sBadArithExpression));
  return st[base];
}

// FetchItem without the copy: the element is read where it lies.
TSlot TExecutor::LoadElement(const TDatum& a, const TSlot& i, const TSlot* j) {
  if (a.Size1 < 1) Fail(sScalarUsedAsArray);
  const int32_t ii = i.I;
  if (ii < 0 || ii > a.Size1 - 1) throw EExecuteException(FormatStr(sIndexOutOfRange, {ii, a.Size1 - 1}));
  int32_t pos = ii;
  if (j) {
    // A negative second index is out of range like any other, rather than
    // quietly meaning "no second index".
    if (a.Size2 == 0) Fail(sTwoIndexesOnSimpleArray);
    if (j->I < 0 || j->I > a.Size2 - 1) throw EExecuteException(FormatStr(sIndexOutOfRange, {j->I, a.Size2 - 1}));
    pos = ii * a.Size2 + j->I;
  }
  TSlot s;
  switch (a.Kind) {
    case dkIntegerArray: s = TSlot::Int(a.Ints() ? a.Ints()[pos] : a.IntValue); break;
    case dkRealArray: s = TSlot::Real(a.Reals() ? a.Reals()[pos] : a.RealValue); break;
    case dkCharArray: s = TSlot::Char(a.Chars() ? a.Chars()[pos] : a.CharValue); break;
    case dkLogicalArray: s = TSlot::Logical(a.Bools() ? a.Bools()[pos] != 0 : a.BoolValue != 0); break;
    default: {
      TDatum d;
      d.FetchItem(a, ii, j ? j->I : -1);
      s = SlotOf(d);
      if (!s.IsScalar()) s = TSlot();
      break;
    }
  }
  return s;
}

// The operators on anything but two scalars, and the rare ones, through the
// values layer. The result lives in a scratch value of this instruction.
void TExecutor::ApplySlow(uint8_t op, TSlot& l, const TSlot& r) {
  TDatum& left = Scratch();
  if (l.IsScalar()) left.Assign(DatumOf(l));
  else left.Assign(*l.Ref);
  if (r.IsScalar()) {
    const TDatum right = DatumOf(r);
    ApplyOperator(op, left, right);
  } else {
    ApplyOperator(op, left, *r.Ref);
  }
  l = SlotOf(left);
}

// ---------------------------------------------------------------------------
// Stores

void TExecutor::StoreWhole(TDatum& target, const TSlot& v, bool full) {
  if (!IsScalarKind(target.Kind)) appended_ = nullptr;
  if (v.IsScalar()) {
    if (IsScalarKind(target.Kind)) {
      WriteScalar(target, v, target.Kind);
      return;
    }
    const TDatum src = DatumOf(v);
    target.AssignChecked(src, full);
    return;
  }
  target.AssignChecked(*v.Ref, full);
  if (!full && target.Kind == dkCharArray && target.Size2 == 0 && target.Chars()) {
    // A string assignment zero-fills the buffer behind the text.
    appended_ = &target;
    appendedLength_ = strnlen(reinterpret_cast<const char*>(target.Chars()), static_cast<size_t>(target.Size1));
  }
}

void TExecutor::StoreElement(TDatum& a, const TSlot& v, const TSlot& i, const TSlot* j) {
  appended_ = nullptr;
  if (!v.IsScalar() || !IsArrayKind(a.Kind) || !i.IsScalar() || (j && !j->IsScalar())) {
    const TDatum iv = i.IsScalar() ? DatumOf(i) : TDatum(*i.Ref);
    const TDatum jv = j ? (j->IsScalar() ? DatumOf(*j) : TDatum(*j->Ref)) : TDatum();
    if (v.IsScalar()) a.StoreItem(DatumOf(v), iv, j ? &jv : nullptr);
    else a.StoreItem(*v.Ref, iv, j ? &jv : nullptr);
    return;
  }
  if (i.Kind != dkInteger || (j && j->Kind != dkInteger)) Fail(sIndexMustBeInteger);
  if (i.I < 0 || i.I > a.Size1 - 1) throw EExecuteException(FormatStr(sIndexOutOfRange, {i.I, a.Size1 - 1}));
  if (j && (j->I < 0 || j->I > a.Size2 - 1))
    throw EExecuteException(FormatStr(sIndexOutOfRange, {j->I, a.Size2 - 1}));
  const int32_t pos = j ? i.I * a.Size2 + j->I : i.I;
  if (pos >= a.ElementCount()) return;
  TSlot e = v;
  ConvertSlot(e, a.Kind - 4);
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

namespace {

// A scalar stored into a variable of its own kind: the commonest store,
// without the conversions of StoreWhole.
inline bool StoreSameKind(TDatum& t, const TSlot& v) {
  if (v.Kind != t.Kind) return false;
  switch (v.Kind) {
    case dkInteger: t.IntValue = v.I; return true;
    case dkReal: t.RealValue = v.R; return true;
    case dkLogical: t.BoolValue = static_cast<uint8_t>(v.I); return true;
    case dkChar: t.CharValue = static_cast<uint8_t>(v.I); return true;
    default: return false;
  }
}

}  // namespace

// "v = e": a scalar of the variable's own kind is stored directly, and
// "s = s + rest" on a string appends in place.
void TExecutor::AssignWhole(TVar& target, uint8_t scope, int32_t index, int32_t e) {
  if (static_cast<size_t>(e) < exprs_.size()) {
    const TXExpr& x = exprs_[static_cast<size_t>(e)];
    if (x.AppendRest >= 0 && x.AppendScope == scope && x.AppendVar == index && target.Kind == dkCharArray &&
        Append(target, x.AppendRest))
      return;
  }
  const TSlot value = Eval(e);
  if (StoreSameKind(target, value)) return;
  StoreWhole(target, value, false);
}

// The result of concatenating the string s with rest and assigning it back
// to s, written in place: the text must stay under the concatenation limit
// and fit the array, and everything after it is zero, as the assignment
// leaves it. False (nothing changed) when the operands are not a string and
// a character or string; the general path then raises the right error.
bool TExecutor::Append(TDatum& s, int32_t rest) {
  if (s.Size2 != 0 || !s.Chars()) return false;
  const TSlot r = Eval(rest);
  uint8_t one;
  const uint8_t* from;
  size_t m;
  if (r.Kind == dkChar) {
    one = static_cast<uint8_t>(r.I);
    from = &one;
    m = 1;
  } else if (r.Kind == dkCharArray && r.Ref->Chars()) {
    from = r.Ref->Chars();
    m = strnlen(reinterpret_cast<const char*>(from), static_cast<size_t>(r.Ref->Size1));
  } else {
    return false;
  }
  uint8_t* buf = s.Chars();
  const size_t size = static_cast<size_t>(s.Size1);
  const bool clean = appended_ == &s;
  const size_t n = clean ? appendedLength_ : strnlen(reinterpret_cast<const char*>(buf), size);
  const size_t total = n + m;
  if (total >= static_cast<size_t>(kMaxArraySize)) {
    // The concatenation's own failure, with its message.
    TDatum sized;
    sized.Kind = dkChar;
    sized.MakeArray(static_cast<int>(std::min<size_t>(total, kMaxArraySize + 1)) + 1);
  }
  if (total > size) throw EExecuteException(Str(sArrayOutOfBounds));
  std::memmove(buf + n, from, m);
  if (!clean) std::memset(buf + total, 0, static_cast<size_t>(s.ElementCount()) - total);
  appended_ = &s;
  appendedLength_ = total;
  return true;
}

// The assignment instructions: index expressions first, then the value.
void TExecutor::AssignItem(TDatum& target, int32_t e1, int32_t e2, int32_t ev) {
  if (e1 < 0) {
    StoreWhole(target, Eval(ev), false);
    return;
  }
  const TSlot i = Eval(e1);
  TSlot j;
  const bool two = e2 >= 0;
  if (two) j = Eval(e2);
  const TSlot v = Eval(ev);
  StoreElement(target, v, i, two ? &j : nullptr);
}

// ---------------------------------------------------------------------------
// Calls

namespace {

// The language's full copy (Assign) of a value, done field by field when
// both are scalars without buffers, which is what recursion copies most.
void CopyValue(TDatum& to, const TDatum& from) {
  if (from.Size1 != 0 || from.HasBuffer() || from.Index1 || from.Index2 || to.HasBuffer() || to.Index1 ||
      to.Index2) {
    to.Assign(from);
    return;
  }
  to.CopyScalar(from);
  to.Size1 = 0;
  to.Size2 = 0;
}

void CopyVars(TVarList& to, const TVarList& from) {
  if (to.Count() != from.Count()) {
    to.AssignFrom(from);
    return;
  }
  for (int i = 0; i < from.Count(); ++i) {
    if (to[i].Name != from[i].Name) to[i].Name = from[i].Name;
    CopyValue(to[i], from[i]);
  }
}

}  // namespace

// The activation chain of the values layer (TProcList::EnterActivation),
// with records kept for reuse by this run: a recursive call copies into a
// record that an earlier return released, usually one of the same
// procedure, so its variables are copied in place.
TProcedure& TExecutor::Enter(int p) {
  TProcedure& current = code_.Procs[p];
  if (!current.Active) return current;
  if (current.Depth > kMaxRecursionDepth) Error(Str(sRecursionLimit));
  std::unique_ptr<TProcedure> fresh;
  if (!spare_.empty()) {
    fresh = std::move(spare_.back());
    spare_.pop_back();
  } else {
    fresh = std::make_unique<TProcedure>();
  }
  TProcedure& r = *fresh;
  r.Name = current.Name;
  r.Id = current.Id;
  r.ArgCount = current.ArgCount;
  r.CallerProc = current.CallerProc;
  r.ReturnPos = current.ReturnPos;
  r.Entry = current.Entry;
  r.FirstLine = current.FirstLine;
  r.LastLine = current.LastLine;
  CopyVars(r.Vars, current.Vars);
  CopyVars(r.Temps, current.Temps);
  CopyValue(r.Result, current.Result);
  r.Active = true;
  r.Depth = current.Depth + 1;
  r.Outer = code_.Procs.Replace(p, std::move(fresh));
  return r;
}

void TExecutor::Leave(int p) {
  TProcedure& current = code_.Procs[p];
  current.Active = false;
  if (!current.Outer) return;
  std::unique_ptr<TProcedure> outer = std::move(current.Outer);
  CopyValue(outer->Result, current.Result);
  spare_.push_back(code_.Procs.Replace(p, std::move(outer)));
}

void TExecutor::Call(const TXCall& c) {
  // Activation records are copied and reused: no string stays known.
  appended_ = nullptr;
  const int p = c.Proc;
  if (p < 0 || p >= code_.Procs.Count()) code_.Procs.Item(p);
  const TProcedure& callee = code_.Procs[p];
  if (callee.Active && callee.Depth > kMaxRecursionDepth) Error(Str(sRecursionLimit));
  if (c.HasArgs && static_cast<int>(c.Args.size()) != callee.ArgCount) Error(Str(sBadArgCount));
  // The arguments are evaluated in the caller's activation, before a
  // recursive call's fresh record takes the slot: f(b, a) really swaps.
  args_.clear();
  if (c.HasArgs)
    for (int32_t a : c.Args) args_.push_back(Eval(a));
  TProcedure& r = Enter(p);
  r.CallerProc = CurProc;
  r.ReturnPos = code_.Pos;
  r.Active = true;
  for (size_t i = 0; i < args_.size(); ++i) StoreWhole(r.Vars.Item(static_cast<int>(i)), args_[i], true);
  code_.Pos = r.Entry;
  CurProc = p;
  cur_ = &r;
}

bool TExecutor::Return() {
  appended_ = nullptr;
  const int p = CurProc;
  const int caller = cur_->CallerProc;
  const int returnPos = cur_->ReturnPos;
  const bool stepLevel = p == stepProc_ && cur_->Depth == stepDepth_;
  Leave(p);
  CurProc = caller;
  code_.Pos = returnPos;
  if (CurProc < 0) return false;
  Refresh();
  // Step over the last line of a procedure stops at the caller's next line,
  // also when the caller is an outer activation of the same procedure.
  if (stepLevel) {
    stepProc_ = CurProc;
    stepDepth_ = cur_->Depth;
  }
  return true;
}

void TExecutor::SysCall(const TXCall& c) {
  const int p = c.Proc;
  if (p < 0 || p >= code_.SysProcs.Count()) code_.SysProcs.Item(p);
  TProcedure& b = code_.SysProcs[p];
  if (c.HasArgs && static_cast<int>(c.Args.size()) != b.ArgCount) Error(Str(sBadArgCount));
  if (c.HasArgs) {
    for (size_t i = 0; i < c.Args.size(); ++i) {
      const TSlot v = Eval(c.Args[i]);
      TVar& arg = b.Vars.Item(static_cast<int>(i));
      if (b.Id == 1004 && i == 0) {
        // abs keeps the kind of its argument: integer stays integer.
        const uint8_t k = v.IsScalar() && v.Kind == dkReal ? dkReal : dkInteger;
        arg.Kind = k;
        b.Result.Kind = k;
      }
      StoreWhole(arg, v, true);
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
  if (line == lastLine_ && CurProc == lastProc_ && cur_->Depth == lastDepth_) return true;
  lastLine_ = line;
  lastProc_ = CurProc;
  lastDepth_ = cur_->Depth;
  if (stepProc_ >= 0 && !(CurProc == stepProc_ && cur_->Depth == stepDepth_)) return true;
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
  TXInstr& in = instrs_[static_cast<size_t>(pos)];
  if (in.Ready) return in;
  const int32_t size = static_cast<int32_t>(instrs_.size());
  const int32_t* cells = code_.Cells.data();
  int32_t p = pos;
  auto cell = [&]() -> int32_t { return p < size ? cells[p++] : 0; };
  in.Op = cell();
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
  in.Ready = true;
  return in;
}

namespace {

// The truth a jump tests: the temporary as an integer.
inline int32_t JumpValue(TVar& t) {
  if (t.Kind == dkLogical) return t.BoolValue;  // converting would only be undone by the next store
  t.ToInteger();
  return t.IntValue;
}

}  // namespace

void TExecutor::Run() {
  Decode();
  code_.Pos = 0;
  CurProc = 0;
  CurLine = -1;
  lastLine_ = -1;
  lastProc_ = -1;
  lastDepth_ = 0;
  stepProc_ = -1;
  stepDepth_ = 0;
  if (code_.Procs.Count() == 0) return;
  Refresh();
  // The main program is an activation like any other, so that a call of it
  // from a procedure gets a record of its own.
  cur_->Active = true;
  cur_->CallerProc = -1;

  const int32_t size = std::min<int32_t>(code_.CodeSize, static_cast<int32_t>(code_.Cells.size()));
  instrs_.assign(static_cast<size_t>(std::max(size, 0)), TXInstr());
  texts_.clear();
  int32_t& pos = code_.Pos;
  enum { kNoSkip, kBreak, kContinue } skip = kNoSkip;
  int skipDepth = 0;
  TRunEvents& events = state_.Events;

  for (;;) {
    // Reading past the code is the end of the run.
    if (pos < 0 || pos >= size) return;
    const TXInstr& in = instrs_[static_cast<size_t>(pos)].Ready ? instrs_[static_cast<size_t>(pos)] : InstrAt(pos);
    if (events.StopRequested()) return;
    scratchUsed_ = 0;

    if (skip != kNoSkip) {
      // Skipping to the end of a loop: instructions are passed over whole,
      // a fused condition and jump as the two they are.
      const int32_t op = in.Op == kTestJumpIfFalse || in.Op == kTestJumpIfNotPositive ? opAssignTemp : in.Op;
      pos = op == opAssignTemp ? (in.Op == opAssignTemp ? in.Next : in.D) : in.Next;
      switch (op) {
        case opEnd: return;
        case opLine: CurLine = in.A; break;
        case opLoopBegin: ++skipDepth; break;
        case opEndRepeat:
        case opEndFor:
        case opEndWhile:
          if (skipDepth > 0) {
            --skipDepth;
          } else {
            if (skip == kContinue) pos -= op == opEndRepeat ? 5 : 3;
            skip = kNoSkip;
          }
          break;
        default:
          if (!OpInfo(op)) Error(FormatStr(sUnknownCommand, {op}));
          break;
      }
      continue;
    }

    pos = in.Next;
    switch (in.Op) {
      case opEnd: return;
      case opAssignGlobal: AssignWhole(Global(in.A), TXItem::kGlobal, in.A, in.B); break;
      case opAssignGlobalItem: AssignItem(Global(in.A), in.B, -1, in.C); break;
      case opAssignGlobalItem2: AssignItem(Global(in.A), in.B, in.C, in.D); break;
      case opAssignLocal: AssignWhole(Local(in.A), TXItem::kLocal, in.A, in.B); break;
      case opAssignLocalItem: AssignItem(Local(in.A), in.B, -1, in.C); break;
      case opAssignLocalItem2: AssignItem(Local(in.A), in.B, in.C, in.D); break;
      case opAssignTemp: {
        TVar& t = Temp(in.A);
        const TSlot value = Eval(in.B);
        if (!StoreSameKind(t, value)) StoreWhole(t, value, false);
        break;
      }
      case kTestJumpIfFalse:
      case kTestJumpIfNotPositive: {
        TVar& t = Temp(in.A);
        const TSlot value = Eval(in.B);
        if (!StoreSameKind(t, value)) StoreWhole(t, value, false);
        const int32_t v = JumpValue(t);
        if (in.Op == kTestJumpIfFalse ? v == 0 : v <= 0) pos = in.C;
        break;
      }
      case opTakeResult: Temp(in.A).AssignChecked(code_.Procs.Item(in.B).Result, true); break;
      case opTakeSysResult: Temp(in.A).AssignChecked(code_.SysProcs.Item(in.B).Result, true); break;
      case opCall:
        if (static_cast<uint32_t>(in.A) >= calls_.size()) Error(Str(sBadExpression));
        Call(calls_[static_cast<size_t>(in.A)]);
        break;
      case opSysCall:
        if (static_cast<uint32_t>(in.A) >= calls_.size()) Error(Str(sBadExpression));
        SysCall(calls_[static_cast<size_t>(in.A)]);
        break;
      case opNop: break;
      case opSetResult: {
        const TSlot v = Eval(in.A);
        if (v.IsScalar()) cur_->Result.Assign(DatumOf(v));
        else cur_->Result.Assign(*v.Ref);
        break;
      }
      case opReturn:
        if (!Return()) return;
        break;
      case opWriteText: host_.ConsoleAppend(texts_[static_cast<size_t>(in.A)]); break;
      case opWrite: Write(in.A); break;
      case opWriteLn: host_.ConsoleNewLine(); break;
      case opReadGlobal:
      case opReadLocal:
      case opReadGlobalItem:
      case opReadLocalItem:
      case opReadGlobalItem2:
      case opReadLocalItem2: {
        const bool global = in.Op <= opReadGlobalItem2;
        const int kind = (in.Op - opReadGlobal) % 3;  // 0 whole, 1 one index, 2 two
        TVar& target = global ? Global(in.A) : Local(in.A);
        if (!Read(target, kind >= 1 ? in.B : -1, kind == 2 ? in.C : -1)) {
          state_.StoppedByUser.store(true);
          return;
        }
        break;
      }
      case opDecTemp: {
        TVar& t = Temp(in.A);
        t.ToInteger();
        if (__builtin_sub_overflow(t.IntValue, 1, &t.IntValue)) throw EIntOverflow();
        break;
      }
      case opJump: pos = in.A; break;
      case opJumpIfFalse:
      case opJumpIfNotPositive: {
        const int32_t v = JumpValue(Temp(in.A));
        if (in.Op == opJumpIfFalse ? v == 0 : v <= 0) pos = in.B;
        break;
      }
      case opLoopBegin:
      case opEndRepeat:
      case opEndFor:
      case opEndWhile: break;
      case opBreak:
        skip = kBreak;
        skipDepth = 0;
        break;
      case opContinue:
        skip = kContinue;
        skipDepth = 0;
        break;
      case opLine:
        CurLine = in.A;
        if (CurLine == lastLine_ && CurProc == lastProc_ && cur_->Depth == lastDepth_) break;
        if (!AtLine(CurLine)) return;
        break;
      default: Error(FormatStr(sUnknownCommand, {in.Op}));
    }
  }
}
