// TDatum: the one value type of the language.
//
// The same record is a scalar (logical, character, integer, real), an array
// or string, a token of a compiled expression (operator, reference to a
// variable or element) and a call record. Scalars never allocate: the value
// lives in the record itself and only arrays own a heap buffer.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "string_table.h"

// Value kinds. The numbers are fixed: the compiler, the p-code, the
// interpreter and the built-in tables exchange them.
enum TDatumKind : uint8_t {
  dkNone = 0,          // freshly created
  dkVoid = 1,          // no value (procedure without result; "no argument")
  dkLogical = 2,
  dkChar = 3,          // one Windows-1251 byte
  dkInteger = 4,       // 32-bit signed
  dkReal = 5,          // IEEE double
  dkLogicalArray = 6,  // an array kind is its element kind + 4
  dkCharArray = 7,     // also the string type
  dkIntegerArray = 8,
  dkRealArray = 9,
  dkOpenParen = 10,    // only on the compiler's operator stack
  dkOperator = 11,     // OpCode holds the operator
  dkGlobalRef = 12,    // IntValue = index in the globals
  dkLocalRef = 13,     // IntValue = index in the current procedure's Vars
  dkGlobalItemRef = 14,  // element (or whole array) of a global; Index1/Index2
  dkLocalItemRef = 15,
  dkTempRef = 16,      // IntValue = index in the current procedure's Temps
  dkCall = 17,         // IntValue = user procedure index; Args
  dkSysCall = 18,      // IntValue = built-in index; Args
};

// Operator codes held in TDatum::OpCode (shared with the vocabulary).
enum TOperatorCode : uint8_t {
  ocAdd = 17, ocSub = 18, ocMul = 19, ocDiv = 20, ocMod = 21, ocPow = 22,
  ocAssign = 23, ocEq = 24, ocNe = 25, ocLt = 26, ocLe = 27, ocGt = 28, ocGe = 29,
  ocNot = 30, ocAnd = 31, ocOr = 32,
  ocInput = 36,   // ">>" of cin; never evaluated
  ocOutput = 37,  // "<<" of cout; never evaluated
};

// Limits of arrays.
constexpr int kMaxArraySize = 10000;

inline bool IsScalarKind(int kind) { return kind >= dkLogical && kind <= dkReal; }
inline bool IsArrayKind(int kind) { return kind >= dkLogicalArray && kind <= dkRealArray; }

class TStackDatum;

class TDatum {
 public:
  uint8_t Kind = dkNone;
  uint8_t CharValue = 0;
  int32_t IntValue = 0;
  double RealValue = 0;
  uint8_t BoolValue = 0;
  uint8_t OpCode = 0;
  // What may be attached to a value lies side by side, sizes first, so that
  // Attached() reads it in four words: activation records copy their
  // results and scalars on every call.
  alignas(8) int32_t Size1 = 0;  // first dimension; 0 for a scalar
  int32_t Size2 = 0;  // second dimension; 0 for a one-dimensional array

 private:
  uint8_t* buf_ = nullptr;

 public:
  std::unique_ptr<TStackDatum> Index1;  // index expressions of an element reference
  std::unique_ptr<TStackDatum> Index2;
  int32_t Width = 0;     // output field width set by the compiler (0 = none)
  int32_t Fraction = 0;  // output fraction digits (0 = none)
  std::unique_ptr<TStackDatum> Args;  // call record: argument list; argument item: its expression

  TDatum();
  // A C++ copy is a complete deep copy (Width, Fraction and Args included), so
  // that containers of values behave; the language's own copy is Assign.
  TDatum(const TDatum& other);
  TDatum(TDatum&& other) noexcept;
  TDatum& operator=(const TDatum& other);
  TDatum& operator=(TDatum&& other) noexcept;
  virtual ~TDatum();

  static TDatum Logical(bool v);
  static TDatum Char(uint8_t v);
  static TDatum Integer(int32_t v);
  static TDatum Real(double v);
  static TDatum Operator(uint8_t code);

  // The language's full copy: scalar fields, sizes, elements and index
  // expressions. Width, Fraction and Args are not copied.
  virtual void Assign(const TDatum& src);
  // Copies Kind, CharValue, IntValue, RealValue, BoolValue and OpCode.
  void CopyScalar(const TDatum& src) {
    Kind = src.Kind;
    CharValue = src.CharValue;
    IntValue = src.IntValue;
    RealValue = src.RealValue;
    BoolValue = src.BoolValue;
    OpCode = src.OpCode;
  }
  // A scalar with nothing attached: no elements, no buffer, no index lists.
  [[gnu::always_inline]] bool IsPlain() const { return Attached() == 0; }
  // Assign, in short when both are plain: then only the scalar fields differ.
  void AssignValue(const TDatum& src) {
    if ((Attached() | src.Attached()) == 0) CopyScalar(src);
    else TDatum::Assign(src);
  }
  // Nonzero when anything is attached (IsPlain false), in one test rather
  // than five: activation records copy scalars by the thousand.
  [[gnu::always_inline]] uintptr_t Attached() const {
    uint64_t sizes;  // Size1 and Size2 in one word
    std::memcpy(&sizes, &Size1, sizeof sizes);
    return static_cast<uintptr_t>(sizes) | reinterpret_cast<uintptr_t>(buf_) |
           reinterpret_cast<uintptr_t>(Index1.get()) | reinterpret_cast<uintptr_t>(Index2.get());
  }
  // Assignment into an existing variable without re-allocation: arrays must
  // match in size, strings need only fit.
  void AssignArray(const TDatum& src);
  // Every store into a variable, argument, temporary or result: checks array
  // against scalar, copies (fully when full), and converts back to the
  // target's scalar kind so a variable keeps its declared kind.
  void AssignChecked(const TDatum& src, bool full);
  // Stores src into element [i] or [i, *j] of this array.
  void StoreItem(const TDatum& src, const TDatum& i, const TDatum* j);
  // Loads element [i] (j == -1) or [i, j] of array into this value.
  void FetchItem(const TDatum& array, int i, int j);

