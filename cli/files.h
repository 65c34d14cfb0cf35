// The files of a headless run: the standard descriptors, the program, the
// input, and the files written after the run.
#pragma once

#include <string>

// A pupil's program is never near this size; a larger "program" is a
// mistaken file, and reading it whole would only exhaust memory.
inline constexpr long kMaxProgramBytes = 16L << 20;

// Opens /dev/null on each of descriptors 0..2 that is closed. Called before
// anything else opens a file: a closed one would be taken by the next open
// (Qt's event descriptor, the input file), and the console would then read
// from or write to that. Standard input then reads as empty; standard
// output and error are opened for reading only, so that writing to them
// still fails as writing to a closed descriptor does.
void KeepStandardDescriptors();

// Reads a program file: a regular file of at most kMaxProgramBytes. A FIFO
// is opened without waiting for a writer, and refused with any other file
// that is not regular. On failure returns false and sets error to the
// message (Windows-1251); shown is the file's name as messages show it.
bool ReadProgramFile(const std::string& path, const std::string& shown, std::string& bytes, std::string& error);

// Opens the input file for reading: a file, a pipe or a device, not a
// folder. Returns the descriptor, or -1 with error set as above.
int OpenInputFile(const std::string& path, const std::string& shown, std::string& error);

// True when a names an existing file that is also b (same device and
// inode), however each is spelled; a link to the file counts as the file.
bool SameFile(const std::string& a, const std::string& b);
// The same for an open descriptor.
bool SameFile(const std::string& a, int fd);

// The file at path may be written: an existing regular file we may write,
// or a new one in a folder we may write in. Checked before the run, so that
// a mistyped folder costs no run.
bool CanWrite(const std::string& path);
