#include "machine.h"

#include "errors.h"
#include "host.h"
#include "string_table.h"

TGenericGrondo::~TGenericGrondo() = default;

void TGenericGrondo::Plot(int, const TPlotArgs&) {}

void TGenericGrondo::ClearCanvas() {
  if (Host) Host->ClearCanvas();
}

void TGenericGrondo::RequestRepaint() {
  if (!Busy && Host) Host->RepaintField();
}

void TGenericGrondo::Sleep(int ms) {
  if (Host) Host->Sleep(ms);
}

void TGenericGrondo::RaiseError(std::string_view msg) const {
  throw EGrondoException(FormatStr(sExecutorError, {msg}));
}
