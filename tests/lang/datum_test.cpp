#include <gtest/gtest.h>

#include <cmath>

#include "lang_test_util.h"
#include "variables.h"

TEST(Conversions, RealToIntegerRoundsTiesToEven) {
  for (auto [in, out] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {-0.5, 0}}) {
    TDatum target;
    target.Kind = dkInteger;
    target.AssignChecked(TDatum::Real(in), false);
    EXPECT_EQ(target.Kind, dkInteger);
    EXPECT_EQ(target.IntValue, out) << in;
  }
}

TEST(Conversions, IntegerIntoCharacterKeepsLowByte) {
  TDatum c;
  c.Kind = dkChar;
  c.AssignChecked(TDatum::Integer(300), false);
  EXPECT_EQ(c.Kind, dkChar);
  EXPECT_EQ(c.CharValue, 44);
  c.AssignChecked(TDatum::Integer(-1), false);
  EXPECT_EQ(c.CharValue, 255);
  c.AssignChecked(TDatum::Real(65.5), false);  // rounds to 66 first
  EXPECT_EQ(c.CharValue, 66);
}

TEST(Conversions, LogicalAndBackAndOutOfRangeReals) {
  TDatum b;
  b.Kind = dkLogical;
  b.AssignChecked(TDatum::Real(0.5), false);
  EXPECT_EQ(b.BoolValue, 1);
  b.AssignChecked(TDatum::Char(0), false);
  EXPECT_EQ(b.BoolValue, 0);
  TDatum r;
  r.Kind = dkReal;
  r.AssignChecked(TDatum::Logical(true), false);
  EXPECT_EQ(r.RealValue, 1.0);

  // A real outside the 32-bit range is never cast: it is a fault of its own.
  for (double bad : {3e9, -2147483649.0, std::nan("")}) {
    TDatum i;
    i.Kind = dkInteger;
    EXPECT_THROW(i.AssignChecked(TDatum::Real(bad), false), EUnexpectedFault) << bad;
  }
  TDatum i;
  i.Kind = dkInteger;
  EXPECT_NO_THROW(i.AssignChecked(TDatum::Real(-2147483648.0), false));
  EXPECT_EQ(i.IntValue, INT32_MIN);
}

TEST(Conversions, RealToIntegerAtBothEndsOfTheRange) {
  // Rounded first, ties to even: a half above the top rounds out of range,
  // a half below the bottom rounds back into it.
  const struct {
    double real;
    bool fits;
    int32_t value;
  } cases[] = {
      {2147483647.0, true, INT32_MAX},      {2147483647.4, true, INT32_MAX},
      {2147483647.5, false, 0},             {2147483648.0, false, 0},
      {-2147483648.0, true, INT32_MIN},     {-2147483648.5, true, INT32_MIN},
      {-2147483648.6, false, 0},            {-2147483649.0, false, 0},
  };
  for (const auto& c : cases) {
    TDatum i;
    i.Kind = dkInteger;
    if (!c.fits) {
      EXPECT_THROW(i.AssignChecked(TDatum::Real(c.real), false), EUnexpectedFault) << c.real;
      continue;
    }
    i.AssignChecked(TDatum::Real(c.real), false);
    EXPECT_EQ(i.IntValue, c.value) << c.real;
  }
}

TEST(AssignChecked, ArrayAgainstScalarMessages) {
  TDatum ints = MakeArrayOf(dkInteger, 5);
  TDatum reals = MakeArrayOf(dkReal, 5);
  TDatum scalar = TDatum::Integer(1);
  EXPECT_EQ(ErrorOf([&] { ints.AssignChecked(scalar, false); }), "Ожидается массив, а не число.");
  EXPECT_EQ(ErrorOf([&] { scalar.AssignChecked(ints, false); }), "Ожидается число, а не массив.");
  EXPECT_EQ(ErrorOf([&] { ints.AssignChecked(reals, false); }), "Ожидается массив целых значений.");
  EXPECT_EQ(ErrorOf([&] { reals.AssignChecked(ints, false); }), "Ожидается массив вещественных значений.");
  TDatum bools = MakeArrayOf(dkLogical, 5);
  EXPECT_EQ(ErrorOf([&] { bools.AssignChecked(ints, false); }), "Ожидается массив логических значений.");
  TDatum chars = MakeArrayOf(dkChar, 5);
  EXPECT_EQ(ErrorOf([&] { chars.AssignChecked(ints, false); }), "Ожидается массив символьных значений.");
  TDatum six = MakeArrayOf(dkInteger, 6);
  EXPECT_EQ(ErrorOf([&] { ints.AssignChecked(six, false); }), "Несовпадение размеров при присваивании массивов");
}

