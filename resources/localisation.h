// The localisation file: the program's interface texts in another language.
//
// The file is a plain translation text scrambled byte by byte with a fixed
// key of 100 bytes, so that a casual edit does not break the interface.
// The text has one entry a line, "ID<TAB>text" in UTF-8, with \n, \r, \t
// and \\ escapes; lines starting with '#' and empty lines are ignored. An
// entry whose id the program lacks, whose text is not well-formed, whose
// line is cut off, or whose %s and %d placeholders differ from the
// built-in text's is left out, so its built-in text stays in use: a
// damaged file falls back entry by entry. tools/loc_tool.cpp makes such
// files from the plain text and back.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The file looked for in the current folder, then beside the program.
inline constexpr char kLocalisationFileName[] = "Grondo.loc";

// Byte i combined with key byte i mod 100 by exclusive or; applying it
// twice gives the bytes back.
std::string ScrambleLocalisation(std::string_view bytes);

// Something wrong with one line of a translation text (1-based line).
struct TLocIssue {
  enum TKind { Syntax, UnknownId, Placeholders };
  int Line;
  TKind Kind;
  int Id;  // 0 for a syntax error
};

// The entries of a plain translation text, id -> Windows-1251 text; lines
// that are left out are reported in issues when given.
std::map<int, std::string> ParseLocalisation(std::string_view text, std::vector<TLocIssue>* issues = nullptr);

// True when text has the placeholders of builtin, in the same order (the
// conversions %s, %d, %f, ... count; flags, widths and "%%" do not).
bool SamePlaceholders(std::string_view builtin, std::string_view text);

// Installs entries as the localisation of the string table.
void InstallLocalisation(std::map<int, std::string> entries);

// Reads the scrambled file at path and installs what it holds. False, and
// nothing changed, when the file cannot be read or is unreasonably large.
bool LoadLocalisationFile(const std::string& path);

// Looks for kLocalisationFileName in each folder in turn and loads the
// first one found; returns its path, or "" when none was (the built-in
// texts stay). Call it at start, before any text is shown.
std::string LoadLocalisation(const std::vector<std::string>& folders);
