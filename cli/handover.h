// The plain runner hands a run that needs the executors or a picture to
// the drawing runner (runfield.h): the same command line, the same standard
// streams, nothing said or written before.
#pragma once

#include <string>

// Where the drawing runner is: beside this program (the build folder), or
// where the installation puts it relative to this program's folder.
std::string DrawingRunner();

// Replaces this process with the drawing runner given argv; returns only
// when it cannot be started.
void HandOver(const std::string& runner, char** argv);
