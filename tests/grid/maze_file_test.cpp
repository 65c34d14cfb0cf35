#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "encoding.h"
#include "maze_file.h"

namespace fs = std::filesystem;

namespace {

std::string U(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

class MazeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("maze_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::all, ec);
    fs::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  size_t FilesInDir() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

TEST(MazeParse, EveryLineEndAndNoFinalEmptyRow) {
  EXPECT_EQ(ParseMaze("ab\r\ncd\ref\ngh"), (TMaze{"ab", "cd", "ef", "gh"}));
  EXPECT_EQ(ParseMaze("ab\r\n"), (TMaze{"ab"}));
  EXPECT_EQ(ParseMaze("a\r\rb\n\n"), (TMaze{"a", "", "b", ""}));
  EXPECT_EQ(ParseMaze("\n\r\n"), (TMaze{"", ""}));
  EXPECT_EQ(ParseMaze(""), TMaze{});
  EXPECT_EQ(ParseMaze(std::string("a\0b\xFF", 4)), (TMaze{std::string("a\0b\xFF", 4)}));
}

TEST(MazeParse, WriterEndsEveryRowWithCrLf) {
  EXPECT_EQ(SerializeMaze({"w.x", "", "B"}), "w.x\r\n\r\nB\r\n");
  EXPECT_EQ(SerializeMaze({}), "");
  const TMaze rows = {"ww\x01\xE9", "", "0", std::string(1, '\0')};
  EXPECT_EQ(ParseMaze(SerializeMaze(rows)), rows);
}

TEST(MazeParse, NormalisedCellCount) {
  EXPECT_EQ(NormalisedCells({}), 100);
  EXPECT_EQ(NormalisedCells({"abc"}), 121);
  EXPECT_EQ(NormalisedCells(TMaze(12, std::string(5000, 'w'))), 60000);
}

TEST(MazeCaption, NameWithoutFolder) {
  EXPECT_EQ(U(MazeCaption("/home/pupil/задачи/лабиринт 1.maz")), "Задача для Грондо: лабиринт 1.maz");
  EXPECT_EQ(U(MazeCaption("a.maz")), "Задача для Грондо: a.maz");
}

TEST_F(MazeFileTest, ReadsWhatItWroteWithStrangeBytes) {
  TGrid g;
  g.TaskMaze = {"w.x\x80\xFF", std::string("p\0b", 3), "\xC0\xDF"};
  g.Restore();
  ASSERT_FALSE(WriteMaze(g, Path("t.maz")));
  TGrid h;
  LoadMaze(h, Path("t.maz"));
  EXPECT_EQ(h.WorkingMaze, g.WorkingMaze);
}

TEST_F(MazeFileTest, Utf8SignatureIsNoPartOfTheMaze) {
  Put(Path("bom.maz"), "\xEF\xBB\xBFw.x\r\n\xEF\xBB\xBF\r\n");
  EXPECT_EQ(ReadMazeFile(Path("bom.maz")), (TMaze{"w.x", "\xEF\xBB\xBF"}));
}

TEST_F(MazeFileTest, UnreadableFilesLeaveTheTaskAlone) {
  TGrid g;
  g.TaskMaze = {"keep"};
  try {
    LoadMaze(g, Path("missing.maz"));
    FAIL() << "no error";
  } catch (const EMazeFileError& e) {
    EXPECT_EQ(U(e.Message()), "Не удалось прочитать файл ''" + Path("missing.maz") + "''.");
  }
  EXPECT_THROW(LoadMaze(g, dir_.string()), EMazeFileError);
  EXPECT_EQ(g.TaskMaze, TMaze{"keep"});
}

TEST_F(MazeFileTest, HugeFilesAreRefusedWideOnesAccepted) {
  Put(Path("wide.maz"), std::string(5000, 'w') + "\r\n0\r\n");
  TGrid g;
  LoadMaze(g, Path("wide.maz"));
  EXPECT_EQ(g.FieldCols, 5000);
  EXPECT_EQ(g.FieldRows, 10);
  EXPECT_TRUE(g.HasGrondo());

  Put(Path("square.maz"), SerializeMaze(TMaze(401, std::string(400, '.'))));
  try {
    LoadMaze(g, Path("square.maz"));
    FAIL() << "no error";
  } catch (const EMazeFileError& e) {
    EXPECT_EQ(U(e.Message()), "Файл ''" + Path("square.maz") +
                                  "'' слишком велик: в задаче для Грондо может быть не более 160000 клеток.");
  }
  Put(Path("long.maz"), std::string(kMaxMazeFileBytes + 1, 'w'));
  EXPECT_THROW(LoadMaze(g, Path("long.maz")), EMazeFileError);
  EXPECT_EQ(g.FieldCols, 5000);  // the earlier task stays
}

TEST_F(MazeFileTest, GrondoOnBaseIsSavedAndRestored) {
  TGrid g;
  g.TaskMaze = {".........."};
  g.Restore();
  g.WorkingMaze[5][4] = 'b';
  g.GrondoX = 4;
  g.GrondoY = 5;
  g.GrondoDir = 0;
  ASSERT_FALSE(WriteMaze(g, Path("b.maz")));
  const TMaze file = ParseMaze(Get(Path("b.maz")));
  EXPECT_EQ(file[5], "....B.....");
  EXPECT_EQ(Get(Path("b.maz")).substr(0, 12), "..........\r\n");
  EXPECT_EQ(g.TaskMaze[5][4], 'B');
  EXPECT_EQ(g.WorkingMaze[5][4], 'b');

  g.GrondoX = g.GrondoY = -1;
  g.Restore();
  EXPECT_EQ(g.GrondoX, 4);
  EXPECT_EQ(g.BaseX, 4);
}

TEST_F(MazeFileTest, WithoutGrondoNoCodeIsWritten) {
  TGrid g;
  g.TaskMaze = {"b.x.p.w..."};
  g.Restore();
  ASSERT_FALSE(WriteMaze(g, Path("n.maz")));
  for (char c : Get(Path("n.maz"))) EXPECT_TRUE(std::string(".bxpw\r\n").find(c) != std::string::npos) << c;
}

TEST_F(MazeFileTest, ReadOnlyFileIsNotTouched) {
  Put(Path("ro.maz"), "old\r\n");
  fs::permissions(Path("ro.maz"), fs::perms::owner_read | fs::perms::group_read);
  TGrid g;
  g.Restore();
  const auto message = WriteMaze(g, Path("ro.maz"));
  ASSERT_TRUE(message);
  EXPECT_EQ(U(*message), "Файл ''" + Path("ro.maz") +
                             "'' существует и доступен только для чтения. "
                             "Попробуйте сохранить его в другом месте или с другим именем.");
  EXPECT_EQ(Get(Path("ro.maz")), "old\r\n");
}

TEST_F(MazeFileTest, FailedWriteKeepsTheOldFileAndLeavesNoLitter) {
  const std::string old = SerializeMaze(TMaze(10, "w.w.w.w.w."));
  Put(Path("keep.maz"), old);
  TGrid g;
  g.TaskMaze = TMaze(50, std::string(50, 'x'));
  g.Restore();
  const TMaze taskBefore = g.TaskMaze;

  // The disk "fills up" after 100 bytes of the new contents.
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit before{};
  ::getrlimit(RLIMIT_FSIZE, &before);
  rlimit small = before;
  small.rlim_cur = 100;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const auto message = WriteMaze(g, Path("keep.maz"));
  ::setrlimit(RLIMIT_FSIZE, &before);

  ASSERT_TRUE(message);
  EXPECT_EQ(U(*message), "Не удалось сохранить файл с именем ''" + Path("keep.maz") +
                             "''. Попробуйте сохранить его в другом месте или с другим именем.");
  EXPECT_EQ(Get(Path("keep.maz")), old);
  EXPECT_EQ(FilesInDir(), 1u);
  EXPECT_EQ(g.TaskMaze, taskBefore);
}

TEST_F(MazeFileTest, SaveIntoMissingFolderFails) {
  TGrid g;
  g.Restore();
  EXPECT_TRUE(WriteMaze(g, Path("no/such/folder/a.maz")));
  EXPECT_TRUE(WriteMaze(g, dir_.string()));  // a folder is not a file to replace
  EXPECT_TRUE(fs::is_directory(dir_));
}

TEST_F(MazeFileTest, ReplacingKeepsPermissionsAndSymbolicLinks) {
  Put(Path("real.maz"), "old\r\n");
  fs::permissions(Path("real.maz"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  fs::create_symlink(Path("real.maz"), Path("link.maz"));
  TGrid g;
  g.Restore();
  ASSERT_FALSE(WriteMaze(g, Path("link.maz")));
  EXPECT_TRUE(fs::is_symlink(Path("link.maz")));
  EXPECT_EQ(Get(Path("real.maz")), SerializeMaze(g.WorkingMaze));
  EXPECT_EQ(fs::status(Path("real.maz")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  EXPECT_EQ(FilesInDir(), 2u);
}

// Answers the save dialog from a list and keeps the messages shown.
class FakeDialogs : public TMazeSaveDialogs {
 public:
  std::deque<std::optional<std::string>> names;
  std::vector<std::string> shown;
  int asked = 0;
  std::optional<std::string> AskFileName() override {
    ++asked;
    if (names.empty()) return std::nullopt;
    auto n = names.front();
    names.pop_front();
    return n;
  }
  void ShowError(const std::string& message) override { shown.push_back(U(message)); }
};

TEST_F(MazeFileTest, SaveAsksAgainAfterEachFailureUntilSavedOrCancelled) {
  Put(Path("ro.maz"), "old");
  fs::permissions(Path("ro.maz"), fs::perms::owner_read);
  TGrid g;
  g.TaskMaze = {"2"};
  g.Restore();
  g.Modified = true;

  FakeDialogs d;
  d.names = {Path("no/dir.maz"), Path("ok.maz")};
  const TSaveMazeOutcome out = SaveMaze(g, Path("ro.maz"), d);
  EXPECT_EQ(out.Result, smSaved);
  EXPECT_EQ(out.FileName, Path("ok.maz"));
  ASSERT_EQ(d.shown.size(), 2u);
  EXPECT_EQ(d.shown[0].rfind("Файл ''" + Path("ro.maz") + "'' существует", 0), 0u);
  EXPECT_EQ(d.shown[1].rfind("Не удалось сохранить файл с именем ''" + Path("no/dir.maz"), 0), 0u);
  EXPECT_FALSE(g.Modified);
  EXPECT_EQ(ParseMaze(Get(Path("ok.maz")))[5][5], '2');

  FakeDialogs cancel;
  EXPECT_EQ(SaveMaze(g, "", cancel).Result, smCancelled);
  EXPECT_EQ(cancel.asked, 1);

  FakeDialogs direct;
  EXPECT_EQ(SaveMaze(g, Path("ok.maz"), direct).Result, smSaved);
  EXPECT_EQ(direct.asked, 0);
}

}  // namespace
