// Grondo task files (*.maz): reading, writing and the save workflow.
//
// A task file is plain 8-bit text, one line per maze row, one byte per cell.
// Lines end in CR LF, LF or CR when read; the program writes CR LF. Bytes
// outside the cell alphabet pass through unchanged. There is no header.
//
// File names are native paths (UTF-8 on Linux); messages are Windows-1251
// and show the name converted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "errors.h"
#include "grid.h"

// The most cells a loaded task may have once normalised. The maze editor
// stops at 100 x 100; files may be larger, but a field of millions of cells
// would exhaust memory when drawn, so such a file is refused.
inline constexpr int kMaxMazeCells = 160000;
// Files longer than this are not read at all (no task of kMaxMazeCells cells
// comes near it, even with CR LF after every row).
inline constexpr long kMaxMazeFileBytes = 1 << 20;

// A task file could not be read, or could not be written.
class EMazeFileError : public ETarmisyException {
  using ETarmisyException::ETarmisyException;
};

// Splits file contents into rows: CR LF, LF and CR each end a line; the last
// line needs no terminator, and a final terminator adds no empty row.
TMaze ParseMaze(std::string_view bytes);

// The file contents for rows: every row followed by CR LF.
std::string SerializeMaze(const TMaze& rows);

// Number of cells the rows will have once normalised.
long long NormalisedCells(const TMaze& rows);

// Reads a task file (a leading UTF-8 signature is skipped). Throws EMazeFileError with the message to show when the
// file cannot be read or is too large.
TMaze ReadMazeFile(const std::string& fileName);

// Replaces fileName's contents with bytes so that a failure at any point
// leaves the old file as it was: the bytes go to a new file in the same
// folder, are flushed to the disk and only then renamed over the old one.
// Keeps the old file's permissions; writes through a symbolic link to its
// target. Throws EMazeFileError (with the save-failure message) on failure.
void WriteFileSafely(const std::string& fileName, std::string_view bytes);

// True when fileName exists and the user may not write it (no write
// permission bit, or the system refuses writing).
bool IsReadOnlyFile(const std::string& fileName);

// Load task: reads fileName into the task maze and restores the working maze
// from it. On failure throws EMazeFileError and changes nothing.
void LoadMaze(TGrid& grid, const std::string& fileName);

// Saves the working maze with Grondo's code to fileName and makes it the
// task (which keeps the code, so that a restore finds Grondo again). Returns
// the message to show when the file is read-only or the writing fails; the
// grid is then unchanged.
std::optional<std::string> WriteMaze(TGrid& grid, const std::string& fileName);

// The maze panel's caption for a task file: "Задача для Грондо: NAME.maz"
// with the file's name without its folder (Windows-1251).
std::string MazeCaption(const std::string& fileName);

// The window's part of saving: asking for a name and showing messages.
class TMazeSaveDialogs {
 public:
  virtual ~TMazeSaveDialogs() = default;
  // The save dialog; nullopt when cancelled.
  virtual std::optional<std::string> AskFileName() = 0;
  // An error box with OK.
  virtual void ShowError(const std::string& message) = 0;
};

enum TSaveMazeResult : int { smSaved = 1, smCancelled = 2 };

struct TSaveMazeOutcome {
  TSaveMazeResult Result = smCancelled;
  std::string FileName;  // the name saved to
};

// SaveMaze: writes to fileName, or asks for a name when it is empty, is
// read-only or the writing failed (after showing why), until the save
// succeeds or the user cancels.
TSaveMazeOutcome SaveMaze(TGrid& grid, std::string fileName, TMazeSaveDialogs& dialogs);
