#include "platform/help/ChmCheck.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <vector>

namespace {

// The layout of the file (little-endian throughout):
//   file header "ITSF" (0x58 bytes in version 2, 0x60 in version 3): the directory's offset and
//     length at 0x48 and 0x50, in version 3 the offset of the stored data at 0x58 (version 2:
//     right after the directory);
//   directory header "ITSP" (0x54 bytes): page length at 0x10, index root page at 0x1C (-1: none),
//     first listing page at 0x20; the pages follow it;
//   listing page "PMGL": free bytes at its end at 4, next listing page at 0x10 (-1: none), then
//     entries (name length, name, section, start, length; numbers in 7-bit groups);
//   index page "PMGI": free bytes at 4, then entries (name length, name, page).
constexpr uint64_t kItsfV2Length = 0x58, kItsfV3Length = 0x60, kItspLength = 0x54;
constexpr size_t kListingHeader = 0x14, kIndexHeader = 0x08;
constexpr uint64_t kMaxNameLength = 512;
constexpr uint32_t kMinPageLength = 0x40, kMaxPageLength = 0x10000;
// The decompressor works in frames of 32 KiB, with windows of 2^15 to 2^21 bytes.
constexpr uint64_t kFrameLength = 0x8000;
constexpr uint32_t kMinWindow = 1u << 15, kMaxWindow = 1u << 21;
// Frames between two resets: a read may decode this many frames before the one it wants.
constexpr uint32_t kMaxFramesPerReset = 256;
// The most compressed bytes a frame may have: chmlib reads a frame into a buffer of a frame's
// length and 6 KiB more.
constexpr uint64_t kMaxFrameBytes = kFrameLength + 6144;
constexpr uint64_t kResetTableLength = 0x28;
constexpr uint64_t kMinControlLength = 0x18, kMaxControlLength = 0x100;

const char* const kResetTableName =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
    "ResetTable";
const char* const kContentName = "::DataSpace/Storage/MSCompressed/Content";
const char* const kControlDataName = "::DataSpace/Storage/MSCompressed/ControlData";

uint32_t Le32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(s[at + size_t(i)]);
  return v;
}
uint64_t Le64(const std::string& s, size_t at) {
  return uint64_t(Le32(s, at)) | uint64_t(Le32(s, at + 4)) << 32;
}

struct TEntry {
  std::string Name;
  uint64_t Section = 0, Start = 0, Length = 0;
};

// A number of the directory: 7 bits a byte, most significant first, the high bit on all but the
// last byte; it must end before end.
bool ReadNumber(const std::string& page, size_t& at, size_t end, uint64_t& value) {
  value = 0;
  for (int i = 0; i < 9 && at < end; ++i) {
    const auto b = uint8_t(page[at++]);
    value = value << 7 | (b & 0x7Fu);
    if (b < 0x80) return true;
  }
  return false;
}

// A name: 1 to 512 bytes, none of them 0.
bool ReadName(const std::string& page, size_t& at, size_t end, std::string& name) {
  uint64_t n = 0;
  if (!ReadNumber(page, at, end, n) || n == 0 || n > kMaxNameLength || n > end - at) return false;
  name = page.substr(at, size_t(n));
  at += size_t(n);
  return name.find('\0') == std::string::npos;
}

class TChecker {
 public:
  TChecker(int fd, uint64_t size) : FFd(fd), FSize(size) {}

  std::optional<TChmStructure> Run(std::string& why) {
    if (!Headers() || !Listings() || !Index() || !Objects()) {
      why = FWhy;
      return std::nullopt;
    }
    return FStructure;
  }

 private:
  bool Fail(const char* why) {
    FWhy = why;
    return false;
  }
  // n bytes at the offset, when all of them are in the file.
  bool Bytes(uint64_t at, uint64_t n, std::string& out) const {
    if (at > FSize || n > FSize - at) return false;
    out.resize(size_t(n));
    size_t done = 0;
    while (done < n) {
      const ssize_t got = ::pread(FFd, out.data() + done, n - done, off_t(at + done));
      if (got <= 0) return false;
      done += size_t(got);
    }
    return true;
  }

