// Each program of listings/ (NAME.prg, UTF-8) compiles to the listing in
// NAME.lst beside it. A change of the emitted code shows as a diff of
// those files: listings/rewrite.sh writes them anew on purpose.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compile_helpers.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Listings, MatchTheirGoldenFiles) {
  const bool rewrite = std::getenv("TARMISY_REWRITE_LISTINGS") != nullptr;
  int checked = 0;
  for (const auto& entry : fs::directory_iterator(TARMISY_LISTINGS_DIR)) {
    if (entry.path().extension() != ".prg") continue;
    fs::path golden = entry.path();
    golden.replace_extension(".lst");
    const std::string listing = ListingOf(ReadFile(entry.path()));
    if (rewrite) {
      std::ofstream(golden, std::ios::binary) << listing;
    } else {
      EXPECT_EQ(listing, ReadFile(golden)) << entry.path().filename() << " (listings/rewrite.sh updates it)";
    }
    ++checked;
  }
  EXPECT_GE(checked, 10);
}

}  // namespace
