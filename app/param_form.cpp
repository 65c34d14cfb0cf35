#include "param_form.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "file_man.h"
#include "settings.h"

namespace {

QSpinBox* SpinBox(int lo, int hi) {
  auto* box = new QSpinBox;
  box->setRange(lo, hi);
  box->setSingleStep(kParamStep);
  return box;
}

}  // namespace

TParamForm::TParamForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(FilesText(sParamCaption));
  ChooseFolder = [](QWidget* p, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(p, title, start,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  };

  WEdit = SpinBox(kFieldSideMin, kFieldSideMax);
  HEdit = SpinBox(kFieldSideMin, kFieldSideMax);
  X0Edit = SpinBox(kOriginMin, kOriginMax);
  Y0Edit = SpinBox(kOriginMin, kOriginMax);

  auto* size = new QGroupBox(FilesText(sParamFieldSize).trimmed());
  auto* sizeForm = new QFormLayout(size);
  sizeForm->addRow(FilesText(sParamWidth), WEdit);
  sizeForm->addRow(FilesText(sParamHeight), HEdit);
  auto* origin = new QGroupBox(FilesText(sParamOrigin).trimmed());
  auto* originForm = new QFormLayout(origin);
  originForm->addRow(FilesText(sParamX0), X0Edit);
  originForm->addRow(FilesText(sParamY0), Y0Edit);

  auto folderRow = [this](QLineEdit*& edit, QToolButton*& button, const QString& title) {
    edit = new QLineEdit;
    edit->setReadOnly(true);
    edit->setMinimumWidth(320);
    button = new QToolButton;
    button->setText(QStringLiteral("..."));
    button->setToolTip(FilesText(sParamChooseFolder));
    connect(button, &QToolButton::clicked, this, [this, e = edit, title] { PickFolder(e, title); });
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(button);
    return row;
  };
  auto* folders = new QGroupBox(FilesText(sParamFolders).trimmed());
  auto* folderForm = new QFormLayout(folders);
  folderForm->addRow(FilesText(sParamProgFolder), folderRow(ProgPathEdit, ProgPathBtn, FilesText(sParamProgFolderTitle)));
  folderForm->addRow(FilesText(sParamMazeFolder), folderRow(MazePathEdit, MazePathBtn, FilesText(sParamMazeFolderTitle)));
  StoreBtn = new QPushButton(FilesText(sParamStore));
  folderForm->addRow(StoreBtn);
  connect(StoreBtn, &QPushButton::clicked, this, [this] { emit StoreFolders(ProgPathEdit->text(), MazePathEdit->text()); });

  auto* buttons = new QDialogButtonBox;
  buttons->addButton(FilesText(sParamOk), QDialogButtonBox::AcceptRole);
  buttons->addButton(FilesText(sParamCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* top = new QHBoxLayout;
  top->addWidget(size);
  top->addWidget(origin);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(folders);
  layout->addWidget(buttons);
}

void TParamForm::SetValues(const TParamValues& v) {
  WEdit->setValue(v.Width);
  HEdit->setValue(v.Height);
  X0Edit->setValue(v.X0);
  Y0Edit->setValue(v.Y0);
  ProgPathEdit->setText(v.ProgramsFolder);
  MazePathEdit->setText(v.TasksFolder);
}

TParamValues TParamForm::Values() const {
  return {WEdit->value(), HEdit->value(), X0Edit->value(), Y0Edit->value(), ProgPathEdit->text(), MazePathEdit->text()};
}

void TParamForm::PickFolder(QLineEdit* edit, const QString& title) {
  if (!ChooseFolder) return;
  const QString folder = ChooseFolder(this, title, edit->text());
  if (!folder.isEmpty()) edit->setText(folder);
}

bool RunParamForm(TParamForm& form, TSettings& settings, const std::function<void()>& saveFirstPaths) {
  form.SetValues({settings.CanvasWidth, settings.CanvasHeight, settings.OriginX, settings.OriginY,
                  settings.ProgramsFolder, settings.TasksFolder});
  const QMetaObject::Connection store =
      QObject::connect(&form, &TParamForm::StoreFolders, &form, [&](const QString& programs, const QString& tasks) {
        settings.ProgramsFolder = programs;
        settings.TasksFolder = tasks;
        if (saveFirstPaths) saveFirstPaths();
      });
  const bool ok = form.exec() == QDialog::Accepted;
  QObject::disconnect(store);
  if (!ok) return false;
  const TParamValues v = form.Values();
  settings.CanvasWidth = v.Width;
  settings.CanvasHeight = v.Height;
  settings.OriginX = v.X0;
  settings.OriginY = v.Y0;
  settings.ProgramsFolder = v.ProgramsFolder;
  settings.TasksFolder = v.TasksFolder;
  return true;
}
