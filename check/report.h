// The results of checking a class and the two reports made of them:
// report.csv for a spreadsheet and index.html for reading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "similarity.h"
#include "verdict.h"

// One run: a program on one field or console test.
struct TCheckCell {
  TVerdict Verdict;
  std::string Output;  // the console, UTF-8 (also echoed input lines)
  std::string Png;     // the picture's bytes; empty without one
  uint64_t Instructions = 0;
  double Seconds = 0;
};

struct TProgramResult {
  std::string Name;                // the file's name
  std::vector<std::string> Lines;  // the source, UTF-8
  std::vector<TCheckCell> Cells;   // one per column
};

struct TCheckColumn {
  std::string Name;  // "поле garden.maz", "тест sum"
  bool Field = false;
};

struct TClassReport {
  std::string TaskName;
  std::string Wording;  // UTF-8
  std::vector<TCheckColumn> Columns;
  std::vector<TProgramResult> Programs;
  TSimilarity Similar;
};

enum TOverall : int { ovSolved, ovNotSolved, ovErrors };

// Solved when every run succeeded; errors when a run failed otherwise than
// with a wrong answer; else not solved.
TOverall Overall(const TProgramResult& p);
// The first failing run in words ("поле b.maz: не решена: ..."); empty when none.
std::string FirstFailure(const TClassReport& r, const TProgramResult& p);
uint64_t TotalInstructions(const TProgramResult& p);
double TotalSeconds(const TProgramResult& p);

// One CSV field quoted when it needs to be.
std::string CsvField(const std::string& text);
// report.csv: a byte-order mark, a header row, then one row per program.
std::string CsvReport(const TClassReport& r);
// index.html: one page with everything inside it.
std::string HtmlReport(const TClassReport& r);
// The program's text colored as the editor colors it, as HTML lines
// (one <span class="ln"> per line; the line errorLine, 1-based, marked).
std::string ColoredSource(const std::vector<std::string>& utf8Lines, int errorLine);
