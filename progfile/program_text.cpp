#include "program_text.h"

#include <algorithm>

#include "encoding.h"

namespace {

// The 1-based numbers of the lines of UTF-8 text that hold a character
// without a Windows-1251 form (or a malformed sequence).
std::vector<int> LinesWithoutCp1251Form(std::string_view utf8) {
  std::vector<int> lossy;
  int line = 1;
  bool marked = false;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = utf8[i];
    if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      ++line;
      marked = false;
      ++i;
      continue;
    }
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    len = std::min(len, utf8.size() - i);
    // Converting one character on its own tells whether it has a form:
    // only '?' itself converts to '?'.
    if (!marked && Utf8ToCp1251(utf8.substr(i, len)) == "?") {
      lossy.push_back(line);
      marked = true;
    }
    i += len;
  }
  return lossy;
}

}  // namespace

TProgramText ReadProgramText(std::string_view bytes) {
  TProgramText t;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
    // With a byte-order mark the file says what it is, even when it holds
    // only ASCII.
    t.FromUtf8 = IsValidUtf8(bytes);
  } else {
    t.FromUtf8 = LooksLikeUtf8(bytes);
  }
  if (t.FromUtf8) {
    t.LossyLines = LinesWithoutCp1251Form(bytes);
    t.Lines = SplitLines(Utf8ToCp1251(bytes));
  } else {
    t.Lines = SplitLines(bytes);
  }
  return t;
}

std::string ProgramFileBytes(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const std::string& l : lines) size += l.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& l : lines) {
    bytes += l;
    bytes += "\r\n";
  }
  return bytes;
}

std::string_view FileNamePart(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsHtmlName(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string ext = LowerCase(name.substr(dot));
  return ext == ".htm" || ext == ".html";
}

std::string LineList(const std::vector<int>& lines) {
  std::string text;
  for (int n : lines) {
    if (!text.empty()) text += ", ";
    text += std::to_string(n);
  }
  return text;
}
