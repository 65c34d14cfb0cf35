// The lock that allows one running program per user at a time, across all
// processes of the program ("Executor.Run.Mutex").
//
// It is an flock on a file in the user's runtime folder ($XDG_RUNTIME_DIR,
// else the temporary folder with the user id in the name). The lock goes
// with the process, so a crashed run never leaves it taken.
#pragma once

#include <string>

class TRunLock {
 public:
  TRunLock() = default;
  ~TRunLock() { Release(); }
  TRunLock(const TRunLock&) = delete;
  TRunLock& operator=(const TRunLock&) = delete;

  // True when this object now holds the lock; false when another run holds
  // it (or the lock file cannot be made, in which case nothing is refused:
  // a missing runtime folder must not keep pupils from running programs).
  bool Acquire();
  void Release();
  bool Held() const { return fd_ >= 0; }

  // The lock file's path.
  static std::string Path();

 private:
  int fd_ = -1;
};
