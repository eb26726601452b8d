// JPEG files: every input decodes or is refused with EInvalidGraphic; what decodes has the size
// of its frame header and stays within the picture limits.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "platform/core/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Jpeg.h"

namespace {

// The size in the first frame header, walking the markers as the decoder does (bytes before a
// marker, fill bytes and stuffed zeros skipped); false when there is none before the data ends.
bool FrameSize(const uint8_t* d, size_t n, int& w, int& h) {
  size_t i = 2;
  while (i < n) {
    while (i < n && d[i] != 0xFF) ++i;
    while (i < n && d[i] == 0xFF) ++i;
    if (i >= n) return false;
    const uint8_t m = d[i++];
    if (m == 0x00) continue;  // a stuffed zero among skipped bytes, not a marker
    if (m == 0x01 || m == 0xD8 || (m >= 0xD0 && m <= 0xD7)) continue;  // no length
    if (m == 0xD9 || i + 2 > n) return false;
    const size_t len = size_t(d[i] << 8 | d[i + 1]);
    const bool frame = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
    if (frame) {
      if (i + 7 > n) return false;
      h = d[i + 3] << 8 | d[i + 4];
      w = d[i + 5] << 8 | d[i + 6];
      return true;
    }
    i += std::max<size_t>(len, 2);  // a length below 2 covers just itself, as the decoder takes it
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  for (bool highQuality : {true, false}) {
    TBitmap b;
    try {
      DecodeJpeg(bytes, b, "fuzz.jpg", highQuality);
    } catch (const EInvalidGraphic&) {
      FUZZ_CHECK(b.Empty(), "a refused file changed the bitmap");
      continue;
    }
    int w = -1, h = -1;
    FUZZ_CHECK(FrameSize(data, size, w, h), "decoded without a frame header");
    FUZZ_CHECK(b.Width() == w && b.Height() == h, "decoded %d x %d, frame says %d x %d", b.Width(),
               b.Height(), w, h);
    FUZZ_CHECK(uint64_t(w) * uint64_t(h) <= kPictureLimits.MaxPixels, "beyond the limits");
  }
  return 0;
}
