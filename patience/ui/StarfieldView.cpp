#include "patience/ui/StarfieldView.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "platform/ui/ScreenFill.h"

namespace {

// The side of the coarse grid's cells, in pixels.
constexpr int kCell = 16;

}  // namespace

TStarfieldView::TStarfieldView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  FOnScreen = ShowsOnScreen(this);
}

QPaintEngine* TStarfieldView::paintEngine() const {
  // Painting on screen itself: the toolkit has no engine for this view.
  return FOnScreen ? nullptr : QWidget::paintEngine();
}

void TStarfieldView::StartField(int fieldW, int fieldH) {
  FField.SetSize(std::max(width(), 1), std::max(height(), 1));
  InitStarfield(fieldW, fieldH);
  Starfield().Cx = FField.Width / 2;
  Starfield().Cy = FField.Height / 2;
  FShown.assign(kStarCount, TShown{});
  FColumns = (FField.Width + kCell - 1) / kCell;
  FCells.assign(size_t(FColumns) * size_t((FField.Height + kCell - 1) / kCell), 0);
  update();
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

void TStarfieldView::AddWhiteRuns(const TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y) {
    const uint8_t* row = FField.Row(y);
    for (int x = r.Left; x < r.Right;) {
      if (!row[x]) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < r.Right && row[x]) ++x;
      FWhite.push_back(TRect(start, y, x, y + 1));
    }
  }
}

void TStarfieldView::NextFrame() {
  if (FField.Pixels.empty() || FShown.size() != size_t(kStarCount)) return;
  DrawStarfieldFrame(FField, &FDrawn);
  FBlack.clear();
  FWhite.clear();
  std::fill(FCells.begin(), FCells.end(), 0);
  // The picture was black but for the stars' old squares and is black but for their new ones. A
  // square that moved (or was partly erased) turns black where it was and white where it is; one
  // that stayed is sent again only when it meets a square that turns black.
  std::vector<TShown>& now = FNow;
  now.assign(FShown.size(), TShown{});
  std::vector<uint8_t>& stayed = FStayed;
  stayed.assign(FShown.size(), 0);
  for (size_t i = 0; i < now.size(); ++i) {
    TShown& n = now[i];
    n.Square = i < FDrawn.size() ? FDrawn[i] : TRect();
    const TShown& was = FShown[i];
    if (n.Square.IsEmpty() && was.Square.IsEmpty()) continue;  // off the picture, then and now
    for (int y = n.Square.Top; y < n.Square.Bottom && n.Whole; ++y) {
      const uint8_t* row = FField.Row(y);
      n.Whole = std::all_of(row + n.Square.Left, row + n.Square.Right, [](uint8_t m) { return m != 0; });
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
      AddWhiteRuns(n.Square);
  }
  FShown.swap(now);
  if (FBlack.empty() && FWhite.empty()) return;
  if (FOnScreen) {
    if (isVisible()) FillOnScreen(this, FBlack, FWhite);
    return;
  }
  QRegion changed;
  for (const auto* list : {&FBlack, &FWhite})
    for (const TRect& r : *list) changed += QRect(r.Left, r.Top, r.Width(), r.Height());
  repaint(changed);
}

void TStarfieldView::paintEvent(QPaintEvent* event) {
  // A repaint (the view shown, uncovered) takes the picture whole from the field.
  const TBitmap picture = FField.Picture();
  const QRect inside(0, 0, picture.Width(), picture.Height());
  if (FOnScreen) {
    PutOnScreen(this, picture, event->region() & inside);
    return;
  }
  QPainter p(this);
  const QImage image = picture.ConstImage();
  for (const QRect& r : event->region() - inside) p.fillRect(r, Qt::black);
  for (const QRect& r : event->region() & inside) p.drawImage(r.topLeft(), image, r);
}
