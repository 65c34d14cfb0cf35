#include "main_form.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QUrl>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "file_history.h"
#include "file_man.h"
#include "find_replace.h"
#include "formatter.h"
#include "glyphs.h"
#include "help.h"
#include "maze_editor.h"
#include "maze_file.h"
#include "maze_tools.h"
#include "message_box.h"
#include "param_form.h"
#include "print_layout.h"
#include "program.h"
#include "qtext.h"
#include "recovery.h"
#include "string_table.h"
#include "syntax_memo.h"
#include "templates_menu.h"
#include "user_screen.h"
#include "var_form.h"
#include "var_hint.h"
#include "window_host.h"

namespace {

QString S(TStrId id) { return FromCp1251(Str(id)); }

// "Text (*.maz)|*.maz|All (*.*)|*.*" as a Qt dialog filter.
QString QtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i];
  return out.join(QStringLiteral(";;"));
}

std::string NativeName(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

constexpr int kStatusMs = 100;
constexpr int kHintMs = 500;
constexpr int kCloseRetryMs = 10;

}  // namespace

TMainForm::TMainForm(const std::function<void(int)>& progress, QWidget* parent) : QMainWindow(parent) {
  const auto report = [&](int percent) {
    if (progress) progress(percent);
  };
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(S(sSystemCaption));
  setWindowIcon(AppIcon());
  ProgramName = Str(sNoName);
  store_ = OpenUserSettings();

  host_ = std::make_unique<TWindowHost>(*this);
  calls_ = std::make_unique<TMainThreadCalls>(
      [](std::function<void()> fn) { QMetaObject::invokeMethod(qApp, std::move(fn), Qt::QueuedConnection); });
  relay_ = std::make_unique<TRelayHost>(*host_, *calls_);
  session_ = std::make_unique<TRunSession>(*relay_, field_.Factory());
  report(50);

  BuildActions();
  BuildClient();
  BuildMenus();
  BuildToolBars();
  BuildStatusBar();
  styles_ = SetupHighlighting(*Editor);
  for (QWidget* w : std::initializer_list<QWidget*>{Editor, UserScreen, ScrollBox1, MazePanel, ScaleCB})
    w->setWhatsThis(WhatsThisText(w->objectName()));
  setAcceptDrops(true);
  BuildFileWorkflow();

  LoadSettings();
  report(70);

  VarForm = new TVarForm(this);
  VarHint = new TVarHintForm(this);

  InsertNewProgramTemplate();
  report(80);

  connect(&timer1_, &QTimer::timeout, this, &TMainForm::Timer1Timer);
  timer1_.start(kStatusMs);
  hintTimer_.setSingleShot(true);
  hintTimer_.setInterval(kHintMs);
  connect(&hintTimer_, &QTimer::timeout, this, &TMainForm::HintTimerTimer);
}

TMainForm::~TMainForm() {
  // The worker may still wait for calls into this window: end it first.
  host_->Closing = true;
  session_->Stop();
  WaitForRunEnd();
}

