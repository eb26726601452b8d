#include "platform/help/Lzx.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kChars = 256;
constexpr int kPretreeSymbols = 20, kAlignedSymbols = 8, kLengthSymbols = 249;
constexpr int kMaxSlots = 50;
constexpr int kMaxMainSymbols = kChars + kMaxSlots * 8;
// Runs of code lengths may reach this far past the table they are read for.
constexpr int kLengthsSafety = 64;
constexpr uint32_t kMinMatch = 2, kPrimaryLengths = 7;
constexpr int kVerbatim = 1, kAligned = 2, kUncompressed = 3;
constexpr uint16_t kLong = 0xFFFF;
// The byte-code translation of the stream applies to this many frames after a reset at most.
constexpr uint32_t kTranslatedFrames = 32768;

struct TSlots {
  uint8_t ExtraBits[kMaxSlots + 1];
  uint32_t Base[kMaxSlots + 1];
};

const TSlots& Slots() {
  static const TSlots slots = [] {
    TSlots s{};
    // 0, 0, 0, 0, 1, 1, 2, 2, ... 16, 16, then 17.
    for (int i = 0, bits = 0; i <= kMaxSlots; i += 2) {
      s.ExtraBits[i] = uint8_t(bits);
      if (i + 1 <= kMaxSlots) s.ExtraBits[i + 1] = uint8_t(bits);
      if (i != 0 && bits < 17) ++bits;
    }
    for (int i = 0, base = 0; i <= kMaxSlots; ++i) {
      s.Base[i] = uint32_t(base);
      base += 1 << s.ExtraBits[i];
    }
    return s;
  }();
  return slots;
}

int SlotsOf(int windowBits) {
  return windowBits == 21 ? 50 : windowBits == 20 ? 42 : windowBits * 2;
}

}  // namespace

// The bits of one frame: 16-bit little-endian words, each read from its highest bit down. Bits
// past the frame read as 0 and count as used; Over() tells that the frame was not enough.
struct TLzxDecoder::TBits {
  const uint8_t* In;
  size_t Length;
  size_t Pos = 0;  // of the next word to take in
  uint64_t Buffer = 0;
  int Left = 0;  // bits in Buffer, from its top

  uint32_t Byte(size_t at) const { return at < Length ? In[at] : 0u; }
  void Ensure(int n) {
    while (Left < n) {
      const uint64_t word = Byte(Pos) | Byte(Pos + 1) << 8;
      Pos += 2;
      Buffer |= word << (48 - Left);
      Left += 16;
    }
  }
  uint32_t Peek(int n) const { return n == 0 ? 0u : uint32_t(Buffer >> (64 - n)); }
  void Remove(int n) {
    Buffer <<= n;
    Left -= n;
  }
  uint32_t Read(int n) {
    Ensure(n);
    const uint32_t v = Peek(n);
    Remove(n);
    return v;
  }
  void Restart() {
    Buffer = 0;
    Left = 0;
  }
  bool Over() const { return Pos * 8 - size_t(Left) > Length * 8; }
  // A symbol of the table, or -1 for bits that are none (or an empty table).
  int Symbol(const THuffman& h) {
    if (h.FEmpty) return -1;
    Ensure(16);
    const uint32_t peek = Peek(16);
    const uint16_t fast = h.FFast[peek >> (16 - THuffman::kFastBits)];
    if (fast != kLong) {
      Remove(fast & 31);
      return fast >> 5;
    }
    for (int length = THuffman::kFastBits + 1; length <= 16; ++length) {
      const uint32_t code = peek >> (16 - length);
      if (code >= h.FFirst[length] && code - h.FFirst[length] < h.FCount[length]) {
        Remove(length);
        return h.FSorted[h.FOffset[length] + (code - h.FFirst[length])];
      }
    }
    return -1;
  }
};

bool TLzxDecoder::THuffman::Build(const uint8_t* lengths, int symbols) {
  std::fill(std::begin(FCount), std::end(FCount), uint16_t(0));
  for (int s = 0; s < symbols; ++s) {
    if (lengths[s] > 16) return false;
    ++FCount[lengths[s]];
  }
  FCount[0] = 0;
  FEmpty = std::all_of(lengths, lengths + symbols, [](uint8_t l) { return l == 0; });
  if (FEmpty) return true;
  // Every code of a full prefix code: the lengths use up the code space exactly.
  int64_t left = 1;
  for (int length = 1; length <= 16; ++length) {
    left = left * 2 - FCount[length];
    if (left < 0) return false;
  }
  if (left != 0) return false;
  FFirst[0] = 0;
  FOffset[0] = 0;
  for (int length = 1; length <= 16; ++length) {
    FFirst[length] = (FFirst[length - 1] + FCount[length - 1]) << 1;
    FOffset[length] = uint16_t(FOffset[length - 1] + FCount[length - 1]);
  }
  FSorted.assign(size_t(symbols), 0);
  uint16_t next[17];
  std::copy(std::begin(FOffset), std::end(FOffset), next);
  std::fill(std::begin(FFast), std::end(FFast), kLong);
  for (int s = 0; s < symbols; ++s) {
    const int length = lengths[s];
    if (length == 0) continue;
    const uint16_t rank = uint16_t(next[length] - FOffset[length]);
    FSorted[next[length]++] = uint16_t(s);
    if (length > kFastBits) continue;
    const uint32_t code = FFirst[length] + rank;
    const uint32_t from = code << (kFastBits - length), count = 1u << (kFastBits - length);
    for (uint32_t i = 0; i < count; ++i) FFast[from + i] = uint16_t(s << 5 | length);
  }
  return true;
}

