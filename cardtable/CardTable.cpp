// The card table control: construction, properties, the back buffer and the screen, resizing with
// the owner form. Drawing cards is in CardTableDraw.cpp, the mouse and dragging in
// CardTableDrag.cpp, the background and places in CardTableBackground.cpp, the settings file in
// TableStatus.cpp.

#include "cardtable/CardTable.h"

#include <algorithm>
#include <cstdio>

#include "platform/core/Clock.h"
#include "platform/core/Files.h"

namespace {

// Rectangles gathered for one present beyond this many are joined two by two.
constexpr size_t kMaxPendingRects = 16;

long long Area(const TRect& r) {
  return r.IsEmpty() ? 0 : (long long)r.Width() * r.Height();
}

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

// Two rectangles are shown as one when their bounds add little to the pixels they cover together
// (a card's consecutive steps), so that the screen gets few, compact pieces.
bool WorthJoining(const TRect& a, const TRect& b) {
  const long long together = Area(a) + Area(b) - Area(IntersectRect(a, b));
  return Area(UnionRect(a, b)) * 8 <= together * 9;
}

// Adds r to the rectangles to be shown together. One that lies inside another adds nothing, one
// that largely overlaps another joins it; past kMaxPendingRects the two whose joint bounds cover
// the fewest extra pixels become one.
void AddRect(std::vector<TRect>& rects, const TRect& r) {
  if (r.IsEmpty()) return;
  TRect added = r;
  for (bool joined = true; joined;) {
    joined = false;
    for (auto it = rects.begin(); it != rects.end(); ++it)
      if (Inside(added, *it) || Inside(*it, added) || WorthJoining(*it, added)) {
        added = UnionRect(*it, added);
        rects.erase(it);
        joined = true;
        break;
      }
  }
  rects.push_back(added);
  if (rects.size() <= kMaxPendingRects) return;
  size_t a = 0, b = 1;
  long long least = -1;
  for (size_t i = 0; i < rects.size(); ++i)
    for (size_t j = i + 1; j < rects.size(); ++j) {
      const long long extra = Area(UnionRect(rects[i], rects[j])) - Area(rects[i]) - Area(rects[j]);
      if (least < 0 || extra < least) {
        least = extra;
        a = i;
        b = j;
      }
    }
  rects[a] = UnionRect(rects[a], rects[b]);
  rects.erase(rects.begin() + std::ptrdiff_t(b));
}

// Draws nowhere: the table of a program without a window, and of most tests.
class TNullSurface : public TTableSurface {
 public:
  void CopyToScreen(const TBitmap&, const TRect&) override {}
  void Paint(const TBitmap&) override {}
  void Invalidate() override {}
};

}  // namespace

TCardTable::TCardTable(TTableSurface* surface) {
  Construct(surface, nullptr);
}

TCardTable::TCardTable(TTableSurface* surface, const std::string& cardsetsDir) {
  Construct(surface, &cardsetsDir);
}

void TCardTable::Construct(TTableSurface* surface, const std::string* cardsetsDir) {
  if (!surface) {
    FNullSurface = std::make_unique<TNullSurface>();
    surface = FNullSurface.get();
  }
  FSurface = surface;
  // The deck first: it may search for the card sets folder and ask the user for it.
  FCardDeck =
      cardsetsDir ? std::make_unique<TCardDeck>(this, *cardsetsDir) : std::make_unique<TCardDeck>(this);
  FCardDeck->OnCardsReplaced = [this] { DropCardsOf(FCardDeck.get()); };
  FSprite = std::make_unique<TSprite>(this);
  Buffer.PixelFormat = TPixelFormat::pf32bit;
  ProgramDir = ::ProgramDir();
  CustomStreaming = false;
  FScreenUpdates = false;
  FColor = 0xFF8080;
  FCardSpeed = 32;
  FLeft = FTop = 0;
  FWidth = 500;
  FHeight = 400;
  FJpegPerformance = jpBestQuality;
  FStretchBackground = false;
  FTableArea = std::make_unique<TTableArea>(this);
  FSurface->AttachTable(this);
  FSurface->SetBounds(BoundsRect());
  // No such file: the colour path builds the 500 x 400 buffer.
  SetBackgroundPicture("None");
  TableCount = 0;
  FPlaceDeckOffset = 666;
  Dragging = DraggingFromDeck = false;
  DragCard = nullptr;
  DragAndDrop = DragFromDeck = DragFaceDown = LiftOffset = SnappedToDrop = false;
  // The control is painted whole when it first shows: the construction owes the screen nothing.
  FMissed = TRect();
  FScreenUpdates = true;
  RepaintLabels = false;
  FAutoShadeMode = 3;
  FSurface->SendToBack();
  AutoResize = false;
  FMinWidth = 500;
  FMinHeight = 400;
  FTurnOverAnimationSpeed = 8;
  TurnOverAnimationVertical = true;
  TurnOverAnimationLift = false;
  FBackDrop.SetRefreshEvent([this] { BackdropChanged(); });
  SlowMoveRegion = false;
  SMR_WaitMode = true;
  AnimationsOn = true;
  ShadowMode = smDarken;
  DragCardCursor = crDrag;
  MeasureFormBorders();
  FSurface->SetFormMinimumSize(FMinWidth, FMinHeight);
  FastMovementMode = false;
  SoftShadow = true;
  HQDragShade = true;
  FHQDragShadeColour = 1;
  DisableCardClicks = false;
}

