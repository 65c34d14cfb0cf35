#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "compile_helpers.h"

namespace {

// The seed programs of the compiler's fuzz target are real programs for
// each executor: every one of them compiles.
TEST(Corpus, SeedProgramsCompile) {
  const std::filesystem::path dir = TARMISY_COMPILER_CORPUS;
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(data.empty());
    const int kind = static_cast<unsigned char>(data[0]) % 3;
    TCompileResult r = CompileText(Cp1251ToUtf8(data.substr(1)), kind);
    EXPECT_TRUE(r.ok) << entry.path() << ": " << r.line << ":" << r.col << " " << r.error;
    ++count;
  }
  EXPECT_GE(count, 5);
}

}  // namespace
