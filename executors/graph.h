// The pen executors' common base: a point with a pen that draws on the
// canvas while it moves, shown as a small picture (the sprite).
//
// Executor coordinates are reals with the origin at the canvas's origin
// pixel, x to the right and y upwards. The executor runs on the execution
// thread; every touch of the canvas goes through Host->RunOnMain (directly
// when there is no host, as in tests and benchmarks).
#pragma once

#include <QImage>

#include <functional>
#include <memory>

#include "canvas.h"
#include "machine.h"

class TProcedure;

// Codes of the commands the Turtle and the Drawer share.
enum TPenCommand : int {
  pnHome = 2001, pnHide = 2002, pnShow = 2003, pnMoveToPoint = 2004, pnVector = 2005,
  pnPenUp = 2006, pnPenDown = 2007, pnFill = 2008, pnFillRGB = 2009, pnColor = 2010,
  pnColorRGB = 2011, pnCircle = 2015,
  pnForward = 3001, pnBack = 3002, pnLeft = 3003, pnRight = 3004, pnHeading = 3005
};

class TGraphGrondo : public TGenericGrondo {
 public:
  // An executor at (0, 0), hidden, pen raised, black, drawing on canvas,
  // which must outlive it.
  explicit TGraphGrondo(TCanvas& canvas);
  ~TGraphGrondo() override;

  // Executor point (x, y) lies on the canvas.
  bool InField(int x, int y) const override;

  // Runs the commands both pen executors share (2001..2004, 2006..2010,
  // 2015) and the executor's own ones (ExecuteOwn); resets the dirty
  // rectangle before and after. Unknown ids do nothing.
  void Execute(TProcedure& proc) override;
  // Runs a plotter command on the canvas, hiding the sprite around the
  // drawing ones.
  void Plot(int code, const TPlotArgs& args) override;
  // Wipes the canvas and resets its tools; a shown sprite stays shown.
  void ClearCanvas() override;

  // Moves to (newX, newY), drawing a line when the pen is down. A target off
  // the canvas is replaced by the last point on the way that is found by
  // bisection; the move goes there and then fails with "Не могу идти дальше".
  void StepTo(double newX, double newY);
  // Makes the executor visible or invisible; does nothing without a change.
  void SetShown(bool shown);
  // Draws the sprite at the position, saving the pixels under it.
  void ShowSprite();
  // Puts back the pixels the sprite covered.
  void HideSprite();
  // The circle of radius r pixels around the position, when the pen is down.
  void DrawCircle(int r);
  // Flood-fills the area around the position's pixel with color, when the
  // pen is down.
  void FloodAt(int color);

  // The executor's picture and its hot spot (the pixel put on the position).
  virtual const QImage& GetSprite(int& hotX, int& hotY) const = 0;

  TCanvas& Canvas;
  double X = 0;
  double Y = 0;
  int PenColor = 0;
  bool PenDown = false;
  bool Shown = false;
  bool Drawn = false;

 protected:
  // The executor's own commands; false when id is not one of them.
  virtual bool ExecuteOwn(int id, TProcedure& proc) = 0;
  // Runs fn where the canvas may be touched.
  void OnMain(const std::function<void()>& fn);
  // Integer argument i of a command (0 when the record lacks it).
  static int IntArg(const TProcedure& proc, int i);
  // Runs draw on the canvas with the sprite hidden (as one busy step when
  // busy), then shows the sprite again or repaints the whole canvas.
  void Framed(bool busy, const std::function<void()>& draw);

 private:
  void SpriteDirty(int left, int top);
  int PenMargin() const;
  void PlotCommand(int code, const TPlotArgs& args);

  QImage background_;
  int hotX_ = 0;
  int hotY_ = 0;
  int spriteLeft_ = 0;
  int spriteTop_ = 0;
};

// Makes the Turtle (kind ekTurtle) or the Drawer (ekDrawer) drawing on
// canvas; nullptr for any other kind. For the run's executor factory.
std::unique_ptr<TGraphGrondo> MakePenExecutor(int kind, TCanvas& canvas);
