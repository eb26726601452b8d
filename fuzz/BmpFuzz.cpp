// BMP files: every input decodes or is refused with EInvalidGraphic; what decodes has the size
// its header states, every pixel opaque, and stays within the picture limits.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "platform/core/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"

namespace {

uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  TBitmap b;
  try {
    DecodeBmp(bytes, b, "fuzz.bmp");
  } catch (const EInvalidGraphic&) {
    FUZZ_CHECK(b.Empty(), "a refused file changed the bitmap");
    return 0;
  }
  // Decoded, so the header is there: core (12 bytes) or info (40 and more).
  FUZZ_CHECK(size >= 26, "decoded %zu bytes", size);
  int64_t w, h;
  if (U32(data + 14) == 12) {
    w = data[18] | (data[19] << 8);
    h = data[20] | (data[21] << 8);
  } else {
    w = int32_t(U32(data + 18));
    h = std::llabs(int64_t(int32_t(U32(data + 22))));
  }
  FUZZ_CHECK(b.Width() == w && b.Height() == h, "decoded %d x %d, header says %lld x %lld", b.Width(),
             b.Height(), (long long)w, (long long)h);
  FUZZ_CHECK(uint64_t(w) * uint64_t(h) <= kPictureLimits.MaxPixels, "beyond the limits");
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) FUZZ_CHECK((b.RawPixel(x, y) >> 24) == 0xFF, "pixel %d,%d", x, y);
  return 0;
}
