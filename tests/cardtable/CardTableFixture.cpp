#include "tests/cardtable/CardTableFixture.h"

#include <sstream>

#include "cardtable/ImageArrayUnit.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Raster.h"

// ---------------------------------------------------------------------------------------------
// The card set

bool InsideCardShape(int x, int y, int w, int h, int r) {
  if (x < 0 || y < 0 || x >= w || y >= h) return false;
  // The corners are quarter circles of radius r.
  const int cx = x < r ? r : (x >= w - r ? w - 1 - r : x);
  const int cy = y < r ? r : (y >= h - r ? h - 1 - r : y);
  const int dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= r * r;
}

TColor TestFacePixel(int id, int x, int y) {
  return RGB(40 + (x * 7 + id * 13) % 200, 40 + (y * 5 + id * 29) % 200, 60 + (id * 37) % 150);
}

namespace {

// A card picture: the pattern inside the shape, black outside.
TBitmap CardPicture(int id, const TTableCardsetOptions& o) {
  TBitmap b(o.Width, o.Height);
  for (int y = 0; y < o.Height; ++y)
    for (int x = 0; x < o.Width; ++x)
      b.SetPixel(x, y,
                 InsideCardShape(x, y, o.Width, o.Height, o.Radius) ? TestFacePixel(id, x, y) : clBlack);
  return b;
}

// An AND picture: white outside the shape; inside a frame and a stipple of the given grey.
TBitmap MarkerPicture(int kind, const TTableCardsetOptions& o) {
  TBitmap b(o.Width, o.Height);
  b.Clear(clWhite);
  for (int y = 0; y < o.Height; ++y)
    for (int x = 0; x < o.Width; ++x) {
      if (!InsideCardShape(x, y, o.Width, o.Height, o.Radius)) continue;
      const bool edge = !InsideCardShape(x - 1, y, o.Width, o.Height, o.Radius) ||
                        !InsideCardShape(x + 1, y, o.Width, o.Height, o.Radius) ||
                        !InsideCardShape(x, y - 1, o.Width, o.Height, o.Radius) ||
                        !InsideCardShape(x, y + 1, o.Width, o.Height, o.Radius);
      if (edge)
        b.SetPixel(x, y, clBlack);
      else if ((x + y + kind) % (kind + 2) == 0)
        b.SetPixel(x, y, RGB(0x40 * (kind % 4), 0x30, 0x80));
    }
  return b;
}

TBitmap Stipple(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, (x + y) % 2 ? clWhite : 0x606060);
  return b;
}

TBitmap Filled(int w, int h, TColor c) {
  TBitmap b(w, h);
  b.Clear(c);
  return b;
}

}  // namespace

void WriteTableCardset(const std::string& root, const std::string& name, const TTableCardsetOptions& o) {
  const std::string dir = PathJoin(root, name);
  ForceDirectories(dir);
  static const char* kSuits = "cdhs";
  int id = 0;
  for (int v = 1; v <= 13; ++v)
    for (int s = 0; s < 4; ++s) {
      const std::string file = (v < 10 ? "0" : "") + std::to_string(v) + kSuits[s] + ".bmp";
      SaveBmp24(PathJoin(dir, file), CardPicture(++id, o));
    }
  SaveBmp24(PathJoin(dir, "01joker.bmp"), CardPicture(60, o));
  SaveBmp24(PathJoin(dir, "02joker.bmp"), CardPicture(61, o));
  for (int n = 1; n <= 2; ++n) {
    TBitmap back = CardPicture(70 + n, o);
    if (o.KeyHoles)
      for (int i = 5; i < o.Width - 5; ++i) {
        back.SetPixel(i, o.Height / 2, clBlack);
        back.SetPixel(o.Width / 2, i, clBlack);
      }
    SaveBmp24(PathJoin(dir, "Back" + std::to_string(n) + ".bmp"), back);
  }
  TBitmap mask(o.Width, o.Height);
  for (int y = 0; y < o.Height; ++y)
    for (int x = 0; x < o.Width; ++x)
      mask.SetPixel(x, y, InsideCardShape(x, y, o.Width, o.Height, o.Radius) ? clBlack : clWhite);
  SaveBmp24(PathJoin(dir, "CardMask.bmp"), mask);
  const int s = o.Shadow;
  SaveBmp24(PathJoin(dir, "Shadow00.bmp"), Stipple(o.Width, s));
  SaveBmp24(PathJoin(dir, "Shadow01.bmp"), Stipple(s, o.Height - s));
  SaveBmp24(PathJoin(dir, "Shadow00M.bmp"), Filled(o.Width, s, clBlack));
  SaveBmp24(PathJoin(dir, "Shadow00IM.bmp"), Filled(o.Width, s, clWhite));
  SaveBmp24(PathJoin(dir, "Shadow01M.bmp"), Filled(s, o.Height - s, clBlack));
  SaveBmp24(PathJoin(dir, "Shadow01IM.bmp"), Filled(s, o.Height - s, clWhite));
  const char* bottoms[] = {"Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp", "Bottom05.bmp",
                           "Bottom06.bmp", "Bottom07.bmp", "Shade.bmp"};
  for (int k = 0; k < 7; ++k) SaveBmp24(PathJoin(dir, bottoms[k]), MarkerPicture(k, o));
  if (o.Shadow02) {
    TTableCardsetOptions big = o;
    big.Width += o.Shadow02Grow;
    big.Height += o.Shadow02Grow;
    SaveBmp24(PathJoin(dir, "Shadow02.bmp"), MarkerPicture(9, big));
  }
}

