#include "platform/graphics/Bmp.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"

// Every read goes through a bounds-checked cursor or a range checked once before a row loop; a
// damaged file ends in EInvalidGraphic, never in a read outside the buffer.

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;
constexpr uint32_t kFileHeaderSize = 14;

[[noreturn]] void Fail(const std::string& name, const std::string& why) {
  throw EInvalidGraphic("\"" + name + "\" is not a valid bitmap: " + why);
}

uint16_t U16(const uint8_t* p) {
  return uint16_t(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
int32_t I32(const uint8_t* p) {
  return int32_t(U32(p));
}

// One colour channel of a bit-field pixel, scaled to 0..255 through a table.
struct TChannel {
  uint32_t mask = 0;
  int shift = 0;
  int drop = 0;  // low bits dropped when the field is wider than 8 bits
  uint8_t scale[256] = {};

  void Init(uint32_t m) {
    mask = m;
    if (m == 0) return;
    shift = std::countr_zero(m);
    int bits = 32 - std::countl_zero(m) - shift;
    drop = std::max(0, bits - 8);
    bits -= drop;
    const uint32_t top = (1u << bits) - 1;
    for (uint32_t v = 0; v <= top; ++v) scale[v] = uint8_t((v * 255 + top / 2) / top);
  }
  uint32_t Get(uint32_t p) const { return mask ? scale[((p & mask) >> shift) >> drop] : 0; }
};

struct TFormat {
  int width = 0, height = 0;
  bool topDown = false;
  int bpp = 0;
  uint32_t compression = kBiRgb;
  uint32_t masks[3] = {0, 0, 0};
  std::vector<uint32_t> palette;  // as stored pixels
};

// The pixel buffer for w x h, refusing sizes beyond the limits before anything is allocated.
void CheckSize(int64_t w, int64_t h, const TPictureLimits& limits, const std::string& name) {
  if (w < 0 || h < 0) Fail(name, "negative size");
  if (w > limits.MaxSide || h > limits.MaxSide || uint64_t(w) * uint64_t(h) > limits.MaxPixels)
    Fail(name, "picture too large (" + std::to_string(w) + " x " + std::to_string(h) + ")");
}

// Writes pixel rows into the bitmap in file order, turning bottom-up files the right way up.
uint32_t* RowOf(TBitmap& bmp, const TFormat& f, int fileRow) {
  return bmp.ScanLine(f.topDown ? fileRow : f.height - 1 - fileRow);
}

void DecodeIndexed(const uint8_t* data, size_t size, const TFormat& f, TBitmap& bmp,
                   const std::string& name) {
  const uint64_t stride = ((uint64_t(f.width) * uint64_t(f.bpp) + 31) / 32) * 4;
  const uint64_t rowBytes = (uint64_t(f.width) * uint64_t(f.bpp) + 7) / 8;
  if (f.height > 0 && (f.height - 1) * stride + rowBytes > size) Fail(name, "pixel data truncated");
  const uint32_t* pal = f.palette.data();
  const unsigned count = unsigned(f.palette.size());
  const int bpp = f.bpp;
  const unsigned mask = (1u << bpp) - 1;
  for (int r = 0; r < f.height; ++r) {
    const uint8_t* s = data + size_t(r) * stride;
    uint32_t* d = RowOf(bmp, f, r);
    unsigned worst = 0;
    if (bpp == 8) {
      for (int x = 0; x < f.width; ++x) {
        const unsigned i = s[x];
        worst = std::max(worst, i);
        d[x] = pal[std::min(i, count - 1)];
      }
    } else {
      const int perByte = 8 / bpp;
      for (int x = 0; x < f.width; ++x) {
        const int shift = 8 - bpp * (x % perByte + 1);
        const unsigned i = (s[x / perByte] >> shift) & mask;
        worst = std::max(worst, i);
        d[x] = pal[std::min(i, count - 1)];
      }
    }
    if (worst >= count) Fail(name, "colour index outside the palette");
  }
}

void DecodeBitfields(const uint8_t* data, size_t size, const TFormat& f, TBitmap& bmp,
                     const std::string& name) {
  const int bytes = f.bpp / 8;
  const uint64_t stride = ((uint64_t(f.width) * uint64_t(f.bpp) + 31) / 32) * 4;
  const uint64_t rowBytes = uint64_t(f.width) * uint64_t(bytes);
  if (f.height > 0 && (f.height - 1) * stride + rowBytes > size) Fail(name, "pixel data truncated");
  TChannel r, g, b;
  r.Init(f.masks[0]);
  g.Init(f.masks[1]);
  b.Init(f.masks[2]);
  if (f.bpp == 16) {
    // Every 16-bit value through one table.
    std::vector<uint32_t> lut(65536);
    for (uint32_t v = 0; v < 65536; ++v) lut[v] = kOpaque | (r.Get(v) << 16) | (g.Get(v) << 8) | b.Get(v);
    for (int y = 0; y < f.height; ++y) {
      const uint8_t* s = data + size_t(y) * stride;
      uint32_t* d = RowOf(bmp, f, y);
      for (int x = 0; x < f.width; ++x) d[x] = lut[U16(s + 2 * x)];
    }
  } else if (f.masks[0] == 0xFF0000 && f.masks[1] == 0xFF00 && f.masks[2] == 0xFF) {
    for (int y = 0; y < f.height; ++y) {
      const uint8_t* s = data + size_t(y) * stride;
      uint32_t* d = RowOf(bmp, f, y);
      for (int x = 0; x < f.width; ++x) d[x] = U32(s + 4 * x) | kOpaque;
    }
  } else {
    for (int y = 0; y < f.height; ++y) {
      const uint8_t* s = data + size_t(y) * stride;
      uint32_t* d = RowOf(bmp, f, y);
      for (int x = 0; x < f.width; ++x) {
        const uint32_t v = U32(s + 4 * x);
        d[x] = kOpaque | (r.Get(v) << 16) | (g.Get(v) << 8) | b.Get(v);
      }
    }
  }
}

void Decode24(const uint8_t* data, size_t size, const TFormat& f, TBitmap& bmp, const std::string& name) {
  const uint64_t stride = ((uint64_t(f.width) * 24 + 31) / 32) * 4;
  const uint64_t rowBytes = uint64_t(f.width) * 3;
  if (f.height > 0 && (f.height - 1) * stride + rowBytes > size) Fail(name, "pixel data truncated");
  for (int y = 0; y < f.height; ++y) {
    const uint8_t* s = data + size_t(y) * stride;
    uint32_t* d = RowOf(bmp, f, y);
    for (int x = 0; x < f.width; ++x, s += 3)
      d[x] = kOpaque | (uint32_t(s[2]) << 16) | (uint32_t(s[1]) << 8) | s[0];
  }
}

// RLE8 and RLE4. Pixels the stream skips (deltas, early ends of line or picture) keep palette
// entry 0. A few bytes of RLE may claim a picture of any size, so the stream is first walked
// without a picture (Write false): only a stream that is whole, stays inside the picture and draws
// enough of it (CheckRleCover) gets its pixels allocated and written.
template <bool Write>
class TRleStream {
 public:
  TRleStream(const uint8_t* data, size_t size, const TFormat& f, TBitmap* bmp, const std::string& name)
      : data_(data),
        size_(size),
        f_(f),
        bmp_(bmp),
        name_(name),
        four_(f.compression == kBiRle4),
        pal_(f.palette.data()),
        count_(unsigned(f.palette.size())) {}

  // Walks the stream; answers the pixels its runs drew.
  uint64_t Walk() {
    if constexpr (Write) FillBackground();
    for (;;) {
      if (pos_ >= size_) {
        // A stream may stop after its last row without the end-of-picture mark.
        if (y_ >= f_.height) return drawn_;
        Fail(name_, "compressed data ends early");
      }
      Need(2);
      const unsigned n = data_[pos_], v = data_[pos_ + 1];
      pos_ += 2;
      if (n > 0)
        EncodedRun(n, v);
      else if (Escape(v))
        return drawn_;
    }
  }

 private:
  void FillBackground() {
    for (int y = 0; y < f_.height; ++y) std::fill_n(bmp_->ScanLine(y), f_.width, pal_[0]);
  }
  void Need(size_t n) const {
    if (size_ - pos_ < n) Fail(name_, "compressed data ends early");
  }
  uint32_t Colour(unsigned i) const {
    if (i >= count_) Fail(name_, "colour index outside the palette");
    return pal_[i];
  }
  // A run of n pixels is room for n more pixels on the current row.
  void CheckRun(unsigned n) const {
    if (y_ >= f_.height || unsigned(f_.width - x_) < n) Fail(name_, "compressed run outside the picture");
  }
  uint32_t* Here() const { return RowOf(*bmp_, f_, y_) + x_; }

  // n pixels of one colour (RLE8) or of two alternating colours (RLE4).
  void EncodedRun(unsigned n, unsigned v) {
    CheckRun(n);
    if (four_) {
      const uint32_t hi = Colour(v >> 4), lo = Colour(v & 15);
      if constexpr (Write) {
        uint32_t* d = Here();
        for (unsigned i = 0; i < n; ++i) d[i] = (i & 1) ? lo : hi;
      }
    } else {
      const uint32_t c = Colour(v);
      if constexpr (Write) std::fill_n(Here(), n, c);
    }
    x_ += int(n);
    drawn_ += n;
  }

  // The escapes after a zero count; true at the end of the picture.
  bool Escape(unsigned v) {
    switch (v) {
      case 0:
        EndOfLine();
        return false;
      case 1:
        return true;
      case 2:
        Delta();
        return false;
      default:
        AbsoluteRun(v);
        return false;
    }
  }
  void EndOfLine() {
    x_ = 0;
    if (++y_ > f_.height) Fail(name_, "compressed data runs past the last row");
  }
  void Delta() {
    Need(2);
    const unsigned dx = data_[pos_], dy = data_[pos_ + 1];
    pos_ += 2;
    if (unsigned(f_.width - x_) < dx || unsigned(f_.height - y_) < dy)
      Fail(name_, "compressed delta outside the picture");
    x_ += int(dx);
    y_ += int(dy);
  }
  // v pixels stored one index each, padded to a 16-bit boundary.
  void AbsoluteRun(unsigned v) {
    const size_t bytes = four_ ? (v + 1) / 2 : v;
    Need(bytes + (bytes & 1));
    CheckRun(v);
    const uint8_t* s = data_ + pos_;
    uint32_t* d = Write ? Here() : nullptr;
    for (unsigned i = 0; i < v; ++i) {
      const uint32_t c = Colour(IndexAt(s, i));
      if constexpr (Write) d[i] = c;
    }
    pos_ += bytes + (bytes & 1);
    x_ += int(v);
    drawn_ += v;
  }
  unsigned IndexAt(const uint8_t* s, unsigned i) const {
    if (!four_) return s[i];
    return (i & 1) ? (s[i / 2] & 15) : (s[i / 2] >> 4);
  }

  const uint8_t* data_;
  size_t size_;
  const TFormat& f_;
  TBitmap* bmp_;
  const std::string& name_;
  bool four_;
  const uint32_t* pal_;
  unsigned count_;
  size_t pos_ = 0;
  int x_ = 0, y_ = 0;
  uint64_t drawn_ = 0;
};

template <bool Write>
uint64_t RunRle(const uint8_t* data, size_t size, const TFormat& f, TBitmap* bmp, const std::string& name) {
  return TRleStream<Write>(data, size, f, bmp, name).Walk();
}

// Pixels a stream skips cost memory and time without any data behind them: 60 bytes that only end
// the picture would claim the largest picture allowed. Beyond a small picture, the runs must draw
// at least half of it, so the cost of a file stays in proportion to what it holds.
constexpr uint64_t kFreeUndrawnPixels = 1u << 16;

void CheckRleCover(uint64_t drawn, const TFormat& f, const std::string& name) {
  const uint64_t all = uint64_t(f.width) * uint64_t(f.height);
  const uint64_t undrawn = all > drawn ? all - drawn : 0;
  if (undrawn > std::max(kFreeUndrawnPixels, drawn))
    Fail(name, "the compressed data does not fill the picture its header claims");
}

// Reads count palette entries of entrySize bytes (B, G, R[, reserved]).
std::vector<uint32_t> ReadPalette(const uint8_t* p, unsigned count, unsigned entrySize) {
  std::vector<uint32_t> pal(count);
  for (unsigned i = 0; i < count; ++i, p += entrySize)
    pal[i] = kOpaque | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
  return pal;
}

// Where the parts of the file are, as the headers give them.
struct TLayout {
  uint32_t offBits = 0;    // the pixel data
  uint32_t hdrSize = 0;    // the info header
  unsigned clrUsed = 0;    // colour table entries, 0 for all
  unsigned entrySize = 4;  // bytes a colour table entry
  uint64_t tablePos = 0;   // the colour table or the bit masks
};

bool KnownHeaderSize(uint32_t hdrSize) {
  return hdrSize == 12 || hdrSize == 40 || hdrSize == 52 || hdrSize == 56 || hdrSize == 108 || hdrSize == 124;
}

// The file header and the size of the info header, which must be all there.
TLayout ReadFileHeader(const uint8_t* d, size_t size, const std::string& name) {
  if (size < kFileHeaderSize + 12 || d[0] != 'B' || d[1] != 'M') Fail(name, "no bitmap header");
  TLayout at;
  at.offBits = U32(d + 10);
  at.hdrSize = U32(d + 14);
  if (!KnownHeaderSize(at.hdrSize)) Fail(name, "unknown header size " + std::to_string(at.hdrSize));
  if (size - kFileHeaderSize < at.hdrSize) Fail(name, "header truncated");
  at.tablePos = kFileHeaderSize + uint64_t(at.hdrSize);
  return at;
}

// The picture's size, depth and compression from the info header (the 12-byte core header or a
// 40-byte or later one); the size is refused beyond the limits here, before anything is allocated.
void ReadInfoHeader(const uint8_t* h, TLayout& at, TFormat& f, const TPictureLimits& limits,
                    const std::string& name) {
  int64_t width, height;
  unsigned planes;
  if (at.hdrSize == 12) {
    width = U16(h + 4);
    height = U16(h + 6);
    planes = U16(h + 8);
    f.bpp = U16(h + 10);
    at.entrySize = 3;
  } else {
    width = I32(h + 4);
    height = I32(h + 8);
    planes = U16(h + 12);
    f.bpp = U16(h + 14);
    f.compression = U32(h + 16);
    at.clrUsed = U32(h + 32);
    at.entrySize = 4;
  }
  if (planes != 1) Fail(name, "plane count is not 1");
  f.topDown = height < 0;
  if (f.topDown) height = -height;
  CheckSize(width, height, limits, name);
  f.width = int(width);
  f.height = int(height);
}

void CheckRgbDepth(TFormat& f, const std::string& name) {
  if (f.bpp != 1 && f.bpp != 2 && f.bpp != 4 && f.bpp != 8 && f.bpp != 16 && f.bpp != 24 && f.bpp != 32)
    Fail(name, "unsupported bit depth " + std::to_string(f.bpp));
  if (f.bpp == 16) {
    f.masks[0] = 0x7C00, f.masks[1] = 0x03E0, f.masks[2] = 0x001F;
  } else if (f.bpp == 32) {
    f.masks[0] = 0xFF0000, f.masks[1] = 0xFF00, f.masks[2] = 0xFF;
  }
}

// The masks are part of a V2 or later header, or follow a 40-byte one.
void ReadBitMasks(const uint8_t* d, size_t size, TLayout& at, TFormat& f, const std::string& name) {
  if (at.hdrSize == 12 || (f.bpp != 16 && f.bpp != 32)) Fail(name, "bit fields need 16 or 32 bits a pixel");
  const uint8_t* m = d + kFileHeaderSize + 40;
  if (at.hdrSize == 40) {
    const uint64_t n = f.compression == kBiAlphaBitfields ? 16 : 12;
    if (at.tablePos + n > size) Fail(name, "bit masks truncated");
    m = d + at.tablePos;
    at.tablePos += n;
  }
  for (int i = 0; i < 3; ++i) f.masks[i] = U32(m + 4 * i);
}

// The compression against the bit depth, and the bit masks it uses.
void ReadCompression(const uint8_t* d, size_t size, TLayout& at, TFormat& f, const std::string& name) {
  switch (f.compression) {
    case kBiRgb:
      CheckRgbDepth(f, name);
      break;
    case kBiRle8:
    case kBiRle4:
      if (f.bpp != (f.compression == kBiRle8 ? 8 : 4)) Fail(name, "compression does not match the bit depth");
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      ReadBitMasks(d, size, at, f, name);
      break;
    default:
      Fail(name, "unsupported compression " + std::to_string(f.compression));
  }
}

// The colour table: biClrUsed entries, or all 2^bpp; a table cut short by the pixel data offset
// keeps the entries that are there.
void ReadColourTable(const uint8_t* d, size_t size, const TLayout& at, TFormat& f, const std::string& name) {
  if (at.offBits < at.tablePos || at.offBits > size) Fail(name, "pixel data offset outside the file");
  if (f.bpp > 8) return;
  const unsigned full = 1u << f.bpp;
  unsigned count = (at.clrUsed == 0 || at.clrUsed > full) ? full : at.clrUsed;
  count = unsigned(std::min<uint64_t>(count, (at.offBits - at.tablePos) / at.entrySize));
  if (count == 0) Fail(name, "colour table missing");
  f.palette = ReadPalette(d + at.tablePos, count, at.entrySize);
}

bool IsRle(const TFormat& f) {
  return f.compression == kBiRle8 || f.compression == kBiRle4;
}

// Uncompressed rows must all be there (the last one may lack its padding), and a compressed
// stream must be whole; both are checked before the picture is allocated, so a small file cannot
// make us reserve a huge one.
void CheckPixelData(const uint8_t* pixels, size_t avail, const TFormat& f, const std::string& name) {
  if (f.width <= 0 || f.height <= 0) return;
  if (IsRle(f)) {
    CheckRleCover(RunRle<false>(pixels, avail, f, nullptr, name), f, name);
  } else {
    const uint64_t stride = ((uint64_t(f.width) * uint64_t(f.bpp) + 31) / 32) * 4;
    const uint64_t rowBytes = (uint64_t(f.width) * uint64_t(f.bpp) + 7) / 8;
    if (uint64_t(f.height - 1) * stride + rowBytes > avail) Fail(name, "pixel data truncated");
  }
}

void DecodePixels(const uint8_t* pixels, size_t avail, const TFormat& f, TBitmap& bmp,
                  const std::string& name) {
  if (f.width <= 0 || f.height <= 0) return;
  if (IsRle(f))
    RunRle<true>(pixels, avail, f, &bmp, name);
  else if (f.bpp <= 8)
    DecodeIndexed(pixels, avail, f, bmp, name);
  else if (f.bpp == 24)
    Decode24(pixels, avail, f, bmp, name);
  else
    DecodeBitfields(pixels, avail, f, bmp, name);
}

}  // namespace

void DecodeBmp(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name) {
  DecodeBmp(data, out, name, kPictureLimits);
}

// Every check on the headers and the pixel data comes before the picture is allocated.
void DecodeBmp(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name,
               const TPictureLimits& limits) {
  const uint8_t* d = data.data();
  const size_t size = data.size();
  TLayout at = ReadFileHeader(d, size, name);
  TFormat f;
  ReadInfoHeader(d + kFileHeaderSize, at, f, limits, name);
  ReadCompression(d, size, at, f, name);
  ReadColourTable(d, size, at, f, name);
  const uint8_t* pixels = d + at.offBits;
  const size_t avail = size - at.offBits;
  CheckPixelData(pixels, avail, f, name);

  TBitmap bmp(f.width, f.height);
  bmp.PixelFormat = f.bpp == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  DecodePixels(pixels, avail, f, bmp, name);
  bmp.Transparent = out.Transparent;
  out = std::move(bmp);
}

std::vector<uint8_t> EncodeBmp24(const TBitmap& bmp) {
  const uint32_t w = uint32_t(bmp.Width()), h = uint32_t(bmp.Height());
  const uint32_t stride = (w * 3 + 3) & ~3u;
  const uint64_t imageSize = uint64_t(stride) * h;
  const uint64_t fileSize = 54 + imageSize;
  if (fileSize > 0xFFFFFFFFu) throw EInvalidGraphic("Picture too large for a bitmap file");
  std::vector<uint8_t> out(size_t(fileSize), 0);
  uint8_t* p = out.data();
  auto put16 = [&](size_t at, uint32_t v) {
    p[at] = uint8_t(v);
    p[at + 1] = uint8_t(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  p[0] = 'B';
  p[1] = 'M';
  put32(2, uint32_t(fileSize));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);  // positive: bottom-up rows
  put16(26, 1);
  put16(28, 24);
  put32(30, kBiRgb);
  put32(34, uint32_t(imageSize));
  put32(38, 2835);  // 72 dpi in pixels per metre
  put32(42, 2835);
  for (uint32_t y = 0; y < h; ++y) {
    const uint32_t* s = bmp.ScanLine(int(h - 1 - y));
    uint8_t* d = p + 54 + size_t(y) * stride;
    for (uint32_t x = 0; x < w; ++x, d += 3) {
      d[0] = uint8_t(s[x]);
      d[1] = uint8_t(s[x] >> 8);
      d[2] = uint8_t(s[x] >> 16);
    }
  }
  return out;
}

void SaveBmp24(const std::string& path, const TBitmap& bmp) {
  std::vector<uint8_t> data;
  try {
    data = EncodeBmp24(bmp);
  } catch (const EInvalidGraphic& e) {
    throw EFileError("Cannot write file \"" + path + "\": " + e.what());
  }
  WriteFileAtomic(path, std::string(data.begin(), data.end()));
}

void LoadBmpFile(const std::string& path, TBitmap& out) {
  LoadBmpFile(path, out, kPictureLimits);
}

void LoadBmpFile(const std::string& path, TBitmap& out, const TPictureLimits& limits) {
  DecodeBmp(ReadFileBytes(path, limits.FileKind), out, path, limits);
}
