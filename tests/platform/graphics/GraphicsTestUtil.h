#pragma once
// Helpers shared by the graphics tests: recognisable pictures and pixel comparisons.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"

// A w x h picture whose pixels differ from their neighbours and from other seeds' pictures.
TBitmap Pattern(int w, int h, uint32_t seed);

// Same size and the same stored pixels (X byte included); names the first difference.
::testing::AssertionResult PixelsMatch(const TBitmap& got, const TBitmap& want);
#define EXPECT_SAME_PIXELS(got, want) EXPECT_TRUE(PixelsMatch(got, want))

// Every pixel has X = 0xFF.
void ExpectOpaque(const TBitmap& b);

// rows[y][x] is '#' where the pixel must be colour c and '.' where it must not.
void ExpectMask(const TBitmap& b, const char* const* rows, TColor c);
template <size_t N>
void ExpectMask(const TBitmap& b, const char* (&rows)[N], TColor c) {
  ASSERT_EQ(size_t(b.Height()), N);
  ExpectMask(b, static_cast<const char* const*>(rows), c);
}
