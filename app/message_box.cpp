#include "message_box.h"

#include <QMessageBox>

#include "qtext.h"
#include "string_table.h"

namespace {

// The program's name. Not Qt's application display name: Qt would append
// that to every window title, the main window's full caption included.
QString Title() { return FromCp1251(Str(sApplicationTitle)); }

class TQtBoxes : public TMessageBoxes {
 public:
  void Show(QWidget* parent, TBoxKind kind, const QString& text) override {
    const QString title = Title();
    switch (kind) {
      case TBoxKind::Warning: QMessageBox::warning(parent, title, text); break;
      case TBoxKind::Error: QMessageBox::critical(parent, title, text); break;
      default: QMessageBox::information(parent, title, text); break;
    }
  }

  TAnswer Ask(QWidget* parent, const QString& text, bool withCancel) override {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    switch (QMessageBox::question(parent, Title(), text, buttons)) {
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
