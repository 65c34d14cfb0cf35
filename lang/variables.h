// Containers that give values a place: the named variable TVar, the owned
// value list TStackDatum (evaluation stack and compiled expression) and the
// variable list TVarList.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "datum.h"

class TVar : public TDatum {
 public:
  std::string Name;

  TVar() = default;
  explicit TVar(std::string name, uint8_t kind = dkNone) : Name(std::move(name)) { Kind = kind; }
  // Copies the name when src is a TVar, then the value's full copy.
  void Assign(const TDatum& src) override;
};

// An owned list of values. Item(0) is the top: the last value pushed. A
// compiled expression is pushed token by token, so the push order is the
// evaluation (postfix) order, which Postfix() exposes directly.
class TStackDatum {
 public:
  TDatum Result;

  bool IsEmpty() const { return items_.empty(); }
  int Count() const { return static_cast<int>(items_.size()); }
  void Clear() { items_.clear(); }
  // Frees item i (0 = top) when it exists.
  void Delete(int i);
  // Pushes the language's full copy of v (Width, Fraction, Args not kept).
  void Push(const TDatum& v);
  // Pushes v itself, everything included.
  void Push(TDatum&& v);
  // Full-copies the top into out and removes it. The list must not be empty.
  void Pop(TDatum& out);
  TDatum& Item(int i) { return items_[items_.size() - 1 - static_cast<size_t>(i)]; }
  const TDatum& Item(int i) const { return items_[items_.size() - 1 - static_cast<size_t>(i)]; }
  // The items in push order: evaluation order of an expression.
  const std::vector<TDatum>& Postfix() const { return items_; }
  std::vector<TDatum>& Postfix() { return items_; }
  // Clear, then full copies of other's items in the same order and of its Result.
  void AssignFrom(const TStackDatum& other);

 private:
  std::vector<TDatum> items_;  // bottom first
};

// An owned list of variables. Items are held by value: indexes are stable,
// but adding an item may move the others, so keep indexes, not pointers,
// while a list grows.
class TVarList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Count() > n, measured in bytes: no division by the item's size, on
  // every recursive call.
  [[gnu::always_inline]] bool MoreThan(int n) const {
    const auto bytes = reinterpret_cast<const char*>(std::to_address(items_.end())) -
                       reinterpret_cast<const char*>(items_.data());
    return static_cast<size_t>(bytes) > static_cast<size_t>(n > 0 ? n : 0) * sizeof(TVar);
  }
  void Clear() { items_.clear(); }
  void Delete(int i);
  // The variable at i; EListIndexError "Неверный индекс переменой в списке: %d." outside.
  TVar& Item(int i) {
    if (static_cast<size_t>(i) >= items_.size()) [[unlikely]] BadIndex(i);
    return items_[static_cast<size_t>(i)];
  }
  const TVar& Item(int i) const { return const_cast<TVarList*>(this)->Item(i); }
  // Unchecked access for the interpreter's hot path.
  TVar& operator[](int i) { return items_[static_cast<size_t>(i)]; }
  const TVar& operator[](int i) const { return items_[static_cast<size_t>(i)]; }
  // The first variable, for reading many by index; moves when the list grows.
  TVar* Data() { return items_.data(); }
  // The first index whose name equals name exactly (case-sensitive), or -1.
  int IndexOf(std::string_view name) const;
  // Appends v; returns the new item.
  TVar& Add(TVar v);
  // Clear, then a full copy (name, kind, values, arrays) of every variable of other.
  void AssignFrom(const TVarList& other);
  // The values of other's variables into these, which already have the
  // same names, kinds and shapes (an earlier copy of the same list); the
  // first skip variables are left as they are.
  void CopyValuesFrom(const TVarList& other, int skip = 0) {
    if (items_.size() != other.items_.size()) [[unlikely]] {
      AssignFrom(other);
      return;
    }
    // Scalars, what recursion copies most, need only their value fields.
    TVar* to = items_.data();
    const TVar* from = other.items_.data();
    for (size_t i = skip > 0 ? static_cast<size_t>(skip) : 0, n = items_.size(); i < n; ++i) to[i].AssignValue(from[i]);
  }

 private:
  [[noreturn]] static void BadIndex(int i);

  std::vector<TVar> items_;
};
