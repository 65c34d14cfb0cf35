// Runs child processes, a few at a time, each with a wall-clock limit, and
// collects what each wrote and how it ended. One child that crashes, hangs
// or writes without end costs only its own limit: it is stopped (SIGTERM,
// then SIGKILL) and the others go on.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct TJob {
  std::vector<std::string> Argv;  // Argv[0] is the program's path
  std::string Stdin;              // a file for standard input; empty: /dev/null
};

struct TJobResult {
  int Status = -1;         // exit status when it exited
  int Signal = 0;          // the signal that ended it, 0 when it exited
  bool TimedOut = false;   // stopped at the wall-clock limit
  bool Started = true;     // false when it could not be started at all
  std::string Out, Err;    // what it wrote, at most the pool's cap each
  double Seconds = 0;      // wall time
};

class TJobPool {
 public:
  // parallel children at most; timeLimit seconds each; cap bytes kept of each stream.
  TJobPool(int parallel, double timeLimit, size_t cap = 256 * 1024)
      : parallel_(parallel < 1 ? 1 : parallel), timeLimit_(timeLimit), cap_(cap) {}

  // Runs every job. started(i) is called when job i starts, finished(i,
  // result) when it has ended; both on the calling thread. stop is polled:
  // true kills the children and returns at once (results left unfinished
  // have Started false).
  std::vector<TJobResult> Run(const std::vector<TJob>& jobs, const std::function<void(size_t)>& started,
                              const std::function<void(size_t, const TJobResult&)>& finished,
                              const std::function<bool()>& stop = {});

 private:
  int parallel_;
  double timeLimit_;
  size_t cap_;
};
