// The words and symbols of the pupils' language.
//
// One set of tables, read by the scanner (keywords, logical words,
// operators), by the registration of built-ins in every p-code program, by
// name lookup (Russian aliases, plotter-only names), and by the editor's
// highlighting lists and template menus. Every word is a string resource
// (resources/strings/vocabulary.def); the tables hold resource ids, and
// TVocabulary reads the texts once, so a localisation table installed
// before it is built takes effect.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "string_table.h"

// Keyword numbers, as the scanner stores them in a token's Code.
enum TKeyword : uint8_t {
  kwNone = 0,
  kwVoid = 1,
  kwLogical = 2,
  kwChar = 3,
  kwInteger = 4,
  kwReal = 5,
  kwRepeat = 6,
  kwWhile = 7,
  kwFor = 8,
  kwPrint = 9,
  kwPrintLn = 10,
  kwInput = 11,
  kwReturn = 12,
  kwIf = 13,
  kwElse = 14,
  kwBreak = 15,
  kwContinue = 16,
  kwCin = 33,
  kwCout = 34,
  kwCoutLn = 35,
};

// True for the type names (keywords 1 to 5); their number is also the value
// kind they name.
inline bool IsTypeKeyword(int keyword) { return keyword >= kwVoid && keyword <= kwReal; }

// One written form of a keyword.
struct TKeywordWord {
  TStrId word;
  TKeyword keyword;
};

// Every written form of every keyword, both word sets, in the order of the
// keyword numbers.
std::span<const TKeywordWord> KeywordWords();

// One written form of a logical constant.
struct TLogicalWord {
  TStrId word;
  bool value;
};

// "true", "истина", "false", "ложь".
std::span<const TLogicalWord> LogicalWords();

// One entry of the operator table. needsBlank: the entry matches only when
// the end of the line or a blank follows it ("|", "&" and the words).
struct TOperatorEntry {
  std::string text;
  uint8_t code = 0;
  bool needsBlank = false;
};

constexpr int kOperatorCount = 31;
using TOperatorTable = std::array<TOperatorEntry, kOperatorCount>;

// The word operators in their table order (not, не, or, или, and, и); each
// stands in the operator table as written and upper-cased.
std::span<const TStrId> WordOperatorIds();

// Which executors register a built-in: a mask of (1 << executor kind), with
// the kinds 0 Turtle, 1 Drawer, 2 Grondo.
enum TExecutorMask : uint8_t {
  emTurtle = 1,
  emDrawer = 2,
  emGrondo = 4,
  emPen = emTurtle | emDrawer,
  emAll = emTurtle | emDrawer | emGrondo,
};

// The highlighting style of a built-in's name.
enum TBuiltinStyle : uint8_t { bsFunction, bsCommand, bsSensor, bsKeyword };

constexpr int kMaxBuiltinArgs = 6;
constexpr TStrId kNoWord = static_cast<TStrId>(0);

// A built-in procedure or function. Kinds are TDatum value kinds (1 void,
// 2 logical, 3 character, 4 integer, 5 real, 7 string).
struct TBuiltinDef {
  TStrId name;         // the name the program's built-in list holds
  TStrId russianName;  // Russian alias mapped to name before lookup, or kNoWord
  int32_t code;
  uint8_t result;
  uint8_t argCount;
  std::array<uint8_t, kMaxBuiltinArgs> args;
  uint8_t executors;  // TExecutorMask
  TBuiltinStyle style;
};

// Every built-in of every executor, in registration order: functions, pen
// commands, Turtle, Drawer, plotter set, Grondo. Filtering by executor
// keeps the registration order of that executor.
std::span<const TBuiltinDef> BuiltinTable();

// True when executor kind (0, 1, 2) registers def.
bool IsBuiltinOf(const TBuiltinDef& def, int executorKind);

// The built-ins of one executor kind, in registration order; the position
// in this list is the built-in's index in a program's built-in list.
std::vector<const TBuiltinDef*> BuiltinsFor(int executorKind);

// The 30 plotter names (English and Russian), in their fixed order.
std::span<const TStrId> PlotterOnlyNameIds();

// The texts of the vocabulary, read from the string table at construction.
// Build one per compilation (cheap); a localisation installed later is seen
// by the next one.
class TVocabulary {
 public:
  TVocabulary();

  // Keyword number of a word (case folded, Cyrillic included), or kwNone.
  int Keyword(std::string_view word) const;

  // For a word that folds to a logical constant word: 1 (true) or 0
  // (false); -1 otherwise.
  int LogicalConstant(std::string_view word) const;

  // The 31 operator entries in matching order.
  const TOperatorTable& Operators() const { return operators_; }

  // The English name for a Russian built-in alias (exact compare), or
  // nullptr when word is none.
  const std::string* EnglishName(const std::string& word) const;

  // True when word is one of the 30 plotter names (exact compare).
  bool IsPlotterOnlyName(const std::string& word) const;

 private:
  std::unordered_map<std::string, uint8_t> keywords_;  // folded text -> number
  std::unordered_map<std::string, bool> logicals_;     // folded text -> value
  TOperatorTable operators_;
  std::unordered_map<std::string, std::string> english_;
  std::vector<std::string> plotterNames_;
};
