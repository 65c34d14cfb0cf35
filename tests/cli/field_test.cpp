// tarmisy-run with its executors: the pictures --png writes, Grondo's tasks
// and the options of the field.
#include <gtest/gtest.h>

#include <QImage>

#include <chrono>

#include "canvas.h"
#include "field.h"
#include "grid.h"
#include "maze_file.h"
#include "runner_fixture.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

// A ring around a block of walls: Grondo on the base at the top left facing
// right, two garden beds to his right.
const char* const kRing =
    "wwwwww\r\n"
    "wDxx.w\r\n"
    "w.ww.w\r\n"
    "w....w\r\n"
    "wwwwww\r\n";

class Field : public Runner {
 protected:
  QImage Png(const std::string& name) {
    return QImage(QString::fromStdString((dir_ / name).string())).convertToFormat(QImage::Format_RGB32);
  }

  // The picture of the ring task after a run, drawn here from the rows the
  // field should hold then.
  static QImage Expected(const std::string& rows, int scale) {
    TGrid grid;
    grid.TaskMaze = ParseMaze(rows);
    grid.Restore();
    return RenderField(grid, scale).convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(Field, TurtlePictureHasTheCanvasSizeAndTheLine) {
  // Up 100 from the origin: the column of the origin, rows 50..150.
  const std::string prg = File("line.prg", "главная { опусти_перо; вперед(100); }\n");
  const std::string png = (dir_ / "t.png").string();
  TResult r = Run("--field 300x200 --origin 100,150 --png " + png + " " + prg);
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Err, "Выполнение программы завершено успешно.\n");
  QImage image = Png("t.png");
  ASSERT_EQ(image.size(), QSize(300, 200));
  EXPECT_NE(image.pixel(100, 100), kWhite);
  EXPECT_NE(image.pixel(100, 60), kWhite);
  EXPECT_EQ(image.pixel(100, 160), kWhite);
  EXPECT_EQ(image.pixel(200, 100), kWhite);

  // Scale 3 (50%) halves the canvas as the field pane does; the thin line
  // survives the shrinking.
  EXPECT_EQ(Run("--field 300x200 --origin 100,150 --scale 3 --png " + png + " " + prg).Status, 0);
  image = Png("t.png");
  ASSERT_EQ(image.size(), QSize(150, 100));
  EXPECT_NE(image.pixel(50, 50), kWhite);
  EXPECT_EQ(image.pixel(100, 50), kWhite);

  // The default canvas is 600 x 600 with the origin at (200, 200).
  EXPECT_EQ(Run("--png " + png + " " + prg).Status, 0);
  image = Png("t.png");
  ASSERT_EQ(image.size(), QSize(600, 600));
  EXPECT_NE(image.pixel(200, 150), kWhite);
  EXPECT_EQ(image.pixel(300, 150), kWhite);
}

TEST_F(Field, DrawerPictureAndItsErrorAtTheEdge) {
  const std::string prg =
      File("d.prg", "главная {\n  опусти_перо;\n  в_точку(50, 0);\n  в_точку(500, 0);\n}\n");
  const std::string png = (dir_ / "d.png").string();
  const TResult r = Run("--executor drawer --field 200x100 --origin 100,50 --png " + png + " " + prg);
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Err, "4: Ошибка исполнителя: Не могу идти дальше\n");
  // The picture is written after an error too: the line up to the edge.
  const QImage image = Png("d.png");
  ASSERT_EQ(image.size(), QSize(200, 100));
  EXPECT_NE(image.pixel(120, 50), kWhite);
  EXPECT_NE(image.pixel(190, 50), kWhite);
  EXPECT_EQ(image.pixel(120, 80), kWhite);
}

