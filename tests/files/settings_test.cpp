// Settings and the file history through an INI file, as a fresh start and
// the next start after it would see them.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>

#include "encoding.h"
#include "file_man.h"
#include "qtext.h"
#include "scripted_boxes.h"
#include "settings.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir.filePath(name); }
  QString Touch(const QString& name) const {
    QFile f(Path(name));
    f.open(QIODevice::WriteOnly);
    return Path(name);
  }
  std::unique_ptr<QSettings> Store() const { return std::make_unique<QSettings>(Path("settings.ini"), QSettings::IniFormat); }
  TSettings Loaded() const {
    TSettings s;
    LoadSettings(*Store(), s);
    return s;
  }

  QTemporaryDir dir;
};

TEST_F(SettingsTest, FirstStartHasTheDefaults) {
  const TSettings s = Loaded();
  EXPECT_EQ(s.ExecutorKind, 0);
  EXPECT_EQ(s.Scale, 0);
  EXPECT_EQ(std::tie(s.CanvasWidth, s.CanvasHeight, s.OriginX, s.OriginY), std::make_tuple(600, 600, 200, 200));
  EXPECT_EQ(s.ProgramsFolder, QDir::homePath());
  EXPECT_EQ(s.TasksFolder, QDir::homePath());
  EXPECT_TRUE(s.History.Paths().isEmpty());
  EXPECT_EQ(s.Font.ToQFont().pixelSize(), 15);
}

TEST_F(SettingsTest, EverythingComesBackAsSaved) {
  TSettings s;
  s.CanvasWidth = 350;
  s.CanvasHeight = 120;
  s.OriginX = 0;
  s.OriginY = 600;
  s.ExecutorKind = 2;
  s.Scale = 5;
  s.ProgramsFolder = dir.path();
  s.Font = TEditorFont::FromQFont(QFont("Liberation Mono", 14, QFont::Bold, true), RGBColor(1, 2, 3));
  s.History.Add(Touch("a & b.prg"));
  SaveSettings(*Store(), s, false);
  const TSettings t = Loaded();
  EXPECT_EQ(std::tie(t.CanvasWidth, t.CanvasHeight, t.OriginX, t.OriginY, t.ExecutorKind, t.Scale),
            std::tie(s.CanvasWidth, s.CanvasHeight, s.OriginX, s.OriginY, s.ExecutorKind, s.Scale));
  EXPECT_EQ(t.ProgramsFolder, dir.path());
  EXPECT_EQ(std::tie(t.Font.Name, t.Font.Height, t.Font.Size, t.Font.Style, t.Font.Color),
            std::tie(s.Font.Name, s.Font.Height, s.Font.Size, s.Font.Style, s.Font.Color));
  EXPECT_EQ(t.History.Paths(), s.History.Paths());
  EXPECT_EQ(Store()->value("FileHistory/File1").toString(), "&1 " + Path("a & b.prg"));
  EXPECT_EQ(Store()->value("Font/Color").toInt(), 0x030201);  // as Windows keeps a colour
}

