// Mouse input on the table: the hit test, presses (drag starts and click events), the drag step
// with the drop shade, the release that asks the owner, and the owner's two answers, DropCard and
// RestoreCard.
//
// A dragged card is out of the display list. It is drawn upright with its shadow, both with
// save-unders, so each drag step takes the card off, then its shadow, and draws the shadow, then
// the card. The drop shade is a place of the table's deck drawn under the card.

#include <algorithm>
#include <cstdlib>

#include "cardtable/CardTable.h"
#include "platform/core/Clock.h"

// ---------------------------------------------------------------------------------------------
// The drop shade decision

namespace {

// What every mode of the decision looks at.
struct TDropShadeInput {
  const TDropPoints& Points;
  long long W, H;  // the card's size
  TPoint Origin;   // where the drag began: never a candidate
  const TRect& Face;
  TPoint Mouse;
  bool Skipped(const TPoint& p) const { return p.X == Origin.X && p.Y == Origin.Y; }
};

// Mode 1, the point entered last: the points the face meets are kept on the overlap stack in the
// order they were met, and the top of the stack is shaded.
TDropShadeChange ShadeEnteredLast(const TDropShadeInput& in, std::vector<int>& stack, int shaded) {
  TDropShadeChange change;
  const TRect& face = in.Face;
  for (int i = 0; i < int(in.Points.size()); ++i) {
    const TPoint& p = in.Points[size_t(i)];
    if (in.Skipped(p)) continue;
    const bool meets =
        face.Left <= p.X + in.W && p.X <= face.Right && face.Top <= p.Y + in.H && p.Y <= face.Bottom;
    const auto at = std::find(stack.begin(), stack.end(), i);
    if (meets && at == stack.end()) {
      if (int(stack.size()) < kOverlapStackSize) stack.push_back(i);
    } else if (!meets && at != stack.end()) {
      stack.erase(at);
    }
  }
  if (shaded >= 0 && (stack.empty() || stack.back() != shaded)) {
    change.Hide = true;
    shaded = -1;
  }
  if (!stack.empty() && stack.back() != shaded) change.Show = stack.back();
  return change;
}

// Mode 2, the point under the pointer: the first point found under it is shaded while none is.
TDropShadeChange ShadeUnderPointer(const TDropShadeInput& in, std::vector<int>& stack, int shaded) {
  TDropShadeChange change;
  const TPoint m = in.Mouse;
  for (int i = 0; i < int(in.Points.size()); ++i) {
    const TPoint& p = in.Points[size_t(i)];
    if (in.Skipped(p)) continue;
    const bool inside = m.X >= p.X && m.X <= p.X + in.W && m.Y >= p.Y && m.Y <= p.Y + in.H;
    if (!inside && shaded == i) {
      change.Hide = true;
      shaded = -1;
    } else if (inside && shaded < 0) {
      change.Show = i;
      stack.assign(1, i);
      break;
    }
  }
  return change;
}

// The point the face overlaps most (-1 for none); ties go to the earlier point.
int LargestOverlap(const TDropShadeInput& in) {
  int best = -1;
  long long bestOverlap = 0;
  for (int i = 0; i < int(in.Points.size()); ++i) {
    const TPoint& p = in.Points[size_t(i)];
    if (in.Skipped(p)) continue;
    const long long fx = in.Face.Width() - std::llabs((long long)in.Face.Left - p.X);
    const long long fy = in.Face.Height() - std::llabs((long long)in.Face.Top - p.Y);
    const long long overlap = fx > 0 && fy > 0 ? fx * fy : 0;
    if (overlap > bestOverlap) {
      best = i;
      bestOverlap = overlap;
    }
  }
  return best;
}

// Mode 3, the largest overlap.
TDropShadeChange ShadeLargestOverlap(const TDropShadeInput& in, std::vector<int>& stack, int shaded) {
  TDropShadeChange change;
  const int best = LargestOverlap(in);
  if (shaded >= 0 && best != shaded) {
    change.Hide = true;
    shaded = -1;
  }
  if (best >= 0 && best != shaded) {
    change.Show = best;
    stack.assign(1, best);
  }
  return change;
}

}  // namespace

