// Feeds arbitrary bytes to the program file reader and the HTML import, and
// checks what the window relies on: no imported line is blank, and writing
// the imported program as a page and importing that gives it back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "html_page.h"
#include "program_text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const TProgramText text = ReadProgramText(bytes);
  const std::vector<std::string> program = ImportHtml(text.Lines);
  for (const std::string& line : program) {
    bool blank = true;
    for (char c : line) blank = blank && static_cast<unsigned char>(c) <= ' ';
    Check(!blank);
  }
  const TStyleList plain;
  Check(ImportHtml(HtmlPage("fuzz.html", program, {}, plain)) == program);
  return 0;
}
