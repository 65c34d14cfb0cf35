// Recovery copies, printing and the parameters dialog.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "file_man.h"
#include "param_form.h"
#include "print_layout.h"
#include "qtext.h"
#include "recovery.h"
#include "scripted_boxes.h"
#include "settings.h"

namespace {

using Lines = std::vector<std::string>;

TEST(Recovery, CopyOfACrashedWindowIsOfferedAndRemoved) {
  QTemporaryDir dir;
  // The window that crashes is another process: it writes its copy and
  // ends without any of its clean-up.
  const pid_t child = fork();
  if (child == 0) {
    auto* crashing = new TRecoveryCopy(dir.path());
    new TRecoveryCopy(dir.path());  // a second window with nothing to copy
    TqxFileMan fm;
    crashing->Watch(fm);
    crashing->Lines = [] { return Lines{"unsaved", "work"}; };
    crashing->FileName = [] { return QStringLiteral("/home/pupil/lab3.prg"); };
    fm.SetModified();
    crashing->WriteNow();
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);

  TScriptedBoxes boxes;
  TRecoveryCopy window(dir.path());
  TqxFileMan fm;
  window.Watch(fm);
  Lines editor;
  window.Lines = [&] { return editor; };
  boxes.Answers = {TAnswer::Yes};
  TRecoveredProgram got;
  EXPECT_TRUE(window.OfferRestore(nullptr, [&](const TRecoveredProgram& p) {
    got = p;
    editor = p.Lines;
    fm.SetModified();
  }));
  ASSERT_EQ(boxes.Asked.size(), 1);
  EXPECT_TRUE(boxes.Asked[0].startsWith(FromCp1251(Str(sRecoveryOffer))));
  EXPECT_TRUE(boxes.Asked[0].contains("lab3.prg"));
  EXPECT_EQ(got.Lines, (Lines{"unsaved", "work"}));
  EXPECT_EQ(got.FileName, "/home/pupil/lab3.prg");
  EXPECT_EQ(QDir(dir.path()).entryList({"*.lock"}, QDir::Files).size(), 1);  // only this window's
  // The restored text is this window's copy now; the old one is gone.
  EXPECT_TRUE(window.HasCopy());
  EXPECT_TRUE(window.Orphans().empty());
  // A save removes it.
  fm.SetModified(false);
  EXPECT_FALSE(window.HasCopy());
}

TEST(Recovery, ASessionEndedByASignalKeepsItsUnsavedText) {
  QTemporaryDir dir;
  const pid_t child = fork();
  if (child == 0) {
    TRecoveryCopy window(dir.path());
    TqxFileMan fm;
    window.Watch(fm);
    window.Lines = [] { return Lines{"typed a moment ago"}; };
    window.KeepOnEndSignals();
    fm.SetModified();
    raise(SIGTERM);
    for (int i = 0; i < 500; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    _exit(0);  // the signal was not taken up
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
  TRecoveryCopy next(dir.path());
  const auto orphans = next.Orphans();
  ASSERT_EQ(orphans.size(), 1);
  EXPECT_EQ(orphans[0].Lines, Lines{"typed a moment ago"});
}

TEST(Recovery, RefusedCopyIsRemovedAndARunningWindowsCopyIsNotOffered) {
  QTemporaryDir dir;
  TqxFileMan fm;
  TRecoveryCopy running(dir.path());
  running.Watch(fm);
  running.Lines = [] { return Lines{"other window"}; };
  fm.SetModified();
  running.WriteNow();
  ASSERT_TRUE(running.HasCopy());

  TScriptedBoxes boxes;
  TRecoveryCopy second(dir.path());
  EXPECT_FALSE(second.OfferRestore(nullptr, {}));
  EXPECT_TRUE(boxes.Asked.isEmpty());
  EXPECT_TRUE(running.HasCopy());

  // Unmodified text is not copied.
  TRecoveryCopy idle(dir.path());
  idle.Lines = [] { return Lines{"x"}; };
  idle.WriteNow();
  EXPECT_FALSE(idle.HasCopy());
}

Lines Program(int n) {
  Lines lines;
  for (int i = 1; i <= n; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

TEST(Print, NewPageWhenTheTextReaches26Centimetres) {
  QTemporaryDir dir;
  QPdfWriter pdf(dir.filePath("p.pdf"));
  pdf.setResolution(300);
  TProgramPrint::SetupPage(pdf);
  const QFont font = TEditorFont().ToQFont();
  EXPECT_EQ(TProgramPrint({}, font, "a").Paginate(pdf), 1);
  TProgramPrint print(Program(80), font, "a");
  ASSERT_EQ(print.Paginate(pdf), 2);
  // 15 px at 96 px per inch is 11.25 pt; a line of Liberation Mono at that
  // size is about 0.45 cm, and 24.5 cm of lines fit below the header.
  const int firstOnPage2 = [&] {
    for (int i = 0; i < 80; ++i)
      if (print.PageOfLine(i) == 1) return i;
    return -1;
  }();
  EXPECT_GT(firstOnPage2, 45);
  EXPECT_LT(firstOnPage2, 62);
  EXPECT_EQ(print.PageOfLine(79), 1);
  EXPECT_TRUE(PrintToPdf(dir.filePath("program.pdf"), Program(80), font, "lab.prg"));
  EXPECT_GT(QFile(dir.filePath("program.pdf")).size(), 1000);
}

TEST(ParamForm, RangesStepsAndTheStoreButton) {
  TParamForm form;
  form.SetValues({700, 50, -5, 300, "/p", "/m"});
  const TParamValues v = form.Values();
  EXPECT_EQ(std::tie(v.Width, v.Height, v.X0, v.Y0), std::make_tuple(600, 100, 0, 300));
  EXPECT_EQ(form.WEdit->singleStep(), 10);
  EXPECT_TRUE(form.ProgPathEdit->isReadOnly());

  // "Запомнить рабочие папки", then Cancel: the folders are kept and saved
  // as the first folders; the sizes are not taken.
  TSettings s;
  int firstSaves = 0;
  form.ChooseFolder = [](QWidget*, const QString& title, const QString&) {
    return title == FilesText(sParamProgFolderTitle) ? QStringLiteral("/chosen") : QString();
  };
  QTimer::singleShot(0, &form, [&] {
    form.ProgPathBtn->click();
    form.MazePathBtn->click();  // an empty answer keeps the field
    form.WEdit->setValue(300);
    form.StoreBtn->click();
    form.reject();
  });
  EXPECT_FALSE(RunParamForm(form, s, [&] { ++firstSaves; }));
  EXPECT_EQ(firstSaves, 1);
  EXPECT_EQ(s.ProgramsFolder, "/chosen");
  EXPECT_EQ(s.CanvasWidth, 600);

  QTimer::singleShot(0, &form, [&] {
    form.HEdit->setValue(250);
    form.accept();
  });
  EXPECT_TRUE(RunParamForm(form, s, {}));
  EXPECT_EQ(s.CanvasHeight, 250);
}

}  // namespace
