#include "patience/ui/DialogBackground.h"

#include "cardtable/Backdrop.h"

TBitmap DialogBackground(int width, int height) {
  TBitmap bitmap;
  bitmap.SetSize(width, height);
  TBackdrop painter;
  painter.SetEnabled(true);
  painter.SetNewMode(true);
  painter.SetNewColorFrom(0x966464);
  painter.SetNewColorTo(0xFAC8C8);
  painter.SetNewType(TGradientStyle::gsDiagonalLeftRight);
  painter.PaintBitmap(bitmap);
  return bitmap;
}
