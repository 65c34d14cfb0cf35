// Pupils' programs run on the Turtle and the Drawer: compiled, interpreted on
// the worker thread and drawn on a canvas, as in the window.
#include <gtest/gtest.h>

#include <optional>

#include "encoding.h"
#include "pen_test_util.h"
#include "program.h"
#include "session.h"

namespace {

class TProgramHost : public TNullHost {
 public:
  void ReportError(int line, const std::string& text) override {
    ErrorLine = line;
    Error = Cp1251ToUtf8(text);
  }
  void ReportRunEnd(TRunEnd end) override { End = end; }
  void RepaintField() override { ++Repaints; }
  int ErrorLine = -1;
  std::string Error;
  std::optional<TRunEnd> End;
  int Repaints = 0;
};

struct TRunResult {
  std::string Error;
  int ErrorLine = -1;
  int Repaints = 0;
};

// Runs the program (UTF-8 text, one line per element) for kind on canvas.
TRunResult RunProgram(TCanvas& canvas, int kind, std::vector<std::string> utf8) {
  EnsureGuiApp();
  std::vector<std::string> lines;
  for (const auto& l : utf8) lines.push_back(Utf8ToCp1251(l));
  TProgramHost host;
  TRunSession session(host, [&](int k) -> std::unique_ptr<TGenericGrondo> { return MakePenExecutor(k, canvas); },
                      false);
  const TCommandResult started = session.Run(ProgramBuilder(lines, kind, &host));
  if (started == crTranslationError) return {Cp1251ToUtf8(session.TranslationError()->Message()), -2, 0};
  session.Wait();
  return {host.Error, host.ErrorLine, host.Repaints};
}

}  // namespace

TEST(PenProgram, TurtleDrawsASquareAndFillsIt) {
  TCanvas canvas(200, 160, 100, 80);
  const TRunResult r = RunProgram(canvas, ekTurtle,
                                  {
                                      "главная {",
                                      "  опусти_перо;",
                                      "  повтори (4) { вперед(40); вправо(90); }",
                                      "  подними_перо;",
                                      "  в_точку(20, 20);",
                                      "  опусти_перо;",
                                      "  закрась(12);",
                                      "  покажись;",
                                      "}",
                                  });
  ASSERT_EQ(r.Error, "");
  EXPECT_GT(r.Repaints, 4);
  EXPECT_EQ(At(canvas, 100, 60), kBlack);   // left side
  EXPECT_EQ(At(canvas, 120, 40), kBlack);   // top side
  EXPECT_EQ(At(canvas, 110, 70), PaletteColor(12));
  EXPECT_EQ(At(canvas, 99, 60), kWhite);
  EXPECT_EQ(At(canvas, 150, 60), kWhite);
}

TEST(PenProgram, FullIntensityAndPlotterCommands) {
  TCanvas canvas(200, 160, 100, 80);
  const TRunResult r = RunProgram(canvas, ekTurtle,
                                  {
                                      "главная {",
                                      "  цветRGB(255, 0, 0);",
                                      "  опусти_перо;",
                                      "  курс(90);",
                                      "  вперед(50);",
                                      "  Pen(RGB(0, 0, 255), 0, 1);",
                                      "  Line(0, 0, 20, 0);",
                                      "  Brush(RGB(0, 255, 0), 0);",
                                      "  Прямоугольник(10, 100, 30, 120);",
                                      "}",
                                  });
  ASSERT_EQ(r.Error, "");
  EXPECT_EQ(At(canvas, 120, 80), kRed);
  EXPECT_EQ(At(canvas, 10, 0), 0xFF0000);
  EXPECT_EQ(At(canvas, 20, 110), 0x00FF00);
  EXPECT_EQ(At(canvas, 10, 110), 0xFF0000);
}

TEST(PenProgram, LeavingTheCanvasEndsTheRunWithTheExecutorError) {
  TCanvas canvas(200, 160, 100, 80);
  const TRunResult r = RunProgram(canvas, ekTurtle,
                                  {
                                      "главная {",
                                      "  опусти_перо;",
                                      "  вперед(1000);",
                                      "  вправо(90);",
                                      "}",
                                  });
  EXPECT_NE(r.Error.find("Не могу идти дальше"), std::string::npos) << r.Error;
  EXPECT_EQ(r.ErrorLine, 2);
  EXPECT_EQ(At(canvas, 100, 0), kBlack);
}

TEST(PenProgram, DrawerVectorAndColorRangeCheck) {
  TCanvas canvas(200, 160, 100, 80);
  const TRunResult r = RunProgram(canvas, ekDrawer,
                                  {
                                      "главная {",
                                      "  в_точку(5, 5);",
                                      "  опусти_перо;",
                                      "  вектор(10, 0);",
                                      "  цветRGB(0, 256, 0);",
                                      "}",
                                  });
  EXPECT_NE(r.Error.find("неверно задан зеленый цвет 256 в формате RGB"), std::string::npos) << r.Error;
  EXPECT_EQ(CountColor(canvas, kBlack, 105, 75, 115, 75), 11);
}

TEST(PenProgram, ClrscrWipesTheCanvasUnderThePenExecutors) {
  TCanvas canvas(200, 160, 100, 80);
  const TRunResult r = RunProgram(canvas, ekDrawer,
                                  {
                                      "главная {",
                                      "  опусти_перо;",
                                      "  в_точку(30, 30);",
                                      "  очистить;",
                                      "  подними_перо;",
                                      "  в_точку(-30, -30);",
                                      "}",
                                  });
  ASSERT_EQ(r.Error, "");
  EXPECT_EQ(CountColor(canvas, kWhite), 200 * 160);
}
