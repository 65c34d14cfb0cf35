// Design mode through the widget: mouse, keyboard, the save question and
// what the window sees.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "field.h"
#include "maze_editor.h"
#include "maze_file.h"
#include "maze_tools.h"
#include "maze_view.h"
#include "qtext.h"
#include "scripted_boxes.h"
#include "string_table.h"

namespace {

constexpr int kCell = 40;  // scale 0

// The pixel in the middle of cell (x, y) at 100%.
QPoint Mid(int x, int y) { return QPoint(x * kCell + kCell / 2, y * kCell + 1 + kCell / 2); }

QString Text(TStrId id) { return FromCp1251(Str(id)); }

std::string Native(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

TMaze Task() {
  TMaze m(10, std::string(10, '.'));
  m[1][1] = '2';  // Grondo facing right
  m[5][5] = 'b';
  return m;
}

class MazeEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.TaskMaze = Task();
    grid.Restore();
    editor.resize(700, 600);
    editor.SetFileNameAsker([this](const QString&) {
      ++asked;
      return nextName;
    });
    taskFile = dir.filePath("task.maz");
  }
  void Enter(const QString& file = QString()) { ASSERT_TRUE(editor.EnterDesignMode(0, file)); }
  void Release(QPoint pos) { QTest::mouseRelease(editor.View(), Qt::LeftButton, {}, pos); }
  void Key(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(editor.View(), static_cast<Qt::Key>(key), mods); }

  TScriptedBoxes boxes;
  TGrid grid;
  TMazeEditor editor{grid};
  QTemporaryDir dir;
  QString taskFile;
  QString nextName;  // what the save dialog answers; empty: cancelled
  int asked = 0;
};

TEST_F(MazeEditorTest, RefusedWhileAProgramRuns) {
  editor.SetRunCheck([] { return true; });
  QSignalSpy spy(&editor, &TMazeEditor::DesignModeChanged);
  EXPECT_FALSE(editor.EnterDesignMode(0, QString()));
  EXPECT_EQ(boxes.Shown, QStringList{Text(sDesignDuringRun)});
  EXPECT_FALSE(editor.DesignMode());
  EXPECT_TRUE(editor.isHidden());
  EXPECT_EQ(spy.count(), 0);
}

TEST_F(MazeEditorTest, EnteringRestoresTheTaskAndDrawsLikeTheFieldPane) {
  grid.WorkingMaze[9][9] = 'p';  // what a run planted
  QSignalSpy spy(&editor, &TMazeEditor::DesignModeChanged);
  Enter();
  EXPECT_EQ(grid.CellAt(9, 9), '.');
  ASSERT_EQ(spy.count(), 1);
  EXPECT_TRUE(spy[0][0].toBool());
  EXPECT_TRUE(editor.isVisible());
  TGrid same;
  same.TaskMaze = Task();
  same.Restore();
  EXPECT_EQ(editor.View()->Bitmap(), RenderField(same, 0));
}

TEST_F(MazeEditorTest, MouseReleasePlacesTheToolInsideTheGridOnly) {
  Enter();
  editor.ToolBar()->DWallBtn->trigger();
  EXPECT_EQ(editor.ToolChar(), 'w');
  Release(Mid(4, 2));
  EXPECT_EQ(grid.CellAt(4, 2), 'w');
  // The cell's pixels now show the wall.
  const QImage wall = CellPictures().Wall(0, 0);
  EXPECT_EQ(editor.View()->Bitmap().copy(CellRect(4, 2, 0)), wall);

  // Left of and above the grid, and the black row on top, edit nothing.
  grid.Modified = false;
  for (QPoint p : {QPoint(-5, Mid(0, 3).y()), QPoint(Mid(3, 0).x(), -5), QPoint(Mid(3, 0).x(), 0)}) Release(p);
  EXPECT_FALSE(grid.Modified);
  EXPECT_EQ(grid.CellAt(0, 3), '.');

  // Grondo on his own cell turns clockwise.
  editor.ToolBar()->DGrondoBtn->trigger();
  Release(Mid(1, 1));
  EXPECT_EQ(grid.GrondoDir, 4);
  Release(Mid(6, 6));
  EXPECT_EQ(grid.GrondoX, 6);
}

TEST_F(MazeEditorTest, KeyboardBuildsAMaze) {
  Enter();
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  Key(Qt::Key_Left);  // (2, 2)
  Key(Qt::Key_3);     // garden bed
  EXPECT_EQ(editor.ToolChar(), 'x');
  EXPECT_TRUE(editor.ToolBar()->DTargetBtn->isChecked());
  Key(Qt::Key_Space);
  EXPECT_EQ(grid.CellAt(2, 2), 'x');
  Key(Qt::Key_Up);
  Key(Qt::Key_Up);
  Key(Qt::Key_Up);  // stops at row 0
  EXPECT_EQ(editor.View()->CursorCell(), QPoint(2, 0));

  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
    int cols, rows, grondoX;
  } cases[] = {
      {Qt::Key_Insert, {}, 11, 10, 1},
      {Qt::Key_Insert, Qt::ControlModifier, 12, 10, 2},
      {Qt::Key_Insert, Qt::ShiftModifier, 12, 11, 2},
      {Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier, 12, 12, 2},
      {Qt::Key_Delete, Qt::ControlModifier, 11, 12, 1},
      {Qt::Key_Delete, {}, 10, 12, 1},
      {Qt::Key_Delete, {}, 10, 12, 1},  // refused: 10 columns
      {Qt::Key_Delete, Qt::ShiftModifier, 10, 11, 1},
  };
  for (const Case& c : cases) {
    Key(c.key, c.mods);
    EXPECT_EQ(grid.FieldCols, c.cols);
    EXPECT_EQ(grid.FieldRows, c.rows);
    EXPECT_EQ(grid.GrondoX, c.grondoX);
    EXPECT_EQ(editor.View()->Bitmap().size(), FieldBitmapSize(c.cols, c.rows, 0));
  }
  // The cursor stayed on the garden bed's column through the left edits.
  EXPECT_EQ(editor.View()->CursorCell().x(), 2);

  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(grid.FieldRows, 12);
  while (editor.ToolBar()->DUndoBtn->isEnabled()) Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(grid.CellAt(2, 2), '.');
  EXPECT_FALSE(grid.Modified);
}

