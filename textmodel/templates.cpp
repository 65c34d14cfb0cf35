#include "templates.h"

#include <utility>

#include "string_table.h"

namespace {

// An item whose word has a Russian and an English form; args follows the
// word in the caption.
struct TWordItem {
  TStrId russian;
  TStrId english;
  const char* args;
  TTemplateHandler handler;
};

TTemplateItem Item(const TWordItem& w, bool russian) {
  return {Str(russian ? w.russian : w.english) + w.args, w.handler};
}

std::vector<TTemplateItem> Items(std::initializer_list<TWordItem> list, bool russian) {
  std::vector<TTemplateItem> items;
  for (const TWordItem& w : list) items.push_back(Item(w, russian));
  return items;
}

std::vector<TTemplateItem> Types(bool russian) {
  return Items({{sKwIntegerRu, sKwInt, "", thCaption},
                {sKwRealRu, sKwFloat, "", thCaption},
                {sKwCharRu, sKwChar, "", thCaption},
                {sKwLogicalRu, sKwLogical, "", thCaption}},
               russian);
}

std::vector<TTemplateItem> Statements(bool russian) {
  std::vector<TTemplateItem> items = Items({{sKwRepeatRu, sKwRepeat, " (  ) { }", thRepeat},
                                            {sKwForRu, sKwFor, " ( ; ; ) { }", thFor},
                                            {sKwWhileRu, sKwWhile, " ( ) {}", thWhile},
                                            {sKwIfRu, sKwIf, " { }", thIf}},
                                           russian);
  items.push_back({Str(russian ? sKwIfRu : sKwIf) + " ( ) { } " + Str(russian ? sKwElseRu : sKwElse) + " { }",
                   thIfElse});
  for (TTemplateItem& item : Items({{sKwBreakRu, sKwBreak, ";", thLine},
                                    {sKwContinueRu, sKwContinue, ";", thLine},
                                    {sKwInputRu, sKwInput, "", thCaption},
                                    {sKwPrintRu, sKwPrint, "", thCaption},
                                    {sFnClrScrRu, sFnClrScr, ";", thLine}},
                                   russian))
    items.push_back(std::move(item));
  return items;
}

std::vector<TTemplateItem> Functions() {
  static const std::pair<TStrId, TStrId> kFunctions[] = {
      {sTplFnTrunc, sFnTrunc}, {sTplFnRound, sFnRound}, {sTplFnSign, sFnSign}, {sTplFnRandom, sFnRandom},
      {sTplFnAbs, sFnAbs},     {sTplFnRGB, sFnRGB},     {sTplFnSin, sFnSin},   {sTplFnSinG, sFnSinG},
      {sTplFnCos, sFnCos},     {sTplFnCosG, sFnCosG},   {sTplFnTan, sFnTan},   {sTplFnTanG, sFnTanG},
      {sTplFnExp, sFnExp},     {sTplFnLn, sFnLn},       {sTplFnLg, sFnLg},
  };
  std::vector<TTemplateItem> items;
  for (const auto& [caption, name] : kFunctions) {
    // RGB has its own item in "Графика", where it is used.
    const bool rgb = name == sFnRGB;
    items.push_back({FormatStr(caption, {Str(name)}), rgb ? thFunc3 : thFunc1, !rgb});
  }
  return items;
}

std::vector<TTemplateItem> Strings(bool russian) {
  return Items({{sFnLengthRu, sFnLength, " ( S )", thFunc1},
                {sFnCopyRu, sFnCopy, " ( S, N, L )", thFunc3},
                {sFnPosRu, sFnPos, " ( T, S )", thFunc2},
                {sFnInsertRu, sFnInsert, " ( T, S, N )", thFunc3},
                {sFnDeleteRu, sFnDelete, " ( S, N, L )", thFunc3}},
               russian);
}

std::vector<TTemplateItem> Graphics(bool russian) {
  return Items({{sPlotLineRu, sPlotLine, " ( X1, Y1, X2, Y2 );", thCmd4},
                {sPlotMoveToRu, sPlotMoveTo, " ( X, Y );", thCmd2},
                {sPlotLineToRu, sPlotLineTo, " ( X, Y );", thCmd2},
                {sFnRGB, sFnRGB, " ( r, g, b )", thFunc3},
                {sPlotPenRu, sPlotPen, " ( C, S, W );", thCmd3},
                {sPlotBrushRu, sPlotBrush, " ( C, S );", thCmd2},
                {sPlotPointRu, sPlotPoint, " ( X, Y );", thCmd2},
                {sPlotRectangleRu, sPlotRectangle, " ( X1, Y1, X2, Y2 );", thCmd4},
                {sPlotEllipseRu, sPlotEllipse, " ( X1, Y1, X2, Y2 );", thCmd4},
                {sPlotArcRu, sPlotArc, " ( X1, Y1, X2, Y2, A1, A2 );", thCmd6},
                {sPlotFillRu, sPlotFill, " ( X, Y );", thCmd2},
                {sPlotFillToRu, sPlotFillTo, " ( X, Y, C )", thCmd3},
                {sPlotFontRu, sPlotFont, " ( N, H, S );", thCmd3},
                {sPlotTextColorRu, sPlotTextColor, " ( C );", thCmd1},
                {sPlotTextAngleRu, sPlotTextAngle, " ( A );", thCmd1},
                {sPlotTextOutRu, sPlotTextOut, " ( X, Y, S );", thCmd3}},
               russian);
}

// The executors' commands have only Russian names.
std::vector<TTemplateItem> Russian(std::initializer_list<std::pair<TStrId, std::pair<const char*, TTemplateHandler>>> list) {
  std::vector<TTemplateItem> items;
  for (const auto& [word, rest] : list) items.push_back({Str(word) + rest.first, rest.second});
  return items;
}

std::vector<TTemplateItem> PenCommandsWithoutArgs() {
  return Russian({{sCmdHome, {";", thLine}},
                  {sCmdHide, {";", thLine}},
                  {sCmdShow, {";", thLine}},
                  {sCmdPenUp, {";", thLine}},
                  {sCmdPenDown, {";", thLine}}});
}

std::vector<TTemplateItem> Turtle() {
  std::vector<TTemplateItem> items = PenCommandsWithoutArgs();
  // The Turtle's "окружность" takes the Func1 handler: no ";" (kept as the
  // menus have always inserted it).
  for (TTemplateItem& item : Russian({{sCmdTurtleForward, {" ( L );", thCmd1}},
                                      {sCmdTurtleBack, {" ( L );", thCmd1}},
                                      {sCmdTurtleLeft, {" ( L );", thCmd1}},
                                      {sCmdTurtleRight, {" ( L );", thCmd1}},
                                      {sCmdTurtleHeading, {" ( C );", thCmd1}},
                                      {sCmdColor, {" ( N );", thCmd1}},
                                      {sCmdColorRGB, {" ( r, g, b );", thCmd3}},
                                      {sCmdPaint, {" ( N );", thCmd1}},
                                      {sCmdPaintRGB, {" ( r, g, b );", thCmd3}},
                                      {sCmdCircle, {" ( R );", thFunc1}},
                                      {sCmdGoTo, {" ( x, y );", thCmd2}}}))
    items.push_back(std::move(item));
  return items;
}

std::vector<TTemplateItem> Drawer() {
  std::vector<TTemplateItem> items = PenCommandsWithoutArgs();
  for (TTemplateItem& item : Russian({{sCmdGoTo, {" ( x, y );", thCmd2}},
                                      {sCmdDrawerVector, {" ( dx, dy );", thCmd2}},
                                      {sCmdColor, {" ( N );", thCmd1}},
                                      {sCmdColorRGB, {" ( r, g, b );", thCmd3}},
                                      {sCmdPaint, {" ( N );", thCmd1}},
                                      {sCmdPaintRGB, {" ( r, g, b );", thCmd3}},
                                      {sCmdCircle, {" ( R );", thCmd1}}}))
    items.push_back(std::move(item));
  return items;
}

std::vector<TTemplateItem> Grondo() {
  std::vector<TTemplateItem> items = Russian({{sCmdGrondoForward, {" ( L );", thCmd1}},
                                              {sCmdGrondoBack, {" ( L );", thCmd1}},
                                              {sCmdGrondoLeft, {";", thLine}},
                                              {sCmdGrondoRight, {";", thLine}},
                                              {sCmdGrondoTurn, {";", thLine}},
                                              {sCmdGrondoPlant, {";", thLine}}});
  static const TStrId kSensors[] = {
      sSensorWallLeft,      sSensorWallRight,      sSensorWallAhead,      sSensorWallBehind,
      sSensorFlowerbedLeft, sSensorFlowerbedRight, sSensorFlowerbedAhead, sSensorFlowerbedBehind,
      sSensorFreeLeft,      sSensorFreeRight,      sSensorFreeAhead,      sSensorFreeBehind,
      sSensorBed,           sSensorFlowerbed,      sSensorBase,
  };
  for (TStrId sensor : kSensors) items.push_back({Str(sensor), thCaption});
  return items;
}

// The keyword of a block template: Russian when the clicked caption holds
// the Russian word.
std::string BlockWord(const std::string& caption, TStrId russian, TStrId english) {
  return caption.find(Str(russian)) != std::string::npos ? Str(russian) : Str(english);
}

const char kBlock[] = " ( \a )\r  {\r\r  }";

}  // namespace

