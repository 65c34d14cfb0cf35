#include "vocabulary.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "encoding.h"

namespace {

std::string W(const char* utf8) { return Utf8ToCp1251(utf8); }

TEST(Vocabulary, KeywordsFoldCaseInBothWordSets) {
  TVocabulary v;
  EXPECT_EQ(v.Keyword(W("ЕСЛИ")), kwIf);
  EXPECT_EQ(v.Keyword("If"), kwIf);
  EXPECT_EQ(v.Keyword("iF"), kwIf);
  EXPECT_EQ(v.Keyword(W("ПоКа")), kwWhile);
  EXPECT_EQ(v.Keyword("While"), kwWhile);
  EXPECT_EQ(v.Keyword(W("печатьстр")), kwPrintLn);
  EXPECT_EQ(v.Keyword("COUTLN"), kwCoutLn);
  EXPECT_EQ(v.Keyword("void"), kwVoid);
  EXPECT_EQ(v.Keyword("boolean"), kwLogical);
  EXPECT_EQ(v.Keyword("logical"), kwLogical);
  EXPECT_EQ(v.Keyword(W("дробные")), kwReal);
  EXPECT_EQ(v.Keyword(W("вперед")), kwNone);
  EXPECT_EQ(v.Keyword("ifx"), kwNone);
  EXPECT_EQ(v.Keyword(""), kwNone);
}

TEST(Vocabulary, EveryKeywordNumberHasAWrittenForm) {
  std::set<int> numbers;
  for (const TKeywordWord& k : KeywordWords()) numbers.insert(k.keyword);
  std::set<int> expected;
  for (int i = 1; i <= 16; ++i) expected.insert(i);
  expected.insert({33, 34, 35});
  EXPECT_EQ(numbers, expected);
  EXPECT_TRUE(IsTypeKeyword(kwVoid));
  EXPECT_TRUE(IsTypeKeyword(kwReal));
  EXPECT_FALSE(IsTypeKeyword(kwRepeat));
}

TEST(Vocabulary, LogicalWordsAreNotKeywords) {
  TVocabulary v;
  EXPECT_EQ(v.LogicalConstant(W("Истина")), 1);
  EXPECT_EQ(v.LogicalConstant("TRUE"), 1);
  EXPECT_EQ(v.LogicalConstant(W("ЛОЖЬ")), 0);
  EXPECT_EQ(v.LogicalConstant("false"), 0);
  EXPECT_EQ(v.LogicalConstant("truth"), -1);
  EXPECT_EQ(v.Keyword("true"), kwNone);
}

TEST(Vocabulary, WordOperatorsFollowTheLocalisation) {
  SetLocalisation([](int id) { return id == sOpAndRu ? W("также") : std::string(); });
  TVocabulary v;
  SetLocalisation(nullptr);
  EXPECT_EQ(v.Operators()[29].text, W("также"));
  EXPECT_EQ(v.Operators()[30].text, W("ТАКЖЕ"));
  EXPECT_EQ(v.Operators()[30].code, 31);
}

TEST(Vocabulary, RegistrationOrderPerExecutor) {
  auto turtle = BuiltinsFor(0);
  auto drawer = BuiltinsFor(1);
  auto grondo = BuiltinsFor(2);
  ASSERT_EQ(turtle.size(), 32u + 11 + 5 + 15);
  ASSERT_EQ(drawer.size(), 32u + 11 + 1 + 15);
  ASSERT_EQ(grondo.size(), 32u + 21);
  EXPECT_EQ(turtle[0]->code, 1001);
  EXPECT_EQ(turtle[4]->code, 1006);  // 1005 is not used
  EXPECT_EQ(turtle[31]->code, 2114);
  EXPECT_EQ(turtle[43]->code, 3001);
  EXPECT_EQ(Str(turtle[43]->name), W("вперед"));
  EXPECT_EQ(turtle[48]->code, 2100);
  EXPECT_EQ(drawer[43]->code, 2005);
  EXPECT_EQ(drawer[44]->code, 2100);
  EXPECT_EQ(drawer.back()->code, 2112);
  EXPECT_EQ(grondo[32]->code, 4001);
  EXPECT_EQ(Str(grondo[32]->name), W("вперед"));
  EXPECT_EQ(grondo[38]->code, 4008);
  EXPECT_EQ(grondo.back()->code, 4022);
  EXPECT_EQ(BuiltinsFor(3).size(), 0u);
}

TEST(Vocabulary, BuiltinSignatures) {
  std::map<int, const TBuiltinDef*> byCode;
  for (const TBuiltinDef& d : BuiltinTable()) {
    EXPECT_TRUE(byCode.emplace(d.code, &d).second || d.code == 0) << d.code;
    EXPECT_LE(d.argCount, kMaxBuiltinArgs);
  }
  EXPECT_EQ(byCode.count(1005), 0u);
  EXPECT_EQ(byCode.count(4007), 0u);
  const TBuiltinDef& arc = *byCode.at(2115);
  EXPECT_EQ(arc.argCount, 6);
  EXPECT_EQ(arc.args[4], 5);
  const TBuiltinDef& insert = *byCode.at(1029);
  EXPECT_EQ(insert.result, 7);
  EXPECT_EQ((std::array<uint8_t, 3>{insert.args[0], insert.args[1], insert.args[2]}),
            (std::array<uint8_t, 3>{7, 7, 4}));
  EXPECT_EQ(byCode.at(1017)->argCount, 0);
  EXPECT_EQ(byCode.at(4022)->result, 2);
  EXPECT_EQ(byCode.at(1001)->result, 4);
}

TEST(Vocabulary, RussianNamesMapToEnglish) {
  TVocabulary v;
  ASSERT_NE(v.EnglishName(W("длина")), nullptr);
  EXPECT_EQ(*v.EnglishName(W("длина")), "length");
  EXPECT_EQ(*v.EnglishName(W("КурсорК")), "MoveTo");
  EXPECT_EQ(*v.EnglishName(W("очистить")), "clrscr");
  EXPECT_EQ(*v.EnglishName(W("ЗаливкаДо")), "FillTo");
  EXPECT_EQ(v.EnglishName(W("Длина")), nullptr);
  EXPECT_EQ(v.EnglishName("length"), nullptr);
  EXPECT_EQ(v.EnglishName(W("вперед")), nullptr);
}

TEST(Vocabulary, PlotterOnlyNames) {
  TVocabulary v;
  EXPECT_EQ(PlotterOnlyNameIds().size(), 30u);
  EXPECT_TRUE(v.IsPlotterOnlyName("MoveTo"));
  EXPECT_TRUE(v.IsPlotterOnlyName(W("Дуга")));
  EXPECT_TRUE(v.IsPlotterOnlyName("Line"));
  EXPECT_FALSE(v.IsPlotterOnlyName("line"));
  EXPECT_FALSE(v.IsPlotterOnlyName("sin"));
  // Every plotter name is one of the registered plotter set or its alias.
  std::set<int> plotterIds;
  for (const TBuiltinDef& d : BuiltinTable())
    if (d.code >= 2100 && d.code <= 2115 && d.code != 2114) plotterIds.insert({d.name, d.russianName});
  EXPECT_EQ(plotterIds, std::set<int>(PlotterOnlyNameIds().begin(), PlotterOnlyNameIds().end()));
}

}  // namespace