  bool Headers();
  bool Listings();
  bool Index();
  bool Objects();
  bool Page(int64_t page, std::string& out) const;
  bool ReadListing(int64_t page, const std::string& bytes);
  bool IndexChildren(const std::string& bytes, std::vector<int64_t>& children);
  bool Compression(const TEntry& resetTable, const TEntry& content, const TEntry& control);
  bool FrameList(uint64_t at, uint64_t frames, uint64_t compressed);
  bool ControlData(const TEntry& control);

  int FFd;
  uint64_t FSize;
  std::string FWhy;
  uint64_t FDataOffset = 0;
  uint64_t FPagesOffset = 0;
  uint32_t FPageLength = 0;
  int64_t FPages = 0;
  int64_t FRoot = -1, FHead = -1;
  // Per page: 0 not seen, 1 a listing whose entries were taken.
  std::vector<uint8_t> FListed;
  std::vector<TEntry> FEntries;
  uint64_t FUncompressed = 0;
  TChmStructure FStructure;
};

bool TChecker::Headers() {
  std::string h;
  if (!Bytes(0, kItsfV3Length, h) || h.compare(0, 4, "ITSF") != 0) return Fail("no help file header");
  const uint32_t version = Le32(h, 4), length = Le32(h, 8);
  if ((version != 2 && version != 3) || length < (version == 2 ? kItsfV2Length : kItsfV3Length))
    return Fail("unknown help file version");
  const uint64_t dirOffset = Le64(h, 0x48), dirLength = Le64(h, 0x50);
  if (dirOffset > FSize || dirLength > FSize - dirOffset || dirLength < kItspLength)
    return Fail("directory outside the file");
  FDataOffset = version == 3 ? Le64(h, 0x58) : dirOffset + dirLength;
  if (FDataOffset > FSize) return Fail("data outside the file");
  std::string d;
  if (!Bytes(dirOffset, kItspLength, d) || d.compare(0, 4, "ITSP") != 0 || Le32(d, 4) != 1 ||
      Le32(d, 8) != kItspLength)
    return Fail("no directory header");
  FPageLength = Le32(d, 0x10);
  if (FPageLength < kMinPageLength || FPageLength > kMaxPageLength)
    return Fail("unknown directory page length");
  FPagesOffset = dirOffset + kItspLength;
  FPages = int64_t((dirLength - kItspLength) / FPageLength);
  FRoot = int32_t(Le32(d, 0x1C));
  FHead = int32_t(Le32(d, 0x20));
  if (FRoot <= -1) FRoot = FHead;
  if (FHead < 0 || FHead >= FPages || FRoot >= FPages) return Fail("directory pages outside the directory");
  FListed.assign(size_t(FPages), 0);
  return true;
}

bool TChecker::Page(int64_t page, std::string& out) const {
  return page >= 0 && page < FPages && Bytes(FPagesOffset + uint64_t(page) * FPageLength, FPageLength, out);
}

// Takes the entries of a listing page: each must end before the page's free space.
bool TChecker::ReadListing(int64_t page, const std::string& bytes) {
  if (FListed[size_t(page)]) return true;
  FListed[size_t(page)] = 1;
  const uint32_t free = Le32(bytes, 4);
  if (bytes.compare(0, 4, "PMGL") != 0 || free > FPageLength - kListingHeader)
    return Fail("damaged directory listing");
  const size_t end = FPageLength - free;
  size_t at = kListingHeader;
  while (at < end) {
    TEntry e;
    if (!ReadName(bytes, at, end, e.Name) || !ReadNumber(bytes, at, end, e.Section) ||
        !ReadNumber(bytes, at, end, e.Start) || !ReadNumber(bytes, at, end, e.Length))
      return Fail("damaged directory entry");
    FEntries.push_back(std::move(e));
  }
  return true;
}

