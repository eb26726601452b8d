// Damaged, truncated and hostile picture files: each is either decoded into a sane bitmap or
// refused with EInvalidGraphic naming the file. Nothing else may happen: no other exception, no
// read outside the data (the sanitizers watch), no absurd allocation, no endless loop.

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/core/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Jpeg.h"
#include "tests/platform/graphics/GraphicsTestUtil.h"
#include "tests/platform/graphics/TestBmpWriter.h"
#include "tests/platform/graphics/TestJpegWriter.h"

namespace {

enum class TOutcome { Decoded, Refused, Wrong };

TOutcome Try(const std::vector<uint8_t>& data, bool jpeg, std::string* why = nullptr) {
  const std::string name = jpeg ? "damaged.jpg" : "damaged.bmp";
  TBitmap b = Pattern(2, 2, 1);
  const TBitmap before = b;
  try {
    if (jpeg)
      DecodeJpeg(data, b, name, true);
    else
      DecodeBmp(data, b, name);
  } catch (const EInvalidGraphic& e) {
    const std::string m = e.what();
    if (why) *why = m;
    if (m.find("\"" + name + "\"") == std::string::npos) {
      ADD_FAILURE() << "message does not name the file: " << m;
      return TOutcome::Wrong;
    }
    if (!SamePixels(b, before)) {
      ADD_FAILURE() << "a refused file changed the bitmap";
      return TOutcome::Wrong;
    }
    return TOutcome::Refused;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "wrong exception: " << e.what();
    return TOutcome::Wrong;
  }
  if (b.Width() > 32768 || b.Height() > 32768 || b.Width() < 0 || b.Height() < 0) {
    ADD_FAILURE() << "absurd size " << b.Width() << "x" << b.Height();
    return TOutcome::Wrong;
  }
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if ((b.RawPixel(x, y) >> 24) != 0xFF) {
        ADD_FAILURE() << "X byte not 0xFF at " << x << "," << y;
        return TOutcome::Wrong;
      }
  return TOutcome::Decoded;
}

void ExpectRefused(const std::vector<uint8_t>& data, const std::string& what, bool jpeg = false) {
  std::string why;
  EXPECT_EQ(Try(data, jpeg, &why), TOutcome::Refused) << what;
}

TTestBmp Indexed8(int w, int h) {
  TTestBmp s;
  s.width = w;
  s.height = h;
  s.bpp = 8;
  s.palette = {clRed, clLime, clBlue, clWhite};
  s.clrUsed = 4;
  for (int i = 0; i < w * h; ++i) s.values.push_back(uint32_t(i % 4));
  return s;
}

TTestBmp Rle8(int w, int h) {
  TTestBmp s = Indexed8(w, h);
  s.compression = 1;
  s.rle = EncodeRle8(s.values, w, h, false, false);
  return s;
}

// Valid files of every kind the reader knows, to be damaged.
std::vector<std::vector<uint8_t>> BmpSeeds() {
  std::vector<std::vector<uint8_t>> seeds;
  for (int bpp : {1, 4, 8}) {
    TTestBmp s = Indexed8(12, 5);
    s.bpp = bpp;
    s.clrUsed = 0;
    s.palette.resize(size_t(1) << bpp, clGray);
    seeds.push_back(BuildBmp(s));
  }
  {
    TTestBmp s = Indexed8(6, 4);
    s.headerSize = 12;
    s.clrUsed = 0;
    s.palette.resize(256, clGray);
    seeds.push_back(BuildBmp(s));
  }
  seeds.push_back(BuildBmp(Rle8(9, 6)));
  {
    TTestBmp s = Indexed8(9, 6);
    s.bpp = 4;
    s.compression = 2;
    s.palette.resize(16, clGray);
    s.rle = EncodeRle4(s.values, 9, 6, true);
    s.topDown = true;
    seeds.push_back(BuildBmp(s));
  }
  for (uint32_t hdr : {40u, 108u, 124u}) {
    TTestBmp s;
    s.width = 5;
    s.height = 3;
    s.bpp = 16;
    s.compression = 3;
    s.headerSize = hdr;
    s.masks[0] = 0xF800, s.masks[1] = 0x07E0, s.masks[2] = 0x001F;
    for (int i = 0; i < 15; ++i) s.values.push_back(uint32_t(i * 4099));
    seeds.push_back(BuildBmp(s));
  }
  {
    TTestBmp s;
    s.width = 4;
    s.height = 3;
    s.topDown = true;
    for (int i = 0; i < 12; ++i) s.values.push_back(uint32_t(i * 0x102030));
    seeds.push_back(BuildBmp(s));
    s.bpp = 32;
    seeds.push_back(BuildBmp(s));
  }
  return seeds;
}

std::vector<std::vector<uint8_t>> JpegSeeds() {
  auto colours = [](int x, int y) { return RGB(x * 13, y * 17, (x + y) * 5); };
  return {MakeJpeg(24, 16, TTestJpegKind::Colour, 75, false, colours),
          MakeJpeg(24, 16, TTestJpegKind::Colour, 75, true, colours),
          MakeJpeg(17, 9, TTestJpegKind::Grey, 60, false, colours)};
}

}  // namespace

