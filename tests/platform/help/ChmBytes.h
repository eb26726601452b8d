#pragma once
// A compiled help file taken apart far enough to damage it on purpose: the entries of its
// directory listing pages (written back whole), the stored objects' bytes and the compressed
// section's frame list.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class TChmBytes {
 public:
  struct TEntry {
    std::string Name;
    uint64_t Section, Start, Length;
    size_t Page;  // of Pages
  };
  static constexpr const char* kResetTable =
      "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
      "ResetTable";
  static constexpr const char* kContent = "::DataSpace/Storage/MSCompressed/Content";
  static constexpr const char* kControlData = "::DataSpace/Storage/MSCompressed/ControlData";

  explicit TChmBytes(const std::string& path) {
    std::ostringstream in;
    in << std::ifstream(path, std::ios::binary).rdbuf();
    Bytes = in.str();
    if (Bytes.size() < 0x60 || Bytes.compare(0, 4, "ITSF") != 0) {
      ADD_FAILURE() << "not a help file: " << path;
      Bytes.assign(0x60, '\0');
      return;
    }
    const uint64_t dir = Get(0x48, 8), dirLength = Get(0x50, 8);
    Data = Get(0x58, 8);
    PageLength = Get(dir + 0x10, 4);
    for (uint64_t page = 0; page < (dirLength - 0x54) / PageLength; ++page) {
      const uint64_t at = dir + 0x54 + page * PageLength;
      if (Bytes.compare(at, 4, "PMGL") != 0) continue;
      Pages.push_back(at);
      for (size_t p = at + 0x14, end = at + PageLength - Get(at + 4, 4); p < end;) {
        TEntry e{};
        const uint64_t n = Number(p);
        e.Name = Bytes.substr(p, n);
        p += n;
        e.Section = Number(p), e.Start = Number(p), e.Length = Number(p);
        e.Page = Pages.size() - 1;
        Entries.push_back(e);
      }
    }
    EXPECT_FALSE(Pages.empty()) << path;
    Page = Pages.empty() ? 0 : Pages.front();
  }
  uint64_t Get(uint64_t at, int bytes) const {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | uint8_t(Bytes[at + uint64_t(i)]);
    return v;
  }
  void Put(uint64_t at, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) Bytes[at + uint64_t(i)] = char(v >> (8 * i));
  }
  TEntry& Entry(const std::string& name) {
    for (TEntry& e : Entries)
      if (e.Name == name) return e;
    ADD_FAILURE() << "no entry " << name;
    return Entries.front();
  }
  uint64_t StoredAt(const std::string& name) { return Data + Entry(name).Start; }

  // The compressed section: its frames, where the entry of each lies in the file, and the
  // section's compressed length.
  uint64_t Frames() { return Get(StoredAt(kResetTable) + 4, 4); }
  uint64_t FrameEntryAt(uint64_t frame) {
    const uint64_t table = StoredAt(kResetTable);
    return table + Get(table + 12, 4) + 8 * frame;
  }
  uint64_t FrameStart(uint64_t frame) { return Get(FrameEntryAt(frame), 8); }
  uint64_t Compressed() { return Get(StoredAt(kResetTable) + 0x18, 8); }
  uint64_t Uncompressed() { return Get(StoredAt(kResetTable) + 0x10, 8); }
  // The frames from one reset to the next (the control data's interval, in frames of 32 KiB).
  uint64_t FramesPerReset() {
    const uint64_t c = StoredAt(kControlData), unit = Get(c + 8, 4) == 2 ? 0x8000 : 1;
    return Get(c + 12, 4) * unit / (Get(c + 16, 4) * unit / 2) * Get(c + 20, 4);
  }
  // Each frame's compressed bytes.
  std::vector<std::string> FrameBytes() {
    std::vector<std::string> frames;
    const uint64_t content = StoredAt(kContent);
    for (uint64_t i = 0; i < Frames(); ++i) {
      const uint64_t end = i + 1 < Frames() ? FrameStart(i + 1) : Compressed();
      frames.push_back(Bytes.substr(content + FrameStart(i), end - FrameStart(i)));
    }
    return frames;
  }
  // Puts the frames' bytes in place of the section's, one after the other (no longer in all than
  // the section was), and the frame list and the section's length to match.
  void SetFrames(const std::vector<std::string>& frames) {
    const uint64_t content = StoredAt(kContent);
    uint64_t at = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
      Put(FrameEntryAt(i), at, 8);
      Bytes.replace(content + at, frames[i].size(), frames[i]);
      at += frames[i].size();
    }
    EXPECT_LE(at, Entry(kContent).Length);
    Put(StoredAt(kResetTable) + 0x18, at, 8);
  }

  // Writes the listing pages from Entries, then the file.
  void Save(const std::string& path) {
    for (size_t p = 0; p < Pages.size(); ++p) {
      std::string page;
      for (const TEntry& e : Entries)
        if (e.Page == p)
          page += Encode(e.Name.size()) + e.Name + Encode(e.Section) + Encode(e.Start) + Encode(e.Length);
      ASSERT_LE(page.size(), PageLength - 0x14);
      Put(Pages[p] + 4, PageLength - 0x14 - page.size(), 4);
      Bytes.replace(Pages[p] + 0x14, PageLength - 0x14,
                    page + std::string(PageLength - 0x14 - page.size(), '\0'));
    }
    std::ofstream(path, std::ios::binary) << Bytes;
  }

  std::string Bytes;
  uint64_t Data = 0, PageLength = 0;
  uint64_t Page = 0;  // the first listing page
  std::vector<uint64_t> Pages;
  std::vector<TEntry> Entries;

 private:
  uint64_t Number(size_t& at) const {
    uint64_t v = 0;
    for (uint8_t b = 0x80; b & 0x80; ++at) v = v << 7 | ((b = uint8_t(Bytes[at])) & 0x7F);
    return v;
  }
  static std::string Encode(uint64_t v) {
    std::string out(1, char(v & 0x7F));
    while (v >>= 7) out.insert(out.begin(), char(0x80 | (v & 0x7F)));
    return out;
  }
};
