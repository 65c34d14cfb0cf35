#include "string_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "encoding.h"

namespace {

struct Entry {
  int id;
  const char* utf8;
};

constexpr Entry kEntries[] = {
#define TARMISY_STR(name, id, text) {id, text},
#include "strings/all.def"
#undef TARMISY_STR
};

struct Table {
  std::vector<int> ids;                // sorted
  std::vector<const char*> utf8;       // parallel to ids
  std::vector<std::string> localised;  // parallel to ids; empty = built-in
  std::function<std::string(int)> lookup;

  Table() {
    std::vector<Entry> sorted(std::begin(kEntries), std::end(kEntries));
    std::sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
    for (const Entry& e : sorted) {
      ids.push_back(e.id);
      utf8.push_back(e.utf8);
    }
    localised.resize(ids.size());
    builtin_ = std::make_unique<std::string[]>(ids.size());
    converted_ = std::make_unique<std::once_flag[]>(ids.size());
  }

  size_t Slot(int id) const {
    auto it = std::lower_bound(ids.begin(), ids.end(), id);
    if (it == ids.end() || *it != id) return ids.size();
    return static_cast<size_t>(it - ids.begin());
  }

  // Converted when first asked for: a short run needs a few hundred of the
  // texts, and converting them all was a tenth of the runner's start.
  const std::string& Builtin(size_t slot) const {
    std::call_once(converted_[slot], [this, slot] { builtin_[slot] = Utf8ToCp1251(utf8[slot]); });
    return builtin_[slot];
  }

 private:
  std::unique_ptr<std::string[]> builtin_;
  std::unique_ptr<std::once_flag[]> converted_;
};

Table& TheTable() {
  static Table table;
  return table;
}

const std::string& Empty() {
  static const std::string empty;
  return empty;
}

// Appends text padded to width (right-aligned unless leftAlign).
void Pad(std::string& out, std::string_view text, int width, bool leftAlign, char fill = ' ') {
  const int pad = width > static_cast<int>(text.size()) ? width - static_cast<int>(text.size()) : 0;
  if (leftAlign) {
    out.append(text);
    out.append(pad, ' ');
  } else if (fill == '0' && !text.empty() && (text[0] == '-' || text[0] == '+')) {
    out += text[0];
    out.append(pad, '0');
    out.append(text.substr(1));
  } else {
    out.append(pad, fill);
    out.append(text);
  }
}

std::string FormatReal(double v, char conv, int precision) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  char pattern[16];
  std::snprintf(pattern, sizeof pattern, "%%.%d%c", precision, conv);
  // A double in fixed notation needs at most 309 digits before the point.
  std::string buf(400 + static_cast<size_t>(precision), '\0');
  const int n = std::snprintf(buf.data(), buf.size(), pattern, v);
  buf.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return buf;
}

}  // namespace

const std::string& BuiltinStr(TStrId id) {
  const Table& t = TheTable();
  const size_t slot = t.Slot(id);
  return slot < t.ids.size() ? t.Builtin(slot) : Empty();
}

const std::string& Str(TStrId id) {
  const Table& t = TheTable();
  const size_t slot = t.Slot(id);
  if (slot >= t.ids.size()) return Empty();
  return t.localised[slot].empty() ? t.Builtin(slot) : t.localised[slot];
}

bool IsStrId(int id) { return TheTable().Slot(id) < TheTable().ids.size(); }

const std::vector<int>& AllStrIds() { return TheTable().ids; }

void SetLocalisation(std::function<std::string(int)> lookup) {
  Table& t = TheTable();
  t.lookup = std::move(lookup);
  for (size_t i = 0; i < t.ids.size(); ++i) t.localised[i] = t.lookup ? t.lookup(t.ids[i]) : std::string();
}

std::string Format(std::string_view pattern, std::initializer_list<TFmtArg> args) {
  std::string out;
  out.reserve(pattern.size() + 16);
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%') {
      out += c;
      continue;
    }
    const size_t start = i;
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    bool left = false;
    char fill = ' ';
    size_t j = i + 1;
    for (; j < pattern.size() && (pattern[j] == '-' || pattern[j] == '0'); ++j) {
      if (pattern[j] == '-') left = true;
      else fill = '0';
    }
    int width = 0;
    for (; j < pattern.size() && IsDigitCp1251(static_cast<unsigned char>(pattern[j])); ++j)
      width = std::min(width * 10 + (pattern[j] - '0'), 100000);
    int precision = -1;
    if (j < pattern.size() && pattern[j] == '.') {
      precision = 0;
      for (++j; j < pattern.size() && IsDigitCp1251(static_cast<unsigned char>(pattern[j])); ++j)
        precision = std::min(precision * 10 + (pattern[j] - '0'), 300);
    }
    if (j >= pattern.size()) {  // an unfinished placeholder is text
      out.append(pattern.substr(start));
      break;
    }
    const char conv = pattern[j];
    if (std::string_view("sdiuxfegc").find(conv) == std::string_view::npos || next == args.end()) {
      out.append(pattern.substr(start, j - start + 1));
      i = j;
      continue;
    }
    const TFmtArg& arg = *next++;
    std::string text;
    switch (conv) {
      case 's':
        if (arg.kind() == TFmtArg::kText) text = arg.Text();
        else if (arg.kind() == TFmtArg::kInt) text = std::to_string(arg.AsInt());
        else text = FormatReal(arg.AsReal(), 'f', 2);
        if (precision >= 0 && static_cast<int>(text.size()) > precision) text.resize(precision);
        break;
      case 'd':
      case 'i':
      case 'u':
        if (arg.kind() == TFmtArg::kText) text = arg.Text();
        else text = std::to_string(arg.AsInt());
        break;
      case 'x': {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(arg.AsInt()));
        text = buf;
        break;
      }
      case 'c':
        if (arg.kind() == TFmtArg::kText) text = std::string(arg.Text().substr(0, 1));
        else text = std::string(1, static_cast<char>(arg.AsInt()));
        break;
      default:  // f, e, g
        if (arg.kind() == TFmtArg::kText) text = arg.Text();
        else text = FormatReal(arg.AsReal(), conv, precision < 0 ? (conv == 'g' ? 15 : 2) : precision);
        break;
    }
    Pad(out, text, width, left, conv == 's' || conv == 'c' ? ' ' : fill);
    i = j;
  }
  return out;
}

std::string FormatStr(TStrId id, std::initializer_list<TFmtArg> args) { return Format(Str(id), args); }
