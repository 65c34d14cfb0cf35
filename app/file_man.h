// The file workflow of the program text: new, open, save, save as, and the
// question whether to save changes first. A non-visual component; the window
// handles its events (fill the editor, read a file, write a file) and shows
// the current name in its caption. The file dialogs sit behind a small
// interface so that tests can answer them.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "message_box.h"
#include "program_text.h"
#include "string_table.h"
#include "style_list.h"

class QWidget;
class TqxSyntaxMemo;

// What a file dialog is asked.
struct TFileDialogRequest {
  QString Title;
  QString Dir;           // the folder it starts in
  QString ProposedName;  // save: the name in the name field
  QString Filter;        // "Name (*.a *.b);;Other (*)"
  int FilterIndex = 1;   // 1-based
  QString DefaultSuffix; // without the point; added to a typed name without one
};

class TFileDialogs {
 public:
  virtual ~TFileDialogs() = default;
  // The chosen file, or an empty text when the dialog was cancelled. The
  // save dialog adds the default suffix before it asks about overwriting.
  virtual QString OpenFileName(QWidget* parent, const TFileDialogRequest& request) = 0;
  virtual QString SaveFileName(QWidget* parent, const TFileDialogRequest& request) = 0;
};

// The dialogs in use: Qt's file dialogs unless a test installed its own.
TFileDialogs& FileDialogs();
// Installs dialogs (not owned); nullptr restores Qt's.
void SetFileDialogs(TFileDialogs* dialogs);

class TqxFileMan : public QObject {
  Q_OBJECT

 public:
  explicit TqxFileMan(QObject* parent = nullptr);

  // The question before a command that would drop unsaved changes; one "%s"
  // is replaced by the file name part of the current name. The texts start
  // as the program's own.
  QString CheckMsg;
  QString DefaultExt = QStringLiteral("*.prg");
  QString Filter;
  int FilterIndex = 1;
  QString InitialDir;  // empty or missing: the home folder
  QString OpenTitle, SaveTitle;
  QWidget* Window = nullptr;  // parent of the dialogs and message boxes

  // Events. OnReadyCreate fills the editor with a new program; OnReadyOpen
  // reads the named file into the editor and OnReadySave writes it, each
  // true on success; OnGetFileName may adjust the name shown in CheckMsg.
  std::function<void(QString& name)> OnReadyCreate;
  std::function<bool(const QString& name)> OnReadyOpen;
  std::function<bool(const QString& name)> OnReadySave;
  std::function<void(QString& name)> OnGetFileName;
  // Stops a running program and waits until it has ended; called before
  // another text replaces the editor's, whose line marks and caret moves
  // would otherwise land in the new text.
  std::function<void()> StopRun;

  const QString& FileName() const { return fileName_; }
  bool Modified() const { return modified_; }

  void SetModified(bool modified = true);
  // Stores the name and emits NameChanged.
  void SetFileName(const QString& name);

  // Asks whether to save a modified text (Yes, No, Cancel). Yes saves first;
  // a save that does not happen (its dialog cancelled, the write failed)
  // turns the answer into Cancel, so that the pending command cannot drop
  // the text.
  TAnswer CheckSave();
  bool CanClose() { return CheckSave() != TAnswer::Cancel; }
  bool New();
  // Opens name, or the file chosen in the open dialog when name is empty.
  bool Open(const QString& name = QString());
  // Writes under the current name when useCurrentName and there is one,
  // otherwise under the name chosen in the save dialog.
  bool SaveTo(bool useCurrentName);
  // Under the current name; when that does not write the file, as Save as.
  bool Save();
  bool SaveAs() { return SaveTo(false); }
  // The window's Save as: an HTML page written from a modified text is an
  // export, not a save, so the text stays modified.
  bool SaveAsCommand();

  // Reads a program file for the editor: its lines, or nothing after a
  // message that says why it could not be read. An HTML page (by the file's
  // own extension) gives its program lines. Lines whose characters had no
  // Windows-1251 form are named in a warning and remembered, so that saving
  // over that file asks first.
  std::optional<std::vector<std::string>> ReadProgramFile(const QString& name);
  // Writes the program under name: the HTML page when the file's own
  // extension says so, else the .prg text. The file is replaced as a whole
  // or not at all; a read-only file or a failed write is reported and gives
  // false. styles and list colour the page (see HtmlPage).
  bool WriteProgramFile(const QString& name, const std::vector<std::string>& lines,
                        const std::vector<std::string>& styles, const TStyleList& list);
  // WriteProgramFile with the editor's lines and colours.
  bool WriteEditorText(const QString& name, TqxSyntaxMemo& editor);

 signals:
  void NameChanged(const QString& name);
  void ModifiedChanged(bool modified);

 private:
  TFileDialogRequest Request(const QString& title) const;
  bool ConfirmLossySave(const QString& name);

  QString fileName_;
  bool modified_ = false;
  QString lossyFile_;           // the file read with lost characters
  std::vector<int> lossyLines_; // its lines that lost them
};

// A text of the string table with each "%s" replaced by the next argument.
// Paths stay as they are (a folder name outside Windows-1251 included).
QString FilesText(TStrId id, const QStringList& args = {});

// The caption of the window for a program file name: Система "Тармисы" -
// программа NAME (or "без имени").
QString WindowCaption(const QString& fileName);
// The file name part, or "без имени" for an empty name.
QString ProgramName(const QString& fileName);

// The editor's lines, Windows-1251.
std::vector<std::string> EditorLines(const TqxSyntaxMemo& editor);
// The style of every character of the editor's lines, for the HTML page.
std::vector<std::string> EditorLineStyles(TqxSyntaxMemo& editor);

// The text of a new program: the header, "  {", the body line with the
// caret marker after two blanks, "  }"; for the editor's template insertion.
std::string NewProgramTemplate();