TCardTable::~TCardTable() {
  FBackDrop.SetRefreshEvent(nullptr);
  if (FCardDeck) FCardDeck->OnCardsReplaced = nullptr;
  FSurface->AttachTable(nullptr);
}

void TCardTable::DetachSurface() {
  if (!FNullSurface) FNullSurface = std::make_unique<TNullSurface>();
  FSurface = FNullSurface.get();
}

void TCardTable::Trace(const std::string& line) {
  if (OnTrace)
    OnTrace(line);
  else
    std::fprintf(stderr, "%s\n", line.c_str());
}

void TCardTable::ProcessEvents() {
  FSurface->ProcessEvents();
}

// ---------------------------------------------------------------------------------------------
// The control

void TCardTable::SetBounds(int left, int top, int width, int height) {
  FLeft = left;
  FTop = top;
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  FSurface->SetBounds(BoundsRect());
}

void TCardTable::SetVisible(bool value) {
  FVisible = value;
  if (value) {
    // A background that waited while the table was hidden is drawn before anything can show it.
    if (FBufferWaits) RefreshBackground();
  } else {
    BufferWaits();
  }
  FSurface->SetVisible(value);
}

void TCardTable::MeasureFormBorders() {
  const TPoint form = FSurface->FormSize(), client = FSurface->ClientSize();
  FormBorderWidth = form.X - client.X;
  FormBorderHeight = form.Y - client.Y;
}

void TCardTable::FormCanResize(int& NewWidth, int& NewHeight, bool& Resize) {
  const TPoint form = FSurface->FormSize();
  TPoint client = FSurface->ClientSize();
  if (client.X == 0 || client.Y == 0) client = TPoint(form.X - FormBorderWidth, form.Y - FormBorderHeight);
  if (NewWidth < FMinWidth || NewHeight < FMinHeight) {
    Resize = false;
    return;
  }
  Resize = true;
  const int width = NewWidth + client.X - form.X - FLeft;
  const int height = NewHeight + client.Y - form.Y - FTop;
  int w = FWidth, h = FHeight;
  if (FAlign == alClient || AutoResize) {
    w = width;
    h = height;
  } else if (FAlign == alLeft || FAlign == alRight) {
    h = height;
  } else if (FAlign == alTop || FAlign == alBottom) {
    w = width;
  }
  ApplyBounds(FLeft, FTop, w, h);
}

void TCardTable::ApplyBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) {
    FLeft = left;
    FTop = top;
    FSurface->SetBounds(BoundsRect());
    if (FScreenUpdates) RebuildIfResized();
    return;
  }
  SetBounds(left, top, width, height);
  // While ScreenUpdates is off the buffer keeps its size until the updates come back (or the
  // background is rebuilt), so a bulk operation is never interrupted by a redraw.
  if (FScreenUpdates) RefreshBackground();
}

void TCardTable::RebuildIfResized() {
  if (Buffer.Width() != FWidth || Buffer.Height() != FHeight) RefreshBackground();
}

// ---------------------------------------------------------------------------------------------
// The screen

void TCardTable::SetScreenUpdates(bool value) {
  FScreenUpdates = value;
  if (!value) {
    // Whatever is drawn meanwhile is copied nowhere.
    FUnshownAll = true;
    return;
  }
  RebuildIfResized();
  // Repaints served while updates were off showed nothing new: those parts are shown now.
  if (!FMissed.IsEmpty() && FVisible) {
    const TRect missed = FMissed;
    FMissed = TRect();
    CopyToScreen(missed);
  }
}

