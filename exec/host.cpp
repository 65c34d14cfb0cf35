#include "host.h"

TRunHost::~TRunHost() = default;

bool TNullHost::ConsoleRead(TInputMode, std::string& text) {
  text.clear();
  return false;
}
