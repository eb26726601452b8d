#include "patience/ui/StarfieldView.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "platform/ui/ScreenFill.h"

namespace {

// The side of the coarse grid's cells, in pixels: the grid of the squares sent black, and that of
// the squares erased.
constexpr int kCell = 16;
constexpr int kEraseCell = 32;

}  // namespace

TStarfieldView::TStarfieldView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TStarfieldView::PaintOnScreen() {
  if (!FOnScreen) FOnScreen = ShowsOnScreen(this);
}

QPaintEngine* TStarfieldView::paintEngine() const {
  // Painting on screen itself: the toolkit has no engine for this view.
  return FOnScreen ? nullptr : QWidget::paintEngine();
}

void TStarfieldView::StartField(int fieldW, int fieldH) {
  FWidth = std::max(width(), 1);
  FHeight = std::max(height(), 1);
  InitStarfield(fieldW, fieldH);
  Starfield().Cx = FWidth / 2;
  Starfield().Cy = FHeight / 2;
  FShown.assign(kStarCount, TShown{});
  FParts.clear();
  FFieldStale = true;
  FColumns = (FWidth + kCell - 1) / kCell;
  FCells.assign(size_t(FColumns) * size_t((FHeight + kCell - 1) / kCell), 0);
  FEraseColumns = (FWidth + kEraseCell - 1) / kEraseCell;
  FErasing.assign(size_t(FEraseColumns) * size_t((FHeight + kEraseCell - 1) / kEraseCell), {});
  update();
}

const TStarMask& TStarfieldView::Field() const {
  if (FFieldStale) {
    // Black but for what each star's square shows.
    FField.SetSize(FWidth, FHeight);
    auto fill = [this](const TRect& r) {
      for (int y = r.Top; y < r.Bottom; ++y) std::fill_n(FField.Row(y) + r.Left, r.Width(), uint8_t(1));
    };
    for (const TShown& shown : FShown) {
      if (shown.Whole) {
        fill(shown.Square);
        continue;
      }
      for (int k = shown.FirstPart; k < shown.FirstPart + shown.Parts; ++k) fill(FParts[size_t(k)]);
    }
    FFieldStale = false;
  }
  return FField;
}

void TStarfieldView::Mark(const TRect& r) {
  for (int y = r.Top / kCell; y <= (r.Bottom - 1) / kCell; ++y)
    for (int x = r.Left / kCell; x <= (r.Right - 1) / kCell; ++x)
      FCells[size_t(y) * size_t(FColumns) + size_t(x)] = 1;
}

bool TStarfieldView::Marked(const TRect& r) const {
  for (int y = r.Top / kCell; y <= (r.Bottom - 1) / kCell; ++y)
    for (int x = r.Left / kCell; x <= (r.Right - 1) / kCell; ++x)
      if (FCells[size_t(y) * size_t(FColumns) + size_t(x)]) return true;
  return false;
}

void TStarfieldView::CutByLaterErases(size_t star, const TRect& square, std::vector<TRect>& out) {
  // The erases of the stars after this one that meet its square, found through the cells of the
  // coarse grid they cover.
  FLater.clear();
  for (int y = square.Top / kEraseCell; y <= (square.Bottom - 1) / kEraseCell; ++y)
    for (int x = square.Left / kEraseCell; x <= (square.Right - 1) / kEraseCell; ++x)
      for (const int k : FErasing[size_t(y) * size_t(FEraseColumns) + size_t(x)]) {
        if (size_t(k) <= star || FSeen[size_t(k)] == int(star)) continue;
        FSeen[size_t(k)] = int(star);
        if (!IntersectRect(FErased[size_t(k)], square).IsEmpty()) FLater.push_back(k);
      }
  out.clear();
  out.push_back(square);
  for (const int k : FLater) {
    const TRect& e = FErased[size_t(k)];
    FPieces.clear();
    for (const TRect& p : out) {
      if (IntersectRect(p, e).IsEmpty()) {
        FPieces.push_back(p);
        continue;
      }
      // What of p lies above, below, left and right of e.
      if (p.Top < e.Top) FPieces.push_back(TRect(p.Left, p.Top, p.Right, e.Top));
      if (e.Bottom < p.Bottom) FPieces.push_back(TRect(p.Left, e.Bottom, p.Right, p.Bottom));
      const int top = std::max(p.Top, e.Top), bottom = std::min(p.Bottom, e.Bottom);
      if (p.Left < e.Left) FPieces.push_back(TRect(p.Left, top, e.Left, bottom));
      if (e.Right < p.Right) FPieces.push_back(TRect(e.Right, top, p.Right, bottom));
    }
    out.swap(FPieces);
    if (out.empty()) break;
  }
}

