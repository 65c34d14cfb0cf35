// Console lines, output formatting and typed input.
#include <gtest/gtest.h>

#include "console.h"
#include "datum.h"
#include "encoding.h"
#include "errors.h"

namespace {

std::string Out(const TDatum& v, int width = 0, int fraction = 0) {
  return Cp1251ToUtf8(FormatOutput(v, width, fraction));
}

std::string Error(const TDatum& v, int width, int fraction) {
  try {
    FormatOutput(v, width, fraction);
  } catch (const EExecuteException& e) {
    return Cp1251ToUtf8(e.Message());
  }
  return "";
}

TEST(ConsoleModel, AddLineFillsALoneEmptyLine) {
  TConsoleModel c;
  EXPECT_FALSE(c.AddLine("a"));
  EXPECT_TRUE(c.AddLine(""));
  c.Append("b");
  c.AppendToLine(0, "c");
  c.AppendToLine(5, "ignored");
  EXPECT_EQ(c.Text(), "ac\nb");
  c.Clear();
  EXPECT_EQ(c.Lines().size(), 1u);
  EXPECT_FALSE(c.AddLine(""));
  EXPECT_EQ(c.Lines().size(), 1u);
}

TEST(ConsoleModel, AStreamedConsoleKeepsOnlyWhatTheRulesNeed) {
  // The same calls on a console that keeps its text and on one that does
  // not give the same answers, while the second holds one short line.
  TConsoleModel kept;
  TConsoleModel streamed;
  streamed.SetKeepText(false);
  for (TConsoleModel* c : {&kept, &streamed}) {
    EXPECT_FALSE(c->AddLine(""));   // a lone empty line stays the only one
    c->Append("first line, long enough");
    EXPECT_TRUE(c->AddLine(""));
    EXPECT_TRUE(c->AddLine(""));    // a blank line is still a line of its own
    EXPECT_FALSE(c->BeginInput());  // the last line is empty
    c->Append("prompt ");
    EXPECT_TRUE(c->BeginInput());
    c->Clear();
    EXPECT_FALSE(c->AddLine(""));
  }
  EXPECT_EQ(streamed.Lines().size(), 1u);
  for (int i = 0; i < 10000; ++i) {
    streamed.Append("0123456789");
    streamed.AddLine("");
  }
  EXPECT_EQ(streamed.Lines().size(), 1u);
  EXPECT_LE(streamed.Lines()[0].size(), 1u);
}

TEST(ConsoleModel, InputStartsOnALineOfItsOwn) {
  TConsoleModel c;
  EXPECT_FALSE(c.BeginInput());
  c.Append("Имя? ");
  EXPECT_TRUE(c.BeginInput());
  EXPECT_EQ(c.Lines().size(), 2u);
}

TEST(OutputFormat, ScalarsWithAndWithoutWidth) {
  EXPECT_EQ(Out(TDatum::Integer(42), 5), "   42");
  EXPECT_EQ(Out(TDatum::Real(3.14159), 8, 3), "   3.142");
  EXPECT_EQ(Out(TDatum::Real(2.5)), "2.50");
  EXPECT_EQ(Out(TDatum::Real(2.5), 6), "  2.50");
  EXPECT_EQ(Out(TDatum::Logical(true)), "Истина");
  EXPECT_EQ(Out(TDatum::Logical(false)), "Ложь");
  EXPECT_EQ(Out(TDatum::Logical(true), 3), "  1");
  EXPECT_EQ(Out(TDatum::Char('x'), 3), "  x");
  EXPECT_EQ(Out(TDatum::Integer(123456), 3), "123456");  // never cut
}

TEST(OutputFormat, RealsRoundAsWrittenAndZeroHasNoSign) {
  const struct {
    double value;
    int width, fraction;
    const char* text;
  } cases[] = {
      // Decimal halves, which the binary value puts just below or above.
      {0.125, 1, 2, "0.13"},
      {2.675, 1, 2, "2.68"},
      {1.005, 1, 2, "1.01"},
      {-2.675, 1, 2, "-2.68"},
      {999.995, 1, 2, "1000.00"},
      {0.5, 1, 0, "0.50"},
      {0.05, 8, 1, "     0.1"},
      {2.5, 0, 0, "2.50"},
      // Everything else as before.
      {2.674999, 1, 2, "2.67"},
      {1.0 / 3.0, 1, 5, "0.33333"},
      {0.1, 1, 20, "0.10000000000000000555"},
      {1e20, 1, 2, "100000000000000000000.00"},
      {123456789.125, 1, 2, "123456789.13"},
      // A value that shows as zero.
      {-0.0, 0, 0, "0.00"},
      {-0.001, 1, 2, "0.00"},
      {-0.004, 6, 2, "  0.00"},
      {-0.005, 1, 2, "-0.01"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Out(TDatum::Real(c.value), c.width, c.fraction), c.text) << c.value << ":" << c.width << ":" << c.fraction;
}

TEST(OutputFormat, NegativeWidthLeftAligns) {
  EXPECT_EQ(Out(TDatum::Integer(42), -5), "42   ");
  EXPECT_EQ(Out(TDatum::Real(3.14159), -8, 2), "3.14    ");
  EXPECT_EQ(Out(TDatum::Logical(false), -2), "0 ");
}

TEST(OutputFormat, StringsArraysAndErrors) {
  TDatum s;
  s.Kind = dkChar;
  s.MakeArray(10);
  s.SetString("abc");
  EXPECT_EQ(Out(s), "abc");
  EXPECT_EQ(Out(s, 5), "  abc");
  TDatum ints;
  ints.Kind = dkInteger;
  ints.MakeArray(3);
  EXPECT_EQ(Out(ints), "");
  EXPECT_EQ(Error(TDatum::Integer(1), 5, 2), "формат дробной части можно указывать только для вещественных чисел");
  TDatum grid;
  grid.Kind = dkChar;
  grid.MakeArray(2);
  grid.MakeArray2(2);
  EXPECT_EQ(Error(grid, 0, 0), "вывод двухмерных массивов не поддерживается");
}

TEST(Input, IntegersAndReals) {
  int32_t n = 0;
  EXPECT_TRUE(ParseIntegerInput(" -17 ", n));
  EXPECT_EQ(n, -17);
  EXPECT_TRUE(ParseIntegerInput("-2147483648", n));
  EXPECT_EQ(n, INT32_MIN);
  EXPECT_FALSE(ParseIntegerInput("2147483648", n));
  EXPECT_FALSE(ParseIntegerInput("", n));
  EXPECT_FALSE(ParseIntegerInput("1-", n));
  EXPECT_FALSE(ParseIntegerInput("12abc", n));
  double r = 0;
  EXPECT_TRUE(ParseRealInput("1.5", r));
  EXPECT_EQ(r, 1.5);
  EXPECT_TRUE(ParseRealInput("1,5", r));
  EXPECT_EQ(r, 1.5);
  EXPECT_TRUE(ParseRealInput("-2e3", r));
  EXPECT_EQ(r, -2000.0);
  EXPECT_FALSE(ParseRealInput("1,5,0", r));
  EXPECT_FALSE(ParseRealInput("inf", r));
  EXPECT_FALSE(ParseRealInput("0x10", r));
  EXPECT_FALSE(ParseRealInput("1e999", r));
}

TEST(Input, Logicals) {
  EXPECT_TRUE(ParseLogicalInput(Utf8ToCp1251("Истина")));
  EXPECT_TRUE(ParseLogicalInput("true"));
  EXPECT_TRUE(ParseLogicalInput(Utf8ToCp1251("и")));
  EXPECT_FALSE(ParseLogicalInput(Utf8ToCp1251("да")));
  EXPECT_FALSE(ParseLogicalInput("false"));
}

}  // namespace
