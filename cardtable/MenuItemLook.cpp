#include "cardtable/MenuItemLook.h"

#include "cardtable/Backdrop.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"

namespace {

TBitmap MakeBand() {
  // Pale blue ($FEF1D7) at the left edge to white at the right, the same in every row.
  TBitmap band(32, 27);
  const TColor from = TColor(0xFEF1D7);
  for (int x = 0; x < band.Width(); ++x) {
    const int t = x * 255 / (band.Width() - 1);
    auto mix = [t](int a) { return a + (255 - a) * t / 255; };
    const TColor c = RGB(mix(GetRValue(from)), mix(GetGValue(from)), mix(GetBValue(from)));
    for (int y = 0; y < band.Height(); ++y) band.SetPixel(x, y, c);
  }
  return band;
}

}  // namespace

const TBitmap& MenuBandBitmap() {
  static const TBitmap band = MakeBand();
  return band;
}

void DrawMenuItemLook(TMenuItem& Item, TCanvas& Canvas, bool Selected, TRect Rect, const TImageList& Images,
                      int CheckImage, TMenuHighlight Highlight) {
  TBitmap& target = Canvas.Bitmap();
  Canvas.Font.Color = Item.Enabled() ? clBlack : kMenuTextDisabled;
  Canvas.Brush.Style = TBrushStyle::bsSolid;

  TRect text = Rect;
  text.Left += kMenuBandWidth;
  if (Selected && Item.Enabled()) {
    TBitmap highlight(Rect.Width() - 2, Rect.Height() - 2);
    if (!highlight.Empty()) {
      const bool fromWhite = Highlight == TMenuHighlight::FromWhite;
      FillGradientRect(highlight, TRect(0, 0, highlight.Width(), highlight.Height()),
                       fromWhite ? kMenuHighlightFrom : kMenuHighlightTo,
                       fromWhite ? kMenuHighlightTo : kMenuHighlightFrom,
                       TGradientStyle::gsDiagonalLeftRight);
      Canvas.Draw(Rect.Left + 1, Rect.Top + 1, highlight);
    }
    Canvas.Brush.Color = clBlack;
    Canvas.FrameRect(Rect);
    Canvas.Brush.Style = TBrushStyle::bsClear;
  } else {
    // The band is tiled from the canvas origin, as a pattern brush is.
    const TRect band(Rect.Left, Rect.Top, kMenuBandWidth, Rect.Bottom);
    if (!band.IsEmpty()) PatternFill(target, band, MenuBandBitmap());
    Canvas.Brush.Color = clWhite;
    Canvas.FillRect(text);
  }

  if (!Item.IsLine()) {
    Canvas.TextOut(text.Left + 2, text.Top + 2, StripFirstAmpersand(Item.Caption()));
  } else {
    Canvas.Pen.Color = kMenuLineColour;
    Canvas.Pen.Style = TPenStyle::psSolid;
    Canvas.Pen.Width = 1;
    Canvas.MoveTo(text.Left + 2, text.Bottom - 4);
    Canvas.LineTo(text.Right, text.Bottom - 4);
  }

  if (Item.ImageIndex() != -1)
    Images.Draw(Canvas, Rect.Left + 5, Rect.Top + 2, Item.ImageIndex(), Item.Enabled());
  else if (Item.Checked())
    Images.Draw(Canvas, Rect.Left + 5, Rect.Top + 2, CheckImage, Item.Enabled());
}
