// The main window as a pupil uses it: keys and buttons start, step, stop
// and report runs on the real worker thread; message boxes are answered by
// the script.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QComboBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "../support/scripted_boxes.h"
#include "../support/scripted_dialogs.h"
#include "encoding.h"
#include "file_history.h"
#include "main_form.h"
#include "maze_editor.h"
#include "settings.h"
#include "syntax_memo.h"
#include "user_screen.h"
#include "var_form.h"

namespace {

// Runs the event loop until pred holds (false after ms).
bool WaitFor(const std::function<bool()>& pred, int ms = 10000) {
  QElapsedTimer t;
  t.start();
  while (!pred()) {
    if (t.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// Runs action from inside the event loop once pred holds: a console read
// runs its own loop, from which a plain wait would never come back.
void WhenTrue(QObject* context, std::function<bool()> pred, std::function<void()> action) {
  auto* poll = new QTimer(context);
  QObject::connect(poll, &QTimer::timeout, context, [poll, pred, action] {
    if (!pred()) return;
    poll->stop();
    poll->deleteLater();
    action();
  });
  poll->start(5);
}

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Runs take a per-user lock that refuses a second run from any process;
// each test process gets a lock of its own, so that ctest may run them side
// by side. The settings and recovery copies go to folders of its own too,
// and every window starts from no settings.
void PrivateRunLock() {
  static QTemporaryDir dir;
  for (const char* var : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
    qputenv(var, (dir.path() + QLatin1Char('/') + QLatin1String(var)).toLocal8Bit());
  QDir().mkpath(dir.path() + QStringLiteral("/XDG_RUNTIME_DIR"));
  OpenUserSettings()->clear();
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    PrivateRunLock();
    form = std::make_unique<TMainForm>();
    form->show();
    QApplication::setActiveWindow(form.get());
    form->Editor->setFocus();
  }
  void TearDown() override {
    // A failed expectation must not leave a paused run to wait for forever.
    if (!form) return;
    if (form->VarForm->isVisible()) form->VarForm->reject();
    form->Session().Stop();
    form->WaitForRunEnd();
  }

  void SetProgram(std::initializer_list<const char*> lines) {
    std::vector<std::string> cp;
    for (const char* l : lines) cp.push_back(Utf8ToCp1251(l));
    form->Editor->SetLines(cp);
  }
  void Key(int key) {
    // The shortcuts need the window active (a closed dialog may leave none).
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form->Editor, Qt::Key(key));
  }
  bool Paused() {
    return WaitFor([&] { return form->Session().Paused(); });
  }
  bool Ended() {
    return WaitFor([&] { return !form->Session().Running(); });
  }
  int CurrentLine() const {
    for (int i = 0; i < form->Editor->LineCount(); ++i)
      if (form->Editor->LineMark(i) == form->Styles().CurrentLine) return i;
    return -1;
  }

  TScriptedBoxes boxes;
  std::unique_ptr<TMainForm> form;
};

const std::initializer_list<const char*> kCounting = {
    "главная {",          // 0
    "  целые x;",         // 1
    "  x = 1;",           // 2
    "  x = x + 1;",       // 3
    "  выводстр x;",      // 4
    "}",                  // 5
};

TEST_F(MainWindow, StepFromIdlePausesOnTheLineAboutToRunThenRunFinishes) {
  SetProgram(kCounting);
  Key(Qt::Key_F8);
  ASSERT_TRUE(Paused());
  const int first = CurrentLine();
  EXPECT_GE(first, 0);
  Key(Qt::Key_F8);
  ASSERT_TRUE(WaitFor([&] { return form->Session().Paused() && CurrentLine() > first; }));
  EXPECT_TRUE(boxes.Shown.isEmpty());
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(boxes.Shown, QStringList{U("Выполнение программы завершено успешно.")});
  EXPECT_EQ(CurrentLine(), -1) << "the execution mark goes when the run ends";
  EXPECT_EQ(form->UserScreen->Lines().Get(0), "2");
}

TEST_F(MainWindow, StepPausesAtTheFirstStatementAndThenTheNext) {
  SetProgram(kCounting);
  Key(Qt::Key_F8);
  ASSERT_TRUE(Paused());
  EXPECT_EQ(CurrentLine(), 2);
  Key(Qt::Key_F8);
  ASSERT_TRUE(WaitFor([&] { return form->Session().Paused() && CurrentLine() == 3; }));
  Key(Qt::Key_Escape);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(boxes.Shown, QStringList{U("Программа остановлена пользователем.")});
}

// Records what the editor shows while the error box is open.
class TMarkSnoop : public TScriptedBoxes {
 public:
  explicit TMarkSnoop(TMainForm*& form) : form_(form) {}
  void Show(QWidget* parent, TBoxKind kind, const QString& text) override {
    LineMark = form_->Editor->LineMark(2);
    const TMemoBuffer& b = form_->Editor->Buffer();
    Highlight = {b.HighlightLine(), b.HighlightCol(), b.HighlightStyle()};
    TScriptedBoxes::Show(parent, kind, text);
  }
  int LineMark = -1;
  std::vector<int> Highlight;

 private:
  TMainForm*& form_;
};

TEST(MainWindowErrors, TranslationErrorMarksTheLineAndCharacterThenPlacesTheCaret) {
  PrivateRunLock();
  TMainForm* raw = nullptr;
  TMarkSnoop snoop(raw);
  TMainForm form;
  raw = &form;
  std::vector<std::string> lines;
  for (const char* l : {"главная {", "  целые y;", "  y = z + 1;", "}"}) lines.push_back(Utf8ToCp1251(l));
  form.Editor->SetLines(lines);
  form.RunBtnClick();
  ASSERT_EQ(snoop.Shown.size(), 1);
  EXPECT_TRUE(snoop.Shown[0].startsWith(U("Ошибка трансляции"))) << snoop.Shown[0].toStdString();
  EXPECT_EQ(snoop.LineMark, form.Styles().ErrorLine);
  // The seventh character, column 6 counted from 0.
  EXPECT_EQ(snoop.Highlight, (std::vector<int>{2, 6, form.Styles().ErrorChar}));
  EXPECT_EQ(form.Editor->Buffer().HighlightLine(), -1);
  EXPECT_FALSE(form.Session().Running());
  EXPECT_NE(form.Editor->LineMark(2), form.Styles().ErrorLine);
  EXPECT_EQ(form.Editor->CaretLine(), 2);
  EXPECT_EQ(form.Editor->CaretCol(), 6);
}

TEST_F(MainWindow, RunTimeErrorIsReportedWithTheFaultyLineMarked) {
  SetProgram({"главная {", "  целые a, b;", "  b = 0;", "  a = 1 / b;", "}"});
  int markWhileShown = -1;
  struct TSnoop : TScriptedBoxes {
    std::function<void()> OnShow;
    void Show(QWidget* p, TBoxKind k, const QString& t) override {
      if (OnShow) OnShow();
      TScriptedBoxes::Show(p, k, t);
    }
  } snoop;
  snoop.OnShow = [&] { markWhileShown = form->Editor->LineMark(3); };
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  ASSERT_EQ(snoop.Shown.size(), 1);
  EXPECT_EQ(markWhileShown, form->Styles().ErrorLine);
  EXPECT_NE(form->Editor->LineMark(3), form->Styles().ErrorLine);
  EXPECT_EQ(form->Editor->CaretLine(), 3);
}

TEST_F(MainWindow, EscStopsAnEndlessLoop) {
  SetProgram({"главная {", "  целые i;", "  пока (i == 0) i = 0;", "}"});
  Key(Qt::Key_F9);
  QTest::qWait(50);
  EXPECT_TRUE(form->Session().Running());
  Key(Qt::Key_Escape);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(boxes.Shown, QStringList{U("Программа остановлена пользователем.")});
}

TEST_F(MainWindow, EscStopsAProgramWaitingForInput) {
  SetProgram({"главная {", "  целые n;", "  ввод n;", "  выводстр n;", "}"});
  WhenTrue(form.get(), [&] { return form->UserScreen->InputMode() == imInteger; },
           [&] { QTest::keyClick(form->UserScreen, Qt::Key_Escape); });
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(boxes.Shown, QStringList{U("Программа остановлена пользователем.")});
}

TEST_F(MainWindow, TypedInputReachesTheProgram) {
  SetProgram({"главная {", "  целые n;", "  ввод n;", "  выводстр n * 2;", "}"});
  WhenTrue(form.get(), [&] { return form->UserScreen->InputMode() == imInteger; }, [&] {
    QTest::keyClicks(form->UserScreen, "21");
    QTest::keyClick(form->UserScreen, Qt::Key_Return);
  });
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(boxes.Shown, QStringList{U("Выполнение программы завершено успешно.")});
  EXPECT_EQ(form->UserScreen->Lines().Get(0), "21");
  EXPECT_EQ(form->UserScreen->Lines().Get(1), "42");
}

TEST_F(MainWindow, EditingTheProgramStopsTheRun) {
  SetProgram({"главная {", "  целые i;", "  пока (i == 0) i = 0;", "}"});
  Key(Qt::Key_F9);
  QTest::qWait(30);
  form->Editor->setFocus();
  Key(Qt::Key_Return);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(boxes.Shown, QStringList{U("Программа остановлена пользователем.")});
}

class GrondoWindow : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    form->Action("GrondoBtn")->trigger();
    form->LoadTask(QStringLiteral(TARMISY_TEST_PROGRAMS "/grondo_ring.maz"));
  }
};

TEST_F(GrondoWindow, TheTaskLoadsIntoThePanel) {
  EXPECT_TRUE(form->MazePanel->isVisible());
  EXPECT_EQ(form->MazeCaption->text(), U("Задача для Грондо: grondo_ring.maz"));
  EXPECT_TRUE(form->Action("ReloadBtn")->isEnabled());
  EXPECT_TRUE(form->Action("ZadBtn")->isEnabled());
}

TEST_F(GrondoWindow, AnUnplantedBedGetsTheVerdict) {
  SetProgram({"главная {", "  вперед(1);", "  посади;", "  вперед(2);", "}"});
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  // The base is missing from the ring, so the verdict names both faults.
  ASSERT_EQ(boxes.Shown.size(), 1);
  EXPECT_EQ(boxes.Shown[0], U("Задача решена неверно. Обнаружены следующие ошибки:\r\n"
                              "    - не обработано клеток: 1 шт.\r\n"
                              "    - Грондо не пришел на базу"));
}

TEST_F(GrondoWindow, DesignModeTakesTheFieldPanesPlaceUntilItEnds) {
  form->Action("EditMazeMI")->trigger();
  ASSERT_TRUE(form->MazeEditor->DesignMode());
  EXPECT_TRUE(form->MazeEditor->isVisible());
  EXPECT_GT(form->MazeEditor->height(), form->height() / 2);
  EXPECT_TRUE(form->ScrollBox1->isHidden());
  EXPECT_FALSE(form->Action("RunBtn")->isEnabled()) << "no run on a maze being edited";
  ASSERT_TRUE(form->MazeEditor->FinishEditing());
  EXPECT_FALSE(form->MazeEditor->isVisible());
  EXPECT_FALSE(form->ScrollBox1->isHidden());
  EXPECT_GT(form->ScrollBox1->height(), form->height() / 2);
  EXPECT_TRUE(form->Action("RunBtn")->isEnabled());
  EXPECT_TRUE(form->Action("ReloadBtn")->isEnabled());
}

TEST_F(GrondoWindow, ANewMazeInDesignModeKeepsTheTaskCommandsWaiting) {
  form->Action("EditMazeMI")->trigger();
  QAction* newMaze = form->MazeEditor->findChild<QAction*>(QStringLiteral("NewMazeBtn"));
  ASSERT_NE(newMaze, nullptr);
  newMaze->trigger();
  for (const char* n : {"ZadBtn", "ReloadBtn", "LoadMazeMI", "RestoreMazeMI", "SaveMazeAsMI", "EditMazeMI"})
    EXPECT_FALSE(form->Action(n)->isEnabled()) << n;
  boxes.Answers = {TAnswer::No};
  ASSERT_TRUE(form->MazeEditor->FinishEditing());
  EXPECT_TRUE(form->Action("LoadMazeMI")->isEnabled());
}

TEST_F(GrondoWindow, ATaskSavedUnderANameWithoutExtensionBecomesAMazFile) {
  TScriptedDialogs dialogs;
  QTemporaryDir dir;
  dialogs.Names = {dir.filePath(QStringLiteral("ring"))};
  form->Action("SaveMazeAsMI")->trigger();
  ASSERT_EQ(dialogs.Requests.size(), 1u);
  EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("ring.maz"))));
  EXPECT_EQ(form->MazeCaption->text(), U("Задача для Грондо: ring.maz"));
}

