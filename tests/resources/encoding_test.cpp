#include "encoding.h"

#include <gtest/gtest.h>

TEST(Encoding, RussianRoundTripsThroughCp1251) {
  const std::string utf8 = "Ёжик в тумане: ПРИВЕТ, мир! ё";
  const std::string cp = Utf8ToCp1251(utf8);
  EXPECT_EQ(cp.size(), 29u);  // one byte per character
  EXPECT_EQ(static_cast<unsigned char>(cp[0]), 0xA8);  // Ё
  EXPECT_EQ(Cp1251ToUtf8(cp), utf8);
}

TEST(Encoding, EveryByteHasAUtf8FormAndComesBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1251ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToCp1251(utf8), all);
}

TEST(Encoding, UnmappableAndMalformedBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("日本"), "??");
  EXPECT_EQ(Utf8ToCp1251("a\xFF" "b"), "a?b");
  EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");  // overlong '/'
  EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");       // cut sequence
  EXPECT_EQ(Utf8ToCp1251("€№"), "\x88\xB9");
}

TEST(Encoding, Utf8Detection) {
  EXPECT_TRUE(LooksLikeUtf8("привет"));
  EXPECT_FALSE(LooksLikeUtf8("plain ascii"));
  EXPECT_FALSE(LooksLikeUtf8(Utf8ToCp1251("привет")));
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
}

// The whole Russian alphabet, every one of its 33 pairs: losing one pair
// would break word selection and case-insensitive find for that letter only.
TEST(Encoding, CaseFoldingCoversEveryRussianLetterPair) {
  const std::string upper = Utf8ToCp1251("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
  const std::string lower = Utf8ToCp1251("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
  ASSERT_EQ(upper.size(), 33u);
  for (size_t i = 0; i < upper.size(); ++i) {
    const auto u = static_cast<unsigned char>(upper[i]), l = static_cast<unsigned char>(lower[i]);
    EXPECT_EQ(LowerCp1251(u), l) << i;
    EXPECT_EQ(UpperCp1251(l), u) << i;
    EXPECT_EQ(LowerCp1251(l), l) << i;
    EXPECT_EQ(UpperCp1251(u), u) << i;
    EXPECT_TRUE(IsLetterCp1251(u) && IsLetterCp1251(l)) << i;
  }
}

TEST(Encoding, CaseFoldingCoversCyrillicAndYo) {
  EXPECT_EQ(LowerCase(Utf8ToCp1251("ЕСЛИ Пока WHILE Ёлка ЇІЄЎ")), Utf8ToCp1251("если пока while ёлка їієў"));
  EXPECT_EQ(UpperCase(Utf8ToCp1251("истина ёж і")), Utf8ToCp1251("ИСТИНА ЁЖ І"));
  // Digits, punctuation and the other high bytes do not change.
  EXPECT_EQ(LowerCase("1+2 [x]"), "1+2 [x]");
  EXPECT_EQ(LowerCp1251(0xB9), 0xB9);  // №
  EXPECT_TRUE(IsLetterCp1251(0xC0));
  EXPECT_FALSE(IsLetterCp1251('_'));
}
