#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"
#include "tests/platform/graphics/GraphicsTestUtil.h"
#include "tests/platform/graphics/TestBmpWriter.h"
#include "tests/support/TestUtil.h"

namespace {

TBitmap Decode(const std::vector<uint8_t>& data) {
  TBitmap b;
  DecodeBmp(data, b, "test.bmp");
  return b;
}

// A palette whose entries are all different and none of them black or white.
std::vector<TColor> Palette(int n) {
  std::vector<TColor> p;
  for (int i = 0; i < n; ++i) p.push_back(RGB(10 + (i * 37) % 230, 20 + (i * 91) % 220, 30 + (i * 53) % 200));
  return p;
}

std::vector<uint32_t> Indexes(int w, int h, int colours, int salt) {
  std::vector<uint32_t> v(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // Runs of equal pixels mixed with changing ones, so RLE uses both of its modes.
      const int run = (x / 3 + y) % 4 == 0 ? 0 : x * 7 + y * 3 + salt;
      v[size_t(y) * size_t(w) + size_t(x)] = uint32_t(run % colours);
    }
  return v;
}

void ExpectIndexed(const TBitmap& b, const std::vector<uint32_t>& idx, const std::vector<TColor>& pal, int w,
                   int h) {
  ASSERT_EQ(b.Width(), w);
  ASSERT_EQ(b.Height(), h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(b.Pixel(x, y), pal[idx[size_t(y) * size_t(w) + size_t(x)]]) << "pixel " << x << "," << y;
  ExpectOpaque(b);
}

int Scale(uint32_t v, int bits) {
  return int(std::lround(v * 255.0 / ((1u << bits) - 1)));
}

constexpr uint32_t kHeaders[] = {12, 40, 52, 56, 108, 124};

}  // namespace

TEST(BmpReadTest, IndexedDepthsEveryHeaderBothRowOrders) {
  for (int bpp : {1, 2, 4, 8})
    for (uint32_t hdr : kHeaders)
      for (bool topDown : {false, true})
        for (int w : {1, 3, 7, 8, 9, 33}) {
          if (hdr == 12 && topDown) continue;  // core headers have unsigned heights
          TTestBmp s;
          s.width = w;
          s.height = 5;
          s.bpp = bpp;
          s.headerSize = hdr;
          s.topDown = topDown;
          s.palette = Palette(1 << bpp);
          s.values = Indexes(w, 5, 1 << bpp, bpp);
          SCOPED_TRACE(testing::Message()
                       << bpp << " bpp, header " << hdr << ", width " << w << (topDown ? ", top-down" : ""));
          const TBitmap b = Decode(BuildBmp(s));
          ExpectIndexed(b, s.values, s.palette, w, 5);
          EXPECT_EQ(b.PixelFormat, TPixelFormat::pf24bit);
        }
}

TEST(BmpReadTest, OneBitMaskMapsThroughItsPalette) {
  TTestBmp s;
  s.width = 4;
  s.height = 2;
  s.bpp = 1;
  s.palette = {clWhite, clBlack};  // a mask stored with white first
  s.values = {0, 1, 1, 0, 1, 0, 0, 1};
  const TBitmap b = Decode(BuildBmp(s));
  const char* black[] = {".##.", "#..#"};
  ExpectMask(b, black, clBlack);
  EXPECT_EQ(b.Pixel(0, 0), clWhite);
}

TEST(BmpReadTest, ShortPalettes) {
  // biClrUsed names a table of 3 entries; indexes up to 2 are fine.
  TTestBmp s;
  s.width = 5;
  s.height = 3;
  s.bpp = 8;
  s.palette = Palette(3);
  s.clrUsed = 3;
  s.values = Indexes(5, 3, 3, 1);
  ExpectIndexed(Decode(BuildBmp(s)), s.values, s.palette, 5, 3);
  // The same with biClrUsed 0: the pixel data offset shows the table is short.
  s.clrUsed = 0;
  ExpectIndexed(Decode(BuildBmp(s)), s.values, s.palette, 5, 3);
  // A biClrUsed larger than the depth allows is cut to the depth.
  TTestBmp f = s;
  f.bpp = 4;
  f.palette = Palette(16);
  f.clrUsed = 300;
  f.values = Indexes(5, 3, 16, 2);
  ExpectIndexed(Decode(BuildBmp(f)), f.values, f.palette, 5, 3);
  // An index past the short table is refused.
  s.values[7] = 3;
  EXPECT_THROW(Decode(BuildBmp(s)), EInvalidGraphic);
  s.clrUsed = 3;
  EXPECT_THROW(Decode(BuildBmp(s)), EInvalidGraphic);
}

TEST(BmpReadTest, SixteenBitFiveFiveFiveAndBitFields) {
  // BI_RGB: x-5-5-5, the top bit ignored.
  TTestBmp s;
  s.width = 7;
  s.height = 3;
  s.bpp = 16;
  for (int i = 0; i < 21; ++i) s.values.push_back(uint32_t(i * 1553 + 7) & 0xFFFF);
  TBitmap b = Decode(BuildBmp(s));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) {
      const uint32_t v = s.values[size_t(y * 7 + x)];
      EXPECT_EQ(b.Pixel(x, y), RGB(Scale((v >> 10) & 31, 5), Scale((v >> 5) & 31, 5), Scale(v & 31, 5)));
    }
  EXPECT_EQ(b.PixelFormat, TPixelFormat::pf24bit);
  // BI_BITFIELDS 5-6-5, masks after a 40-byte header and inside V3, V4 and V5 headers.
  for (uint32_t hdr : {40u, 56u, 108u, 124u})
    for (uint32_t comp : {3u, 6u}) {
      s.compression = comp;
      s.headerSize = hdr;
      s.masks[0] = 0xF800, s.masks[1] = 0x07E0, s.masks[2] = 0x001F;
      b = Decode(BuildBmp(s));
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
          const uint32_t v = s.values[size_t(y * 7 + x)];
          ASSERT_EQ(b.Pixel(x, y), RGB(Scale(v >> 11, 5), Scale((v >> 5) & 63, 6), Scale(v & 31, 5)))
              << hdr << " " << comp;
        }
    }
  // Full-range checks of the scaling: white stays white, the middle of 6 bits is not rounded down to 7 bits.
  s.values.assign(21, 0xFFFF);
  EXPECT_EQ(Decode(BuildBmp(s)).Pixel(3, 1), clWhite);
}

