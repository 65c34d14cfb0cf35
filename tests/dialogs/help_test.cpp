// The help window and its pages, the about box's system line, the shipped
// texts, and the glyphs.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <functional>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "encoding.h"
#include "errors.h"
#include "glyphs.h"
#include "help.h"
#include "program.h"

namespace {

QString Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(Help, EveryLinkOfEveryPageLeadsToAPageAndAnchorThatExist) {
  const QDir dir(QStringLiteral(":/tarmisy/help"));
  const QStringList pages = dir.entryList({QStringLiteral("*.html")});
  ASSERT_GE(pages.size(), 8);
  static const QRegularExpression href(QStringLiteral("href=\"([^\"#]*)(#([^\"]*))?\""));
  for (const QString& page : pages) {
    const QString html = Read(dir.filePath(page));
    for (auto it = href.globalMatch(html); it.hasNext();) {
      const auto m = it.next();
      const QString target = m.captured(1).isEmpty() ? page : m.captured(1);
      const QString text = Read(dir.filePath(target));
      ASSERT_FALSE(text.isEmpty()) << page.toStdString() << " -> " << target.toStdString();
      if (!m.captured(3).isEmpty()) {
        EXPECT_TRUE(text.contains(QStringLiteral("id=\"%1\"").arg(m.captured(3))))
            << page.toStdString() << " -> " << m.captured(0).toStdString();
      }
    }
  }
}

// A pupil copies the examples: every whole program on a page compiles for
// the executor the page is about.
TEST(Help, EveryWholeProgramOfThePagesCompiles) {
  const QDir dir(QStringLiteral(":/tarmisy/help"));
  static const QRegularExpression pre(QStringLiteral("<pre>(.*?)</pre>"),
                                      QRegularExpression::DotMatchesEverythingOption);
  int programs = 0;
  for (const QString& page : dir.entryList({QStringLiteral("*.html")})) {
    const int kind = page == QLatin1String("drawer.html") ? 1 : page == QLatin1String("grondo.html") ? 2 : 0;
    for (auto it = pre.globalMatch(Read(dir.filePath(page))); it.hasNext();) {
      QString text = it.next().captured(1);
      if (!text.contains(QStringLiteral("главная {"))) continue;
      text.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
      text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
      ++programs;
      try {
        CompileProgram(ProgramLines(Utf8ToCp1251(text.toStdString())), kind);
      } catch (const ECompileException& e) {
        ADD_FAILURE() << page.toStdString() << ": " << Cp1251ToUtf8(e.what()) << "\n" << text.toStdString();
      }
    }
  }
  EXPECT_GE(programs, 5);
}

TEST(Help, EveryControlWithATextHasAPageAndTopicsOpenTheirPages) {
  for (const QString& name : GlyphNames()) {
    if (name.endsWith(QLatin1String("MI"))) continue;
    EXPECT_FALSE(WhatsThisText(name).isEmpty()) << name.toStdString();
    const QUrl url = HelpUrl(name);
    EXPECT_FALSE(Read(QLatin1Char(':') + url.path()).isEmpty()) << name.toStdString();
  }
  EXPECT_EQ(HelpUrl(QStringLiteral("grondo")).fileName(), QStringLiteral("grondo.html"));
  EXPECT_EQ(HelpUrl(QStringLiteral("maze-editor")).fileName(), QStringLiteral("maze-editor.html"));
  EXPECT_EQ(HelpUrl(QStringLiteral("RunBtn")).fragment(), QStringLiteral("run"));
  EXPECT_EQ(HelpUrl(QStringLiteral("nonsense")).fileName(), QStringLiteral("index.html"));
  EXPECT_TRUE(WhatsThisText(QStringLiteral("nonsense")).isEmpty());
}

TEST(Help, TheWindowShowsThePageOfATopic) {
  ShowHelp(nullptr, QStringLiteral("turtle"));
  QTextBrowser* browser = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("HelpWindow") && w->isVisible()) browser = w->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("вперед(d)")));
  if (const char* dir = std::getenv("TARMISY_SHOT_DIR"))
    browser->window()->grab().save(QString::fromUtf8(dir) + QStringLiteral("/help.png"));
  browser->window()->close();
}

