// What the variables window and the value hint say about a variable: its
// type, its value, its kind, and which variable a hovered word names. Plain
// functions of the paused program, so that they are tested without a window.
// All texts are Windows-1251.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host.h"

class TDatum;
class TProcedure;
class TVar;
class TVarList;

// "int", "float[3]", "char[2][5]": the element type and the dimensions.
std::string TypeText(const TDatum& v);
// The value as the pupil reads it: истина/ложь, 'c', 42, 3.14, {1 2 3},
// 'abc¤¤', {{1 2}, {3 4}}. Every element of an array is shown.
std::string ValueText(const TDatum& v);
// "Целая переменная", "Символьный массив", ...; empty for other kinds.
std::string KindName(int kind);

// The caption of the right-hand list for procedure index procIndex:
// Переменные основной программы, or Переменные функции 'max'.
std::string LocalVarsLabel(const TProcedure& proc, int procIndex);

struct TVarRow {
  std::string Name;
  std::string Type;
  std::string Value;
};
// One row per variable of the list, in its order.
std::vector<TVarRow> VarRows(const TVarList& vars);

// The variable that word names on editor line hintLine while the program is
// paused, or nullptr. A variable of the procedure whose body holds the line
// hides a global of the same name; a procedure that is not running at the
// moment has no values to show.
const TVar* HintVariable(const TPauseView& view, int hintLine, std::string_view word);