TEST(DamagedBmpTest, BrokenHeaders) {
  const std::vector<uint8_t> good = BuildBmp(Indexed8(4, 4));
  ASSERT_EQ(Try(good, false), TOutcome::Decoded);
  auto with32 = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> d = good;
    Put32(d, at, v);
    return d;
  };
  auto with16 = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> d = good;
    Put16(d, at, v);
    return d;
  };
  ExpectRefused({}, "empty");
  ExpectRefused({'B', 'M'}, "signature only");
  ExpectRefused(std::vector<uint8_t>(good.begin(), good.begin() + 20), "header cut");
  std::vector<uint8_t> sig = good;
  sig[1] = 'A';
  ExpectRefused(sig, "wrong signature");
  for (uint32_t h : {0u, 13u, 39u, 41u, 64u, 200u, 0xFFFFFFFFu}) ExpectRefused(with32(14, h), "header size");
  ExpectRefused(with16(26, 0), "no planes");
  ExpectRefused(with16(26, 2), "two planes");
  for (uint32_t bpp : {0u, 3u, 5u, 7u, 64u, 0xFFFFu}) ExpectRefused(with16(28, bpp), "bit depth");
  for (uint32_t c : {2u, 3u, 4u, 5u, 7u, 0xFFFFFFFFu}) ExpectRefused(with32(30, c), "compression");
  for (uint32_t off : {0u, 13u, 54u, 60u, uint32_t(good.size()) + 1, 0x7FFFFFFFu, 0xFFFFFFFFu})
    ExpectRefused(with32(10, off), "pixel offset");
  // biClrUsed 0 asks for 256 entries; the offset shows 4, and the pixels use no more: accepted.
  EXPECT_EQ(Try(with32(46, 0), false), TOutcome::Decoded);
  std::vector<uint8_t> noPalette = good;
  Put32(noPalette, 10, 54);
  ExpectRefused(noPalette, "no palette");
}

TEST(DamagedBmpTest, HugeAndOverflowingSizes) {
  const std::vector<uint8_t> good = BuildBmp(Indexed8(4, 4));
  auto sized = [&](int32_t w, int32_t h, int bpp) {
    std::vector<uint8_t> d = good;
    Put32(d, 18, uint32_t(w));
    Put32(d, 22, uint32_t(h));
    Put16(d, 28, uint32_t(bpp));
    return d;
  };
  const int32_t cases[][2] = {{INT_MAX, 4},   {4, INT_MAX},    {4, INT_MIN},       {-4, 4},
                              {INT_MIN, 4},   {32769, 1},      {1, 32769},         {32768, 32768},
                              {65536, 65536}, {0x40000000, 4}, {0x10000, 0x10000}, {20000, -20000}};
  for (auto [w, h] : cases)
    for (int bpp : {1, 8, 24, 32})
      ExpectRefused(sized(w, h, bpp), std::to_string(w) + "x" + std::to_string(h));
  // RLE files need not hold every pixel, yet must still stay inside the size cap.
  std::vector<uint8_t> rle = BuildBmp(Rle8(4, 4));
  Put32(rle, 18, 32768);
  Put32(rle, 22, 32768);
  ExpectRefused(rle, "huge RLE");
}

