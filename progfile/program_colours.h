// The program editor's colouring without the editor: the same styles in
// the same order and the same word lists, for the tools that write a
// program as an HTML page without a window.
#pragma once

#include <string>
#include <vector>

#include "highlighter.h"
#include "style_list.h"

struct TProgramColouring {
  TStyleList Styles;
  THighlighter Highlighter;
};

// The styles and the highlighter set up as the program editor is.
TProgramColouring ProgramColouring();

// One style byte per character of each line, scanning from the first line.
std::vector<std::string> LineStyles(const THighlighter& highlighter, const std::vector<std::string>& lines);
