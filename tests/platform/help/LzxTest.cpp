// The help file's decompressor on streams written by the test: what it decodes, and the damage it
// refuses (a match reaching back past the reset, a frame cut short, a match past the frame's end).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/help/Lzx.h"

namespace {

constexpr int kWindowBits = 15;
constexpr size_t kFrame = kLzxFrameLength;

// Bits in 16-bit little-endian words, each filled from its highest bit down.
class TBitWriter {
 public:
  void Put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      FWord = uint16_t(FWord << 1 | (value >> i & 1));
      if (++FBits == 16) Flush();
    }
  }
  std::string Done() {
    while (FBits != 0) Put(0, 1);
    return FBytes;
  }

 private:
  void Flush() {
    FBytes += char(FWord & 0xFF);
    FBytes += char(FWord >> 8);
    FWord = 0;
    FBits = 0;
  }
  std::string FBytes;
  uint16_t FWord = 0;
  int FBits = 0;
};

// One verbatim block of a frame's length after a reset. Its main code: every byte 9 bits (0x100 +
// the byte), "three bytes from the last offset" 00 and "two bytes from 2 back" 01 with its one
// extra bit 0.
class TStream {
 public:
  static constexpr int kRepeat3 = 256 + 0 * 8 + 1, kCopy2 = 256 + 4 * 8 + 0;
  TStream() {
    W.Put(0, 1);  // no call translation
    W.Put(1, 3);  // verbatim
    W.Put(kFrame >> 8, 16);
    W.Put(kFrame & 0xFF, 8);
    // The code lengths, each as its change from 0, through a code of three symbols: 0 (none) as
    // 0, 8 (to 9) as 10 and 15 (to 2) as 11.
    auto lengths = [this](int first, int last, auto lengthOf) {
      for (int s = 0; s < 20; ++s) W.Put(s == 0 ? 1 : s == 8 || s == 15 ? 2 : 0, 4);
      for (int i = first; i < last; ++i) {
        const int l = lengthOf(i);
        if (l == 0)
          W.Put(0, 1);
        else
          W.Put(l == 9 ? 2 : 3, 2);
      }
    };
    lengths(0, 256, [](int) { return 9; });
    lengths(256, 256 + kWindowBits * 2 * 8, [](int i) { return i == kRepeat3 || i == kCopy2 ? 2 : 0; });
    lengths(0, 249, [](int) { return 0; });
  }
  void Byte(uint8_t b) { W.Put(0x100 | b, 9); }
  void Repeat3() { W.Put(0, 2); }
  void Copy2() {
    W.Put(1, 2);
    W.Put(0, 1);
  }
  TBitWriter W;
};

std::string Decode(TLzxDecoder& d, const std::string& in, bool* ok) {
  std::string out(kFrame, '\0');
  *ok = d.Frame(reinterpret_cast<const uint8_t*>(in.data()), in.size(),
                reinterpret_cast<uint8_t*>(out.data()), out.size());
  return out;
}

TEST(LzxDecoder, DecodesAFrameAndRefusesDamage) {
  // "ab" and then copies of the two bytes before: "abab...".
  TStream good;
  good.Byte('a');
  good.Byte('b');
  for (size_t n = 2; n < kFrame; n += 2) good.Copy2();
  const std::string bytes = good.W.Done();
  std::string want;
  while (want.size() < kFrame) want += "ab";
  TLzxDecoder d(kWindowBits);
  bool ok = false;
  EXPECT_TRUE(Decode(d, bytes, &ok) == want);
  EXPECT_TRUE(ok);

  struct TCase {
    const char* What;
    std::string Bytes;
  };
  std::vector<TCase> cases;
  {
    // A copy from before the first byte: the window holds nothing of this stream there.
    TStream s;
    s.Copy2();
    for (size_t n = 2; n < kFrame; n += 2) s.Copy2();
    cases.push_back({"a match before the reset", s.W.Done()});
  }
  {
    TStream s;
    s.Byte('a');
    s.Byte('b');
    s.Repeat3();  // "bbb": from 1 back, the offset a reset starts with
    for (size_t n = 5; n + 1 < kFrame; n += 2) s.Copy2();
    s.Repeat3();  // three bytes where one is left
    cases.push_back({"a match past the frame's end", s.W.Done()});
  }
  cases.push_back({"the frame cut short", bytes.substr(0, bytes.size() / 2)});
  cases.push_back({"the frame's tables cut short", bytes.substr(0, 40)});
  for (const TCase& c : cases) {
    TLzxDecoder fresh(kWindowBits);
    Decode(fresh, c.Bytes, &ok);
    EXPECT_FALSE(ok) << c.What;
    // Refused until a reset; then the good frame decodes as it did.
    Decode(fresh, bytes, &ok);
    EXPECT_FALSE(ok) << c.What;
    fresh.Reset();
    EXPECT_TRUE(Decode(fresh, bytes, &ok) == want) << c.What;
    EXPECT_TRUE(ok) << c.What;
  }
  // After a reset nothing of the frames before is within reach, however much the window holds.
  d.Reset();
  Decode(d, cases[0].Bytes, &ok);
  EXPECT_FALSE(ok);
}

}  // namespace