TEST(DamagedBmpTest, PixelDataProblems) {
  TTestBmp s = Indexed8(5, 3);
  s.values[7] = 4;  // past the 4-entry palette
  ExpectRefused(BuildBmp(s), "index past the palette");
  s.values[7] = 255;
  ExpectRefused(BuildBmp(s), "index 255");
  // Every row but the last needs its padding; a missing byte of real pixels is refused.
  const std::vector<uint8_t> good = BuildBmp(Indexed8(5, 3));
  ExpectRefused(std::vector<uint8_t>(good.begin(), good.end() - 4), "last pixel missing");
  EXPECT_EQ(Try(std::vector<uint8_t>(good.begin(), good.end() - 3), false), TOutcome::Decoded);
}

TEST(DamagedBmpTest, RleStreamsRunningOutside) {
  const struct {
    const char* what;
    std::vector<uint8_t> rle;
  } cases[] = {
      {"run past the row end", {5, 1, 0, 0, 0, 1}},
      {"runs adding up past the row end", {3, 1, 2, 1, 0, 1}},
      {"absolute run past the row end", {0, 5, 1, 2, 3, 1, 2, 0, 0, 1}},
      {"absolute run past the data", {0, 4, 1, 2}},
      {"delta past the right edge", {0, 2, 5, 0, 0, 1}},
      {"delta past the bottom", {0, 2, 0, 3, 0, 1}},
      {"delta cut short", {0, 2, 1}},
      {"pixels after the last row", {0, 0, 0, 0, 1, 1}},
      {"end of line past the last row", {0, 0, 0, 0, 0, 0, 0, 1}},
      {"ends in the middle", {2, 1}},
      {"ends in the middle of a command", {2, 1, 0}},
      {"run colour past the palette", {2, 7, 0, 1}},
      {"absolute colour past the palette", {0, 3, 1, 9, 1, 0, 0, 1}},
      {"nothing at all", {}},
  };
  for (const auto& c : cases) {
    TTestBmp s = Indexed8(4, 2);
    s.compression = 1;
    s.rle = c.rle;
    ExpectRefused(BuildBmp(s), c.what);
  }
  TTestBmp s = Indexed8(4, 2);
  s.compression = 2;
  s.bpp = 4;
  s.rle = {4, 0x15, 0, 0, 0, 1};  // nibble 5 past the 4-entry palette
  ExpectRefused(BuildBmp(s), "RLE4 nibble past the palette");
  s.rle = {0, 3, 0x12, 0x30, 0, 3, 0x12, 0x30};  // second run past the row end
  ExpectRefused(BuildBmp(s), "RLE4 absolute past the row end");
}

TEST(DamagedBmpTest, TruncatedAtEveryOffset) {
  for (const std::vector<uint8_t>& seed : BmpSeeds()) {
    ASSERT_EQ(Try(seed, false), TOutcome::Decoded);
    const bool core = Get32(seed, 14) == 12;
    const bool rle = !core && (Get32(seed, 30) == 1 || Get32(seed, 30) == 2);
    // What may be cut off while the picture stays whole: the last row's padding, or an RLE
    // stream's final end-of-picture mark (but not half of it).
    size_t whole = seed.size();
    if (rle) {
      whole -= 2;
    } else {
      const uint32_t w = core ? Get16(seed, 18) : Get32(seed, 18), bpp = Get16(seed, core ? 24 : 28);
      whole -= ((w * bpp + 31) / 32) * 4 - (w * bpp + 7) / 8;
    }
    for (size_t cut = 0; cut < seed.size(); ++cut) {
      const std::vector<uint8_t> part(seed.begin(), seed.begin() + long(cut));
      const TOutcome o = Try(part, false);
      if (cut < whole || (rle && cut == seed.size() - 1))
        EXPECT_EQ(o, TOutcome::Refused) << "cut at " << cut << " of " << seed.size();
      else
        EXPECT_EQ(o, TOutcome::Decoded) << "cut at " << cut << " of " << seed.size();
    }
  }
}

