// The field of a headless run: the executor a program drives, the task it
// is judged against, and the picture the run leaves behind.
//
// Without a window nobody looks while the program runs, so nothing is shown
// during the run: the pen executors draw on their canvas as in the window,
// and Grondo's cells are drawn once, from the grid, when the picture is
// written. Neither needs a QGuiApplication, except for the fonts of text
// written on the canvas.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "canvas.h"
#include "grid.h"
#include "machine.h"
#include "pcode.h"

class TRunField {
 public:
  // A field for executor kind. Pen executors get a white canvas of
  // width x height whose executor origin is pixel (originX, originY).
  // Grondo gets the task in taskFile, or, without one, the empty 10 x 10
  // field the window starts with, on which Grondo does not stand. Throws
  // EMazeFileError with the message to show when the task cannot be read.
  TRunField(int kind, int width, int height, int originX, int originY, const std::string& taskFile);

  // Called with the translated program before the run: a pen executor's
  // canvas is made only for a program that gives it commands.
  void Prepare(const TPseudoCode& code);

  // Makes the executor when the run starts; Grondo's field is first reset
  // to the task, as every run in the window starts from it. A program that
  // never commands its pen executor gets none (its commands would do
  // nothing, and it has none).
  TExecutorFactory Factory();

  // Judges the task: true when solved; text is the verdict with its line
  // breaks as '\n' (Windows-1251).
  bool Verdict(std::string& text) const;

  // The field as the window would show it at scale index 0..5: Grondo's
  // cells at that scale, or the canvas stretched as the field pane
  // stretches it. Marked 96 dots per inch, as a picture made on the
  // offscreen platform always was.
  QImage Picture(int scale);

  // The program writes text on the field (its fonts need a
  // QGuiApplication).
  static bool WritesText(const TPseudoCode& code);

 private:
  void MakeCanvas();

  int kind_;
  int width_, height_, originX_, originY_;
  std::unique_ptr<TCanvas> canvas_;
  TGrid grid_;
};
