#include "pen_test_util.h"

#include <QGuiApplication>

#include "encoding.h"
#include "errors.h"

void EnsureGuiApp() {
  static int argc = 1;
  static char name[] = "pen_tests";
  static char* argv[] = {name, nullptr};
  // The tests draw off screen also when started by hand.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
}

std::unique_ptr<TProcedure> Command(int id, std::initializer_list<int> args) {
  auto p = std::make_unique<TProcedure>();
  p->Id = id;
  for (int v : args) {
    TVar var("", dkInteger);
    var.IntValue = v;
    p->Vars.Add(std::move(var));
    ++p->ArgCount;
  }
  return p;
}

void Exec(TGraphGrondo& g, int id, std::initializer_list<int> args) {
  auto p = Command(id, args);
  g.Execute(*p);
}

std::string ErrorOf(TGraphGrondo& g, int id, std::initializer_list<int> args) {
  try {
    Exec(g, id, args);
  } catch (const EGrondoException& e) {
    return Cp1251ToUtf8(e.Message());
  }
  return "";
}

int CountColor(const TCanvas& c, int color, int x1, int y1, int x2, int y2) {
  if (x2 < 0) x2 = c.Bitmap().width() - 1;
  if (y2 < 0) y2 = c.Bitmap().height() - 1;
  int n = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) n += c.PixelColor(x, y) == color;
  return n;
}

std::string PicturePath(const std::string& name) { return std::string(TARMISY_PEN_PICTURES) + "/" + name; }
