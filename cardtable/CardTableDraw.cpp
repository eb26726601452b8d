// Drawing cards on the table: the one card-drawing routine, the display list, the stock pile,
// lifting the cards that cover a card, the full redraw, the card animations and the shadow of a
// lifted card.
//
// Every card keeps a save-under of the buffer beneath it, so the order matters everywhere: cards
// are erased topmost first and drawn bottom first, and a card drawn again with a fresh save-under
// is taken off first (RedrawWithSaveUnder).

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cardtable/CardTable.h"
#include "cardtable/MyGrphx.h"
#include "platform/core/Clock.h"
#include "platform/core/Numeric.h"
#include "platform/graphics/Raster.h"

namespace {

// The overlap test of lifting: never misses a card that meets the bounds, sometimes takes one more.
bool Covers(const TRect& b, const TRect& r) {
  return std::llabs((long long)b.Left - r.Left) < std::max(r.Width(), b.Width()) &&
         std::llabs((long long)b.Top - r.Top) < std::max(r.Height(), b.Height());
}

// One coordinate moved towards its target by at most step.
int StepTowards(int from, int to, int step) {
  const long long d = (long long)to - from;
  if (d > step) return int(from + (long long)step);
  if (d < -step) return int(from - (long long)step);
  return to;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// One card

TRect TCardTable::CardRect(const TCard* Card) const {
  if (Card->Angle != 0.0f)
    return Bounds(Card->RotatedX, Card->RotatedY, Card->RotatedWidth, Card->RotatedHeight);
  return Bounds(Card->X, Card->Y, Card->Deck->CardWidth, Card->Deck->CardHeight);
}

int TCardTable::DisplayIndex(const TCard* Card) const {
  for (int i = TableCount; i >= 1; --i)
    if (TableCards[size_t(i)] == Card) return i;
  return 0;
}

void TCardTable::DrawCard(TCard* Card, int X, int Y, TCardDeck* Deck, bool SaveUnder, float Angle) {
  if (!Card || (SaveUnder && Card->Displayed)) return;
  TCardDeck* d = Deck ? Deck : Card->Deck;
  Card->X = X;
  Card->Y = Y;
  if (Card->Angle != Angle) Card->SetAngle(Angle);
  if (Angle != 0.0f) {
    Card->RotatedX = X + Card->Face.Width() / 2 - Card->RotationOrigin.X;
    Card->RotatedY = Y + Card->Face.Height() / 2 - Card->RotationOrigin.Y;
    if (SaveUnder) {
      TBitmap& bg = Card->Background;
      if (bg.Width() < Card->RotatedWidth || bg.Height() < Card->RotatedHeight)
        bg.SetSize(std::max(bg.Width(), Card->RotatedWidth), std::max(bg.Height(), Card->RotatedHeight));
      BitBlt(bg, 0, 0, Card->RotatedWidth, Card->RotatedHeight, Buffer, Card->RotatedX, Card->RotatedY);
    }
    if (!Card->FaceUp) {
      d->RotateBack(Angle);
      DrawTransparent(Buffer, Card->RotatedX, Card->RotatedY, d->RotatedBack,
                      d->RotatedBack.TransparentColor());
    } else {
      DrawTransparent(Buffer, Card->RotatedX, Card->RotatedY, Card->RotatedFace,
                      Card->RotatedFace.TransparentColor());
    }
    return;
  }
  const int w = d->CardWidth, h = d->CardHeight;
  if (SaveUnder) {
    TBitmap& bg = Card->Background;
    if (bg.Width() < w || bg.Height() < h) bg.SetSize(std::max(bg.Width(), w), std::max(bg.Height(), h));
    BitBlt(bg, 0, 0, w, h, Buffer, X, Y);
  }
  BitBlt(Buffer, X, Y, w, h, d->CardMask, 0, 0, TRasterOp::And);
  BitBlt(Buffer, X, Y, w, h, Card->FaceUp ? Card->Face : d->Back, 0, 0, TRasterOp::Paint);
}

void TCardTable::RestoreRect(TCard* card, const TRect& r) {
  BitBlt(Buffer, r.Left, r.Top, r.Width(), r.Height(), card->Background, 0, 0);
}

void TCardTable::EraseCard(TCard* Card, TCardDeck* /*Deck*/) {
  if (Card) RestoreRect(Card, CardRect(Card));
}

void TCardTable::RedrawWithSaveUnder(TCard* Card, int X, int Y, float Angle) {
  if (!Card) return;
  if (Card->Displayed) EraseCard(Card, Card->Deck);
  Card->Displayed = false;
  DrawCard(Card, X, Y, Card->Deck, true, Angle);
  Card->Displayed = true;
}

// ---------------------------------------------------------------------------------------------
// The display list

void TCardTable::AddToDisplayList(TCard* Card) {
  if (!Card || !Card->Displayed || DisplayIndex(Card) > 0 || TableCount >= kMaxTableCards) return;
  TableCards[size_t(++TableCount)] = Card;
}

void TCardTable::RemoveFromList(int index) {
  if (index < 1 || index > TableCount) return;
  for (int i = index; i < TableCount; ++i) TableCards[size_t(i)] = TableCards[size_t(i + 1)];
  TableCards[size_t(TableCount)] = nullptr;
  --TableCount;
}

void TCardTable::BringToTop(TCard* card) {
  const int i = DisplayIndex(card);
  if (i == 0) return;
  RemoveFromList(i);
  AddToDisplayList(card);
}

void TCardTable::AddCard(TCard* Card, int X, int Y, float Angle) {
  if (!Card || Card->Displayed) return;
  // A full list takes no more cards: a card drawn but not listed could never be taken off.
  if (TableCount >= kMaxTableCards) return;
  DrawCard(Card, X, Y, Card->Deck, true, Angle);
  Card->Displayed = true;
  CopyToScreen(CardRect(Card));
  AddToDisplayList(Card);
}

TCard* TCardTable::DealCard(TCardDeck* Deck) {
  TCard* c = DeckOr(Deck)->NextCard();
  if (c && c->Displayed) AddToDisplayList(c);
  return c;
}

// ---------------------------------------------------------------------------------------------
// The stock pile

void TCardTable::EraseStock(TCardDeck* d, TRect& erased) {
  // The next card lies on top, so the erasing starts there.
  for (int i = d->Dealt + 1; i <= d->CardCount; ++i) {
    TCard* c = d->Cards[size_t(i)].get();
    if (!c || !c->Displayed) continue;
    erased = UnionRect(erased, CardRect(c));
    EraseCard(c, d);
    c->Displayed = false;
  }
}

void TCardTable::DrawDeck(int X, int Y, TCardDeck* Deck) {
  TCardDeck* d = DeckOr(Deck);
  TRect changed;
  EraseStock(d, changed);
  int offset = 0, n = 0;
  for (int i = d->CardCount; i > d->Dealt; --i) {
    TCard* c = d->Cards[size_t(i)].get();
    if (!c || c->State == -2) continue;
    DrawCard(c, X + offset, Y + offset, d, true, 0.0f);
    c->Displayed = true;
    changed = UnionRect(changed, CardRect(c));
    if (++n % FPlaceDeckOffset == 0) --offset;
  }
  // One copy covers the old pile and the new one, wherever either lies.
  CopyToScreen(changed);
  d->DeckX = X;
  d->DeckY = Y;
}

TCard* TCardTable::DealNthCard(int N, int X, int Y, TCardDeck* Deck) {
  TCardDeck* d = DeckOr(Deck);
  TRect erased;
  EraseStock(d, erased);
  TCard* card = d->TakeNthCard(N);
  // The pile without the card, drawn as DrawDeck draws it (nothing is left to erase).
  const bool saved = FScreenUpdates;
  FScreenUpdates = false;
  DrawDeck(X, Y, d);
  FScreenUpdates = saved;
  TRect pile;
  for (int i = d->Dealt + 1; i <= d->CardCount; ++i)
    if (d->Cards[size_t(i)] && d->Cards[size_t(i)]->Displayed)
      pile = UnionRect(pile, CardRect(d->Cards[size_t(i)].get()));
  CopyToScreen(UnionRect(erased, pile));
  if (card) AddCard(card, card->X, card->Y, 0.0f);
  return card;
}

// ---------------------------------------------------------------------------------------------
// Lifting, removing and turning

void TCardTable::LiftCovering(TCard* Card, TCardDeck* /*Deck*/, bool IgnoreOverlaps, bool Fresh, int& Index,
                              TCardList& Covering, TRect& Bounds) {
  LiftCoveringFrom(Card, CardRect(Card), IgnoreOverlaps, Fresh, Index, Covering, Bounds);
}

void TCardTable::LiftCoveringFrom(TCard* card, const TRect& start, bool ignoreOverlaps, bool fresh,
                                  int& index, TCardList& covering, TRect& bounds) {
  bounds = start;
  // The bounds grow by the whole rectangle of every covering card, so a card that sticks out on
  // either side still catches the cards lying over its far side.
  auto take = [&](TCard* c, TCardList& into) {
    if (!c->Displayed) return;
    const TRect r = CardRect(c);
    if (!Covers(bounds, r)) return;
    into.push_back(c);
    bounds = UnionRect(bounds, r);
  };
  if (fresh) {
    covering.clear();
    index = DisplayIndex(card);
    if (!ignoreOverlaps)
      for (int j = index + 1; j <= TableCount; ++j)
        if (TableCards[size_t(j)] != card) take(TableCards[size_t(j)], covering);
  } else {
    TCardList still;
    for (TCard* c : covering) take(c, still);
    covering = std::move(still);
  }
  for (auto it = covering.rbegin(); it != covering.rend(); ++it) {
    EraseCard(*it, (*it)->Deck);
    (*it)->Displayed = false;
  }
}

void TCardTable::RedrawCards(const TCardList& Cards) {
  for (TCard* c : Cards) {
    DrawCard(c, c->X, c->Y, c->Deck, true, c->Angle);
    c->Displayed = true;
  }
}

void TCardTable::RemoveCard(TCard* Card, bool IgnoreOverlaps) {
  if (!Card || !Card->Displayed) return;
  int index = 0;
  TCardList covering;
  TRect bounds;
  LiftCovering(Card, Card->Deck, IgnoreOverlaps, true, index, covering, bounds);
  const TRect r = CardRect(Card);
  EraseCard(Card, Card->Deck);
  Card->Displayed = false;
  RedrawCards(covering);
  RemoveFromList(index);
  CopyToScreen(r);
}

void TCardTable::RotateCard(TCard* Card, float Angle) {
  if (!Card || !Card->Displayed || Card->Angle == Angle) return;
  const TRect oldRect = CardRect(Card);
  // The turned picture first: the cards lying over the new rectangle are lifted as well, or the
  // turned card would end up drawn over cards that lie above it in the list.
  Card->SetAngle(Angle);
  if (Angle != 0.0f) {
    Card->RotatedX = Card->X + Card->Face.Width() / 2 - Card->RotationOrigin.X;
    Card->RotatedY = Card->Y + Card->Face.Height() / 2 - Card->RotationOrigin.Y;
  }
  const TRect newRect = CardRect(Card);
  int index = 0;
  TCardList covering;
  TRect bounds;
  LiftCoveringFrom(Card, UnionRect(oldRect, newRect), false, true, index, covering, bounds);
  RestoreRect(Card, oldRect);
  Card->Displayed = false;
  RedrawWithSaveUnder(Card, Card->X, Card->Y, Angle);
  RedrawCards(covering);
  CopyToScreen(UnionRect(oldRect, newRect));
}

// ---------------------------------------------------------------------------------------------
// Clearing and the full redraw

void TCardTable::ClearDisplayList() {
  for (int i = TableCount; i >= 1; --i) {
    TCard* c = TableCards[size_t(i)];
    if (c->Displayed) EraseCard(c, c->Deck);
    c->Displayed = false;
    TableCards[size_t(i)] = nullptr;
  }
  TableCount = 0;
  if (FScreenUpdates) {
    Paint();
    RepaintOwnerLabels();
  }
}

void TCardTable::EraseStockPile(TCardDeck* Deck) {
  TRect erased;
  EraseStock(DeckOr(Deck), erased);
  if (FScreenUpdates) {
    Invalidate();
    RepaintOwnerLabels();
  }
}

void TCardTable::CollectCards(TCardDeck* Deck) {
  TCardDeck* d = DeckOr(Deck);
  const bool saved = FScreenUpdates;
  FScreenUpdates = false;
  ClearDisplayList();
  EraseStockPile(d);
  d->ResetCards();
  FScreenUpdates = saved;
  Invalidate();
  RepaintOwnerLabels();
}

void TCardTable::ClearTable() {
  CollectCards(FCardDeck.get());
  RefreshBackground();
}

void TCardTable::RedrawAll() {
  const bool saved = FScreenUpdates;
  FScreenUpdates = false;
  ShowAreasBelowCards(9, true);
  RedrawPlaces();
  // The stock pile as it was. The buffer is new, so every card takes a fresh save-under.
  TCardDeck* d = FCardDeck.get();
  for (int i = d->CardCount; i > d->Dealt; --i) {
    TCard* c = d->Cards[size_t(i)].get();
    if (!c || !c->Displayed) continue;
    c->Displayed = false;
    RedrawWithSaveUnder(c, c->X, c->Y, 0.0f);
  }
  FScreenUpdates = saved;
  for (int i = 1; i <= TableCount; ++i) {
    TCard* c = TableCards[size_t(i)];
    c->Displayed = false;
    RedrawWithSaveUnder(c, c->X, c->Y, c->Angle);
  }
  ShowAreasAboveCards(9, true);
  if (FSprite->Visible) {
    FSprite->Visible = false;
    FSprite->Draw();
  }
  // A card held by a drag (or waiting for the owner's answer) lies over everything, with its
  // shadow; both take their save-unders from the new background.
  if (DragCardDrawn() && DisplayIndex(DragCard) == 0) {
    DragCard->Displayed = false;
    PutBackDragCard();
  }
}

// ---------------------------------------------------------------------------------------------
// Animations

void TCardTable::Delay(int Milliseconds) {
  TClock& clock = Clock();
  const uint64_t start = clock.NowUs();
  WaitUntilUs(start + uint64_t(std::max(Milliseconds, 0)) * 1000);
  DelayedUs += clock.NowUs() - start;
}

void TCardTable::WaitUntilUs(uint64_t dueUs) {
  TClock& clock = Clock();
  for (;;) {
    PresentIfDue();
    const uint64_t now = clock.NowUs();
    if (now >= dueUs) return;
    uint64_t wait = dueUs - now;
    // Wake for the frame of copies gathered meanwhile.
    if (!FPendingScreen.empty()) {
      const uint64_t frame = FNextPresent * 1000;
      wait = std::min(wait, frame > now ? frame - now : 0);
    }
    // Slept in whole milliseconds, rounded up: a wait never spins on the processor.
    clock.Sleep(int((wait + 999) / 1000));
  }
}

void TCardTable::EndStep(uint64_t startUs) {
  if (StepPeriodMs > 0) WaitUntilUs(startUs + uint64_t(StepPeriodMs) * 1000);
}

TMoveStep MoveStepLength(long long dx, long long dy, int cardWidth, int cardHeight, int cardSpeed,
                         int coveringCount, bool slowMoveRegion, bool waitMode) {
  if (coveringCount > 0) return {cardSpeed + coveringCount, false};
  if (!slowMoveRegion) return {cardSpeed, false};
  const int hw = cardWidth / 2, hh = cardHeight / 2;
  if (dx > hw || dy > hh) return {int(std::min<long long>(std::max(dx - hw, dy - hh), cardSpeed)), false};
  return {1, waitMode && dx <= cardWidth / 8 && dy <= cardHeight / 8};
}

void TCardTable::MoveCard(TCard* Card, int X, int Y) {
  if (!Card || !Card->Displayed) return;
  TAnimationScope animation(*this);
  TCardDeck* d = Card->Deck;
  const int w = d->CardWidth, h = d->CardHeight, s = ShadowSize(d);
  bool first = true, shadowShown = false;
  TCardList covering;
  int index = 0;
  TRect changed;
  TClock& clock = Clock();
  do {
    uint64_t stepStart = clock.NowUs();
    const TRect oldRect = CardRect(Card);
    if (first || !covering.empty()) {
      TRect bounds;
      LiftCovering(Card, d, false, first, index, covering, bounds);
      first = false;
    }
    EraseCard(Card, d);
    if (shadowShown) EraseDragShadow(d);
    Card->Displayed = false;

    const TMoveStep step =
        MoveStepLength(std::llabs((long long)Card->X - X), std::llabs((long long)Card->Y - Y), w, h,
                       FCardSpeed, int(covering.size()), SlowMoveRegion, SMR_WaitMode);
    if (step.Wait) {
      Delay(2);
      stepStart = clock.NowUs();
    }
    const int nx = StepTowards(Card->X, X, step.Step), ny = StepTowards(Card->Y, Y, step.Step);

    if (covering.empty()) {
      DrawDragShadow(nx, ny, d);
      shadowShown = true;
    }
    DrawCard(Card, nx, ny, d, true, 0.0f);
    Card->Displayed = true;
    RedrawCards(covering);

    // The whole of both rectangles: a turned card's first step changes pixels beyond the old
    // rectangle along one axis and beyond the new one along the other.
    changed = UnionRect(oldRect, Bounds(nx, ny, w, h));
    if (shadowShown) {
      changed.Right += s;
      changed.Bottom += s;
    }
    if (FastMovementMode)
      CopyToScreen(changed);
    else
      PaintStep(changed);
    EndStep(stepStart);
  } while (Card->X != X || Card->Y != Y);

  Card->Displayed = true;
  if (!covering.empty()) {
    const bool stillCovered = std::any_of(covering.begin(), covering.end(), [&](const TCard* c) {
      const TRect r = CardRect(c);
      return std::llabs((long long)r.Left - X) < r.Width() && std::llabs((long long)r.Top - Y) < r.Height();
    });
    if (!stillCovered) covering.clear();
  }
  if (covering.empty()) {
    BringToTop(Card);
    if (shadowShown) {
      EraseCard(Card, d);
      EraseDragShadow(d);
      Card->Displayed = false;
      RedrawWithSaveUnder(Card, X, Y, 0.0f);
      CopyToScreen(changed);
    }
  }
}

void TCardTable::TurnOverCard(TCard* Card, bool IgnoreOverlaps) {
  if (!Card) return;
  if (Card->Displayed && Card->Angle == 0.0f && TurnOverAnimationLift && AnimationsOn && LiftAndTurn(Card))
    return;
  Card->FaceUp = !Card->FaceUp;
  if (!Card->Displayed) return;
  TAnimationScope animation(*this);
  TCardDeck* d = Card->Deck;
  int index = 0;
  TCardList covering;
  TRect bounds;
  if (FTurnOverAnimationSpeed < 1 || !AnimationsOn || Card->Angle != 0.0f) {
    LiftCovering(Card, d, IgnoreOverlaps, true, index, covering, bounds);
    // Taken off first: a turned card is drawn by colour key, and the key-coloured pixels of the new
    // side would otherwise show the old one.
    EraseCard(Card, d);
    DrawCard(Card, Card->X, Card->Y, d, false, Card->Angle);
    RedrawCards(covering);
    CopyToScreen(CardRect(Card));
  } else {
    const int size = TurnOverAnimationVertical ? d->CardHeight : d->CardWidth;
    int p = 0;
    do {
      const uint64_t stepStart = Clock().NowUs();
      LiftCovering(Card, d, IgnoreOverlaps, true, index, covering, bounds);
      EraseCard(Card, d);
      Card->Displayed = false;
      p = std::min(p + FTurnOverAnimationSpeed, size);
      DrawTurnFrame(Card, d, p);
      Card->Displayed = true;
      RedrawCards(covering);
      CopyToScreen(Card->X, Card->Y, d->CardWidth, d->CardHeight);
      EndStep(stepStart);
      Delay(1);
    } while (p < size);
  }
}

void TCardTable::DrawTurnFrame(TCard* Card, TCardDeck* Deck, int Progress) {
  if (!Card) return;
  TCardDeck* d = Deck ? Deck : Card->Deck;
  const int w = d->CardWidth, h = d->CardHeight;
  const int size = TurnOverAnimationVertical ? h : w;
  const bool firstHalf = Progress < size / 2.0;
  // The inset never goes below 0: the squeezed card stays inside its save-under.
  const int inset = std::max(firstHalf ? Progress - 1 : size - Progress, 0);
  const bool showFace = firstHalf ? !Card->FaceUp : Card->FaceUp;
  const TBitmap& picture = showFace ? Card->Face : d->Back;
  const TRect r = TurnOverAnimationVertical ? Bounds(Card->X, Card->Y + inset, w, h - 2 * inset)
                                            : Bounds(Card->X + inset, Card->Y, w - 2 * inset, h);
  StretchBlt(Buffer, r.Left, r.Top, r.Width(), r.Height(), d->CardMask, 0, 0, w, h, TRasterOp::And);
  StretchBlt(Buffer, r.Left, r.Top, r.Width(), r.Height(), picture, 0, 0, w, h, TRasterOp::Paint);
}

std::vector<TLiftTurnFrame> LiftTurnSchedule(int cardSize, int v, int startL, int limit) {
  std::vector<TLiftTurnFrame> frames;
  if (cardSize <= 0 || v <= 0) return frames;
  const int q = cardSize / 4;
  int d = 0, offset = 0, l = startL;
  do {
    d = std::min(d + v, cardSize);
    if (d < q) {
      offset += v;
      l -= 4 * v;
    } else if (d < 2 * q) {
      offset += v;
      l = std::min(l + 4 * v, limit);
    } else if (d < 3 * q) {
      offset = std::max(offset - v, 0);
      l = std::min(l + 2 * v, limit);
    } else {
      offset = std::max(offset - v, 0);
      l = std::max(l - 2 * v, cardSize);
    }
    l = std::max(l, 1);
    frames.push_back({d, offset, l});
  } while (d < cardSize);
  return frames;
}

// The shadow under a card lifted for a turn, with the save-under of the table beneath it. The
// card's own save-under and the shadow's both hold the clean table, so the card is always taken off
// before the shadow's goes back.
class TCardTable::TLiftShadow {
 public:
  TLiftShadow(TCardTable& table, TCardDeck& deck) : FTable(table), FDeck(deck) {}
  const TRect& Rect() const { return FRect; }
  // Saves the table under r, then shades it there: darkened, or by the set's whole-card shadow.
  void Draw(const TRect& r) {
    TBitmap& buffer = FTable.Buffer;
    FRect = r;
    FSaved.SetSize(r.Width(), r.Height());
    BitBlt(FSaved, 0, 0, r.Width(), r.Height(), buffer, r.Left, r.Top);
    if (FTable.ShadowMode == smDarken) {
      TBitmap& work = FDeck.ShadowWork[2];
      work.SetSize(r.Width(), r.Height());
      BitBlt(work, 0, 0, r.Width(), r.Height(), buffer, r.Left, r.Top);
      ShadeBitmap(work, FTable.SoftShadow, true, 0);
      BitBlt(buffer, r.Left, r.Top, r.Width(), r.Height(), work, 0, 0);
    } else {
      const TBitmap& shadow = FDeck.Shadow02;
      StretchBlt(buffer, r.Left, r.Top, r.Width(), r.Height(), shadow, 0, 0, shadow.Width(), shadow.Height(),
                 TRasterOp::And);
    }
  }
  void PutBack() {
    BitBlt(FTable.Buffer, FRect.Left, FRect.Top, FRect.Width(), FRect.Height(), FSaved, 0, 0);
  }

 private:
  TCardTable& FTable;
  TCardDeck& FDeck;
  TBitmap FSaved;
  TRect FRect;
};

bool TCardTable::LiftAndTurn(TCard* Card) {
  if (!Card || !Card->Displayed || Card->Angle != 0.0f) return false;
  TCardDeck* d = Card->Deck;
  int index = 0;
  TCardList covering;
  TRect bounds;
  LiftCovering(Card, d, false, true, index, covering, bounds);
  if (!covering.empty()) {
    RedrawCards(covering);
    return false;
  }
  TAnimationScope animation(*this);
  const int w = d->CardWidth, h = d->CardHeight, s = ShadowSize(d);

  // Picked up: on top of the list, up and to the left of where it lay.
  if (LiftOffset) {
    RedrawWithSaveUnder(Card, Card->X - s, Card->Y - s, 0.0f);
    BringToTop(Card);
  }
  const int cx = Card->X, cy = Card->Y;
  const TRect cardRect = Bounds(cx, cy, w, h);

  // Lifted over its shadow.
  TLiftShadow shadow(*this, *d);
  EraseCard(Card, d);
  shadow.Draw(Bounds(cx + s, cy + s, d->Shadow02.Width(), d->Shadow02.Height()));
  DrawCard(Card, cx, cy, d, false, 0.0f);
  CopyToScreen(UnionRect(cardRect, shadow.Rect()));
  Delay(200);

  TurnLifted(Card, shadow);

  // Back on the table without the shadow.
  EraseCard(Card, d);
  shadow.PutBack();
  DrawCard(Card, cx, cy, d, false, 0.0f);
  Card->Displayed = true;
  CopyToScreen(UnionRect(cardRect, shadow.Rect()));
  Delay(100);

  // Put down where it lay.
  if (LiftOffset) {
    RedrawWithSaveUnder(Card, cx + s, cy + s, 0.0f);
    BringToTop(Card);
    CopyToScreen(Bounds(cx, cy, w + s, h + s));
  }
  return true;
}

void TCardTable::TurnLifted(TCard* Card, TLiftShadow& shadow) {
  TCardDeck* d = Card->Deck;
  const int w = d->CardWidth, h = d->CardHeight;
  const TRect cardRect = Bounds(Card->X, Card->Y, w, h);
  Card->FaceUp = !Card->FaceUp;
  if (FTurnOverAnimationSpeed < 1) {
    DrawCard(Card, Card->X, Card->Y, d, false, 0.0f);
    CopyToScreen(cardRect);
    Delay(200);
    return;
  }
  // Squeezed to its edge and opened again while the shadow falls away and comes back under it.
  const int v = std::min(FTurnOverAnimationSpeed, 32);
  const bool vertical = TurnOverAnimationVertical;
  const TRect first = shadow.Rect();
  const int size = vertical ? h : w;
  const int limit = vertical ? Round(1.4 * h) : w;
  const int startL = vertical ? first.Height() : first.Width();
  const int start = vertical ? first.Top : first.Left;
  for (const TLiftTurnFrame& f : LiftTurnSchedule(size, v, startL, limit)) {
    const uint64_t stepStart = Clock().NowUs();
    const TRect old = shadow.Rect();
    EraseCard(Card, d);
    shadow.PutBack();
    Card->Displayed = false;
    shadow.Draw(vertical ? Bounds(old.Left, start + f.Offset, old.Width(), f.L)
                         : Bounds(start + f.Offset, old.Top, f.L, old.Height()));
    DrawTurnFrame(Card, d, f.D);
    Card->Displayed = true;
    CopyToScreen(UnionRect(UnionRect(cardRect, old), shadow.Rect()));
    EndStep(stepStart);
    Delay(1);
  }
  Delay(200);
}

// ---------------------------------------------------------------------------------------------
// The shadow of a lifted card: a strip below it and one to its right, offset by s.

int TCardTable::ShadowSize(const TCardDeck* Deck) const {
  return (Deck ? Deck : FCardDeck.get())->Shadow01.Width();
}

void TCardTable::DrawDragShadow(int X, int Y, TCardDeck* Deck) {
  TCardDeck* d = DeckOr(Deck);
  const int s = ShadowSize(d);
  const TPoint p0(X + s, Y + d->Shadow01.Height() + s), p1(X + d->CardWidth, Y + s);
  d->ShadowPositions = {p0, p1};
  const TBitmap* strips[2] = {&d->Shadow00, &d->Shadow01};
  const TPoint at[2] = {p0, p1};
  for (int k = 0; k < 2; ++k) {
    const int sw = strips[k]->Width(), sh = strips[k]->Height();
    TBitmap& bg = d->ShadowBackgrounds[size_t(k)];
    bg.SetSize(sw, sh);
    BitBlt(bg, 0, 0, sw, sh, Buffer, at[k].X, at[k].Y);
  }
  if (ShadowMode == smOriginal) {
    for (int k = 0; k < 2; ++k)
      BitBlt(Buffer, at[k].X, at[k].Y, strips[k]->Width(), strips[k]->Height(), *strips[k], 0, 0,
             TRasterOp::And);
    return;
  }
  // Darkened: the table under the strips is shaded where the masks say, with a soft edge.
  const TBitmap* masks[2] = {&d->Shadow00M, &d->Shadow01M};
  const TBitmap* inverse[2] = {&d->Shadow00IM, &d->Shadow01IM};
  for (int k = 0; k < 2; ++k) {
    const int sw = strips[k]->Width(), sh = strips[k]->Height();
    TBitmap& work = d->ShadowWork[size_t(k)];
    work.SetSize(sw, sh);
    BitBlt(work, 0, 0, sw, sh, Buffer, at[k].X, at[k].Y);
    ShadeBitmap(work, SoftShadow, k == 1, 0);
    BitBlt(work, 0, 0, sw, sh, *inverse[k], 0, 0, TRasterOp::And);
    BitBlt(Buffer, at[k].X, at[k].Y, sw, sh, *masks[k], 0, 0, TRasterOp::And);
    BitBlt(Buffer, at[k].X, at[k].Y, sw, sh, work, 0, 0, TRasterOp::Paint);
  }
}

void TCardTable::EraseDragShadow(TCardDeck* Deck) {
  TCardDeck* d = DeckOr(Deck);
  for (int k = 1; k >= 0; --k) {
    const TBitmap& bg = d->ShadowBackgrounds[size_t(k)];
    const TPoint p = d->ShadowPositions[size_t(k)];
    BitBlt(Buffer, p.X, p.Y, bg.Width(), bg.Height(), bg, 0, 0);
  }
}
