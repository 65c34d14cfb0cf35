// tarmisy: the program a pupil uses. Shows the splash, builds the main
// window and opens the program file named on the command line, if any.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

#include "glyphs.h"
#include "localisation.h"
#include "main_form.h"
#include "qtext.h"
#include "splash.h"
#include "string_table.h"

int main(int argc, char** argv) {
  QElapsedTimer started;
  started.start();
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication app(argc, argv);
  // A translation of the interface replaces the built-in texts; it must be
  // in place before anything reads a text (menus, words, highlighting).
  const bool translated =
      !LoadLocalisation({QDir::currentPath().toStdString(), QCoreApplication::applicationDirPath().toStdString()})
           .empty();
  // Qt's own dialogs and buttons (files, fonts, print preview, Yes and No)
  // speak the interface's language too.
  QTranslator qtTexts;
  if (!translated &&
      qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);
  QApplication::setOrganizationName(QStringLiteral("Tarmisy"));
  QApplication::setApplicationName(QStringLiteral("tarmisy"));
  QApplication::setWindowIcon(AppIcon());

  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("FILE.prg"), QStringLiteral("program to open"));
  // For the start-up benchmark: print the milliseconds from the process
  // start to the first painted window, then quit.
  QCommandLineOption startupTime(QStringLiteral("startup-time"));
  startupTime.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(startupTime);
  parser.process(app);
  const bool measure = parser.isSet(startupTime);

  auto* splash = new TSplash;
  splash->setAttribute(Qt::WA_DeleteOnClose);
  splash->show();
  splash->repaint();
  QApplication::processEvents();

  TMainForm form([splash](int percent) { splash->SetProgress(percent); });
  if (measure) {
    QObject::connect(&form, &TMainForm::FirstPaint, &app, [&] {
      std::printf("%lld\n", static_cast<long long>(started.elapsed()));
      QApplication::quit();
    });
  }
  form.showMaximized();
  // Above the window once the window is on the screen.
  QTimer::singleShot(0, splash, [splash] { splash->raise(); });
  if (!parser.positionalArguments().isEmpty()) {
    const QString file = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    form.OpenProgram(file);
  }
  if (!measure) {
    form.FirstStartTexts();
    // A program lost with unsaved changes comes back before new work starts.
    QTimer::singleShot(0, &form, [&form] { form.StartRecovery(); });
  }
  return app.exec();
}
