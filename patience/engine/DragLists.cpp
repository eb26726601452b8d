// The cards the player may drag and the points a dragged card may be dropped on.

#include <algorithm>

#include "patience/engine/PatienceEngine.h"
#include "patience/engine/Piles.h"

// -----------------------------------------------------------------------------------------------
// Drag lists and drop points

int TPatienceEngine::SuperMove(int emptyPiles) const {
  const TPileRules& t = Rules.Tableau.Rules;
  if (t.Has(UnlimitedMoves)) return 13;
  const int cells = Rules.Reserve.EmptyCells + 1;
  if (t.Has(EmptyTakesKing) || emptyPiles <= 0) return cells;
  return cells << std::min(emptyPiles, 20);
}

// The drop points first: the tableau's walk reads the empty piles and cells they count.
void TPatienceEngine::SetLists() {
  SetDropLists();
  SetDraggableList();
}

// The drop points and angles, in the table's order: tableau piles, foundations, empty free
// cells. Counts the empty tableau piles and the empty cells on the way.
void TPatienceEngine::SetDropLists() {
  DropPointList.clear();
  DropAngleList.clear();
  Rules.Tableau.EmptyPiles = 0;
  Rules.Reserve.EmptyCells = 0;
  if (!Rules.Tableau.Rules.Has(NoDropTarget)) AddTableauDropPoints();
  if (!Rules.Foundations.Rules.Has(NoDropTarget)) AddFoundationDropPoints();
  if (Rules.Foundations.Rules.Has(UseDropAngles)) SetFoundationDropAngles();
  if (Rules.Reserve.FreeCells) AddCellDropPoints();
  if (FTable) {
    FTable->SetDropPoints(DropPointList);
    FTable->SetDropAngles(DropAngleList);
  }
}

// A pile's top card, or its place when it is empty.
void TPatienceEngine::AddTableauDropPoints() {
  for (size_t p = 0; p < Rules.TableauPlaces.size(); ++p) {
    const TCard* top = p < Rules.TableauPiles.size() ? TopCard(Rules.TableauPiles[p]) : nullptr;
    if (top) {
      DropPointList.push_back(TPoint(top->X, top->Y));
    } else {
      DropPointList.push_back(Rules.TableauPlaces[p]);
      ++Rules.Tableau.EmptyPiles;
    }
  }
}

// A foundation's place; a foundation fanned to the right drops at its top card's X.
void TPatienceEngine::AddFoundationDropPoints() {
  const TPileRules& f = Rules.Foundations.Rules;
  for (int i = 0; i < Rules.Foundations.Count && i < int(Rules.FoundationPlaces.size()); ++i) {
    const TPoint place = Rules.FoundationPlaces[size_t(i)];
    const TCard* top =
        i < int(Rules.FoundationPiles.size()) ? TopCard(Rules.FoundationPiles[size_t(i)]) : nullptr;
    DropPointList.push_back(TPoint(f.Has(RankInPrevious) && top ? top->X : place.X, place.Y));
  }
}

// Every drop point at angle 0 but the foundations', which take their own angles.
void TPatienceEngine::SetFoundationDropAngles() {
  DropAngleList.assign(DropPointList.size(), 0.0f);
  const size_t first = Rules.Tableau.Rules.Has(NoDropTarget) ? 0 : Rules.TableauPlaces.size();
  for (size_t i = 0; first + i < DropAngleList.size() && i < Rules.FoundationAngles.size(); ++i)
    DropAngleList[first + i] = Rules.FoundationAngles[i];
}

// The empty free cells only.
void TPatienceEngine::AddCellDropPoints() {
  TReserve& reserve = Rules.Reserve;
  for (int k = 1; k <= reserve.Count; ++k) {
    const bool empty = k - 1 >= int(Rules.ReserveCards.size()) || !Rules.ReserveCards[size_t(k - 1)];
    if (!empty) continue;
    DropPointList.push_back(CellPlace(k));
    ++reserve.EmptyCells;
  }
}

