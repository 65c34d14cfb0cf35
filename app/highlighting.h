// The program editor's highlighting setup: the word lists and styles of
// program_words.h handed to a TqxSyntaxMemo.
#pragma once

#include <string>
#include <vector>

#include "program_words.h"
#include "style_list.h"

class TqxSyntaxMemo;

// Style indexes SetupHighlighting added to the editor's list.
struct THighlightStyles {
  int Keyword = 0, Function = 0, Command = 0, Sensor = 0, String = 0;
  int ErrorLine = 0, ErrorChar = 0, CurrentLine = 0;
};

// The program editor's settings that go with the lists: its delimiter,
// comment and number styles, "//" and "/* */" comments, case-sensitive
// comparison.
void SetupProgramEditor(TqxSyntaxMemo& editor);

// Adds the five word styles and the three line styles to the editor and
// hands it the lists. Call once per editor.
THighlightStyles SetupHighlighting(TqxSyntaxMemo& editor);
