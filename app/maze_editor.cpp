#include "maze_editor.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "help.h"
#include "maze_file.h"
#include "maze_tools.h"
#include "maze_view.h"
#include "message_box.h"
#include "qtext.h"
#include "string_table.h"

namespace {

QString Text(TStrId id) { return FromCp1251(Str(id)); }

std::string Native(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }
QString FromNative(const std::string& fileName) { return QFile::decodeName(QByteArray::fromStdString(fileName)); }

// "Text (*.a)|*.a|Other (*.*)|*.*" as Qt writes it: "Text (*.a);;Other (*.*)".
QString QtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList names;
  for (int i = 0; i < parts.size(); i += 2) names << parts[i];
  return names.join(QStringLiteral(";;"));
}

// SaveMaze's questions asked through the editor's dialogs and message boxes.
class TEditorSaveDialogs : public TMazeSaveDialogs {
 public:
  TEditorSaveDialogs(QWidget* parent, std::function<QString(const QString&)> ask, QString folder)
      : parent_(parent), ask_(std::move(ask)), folder_(std::move(folder)) {}
  std::optional<std::string> AskFileName() override {
    const QString name = ask_(folder_);
    if (name.isEmpty()) return std::nullopt;
    folder_ = QFileInfo(name).absolutePath();
    return Native(name);
  }
  void ShowError(const std::string& message) override { ::ShowError(parent_, FromCp1251(message)); }

 private:
  QWidget* parent_;
  std::function<QString(const QString&)> ask_;
  QString folder_;
};

}  // namespace

TMazeEditor::TMazeEditor(TGrid& grid, QWidget* parent)
    : QWidget(parent),
      edit_(grid),
      bar_(new TMazeToolBar(this)),
      scroll_(new QScrollArea(this)),
      view_(new TMazeView(grid, scroll_)),
      preview_(new TCurForm(view_)) {
  setObjectName(QStringLiteral("MazeEditor"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar_);
  layout->addWidget(scroll_, 1);
  scroll_->setObjectName(QStringLiteral("ScrollBox1"));
  scroll_->setWidget(view_);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  hide();

  connect(view_, &TMazeView::CellReleased, this, &TMazeEditor::Place);
  connect(view_, &TMazeView::CellKey, this, &TMazeEditor::Place);
  connect(view_, &TMazeView::ToolKey, bar_, &TMazeToolBar::SelectTool);
  connect(view_, &TMazeView::LineKey, this, &TMazeEditor::ChangeLine);
  connect(view_, &TMazeView::UndoKey, this, &TMazeEditor::Undo);
  connect(view_, &TMazeView::HelpKey, this, [this] { ShowHelp(window(), QStringLiteral("maze-editor")); });
  connect(view_, &TMazeView::CursorMoved, this, [this](QRect r) {
    scroll_->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 2, r.height() / 2 + 2);
  });
  connect(view_, &TMazeView::MouseMoved, this, [this](QPoint global) {
    if (designMode_) preview_->ShowFor(ToolChar(), view_->ScaleIndex(), global);
  });
  connect(bar_, &TMazeToolBar::InsertLineClicked, this, [this](int side) { ChangeLine(true, side); });
  connect(bar_, &TMazeToolBar::DeleteLineClicked, this, [this](int side) { ChangeLine(false, side); });
  connect(bar_->NewMazeBtn, &QAction::triggered, this, &TMazeEditor::NewMaze);
  connect(bar_->DUndoBtn, &QAction::triggered, this, &TMazeEditor::Undo);
  connect(bar_->DExitBtn, &QAction::triggered, this, &TMazeEditor::FinishEditing);
  connect(bar_->DHelpBtn, &QAction::triggered, this, [] { QWhatsThis::enterWhatsThisMode(); });
  bar_->DUndoBtn->setEnabled(false);
}

TMazeEditor::~TMazeEditor() { delete preview_; }

char TMazeEditor::ToolChar() const { return bar_->ToolChar(); }

QString TMazeEditor::FileName() const { return FromNative(edit_.FileName()); }

int TMazeEditor::ScaleIndex() const { return view_->ScaleIndex(); }

