// The console as the interpreter sees it: a list of lines, the formatting of
// printed values and the parsing of typed input.
//
// The console widget of the window keeps its own lines (with styles, caret
// and key filtering); this model is what the headless runner and the tests
// keep, and its rules are the widget's: AddLine fills a lone empty line
// instead of adding one, an input starts on a line of its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TDatum;

class TConsoleModel {
 public:
  TConsoleModel() : lines_(1) {}

  const std::vector<std::string>& Lines() const { return lines_; }
  const std::string& LastLine() const { return lines_.back(); }

  // When the console holds one empty line, that line becomes text; otherwise
  // text is appended as a new line. Returns true when a line was added.
  bool AddLine(std::string_view text);
  // Line index becomes its text followed by text (ignored outside the list).
  void AppendToLine(int index, std::string_view text);
  // Appends to the last line.
  void Append(std::string_view text);
  // One empty line remains.
  void Clear();
  // A console whose text a stream has already written need not keep it: with
  // keep off, only what the rules above look at survives (whether the
  // console is a single empty line, whether its last line is empty), so an
  // endless printing loop does not grow memory. Lines() then holds the last
  // line, cut to its first character.
  void SetKeepText(bool keep);
  // Starts an input: when the last line is not empty, a new line is added
  // for the typed text. Returns true when it added one.
  bool BeginInput();
  // The whole text, lines joined by '\n' (no final line break).
  std::string Text() const;

 private:
  // Drops what a console that does not keep its text no longer needs.
  void Forget();

  std::vector<std::string> lines_;
  bool keep_ = true;
  bool dropped_ = false;  // lines were forgotten: the console is more than one line
};

// The text an output instruction writes for value with the compiler's width
// and fraction. A width of 0 means none; a negative width left-aligns the
// text in a field of -width characters (the pupil wrote "x:-8"). Raises
// EExecuteException "формат дробной части можно указывать только для
// вещественных чисел" and "вывод двухмерных массивов не поддерживается".
std::string FormatOutput(const TDatum& value, int width, int fraction);

// Typed input: true and the value when text (trimmed) is a decimal integer
// in the 32-bit range.
bool ParseIntegerInput(std::string_view text, int32_t& value);
// True and the value when text (trimmed) is a finite decimal real; "." and
// "," are both accepted as the decimal separator.
bool ParseRealInput(std::string_view text, double& value);
// A typed logical: true when the upper-cased text starts with T or И.
bool ParseLogicalInput(std::string_view text);