TEST(BmpReadTest, TwentyFourBitWithEveryRowPadding) {
  for (uint32_t hdr : kHeaders)
    for (int w = 1; w <= 5; ++w)
      for (bool topDown : {false, true}) {
        if (hdr == 12 && topDown) continue;
        TTestBmp s;
        s.width = w;
        s.height = 4;
        s.headerSize = hdr;
        s.topDown = topDown;
        const TBitmap want = Pattern(w, 4, uint32_t(w));
        for (int y = 0; y < 4; ++y)
          for (int x = 0; x < w; ++x) s.values.push_back(uint32_t(want.Pixel(x, y)));
        const TBitmap b = Decode(BuildBmp(s));
        EXPECT_SAME_PIXELS(b, want);
        EXPECT_EQ(b.PixelFormat, TPixelFormat::pf24bit);
      }
}

TEST(BmpReadTest, ThirtyTwoBitPlainAndBitFields) {
  TTestBmp s;
  s.width = 3;
  s.height = 2;
  s.bpp = 32;
  // B, G, R, X in memory with any X: X is not alpha.
  s.values = {0x00102030, 0x7F405060, 0xFF708090, 0x12A0B0C0, 0x00D0E0F0, 0x00010203};
  TBitmap b = Decode(BuildBmp(s));
  EXPECT_EQ(b.PixelFormat, TPixelFormat::pf32bit);
  EXPECT_EQ(b.RawPixel(0, 0), 0xFF102030u);
  EXPECT_EQ(b.RawPixel(1, 0), 0xFF405060u);
  EXPECT_EQ(b.RawPixel(2, 1), 0xFF010203u);
  ExpectOpaque(b);
  // Bit fields in R, G, B, X byte order, and 10-10-10 fields.
  s.compression = 3;
  s.masks[0] = 0x000000FF, s.masks[1] = 0x0000FF00, s.masks[2] = 0x00FF0000;
  b = Decode(BuildBmp(s));
  EXPECT_EQ(b.Pixel(0, 0), RGB(0x30, 0x20, 0x10));
  EXPECT_EQ(b.PixelFormat, TPixelFormat::pf32bit);
  s.headerSize = 124;
  s.masks[0] = 0x3FF00000, s.masks[1] = 0x000FFC00, s.masks[2] = 0x000003FF;
  s.values = {(1023u << 20) | (512u << 10) | 3u, 0, 0, 0, 0, 0};
  b = Decode(BuildBmp(s));
  EXPECT_EQ(b.Pixel(0, 0), RGB(255, 128, 0));
  // A zero mask gives a black channel.
  s.masks[1] = 0;
  b = Decode(BuildBmp(s));
  EXPECT_EQ(b.Pixel(0, 0), RGB(255, 0, 0));
}

