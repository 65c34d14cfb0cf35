// tarmisy-run when its files and streams are not what a script assumes:
// closed descriptors, a full disk, a reader that goes away, devices,
// FIFOs and folders where files belong, a picture path that names an input.
#include <gtest/gtest.h>

#include "runner_fixture.h"

namespace {

constexpr char kStopped[] = "Программа остановлена пользователем.\n";
constexpr char kOutputFailed[] = "tarmisy-run: не удалось записать текст консоли в стандартный вывод\n";

class Files : public Runner {
 protected:
  void SetUp() override {
    Runner::SetUp();
    File("p.prg", "главная { выводстр 1; }\n");
    File("read.prg", "главная { целые n; ввод n; выводстр n; }\n");
    File("loop.prg", "главная { пока (истина) выводстр 1; }\n");
    File("r.maz", "wwww\r\nwD.w\r\nwwww\r\n");
    File("in.txt", "5\n");
  }
};

TEST_F(Files, ClosedStandardDescriptorsAreNeverTakenByAnotherFile) {
  // With Qt started, its event descriptor took descriptor 0 and the read waited on it for ever.
  TResult r = Sh("timeout -s KILL 20 \"$RUN\" --executor turtle read.prg <&-");
  EXPECT_EQ(r.Status, 5);
  EXPECT_EQ(r.Err, kStopped);
  r = Sh("timeout -s KILL 20 \"$RUN\" --executor turtle p.prg 2>&-");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "1\n");
}

TEST_F(Files, ConsoleTextThatCannotBeWrittenFailsTheRun) {
  for (const char* redirect : {">/dev/full", ">&-"}) {
    const TResult r = Sh(std::string("\"$RUN\" p.prg ") + redirect);
    EXPECT_EQ(r.Status, 64) << redirect;
    EXPECT_EQ(r.Err, kOutputFailed) << redirect;
  }
  // A reader that goes away stops a program that prints for ever.
  const TResult r = Sh("trap '' PIPE\ntimeout -s KILL 20 \"$RUN\" loop.prg | head -c1 >/dev/null\nexit ${PIPESTATUS[0]}");
  EXPECT_EQ(r.Status, 64);
  EXPECT_EQ(r.Err, kOutputFailed);
}

TEST_F(Files, APictureNeverReplacesAnInput) {
  const std::string cases[] = {
      "--png p.prg p.prg",
      "--task r.maz --png r.maz p.prg",
      "--input in.txt --png in.txt read.prg",
      "--png in.txt read.prg <in.txt",
      "--png alias.prg p.prg",  // a hard link is the same file
  };
  fs::create_hard_link(dir_ / "p.prg", dir_ / "alias.prg");
  for (const std::string& args : cases) {
    const TResult r = Sh("\"$RUN\" " + args);
    EXPECT_EQ(r.Status, 64) << args;
    EXPECT_NE(r.Err.find("это входной файл"), std::string::npos) << args;
  }
  EXPECT_EQ(Read(dir_ / "p.prg"), "главная { выводстр 1; }\n");
  EXPECT_EQ(Read(dir_ / "r.maz"), "wwww\r\nwD.w\r\nwwww\r\n");
  EXPECT_EQ(Read(dir_ / "in.txt"), "5\n");
}

TEST_F(Files, APictureThatCannotBeWrittenLeavesTheOldOne) {
  File("old.png", "an older picture");
  // A file size limit stands in for a full disk.
  const TResult r = Sh("trap '' XFSZ\nulimit -f 1\n\"$RUN\" --task r.maz --scale 5 --png old.png p.prg");
  EXPECT_EQ(r.Status, 64);
  EXPECT_EQ(r.Err, "tarmisy-run: не удалось записать файл old.png\nВыполнение программы завершено успешно.\n");
  EXPECT_EQ(Read(dir_ / "old.png"), "an older picture");
  EXPECT_EQ(Sh("\"$RUN\" --task r.maz --png old.png p.prg").Status, 0);
  EXPECT_EQ(Read(dir_ / "old.png").substr(1, 3), "PNG");
}

TEST_F(Files, ProgramsThatAreNoFilesOrTooLarge) {
  File("big.prg", std::string(16 << 20, ' ') + "главная { }\n");
  File("word.prg", std::string(100000, 'a'));
  fs::create_directory(dir_ / "folder");
  const struct {
    std::string args, message;
  } cases[] = {
      {"/dev/zero", "не удалось прочитать файл /dev/zero: это не обычный файл\n"},
      {"fifo", "не удалось прочитать файл fifo: это не обычный файл\n"},
      {"folder", "не удалось прочитать файл folder: это папка\n"},
      {"--input folder p.prg", "не удалось прочитать файл folder: это папка\n"},
      {"big.prg", "не удалось прочитать файл big.prg: программа больше 16 МБ\n"},
  };
  for (const auto& c : cases) {
    const TResult r = Sh("mkfifo fifo 2>/dev/null\ntimeout -s KILL 20 \"$RUN\" " + c.args);
    EXPECT_EQ(r.Status, 64) << c.args;
    EXPECT_EQ(r.Err, "tarmisy-run: " + c.message) << c.args;
  }
  // A word of a hundred thousand letters is cut in the message.
  const TResult r = Sh("\"$RUN\" word.prg");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find(" '" + std::string(47, 'a') + "..." + std::string(6, 'a') + "'.\n"), std::string::npos);
  EXPECT_LT(r.Err.size(), 300u);
}

TEST_F(Files, OptionsInAnyOrderAndStrictNumbers) {
  for (const char* args : {"--executor turtle --task r.maz p.prg", "--task r.maz --executor turtle p.prg"}) {
    const TResult r = Sh(std::string("\"$RUN\" ") + args);
    EXPECT_EQ(r.Status, 64) << args;
    EXPECT_EQ(r.Err.rfind("tarmisy-run: задача (--task) бывает только у исполнителя grondo\n", 0), 0u) << args;
  }
  File("g.prg", "главная { направо; }\n");
  const TResult r = Sh("\"$RUN\" --task r.maz --executor grondo g.prg");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Err, "Задача решена верно. Грондо выполнил задание и вернулся на базу.\n");
  for (const char* value : {"' 1'", "+1", "''", "1x"})
    EXPECT_EQ(Sh(std::string("\"$RUN\" --scale ") + value + " p.prg").Status, 64) << value;
  EXPECT_EQ(Sh("\"$RUN\" --origin -5,7 p.prg").Status, 0);
}

TEST_F(Files, HangUpEndsTheRunAsAStopWithItsReportAndPicture) {
  const TResult r = Sh("timeout --preserve-status -s HUP 1 \"$RUN\" --task r.maz --png pic.png loop.prg >/dev/null\nexit $?");
  EXPECT_EQ(r.Status, 5);
  EXPECT_EQ(r.Err, kStopped);
  EXPECT_TRUE(fs::exists(dir_ / "pic.png"));
}

TEST_F(Files, ANulByteIsShownEscaped) {
  File("nul.prg", std::string("главная {\n  ") + '\0' + ";\n}\n");
  const TResult r = Sh("\"$RUN\" nul.prg");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "2:3: Ошибка трансляции: не могу понять, что такое '\\0'.\n");
}

}  // namespace
