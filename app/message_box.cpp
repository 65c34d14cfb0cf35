#include "message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

class TQtBoxes : public TMessageBoxes {
 public:
  void Show(QWidget* parent, TBoxKind kind, const QString& text) override {
    const QString title = QApplication::applicationDisplayName();
    switch (kind) {
      case TBoxKind::Warning: QMessageBox::warning(parent, title, text); break;
      case TBoxKind::Error: QMessageBox::critical(parent, title, text); break;
      default: QMessageBox::information(parent, title, text); break;
    }
  }

  TAnswer Ask(QWidget* parent, const QString& text, bool withCancel) override {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    switch (QMessageBox::question(parent, QApplication::applicationDisplayName(), text, buttons)) {
      case QMessageBox::Yes: return TAnswer::Yes;
      case QMessageBox::No: return TAnswer::No;
      default: return withCancel ? TAnswer::Cancel : TAnswer::No;
    }
  }
};

TQtBoxes qtBoxes;
TMessageBoxes* current = &qtBoxes;

}  // namespace

TMessageBoxes& MessageBoxes() { return *current; }

void SetMessageBoxes(TMessageBoxes* boxes) { current = boxes ? boxes : &qtBoxes; }
