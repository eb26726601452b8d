#pragma once
// What the card table tests share: a card set drawn like real art (rounded mask, faces black only
// outside the shape, stippled markers and shadows), a surface that records what reaches the
// "screen", the two oracles (a fresh recomposition of the table, and the screen at rest), and a
// fixture with a table on a virtual clock.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cardtable/CardTable.h"
#include "platform/core/Clock.h"
#include "tests/support/TestUtil.h"

struct TTableCardsetOptions {
  int Width = 30;
  int Height = 40;
  int Shadow = 3;
  int Radius = 4;
  bool Shadow02 = false;
  int Shadow02Grow = 0;   // Shadow02 this many pixels wider and taller than a card
  bool KeyHoles = false;  // backs with pure black (the colour key of turned pictures) inside
};

// Writes <root>/<name> with every file a deck loads.
void WriteTableCardset(const std::string& root, const std::string& name, const TTableCardsetOptions& o = {});
// Inside the rounded card shape.
bool InsideCardShape(int x, int y, int w, int h, int r);
// The colour of face pixel (x, y) of card number id (never black).
TColor TestFacePixel(int id, int x, int y);

// Keeps a "screen" that only copies and paints change; Invalidate waits for Flush (the event loop).
class TRecordingSurface : public TTableSurface {
 public:
  TBitmap Screen;
  std::vector<TRect> Copies;
  int Paints = 0;
  int Invalidates = 0;
  int LabelRepaints = 0;
  bool InvalidatePending = false;
  TRect LastBounds;
  bool ControlVisible = true;
  TPoint Form{720, 560};
  TPoint Client{700, 520};
  TPoint MinimumSize;
  TCursor Cursor = crDefault;
  std::optional<std::string> PictureAnswer;
  std::string LastFilter;
  TCardTable* Table = nullptr;
  // Called after each copy to the screen (input arriving in the middle of an animation).
  std::function<void()> OnCopy;
  // The table is told what the screen shows (it then sends only what differs).
  bool ShowsScreen = true;
  // A frame asked for later (PresentLater) is kept here until the test calls Table->PresentFrame();
  // without it the table shows every copy at once.
  bool FrameTimer = false;
  int FrameAskedMs = -1;

  void AttachTable(TCardTable* table) override { Table = table; }
  void CopyToScreen(const TBitmap& buffer, const TRect& r) override;
  // Every rectangle is recorded; OnCopy is told once, when all of them are on the screen.
  void CopyRectsToScreen(const TBitmap& buffer, const std::vector<TRect>& rects) override;
  void Paint(const TBitmap& buffer) override;
  TScreenPixels ScreenPixels() const override;
  bool PresentLater(int ms) override {
    if (!FrameTimer) return false;
    if (FrameAskedMs < 0) FrameAskedMs = ms;
    return true;
  }
  void Invalidate() override {
    ++Invalidates;
    InvalidatePending = true;
  }
  void ProcessEvents() override { Flush(); }
  void SetBounds(const TRect& r) override;
  void SetVisible(bool v) override { ControlVisible = v; }
  TCursor ScreenCursor() const override { return Cursor; }
  void SetScreenCursor(TCursor c) override { Cursor = c; }
  TPoint FormSize() const override { return Form; }
  TPoint ClientSize() const override { return Client; }
  void SetFormMinimumSize(int w, int h) override { MinimumSize = TPoint(w, h); }
  void RepaintOwnerLabels() override { ++LabelRepaints; }
  std::optional<std::string> ChoosePictureFile(const std::string&, const std::string& filter) override {
    LastFilter = filter;
    return PictureAnswer;
  }

  // A pending repaint happens now (as the event loop would, while the table shows updates).
  void Flush();
  void ResetCounts() {
    Copies.clear();
    Paints = Invalidates = 0;
  }
};

// The background alone, painted afresh from the table's settings.
TBitmap OracleBackground(TCardTable& table);
// Background, shown places, the drawn stock pile bottom to top and the list in order, drawn afresh.
TBitmap OracleCompose(TCardTable& table);
// Pixel-by-pixel comparison that names the first difference.
::testing::AssertionResult SameBitmaps(const TBitmap& expected, const TBitmap& actual);

class TCardTableTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The table on a fresh card set (the set may be written with other options first).
  void MakeTable(const TTableCardsetOptions& o = {});
  TCardDeck& Deck() { return *Table->CardDeck(); }
  TCard* CardNo(int i) { return Deck().Cards[size_t(i)].get(); }
  // Both oracles.
  ::testing::AssertionResult Consistent();
  ::testing::AssertionResult ScreenAtRest();

  TTempDir Dir;
  std::string CardsetsDir;
  TVirtualClock VClock;
  TRecordingSurface Surface;
  std::unique_ptr<TCardTable> Table;
  std::vector<std::string> Traces;
};
