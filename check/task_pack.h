// What tarmisy-check is given: the task pack and the pupils' programs.
//
// A task pack is a folder: every *.maz in it is a field a Grondo program
// must solve; every NAME.in with a NAME.out beside it is a console test
// (the input typed, the console expected: as the runner shows it, with the
// typed lines in it, or as the program writes it, without them); task.txt, when present, is the task's wording. A
// single .maz file is a pack of one field. Paths are the system's (UTF-8).
#pragma once

#include <string>
#include <vector>

struct TConsoleTest {
  std::string Name;       // NAME
  std::string InputPath;  // NAME.in
  std::string Expected;   // NAME.out's text, UTF-8
  std::string Typed;      // NAME.in's text, UTF-8
};

struct TTaskPack {
  std::string Name;                  // the folder's or file's name
  std::vector<std::string> Fields;   // .maz paths, by name
  std::vector<TConsoleTest> Tests;   // by name
  std::string Wording;               // task.txt, UTF-8; empty without one
};

// Reads the pack at path; false with a message (UTF-8) when it is neither a
// .maz file nor a folder holding a field or a console test.
bool LoadTaskPack(const std::string& path, TTaskPack& pack, std::string& error);

// The .prg files named by args: files as given, folders by their *.prg
// files (not descending), each folder's sorted by name. False with a
// message when an argument names nothing or no program is found.
bool CollectPrograms(const std::vector<std::string>& args, std::vector<std::string>& programs, std::string& error);

// Text as UTF-8: kept when valid UTF-8 (a byte-order mark dropped), read as
// Windows-1251 otherwise. Line breaks become '\n'.
std::string TextAsUtf8(const std::string& bytes);

// Reads a whole file; false when it cannot.
bool ReadWholeFile(const std::string& path, std::string& bytes);
