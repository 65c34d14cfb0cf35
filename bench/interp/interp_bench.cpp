// The interpreter workloads of this folder, compiled once and run
// in-process without a window or console work.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "interpreter.h"
#include "program.h"

namespace {

std::vector<std::string> Workload(const char* name) {
  std::ifstream in(std::string(TARMISY_WORKLOADS) + "/" + name + ".prg", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return ProgramLines(s.str());
}

void Run(benchmark::State& state, const char* name) {
  const auto lines = Workload(name);
  TNullHost host;
  for (auto _ : state) {
    auto code = CompileProgram(lines, ekTurtle);
    TRunState run;
    run.Events.Set(evRun);
    TExecutor(*code, host, run, nullptr).Run();
  }
}

}  // namespace

BENCHMARK_CAPTURE(Run, loop, "loop")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Run, fib, "fib")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(Run, sieve, "sieve")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Run, strings, "strings")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(Run, real, "real")->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
