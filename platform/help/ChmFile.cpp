#include "platform/help/ChmFile.h"

#include <chm_lib.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "platform/help/ChmCheck.h"
#include "platform/help/Lzx.h"

// The compressed section: the file open for reading, what the check found of the section, and the
// decompressor with the last few frames it gave.
struct TChmFile::TSection {
  static constexpr size_t kCachedFrames = 4;
  int Fd = -1;
  TChmStructure Structure;
  std::unique_ptr<TLzxDecoder> Decoder;
  uint64_t Next = UINT64_MAX;  // the frame the decoder may decode without a reset
  struct TFrame {
    uint64_t Index = UINT64_MAX;
    std::string Bytes;
  };
  TFrame Cache[kCachedFrames];
  size_t Oldest = 0;

  ~TSection() {
    if (Fd >= 0) ::close(Fd);
  }
  // The compressed bytes of frame i.
  bool Compressed(uint64_t i, std::string& out) const {
    const std::vector<uint64_t>& f = Structure.Frames;
    if (i + 1 >= f.size()) return false;
    out.resize(size_t(f[i + 1] - f[i]));
    for (size_t done = 0; done < out.size();) {
      const ssize_t got =
          ::pread(Fd, out.data() + done, out.size() - done, off_t(Structure.ContentOffset + f[i] + done));
      if (got <= 0) return false;
      done += size_t(got);
    }
    return true;
  }
  // Frame i decompressed, decoding from its reset; null when a frame on the way is damaged.
  const std::string* Frame(uint64_t i) {
    for (const TFrame& f : Cache)
      if (f.Index == i) return &f.Bytes;
    if (i >= (Structure.Uncompressed + kLzxFrameLength - 1) / kLzxFrameLength) return nullptr;
    if (!Decoder) Decoder = std::make_unique<TLzxDecoder>(Structure.WindowBits);
    uint64_t from = i;
    if (Next != i || i % Structure.FramesPerReset == 0) {
      from = i - i % Structure.FramesPerReset;
      Decoder->Reset();
    }
    Next = UINT64_MAX;
    std::string in;
    TFrame* made = nullptr;
    for (uint64_t g = from; g <= i; ++g) {
      made = &Cache[Oldest];
      Oldest = (Oldest + 1) % kCachedFrames;
      made->Index = UINT64_MAX;
      made->Bytes.assign(
          size_t(std::min<uint64_t>(kLzxFrameLength, Structure.Uncompressed - g * kLzxFrameLength)), '\0');
      if (!Compressed(g, in) ||
          !Decoder->Frame(reinterpret_cast<const uint8_t*>(in.data()), in.size(),
                          reinterpret_cast<uint8_t*>(made->Bytes.data()), made->Bytes.size()))
        return nullptr;
      made->Index = g;
      Next = g + 1;
    }
    return &made->Bytes;
  }
};

TChmFile::TChmFile(const std::string& path) : FPath(path) {
  // Non-blocking, so that a FIFO under the name does not hold the program up.
  auto section = std::make_unique<TSection>();
  section->Fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (section->Fd < 0) {
    FProblem = "cannot be opened";
    return;
  }
  std::optional<TChmStructure> structure = CheckChmStructure(section->Fd, FProblem);
  if (!structure) return;
  FUncompressed = structure->Uncompressed;
  section->Structure = std::move(*structure);
  FFile = chm_open(path.c_str());
  if (!FFile) {
    FProblem = "not a help file";
    return;
  }
  FSection = std::move(section);
  ReadSystem();
}

TChmFile::~TChmFile() {
  if (FFile) chm_close(FFile);
}

std::optional<std::string> TChmFile::ReadCompressed(uint64_t start, uint64_t length) const {
  std::string out;
  out.reserve(size_t(length));
  for (uint64_t at = start; at < start + length;) {
    const uint64_t frame = at / kLzxFrameLength, from = at % kLzxFrameLength;
    const std::string* bytes = FSection->Frame(frame);
    if (!bytes || from >= bytes->size()) return std::nullopt;
    const uint64_t n = std::min<uint64_t>(bytes->size() - from, start + length - at);
    out.append(*bytes, size_t(from), size_t(n));
    at += n;
  }
  return out;
}

std::string TChmFile::NormalisePath(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= p.size()) {
    const size_t j = std::min(p.find('/', i), p.size());
    const std::string part = p.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  return out.empty() ? "/" : out;
}

std::optional<std::string> TChmFile::Read(const std::string& objectPath) const {
  if (!FFile) return std::nullopt;
  const std::string path = objectPath.rfind("::", 0) == 0 ? objectPath.substr(2) : objectPath;
  const std::string name = path.rfind("#", 0) == 0 ? path : NormalisePath(path);
  chmUnitInfo ui{};
  if (chm_resolve_object(FFile, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  // The check at opening kept every object inside the file or its compressed section; this keeps
  // the allocation below to what the object can really hold, whatever the file turned into since.
  if (ui.space == CHM_COMPRESSED && (ui.start > FUncompressed || ui.length > FUncompressed - ui.start))
    return std::nullopt;
  if (ui.space != CHM_COMPRESSED && ui.space != CHM_UNCOMPRESSED) return std::nullopt;
  if (ui.length == 0) return std::string();
  if (ui.space == CHM_COMPRESSED) return ReadCompressed(ui.start, ui.length);
  std::string data(size_t(ui.length), '\0');
  const LONGINT64 got =
      chm_retrieve_object(FFile, &ui, reinterpret_cast<unsigned char*>(data.data()), 0, LONGINT64(ui.length));
  if (got != LONGINT64(ui.length)) return std::nullopt;
  return data;
}

bool TChmFile::Has(const std::string& objectPath) const {
  if (!FFile) return false;
  chmUnitInfo ui{};
  return chm_resolve_object(FFile, NormalisePath(objectPath).c_str(), &ui) == CHM_RESOLVE_SUCCESS;
}

void TChmFile::ReadSystem() {
  // A 4-byte version, then records of (16-bit code, 16-bit length, data); strings end in a NUL.
  const std::optional<std::string> sys = Read("/#SYSTEM");
  if (!sys) return;
  const std::string& s = *sys;
  auto u16 = [&](size_t at) { return unsigned(uint8_t(s[at])) | unsigned(uint8_t(s[at + 1])) << 8; };
  size_t at = 4;
  while (at + 4 <= s.size()) {
    const unsigned code = u16(at), length = u16(at + 2);
    at += 4;
    if (at + length > s.size()) break;
    std::string text = s.substr(at, length);
    text = text.substr(0, text.find('\0'));
    at += length;
    if (code == 0)
      FContents = NormalisePath(text);
    else if (code == 1)
      FIndex = NormalisePath(text);
    else if (code == 2)
      FDefaultTopic = NormalisePath(text);
    else if (code == 3)
      FTitle = text;
  }
}

namespace {

int CollectPage(chmFile*, chmUnitInfo* ui, void* context) {
  std::string name = ui->path;
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  auto ends = [&](const std::string& tail) {
    return lower.size() >= tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (ends(".htm") || ends(".html")) static_cast<std::vector<std::string>*>(context)->push_back(name);
  return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

std::vector<std::string> TChmFile::Pages() const {
  std::vector<std::string> pages;
  if (FFile) chm_enumerate(FFile, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectPage, &pages);
  return pages;
}
