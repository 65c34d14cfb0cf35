#include <gtest/gtest.h>

#include <climits>

#include "lang_test_util.h"
#include "variables.h"

namespace {

TDatum Apply(uint8_t op, TDatum left, const TDatum& right) {
  ApplyOperator(op, left, right);
  return left;
}

TDatum I(int32_t v) { return TDatum::Integer(v); }
TDatum R(double v) { return TDatum::Real(v); }

}  // namespace

TEST(Operators, IntegerArithmetic) {
  EXPECT_EQ(Apply(ocDiv, I(7), I(2)).IntValue, 3);
  EXPECT_EQ(Apply(ocDiv, I(-7), I(2)).IntValue, -3);
  EXPECT_EQ(Apply(ocMod, I(-7), I(2)).IntValue, -1);
  EXPECT_EQ(Apply(ocMod, I(7), I(-2)).IntValue, 1);
  const TDatum p = Apply(ocPow, I(2), I(10));
  EXPECT_EQ(p.Kind, dkInteger);
  EXPECT_EQ(p.IntValue, 1024);
  const TDatum q = Apply(ocPow, I(2), I(-1));
  EXPECT_EQ(q.Kind, dkReal);
  EXPECT_EQ(q.RealValue, 0.5);
  const TDatum z = Apply(ocPow, I(5), I(0));
  EXPECT_EQ(z.Kind, dkReal);
  EXPECT_EQ(z.RealValue, 1.0);
  const TDatum r = Apply(ocPow, R(2.0), I(3));
  EXPECT_EQ(r.Kind, dkReal);
  EXPECT_EQ(r.RealValue, 8.0);
  EXPECT_EQ(Apply(ocAssign, I(5), I(9)).IntValue, 5);
  const TDatum zz = Apply(ocPow, I(0), I(0));  // 0 ^ 0 is 1, like 0.0 ^ 0
  EXPECT_EQ(zz.Kind, dkReal);
  EXPECT_EQ(zz.RealValue, 1.0);
}

TEST(Operators, PromotionKeepsTheCommonKind) {
  const TDatum cc = Apply(ocAdd, TDatum::Char('a'), TDatum::Char(1));
  EXPECT_EQ(cc.Kind, dkChar);
  EXPECT_EQ(cc.CharValue, 'b');
  EXPECT_EQ(Apply(ocSub, TDatum::Char(0), TDatum::Char(1)).CharValue, 255);  // wraps around
  const TDatum ci = Apply(ocAdd, TDatum::Char('a'), I(1));
  EXPECT_EQ(ci.Kind, dkInteger);
  EXPECT_EQ(ci.IntValue, 98);
  const TDatum ll = Apply(ocAdd, TDatum::Logical(true), TDatum::Logical(true));
  EXPECT_EQ(ll.Kind, dkLogical);
  EXPECT_EQ(ll.BoolValue, 1);
  const TDatum ir = Apply(ocAdd, I(1), R(0.5));
  EXPECT_EQ(ir.Kind, dkReal);
  EXPECT_EQ(ir.RealValue, 1.5);
  const TDatum cmp = Apply(ocLt, TDatum::Char('a'), I(98));
  EXPECT_EQ(cmp.Kind, dkLogical);
  EXPECT_EQ(cmp.BoolValue, 1);
}

TEST(Operators, LogicalOperators) {
  EXPECT_EQ(Apply(ocAnd, R(0.5), TDatum::Logical(true)).BoolValue, 1);  // 0.5 counts as true
  EXPECT_EQ(Apply(ocAnd, I(2), I(0)).BoolValue, 0);
  EXPECT_EQ(Apply(ocOr, I(0), I(3)).BoolValue, 1);
  EXPECT_EQ(Apply(ocNot, I(0), I(0)).BoolValue, 1);
  EXPECT_EQ(Apply(ocNot, TDatum::Logical(true), TDatum::Logical(true)).Kind, dkLogical);
  EXPECT_EQ(Apply(ocNe, R(1.0), I(1)).BoolValue, 0);
  EXPECT_EQ(Apply(ocGe, I(1), I(1)).BoolValue, 1);
}