// ---------------------------------------------------------------------------------------------
// The recording surface

void TRecordingSurface::SetBounds(const TRect& r) {
  LastBounds = r;
  Screen.SetSize(r.Width(), r.Height());
}

void TRecordingSurface::CopyToScreen(const TBitmap& buffer, const TRect& r) {
  Copies.push_back(r);
  BitBlt(Screen, r.Left, r.Top, r.Width(), r.Height(), buffer, r.Left, r.Top);
  if (OnCopy) OnCopy();
}

void TRecordingSurface::CopyRectsToScreen(const TBitmap& buffer, const std::vector<TRect>& rects) {
  for (const TRect& r : rects) {
    Copies.push_back(r);
    BitBlt(Screen, r.Left, r.Top, r.Width(), r.Height(), buffer, r.Left, r.Top);
  }
  if (OnCopy) OnCopy();
}

void TRecordingSurface::Paint(const TBitmap& buffer) {
  ++Paints;
  BitBlt(Screen, 0, 0, buffer.Width(), buffer.Height(), buffer, 0, 0);
}

TScreenPixels TRecordingSurface::ScreenPixels() const {
  if (!ShowsScreen || Screen.Empty()) return {};
  return {Screen.ScanLine(0), Screen.Width(), Screen.Width(), Screen.Height()};
}

void TRecordingSurface::Flush() {
  if (!InvalidatePending || !Table) return;
  InvalidatePending = false;
  if (!Table->ScreenUpdates()) return;
  BitBlt(Screen, 0, 0, Table->Buffer.Width(), Table->Buffer.Height(), Table->Buffer, 0, 0);
  Table->ScreenShown(TRect(0, 0, Table->Buffer.Width(), Table->Buffer.Height()));
}

// ---------------------------------------------------------------------------------------------
// The oracles

TBitmap OracleBackground(TCardTable& table) {
  TBitmap b(table.Width(), table.Height());
  if (table.BackgroundPicture() != "None") {
    TBitmap p;
    p.LoadFromFile(ResolvePath(table.BackgroundPicture()));
    if (table.StretchBackground()) {
      StretchBlt(b, 0, 0, b.Width(), b.Height(), p, 0, 0, p.Width(), p.Height());
    } else {
      for (int y = 0; y < b.Height(); y += p.Height())
        for (int x = 0; x < b.Width(); x += p.Width()) BitBlt(b, x, y, p.Width(), p.Height(), p, 0, 0);
    }
  } else if (table.BackDrop().Enabled()) {
    table.BackDrop().PaintBitmap(b);
  } else {
    b.Clear(table.Color());
  }
  return b;
}

