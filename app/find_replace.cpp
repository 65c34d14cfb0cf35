#include "find_replace.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "custom_memo.h"
#include "message_box.h"
#include "qtext.h"
#include "search_replace.h"
#include "string_table.h"

namespace {

QString Text(TStrId id) { return FromCp1251(Str(id)); }

TFindOptions Options(const TFindDialog& d) {
  TFindOptions o;
  o.Down = d.Down()->isChecked();
  o.MatchCase = d.MatchCase()->isChecked();
  return o;
}

}  // namespace

TFindDialog::TFindDialog(bool replace, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Text(replace ? sReplaceTitle : sFindTitle));
  setModal(false);
  auto* grid = new QGridLayout(this);
  auto* whatLabel = new QLabel(Text(sFindWhat));
  what_ = new QLineEdit;
  whatLabel->setBuddy(what_);
  grid->addWidget(whatLabel, 0, 0);
  grid->addWidget(what_, 0, 1);
  int row = 1;
  if (replace) {
    auto* withLabel = new QLabel(Text(sReplaceWith));
    with_ = new QLineEdit;
    withLabel->setBuddy(with_);
    grid->addWidget(withLabel, row, 0);
    grid->addWidget(with_, row, 1);
    ++row;
  }
  matchCase_ = new QCheckBox(Text(sFindMatchCase));
  grid->addWidget(matchCase_, row, 0, 1, 2);
  auto* direction = new QGroupBox(Text(sFindDirection));
  auto* directionLayout = new QVBoxLayout(direction);
  up_ = new QRadioButton(Text(sFindUp));
  down_ = new QRadioButton(Text(sFindDown));
  down_->setChecked(true);
  directionLayout->addWidget(up_);
  directionLayout->addWidget(down_);
  grid->addWidget(direction, row + 1, 0, 1, 2);

  auto* buttons = new QVBoxLayout;
  findNext_ = new QPushButton(Text(sFindNextButton));
  findNext_->setDefault(true);
  buttons->addWidget(findNext_);
  connect(findNext_, &QPushButton::clicked, this, &TFindDialog::Find);
  if (replace) {
    replace_ = new QPushButton(Text(sReplaceButton));
    replaceAll_ = new QPushButton(Text(sReplaceAllButton));
    buttons->addWidget(replace_);
    buttons->addWidget(replaceAll_);
    connect(replace_, &QPushButton::clicked, this, [this] { emit Replace(false); });
    connect(replaceAll_, &QPushButton::clicked, this, [this] { emit Replace(true); });
  }
  auto* cancel = new QPushButton(Text(sFindCancel));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(cancel);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 2, row + 2, 1);

  // Nothing to look for, nothing to press.
  auto enable = [this] {
    const bool any = !what_->text().isEmpty();
    for (QPushButton* b : {findNext_, replace_, replaceAll_})
      if (b) b->setEnabled(any);
  };
  connect(what_, &QLineEdit::textChanged, this, enable);
  enable();
}

TFindReplace::TFindReplace(TqxCustomMemo* editor, QWidget* parent)
    : QObject(parent),
      editor_(editor),
      parent_(parent),
      find_(new TFindDialog(false, parent)),
      replace_(new TFindDialog(true, parent)) {
  connect(find_, &TFindDialog::Find, this, [this] { FindNext(*find_); });
  connect(replace_, &TFindDialog::Find, this, [this] { FindNext(*replace_); });
  connect(replace_, &TFindDialog::Replace, this, &TFindReplace::Replace);
}

void TFindReplace::ShowFind() { Show(find_); }

void TFindReplace::ShowReplace() { Show(replace_); }

void TFindReplace::Show(TFindDialog* dialog) {
  const std::string selected = editor_->SelectedText();
  if (!selected.empty() && selected.find('\r') == std::string::npos) dialog->What()->setText(FromCp1251(selected));
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  dialog->What()->setFocus();
  dialog->What()->selectAll();
}

void TFindReplace::Refresh() {
  editor_->ScrollToCaret();
  editor_->viewport()->update();
}

void TFindReplace::FindNext(const TFindDialog& dialog) {
  ::FindNext(editor_->Buffer(), ToCp1251(dialog.What()->text()), Options(dialog));
  Refresh();
}

void TFindReplace::Replace(bool all) {
  TReplaceRequest request;
  request.Text = ToCp1251(replace_->What()->text());
  request.Replacement = ToCp1251(replace_->With()->text());
  request.Options = Options(*replace_);
  request.All = all;
  const TReplaceResult result = ReplaceText(editor_->Buffer(), request, [this](bool down) {
    return AskYesNo(replace_, Text(down ? sFindWrapDown : sFindWrapUp)) == TAnswer::Yes;
  });
  Refresh();
  if (result.Ended) ShowMessage(replace_, FromCp1251(FormatStr(sReplaceCount, {result.Count})));
}
