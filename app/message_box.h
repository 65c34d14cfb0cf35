// Every message and question the program shows goes through one small
// interface, so that widget tests can read the texts and give the answers.
#pragma once

#include <QString>

class QWidget;

enum class TAnswer { Ok, Yes, No, Cancel };

enum class TBoxKind { Information, Warning, Error, Question };

class TMessageBoxes {
 public:
  virtual ~TMessageBoxes() = default;
  // Shows text with an OK button (kind Information, Warning or Error).
  virtual void Show(QWidget* parent, TBoxKind kind, const QString& text) = 0;
  // Asks text with Yes and No, and Cancel when withCancel.
  virtual TAnswer Ask(QWidget* parent, const QString& text, bool withCancel) = 0;
};

// The boxes in use: Qt's message boxes unless a test installed its own.
TMessageBoxes& MessageBoxes();
// Installs boxes (not owned); nullptr restores Qt's.
void SetMessageBoxes(TMessageBoxes* boxes);

// Shortcuts over MessageBoxes().
inline void ShowMessage(QWidget* parent, const QString& text) {
  MessageBoxes().Show(parent, TBoxKind::Information, text);
}
inline void ShowError(QWidget* parent, const QString& text) {
  MessageBoxes().Show(parent, TBoxKind::Error, text);
}
inline TAnswer AskYesNoCancel(QWidget* parent, const QString& text) {
  return MessageBoxes().Ask(parent, text, true);
}
inline TAnswer AskYesNo(QWidget* parent, const QString& text) {
  return MessageBoxes().Ask(parent, text, false);
}