// The listing pages in their order, from the first to the one without a next; each once.
bool TChecker::Listings() {
  std::vector<uint8_t> seen(size_t(FPages), 0);
  std::string bytes;
  for (int64_t page = FHead; page != -1;) {
    if (page < 0 || page >= FPages || seen[size_t(page)]) return Fail("directory listings run in a loop");
    seen[size_t(page)] = 1;
    if (!Page(page, bytes)) return Fail("directory cut short");
    if (!ReadListing(page, bytes)) return false;
    page = int32_t(Le32(bytes, 0x10));
  }
  return true;
}

// The pages an index page leads to.
bool TChecker::IndexChildren(const std::string& bytes, std::vector<int64_t>& children) {
  const uint32_t free = Le32(bytes, 4);
  if (free > FPageLength - kIndexHeader) return Fail("damaged directory index");
  const size_t end = FPageLength - free;
  size_t at = kIndexHeader;
  while (at < end) {
    std::string name;
    uint64_t page = 0;
    if (!ReadName(bytes, at, end, name) || !ReadNumber(bytes, at, end, page) || page >= uint64_t(FPages))
      return Fail("damaged directory index entry");
    children.push_back(int64_t(page));
  }
  return true;
}

// The index from its root, depth first: a page met again while one of the pages above it is still
// open would send a look-up round for ever.
bool TChecker::Index() {
  enum : uint8_t { kNew, kOpen, kDone };
  std::vector<uint8_t> state(size_t(FPages), kNew);
  std::vector<std::vector<int64_t>> pending;  // the pages still to visit under each open page
  std::vector<int64_t> open;
  std::string bytes;
  auto enter = [&](int64_t page) {
    if (state[size_t(page)] == kOpen) return Fail("directory index runs in a loop");
    if (state[size_t(page)] == kDone) return true;
    if (!Page(page, bytes)) return Fail("directory cut short");
    if (bytes.compare(0, 4, "PMGI") != 0) {
      state[size_t(page)] = kDone;
      return ReadListing(page, bytes);
    }
    std::vector<int64_t> children;
    if (!IndexChildren(bytes, children)) return false;
    state[size_t(page)] = kOpen;
    open.push_back(page);
    pending.push_back(std::move(children));
    return true;
  };
  if (!enter(FRoot)) return false;
  while (!open.empty()) {
    if (pending.back().empty()) {
      state[size_t(open.back())] = kDone;
      open.pop_back();
      pending.pop_back();
      continue;
    }
    const int64_t next = pending.back().back();
    pending.back().pop_back();
    if (!enter(next)) return false;
  }
  return true;
}

bool TChecker::ControlData(const TEntry& control) {
  std::string c;
  if (control.Length < kMinControlLength || control.Length > kMaxControlLength ||
      !Bytes(FDataOffset + control.Start, control.Length, c) || c.compare(4, 4, "LZXC") != 0)
    return Fail("damaged compression data");
  // The decompressor's own arithmetic: 32 bits, version 2 counting in frames.
  uint32_t reset = Le32(c, 12), window = Le32(c, 16);
  const uint32_t windowsPerReset = Le32(c, 20);
  if (Le32(c, 8) == 2) {
    reset *= uint32_t(kFrameLength);
    window *= uint32_t(kFrameLength);
  }
  const bool powerOfTwo = (window & (window - 1)) == 0;
  if (!powerOfTwo || window < kMinWindow || window > kMaxWindow) return Fail("unusable compression window");
  if (reset == 0 || reset % (window / 2) != 0 || windowsPerReset == 0) return Fail("unusable reset interval");
  const uint32_t framesPerReset = reset / (window / 2) * windowsPerReset;
  if (framesPerReset == 0 || framesPerReset > kMaxFramesPerReset) return Fail("unusable reset interval");
  FStructure.WindowBits = std::countr_zero(window);
  FStructure.FramesPerReset = framesPerReset;
  return true;
}

