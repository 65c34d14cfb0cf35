// The non-modal find and replace dialogs over the program editor: Find next
// in either dialog, Replace, and Replace all with its wrap-around question
// and the count of replacements (textmodel/find_replace.h does the work).
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TqxCustomMemo;

// One dialog; the replace dialog has the replacement line and its two
// buttons besides.
class TFindDialog : public QDialog {
  Q_OBJECT

 public:
  TFindDialog(bool replace, QWidget* parent);

  QLineEdit* What() const { return what_; }
  QLineEdit* With() const { return with_; }  // nullptr in the find dialog
  QCheckBox* MatchCase() const { return matchCase_; }
  QRadioButton* Up() const { return up_; }
  QRadioButton* Down() const { return down_; }
  QPushButton* FindNextButton() const { return findNext_; }
  QPushButton* ReplaceButton() const { return replace_; }
  QPushButton* ReplaceAllButton() const { return replaceAll_; }

 signals:
  void Find();
  void Replace(bool all);

 private:
  QLineEdit* what_ = nullptr;
  QLineEdit* with_ = nullptr;
  QCheckBox* matchCase_ = nullptr;
  QRadioButton* up_ = nullptr;
  QRadioButton* down_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QPushButton* replace_ = nullptr;
  QPushButton* replaceAll_ = nullptr;
};

// Both dialogs of one editor. The window calls ShowFind and ShowReplace
// from "&Найти ..." (Ctrl+F) and "&Заменить ..." (Ctrl+H).
class TFindReplace : public QObject {
  Q_OBJECT

 public:
  // parent owns the dialogs and is the parent of their message boxes.
  TFindReplace(TqxCustomMemo* editor, QWidget* parent);

  // FindMIClick, ReplaceMIClick: show the dialog (a one-line selection of
  // the editor becomes the search text) and bring it to the front.
  void ShowFind();
  void ShowReplace();

  TFindDialog* FindDialog() const { return find_; }
  TFindDialog* ReplaceDialog() const { return replace_; }

  // The dialog's Find next: selects the next occurrence; nothing found
  // changes nothing and says nothing.
  void FindNext(const TFindDialog& dialog);
  // Replace and Replace all of the replace dialog.
  void Replace(bool all);

 private:
  void Show(TFindDialog* dialog);
  // Shows the editor's new caret and selection.
  void Refresh();

  TqxCustomMemo* editor_;
  QWidget* parent_;
  TFindDialog* find_;
  TFindDialog* replace_;
};
