#include "var_hint.h"

std::string WordAt(const std::string&, int) { return {}; }

std::string ValueHintText(const TPauseView&, int, const std::string&) { return {}; }

TVarHintForm::TVarHintForm(QWidget* parent) : QWidget(parent, Qt::ToolTip) {}

void TVarHintForm::ShowAt(int x, int y, const QString& text) {
  text_ = text;
  move(x, y);
  show();
}
