// The interpreter's own scalar operators against the values layer's
// ApplyOperator: the same result kind and value, or the same error, for
// every operator on every pair of scalar kinds.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "session.h"
#include "slot.h"

namespace {

std::vector<TDatum> Samples() {
  std::vector<TDatum> v;
  for (bool b : {false, true}) v.push_back(TDatum::Logical(b));
  for (int c : {0, 1, 7, 200, 255}) v.push_back(TDatum::Char(static_cast<uint8_t>(c)));
  for (int i : {0, 1, -1, 2, -7, 7, 3, 2147483647, -2147483647 - 1, 46341, -46341})
    v.push_back(TDatum::Integer(i));
  for (double r : {0.0, 0.5, -0.5, 2.5, -7.25, 1e308, -1e308, 3e9, 1e-300}) v.push_back(TDatum::Real(r));
  return v;
}

struct TResult {
  int kind = -1;
  double value = 0;
  std::string error;
};

TResult Of(const TDatum& d) {
  TResult r;
  r.kind = d.Kind;
  switch (d.Kind) {
    case dkLogical: r.value = d.BoolValue; break;
    case dkChar: r.value = d.CharValue; break;
    case dkInteger: r.value = d.IntValue; break;
    default: r.value = d.RealValue; break;
  }
  return r;
}

TEST(ScalarOperators, AgreeWithTheValuesLayer) {
  const auto samples = Samples();
  int compared = 0;
  for (uint8_t op = ocAdd; op <= ocOr; ++op) {
    if (!IsFastOperator(op)) continue;
    for (const TDatum& a : samples) {
      for (const TDatum& b : samples) {
        TResult expected, actual;
        try {
          TDatum left = op == ocNot ? b : a;
          ApplyOperator(op, left, b);
          expected = Of(left);
        } catch (...) {
          expected.error = RunErrorText(std::current_exception());
        }
        try {
          const TSlot l = ApplyScalar(op, SlotOf(op == ocNot ? b : a), SlotOf(b));
          TDatum d;
          WriteScalar(d, l, l.Kind);
          actual = Of(d);
        } catch (...) {
          actual.error = RunErrorText(std::current_exception());
        }
        SCOPED_TRACE("op " + std::to_string(op) + " kinds " + std::to_string(a.Kind) + "," + std::to_string(b.Kind));
        ASSERT_EQ(actual.error, expected.error);
        ASSERT_EQ(actual.kind, expected.kind);
        if (expected.error.empty()) {
          ASSERT_EQ(actual.value, expected.value);
        }
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 10000);
}

TEST(ScalarOperators, ConversionsAgreeWithTheValuesLayer) {
  for (const TDatum& a : Samples()) {
    for (int k = dkLogical; k <= dkReal; ++k) {
      std::string expectedError, actualError;
      TDatum expected = a, actual;
      try {
        expected.ConvertTo(k);
      } catch (...) {
        expectedError = RunErrorText(std::current_exception());
      }
      try {
        WriteScalar(actual, SlotOf(a), k);
      } catch (...) {
        actualError = RunErrorText(std::current_exception());
      }
      ASSERT_EQ(actualError, expectedError);
      if (!expectedError.empty()) continue;
      ASSERT_EQ(Of(actual).kind, Of(expected).kind);
      ASSERT_EQ(Of(actual).value, Of(expected).value);
    }
  }
}

}  // namespace
