#include "datum.h"

#include <cmath>
#include <cstring>

#include "errors.h"
#include "scalar.h"
#include "string_table.h"
#include "variables.h"

namespace {

int ElementSize(int arrayKind) {
  switch (arrayKind) {
    case dkIntegerArray: return 4;
    case dkRealArray: return 8;
    default: return 1;
  }
}

std::unique_ptr<TStackDatum> CloneList(const std::unique_ptr<TStackDatum>& src) {
  if (!src) return nullptr;
  auto copy = std::make_unique<TStackDatum>();
  copy->AssignFrom(*src);
  return copy;
}

// A complete deep copy of a list, Args and formats included (C++ copies).
std::unique_ptr<TStackDatum> DeepCloneList(const std::unique_ptr<TStackDatum>& src) {
  if (!src) return nullptr;
  auto copy = std::make_unique<TStackDatum>();
  for (const TDatum& item : src->Postfix()) copy->Push(TDatum(item));
  copy->Result = src->Result;
  return copy;
}

}  // namespace

std::string RunTimeErrorText(std::string_view message) { return FormatStr(sRunTimeError, {message}); }

void RunTimeError(std::string_view message) { throw EExecuteException(RunTimeErrorText(message)); }
void RunTimeError(TStrId id) { RunTimeError(Str(id)); }
void ValueError(TStrId id) { throw EExecuteException(Str(id)); }
void IndexOutOfRange(int32_t i, int32_t last) { throw EExecuteException(FormatStr(sIndexOutOfRange, {i, last})); }

