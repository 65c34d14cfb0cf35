// The executor interface: what the interpreter asks of the Turtle, the Drawer
// and Grondo.
//
// Executors live in a layer above exec/, so the interpreter knows them only
// through TGenericGrondo. The interpreter creates one executor per run (via
// the factory the run session is given), hands it the host, and then:
//   - passes every built-in call it does not handle itself to Execute;
//   - calls Plot for the plotter commands 2100..2113 and 2115, with the
//     arguments already prepared (color flag added, font style masked);
//   - for clrscr (2114) clears the console, then ClearCanvas unless the
//     executor is Grondo, then RequestRepaint.
// All of this runs on the execution thread. An executor that needs the
// picture or the window goes through Host->RunOnMain (or the host's own
// repaint and canvas operations), never touching them directly.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "errors.h"
#include "host.h"
#include "string_table.h"

class TProcedure;
class TRunHost;

// 0 Turtle, 1 Drawer, 2 Grondo; equal to the executor setting GrondoType.
enum ExecutorKind : int { ekTurtle = 0, ekDrawer = 1, ekGrondo = 2 };

// Codes of the plotter commands handed to TGenericGrondo::Plot.
enum TPlotCode : int {
  pcMoveTo = 2100, pcLineTo = 2101, pcLine = 2102, pcRectangle = 2103,
  pcEllipse = 2104, pcPen = 2105, pcBrush = 2106, pcFont = 2107,
  pcTextColor = 2108, pcTextAngle = 2109, pcTextOut = 2110, pcFill = 2111,
  pcFillTo = 2112, pcPoint = 2113, pcArc = 2115
};

// The arguments of one plotter command, in the order the pupil wrote them:
// the integer arguments in Int (string arguments skipped), the real ones in
// Real, the string one in Text (Windows-1251). So:
//   MoveTo/LineTo/Point/Fill x, y          Int[0..1]
//   Line/Rectangle/Ellipse x1, y1, x2, y2  Int[0..3]
//   Arc x1, y1, x2, y2, a1, a2             Int[0..3], Real[0..1] (radians)
//   Pen color, style, width               Int[0..2], color + 0x02000000
//   Brush color, style                    Int[0..1], color + 0x02000000
//   Font name, size, style                 Text, Int[0] size, Int[1] style & 15
//   TextColor color                       Int[0] + 0x02000000
//   TextAngle angle                        Int[0] (degrees)
//   TextOut x, y, text                     Int[0..1], Text
//   FillTo x, y, color                    Int[0..1], Int[2] + 0x02000000
// The interpreter adds the palette flag with overflow detection, so a color
// of 0x7E000000 or more ends the run with the integer-overflow error before
// the executor is called.
struct TPlotArgs {
  int32_t Int[4] = {0, 0, 0, 0};
  double Real[2] = {0, 0};
  std::string Text;
};

// Base of every executor.
class TGenericGrondo {
 public:
  TGenericGrondo() = default;
  TGenericGrondo(const TGenericGrondo&) = delete;
  TGenericGrondo& operator=(const TGenericGrondo&) = delete;
  virtual ~TGenericGrondo() = default;

  // The executor's kind (ExecutorKind).
  virtual int Kind() const = 0;

  // True when (x, y) lies on the executor's field (grid cell or canvas pixel).
  virtual bool InField(int x, int y) const = 0;

  // Runs executor command proc.Id with its arguments in proc.Vars (index 0 =
  // first argument); a sensor stores its answer as the logical value of
  // proc.Result. An id the executor does not know does nothing.
  virtual void Execute(TProcedure& proc) = 0;

  // Runs plotter command code (TPlotCode) with prepared arguments. Only the
  // pen executors draw; the base does nothing (the compiler refuses these
  // names under Grondo).
  virtual void Plot(int /*code*/, const TPlotArgs& /*args*/) {}

  // Wipes the drawing surface to white. The base asks the host.
  virtual void ClearCanvas() {
    if (Host) Host->ClearCanvas();
  }

  // Appends, as bytes, the part of the executor's state that can change
  // what the program does next: what its sensors answer and whether its
  // commands fail. Two moments of a run with the same program state and the
  // same bytes here go on alike (the loop guard of exec/ relies on it). The
  // pen executors' state never feeds back into the program, so the base
  // appends nothing; Grondo appends its cell, heading and field.
  virtual void AppendState(std::string& /*out*/) const {}

  // Has the field pane show the picture, unless Busy is set (a multi-step
  // drawing operation repaints once at its end).
  void RequestRepaint() {
    if (!Busy && Host) Host->RepaintField();
  }

  // Pauses for animation through the host (the headless runner may skip it).
  void Sleep(int ms) {
    if (Host) Host->Sleep(ms);
  }

  // Raises EGrondoException "Ошибка исполнителя: <msg>".
  [[noreturn]] void RaiseError(std::string_view msg) const {
    throw EGrondoException(FormatStr(sExecutorError, {msg}));
  }

  // True while a multi-step drawing operation runs (suppresses repaints).
  bool Busy = false;
  // The host of the run; set by the interpreter before the first command.
  TRunHost* Host = nullptr;
};

// An executor that accepts every command and does nothing: for tests and for
// runs whose executor is not built in.
class TNullGrondo : public TGenericGrondo {
 public:
  explicit TNullGrondo(int kind = ekTurtle) : kind_(kind) {}
  int Kind() const override { return kind_; }
  bool InField(int, int) const override { return true; }
  void Execute(TProcedure&) override {}

 private:
  int kind_;
};

// Makes the executor for a run of the given kind.
using TExecutorFactory = std::function<std::unique_ptr<TGenericGrondo>(int kind)>;
