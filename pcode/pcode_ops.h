// The instruction set of the p-code: one list, read by the compiler's
// emitter, the listing, and the interpreter's decoder.
//
// Each entry: X(code, name, operands). The operand string has one letter
// per operand cell, in cell order:
//   g  index of a global variable        l  index of a local variable
//   t  index of a temporary              p  index of a user procedure
//   s  index of a built-in procedure     a  absolute jump target (a cell)
//   n  0-based editor line               e  expression object (may be absent)
//   c  call record object                x  inline text: one cell per byte, then 0
// Codes missing from the list are undefined; meeting one at run time is an
// error.
#pragma once

#include <cstdint>

#define TARMISY_OPCODES(X)                                                       \
  X(0, opEnd, "")                /* end of the run */                            \
  X(2, opAssignGlobal, "ge")     /* global g := e */                             \
  X(3, opAssignGlobalItem, "gee")   /* global g[e1] := e2 */                     \
  X(4, opAssignGlobalItem2, "geee") /* global g[e1, e2] := e3 */                 \
  X(5, opAssignLocal, "le")      /* local l := e */                              \
  X(6, opAssignLocalItem, "lee")    /* local l[e1] := e2 */                      \
  X(7, opAssignLocalItem2, "leee")  /* local l[e1, e2] := e3 */                  \
  X(8, opAssignTemp, "te")       /* temp t := e */                               \
  X(9, opTakeResult, "tp")       /* temp t := result of user procedure p */      \
  X(10, opTakeSysResult, "ts")   /* temp t := result of built-in s */            \
  X(20, opCall, "c")             /* call the user procedure of record c */       \
  X(21, opSysCall, "c")          /* call the built-in of record c */             \
  X(22, opNop, "")               /* first instruction of every procedure */      \
  X(23, opSetResult, "e")        /* current procedure's Result := e */           \
  X(24, opReturn, "")            /* return; from the main program: end */        \
  X(30, opWriteText, "x")        /* append the text to the console line */       \
  X(31, opWrite, "e")            /* append the formatted value of e */           \
  X(32, opWriteLn, "")           /* start a new console line */                  \
  X(40, opReadGlobal, "g")       /* read into global g */                        \
  X(41, opReadGlobalItem, "ge")  /* read into global g[e] */                     \
  X(42, opReadGlobalItem2, "gee")   /* read into global g[e1, e2] */             \
  X(43, opReadLocal, "l")        /* read into local l */                         \
  X(44, opReadLocalItem, "le")   /* read into local l[e] */                      \
  X(45, opReadLocalItem2, "lee") /* read into local l[e1, e2] */                 \
  X(92, opDecTemp, "t")          /* temp t := temp t - 1 */                      \
  X(100, opJump, "a")            /* Pos := a */                                  \
  X(101, opJumpIfFalse, "ta")    /* if temp t is 0: Pos := a */                  \
  X(103, opJumpIfNotPositive, "ta") /* if temp t <= 0: Pos := a */               \
  X(104, opLoopBegin, "")        /* start of a loop (break/continue nesting) */  \
  X(105, opBreak, "")            /* skip to the innermost loop's end, leave */   \
  X(106, opContinue, "")         /* skip to the innermost loop's end, go on */   \
  X(107, opEndRepeat, "a")       /* end of a counted loop; continue goes to a */ \
  X(108, opEndFor, "a")          /* end of a for loop; continue goes to a */     \
  X(109, opEndWhile, "a")        /* end of a while loop; continue goes to a */   \
  X(254, opLine, "n")            /* the next statement starts on line n */       \
  X(255, opTranslationError, "") /* end of a program whose translation failed */

enum TOpCode : int32_t {
#define TARMISY_OP_ENUM(code, name, operands) name = code,
  TARMISY_OPCODES(TARMISY_OP_ENUM)
#undef TARMISY_OP_ENUM
};

// Name and operand shape of one instruction.
struct TOpInfo {
  int32_t code;
  const char* name;
  const char* operands;
};

// The entry for an opcode, or nullptr when the code is undefined.
const TOpInfo* OpInfo(int32_t code);

// Cells one instruction occupies with fixed-size operands (every shape
// except inline text): 1 + the number of operand letters.
int OpFixedLength(const TOpInfo& info);
