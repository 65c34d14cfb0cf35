// The maze editor in design mode under a maze panel like the main window's,
// on a task file or on a small sample task.
//
//   maze_editor_demo [TASK.maz]               opens the window
//   maze_editor_demo [TASK.maz] --grab FILE   saves a picture of it and quits
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "encoding.h"
#include "maze_editor.h"
#include "maze_file.h"
#include "maze_tools.h"
#include "maze_view.h"
#include "qtext.h"
#include "string_table.h"

namespace {

const TMaze kSample = {
    "wwwwwwwwwwww",
    "w2...x....xw",
    "w.ww.wwww..w",
    "w..w....w.pw",
    "ww.wwww.w..w",
    "w.....x.wwxw",
    "w.www.ww...w",
    "w..xw....w.w",
    "wp..w.b..w.w",
    "wwwwwwwwwwww",
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QString grabPath, taskPath;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (arg == QLatin1String("--grab") && i + 1 < argc)
      grabPath = QString::fromLocal8Bit(argv[++i]);
    else
      taskPath = arg;
  }

  TGrid grid;
  grid.TaskMaze = kSample;
  if (!taskPath.isEmpty()) {
    try {
      LoadMaze(grid, taskPath.toStdString());
    } catch (const EMazeFileError& e) {
      fprintf(stderr, "%s\n", Cp1251ToUtf8(e.Message()).c_str());
      return 1;
    }
  }

  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* panel = new QLabel(FromCp1251(taskPath.isEmpty() ? Str(sMazeCaption) : MazeCaption(taskPath.toStdString())));
  panel->setObjectName(QStringLiteral("MazePanel"));
  panel->setFixedHeight(24);
  panel->setStyleSheet(QStringLiteral("background: navy; color: white; font-weight: bold; padding-left: 4px;"));
  layout->addWidget(panel);
  auto* editor = new TMazeEditor(grid, &window);
  layout->addWidget(editor, 1);
  QObject::connect(editor, &TMazeEditor::MazeFileChanged, panel,
                   [panel](const QString&, const QString& caption) { panel->setText(caption); });
  QObject::connect(editor, &TMazeEditor::DesignModeChanged, &app, [&app](bool on) {
    if (!on) app.quit();
  });
  window.resize(640, 560);
  window.setWindowTitle(QStringLiteral("maze_editor_demo"));
  window.show();
  editor->EnterDesignMode(0, taskPath);
  editor->ToolBar()->DWallBtn->setChecked(true);
  if (grabPath.isEmpty()) return app.exec();
  editor->View()->SetCursorCell(QPoint(3, 5));
  QTimer::singleShot(100, [&] {
    window.grab().save(grabPath);
    app.quit();
  });
  return app.exec();
}
