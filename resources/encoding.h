// Windows-1251 <-> UTF-8 conversion and case folding of Windows-1251 bytes.
//
// Everything inside the core is Windows-1251 bytes in std::string: program
// lines, tokens, values, console text and messages. This is the one place
// where text changes encoding; the Qt layer adds QString twins on top.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text in Windows-1251 to UTF-8. Every byte has a form (0x98, unassigned in
// the code page, becomes U+0098), so the conversion never fails.
std::string Cp1251ToUtf8(std::string_view text);

// UTF-8 to Windows-1251. A character without a Windows-1251 form, and every
// byte of a malformed UTF-8 sequence, becomes '?'.
std::string Utf8ToCp1251(std::string_view text);

// The Windows-1251 byte for a Unicode code point, or '?' when it has none.
unsigned char UnicodeToCp1251(char32_t code);
// The Unicode code point of a Windows-1251 byte.
char32_t Cp1251ToUnicode(unsigned char byte);

// True when text is well-formed UTF-8 (ASCII included).
bool IsValidUtf8(std::string_view text);
// True when text is well-formed UTF-8 and holds at least one non-ASCII
// character: the test for "this file came from a UTF-8 editor".
bool LooksLikeUtf8(std::string_view text);

// Case folding of one Windows-1251 byte: Latin, Russian (Ё/ё included) and
// the other Cyrillic letters of the code page. Other bytes are unchanged.
unsigned char LowerCp1251(unsigned char c);
unsigned char UpperCp1251(unsigned char c);
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

// Letter and digit tests on Windows-1251 bytes.
bool IsLetterCp1251(unsigned char c);

// Splits text at CR LF, LF and CR, the line ends of program files from any
// system. An empty text is one empty line; a line end at the very end does
// not start another line.
std::vector<std::string> SplitLines(std::string_view text);
inline bool IsDigitCp1251(unsigned char c) { return c >= '0' && c <= '9'; }
