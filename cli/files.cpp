#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "string_table.h"

void KeepStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    const int opened = open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}

namespace {

// Why path, open as fd, is no file to read; empty when it is one.
std::string NotAFile(int fd, const std::string& shown, bool regularOnly) {
  struct stat st {};
  if (fstat(fd, &st) != 0) return FormatStr(sCliCannotRead, {shown});
  if (S_ISDIR(st.st_mode)) return FormatStr(sCliFolder, {shown});
  if (regularOnly && !S_ISREG(st.st_mode)) return FormatStr(sCliNotRegular, {shown});
  return std::string();
}

}  // namespace

bool ReadProgramFile(const std::string& path, const std::string& shown, std::string& bytes, std::string& error) {
  // Without O_NONBLOCK, opening a FIFO nobody writes to would wait for ever.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = FormatStr(sCliCannotRead, {shown});
    return false;
  }
  error = NotAFile(fd, shown, true);
  bytes.clear();
  char buf[65536];
  // One byte past the limit tells a file that is too large.
  while (error.empty() && static_cast<long>(bytes.size()) <= kMaxProgramBytes) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = FormatStr(sCliCannotRead, {shown});
    } else {
      bytes.append(buf, static_cast<size_t>(n));
    }
  }
  close(fd);
  if (error.empty() && static_cast<long>(bytes.size()) > kMaxProgramBytes)
    error = FormatStr(sCliProgramTooLarge, {shown, kMaxProgramBytes >> 20});
  if (!error.empty()) bytes.clear();
  return error.empty();
}

int OpenInputFile(const std::string& path, const std::string& shown, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = FormatStr(sCliCannotRead, {shown});
    return -1;
  }
  error = NotAFile(fd, shown, false);
  if (error.empty()) return fd;
  close(fd);
  return -1;
}

namespace {

bool Same(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && Same(sa, sb);
}

bool SameFile(const std::string& a, int fd) {
  struct stat sa {}, sb {};
  return stat(a.c_str(), &sa) == 0 && fstat(fd, &sb) == 0 && Same(sa, sb);
}

bool CanWrite(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return S_ISREG(st.st_mode) && access(path.c_str(), W_OK) == 0;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && access(folder.c_str(), W_OK) == 0;
}