// The worker changes Grondo's field while it runs; a rescale redraws the
// field whole, so it waits until the worker does (or the run ends).
TEST_F(GrondoWindow, AScaleChosenDuringAFreeRunWaitsForTheWorker) {
  SetProgram({"главная {", "  пока (истина) { налево; }", "}"});
  const int before = form->FieldModel().ScaleIndex();
  Key(Qt::Key_F9);
  QTest::qWait(50);
  ASSERT_TRUE(form->Session().Running());
  form->ScaleCB->setCurrentIndex(before == 0 ? 3 : 0);
  Key(Qt::Key_Escape);
  ASSERT_TRUE(Ended());
  EXPECT_TRUE(WaitFor([&] { return form->FieldModel().ScaleIndex() == form->ScaleCB->currentIndex(); }, 1000));
}

TEST_F(GrondoWindow, ASteppedRunIsNotJudged) {
  SetProgram({"главная {", "  вперед(1);", "}"});
  Key(Qt::Key_F8);
  for (int i = 0; i < 10 && !WaitFor([&] { return !form->Session().Running(); }, 200); ++i) Key(Qt::Key_F8);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(boxes.Shown, QStringList{U("Отладочное выполнение программы завершено успешно.")});
}

TEST_F(GrondoWindow, EveryRunStartsFromTheTask) {
  SetProgram({"главная {", "  вперед(1);", "  посади;", "}"});
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  // The bed planted by the first run is a bed again for the second.
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  ASSERT_EQ(boxes.Shown.size(), 2);
  EXPECT_EQ(boxes.Shown[0], boxes.Shown[1]);
}

