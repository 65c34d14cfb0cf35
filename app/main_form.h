// The main window: the program editor, the field pane of the current
// executor and the console, the tool bars, the menu and the status bar; the
// place where a run is started, stepped, stopped and reported.
//
// The run itself is a TRunSession. The window answers the worker through
// TWindowHost, which touches widgets on the main thread only; the session
// is given that host wrapped in a TRelayHost.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "highlighting.h"
#include "relayhost.h"
#include "session.h"
#include "settings.h"
#include "window_field.h"

class QAction;
class QComboBox;
class TFindReplace;
class TTemplateMenus;
class QLabel;
class QMimeData;
class QMenu;
class QSettings;
class QSplitter;
class TFileHistoryMenu;
class TRecoveryCopy;
class TqxFileMan;
class QToolBar;
class QToolButton;
class TqxSyntaxMemo;
class TqxUserScreen;
class TVarForm;
class TVarHintForm;
class TWindowHost;
class TMazeEditor;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // progress (may be empty) hears the start-up progress in percent.
  explicit TMainForm(const std::function<void(int)>& progress = {}, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Components, named as the pupil's help and the tests know them.
  TqxSyntaxMemo* Editor = nullptr;
  TqxUserScreen* UserScreen = nullptr;
  TFieldPane* ScrollBox1 = nullptr;
  QWidget* MazePanel = nullptr;
  QLabel* MazeCaption = nullptr;
  QToolButton* DesignBtn = nullptr;
  QToolBar* DesignToolBar = nullptr;  // the maze editor's tools
  TMazeEditor* MazeEditor = nullptr;
  QSplitter* Splitter1 = nullptr;  // editor | right pane
  QSplitter* Splitter2 = nullptr;  // field pane | console
  QComboBox* ScaleCB = nullptr;
  QLabel* StatusCaret = nullptr;   // panel 0
  QLabel* StatusHint = nullptr;    // panel 1
  TVarForm* VarForm = nullptr;
  TVarHintForm* VarHint = nullptr;
  // The program file: new, open, save, the question before losing changes.
  TqxFileMan* FileMan1 = nullptr;
  // The File menu's five programs used last.
  TFileHistoryMenu* HistoryMenu = nullptr;

  // The command or menu item by component name ("RunBtn", "LoadMazeMI", ...).
  QAction* Action(const char* name) const;

  // Run commands (F9, F8, F7, F4, Esc and the variables button).
  void RunBtnClick();
  void StepBtnClick();
  void TraceBtnClick();
  void RunToBtnClick();
  void StopBtnClick();
  void VarBtnClick();
  // Executor choice (the three executor buttons).
  void ChooseExecutor(int kind);
  int ExecutorKind() const { return field_.Kind(); }
  // Grondo's task: load (asks for a file when fileName is empty), restore,
  // save as.
  void LoadTask(const QString& fileName = QString());
  void RestoreTask();
  void SaveTaskAs();
  // Design mode of the maze editor (DesignBtn, Ctrl+E).
  void EditMaze();
  // Opens a program file through the file workflow (the question about
  // unsaved changes first); false when it was not opened (after saying why
  // when it cannot be read).
  bool OpenProgram(const QString& fileName);
  // The print preview of the program (Ctrl+P).
  void PrintBtnClick();
  // The parameters dialog (Ctrl+R).
  void ParamMIClick();
  // The user's settings as loaded at start and changed since.
  const TSettings& Settings() const { return settings_; }
  // Writes every setting now; storeFirstPaths also remembers the folders as
  // the ones to start in.
  void SaveSettings(bool storeFirstPaths = false);
  // At start, once the window is on the screen: offers back a program that
  // a window lost unsaved (a crash, a power cut), and from then on keeps
  // the copy when the session is ended by a signal.
  void StartRecovery();
  // Dropped files: the first one is opened as a program; false when the
  // drop holds no local file.
  bool OpenDropped(const QMimeData& data);

  // The read-me and the licence, at the first start of a user.
  void FirstStartTexts();

  TRunSession& Session() { return *session_; }
  // The find and replace dialogs, made when first asked for.
  TFindReplace* FindReplace();
  void OrderBtnClick();
  TTemplateMenus* Templates = nullptr;
  // Applies a scale chosen while the worker was drawing Grondo's field; run
  // on the main thread while the worker waits or after it has ended.
  void ApplyPendingScale();
  TWindowField& FieldModel() { return field_; }
  const THighlightStyles& Styles() const { return styles_; }
  // Waits, serving the worker's calls, until no run exists.
  void WaitForRunEnd();
  // Console height while the field pane is hidden.
  int SavedConsoleHeight = 0;
  std::string ProgramName;
  bool Loading = false;
  // Value hint request (the hint timer stores them before asking the worker).
  int HintLine = -1;
  int HintX = 0;
  int HintY = 0;
  std::string HintWord;

 signals:
  // The window has painted for the first time (start-up measurement).
  void FirstPaint();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TWindowHost;

  void BuildActions();
  void BuildMenus();
  void BuildToolBars();
  void BuildClient();
  void BuildStatusBar();
  QAction* AddAction(const char* name, int textId, const QKeySequence& key = {}, int hintId = -1);
  void LoadSettings();
  void BuildFileWorkflow();
  bool ReadyOpen(const QString& fileName);
  void FileDone(const QString& fileName);
  void StopAndWait();
  void ApplyExecutorState();
  void DesignModeChanged(bool on);
  void ApplyScale(int index);
  void ShowFieldPane();
  int ConsoleHeight() const;
  void SetConsoleHeight(int height);
  void LayoutForRun(bool usesExecutor, bool hasInput);
  void InsertNewProgramTemplate();
  void LoadLines(const std::vector<std::string>& lines);
  void EditorChanged();
  void EditorKeyDown(QKeyEvent* event);
  void EditorUndoChanged();
  void Timer1Timer();
  void HintTimerTimer();
  void EditorMouseMoved(const QPoint& pos);
  void WhatsThisMode();

  // Run control (run_control.cpp).
  TProgramBuilder Builder();
  void AfterCommand(TCommandResult result);
  void ShowTranslationError(const ECompileException& e);
  void ReportRunEnd(TRunEnd end);
  void MarkRunError(int line, const std::string& text);

  TWindowField field_;
  int pendingScale_ = -1;
  TFindReplace* findReplace_ = nullptr;  // a scale chosen during a free Grondo run
  THighlightStyles styles_;
  std::map<std::string, QAction*> actions_;
  QMenu* mazeMenu_ = nullptr;
  QMenu* templatesMenu_ = nullptr;
  QTimer timer1_;
  QTimer hintTimer_;
  QPoint lastMouse_{-1, -1};
  bool closing_ = false;
  bool closeApproved_ = false;  // unsaved changes already settled for this close
  bool painted_ = false;
  QString mazeFile_;
  TSettings settings_;
  std::unique_ptr<QSettings> store_;
  TRecoveryCopy* recovery_ = nullptr;

  std::unique_ptr<TWindowHost> host_;
  std::unique_ptr<TMainThreadCalls> calls_;
  std::unique_ptr<TRelayHost> relay_;
  std::unique_ptr<TRunSession> session_;
};