bool TMazeEditor::EnterDesignMode(int scale, const QString& fileName) {
  if (designMode_) return true;
  if (runExists_ && runExists_()) {
    ShowError(window(), Text(sDesignDuringRun));
    return false;
  }
  edit_.Begin(Native(fileName));
  view_->SetScaleIndex(scale);
  view_->DrawAll();
  view_->SetCursorCell(QPoint(0, 0));
  bar_->DUndoBtn->setEnabled(false);
  designMode_ = true;
  show();
  view_->setFocus();
  emit DesignModeChanged(true);
  // A task too large for the window's scale is drawn smaller.
  if (view_->ScaleIndex() != ValidScale(scale)) emit ScaleIndexChanged(view_->ScaleIndex());
  return true;
}

bool TMazeEditor::FinishEditing() {
  if (!designMode_) return true;
  const TAskSaveResult r = AskSaveMaze();
  if (r == asCancel) return false;
  if (r == asDiscard) {
    const std::string before = edit_.FileName();
    edit_.Discard();
    view_->DrawAll();
    if (edit_.FileName() != before) AnnounceFile();
  }
  Leave();
  return true;
}

void TMazeEditor::Leave() {
  preview_->hide();
  edit_.ClearUndo();
  designMode_ = false;
  hide();
  emit DesignModeChanged(false);
}

TAskSaveResult TMazeEditor::AskSaveMaze() {
  if (!edit_.Grid().Modified) return asGoOn;
  switch (AskYesNoCancel(window(), Text(sMazeChangedAsk))) {
    case TAnswer::Yes: {
      std::function<QString(const QString&)> ask = askFileName_;
      if (!ask) ask = [this](const QString& folder) { return DefaultAskFileName(folder); };
      TEditorSaveDialogs dialogs(window(), ask, StartFolder());
      const TSaveMazeOutcome out = SaveMaze(edit_.Grid(), edit_.FileName(), dialogs);
      if (out.Result != smSaved) return asCancel;
      edit_.Saved(out.FileName);
      AnnounceFile();
      return asSaved;
    }
    case TAnswer::No: return asDiscard;
    default: return asCancel;
  }
}

void TMazeEditor::NewMaze() {
  if (!designMode_ || AskSaveMaze() == asCancel) return;
  edit_.NewMaze();
  const int before = view_->ScaleIndex();
  view_->DrawAll(true, scroll_->viewport()->size());
  view_->SetCursorCell(QPoint(0, 0));
  bar_->DUndoBtn->setEnabled(edit_.CanUndo());
  AnnounceFile();
  if (view_->ScaleIndex() != before) emit ScaleIndexChanged(view_->ScaleIndex());
}

void TMazeEditor::Undo() {
  if (!designMode_) return;
  const std::string before = edit_.FileName();
  if (edit_.Undo()) {
    view_->DrawAll();
    if (edit_.FileName() != before) AnnounceFile();
  }
  bar_->DUndoBtn->setEnabled(edit_.CanUndo());
}

void TMazeEditor::Place(int x, int y) {
  if (!designMode_) return;
  view_->DrawChange(edit_.Place(x, y, ToolChar()));
  bar_->DUndoBtn->setEnabled(edit_.CanUndo());
}

void TMazeEditor::ChangeLine(bool insert, int side) {
  if (!designMode_) return;
  if (!(insert ? edit_.InsertLine(side) : edit_.DeleteLine(side))) return;
  // The cursor stays on the cell it was on when the line came or went before it.
  QPoint cursor = view_->CursorCell();
  const int step = insert ? 1 : -1;
  if (side == lsLeft) cursor.rx() += step;
  if (side == lsTop) cursor.ry() += step;
  view_->DrawAll();
  view_->SetCursorCell(cursor);
  bar_->DUndoBtn->setEnabled(edit_.CanUndo());
}

void TMazeEditor::AnnounceFile() {
  const std::string& name = edit_.FileName();
  const QString caption = name.empty() ? Text(sMazeCaption) : FromCp1251(MazeCaption(name));
  emit MazeFileChanged(FromNative(name), caption);
}

QString TMazeEditor::StartFolder() const {
  if (!edit_.FileName().empty()) return QFileInfo(FileName()).absolutePath();
  return folder_;
}

QString TMazeEditor::DefaultAskFileName(const QString& folder) {
  QFileDialog dialog(window(), Text(sMazeSaveTitle), folder, QtFilter(Text(sMazeFilter)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("maz"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}
