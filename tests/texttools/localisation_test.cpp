#include "localisation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "encoding.h"
#include "string_table.h"
#include "templates.h"

namespace {

namespace fs = std::filesystem;

std::string EnglishText() {
  std::ifstream in(fs::path(TARMISY_SOURCE_DIR) / "resources/localisation/english.txt", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string U(TStrId id) { return Cp1251ToUtf8(Str(id)); }

class Localisation : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) / ("loc_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    SetLocalisation(nullptr);
    fs::remove_all(dir_);
  }
  void WriteFile(const std::string& bytes) {
    std::ofstream(dir_ / kLocalisationFileName, std::ios::binary) << bytes;
  }
  fs::path dir_;
};

TEST_F(Localisation, TheEnglishFileRoundTripsAndReplacesMessagesAndMenus) {
  const std::string text = EnglishText();
  std::vector<TLocIssue> issues;
  const auto entries = ParseLocalisation(text, &issues);
  EXPECT_TRUE(issues.empty());
  EXPECT_GT(entries.size(), 450u);
  const std::string scrambled = ScrambleLocalisation(text);
  EXPECT_NE(scrambled.substr(0, 40), text.substr(0, 40));
  EXPECT_EQ(ScrambleLocalisation(scrambled), text);

  // An empty entry, later in the file, falls back to the built-in text.
  WriteFile(ScrambleLocalisation(text + "3018\t\n"));
  EXPECT_EQ(LoadLocalisation({(dir_ / "missing").string(), dir_.string()}), (dir_ / kLocalisationFileName).string());
  EXPECT_EQ(U(sRunFinished), "The program finished successfully.");
  EXPECT_EQ(U(sTplMenu), "&Templates");
  EXPECT_EQ(U(sStoppedByUser), "Программа остановлена пользователем.");
  EXPECT_EQ(Cp1251ToUtf8(FormatStr(sIndexOutOfRange, {12, 9})), "Array index 12 is outside the range [0..9].");
  // The language's words stay, and the switch goes.
  EXPECT_EQ(U(sKwWhileRu), "пока");
  EXPECT_TRUE(InterfaceIsEnglish());
}

TEST_F(Localisation, NoFileKeepsTheBuiltInTexts) {
  EXPECT_EQ(LoadLocalisation({dir_.string()}), "");
  fs::create_directory(dir_ / kLocalisationFileName);  // a folder of that name
  EXPECT_EQ(LoadLocalisation({dir_.string()}), "");
  EXPECT_EQ(U(sRunFinished), "Выполнение программы завершено успешно.");
}

TEST_F(Localisation, BadEntriesFallBackOneByOne) {
  struct TCase {
    const char* line;
    int kind;  // TLocIssue kind, or -1 when accepted
  };
  const TCase kCases[] = {
      {"3019\tDone.", -1},
      {"2003\tcannot understand '%s'", -1},
      {"2003\tcannot understand '%d'", TLocIssue::Placeholders},
      {"2001\t'%s' expected", TLocIssue::Placeholders},  // one of two
      {"3019\tDone %s", TLocIssue::Placeholders},        // reads an argument nobody gives
      {"3019\t100%% done", -1},
      {"4011\t\\r\\n  * %s", -1},
      {"3019\tbad \\q escape", TLocIssue::Syntax},
      {"3019 no tab", TLocIssue::Syntax},
      {"x3019\tDone.", TLocIssue::Syntax},
      {"99999\tNo such text", TLocIssue::UnknownId},
      {"3019\t\xff\xfe", TLocIssue::Syntax},  // not UTF-8
      {"# 3019\tcomment", -1},
  };
  for (const TCase& c : kCases) {
    std::vector<TLocIssue> issues;
    const auto entries = ParseLocalisation(std::string("\n") + c.line + "\n", &issues);
    if (c.kind < 0) {
      EXPECT_TRUE(issues.empty()) << c.line;
    } else {
      ASSERT_EQ(issues.size(), 1u) << c.line;
      EXPECT_EQ(issues[0].Kind, c.kind) << c.line;
      EXPECT_EQ(issues[0].Line, 2);
      EXPECT_TRUE(entries.empty()) << c.line;
    }
  }
}

// Whatever part of a file arrives, each text is either its translation or
// the built-in one, and a cut-off last entry is never used half.
TEST_F(Localisation, ATruncatedFileFallsBackEntryByEntry) {
  const std::string text = EnglishText();
  const auto full = ParseLocalisation(text);
  const std::string scrambled = ScrambleLocalisation(text);
  for (size_t cut : {size_t(0), size_t(7), scrambled.size() / 3, scrambled.size() / 2, scrambled.size() - 2}) {
    WriteFile(scrambled.substr(0, cut));
    ASSERT_FALSE(LoadLocalisation({dir_.string()}).empty());
    for (const auto& [id, english] : full) {
      const std::string& now = Str(static_cast<TStrId>(id));
      EXPECT_TRUE(now == english || now == BuiltinStr(static_cast<TStrId>(id))) << cut << " " << id;
    }
  }
  // The last entry lost its end: the built-in text, not a part of it.
  const size_t lastLine = text.rfind('\n', text.size() - 2) + 1;
  const auto last = static_cast<TStrId>(std::stoi(text.substr(lastLine, text.find('\t', lastLine) - lastLine)));
  EXPECT_NE(full.at(last), BuiltinStr(last));
  EXPECT_EQ(Str(last), BuiltinStr(last));
  EXPECT_EQ(U(sRunFinished), "The program finished successfully.");
}

}  // namespace
