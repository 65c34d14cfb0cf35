// The p-code listing: the program as text, one instruction per line.
//
//   CELL OPNAME OPERANDS
//
// CELL is the index of the opcode cell. Numbers are printed as they stand;
// an expression as {postfix items}; a call record as s43(args) or p2(args)
// with each argument in postfix; inline text in double quotes. Compiler
// tests and `tarmisy-run --listing` read programs through it. Texts are
// Windows-1251, like the program.
#pragma once

#include <string>

#include "pcode.h"

// The postfix items of an expression separated by blanks: constants
// (10, 2.5, 'a', true, "text"), references g0, l1, t2, elements g0[i][j]
// (whole arrays g0[]), operators by their symbol.
std::string ExpressionText(const TStackDatum& expr);

// A call record: s43(10) for a built-in, p2(l0, 1) for a user procedure;
// without an argument list just s43.
std::string CallRecordText(const TDatum& call);

// The instruction whose opcode is at cell, without the cell number; *next
// receives the cell after it. An undefined code gives "?CODE" and *next = -1.
std::string InstructionText(const TPseudoCode& code, int cell, int* next);

// The whole program from cell 0 to CodeSize, each line ending with '\n'.
// The walk stops after an undefined code.
std::string Listing(const TPseudoCode& code);