TEST(AssignChecked, ArraysAreCopiedNotShared) {
  TDatum a = MakeArrayOf(dkInteger, 3);
  TDatum b = MakeArrayOf(dkInteger, 3);
  b.Ints()[1] = 7;
  a.AssignChecked(b, false);
  b.Ints()[1] = 8;
  EXPECT_EQ(a.Ints()[1], 7);
  // A full assignment (arguments, results) takes the source's size.
  TDatum arg = MakeArrayOf(dkInteger, 1);
  arg.AssignChecked(MakeArrayOf(dkInteger, 40), true);
  EXPECT_EQ(arg.Size1, 40);
  EXPECT_NE(arg.Ints(), nullptr);
}

TEST(Strings, SizingAndTerminators) {
  TDatum s = MakeArrayOf(dkChar, 10);
  s.AssignChecked(StringOf("0123456789", 11), false);  // exactly fits: no final 0
  EXPECT_EQ(s.AsString(), "0123456789");
  EXPECT_EQ(ErrorOf([&] { s.AssignChecked(StringOf("0123456789A", 12), false); }), "Выход за границы массива");
  EXPECT_EQ(ErrorOf([&] { s.SetString("0123456789A"); }), "слишком длинная символьная строка");
  s.SetString("abc");  // shorter text clears the rest
  EXPECT_EQ(s.AsString(), "abc");
  EXPECT_EQ(s.Chars()[3], 0);

  TDatum fresh;
  fresh.Kind = dkCharArray;
  fresh.SetString("hello");
  EXPECT_EQ(fresh.Size1, 6);
  EXPECT_EQ(fresh.AsString(), "hello");

  TDatum noBuffer;
  noBuffer.Kind = dkCharArray;
  EXPECT_EQ(ErrorOf([&] { (void)noBuffer.AsString(); }), "ожидаемый массив не найден");
  EXPECT_EQ(ErrorOf([&] { (void)TDatum::Integer(1).AsString(); }), "неверная операция с символьными строками");
  EXPECT_EQ(TDatum::Char('x').AsString(), "x");
}

TEST(Arrays, SizeLimits) {
  EXPECT_EQ(ErrorOf([] { MakeArrayOf(dkInteger, 10001); }),
            "Неверный размер массива 10001, он должен быть в интервале от 1 до 10000.");
  EXPECT_EQ(ErrorOf([] { MakeArrayOf(dkInteger, 0); }),
            "Неверный размер массива 0, он должен быть в интервале от 1 до 10000.");
  EXPECT_EQ(ErrorOf([] { MakeArrayOf(dkInteger, 200, 51); }), "Массив не может содержать более 10000 элементов.");
  EXPECT_EQ(ErrorOf([] { MakeArrayOf(dkInteger, 100, 100); }), "");
  TDatum scalar = TDatum::Integer(0);
  EXPECT_EQ(ErrorOf([&] { scalar.MakeArray2(3); }), "Некорректное объявление массива.");
  EXPECT_THROW(MakeArrayOf(dkInteger, 10001), ECompileException);
}