TEST_F(SettingsTest, MissingAndDamagedValuesAreSkippedOneByOne) {
  const struct {
    const char* key;
    QVariant value;
    int TSettings::*field;
    int expected;
  } cases[] = {
      {"Parameters/FieldWidth", "abc", &TSettings::CanvasWidth, 600},
      {"Parameters/FieldWidth", 5000, &TSettings::CanvasWidth, 600},
      {"Parameters/FieldHeight", 50, &TSettings::CanvasHeight, 100},
      {"Parameters/FieldHeight", -7, &TSettings::CanvasHeight, 100},
      {"Parameters/X0", 601, &TSettings::OriginX, 600},
      {"Parameters/Y0", "", &TSettings::OriginY, 200},
      {"Parameters/Scale", 7, &TSettings::Scale, 0},
      {"Parameters/Scale", 3, &TSettings::Scale, 3},
      {"Parameters/GrondoType", 5, &TSettings::ExecutorKind, 0},
      {"Parameters/GrondoType", "1", &TSettings::ExecutorKind, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    Store()->clear();
    {
      auto store = Store();
      store->setValue(c.key, c.value);
      store->setValue("Font/Height", "huge");  // damage elsewhere stops nothing
      store->setValue("Parameters/X0", c.key == QStringLiteral("Parameters/X0") ? c.value : QVariant(250));
    }
    const TSettings s = Loaded();
    EXPECT_EQ(s.*c.field, c.expected);
    EXPECT_EQ(s.Font.Height, -15);
    if (c.field != &TSettings::OriginX) {
      EXPECT_EQ(s.OriginX, 250);
    }
  }
}

TEST_F(SettingsTest, RememberedFirstFoldersWinAndGoneFoldersFallBackToHome) {
  QDir(dir.path()).mkdir("first");
  QDir(dir.path()).mkdir("last");
  TSettings s;
  s.ProgramsFolder = Path("first");
  s.TasksFolder = Path("gone");
  SaveSettings(*Store(), s, true);
  s.ProgramsFolder = Path("last");
  SaveSettings(*Store(), s, false);
  const TSettings t = Loaded();
  EXPECT_EQ(t.ProgramsFolder, Path("first"));
  EXPECT_EQ(t.TasksFolder, QDir::homePath());
}

TEST(FileHistory, MovesToTopAndKeepsFive) {
  TFileHistory h;
  h.Add("/a.prg");
  h.Add("/b.prg");
  h.Add("/a.prg");
  EXPECT_EQ(h.Paths(), (QStringList{"/a.prg", "/b.prg"}));
  for (int i = 1; i <= 6; ++i) h.Add(QString("/%1.prg").arg(i));
  EXPECT_EQ(h.Paths(), (QStringList{"/6.prg", "/5.prg", "/4.prg", "/3.prg", "/2.prg"}));
  EXPECT_EQ(TFileHistory::Caption(2, "/x & y.prg"), "&2 /x && y.prg");
}

TEST_F(SettingsTest, HistorySkipsMissingFilesRenumbersAndDropsStaleValues) {
  {
    auto store = Store();
    store->setValue("FileHistory/File1", "&1 " + Path("deleted.prg"));
    store->setValue("FileHistory/File2", "&2 " + Touch("kept.prg"));
    store->setValue("FileHistory/File3", "&3");
    store->setValue("FileHistory/File5", "&5 " + Touch("last.prg"));
  }
  TSettings s = Loaded();
  EXPECT_EQ(s.History.Paths(), (QStringList{Path("kept.prg"), Path("last.prg")}));
  SaveSettings(*Store(), s, false);
  auto store = Store();
  EXPECT_EQ(store->value("FileHistory/File1").toString(), "&1 " + Path("kept.prg"));
  EXPECT_EQ(store->value("FileHistory/File2").toString(), "&2 " + Path("last.prg"));
  // Past the last entry nothing is left to come back as a duplicate.
  EXPECT_FALSE(store->contains("FileHistory/File3"));
  EXPECT_FALSE(store->contains("FileHistory/File5"));
}

TEST_F(SettingsTest, HistoryMenuShowsEntriesAndReportsAFileThatIsGone) {
  TFileHistory h;
  h.Add(Touch("one.prg"));
  h.Add(Touch("R&D.prg"));
  QMenu menu;
  QAction* exit = menu.addAction("exit");
  TFileHistoryMenu history(&menu, exit, h);
  ASSERT_EQ(history.Actions().size(), 5);
  EXPECT_TRUE(history.Separator()->isVisible());
  EXPECT_EQ(history.Actions()[0]->text(), "&1 " + Path("R&&D.prg"));
  EXPECT_EQ(history.Actions()[0]->data().toString(), Path("R&D.prg"));
  EXPECT_FALSE(history.Actions()[2]->isVisible());
  EXPECT_EQ(menu.actions().last(), exit);

  QStringList opened;
  QObject::connect(&history, &TFileHistoryMenu::OpenRequested, [&](const QString& p) { opened << p; });
  TScriptedBoxes boxes;
  history.Actions()[1]->trigger();
  QFile::remove(Path("R&D.prg"));
  history.Actions()[0]->trigger();
  EXPECT_EQ(opened, QStringList{Path("one.prg")});
  EXPECT_EQ(boxes.Shown, QStringList{FromCp1251(Utf8ToCp1251("Файл ''")) + Path("R&D.prg") + FromCp1251(Utf8ToCp1251("'' не найден."))});
}

}  // namespace