QAction* TMainForm::Action(const char* name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QAction* TMainForm::AddAction(const char* name, int textId, const QKeySequence& key, int hintId) {
  auto* a = new QAction(this);
  a->setObjectName(QString::fromLatin1(name));
  if (textId >= 0) a->setText(S(TStrId(textId)));
  if (!key.isEmpty()) a->setShortcut(key);
  if (hintId >= 0) {
    a->setToolTip(S(TStrId(hintId)));
    a->setStatusTip(S(TStrId(hintId)));
  }
  const QIcon glyph = Glyph(name);
  if (!glyph.isNull()) a->setIcon(glyph);
  a->setWhatsThis(WhatsThisText(QString::fromLatin1(name)));
  // Shortcuts work whether or not the tool bars are shown.
  addAction(a);
  actions_[name] = a;
  return a;
}

// Every command of the window in one place. Items whose feature is not in
// this window yet are present and disabled; enabling one is a matter of
// connecting its action here.
namespace {

// The font dialog selects its style by name. A font given by weight and
// slant alone names no style of a family whose upright face is "Book", and
// the dialog then takes the first style listed, often the oblique one: OK
// without a change would slant the program. Name the face the plain text is
// drawn with (the highlighting decides bold and italic).
QFont FontForDialog(const QFont& font) {
  QFont named = font;
  named.setBold(false);
  named.setItalic(false);
  const QString family = QFontInfo(named).family();
  named.setFamily(family);
  for (const QString& style : QFontDatabase::styles(family)) {
    // Not QFontDatabase::italic: it takes an oblique face for upright.
    const QFont face = QFontDatabase::font(family, style, 12);
    if (face.style() == QFont::StyleNormal && !face.bold()) {
      named.setStyleName(style);
      break;
    }
  }
  return named;
}

}  // namespace

void TMainForm::BuildActions() {
  // Tool buttons.
  // The file commands go to FileMan1, made with the client.
  connect(AddAction("NewBtn", sBtnNew, {}, sHintNew), &QAction::triggered, this, [this] { FileMan1->New(); });
  connect(AddAction("OpenBtn", sBtnOpen, {}, sHintOpen), &QAction::triggered, this, [this] { FileMan1->Open(); });
  connect(AddAction("SaveBtn", sBtnSave, {}, sHintSave), &QAction::triggered, this, [this] { FileMan1->Save(); });
  connect(AddAction("PrintBtn", sBtnPrint, {}, sHintPrint), &QAction::triggered, this, &TMainForm::PrintBtnClick);
  connect(AddAction("CutBtn", sBtnCut, {}, sHintCut), &QAction::triggered, this, [this] { Editor->CutToClipboard(); });
  connect(AddAction("CopyBtn", sBtnCopy, {}, sHintCopy), &QAction::triggered, this,
          [this] { Editor->CopyToClipboard(); });
  connect(AddAction("PasteBtn", sBtnPaste, {}, sHintPaste), &QAction::triggered, this,
          [this] { Editor->PasteFromClipboard(); });
  const auto undo = [this] {
    Editor->Undo();
    Editor->setFocus();
  };
  const auto redo = [this] {
    Editor->Redo();
    Editor->setFocus();
  };
  connect(AddAction("UndoBtn", sBtnUndo, {}, sHintUndo), &QAction::triggered, this, undo);
  connect(AddAction("RedoBtn", sBtnRedo, {}, sHintRedo), &QAction::triggered, this, redo);

  auto* executors = new QActionGroup(this);
  const struct {
    const char* name;
    TStrId hint;
    int kind;
  } kinds[] = {{"TurtleBtn", sHintTurtle, ekTurtle}, {"DrawerBtn", sHintDrawer, ekDrawer},
               {"GrondoBtn", sHintGrondo, ekGrondo}};
  for (const auto& k : kinds) {
    QAction* a = AddAction(k.name, k.hint, {}, k.hint);
    a->setCheckable(true);
    a->setData(k.kind);
    executors->addAction(a);
    connect(a, &QAction::triggered, this, [this, kind = k.kind] { ChooseExecutor(kind); });
  }

  connect(AddAction("ZadBtn", sBtnZad, {}, sHintZad), &QAction::triggered, this, [this] { LoadTask(); });
  connect(AddAction("ReloadBtn", sBtnReload, {}, sHintReload), &QAction::triggered, this, &TMainForm::RestoreTask);
  connect(AddAction("OrderBtn", sBtnOrder, {}, sHintOrder), &QAction::triggered, this, &TMainForm::OrderBtnClick);
  connect(AddAction("RunBtn", sBtnRun, Qt::Key_F9, sHintRun), &QAction::triggered, this, &TMainForm::RunBtnClick);
  connect(AddAction("StepBtn", sBtnStep, Qt::Key_F8, sHintStep), &QAction::triggered, this, &TMainForm::StepBtnClick);
  connect(AddAction("TraceBtn", sBtnTrace, Qt::Key_F7, sHintTrace), &QAction::triggered, this,
          &TMainForm::TraceBtnClick);
  connect(AddAction("RunToBtn", sBtnRunTo, Qt::Key_F4, sHintRunTo), &QAction::triggered, this,
          &TMainForm::RunToBtnClick);
  connect(AddAction("VarBtn", sBtnVar, {}, sHintVar), &QAction::triggered, this, &TMainForm::VarBtnClick);
  connect(AddAction("StopBtn", sBtnStop, Qt::Key_Escape, sHintStop), &QAction::triggered, this,
          &TMainForm::StopBtnClick);
  QAction* help = AddAction("HelpBtn", sBtnHelp, {}, sHintHelp);
  help->setCheckable(true);
  connect(help, &QAction::triggered, this, [this](bool on) {
    if (on) WhatsThisMode();
  });
  connect(AddAction("DesignBtn", sBtnDesign, {}, sHintDesign), &QAction::triggered, this, &TMainForm::EditMaze);
  // F12: a fresh console and drawing surface between runs.
  auto* clear = new QAction(this);
  clear->setObjectName(QStringLiteral("ClearF12"));
  clear->setShortcut(Qt::Key_F12);
  addAction(clear);
  connect(clear, &QAction::triggered, this, [this] {
    if (session_->Running()) return;
    UserScreen->Clear();
    if (field_.Kind() != ekGrondo) {
      field_.ClearCanvas();
      ScrollBox1->Refresh();
    }
  });

  // Menu items.
  connect(AddAction("NewMI", sMenuNew, QKeySequence(Qt::CTRL | Qt::Key_N)), &QAction::triggered, Action("NewBtn"),
          &QAction::trigger);
  QAction* open = AddAction("OpenMI", sMenuOpen, QKeySequence(Qt::CTRL | Qt::Key_O));
  open->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_O), QKeySequence(Qt::Key_F3)});
  connect(open, &QAction::triggered, Action("OpenBtn"), &QAction::trigger);
  QAction* save = AddAction("SaveMI", sMenuSave, QKeySequence(Qt::CTRL | Qt::Key_S));
  save->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::Key_F2)});
  connect(save, &QAction::triggered, Action("SaveBtn"), &QAction::trigger);
  connect(AddAction("SaveAsMI", sMenuSaveAs, QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S)), &QAction::triggered,
          this, [this] { FileMan1->SaveAsCommand(); });
  connect(AddAction("PrintMI", sMenuPrint, QKeySequence(Qt::CTRL | Qt::Key_P)), &QAction::triggered,
          Action("PrintBtn"), &QAction::trigger);
  connect(AddAction("ExitMI", sMenuExit, QKeySequence(Qt::ALT | Qt::Key_X)), &QAction::triggered, this,
          &QWidget::close);
  connect(AddAction("UndoMI", sMenuUndo, QKeySequence(Qt::CTRL | Qt::Key_Z)), &QAction::triggered, this, undo);
  connect(AddAction("RedoMI", sMenuRedo), &QAction::triggered, this, redo);
  connect(AddAction("CutMI", sMenuCut, QKeySequence(Qt::CTRL | Qt::Key_X)), &QAction::triggered, Action("CutBtn"),
          &QAction::trigger);
  connect(AddAction("CopyMI", sMenuCopy, QKeySequence(Qt::CTRL | Qt::Key_C)), &QAction::triggered,
          Action("CopyBtn"), &QAction::trigger);
  connect(AddAction("PasteMI", sMenuPaste, QKeySequence(Qt::CTRL | Qt::Key_V)), &QAction::triggered,
          Action("PasteBtn"), &QAction::trigger);
  connect(AddAction("OrderMI", sMenuOrder, Qt::Key_F6), &QAction::triggered, Action("OrderBtn"), &QAction::trigger);
  connect(AddAction("FindMI", sMenuFind, QKeySequence(Qt::CTRL | Qt::Key_F)), &QAction::triggered, this,
          [this] { FindReplace()->ShowFind(); });
  connect(AddAction("ReplaceMI", sMenuReplace, QKeySequence(Qt::CTRL | Qt::Key_H)), &QAction::triggered, this,
          [this] { FindReplace()->ShowReplace(); });
  connect(AddAction("FontMI", sMenuFont), &QAction::triggered, this, [this] {
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, FontForDialog(Editor->font()), this, QString(),
                                      QFontDialog::MonospacedFonts);
    if (ok) {
      // The face's name would outweigh the bold and italic the highlighting
      // asks for; the weight and slant the dialog chose stay.
      font.setStyleName(QString());
      Editor->setFont(font);
      SaveSettings();
    }
    Editor->setFocus();
  });
  connect(AddAction("ParamMI", sMenuParams, QKeySequence(Qt::CTRL | Qt::Key_R)), &QAction::triggered, this,
          &TMainForm::ParamMIClick);
  connect(AddAction("LoadMazeMI", sMenuLoadMaze, QKeySequence(Qt::CTRL | Qt::Key_M)), &QAction::triggered,
          Action("ZadBtn"), &QAction::trigger);
  connect(AddAction("RestoreMazeMI", sMenuRestoreMaze, Qt::Key_F5), &QAction::triggered, Action("ReloadBtn"),
          &QAction::trigger);
  connect(AddAction("EditMazeMI", sMenuEditMaze, QKeySequence(Qt::CTRL | Qt::Key_E)), &QAction::triggered, this,
          &TMainForm::EditMaze);
  connect(AddAction("SaveMazeAsMI", sMenuSaveMazeAs, QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_M)),
          &QAction::triggered, this, &TMainForm::SaveTaskAs);
  connect(AddAction("HelpMI", sMenuHelpContents, Qt::Key_F1), &QAction::triggered, this,
          [this] { ShowHelp(this); });
  connect(AddAction("WhatsThisMI", sMenuWhatsThis, QKeySequence(Qt::SHIFT | Qt::Key_F1)), &QAction::triggered,
          this, &TMainForm::WhatsThisMode);
  connect(AddAction("AboutMI", sMenuAbout), &QAction::triggered, this, [this] { ShowAboutBox(this); });
  connect(AddAction("AuthorMI", sMenuAuthor), &QAction::triggered, this, [this] { ShowAuthorBox(this); });
  // Items with a button twin show the button's glyph.
  const char* twins[][2] = {{"NewMI", "NewBtn"},   {"OpenMI", "OpenBtn"},   {"SaveMI", "SaveBtn"},
                            {"PrintMI", "PrintBtn"}, {"UndoMI", "UndoBtn"}, {"RedoMI", "RedoBtn"},
                            {"CutMI", "CutBtn"},   {"CopyMI", "CopyBtn"},   {"PasteMI", "PasteBtn"},
                            {"OrderMI", "OrderBtn"}, {"LoadMazeMI", "ZadBtn"}, {"RestoreMazeMI", "ReloadBtn"},
                            {"EditMazeMI", "DesignBtn"}, {"WhatsThisMI", "HelpBtn"}};
  for (const auto& t : twins)
    if (Action(t[0])->icon().isNull()) Action(t[0])->setIcon(Action(t[1])->icon());
  Action("UndoBtn")->setEnabled(false);
  Action("RedoBtn")->setEnabled(false);
  Action("UndoMI")->setEnabled(false);
  Action("RedoMI")->setEnabled(false);
}

