// TPseudoCode: the translated program.
//
// A flat array of 32-bit cells (instructions of pcode_ops.h and their
// operands), the global variables, the user procedures (index 0 is the main
// program) and the built-ins of one executor kind. The compiler writes it,
// the interpreter reads it; one program per run.
//
// Object operands (expressions and call records) are not pointers in cells:
// the program owns them in two tables and a cell holds the index into its
// table. Whatever state a translation error leaves the code in, freeing the
// program frees each object exactly once.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "datum.h"
#include "pcode_ops.h"
#include "procedure.h"
#include "variables.h"

// The operand cell of an absent object (an index left out).
constexpr int32_t kNoObject = -1;

class TPseudoCode {
 public:
  static constexpr int32_t kInitialCapacity = 4096;
  static constexpr int32_t kGrowth = 1024;

  int32_t Capacity = 0;   // cells allocated
  int32_t Pos = 0;        // next cell to write, or the program counter
  std::vector<int32_t> Cells;
  bool HasInput = false;      // the program writes or reads the console
  bool UsesExecutor = false;  // the program calls a command of the executor
  int32_t CodeSize = 0;   // cells written; reading stops here
  TVarList Globals;
  TProcList Procs;        // user procedures; 0 is the main program
  TProcList SysProcs;     // built-ins of ExecutorKind, in registration order
  int ExecutorKind = 0;   // 0 Turtle, 1 Drawer, 2 Grondo

  // An empty program whose built-in list holds the built-ins of executorKind.
  explicit TPseudoCode(int executorKind);
  ~TPseudoCode();
  TPseudoCode(const TPseudoCode&) = delete;
  TPseudoCode& operator=(const TPseudoCode&) = delete;

  // Appends the values as cells at Pos, growing the array when full;
  // CodeSize follows Pos.
  void Emit(std::initializer_list<int32_t> values);
  void Emit(int32_t value);
  // Appends each byte of text as a cell (up to a 0 byte, where a text ends)
  // and then a 0 cell.
  void EmitText(std::string_view text);

  // The cell at Pos, advancing; opEnd (0) at or past CodeSize.
  int32_t Fetch() {
    if (Pos < 0 || Pos >= CodeSize) return opEnd;
    return Cells[static_cast<size_t>(Pos++)];
  }
  // Reads cells up to the 0 cell and returns them as text; Pos ends after
  // the 0 cell (or at CodeSize when the text is not terminated).
  std::string FetchText();

  // Overwrites an already written cell (forward jump targets). Only while
  // writing, that is while Pos is at CodeSize.
  void Patch(int32_t index, int32_t value);
  // Pos := 0.
  void Restart() { Pos = 0; }

  // Takes ownership of an expression; returns the cell value naming it.
  int32_t AddExpression(std::unique_ptr<TStackDatum> expr);
  // Takes ownership of a call record (kind dkCall or dkSysCall).
  int32_t AddCallRecord(std::unique_ptr<TDatum> call);
  // The object an operand cell names, or nullptr for kNoObject or a value
  // that names none.
  TStackDatum* Expression(int32_t cell) const {
    return cell >= 0 && static_cast<size_t>(cell) < exprs_.size() ? exprs_[static_cast<size_t>(cell)].get()
                                                                   : nullptr;
  }
  TDatum* CallRecord(int32_t cell) const {
    return cell >= 0 && static_cast<size_t>(cell) < calls_.size() ? calls_[static_cast<size_t>(cell)].get()
                                                                   : nullptr;
  }
  int ExpressionCount() const { return static_cast<int>(exprs_.size()); }
  int CallRecordCount() const { return static_cast<int>(calls_.size()); }

  // Frees every object operand. The cells still name them; Expression and
  // CallRecord answer nullptr from then on.
  void ReleaseOperands();

 private:
  void Grow();

  std::vector<std::unique_ptr<TStackDatum>> exprs_;
  std::vector<std::unique_ptr<TDatum>> calls_;
};

// Fills list with the built-ins of executorKind (0, 1, 2) in registration
// order, named from the string table.
void RegisterBuiltins(TProcList& list, int executorKind);
