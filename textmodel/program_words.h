// What a program text colors: the styles of the language's words, signs
// and strings, and the styles that mark the error and current lines. The
// words come from the language's vocabulary tables, so the editor colors
// exactly what the compiler knows (and a localisation that renames a word
// renames it here too). Plain data, so that the editor, the HTML export and
// the reports of the headless tools color a program alike.
#pragma once

#include <string>
#include <vector>

#include "style_list.h"

// The colors of the word styles, in the order they join the style list.
inline constexpr TCharStyle kKeywordStyle{clBlue, clWhite, 0};
inline constexpr TCharStyle kFunctionStyle{clNavy, clWhite, fsBold};
inline constexpr TCharStyle kCommandStyle{RGBColor(204, 0, 0), clWhite, fsBold};
inline constexpr TCharStyle kSensorStyle{clFuchsia, clWhite, fsBold};
inline constexpr TCharStyle kStringStyle{clGreen, clWhite, 0};
inline constexpr TCharStyle kErrorLineStyle{clYellow, clRed, fsBold};
inline constexpr TCharStyle kErrorCharStyle{clBlack, clYellow, fsBold};
inline constexpr TCharStyle kCurrentLineStyle{clWhite, clGreen, 0};
// The program editor's own delimiter, comment and number styles.
inline constexpr TCharStyle kDelimiterStyle{clBlue, clWhite, 0};
inline constexpr TCharStyle kCommentStyle{clSilver, clWhite, fsItalic};
inline constexpr TCharStyle kNumberStyle{clNavy, clWhite, 0};

// The lists handed to the editor, Windows-1251.
struct THighlightLists {
  std::vector<std::string> Keywords;   // keyword style
  std::vector<std::string> Specials;   // keyword style, compared before words
  std::vector<std::string> Functions;  // built-in functions and drawing procedures
  std::vector<std::string> Commands;   // Turtle, Drawer and Grondo commands
  std::vector<std::string> Sensors;    // Grondo's sensors
  std::vector<std::string> Brackets;   // string style: opening and closing quote
};

// The lists, read from the string table now.
THighlightLists HighlightLists();