TDropShadeChange DecideDropShade(int mode, const TDropPoints& points, TPoint cardSize, TPoint origin,
                                 const TRect& face, TPoint mouse, std::vector<int>& stack, int shaded) {
  const TDropShadeInput in{points, cardSize.X, cardSize.Y, origin, face, mouse};
  if (mode == 1) return ShadeEnteredLast(in, stack, shaded);
  if (mode == 2) return ShadeUnderPointer(in, stack, shaded);
  return ShadeLargestOverlap(in, stack, shaded);
}

// ---------------------------------------------------------------------------------------------
// Hit test and presses

TCard* TCardTable::CardAt(int X, int Y, bool RespectDisabled) {
  if (RespectDisabled && DisableCardClicks) return nullptr;
  auto hits = [X, Y](const TCard* c) {
    const long long w = c->Deck->CardWidth, h = c->Deck->CardHeight;
    return X >= c->X && X <= c->X + w && Y >= c->Y && Y <= c->Y + h;
  };
  for (int i = TableCount; i >= 1; --i)
    if (hits(TableCards[size_t(i)])) return TableCards[size_t(i)];
  const TCardDeck* d = FCardDeck.get();
  for (int i = d->CardCount; i >= 1; --i) {
    TCard* c = d->Cards[size_t(i)].get();
    if (c && c->Displayed && c->State == 0 && hits(c)) return c;
  }
  return nullptr;
}

void TCardTable::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(Button, Shift, X, Y);
  FLastMouse = TPoint(X, Y);
  PressCard(Button, X, Y, CardAt(X, Y, true));
}

void TCardTable::ClickAt(TMouseButton Button, TShiftState /*Shift*/, int X, int Y) {
  // A replayed press lands on a table at rest, never inside an animation or a pending drop.
  if (FAnimating > 0 || DragCard) return;
  PressCard(Button, X, Y, CardAt(X, Y, false));
}

void TCardTable::PressCard(TMouseButton Button, int X, int Y, TCard* Card) {
  // A second press while a card is dragged or waits for the owner would start another drag over
  // the first, or let the owner move cards under the floating one.
  if (DragCard) return;
  if (!Card) {
    TTableArea* area = FTableArea.get();
    if (area->Visible && area->Contains(X, Y) && area->OnClick)
      area->OnClick(X, Y, Button);
    else if (OnTableClickEvent)
      OnTableClickEvent(X, Y, Button);
    return;
  }
  const bool drags =
      DragAndDrop && Button == mbLeft &&
      ((Card->State == 1 && (Card->FaceUp || DragFaceDown)) || (Card->State == 0 && DragFromDeck));
  // A card outside a non-empty draggable list ignores a left press altogether.
  if (drags && Card->State == 1 && !Draggable.empty() &&
      std::find(Draggable.begin(), Draggable.end(), Card) == Draggable.end())
    return;
  if (drags && FAnimating == 0) Card = StartDrag(Card, X, Y);
  if (Card->Deck == FCardDeck.get()) {
    if (OnCardClickEvent) OnCardClickEvent(Card, Button);
  } else if (OnExternalCardClickEvent) {
    OnExternalCardClickEvent(Card, Button);
  }
}

