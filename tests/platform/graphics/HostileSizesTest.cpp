// Small files that claim huge pictures: each is refused before the picture's memory is taken, so
// the refusal costs little whatever the header says. Real pictures of such sizes still decode.

#include <gtest/gtest.h>

#include "platform/core/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Jpeg.h"
#include "tests/platform/graphics/TestBmpWriter.h"
#include "tests/platform/graphics/TestJpegWriter.h"
#include "tests/support/TestUtil.h"

namespace {

constexpr long long kCheap = 24ll << 20;  // a refusal may cost this much peak memory, with margin

// An RLE picture of the claimed size whose stream is a single run and then stops.
std::vector<uint8_t> ShortRle(int w, int h, bool four) {
  TTestBmp s;
  s.width = w;
  s.height = h;
  s.bpp = four ? 4 : 8;
  s.compression = four ? 2 : 1;
  s.palette = {clRed, clLime, clBlue, clWhite};
  s.clrUsed = 4;
  s.rle = {0x05, 0x01, 0x00, 0x00, 0x03, 0x02};  // a run, an end of line, a run: no end of picture
  return BuildBmp(s);
}

std::vector<uint8_t> Uncompressed24(int w, int h) {
  TTestBmp s;
  s.width = w;
  s.height = h;
  s.values.assign(64, 0x123456);  // far fewer pixels than claimed
  s.width = 8;
  s.height = 8;
  std::vector<uint8_t> d = BuildBmp(s);
  Put32(d, 18, uint32_t(w));
  Put32(d, 22, uint32_t(h));
  return d;
}

// A small real JPEG whose frame header is then made to claim w x h.
std::vector<uint8_t> ClaimingJpeg(int w, int h, bool progressive, bool arithmetic) {
  std::vector<TColor> pixels(16 * 16);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = TColor(i * 0x010203);
  std::vector<uint8_t> d = MakeCodedJpeg(16, 16, TTestJpegKind::Colour, 75, progressive, arithmetic, pixels);
  for (size_t i = 2; i + 9 < d.size(); ++i)
    if (d[i] == 0xFF && (d[i + 1] == 0xC0 || d[i + 1] == 0xC2 || d[i + 1] == 0xC9 || d[i + 1] == 0xCA)) {
      d[i + 5] = uint8_t(h >> 8), d[i + 6] = uint8_t(h);
      d[i + 7] = uint8_t(w >> 8), d[i + 8] = uint8_t(w);
      return d;
    }
  ADD_FAILURE() << "no frame header";
  return d;
}

struct TClaim {
  const char* What;
  std::vector<uint8_t> Data;
  bool Jpeg;
  const char* Why;  // part of the refusal's message
};

}  // namespace

TEST(HostileSizesTest, SmallFilesClaimingHugePicturesAreRefusedCheaply) {
  const TClaim cases[] = {
      {"RLE8 claiming 8192 x 8192", ShortRle(8192, 8192, false), false, "too large"},
      {"RLE8 claiming 4096 x 4096, stream cut short", ShortRle(4096, 4096, false), false, "ends early"},
      {"RLE4 claiming 5000 x 5000, stream cut short", ShortRle(5000, 5000, true), false, "ends early"},
      {"24-bit claiming 4096 x 4096", Uncompressed24(4096, 4096), false, "truncated"},
      {"baseline JPEG claiming 8192 x 8192", ClaimingJpeg(8192, 8192, false, false), true, "too large"},
      {"baseline JPEG claiming 5000 x 5000", ClaimingJpeg(5000, 5000, false, false), true, "too short"},
      {"progressive JPEG claiming 5000 x 5000", ClaimingJpeg(5000, 5000, true, false), true, "too short"},
      {"progressive arithmetic JPEG claiming 8192 x 8192", ClaimingJpeg(8192, 8192, true, true), true,
       "too large"},
      {"progressive arithmetic JPEG claiming 5000 x 5000", ClaimingJpeg(5000, 5000, true, true), true,
       "too short"},
      {"baseline arithmetic JPEG claiming 5000 x 5000", ClaimingJpeg(5000, 5000, false, true), true,
       "too short"},
  };
  for (const TClaim& c : cases) {
    SCOPED_TRACE(std::string(c.What) + ", " + std::to_string(c.Data.size()) + " bytes");
    EXPECT_LT(c.Data.size(), 1000u);
    TBitmap b(3, 2);
    std::string message;
    const long long growth = PeakResidentGrowth([&] {
      try {
        if (c.Jpeg)
          DecodeJpeg(c.Data, b, "claim.jpg", true);
        else
          DecodeBmp(c.Data, b, "claim.bmp");
      } catch (const EInvalidGraphic& e) {
        message = e.Message();
      }
    });
    EXPECT_NE(message.find(c.Why), std::string::npos) << message;
    EXPECT_NE(message.find(c.Jpeg ? "\"claim.jpg\"" : "\"claim.bmp\""), std::string::npos) << message;
    EXPECT_EQ(b.Width(), 3);
    EXPECT_LT(growth, kCheap);
  }
}

TEST(HostileSizesTest, LimitsDependOnTheUseAndRealPicturesStillDecode) {
  // A whole RLE picture of 2000 x 2000 is a real picture: fine as a background, too large for a card.
  const std::vector<uint8_t> rle = WholeRle8(2000, 2000);
  TBitmap b;
  DecodeBmp(rle, b, "big.bmp");
  EXPECT_EQ(b.Width(), 2000);
  EXPECT_EQ(b.Pixel(0, 1999), clLime);  // the run is on the bottom row
  EXPECT_EQ(b.Pixel(5, 1999), clRed);   // pixels it skips take the first palette entry
  TBitmap card;
  EXPECT_THROW(DecodeBmp(rle, card, "01c.bmp", kCardPictureLimits), EInvalidGraphic);
  EXPECT_TRUE(card.Empty());

  // Arithmetic coding still decodes, progressive or not.
  for (bool progressive : {false, true}) {
    std::vector<TColor> pixels(64 * 48);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = TColor((i * 37) & 0xFFFFFF);
    TBitmap j;
    DecodeJpeg(MakeCodedJpeg(64, 48, TTestJpegKind::Colour, 90, progressive, true, pixels), j, "a.jpg", true);
    EXPECT_EQ(j.Width(), 64);
    EXPECT_EQ(j.Height(), 48);
  }
}