TEST(About, SystemLineNamesTheDistributionAndTheKernel) {
  const QString debian = QStringLiteral("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n");
  EXPECT_EQ(OsDescription(debian, QStringLiteral("Linux"), QStringLiteral("6.1.0-18-amd64")),
            QStringLiteral("Debian GNU/Linux 12 (bookworm), ядро Linux 6.1.0-18-amd64"));
  EXPECT_EQ(OsDescription(QStringLiteral("NAME='Alt'\n"), QStringLiteral("Linux"), QStringLiteral("5.10")),
            QStringLiteral("Alt, ядро Linux 5.10"));
  EXPECT_EQ(OsDescription(QString(), QStringLiteral("Linux"), QStringLiteral("5.10")),
            QStringLiteral("Linux, ядро Linux 5.10"));
  EXPECT_EQ(AvailableMemoryKb(QStringLiteral("MemTotal: 100 kB\nMemFree:  5 kB\nMemAvailable:   81234 kB\n")), 81234);
  EXPECT_EQ(AvailableMemoryKb(QStringLiteral("MemTotal: 100 kB\n")), -1);
}

// The texts of the modal box that opens while show runs; the box is
// grabbed to name.png when TARMISY_SHOT_DIR is set, then closed.
QString BoxText(const std::function<void()>& show, const QString& name) {
  QString text;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    for (const QLabel* l : box->findChildren<QLabel*>()) text += l->text() + QLatin1Char('\n');
    if (const char* dir = std::getenv("TARMISY_SHOT_DIR"))
      box->grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
    box->close();
  });
  show();
  return text;
}

TEST(About, NamesTheProgramItsVersionAndTheSystem) {
  const QString text = BoxText([] { ShowAboutBox(nullptr); }, QStringLiteral("about"));
  EXPECT_TRUE(text.contains(QStringLiteral("Тармисы\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("Программа-тренажер для  обучения основам алгоритмизации")));
  EXPECT_TRUE(text.contains(QStringLiteral("Версия " TARMISY_TEST_VERSION "\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("ядро Linux ")));
  EXPECT_TRUE(text.contains(QStringLiteral(" Кб\n")));
  EXPECT_FALSE(BoxText([] { ShowAuthorBox(nullptr); }, QStringLiteral("author")).isEmpty());
}

TEST(TextFile, ShowsTheShippedLicence) {
  QString shown;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    if (auto* view = box->findChild<QPlainTextEdit*>()) shown = view->toPlainText();
    box->close();
  });
  ShowTextFile(nullptr, QStringLiteral("../license.txt"));
  EXPECT_TRUE(shown.contains(QStringLiteral("Permission is hereby granted")));
}

// Every glyph paints something inside its cell, at 1x and at 2x, and the
// 2x picture is drawn at its own resolution, not enlarged.
TEST(Glyphs, EveryNameDrawsAtBothPixelRatios) {
  const QStringList names = GlyphNames();
  ASSERT_GE(names.size(), 40);
  EXPECT_TRUE(Glyph("NoSuchBtn").isNull());
  const int cols = 8;
  const int cell = 48;
  QImage sheet(cols * cell * 2, ((names.size() + cols - 1) / cols) * cell, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  QPainter sp(&sheet);
  for (int i = 0; i < names.size(); ++i) {
    const QIcon icon = Glyph(names[i].toStdString());
    ASSERT_FALSE(icon.isNull()) << names[i].toStdString();
    const QPixmap one = icon.pixmap(QSize(21, 20), 1.0);
    const QPixmap two = icon.pixmap(QSize(21, 20), 2.0);
    EXPECT_EQ(two.size(), QSize(42, 40)) << names[i].toStdString();
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    const QImage img = two.toImage();
    int ink = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) ink += qAlpha(img.pixel(x, y)) > 128;
    EXPECT_GT(ink, 60) << names[i].toStdString();
    const int x = (i % cols) * cell * 2;
    const int y = (i / cols) * cell;
    sp.drawPixmap(x + 4, y + 4, one);
    QPixmap twoFlat = two;
    twoFlat.setDevicePixelRatio(1.0);
    sp.drawPixmap(x + 30, y + 4, twoFlat);
    sp.drawPixmap(x + 30 + 44, y + 4, icon.pixmap(QSize(21, 20), 1.0, QIcon::Disabled));
  }
  sp.end();
  if (const char* dir = std::getenv("TARMISY_SHOT_DIR")) {
    sheet.save(QString::fromUtf8(dir) + QStringLiteral("/glyphs.png"));
    AppIcon().pixmap(128, 128).save(QString::fromUtf8(dir) + QStringLiteral("/appicon.png"));
  }
  EXPECT_FALSE(AppIcon().pixmap(64, 64).isNull());
}

}  // namespace