TEST_F(Field, GrondoPictureShowsWhereHeStoppedAtAnyScale) {
  const std::string task = File("ring.maz", kRing);
  // Plants the first bed, steps onto the second, turns down and walks into
  // the wall of the inner block.
  const std::string prg = File("g.prg", "главная {\n  вперед(1);\n  посади;\n  вперед(1);\n  направо;\n  вперед(1);\n}\n");
  const std::string png = (dir_ / "g.png").string();
  TResult r = Run("--task " + task + " --png " + png + " " + prg);
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Err, "6: Ошибка исполнителя: не могу ходить сквозь стену\n");
  // Grondo on the second bed facing down ('\\'), the first one planted.
  const std::string stopped = "wwwwww\nwbp\\.w\nw.ww.w\nw....w\nwwwwww\n";
  QImage image = Png("g.png");
  EXPECT_EQ(image.size(), FieldBitmapSize(10, 11, 0));
  EXPECT_TRUE(image == Expected(stopped, 0));
  EXPECT_FALSE(image == Expected(kRing, 0));

  r = Run("--task " + task + " --scale 4 --png " + png + " " + prg);
  EXPECT_EQ(r.Status, 2);
  image = Png("g.png");
  EXPECT_EQ(image.size(), FieldBitmapSize(10, 11, 4));
  EXPECT_TRUE(image == Expected(stopped, 4));
}

TEST_F(Field, GrondoVerdictsAndTheirPictures) {
  const std::string task = File("ring.maz", kRing);
  const std::string png = (dir_ / "v.png").string();
  TResult r = Run("--task " + task + " --png " + png + " " +
                  File("half.prg", "главная { вперед(1); посади; вперед(1); }\n"));
  EXPECT_EQ(r.Status, 3);
  EXPECT_EQ(r.Err,
            "Задача решена неверно. Обнаружены следующие ошибки:\n"
            "    - не обработано клеток: 1 шт.\n"
            "    - Грондо не пришел на базу\n");
  EXPECT_TRUE(Png("v.png") == Expected("wwwwww\nwbpZ.w\nw.ww.w\nw....w\nwwwwww\n", 0));

  // A program that does not translate leaves the field as the run would
  // have started on it, replacing the picture of the run before.
  r = Run("--task " + task + " --png " + png + " " + File("bad.prg", "главная { вперед(1) }\n"));
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(Png("v.png") == Expected(kRing, 0));

  // Solved: both beds planted and Grondo back on the base.
  r = Run("--task " + task + " " +
          File("ring.prg",
               "главная {\n  повтори (4) {\n    пока (впереди_свободно) { вперед(1); если (грядка) посади; }\n"
               "    направо;\n  }\n}\n"));
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Err, "Задача решена верно. Грондо выполнил задание и вернулся на базу.\n");
}

TEST_F(Field, GrondoWithoutATaskHasAnEmptyField) {
  const std::string png = (dir_ / "e.png").string();
  const TResult r = Run("--executor grondo --png " + png + " " + File("e.prg", "главная { налево; }\n"));
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Err, "1: Ошибка исполнителя: позиция Грондо не определена\n");
  EXPECT_EQ(Png("e.png").size(), FieldBitmapSize(10, 10, 0));
}

TEST_F(Field, BadFieldOptionsAndFilesCostNoRun) {
  const std::string prg = File("p.prg", "главная { выводстр \"запуск\"; }\n");
  TResult r = Run("--png " + (dir_ / "none" / "x.png").string() + " " + prg);
  EXPECT_EQ(r.Status, 64);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find("не удалось записать файл"), std::string::npos);
  r = Run("--task " + (dir_ / "none.maz").string() + " " + prg);
  EXPECT_EQ(r.Status, 64);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find("Не удалось прочитать файл"), std::string::npos);
  r = Run("--task " + File("t.maz", kRing) + " --executor turtle " + prg);
  EXPECT_EQ(r.Status, 64);
  EXPECT_NE(r.Err.find("--task"), std::string::npos);
  EXPECT_EQ(Run("--field 0x100 " + prg).Status, 64);
  EXPECT_EQ(Run("--field 20000x100 " + prg).Status, 64);
  EXPECT_EQ(Run("--field 100 " + prg).Status, 64);
  EXPECT_EQ(Run("--origin 10 " + prg).Status, 64);
  EXPECT_EQ(Run("--scale 6 " + prg).Status, 64);
  // A Cyrillic file name is shown as it was typed.
  r = Run(std::string("задача.prg"));
  EXPECT_EQ(r.Status, 64);
  EXPECT_NE(r.Err.find("задача.prg"), std::string::npos);
}

