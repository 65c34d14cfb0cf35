// Helpers shared by the value tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "datum.h"
#include "encoding.h"
#include "errors.h"

// The UTF-8 text of the exception that fn raises, or "" when it raises none
// of the language's exceptions.
template <typename Fn>
std::string ErrorOf(Fn&& fn) {
  try {
    fn();
  } catch (const ETarmisyException& e) {
    return Cp1251ToUtf8(e.Message());
  }
  return "";
}

inline TDatum MakeArrayOf(uint8_t scalarKind, int n, int m = 0) {
  TDatum d;
  d.Kind = scalarKind;
  d.MakeArray(n);
  if (m > 0) d.MakeArray2(m);
  return d;
}

inline TDatum StringOf(const std::string& utf8, int size) {
  TDatum d = MakeArrayOf(dkChar, size);
  d.SetString(Utf8ToCp1251(utf8));
  return d;
}