TEST(BmpReadTest, Rle8RoundTrips) {
  for (bool topDown : {false, true})
    for (bool skip : {false, true})
      for (int w : {1, 2, 3, 5, 17, 300}) {
        TTestBmp s;
        s.width = w;
        s.height = 6;
        s.bpp = 8;
        s.compression = 1;
        s.topDown = topDown;
        s.palette = Palette(256);
        s.values = Indexes(w, 6, 256, 5);
        // An empty row, an empty last part of the picture when skipping.
        for (int x = 0; x < w; ++x) s.values[size_t(2 * w + x)] = 0, s.values[size_t(5 * w + x)] = 0;
        s.rle = EncodeRle8(s.values, w, 6, topDown, skip);
        SCOPED_TRACE(testing::Message()
                     << "width " << w << (topDown ? " top-down" : "") << (skip ? " skip" : ""));
        ExpectIndexed(Decode(BuildBmp(s)), s.values, s.palette, w, 6);
      }
}

TEST(BmpReadTest, Rle4RoundTrips) {
  for (bool topDown : {false, true})
    for (int w : {1, 2, 3, 4, 5, 6, 7, 11, 40, 301}) {
      TTestBmp s;
      s.width = w;
      s.height = 5;
      s.bpp = 4;
      s.compression = 2;
      s.topDown = topDown;
      s.palette = Palette(16);
      s.values = Indexes(w, 5, 16, 9);
      s.rle = EncodeRle4(s.values, w, 5, topDown);
      SCOPED_TRACE(testing::Message() << "width " << w << (topDown ? " top-down" : ""));
      ExpectIndexed(Decode(BuildBmp(s)), s.values, s.palette, w, 5);
    }
}

TEST(BmpReadTest, RleEscapesByHand) {
  TTestBmp s;
  s.width = 6;
  s.height = 4;
  s.bpp = 8;
  s.compression = 1;
  s.palette = {clGray, clRed, clBlue, clLime};
  // Bottom row: 2 red, absolute (blue, lime, red) padded, end of line.
  // Then a delta right 4 and one row further up (third row from the bottom, x 4), 2 lime, end of
  // line, one blue on the top row and the end of the picture: the rest keeps entry 0.
  s.rle = {2, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 4, 1, 2, 3, 0, 0, 1, 2, 0, 1};
  TBitmap b = Decode(BuildBmp(s));
  const TColor G = clGray, R = clRed, B = clBlue, L = clLime;
  const TColor want[4][6] = {
      {B, G, G, G, G, G},
      {G, G, G, G, L, L},
      {G, G, G, G, G, G},
      {R, R, B, L, R, G},
  };
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(b.Pixel(x, y), want[y][x]) << x << "," << y;
  // RLE4: a run alternates its two nibbles; an absolute run of 3 takes 2 bytes, no padding.
  s.bpp = 4;
  s.compression = 2;
  s.rle = {2, 0x12, 0, 3, 0x31, 0x20, 0, 0, 3, 0x30, 0, 1};
  b = Decode(BuildBmp(s));
  const TColor want4[2][6] = {{L, G, L, G, G, G}, {R, B, L, R, B, G}};
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(b.Pixel(x, 2), want4[0][x]) << x;
    EXPECT_EQ(b.Pixel(x, 3), want4[1][x]) << x;
    EXPECT_EQ(b.Pixel(x, 0), G) << x;
  }
  // A stream may end after its last row without the end-of-picture mark.
  s.height = 1;
  s.rle = {6, 0x11, 0, 0};
  b = Decode(BuildBmp(s));
  EXPECT_EQ(b.Pixel(5, 0), R);
}

TEST(BmpReadTest, ZeroSizePictureIsEmpty) {
  TTestBmp s;
  s.width = 0;
  s.height = 0;
  EXPECT_TRUE(Decode(BuildBmp(s)).Empty());
}

