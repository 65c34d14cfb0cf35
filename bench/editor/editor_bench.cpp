// The program editor with a long program: what a pupil feels when opening
// it, scrolling and typing. Runs on the offscreen platform unless another
// is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>

#include "encoding.h"
#include "highlighting.h"
#include "syntax_memo.h"

namespace {

constexpr int kLines = 20000;

// A program of kLines lines: every kind of word, strings, numbers and both
// comment forms, repeated.
const std::string& LongProgram() {
  static const std::string text = [] {
    const char* block[] = {
        "/* Процедура номер %d",
        "   обходит грядки */",
        "void обход%d(целые n)",
        "{",
        "  целые i;  дробные s = 0.5;",
        "  цикл (i = 1; i <= n; i = i + 1)",
        "  {",
        "    если (впереди_стена & not грядка) направо; иначе вперед(1);",
        "    s = s + sqrt(abs(i * 2.75)) / 3;  // шаг",
        "    println(\"Шаг \", i, \": \", s);",
        "  }",
        "  if (a != b || x >= 10) посади;",
        "  Line(10, 20, 30, 40); ЦветТекста(RGB(0, 128, 255));",
        "}",
        "",
        "",
    };
    std::string out;
    int line = 0;
    for (int n = 0; line < kLines; ++n) {
      for (const char* l : block) {
        if (line == kLines) break;
        std::string s = l;
        if (auto p = s.find("%d"); p != std::string::npos) s.replace(p, 2, std::to_string(n));
        out += Utf8ToCp1251(s);
        if (++line < kLines) out += "\r\n";
      }
    }
    return out;
  }();
  return text;
}

struct TEditorWindow {
  TEditorWindow() {
    SetupProgramEditor(editor);
    SetupHighlighting(editor);
    editor.SetGutterWidth(48);
    editor.resize(900, 700);
    editor.show();
  }
  // Renders the view the way a repaint of the window would.
  void Paint() { editor.viewport()->render(&image); }
  TqxSyntaxMemo editor;
  QImage image{900, 700, QImage::Format_RGB32};
};

// Opening: the text replaced, the view painted with its lines highlighted.
void BM_OpenAndPaint(benchmark::State& state) {
  TEditorWindow w;
  const std::string& text = LongProgram();
  for (auto _ : state) {
    w.editor.SetText(text);
    w.Paint();
  }
  state.counters["lines"] = w.editor.LineCount();
  state.counters["first_page_scanned"] = w.editor.Lines().Prop(30).Valid;
}
BENCHMARK(BM_OpenAndPaint)->Unit(benchmark::kMillisecond);

// Opening and jumping to the end: every line above must be scanned, since a
// comment may be open.
void BM_OpenAndPaintLastPage(benchmark::State& state) {
  TEditorWindow w;
  const std::string& text = LongProgram();
  for (auto _ : state) {
    w.editor.SetText(text);
    w.editor.SetCaret(0, kLines - 1);
    w.Paint();
  }
  state.counters["last_line_scanned"] = w.editor.Lines().Prop(kLines - 1).Valid;
  state.counters["top_line"] = w.editor.TopLine();
}
BENCHMARK(BM_OpenAndPaintLastPage)->Unit(benchmark::kMillisecond);

// One typed character in the middle of the program, with its repaint.
void BM_TypeInTheMiddle(benchmark::State& state) {
  TEditorWindow w;
  w.editor.SetText(LongProgram());
  w.editor.SetCaret(10, kLines / 2);
  w.Paint();
  QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  for (auto _ : state) {
    QApplication::sendEvent(&w.editor, &key);
    w.Paint();
  }
}
BENCHMARK(BM_TypeInTheMiddle)->Unit(benchmark::kMicrosecond);

// Enter in the middle: a line inserted into the line list.
void BM_EnterInTheMiddle(benchmark::State& state) {
  TEditorWindow w;
  w.editor.SetText(LongProgram());
  w.editor.SetCaret(4, kLines / 2);
  w.Paint();
  QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  for (auto _ : state) {
    QApplication::sendEvent(&w.editor, &key);
    w.Paint();
  }
}
BENCHMARK(BM_EnterInTheMiddle)->Unit(benchmark::kMicrosecond);

// Every line scanned once: the worst case of a paint, when a comment is
// opened at the top of the program and the view is at its end.
void BM_ScanWholeProgram(benchmark::State& state) {
  TEditorWindow w;
  w.editor.SetText(LongProgram());
  for (auto _ : state) {
    w.editor.Lines().InvalidateAll();
    w.editor.Buffer().Validate(kLines - 1);
  }
  state.counters["last_line_scanned"] = w.editor.Lines().Prop(kLines - 1).Valid;
}
BENCHMARK(BM_ScanWholeProgram)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
