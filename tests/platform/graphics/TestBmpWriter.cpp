#include "tests/platform/graphics/TestBmpWriter.h"

#include <algorithm>

void Put16(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  d[at] = uint8_t(v);
  d[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& d, size_t at, uint32_t v) {
  Put16(d, at, v & 0xFFFF);
  Put16(d, at + 2, v >> 16);
}

uint32_t Get16(const std::vector<uint8_t>& d, size_t at) {
  return uint32_t(d[at] | (d[at + 1] << 8));
}
uint32_t Get32(const std::vector<uint8_t>& d, size_t at) {
  return Get16(d, at) | (Get16(d, at + 2) << 16);
}

namespace {

void Append(std::vector<uint8_t>& d, std::initializer_list<int> bytes) {
  for (int b : bytes) d.push_back(uint8_t(b));
}

// Packs one row of pixel values as stored in the file, padded to 4 bytes.
std::vector<uint8_t> PackRow(const TTestBmp& s, int y) {
  const size_t stride = ((size_t(s.width) * size_t(s.bpp) + 31) / 32) * 4;
  std::vector<uint8_t> row(stride, 0);
  for (int x = 0; x < s.width; ++x) {
    const uint32_t v = s.values[size_t(y) * size_t(s.width) + size_t(x)];
    switch (s.bpp) {
      case 1:
      case 2:
      case 4:
      case 8: {
        const size_t bit = size_t(x) * size_t(s.bpp);
        row[bit / 8] |= uint8_t(v << (8 - s.bpp - bit % 8));
        break;
      }
      case 16:
        Put16(row, size_t(x) * 2, v);
        break;
      case 24:
        row[size_t(x) * 3] = uint8_t(v >> 16);  // blue
        row[size_t(x) * 3 + 1] = uint8_t(v >> 8);
        row[size_t(x) * 3 + 2] = uint8_t(v);  // red
        break;
      case 32:
        Put32(row, size_t(x) * 4, v);
        break;
    }
  }
  return row;
}

}  // namespace

std::vector<uint8_t> BuildBmp(const TTestBmp& s) {
  std::vector<uint8_t> d(14 + s.headerSize, 0);
  d[0] = 'B';
  d[1] = 'M';
  Put32(d, 14, s.headerSize);
  if (s.headerSize == 12) {
    Put16(d, 18, uint32_t(s.width));
    Put16(d, 20, uint32_t(s.height));
    Put16(d, 22, 1);
    Put16(d, 24, uint32_t(s.bpp));
  } else {
    Put32(d, 18, uint32_t(s.width));
    Put32(d, 22, uint32_t(s.topDown ? -s.height : s.height));
    Put16(d, 26, 1);
    Put16(d, 28, uint32_t(s.bpp));
    Put32(d, 30, s.compression);
    Put32(d, 38, 2835);
    Put32(d, 42, 2835);
    Put32(d, 46, s.clrUsed);
    if (s.headerSize >= 52)
      for (int i = 0; i < (s.headerSize >= 56 ? 4 : 3); ++i) Put32(d, 54 + 4 * size_t(i), s.masks[i]);
    if (s.headerSize >= 108) Put32(d, 70, 0x73524742);  // 'sRGB'
  }
  if (s.headerSize == 40 && (s.compression == 3 || s.compression == 6))
    for (int i = 0; i < (s.compression == 6 ? 4 : 3); ++i)
      for (int k = 0; k < 4; ++k) d.push_back(uint8_t(s.masks[i] >> (8 * k)));
  for (TColor c : s.palette) {
    d.push_back(uint8_t(GetBValue(c)));
    d.push_back(uint8_t(GetGValue(c)));
    d.push_back(uint8_t(GetRValue(c)));
    if (s.headerSize != 12) d.push_back(0);
  }
  const size_t offBits = d.size();
  if (s.compression == 1 || s.compression == 2) {
    d.insert(d.end(), s.rle.begin(), s.rle.end());
  } else {
    for (int r = 0; r < s.height; ++r) {
      const std::vector<uint8_t> row = PackRow(s, s.topDown ? r : s.height - 1 - r);
      d.insert(d.end(), row.begin(), row.end());
    }
  }
  Put32(d, 2, uint32_t(d.size()));
  Put32(d, 10, uint32_t(offBits));
  if (s.headerSize != 12) Put32(d, 34, uint32_t(d.size() - offBits));
  return d;
}

std::vector<uint8_t> EncodeRle8(const std::vector<uint32_t>& idx, int w, int h, bool topDown, bool skipZero) {
  std::vector<uint8_t> out;
  auto rowAt = [&](int r) { return idx.data() + size_t(topDown ? r : h - 1 - r) * size_t(w); };
  auto zeroFrom = [&](int r) {
    for (; r < h; ++r)
      for (int x = 0; x < w; ++x)
        if (rowAt(r)[x] != 0) return false;
    return true;
  };
  for (int r = 0; r < h; ++r) {
    if (skipZero && zeroFrom(r)) break;  // the end-of-picture mark leaves the rest
    const uint32_t* row = rowAt(r);
    int end = w;
    if (skipZero)
      while (end > 0 && row[end - 1] == 0) --end;  // the end-of-line mark leaves the rest
    if (end == 0) {
      // An empty row: crossed by end-of-line or by a delta one row down, in turn.
      if (r % 2)
        Append(out, {0, 0});
      else
        Append(out, {0, 2, 0, 1});
      continue;
    }
    int x = 0;
    while (x < end) {
      if (skipZero && row[x] == 0) {
        int n = 0;
        while (x + n < end && row[x + n] == 0 && n < 255) ++n;
        Append(out, {0, 2, n, 0});
        x += n;
        continue;
      }
      int n = 1;
      while (x + n < end && row[x + n] == row[x] && n < 255) ++n;
      if (n >= 2 || end - x < 3) {
        Append(out, {n, int(row[x])});
        x += n;
        continue;
      }
      // Absolute run: up to the next pair of equal pixels (or a skipped zero).
      int m = 1;
      while (x + m < end && m < 255 && !(x + m + 1 < end && row[x + m] == row[x + m + 1]) &&
             !(skipZero && row[x + m] == 0))
        ++m;
      if (m < 3) {
        Append(out, {1, int(row[x])});
        ++x;
        continue;
      }
      Append(out, {0, m});
      for (int i = 0; i < m; ++i) out.push_back(uint8_t(row[x + i]));
      if (m & 1) out.push_back(0);
      x += m;
    }
    Append(out, {0, 0});
  }
  Append(out, {0, 1});
  return out;
}

std::vector<uint8_t> EncodeRle4(const std::vector<uint32_t>& idx, int w, int h, bool topDown) {
  std::vector<uint8_t> out;
  for (int r = 0; r < h; ++r) {
    const uint32_t* row = idx.data() + size_t(topDown ? r : h - 1 - r) * size_t(w);
    int x = 0;
    while (x < w) {
      // An encoded run repeats a pair of nibbles: the longest stretch alternating row[x], row[x+1].
      int n = 1;
      while (x + n < w && n < 255 && row[x + n] == row[x + (n & 1)]) ++n;
      if (n >= 4 || w - x < 4) {
        const uint32_t b = x + 1 < w ? row[x + 1] : 0;
        Append(out, {n, int((row[x] << 4) | b)});
        x += n;
        continue;
      }
      // Absolute run of the next few pixels (at least 3, at most 255).
      const int m = std::min(w - x, 5 + (x % 7));
      Append(out, {0, m});
      for (int i = 0; i < m; i += 2)
        out.push_back(uint8_t((row[x + i] << 4) | (i + 1 < m ? row[x + i + 1] : 0)));
      if (((m + 1) / 2) & 1) out.push_back(0);
      x += m;
    }
    Append(out, {0, 0});
  }
  Append(out, {0, 1});
  return out;
}

std::vector<uint8_t> DrawnRle8(int w, int h, int rows) {
  TTestBmp s;
  s.width = w;
  s.height = h;
  s.bpp = 8;
  s.compression = 1;
  s.palette = {clRed, clLime};
  s.clrUsed = 2;
  for (int r = 0; r < rows; ++r) {
    for (int x = 0; x < w; x += 255) Append(s.rle, {std::min(255, w - x), 1});
    Append(s.rle, {0, 0});
  }
  Append(s.rle, {0, 1});
  return BuildBmp(s);
}