TTemplateGroupCaptions TemplateGroup(TTemplateGroup group, bool russian) {
  switch (group) {
    case tgTypes: return {Str(russian ? sTplTypes : sTplTypesEn), Types(russian)};
    case tgStatements: return {Str(russian ? sTplStatements : sTplStatementsEn), Statements(russian)};
    case tgFunctions: return {Str(sTplFunctions), Functions()};
    case tgStrings: return {Str(russian ? sTplStrings : sTplStringsEn), Strings(russian)};
    case tgGraphics: return {Str(russian ? sTplGraphics : sTplGraphicsEn), Graphics(russian)};
    case tgTurtle: return {Str(sTplTurtle), Turtle()};
    case tgDrawer: return {Str(sTplDrawer), Drawer()};
    case tgGrondo: return {Str(sTplGrondo), Grondo()};
  }
  return {};
}

bool TemplateGroupVisible(TTemplateGroup group, int executorKind) {
  switch (group) {
    case tgGraphics: return executorKind == 0 || executorKind == 1;
    case tgTurtle: return executorKind == 0;
    case tgDrawer: return executorKind == 1;
    case tgGrondo: return executorKind == 2;
    default: return true;
  }
}

std::string LanguageSwitchCaption(bool russianShown) { return Str(russianShown ? sTplToEnglish : sTplToRussian); }

