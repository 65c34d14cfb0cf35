// Tokens of the source scanner.
//
// The scanner itself is part of TCompiler (compiler.h): it works on the
// editor's lines in place, with a line/column cursor and a history of three
// tokens, and it owns the compiler's error reporting.
#pragma once

#include <cstdint>
#include <string>

// Token kinds. The numbers are fixed; 3, 4, 7 and 8 are given by name
// lookup, never by the scanner.
enum TTokenKind : uint8_t {
  tkConstant = 0,    // number, character literal, logical word
  tkKeyword = 1,
  tkString = 2,      // literal in double quotes
  tkGlobalVar = 3,
  tkLocalVar = 4,
  tkUserProc = 7,
  tkSysProc = 8,
  tkIdentifier = 9,  // any other word
  tkLParen = 10,
  tkRParen = 11,
  tkLBrace = 12,
  tkRBrace = 13,
  tkLBracket = 14,
  tkRBracket = 15,
  tkOperator = 16,
  tkEnd = 18,
  tkSemicolon = 19,
  tkComma = 20,
  tkColon = 21,
};

struct TToken {
  // The text: as written; for a string literal the characters between the
  // quotes, for a character literal the one character, for the logical
  // words "1" or "0".
  std::string Text;
  int32_t Line = 0;  // 0-based line of the first character
  int32_t Col = 1;   // 1-based column of the first character
  uint8_t Kind = tkEnd;
  uint8_t Code = 0;       // keyword number or operator code
  uint8_t ValueType = 0;  // constant's kind, type keyword's type, variable's kind
  int32_t Index = 0;      // after name lookup: index in its list
};

// The scanner's look-ahead state: the three token records.
struct TScanState {
  TToken Token2, Token1, Token;
};
