#include "deckwright/FadeButton.h"

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Raster.h"

namespace {

constexpr int kCaptionPoints = 18;
constexpr int kCaptionMargin = 5;

}  // namespace

TFadeButton::TFadeButton(QWidget* owner) : THarmFade(owner) {
  resize(78, 35);
  setCursor(Qt::PointingHandCursor);
}

TBitmap TFadeButton::Face(TColor colour) const {
  TBitmap face(width(), height());
  TCanvas canvas(face);
  canvas.Brush.Color = colour;
  canvas.Pen.Color = clBlack;
  canvas.Pen.Width = 1;
  canvas.Rectangle(0, 0, width(), height());
  canvas.Font.Name = "MS Sans Serif";
  canvas.Font.Size = kCaptionPoints;
  // The desktop's stand-in for the font may be wider: the caption keeps a margin of 5 pixels on
  // both sides, taking a smaller size when it must.
  while (canvas.Font.Size > 6 && canvas.TextWidth(FCaption) > width() - 2 * kCaptionMargin)
    --canvas.Font.Size;
  canvas.Font.Color = clBlack;
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.TextOut(kCaptionMargin, 2, FCaption);
  if (FSelected) FrameRect(face, TRect(2, 2, width() - 2, height() - 2), clBlack);
  return face;
}

void TFadeButton::SetCaption(const std::string& text) {
  FCaption = text;
  FNormalFace = Face(ColorFrom());
  SetPicFrom(FNormalFace);
  FHighlightFace = Face(ColorTo());
  SetPicTo(FHighlightFace);
}

void TFadeButton::SetSelected(bool value) {
  if (value == FSelected) return;
  FSelected = value;
  SetCaption(FCaption);
  if (FSelected) {
    SetPicFrom(FHighlightFace);
    SetPicTo(FNormalFace);
  }
}

void TFadeButton::RestoreFaces() {
  SetPicFrom(FNormalFace);
  SetPicTo(FHighlightFace);
}
