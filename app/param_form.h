// The parameters dialog: the size and origin of the pen executors' drawing
// surface and the working folders for programs and Grondo's tasks.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

struct TSettings;

struct TParamValues {
  int Width = 600, Height = 600, X0 = 200, Y0 = 200;
  QString ProgramsFolder, TasksFolder;
};

class TParamForm : public QDialog {
  Q_OBJECT

 public:
  explicit TParamForm(QWidget* parent = nullptr);

  // Values outside the fields' ranges are clamped by the fields.
  void SetValues(const TParamValues& v);
  TParamValues Values() const;

  // Chooses a folder: the title and the folder to start in; an empty answer
  // keeps the field. Qt's folder dialog (with its new-folder button) unless
  // a test sets another.
  std::function<QString(QWidget* parent, const QString& title, const QString& start)> ChooseFolder;

  QSpinBox* WEdit = nullptr;
  QSpinBox* HEdit = nullptr;
  QSpinBox* X0Edit = nullptr;
  QSpinBox* Y0Edit = nullptr;
  QLineEdit* ProgPathEdit = nullptr;
  QLineEdit* MazePathEdit = nullptr;
  QToolButton* ProgPathBtn = nullptr;
  QToolButton* MazePathBtn = nullptr;
  QPushButton* StoreBtn = nullptr;

 signals:
  // "Запомнить рабочие папки": the window takes the two folders and saves
  // the settings with them as the first folders, while the dialog stays.
  void StoreFolders(const QString& programsFolder, const QString& tasksFolder);

 private:
  void PickFolder(QLineEdit* edit, const QString& title);
};

// The parameters command: the dialog shows the settings; "Запомнить рабочие
// папки" copies the folders into settings and calls saveFirstPaths at once
// (the window's SaveSettings(true)); OK copies every field into settings and
// gives true (the window then resizes the drawing surface, saves the
// settings and repaints); Cancel changes nothing more.
bool RunParamForm(TParamForm& form, TSettings& settings, const std::function<void()>& saveFirstPaths);
