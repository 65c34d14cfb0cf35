// The verdict on one run of a pupil's program (one field, one console
// test), read from what tarmisy-run said: its exit status, its report on
// standard error and the numbers of --stats.
#pragma once

#include <cstdint>
#include <string>

#include "jobs.h"

enum TVerdictKind : int {
  vkSolved,       // Grondo's task solved
  vkPassed,       // a console test's output as expected
  vkFinished,     // ended normally where nothing is judged
  vkNotSolved,    // Grondo's verdict is not solved
  vkFailed,       // a console test's output differs
  vkTranslation,  // the program does not translate
  vkRunTime,      // a run-time or executor error
  vkLoop,         // a certain endless loop
  vkStepLimit,    // stopped at the step budget
  vkTimeLimit,    // stopped at the wall-clock limit
  vkStopped,      // stopped otherwise (the input ended)
  vkCrashed       // the runner itself failed: nothing is known
};

// True for the verdicts that count as a success.
inline bool IsSuccess(TVerdictKind k) { return k <= vkFinished; }
// True for a translation, run-time, loop or limit failure (not a wrong answer).
inline bool IsError(TVerdictKind k) { return k >= vkTranslation; }

struct TVerdict {
  TVerdictKind Kind = vkCrashed;
  std::string Text;  // the details in words, UTF-8 (the runner's report, the differing line)
  int Line = -1;     // 1-based line of the program the failure is on, -1 none
  int Col = -1;      // 1-based column of a translation error
};

// What the check knows about one run besides the runner's result.
struct TRunContext {
  bool Grondo = false;         // judged on a Grondo field
  bool UsesGrondo = true;      // the program calls a command of Grondo at all
  std::string InitialVerdict;  // Grondo's verdict on the untouched field, UTF-8 (for a program that never moves him)
  bool InitialSolved = false;
  const std::string* Expected = nullptr;  // a console test's expected output, UTF-8
  const std::string* Typed = nullptr;     // and its input
  double TimeLimit = 0;
  uint64_t StepLimit = 0;
};

// The verdict on a run. Stats is the content of the runner's --stats file.
TVerdict JudgeRun(const TJobResult& run, const std::string& stats, const TRunContext& context);

// The kind's word ("решена", "зациклилась", ...), UTF-8.
std::string VerdictWord(TVerdictKind kind);

// A value of the --stats file ("instructions", "end", "loop-line"); empty when absent.
std::string StatValue(const std::string& stats, const std::string& key);

// The console output without the typed lines the runner shows in it
// (each on a line of its own, in the order typed).
std::string WithoutTyped(const std::string& output, const std::string& typed);

// Compares console output with the expected text: line breaks as '\n',
// trailing blanks and empty lines at the end not counted. Returns -1 when
// equal, else the 1-based first differing line, with both lines.
int FirstDifference(const std::string& actual, const std::string& expected, std::string& got, std::string& want);
