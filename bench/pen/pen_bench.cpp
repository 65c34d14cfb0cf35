// How fast the Turtle draws: forward/turn steps with the pen down and no
// sprite, as a pupil's spiral or polygon loop issues them. The host runs the
// canvas work directly and repaints nothing, so this measures the executor
// and the canvas, not the screen.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "host.h"
#include "procedure.h"
#include "turtle.h"

namespace {

std::unique_ptr<TProcedure> Command(int id, int arg) {
  auto p = std::make_unique<TProcedure>();
  p->Id = id;
  TVar v("", dkInteger);
  v.IntValue = arg;
  p->Vars.Add(std::move(v));
  p->ArgCount = 1;
  return p;
}

// One segment = one вперед (length 5..60) and one вправо, kept on a
// 500 x 400 canvas by the turn angle.
void BM_TurtleSegments(benchmark::State& state) {
  TCanvas canvas(500, 400, 250, 200);
  TNullHost host;
  TTurtle turtle(canvas);
  turtle.Host = &host;
  auto down = Command(pnPenDown, 0);
  turtle.Execute(*down);
  auto forward = Command(pnForward, 0);
  auto right = Command(pnRight, 89);
  int step = 0;
  for (auto _ : state) {
    forward->Vars[0].IntValue = 5 + step % 56;
    turtle.Execute(*forward);
    turtle.Execute(*right);
    ++step;
  }
  state.counters["segments/s"] = benchmark::Counter(static_cast<double>(step), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TurtleSegments);

// The same with a color change per segment and a circle every 50 steps:
// the tools are set up again for every line.
void BM_TurtleColoredSegments(benchmark::State& state) {
  TCanvas canvas(500, 400, 250, 200);
  TNullHost host;
  TTurtle turtle(canvas);
  turtle.Host = &host;
  auto down = Command(pnPenDown, 0);
  turtle.Execute(*down);
  auto forward = Command(pnForward, 0);
  auto right = Command(pnRight, 91);
  auto color = Command(pnColor, 0);
  auto circle = Command(pnCircle, 7);
  int step = 0;
  for (auto _ : state) {
    color->Vars[0].IntValue = step;
    turtle.Execute(*color);
    forward->Vars[0].IntValue = 5 + step % 56;
    turtle.Execute(*forward);
    turtle.Execute(*right);
    if (step % 50 == 0) turtle.Execute(*circle);
    ++step;
  }
  state.counters["segments/s"] = benchmark::Counter(static_cast<double>(step), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TurtleColoredSegments);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
