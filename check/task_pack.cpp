#include "task_pack.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "encoding.h"
#include "texts.h"

namespace fs = std::filesystem;

namespace {

bool HasExtension(const fs::path& p, const char* ext) {
  std::string e = p.extension().string();
  std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return e == ext;
}

std::vector<fs::path> SortedFiles(const fs::path& folder, const char* ext) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.is_regular_file(ec) && HasExtension(entry.path(), ext)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return !in.bad();
}

std::string TextAsUtf8(const std::string& bytes) {
  std::string_view text = bytes;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::string utf8 = IsValidUtf8(text) ? std::string(text) : Cp1251ToUtf8(text);
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r') {
      out += '\n';
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

bool LoadTaskPack(const std::string& path, TTaskPack& pack, std::string& error) {
  pack = TTaskPack();
  const fs::path p(path);
  std::error_code ec;
  pack.Name = p.filename().empty() ? p.parent_path().filename().string() : p.filename().string();
  if (fs::is_regular_file(p, ec) && HasExtension(p, ".maz")) {
    pack.Fields.push_back(path);
    pack.Name = p.stem().string();
    return true;
  }
  if (!fs::is_directory(p, ec)) {
    error = U8(sCheckNoTask, {Cp(path)});
    return false;
  }
  for (const fs::path& f : SortedFiles(p, ".maz")) pack.Fields.push_back(f.string());
  for (const fs::path& in : SortedFiles(p, ".in")) {
    fs::path out = in;
    out.replace_extension(".out");
    std::string expected, typed;
    if (!ReadWholeFile(out.string(), expected) || !ReadWholeFile(in.string(), typed)) continue;
    pack.Tests.push_back({in.stem().string(), in.string(), TextAsUtf8(expected), TextAsUtf8(typed)});
  }
  std::string wording;
  if (ReadWholeFile((p / "task.txt").string(), wording)) pack.Wording = TextAsUtf8(wording);
  if (pack.Fields.empty() && pack.Tests.empty()) {
    error = U8(sCheckEmptyTask, {Cp(path)});
    return false;
  }
  return true;
}

bool CollectPrograms(const std::vector<std::string>& args, std::vector<std::string>& programs, std::string& error) {
  programs.clear();
  for (const std::string& a : args) {
    std::error_code ec;
    if (fs::is_directory(a, ec)) {
      for (const fs::path& f : SortedFiles(a, ".prg")) programs.push_back(f.string());
    } else if (fs::is_regular_file(a, ec)) {
      programs.push_back(a);
    } else {
      error = U8(sCheckNoProgram, {Cp(a)});
      return false;
    }
  }
  if (programs.empty()) {
    error = U8(sCheckNoPrograms);
    return false;
  }
  return true;
}