void TStarfieldView::NextFrame() {
  if (FShown.size() != size_t(kStarCount) || FErasing.empty()) return;
  // The frame as rectangles: a star's new square shows but where a later star's erase covers it.
  StepStarfield(FWidth, FHeight, FErased, FDrawn);
  IndexErases();
  ComposeFrame();
  FFieldStale = true;
  if (FBlack.empty() && FWhite.empty()) return;
  if (FOnScreen) {
    // Only over the picture a paint has put on the screen; until then the frames go to the field
    // alone, and the paint takes them with it.
    if (FPainted && isVisible()) FillOnScreen(this, FBlack, FWhite);
    return;
  }
  QRegion changed;
  for (const auto* list : {&FBlack, &FWhite})
    for (const TRect& r : *list) changed += QRect(r.Left, r.Top, r.Width(), r.Height());
  repaint(changed);
}

void TStarfieldView::IndexErases() {
  for (std::vector<int>& cell : FErasing) cell.clear();
  for (size_t k = 0; k < FErased.size(); ++k) {
    const TRect& e = FErased[k];
    if (e.IsEmpty()) continue;
    for (int y = e.Top / kEraseCell; y <= (e.Bottom - 1) / kEraseCell; ++y)
      for (int x = e.Left / kEraseCell; x <= (e.Right - 1) / kEraseCell; ++x)
        FErasing[size_t(y) * size_t(FEraseColumns) + size_t(x)].push_back(int(k));
  }
}

void TStarfieldView::ComposeFrame() {
  FSeen.assign(FErased.size(), -1);
  FBlack.clear();
  FWhite.clear();
  std::fill(FCells.begin(), FCells.end(), 0);
  // The picture was black but for the stars' old squares and is black but for their new ones. A
  // square that moved (or was partly erased) turns black where it was and white where it is; one
  // that stayed is sent again only when it meets a square that turns black.
  std::vector<TShown>& now = FNow;
  now.assign(FShown.size(), TShown{});
  FNowParts.clear();
  std::vector<uint8_t>& stayed = FStayed;
  stayed.assign(FShown.size(), 0);
  for (size_t i = 0; i < now.size(); ++i) {
    TShown& n = now[i];
    n.Square = i < FDrawn.size() ? FDrawn[i] : TRect();
    const TShown& was = FShown[i];
    if (n.Square.IsEmpty() && was.Square.IsEmpty()) continue;  // off the picture, then and now
    if (!n.Square.IsEmpty()) {
      CutByLaterErases(i, n.Square, FCut);
      n.Whole = FCut.size() == 1 && FCut[0] == n.Square;
      if (!n.Whole) {
        n.FirstPart = int(FNowParts.size());
        n.Parts = int(FCut.size());
        FNowParts.insert(FNowParts.end(), FCut.begin(), FCut.end());
      }
    }
    stayed[i] = n.Whole && was.Whole && n.Square == was.Square ? 1 : 0;
    if (stayed[i] || was.Square.IsEmpty()) continue;
    FBlack.push_back(was.Square);
    Mark(was.Square);
  }
  for (size_t i = 0; i < now.size(); ++i) {
    const TShown& n = now[i];
    if (n.Square.IsEmpty() || (stayed[i] && !Marked(n.Square))) continue;
    if (n.Whole)
      FWhite.push_back(n.Square);
    else
      FWhite.insert(FWhite.end(), FNowParts.begin() + n.FirstPart, FNowParts.begin() + n.FirstPart + n.Parts);
  }
  FShown.swap(now);
  FParts.swap(FNowParts);
}

void TStarfieldView::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  FPainted = false;
}

void TStarfieldView::paintEvent(QPaintEvent* event) {
  // A repaint (the view shown, uncovered) takes the picture whole from the field.
  const TBitmap picture = Field().Picture();
  const QRect inside(0, 0, picture.Width(), picture.Height());
  if (FOnScreen) {
    // The window holds its paints back until what it shows is ready (a paint then follows):
    // the view, which the toolkit would paint at once, waits with it.
    if (!updatesEnabled()) return;
    PutOnScreen(this, picture, event->region() & inside);
    FPainted = true;
    return;
  }
  QPainter p(this);
  const QImage image = picture.ConstImage();
  for (const QRect& r : event->region() - inside) p.fillRect(r, Qt::black);
  for (const QRect& r : event->region() & inside) p.drawImage(r.topLeft(), image, r);
}