TEST_F(MazeEditorTest, UnmodifiedMazeLeavesWithoutAQuestion) {
  Enter();
  EXPECT_TRUE(editor.FinishEditing());
  EXPECT_TRUE(boxes.Asked.isEmpty());
  EXPECT_FALSE(editor.DesignMode());
  EXPECT_TRUE(editor.isHidden());
}

TEST_F(MazeEditorTest, CancelStaysInDesignMode) {
  Enter();
  editor.ToolBar()->DWallBtn->trigger();
  Release(Mid(7, 7));
  boxes.Answers = {TAnswer::Cancel};
  EXPECT_FALSE(editor.FinishEditing());
  EXPECT_EQ(boxes.Asked, QStringList{Text(sMazeChangedAsk)});
  EXPECT_TRUE(editor.DesignMode());
  EXPECT_EQ(grid.CellAt(7, 7), 'w');

  // A cancelled save dialog cancels too.
  boxes.Answers = {TAnswer::Yes};
  nextName.clear();
  EXPECT_FALSE(editor.FinishEditing());
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(editor.DesignMode());
}

TEST_F(MazeEditorTest, NoAfterNewMazeRestoresTheTask) {
  Enter(taskFile);
  QSignalSpy files(&editor, &TMazeEditor::MazeFileChanged);
  editor.ToolBar()->DWallBtn->trigger();
  Release(Mid(7, 7));
  boxes.Answers = {TAnswer::No};
  editor.ToolBar()->NewMazeBtn->trigger();
  EXPECT_EQ(grid.WorkingMaze, TMaze(10, std::string(10, '.')));
  EXPECT_FALSE(grid.HasGrondo());
  ASSERT_EQ(files.count(), 1);
  EXPECT_EQ(files[0][0].toString(), QString());
  EXPECT_EQ(files[0][1].toString(), Text(sMazeCaption));

  boxes.Answers = {TAnswer::No};
  EXPECT_TRUE(editor.FinishEditing());
  EXPECT_EQ(boxes.Asked.size(), 2);
  TGrid original;
  original.TaskMaze = Task();
  original.Restore();
  EXPECT_EQ(grid.WorkingMaze, original.WorkingMaze);
  EXPECT_EQ(grid.GrondoX, 1);
  ASSERT_EQ(files.count(), 2);
  EXPECT_EQ(files[1][0].toString(), taskFile);
  EXPECT_EQ(files[1][1].toString(), QStringLiteral("Задача для Грондо: task.maz"));
  EXPECT_FALSE(editor.DesignMode());
  EXPECT_FALSE(QFile::exists(taskFile));
}

TEST_F(MazeEditorTest, YesSavesToTheTaskFileOrAsksForOne) {
  Enter(taskFile);
  editor.ToolBar()->DBaseBtn->trigger();
  Release(Mid(1, 1));  // the base under Grondo
  boxes.Answers = {TAnswer::Yes};
  EXPECT_TRUE(editor.FinishEditing());
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(ReadMazeFile(Native(taskFile))[1], ".D........");
  EXPECT_FALSE(editor.DesignMode());

  // A new maze has no file: the save dialog names it.
  Enter(taskFile);
  boxes.Answers = {TAnswer::No};  // nothing modified: no question yet
  editor.ToolBar()->NewMazeBtn->trigger();
  EXPECT_TRUE(boxes.Answers.size() == 1);
  nextName = dir.filePath("new.maz");
  QSignalSpy files(&editor, &TMazeEditor::MazeFileChanged);
  boxes.Answers = {TAnswer::Yes};
  EXPECT_TRUE(editor.FinishEditing());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(ReadMazeFile(Native(nextName)), TMaze(10, std::string(10, '.')));
  ASSERT_EQ(files.count(), 1);
  EXPECT_EQ(files[0][1].toString(), QStringLiteral("Задача для Грондо: new.maz"));
  EXPECT_EQ(grid.TaskMaze, TMaze(10, std::string(10, '.')));
}

TEST_F(MazeEditorTest, PreviewFollowsTheMouseWithTheTool) {
  Enter();
  editor.show();
  editor.ToolBar()->DGrondoBtn->trigger();
  QMouseEvent move(QEvent::MouseMove, QPointF(Mid(2, 2)), editor.View()->mapToGlobal(QPointF(Mid(2, 2))),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(editor.View(), &move);
  TCurForm* preview = editor.Preview();
  EXPECT_TRUE(preview->isVisible());
  EXPECT_EQ(preview->pos(), editor.View()->mapToGlobal(Mid(2, 2)) + QPoint(5, 5));
  // Never larger than a 60% cell, framed black and light grey.
  const QImage& pic = preview->Picture();
  EXPECT_EQ(pic.size(), QSize(24, 24));
  EXPECT_EQ(pic.pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(pic.pixelColor(23, 12), QColor(Qt::black));
  EXPECT_EQ(pic.pixelColor(1, 1), QColor(192, 192, 192));
  EXPECT_EQ(pic.pixelColor(22, 12), QColor(192, 192, 192));
  editor.FinishEditing();
  EXPECT_FALSE(preview->isVisible());
}

}  // namespace
