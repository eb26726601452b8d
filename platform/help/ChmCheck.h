#pragma once
// The structure of a compiled HTML help file, checked before chmlib is let near it. chmlib trusts
// what the file says: a directory page that leads back to itself makes it loop for ever, a
// compression record with a window of 0 or 1 divides by zero while the file is opened, and an
// object may claim any length. A file passes only when
//  - its header and directory header are whole and say what chmlib understands;
//  - every directory page chmlib can reach (the list of listing pages from its head, the index
//    pages from their root and the pages they lead to) lies inside the directory, is reached by
//    one road only (no loops) and holds whole entries with names of 1 to 512 bytes;
//  - every object lies inside the file (stored ones) or inside the compressed section's
//    contents (compressed ones), and that section's reset table and control data are whole and
//    hold values the decompressor can use: its frames begin in order inside the section and none
//    is longer than the decompressor's buffer;
//  - the compressed section claims at most kMaxChmExpansion times the file's size.
// So every object chmlib finds can be read whole at a cost bounded by the file's size. (The
// compressed ones are read by the decompressor of Lzx.h from what the check found.)

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The compressed section of a help file is at most this many times the file's size (help pages
// compress some ten times).
inline constexpr uint64_t kMaxChmExpansion = 64;

struct TChmStructure {
  // The length of the compressed section's contents, 0 when the file has none.
  uint64_t Uncompressed = 0;
  // For the section's decompressor: where its compressed bytes begin in the file; where each
  // frame's bytes begin in them, and last where the section's end; the window (2^WindowBits
  // bytes) and the frames from one reset to the next.
  uint64_t ContentOffset = 0;
  std::vector<uint64_t> Frames;
  int WindowBits = 0;
  uint32_t FramesPerReset = 0;
};

// Checks the file open for reading as fd; one that is not a regular file (a folder, a FIFO) is
// refused. Answers what it found, or nothing with the reason in why.
std::optional<TChmStructure> CheckChmStructure(int fd, std::string& why);
