// Expressions and stores of the interpreter: decoding the program's
// expressions and call records, evaluating them on the slot stack, and
// storing values into variables and elements as the values layer would.
#include <algorithm>
#include <climits>
#include <cstring>

#include "errors.h"
#include "interpreter.h"
#include "string_table.h"

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
  auto binary = [](const TXItem& it) { return it.Op == TXItem::kOperator && it.Code != ocNot; };
  const std::vector<TXItem>& i = x.Items;
  if (i.size() == 1 && simple(i[0])) x.Shape = TXExpr::kOne;
  else if (i.size() == 3 && simple(i[0]) && simple(i[1]) && binary(i[2])) x.Shape = TXExpr::kTwo;
  else if (i.size() == 5 && simple(i[0]) && simple(i[1]) && simple(i[2]) && binary(i[3]) && binary(i[4]))
    x.Shape = TXExpr::kRight;
  else if (i.size() == 5 && simple(i[0]) && simple(i[1]) && binary(i[2]) && simple(i[3]) && binary(i[4]))
    x.Shape = TXExpr::kLeft;
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

// An operand of a fused form: an integer constant or a whole variable.
bool TExecutor::FuseOperand(const TXItem& it, TXOperand& o) const {
  switch (it.Op) {
    case TXItem::kConst:
      if (it.Value.Kind == dkReal) {
        o = {kRealConst, 0, it.Value.R};
        return true;
      }
      if (it.Value.Kind != dkInteger) return false;
      o = {TXItem::kConst, it.Value.I, 0};
      return true;
    case TXItem::kGlobal:
    case TXItem::kLocal:
    case TXItem::kTemp: o = {it.Op, it.Index, 0}; return true;
    default: return false;
  }
}

// Gives in the operands and operators of expression e when it is one of the
// short shapes over integer operands with the operators the integer
// shortcut knows: arithmetic, with a comparison last when test.
bool TExecutor::FuseShape(TXInstr& in, int32_t e, bool test) {
  if (e < 0 || static_cast<size_t>(e) >= exprs_.size()) return false;
  const TXExpr& x = exprs_[static_cast<size_t>(e)];
  const TXItem* it = x.Items.data();
  auto arith = [](uint8_t c) { return c == ocAdd || c == ocSub || c == ocMul || c == ocDiv || c == ocMod; };
  auto last = [&](uint8_t c) { return test ? c >= ocEq && c <= ocGe : arith(c); };
  const TXItem* operand[3] = {};
  switch (x.Shape) {
    case TXExpr::kOne:
      if (test) return false;
      operand[0] = &it[0];
      break;
    case TXExpr::kTwo:
      if (!last(it[2].Code)) return false;
      in.O1 = it[2].Code;
      operand[0] = &it[0];
      operand[1] = &it[1];
      break;
    case TXExpr::kRight:
    case TXExpr::kLeft: {
      const bool right = x.Shape == TXExpr::kRight;
      in.O1 = right ? it[3].Code : it[2].Code;
      in.O2 = it[4].Code;
      if (!arith(in.O1) || !last(in.O2)) return false;
      operand[0] = &it[0];
      operand[1] = &it[1];
      operand[2] = right ? &it[2] : &it[3];
      break;
    }
    default: return false;
  }
  for (int k = 0; k < 3; ++k) {
    if (!operand[k]) continue;
    if (!FuseOperand(*operand[k], in.X[k])) return false;
    if (test && in.X[k].Scope == kRealConst) return false;  // comparisons are fused for integers only
  }
  in.Shape = x.Shape;
  in.Test = test;
  return true;
}