void TMainForm::BuildMenus() {
  QMenuBar* bar = menuBar();
  const auto add = [this](QMenu* menu, std::initializer_list<const char*> names) {
    for (const char* n : names) {
      if (!*n)
        menu->addSeparator();
      else
        menu->addAction(Action(n));
    }
  };
  QMenu* file = bar->addMenu(S(sMenuFile));
  file->setObjectName(QStringLiteral("FileMenu"));
  add(file, {"NewMI", "OpenMI", "SaveMI", "SaveAsMI", "", "PrintMI"});
  // The history brings its own separator and entries before this one.
  QAction* exitSeparator = file->addSeparator();
  add(file, {"ExitMI"});
  HistoryMenu = new TFileHistoryMenu(file, exitSeparator, settings_.History, this);
  connect(HistoryMenu, &TFileHistoryMenu::OpenRequested, this, [this](const QString& path) { OpenProgram(path); });
  QMenu* edit = bar->addMenu(S(sMenuEdit));
  add(edit, {"UndoMI", "RedoMI", "", "CutMI", "CopyMI", "PasteMI", "", "OrderMI", "", "FindMI", "ReplaceMI"});
  QMenu* setup = bar->addMenu(S(sMenuSetup));
  add(setup, {"FontMI", "ParamMI"});
  templatesMenu_ = bar->addMenu(S(sMenuTemplates));
  templatesMenu_->setObjectName(QStringLiteral("TemplatesMenu"));
  Templates = new TTemplateMenus(Editor, this);
  Templates->FillMenu(templatesMenu_);
  mazeMenu_ = bar->addMenu(S(sMenuMaze));
  mazeMenu_->setObjectName(QStringLiteral("MazeMenu"));
  add(mazeMenu_, {"LoadMazeMI", "RestoreMazeMI", "EditMazeMI", "", "SaveMazeAsMI"});
  QMenu* help = bar->addMenu(S(sMenuHelp));
  add(help, {"HelpMI", "WhatsThisMI", "", "AboutMI", "AuthorMI"});
}

