// TLoopGuard: proof that a run can never end.
//
// A program that reads nothing from the console is deterministic: what it
// does next depends only on where it is, the values of its variables (every
// activation of every procedure, and the globals), the random generator's
// seed and the part of the executor's state its sensors can see. When that
// whole state equals one the run was in before, the run repeats forever.
//
// The guard takes a snapshot of the state (exact bytes) at some of the
// places where execution goes back, hashes it, and compares it with one
// remembered snapshot (Brent's cycle finding: the remembered one is
// replaced at the 1st, 2nd, 4th, 8th ... check, so a cycle of any length
// is met within a few times its length plus the way into it). Equal hashes
// are confirmed by comparing the bytes, so a collision never stops a run.
// A run that ends never fires it: two equal states would mean it loops.
//
// The cost: the larger the state (arrays), the rarer the checks, so that a
// check costs about as much as a few hundred bytes of copying per backward
// jump, whatever the program holds. The sequence of checked states is still
// a function of the state, so the cycle is still found.
#pragma once

#include <cstdint>
#include <string>

#include "errors.h"

class TExecutor;
class TPseudoCode;
class TDatum;
class TProcedure;

// The run was found to repeat a state; the message names the line.
class ELoopDetected : public EExecuteException {
 public:
  ELoopDetected(std::string message, int line) : EExecuteException(std::move(message)), Line(line) {}
  int Line;  // 0-based
};

class TLoopGuard {
 public:
  // A guard for the run of code. A program that reads the console is never
  // judged (what it reads is not part of its state): the guard then stays
  // idle.
  explicit TLoopGuard(const TPseudoCode& code);

  bool Active() const { return active_; }

  // Called by the interpreter where execution goes back: a jump, call or
  // return to a cell at or before the current instruction, with the
  // program counter (code.Pos) already at the target. Raises ELoopDetected
  // (and sets the executor's CurLine to the line that repeats) when the
  // state equals the remembered one.
  void Check(TExecutor& executor);

  // The 0-based line reported, or -1 while no loop was found.
  int Line() const { return line_; }
  // Checks made (snapshots taken), for tests.
  uint64_t Checks() const { return checks_; }

  // The whole state as bytes; equal bytes mean equal states.
  static void Snapshot(TExecutor& executor, std::string& out);

 private:
  bool active_ = true;
  int line_ = -1;
  uint64_t checks_ = 0;
  uint64_t skipped_ = 0;   // backward jumps since the last check
  uint64_t stride_ = 1;    // backward jumps between checks, from the state's size
  uint64_t power_ = 1;     // Brent: checks until the remembered state is replaced
  uint64_t lambda_ = 0;
  bool haveAnchor_ = false;
  uint64_t anchorHash_ = 0;
  std::string anchor_;
  std::string current_;
};
