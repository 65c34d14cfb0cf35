// The file workflow as the window drives it: an "editor" of lines, the
// real reading and writing, scripted file dialogs and message boxes.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <deque>

#include "encoding.h"
#include "file_man.h"
#include "highlighting.h"
#include "syntax_memo.h"
#include "qtext.h"
#include "scripted_boxes.h"
#include "scripted_dialogs.h"

namespace {

using Lines = std::vector<std::string>;

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

class FileManTest : public ::testing::Test {
 protected:
  FileManTest() {
    fm.InitialDir = dir.path();
    fm.OnReadyCreate = [this](QString&) { editor = {"new"}; };
    fm.OnReadyOpen = [this](const QString& name) {
      events.push_back("read");
      auto lines = fm.ReadProgramFile(name);
      if (lines) editor = *lines;
      return lines.has_value();
    };
    fm.OnReadySave = [this](const QString& name) { return fm.WriteProgramFile(name, editor, {}, styles); };
    fm.StopRun = [this] { events.push_back("stop"); };
  }
  QString Path(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  TScriptedBoxes boxes;
  TScriptedDialogs dialogs;
  TqxFileMan fm;
  TStyleList styles;
  Lines editor{U("главная {"), "}"};
  std::vector<std::string> events;
  static std::string U(std::string_view s) { return Utf8ToCp1251(s); }
};

TEST_F(FileManTest, SaveQuestionAnswersDecideTheCommand) {
  const struct {
    std::deque<TAnswer> answers;
    std::deque<QString> names;
    bool newDone;
    int dialogs;
    bool saved;
  } cases[] = {
      {{TAnswer::No}, {}, true, 0, false},
      {{TAnswer::Cancel}, {}, false, 0, false},
      {{TAnswer::Yes}, {"a.prg"}, true, 1, true},
      // Yes, and both save dialogs cancelled: the pupil's text must stay.
      {{TAnswer::Yes}, {}, false, 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dialogs);
    editor = {"typed"};
    fm.SetFileName(QString());
    fm.SetModified();
    boxes.Answers = c.answers;
    dialogs.Requests.clear();
    dialogs.Names.clear();
    for (const QString& n : c.names) dialogs.Names.push_back(Path(n));
    QFile::remove(Path("a.prg"));
    EXPECT_EQ(fm.New(), c.newDone);
    EXPECT_EQ(editor, c.newDone ? Lines{"new"} : Lines{"typed"});
    EXPECT_EQ(fm.Modified(), !c.newDone);
    EXPECT_EQ(int(dialogs.Requests.size()), c.dialogs);
    EXPECT_EQ(QFile::exists(Path("a.prg")), c.saved);
  }
  EXPECT_EQ(boxes.Asked.last(), FromCp1251(U("Текст программы не был записан на диск. Записать?")));
}

TEST_F(FileManTest, NameWithoutExtensionIsSavedAsPrgAndProposedWithoutIt) {
  dialogs.Names = {Path("lab2")};
  QString caption;
  QObject::connect(&fm, &TqxFileMan::NameChanged, [&](const QString& n) { caption = WindowCaption(n); });
  ASSERT_TRUE(fm.Save());
  EXPECT_EQ(fm.FileName(), Path("lab2.prg"));
  EXPECT_EQ(ReadAll(Path("lab2.prg")), QByteArray(U("главная {\r\n}\r\n").c_str()));
  EXPECT_EQ(caption, FromCp1251(U("Система \"Тармисы\" - программа lab2.prg")));
  EXPECT_EQ(dialogs.Requests[0].DefaultSuffix, "prg");
  EXPECT_EQ(dialogs.Requests[0].Dir, dir.path());

  fm.SaveAs();
  EXPECT_EQ(dialogs.Requests.back().ProposedName, "lab2");
  fm.SetFileName(Path("page.html"));
  fm.SaveAs();
  EXPECT_EQ(dialogs.Requests.back().ProposedName, "page.html");
}

TEST_F(FileManTest, ReadOnlyTargetIsReportedAndNothingChanges) {
  WriteAll(Path("ro.prg"), "old\r\n");
  QFile::setPermissions(Path("ro.prg"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  fm.SetFileName(Path("ro.prg"));
  fm.SetModified();
  EXPECT_FALSE(fm.Save());  // then Save as, whose dialog is cancelled
  ASSERT_EQ(boxes.Shown.size(), 1);
  EXPECT_EQ(boxes.Shown[0], FilesText(sFileReadOnly, {Path("ro.prg")}));
  EXPECT_EQ(dialogs.Requests.size(), 1u);
  EXPECT_EQ(ReadAll(Path("ro.prg")), "old\r\n");
  EXPECT_EQ(fm.FileName(), Path("ro.prg"));
  EXPECT_TRUE(fm.Modified());
}

TEST_F(FileManTest, FailedWriteLeavesTheOldFileWholeAndSaysWhy) {
  const QByteArray old = QByteArray("old program\r\n").repeated(50);
  WriteAll(Path("lab.prg"), old);
  fm.SetFileName(Path("lab.prg"));
  editor.assign(200, std::string(80, 'x'));
  // A disk that fills up: files may not grow past 1 KB for this process.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = fm.WriteProgramFile(Path("lab.prg"), editor, {}, styles);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadAll(Path("lab.prg")), old);
  ASSERT_EQ(boxes.Shown.size(), 1);
  EXPECT_TRUE(boxes.Shown[0].startsWith(FromCp1251(U("Не удалось сохранить файл с именем ''")) + Path("lab.prg")));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"lab.prg"});  // no temporary left

  // A folder that was removed.
  EXPECT_FALSE(fm.WriteProgramFile(Path("gone/lab.prg"), editor, {}, styles));
  EXPECT_EQ(boxes.Shown.size(), 2);
}

TEST_F(FileManTest, OpenStopsTheRunBeforeReadingAndSaysWhyAFileCannotBeRead) {
  dialogs.Names = {Path("missing.prg")};
  EXPECT_FALSE(fm.Open());
  EXPECT_EQ(events, (std::vector<std::string>{"stop", "read"}));
  ASSERT_EQ(boxes.Shown.size(), 1);
  EXPECT_TRUE(boxes.Shown[0].startsWith(FilesText(sFileCannotRead, {Path("missing.prg"), "X"}).section('X', 0, 0)));
  EXPECT_EQ(editor, (Lines{U("главная {"), "}"}));

  // A cancelled dialog leaves the run alone.
  events.clear();
  EXPECT_FALSE(fm.Open());
  EXPECT_TRUE(events.empty());
}

TEST_F(FileManTest, HtmlExportKeepsTheTextModifiedAndReadsBackByTheFilesOwnExtension) {
  editor = {"a < b", "", "  c"};
  fm.SetModified();
  dialogs.Names = {Path("page.html")};
  ASSERT_TRUE(fm.SaveAsCommand());
  EXPECT_TRUE(fm.Modified());
  EXPECT_TRUE(ReadAll(Path("page.html")).startsWith("<html>\r\n<head>\r\n"));

  editor.clear();
  fm.SetModified(false);
  ASSERT_TRUE(fm.Open(Path("page.html")));
  EXPECT_EQ(editor, (Lines{"a < b", "  c"}));

  // A program in a folder whose name looks like a page is a program.
  QDir(dir.path()).mkdir("x.html");
  WriteAll(Path("x.html/p.prg"), "<b>x</b>\r\n");
  ASSERT_TRUE(fm.Open(Path("x.html/p.prg")));
  EXPECT_EQ(editor, (Lines{"<b>x</b>"}));
}

TEST_F(FileManTest, CharactersLostOnReadingAreNamedAndSavingOverTheFileAsks) {
  WriteAll(Path("u.prg"), "// ok\n// \xF0\x9F\x98\x80 smile\n");
  ASSERT_TRUE(fm.Open(Path("u.prg")));
  ASSERT_EQ(boxes.Shown.size(), 1);
  EXPECT_TRUE(boxes.Shown[0].contains("(" + FromCp1251(U("строки")) + " 2)"));
  boxes.Answers = {TAnswer::No};
  EXPECT_FALSE(fm.SaveTo(true));
  EXPECT_EQ(boxes.Asked.size(), 1);
  EXPECT_EQ(ReadAll(Path("u.prg")), "// ok\n// \xF0\x9F\x98\x80 smile\n");
  boxes.Answers = {TAnswer::Yes};
  EXPECT_TRUE(fm.SaveTo(true));
  EXPECT_EQ(ReadAll(Path("u.prg")), "// ok\r\n// ? smile\r\n");
}

TEST_F(FileManTest, PageOfTheProgramEditorHasItsColours) {
  TqxSyntaxMemo memo;
  SetupProgramEditor(memo);
  SetupHighlighting(memo);
  memo.SetLines({"  /* x */ 12"});
  ASSERT_TRUE(fm.WriteEditorText(Path("e.html"), memo));
  EXPECT_TRUE(ReadAll(Path("e.html")).contains(
      "&nbsp;&nbsp;<font color=#C0C0C0><i>/*&nbsp;x&nbsp;*/</font></i>&nbsp;<font color=#000080>12</font><br>"));
}

}  // namespace