void TMainForm::BuildToolBars() {
  const auto row = [this](const char* name, std::initializer_list<const char*> names) {
    QToolBar* bar = addToolBar(S(sMainToolBar));
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(false);
    bar->setIconSize(QSize(21, 20));
    for (const char* n : names) {
      if (!*n) {
        bar->addSeparator();
        continue;
      }
      if (std::string_view(n) == "ScaleCB") {
        bar->addWidget(ScaleCB);
        continue;
      }
      QAction* a = Action(n);
      bar->addAction(a);
      if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
        b->setObjectName(QString::fromLatin1(n));
        // A caption until the button has its glyph.
        b->setToolButtonStyle(a->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
      }
    }
    return bar;
  };
  ScaleCB = new QComboBox(this);
  ScaleCB->setObjectName(QStringLiteral("ScaleCB"));
  for (const char* item : {"100%", "75%", "60%", "50%", "40%", "33%"}) ScaleCB->addItem(QString::fromLatin1(item));
  ScaleCB->setToolTip(S(sHintScale));
  ScaleCB->setStatusTip(S(sHintScale));
  ScaleCB->setFocusPolicy(Qt::NoFocus);
  connect(ScaleCB, &QComboBox::currentIndexChanged, this, &TMainForm::ApplyScale);
  row("MainToolBar", {"NewBtn", "OpenBtn", "SaveBtn", "", "PrintBtn", "", "CutBtn", "CopyBtn", "PasteBtn", "",
                      "UndoBtn", "RedoBtn", "", "TurtleBtn", "DrawerBtn", "GrondoBtn"});
  addToolBarBreak();
  row("MainToolBar2", {"ZadBtn", "ReloadBtn", "", "OrderBtn", "", "RunBtn", "StepBtn", "TraceBtn", "RunToBtn", "",
                       "VarBtn", "", "StopBtn", "", "ScaleCB", "", "HelpBtn"});
}

