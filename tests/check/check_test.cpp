// tarmisy-check end to end: a class of pupils' programs against a task pack
// of three Grondo fields, and a console task; report.csv row by row against
// the expected tables (garden.csv, sum.csv; "*" for what varies between
// runs), the similar programs, the page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::vector<std::string>> ParseCsv(std::string_view text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += text[++i];
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().push_back(std::move(field));
      field.clear();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      rows.back().push_back(std::move(field));
      field.clear();
      rows.emplace_back();
    } else {
      field += c;
    }
  }
  if (rows.back().empty()) rows.pop_back();
  return rows;
}

int Check(const std::string& args) {
  const int rc = std::system((std::string(TARMISY_CHECK) + " " + args + " 2>/dev/null").c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// The report against the expected table, cell by cell.
void ExpectReport(const fs::path& report, const fs::path& expected) {
  const std::string bytes = Read(report);
  ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF")) << "a spreadsheet needs the byte-order mark";
  const auto actual = ParseCsv(std::string_view(bytes).substr(3));
  const auto want = ParseCsv(Read(expected));
  ASSERT_EQ(actual.size(), want.size());
  for (size_t r = 0; r < want.size(); ++r) {
    ASSERT_EQ(actual[r].size(), want[r].size()) << "row " << r;
    for (size_t c = 0; c < want[r].size(); ++c) {
      if (want[r][c] != "*") {
        EXPECT_EQ(actual[r][c], want[r][c]) << want[r][0] << ", " << want[0][c];
      }
    }
  }
}

class CheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    out_ = fs::temp_directory_path() / ("tarmisy-check-test-" + std::to_string(getpid()));
    fs::remove_all(out_);
  }
  void TearDown() override { fs::remove_all(out_); }
  fs::path out_;
  const fs::path data_ = TARMISY_CHECK_DATA;
};

TEST_F(CheckTest, AClassAgainstThreeFields) {
  ASSERT_EQ(Check((data_ / "garden").string() + " " + (data_ / "class").string() + " --out " + out_.string() +
                  " -j 2 --max-steps 2000000 --time-limit 20"),
            0);
  ExpectReport(out_ / "report.csv", data_ / "garden.csv");

  const std::string page = Read(out_ / "index.html");
  EXPECT_EQ(page.find("http"), std::string::npos) << "the page needs no network";
  // A thumbnail per program and field, every picture inside the page.
  size_t pictures = 0;
  for (size_t at = 0; (at = page.find("src=\"data:image/png;base64,", at)) != std::string::npos; ++at) ++pictures;
  EXPECT_EQ(pictures, 30u);
  EXPECT_NE(page.find("Пройдите кольцо"), std::string::npos) << "the task's wording";
  EXPECT_NE(page.find("Программ: 10. Решено: 4, не решено: 1, с ошибками: 5."), std::string::npos);
  // The copies as one group, the near one apart.
  EXPECT_NE(page.find("open><summary>ivanov.prg, orlova.prg, smirnov.prg</summary>"), std::string::npos);
  EXPECT_NE(page.find("<summary>ivanov.prg — volkov.prg: сходство 97%</summary>"), std::string::npos);
  // The failing line of the run-time error is marked in its source.
  EXPECT_NE(page.find("<span class=\"ln fail\" data-n=\"4\">"), std::string::npos);
}

TEST_F(CheckTest, AConsoleTask) {
  ASSERT_EQ(Check((data_ / "sum").string() + " " + (data_ / "console").string() + " --out " + out_.string()), 0);
  ExpectReport(out_ / "report.csv", data_ / "sum.csv");
}

TEST_F(CheckTest, BadArgumentsAndAMissingRunner) {
  const std::string pack = (data_ / "sum").string(), programs = (data_ / "console").string();
  EXPECT_EQ(Check(pack + " " + programs), 64) << "no --out";
  EXPECT_EQ(Check(pack + " --out " + out_.string()), 64) << "no programs";
  EXPECT_EQ(Check((data_ / "nothing").string() + " " + programs + " --out " + out_.string()), 64);
  EXPECT_EQ(Check(pack + " " + programs + " --out " + out_.string() + " -j 0"), 64);
  EXPECT_EQ(Check(pack + " " + programs + " --out " + out_.string() + " --runner /nonexistent"), 2);
}

}  // namespace