// The cards that may be dragged: the reserve's, the waste's top, the except piles' tops, the
// tableau's, the foundations' tops where they may be played from.
void TPatienceEngine::SetDraggableList() {
  DraggableList.clear();
  AddDraggableReserve();
  if (!Rules.WasteCards.empty()) DraggableList.push_back(Rules.WasteCards.back());
  for (const TCardList& pile : Rules.ExceptPileCards)
    if (!pile.empty()) DraggableList.push_back(pile.back());
  for (const TCardList& pile : Rules.TableauPiles) AddDraggableTableau(pile);
  if (Rules.Foundations.Rules.Has(FoundationsPlayable)) AddDraggableFoundations();
  // Nothing may be dragged once the game is won (an empty list would let every card go).
  if (DraggableList.empty() || FWon) DraggableList.assign(1, nullptr);
  if (FTable) FTable->SetDraggableCards(DraggableList);
}

// Every slot of free cells or of an all-playable reserve (empty ones too), else the last card.
void TPatienceEngine::AddDraggableReserve() {
  const TReserve& reserve = Rules.Reserve;
  const bool reserveHolds =
      std::any_of(Rules.ReserveCards.begin(), Rules.ReserveCards.end(), [](const TCard* c) { return c; });
  if (!reserveHolds) return;
  if (reserve.AllPlayable || reserve.FreeCells)
    DraggableList.insert(DraggableList.end(), Rules.ReserveCards.begin(), Rules.ReserveCards.end());
  else
    DraggableList.push_back(Rules.ReserveCards.back());
}

// A pile's top (an empty pile's nil slot too) and, where whole piles are dragged, its bottom card;
// where runs or any face-up card may be dragged, the cards from the top down as far as they go.
void TPatienceEngine::AddDraggableTableau(const TCardList& pile) {
  const TPileRules& t = Rules.Tableau.Rules;
  if (!t.Has(DragAnyFaceUp) && !t.Has(DragRuns)) {
    DraggableList.push_back(pile.empty() ? nullptr : pile.back());
    if (t.Has(DragWholePile) && pile.size() > 1 && pile.front()) DraggableList.push_back(pile.front());
    return;
  }
  if (IsEmpty(pile)) return;
  const int top = TopIndex(pile);
  for (int k = top; k >= 0; --k) {
    const bool takes = t.Has(DragRuns) ? CarriesRun(pile, k, top) : CarriesFaceUp(pile, k, top);
    if (!takes) break;
    DraggableList.push_back(pile[size_t(k)]);
  }
}

// Whether the card at k is dragged with the run above it: the top card always; a lower card when
// the card above follows it by the tableau's rules, it is face up, and (with free cells) the run
// from it is short enough to move through the cells and empty piles.
bool TPatienceEngine::CarriesRun(const TCardList& pile, int k, int top) const {
  if (k == top) return true;
  const TPileRules& t = Rules.Tableau.Rules;
  const TCard* lower = pile[size_t(k)];
  const TCard* upper = pile[size_t(k + 1)];
  return Follows(t, upper, lower, TFollowing::Run) && lower->FaceUp &&
         (!Rules.Reserve.FreeCells || top - k < SuperMove(Rules.Tableau.EmptyPiles));
}

// Whether the card at k is dragged with the cards above it where any face-up card may be: it is
// face up and (with free cells) the cards above it fit the empty cells.
bool TPatienceEngine::CarriesFaceUp(const TCardList& pile, int k, int top) const {
  const TCard* lower = pile[size_t(k)];
  const TReserve& reserve = Rules.Reserve;
  return lower && lower->FaceUp &&
         (!reserve.FreeCells || Rules.Tableau.Rules.Has(UnlimitedMoves) || top - k <= reserve.EmptyCells);
}

// The foundations' top cards; in The Clock a foundation whose top card has its own rank is done.
void TPatienceEngine::AddDraggableFoundations() {
  const TPileRules& f = Rules.Foundations.Rules;
  for (size_t i = 0; i < Rules.FoundationPiles.size(); ++i) {
    TCard* top = TopCard(Rules.FoundationPiles[i]);
    if (!top) continue;
    if (FSpecial == TGameSpecial::Clock && f.Has(ClockFoundations) && int(top->Value) == int(i)) continue;
    DraggableList.push_back(top);
  }
}
