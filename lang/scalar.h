// The scalar rules of the language, written once: conversions between the
// four scalar kinds and every operator on two scalars.
//
// A scalar travels as a TSlot, sixteen bytes that fit two registers, so the
// interpreter's evaluation stack uses these functions directly and inlines
// them; ApplyOperator of the values layer converts its operands to slots and
// calls the same functions, so both paths give the same kinds, values and
// errors by construction.
#pragma once

#include <cmath>
#include <cstdint>

#include "datum.h"
#include "errors.h"
#include "string_table.h"

// A scalar, or a reference to a value that is not one (an array or string
// living elsewhere: a variable, a constant of an expression, a scratch value).
// Loading a whole array into an expression therefore does not copy it; where
// the language copies (assignment, arguments), the store does the copy.
struct TSlot {
  uint8_t Kind = dkNone;  // a scalar kind with its value in I or R; any other kind with Ref
  union {
    int64_t Bits = 0;     // the whole word: a value is always stored whole, never
                          // one field into a word read whole later (which stalls)
    int32_t I;            // logical 0/1, character 0..255, integer
    double R;             // real
    const TDatum* Ref;    // the value itself when it is not a scalar; not owned
  };

  bool IsScalar() const { return IsScalarKind(Kind); }

  static TSlot Int(int32_t v) { TSlot s; s.Kind = dkInteger; s.Bits = static_cast<uint32_t>(v); return s; }
  static TSlot Real(double v) { TSlot s; s.Kind = dkReal; s.R = v; return s; }
  static TSlot Logical(bool v) { TSlot s; s.Kind = dkLogical; s.Bits = v ? 1 : 0; return s; }
  static TSlot Char(uint8_t v) { TSlot s; s.Kind = dkChar; s.Bits = v; return s; }
};
static_assert(sizeof(TSlot) == 16);

// The slot of a value: inline for a scalar, a reference otherwise.
[[gnu::always_inline]] inline TSlot SlotOf(const TDatum& d) {
  TSlot s;
  s.Kind = d.Kind;
  switch (d.Kind) {
    case dkInteger: s.Bits = static_cast<uint32_t>(d.IntValue); break;
    case dkReal: s.R = d.RealValue; break;
    case dkLogical: s.Bits = d.BoolValue ? 1 : 0; break;
    case dkChar: s.Bits = d.CharValue; break;
    default: s.Ref = &d; break;
  }
  return s;
}

// A scalar slot's value as an integer (rounded when real), a real, a truth.
inline int32_t SlotInt(const TSlot& s) { return s.Kind == dkReal ? RoundToInt32(s.R) : s.I; }
inline double SlotReal(const TSlot& s) { return s.Kind == dkReal ? s.R : static_cast<double>(s.I); }
inline bool SlotTruth(const TSlot& s) { return s.Kind == dkReal ? s.R != 0.0 : s.I != 0; }

// Converts a scalar slot to scalar kind k; any other k leaves it.
inline void ConvertSlot(TSlot& s, int k) {
  if (s.Kind == k) return;
  switch (k) {
    case dkLogical: s = TSlot::Logical(SlotTruth(s)); break;
    case dkChar: s = TSlot::Char(static_cast<uint8_t>(SlotInt(s) & 0xFF)); break;
    case dkInteger: s = TSlot::Int(SlotInt(s)); break;
    case dkReal: s = TSlot::Real(SlotReal(s)); break;
    default: break;
  }
}

// Writes a scalar slot into the scalar field of d for kind k (d.Kind := k).
inline void WriteScalar(TDatum& d, const TSlot& s, int k) {
  TSlot v = s;
  ConvertSlot(v, k);
  d.Kind = static_cast<uint8_t>(k);
  switch (k) {
    case dkLogical: d.BoolValue = static_cast<uint8_t>(v.I); break;
    case dkChar: d.CharValue = static_cast<uint8_t>(v.I); break;
    case dkInteger: d.IntValue = v.I; break;
    default: d.RealValue = v.R; break;
  }
}

// A scalar slot as a value of its own kind.
inline TDatum DatumOf(const TSlot& s) {
  switch (s.Kind) {
    case dkLogical: return TDatum::Logical(s.I != 0);
    case dkChar: return TDatum::Char(static_cast<uint8_t>(s.I));
    case dkInteger: return TDatum::Integer(s.I);
    case dkReal: return TDatum::Real(s.R);
    default: return TDatum();
  }
}

