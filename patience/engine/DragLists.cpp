// The cards the player may drag and the points a dragged card may be dropped on.

#include <algorithm>
#include <cmath>

#include "patience/engine/PatienceEngine.h"

namespace {

bool SameColourOf(const TCard* a, const TCard* b) {
  return a->IsRed() == b->IsRed();
}

}  // namespace

// -----------------------------------------------------------------------------------------------
// Drag lists and drop points

int TPatienceEngine::SuperMove(int emptyPiles) const {
  const TPileRules& t = Rules.Tableau.Rules;
  if (t.Has(UnlimitedMoves)) return 13;
  const int cells = Rules.Reserve.EmptyCells + 1;
  if (t.Has(EmptyTakesKing) || emptyPiles <= 0) return cells;
  return cells << std::min(emptyPiles, 20);
}

void TPatienceEngine::SetLists() {
  const TPileRules& t = Rules.Tableau.Rules;
  const TPileRules& f = Rules.Foundations.Rules;
  TReserve& reserve = Rules.Reserve;
  DropPointList.clear();
  DropAngleList.clear();
  Rules.Tableau.EmptyPiles = 0;
  reserve.EmptyCells = 0;

  if (!t.Has(NoDropTarget))
    for (size_t p = 0; p < Rules.TableauPlaces.size(); ++p) {
      const TCard* top = p < Rules.TableauPiles.size() ? TopCard(Rules.TableauPiles[p]) : nullptr;
      if (top) {
        DropPointList.push_back(TPoint(top->X, top->Y));
      } else {
        DropPointList.push_back(Rules.TableauPlaces[p]);
        ++Rules.Tableau.EmptyPiles;
      }
    }
  if (!f.Has(NoDropTarget))
    for (int i = 0; i < Rules.Foundations.Count && i < int(Rules.FoundationPlaces.size()); ++i) {
      const TPoint place = Rules.FoundationPlaces[size_t(i)];
      const TCard* top =
          i < int(Rules.FoundationPiles.size()) ? TopCard(Rules.FoundationPiles[size_t(i)]) : nullptr;
      DropPointList.push_back(TPoint(f.Has(RankInPrevious) && top ? top->X : place.X, place.Y));
    }
  if (f.Has(UseDropAngles)) {
    DropAngleList.assign(DropPointList.size(), 0.0f);
    const size_t first = t.Has(NoDropTarget) ? 0 : Rules.TableauPlaces.size();
    for (size_t i = 0; first + i < DropAngleList.size() && i < Rules.FoundationAngles.size(); ++i)
      DropAngleList[first + i] = Rules.FoundationAngles[i];
  }
  if (reserve.FreeCells)
    for (int k = 1; k <= reserve.Count; ++k) {
      const bool empty = k - 1 >= int(Rules.ReserveCards.size()) || !Rules.ReserveCards[size_t(k - 1)];
      if (!empty) continue;
      DropPointList.push_back(CellPlace(k));
      ++reserve.EmptyCells;
    }
  if (FTable) {
    FTable->SetDropPoints(DropPointList);
    FTable->SetDropAngles(DropAngleList);
  }

  DraggableList.clear();
  const bool reserveHolds =
      std::any_of(Rules.ReserveCards.begin(), Rules.ReserveCards.end(), [](const TCard* c) { return c; });
  if (reserveHolds) {
    if (reserve.AllPlayable || reserve.FreeCells)
      DraggableList.insert(DraggableList.end(), Rules.ReserveCards.begin(), Rules.ReserveCards.end());
    else
      DraggableList.push_back(Rules.ReserveCards.back());
  }
  if (!Rules.WasteCards.empty()) DraggableList.push_back(Rules.WasteCards.back());
  for (const TCardList& pile : Rules.ExceptPileCards)
    if (!pile.empty()) DraggableList.push_back(pile.back());

  const bool walk = t.Has(DragAnyFaceUp) || t.Has(DragRuns);
  for (const TCardList& pile : Rules.TableauPiles) {
    if (!walk) {
      DraggableList.push_back(pile.empty() ? nullptr : pile.back());
      if (t.Has(DragWholePile) && pile.size() > 1 && pile.front()) DraggableList.push_back(pile.front());
      continue;
    }
    if (IsEmpty(pile)) continue;
    const int top = TopIndex(pile);
    for (int k = top; k >= 0; --k) {
      TCard* lower = pile[size_t(k)];
      const int above = top - k;
      bool takes;
      if (t.Has(DragRuns)) {
        if (k == top) {
          takes = true;
        } else {
          const TCard* upper = pile[size_t(k + 1)];
          bool values = true;
          if (!SpecialCase(t, upper, lower)) {
            const int d = int(upper->Value) - int(lower->Value);
            if (t.Has(UpByOne) && d != 1) values = false;
            if (t.Has(DownByOne) && d != -1) values = false;
            if (t.Has(UpOrDownByOne) && std::abs(d) != 1) values = false;
          }
          takes = values && (!t.Has(SameSuit) || upper->Suit == lower->Suit) &&
                  (!t.Has(AlternateColour) || !SameColourOf(upper, lower)) &&
                  (!t.Has(SameColour) || SameColourOf(upper, lower)) && lower->FaceUp &&
                  (!reserve.FreeCells || above < SuperMove(Rules.Tableau.EmptyPiles));
        }
      } else {
        takes = lower && lower->FaceUp &&
                (!reserve.FreeCells || t.Has(UnlimitedMoves) || above <= reserve.EmptyCells);
      }
      if (!takes) break;
      DraggableList.push_back(lower);
    }
  }

  if (f.Has(FoundationsPlayable))
    for (size_t i = 0; i < Rules.FoundationPiles.size(); ++i) {
      TCard* top = TopCard(Rules.FoundationPiles[i]);
      if (!top) continue;
      if (FSpecial == TGameSpecial::Clock && f.Has(ClockFoundations) && int(top->Value) == int(i)) continue;
      DraggableList.push_back(top);
    }
  // Nothing may be dragged once the game is won (an empty list would let every card go).
  if (DraggableList.empty() || FWon) DraggableList.assign(1, nullptr);
  if (FTable) FTable->SetDraggableCards(DraggableList);
}
