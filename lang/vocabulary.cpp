#include "vocabulary.h"

#include "datum.h"
#include "encoding.h"

namespace {

// Short names of the value kinds, so that the built-in table reads as one.
constexpr uint8_t V = dkVoid;
constexpr uint8_t L = dkLogical;
constexpr uint8_t I = dkInteger;
constexpr uint8_t R = dkReal;
constexpr uint8_t S = dkCharArray;  // a string

constexpr TKeywordWord kKeywordWords[] = {
    {sKwVoid, kwVoid},           {sKwVoidAlt, kwVoid},
    {sKwLogicalRu, kwLogical},   {sKwBoolean, kwLogical},     {sKwLogical, kwLogical},
    {sKwCharRu, kwChar},         {sKwChar, kwChar},
    {sKwIntegerRu, kwInteger},   {sKwInt, kwInteger},         {sKwInteger, kwInteger},
    {sKwRealRu, kwReal},         {sKwFloat, kwReal},          {sKwReal, kwReal},
    {sKwRepeatRu, kwRepeat},     {sKwRepeat, kwRepeat},
    {sKwWhileRu, kwWhile},       {sKwWhile, kwWhile},
    {sKwForRu, kwFor},           {sKwFor, kwFor},
    {sKwPrintRu, kwPrint},       {sKwPrintRu2, kwPrint},      {sKwPrint, kwPrint},
    {sKwPrintLnRu, kwPrintLn},   {sKwPrintLnRu2, kwPrintLn},  {sKwPrintLn, kwPrintLn},
    {sKwInputRu, kwInput},       {sKwInput, kwInput},
    {sKwReturnRu, kwReturn},     {sKwReturn, kwReturn},
    {sKwIfRu, kwIf},             {sKwIf, kwIf},
    {sKwElseRu, kwElse},         {sKwElse, kwElse},
    {sKwBreakRu, kwBreak},       {sKwBreak, kwBreak},
    {sKwContinueRu, kwContinue}, {sKwContinue, kwContinue},
    {sKwCin, kwCin},             {sKwCout, kwCout},           {sKwCoutLn, kwCoutLn},
};

constexpr TLogicalWord kLogicalWords[] = {
    {sConstTrueRu, true}, {sConstTrue, true}, {sConstFalseRu, false}, {sConstFalse, false}};

constexpr TStrId kWordOperators[] = {sOpNot, sOpNotRu, sOpOr, sOpOrRu, sOpAnd, sOpAndRu};
// Operator codes of the word operators, in the order above.
constexpr uint8_t kWordOperatorCodes[] = {ocNot, ocNot, ocOr, ocOr, ocAnd, ocAnd};

struct TSymbolOperator {
  const char* text;
  uint8_t code;
};

// Entries 1 to 19. The two-character operators stand before their
// one-character prefixes so that the longer one wins.
constexpr TSymbolOperator kSymbolOperators[] = {
    {">>", ocInput}, {"<<", ocOutput}, {"+", ocAdd}, {"-", ocSub}, {"*", ocMul},
    {"/", ocDiv},    {"%", ocMod},    {"^", ocPow}, {"==", ocEq}, {"=", ocAssign},
    {"!=", ocNe},    {"<>", ocNe},    {"<=", ocLe}, {"<", ocLt},  {">=", ocGe},
    {">", ocGt},     {"!", ocNot},    {"|", ocOr},  {"&", ocAnd}};
constexpr int kFirstNeedsBlank = 17;  // 0-based: "|" and everything after it

constexpr TBuiltinDef kBuiltins[] = {
    // Functions, for every executor.
    {sFnTrunc, kNoWord, 1001, I, 1, {R}, emAll, bsFunction},
    {sFnRound, kNoWord, 1002, I, 1, {R}, emAll, bsFunction},
    {sFnSqrt, kNoWord, 1003, R, 1, {R}, emAll, bsFunction},
    {sFnAbs, kNoWord, 1004, R, 1, {R}, emAll, bsFunction},
    {sFnSin, kNoWord, 1006, R, 1, {R}, emAll, bsFunction},
    {sFnSinG, kNoWord, 1007, R, 1, {R}, emAll, bsFunction},
    {sFnCos, kNoWord, 1008, R, 1, {R}, emAll, bsFunction},
    {sFnCosG, kNoWord, 1009, R, 1, {R}, emAll, bsFunction},
    {sFnTan, kNoWord, 1010, R, 1, {R}, emAll, bsFunction},
    {sFnTanG, kNoWord, 1011, R, 1, {R}, emAll, bsFunction},
    {sFnArcSin, kNoWord, 1020, R, 1, {R}, emAll, bsFunction},
    {sFnArcSinG, kNoWord, 1021, R, 1, {R}, emAll, bsFunction},
    {sFnArcCos, kNoWord, 1022, R, 1, {R}, emAll, bsFunction},
    {sFnArcCosG, kNoWord, 1023, R, 1, {R}, emAll, bsFunction},
    {sFnArcTan, kNoWord, 1024, R, 1, {R}, emAll, bsFunction},
    {sFnArcTanG, kNoWord, 1025, R, 1, {R}, emAll, bsFunction},
    {sFnArcTan2, kNoWord, 1026, R, 2, {R, R}, emAll, bsFunction},
    {sFnArcTan2G, kNoWord, 1027, R, 2, {R, R}, emAll, bsFunction},
    {sFnExp, kNoWord, 1012, R, 1, {R}, emAll, bsFunction},
    {sFnLn, kNoWord, 1013, R, 1, {R}, emAll, bsFunction},
    {sFnLg, kNoWord, 1014, R, 1, {R}, emAll, bsFunction},
    {sFnSign, kNoWord, 1015, I, 1, {R}, emAll, bsFunction},
    {sFnRandom, kNoWord, 1016, I, 1, {I}, emAll, bsFunction},
    {sFnRandomU, kNoWord, 1017, R, 0, {}, emAll, bsFunction},
    {sFnPi, kNoWord, 1018, R, 0, {}, emAll, bsFunction},
    {sFnRGB, kNoWord, 1019, I, 3, {I, I, I}, emAll, bsFunction},
    {sFnPos, sFnPosRu, 1031, I, 2, {S, S}, emAll, bsFunction},
    {sFnInsert, sFnInsertRu, 1029, S, 3, {S, S, I}, emAll, bsFunction},
    {sFnDelete, sFnDeleteRu, 1030, S, 3, {S, I, I}, emAll, bsFunction},
    {sFnCopy, sFnCopyRu, 1028, S, 3, {S, I, I}, emAll, bsFunction},
    {sFnLength, sFnLengthRu, 1032, I, 1, {S}, emAll, bsFunction},
    {sFnClrScr, sFnClrScrRu, 2114, V, 0, {}, emAll, bsKeyword},
    // Pen commands of the Turtle and the Drawer.
    {sCmdHome, kNoWord, 2001, V, 0, {}, emPen, bsCommand},
    {sCmdHide, kNoWord, 2002, V, 0, {}, emPen, bsCommand},
    {sCmdShow, kNoWord, 2003, V, 0, {}, emPen, bsCommand},
    {sCmdGoTo, kNoWord, 2004, V, 2, {I, I}, emPen, bsCommand},
    {sCmdPenUp, kNoWord, 2006, V, 0, {}, emPen, bsCommand},
    {sCmdPenDown, kNoWord, 2007, V, 0, {}, emPen, bsCommand},
    {sCmdPaint, kNoWord, 2008, V, 1, {I}, emPen, bsCommand},
    {sCmdPaintRGB, kNoWord, 2009, V, 3, {I, I, I}, emPen, bsCommand},
    {sCmdCircle, kNoWord, 2015, V, 1, {I}, emPen, bsCommand},
    {sCmdColor, kNoWord, 2010, V, 1, {I}, emPen, bsCommand},
    {sCmdColorRGB, kNoWord, 2011, V, 3, {I, I, I}, emPen, bsCommand},
    // The Turtle.
    {sCmdTurtleForward, kNoWord, 3001, V, 1, {I}, emTurtle, bsCommand},
    {sCmdTurtleBack, kNoWord, 3002, V, 1, {I}, emTurtle, bsCommand},
    {sCmdTurtleLeft, kNoWord, 3003, V, 1, {I}, emTurtle, bsCommand},
    {sCmdTurtleRight, kNoWord, 3004, V, 1, {I}, emTurtle, bsCommand},
    {sCmdTurtleHeading, kNoWord, 3005, V, 1, {I}, emTurtle, bsCommand},
    // The Drawer.
    {sCmdDrawerVector, kNoWord, 2005, V, 2, {I, I}, emDrawer, bsCommand},
    // The plotter set, after the executor's own commands.
    {sPlotMoveTo, sPlotMoveToRu, 2100, V, 2, {I, I}, emPen, bsFunction},
    {sPlotLineTo, sPlotLineToRu, 2101, V, 2, {I, I}, emPen, bsFunction},
    {sPlotLine, sPlotLineRu, 2102, V, 4, {I, I, I, I}, emPen, bsFunction},
    {sPlotRectangle, sPlotRectangleRu, 2103, V, 4, {I, I, I, I}, emPen, bsFunction},
    {sPlotArc, sPlotArcRu, 2115, V, 6, {I, I, I, I, R, R}, emPen, bsFunction},
    {sPlotEllipse, sPlotEllipseRu, 2104, V, 4, {I, I, I, I}, emPen, bsFunction},
    {sPlotPen, sPlotPenRu, 2105, V, 3, {I, I, I}, emPen, bsFunction},
    {sPlotBrush, sPlotBrushRu, 2106, V, 2, {I, I}, emPen, bsFunction},
    {sPlotFont, sPlotFontRu, 2107, V, 3, {S, I, I}, emPen, bsFunction},
    {sPlotTextColor, sPlotTextColorRu, 2108, V, 1, {I}, emPen, bsFunction},
    {sPlotTextAngle, sPlotTextAngleRu, 2109, V, 1, {I}, emPen, bsFunction},
    {sPlotTextOut, sPlotTextOutRu, 2110, V, 3, {I, I, S}, emPen, bsFunction},
    {sPlotPoint, sPlotPointRu, 2113, V, 2, {I, I}, emPen, bsFunction},
    {sPlotFill, sPlotFillRu, 2111, V, 2, {I, I}, emPen, bsFunction},
    {sPlotFillTo, sPlotFillToRu, 2112, V, 3, {I, I, I}, emPen, bsFunction},
    // Grondo.
    {sCmdGrondoForward, kNoWord, 4001, V, 1, {I}, emGrondo, bsCommand},
    {sCmdGrondoBack, kNoWord, 4002, V, 1, {I}, emGrondo, bsCommand},
    {sCmdGrondoLeft, kNoWord, 4003, V, 0, {}, emGrondo, bsCommand},
    {sCmdGrondoRight, kNoWord, 4004, V, 0, {}, emGrondo, bsCommand},
    {sCmdGrondoTurn, kNoWord, 4005, V, 0, {}, emGrondo, bsCommand},
    {sCmdGrondoPlant, kNoWord, 4006, V, 0, {}, emGrondo, bsCommand},
    {sSensorWallAhead, kNoWord, 4008, L, 0, {}, emGrondo, bsSensor},
    {sSensorWallBehind, kNoWord, 4009, L, 0, {}, emGrondo, bsSensor},
    {sSensorWallLeft, kNoWord, 4010, L, 0, {}, emGrondo, bsSensor},
    {sSensorWallRight, kNoWord, 4011, L, 0, {}, emGrondo, bsSensor},
    {sSensorFlowerbedAhead, kNoWord, 4012, L, 0, {}, emGrondo, bsSensor},
    {sSensorFlowerbedBehind, kNoWord, 4013, L, 0, {}, emGrondo, bsSensor},
    {sSensorFlowerbedLeft, kNoWord, 4014, L, 0, {}, emGrondo, bsSensor},
    {sSensorFlowerbedRight, kNoWord, 4015, L, 0, {}, emGrondo, bsSensor},
    {sSensorFreeAhead, kNoWord, 4016, L, 0, {}, emGrondo, bsSensor},
    {sSensorFreeBehind, kNoWord, 4017, L, 0, {}, emGrondo, bsSensor},
    {sSensorFreeLeft, kNoWord, 4018, L, 0, {}, emGrondo, bsSensor},
    {sSensorFreeRight, kNoWord, 4019, L, 0, {}, emGrondo, bsSensor},
    {sSensorBed, kNoWord, 4020, L, 0, {}, emGrondo, bsSensor},
    {sSensorFlowerbed, kNoWord, 4021, L, 0, {}, emGrondo, bsSensor},
    {sSensorBase, kNoWord, 4022, L, 0, {}, emGrondo, bsSensor},
};

constexpr TStrId kPlotterOnlyNames[] = {
    sPlotMoveTo,    sPlotMoveToRu,    sPlotLineTo,  sPlotLineToRu,  sPlotLine,      sPlotLineRu,
    sPlotPen,       sPlotPenRu,       sPlotBrush,   sPlotBrushRu,   sPlotTextColor, sPlotTextColorRu,
    sPlotTextAngle, sPlotTextAngleRu, sPlotTextOut, sPlotTextOutRu, sPlotPoint,     sPlotPointRu,
    sPlotRectangle, sPlotRectangleRu, sPlotEllipse, sPlotEllipseRu, sPlotFillRu,    sPlotFill,
    sPlotFillTo,    sPlotFillToRu,    sPlotFont,    sPlotFontRu,    sPlotArc,       sPlotArcRu};

}  // namespace

