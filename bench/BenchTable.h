#pragma once
// What the benchmark and the screenshot program share: the card sets folder, a surface that keeps a
// screen bitmap in memory, and a table laid out as a game would lay it out.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cardtable/CardTable.h"
#include "platform/core/Files.h"
#include "platform/graphics/Raster.h"

inline std::string BenchCardsetsDir() {
  const std::string dir = PATIENCE_CARDSETS_DIR;
  if (!DirectoryExists(PathJoin(dir, "Standard"))) {
    std::fprintf(stderr, "No card sets in %s: build the cardsets target first.\n", dir.c_str());
    std::exit(2);
  }
  return dir;
}

// Copies reach a screen bitmap, as a window's backing store would receive them, and the table is
// told what that screen shows (as the window tells it, unless ShowsScreen is cleared). With
// CountChanges set, each copy also counts the pixels it really changed on that screen.
class TMemorySurface : public TTableSurface {
 public:
  TBitmap Screen;
  long long CopiedPixels = 0;
  bool CountChanges = false;
  long long ChangedPixels = 0;
  bool ShowsScreen = true;
  TScreenPixels ScreenPixels() const override {
    if (!ShowsScreen || Screen.Empty()) return {};
    return {Screen.ScanLine(0), Screen.Width(), Screen.Width(), Screen.Height()};
  }
  void SetBounds(const TRect& r) override { Screen.SetSize(r.Width(), r.Height()); }
  void CopyToScreen(const TBitmap& buffer, const TRect& r) override {
    CopiedPixels += (long long)r.Width() * r.Height();
    if (CountChanges)
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
          ChangedPixels += !SameRGB(Screen.RawPixel(x, y), buffer.RawPixel(x, y));
    BitBlt(Screen, r.Left, r.Top, r.Width(), r.Height(), buffer, r.Left, r.Top);
  }
  void Paint(const TBitmap& buffer) override {
    CopyToScreen(buffer, TRect(0, 0, buffer.Width(), buffer.Height()));
  }
  void Invalidate() override {}
};

// A diagonal gradient like the game's table presets.
inline void GradientBackground(TCardTable& t) {
  TBackdrop& bd = t.BackDrop();
  bd.SetNewMode(true);
  bd.SetNewColorFrom(RGB(0, 90, 40));
  bd.SetNewColorTo(RGB(20, 160, 90));
  bd.SetNewType(TGradientStyle::gsDiagonalLeftRight);
  bd.SetEnabled(true);
}

// Deals count cards into fanned columns starting at (x, y), every fan face up at its end.
inline void DealFans(TCardTable& t, int count, int columns, int x, int y, int stepX, int stepY) {
  TCardDeck& d = *t.CardDeck();
  const int perColumn = (count + columns - 1) / columns;
  for (int i = 0; i < count; ++i) {
    TCard* c = d.NextCard();
    if (!c) return;
    const int col = i / perColumn, row = i % perColumn;
    c->FaceUp = row == perColumn - 1 || row % 3 == 2;
    t.AddCard(c, x + col * stepX, y + row * stepY);
  }
}