bool TChecker::Compression(const TEntry& resetTable, const TEntry& content, const TEntry& control) {
  std::string t;
  if (resetTable.Length < kResetTableLength || !Bytes(FDataOffset + resetTable.Start, kResetTableLength, t) ||
      Le32(t, 0) != 2)
    return Fail("damaged reset table");
  const uint64_t frames = Le32(t, 4), tableOffset = Le32(t, 12);
  const uint64_t uncompressed = Le64(t, 0x10), compressed = Le64(t, 0x18), frameLength = Le64(t, 0x20);
  if (frameLength != kFrameLength || tableOffset > resetTable.Length ||
      frames > (resetTable.Length - tableOffset) / 8)
    return Fail("damaged reset table");
  if (uncompressed > frames * kFrameLength || compressed > content.Length)
    return Fail("compressed section larger than its reset table");
  if (uncompressed / kMaxChmExpansion > FSize)
    return Fail("compressed section claims more than the file holds");
  if (!FrameList(resetTable.Start + tableOffset, frames, compressed)) return false;
  FUncompressed = FStructure.Uncompressed = uncompressed;
  FStructure.ContentOffset = FDataOffset + content.Start;
  return ControlData(control);
}

// Where each frame's compressed bytes begin, 8 bytes a frame: in order, inside the section, and
// no frame longer than the decompressor's buffer (the last one ends where the section does).
bool TChecker::FrameList(uint64_t at, uint64_t frames, uint64_t compressed) {
  std::string list;
  if (!Bytes(FDataOffset + at, frames * 8, list)) return Fail("damaged reset table");
  for (uint64_t i = 0; i < frames; ++i) {
    const uint64_t start = Le64(list, size_t(i * 8));
    const uint64_t end = i + 1 < frames ? Le64(list, size_t(i * 8 + 8)) : compressed;
    if (start > end || end > compressed) return Fail("compressed frames out of order");
    if (end - start > kMaxFrameBytes) return Fail("compressed frame too long");
    FStructure.Frames.push_back(start);
  }
  FStructure.Frames.push_back(compressed);
  return true;
}

bool TChecker::Objects() {
  const uint64_t stored = FSize - FDataOffset;
  const TEntry* special[3] = {nullptr, nullptr, nullptr};
  const char* const names[3] = {kResetTableName, kContentName, kControlDataName};
  bool compressedData = false;
  for (const TEntry& e : FEntries) {
    if (e.Section > 1) return Fail("object in an unknown section");
    if (e.Section == 0 && (e.Start > stored || e.Length > stored - e.Start))
      return Fail("object beyond the end of the file");
    compressedData = compressedData || (e.Section == 1 && e.Length > 0);
    for (int i = 0; i < 3; ++i)
      if (::strcasecmp(e.Name.c_str(), names[i]) == 0) {
        if (special[i]) return Fail("compression data named twice");
        special[i] = &e;
      }
  }
  // chmlib takes the compressed section when its three records are all stored ones.
  const bool compression = special[0] && special[1] && special[2] && special[0]->Section == 0 &&
                           special[1]->Section == 0 && special[2]->Section == 0;
  if (compression && !Compression(*special[0], *special[1], *special[2])) return false;
  if (!compression && compressedData) return Fail("compressed objects without compression data");
  for (const TEntry& e : FEntries)
    if (e.Section == 1 && (e.Start > FUncompressed || e.Length > FUncompressed - e.Start))
      return Fail("object beyond the end of the compressed section");
  return true;
}

}  // namespace

std::optional<TChmStructure> CheckChmStructure(int fd, std::string& why) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    why = "not a regular file";
    return std::nullopt;
  }
  return TChecker(fd, uint64_t(st.st_size)).Run(why);
}
