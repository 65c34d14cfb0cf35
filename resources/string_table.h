// The string table: every user-visible text and every word of the language.
//
// Each entry has a stable numeric id and its built-in Russian text. The
// entries live in strings/*.def, one file per layer, each in its own id range
// (see strings/all.def). Code asks for a text by id; a localisation table,
// when installed, is consulted first and an empty answer falls back to the
// built-in text. All texts come out in Windows-1251.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

enum TStrId : int {
#define TARMISY_STR(name, id, text) name = id,
#include "strings/all.def"
#undef TARMISY_STR
};

// The text of a string resource (Windows-1251). Localised when a localisation
// table is installed and gives a non-empty text for the id.
const std::string& Str(TStrId id);

// The built-in Russian text (Windows-1251), ignoring any localisation.
const std::string& BuiltinStr(TStrId id);

// True when id names an entry of the table.
bool IsStrId(int id);

// Every id of the table, in ascending order.
const std::vector<int>& AllStrIds();

// Installs a localisation table: a lookup from id to Windows-1251 text, where
// an empty answer means "use the built-in text". An empty function removes
// it. Call it while no program runs: texts handed out before stay valid, but
// later calls of Str see the new table.
void SetLocalisation(std::function<std::string(int)> lookup);

// One argument of Format: an integer, a real or a text.
class TFmtArg {
 public:
  enum Kind { kInt, kReal, kText };
  TFmtArg(int v) : kind_(kInt), int_(v) {}
  TFmtArg(long v) : kind_(kInt), int_(v) {}
  TFmtArg(long long v) : kind_(kInt), int_(v) {}
  TFmtArg(unsigned v) : kind_(kInt), int_(v) {}
  TFmtArg(double v) : kind_(kReal), real_(v) {}
  TFmtArg(std::string_view v) : kind_(kText), text_(v) {}
  TFmtArg(const std::string& v) : kind_(kText), text_(v) {}
  TFmtArg(const char* v) : kind_(kText), text_(v) {}
  Kind kind() const { return kind_; }
  long long AsInt() const { return kind_ == kReal ? static_cast<long long>(real_) : int_; }
  double AsReal() const { return kind_ == kReal ? real_ : static_cast<double>(int_); }
  std::string_view Text() const { return text_; }

 private:
  Kind kind_;
  long long int_ = 0;
  double real_ = 0;
  std::string_view text_;
};

// Fills a pattern the way the messages and the output formatting need:
// %s, %d (also %i, %u, %x), %f, %e, %g, %c and %%, each with optional flags
// "-" and "0", a width and a precision. As in the messages' original runtime,
// %f without a precision writes two decimals. A placeholder without an
// argument is copied as written. The result is built in a growing string, so
// no argument length can overflow anything.
std::string Format(std::string_view pattern, std::initializer_list<TFmtArg> args);

// Str(id) filled with args.
std::string FormatStr(TStrId id, std::initializer_list<TFmtArg> args);
