// The checker's texts: the string table speaks Windows-1251, the reports
// and the terminal UTF-8.
#pragma once

#include <string>

#include "encoding.h"
#include "string_table.h"

inline std::string U8(TStrId id) { return Cp1251ToUtf8(Str(id)); }
inline std::string U8(TStrId id, std::initializer_list<TFmtArg> args) { return Cp1251ToUtf8(FormatStr(id, args)); }
// A UTF-8 text for a %s of the table.
inline std::string Cp(const std::string& utf8) { return Utf8ToCp1251(utf8); }
