// The field of a headless run: the executor a program drives, the task it
// is judged against, and the picture the run leaves behind.
//
// Without a window nobody looks while the program runs, so nothing is shown
// during the run: the pen executors draw on their canvas as in the window,
// and Grondo's cells are drawn once, from the grid, when the picture is
// written.
//
// The runner comes as two programs built from the same code. Qt's libraries
// take several times longer to load than a pupil's program takes to run,
// so `tarmisy-run` links no Qt and runs every program that gives its
// executor no command and writes no picture; any other run it hands over,
// whole, to `tarmisy-run-draw` (handover.h), which has the executors. The
// task, the verdict and this interface are the same in both; Prepare,
// Factory and SavePicture are each program's own (drawfield.cpp,
// plainfield.cpp).
#pragma once

#include <memory>
#include <string>

#include "grid.h"
#include "machine.h"
#include "pcode.h"

class TCanvas;

class TRunField {
 public:
  // True in the runner that has the executors and can write pictures.
  static const bool kDraws;

  // A field for executor kind. Pen executors get a white canvas of
  // width x height whose executor origin is pixel (originX, originY).
  // Grondo gets the task in taskFile, or, without one, the empty 10 x 10
  // field the window starts with, on which Grondo does not stand. Throws
  // EMazeFileError with the message to show when the task cannot be read.
  TRunField(int kind, int width, int height, int originX, int originY, const std::string& taskFile);
  TRunField(const TRunField&) = delete;
  TRunField& operator=(const TRunField&) = delete;

  // Called with the translated program before the run starts. A pen
  // executor's canvas is made only for a program that gives it commands,
  // and the fonts only for one that writes text. (The plain runner never
  // gets here with such a program.)
  void Prepare(const TPseudoCode& code);

  // Makes the executor when the run starts; Grondo's field is first reset
  // to the task, as every run in the window starts from it. A program that
  // never commands its pen executor gets none (its commands would do
  // nothing, and it has none).
  TExecutorFactory Factory();

  // Judges the task: true when solved; text is the verdict with its line
  // breaks as '\n' (Windows-1251).
  bool Verdict(std::string& text) const;

  // Writes the field as the window would show it at scale index 0..5
  // (Grondo's cells at that scale, or the canvas stretched as the field
  // pane stretches it) to path as PNG, marked 96 dots per inch. A failure
  // at any point leaves an older picture there as it was. False on failure.
  bool SavePicture(int scale, const std::string& path);

 private:
  struct TDrawing;
  // Each runner frees its own kind of drawing.
  struct TDrawingDeleter {
    void operator()(TDrawing* drawing) const;
  };
  // The pen executors' canvas, made on first use (drawing runner only).
  TCanvas& Canvas();

  int kind_;
  int width_, height_, originX_, originY_;
  TGrid grid_;
  std::unique_ptr<TDrawing, TDrawingDeleter> drawing_;
};
