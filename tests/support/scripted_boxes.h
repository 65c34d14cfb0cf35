// Message boxes for widget tests: every text shown is recorded, and each
// question takes the next answer of a script (Cancel when the script is
// empty, so a question nobody expected cannot go ahead with anything).
#pragma once

#include <QStringList>
#include <deque>

#include "message_box.h"

class TScriptedBoxes : public TMessageBoxes {
 public:
  TScriptedBoxes() { SetMessageBoxes(this); }
  ~TScriptedBoxes() override { SetMessageBoxes(nullptr); }

  void Show(QWidget*, TBoxKind, const QString& text) override { Shown << text; }
  TAnswer Ask(QWidget*, const QString& text, bool withCancel) override {
    Asked << text;
    if (Answers.empty()) return withCancel ? TAnswer::Cancel : TAnswer::No;
    TAnswer a = Answers.front();
    Answers.pop_front();
    return a;
  }

  QStringList Shown;               // texts of Show, in order
  QStringList Asked;               // texts of Ask, in order
  std::deque<TAnswer> Answers;     // answers to give, in order
};
