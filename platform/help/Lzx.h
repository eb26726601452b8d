#pragma once
// The decompressor of a help file's compressed section. The section is cut into frames of 32 KiB;
// each frame's compressed bytes stand on their own (the bit stream starts afresh on them), but the
// decompressor's state runs on from frame to frame until the next reset, so frames are decoded in
// order from a reset.
//
// Damaged data is refused, never guessed at: a frame is told as damaged when it would need bits
// past its own bytes, a code table that is no prefix code (or an empty one that is used), a match
// that reaches back past what was decoded since the reset or runs past the end of its frame or
// block, or a block of an unknown kind. So the same bytes always give the same answer, and nothing
// is read from outside the frame or from a part of the window that this stream has not written.

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr size_t kLzxFrameLength = 0x8000;

class TLzxDecoder {
 public:
  // The window is 2^windowBits bytes, 15 to 21.
  explicit TLzxDecoder(int windowBits);

  // The state of a reset: the next frame begins a new stream.
  void Reset();
  // Decodes the next frame from its compressed bytes into out: length bytes (kLzxFrameLength,
  // fewer only for the last frame of the section, whose bytes past length need not decode).
  // False when they do not decode whole; the decoder then needs a Reset before it decodes
  // anything else.
  bool Frame(const uint8_t* in, size_t inLength, uint8_t* out, size_t length);

  // Code tables: lengths of up to 16 bits, looked up through a first table of kFastBits.
  class THuffman {
   public:
    static constexpr int kFastBits = 10;
    // False when the lengths make no prefix code: over-full, or not full while any is non-zero.
    bool Build(const uint8_t* lengths, int symbols);
    bool Empty() const { return FEmpty; }

   private:
    friend class TLzxDecoder;
    bool FEmpty = true;
    uint16_t FFast[1 << kFastBits] = {};  // symbol << 5 | length, or kLong
    uint32_t FFirst[17] = {};             // the first code of each length
    uint16_t FCount[17] = {};             // codes of each length
    uint16_t FOffset[17] = {};            // where each length's symbols begin in FSorted
    std::vector<uint16_t> FSorted;        // the symbols by length, then by value
  };

 private:
  struct TBits;
  bool Decode(TBits& bits, uint32_t start);
  bool Block(TBits& bits);
  bool Lengths(TBits& bits, uint8_t* lengths, int first, int last, int capacity);
  bool Run(TBits& bits, uint32_t run);
  void Translate(uint8_t* out, size_t length);

  uint32_t FWindowSize;
  std::vector<uint8_t> FWindow;
  uint32_t FPosition = 0;    // in the window
  uint64_t FSinceReset = 0;  // bytes decoded since the reset
  uint32_t FRepeated[3] = {1, 1, 1};
  int FMainSymbols;
  bool FHeaderRead = false;
  bool FBroken = false;
  int FBlockType = 0;
  uint32_t FBlockLength = 0, FBlockRemaining = 0;
  uint32_t FFramesRead = 0;
  int32_t FTranslationSize = 0, FTranslationPosition = 0;
  bool FTranslationStarted = false;
  std::vector<uint8_t> FMainLengths, FLengthLengths;
  std::vector<uint8_t> FFrame;  // the frame being translated
  THuffman FMain, FLength, FAligned, FPre;
};