int32_t RoundToInt32(double v) {
  // nearbyint rounds in the current mode, which is to nearest, ties to even.
  const double r = std::nearbyint(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw EUnexpectedFault(Str(sRealToIntegerFault));
  return static_cast<int32_t>(r);
}

TDatum::TDatum() = default;

TDatum::TDatum(const TDatum& other) { *this = other; }

TDatum::TDatum(TDatum&& other) noexcept { *this = std::move(other); }

TDatum& TDatum::operator=(const TDatum& other) {
  if (this == &other) return *this;
  Assign(other);
  Width = other.Width;
  Fraction = other.Fraction;
  Args = DeepCloneList(other.Args);
  return *this;
}

TDatum& TDatum::operator=(TDatum&& other) noexcept {
  if (this == &other) return *this;
  CopyScalar(other);
  Size1 = other.Size1;
  Size2 = other.Size2;
  Width = other.Width;
  Fraction = other.Fraction;
  Index1 = std::move(other.Index1);
  Index2 = std::move(other.Index2);
  Args = std::move(other.Args);
  FreeBuffer();
  buf_ = other.buf_;
  bufCount_ = other.bufCount_;
  bufKind_ = other.bufKind_;
  other.buf_ = nullptr;
  other.bufCount_ = 0;
  other.bufKind_ = 0;
  return *this;
}

TDatum::~TDatum() { FreeBuffer(); }

TDatum TDatum::Logical(bool v) {
  TDatum d;
  d.Kind = dkLogical;
  d.BoolValue = v ? 1 : 0;
  return d;
}

TDatum TDatum::Char(uint8_t v) {
  TDatum d;
  d.Kind = dkChar;
  d.CharValue = v;
  return d;
}

TDatum TDatum::Integer(int32_t v) {
  TDatum d;
  d.Kind = dkInteger;
  d.IntValue = v;
  return d;
}

TDatum TDatum::Real(double v) {
  TDatum d;
  d.Kind = dkReal;
  d.RealValue = v;
  return d;
}

TDatum TDatum::Operator(uint8_t code) {
  TDatum d;
  d.Kind = dkOperator;
  d.OpCode = code;
  return d;
}

void TDatum::AllocBuffer(int arrayKind, int count) {
  const size_t bytes = static_cast<size_t>(count) * static_cast<size_t>(ElementSize(arrayKind));
  if (buf_ && bufCount_ == count && ElementSize(bufKind_) == ElementSize(arrayKind)) {
    std::memset(buf_, 0, bytes);
  } else {
    FreeBuffer();
    buf_ = new uint8_t[bytes > 0 ? bytes : 1]();
  }
  bufCount_ = count;
  bufKind_ = static_cast<uint8_t>(arrayKind);
}

void TDatum::FreeBuffer() {
  delete[] buf_;
  buf_ = nullptr;
  bufCount_ = 0;
  bufKind_ = 0;
}

void TDatum::CopyBufferFrom(const TDatum& src) {
  if (!src.buf_) {
    FreeBuffer();
    return;
  }
  if (buf_ != src.buf_) {
    const size_t bytes = static_cast<size_t>(src.bufCount_) * static_cast<size_t>(ElementSize(src.bufKind_));
    if (!(buf_ && bufCount_ == src.bufCount_ && ElementSize(bufKind_) == ElementSize(src.bufKind_))) {
      FreeBuffer();
      buf_ = new uint8_t[bytes > 0 ? bytes : 1];
    }
    std::memcpy(buf_, src.buf_, bytes);
  }
  bufCount_ = src.bufCount_;
  bufKind_ = src.bufKind_;
}

void TDatum::Assign(const TDatum& src) {
  if (this == &src) return;
  CopyScalar(src);
  Size1 = src.Size1;
  Size2 = src.Size2;
  if (src.Size1 > 0 && src.buf_) CopyBufferFrom(src);
  else if (buf_) FreeBuffer();
  // Scalars are what recursion copies most: they touch no list at all.
  if (src.Index1 || Index1) Index1 = CloneList(src.Index1);
  if (src.Index2 || Index2) Index2 = CloneList(src.Index2);
}

void TDatum::AssignArray(const TDatum& src) {
  if (this == &src) return;
  CopyScalar(src);
  if (Kind != dkCharArray) {
    if (Size1 != src.Size1 || Size2 != src.Size2) ValueError(sArraySizeMismatch);
    if (src.buf_) CopyBufferFrom(src);
    return;
  }
  // Strings of different declared sizes are assignable as long as the text fits.
  const uint8_t* from = src.Chars();
  int count = 0;
  if (from) {
    const int limit = std::min(src.Size1, src.bufCount_);
    while (count < limit && from[count] != 0) ++count;
  }
  if (count > Size1) ValueError(sArrayOutOfBounds);
  if (!Chars() || bufCount_ < Size1) AllocBuffer(dkCharArray, Size1);
  else std::memset(buf_, 0, static_cast<size_t>(bufCount_));
  if (count > 0) std::memcpy(buf_, from, static_cast<size_t>(count));
}

void TDatum::AssignChecked(const TDatum& src, bool full) {
  if (IsArray()) {
    if (!src.IsArray()) ValueError(sExpectArrayNotNumber);
    if (src.Kind != Kind) {
      switch (Kind) {
        case dkLogicalArray: ValueError(sExpectLogicalArray);
        case dkCharArray: ValueError(sExpectCharArray);
        case dkIntegerArray: ValueError(sExpectIntegerArray);
        default: ValueError(sExpectRealArray);
      }
    }
  } else if (src.IsArray()) {
    ValueError(sExpectNumberNotArray);
  }
  const uint8_t kind = Kind;
  if (full) Assign(src);
  else AssignArray(src);
  ConvertTo(kind);
}

void TDatum::ConvertTo(int kind) {
  if (!IsScalarKind(kind) || Kind == kind) return;
  // A value that is no scalar (never set) only takes the kind.
  if (IsScalar()) WriteScalar(*this, SlotOf(*this), kind);
  else Kind = static_cast<uint8_t>(kind);
}

void TDatum::ToChar() { ConvertTo(dkChar); }
void TDatum::ToInteger() { ConvertTo(dkInteger); }
void TDatum::ToReal() { ConvertTo(dkReal); }
void TDatum::ToLogical() { ConvertTo(dkLogical); }

void TDatum::LoadElement(const TDatum& array, int pos) {
  switch (array.bufKind_) {
    case dkLogicalArray: BoolValue = array.buf_[pos]; Kind = dkLogical; break;
    case dkCharArray: CharValue = array.buf_[pos]; Kind = dkChar; break;
    case dkIntegerArray: IntValue = reinterpret_cast<const int32_t*>(array.buf_)[pos]; Kind = dkInteger; break;
    case dkRealArray: RealValue = reinterpret_cast<const double*>(array.buf_)[pos]; Kind = dkReal; break;
    default: break;
  }
}

void TDatum::StoreElementOf(TDatum& array, int pos) const {
  switch (array.bufKind_) {
    case dkLogicalArray: array.buf_[pos] = BoolValue; break;
    case dkCharArray: array.buf_[pos] = CharValue; break;
    case dkIntegerArray: reinterpret_cast<int32_t*>(array.buf_)[pos] = IntValue; break;
    case dkRealArray: reinterpret_cast<double*>(array.buf_)[pos] = RealValue; break;
    default: break;
  }
}

void TDatum::StoreItem(const TDatum& src, const TDatum& i, const TDatum* j) {
  if (i.Kind != dkInteger || (j && j->Kind != dkInteger)) ValueError(sIndexMustBeInteger);
  const int pos = ElementPosition(*this, i.IntValue, j ? &j->IntValue : nullptr);
  const uint8_t arrayKind = Kind;
  CopyScalar(src);
  ConvertTo(arrayKind - 4);
  // A buffer that does not cover the position (an array never sized) keeps
  // the store from writing outside it.
  if (buf_ && pos < bufCount_) StoreElementOf(*this, pos);
  Kind = arrayKind;
}

void TDatum::FetchItem(const TDatum& array, int i, int j) {
  const int pos = ElementPosition(array, i, j >= 0 ? &j : nullptr);
  if (this != &array) {
    CopyScalar(array);
    Width = array.Width;
    Fraction = array.Fraction;
  }
  const uint8_t elementKind = IsArrayKind(array.Kind) ? array.Kind - 4 : array.Kind;
  if (array.buf_ && pos < array.bufCount_) {
    // Read before the buffer goes, in case this value is the array itself.
    TDatum element;
    element.LoadElement(array, pos);
    CharValue = element.CharValue;
    IntValue = element.IntValue;
    RealValue = element.RealValue;
    BoolValue = element.BoolValue;
  }
  Kind = elementKind;
  Size1 = 0;
  Size2 = 0;
  FreeBuffer();
  Index1.reset();
  Index2.reset();
}

std::string TDatum::AsString() const {
  if (Kind == dkChar) return std::string(1, static_cast<char>(CharValue));
  if (Kind != dkCharArray) ValueError(sBadStringOperation);
  const uint8_t* chars = Chars();
  if (!chars) ValueError(sExpectedArrayNotFound);
  const int limit = std::min(Size1, bufCount_);
  int n = 0;
  while (n < limit && chars[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(chars), static_cast<size_t>(n));
}

void TDatum::SetString(std::string_view text) {
  if (Kind != dkCharArray) ValueError(sBadStringOperation);
  if (!Chars()) {
    MakeArray(static_cast<int>(std::min<size_t>(text.size(), kMaxArraySize + 1)) + 1);
  } else {
    std::memset(buf_, 0, static_cast<size_t>(bufCount_));
    if (static_cast<int64_t>(text.size()) > Size1) ValueError(sStringTooLong);
  }
  std::memcpy(buf_, text.data(), std::min<size_t>(text.size(), static_cast<size_t>(bufCount_)));
}

void TDatum::MakeArray(int n) {
  if (n < 1 || n > kMaxArraySize) throw ECompileException(FormatStr(sBadArraySize, {n, 1, kMaxArraySize}));
  Size1 = n;
  if (IsScalarKind(Kind)) Kind = static_cast<uint8_t>(Kind + 4);
  AllocBuffer(IsArrayKind(Kind) ? static_cast<int>(Kind) : static_cast<int>(dkIntegerArray), n);
}

void TDatum::MakeArray2(int m) {
  if (m < 1 || m > kMaxArraySize) throw ECompileException(FormatStr(sBadArraySize, {m, 1, kMaxArraySize}));
  if (static_cast<int64_t>(Size1) * m > kMaxArraySize) throw ECompileException(FormatStr(sTooManyElements, {kMaxArraySize}));
  if (!IsArray()) throw ECompileException(Str(sBadArrayDeclaration));
  Size2 = m;
  AllocBuffer(Kind, Size1 * m);
}

void TDatum::SetArgs(std::unique_ptr<TStackDatum> list) { Args = std::move(list); }