// A scalar stored into a variable of its own kind: the commonest store,
// without conversions. False when the kinds differ.
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

// The operators whose operands are scalars (every operator but
// concatenation, which needs a string).
inline bool IsScalarOperator(uint8_t op) { return op >= ocAdd && op <= ocOr; }

// A real result that is not finite: overflow, or an invalid operation.
[[noreturn]] void RealFault(double v);
// The power operator on two scalars (out of line: it is rare).
TSlot ApplyPower(const TSlot& l, const TSlot& r, int common);

// A comparison operator on two integers or two reals.
template <typename T>
[[gnu::always_inline]] inline TSlot Compare(uint8_t op, T a, T b) {
  switch (op) {
    case ocEq: return TSlot::Logical(a == b);
    case ocNe: return TSlot::Logical(a != b);
    case ocLt: return TSlot::Logical(a < b);
    case ocLe: return TSlot::Logical(a <= b);
    case ocGt: return TSlot::Logical(a > b);
    default: return TSlot::Logical(a >= b);
  }
}

// The cases on two integers that need no conversion: the checked
// arithmetic and the comparisons, into out. False for any other operator.
[[gnu::always_inline]] inline bool IntegerShortcut(uint8_t op, int32_t a, int32_t b, TSlot& out) {
  int32_t v;
  switch (op) {
    case ocDiv:
    case ocMod:
      if (b == 0) RunTimeError(sDivisionByZero);
      if (a == INT32_MIN && b == -1) throw EIntOverflow();
      v = op == ocDiv ? a / b : a % b;
      break;
    case ocAdd:
      if (__builtin_add_overflow(a, b, &v)) throw EIntOverflow();
      break;
    case ocSub:
      if (__builtin_sub_overflow(a, b, &v)) throw EIntOverflow();
      break;
    case ocMul:
      if (__builtin_mul_overflow(a, b, &v)) throw EIntOverflow();
      break;
    case ocEq: case ocNe: case ocLt: case ocLe: case ocGt: case ocGe:
      out = Compare(op, a, b);
      return true;
    default: return false;
  }
  out = TSlot::Int(v);
  return true;
}

// An arithmetic operator (+ - * / %) on two reals: division by zero and a
// remainder are errors, and the result must stay finite.
[[gnu::always_inline]] inline double RealArith(uint8_t op, double a, double b) {
  double v;
  switch (op) {
    case ocAdd: v = a + b; break;
    case ocSub: v = a - b; break;
    case ocMul: v = a * b; break;
    case ocDiv:
      if (b == 0.0) [[unlikely]] RunTimeError(sDivisionByZero);
      v = a / b;
      break;
    default: RunTimeError(sRealRemainder);
  }
  if (!std::isfinite(v)) [[unlikely]] RealFault(v);
  return v;
}

// Operator op (IsScalarOperator) on two scalar slots. Operands are promoted
// to the higher of their kinds (logical < character < integer < real);
// arithmetic on logicals and characters gives that kind back, comparisons
// give a logical, "=" the left operand in the common kind. For ocNot the
// left operand is ignored.
inline TSlot ApplyScalar(uint8_t op, const TSlot& l, const TSlot& r) {
  const int common = l.Kind > r.Kind ? l.Kind : r.Kind;
  if (op >= ocNot) {
    const bool a = SlotTruth(l), b = SlotTruth(r);
    return TSlot::Logical(op == ocNot ? !b : op == ocAnd ? (a && b) : (a || b));
  }
  if (op == ocPow) return ApplyPower(l, r, common);
  if (common == dkReal) {
    const double a = SlotReal(l), b = SlotReal(r);
    if (op >= ocAdd && op <= ocMod) return TSlot::Real(RealArith(op, a, b));
    if (op == ocAssign) return TSlot::Real(a);
    return Compare(op, a, b);
  }
  const int32_t a = l.I, b = r.I;
  TSlot out;
  int32_t v;
  switch (op) {
    case ocAssign: v = a; break;
    default:
      IntegerShortcut(op, a, b, out);
      if (out.Kind == dkLogical) return out;
      v = out.I;
      break;
  }
  if (common == dkLogical) return TSlot::Logical(v != 0);
  if (common == dkChar) return TSlot::Char(static_cast<uint8_t>(v & 0xFF));
  return TSlot::Int(v);
}