TLzxDecoder::TLzxDecoder(int windowBits)
    : FWindowSize(1u << windowBits),
      FWindow(FWindowSize, 0),
      FMainSymbols(kChars + SlotsOf(windowBits) * 8),
      FMainLengths(kMaxMainSymbols + kLengthsSafety, 0),
      FLengthLengths(kLengthSymbols + kLengthsSafety, 0),
      FFrame(kLzxFrameLength, 0) {
  Reset();
}

void TLzxDecoder::Reset() {
  FPosition = 0;
  FSinceReset = 0;
  FRepeated[0] = FRepeated[1] = FRepeated[2] = 1;
  FHeaderRead = false;
  FBroken = false;
  FBlockType = 0;
  FBlockLength = FBlockRemaining = 0;
  FFramesRead = 0;
  FTranslationSize = FTranslationPosition = 0;
  FTranslationStarted = false;
  std::fill(FMainLengths.begin(), FMainLengths.end(), uint8_t(0));
  std::fill(FLengthLengths.begin(), FLengthLengths.end(), uint8_t(0));
  FMain = FLength = FAligned = FPre = THuffman();
}

// Code lengths first .. last of a table, told as changes of the lengths it had: a table of 20
// codes for them first, then its symbols (0-16 a change, 17 and 18 runs of zeros, 19 a run of
// one change).
bool TLzxDecoder::Lengths(TBits& bits, uint8_t* lengths, int first, int last, int capacity) {
  uint8_t pre[kPretreeSymbols];
  for (uint8_t& l : pre) l = uint8_t(bits.Read(4));
  if (!FPre.Build(pre, kPretreeSymbols)) return false;
  auto changed = [&](int at, int z) { return uint8_t((lengths[at] - z + 17) % 17); };
  for (int x = first; x < last;) {
    const int z = bits.Symbol(FPre);
    if (z < 0 || bits.Over()) return false;
    int run = 1;
    uint8_t value = 0;
    if (z == 17) {
      run = int(bits.Read(4)) + 4;
    } else if (z == 18) {
      run = int(bits.Read(5)) + 20;
    } else if (z == 19) {
      run = int(bits.Read(1)) + 4;
      const int d = bits.Symbol(FPre);
      if (d < 0 || d > 16) return false;
      value = changed(x, d);
    } else {
      value = changed(x, z);
    }
    if (x + run > capacity) return false;
    std::fill(lengths + x, lengths + x + run, value);
    x += run;
  }
  return !bits.Over();
}

// A new block's header: its kind and length, and its tables.
bool TLzxDecoder::Block(TBits& bits) {
  if (FBlockType == kUncompressed) {
    // The raw bytes of the block before were padded to a whole word.
    if (FBlockLength & 1) ++bits.Pos;
    bits.Restart();
  }
  FBlockType = int(bits.Read(3));
  const uint32_t high = bits.Read(16), low = bits.Read(8);
  FBlockLength = FBlockRemaining = high << 8 | low;
  const int capacity = kMaxMainSymbols + kLengthsSafety;
  switch (FBlockType) {
    case kAligned: {
      uint8_t aligned[kAlignedSymbols];
      for (uint8_t& l : aligned) l = uint8_t(bits.Read(3));
      if (!FAligned.Build(aligned, kAlignedSymbols)) return false;
      [[fallthrough]];
    }
    case kVerbatim:
      if (!Lengths(bits, FMainLengths.data(), 0, kChars, capacity) ||
          !Lengths(bits, FMainLengths.data(), kChars, FMainSymbols, capacity) ||
          !FMain.Build(FMainLengths.data(), FMainSymbols))
        return false;
      if (FMainLengths[0xE8] != 0) FTranslationStarted = true;
      if (!Lengths(bits, FLengthLengths.data(), 0, kLengthSymbols, kLengthSymbols + kLengthsSafety) ||
          !FLength.Build(FLengthLengths.data(), kLengthSymbols))
        return false;
      break;
    case kUncompressed: {
      FTranslationStarted = true;
      // The header is padded to a whole word (1 to 16 bits); then come the three repeated
      // offsets, and the bytes as they are.
      bits.Ensure(16);
      if (bits.Left > 16) bits.Pos -= 2;
      bits.Restart();
      if (bits.Pos + 12 > bits.Length) return false;
      for (uint32_t& r : FRepeated) {
        r = bits.Byte(bits.Pos) | bits.Byte(bits.Pos + 1) << 8 | bits.Byte(bits.Pos + 2) << 16 |
            uint32_t(bits.Byte(bits.Pos + 3)) << 24;
        bits.Pos += 4;
      }
      break;
    }
    default:
      return false;
  }
  return !bits.Over();
}