TEST_F(MainWindow, AProgramWithoutExecutorCommandsGivesTheConsoleTheWholePane) {
  SetProgram({"главная {", "  выводстр 1;", "}"});
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  EXPECT_TRUE(form->ScrollBox1->isHidden());
  form->Action("DrawerBtn")->trigger();
  EXPECT_FALSE(form->ScrollBox1->isHidden());
  EXPECT_EQ(form->ExecutorKind(), ekDrawer);
  EXPECT_FALSE(form->Action("ZadBtn")->isEnabled());
  EXPECT_FALSE(form->MazePanel->isVisible());
}

TEST_F(MainWindow, AnExecutorProgramWithoutOutputCollapsesTheConsole) {
  SetProgram({"главная {", "  вперед(10);", "}"});
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(form->Splitter2->sizes().value(2), 0) << "the console";
  EXPECT_FALSE(form->ScrollBox1->isHidden());
}

// The window lists what is in sight while paused; once it is closed the
// run waits again and goes on.
TEST_F(MainWindow, VariablesWindowListsTheVariablesAndTheRunGoesOn) {
  SetProgram({"целые g;", "главная {", "  целые x;", "  x = 5;", "  g = x;", "}"});
  Key(Qt::Key_F8);
  ASSERT_TRUE(Paused());
  Key(Qt::Key_F8);
  ASSERT_TRUE(WaitFor([&] { return form->Session().Paused() && CurrentLine() == 4; }));
  QStringList global, local;
  QString label;
  bool seen = false;
  WhenTrue(form.get(), [&] { return form->VarForm->isVisible(); }, [&] {
    for (int i = 0; i < form->VarForm->GlobLV->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* it = form->VarForm->GlobLV->topLevelItem(i);
      global << it->text(0) + "|" + it->text(1) + "|" + it->text(2);
    }
    for (int i = 0; i < form->VarForm->LocalLV->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* it = form->VarForm->LocalLV->topLevelItem(i);
      local << it->text(0) + "|" + it->text(1) + "|" + it->text(2);
    }
    label = form->VarForm->LocalVarLabel->text();
    seen = true;
    form->VarForm->accept();
  });
  form->Action("VarBtn")->trigger();
  ASSERT_TRUE(WaitFor([&] { return seen && !form->VarForm->isVisible(); }));
  EXPECT_EQ(global, QStringList{U("g|int|0")});
  EXPECT_EQ(local, QStringList{U("x|int|5")});
  EXPECT_EQ(label, U("Переменные основной программы"));
  // The worker waits again once the window is closed.
  ASSERT_TRUE(Paused());
  // The button, not the key: the closed dialog may have taken the focus
  // with it.
  form->Action("RunBtn")->trigger();
  ASSERT_TRUE(Ended());
}