TEST(Operators, DivisionErrorsComeWrapped) {
  EXPECT_EQ(ErrorOf([] { Apply(ocDiv, I(1), I(0)); }), "Ошибка при выполнении программы: деление на нуль.");
  EXPECT_EQ(ErrorOf([] { Apply(ocDiv, R(1), R(0.0)); }), "Ошибка при выполнении программы: деление на нуль.");
  EXPECT_EQ(ErrorOf([] { Apply(ocMod, I(1), I(0)); }), "Ошибка при выполнении программы: деление на нуль.");
  EXPECT_EQ(ErrorOf([] { Apply(ocMod, R(5), I(2)); }),
            "Ошибка при выполнении программы: операция взятия остатка не определена для вещественных чисел.");
}

TEST(Operators, OverflowNeverWraps) {
  EXPECT_THROW(Apply(ocAdd, I(INT_MAX), I(1)), EIntOverflow);
  EXPECT_THROW(Apply(ocSub, I(INT_MIN), I(1)), EIntOverflow);
  EXPECT_THROW(Apply(ocMul, I(65536), I(65536)), EIntOverflow);
  EXPECT_THROW(Apply(ocDiv, I(INT_MIN), I(-1)), EIntOverflow);
  EXPECT_THROW(Apply(ocMod, I(INT_MIN), I(-1)), EIntOverflow);
  EXPECT_THROW(Apply(ocMul, R(1e200), R(1e200)), EFloatOverflow);
  EXPECT_THROW(Apply(ocPow, R(10.0), R(400.0)), EFloatOverflow);
  // An integer power beyond the 32-bit range cannot be rounded back.
  EXPECT_THROW(Apply(ocPow, I(2), I(40)), EUnexpectedFault);
  EXPECT_THROW(Apply(ocPow, I(0), I(-1)), EUnexpectedFault);
  EXPECT_THROW(Apply(ocPow, R(-8.0), R(0.5)), EUnexpectedFault);
  EXPECT_EQ(Apply(ocPow, I(-2), I(31)).IntValue, INT_MIN);
}

TEST(Operators, StringConcatenation) {
  const TDatum s = Apply(ocAdd, StringOf("abc", 4), StringOf("d", 2));
  EXPECT_EQ(s.Kind, dkCharArray);
  EXPECT_EQ(s.Size1, 5);
  EXPECT_EQ(s.AsString(), "abcd");
  EXPECT_EQ(s.Chars()[4], 0);
  EXPECT_EQ(Apply(ocAdd, TDatum::Char('x'), StringOf("yz", 10)).AsString(), "xyz");
  EXPECT_EQ(ErrorOf([] { Apply(ocEq, StringOf("a", 2), StringOf("a", 2)); }),
            "неверная операция с символьными строками");
  EXPECT_EQ(ErrorOf([] { Apply(ocAdd, StringOf("a", 2), I(1)); }), "неверная операция с символьными строками");
}

TEST(Operators, ConcatenationLimit) {
  const TDatum big = StringOf(std::string(9998, 'a'), 9999);
  EXPECT_EQ(Apply(ocAdd, big, TDatum::Char('b')).Size1, 10000);  // 9999 characters fit
  EXPECT_THROW(Apply(ocAdd, Apply(ocAdd, big, TDatum::Char('b')), TDatum::Char('c')), ECompileException);
  // The message names the size the result would need.
  const TDatum six = StringOf(std::string(6000, 'a'), 6001);
  const TDatum five = StringOf(std::string(5000, 'b'), 5001);
  EXPECT_EQ(ErrorOf([&] { Apply(ocAdd, six, five); }),
            "Неверный размер массива 11001, он должен быть в интервале от 1 до 10000.");
}
