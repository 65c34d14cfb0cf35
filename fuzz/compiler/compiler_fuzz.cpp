// Input: one byte choosing the executor kind (its value modulo 3), then the
// program text in Windows-1251, lines separated by '\n'. Any input must end
// in a compiled program or a translation error that points inside the text;
// anything else (a crash, another exception, a position outside the text,
// a failed program without its end cell) is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler.h"
#include "errors.h"
#include "listing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int kind = data[0] % 3;
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(static_cast<char>(data[i]));
    }
  }
  lines.push_back(line);

  TPseudoCode prog(kind);
  TCompiler compiler;
  try {
    compiler.Compile(lines, prog);
    (void)Listing(prog);
  } catch (const ECompileException& e) {
    if (e.Line < 0 || e.Line >= static_cast<int>(lines.size()) || e.Col < 1) __builtin_trap();
    if (e.Col > static_cast<int>(lines[static_cast<size_t>(e.Line)].size()) + 1) __builtin_trap();
    if (prog.CodeSize == 0 || prog.Cells[static_cast<size_t>(prog.CodeSize - 1)] != opTranslationError)
      __builtin_trap();
  }
  return 0;
}
