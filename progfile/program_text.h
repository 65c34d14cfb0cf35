// The .prg format: the program's lines as Windows-1251 bytes, each ended by
// CR LF, nothing else. Reading is lenient: CR LF, LF or CR end a line, the
// last line needs no end, and a file that is valid UTF-8 with non-ASCII text
// (a pupil's file from another editor) is read as UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TProgramText {
  std::vector<std::string> Lines;  // Windows-1251
  bool FromUtf8 = false;           // the bytes were read as UTF-8
  // 1-based numbers of the lines that held characters without a
  // Windows-1251 form; they became '?'. Empty for a Windows-1251 file.
  std::vector<int> LossyLines;
};

// The lines of a file's bytes. A UTF-8 byte-order mark is dropped.
TProgramText ReadProgramText(std::string_view bytes);

// The bytes of a .prg file: every line followed by CR LF.
std::string ProgramFileBytes(const std::vector<std::string>& lines);

// True when the file's own extension (not a folder's) is .htm or .html, in
// any case: such a name is read and written as the HTML page.
bool IsHtmlName(std::string_view path);

// The file name part of a path ('/' or '\' separated).
std::string_view FileNamePart(std::string_view path);

// "3, 7, 12": line numbers for a message.
std::string LineList(const std::vector<int>& lines);
