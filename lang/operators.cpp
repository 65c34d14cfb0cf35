// The language's operators applied to two values: strings here, scalars
// through the rules of scalar.h.
#include <cmath>
#include <string>

#include "datum.h"
#include "errors.h"
#include "scalar.h"
#include "string_table.h"
#include "variables.h"

namespace {

void Concatenate(TDatum& left, const TDatum& right) {
  const bool okLeft = left.Kind == dkChar || left.Kind == dkCharArray;
  const bool okRight = right.Kind == dkChar || right.Kind == dkCharArray;
  if (!okLeft || !okRight) ValueError(sBadStringOperation);
  std::string text = left.AsString();
  text += right.AsString();
  // The result is a fresh array of exactly length + 1 elements; MakeArray
  // refuses 10000 characters or more.
  TDatum result;
  result.Kind = dkChar;
  // Two operands hold at most 10000 characters each, so the size fits an int
  // and the message names the size the result would need.
  result.MakeArray(static_cast<int>(text.size()) + 1);
  result.SetString(text);
  left.Kind = dkCharArray;
  left.Size1 = result.Size1;
  left.Size2 = 0;
  left.Index1.reset();
  left.Index2.reset();
  left.AssignArray(result);
}

// An operand as the promotion sees it: values that are not scalars (a whole
// array in an output expression, a value never set) take part as integers,
// as their conversion leaves them.
TSlot Operand(const TDatum& d) { return d.IsScalar() ? SlotOf(d) : TSlot::Int(d.IntValue); }

double CheckedReal(double v) {
  if (!std::isfinite(v)) RealFault(v);
  return v;
}

}  // namespace

void RealFault(double v) {
  if (std::isinf(v)) throw EFloatOverflow();
  throw EUnexpectedFault(Str(sInvalidOperationFault));
}

// Integers to a positive power stay integers (rounded, in the common kind);
// any other power of integers is real. 0 to a negative power is a fault.
TSlot ApplyPower(const TSlot& l, const TSlot& r, int common) {
  if (common == dkReal) {
    const double a = SlotReal(l), b = SlotReal(r);
    if (a == 0.0 && b < 0.0) throw EUnexpectedFault(Str(sZeroPowerFault));
    return TSlot::Real(CheckedReal(std::pow(a, b)));
  }
  const int32_t a = l.I, b = r.I;
  if (b < 1) {
    if (a == 0 && b < 0) throw EUnexpectedFault(Str(sZeroPowerFault));
    return TSlot::Real(CheckedReal(std::pow(static_cast<double>(a), static_cast<double>(b))));
  }
  const int32_t v = RoundToInt32(CheckedReal(std::pow(static_cast<double>(a), static_cast<double>(b))));
  if (common == dkLogical) return TSlot::Logical(v != 0);
  if (common == dkChar) return TSlot::Char(static_cast<uint8_t>(v & 0xFF));
  return TSlot::Int(v);
}

void ApplyOperator(uint8_t op, TDatum& left, const TDatum& right) {
  if (left.Kind == dkCharArray || right.Kind == dkCharArray) {
    if (op != ocAdd) ValueError(sBadStringOperation);
    Concatenate(left, right);
    return;
  }
  // A code that is no operator leaves the left value, as "=" does.
  const TSlot result = ApplyScalar(IsScalarOperator(op) ? op : static_cast<uint8_t>(ocAssign), Operand(left), Operand(right));
  WriteScalar(left, result, result.Kind);
}