TEST(BmpWriteTest, TwentyFourBitBottomUpFile) {
  const TBitmap pic = Pattern(5, 3, 42);
  const std::vector<uint8_t> d = EncodeBmp24(pic);
  const uint32_t stride = 16;  // 5 * 3 = 15 bytes, padded to 16
  ASSERT_EQ(d.size(), 54u + stride * 3);
  auto u32 = [&](size_t at) {
    return uint32_t(d[at] | d[at + 1] << 8 | d[at + 2] << 16 | uint32_t(d[at + 3]) << 24);
  };
  auto u16 = [&](size_t at) { return uint32_t(d[at] | d[at + 1] << 8); };
  EXPECT_EQ(d[0], 'B');
  EXPECT_EQ(d[1], 'M');
  EXPECT_EQ(u32(2), d.size());
  EXPECT_EQ(u32(6), 0u);
  EXPECT_EQ(u32(10), 54u);
  EXPECT_EQ(u32(14), 40u);
  EXPECT_EQ(u32(18), 5u);
  EXPECT_EQ(u32(22), 3u);  // positive height: bottom-up
  EXPECT_EQ(u16(26), 1u);
  EXPECT_EQ(u16(28), 24u);
  EXPECT_EQ(u32(30), 0u);
  EXPECT_EQ(u32(34), stride * 3);
  EXPECT_EQ(u32(38), 2835u);
  EXPECT_EQ(u32(42), 2835u);
  EXPECT_EQ(u32(46), 0u);
  // First stored row is the bottom one, B, G, R order, zero padding.
  EXPECT_EQ(d[54], uint8_t(pic.RawPixel(0, 2)));
  EXPECT_EQ(d[55], uint8_t(pic.RawPixel(0, 2) >> 8));
  EXPECT_EQ(d[56], uint8_t(pic.RawPixel(0, 2) >> 16));
  EXPECT_EQ(d[54 + 15], 0);
  EXPECT_EQ(d[54 + stride], uint8_t(pic.RawPixel(0, 1)));
  TBitmap back = Decode(d);
  EXPECT_SAME_PIXELS(back, pic);
}

TEST(BmpWriteTest, RoundTripsOfManySizes) {
  for (int w : {1, 2, 3, 4, 71})
    for (int h : {1, 2, 96}) {
      TBitmap pic = Pattern(w, h, uint32_t(w * h));
      pic.ScanLine(0)[0] &= 0x00FFFFFF;  // an X byte of 0 is not written
      TBitmap back = Decode(EncodeBmp24(pic));
      pic.ScanLine(0)[0] |= kOpaque;
      EXPECT_SAME_PIXELS(back, pic);
    }
  EXPECT_TRUE(Decode(EncodeBmp24(TBitmap())).Empty());
}

TEST(BmpFileTest, SaveAndLoadThroughTheCaseInsensitiveLookup) {
  TTempDir t;
  const TBitmap pic = Pattern(9, 7, 3);
  SaveBmp24(t / "Pic.bmp", pic);
  TBitmap back;
  back.Transparent = true;
  LoadBmpFile(t / "PIC.BMP", back);
  EXPECT_SAME_PIXELS(back, pic);
  EXPECT_TRUE(back.Transparent);  // loading keeps the flag
  // Saving again over a case variant replaces that file rather than making a second one.
  SaveBmp24(t / "pic.BMP", Pattern(2, 2, 1));
  EXPECT_EQ(ListFiles(t.Path()).size(), 1u);
  TBitmap viaBitmap;
  viaBitmap.LoadFromFile(t / "Pic.bmp");
  EXPECT_SAME_PIXELS(viaBitmap, Pattern(2, 2, 1));
}

TEST(BmpFileTest, FailuresNameTheFileAndLeaveTheBitmapAlone) {
  TTempDir t;
  const TBitmap pic = Pattern(4, 4, 5);
  TBitmap b = pic;
  try {
    LoadBmpFile(t / "missing.bmp", b);
    ADD_FAILURE() << "no exception";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.bmp"), std::string::npos) << e.what();
  }
  try {
    SaveBmp24(t / "no/such/folder/out.bmp", pic);
    ADD_FAILURE() << "no exception";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find("out.bmp"), std::string::npos) << e.what();
  }
  WriteTextFile(t / "bad.bmp", "BM this is not a bitmap at all, just words");
  try {
    LoadBmpFile(t / "bad.bmp", b);
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find("bad.bmp"), std::string::npos) << e.what();
  }
  EXPECT_THROW(b.LoadFromFile(t / "bad.bmp"), EInvalidGraphic);
  WriteTextFile(t / "words.bmp", "neither kind of picture");
  EXPECT_THROW(b.LoadFromFile(t / "words.bmp"), EInvalidGraphic);
  EXPECT_SAME_PIXELS(b, pic);
}