// Lifts the card off the table (a dealt card from under the cards over it, a stock card as the
// deck's next card) and draws it upright with its shadow; returns the card now dragged.
TCard* TCardTable::StartDrag(TCard* card, int x, int y) {
  TCardDeck* d = card->Deck;
  TRect bounds;
  if (card->State == 1) {
    int index = 0;
    TCardList covering;
    LiftCovering(card, d, false, true, index, covering, bounds);
    if (card->Displayed) EraseCard(card, d);
    card->Displayed = false;
    RedrawCards(covering);
    RemoveFromList(index);
    DragIndex = index;
    DraggingFromDeck = false;
  } else {
    // Whichever stock card was hit, the deck's next card is the one taken: it lies on top.
    TCard* next = d->NextCard();
    if (!next) return card;
    bounds = CardRect(next);
    if (next->Displayed) EraseCard(next, d);
    next->Displayed = false;
    card = next;
    DragIndex = 0;
    DraggingFromDeck = true;
  }
  const int w = d->CardWidth, h = d->CardHeight, s = ShadowSize(d);
  Dragging = true;
  DragCard = card;
  DragAngle = card->Angle;
  DragOriginX = card->X;
  DragOriginY = card->Y;
  // Held up and to the left of where it lay, with its shadow where it lay.
  if (LiftOffset) {
    card->X -= s;
    card->Y -= s;
  }
  // The bounds take in the card's old rectangle (turned or not) and the upright card with its shadow.
  bounds = UnionRect(bounds, Bounds(card->X, card->Y, w + s, h + s));
  GrabX = x - card->X;
  GrabY = y - card->Y;
  SavedCursor = FSurface->ScreenCursor();
  OverlapStack.clear();
  OverlapTop = -1;
  ShadedDropPoint = -1;
  SnappedToDrop = false;
  DrawDragShadow(card->X, card->Y, d);
  DrawCard(card, card->X, card->Y, d, true, 0.0f);
  card->Displayed = true;
  CopyToScreen(bounds);
  RepaintOwnerLabels();
  FSurface->SetScreenCursor(DragCardCursor);
  return card;
}

// ---------------------------------------------------------------------------------------------
// The drag

void TCardTable::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(Shift, X, Y);
  FLastMouse = TPoint(X, Y);
  if (DisableCardClicks || !Dragging || !DragCard) return;
  // When the step depends only on where the pointer is (the largest-overlap shade, or no drop
  // points), one that could not reach the screen before the next frame waits for that frame: the
  // frame's last position is all that shows, and the table ends as the steps one by one leave it.
  if (FramePeriodMs > 0 && (FAutoShadeMode == 3 || DropPoints.empty())) {
    const uint64_t now = Clock().NowMs();
    if (now < FNextPresent && FSurface->PresentLater(int(FNextPresent - now))) {
      FPendingMove = TPoint(X, Y);
      FMoveWaits = true;
      return;
    }
  }
  FMoveWaits = false;
  DragStep(X, Y);
}

void TCardTable::TakeWaitingMove() {
  if (!FMoveWaits) return;
  FMoveWaits = false;
  if (Dragging && DragCard && !DisableCardClicks) DragStep(FPendingMove.X, FPendingMove.Y);
}

void TCardTable::HideDropShade(TRect& dirty) {
  TCardPlace& shade = FCardDeck->Places[size_t(FirstPlaceIndex(6))];
  if (shade.Shown) {
    dirty = UnionRect(dirty, PlaceRect(shade));
    HidePlace(6, 1, nullptr, false);
  }
  SnappedToDrop = false;
  ShadedDropPoint = -1;
}

void TCardTable::ShowDropShade(int index, TRect& dirty) {
  const TPoint p = DropPoints[size_t(index)];
  const float angle = size_t(index) < DropAngles.size() ? DropAngles[size_t(index)] : 0.0f;
  ShowPlace(6, p.X, p.Y, 1, nullptr, angle, false);
  dirty = UnionRect(dirty, PlaceRect(FCardDeck->Places[size_t(FirstPlaceIndex(6))]));
  SnappedToDrop = true;
  ShadedDropPoint = index;
}

