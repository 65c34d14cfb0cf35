// TMachine: Grondo as the executor of a run.
//
// The rules live in TGrondoRobot (Qt-free); TMachine hands it the commands
// the interpreter passes on and carries out what the rules ask of the world
// through the run's host: a changed cell is drawn on the main thread, a
// repaint goes to the field pane, an animation pause is slept on the worker.
// (The file is not called machine.h so that it never shadows the executor
// interface of the same name in exec/.)
#pragma once

#include "grid.h"
#include "grid_robot.h"
#include "machine.h"

class TGrondoField;

class TMachine : public TGenericGrondo, private TGrondoView {
 public:
  // Grondo on grid. field draws the changed cells into the field bitmap; it
  // may be null when nobody looks (the cells are then drawn when the field
  // is next rendered). Both must outlive the executor.
  TMachine(TGrid& grid, TGrondoField* field);

  int Kind() const override { return ekGrondo; }
  // 0 <= x < FieldCols and 0 <= y < FieldRows.
  bool InField(int x, int y) const override { return grid_.InField(x, y); }
  // Runs Grondo's command proc.Id (4001..4022); a sensor leaves its answer
  // as the logical value of proc.Result. Other ids do nothing.
  void Execute(TProcedure& proc) override;
  // Grondo's cell, heading, the base and every cell of the working field.
  void AppendState(std::string& out) const override;

 private:
  void CellChanged(int x, int y) override;
  void Repaint() override { RequestRepaint(); }
  void Pause(int ms) override { Sleep(ms); }

  TGrid& grid_;
  TGrondoField* field_;
  TGrondoRobot robot_;
};
