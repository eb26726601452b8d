#include "tests/cardtable/TestCardset.h"

#include <algorithm>

#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"
#include "tests/support/TestUtil.h"

namespace {

void Write(const std::string& dir, const std::string& file, const TBitmap& b, const TTestCardsetOptions& o) {
  if (std::find(o.Skip.begin(), o.Skip.end(), file) != o.Skip.end()) return;
  SaveBmp24(PathJoin(dir, file), b);
}

TBitmap Filled(int w, int h, TColor c) {
  TBitmap b(w, h);
  b.Clear(c);
  return b;
}

int Hash(const std::string& s) {
  unsigned h = 2166136261u;
  for (char c : s) h = (h ^ uint8_t(c)) * 16777619u;
  return int(h & 0x7F7F7F) | 0x010101;  // never black
}

}  // namespace

TColor TestFaceColour(const std::string& fileName, int tint) {
  return (Hash(fileName) + tint) & 0xFFFFFF;
}
TColor TestBackColour(int n, int tint) {
  return (0x102030 * n + 0x050505 + tint) & 0xFFFFFF;
}

void WriteTestCardset(const std::string& root, const std::string& name, const TTestCardsetOptions& o) {
  const std::string dir = PathJoin(root, name);
  ForceDirectories(dir);
  const int w = o.Width, h = o.Height, s = o.ShadowSize;
  static const char* kSuits = "cdhs";
  for (int v = 1; v <= 13; ++v)
    for (int su = 0; su < 4; ++su) {
      std::string file = (v < 10 ? "0" : "") + std::to_string(v) + kSuits[su] + ".bmp";
      Write(dir, file, Filled(w, h, TestFaceColour(file, o.Tint)), o);
    }
  if (o.Jokers)
    for (const char* j : {"01joker.bmp", "02joker.bmp"})
      Write(dir, j, Filled(w, h, TestFaceColour(j, o.Tint)), o);
  std::vector<int> backs;
  for (int n = 1; n <= o.Backs; ++n) backs.push_back(n);
  backs.insert(backs.end(), o.ExtraBacks.begin(), o.ExtraBacks.end());
  for (int n : backs)
    Write(dir, "Back" + std::to_string(n) + ".bmp", Filled(w, h, TestBackColour(n, o.Tint)), o);
  if (!o.Extras) return;
  TBitmap mask = Filled(w, h, clBlack);
  mask.SetPixel(0, 0, clWhite);
  mask.SetPixel(w - 1, 0, clWhite);
  mask.SetPixel(0, h - 1, clWhite);
  mask.SetPixel(w - 1, h - 1, clWhite);
  Write(dir, "CardMask.bmp", mask, o);
  Write(dir, "Shadow00.bmp", Filled(w, s, 0x808080), o);
  Write(dir, "Shadow01.bmp", Filled(s, h - s, 0x808080), o);
  Write(dir, "Shadow00M.bmp", Filled(w, s, clBlack), o);
  Write(dir, "Shadow00IM.bmp", Filled(w, s, clWhite), o);
  Write(dir, "Shadow01M.bmp", Filled(s, h - s, clBlack), o);
  Write(dir, "Shadow01IM.bmp", Filled(s, h - s, clWhite), o);
  int k = 0;
  for (const char* b :
       {"Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp", "Bottom05.bmp", "Bottom06.bmp", "Bottom07.bmp"})
    Write(dir, b, Filled(w, h, 0x202020 * (++k) + o.Tint), o);
  Write(dir, "Shade.bmp", Filled(w, h, 0x0A0B0C + o.Tint), o);
  if (o.Shadow02) Write(dir, "Shadow02.bmp", Filled(w, h, 0x0D0E0F + o.Tint), o);
}

const std::string& StandardTestCardsetsDir() {
  static TTempDir dir;
  static const std::string path = [] {
    TTestCardsetOptions o;
    o.Width = 71;
    o.Height = 96;
    WriteTestCardset(dir.Path(), "Standard", o);
    return dir.Path();
  }();
  return path;
}
