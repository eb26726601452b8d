// The table's background (plain colour, gradient or a tiled or stretched picture) and the places:
// pile-bottom markers and the drop shade, shown and hidden with save-unders like cards.

#include <algorithm>

#include "cardtable/CardTable.h"
#include "cardtable/ImageArrayUnit.h"
#include "cardtable/MyGrphx.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Jpeg.h"
#include "platform/graphics/Raster.h"

namespace {

const std::string kNone = "None";

// Renders src turned by angle about its centre into dst (transparent); returns the hot spot.
TPoint RenderTurned(const TBitmap& src, TBitmap& dst, float angle, bool whiteBackground) {
  TImageArray& ia = SharedImageArray();
  ia.LoadFromBitmap(src);
  TPoint origin;
  dst.Transparent = true;
  dst.PixelFormat = TPixelFormat::pf32bit;
  ia.DrawRotated(dst, TPoint(src.Width() / 2, src.Height() / 2), angle, origin, 1.0f, false, whiteBackground);
  return origin;
}

bool IsShadowSet(const std::string& name) {
  return SameText(name, "C_1") || SameText(name, "C_2");
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Background

bool TCardTable::BufferWaits() {
  if (FVisible || !FreeBufferWhileHidden) return false;
  // Nothing of a hidden table shows: its buffer goes, and the background is drawn (with everything
  // on it, afresh) when the table shows again.
  Buffer = TBitmap();
  Buffer.PixelFormat = TPixelFormat::pf32bit;
  FCardDeck->HQShadeCached = false;
  FBufferWaits = true;
  return true;
}

void TCardTable::NewBuffer() {
  FBufferWaits = false;
  // Every caller paints the whole background next.
  Buffer.SetSize(FWidth, FHeight, TNewPixels::Overwrite);
  Buffer.PixelFormat = TPixelFormat::pf32bit;
  Buffer.Transparent = false;
  // The cached drop shade was taken from the old buffer.
  FCardDeck->HQShadeCached = false;
  FUnshownAll = true;
}

void TCardTable::SetColor(TColor value) {
  FColor = value;
  FBufferCanvas.Brush.Color = value;
  FBufferCanvas.Brush.Style = TBrushStyle::bsSolid;
  if (BufferWaits()) {
    FBackgroundPicture = kNone;
    return;
  }
  NewBuffer();
  if (FBackDrop.Enabled())
    FBackDrop.PaintBitmap(Buffer);
  else
    Buffer.Clear(value);
  FBackgroundPicture = kNone;
  RedrawAll();
  Invalidate();
  ProcessEvents();
}

bool TCardTable::LoadBackground(const std::string& name, TBitmap& picture) {
  try {
    if (SameText(ExtractFileExt(name), ".jpg")) {
      // The same picture re-applied (after a resize, a deck change) is not decoded again.
      if (name != FJpegName || name != FBackgroundPicture || FJpegPicture.Empty()) {
        TBitmap decoded;
        LoadJpegFile(ResolvePath(name), decoded, FJpegPerformance == jpBestQuality);
        ++FJpegDecodeCount;
        FJpegPicture = std::move(decoded);
        FJpegName = name;
      }
      picture = FJpegPicture;
    } else {
      LoadBmpFile(ResolvePath(name), picture);
    }
  } catch (const Exception& e) {
    Trace("Background picture \"" + name + "\" could not be read (" + e.Message() +
          "); using the table colour.");
    return false;
  } catch (const std::bad_alloc&) {
    Trace("Background picture \"" + name + "\" is too large; using the table colour.");
    return false;
  }
  if (picture.Empty()) {
    Trace("Background picture \"" + name + "\" is empty; using the table colour.");
    return false;
  }
  picture.Transparent = false;
  return true;
}

void TCardTable::SetBackgroundPicture(const std::string& name) {
  TBitmap picture;
  // Decoded before the buffer is touched: a missing or damaged file leaves the plain colour.
  bool usable = name != kNone && !name.empty();
  if (usable && !FileExists(name)) {
    Trace("Background picture \"" + name + "\" not found; using the table colour.");
    usable = false;
  }
  if (usable && BufferWaits()) {
    // Read when the table shows again (a file that is unreadable then leaves the colour).
    FBackgroundPicture = name;
    if (FBackDrop.Enabled()) FBackDrop.SetEnabled(false);
    return;
  }
  if (!usable || !LoadBackground(name, picture)) {
    SetColor(FColor);
    return;
  }
  NewBuffer();
  if (FStretchBackground)
    StretchBlt(Buffer, 0, 0, FWidth, FHeight, picture, 0, 0, picture.Width(), picture.Height());
  else
    PatternFill(Buffer, TRect(0, 0, FWidth, FHeight), picture);
  FBackgroundPicture = name;
  // The picture replaces the gradient; switching it off raises no refresh.
  if (FBackDrop.Enabled()) FBackDrop.SetEnabled(false);
  RedrawAll();
  Invalidate();
  ProcessEvents();
}

void TCardTable::SetStretchBackground(bool value) {
  if (value == FStretchBackground) return;
  FStretchBackground = value;
  if (FBackgroundPicture != kNone) SetBackgroundPicture(FBackgroundPicture);
}

void TCardTable::SetJpegPerformance(TJPEGPerformance value) {
  if (value == FJpegPerformance) return;
  FJpegPerformance = value;
  // The next use decodes with the new setting.
  FJpegName.clear();
}

void TCardTable::RefreshBackground() {
  if (FBackgroundPicture != kNone && !FBackgroundPicture.empty())
    SetBackgroundPicture(FBackgroundPicture);
  else
    SetColor(FColor);
}

void TCardTable::BackdropChanged() {
  if (!FBackDrop.Enabled()) {
    SetColor(FColor);
    return;
  }
  FBackgroundPicture = kNone;
  if (BufferWaits()) return;
  NewBuffer();
  FBackDrop.PaintBitmap(Buffer);
  RedrawAll();
  Invalidate();
}

bool TCardTable::ChooseBackgroundPicture(const std::string& InitialDir) {
  std::optional<std::string> file =
      FSurface->ChoosePictureFile(InitialDir, "Picture Files (*.bmp *.jpg)|*.BMP;*.JPG;*.bmp;*.jpg");
  ProcessEvents();
  if (!file || file->empty()) return false;
  SetBackgroundPicture(*file);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Places

int TCardTable::FirstPlaceIndex(int Kind) {
  static const int kFirst[7] = {1, 21, 34, 35, 36, 37, 38};
  return Kind >= 0 && Kind <= 6 ? kFirst[Kind] : 0;
}

TCardPlace* TCardTable::PlaceOf(int kind, int index, TCardDeck* deck) {
  const int first = FirstPlaceIndex(kind);
  if (first == 0 || index < 1) return nullptr;
  const int i = first + index - 1;
  if (i > kPlaceCount || PlaceKind(i) != kind) return nullptr;
  return &deck->Places[size_t(i)];
}

const TBitmap& TCardTable::PlacePicture(const TCardPlace& place, bool turned) const {
  // The shadow sets draw their whole-card shadow as the drop shade when the game uses drop angles:
  // upright for "C_1" and "C_2", turned for "C_2" only.
  const TCardDeck* td = FCardDeck.get();
  if (td && place.Kind == 6 && !DropAngles.empty() && !td->Shadow02.Empty() &&
      (turned ? SameText(td->DeckName, "C_2") : IsShadowSet(td->DeckName)))
    return td->Shadow02;
  return *place.Bottom;
}

TRect TCardTable::PlaceRect(const TCardPlace& Place) const {
  if (Place.Angle != 0.0f)
    return Bounds(Place.RotatedX, Place.RotatedY, Place.RotatedWidth, Place.RotatedHeight);
  return Bounds(Place.X, Place.Y, Place.Background.Width(), Place.Background.Height());
}

bool TCardTable::DragCardDrawn() const {
  return DragCard && DragCard->Displayed;
}

void TCardTable::TakeOffDragCard() {
  EraseCard(DragCard, DragCard->Deck);
  EraseDragShadow(DragCard->Deck);
  DragCard->Displayed = false;
}

void TCardTable::PutBackDragCard() {
  DrawDragShadow(DragCard->X, DragCard->Y, DragCard->Deck);
  DrawCard(DragCard, DragCard->X, DragCard->Y, DragCard->Deck, true, 0.0f);
  DragCard->Displayed = true;
}

// Saves the buffer under the place and draws it as its fields say (position, angle, turned picture).
void TCardTable::DrawPlace(TCardPlace& place, TCardDeck* deck) {
  if (place.Kind == 6 && HQDragShade) {
    DrawHQShade(place, deck);
    return;
  }
  TBitmap& bg = place.Background;
  if (place.Angle != 0.0f) {
    if (bg.Width() < place.RotatedWidth || bg.Height() < place.RotatedHeight)
      bg.SetSize(std::max(bg.Width(), place.RotatedWidth), std::max(bg.Height(), place.RotatedHeight));
    BitBlt(bg, 0, 0, place.RotatedWidth, place.RotatedHeight, Buffer, place.RotatedX, place.RotatedY);
    DrawTransparent(Buffer, place.RotatedX, place.RotatedY, place.RotatedImage,
                    place.RotatedImage.TransparentColor());
    return;
  }
  const TBitmap& picture = PlacePicture(place, false);
  // The save-under covers the picture even when it is larger than a card.
  const int w = std::max(deck->CardWidth, picture.Width()), h = std::max(deck->CardHeight, picture.Height());
  bg.SetSize(w, h);
  BitBlt(bg, 0, 0, w, h, Buffer, place.X, place.Y);
  BitBlt(Buffer, place.X, place.Y, picture.Width(), picture.Height(), picture, 0, 0, TRasterOp::And);
}

// The high-quality drop shade: the table under the card's shape darkened or tinted.
void TCardTable::DrawHQShade(TCardPlace& place, TCardDeck* deck) {
  TCardDeck* d = deck;
  const int w = d->CardWidth, h = d->CardHeight;
  // The cached shade belongs to one position and one angle.
  const bool cached =
      d->HQShadeCached && d->HQShadeX == place.X && d->HQShadeY == place.Y && FHQShadeAngle == place.Angle;
  TBitmap& shade = d->HQShades[0];
  TBitmap& bg = place.Background;
  if (place.Angle == 0.0f) {
    bg.SetSize(w, h);
    BitBlt(bg, 0, 0, w, h, Buffer, place.X, place.Y);
    if (!cached) {
      shade.SetSize(w, h);
      BitBlt(shade, 0, 0, w, h, Buffer, place.X, place.Y);
      ShadeBitmap(shade, false, true, FHQDragShadeColour);
      BitBlt(shade, 0, 0, w, h, d->InverseMask, 0, 0, TRasterOp::And);
    }
    BitBlt(Buffer, place.X, place.Y, w, h, d->CardMask, 0, 0, TRasterOp::And);
    BitBlt(Buffer, place.X, place.Y, w, h, shade, 0, 0, TRasterOp::Paint);
  } else {
    TBitmap& mask = d->HQShades[1];
    TBitmap& inverse = d->HQShades[2];
    if (!cached) {
      place.RotationOrigin =
          RenderTurned(d->CardMask, mask, place.Angle, SameText(d->DeckName, "Hard-a-port"));
      place.RotatedWidth = mask.Width();
      place.RotatedHeight = mask.Height();
      inverse.SetSize(mask.Width(), mask.Height());
      BitBlt(inverse, 0, 0, mask.Width(), mask.Height(), mask, 0, 0, TRasterOp::NotCopy);
    }
    place.RotatedX = place.X + w / 2 - place.RotationOrigin.X;
    place.RotatedY = place.Y + h / 2 - place.RotationOrigin.Y;
    const int rw = place.RotatedWidth, rh = place.RotatedHeight;
    if (!cached) {
      shade.SetSize(rw, rh);
      BitBlt(shade, 0, 0, rw, rh, Buffer, place.RotatedX, place.RotatedY);
      ShadeBitmap(shade, false, true, FHQDragShadeColour);
      BitBlt(shade, 0, 0, rw, rh, inverse, 0, 0, TRasterOp::And);
    }
    if (bg.Width() < rw || bg.Height() < rh) bg.SetSize(std::max(bg.Width(), rw), std::max(bg.Height(), rh));
    BitBlt(bg, 0, 0, rw, rh, Buffer, place.RotatedX, place.RotatedY);
    BitBlt(Buffer, place.RotatedX, place.RotatedY, rw, rh, mask, 0, 0, TRasterOp::And);
    BitBlt(Buffer, place.RotatedX, place.RotatedY, rw, rh, shade, 0, 0, TRasterOp::Paint);
  }
  d->HQShadeCached = true;
  d->HQShadeX = place.X;
  d->HQShadeY = place.Y;
  FHQShadeAngle = place.Angle;
}

void TCardTable::ShowPlace(int Kind, int X, int Y, int Index, TCardDeck* Deck, float Angle, bool Update) {
  TCardDeck* d = DeckOr(Deck);
  TCardPlace* place = PlaceOf(Kind, Index, d);
  if (!place || place->Shown) return;
  // Places go under the dragged card.
  const bool drag = DragCardDrawn();
  if (drag) TakeOffDragCard();
  place->X = X;
  place->Y = Y;
  if (Angle != 0.0f && !(Kind == 6 && HQDragShade)) {
    const TBitmap& picture = PlacePicture(*place, true);
    const size_t i = size_t(place - d->Places.data());
    // The turned picture is rendered again only for another angle or another picture.
    if (Angle != place->Angle || FPlaceRotatedSource[i] != &picture || place->RotatedImage.Empty()) {
      place->RotationOrigin = RenderTurned(picture, place->RotatedImage, Angle, false);
      place->RotatedWidth = place->RotatedImage.Width();
      place->RotatedHeight = place->RotatedImage.Height();
      FPlaceRotatedSource[i] = &picture;
    }
    place->RotatedX = X + picture.Width() / 2 - place->RotationOrigin.X;
    place->RotatedY = Y + picture.Height() / 2 - place->RotationOrigin.Y;
  }
  place->Angle = Angle;
  DrawPlace(*place, d);
  place->Shown = true;
  if (drag) {
    PutBackDragCard();
    SnappedToDrop = true;
  }
  if (Update)
    CopyToScreen(PlaceRect(*place));
  else
    MarkUnshown(PlaceRect(*place));
}

void TCardTable::HidePlace(int Kind, int Index, TCardDeck* Deck, bool Update) {
  TCardPlace* place = PlaceOf(Kind, Index, DeckOr(Deck));
  if (!place || !place->Shown) return;
  const bool drag = DragCardDrawn();
  if (drag) TakeOffDragCard();
  const TRect r = PlaceRect(*place);
  BitBlt(Buffer, r.Left, r.Top, r.Width(), r.Height(), place->Background, 0, 0);
  place->Shown = false;
  if (drag) {
    PutBackDragCard();
    SnappedToDrop = false;
  }
  if (Update)
    CopyToScreen(r);
  else
    MarkUnshown(r);
}

void TCardTable::HidePlaces(TCardDeck* Deck) {
  TCardDeck* d = DeckOr(Deck);
  for (int i = kPlaceCount; i >= 1; --i) {
    if (!d->Places[size_t(i)].Shown) continue;
    const int kind = PlaceKind(i);
    HidePlace(kind, i - FirstPlaceIndex(kind) + 1, d, false);
  }
  Paint();
}

void TCardTable::RedrawPlaces() {
  TCardDeck* d = FCardDeck.get();
  for (int i = 1; i <= kPlaceCount; ++i)
    if (d->Places[size_t(i)].Shown) DrawPlace(d->Places[size_t(i)], d);
}