TEST_F(MainWindow, ClosingDuringAPausedRunEndsTheWorkerWithoutAReport) {
  SetProgram(kCounting);
  Key(Qt::Key_F8);
  ASSERT_TRUE(Paused());
  boxes.Answers = {TAnswer::No};  // the typed program is not kept
  form->close();
  // The window goes once the worker has ended.
  ASSERT_TRUE(WaitFor([&] { return !form->isVisible(); }));
  EXPECT_FALSE(form->Session().Running());
  EXPECT_TRUE(boxes.Shown.isEmpty());
  form.reset();
}

TEST_F(MainWindow, ACloseDuringAFreeRunStopsItAndThenCloses) {
  SetProgram({"главная {", "  целые i;", "  пока (i == 0) i = 0;", "}"});
  boxes.Answers = {TAnswer::No};
  Key(Qt::Key_F9);
  ASSERT_TRUE(WaitFor([&] { return form->Session().Running(); }));
  // Delivered as a posted event, as the window's own retries are.
  QMetaObject::invokeMethod(form.get(), &QWidget::close, Qt::QueuedConnection);
  ASSERT_TRUE(WaitFor([&] { return !form->isVisible(); }));
  EXPECT_FALSE(form->Session().Running());
  EXPECT_TRUE(boxes.Shown.isEmpty());
}