bool InterfaceIsEnglish() { return Str(sInterfaceLanguage) == "EN"; }

std::string TemplateText(TTemplateHandler handler, const std::string& caption) {
  const std::string k = caption.substr(0, caption.find(' '));
  switch (handler) {
    case thCaption:
    case thLine: return caption;
    case thFunc1: return k + " ( \a ) ";
    case thFunc2: return k + " ( \a,  )";
    case thFunc3: return k + " ( \a, ,  ) ";
    case thFunc4: return k + " ( \a, , ,  ) ";
    case thCmd1: return k + " ( \a );";
    case thCmd2: return k + " ( \a,  );";
    case thCmd3: return k + " ( \a, ,  );";
    case thCmd4: return k + " ( \a, , ,  );";
    case thCmd6: return k + " ( \a, , , , , );";
    case thRepeat: return BlockWord(caption, sKwRepeatRu, sKwRepeat) + kBlock;
    case thFor: return BlockWord(caption, sKwForRu, sKwFor) + " ( \a; ;  )\r  {\r\r  }";
    case thWhile: return BlockWord(caption, sKwWhileRu, sKwWhile) + kBlock;
    case thIf: return BlockWord(caption, sKwIfRu, sKwIf) + kBlock;
    case thIfElse: {
      const bool russian = caption.find(Str(sKwIfRu)) != std::string::npos;
      return Str(russian ? sKwIfRu : sKwIf) + kBlock + "\r" + Str(russian ? sKwElseRu : sKwElse) + "\r  {\r\r  }";
    }
  }
  return caption;
}

bool SemicolonRuleApplies(TTemplateHandler handler) {
  switch (handler) {
    case thCaption:
    case thLine:
    case thCmd1:
    case thCmd2:
    case thCmd3:
    case thCmd4:
    case thCmd6: return true;
    default: return false;
  }
}

std::string TemplateInsertion(TTemplateHandler handler, const std::string& caption, bool hasSelection,
                              const std::string& selectedText) {
  std::string text = TemplateText(handler, caption);
  if (SemicolonRuleApplies(handler) && hasSelection && selectedText.find(';') == std::string::npos)
    text = text.substr(0, text.find(';'));
  return text;
}