// run bytes of the block into the window.
bool TLzxDecoder::Run(TBits& bits, uint32_t run) {
  if (FBlockType == kUncompressed) {
    if (bits.Pos + run > bits.Length) return false;
    std::memcpy(FWindow.data() + FPosition, bits.In + bits.Pos, run);
    bits.Pos += run;
    FPosition += run;
    FSinceReset += run;
    return true;
  }
  const TSlots& slots = Slots();
  const uint32_t mask = FWindowSize - 1;
  while (run > 0) {
    const int main = bits.Symbol(FMain);
    if (main < 0 || bits.Over()) return false;
    if (main < kChars) {
      FWindow[FPosition++] = uint8_t(main);
      ++FSinceReset;
      --run;
      continue;
    }
    const uint32_t element = uint32_t(main - kChars);
    uint32_t length = element & kPrimaryLengths;
    if (length == kPrimaryLengths) {
      const int footer = bits.Symbol(FLength);
      if (footer < 0) return false;
      length += uint32_t(footer);
    }
    length += kMinMatch;
    const uint32_t slot = element >> 3;
    uint32_t offset = 0;
    if (slot > 2) {
      const int extra = slots.ExtraBits[slot];
      offset = slots.Base[slot] - 2;
      if (FBlockType == kAligned && extra >= 3) {
        offset += bits.Read(extra - 3) << 3;
        const int aligned = bits.Symbol(FAligned);
        if (aligned < 0) return false;
        offset += uint32_t(aligned);
      } else {
        offset += bits.Read(extra);
      }
      FRepeated[2] = FRepeated[1];
      FRepeated[1] = FRepeated[0];
      FRepeated[0] = offset;
    } else {
      offset = FRepeated[slot];
      FRepeated[slot] = FRepeated[0];
      FRepeated[0] = offset;
    }
    if (bits.Over()) return false;
    // Only what this stream decoded may be copied, and only within this frame and block.
    if (offset == 0 || offset > FSinceReset || offset > FWindowSize || length > run) return false;
    for (uint32_t i = 0; i < length; ++i, ++FPosition)
      FWindow[FPosition] = FWindow[(FPosition - offset) & mask];
    FSinceReset += length;
    run -= length;
  }
  return true;
}

// Undoes the stream's translation of relative call addresses (the byte 0xE8 and four bytes).
void TLzxDecoder::Translate(uint8_t* out, size_t length) {
  const int32_t frameStart = FTranslationPosition;
  FTranslationPosition += int32_t(kLzxFrameLength);
  if (FFramesRead++ >= kTranslatedFrames || FTranslationSize == 0 || !FTranslationStarted) return;
  const size_t end = std::min(kLzxFrameLength - 10, length >= 4 ? length - 4 : 0);
  for (size_t i = 0; i < end; ++i) {
    if (out[i] != 0xE8) continue;
    const int32_t current = frameStart + int32_t(i);
    const int32_t absolute = int32_t(uint32_t(out[i + 1]) | uint32_t(out[i + 2]) << 8 |
                                     uint32_t(out[i + 3]) << 16 | uint32_t(out[i + 4]) << 24);
    if (absolute >= -current && absolute < FTranslationSize) {
      const int32_t relative = absolute >= 0 ? absolute - current : absolute + FTranslationSize;
      for (int k = 0; k < 4; ++k) out[i + 1 + size_t(k)] = uint8_t(uint32_t(relative) >> (8 * k));
    }
    i += 4;
  }
}

// The frame's blocks into the window, from start: its 32 KiB whole, or false.
bool TLzxDecoder::Decode(TBits& bits, uint32_t start) {
  if (!FHeaderRead) {
    FHeaderRead = true;
    if (bits.Read(1)) {
      const uint32_t high = bits.Read(16), low = bits.Read(16);
      FTranslationSize = int32_t(high << 16 | low);
    }
  }
  if (start + kLzxFrameLength > FWindowSize) return false;
  size_t togo = kLzxFrameLength;
  while (togo > 0) {
    if (FBlockRemaining == 0 && !Block(bits)) return false;
    while (FBlockRemaining > 0 && togo > 0) {
      const uint32_t run = uint32_t(std::min<size_t>(FBlockRemaining, togo));
      togo -= run;
      FBlockRemaining -= run;
      if (!Run(bits, run)) return false;
    }
  }
  return !bits.Over();
}

bool TLzxDecoder::Frame(const uint8_t* in, size_t inLength, uint8_t* out, size_t length) {
  if (FBroken || length > kLzxFrameLength) return false;
  TBits bits{in, inLength};
  FPosition &= FWindowSize - 1;
  const uint32_t start = FPosition;
  const bool whole = Decode(bits, start);
  // The section's last frame may end in bytes that are no part of it: only its own must decode.
  const size_t made = FPosition - start;
  FBroken = !whole;
  if (!whole && made < length) return false;
  std::memcpy(FFrame.data(), FWindow.data() + start, made);
  Translate(FFrame.data(), whole ? kLzxFrameLength : made);
  std::memcpy(out, FFrame.data(), length);
  return true;
}
