#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Jpeg.h"
#include "tests/platform/graphics/GraphicsTestUtil.h"
#include "tests/platform/graphics/TestJpegWriter.h"
#include "tests/support/TestUtil.h"

namespace {

// Four 16 x 16 blocks side by side in two rows: flat colours survive compression closely.
constexpr TColor kBlocks[2][4] = {{clRed, clLime, clBlue, clWhite},
                                  {clYellow, clBlack, RGB(200, 100, 50), clTeal}};

std::vector<uint8_t> BlocksJpeg(bool progressive) {
  return MakeJpeg(64, 32, TTestJpegKind::Colour, 95, progressive,
                  [](int x, int y) { return kBlocks[y / 16][x / 16]; });
}

void ExpectNear(TColor got, TColor want, int tolerance, const std::string& where) {
  EXPECT_NEAR(GetRValue(got), GetRValue(want), tolerance) << where;
  EXPECT_NEAR(GetGValue(got), GetGValue(want), tolerance) << where;
  EXPECT_NEAR(GetBValue(got), GetBValue(want), tolerance) << where;
}

void ExpectBlocks(const TBitmap& b) {
  ASSERT_EQ(b.Width(), 64);
  ASSERT_EQ(b.Height(), 32);
  for (int by = 0; by < 2; ++by)
    for (int bx = 0; bx < 4; ++bx)
      for (int y = by * 16 + 4; y < by * 16 + 12; ++y)
        for (int x = bx * 16 + 4; x < bx * 16 + 12; ++x)
          ExpectNear(b.Pixel(x, y), kBlocks[by][bx], 12, std::to_string(x) + "," + std::to_string(y));
  ExpectOpaque(b);
}

std::string MessageOf(const std::vector<uint8_t>& data, const std::string& name) {
  TBitmap b;
  try {
    DecodeJpeg(data, b, name, true);
  } catch (const EInvalidGraphic& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(JpegTest, ColourPictureInBothQualities) {
  for (bool progressive : {false, true})
    for (bool quality : {true, false}) {
      SCOPED_TRACE(testing::Message() << (progressive ? "progressive " : "baseline ")
                                      << (quality ? "best quality" : "best speed"));
      TBitmap b;
      b.Transparent = true;
      DecodeJpeg(BlocksJpeg(progressive), b, "blocks.jpg", quality);
      ExpectBlocks(b);
      EXPECT_EQ(b.PixelFormat, TPixelFormat::pf24bit);
      EXPECT_TRUE(b.Transparent);  // the flag belongs to the bitmap, not the file
    }
}

TEST(JpegTest, GreyscaleComesOutGrey) {
  const std::vector<uint8_t> data =
      MakeJpeg(256, 8, TTestJpegKind::Grey, 95, false, [](int x, int) { return RGB(x, x, x); });
  for (bool quality : {true, false}) {
    TBitmap b;
    DecodeJpeg(data, b, "grey.jpg", quality);
    ASSERT_EQ(b.Width(), 256);
    ASSERT_EQ(b.Height(), 8);
    for (int x = 0; x < 256; x += 5) {
      const TColor c = b.Pixel(x, 4);
      EXPECT_EQ(GetRValue(c), GetGValue(c)) << x;
      EXPECT_EQ(GetRValue(c), GetBValue(c)) << x;
      EXPECT_NEAR(GetRValue(c), x, 6) << x;
    }
    ExpectOpaque(b);
  }
}

TEST(JpegTest, OddSizesKeepTheirSize) {
  for (int w : {1, 7, 17})
    for (int h : {1, 9}) {
      TBitmap b;
      DecodeJpeg(MakeJpeg(w, h, TTestJpegKind::Colour, 80, false,
                          [](int x, int y) { return RGB(x * 9, y * 20, 90); }),
                 b, "odd.jpg", true);
      EXPECT_EQ(b.Width(), w);
      EXPECT_EQ(b.Height(), h);
      ExpectOpaque(b);
    }
}

TEST(JpegTest, PrintPicturesComeOutInRedGreenAndBlue) {
  // Blocks of inks (cyan, magenta, yellow, black) and the colour each gives on white paper.
  const std::pair<TColor, TColor> blocks[] = {{Inks(0, 0, 0, 0), clWhite},
                                              {Inks(255, 0, 0, 0), RGB(0, 255, 255)},
                                              {Inks(0, 255, 255, 0), RGB(255, 0, 0)},
                                              {Inks(0, 0, 0, 128), RGB(127, 127, 127)},
                                              {Inks(128, 0, 0, 128), RGB(63, 127, 127)},
                                              {Inks(255, 255, 255, 255), clBlack}};
  for (TTestJpegKind kind : {TTestJpegKind::Cmyk, TTestJpegKind::CmykPlain, TTestJpegKind::Ycck}) {
    TBitmap b;
    DecodeJpeg(MakeJpeg(96, 16, kind, 95, false, [&](int x, int) { return blocks[x / 16].first; }), b,
               "print.jpg", true);
    for (int i = 0; i < 6; ++i)
      ExpectNear(b.Pixel(i * 16 + 8, 8), blocks[i].second, 8,
                 "kind " + std::to_string(int(kind)) + ", block " + std::to_string(i));
  }
}

TEST(JpegTest, TruncatedFilesAreRefused) {
  const std::vector<uint8_t> full = BlocksJpeg(false);
  // Cut in the middle of the picture data, and cut just before the end-of-image mark: libjpeg
  // itself only warns about both.
  for (size_t cut : {full.size() / 2, full.size() - 2, full.size() - 1}) {
    const std::vector<uint8_t> part(full.begin(), full.begin() + long(cut));
    const std::string m = MessageOf(part, "cut.jpg");
    EXPECT_NE(m.find("\"cut.jpg\""), std::string::npos) << "cut at " << cut << ": " << m;
  }
  EXPECT_NE(MessageOf({}, "empty.jpg").find("empty.jpg"), std::string::npos);
  EXPECT_NE(MessageOf({0xFF, 0xD8, 0xFF}, "three.jpg").find("three.jpg"), std::string::npos);
}

TEST(JpegTest, HugeDimensionsAreRefusedBeforeAllocating) {
  std::vector<uint8_t> data = BlocksJpeg(false);
  // Patch the frame header (SOF0: FF C0, length, precision, height, width).
  size_t sof = 0;
  for (size_t i = 2; i + 9 < data.size(); ++i)
    if (data[i] == 0xFF && data[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  ASSERT_NE(sof, 0u);
  for (auto [h, w] : {std::pair{65000, 65000}, std::pair{32768, 4096}, std::pair{16, 40000}}) {
    data[sof + 5] = uint8_t(h >> 8), data[sof + 6] = uint8_t(h);
    data[sof + 7] = uint8_t(w >> 8), data[sof + 8] = uint8_t(w);
    const std::string m = MessageOf(data, "huge.jpg");
    EXPECT_NE(m.find("too large"), std::string::npos) << h << "x" << w << ": " << m;
  }
}

TEST(JpegTest, HarmlessJunkBetweenMarkersIsAccepted) {
  // Stray bytes before a marker only make libjpeg warn; the picture is whole, so it is taken.
  std::vector<uint8_t> data = BlocksJpeg(false);
  size_t sof = 0;
  for (size_t i = 2; i + 1 < data.size(); ++i)
    if (data[i] == 0xFF && data[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  ASSERT_NE(sof, 0u);
  data.insert(data.begin() + long(sof), {0x12, 0x34, 0x56});
  TBitmap b;
  DecodeJpeg(data, b, "junk.jpg", true);
  ExpectBlocks(b);
}

TEST(JpegTest, FilesLoadByContentAndFailuresNameTheFile) {
  TTempDir t;
  const std::vector<uint8_t> data = BlocksJpeg(true);
  WriteFileAtomic(t / "Back.JPG", std::string(data.begin(), data.end()));
  TBitmap b;
  LoadJpegFile(t / "back.jpg", b, false);
  ExpectBlocks(b);
  TBitmap c;
  c.LoadFromFile(t / "BACK.jpg");
  ExpectBlocks(c);
  try {
    LoadJpegFile(t / "none.jpg", b, true);
    ADD_FAILURE() << "no exception";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find("none.jpg"), std::string::npos);
  }
  WriteFileAtomic(t / "half.jpg", std::string(data.begin(), data.begin() + long(data.size() / 2)));
  EXPECT_THROW(LoadJpegFile(t / "half.jpg", b, true), EInvalidGraphic);
  EXPECT_THROW(c.LoadFromFile(t / "half.jpg"), EInvalidGraphic);
  ExpectBlocks(b);  // unchanged by the failed loads
  ExpectBlocks(c);
}
