// The terminal side of tarmisy-run: text out in the chosen encoding, typed
// lines in from a file or standard input.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

// Writes Windows-1251 text to a file descriptor, converted to UTF-8 when
// utf8 is set. Buffered; Flush writes out. After a failed write (a full
// disk, a closed pipe or descriptor) everything else is dropped and
// Failed() tells; the caller decides what the loss means.
class TTerminalOut {
 public:
  TTerminalOut(int fd, bool utf8) : fd_(fd), utf8_(utf8) {}
  ~TTerminalOut() { Flush(); }
  void Write(std::string_view cp1251);
  // False when the text written so far has not all been delivered.
  bool Flush();
  bool Failed() const { return failed_.load(); }

 private:
  int fd_;
  bool utf8_;
  std::string buffer_;
  std::atomic<bool> failed_{false};  // read by the thread that watches the run
};

// Reads lines from a file descriptor without blocking a stop: the wait for
// input gives up when stop becomes true.
class TLineReader {
 public:
  TLineReader(int fd, bool utf8, const std::atomic<bool>& stop) : fd_(fd), utf8_(utf8), stop_(stop) {}
  // The next line (Windows-1251, without its line break); false at the end
  // of the input or when stopped.
  bool ReadLine(std::string& line);

 private:
  int fd_;
  bool utf8_;
  const std::atomic<bool>& stop_;
  std::string pending_;
  bool eof_ = false;
};
