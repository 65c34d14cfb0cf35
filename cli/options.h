// The command line of tarmisy-run.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct TRunOptions {
  int Executor = 0;  // ExecutorKind
  std::string Task;
  std::string Input;  // empty: standard input
  std::string Png;
  int Scale = 0;
  int FieldWidth = 600, FieldHeight = 600;
  int OriginX = 200, OriginY = 200;
  bool Animate = false;
  bool Listing = false;
  bool Utf8 = true;
  std::string Program;
  // Options given that this build cannot honour yet (the executors'
  // pictures); the runner refuses them with a clear message.
  std::vector<std::string> Unsupported;
};

// Parses argv; on a bad command line returns nothing and sets error to the
// message (Windows-1251).
std::optional<TRunOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);
