#include "localisation.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "encoding.h"
#include "string_table.h"

namespace {

constexpr size_t kKeySize = 100;
// A localisation file is a few hundred texts; anything far larger is not one.
constexpr std::streamoff kMaxFileSize = 16 << 20;

// The key: 100 bytes of a linear congruential generator with a fixed seed.
// Files scrambled with another key read as garbage and are left unused.
constexpr std::array<unsigned char, kKeySize> MakeKey() {
  std::array<unsigned char, kKeySize> key{};
  uint32_t state = 0x5A17;
  for (unsigned char& k : key) {
    state = state * 214013u + 2531011u;
    k = static_cast<unsigned char>((state >> 16) & 0xFF);
  }
  return key;
}

constexpr std::array<unsigned char, kKeySize> kKey = MakeKey();

// The conversions of the placeholders Format fills, in order.
std::string Conversions(std::string_view pattern) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    size_t j = i + 1;
    if (j < pattern.size() && pattern[j] == '%') {
      i = j;
      continue;
    }
    while (j < pattern.size() && (pattern[j] == '-' || pattern[j] == '0')) ++j;
    while (j < pattern.size() && IsDigitCp1251(static_cast<unsigned char>(pattern[j]))) ++j;
    if (j < pattern.size() && pattern[j] == '.')
      for (++j; j < pattern.size() && IsDigitCp1251(static_cast<unsigned char>(pattern[j]));) ++j;
    if (j >= pattern.size()) break;
    if (std::string_view("sdiuxfegc").find(pattern[j]) != std::string_view::npos) {
      out += pattern[j];
      i = j;
    }
  }
  return out;
}

// The text of an entry with its escapes resolved; false for an unknown
// escape or a control character.
bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (static_cast<unsigned char>(c) < 32) return false;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i >= text.size()) return false;
    switch (text[i]) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      default: return false;
    }
  }
  return true;
}

bool ParseId(std::string_view digits, int& id) {
  if (digits.empty() || digits.size() > 9) return false;
  id = 0;
  for (char c : digits) {
    if (!IsDigitCp1251(static_cast<unsigned char>(c))) return false;
    id = id * 10 + (c - '0');
  }
  return true;
}

}  // namespace

std::string ScrambleLocalisation(std::string_view bytes) {
  std::string out(bytes);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(out[i] ^ kKey[i % kKeySize]);
  return out;
}

bool SamePlaceholders(std::string_view builtin, std::string_view text) {
  return Conversions(builtin) == Conversions(text);
}

std::map<int, std::string> ParseLocalisation(std::string_view text, std::vector<TLocIssue>* issues) {
  std::map<int, std::string> entries;
  auto issue = [&](int line, TLocIssue::TKind kind, int id) {
    if (issues) issues->push_back({line, kind, id});
  };
  int lineNo = 0;
  for (size_t at = 0; at < text.size();) {
    ++lineNo;
    const size_t end = text.find('\n', at);
    // A last line without its line break was cut off: its text may be too.
    const bool complete = end != std::string_view::npos;
    std::string_view line = text.substr(at, complete ? end - at : std::string_view::npos);
    at = complete ? end + 1 : text.size();
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    int id = 0;
    std::string utf8;
    if (!complete || tab == std::string_view::npos || !ParseId(line.substr(0, tab), id) ||
        !Unescape(line.substr(tab + 1), utf8) || !IsValidUtf8(utf8)) {
      issue(lineNo, TLocIssue::Syntax, 0);
      continue;
    }
    if (!IsStrId(id)) {
      issue(lineNo, TLocIssue::UnknownId, id);
      continue;
    }
    std::string cp = Utf8ToCp1251(utf8);
    if (!SamePlaceholders(BuiltinStr(static_cast<TStrId>(id)), cp)) {
      issue(lineNo, TLocIssue::Placeholders, id);
      continue;
    }
    entries[id] = std::move(cp);
  }
  return entries;
}

void InstallLocalisation(std::map<int, std::string> entries) {
  if (entries.empty()) {
    SetLocalisation(nullptr);
    return;
  }
  SetLocalisation([entries = std::move(entries)](int id) {
    const auto it = entries.find(id);
    return it == entries.end() ? std::string() : it->second;
  });
}

bool LoadLocalisationFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxFileSize) return false;
  in.seekg(0);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return false;
  // Decoded in memory: the plain text never touches the disk.
  InstallLocalisation(ParseLocalisation(ScrambleLocalisation(bytes.str())));
  return true;
}

std::string LoadLocalisation(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string path = folder.back() == '/' ? folder + kLocalisationFileName
                                                  : folder + "/" + kLocalisationFileName;
    if (LoadLocalisationFile(path)) return path;
  }
  return {};
}
