#include "recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QFile>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "file_man.h"
#include "message_box.h"
#include "program_text.h"

namespace {

// A copy is NAME.prg (the text, Windows-1251 CR LF), NAME.name (the file
// name, UTF-8) and NAME.lock (held while its window runs).
const QString kPrefix = QStringLiteral("recovery-");

bool WriteWhole(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The signal handler only writes the signal's number into a pipe; the copy
// is written from the event loop, where writing files is safe.
int endPipe[2] = {-1, -1};

void OnEndSignal(int sig) {
  const char byte = char(sig);
  [[maybe_unused]] const ssize_t n = write(endPipe[1], &byte, 1);
}

void RemoveCopy(const QString& base) {
  QFile::remove(base + QStringLiteral(".prg"));
  QFile::remove(base + QStringLiteral(".name"));
}

}  // namespace

QString DefaultRecoveryFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tarmisy/recovery");
}

TRecoveryCopy::TRecoveryCopy(QString folder, QObject* parent)
    : QObject(parent), folder_(folder.isEmpty() ? DefaultRecoveryFolder() : std::move(folder)) {
  QDir().mkpath(folder_);
  // A name of our own: the process id, and a counter should a process
  // (a test) make several.
  static int count = 0;
  base_ = folder_ + QLatin1Char('/') + kPrefix + QString::number(QCoreApplication::applicationPid()) +
          QLatin1Char('-') + QString::number(++count);
  // Locks of windows that ended without a copy to leave are litter.
  const QDir dir(folder_);
  for (const QString& name : dir.entryList({kPrefix + QStringLiteral("*.lock")}, QDir::Files)) {
    const QString base = dir.filePath(name.chopped(5));
    if (QFile::exists(base + QStringLiteral(".prg"))) continue;
    QLockFile stale(base + QStringLiteral(".lock"));
    if (stale.tryLock(0)) stale.unlock();
  }
  lock_ = std::make_unique<QLockFile>(base_ + QStringLiteral(".lock"));
  lock_->setStaleLockTime(0);
  lock_->tryLock(0);
  timer_.setInterval(kRecoveryIntervalMs);
  connect(&timer_, &QTimer::timeout, this, &TRecoveryCopy::WriteNow);
}

TRecoveryCopy::~TRecoveryCopy() {
  Discard();
  lock_->unlock();
}

void TRecoveryCopy::Watch(TqxFileMan& fileMan) {
  modified_ = fileMan.Modified();
  connect(&fileMan, &TqxFileMan::ModifiedChanged, this, [this](bool modified) {
    modified_ = modified;
    if (!modified) Discard();
  });
}

void TRecoveryCopy::Start() { timer_.start(); }

void TRecoveryCopy::KeepOnEndSignals() {
  if (endSignal_ || pipe2(endPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  endSignal_ = new QSocketNotifier(endPipe[0], QSocketNotifier::Read, this);
  connect(endSignal_, &QSocketNotifier::activated, this, [this] {
    char sig = 0;
    if (read(endPipe[0], &sig, 1) != 1) return;
    WriteNow();
    // No clean-up: a normal end would remove the copy.
    std::_Exit(128 + sig);
  });
  struct sigaction action = {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &action, nullptr);
}

void TRecoveryCopy::WriteNow() {
  if (!modified_ || !Lines) return;
  const std::string text = ProgramFileBytes(Lines());
  // The name first: a copy is offered only when its text exists, and the
  // text is replaced as a whole.
  WriteWhole(base_ + QStringLiteral(".name"), (FileName ? FileName() : QString()).toUtf8());
  WriteWhole(base_ + QStringLiteral(".prg"), QByteArray(text.data(), qsizetype(text.size())));
}

void TRecoveryCopy::Discard() { RemoveCopy(base_); }

bool TRecoveryCopy::HasCopy() const { return QFile::exists(CopyPath()); }

QString TRecoveryCopy::CopyPath() const { return base_ + QStringLiteral(".prg"); }

std::vector<TRecoveredProgram> TRecoveryCopy::Orphans() const {
  std::vector<TRecoveredProgram> found;
  const QDir dir(folder_);
  const QStringList copies = dir.entryList({kPrefix + QStringLiteral("*.prg")}, QDir::Files);
  for (const QString& copy : copies) {
    const QString base = dir.filePath(copy.chopped(4));
    if (base == base_) continue;
    // A copy whose lock another running window holds is that window's.
    QLockFile lock(base + QStringLiteral(".lock"));
    if (!lock.tryLock(0)) continue;
    lock.unlock();
    const QByteArray bytes = ReadAll(base + QStringLiteral(".prg"));
    TRecoveredProgram p;
    p.Lines = ReadProgramText(std::string_view(bytes.constData(), size_t(bytes.size()))).Lines;
    p.FileName = QString::fromUtf8(ReadAll(base + QStringLiteral(".name")));
    p.Written = QFileInfo(base + QStringLiteral(".prg")).lastModified();
    p.CopyPath = base + QStringLiteral(".prg");
    found.push_back(std::move(p));
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.Written > b.Written; });
  return found;
}

bool TRecoveryCopy::OfferRestore(QWidget* parent, const std::function<void(const TRecoveredProgram&)>& restore) {
  const std::vector<TRecoveredProgram> orphans = Orphans();
  if (orphans.empty()) return false;
  const TRecoveredProgram& newest = orphans.front();
  const QString text = FilesText(sRecoveryOfferNamed, {ProgramName(newest.FileName),
                                                        QLocale().toString(newest.Written, QLocale::ShortFormat)});
  const bool yes = AskYesNo(parent, text) == TAnswer::Yes;
  if (yes && restore) {
    restore(newest);
    // The restored text is this window's now: copied at once, not only at
    // the next tick, so that a second failure loses nothing.
    WriteNow();
  }
  for (const TRecoveredProgram& p : orphans) {
    const QString base = p.CopyPath.chopped(4);
    RemoveCopy(base);
    QFile::remove(base + QStringLiteral(".lock"));
  }
  return yes;
}
