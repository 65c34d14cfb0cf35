// The field of the plain runner, which has no executors: it only ever runs
// programs that give their executor no command and write no picture.
#include "runfield.h"

struct TRunField::TDrawing {};

const bool TRunField::kDraws = false;

void TRunField::TDrawingDeleter::operator()(TDrawing* drawing) const { delete drawing; }

void TRunField::Prepare(const TPseudoCode&) {}

// No executor: the program commands none, so there is nothing for one to do.
TExecutorFactory TRunField::Factory() { return {}; }

bool TRunField::SavePicture(int, const std::string&) { return false; }
