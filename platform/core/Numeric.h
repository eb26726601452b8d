#pragma once
// Rounding as the programs expect it: Round is half to even, Trunc toward zero.

#include <cfenv>
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
