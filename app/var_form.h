// The variables window: every global variable and every variable of the
// current procedure with its type and value, shown while a run is paused.
#pragma once

#include <QDialog>

#include "host.h"

class QLabel;
class QPushButton;
class QSplitter;
class QTreeWidget;

class TVarForm : public QDialog {
  Q_OBJECT
 public:
  explicit TVarForm(QWidget* parent = nullptr);

  // Fills the caption, the labels and both lists from the paused program.
  void Fill(const TPauseView& view);
  // Fill, then show modally in the middle of the screen; returns when the
  // pupil closes the window.
  void ShowVariables(const TPauseView& view);

  QTreeWidget* GlobLV = nullptr;
  QTreeWidget* LocalLV = nullptr;
  QLabel* GlobVarLabel = nullptr;
  QLabel* LocalVarLabel = nullptr;
  QPushButton* OKBtn = nullptr;
  QSplitter* Splitter = nullptr;
};
