// The maze editor: design mode for Grondo's tasks. A widget holding the
// design tool bar above the field view; the main window puts it where its
// field pane is, shows it on entering design mode and takes the field pane
// back when it ends.
//
// The window's part:
//   EnterDesignMode(scale, file)  from DesignBtn and its menu item;
//   FinishEditing()               from its close handler (false: stay open);
//   SetRunCheck(...)              so that design mode is refused during a run;
//   DesignModeChanged(bool)       hide or show its tool bar, disable or
//                                 enable its menu and DesignBtn, and after
//                                 false draw its own field again;
//   MazeFileChanged(file, caption) the maze panel's caption and the task
//                                 dialogs' file name;
//   ScaleIndexChanged(s)          a new maze picked another scale.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "maze_edit.h"

class QScrollArea;
class TCurForm;
class TMazeToolBar;
class TMazeView;

// AskSaveMaze's answers: go on (nothing to save), saved, go on discarding
// the edits, cancel.
enum TAskSaveResult : int { asGoOn = 6, asSaved = 1, asDiscard = 7, asCancel = 2 };

class TMazeEditor : public QWidget {
  Q_OBJECT
 public:
  // The editor works on grid, the window's Grondo grid. It starts hidden.
  explicit TMazeEditor(TGrid& grid, QWidget* parent = nullptr);
  ~TMazeEditor() override;

  // Answers "does a program run (or is paused)?"; without it none is assumed.
  void SetRunCheck(std::function<bool()> runExists) { runExists_ = std::move(runExists); }
  // The save dialog: given the folder to start in, returns the chosen file
  // name or an empty string when cancelled. By default a Qt file dialog.
  void SetFileNameAsker(std::function<QString(const QString& folder)> asker) { askFileName_ = std::move(asker); }
  // The folder the save dialog starts in when the maze has no file yet.
  void SetMazeFolder(const QString& folder) { folder_ = folder; }

  // Enters design mode on the task (the working maze becomes the task again)
  // at scale index scale; fileName is the task's file (empty for none).
  // Refused with a message while a program runs. True when in design mode.
  bool EnterDesignMode(int scale, const QString& fileName);

  // Leaves design mode (the exit button): asks to save a modified maze;
  // "No" brings the task back as it was. False, staying in design mode,
  // when the question or the save dialog was cancelled. True at once when
  // not in design mode, so a close handler can always call it.
  bool FinishEditing();

  // Asks whether to save a modified maze and saves it on "Yes".
  TAskSaveResult AskSaveMaze();
  // Asks to save, then starts a 10 x 10 empty maze without a file.
  void NewMaze();
  // Takes back the last edit of this design mode.
  void Undo();
  // Puts the current tool into cell (x, y) as a mouse release does.
  void Place(int x, int y);
  // Adds or removes a column or row at side (TLineSide).
  void ChangeLine(bool insert, int side);

  bool DesignMode() const { return designMode_; }
  char ToolChar() const;
  QString FileName() const;
  int ScaleIndex() const;
  TMazeEdit& Edit() { return edit_; }
  TMazeToolBar* ToolBar() const { return bar_; }
  TMazeView* View() const { return view_; }
  TCurForm* Preview() const { return preview_; }

 signals:
  void DesignModeChanged(bool on);
  // The task's file changed (new maze, save, or leaving without saving);
  // caption is the maze panel's caption for it.
  void MazeFileChanged(const QString& fileName, const QString& caption);
  void ScaleIndexChanged(int scale);

 private:
  void Leave();
  void AnnounceFile();
  QString DefaultAskFileName(const QString& folder);
  QString StartFolder() const;

  TMazeEdit edit_;
  TMazeToolBar* bar_;
  QScrollArea* scroll_;
  TMazeView* view_;
  TCurForm* preview_;
  bool designMode_ = false;
  std::function<bool()> runExists_;
  std::function<QString(const QString&)> askFileName_;
  QString folder_;
};
