#include "file_man.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#include "html_page.h"
#include "qtext.h"
#include "string_table.h"
#include "syntax_memo.h"

namespace {

// A program text is small; a file far larger is a mistake (a video chosen
// in the dialog), which must not make the window read gigabytes.
constexpr int kMaxProgramMegabytes = 16;

class TQtFileDialogs : public TFileDialogs {
 public:
  QString OpenFileName(QWidget* parent, const TFileDialogRequest& r) override {
    QFileDialog dialog(parent, r.Title, r.Dir, r.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Run(dialog, r);
  }

  QString SaveFileName(QWidget* parent, const TFileDialogRequest& r) override {
    QFileDialog dialog(parent, r.Title, r.Dir, r.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A platform dialog may ignore the default suffix; Qt's own applies it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The dialog adds the suffix itself, before it asks whether to replace
    // a file, so that "lab2" is checked as the lab2.prg it will become.
    dialog.setDefaultSuffix(r.DefaultSuffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &r](const QString& filter) {
      dialog.setDefaultSuffix(filter.contains(QStringLiteral("*.htm")) ? QStringLiteral("html") : r.DefaultSuffix);
    });
    if (!r.ProposedName.isEmpty()) dialog.selectFile(r.ProposedName);
    return Run(dialog, r);
  }

 private:
  static QString Run(QFileDialog& dialog, const TFileDialogRequest& r) {
    const QStringList filters = r.Filter.split(QStringLiteral(";;"));
    if (r.FilterIndex >= 1 && r.FilterIndex <= filters.size()) dialog.selectNameFilter(filters[r.FilterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
  }
};

TQtFileDialogs qtDialogs;
TFileDialogs* currentDialogs = &qtDialogs;

QString FileNameOnly(const QString& name) { return QFileInfo(name).fileName(); }

// The suffix of DefaultExt ("*.prg" -> "prg").
QString SuffixOf(const QString& defaultExt) {
  const qsizetype dot = defaultExt.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? defaultExt : defaultExt.mid(dot + 1);
}

// A read-only file. The system lets the administrator write anywhere (and
// WriteUser says what this user may do), so a file without any write bit of
// its own counts as read-only for everyone.
bool IsReadOnly(const QFileInfo& file) {
  constexpr QFileDevice::Permissions kWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  return file.exists() && file.isFile() && (!file.isWritable() || !(file.permissions() & kWrite));
}

}  // namespace

TFileDialogs& FileDialogs() { return *currentDialogs; }

void SetFileDialogs(TFileDialogs* dialogs) { currentDialogs = dialogs ? dialogs : &qtDialogs; }

TqxFileMan::TqxFileMan(QObject* parent)
    : QObject(parent),
      CheckMsg(FilesText(sFileCheckMsg)),
      Filter(FilesText(sFileFilter)),
      OpenTitle(FilesText(sFileOpenTitle)),
      SaveTitle(FilesText(sFileSaveTitle)) {}

void TqxFileMan::SetModified(bool modified) {
  if (modified == modified_) return;
  modified_ = modified;
  emit ModifiedChanged(modified);
}

void TqxFileMan::SetFileName(const QString& name) {
  fileName_ = name;
  emit NameChanged(name);
}

TAnswer TqxFileMan::CheckSave() {
  if (!modified_) return TAnswer::Ok;
  QString message = CheckMsg;
  if (message.contains(QStringLiteral("%s"))) {
    QString name = fileName_;
    if (OnGetFileName) OnGetFileName(name);
    message.replace(QStringLiteral("%s"), FileNameOnly(name));
  }
  const TAnswer answer = AskYesNoCancel(Window, message);
  if (answer == TAnswer::Yes && !Save()) return TAnswer::Cancel;
  return answer;
}

bool TqxFileMan::New() {
  if (CheckSave() == TAnswer::Cancel || !OnReadyCreate) return false;
  if (StopRun) StopRun();
  QString name;
  OnReadyCreate(name);
  SetModified(false);
  lossyLines_.clear();
  SetFileName(QString());
  return true;
}

TFileDialogRequest TqxFileMan::Request(const QString& title) const {
  TFileDialogRequest r;
  r.Title = title;
  r.Dir = !InitialDir.isEmpty() && QFileInfo(InitialDir).isDir() ? InitialDir : QDir::homePath();
  r.Filter = Filter;
  r.FilterIndex = FilterIndex;
  r.DefaultSuffix = SuffixOf(DefaultExt);
  return r;
}

bool TqxFileMan::Open(const QString& name) {
  if (CheckSave() == TAnswer::Cancel) return false;
  QString chosen = name;
  if (chosen.isEmpty()) {
    chosen = FileDialogs().OpenFileName(Window, Request(OpenTitle));
    if (chosen.isEmpty()) return false;
  }
  if (StopRun) StopRun();
  if (!OnReadyOpen || !OnReadyOpen(chosen)) return false;
  SetFileName(chosen);
  SetModified(false);
  return true;
}

bool TqxFileMan::SaveTo(bool useCurrentName) {
  QString name;
  if (useCurrentName && !fileName_.isEmpty()) {
    name = fileName_;
  } else {
    TFileDialogRequest r = Request(SaveTitle);
    r.ProposedName = FileNameOnly(fileName_);
    const QString suffix = SuffixOf(DefaultExt);
    if (QFileInfo(r.ProposedName).suffix() == suffix) r.ProposedName.chop(suffix.size() + 1);
    name = FileDialogs().SaveFileName(Window, r);
    if (name.isEmpty()) return false;
  }
  // The dialog adds the suffix; a name from elsewhere gets it here.
  if (QFileInfo(name).suffix().isEmpty()) name += QLatin1Char('.') + SuffixOf(DefaultExt);
  if (!ConfirmLossySave(name)) return false;
  if (!OnReadySave || !OnReadySave(name)) return false;
  SetFileName(name);
  SetModified(false);
  return true;
}

bool TqxFileMan::Save() { return SaveTo(true) || SaveAs(); }

bool TqxFileMan::SaveAsCommand() {
  const bool wasModified = modified_;
  if (!SaveAs()) return false;
  if (wasModified && IsHtmlName(ToCp1251(fileName_))) SetModified(true);
  return true;
}

bool TqxFileMan::ConfirmLossySave(const QString& name) {
  if (lossyLines_.empty() || QFileInfo(name) != QFileInfo(lossyFile_)) return true;
  const QString text = FilesText(sFileLossySave, {FromCp1251(LineList(lossyLines_))});
  if (AskYesNo(Window, text) != TAnswer::Yes) return false;
  lossyLines_.clear();
  return true;
}

std::optional<std::vector<std::string>> TqxFileMan::ReadProgramFile(const QString& name) {
  QFile file(name);
  QString why;
  QByteArray bytes;
  if (QFileInfo(name).isDir()) {
    why = QString::fromLocal8Bit(strerror(EISDIR));
  } else if (!file.open(QIODevice::ReadOnly)) {
    why = file.errorString();
  } else if (file.size() > qint64(kMaxProgramMegabytes) << 20) {
    why = FilesText(sFileTooLarge, {QString::number(kMaxProgramMegabytes)});
  } else {
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) why = file.errorString();
  }
  if (!why.isEmpty()) {
    ShowError(Window, FilesText(sFileCannotRead, {name, why}));
    return std::nullopt;
  }
  TProgramText text = ReadProgramText(std::string_view(bytes.constData(), size_t(bytes.size())));
  std::vector<std::string> lines = IsHtmlName(ToCp1251(name)) ? ImportHtml(text.Lines) : std::move(text.Lines);
  lossyLines_ = text.LossyLines;
  lossyFile_ = name;
  if (!lossyLines_.empty())
    MessageBoxes().Show(Window, TBoxKind::Warning, FilesText(sFileLossyRead, {name, FromCp1251(LineList(lossyLines_))}));
  return lines;
}

bool TqxFileMan::WriteProgramFile(const QString& name, const std::vector<std::string>& lines,
                                  const std::vector<std::string>& styles, const TStyleList& list) {
  if (IsReadOnly(QFileInfo(name))) {
    ShowError(Window, FilesText(sFileReadOnly, {name}));
    return false;
  }
  const std::string bytes = IsHtmlName(ToCp1251(name))
                                ? HtmlPageBytes(HtmlPage(ToCp1251(name), lines, styles, list))
                                : ProgramFileBytes(lines);
  // QSaveFile writes a temporary file beside the target and renames it over
  // the target only when everything was written: a full disk or a removed
  // folder leaves the previous file as it was.
  QSaveFile file(name);
  QString why;
  if (!file.open(QIODevice::WriteOnly)) {
    why = file.errorString();
  } else if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
    why = file.errorString();
    file.cancelWriting();
  } else if (!file.commit()) {
    why = file.errorString();
  }
  if (!why.isEmpty()) {
    ShowError(Window, FilesText(sFileCannotSave, {name, why}));
    return false;
  }
  return true;
}

bool TqxFileMan::WriteEditorText(const QString& name, TqxSyntaxMemo& editor) {
  return WriteProgramFile(name, EditorLines(editor), EditorLineStyles(editor), editor.Styles());
}

QString FilesText(TStrId id, const QStringList& args) {
  QString text = FromCp1251(Str(id));
  qsizetype from = 0;
  for (const QString& a : args) {
    const qsizetype at = text.indexOf(QStringLiteral("%s"), from);
    if (at < 0) break;
    text.replace(at, 2, a);
    from = at + a.size();
  }
  return text;
}

QString ProgramName(const QString& fileName) {
  return fileName.isEmpty() ? FilesText(sNoName) : FileNameOnly(fileName);
}

QString WindowCaption(const QString& fileName) { return FilesText(sWindowCaption, {ProgramName(fileName)}); }

std::vector<std::string> EditorLines(const TqxSyntaxMemo& editor) {
  std::vector<std::string> lines;
  lines.reserve(size_t(editor.LineCount()));
  for (int i = 0; i < editor.LineCount(); ++i) lines.push_back(editor.Lines()[i]);
  return lines;
}

std::vector<std::string> EditorLineStyles(TqxSyntaxMemo& editor) {
  std::vector<std::string> styles(size_t(editor.LineCount()));
  for (int line = 0; line < editor.LineCount(); ++line) {
    const int n = int(editor.Lines()[line].size());
    std::string& s = styles[size_t(line)];
    s.resize(size_t(n));
    for (int pos = 1; pos <= n; ++pos) s[size_t(pos - 1)] = char(editor.StyleAt(line, pos));
  }
  return styles;
}

std::string NewProgramTemplate() { return Str(sNewProgramName) + "\r  {\r  \a\r  }"; }
