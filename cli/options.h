// The command line of tarmisy-run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The largest side of the pen executors' canvas (the canvas's own limit;
// the plain runner has no canvas to ask).
inline constexpr int kMaxFieldSide = 10000;

struct TRunOptions {
  int Executor = 0;  // ExecutorKind
  std::string Task;   // empty: Grondo's field is empty and Grondo is not on it
  std::string Input;  // empty: standard input
  std::string Png;    // empty: no picture
  int Scale = 0;      // 0..5, as the window's scale box
  int FieldWidth = 600, FieldHeight = 600;  // the pen executors' canvas
  int OriginX = 200, OriginY = 200;
  bool Animate = false;
  bool Listing = false;
  std::string Html;   // write the program as the HTML page here instead of running
  bool Format = false;  // print the formatted program instead of running
  bool Help = false;  // print the usage and do nothing else
  bool Utf8 = true;
  std::string Program;
  // For checking a class: a step budget, the loop guard, the numbers file.
  uint64_t MaxSteps = 0;
  bool DetectLoops = false;
  std::string Stats;
};

// Parses argv; on a bad command line returns nothing and sets error to the
// message (Windows-1251).
std::optional<TRunOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);
