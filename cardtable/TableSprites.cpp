#include "cardtable/TableSprites.h"

#include <algorithm>

#include "cardtable/CardTable.h"
#include "cardtable/ImageArrayUnit.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Jpeg.h"
#include "platform/graphics/Raster.h"

// ---------------------------------------------------------------------------------------------
// TTableImage

TTableImage::TTableImage(TCardTable* table) : Table(table) {
  Picture.PixelFormat = TPixelFormat::pf32bit;
}

void TTableImage::LoadPicture(const std::string& fileName) {
  TBitmap loaded;
  if (SameText(ExtractFileExt(fileName), ".jpg"))
    LoadJpegFile(ResolvePath(fileName), loaded, true);
  else
    LoadBmpFile(ResolvePath(fileName), loaded);
  loaded.Transparent = false;
  Picture = std::move(loaded);
  Background.SetSize(Picture.Width(), Picture.Height());
}

void TTableImage::Show(int x, int y, bool newBuffer) {
  if (Shown && !newBuffer) Hide();
  TBitmap& buffer = Table->Buffer;
  Background.SetSize(Picture.Width(), Picture.Height());
  BitBlt(Background, 0, 0, Picture.Width(), Picture.Height(), buffer, x, y);
  BitBlt(buffer, x, y, Picture.Width(), Picture.Height(), Picture, 0, 0);
  X = x;
  Y = y;
  Visible = true;
  Shown = true;
}

void TTableImage::Hide() {
  if (Shown) BitBlt(Table->Buffer, X, Y, Background.Width(), Background.Height(), Background, 0, 0);
  Shown = false;
  Visible = false;
}

void TTableImage::SetVisible(bool value) {
  if (value == Visible) return;
  if (!value)
    Hide();
  else
    Visible = true;
}

// ---------------------------------------------------------------------------------------------
// TTableArea

TTableArea::TTableArea(TCardTable* table) : Image(table), Table(table) {}

namespace {

// The buffer's w x h pixels at (x, y); black where they lie outside it.
TBitmap BufferPart(const TBitmap& buffer, int x, int y, int w, int h) {
  TBitmap part(std::max(w, 0), std::max(h, 0));
  BitBlt(part, 0, 0, w, h, buffer, x, y);
  return part;
}

}  // namespace

void TTableArea::Show(bool newBuffer) {
  TBitmap& buffer = Table->Buffer;
  if (Shown && !newBuffer) TakeOff();
  Visible = true;
  Background.SetSize(Width, Height);
  BitBlt(Background, 0, 0, Width, Height, buffer, X, Y);
  if (Kind == 0) {
    // The frame lies on the area's outermost pixels, inside its save-under.
    FrameRect(buffer, TRect(X, Y, X + Width, Y + Height), clBlack);
    Table->BufferCanvas().Brush.Style = TBrushStyle::bsClear;
  } else if (Image.Visible) {
    // The area's own save-under already holds what lies beneath the picture.
    Image.Show(X, Y, true);
  }
  Drawn = BufferPart(buffer, X, Y, Width, Height);
  Shown = true;
}

void TTableArea::Hide() {
  TakeOff();
  Visible = false;
}

void TTableArea::TakeOff() {
  if (!Shown) return;
  Image.Shown = false;
  Shown = false;
  if (SamePixels(BufferPart(Table->Buffer, X, Y, Width, Height), Drawn)) {
    BitBlt(Table->Buffer, X, Y, Background.Width(), Background.Height(), Background, 0, 0);
    return;
  }
  // Something was drawn or taken away there since the area was shown (cards dealt, moved or
  // collected beneath it): the save-under no longer tells what lies beneath, so the table is drawn
  // afresh without the area.
  const bool visible = Visible;
  Visible = false;
  Table->RefreshBackground();
  Visible = visible;
}

bool TTableArea::Contains(int x, int y) const {
  return x >= X && (long long)x <= (long long)X + Width && y >= Y && (long long)y <= (long long)Y + Height;
}

// ---------------------------------------------------------------------------------------------
// TSprite

TSprite::TSprite(TCardTable* table) : Table(table) {
  Rendered.Transparent = true;
}