void TMainForm::BuildClient() {
  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Editor = new TqxSyntaxMemo(Splitter1);
  Editor->setObjectName(QStringLiteral("Editor"));
  SetupProgramEditor(*Editor);
  Editor->SetTabSize(4);
  Editor->SetAutoIndent(true);
  Editor->SetUndoLimit(100);
  Editor->installEventFilter(this);

  auto* right = new QWidget(Splitter1);
  auto* layout = new QVBoxLayout(right);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  MazePanel = new QWidget(right);
  MazePanel->setObjectName(QStringLiteral("MazePanel"));
  MazePanel->setFixedHeight(24);
  MazePanel->setAutoFillBackground(true);
  QPalette navy = MazePanel->palette();
  navy.setColor(QPalette::Window, QColor(0, 0, 128));
  navy.setColor(QPalette::WindowText, Qt::white);
  MazePanel->setPalette(navy);
  auto* mazeRow = new QHBoxLayout(MazePanel);
  mazeRow->setContentsMargins(6, 0, 2, 0);
  MazeCaption = new QLabel(S(sMazeCaption), MazePanel);
  QFont bold = MazeCaption->font();
  bold.setBold(true);
  MazeCaption->setFont(bold);
  mazeRow->addWidget(MazeCaption, 1);
  DesignBtn = new QToolButton(MazePanel);
  DesignBtn->setObjectName(QStringLiteral("DesignBtn"));
  DesignBtn->setDefaultAction(Action("DesignBtn"));
  DesignBtn->setAutoRaise(true);
  DesignBtn->setToolButtonStyle(DesignBtn->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
  mazeRow->addWidget(DesignBtn);
  layout->addWidget(MazePanel);

  Splitter2 = new QSplitter(Qt::Vertical, right);
  Splitter2->setObjectName(QStringLiteral("Splitter2"));
  ScrollBox1 = new TFieldPane(field_, Splitter2);
  // Design mode takes the field pane's place.
  MazeEditor = new TMazeEditor(field_.Grid(), Splitter2);
  MazeEditor->setObjectName(QStringLiteral("MazeEditor"));
  MazeEditor->hide();
  MazeEditor->SetRunCheck([this] { return session_->Running(); });
  DesignToolBar = MazeEditor->ToolBar();
  UserScreen = new TqxUserScreen(Splitter2);
  UserScreen->setObjectName(QStringLiteral("UserScreen"));
  Splitter2->setCollapsible(0, true);
  Splitter2->setCollapsible(1, true);
  Splitter2->setCollapsible(2, true);
  Splitter2->setStretchFactor(0, 1);
  Splitter2->setStretchFactor(1, 1);
  Splitter2->setStretchFactor(2, 0);
  connect(MazeEditor, &TMazeEditor::DesignModeChanged, this, &TMainForm::DesignModeChanged);
  connect(MazeEditor, &TMazeEditor::MazeFileChanged, this, [this](const QString& file, const QString& caption) {
    mazeFile_ = file;
    if (!file.isEmpty()) settings_.TasksFolder = QFileInfo(file).absolutePath();
    MazeCaption->setText(caption);
    ApplyExecutorState();
  });
  connect(MazeEditor, &TMazeEditor::ScaleIndexChanged, this, [this](int scale) {
    const QSignalBlocker quiet(ScaleCB);
    ScaleCB->setCurrentIndex(scale);
    field_.SetScale(scale);
  });
  layout->addWidget(Splitter2, 1);
  connect(Splitter1, &QSplitter::splitterMoved, this, [this] { ScrollBox1->Refresh(); });

  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 1);
  setCentralWidget(Splitter1);
  resize(1100, 760);
  Splitter1->setSizes({520, 580});
  Splitter2->setSizes({600, 0, 89});

  QFont editorFont(QStringLiteral("Courier New"));
  editorFont.setStyleHint(QFont::TypeWriter);
  editorFont.setPixelSize(15);
  Editor->setFont(editorFont);
  QFont consoleFont = editorFont;
  consoleFont.setPixelSize(16);
  UserScreen->setFont(consoleFont);

  connect(Editor, &TqxCustomMemo::OnChange, this, &TMainForm::EditorChanged);
  connect(Editor, &TqxCustomMemo::OnKeyDown, this, &TMainForm::EditorKeyDown);
  connect(Editor, &TqxCustomMemo::OnUndoChange, this, &TMainForm::EditorUndoChanged);
  connect(Editor, &TqxCustomMemo::OnMouseMove, this,
          [this](QMouseEvent* e) { EditorMouseMoved(e->position().toPoint()); });

}

void TMainForm::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  StatusCaret = new QLabel(bar);
  StatusCaret->setObjectName(QStringLiteral("StatusCaret"));
  StatusCaret->setMinimumWidth(70);
  StatusHint = new QLabel(bar);
  StatusHint->setObjectName(QStringLiteral("StatusHint"));
  StatusHint->setMinimumWidth(150);
  bar->addWidget(StatusCaret);
  bar->addWidget(StatusHint, 1);
  // The hint of the control under the mouse goes to panel 1.
  connect(bar, &QStatusBar::messageChanged, this, [this, bar](const QString& text) {
    if (text.isEmpty()) return;
    StatusHint->setText(text);
    bar->clearMessage();
  });
}

void TMainForm::ApplyExecutorState() {
  const int kind = field_.Kind();
  if (Templates) Templates->SetExecutor(kind);
  for (const char* n : {"TurtleBtn", "DrawerBtn", "GrondoBtn"})
    Action(n)->setChecked(Action(n)->data().toInt() == kind);
  const bool grondo = kind == ekGrondo;
  // The maze editor names its file while it edits (a new maze, a save);
  // the task commands still wait until the editing ends.
  const bool tasks = grondo && !(MazeEditor && MazeEditor->DesignMode());
  Action("ZadBtn")->setEnabled(tasks);
  Action("ReloadBtn")->setEnabled(tasks && field_.HasTask());
  Action("LoadMazeMI")->setEnabled(tasks);
  Action("RestoreMazeMI")->setEnabled(tasks && field_.HasTask());
  Action("SaveMazeAsMI")->setEnabled(tasks);
  Action("DesignBtn")->setEnabled(tasks);
  Action("EditMazeMI")->setEnabled(tasks);
  MazePanel->setVisible(grondo);
  mazeMenu_->menuAction()->setVisible(grondo);
  mazeMenu_->setEnabled(grondo);
}

void TMainForm::ChooseExecutor(int kind) {
  if (session_->Running()) {
    StopBtnClick();
    // The executor of the run draws on the field until the run has ended.
    WaitForRunEnd();
  }
  ShowFieldPane();
  const bool changed = kind != field_.Kind();
  if (changed) {
    field_.SwitchTo(kind, ScrollBox1->viewport()->size());
    if (ScaleCB->currentIndex() != field_.ScaleIndex()) ScaleCB->setCurrentIndex(field_.ScaleIndex());
  }
  ApplyExecutorState();
  ScrollBox1->Refresh();
  if (changed) SaveSettings();
}

