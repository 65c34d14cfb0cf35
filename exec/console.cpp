#include "console.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "datum.h"
#include "encoding.h"
#include "errors.h"
#include "string_table.h"

bool TConsoleModel::AddLine(std::string_view text) {
  if (lines_.size() == 1 && lines_[0].empty() && !dropped_) {
    lines_[0].assign(text);
    Forget();
    return false;
  }
  lines_.emplace_back(text);
  Forget();
  return true;
}

void TConsoleModel::Append(std::string_view text) {
  lines_.back().append(text);
  Forget();
}

void TConsoleModel::AppendToLine(int index, std::string_view text) {
  if (index >= 0 && index < static_cast<int>(lines_.size())) lines_[index].append(text);
  Forget();
}

void TConsoleModel::Clear() {
  lines_.assign(1, std::string());
  dropped_ = false;
}

void TConsoleModel::SetKeepText(bool keep) {
  keep_ = keep;
  Forget();
}

void TConsoleModel::Forget() {
  if (keep_) return;
  if (lines_.size() > 1) {
    lines_.erase(lines_.begin(), lines_.end() - 1);
    dropped_ = true;
  }
  if (lines_.back().size() > 1) lines_.back().resize(1);
}

bool TConsoleModel::BeginInput() {
  if (lines_.back().empty()) return false;
  lines_.emplace_back();
  Forget();
  return true;
}

std::string TConsoleModel::Text() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i) text += '\n';
    text += lines_[i];
  }
  return text;
}

namespace {

// "%<width><letter>" or "%<width>.<fraction>f". A negative width yields the
// "-" flag, which is how Format left-aligns.
std::string Pattern(int width, char letter, int fraction = -1) {
  std::string p = "%" + std::to_string(width);
  if (fraction >= 0) p += "." + std::to_string(fraction);
  p += letter;
  return p;
}

std::string_view Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t' || text[b] == '\r' || text[b] == '\n')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r' || text[e - 1] == '\n')) --e;
  return text.substr(b, e - b);
}

// The decimal text of v with places digits after the point, as a pupil
// would write it: the number is read as its 15 significant digits (2.675,
// not the binary 2.67499999...), a half is rounded away from zero (0.125 to
// 0.13), and a number that shows as zero has no minus sign. Only where those
// 15 digits end in an exact half at the rounding place does this differ
// from the binary value's own rounding, so that is the only case done by
// hand.
std::string FixedText(double v, int places) {
  std::string text = Format("%." + std::to_string(places) + "f", {v});
  if (std::isfinite(v) && v != 0.0) {
    char sci[32];
    std::snprintf(sci, sizeof sci, "%.14e", std::fabs(v));  // d.dddddddddddddde±x
    const std::string digits = std::string(1, sci[0]) + std::string(sci + 2, 14);
    const int exponent = std::atoi(sci + 17);
    // The index in digits of the first digit rounded away.
    const long first = static_cast<long>(exponent) + places + 1;
    if (first >= 0 && first < 15 && digits[static_cast<size_t>(first)] == '5' &&
        digits.find_first_not_of('0', static_cast<size_t>(first) + 1) == std::string::npos) {
      std::string kept = "0" + digits.substr(0, static_cast<size_t>(first));
      size_t i = kept.size();
      while (kept[--i] == '9') kept[i] = '0';
      ++kept[i];
      if (kept.size() < static_cast<size_t>(places) + 1) kept.insert(0, static_cast<size_t>(places) + 1 - kept.size(), '0');
      const size_t point = kept.size() - static_cast<size_t>(places);
      std::string whole = kept.substr(0, point);
      whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
      text = (v < 0 ? "-" : "") + whole + (places > 0 ? "." + kept.substr(point) : "");
    }
  }
  if (text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
  return text;
}

}  // namespace

std::string FormatOutput(const TDatum& value, int width, int fraction) {
  if (fraction >= 1 && width != 0 && value.Kind != dkReal)
    throw EExecuteException(Str(sFractionOnlyReal));
  switch (value.Kind) {
    case dkLogical:
      if (width == 0) return Str(value.BoolValue ? sTrueText : sFalseText);
      return Format(Pattern(width, 's'), {value.BoolValue ? "1" : "0"});
    case dkChar: {
      std::string c(1, static_cast<char>(value.CharValue));
      return width == 0 ? c : Format(Pattern(width, 's'), {c});
    }
    case dkInteger:
      return width == 0 ? std::to_string(value.IntValue) : Format(Pattern(width, 'd'), {value.IntValue});
    case dkReal: {
      // Without a width, or a fraction, two decimals.
      const std::string text = FixedText(value.RealValue, width != 0 && fraction > 0 ? fraction : 2);
      return width == 0 ? text : Format(Pattern(width, 's'), {text});
    }
    case dkCharArray: {
      if (value.Size2 > 0) throw EExecuteException(Str(sNo2DOutput));
      std::string text = value.AsString();
      return width == 0 ? text : Format(Pattern(width, 's'), {text});
    }
    default:
      return std::string();
  }
}

bool ParseIntegerInput(std::string_view text, int32_t& value) {
  std::string_view t = Trim(text);
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  if (i == t.size()) return false;
  int64_t v = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    v = v * 10 + (t[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool ParseRealInput(std::string_view text, double& value) {
  std::string t(Trim(text));
  // Only [sign] digits [sep digits] [e [sign] digits]: strtod alone would also
  // take hexadecimal, "inf" and "nan", which no pupil means.
  size_t i = 0, digits = 0;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++digits;
  if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
    t[i] = '.';
    for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
    size_t expDigits = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != t.size()) return false;
  errno = 0;
  double v = std::strtod(t.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(v)) return false;
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

bool ParseLogicalInput(std::string_view text) {
  if (text.empty()) return false;
  unsigned char c = UpperCp1251(static_cast<unsigned char>(text[0]));
  return c == 'T' || c == 0xC8;  // Latin T or Cyrillic И
}
