// From program text to a runnable program: the text of a file split into
// editor lines, and the builder a run session compiles with.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host.h"
#include "pcode.h"
#include "session.h"

// The lines of a program file's bytes. A file that is valid UTF-8 with
// non-ASCII text is read as UTF-8 (a pupil's file from another editor);
// anything else is Windows-1251 already. A UTF-8 byte-order mark is
// dropped. Lines end at "\r\n", "\n" or "\r".
std::vector<std::string> ProgramLines(std::string_view fileBytes);

// Compiles lines for executorKind into a fresh program; raises
// ECompileException on a translation error.
std::unique_ptr<TPseudoCode> CompileProgram(const std::vector<std::string>& lines, int executorKind);

// A builder for TRunSession: the compile entry first clears the host's
// console, then compiles lines. The lines are copied.
TProgramBuilder ProgramBuilder(std::vector<std::string> lines, int executorKind, TRunHost* host);
