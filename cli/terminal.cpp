#include "terminal.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "encoding.h"

void TTerminalOut::Write(std::string_view text) {
  if (failed_) return;
  buffer_ += utf8_ ? Cp1251ToUtf8(text) : std::string(text);
  if (buffer_.size() >= 1 << 16) Flush();
}

bool TTerminalOut::Flush() {
  size_t done = 0;
  while (done < buffer_.size() && !failed_) {
    const ssize_t n = write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n >= 0) {
      done += static_cast<size_t>(n);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      // A descriptor someone made non-blocking: wait until it takes more.
      pollfd p{fd_, POLLOUT, 0};
      poll(&p, 1, 100);
    } else if (errno != EINTR) {
      failed_ = true;
    }
  }
  buffer_.clear();
  return !failed_;
}

bool TLineReader::ReadLine(std::string& line) {
  for (;;) {
    const size_t nl = pending_.find('\n');
    if (nl != std::string::npos || (eof_ && !pending_.empty())) {
      std::string raw = nl == std::string::npos ? pending_ : pending_.substr(0, nl);
      pending_.erase(0, nl == std::string::npos ? pending_.size() : nl + 1);
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      line = utf8_ ? Utf8ToCp1251(raw) : raw;
      return true;
    }
    if (eof_ || stop_.load()) return false;
    pollfd p{fd_, POLLIN, 0};
    const int ready = poll(&p, 1, 100);
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0) continue;
    char buf[4096];
    const ssize_t n = read(fd_, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      eof_ = true;
    } else if (n == 0) {
      eof_ = true;
    } else {
      pending_.append(buf, static_cast<size_t>(n));
    }
  }
}
