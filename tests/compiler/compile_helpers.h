// Helpers of the compiler tests: programs written in UTF-8, compiled, and
// looked at through the listing or the error.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "compiler.h"
#include "encoding.h"
#include "errors.h"
#include "listing.h"

inline std::vector<std::string> SourceLines(const std::string& utf8) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(Utf8ToCp1251(utf8));
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

struct TCompileResult {
  bool ok = false;
  std::string listing;  // UTF-8
  std::string error;    // UTF-8, the full message
  int line = -1;
  int col = -1;
};

// Compiles text for executor kind and reports the listing or the error.
// program, when given, receives the compiled program.
inline TCompileResult CompileText(const std::string& utf8, int kind = 0, TPseudoCode* program = nullptr) {
  TPseudoCode own(kind);
  TPseudoCode& prog = program ? *program : own;
  const std::vector<std::string> lines = SourceLines(utf8);
  TCompiler c;
  TCompileResult r;
  try {
    c.Compile(lines, prog);
    r.ok = true;
    r.listing = Cp1251ToUtf8(Listing(prog));
  } catch (const ECompileException& e) {
    r.error = Cp1251ToUtf8(e.Message());
    r.line = e.Line;
    r.col = e.Col;
    EXPECT_EQ(e.Line, c.Line);
    EXPECT_EQ(e.Col, c.Col);
    EXPECT_EQ(prog.Cells[static_cast<size_t>(prog.CodeSize - 1)], opTranslationError);
  }
  return r;
}

// The error text with its 0-based line and 1-based column: "L:C message".
inline std::string ErrorOf(const std::string& utf8, int kind = 0) {
  TCompileResult r = CompileText(utf8, kind);
  if (r.ok) return "compiled";
  return std::to_string(r.line) + ":" + std::to_string(r.col) + " " + r.error;
}

// The listing of the program, or the error.
inline std::string ListingOf(const std::string& utf8, int kind = 0) {
  TCompileResult r = CompileText(utf8, kind);
  return r.ok ? r.listing : "error " + std::to_string(r.line) + ":" + std::to_string(r.col) + " " + r.error;
}
