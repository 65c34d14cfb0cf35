#include "file_history.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include "file_man.h"
#include "message_box.h"

namespace {

QString Key(int position) { return QStringLiteral("FileHistory/File%1").arg(position); }

}  // namespace

void TFileHistory::Add(const QString& path) {
  paths_.removeAll(path);
  paths_.prepend(path);
  while (paths_.size() > kHistorySize) paths_.removeLast();
}

QString TFileHistory::StoredValue(int position, const QString& path) {
  return QStringLiteral("&%1 ").arg(position) + path;
}

QString TFileHistory::PathOf(const QString& storedValue) { return storedValue.mid(3); }

QString TFileHistory::Caption(int position, const QString& path) {
  QString escaped = path;
  escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return StoredValue(position, escaped);
}

void TFileHistory::Load(QSettings& settings) {
  paths_.clear();
  for (int k = 1; k <= kHistorySize; ++k) {
    const QVariant value = settings.value(Key(k));
    if (!value.isValid() || value.typeId() != QMetaType::QString) continue;
    const QString path = PathOf(value.toString());
    if (path.isEmpty() || !QFileInfo(path).isFile() || paths_.contains(path)) continue;
    paths_.append(path);
  }
}

void TFileHistory::Save(QSettings& settings) const {
  for (int k = 1; k <= kHistorySize; ++k) {
    if (k <= paths_.size()) settings.setValue(Key(k), StoredValue(k, paths_[k - 1]));
    else settings.remove(Key(k));
  }
}

TFileHistoryMenu::TFileHistoryMenu(QMenu* menu, QAction* before, const TFileHistory& history, QObject* parent)
    : QObject(parent), history_(history) {
  separator_ = new QAction(menu);
  separator_->setSeparator(true);
  menu->insertAction(before, separator_);
  for (int i = 0; i < kHistorySize; ++i) {
    auto* action = new QAction(menu);
    menu->insertAction(before, action);
    connect(action, &QAction::triggered, this, [this, i] { Choose(i); });
    actions_.append(action);
  }
  Refresh();
}

void TFileHistoryMenu::Refresh() {
  const QStringList& paths = history_.Paths();
  separator_->setVisible(!paths.isEmpty());
  for (int i = 0; i < actions_.size(); ++i) {
    QAction* action = actions_[i];
    const bool used = i < paths.size();
    action->setVisible(used);
    action->setText(used ? TFileHistory::Caption(i + 1, paths[i]) : QString());
    action->setData(used ? QVariant(paths[i]) : QVariant());
  }
}

void TFileHistoryMenu::Choose(int index) {
  if (index < 0 || index >= actions_.size()) return;
  const QString path = actions_[index]->data().toString();
  if (path.isEmpty()) return;
  if (QFileInfo(path).isFile()) {
    emit OpenRequested(path);
  } else {
    ShowError(nullptr, FilesText(sFileNotFound, {path}));
  }
}
