// The compiler on a large pupil-style program: 5000 lines of procedures
// with loops, conditions, arrays, calls inside expressions and output.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "compiler.h"
#include "encoding.h"

namespace {

std::vector<std::string> LargeProgram(int lineCount) {
  std::vector<std::string> lines;
  auto add = [&](const std::string& utf8) { lines.push_back(Utf8ToCp1251(utf8)); };
  add("целые всего = 0;");
  add("главная {");
  add("  целые i;");
  add("  цикл (i = 0; i < 10; i = i + 1) всего = всего + f0(i, 1.5);");
  add("  выводстр \"Итого: \", всего;");
  add("}");
  int k = 0;
  for (; static_cast<int>(lines.size()) < lineCount; ++k) {
    const std::string f = "f" + std::to_string(k);
    const std::string next = "f" + std::to_string(k + 1);
    add("целые " + f + "(целые a, дробные b) {");
    add("  целые i = 0, m[10];");
    add("  дробные x = b * 2;");
    add("  цикл (i = 0; i < 10; i = i + 1) {");
    add("    m[i] = a * i + round(b) - (i % 3) ^ 2;");
    add("    если (m[i] % 2 == 0 и не (x > 100.5)) x = x + sin(b) * 2.5; иначе x = x - 1;");
    add("  }");
    add("  пока (a > 0) { a = a - 1; вывод a:5, \" \", x:8:2; } // обратный отсчёт");
    add("  /* следующая ступень */");
    add("  если (a < 0) возврат " + next + "(a + 1, b / 2);");
    add("  возврат m[3] + length(\"abc\");");
    add("}");
  }
  add("целые f" + std::to_string(k) + "(целые a, дробные b) { возврат a; }");
  return lines;
}

void BM_Compile5000Lines(benchmark::State& state) {
  const std::vector<std::string> lines = LargeProgram(5000);
  for (auto _ : state) {
    TPseudoCode prog(0);
    TCompiler compiler;
    compiler.Compile(lines, prog);
    benchmark::DoNotOptimize(prog.CodeSize);
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_Compile5000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