void TCardTable::Paint() {
  if (!FScreenUpdates) return;
  RebuildIfResized();
  if (!FVisible) return;
  FMissed = TRect();
  if (FAnimating > 0) {
    // What was drawn since the last present, with the copies gathered meanwhile.
    AddRect(FPendingScreen, FUnshownAll ? TRect(0, 0, Buffer.Width(), Buffer.Height()) : FUnshown);
    FUnshown = TRect();
    FUnshownAll = false;
    if (FramePeriodMs > 0)
      PresentIfDue();
    else
      PresentPending();
    return;
  }
  FPendingScreen.clear();
  FUnshown = TRect();
  FUnshownAll = false;
  // Where the screen's pixels are known, only what differs from them goes.
  const TScreenPixels screen = FSurface->ScreenPixels();
  if (screen.Bits && screen.Width >= Buffer.Width() && screen.Height >= Buffer.Height())
    SendToScreen({TRect(0, 0, Buffer.Width(), Buffer.Height())});
  else
    FSurface->Paint(Buffer);
}

void TCardTable::PaintStep(const TRect& drawn) {
  if (FVisible && FScreenUpdates) AddRect(FPendingScreen, drawn);
  Paint();
}

void TCardTable::Invalidate() {
  if (!FScreenUpdates) ScreenMissed(TRect(0, 0, FWidth, FHeight));
  // Owed to the screen until the repaint comes (a Paint in an animation before it pays it).
  FUnshownAll = true;
  FSurface->Invalidate();
}

void TCardTable::RepaintFromEventLoop() {
  const TRect whole(0, 0, Buffer.Width(), Buffer.Height());
  if (!FVisible) return;
  if (!FScreenUpdates) {
    ScreenMissed(whole);
    return;
  }
  RebuildIfResized();
  const TRect rebuilt(0, 0, Buffer.Width(), Buffer.Height());
  SendToScreen({rebuilt});
  ScreenShown(rebuilt);
}

void TCardTable::ScreenMissed(const TRect& r) {
  FMissed = UnionRect(FMissed, r);
}

void TCardTable::ScreenShown(const TRect& r) {
  if (Inside(TRect(0, 0, Buffer.Width(), Buffer.Height()), r)) {
    FUnshownAll = false;
    FUnshown = TRect();
  } else if (Inside(FUnshown, r)) {
    FUnshown = TRect();
  }
}

void TCardTable::CopyToScreen(int X, int Y, int Width, int Height) {
  if (!FVisible || !FScreenUpdates || Width <= 0 || Height <= 0) return;
  // Clipped in 64 bits: rectangles of cards far off the table must not wrap around.
  const long long l = std::max<long long>(X, 0), t = std::max<long long>(Y, 0);
  const long long r = std::min<long long>((long long)X + Width, Buffer.Width());
  const long long b = std::min<long long>((long long)Y + Height, Buffer.Height());
  if (r <= l || b <= t) return;
  const TRect rect{int(l), int(t), int(r), int(b)};
  if (FAnimating > 0 && FramePeriodMs > 0) {
    AddRect(FPendingScreen, rect);
    PresentIfDue();
    return;
  }
  if (Dragging && FramePeriodMs > 0) {
    // The card follows the pointer at the display's rate: the steps of one frame go together.
    AddRect(FPendingScreen, rect);
    const uint64_t now = Clock().NowMs();
    if (now >= FNextPresent || !FSurface->PresentLater(int(FNextPresent - now))) PresentPending();
    return;
  }
  // Anything still gathered goes with it.
  AddRect(FPendingScreen, rect);
  ShowGathered();
}

void TCardTable::PresentFrame() {
  TakeWaitingMove();
  if (FAnimating == 0) PresentPending();
}

void TCardTable::PresentIfDue() {
  if (!FPendingScreen.empty() && Clock().NowMs() >= FNextPresent) PresentPending();
}

bool TCardTable::SendToScreen(const std::vector<TRect>& rects, bool compare) {
  if (rects.empty()) return false;
  const TScreenPixels screen = compare ? FSurface->ScreenPixels() : TScreenPixels();
  const std::vector<TRect> parts = screen.Bits ? ChangedParts(Buffer, screen, rects) : rects;
  if (parts.empty()) return false;
  if (parts.size() == 1)
    FSurface->CopyToScreen(Buffer, parts[0]);
  else
    FSurface->CopyRectsToScreen(Buffer, parts);
  return true;
}

void TCardTable::PresentPending() {
  if (ShowGathered()) FNextPresent = Clock().NowMs() + uint64_t(std::max(FramePeriodMs, 0));
}

