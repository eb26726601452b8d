#include "deckwright/Compose.h"

#include "cardtable/ImageArrayUnit.h"
#include "deckwright/Resample.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Jpeg.h"
#include "platform/graphics/Raster.h"

namespace {

constexpr int kIndexW = 13, kIndexH = 29;
constexpr int kLargeW = 20, kLargeH = 34;

void Resample(TBitmap& source, TBitmap& target, TResampleProgress* progress) {
  const TFilterEntry& f = FilterTable[kMakerFilter];
  FilteredStretch(source, target, f.Kernel, f.Support, progress);
}

void CopyRect(TBitmap& dst, const TRect& d, const TBitmap& src, const TRect& s) {
  if (d.Width() == s.Width() && d.Height() == s.Height())
    BitBlt(dst, d.Left, d.Top, d.Width(), d.Height(), src, s.Left, s.Top);
  else
    StretchBlt(dst, d.Left, d.Top, d.Width(), d.Height(), src, s.Left, s.Top, s.Width(), s.Height());
}

// Where the small copy of an index goes on the table's card (w x h) and where it is taken from on
// the template (W x H).
void PreviewRects(int corner, bool large, int W, int H, int w, int h, TRect& dst, TRect& src) {
  const int pw = large ? 12 : 8, ph = large ? 20 : 16;
  switch (corner) {
    case 0:
      dst = TRect(0, 0, pw, ph);
      src = TRect(3, 3, 16, 33);
      break;
    case 1:
      dst = TRect(w - pw, h - ph, w, h);
      src = large ? TRect(W - 16, H - 33, W - 3, H - 3) : IndexArea(1, W, H);
      break;
    case 2:
      dst = TRect(w - pw, 0, w, ph);
      src = large ? TRect(W - 16, 3, W - 3, 33) : IndexArea(2, W, H);
      break;
    default:
      dst = TRect(0, h - ph, pw, h);
      src = large ? TRect(3, H - 33, 16, H - 3) : IndexArea(3, W, H);
      break;
  }
}

// A w x h area in a corner of a W x H card, 3 pixels in from the side and 4 from the end:
// 0 top left, 1 bottom right, 2 top right, 3 bottom left.
TRect CornerArea(int corner, int W, int H, int w, int h) {
  switch (corner) {
    case 0:
      return TRect(3, 4, 3 + w, 4 + h);
    case 1:
      return TRect(W - 3 - w, H - 4 - h, W - 3, H - 4);
    case 2:
      return TRect(W - 3 - w, 4, W - 3, 4 + h);
    default:
      return TRect(3, H - 4 - h, 3 + w, H - 4);
  }
}

}  // namespace

TRect IndexArea(int corner, int W, int H) {
  return CornerArea(corner, W, H, 13, 29);
}

TRect LargeIndexArea(int corner, int W, int H) {
  return CornerArea(corner, W, H, 20, 34);
}

int CornerCount(int rankings) {
  return rankings <= 0 ? 1 : rankings == 1 ? 2 : 4;
}

void ComposeBorderFace(TBitmap& Target, TBitmap& Picture, TResampleProgress* Progress) {
  Target.PixelFormat = TPixelFormat::pf24bit;
  TBitmap work(kBorderWindow.Width(), kBorderWindow.Height());
  Resample(Picture, work, Progress);
  TImageArray::LiftDarkPixels(work);
  BitBlt(Target, kBorderWindow.Left, kBorderWindow.Top, work.Width(), work.Height(), work, 0, 0);
  FrameRect(Target, kBorderWindow, kPictureFrameColour);
}

void ComposeFramedCard(TBitmap& Target, const TBitmap& Template, TBitmap& Picture,
                       TResampleProgress* Progress) {
  // The picture takes the card's size before the card is replaced by the template.
  TBitmap work(Target.Width(), Target.Height());
  Resample(Picture, work, Progress);
  FrameRect(work, TRect(0, 0, work.Width(), work.Height()), kPictureFrameColour);
  TImageArray::LiftDarkPixels(work);

  Target = Template;
  Target.PixelFormat = TPixelFormat::pf24bit;
  Target.Transparent = false;
  const int W = Target.Width(), H = Target.Height();
  FillRect(Target, TRect(3, 3, W - 3, H - 3), clWhite);
  BitBlt(Target, 0, 0, work.Width(), work.Height(), work, 0, 0, TRasterOp::And);
}

void PasteCornerIndices(TBitmap& Target, const TBitmap& Template, const TSetOptions& Options,
                        TBitmap* Preview, TResampleProgress* Progress) {
  const int W = Template.Width(), H = Template.Height();
  const int corners = CornerCount(Options.Rankings);
  for (int corner = 0; corner < corners; ++corner) {
    const TRect S = IndexArea(corner, W, H);
    TRect framed = S;
    if (Options.Large) {
      TBitmap index(kIndexW, kIndexH);
      BitBlt(index, 0, 0, kIndexW, kIndexH, Template, S.Left, S.Top);
      TBitmap large(kLargeW, kLargeH);
      Resample(index, large, Progress);
      TImageArray::LiftDarkPixels(large);
      framed = LargeIndexArea(corner, W, H);
      BitBlt(Target, framed.Left, framed.Top, kLargeW, kLargeH, large, 0, 0);
    } else {
      BitBlt(Target, S.Left, S.Top, S.Width(), S.Height(), Template, S.Left, S.Top);
    }
    if (Preview && !Preview->Empty()) {
      TRect dst, src;
      PreviewRects(corner, Options.Large, W, H, Preview->Width(), Preview->Height(), dst, src);
      CopyRect(*Preview, dst, Template, src);
    }
    if (Options.IndexBorder) FrameRect(Target, framed, kPictureFrameColour);
  }
}

void ComposeCard(TBitmap& Target, const TBitmap& Template, TBitmap& Picture, const TSetOptions& Options,
                 bool Face, TBitmap* Preview, TResampleProgress* Progress) {
  Picture.PixelFormat = TPixelFormat::pf24bit;
  Target.PixelFormat = TPixelFormat::pf24bit;
  if (Preview) Preview->PixelFormat = TPixelFormat::pf24bit;
  if (Face && Options.CardType == 0) {
    if (Preview) StretchDraw(*Preview, TRect(10, 10, 45, 65), Picture);
    ComposeBorderFace(Target, Picture, Progress);
    return;
  }
  if (Face && Preview)
    StretchDraw(*Preview, TRect(1, 1, Preview->Width() - 1, Preview->Height() - 1), Picture);
  ComposeFramedCard(Target, Template, Picture, Progress);
  if (Face) PasteCornerIndices(Target, Template, Options, Preview, Progress);
}

void LoadSourcePicture(const std::string& path, TBitmap& out) {
  if (SameText(ExtractFileExt(path), ".jpg"))
    LoadJpegFile(path, out, true, kSourcePictureLimits);
  else
    LoadBmpFile(path, out, kSourcePictureLimits);
}
