#include "program.h"

#include "compiler.h"
#include "encoding.h"

std::vector<std::string> ProgramLines(std::string_view bytes) {
  // Editors that write UTF-8 sometimes start the file with a byte-order mark.
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::string text = LooksLikeUtf8(bytes) ? Utf8ToCp1251(bytes) : std::string(bytes);
  return SplitLines(text);
}

std::unique_ptr<TPseudoCode> CompileProgram(const std::vector<std::string>& lines, int executorKind) {
  auto code = std::make_unique<TPseudoCode>(executorKind);
  TCompiler compiler;
  compiler.Compile(lines, *code);
  return code;
}

TProgramBuilder ProgramBuilder(std::vector<std::string> lines, int executorKind, TRunHost* host) {
  return [lines = std::move(lines), executorKind, host]() {
    auto code = std::make_unique<TPseudoCode>(executorKind);
    TCompiler compiler;
    if (host) compiler.OnStart = [host] { host->ConsoleClear(); };
    compiler.Compile(lines, *code);
    return code;
  };
}