void TCardTable::DragStep(int X, int Y) {
  TCard* c = DragCard;
  TCardDeck* d = c->Deck;
  const int w = d->CardWidth, h = d->CardHeight, s = ShadowSize(d);
  const int ox = c->X, oy = c->Y;
  if (c->Displayed) {
    EraseCard(c, d);
    EraseDragShadow(d);
  }
  c->Displayed = false;
  // At least 0 first, then at most the far edge (which wins on a table smaller than a card).
  const long long gx = std::max<long long>((long long)X - GrabX, 0);
  const long long gy = std::max<long long>((long long)Y - GrabY, 0);
  const int nx = int(std::min<long long>(gx, (long long)FWidth - w));
  const int ny = int(std::min<long long>(gy, (long long)FHeight - h));
  c->X = nx;
  c->Y = ny;
  TRect dirty;
  if (!DropPoints.empty()) {
    const TRect face = Bounds(nx, ny, c->Face.Width(), c->Face.Height());
    const TDropShadeChange change =
        DecideDropShade(FAutoShadeMode, DropPoints, TPoint(FCardDeck->CardWidth, FCardDeck->CardHeight),
                        TPoint(DragOriginX, DragOriginY), face, TPoint(X, Y), OverlapStack, ShadedDropPoint);
    OverlapTop = int(OverlapStack.size()) - 1;
    if (change.Hide) HideDropShade(dirty);
    if (change.Show >= 0) ShowDropShade(change.Show, dirty);
  }
  DrawDragShadow(nx, ny, d);
  DrawCard(c, nx, ny, d, true, 0.0f);
  c->Displayed = true;
  dirty = UnionRect(
      dirty, TRect(std::min(ox, nx), std::min(oy, ny), std::max(ox, nx) + w + s, std::max(oy, ny) + h + s));
  CopyToScreen(dirty);
}

void TCardTable::MouseUp(TMouseButton Button, TShiftState /*Shift*/, int X, int Y) {
  if (Button == mbLeft) TakeWaitingMove();
  FLastMouse = TPoint(X, Y);
  if (DisableCardClicks || !Dragging || Button != mbLeft || !DragCard) return;
  Dragging = false;
  // The drag's last frame.
  PresentPending();
  FSurface->SetScreenCursor(SavedCursor);
  int index = -1;
  if (ShadedDropPoint >= 0) {
    if (ShadedDropPoint < int(DropPoints.size())) index = ShadedDropPoint;
    HidePlace(6, 1, nullptr, true);
    SnappedToDrop = false;
    ShadedDropPoint = -1;
  }
  OverlapStack.clear();
  OverlapTop = -1;
  FCardDeck->HQShadeCached = false;
  if (OnCardDropEvent)
    OnCardDropEvent(DragCard, X, Y, GrabX, GrabY, index);
  else
    RestoreCard();  // nobody would ever answer
}

void TCardTable::MouseCaptureLost() {
  if (Dragging && !DisableCardClicks && FAnimating == 0) MouseUp(mbLeft, 0, FLastMouse.X, FLastMouse.Y);
}

// ---------------------------------------------------------------------------------------------
// The owner's answers

void TCardTable::PlaceTurned(TCard* card, float angle) {
  if (card->Angle != angle) card->SetAngle(angle);
  if (angle != 0.0f) {
    card->RotatedX = card->X + card->Face.Width() / 2 - card->RotationOrigin.X;
    card->RotatedY = card->Y + card->Face.Height() / 2 - card->RotationOrigin.Y;
  }
}

void TCardTable::TakeUpDragCard(TCard* c, TCardDeck* d) {
  // A drop answered without a release (an automatic move) may still show the shade.
  if (ShadedDropPoint >= 0) {
    TRect dirty;
    HideDropShade(dirty);
    CopyToScreen(dirty);
  }
  if (c->Displayed) {
    EraseCard(c, d);
    EraseDragShadow(d);
  }
  c->Displayed = false;
}