  void ToChar();
  void ToInteger();
  void ToReal();
  void ToLogical();
  // Converts to the given scalar kind (2..5); other kinds do nothing.
  void ConvertTo(int kind);

  // The text of a character or a string (up to its first 0).
  std::string AsString() const;
  // Replaces the text of a character array.
  void SetString(std::string_view text);

  // Gives a scalar its first dimension (1..10000) and a zeroed buffer.
  void MakeArray(int n);
  // Adds the second dimension; at most 10000 elements in all.
  void MakeArray2(int m);
  void SetArgs(std::unique_ptr<TStackDatum> list);

  bool IsArray() const { return IsArrayKind(Kind); }
  bool IsScalar() const { return IsScalarKind(Kind); }
  // Number of elements: Size1, or Size1 * Size2 for two dimensions.
  int ElementCount() const { return Size2 > 0 ? Size1 * Size2 : Size1; }
  bool HasBuffer() const { return buf_ != nullptr; }

  // Element storage. Each returns the buffer when it holds that element type,
  // else nullptr.
  uint8_t* Bools() { return bufKind_ == dkLogicalArray ? buf_ : nullptr; }
  uint8_t* Chars() { return bufKind_ == dkCharArray ? buf_ : nullptr; }
  int32_t* Ints() { return bufKind_ == dkIntegerArray ? reinterpret_cast<int32_t*>(buf_) : nullptr; }
  double* Reals() { return bufKind_ == dkRealArray ? reinterpret_cast<double*>(buf_) : nullptr; }
  const uint8_t* Bools() const { return const_cast<TDatum*>(this)->Bools(); }
  const uint8_t* Chars() const { return const_cast<TDatum*>(this)->Chars(); }
  const int32_t* Ints() const { return const_cast<TDatum*>(this)->Ints(); }
  const double* Reals() const { return const_cast<TDatum*>(this)->Reals(); }

  // Reads element pos of the buffer into the matching scalar field and sets
  // Kind to the element kind. pos must be within ElementCount().
  void LoadElement(const TDatum& array, int pos);
  // Writes this value's field of the array's element kind into element pos.
  void StoreElementOf(TDatum& array, int pos) const;

 private:
  // A zeroed buffer of count elements of the array kind arrayKind.
  void AllocBuffer(int arrayKind, int count);
  void FreeBuffer();
  void CopyBufferFrom(const TDatum& src);

  int32_t bufCount_ = 0;   // elements in buf_
  uint8_t bufKind_ = 0;    // array kind the buffer was made for
};

// Applies operator op to left and right and leaves the result in left. For
// ocNot the caller passes a copy of right as left. Scalars follow the rules
// of scalar.h; a string operand allows only "+", the concatenation. Raises
// the language's errors: EExecuteException with the exact texts,
// EIntOverflow, EFloatOverflow, EUnexpectedFault for a real that cannot be
// rounded to an integer, ECompileException for a concatenation of 10000
// characters or more.
void ApplyOperator(uint8_t op, TDatum& left, const TDatum& right);

// Rounds to the nearest integer, ties to even; EUnexpectedFault when the real
// lies outside the 32-bit range or is not a number.
int32_t RoundToInt32(double v);

// The text of the run-time error prefix filled with message:
// "Ошибка при выполнении программы: <message>."
std::string RunTimeErrorText(std::string_view message);

// How every run-time fault is raised, as EExecuteException: RunTimeError
// with the run-time error prefix (the interpreter's own errors: a bad
// expression, division by zero, the recursion limit), ValueError with the
// text alone (the faults of values: indexes, array shapes, strings).
[[noreturn]] void RunTimeError(std::string_view message);
[[noreturn]] void RunTimeError(TStrId id);
[[noreturn]] void ValueError(TStrId id);
// "Индекс элемента массива <i> выходит из диапазона [0..<last>]."
[[noreturn]] void IndexOutOfRange(int32_t i, int32_t last);

// The buffer position of element [i], or [i, *j], of array a: the rule of
// every element load and store. A scalar has no elements, a second index
// needs two dimensions, and each index lies within its own dimension (a
// single index into a two-dimensional array counts along the rows).
inline int32_t ElementPosition(const TDatum& a, int32_t i, const int32_t* j) {
  if (a.Size1 < 1) ValueError(sScalarUsedAsArray);
  if (static_cast<uint32_t>(i) >= static_cast<uint32_t>(a.Size1)) IndexOutOfRange(i, a.Size1 - 1);
  if (!j) return i;
  if (a.Size2 == 0) ValueError(sTwoIndexesOnSimpleArray);
  if (static_cast<uint32_t>(*j) >= static_cast<uint32_t>(a.Size2)) IndexOutOfRange(*j, a.Size2 - 1);
  return i * a.Size2 + *j;
}