std::span<const TKeywordWord> KeywordWords() { return kKeywordWords; }
std::span<const TLogicalWord> LogicalWords() { return kLogicalWords; }
std::span<const TStrId> WordOperatorIds() { return kWordOperators; }
std::span<const TBuiltinDef> BuiltinTable() { return kBuiltins; }
std::span<const TStrId> PlotterOnlyNameIds() { return kPlotterOnlyNames; }

bool IsBuiltinOf(const TBuiltinDef& def, int executorKind) {
  return executorKind >= 0 && executorKind <= 2 && (def.executors & (1 << executorKind)) != 0;
}

std::vector<const TBuiltinDef*> BuiltinsFor(int executorKind) {
  std::vector<const TBuiltinDef*> out;
  for (const TBuiltinDef& def : kBuiltins)
    if (IsBuiltinOf(def, executorKind)) out.push_back(&def);
  return out;
}

TVocabulary::TVocabulary() {
  for (const TKeywordWord& k : kKeywordWords) keywords_.emplace(LowerCase(Str(k.word)), k.keyword);
  for (const TLogicalWord& w : kLogicalWords) logicals_.emplace(LowerCase(Str(w.word)), w.value);

  int n = 0;
  for (const TSymbolOperator& op : kSymbolOperators) {
    operators_[n] = {op.text, op.code, n >= kFirstNeedsBlank};
    ++n;
  }
  // Matching is case-sensitive, so each word operator stands twice: as the
  // resource writes it and upper-cased.
  for (size_t i = 0; i < std::size(kWordOperators); ++i) {
    const std::string& word = Str(kWordOperators[i]);
    operators_[n++] = {word, kWordOperatorCodes[i], true};
    operators_[n++] = {UpperCase(word), kWordOperatorCodes[i], true};
  }

  for (const TBuiltinDef& def : kBuiltins)
    if (def.russianName != kNoWord) english_.emplace(Str(def.russianName), Str(def.name));
  for (TStrId id : kPlotterOnlyNames) plotterNames_.push_back(Str(id));
}

int TVocabulary::Keyword(std::string_view word) const {
  auto it = keywords_.find(LowerCase(word));
  return it == keywords_.end() ? static_cast<int>(kwNone) : it->second;
}

int TVocabulary::LogicalConstant(std::string_view word) const {
  auto it = logicals_.find(LowerCase(word));
  return it == logicals_.end() ? -1 : (it->second ? 1 : 0);
}

const std::string* TVocabulary::EnglishName(const std::string& word) const {
  auto it = english_.find(word);
  return it == english_.end() ? nullptr : &it->second;
}

bool TVocabulary::IsPlotterOnlyName(const std::string& word) const {
  for (const std::string& name : plotterNames_)
    if (name == word) return true;
  return false;
}