bool TCardTable::ShowGathered() {
  if (FPendingScreen.empty()) return false;
  std::vector<TRect> rects = std::move(FPendingScreen);
  FPendingScreen.clear();
  // Updates switched off meanwhile: shown when they come back.
  if (!FScreenUpdates || !FVisible) {
    for (const TRect& r : rects) ScreenMissed(r);
    return false;
  }
  const TRect inside(0, 0, Buffer.Width(), Buffer.Height());
  for (TRect& r : rects) r = IntersectRect(r, inside);
  std::erase_if(rects, [](const TRect& r) { return r.IsEmpty(); });
  // A dragged card moves many pixels a frame: most of its rectangle changes, and comparing it with
  // the screen would cost more than it saves.
  return SendToScreen(rects, !(Dragging && FAnimating == 0));
}

void TCardTable::ShowTable() {
  FSurface->ShowParent();
  SetVisible(true);
  Paint();
  RepaintOwnerLabels();
}

void TCardTable::RepaintOwnerLabels() {
  if (FScreenUpdates && RepaintLabels) FSurface->RepaintOwnerLabels();
}

// ---------------------------------------------------------------------------------------------
// Properties

void TCardTable::SetCardDeck(const TCardDeck* deck) {
  if (deck) FCardDeck->Assign(*deck);
}

void TCardTable::SetCardSpeed(int value) {
  if (value > 0) FCardSpeed = value;
}

void TCardTable::SetPlaceDeckOffset(int value) {
  if (value != 0) FPlaceDeckOffset = value;
}

void TCardTable::SetTurnOverAnimationSpeed(int value) {
  if (value >= 0) FTurnOverAnimationSpeed = value;
}

void TCardTable::SetAutoShadeMode(int value) {
  if (value >= 1 && value <= 3) FAutoShadeMode = value;
}

void TCardTable::SetHQDragShadeColour(int value) {
  FHQDragShadeColour = value >= 0 && value <= 7 ? value : 0;
}

void TCardTable::SetMinWidth(int value) {
  FMinWidth = value;
  FSurface->SetFormMinimumSize(FMinWidth, FMinHeight);
}

void TCardTable::SetMinHeight(int value) {
  FMinHeight = value;
  FSurface->SetFormMinimumSize(FMinWidth, FMinHeight);
}

// ---------------------------------------------------------------------------------------------
// Cards of a deck whose card objects are about to be freed: taken off the table and out of every
// list, so that nothing refers to them afterwards.

void TCardTable::DropCardsOf(TCardDeck* deck) {
  int lowest = 0;
  for (int i = 1; i <= TableCount && lowest == 0; ++i)
    if (TableCards[size_t(i)]->Deck == deck) lowest = i;
  if (lowest > 0)
    for (int i = TableCount; i >= lowest; --i) {
      TCard* c = TableCards[size_t(i)];
      if (c->Displayed) EraseCard(c, c->Deck);
      c->Displayed = false;
    }
  TRect erased;
  EraseStock(deck, erased);
  if (lowest > 0) {
    int n = lowest - 1;
    for (int i = lowest; i <= TableCount; ++i)
      if (TableCards[size_t(i)]->Deck != deck) TableCards[size_t(++n)] = TableCards[size_t(i)];
    for (int i = n + 1; i <= TableCount; ++i) TableCards[size_t(i)] = nullptr;
    TableCount = n;
    for (int i = lowest; i <= TableCount; ++i) {
      TCard* c = TableCards[size_t(i)];
      RedrawWithSaveUnder(c, c->X, c->Y, c->Angle);
    }
  }
  if (DragCard && DragCard->Deck == deck) {
    DragCard = nullptr;
    Dragging = false;
  }
  std::erase_if(Draggable, [deck](TCard* c) { return c && c->Deck == deck; });
  Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Sprite and areas

TTableArea* TCardTable::TableArea(int Index) {
  return Index == 1 ? FTableArea.get() : nullptr;
}

void TCardTable::ShowAreasBelowCards(int Kind, bool newBuffer) {
  if (FTableArea->Visible && FTableArea->Kind != Kind) FTableArea->Show(newBuffer);
  if (FScreenUpdates) {
    Invalidate();
    RepaintOwnerLabels();
  }
}

void TCardTable::ShowAreasAboveCards(int Kind, bool newBuffer) {
  if (FTableArea->Visible && FTableArea->Kind == Kind) FTableArea->Show(newBuffer);
  if (FScreenUpdates) {
    Invalidate();
    RepaintOwnerLabels();
  }
}
