#include "string_table.h"

#include <gtest/gtest.h>

#include "encoding.h"

TEST(StringTable, TextsComeOutInCp1251) {
  EXPECT_EQ(Cp1251ToUtf8(Str(sDivisionByZero)), "деление на нуль");
  EXPECT_TRUE(IsStrId(sDivisionByZero));
  EXPECT_FALSE(IsStrId(99999));
  EXPECT_EQ(Str(static_cast<TStrId>(99999)), "");
}

TEST(StringTable, LocalisationIsAskedFirstAndEmptyFallsBack) {
  SetLocalisation([](int id) { return id == sDivisionByZero ? std::string("division by zero") : std::string(); });
  EXPECT_EQ(Str(sDivisionByZero), "division by zero");
  EXPECT_EQ(Cp1251ToUtf8(Str(sStringTooLong)), "слишком длинная символьная строка");
  EXPECT_EQ(Cp1251ToUtf8(BuiltinStr(sDivisionByZero)), "деление на нуль");
  SetLocalisation(nullptr);
  EXPECT_EQ(Cp1251ToUtf8(Str(sDivisionByZero)), "деление на нуль");
}

TEST(StringTable, IdsAreUnique) {
  const auto& ids = AllStrIds();
  for (size_t i = 1; i < ids.size(); ++i) EXPECT_LT(ids[i - 1], ids[i]);
}

TEST(Format, FillsPlaceholdersInOrder) {
  EXPECT_EQ(Cp1251ToUtf8(FormatStr(sIndexOutOfRange, {5, 4})),
            "Индекс элемента массива 5 выходит из диапазона [0..4].");
  EXPECT_EQ(Format("%s-%s", {"{", "}"}), "{-}");
  EXPECT_EQ(Format("100%%", {}), "100%");
}

TEST(Format, WidthsPrecisionsAndRealDefaults) {
  EXPECT_EQ(Format("%5d", {42}), "   42");
  EXPECT_EQ(Format("%-5d|", {42}), "42   |");
  EXPECT_EQ(Format("%f", {2.5}), "2.50");  // two decimals by default
  EXPECT_EQ(Format("%8.3f", {3.14159}), "   3.142");
  EXPECT_EQ(Format("%3s", {"1"}), "  1");
  EXPECT_EQ(Format("%2d", {12345}), "12345");  // never cut
  EXPECT_EQ(Format("%f", {1e300}).size(), 304u);
  EXPECT_EQ(Format("%05d", {-42}), "-0042");
}

TEST(Format, SurvivesHostileInput) {
  const std::string big(100000, 'x');
  EXPECT_EQ(Format("<%s>", {big}).size(), big.size() + 2);
  EXPECT_EQ(Format("%d %d", {1}), "1 %d");      // missing argument stays as written
  EXPECT_EQ(Format("%", {1}), "%");              // unfinished placeholder
  EXPECT_EQ(Format("%q", {1}), "%q");            // unknown conversion
  EXPECT_EQ(Format("%99999999999d", {1}).size(), 100000u);  // width is capped
}
