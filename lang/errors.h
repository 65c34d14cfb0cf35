// The exceptions of the language system.
//
// Failures are exceptions and the first one ends the compilation or the run.
// Messages are Windows-1251 text, complete as the user will read them (the
// prefixes such as "Ошибка трансляции: " are added where the exception is
// raised). The run control maps each category to the text it shows.
#pragma once

#include <exception>
#include <string>
#include <utility>

// Base of every exception the system raises on purpose.
class ETarmisyException : public std::exception {
 public:
  explicit ETarmisyException(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }

 private:
  std::string message_;
};

// A translation error. Line is the 0-based editor line and Col the 1-based
// column of the offending token; both are -1 until the compile entry fills
// them in on the way out.
class ECompileException : public ETarmisyException {
 public:
  explicit ECompileException(std::string message, int line = -1, int col = -1)
      : ETarmisyException(std::move(message)), Line(line), Col(col) {}
  int Line;
  int Col;
};

// A run-time error of the interpreter or of a value operation.
class EExecuteException : public ETarmisyException {
  using ETarmisyException::ETarmisyException;
};

// An executor's failure ("Ошибка исполнителя: ...").
class EGrondoException : public ETarmisyException {
  using ETarmisyException::ETarmisyException;
};

// Not an error: the main program returned. The interpreter catches it as the
// normal end of the run.
class EStopProgram : public ETarmisyException {
  using ETarmisyException::ETarmisyException;
};

// 32-bit integer arithmetic overflowed; shown as
// "Полученное целое число превышает допустимые пределы".
class EIntOverflow : public ETarmisyException {
 public:
  EIntOverflow() : ETarmisyException("Integer overflow") {}
};

// A real result left the double range; shown as
// "Полученное вещественное число превышает допустимые пределы".
class EFloatOverflow : public ETarmisyException {
 public:
  EFloatOverflow() : ETarmisyException("Floating point overflow") {}
};

// A fault the language does not describe in its own words: a real that
// cannot be rounded to an integer, a bad list index, an invalid floating-point
// operation. Shown inside the unexpected-error message with this text.
class EUnexpectedFault : public ETarmisyException {
  using ETarmisyException::ETarmisyException;
};

// The run asked for more memory than it may have; shown, like the library's
// own out-of-memory failure, inside the unexpected-error message.
class EOutOfMemory : public EUnexpectedFault {
 public:
  EOutOfMemory() : EUnexpectedFault("Out of memory") {}
};

// An index outside a variable or procedure list.
class EListIndexError : public EUnexpectedFault {
  using EUnexpectedFault::EUnexpectedFault;
};
