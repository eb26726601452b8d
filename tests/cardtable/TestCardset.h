#pragma once
// Tiny card sets written at test time. Each face is filled with a colour that encodes its
// file, so a test can tell which picture a card carries.

#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"

struct TTestCardsetOptions {
  int Width = 8;
  int Height = 10;
  int Backs = 3;                // Back1..BackN
  std::vector<int> ExtraBacks;  // more back numbers (gaps allowed)
  bool Jokers = true;
  bool Extras = true;  // masks, shadows, bottoms, shade
  bool Shadow02 = false;
  int ShadowSize = 2;
  std::vector<std::string> Skip;  // file names not to write
  int Tint = 0;                   // added to every colour so two sets differ
};

// Writes <root>/<name>/ with every file of a card set.
void WriteTestCardset(const std::string& root, const std::string& name, const TTestCardsetOptions& o = {});
// The colour a face of the given file name is filled with (tint included).
TColor TestFaceColour(const std::string& fileName, int tint = 0);
TColor TestBackColour(int n, int tint = 0);
// A folder with a "Standard" set of 71 x 96 cards (the real set's size), written once per test
// program and removed at its end.
const std::string& StandardTestCardsetsDir();
