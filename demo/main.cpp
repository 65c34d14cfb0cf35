// The program editor over a sample program with the console beneath it, the
// way the main window arranges them: every kind of word, a string, numbers,
// both comment forms, and one line in each of the error, error-character and
// current-line styles.
//
//   editor_demo                 opens the window
//   editor_demo --grab FILE     saves a picture of it and quits
#include <QApplication>
#include <QSplitter>
#include <QTimer>

#include "encoding.h"
#include "highlighting.h"
#include "syntax_memo.h"
#include "user_screen.h"

namespace {

constexpr const char* kSample =
    "/* Пример: сумма чисел\n"
    "   и прогулка Грондо по грядкам */\n"
    "целые n, i;\n"
    "дробные s;\n"
    "void main()\n"
    "{\n"
    "  вывод \"Сколько чисел? \";\n"
    "  ввод n;\n"
    "  s = 0;\n"
    "  цикл (i = 1; i <= n; i = i + 1)\n"
    "    s = s + i * 2.5;   // дробная часть\n"
    "  println(\"Сумма: \", s, \" // не комментарий\");\n"
    "  если (впереди_стена) налево; иначе вперед(1);\n"
    "  if (a != b & x >= 10) посади;\n"
    "  Line(10, 20, 30, 40); ЦветТекста(RGB(0, 128, 255));\n"
    "  y = sqrt(abs(-3.14)) + 1.2.3;\n"
    "  ЕСЛИ (грядка) повтори (3) вправо(90);\n"
    "}\n";

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QString grabPath;
  for (int i = 1; i + 1 < argc; ++i)
    if (QString::fromLocal8Bit(argv[i]) == QLatin1String("--grab")) grabPath = QString::fromLocal8Bit(argv[i + 1]);

  QSplitter window(Qt::Vertical);
  auto* editor = new TqxSyntaxMemo(&window);
  auto* console = new TqxUserScreen(&window);
  window.addWidget(editor);
  window.addWidget(console);
  window.setStretchFactor(0, 3);
  window.setStretchFactor(1, 1);
  window.resize(820, 620);
  window.setWindowTitle(QStringLiteral("editor_demo"));

  SetupProgramEditor(*editor);
  const THighlightStyles styles = SetupHighlighting(*editor);
  editor->SetGutterWidth(40);
  editor->SetScrollMode(smStrict);
  editor->SetText(Utf8ToCp1251(kSample));
  editor->SetLineMark(8, styles.CurrentLine);
  editor->SetLineMark(13, styles.ErrorLine);
  editor->SetCharHighlight(15, 27, styles.ErrorChar);
  editor->SetCaret(9, 6);

  console->AddLine(Utf8ToCp1251("Сколько чисел? "));
  console->BeginInput(imInteger);
  for (char c : std::string("10")) console->Buffer().TypeChar(c);
  console->EndInput();
  console->AddLine(Utf8ToCp1251("Сумма: 137.50"));
  console->AddLine(Utf8ToCp1251("Программа завершена."));

  window.show();
  editor->setFocus();
  if (grabPath.isEmpty()) return app.exec();
  QTimer::singleShot(100, [&] {
    window.grab().save(grabPath);
    app.quit();
  });
  return app.exec();
}
