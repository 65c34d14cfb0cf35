#include "var_form.h"

#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

TVarForm::TVarForm(QWidget* parent) : QDialog(parent) {
  auto* layout = new QVBoxLayout(this);
  GlobVarLabel = new QLabel(this);
  GlobLV = new QTreeWidget(this);
  LocalVarLabel = new QLabel(this);
  LocalLV = new QTreeWidget(this);
  for (QWidget* w : {static_cast<QWidget*>(GlobVarLabel), static_cast<QWidget*>(GlobLV),
                     static_cast<QWidget*>(LocalVarLabel), static_cast<QWidget*>(LocalLV)})
    layout->addWidget(w);
}

void TVarForm::Fill(const TPauseView&) {}

void TVarForm::ShowVariables(const TPauseView& view) {
  Fill(view);
  exec();
}
