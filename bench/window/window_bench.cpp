// Start-up of the main window: from constructing it to its first paint,
// with the application object already made (the process start itself is
// measured by `tarmisy --startup-time`, see bench/README.md).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "main_form.h"

namespace {

void BM_WindowToFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    TMainForm form;
    QEventLoop loop;
    QObject::connect(&form, &TMainForm::FirstPaint, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    form.show();
    loop.exec();
    state.PauseTiming();
    form.close();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WindowToFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
