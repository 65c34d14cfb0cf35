#include "machine_grondo.h"

#include "field.h"
#include "host.h"
#include "procedure.h"

TMachine::TMachine(TGrid& grid, TGrondoField* field)
    : grid_(grid), field_(field), robot_(grid, *this) {}

void TMachine::Execute(TProcedure& proc) {
  const int id = proc.Id;
  const int n = proc.Vars.Count() > 0 ? proc.Vars[0].IntValue : 0;
  const bool answer = robot_.Execute(id, n);
  if (TGrondoRobot::IsSensor(id)) {
    proc.Result.Kind = dkLogical;
    proc.Result.BoolValue = answer ? 1 : 0;
  }
}

void TMachine::CellChanged(int x, int y) {
  if (!field_) return;
  // The bitmap belongs to the main thread; the worker waits while it draws.
  const auto draw = [this, x, y] { field_->DrawCell(x, y); };
  if (Host)
    Host->RunOnMain(draw);
  else
    draw();
}

void TMachine::AppendState(std::string& out) const {
  const int numbers[] = {grid_.GrondoX, grid_.GrondoY, grid_.GrondoDir, grid_.BaseX, grid_.BaseY,
                         static_cast<int>(grid_.WorkingMaze.size())};
  out.append(reinterpret_cast<const char*>(numbers), sizeof numbers);
  for (const std::string& row : grid_.WorkingMaze) {
    const auto n = static_cast<uint32_t>(row.size());
    out.append(reinterpret_cast<const char*>(&n), sizeof n);
    out += row;
  }
}
