#pragma once
// What the fuzz targets share: a property that does not hold is a finding, reported like a crash.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, ...)                               \
  do {                                                           \
    if (!(condition)) {                                          \
      std::fprintf(stderr, "property failed: %s: ", #condition); \
      std::fprintf(stderr, __VA_ARGS__);                         \
      std::fprintf(stderr, "\n");                                \
      std::abort();                                              \
    }                                                            \
  } while (0)
