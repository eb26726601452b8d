#pragma once
// Rounding as the programs expect it: Round is half to even, Trunc toward zero. Counters and
// scores that must never wrap add with saturation.

#include <cfenv>
#include <climits>
#include <cmath>
#include <cstdint>

// Round half to even (the default floating-point rounding mode).
inline int Round(double v) {
  return int(std::nearbyint(v));
}
inline int64_t Round64(double v) {
  return int64_t(std::nearbyint(v));
}
inline int Trunc(double v) {
  return int(std::trunc(v));
}
// Integer division truncating toward zero is C++'s own; named for readability at call sites.
inline int Div(int a, int b) {
  return a / b;
}

// a + b and a - b held to the range of int instead of wrapping.
inline int SaturatingAdd(int a, int b) {
  const long long s = (long long)a + b;
  return s > INT_MAX ? INT_MAX : s < INT_MIN ? INT_MIN : int(s);
}
inline int SaturatingSub(int a, int b) {
  const long long s = (long long)a - b;
  return s > INT_MAX ? INT_MAX : s < INT_MIN ? INT_MIN : int(s);
}