void TCardTable::DropCard(int X, int Y, bool Animate, float Angle) {
  TakeWaitingMove();
  TCard* c = DragCard;
  if (!c) return;
  TCardDeck* d = c->Deck;
  const int w = d->CardWidth, h = d->CardHeight, s = ShadowSize(d);
  const int rx = c->X, ry = c->Y;
  TakeUpDragCard(c, d);
  {
    TAnimationScope animation(*this);
    if (Animate) {
      AddCard(c, rx, ry, 0.0f);
      CopyToScreen(Bounds(rx, ry, w + s, h + s));
      if (LiftOffset) {
        MoveCard(c, X - s, Y - s);
        // Set down where it belongs.
        const TRect lifted = CardRect(c);
        RemoveFromList(DisplayIndex(c));
        RedrawWithSaveUnder(c, X, Y, Angle);
        AddToDisplayList(c);
        CopyToScreen(UnionRect(lifted, CardRect(c)));
      } else {
        MoveCard(c, X, Y);
        if (Angle != 0.0f) RotateCard(c, Angle);
      }
    } else {
      DrawCard(c, X, Y, d, true, Angle);
      c->Displayed = true;
      AddToDisplayList(c);
      CopyToScreen(Bounds(rx, ry, w + s, h + s));
      CopyToScreen(CardRect(c));
    }
  }
  DragCard = nullptr;
  Dragging = false;
  FCardDeck->HQShadeCached = false;
  FSurface->SetScreenCursor(SavedCursor);
  RepaintOwnerLabels();
}

void TCardTable::RestoreCard() {
  TakeWaitingMove();
  TCard* c = DragCard;
  if (!c) return;
  TCardDeck* d = c->Deck;
  const int w = d->CardWidth, h = d->CardHeight, s = ShadowSize(d);
  const int rx = c->X, ry = c->Y;
  TakeUpDragCard(c, d);
  TAnimationScope animation(*this);
  // Home, on top of everything, then held there with its shadow while the owner hears of it.
  AddCard(c, rx, ry, 0.0f);
  CopyToScreen(Bounds(rx, ry, w + s, h + s));
  MoveCard(c, LiftOffset ? DragOriginX - s : DragOriginX, LiftOffset ? DragOriginY - s : DragOriginY);
  EraseCard(c, d);
  c->Displayed = false;
  RemoveFromList(DisplayIndex(c));
  DrawDragShadow(c->X, c->Y, d);
  DrawCard(c, c->X, c->Y, d, true, 0.0f);
  c->Displayed = true;
  CopyToScreen(Bounds(c->X, c->Y, w + s, h + s));
  if (OnCardRestoredEvent) OnCardRestoredEvent();

  // Put down at its old place, angle and list position.
  const TRect held = Bounds(c->X, c->Y, w + s, h + s);
  if (c->Displayed) {
    EraseCard(c, d);
    EraseDragShadow(d);
  }
  c->Displayed = false;
  c->X = DragOriginX;
  c->Y = DragOriginY;
  if (DragIndex > 0) {
    // The list may have shrunk meanwhile: the card goes no higher than the top.
    const int at = std::min(DragIndex, TableCount + 1);
    if (TableCount < kMaxTableCards) {
      for (int i = TableCount; i >= at; --i) TableCards[size_t(i + 1)] = TableCards[size_t(i)];
      TableCards[size_t(at)] = c;
      ++TableCount;
    }
    PlaceTurned(c, DragAngle);
    int index = 0;
    TCardList covering;
    TRect bounds;
    LiftCovering(c, d, false, true, index, covering, bounds);
    DrawCard(c, c->X, c->Y, d, true, DragAngle);
    c->Displayed = true;
    RedrawCards(covering);
    CopyToScreen(UnionRect(held, bounds));
  } else {
    // Back to the stock as its next card.
    c->State = 0;
    if (d->Dealt > 0) --d->Dealt;
    PlaceTurned(c, 0.0f);
    DrawCard(c, c->X, c->Y, d, true, 0.0f);
    c->Displayed = true;
    CopyToScreen(UnionRect(held, CardRect(c)));
  }
  Dragging = false;
  FSurface->SetScreenCursor(SavedCursor);
  DragCard = nullptr;
  FCardDeck->HQShadeCached = false;
  RepaintOwnerLabels();
}
