// Recovery copies: while the program text has unsaved changes it is written
// every 30 seconds into the user's data folder, so that a power cut or a
// crash mid-lesson costs at most half a minute of typing. At the next start
// a copy that no running window owns is offered back; it is removed after a
// save, a refusal, or a normal end.
#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class TqxFileMan;

inline constexpr int kRecoveryIntervalMs = 30000;

// A copy left behind by a window that did not end normally.
struct TRecoveredProgram {
  std::vector<std::string> Lines;  // Windows-1251
  QString FileName;                // the program's file; empty when unnamed
  QDateTime Written;
  QString CopyPath;                // the copy itself
};

class TRecoveryCopy : public QObject {
  Q_OBJECT

 public:
  // folder: where copies live; empty for the user's data folder. Each
  // window owns one copy, guarded by a lock file while it runs.
  explicit TRecoveryCopy(QString folder = QString(), QObject* parent = nullptr);
  // A normal end removes this window's copy.
  ~TRecoveryCopy() override;

  // What the copy holds: the editor's lines and the program's file name.
  std::function<std::vector<std::string>()> Lines;
  std::function<QString()> FileName;

  // Follows fileMan: copies while it is modified, removes the copy when it
  // is not (after a save, a new program or an open).
  void Watch(TqxFileMan& fileMan);
  // Starts the 30-second timer.
  void Start();
  // A session that ends by a signal (logout, shutdown, Ctrl+C in the
  // terminal) writes the copy at once and ends the process without removing
  // it, so that the next start offers it. One window per process.
  void KeepOnEndSignals();
  // Writes the copy now when the text is modified (the timer's work).
  void WriteNow();
  // Removes this window's copy.
  void Discard();
  bool HasCopy() const;
  QString CopyPath() const;

  // Copies of other windows that are no longer running, newest first.
  std::vector<TRecoveredProgram> Orphans() const;
  // Asks "Восстановить несохранённую программу?" for the newest orphan;
  // Yes hands it to restore. The copy is removed either way (a refusal
  // means the pupil does not want it); older orphans are removed too.
  bool OfferRestore(QWidget* parent, const std::function<void(const TRecoveredProgram&)>& restore);

 private:
  QString folder_;
  QString base_;  // this window's copy, without the extension
  std::unique_ptr<QLockFile> lock_;
  QTimer timer_;
  bool modified_ = false;
  class QSocketNotifier* endSignal_ = nullptr;
};

// The default folder of the copies (in the user's data folder).
QString DefaultRecoveryFolder();