// F6: the program laid out anew, as one change the pupil can undo. A run
// would go on marking lines of a text that is no longer there, so it ends
// first.
void TMainForm::OrderBtnClick() {
  if (session_->Running()) {
    StopBtnClick();
    WaitForRunEnd();
  }
  FormatBuffer(Editor->Buffer());
  Editor->ScrollToCaret();
  Editor->viewport()->update();
  Editor->setFocus();
}

TFindReplace* TMainForm::FindReplace() {
  if (!findReplace_) findReplace_ = new TFindReplace(Editor, this);
  return findReplace_;
}

void TMainForm::ApplyScale(int index) {
  if (index < 0) return;
  // While the worker runs freely it may be changing Grondo's field, which a
  // rescale redraws whole: the new scale waits for the worker's next repaint
  // (it is waiting then) or for the end of the run.
  if (field_.Kind() == ekGrondo && session_->Running() && !session_->Paused()) {
    pendingScale_ = index;
    return;
  }
  pendingScale_ = -1;
  if (index != field_.ScaleIndex()) field_.SetScale(index);
  ScrollBox1->Refresh();
  SaveSettings();
}

void TMainForm::ApplyPendingScale() {
  if (pendingScale_ < 0) return;
  const int index = pendingScale_;
  pendingScale_ = -1;
  if (index != field_.ScaleIndex()) field_.SetScale(index);
  ScrollBox1->Refresh();
}

void TMainForm::LoadTask(const QString& given) {
  QString name = given;
  if (name.isEmpty()) {
    name = QFileDialog::getOpenFileName(this, S(sMazeOpenTitle), settings_.TasksFolder, QtFilter(S(sMazeFilter)));
    if (name.isEmpty()) return;
  }
  if (session_->Running()) {
    StopBtnClick();
    WaitForRunEnd();
  }
  try {
    field_.LoadTask(NativeName(name), ScrollBox1->viewport()->size());
  } catch (const EMazeFileError& e) {
    ShowError(this, FromCp1251(e.Message()));
    return;
  }
  settings_.TasksFolder = QFileInfo(name).absolutePath();
  mazeFile_ = name;
  MazeCaption->setText(FromCp1251(::MazeCaption(NativeName(name))));
  SaveSettings();
  const QSignalBlocker quiet(ScaleCB);
  ScaleCB->setCurrentIndex(field_.ScaleIndex());
  ApplyExecutorState();
  ScrollBox1->Refresh();
}

void TMainForm::EditMaze() {
  if (field_.Kind() != ekGrondo || MazeEditor->DesignMode()) return;
  MazeEditor->SetMazeFolder(settings_.TasksFolder);
  MazeEditor->EnterDesignMode(field_.ScaleIndex(), mazeFile_);
}

void TMainForm::DesignModeChanged(bool on) {
  // While the maze is edited, runs and the task commands wait.
  for (const char* n : {"RunBtn", "StepBtn", "TraceBtn", "RunToBtn", "ZadBtn", "ReloadBtn", "DesignBtn",
                        "LoadMazeMI", "RestoreMazeMI", "EditMazeMI", "SaveMazeAsMI", "TurtleBtn", "DrawerBtn",
                        "GrondoBtn"})
    Action(n)->setEnabled(!on);
  ScaleCB->setEnabled(!on);
  // The maze editor takes the field pane's height (most of the pane when
  // the console had taken it all), and gives it back.
  const QList<int> before = Splitter2->sizes();
  const int total = before[0] + before[1] + before[2];
  int pane = on ? before[0] : before[1];
  if (pane < total / 4) pane = total * 3 / 4;
  MazeEditor->setVisible(on);
  ScrollBox1->setVisible(!on);
  if (on)
    Splitter2->setSizes({0, pane, total - pane});
  else
    Splitter2->setSizes({pane, 0, total - pane});
  if (on) {
    MazeEditor->setFocus();
    return;
  }
  ApplyExecutorState();
  field_.Restore(false, ScrollBox1->viewport()->size());
  ScrollBox1->Refresh();
}

void TMainForm::RestoreTask() {
  if (session_->Running()) {
    StopBtnClick();
    WaitForRunEnd();
  }
  field_.Restore(false, ScrollBox1->viewport()->size());
  ScrollBox1->Refresh();
}

namespace {

class TWindowMazeDialogs : public TMazeSaveDialogs {
 public:
  TWindowMazeDialogs(QWidget* parent, const QString& folder) : parent_(parent), folder_(folder) {}
  std::optional<std::string> AskFileName() override {
    TFileDialogRequest request;
    request.Title = S(sMazeSaveTitle);
    request.Dir = folder_;
    request.Filter = QtFilter(S(sMazeFilter));
    // "ring" is saved as ring.maz, which the load dialog then lists.
    request.DefaultSuffix = QStringLiteral("maz");
    const QString name = FileDialogs().SaveFileName(parent_, request);
    if (name.isEmpty()) return std::nullopt;
    return NativeName(name);
  }
  void ShowError(const std::string& message) override { ::ShowError(parent_, FromCp1251(message)); }