TEST(Arrays, StoreAndFetchWithRangeMessages) {
  TDatum a = MakeArrayOf(dkInteger, 5);
  a.StoreItem(TDatum::Real(2.5), TDatum::Integer(4), nullptr);  // converted to the element kind
  EXPECT_EQ(a.Kind, dkIntegerArray);
  EXPECT_EQ(a.Ints()[4], 2);
  EXPECT_EQ(ErrorOf([&] { a.StoreItem(TDatum::Integer(1), TDatum::Integer(5), nullptr); }),
            "Индекс элемента массива 5 выходит из диапазона [0..4].");
  EXPECT_EQ(ErrorOf([&] { a.StoreItem(TDatum::Integer(1), TDatum::Integer(-1), nullptr); }),
            "Индекс элемента массива -1 выходит из диапазона [0..4].");
  EXPECT_EQ(ErrorOf([&] { a.StoreItem(TDatum::Integer(1), TDatum::Real(1.0), nullptr); }),
            "Индекс элемента массива должен быть целым числом.");

  TDatum e;
  e.FetchItem(a, 4, -1);
  EXPECT_EQ(e.Kind, dkInteger);
  EXPECT_EQ(e.IntValue, 2);
  EXPECT_FALSE(e.HasBuffer());
  EXPECT_EQ(ErrorOf([&] { e.FetchItem(a, 5, -1); }), "Индекс элемента массива 5 выходит из диапазона [0..4].");
  EXPECT_EQ(ErrorOf([&] { e.FetchItem(a, 1, 0); }),
            "При обращении к простому массиву нельзя использовать два индекса.");
  EXPECT_EQ(ErrorOf([&] { e.FetchItem(TDatum::Integer(3), 0, -1); }), "Простая переменная используется как массив.");
}

TEST(Arrays, TwoDimensionsAreRowMajorAndReachableThroughOneIndex) {
  TDatum m = MakeArrayOf(dkReal, 3, 4);
  const TDatum two = TDatum::Integer(2);
  m.StoreItem(TDatum::Integer(7), TDatum::Integer(1), &two);
  EXPECT_EQ(m.Reals()[1 * 4 + 2], 7.0);
  TDatum e;
  e.FetchItem(m, 1, 2);
  EXPECT_EQ(e.RealValue, 7.0);
  m.StoreItem(TDatum::Integer(5), TDatum::Integer(2), nullptr);  // one index: flat position 2
  EXPECT_EQ(m.Reals()[2], 5.0);
  e.FetchItem(m, 2, -1);
  EXPECT_EQ(e.RealValue, 5.0);
  EXPECT_EQ(ErrorOf([&] { e.FetchItem(m, 1, 4); }), "Индекс элемента массива 4 выходит из диапазона [0..3].");
  const TDatum j = TDatum::Integer(4);
  EXPECT_EQ(ErrorOf([&] { m.StoreItem(TDatum::Integer(1), TDatum::Integer(0), &j); }),
            "Индекс элемента массива 4 выходит из диапазона [0..3].");
}

TEST(Lists, ItemStackAndNames) {
  TStackDatum s;
  s.Push(TDatum::Integer(1));
  s.Push(TDatum::Integer(2));
  EXPECT_EQ(s.Item(0).IntValue, 2);  // the top is the last pushed
  EXPECT_EQ(s.Postfix()[0].IntValue, 1);
  TDatum out;
  s.Pop(out);
  EXPECT_EQ(out.IntValue, 2);
  EXPECT_EQ(s.Count(), 1);

  TVarList vars;
  vars.Add(TVar("Count", dkInteger));
  EXPECT_EQ(vars.IndexOf("Count"), 0);
  EXPECT_EQ(vars.IndexOf("count"), -1);
  EXPECT_EQ(ErrorOf([&] { vars.Item(3); }), "Неверный индекс переменой в списке: 3.");
  EXPECT_THROW(vars.Item(-1), EListIndexError);
}

TEST(Lists, FullCopiesOfExpressionsAreDeep) {
  TDatum ref;
  ref.Kind = dkGlobalItemRef;
  ref.Index1 = std::make_unique<TStackDatum>();
  ref.Index1->Push(TDatum::Integer(3));
  TDatum copy;
  copy.Assign(ref);
  ASSERT_TRUE(copy.Index1);
  EXPECT_NE(copy.Index1.get(), ref.Index1.get());
  EXPECT_EQ(copy.Index1->Item(0).IntValue, 3);
}
