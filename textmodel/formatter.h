// The program formatter behind "Упорядочить": one statement per line, braces
// on lines of their own, two blanks of indentation per open block or
// brace-less body, blanks around operators. It works on the raw characters
// with a small state machine, never uses the compiler and never rejects a
// text; it only moves line breaks and blanks between tokens, so a formatted
// program translates exactly when the original did, to the same p-code apart
// from line numbers. Lines are Windows-1251.
#pragma once

#include <string>
#include <vector>

// Replaces lines with the formatted program (at least one line, possibly
// with trailing blanks where the rules leave them).
void FormatProgram(std::vector<std::string>& lines);

// The same as a function of its input.
std::vector<std::string> FormattedProgram(const std::vector<std::string>& lines);

class TMemoBuffer;

// "Упорядочить" on an editor's text: the whole text is replaced as an
// undoable change (Undo brings the old layout back) and the caret stays on
// its line and column as far as the new text allows. Nothing happens to a
// read-only text.
void FormatBuffer(TMemoBuffer& buf);