TEST(DamagedBmpTest, MutationsDecodeOrRefuse) {
  std::mt19937 rng(2024);
  int decoded = 0, refused = 0;
  const uint32_t extremes[] = {0, 1, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
  for (const std::vector<uint8_t>& seed : BmpSeeds())
    for (int n = 0; n < 600; ++n) {
      std::vector<uint8_t> d = seed;
      const int edits = 1 + int(rng() % 4);
      for (int e = 0; e < edits; ++e) {
        switch (rng() % 4) {
          case 0:
            d[rng() % d.size()] = uint8_t(rng());
            break;
          case 1:
            d[rng() % d.size()] ^= uint8_t(1u << (rng() % 8));
            break;
          case 2: {  // an extreme value over a header field
            const size_t at = 2 + 2 * (rng() % 26);
            if (at + 4 <= d.size()) Put32(d, at, extremes[rng() % 8]);
            break;
          }
          case 3:  // a chunk removed or added
            if (rng() % 2 && d.size() > 60) {
              const size_t at = 54 + rng() % (d.size() - 54);
              d.erase(d.begin() + long(at), d.begin() + long(std::min(d.size(), at + 1 + rng() % 8)));
            } else {
              d.insert(d.begin() + long(rng() % d.size()), size_t(1 + rng() % 8), uint8_t(rng()));
            }
            break;
        }
      }
      const TOutcome o = Try(d, false);
      ASSERT_NE(o, TOutcome::Wrong) << "mutation " << n;
      (o == TOutcome::Decoded ? decoded : refused)++;
    }
  // Both outcomes occur, so the loop exercised the reader's paths and its refusals.
  EXPECT_GT(decoded, 100);
  EXPECT_GT(refused, 100);
}

TEST(DamagedBmpTest, GarbageAfterTheSignature) {
  std::mt19937 rng(99);
  for (int n = 0; n < 500; ++n) {
    std::vector<uint8_t> d(size_t(rng() % 200));
    for (uint8_t& b : d) b = uint8_t(rng());
    if (d.size() >= 2) d[0] = 'B', d[1] = 'M';
    if (d.size() >= 18 && n % 2) Put32(d, 14, 40);  // get past the header size test half the time
    ASSERT_NE(Try(d, false), TOutcome::Wrong) << n;
  }
}

TEST(DamagedJpegTest, TruncatedAtEveryOffset) {
  for (const std::vector<uint8_t>& seed : JpegSeeds()) {
    ASSERT_EQ(Try(seed, true), TOutcome::Decoded);
    for (size_t cut = 0; cut < seed.size(); ++cut) {
      const std::vector<uint8_t> part(seed.begin(), seed.begin() + long(cut));
      EXPECT_EQ(Try(part, true), TOutcome::Refused) << "cut at " << cut << " of " << seed.size();
    }
  }
}

TEST(DamagedJpegTest, MutationsDecodeOrRefuse) {
  std::mt19937 rng(7);
  int decoded = 0, refused = 0;
  for (const std::vector<uint8_t>& seed : JpegSeeds())
    for (int n = 0; n < 400; ++n) {
      std::vector<uint8_t> d = seed;
      const int edits = 1 + int(rng() % 3);
      for (int e = 0; e < edits; ++e) {
        // Mostly in the headers (the first few hundred bytes), where the damage is worst.
        const size_t at = rng() % 2 ? rng() % std::min<size_t>(d.size(), 400) : rng() % d.size();
        if (rng() % 2)
          d[at] = uint8_t(rng());
        else
          d[at] ^= uint8_t(1u << (rng() % 8));
      }
      const TOutcome o = Try(d, true);
      ASSERT_NE(o, TOutcome::Wrong) << "mutation " << n;
      (o == TOutcome::Decoded ? decoded : refused)++;
    }
  EXPECT_GT(decoded, 50);
  EXPECT_GT(refused, 50);
}

TEST(DamagedJpegTest, GarbageAfterTheSignature) {
  std::mt19937 rng(5);
  for (int n = 0; n < 300; ++n) {
    std::vector<uint8_t> d(size_t(3 + rng() % 300));
    for (uint8_t& b : d) b = uint8_t(rng());
    d[0] = 0xFF, d[1] = 0xD8, d[2] = 0xFF;
    ASSERT_EQ(Try(d, true), TOutcome::Refused) << n;
  }
}
