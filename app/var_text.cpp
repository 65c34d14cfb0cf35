#include "var_text.h"

#include <algorithm>

#include "datum.h"
#include "pcode.h"
#include "procedure.h"
#include "string_table.h"
#include "variables.h"

namespace {

// A character that stands for code 0 inside a character array (the
// currency sign of the Cyrillic code page).
constexpr char kZeroChar = '\xA4';

// The number conversions of the C library follow LC_NUMERIC, which a window
// toolkit may set from the desktop's locale; the pupil always sees a point.
std::string WithPoint(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

std::string RealText(double v) { return WithPoint(Format("%f", {v})); }
std::string ElementRealText(double v) { return WithPoint(Format("%.3g", {v})); }

std::string Dimensions(const TDatum& v) {
  std::string text;
  if (v.Size1 > 0) text += "[" + std::to_string(v.Size1) + "]";
  if (v.Size2 > 0) text += "[" + std::to_string(v.Size2) + "]";
  return text;
}

// One element of a logical, integer or real array as the lists show it.
std::string ElementText(const TDatum& a, int pos) {
  if (const uint8_t* b = a.Bools()) return b[pos] ? "1" : "0";
  if (const int32_t* n = a.Ints()) return std::to_string(n[pos]);
  if (const double* r = a.Reals()) return ElementRealText(r[pos]);
  return {};
}

// "{e e e}" for one row of count elements from first; logical elements
// stand side by side without a separator.
std::string RowText(const TDatum& a, int first, int count) {
  const std::string sep = a.Kind == dkLogicalArray ? "" : " ";
  std::string text = "{";
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += sep;
    text += ElementText(a, first + i);
  }
  return text + "}";
}

std::string CharArrayText(const TDatum& a) {
  const uint8_t* c = a.Chars();
  std::string text = "'";
  const int rows = a.Size2 > 0 ? a.Size1 : 1;
  const int cols = a.Size2 > 0 ? a.Size2 : a.Size1;
  for (int r = 0; r < rows; ++r) {
    if (r > 0) text += "'";
    for (int i = 0; i < cols && c; ++i) {
      const char ch = static_cast<char>(c[r * cols + i]);
      text += ch == 0 ? kZeroChar : ch;
    }
  }
  return text + "'";
}

std::string ArrayText(const TDatum& a) {
  if (a.Kind == dkCharArray) return CharArrayText(a);
  if (!a.HasBuffer()) return "{}";
  if (a.Size2 <= 0) return RowText(a, 0, a.Size1);
  std::string text = "{";
  for (int r = 0; r < a.Size1; ++r) {
    if (r > 0) text += ", ";
    text += RowText(a, r * a.Size2, a.Size2);
  }
  return text + "}";
}

const TVar* Find(const TVarList& list, std::string_view word) {
  const int i = list.IndexOf(word);
  return i >= 0 ? &list[i] : nullptr;
}

bool Holds(const TProcedure& p, int line) { return p.Entry >= 0 && p.FirstLine <= line && line <= p.LastLine; }

}  // namespace

std::string TypeText(const TDatum& v) {
  std::string text;
  switch (v.Kind) {
    case dkLogical: case dkLogicalArray: text = Str(sTypeLogical); break;
    case dkChar: case dkCharArray: text = Str(sTypeChar); break;
    case dkInteger: case dkIntegerArray: text = Str(sTypeInt); break;
    case dkReal: case dkRealArray: text = Str(sTypeFloat); break;
    default: return {};
  }
  return text + Dimensions(v);
}

std::string ValueText(const TDatum& v) {
  switch (v.Kind) {
    case dkLogical: return Str(v.BoolValue ? sValueTrue : sValueFalse);
    case dkChar:
      if (v.CharValue == 0) return Str(sCharUndefined);
      return std::string("'") + static_cast<char>(v.CharValue) + "'";
    case dkInteger: return std::to_string(v.IntValue);
    case dkReal: return RealText(v.RealValue);
    default: return IsArrayKind(v.Kind) ? ArrayText(v) : std::string();
  }
}

std::string KindName(int kind) {
  static constexpr TStrId kNames[] = {sKindLogicalVar,   sKindCharVar,   sKindIntVar,  sKindRealVar,
                                      sKindLogicalArray, sKindCharArray, sKindIntArray, sKindRealArray};
  if (kind < dkLogical || kind > dkRealArray) return {};
  return Str(kNames[kind - dkLogical]);
}

std::string LocalVarsLabel(const TProcedure& proc, int procIndex) {
  if (procIndex == 0) return Str(sMainProgramVars);
  const TStrId what = proc.Result.Kind == dkVoid ? sProcedureVars : sFunctionVars;
  return Str(what) + " '" + proc.Name + "'";
}

std::vector<TVarRow> VarRows(const TVarList& vars) {
  std::vector<TVarRow> rows;
  rows.reserve(static_cast<size_t>(vars.Count()));
  for (int i = 0; i < vars.Count(); ++i) rows.push_back({vars[i].Name, TypeText(vars[i]), ValueText(vars[i])});
  return rows;
}

const TVar* HintVariable(const TPauseView& view, int hintLine, std::string_view word) {
  if (!view.Code || word.empty()) return nullptr;
  const TProcList& procs = view.Code->Procs;
  // The procedure whose body holds the hovered line (bodies never overlap).
  int owner = -1;
  for (int p = 0; owner < 0 && p < procs.Count(); ++p)
    if (Holds(procs[p], hintLine)) owner = p;
  if (owner >= 0) {
    if (const TVar* local = Find(procs[owner].Vars, word)) return procs[owner].Active ? local : nullptr;
  }
  return Find(view.Code->Globals, word);
}