// Gives an instruction its fused form when it has one (TXInstr).
void TExecutor::Fuse(TXInstr& in) {
  const int32_t op = in.Op;
  // The index expression and the array of an element with one index that
  // is an integer constant or a whole variable.
  auto element = [&](const TXItem& item, uint8_t scope) {
    const int32_t sub = item.Sub1;
    if (item.Sub2 >= 0 || sub < 0 || static_cast<size_t>(sub) >= exprs_.size()) return false;
    const TXExpr& i = exprs_[static_cast<size_t>(sub)];
    if (i.Shape != TXExpr::kOne || !FuseOperand(i.Items[0], in.X[1])) return false;
    in.X[0] = {scope, item.Index, 0};
    return true;
  };
  auto simple = [&](int32_t e) -> const TXItem* {
    if (e < 0 || static_cast<size_t>(e) >= exprs_.size()) return nullptr;
    const TXExpr& x = exprs_[static_cast<size_t>(e)];
    return x.Shape == TXExpr::kOne ? &x.Items[0] : nullptr;
  };
  switch (op) {
    case opAssignGlobal:
    case opAssignLocal:
      if (!FuseShape(in, in.B, false)) return;
      in.T = {op == opAssignLocal ? TXItem::kLocal : TXItem::kGlobal, in.A, 0};
      in.Op = kIntAssign;
      {
        // A real variable (every store keeps its kind) takes the form over
        // numbers at once rather than one for integers that hands it on.
        const TVarList& vars = op == opAssignLocal ? cur_->Vars : code_.Globals;
        if (in.A >= 0 && in.A < vars.Count() && vars[in.A].Kind == dkReal) break;
      }
      // "v = v + k" and "v = v - k", the counters of loops.
      if (in.Shape == TXExpr::kTwo && in.X[0].Scope == in.T.Scope && in.X[0].Value == in.T.Value &&
          in.X[1].Scope != kRealConst) {
        const bool constant = in.X[1].Scope == TXItem::kConst;
        if (in.O1 == ocAdd) {
          in.Op = kIncrement;
        } else if (in.O1 == ocSub && constant && in.X[1].Value != INT32_MIN) {
          in.X[1].Value = -in.X[1].Value;  // a - k is a + (-k), also for reals
          in.O1 = ocAdd;
          in.Op = kIncrement;
        }
      }
      if (in.Op == kIntAssign && in.Shape == TXExpr::kOne)
        in.Op = in.X[0].Scope == TXItem::kConst ? kIntAssignOneK : kIntAssignOne;
      if (in.Op == kIntAssign && in.Shape != TXExpr::kOne) {
        in.Op = in.Shape == TXExpr::kTwo ? kIntAssignTwo : in.Shape == TXExpr::kRight ? kIntAssignRight : kIntAssignLeft;
        if (in.X[in.Shape == TXExpr::kTwo ? 1 : 2].Scope == TXItem::kConst) in.Op += kConstLast;
        if (in.Op == kIntAssignRight + kConstLast && (in.O1 == ocDiv || in.O1 == ocMod) && in.X[2].Value != 0 &&
            in.X[2].Value != -1)
          in.Op = kIntAssignRightDiv;
      }
      break;
    case kTestJumpIfFalse:
    case kTestJumpIfNotPositive: {
      in.T = {TXItem::kTemp, in.A, 0};
      if (FuseShape(in, in.B, true)) {
        // A comparison of two integers has a code of its own for each operator.
        in.Op = in.Shape == TXExpr::kTwo ? kCompare + (in.O1 - ocEq) : kIntTest;
        if (in.Shape == TXExpr::kTwo && in.X[1].Scope == TXItem::kConst) in.Op += kCompareK - kCompare;
        if (in.Shape == TXExpr::kTwo) {
          // Whether it holds for a below, equal to, above b: bits 0, 1, 2.
          static constexpr uint8_t kMasks[] = {0b010, 0b101, 0b001, 0b011, 0b100, 0b110};
          in.Mask = kMasks[in.O1 - ocEq];
        }
        break;
      }
      if (in.B < 0 || static_cast<size_t>(in.B) >= exprs_.size()) return;
      const std::vector<TXItem>& items = exprs_[static_cast<size_t>(in.B)].Items;
      if (items.empty() || items.size() > 2) return;
      if (items.size() == 2 && (items[1].Op != TXItem::kOperator || items[1].Code != ocNot)) return;
      const uint8_t scope = items[0].Op == TXItem::kGlobalItem  ? TXItem::kGlobal
                            : items[0].Op == TXItem::kLocalItem ? TXItem::kLocal
                                                                : TXItem::kConst;
      if (scope == TXItem::kConst || !element(items[0], scope)) return;
      in.Not = items.size() == 2;
      in.Op = kItemTest;
      break;
    }
    case opCall: {
      // Arguments that are shapes over integers, computed as the fused
      // assignments compute theirs.
      if (in.A < 0 || static_cast<size_t>(in.A) >= calls_.size()) return;
      const TXCall& c = calls_[static_cast<size_t>(in.A)];
      in.CallRec = &c;
      if (!c.HasArgs || c.Args.empty()) return;
      auto forms = std::make_unique<TXInstr[]>(c.Args.size());
      size_t fused = 0;
      for (size_t i = 0; i < c.Args.size(); ++i) {
        TXInstr& f = forms[i];
        if (!FuseShape(f, c.Args[i], false)) continue;
        if (!ResolveAll(f)) continue;
        ++fused;
      }
      if (fused == 0) return;
      TXInstr* const made = forms.get();
      in.Forms = made;
      argForms_.push_back(std::move(forms));
      // Every argument fused and the call sound as far as the records go:
      // the fast way, which still checks what may change while running.
      if (fused == c.Args.size() && fused <= kFastArgs && c.Proc >= 0 && c.Proc < code_.Procs.Count()) {
        const TProcedure& callee = code_.Procs[c.Proc];
        if (callee.ArgCount == static_cast<int32_t>(fused) && callee.Vars.Count() >= callee.ArgCount) {
          in.Op = kCallInts;
          in.Base = opCall;
          in.EntryIp = IpAt(callee.Entry);
          if (callee.Entry >= 0 && callee.Entry < CodeCells()) {
            const TXInstr& entry = InstrAt(callee.Entry);
            if (entry.Op == xLine && entry.Test) in.FirstIp = entry.GoIp;
          }
          // A call of the procedure it lies in, with one argument.
          in.Test = fused == 1 && in.Forms[0].Proc == c.Proc;
          in.MoreVars = callee.Vars.Count() > 1;
          // Its argument a variable plus or minus a constant: n - k is
          // n + -k, the same value with the same overflow.
          TXInstr& f = made[0];
          if (in.Test && f.Shape == TXExpr::kTwo && f.X[1].Scope == TXItem::kConst && !f.Test) {
            if (f.O1 == ocSub && f.X[1].Value != INT32_MIN) {
              f.O1 = ocAdd;
              f.X[1].Value = -f.X[1].Value;
              ResolveAll(f);  // the pooled constant too, read by the general way
            }
            if (f.O1 == ocAdd) in.Op = kCallSelf;
          }
        }
      }
      return;
    }
    case opTakeResult:
    case opTakeSysResult: {
      // A function's result into a temporary, both read where they lie.
      const bool user = op == opTakeResult;
      if (in.B < 0 || in.B >= (user ? code_.Procs : code_.SysProcs).Count()) return;
      in.T = {TXItem::kTemp, in.A, 0};
      in.Op = user ? kTakeResult : kTakeSysResult;
      break;
    }
    case opSetResult:
      // An integer result: "возврат a o b".
      if (!FuseShape(in, in.A, false)) return;
      in.Op = kIntResult;
      break;
    case opSysCall: {
      // A built-in of one real argument, given as a shape over numbers:
      // the argument is computed as the fused assignments compute theirs.
      if (in.A < 0 || static_cast<size_t>(in.A) >= calls_.size()) return;
      const TXCall& c = calls_[static_cast<size_t>(in.A)];
      if (!c.HasArgs || c.Args.size() != 1 || c.Proc < 0 || c.Proc >= code_.SysProcs.Count()) return;
      const TProcedure& b = code_.SysProcs[c.Proc];
      if (b.Id < 1001 || b.Id > 1027 || b.Id == 1004 || b.ArgCount != 1 || b.Vars.Count() != 1 ||
          b.Vars[0].Kind != dkReal)
        return;
      if (!FuseShape(in, c.Args[0], false)) return;
      in.Op = kRealCall;
      break;
    }
    case opAssignGlobalItem:
    case opAssignLocalItem: {
      const TXItem* index = simple(in.B);
      in.Value = simple(in.C);
      if (!index || !in.Value || !FuseOperand(*index, in.X[1])) return;
      in.X[0] = {op == opAssignLocalItem ? TXItem::kLocal : TXItem::kGlobal, in.A, 0};
      in.Op = kItemStore;
      // The value read where it lies too: a whole variable or a constant.
      if (in.Value->Op == TXItem::kConst && (in.Value->Value.Kind == dkLogical || in.Value->Value.Kind == dkChar)) {
        in.X[2] = {kScalarConst, static_cast<int32_t>(in.Value->Value.I), 0};
        in.X[2].Kind = in.Value->Value.Kind;
        in.Test = true;
        if (in.X[2].Kind == dkLogical) in.Op = kFlagStore;
      } else {
        in.Test = FuseOperand(*in.Value, in.X[2]);
      }
      break;
    }
    default: return;
  }
  in.Base = op;
  ResolveAll(in);
  if (in.Op == kTakeResult && in.B == in.Proc) in.Op = kTakeSelf;
}

