// tarmisy-run as a teacher's script sees it: exit statuses, the command
// line, encodings, input files, listings and interruption.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "encoding.h"

namespace {

namespace fs = std::filesystem;

struct TResult {
  int Status = -1;
  std::string Out, Err;
};

class Runner : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tarmisy-cli-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string File(const std::string& name, const std::string& bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Runs the runner with args (a shell fragment) and stdin from /dev/null
  // unless the fragment redirects it.
  TResult Run(const std::string& args, const std::string& prefix = "") {
    const fs::path out = dir_ / "out", err = dir_ / "err";
    const std::string cmd = prefix + std::string(TARMISY_RUN) + " " + args + " >" + out.string() + " 2>" +
                            err.string() + (args.find('<') == std::string::npos ? " </dev/null" : "");
    TResult r;
    const int status = std::system(cmd.c_str());
    r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = Read(out);
    r.Err = Read(err);
    return r;
  }

  fs::path dir_;
};

TEST_F(Runner, BadCommandLinesAndFiles) {
  TResult r = Run("");
  EXPECT_EQ(r.Status, 64);
  EXPECT_NE(r.Err.find("не указан файл программы"), std::string::npos);
  EXPECT_NE(r.Err.find("--listing"), std::string::npos);
  EXPECT_EQ(Run("--frobnicate x.prg").Status, 64);
  EXPECT_EQ(Run("--encoding koi8 x.prg").Status, 64);
  r = Run((dir_ / "missing.prg").string());
  EXPECT_EQ(r.Status, 64);
  EXPECT_NE(r.Err.find("не удалось прочитать файл"), std::string::npos);
  const std::string prg = File("p.prg", "главная { }\n");
  EXPECT_EQ(Run("--input " + (dir_ / "none.txt").string() + " " + prg).Status, 64);
}

TEST_F(Runner, TranslationAndRunTimeErrorsWithTheirLines) {
  TResult r = Run(File("t.prg", "главная {\n  целые a;\n  а = 1;\n}\n"));
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "3:3: Ошибка трансляции: не могу понять, что такое 'а'.\n");
  EXPECT_EQ(r.Out, "");
  r = Run(File("r.prg", "главная {\n  выводстр 1;\n  выводстр 1 / 0;\n}\n"));
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Out, "1\n");
  EXPECT_EQ(r.Err, "3: Ошибка при выполнении программы: деление на нуль.\n");
}

TEST_F(Runner, Windows1251ProgramsAndTerminals) {
  const std::string prg = File("w.prg", Utf8ToCp1251("главная { выводстр \"Привет\"; }\n"));
  TResult r = Run(prg);
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Привет\n");
  EXPECT_EQ(r.Err, "Выполнение программы завершено успешно.\n");
  r = Run("--encoding cp1251 " + prg);
  EXPECT_EQ(r.Out, Utf8ToCp1251("Привет\n"));
  EXPECT_EQ(r.Err, Utf8ToCp1251("Выполнение программы завершено успешно.\n"));
}

TEST_F(Runner, InputFromAFileIsEchoedOnItsOwnLine) {
  const std::string prg = File("i.prg", "главная { символы s[20]; вывод \"Имя? \"; ввод s; выводстр \"Привет, \", s; }\n");
  const std::string input = File("in.txt", "Маша\r\n");
  TResult r = Run("--input " + input + " " + prg);
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Имя? \nМаша\nПривет, Маша\n");
  r = Run(prg + " < " + input);
  EXPECT_EQ(r.Out, "Имя? \nМаша\nПривет, Маша\n");
  r = Run(prg);
  EXPECT_EQ(r.Status, 5);
  EXPECT_EQ(r.Err, "Программа остановлена пользователем.\n");
}

TEST_F(Runner, Listing) {
  const TResult r = Run("--listing " + File("l.prg", "главная {\n  выводстр 1;\n}\n"));
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "0 opNop\n1 opLine 0\n3 opLine 1\n5 opWrite {1}\n7 opWriteLn\n8 opLine 2\n10 opReturn\n11 opEnd\n");
  EXPECT_EQ(r.Err, "");
}

TEST_F(Runner, AnInterruptedRunEndsAsAStop) {
  const std::string prg = File("loop.prg", "главная { вывод \"x\"; пока (истина) { } }\n");
  const TResult r = Run(prg, "timeout --preserve-status -s INT 0.5 ");
  EXPECT_EQ(r.Status, 5);
  EXPECT_EQ(r.Out, "x\n");
  EXPECT_EQ(r.Err, "Программа остановлена пользователем.\n");
}

}  // namespace
