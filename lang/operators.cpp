// The language's operators applied to two values.
#include <cmath>
#include <string>

#include "datum.h"
#include "errors.h"
#include "string_table.h"
#include "variables.h"

namespace {

[[noreturn]] void RunTimeError(TStrId id) { throw EExecuteException(RunTimeErrorText(Str(id))); }

// A scalar's value as the promotion sees it. Only called when no operand is
// real, or for ScalarAsReal on any operand.
double ScalarAsReal(const TDatum& d) {
  switch (d.Kind) {
    case dkLogical: return d.BoolValue ? 1.0 : 0.0;
    case dkChar: return d.CharValue;
    case dkReal: return d.RealValue;
    case dkInteger: return d.IntValue;
    default: return d.IntValue;
  }
}

int32_t ScalarAsInt(const TDatum& d) {
  switch (d.Kind) {
    case dkLogical: return d.BoolValue ? 1 : 0;
    case dkChar: return d.CharValue;
    case dkReal: return RoundToInt32(d.RealValue);
    default: return d.IntValue;
  }
}

// Operands that are not scalars (a whole array in an output expression, a
// value never set) take part as integers, as their conversion leaves them.
int PromotionRank(int kind) { return IsScalarKind(kind) ? kind : dkInteger; }

void Concatenate(TDatum& left, const TDatum& right) {
  const bool okLeft = left.Kind == dkChar || left.Kind == dkCharArray;
  const bool okRight = right.Kind == dkChar || right.Kind == dkCharArray;
  if (!okLeft || !okRight) throw EExecuteException(Str(sBadStringOperation));
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

double CheckedReal(double v) {
  if (std::isinf(v)) throw EFloatOverflow();
  if (std::isnan(v)) throw EUnexpectedFault(Str(sInvalidOperationFault));
  return v;
}

void IntegerOperation(uint8_t op, TDatum& left, int32_t a, int32_t b) {
  int32_t r = 0;
  switch (op) {
    case ocAdd:
      if (__builtin_add_overflow(a, b, &r)) throw EIntOverflow();
      break;
    case ocSub:
      if (__builtin_sub_overflow(a, b, &r)) throw EIntOverflow();
      break;
    case ocMul:
      if (__builtin_mul_overflow(a, b, &r)) throw EIntOverflow();
      break;
    case ocDiv:
      if (b == 0) RunTimeError(sDivisionByZero);
      if (a == INT32_MIN && b == -1) throw EIntOverflow();
      r = a / b;
      break;
    case ocMod:
      if (b == 0) RunTimeError(sDivisionByZero);
      if (a == INT32_MIN && b == -1) throw EIntOverflow();
      r = a % b;
      break;
    case ocPow:
      if (b >= 1) {
        r = RoundToInt32(CheckedReal(std::pow(static_cast<double>(a), static_cast<double>(b))));
      } else {
        if (a == 0 && b < 0) throw EUnexpectedFault(Str(sZeroPowerFault));
        left.Kind = dkReal;
        left.RealValue = CheckedReal(std::pow(static_cast<double>(a), static_cast<double>(b)));
        return;
      }
      break;
    case ocEq: left.Kind = dkLogical; left.BoolValue = a == b; return;
    case ocNe: left.Kind = dkLogical; left.BoolValue = a != b; return;
    case ocLt: left.Kind = dkLogical; left.BoolValue = a < b; return;
    case ocLe: left.Kind = dkLogical; left.BoolValue = a <= b; return;
    case ocGt: left.Kind = dkLogical; left.BoolValue = a > b; return;
    case ocGe: left.Kind = dkLogical; left.BoolValue = a >= b; return;
    default: r = a; break;  // "=" leaves the left value
  }
  left.Kind = dkInteger;
  left.IntValue = r;
}

void RealOperation(uint8_t op, TDatum& left, double a, double b) {
  double r = a;
  switch (op) {
    case ocAdd: r = CheckedReal(a + b); break;
    case ocSub: r = CheckedReal(a - b); break;
    case ocMul: r = CheckedReal(a * b); break;
    case ocDiv:
      if (b == 0.0) RunTimeError(sDivisionByZero);
      r = CheckedReal(a / b);
      break;
    case ocMod: RunTimeError(sRealRemainder);
    case ocPow:
      if (a == 0.0 && b < 0.0) throw EUnexpectedFault(Str(sZeroPowerFault));
      r = CheckedReal(std::pow(a, b));
      break;
    case ocEq: left.Kind = dkLogical; left.BoolValue = a == b; return;
    case ocNe: left.Kind = dkLogical; left.BoolValue = a != b; return;
    case ocLt: left.Kind = dkLogical; left.BoolValue = a < b; return;
    case ocLe: left.Kind = dkLogical; left.BoolValue = a <= b; return;
    case ocGt: left.Kind = dkLogical; left.BoolValue = a > b; return;
    case ocGe: left.Kind = dkLogical; left.BoolValue = a >= b; return;
    default: break;
  }
  left.Kind = dkReal;
  left.RealValue = r;
}

}  // namespace

void ApplyOperator(uint8_t op, TDatum& left, const TDatum& right) {
  if (left.Kind == dkCharArray || right.Kind == dkCharArray) {
    if (op != ocAdd) throw EExecuteException(Str(sBadStringOperation));
    Concatenate(left, right);
    return;
  }
  const int common = std::max(PromotionRank(left.Kind), PromotionRank(right.Kind));

  if (op == ocNot || op == ocAnd || op == ocOr) {
    // Integers (or reals when either is real) first, as the promotion does:
    // a real 0.5 is true.
    const bool a = common == dkReal ? ScalarAsReal(left) != 0.0 : ScalarAsInt(left) != 0;
    const bool b = common == dkReal ? ScalarAsReal(right) != 0.0 : ScalarAsInt(right) != 0;
    left.Kind = dkLogical;
    left.BoolValue = op == ocNot ? !b : op == ocAnd ? (a && b) : (a || b);
    return;
  }

  if (common == dkReal) {
    RealOperation(op, left, ScalarAsReal(left), ScalarAsReal(right));
    return;
  }

  const int32_t b = ScalarAsInt(right);
  left.ToInteger();
  IntegerOperation(op, left, left.IntValue, b);
  if (left.Kind == dkInteger) {
    if (common == dkLogical) left.ToLogical();
    else if (common == dkChar) left.ToChar();
  }
}