// Resolves every operand of fused form in; in.Proc is the current
// procedure when all of them exist, else -2 (never run as such).
bool TExecutor::ResolveAll(TXInstr& in) {
  bool found = true;
  TProcedure& home = code_.Procs.Home(CurProc);
  for (TXOperand* o : {&in.T, &in.X[0], &in.X[1], &in.X[2]}) found = Resolve(*o, home) && found;
  in.Proc = found ? CurProc : -2;
  in.Home = found ? &home : nullptr;
  return found;
}

// Places an operand of a fused form where it will be read: a variable that
// exists in the current procedure by its offset and where it lies in home,
// the procedure's first activation; a constant in the pool. False for a
// variable that does not exist.
bool TExecutor::Resolve(TXOperand& o, TProcedure& home) {
  int count;
  switch (o.Scope) {
    case TXItem::kGlobal: count = code_.Globals.Count(); break;
    case TXItem::kLocal: count = cur_->Vars.Count(); break;
    case TXItem::kTemp: count = cur_->Temps.Count(); break;
    default: {
      // A constant: the pooled variable that holds its value, shared by
      // equal constants.
      const TDatum value = o.Scope == kRealConst    ? TDatum::Real(o.R)
                           : o.Scope != kScalarConst ? TDatum::Integer(o.Value)
                           : o.Kind == dkLogical     ? TDatum::Logical(o.Value != 0)
                                                     : TDatum::Char(static_cast<uint8_t>(o.Value));
      size_t i = 1;
      for (; i < pool_.size(); ++i) {
        const TVar& c = pool_[i];
        if (c.Kind == value.Kind && c.IntValue == value.IntValue && c.BoolValue == value.BoolValue &&
            c.CharValue == value.CharValue && std::memcmp(&c.RealValue, &value.RealValue, sizeof value.RealValue) == 0)
          break;
      }
      if (i == pool_.size()) {
        pool_.emplace_back();
        pool_.back().CopyScalar(value);
      }
      o.Home = &pool_[i];
      o.Offset = reinterpret_cast<uintptr_t>(o.Home);  // the constants' scopes have no base
      return true;
    }
  }
  if (static_cast<uint32_t>(o.Value) >= static_cast<uint32_t>(count)) return false;
  o.Offset = static_cast<uintptr_t>(o.Value) * sizeof(TVar);
  o.Home = o.Scope == TXItem::kGlobal ? &code_.Globals[o.Value]
           : o.Scope == TXItem::kLocal ? &home.Vars[o.Value]
                                       : &home.Temps[o.Value];
  return true;
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
TSlot TExecutor::EvalStack(const TXExpr& x) {
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
        if (i.Kind != dkInteger || (two && j.Kind != dkInteger)) ValueError(sIndexMustBeInteger);
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
        // The commonest case, integers, without the promotion steps.
        if (l->Kind == dkInteger && r.Kind == dkInteger && IntegerShortcut(it.Code, l->I, r.I, *l)) continue;
        if (l->IsScalar() && r.IsScalar() && IsScalarOperator(it.Code)) {
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
  const int32_t pos = ElementPosition(a, i.I, j ? &j->I : nullptr);
  switch (a.Kind) {
    case dkIntegerArray: return TSlot::Int(a.Ints() ? a.Ints()[pos] : a.IntValue);
    case dkRealArray: return TSlot::Real(a.Reals() ? a.Reals()[pos] : a.RealValue);
    case dkCharArray: return TSlot::Char(a.Chars() ? a.Chars()[pos] : a.CharValue);
    case dkLogicalArray: return TSlot::Logical(a.Bools() ? a.Bools()[pos] != 0 : a.BoolValue != 0);
    default: {
      TDatum d;
      d.FetchItem(a, i.I, j ? j->I : -1);
      const TSlot s = SlotOf(d);
      return s.IsScalar() ? s : TSlot();
    }
  }
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
  if (i.Kind != dkInteger || (j && j->Kind != dkInteger)) ValueError(sIndexMustBeInteger);
  const int32_t pos = ElementPosition(a, i.I, j ? &j->I : nullptr);
  if (pos >= a.ElementCount()) return;
  TSlot e = v;
  ConvertSlot(e, a.Kind - 4);
  PutElement(a, pos, e);
}

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
  if (n + m >= static_cast<size_t>(kMaxArraySize)) {
    // The concatenation's own failure, with its message: the size it would
    // need, length + 1 (two strings hold at most 20000 characters).
    TDatum sized;
    sized.Kind = dkChar;
    sized.MakeArray(static_cast<int>(n + m) + 1);
  }
  // A character 0 counts towards the limit, but it ends the text: the
  // assignment keeps only what comes before it.
  if (r.Kind == dkChar && one == 0) m = 0;
  const size_t total = n + m;
  if (total > size) ValueError(sArrayOutOfBounds);
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