TEST_F(MainWindow, ClosingWhileTheProgramWaitsForInputEndsTheWorker) {
  SetProgram({"главная {", "  целые n;", "  ввод n;", "}"});
  boxes.Answers = {TAnswer::No};
  // The close arrives while the console's read runs its own event loop.
  WhenTrue(form.get(), [&] { return form->UserScreen->InputMode() == imInteger; }, [&] { form->close(); });
  Key(Qt::Key_F9);
  ASSERT_TRUE(Ended());
  EXPECT_TRUE(boxes.Shown.isEmpty());
  ASSERT_TRUE(WaitFor([&] { return !form->isVisible(); }));
  form.reset();
}

TEST_F(MainWindow, StartsWithTheNewProgramTemplateAndTheCaretInItsBody) {
  EXPECT_EQ(form->Editor->LineCount(), 4);
  EXPECT_EQ(form->Editor->Lines().Get(0), Utf8ToCp1251("Программа"));
  EXPECT_EQ(form->Editor->CaretLine(), 2);
  EXPECT_EQ(form->Editor->CaretCol(), 2);
  EXPECT_FALSE(form->Action("UndoBtn")->isEnabled());
  EXPECT_TRUE(form->Action("TurtleBtn")->isChecked());
  EXPECT_EQ(form->windowTitle(), U("Система \"Тармисы\""));
}

TEST_F(MainWindow, SavedProgramIsNamedRememberedAndReopenedByTheNextWindow) {
  QTemporaryDir dir;
  TScriptedDialogs dialogs;
  SetProgram({"главная {", "  выводстр 1;", "}"});
  // A name without extension gets ".prg"; F2 saves like Ctrl+S.
  dialogs.Names = {dir.filePath(QStringLiteral("lab1"))};
  Key(Qt::Key_F2);
  const QString saved = dir.filePath(QStringLiteral("lab1.prg"));
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray(Utf8ToCp1251("главная {\r\n  выводстр 1;\r\n}\r\n").c_str()));
  EXPECT_EQ(form->windowTitle(), U("Система \"Тармисы\" - программа lab1.prg"));
  ASSERT_FALSE(form->HistoryMenu->Actions().isEmpty());
  EXPECT_TRUE(form->HistoryMenu->Actions()[0]->isVisible());
  form->ChooseExecutor(ekGrondo);

  // The next start: the history, the folder and the executor come back,
  // and choosing the history entry opens the program.
  form.reset();
  form = std::make_unique<TMainForm>();
  EXPECT_EQ(form->Settings().History.Paths(), QStringList{saved});
  EXPECT_EQ(form->Settings().ProgramsFolder, dir.path());
  EXPECT_TRUE(form->Action("GrondoBtn")->isChecked());
  EXPECT_EQ(form->ScrollBox1->Field()->size(), form->FieldModel().Bitmap().size()) << "the pane shows the whole field";
  form->HistoryMenu->Actions()[0]->trigger();
  EXPECT_EQ(form->Editor->Lines().Get(1), Utf8ToCp1251("  выводстр 1;"));
  EXPECT_EQ(form->windowTitle(), U("Система \"Тармисы\" - программа lab1.prg"));
}

TEST_F(MainWindow, ClosingAModifiedProgramAsksAndCancelKeepsTheWindow) {
  TScriptedDialogs dialogs;
  SetProgram({"главная {", "}"});
  boxes.Answers = {TAnswer::Cancel};
  EXPECT_FALSE(form->close());
  ASSERT_EQ(boxes.Asked.size(), 1);
  EXPECT_EQ(boxes.Asked[0], U("Текст программы не был записан на диск. Записать?"));
  // New asks too; No drops the text for the template.
  boxes.Answers = {TAnswer::No};
  form->Action("NewMI")->trigger();
  EXPECT_EQ(boxes.Asked.size(), 2);
  EXPECT_EQ(form->Editor->LineCount(), 4);
  EXPECT_EQ(form->windowTitle(), U("Система \"Тармисы\" - программа без имени"));
  EXPECT_TRUE(form->close());
  EXPECT_EQ(boxes.Asked.size(), 2);
}

