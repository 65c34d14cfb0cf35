#include "formatter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "encoding.h"
#include "errors.h"
#include "listing.h"
#include "memo_buffer.h"
#include "program.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = TARMISY_SOURCE_DIR;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The golden files end every expected line with "|", so that the trailing
// blanks the formatter leaves are visible and survive editors.
// update_format_golden.sh writes them from `tarmisy-run --format`.
TEST(FormatProgram, GoldenFiles) {
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(kSource / "tests/texttools/format")) {
    if (entry.path().extension() != ".prg") continue;
    ++cases;
    fs::path expectedPath = entry.path();
    expectedPath.replace_extension(".fmt");
    std::string got;
    for (const std::string& line : FormattedProgram(ProgramLines(ReadBytes(entry.path()))))
      got += Cp1251ToUtf8(line) + "|\n";
    EXPECT_EQ(got, ReadBytes(expectedPath)) << entry.path().filename();
  }
  EXPECT_GE(cases, 10);
}

TEST(FormatProgram, ReplacesTheLinesInPlace) {
  std::vector<std::string> lines{"a;b;"};
  FormatProgram(lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"a;", "b;"}));
  lines.clear();
  FormatProgram(lines);
  EXPECT_EQ(lines, std::vector<std::string>{""});
}

// The listing with the line operands dropped: the only thing formatting may
// change in the translated program.
std::string WithoutLines(const std::string& listing) {
  static const std::regex kLine(R"(opLine -?\d+)");
  return std::regex_replace(listing, kLine, "opLine");
}

// Compiles for an executor kind: the listing, or "error" with the message.
std::string Translate(const std::vector<std::string>& lines, int kind) {
  try {
    return WithoutLines(Listing(*CompileProgram(lines, kind)));
  } catch (const ECompileException&) {
    return "error";
  }
}

void ExpectSameTranslation(const fs::path& path, int& translated) {
  const std::vector<std::string> lines = ProgramLines(ReadBytes(path));
  const std::vector<std::string> formatted = FormattedProgram(lines);
  for (int kind = 0; kind < 3; ++kind) {
    const std::string original = Translate(lines, kind);
    EXPECT_EQ(Translate(formatted, kind), original) << path << " executor " << kind;
    if (original != "error") ++translated;
  }
}

TEST(FormatProgram, TranslatesAsTheOriginalOnEveryTestProgram) {
  int translated = 0;
  int files = 0;
  for (const char* folder : {"tests/programs", "tests/texttools/format", "fuzz/compiler/corpus", "fuzz/interp/corpus", "examples"}) {
    if (!fs::exists(kSource / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(kSource / folder)) {
      if (!entry.is_regular_file()) continue;
      const std::string ext = entry.path().extension().string();
      if (std::string(folder).starts_with("fuzz") ? ext == ".dict" : ext != ".prg") continue;
      ++files;
      ExpectSameTranslation(entry.path(), translated);
    }
  }
  EXPECT_GT(files, 80);
  EXPECT_GT(translated, 80);
}

}  // namespace

namespace {

TEST(FormatBuffer, OneUndoableChangeWithTheCaretKept) {
  TMemoBuffer b;
  b.SetText("a;b;\r\nc;");
  b.SetCaret(1, 1);
  FormatBuffer(b);
  EXPECT_EQ(b.Text(), "a;\r\nb;\r\nc;");
  EXPECT_EQ(b.Caret(), (TTextPos{1, 1}));
  EXPECT_FALSE(b.HasSelection());
  // One Undo takes the whole layout back, one Redo brings it again.
  ASSERT_TRUE(b.Undo());
  EXPECT_EQ(b.Text(), "a;b;\r\nc;");
  EXPECT_FALSE(b.UndoList().CanUndo());
  ASSERT_TRUE(b.Redo());
  EXPECT_EQ(b.Text(), "a;\r\nb;\r\nc;");
  ASSERT_TRUE(b.Undo());
  b.ReadOnly = true;
  FormatBuffer(b);
  EXPECT_EQ(b.Text(), "a;b;\r\nc;");
}

}  // namespace
