// The File menu's list of the five programs used last: the list itself,
// its stored form ("&1 " and the full path, as FileHistory/File1..File5),
// and the menu entries that show it.
#pragma once

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;
class QSettings;

inline constexpr int kHistorySize = 5;

class TFileHistory {
 public:
  // Full paths, the most recent first; at most kHistorySize.
  const QStringList& Paths() const { return paths_; }
  // Puts path first: an entry already listed (compared exactly) moves up,
  // a new one pushes the last entry off a full list.
  void Add(const QString& path);
  void Clear() { paths_.clear(); }

  // The stored value of an entry: "&", its position, a blank and the path.
  static QString StoredValue(int position, const QString& path);
  // The path of a stored value (from its fourth character); empty when the
  // value is too short to hold one.
  static QString PathOf(const QString& storedValue);
  // The menu caption: the stored value with "&" in the path doubled, so
  // that the path is shown as it is and only the digit is the accelerator.
  static QString Caption(int position, const QString& path);

  // Reads File1..File5; values whose files no longer exist are skipped and
  // the rest renumbered from 1.
  void Load(QSettings& settings);
  // Writes File1..FileN and removes the values past the last entry, which
  // would otherwise come back at the next start.
  void Save(QSettings& settings) const;

 private:
  QStringList paths_;
};

// Five menu entries after a separator, before a given action of a menu;
// hidden while the history is shorter. Choosing an entry whose file exists
// asks to open it; one whose file is gone says so.
class TFileHistoryMenu : public QObject {
  Q_OBJECT

 public:
  TFileHistoryMenu(QMenu* menu, QAction* before, const TFileHistory& history, QObject* parent = nullptr);
  // Captions, paths and visibility from the history.
  void Refresh();
  const QList<QAction*>& Actions() const { return actions_; }
  QAction* Separator() const { return separator_; }
  // What a click on entry index (0-based) does.
  void Choose(int index);

 signals:
  void OpenRequested(const QString& path);

 private:
  const TFileHistory& history_;
  QAction* separator_ = nullptr;
  QList<QAction*> actions_;
};
