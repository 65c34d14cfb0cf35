// The mathematical and string built-ins (codes 1001..1032).
//
// Each reads its arguments from the built-in's own variables (already
// converted to the registered kinds) and leaves its value in the record's
// Result. Faults of the floating-point library that the language does not
// name (square root of a negative number, logarithm of zero...) are raised
// as unexpected faults with the library's wording, overflow as the real
// overflow error.
#include <cmath>
#include <numbers>
#include <string>

#include "errors.h"
#include "interpreter.h"
#include "random.h"
#include "string_table.h"

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

[[noreturn]] void Invalid() { throw EUnexpectedFault(Str(sInvalidOperationFault)); }

inline double Checked(double v) {
  if (std::isinf(v)) throw EFloatOverflow();
  if (std::isnan(v)) Invalid();
  return v;
}

double Logarithm(double x, bool decimal) {
  if (x == 0.0) throw EUnexpectedFault(Str(sZeroPowerFault));
  if (x < 0.0) Invalid();
  return decimal ? std::log10(x) : std::log(x);
}

double ArcSine(double x, bool cosine) {
  if (!(x >= -1.0 && x <= 1.0)) Invalid();
  return cosine ? std::acos(x) : std::asin(x);
}

int32_t Truncate(double x) {
  const double t = std::trunc(x);
  if (!(t >= -2147483648.0 && t <= 2147483647.0)) throw EUnexpectedFault(Str(sRealToIntegerFault));
  return static_cast<int32_t>(t);
}

std::string Text(const TDatum& v) {
  if (v.Kind != dkChar && v.Kind != dkCharArray) throw EExecuteException(Str(sStringsOnly));
  return v.AsString();
}

// The 0-based positions follow the string routines pupils know: a start
// before the text counts from its beginning, a start past it selects nothing.
std::string Copy(const std::string& s, int32_t i, int32_t n) {
  const int64_t len = static_cast<int64_t>(s.size());
  const int64_t start = i < 0 ? 0 : i;
  if (n <= 0 || start >= len) return std::string();
  return s.substr(static_cast<size_t>(start), static_cast<size_t>(std::min<int64_t>(n, len - start)));
}

std::string Insert(const std::string& t, const std::string& s, int32_t i) {
  const int64_t len = static_cast<int64_t>(s.size());
  const int64_t at = i < 0 ? 0 : (i > len ? len : i);
  std::string r = s;
  r.insert(static_cast<size_t>(at), t);
  return r;
}

std::string Delete(const std::string& s, int32_t i, int32_t n) {
  const int64_t len = static_cast<int64_t>(s.size());
  if (i < 0 || i >= len || n <= 0) return s;
  std::string r = s;
  r.erase(static_cast<size_t>(i), static_cast<size_t>(std::min<int64_t>(n, len - i)));
  return r;
}

// A string result gets a buffer of its own size on every call, so a longer
// result after a shorter one is no error.
void SetText(TDatum& result, const std::string& text) {
  TDatum fresh;
  fresh.Kind = dkCharArray;
  fresh.SetString(text);
  result.Assign(fresh);
}

}  // namespace

void TExecutor::CallFunction(TProcedure& b) {
  TDatum& res = b.Result;
  auto real = [&](int i) { return b.Vars.Item(i).RealValue; };
  auto integer = [&](int i) { return b.Vars.Item(i).IntValue; };
  auto text = [&](int i) { return Text(b.Vars.Item(i)); };
  auto setReal = [&](double v) {
    res.Kind = dkReal;
    res.RealValue = Checked(v);
  };
  auto setInt = [&](int32_t v) {
    res.Kind = dkInteger;
    res.IntValue = v;
  };
  switch (b.Id) {
    case 1001: setInt(Truncate(real(0))); break;
    case 1002: setInt(RoundToInt32(real(0))); break;
    case 1003:
      if (real(0) < 0.0) Invalid();
      setReal(std::sqrt(real(0)));
      break;
    case 1004: {
      const TVar& x = b.Vars.Item(0);
      if (x.Kind == dkReal) {
        setReal(std::fabs(x.RealValue));
      } else {
        if (x.IntValue == INT32_MIN) throw EIntOverflow();
        setInt(x.IntValue < 0 ? -x.IntValue : x.IntValue);
      }
      break;
    }
    case 1006: setReal(std::sin(real(0))); break;
    case 1007: setReal(std::sin(real(0) * kDegree)); break;
    case 1008: setReal(std::cos(real(0))); break;
    case 1009: setReal(std::cos(real(0) * kDegree)); break;
    case 1010: setReal(std::tan(real(0))); break;
    case 1011: setReal(std::tan(real(0) * kDegree)); break;
    case 1012: setReal(std::exp(real(0))); break;
    case 1013: setReal(Logarithm(real(0), false)); break;
    case 1014: setReal(Logarithm(real(0), true)); break;
    case 1015: setInt(real(0) > 0.0 ? 1 : real(0) < 0.0 ? -1 : 0); break;
    case 1016: setInt(NextRandomBelow(integer(0))); break;
    case 1017: setReal(NextRandom()); break;
    case 1018: setReal(std::numbers::pi); break;
    case 1019: {
      const int32_t r = integer(0), g = integer(1), bl = integer(2);
      if (r < 0 || r > 255) throw EExecuteException(FormatStr(sRgbRed, {r}));
      if (g < 0 || g > 255) throw EExecuteException(FormatStr(sRgbGreen, {g}));
      if (bl < 0 || bl > 255) throw EExecuteException(FormatStr(sRgbBlue, {bl}));
      setInt(r + 256 * g + 65536 * bl);
      break;
    }
    case 1020: setReal(ArcSine(real(0), false)); break;
    case 1021: setReal(ArcSine(real(0), false) / kDegree); break;
    case 1022: setReal(ArcSine(real(0), true)); break;
    case 1023: setReal(ArcSine(real(0), true) / kDegree); break;
    case 1024: setReal(std::atan(real(0))); break;
    case 1025: setReal(std::atan(real(0)) / kDegree); break;
    case 1026: setReal(std::atan2(real(0), real(1))); break;
    case 1027: setReal(std::atan2(real(0), real(1)) / kDegree); break;
    case 1028: SetText(res, Copy(text(0), integer(1), integer(2))); break;
    case 1029: SetText(res, Insert(text(0), text(1), integer(2))); break;
    case 1030: SetText(res, Delete(text(0), integer(1), integer(2))); break;
    case 1031: {
      const std::string t = text(0), s = text(1);
      const size_t at = t.empty() ? std::string::npos : s.find(t);
      setInt(at == std::string::npos ? -1 : static_cast<int32_t>(at));
      break;
    }
    case 1032: setInt(static_cast<int32_t>(text(0).size())); break;
    default: break;
  }
}