TEST_F(Field, HelpTellsTheOptionsAndStatuses) {
  const TResult r = Run("--help");
  EXPECT_EQ(r.Status, 0);
  EXPECT_NE(r.Out.find("--png"), std::string::npos);
  for (const char* status : {"\n  0  программа завершилась", "\n  1  ошибка трансляции", "\n  2  ошибка выполнения",
                             "\n  3  задача Грондо не решена", "\n  5  программа остановлена", "\n  64 неверная"})
    EXPECT_NE(r.Out.find(status), std::string::npos) << status;
  EXPECT_EQ(r.Err, "");
}

// Text needs fonts, which the runner sets up only for a program that
// writes text; the picture must be what the window's canvas draws.
TEST_F(Field, TextOnTheFieldIsDrawnAsTheWindowDrawsIt) {
  TCanvas canvas(200, 100, 0, 0);
  canvas.TextOut(10, 20, "\xcf\xf0\xe8\xe2\xe5\xf2");  // "Привет" in Windows-1251
  const QImage expected = canvas.Bitmap();
  const struct {
    const char* executor;
    const char* program;
  } cases[] = {
      {"turtle", "главная { Текст(10, 20, \"Привет\"); }\n"},
      {"drawer", "главная { TextOut(10, 20, \"Привет\"); }\n"},
      {"turtle", "главная { надпись; }\nнадпись { Текст(10, 20, \"Привет\"); }\n"},
  };
  const std::string png = (dir_ / "text.png").string();
  for (const auto& c : cases) {
    const TResult r = Run("--executor " + std::string(c.executor) + " --field 200x100 --origin 0,0 --png " + png +
                          " " + File("text.prg", c.program));
    EXPECT_EQ(r.Err, "Выполнение программы завершено успешно.\n") << c.program;
    EXPECT_TRUE(Png("text.png") == expected) << c.program;
  }
}

// The pictures say 96 dots per inch whether or not the run needed fonts.
TEST_F(Field, PicturesKeepTheirResolution) {
  const std::string png = (dir_ / "r.png").string();
  for (const char* options : {"--executor turtle", "--executor grondo", "--executor drawer --scale 2"}) {
    ASSERT_EQ(Run(std::string(options) + " --png " + png + " " + File("e.prg", "главная { }\n")).Status, 0);
    const QImage image(QString::fromStdString(png));
    EXPECT_EQ(image.dotsPerMeterX(), 3780) << options;
    EXPECT_EQ(image.dotsPerMeterY(), 3780) << options;
  }
}

// The runner hands runs that draw to its drawing companion; without it,
// only those fail, and they say what is missing.
TEST_F(Field, RunsThatDrawNeedTheDrawingRunner) {
  fs::create_directories(dir_ / "alone");
  const fs::path alone = dir_ / "alone" / "tarmisy-run";
  fs::copy_file(TARMISY_RUN, alone);
  const std::string png = (dir_ / "a.png").string();
  const struct {
    const char* program;
    const char* options;
    int status;
    const char* out;
  } cases[] = {
      {"главная { выводстр \"да\"; }\n", "", 0, "да\n"},
      {"главная { вперед(10); }\n", "", 64, ""},
      {"главная { }\n", "--png ", 64, ""},
  };
  for (const auto& c : cases) {
    const std::string options = *c.options ? std::string(c.options) + png + " " : "";
    const TResult r = Sh("'" + alone.string() + "' " + options + File("a.prg", c.program));
    EXPECT_EQ(r.Status, c.status) << c.program;
    EXPECT_EQ(r.Out, c.out) << c.program;
    EXPECT_EQ(r.Err.find("tarmisy-run-draw") != std::string::npos, c.status == 64) << r.Err;
  }
  EXPECT_FALSE(fs::exists(png));
}

TEST_F(Field, GrondoPausesOnlyWhenAnimated) {
  const std::string task = File("ring.maz", kRing);
  using Clock = std::chrono::steady_clock;
  auto start = Clock::now();
  EXPECT_EQ(Run("--task " + task + " --animate " + File("walk.prg", "главная { вперед(3); }\n")).Status, 3);
  // Two pauses between the steps and one after the walk.
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(500));
  // Twenty quarter turns would take four seconds animated.
  start = Clock::now();
  EXPECT_EQ(Run("--task " + task + " " + File("turn.prg", "главная { повтори (20) налево; }\n")).Status, 3);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
}

}  // namespace
