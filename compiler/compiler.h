// TCompiler: the two-pass compiler from program lines to p-code.
//
// One instance per compilation. The first pass collects the procedure
// headers (so procedures may call procedures defined later), the second
// emits the code. The first error ends the compilation with an
// ECompileException whose Line (0-based) and Col (1-based) point at the
// first character of the offending token.
//
// The files: scanner.cpp (tokens and error reporting), declarations.cpp
// (program, procedures, variables), statements.cpp, expressions.cpp.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "pcode.h"
#include "scanner.h"
#include "string_table.h"
#include "vocabulary.h"

class TCompiler {
 public:
  // How deep index expressions, call arguments and nested statements may be
  // nested before the compiler refuses the program (each level is a C++
  // call, and the interpreter walks nested indexes the same way).
  static constexpr int kMaxNesting = 200;

  TPseudoCode* Prog = nullptr;                    // not owned
  const std::vector<std::string>* Lines = nullptr;  // not owned, not modified
  int32_t Line = 0;  // cursor: 0-based line
  int32_t Col = 1;   // cursor: 1-based column
  int32_t LoopDepth = 0;
  // Bytes of array elements declared in this pass. A text of tens of
  // thousands of array declarations would otherwise take gigabytes before
  // anything runs; past kMaxDeclaredBytes it is a translation error.
  int64_t DeclaredBytes = 0;
  static constexpr int64_t kMaxDeclaredBytes = int64_t{256} << 20;
  std::bitset<256> Delimiters;
  TToken Token2, Token1, Token;
  bool InArguments = false;

  // Called at the start of Compile; the run control passes "clear the
  // console" here (the compiler knows nothing of consoles).
  std::function<void()> OnStart;

  TCompiler();
  TCompiler(const TCompiler&) = delete;
  TCompiler& operator=(const TCompiler&) = delete;

  // Translates lines into program, which must be fresh (its built-ins
  // registered). On failure raises ECompileException with Line/Col set
  // (also left in this object's Line and Col) and the code ends with the
  // cell opTranslationError.
  void Compile(const std::vector<std::string>& lines, TPseudoCode& program);

  // --- scanner (scanner.cpp) ---

  // Points the scanner at lines (and program, for error cells) and resets.
  void SetSource(const std::vector<std::string>& lines, TPseudoCode* program);
  // Restarts the program and puts the cursor at line 0, column 1.
  void Reset();
  // Shifts the history and scans the next token into Token (tkEnd at the
  // end of the text).
  void NextToken();
  // NextToken; the end of the text is the error "неожиданный конец программы".
  void NextTokenRequired();
  // Puts the cursor back to the start of Token and steps the history back
  // once (Token := Token1, Token1 := Token2).
  void UngetToken();
  TScanState SaveState() const;
  // Restores the tokens and puts the cursor at the start of the current one.
  void RestoreState(const TScanState& state);

  // Raise the translation error "Ошибка трансляции: message." at Token.
  [[noreturn]] void Error(const std::string& message);
  // "Ожидается <what> вместо '<Token.Text>'".
  [[noreturn]] void Expected(const std::string& what);
  [[noreturn]] void UnexpectedEnd();
  // "не могу понять, что такое '<Token.Text>'".
  [[noreturn]] void NotUnderstood();

  const TVocabulary& Vocabulary() const { return vocab_; }

  // --- expressions (expressions.cpp) ---

  // Re-kinds a word token as a variable or procedure of proc's scope (proc
  // may be null at top level); returns the variable's array dimensions.
  int LookupName(TProcedure* proc, bool inStatement);
  // Compiles an expression ending before a token that cannot continue it.
  std::unique_ptr<TStackDatum> CompileExpression(TProcedure* proc, bool allowWholeArray);
  // "[" expression "]", or nullptr when the next token starts with ",", ";",
  // "=" (or is ">>"); with required set the "[" must be there.
  std::unique_ptr<TStackDatum> CompileIndex(TProcedure* proc, bool required = false);
  // "=" expression.
  std::unique_ptr<TStackDatum> CompileAssignedValue(TProcedure* proc);
  // Fills call's argument list; may turn "random" into "randomu".
  void CompileArguments(TProcedure* proc, TDatum& call);
  // An expression, then reads the next token, then adds a logical
  // temporary (the newest in proc's Temps) for the caller to use.
  std::unique_ptr<TStackDatum> CompileCondition(TProcedure* proc);

  // --- program structure (declarations.cpp) ---

  void CollectHeaders();
  bool IsProcedureHeader();
  void DeclareProcedure();
  void CompileProcedure();
  // What a declaration list declares; the three differ in where they end
  // and what they allow (arrays without size, initial values).
  enum TDeclMode { dmArguments, dmGlobals, dmLocals };
  void DeclareVariables(TProcedure* proc, TVarList& list, TDeclMode mode);

  // --- statements (statements.cpp) ---

  void CompileBlock(TProcedure* proc, bool isBody);
  void CompileStatementOrBlock(TProcedure* proc);

 private:
  friend class TNestingGuard;

  [[noreturn]] void ErrorStr(TStrId id);
  [[noreturn]] void ExpectedStr(TStrId id);
  bool MatchAt(const std::string& text) const;
  bool SkipBlanks();
  void ScanNumber(const std::string& line);
  void CheckNumber();

  int AddTemp(TProcedure* proc, uint8_t kind);
  int32_t AddExpr(std::unique_ptr<TStackDatum> e);
  void CompileCallInExpression(TProcedure* proc, TStackDatum& out);
  void CompileAssignment(TProcedure* proc, int dims);
  void CompileCallStatement(TProcedure* proc);
  void CompileIf(TProcedure* proc);
  void CompileLoop(TProcedure* proc);
  void CompileFor(TProcedure* proc);
  void CompileBreakContinue();
  void CompileReturn(TProcedure* proc);
  // The two spellings of output and input: items separated by "," (print,
  // ввод) or each preceded by "<<" / ">>" (cout, cin).
  enum TIoForm { ioList, ioStream };
  // Whether an output statement ends its line (println, coutln).
  enum TLineEnd { leStay, leNewLine };
  void CompileOutput(TProcedure* proc, TLineEnd end, TIoForm form);
  void CompileInput(TProcedure* proc, TIoForm form);
  void CheckDeclaredName(const TVarList& list, const std::string& name);
  bool IsBuiltinName(const std::string& name) const;

  // Name lookups by hash: a long program asks for every word.
  int FindSysProc(const std::string& name) const;
  int FindProc(const std::string& name) const;

  TVocabulary vocab_;
  std::bitset<256> operatorStarts_;  // first bytes of the operator texts
  std::unordered_map<std::string, int> sysProcIndex_;
  std::unordered_map<std::string, int> procIndex_;
  int nesting_ = 0;
  bool errorCellWritten_ = false;
};

// Counts one level of nesting for the scope of a compile function and
// refuses the program past TCompiler::kMaxNesting.
class TNestingGuard {
 public:
  explicit TNestingGuard(TCompiler& c);
  ~TNestingGuard() { --c_.nesting_; }
  TNestingGuard(const TNestingGuard&) = delete;
  TNestingGuard& operator=(const TNestingGuard&) = delete;

 private:
  TCompiler& c_;
};

// Value conversions of numeric token texts (already checked by the scanner).
int32_t IntegerOfText(const std::string& text);
double RealOfText(const std::string& text);