 private:
  QWidget* parent_;
  QString folder_;
};

}  // namespace

void TMainForm::SaveTaskAs() {
  if (session_->Running()) {
    StopBtnClick();
    WaitForRunEnd();
  }
  TWindowMazeDialogs dialogs(this, settings_.TasksFolder);
  const TSaveMazeOutcome outcome = SaveMaze(field_.Grid(), std::string(), dialogs);
  if (outcome.Result != smSaved) return;
  const QString name = QFile::decodeName(QByteArray::fromStdString(outcome.FileName));
  settings_.TasksFolder = QFileInfo(name).absolutePath();
  mazeFile_ = name;
  MazeCaption->setText(FromCp1251(::MazeCaption(outcome.FileName)));
  ApplyExecutorState();
}

bool TMainForm::OpenProgram(const QString& fileName) { return FileMan1->Open(fileName); }

// The file workflow's events: the window fills the editor, reads and
// writes the files, and names the program in its caption.
void TMainForm::BuildFileWorkflow() {
  FileMan1 = new TqxFileMan(this);
  FileMan1->setObjectName(QStringLiteral("FileMan1"));
  FileMan1->Window = this;
  FileMan1->StopRun = [this] { StopAndWait(); };
  FileMan1->OnReadyCreate = [this](QString&) { InsertNewProgramTemplate(); };
  FileMan1->OnReadyOpen = [this](const QString& name) { return ReadyOpen(name); };
  FileMan1->OnReadySave = [this](const QString& name) {
    if (!FileMan1->WriteEditorText(name, *Editor)) return false;
    FileDone(name);
    return true;
  };
  connect(FileMan1, &TqxFileMan::NameChanged, this, [this](const QString& name) {
    ProgramName = ToCp1251(::ProgramName(name));
    setWindowTitle(WindowCaption(name));
  });

  recovery_ = new TRecoveryCopy(QString(), this);
  recovery_->Lines = [this] { return EditorLines(*Editor); };
  recovery_->FileName = [this] { return FileMan1->FileName(); };
  recovery_->Watch(*FileMan1);
  recovery_->Start();
}

bool TMainForm::ReadyOpen(const QString& fileName) {
  const std::optional<std::vector<std::string>> lines = FileMan1->ReadProgramFile(fileName);
  if (!lines) return false;
  LoadLines(*lines);
  FileDone(fileName);
  return true;
}

// After a program was opened or saved: first in the history, its folder the
// one the dialogs start in next time.
void TMainForm::FileDone(const QString& fileName) {
  const QFileInfo info(fileName);
  settings_.History.Add(info.absoluteFilePath());
  HistoryMenu->Refresh();
  settings_.ProgramsFolder = info.absolutePath();
  SaveSettings();
}

void TMainForm::StopAndWait() {
  if (!session_->Running()) return;
  StopBtnClick();
  WaitForRunEnd();
}

void TMainForm::LoadSettings() {
  ::LoadSettings(*store_, settings_);
  HistoryMenu->Refresh();
  FileMan1->InitialDir = settings_.ProgramsFolder;
  Editor->setFont(settings_.Font.ToQFont());
  field_.SetKindQuietly(settings_.ExecutorKind);
  field_.SetGeometry({settings_.CanvasWidth, settings_.CanvasHeight, settings_.OriginX, settings_.OriginY});
  {
    const QSignalBlocker quiet(ScaleCB);
    ScaleCB->setCurrentIndex(settings_.Scale);
  }
  // Grondo's field is laid out at the stored scale; the pane takes its size.
  field_.SetScale(settings_.Scale);
  ApplyExecutorState();
  ScrollBox1->Refresh();
}

void TMainForm::SaveSettings(bool storeFirstPaths) {
  settings_.Font = TEditorFont::FromQFont(Editor->font(), settings_.Font.Color);
  settings_.ExecutorKind = field_.Kind();
  settings_.Scale = std::max(0, ScaleCB->currentIndex());
  // The dialogs start where the pupil last worked.
  FileMan1->InitialDir = settings_.ProgramsFolder;
  ::SaveSettings(*store_, settings_, storeFirstPaths);
}

void TMainForm::ParamMIClick() {
  TParamForm form(this);
  if (!RunParamForm(form, settings_, [this] { SaveSettings(true); })) return;
  // The worker of a pen run draws on the canvas being resized.
  if (field_.Kind() != ekGrondo) StopAndWait();
  field_.SetGeometry({settings_.CanvasWidth, settings_.CanvasHeight, settings_.OriginX, settings_.OriginY});
  SaveSettings();
  ScrollBox1->Refresh();
}

void TMainForm::PrintBtnClick() {
  ShowPrintPreview(this, EditorLines(*Editor), Editor->font(), ::ProgramName(FileMan1->FileName()));
}

void TMainForm::StartRecovery() {
  recovery_->KeepOnEndSignals();
  recovery_->OfferRestore(this, [this](const TRecoveredProgram& copy) {
    StopAndWait();
    LoadLines(copy.Lines);
    FileMan1->SetFileName(copy.FileName);
    FileMan1->SetModified(true);
  });
}

