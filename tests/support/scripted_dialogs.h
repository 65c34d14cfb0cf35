// File dialogs for widget tests: each dialog records what it was asked and
// answers with the next name of a script (cancelled when none is left).
#pragma once

#include <QFileInfo>
#include <deque>
#include <vector>

#include "file_man.h"

class TScriptedDialogs : public TFileDialogs {
 public:
  TScriptedDialogs() { SetFileDialogs(this); }
  ~TScriptedDialogs() override { SetFileDialogs(nullptr); }
  QString OpenFileName(QWidget*, const TFileDialogRequest& r) override { return Next(r); }
  QString SaveFileName(QWidget*, const TFileDialogRequest& r) override {
    QString name = Next(r);
    // As Qt's dialog does, before it would ask about replacing a file.
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) name += QLatin1Char('.') + r.DefaultSuffix;
    return name;
  }
  std::vector<TFileDialogRequest> Requests;
  std::deque<QString> Names;  // answers in order; none left: cancelled

 private:
  QString Next(const TFileDialogRequest& r) {
    Requests.push_back(r);
    if (Names.empty()) return {};
    QString n = Names.front();
    Names.pop_front();
    return n;
  }
};
