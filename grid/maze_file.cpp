#include "maze_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "encoding.h"
#include "string_table.h"

namespace {

std::string ShownName(const std::string& fileName) { return Utf8ToCp1251(fileName); }

std::string WithAdvice(const std::string& first) {
  return FormatStr(sMazeTwoSentences, {first, Str(sMazeTryElsewhere)});
}

[[noreturn]] void SaveFailed(const std::string& fileName) {
  throw EMazeFileError(WithAdvice(FormatStr(sMazeSaveFailed, {ShownName(fileName)})));
}

// Closes a descriptor and removes a temporary file unless released.
class TTempFile {
 public:
  TTempFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~TTempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;
  int fd() const { return fd_; }
  bool Close() {
    const int r = ::close(fd_);
    fd_ = -1;
    return r == 0;
  }
  void Release() { path_.clear(); }

 private:
  int fd_;
  std::string path_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

TMaze ParseMaze(std::string_view bytes) {
  TMaze rows;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      rows.emplace_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) rows.emplace_back(bytes.substr(start));
  return rows;
}

std::string SerializeMaze(const TMaze& rows) {
  std::string out;
  size_t size = 0;
  for (const std::string& row : rows) size += row.size() + 2;
  out.reserve(size);
  for (const std::string& row : rows) {
    out += row;
    out += "\r\n";
  }
  return out;
}

long long NormalisedCells(const TMaze& rows) {
  const auto grown = [](long long side) {
    if (side >= kMinMazeSide) return side;
    const long long gap = kMinMazeSide - side;
    return side + 2 * (gap / 2 + gap % 2);
  };
  size_t width = 0;
  for (const std::string& row : rows) width = std::max(width, row.size());
  return grown(static_cast<long long>(width)) * grown(static_cast<long long>(rows.size()));
}

TMaze ReadMazeFile(const std::string& fileName) {
  const auto failed = [&] { return EMazeFileError(FormatStr(sMazeReadFailed, {ShownName(fileName)})); };
  const auto tooLarge = [&] {
    return EMazeFileError(FormatStr(sMazeTooLarge, {ShownName(fileName), kMaxMazeCells}));
  };
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw failed();
  TTempFile guard(fd, std::string());
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) throw failed();

  // Read at most one byte past the limit: enough to tell a too-large file,
  // and a device that never ends (a pipe, /dev/zero) cannot hold us.
  std::string bytes;
  char buf[65536];
  while (static_cast<long>(bytes.size()) <= kMaxMazeFileBytes) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw failed();
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
  }
  if (static_cast<long>(bytes.size()) > kMaxMazeFileBytes) throw tooLarge();
  // A text editor's UTF-8 signature is no part of the maze; left in, it
  // would push the top row three cells to the right.
  std::string_view text(bytes);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  TMaze rows = ParseMaze(text);
  if (NormalisedCells(rows) > kMaxMazeCells) throw tooLarge();
  return rows;
}

bool IsReadOnlyFile(const std::string& fileName) {
  struct stat st {};
  if (::stat(fileName.c_str(), &st) != 0) return false;
  // The permission bits first: a user with every right (root) would
  // otherwise overwrite a file its owner protected.
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return ::access(fileName.c_str(), W_OK) != 0;
}

void WriteFileSafely(const std::string& fileName, std::string_view bytes) {
  if (fileName.empty()) SaveFailed(fileName);
  // Through a symbolic link the target is replaced, not the link.
  std::string target = fileName;
  struct stat lst {};
  if (::lstat(fileName.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    char* resolved = ::realpath(fileName.c_str(), nullptr);
    if (!resolved) SaveFailed(fileName);
    target = resolved;
    std::free(resolved);
  }
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) SaveFailed(fileName);

  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string tmpl = folder + (slash == std::string::npos ? "/." : ".") + base + ".XXXXXX";
  const int fd = ::mkstemp(tmpl.data());
  if (fd < 0) SaveFailed(fileName);
  TTempFile temp(fd, tmpl);

  const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
  if (::fchmod(fd, mode) != 0) SaveFailed(fileName);
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0 || !temp.Close()) SaveFailed(fileName);
  if (::rename(tmpl.c_str(), target.c_str()) != 0) SaveFailed(fileName);
  temp.Release();

  // The rename itself reaches the disk with the folder; failing here no
  // longer endangers the old contents, so it is not reported.
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

void LoadMaze(TGrid& grid, const std::string& fileName) {
  grid.TaskMaze = ReadMazeFile(fileName);
  grid.Restore();
  grid.Modified = false;
}

std::optional<std::string> WriteMaze(TGrid& grid, const std::string& fileName) {
  if (IsReadOnlyFile(fileName))
    return WithAdvice(FormatStr(sMazeReadOnly, {ShownName(fileName)}));
  // The code goes into a copy: the working maze stays plain, so the
  // executor's and the editor's cell tests keep seeing 'b', 'p' and 'x'.
  TMaze stored = grid.WorkingMaze;
  grid.StoreGrondo(stored);
  try {
    WriteFileSafely(fileName, SerializeMaze(stored));
  } catch (const EMazeFileError& e) {
    return e.Message();
  }
  grid.TaskMaze = std::move(stored);
  grid.Modified = false;
  return std::nullopt;
}

std::string MazeCaption(const std::string& fileName) {
  const size_t slash = fileName.rfind('/');
  const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  return FormatStr(sMazeCaptionWithName, {Str(sMazeCaption), ShownName(name)});
}

TSaveMazeOutcome SaveMaze(TGrid& grid, std::string fileName, TMazeSaveDialogs& dialogs) {
  if (!fileName.empty() && IsReadOnlyFile(fileName)) {
    dialogs.ShowError(WithAdvice(FormatStr(sMazeReadOnly, {ShownName(fileName)})));
    fileName.clear();
  }
  for (;;) {
    if (fileName.empty()) {
      std::optional<std::string> chosen = dialogs.AskFileName();
      if (!chosen || chosen->empty()) return {smCancelled, std::string()};
      fileName = std::move(*chosen);
    }
    std::optional<std::string> error = WriteMaze(grid, fileName);
    if (!error) return {smSaved, fileName};
    dialogs.ShowError(*error);
    fileName.clear();
  }
}