TEST_F(MainWindow, F6LaysTheProgramOutAndUndoBringsItBack) {
  SetProgram({"главная {", "целые i;", "}"});
  Key(Qt::Key_F6);
  EXPECT_EQ(form->Editor->Lines().Get(1), "  {");
  EXPECT_EQ(form->Editor->Lines().Get(2), Utf8ToCp1251("  целые i;"));
  form->Action("UndoMI")->trigger();
  EXPECT_EQ(form->Editor->Lines().Get(1), Utf8ToCp1251("целые i;"));
}

TEST_F(MainWindow, TheTemplatesMenuFollowsTheExecutor) {
  QMenu* menu = form->findChild<QMenu*>(QStringLiteral("TemplatesMenu"));
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isEnabled());
  EXPECT_FALSE(menu->actions().isEmpty());
}

TEST_F(MainWindow, TheStatusBarShowsTheCaretPosition) {
  form->Editor->SetCaret(4, 11);
  SetProgram({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"});
  form->Editor->SetCaret(4, 11);
  QTest::qWait(150);
  EXPECT_EQ(form->StatusCaret->text(), QStringLiteral("  12 : 5"));
}

TEST_F(MainWindow, ACommandLineFileThatCannotBeReadLeavesTheTemplate) {
  EXPECT_FALSE(form->OpenProgram(QStringLiteral("/nonexistent/Lab1.prg")));
  ASSERT_EQ(boxes.Shown.size(), 1);
  EXPECT_TRUE(boxes.Shown[0].startsWith(U("Не удалось прочитать файл ''/nonexistent/Lab1.prg''."))) << boxes.Shown[0].toStdString();
  EXPECT_EQ(form->Editor->Lines().Get(0), Utf8ToCp1251("Программа"));
}

TEST_F(MainWindow, ADroppedFileOpensByItsNameAsDropped) {
  // Capitals in the name: a lower-cased name would not exist on Linux.
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("Lab1.PRG"));
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(Utf8ToCp1251("главная {\r\n  выводстр 1;\r\n}\r\n").c_str());
  file.close();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(name), QUrl::fromLocalFile(dir.filePath(QStringLiteral("other.prg")))});
  EXPECT_TRUE(form->OpenDropped(data));
  EXPECT_TRUE(boxes.Shown.isEmpty()) << boxes.Shown.join(QStringLiteral("; ")).toStdString();
  EXPECT_EQ(form->Editor->LineCount(), 3);
  EXPECT_EQ(form->Editor->Lines().Get(1), Utf8ToCp1251("  выводстр 1;"));
  EXPECT_EQ(form->windowTitle(), U("Система \"Тармисы\" - программа Lab1.PRG"));
}

TEST_F(MainWindow, AnOpenedProgramNamesItselfInTheCaption) {
  ASSERT_TRUE(form->OpenProgram(QStringLiteral(TARMISY_TEST_PROGRAMS "/arithmetic.prg")));
  EXPECT_EQ(form->windowTitle(), U("Система \"Тармисы\" - программа arithmetic.prg"));
  EXPECT_GT(form->Editor->LineCount(), 2);
}

// The font dialog answered with OK at once, as a pupil closes it unchanged;
// also from a slanted font a settings file may hold. The family's upright
// face is not named "Regular", and its oblique one is listed first.
TEST_F(MainWindow, TheFontDialogLeftUnchangedKeepsTheTextUpright) {
  for (bool slanted : {false, true}) {
    QFont start = form->Editor->font();
    start.setFamily(QStringLiteral("DejaVu Sans Mono"));
    start.setItalic(slanted);
    form->Editor->setFont(start);
    QTimer::singleShot(0, [] {
      if (QDialog* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->accept();
    });
    form->Action("FontMI")->trigger();
    const QFont chosen = form->Editor->font();
    EXPECT_FALSE(chosen.italic()) << slanted;
    // A named face would keep the keywords from being drawn bold.
    EXPECT_TRUE(chosen.styleName().isEmpty()) << chosen.styleName().toStdString();
  }
}

}  // namespace
