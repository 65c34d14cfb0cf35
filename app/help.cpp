#include "help.h"

void ShowHelp(QWidget*, const QString&) {}
void ShowAboutBox(QWidget*) {}
void ShowAuthorBox(QWidget*) {}
void ShowTextFile(QWidget*, const QString&) {}
QString WhatsThisText(const QString&) { return {}; }