namespace {

void ComposeCard(TBitmap& b, const TCard& c) {
  const TCardDeck& d = *c.Deck;
  if (c.Angle == 0.0f) {
    BitBlt(b, c.X, c.Y, d.CardWidth, d.CardHeight, d.CardMask, 0, 0, TRasterOp::And);
    BitBlt(b, c.X, c.Y, d.CardWidth, d.CardHeight, c.FaceUp ? c.Face : d.Back, 0, 0, TRasterOp::Paint);
    return;
  }
  // Turned afresh from the face or back, placed so that the centre stays on the card's centre.
  const TBitmap& src = c.FaceUp ? c.Face : d.Back;
  TImageArray& ia = SharedImageArray();
  ia.LoadFromBitmap(src);
  TBitmap turned;
  TPoint origin;
  ia.DrawRotated(turned, TPoint(src.Width() / 2, src.Height() / 2), c.Angle, origin, 1.0f, false, false);
  DrawTransparent(b, c.X + c.Face.Width() / 2 - origin.X, c.Y + c.Face.Height() / 2 - origin.Y, turned,
                  turned.TransparentColor());
}

}  // namespace

TBitmap OracleCompose(TCardTable& table) {
  TBitmap b = OracleBackground(table);
  TCardDeck& d = *table.CardDeck();
  for (int i = 1; i <= kPlaceCount; ++i) {
    const TCardPlace& p = d.Places[size_t(i)];
    if (!p.Shown) continue;
    if (p.Angle != 0.0f) {
      TImageArray& ia = SharedImageArray();
      ia.LoadFromBitmap(*p.Bottom);
      TBitmap turned;
      TPoint origin;
      ia.DrawRotated(turned, TPoint(p.Bottom->Width() / 2, p.Bottom->Height() / 2), p.Angle, origin, 1.0f,
                     false, false);
      DrawTransparent(b, p.X + p.Bottom->Width() / 2 - origin.X, p.Y + p.Bottom->Height() / 2 - origin.Y,
                      turned, turned.TransparentColor());
    } else {
      BitBlt(b, p.X, p.Y, p.Bottom->Width(), p.Bottom->Height(), *p.Bottom, 0, 0, TRasterOp::And);
    }
  }
  for (int i = d.CardCount; i > d.Dealt; --i)
    if (d.Cards[size_t(i)]->Displayed) ComposeCard(b, *d.Cards[size_t(i)]);
  for (int i = 1; i <= table.TableCount; ++i) ComposeCard(b, *table.TableCards[size_t(i)]);
  return b;
}

::testing::AssertionResult SameBitmaps(const TBitmap& expected, const TBitmap& actual) {
  if (expected.Width() != actual.Width() || expected.Height() != actual.Height())
    return ::testing::AssertionFailure() << "size " << actual.Width() << "x" << actual.Height()
                                         << ", expected " << expected.Width() << "x" << expected.Height();
  int count = 0, fx = -1, fy = -1;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x)
      if (!SameRGB(expected.RawPixel(x, y), actual.RawPixel(x, y)) && count++ == 0) {
        fx = x;
        fy = y;
      }
  if (count == 0) return ::testing::AssertionSuccess();
  std::ostringstream m;
  m << count << " pixels differ, first at (" << fx << ", " << fy << "): " << std::hex
    << (actual.RawPixel(fx, fy) & 0xFFFFFF) << " instead of " << (expected.RawPixel(fx, fy) & 0xFFFFFF);
  return ::testing::AssertionFailure() << m.str();
}

// ---------------------------------------------------------------------------------------------
// The fixture

void TCardTableTest::SetUp() {
  SetClock(&VClock);
  CardsetsDir = Dir / "Cardsets";
}

void TCardTableTest::TearDown() {
  Table.reset();
  SetClock(nullptr);
}

void TCardTableTest::MakeTable(const TTableCardsetOptions& o) {
  if (!DirectoryExists(PathJoin(CardsetsDir, "Standard"))) WriteTableCardset(CardsetsDir, "Standard", o);
  Table = std::make_unique<TCardTable>(&Surface, CardsetsDir);
  Table->OnTrace = [this](const std::string& line) { Traces.push_back(line); };
}

::testing::AssertionResult TCardTableTest::Consistent() {
  return SameBitmaps(OracleCompose(*Table), Table->Buffer);
}

::testing::AssertionResult TCardTableTest::ScreenAtRest() {
  Surface.Flush();
  return SameBitmaps(Table->Buffer, Surface.Screen);
}