void TSprite::Draw() {
  TRect old;
  if (Visible) {
    Restore();
    old = DrawRect();
  }
  TImageArray& ia = SharedImageArray();
  ia.LoadFromBitmap(Source);
  ia.DrawRotated(Rendered, TPoint(Source.Width() / 2, Source.Height() / 2), Angle, Origin, Scale, false,
                 false);
  Rendered.Transparent = true;
  DrawWidth = Rendered.Width();
  DrawHeight = Rendered.Height();
  DrawX = Source.Width() / 2 + X - Origin.X;
  DrawY = Source.Height() / 2 + Y - Origin.Y;
  TBitmap& buffer = Table->Buffer;
  if (Background.Width() < DrawWidth || Background.Height() < DrawHeight)
    Background.SetSize(std::max(Background.Width(), DrawWidth), std::max(Background.Height(), DrawHeight));
  BitBlt(Background, 0, 0, DrawWidth, DrawHeight, buffer, DrawX, DrawY);
  DrawTransparent(buffer, DrawX, DrawY, Rendered, Rendered.TransparentColor());
  Visible = true;
  Table->CopyToScreen(UnionRect(old, DrawRect()));
}

void TSprite::Restore() {
  BitBlt(Table->Buffer, DrawX, DrawY, DrawWidth, DrawHeight, Background, 0, 0);
  Visible = false;
}

void TSprite::Erase() {
  Restore();
  Table->CopyToScreen(DrawRect());
}

// ---------------------------------------------------------------------------------------------
// The effects

int TSprite::FramePeriod() const {
  return Table->FramePeriodMs > 0 ? Table->FramePeriodMs : kNominalFrameMs;
}

double TSprite::WaitFrame(uint64_t start, int k, int duration) const {
  TClock& clock = Clock();
  const uint64_t due = start + uint64_t(k) * uint64_t(FramePeriod());
  uint64_t now = clock.NowMs();
  if (now < due) {
    clock.Sleep(int(due - now));
    now = clock.NowMs();
  }
  return double(std::min<uint64_t>(now - start, uint64_t(std::max(duration, 0))));
}

void TSprite::Zoom(TCard* Card, int Milliseconds, float Step, bool ShrinkBack) {
  if (!Card) return;
  Source = Card->Face;
  Scale = 1.0f;
  X = Card->X;
  Y = Card->Y;
  FramesDrawn = 0;
  Draw();
  // The scale after t milliseconds: one Step per nominal frame, kept inside (0, kMaxScale].
  const double period = FramePeriod();
  auto scaleAt = [&](double base, double t, double sign) {
    return float(std::clamp(base + sign * double(Step) * t / period, 1.0 / 64, double(kMaxScale)));
  };
  uint64_t start = Clock().NowMs();
  double t = 0;
  int k = 0;
  do {
    t = WaitFrame(start, ++k, Milliseconds);
    Scale = scaleAt(1.0, t, 1.0);
    Draw();
    ++FramesDrawn;
  } while (t < Milliseconds);
  if (ShrinkBack) {
    const double peak = Scale;
    start = Clock().NowMs();
    k = 0;
    do {
      t = WaitFrame(start, ++k, Milliseconds);
      const float next = scaleAt(peak, t, -1.0);
      if (next < 1.0f) break;
      Scale = next;
      Draw();
      ++FramesDrawn;
    } while (t < Milliseconds);
  }
  Erase();
  Table->ProcessEvents();
}

void TSprite::Spin(TCard* Card, int Milliseconds, float Step) {
  if (!Card) return;
  Source = Card->Face;
  X = Card->X;
  Y = Card->Y;
  Angle = Card->Angle;
  FramesDrawn = 0;
  Draw();
  const float start = Angle;
  const uint64_t begin = Clock().NowMs();
  double t = 0;
  int k = 0;
  do {
    t = WaitFrame(begin, ++k, Milliseconds);
    Angle = float(start + double(Step) * t / FramePeriod());
    Draw();
    ++FramesDrawn;
  } while (t < Milliseconds);
  Erase();
  Table->ProcessEvents();
}