// A text that replaces the editor's: no change mark, no stop, caret at the top.
void TMainForm::LoadLines(const std::vector<std::string>& lines) {
  Loading = true;
  Editor->SetLines(lines);
  Editor->SetCaret(0, 0);
  Loading = false;
  EditorUndoChanged();
}

void TMainForm::InsertNewProgramTemplate() {
  Loading = true;
  Editor->ClearAll();
  Editor->InsertTemplate(NewProgramTemplate());
  Editor->Buffer().UndoList().Clear();
  Loading = false;
  EditorUndoChanged();
}

void TMainForm::EditorChanged() {
  if (Loading) return;
  FileMan1->SetModified();
  StopBtnClick();
}

void TMainForm::EditorKeyDown(QKeyEvent* event) {
  if (!session_->Running()) return;
  const int key = event->key();
  if (key == Qt::Key_Backspace || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Delete)
    StopBtnClick();
}

void TMainForm::EditorUndoChanged() {
  const bool undo = Editor->CanUndo();
  const bool redo = Editor->CanRedo();
  Action("UndoBtn")->setEnabled(undo);
  Action("UndoMI")->setEnabled(undo);
  Action("RedoBtn")->setEnabled(redo);
  Action("RedoMI")->setEnabled(redo);
}

void TMainForm::Timer1Timer() {
  if (pendingScale_ >= 0 && (!session_->Running() || session_->Paused())) ApplyPendingScale();
  const QString text = QStringLiteral("  %1 : %2").arg(Editor->CaretLine() + 1).arg(Editor->CaretCol() + 1);
  if (StatusCaret->text() != text) StatusCaret->setText(text);
}

void TMainForm::EditorMouseMoved(const QPoint& pos) {
  hintTimer_.start();
  if (pos != lastMouse_ && VarHint->isVisible()) VarHint->hide();
  lastMouse_ = pos;
}

void TMainForm::HintTimerTimer() {
  hintTimer_.stop();
  if (!session_->Running()) return;
  const TTextPos at = Editor->PosAt(lastMouse_);
  if (at.Line < 0 || at.Line >= Editor->LineCount()) return;
  const std::string word = WordAt(Editor->Lines().Get(at.Line), at.Col);
  if (word.empty()) return;
  const QPoint global = Editor->viewport()->mapToGlobal(lastMouse_);
  HintLine = at.Line;
  HintX = global.x();
  HintY = global.y();
  HintWord = word;
  session_->ShowValueHint();
}

void TMainForm::WhatsThisMode() { QWhatsThis::enterWhatsThisMode(); }

void TMainForm::FirstStartTexts() {
  // Shown once per user: the read-me, and with it the licence.
  QSettings& settings = *store_;
  if (settings.contains(QStringLiteral("FirstStart/Readme"))) return;
  ShowTextFile(this, QStringLiteral("readme.txt"));
  settings.setValue(QStringLiteral("FirstStart/Readme"), 1);
  if (settings.contains(QStringLiteral("FirstStart/License"))) return;
  ShowTextFile(this, QStringLiteral("license.txt"));
  settings.setValue(QStringLiteral("FirstStart/License"), 1);
  settings.sync();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::LeaveWhatsThisMode) Action("HelpBtn")->setChecked(false);
  return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::event(QEvent* event) {
  if (event->type() == QEvent::LeaveWhatsThisMode) Action("HelpBtn")->setChecked(false);
  if (event->type() == QEvent::UpdateRequest || event->type() == QEvent::Paint) {
    if (!painted_) {
      painted_ = true;
      QMetaObject::invokeMethod(this, &TMainForm::FirstPaint, Qt::QueuedConnection);
    }
  }
  return QMainWindow::event(event);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  Editor->setFocus();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!MazeEditor->FinishEditing()) {
    // Saving the maze was cancelled: the window stays, the run is stopped.
    StopBtnClick();
    event->ignore();
    return;
  }
  if (!closeApproved_ && !FileMan1->CanClose()) {
    StopBtnClick();
    event->ignore();
    return;
  }
  closeApproved_ = true;
  // A run is stopped also when the closing is cancelled. The window goes
  // only after the worker has ended: its last calls must not reach a window
  // that is gone, and it reports nothing to one that is closing. It is not
  // waited for here: a close delivered as a posted event (the retry below)
  // would wait in a loop that sees no further posted events, and the
  // worker's last calls are posted events. The closing is taken up again by
  // a timer until the run has ended; a console read or the variables window
  // ends its own loop on the stop.
  if (session_->Running()) {
    host_->Closing = true;
    StopBtnClick();
    if (VarForm->isVisible()) VarForm->reject();
    event->ignore();
    QTimer::singleShot(kCloseRetryMs, this, &QWidget::close);
    return;
  }
  WaitForRunEnd();  // joins the ended worker
  host_->Closing = false;
  closeApproved_ = false;
  closing_ = true;
  VarHint->hide();
  event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  if (OpenDropped(*event->mimeData())) event->acceptProposedAction();
}

bool TMainForm::OpenDropped(const QMimeData& data) {
  const QList<QUrl> urls = data.urls();
  if (urls.isEmpty()) return false;
  // Only the first file, by its name exactly as dropped.
  const QString name = urls.first().toLocalFile();
  if (name.isEmpty()) return false;
  OpenProgram(name);
  return true;
}
