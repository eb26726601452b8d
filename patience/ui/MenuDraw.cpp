#include "patience/ui/MenuDraw.h"

#include "cardtable/Backdrop.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Raster.h"

void BaseMenuDraw(TMenuItem& Item, TCanvas& Canvas, bool Selected, TRect Rect) {
  TBitmap& target = Canvas.Bitmap();
  Canvas.Font.Color = Item.Enabled() ? clBlack : kMenuTextDisabled;
  Canvas.Brush.Style = TBrushStyle::bsSolid;

  TRect text = Rect;
  text.Left += kMenuBandWidth;
  if (Selected && Item.Enabled()) {
    TBitmap highlight(Rect.Width() - 2, Rect.Height() - 2);
    if (!highlight.Empty()) {
      FillGradientRect(highlight, TRect(0, 0, highlight.Width(), highlight.Height()), kMenuHighlightFrom,
                       kMenuHighlightTo, TGradientStyle::gsDiagonalLeftRight);
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

  const TImageList& images = ToolbarImages();
  if (Item.ImageIndex() != -1)
    images.Draw(Canvas, Rect.Left + 5, Rect.Top + 2, Item.ImageIndex(), Item.Enabled());
  else if (Item.Checked())
    images.Draw(Canvas, Rect.Left + 5, Rect.Top + 2, tiCheck, Item.Enabled());
}

void About1DrawItem(TMenuItem& Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected) {
  const TRect r = ARect;
  BaseMenuDraw(Sender, ACanvas, Selected, r);
}

void OwnerDrawAll(TMenuItem& root) {
  root.OnDrawItem = About1DrawItem;
  root.ForEach([](TMenuItem& item) { item.OnDrawItem = About1DrawItem; });
}

TMenuItem* GetMenuItem(TMenuItem* Root, std::string_view Caption, bool Recursive) {
  if (!Root) return nullptr;
  TMenuItem* result = Root->Find(Caption);
  if (!result && Recursive)
    for (int i = 0; i < Root->Count() && !result; ++i) {
      TMenuItem* child = Root->Items(i);
      if (child->Count() > 0) result = GetMenuItem(child, Caption, true);
    }
  return result;
}
