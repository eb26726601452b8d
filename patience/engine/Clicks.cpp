// Card clicks: the stock (to the waste, onto each pile, and the two games with a stock of their
// own), pair games, the enlarged card of a right click, the auto-move request of a middle click,
// and the right click on the bare table.

#include <algorithm>
#include <optional>

#include "patience/engine/EngineScopes.h"
#include "patience/engine/PatienceEngine.h"
#include "patience/engine/Piles.h"

void TPatienceEngine::CardTable1CardClickEvent(TCard* card, TMouseButton button) {
  if (!FTable || !card) return;
  if (Busy || FTable->Dragging) return;
  // A press let through by a pause of another handler is not a move of the player's.
  if (FDepth > 0 && !FMakingMove) return;
  TSetFor<bool> consumed(FMakingMove, false);
  if (button == mbMiddle) {
    CardMiddleClicked(card);
    return;
  }
  TCommandScope scope(*this);
  TSetFor<bool> enabled(FTable->Enabled, false);
  TTableMotion motion(FTable);
  motion.NoSlowMove();
  const bool pairGame = Rules.Tableau.Rules.Has(PairGame);
  if (button == mbLeft && card->State == 0 && !pairGame) {
    StockClick();
  } else if (button == mbLeft && card->State != 0 && pairGame) {
    PairClick(card);
  } else if (button == mbRight && card->FaceUp && card->State != 0) {
    FTable->Sprite().Angle = card->Angle;
    Sound("claps.wav", 1, 100);
    FTable->Sprite().Zoom(card, 450, 0.01f, true);
  } else if (button == mbLeft && card->FaceUp) {
    Sound("drag.wav", 1, 100);
  }
}

void TPatienceEngine::TableClickEvent(int /*x*/, int /*y*/, TMouseButton button) {
  // Not while the table takes no card clicks (a picture lies over the cards).
  if (button == mbRight && !FTable->DisableCardClicks) ForcedAutoMovePass();
}

// -----------------------------------------------------------------------------------------------
// The stock

void TPatienceEngine::StockClick() {
  Trace("Left clicked on deck");
  AppendHistory(pkStockClick, 0, 0, 0);
  const int indexLine = HistoryList.Count() - 2;
  const int left = FDeck->CardsLeft(false);
  // Only a replayed record can click an empty stock: it stays a record and changes nothing.
  if (left == 0) return;
  if (Rules.Stock.DealCount < 1) {
    if (!DealStockToPiles(left)) return;
  } else if (Rules.Stock.Rules.Has(SpecialStock) && FSpecial == TGameSpecial::OneFoundation) {
    DealStockToFoundation();
    return;
  } else {
    DealStockToWaste(left, indexLine);
  }
  EndStockDeal();
}

// One card onto each pile; false (and a beep) when the game deals only while no pile is empty.
bool TPatienceEngine::DealStockToPiles(int left) {
  TGameRules& r = Rules;
  if (r.Stock.DealCount == -2 && std::any_of(r.TableauPiles.begin(), r.TableauPiles.end(),
                                             [](const TCardList& p) { return IsEmpty(p); })) {
    FHost->Beep();
    return false;
  }
  TTableMotion motion(FTable);
  motion.NoLiftOffset();
  const int n = std::min(left, std::min(r.Tableau.Count, int(r.TableauPiles.size())));
  for (int p = 0; p < n; ++p) {
    FTable->ProcessEvents();
    TCard* c = DealFromStock();
    if (!c) break;
    DealStockCardToPile(c, p);
  }
  return true;
}

// The card dealt onto pile p: on its top card (fanned below it in a fanned tableau) or into the
// empty pile's place, turned up.
void TPatienceEngine::DealStockCardToPile(TCard* c, int p) {
  TGameRules& r = Rules;
  TCardList& pile = r.TableauPiles[size_t(p)];
  const TCard* top = TopCard(pile);
  const TPoint to =
      r.Tableau.Rules.Has(Fanned) && top ? TPoint(top->X, top->Y + TableauFan) : r.TableauPlaces[size_t(p)];
  PutOnPile(pile, c);
  MoveTo(c, to.X, to.Y);
  // The first record links to the click; the others count their place in the group.
  AppendUndo(pkTableau, p + 1, p == 0 ? Link() : p + 1, int(pile.size()) - 1);
  Sound("drop0.wav", 5, 50);
  TurnUp(c);
}

// The deal's cards onto the waste, without lift or turn-over animation.
void TPatienceEngine::DealStockToWaste(int left, int indexLine) {
  TTableMotion motion(FTable);
  motion.NoLift();
  motion.NoLiftOffset();
  motion.NoTurnAnimation();
  const int n = std::min(left, Rules.Stock.DealCount);
  const bool eitherEnd = Rules.Stock.Rules.Has(SpecialStock) && FSpecial == TGameSpecial::Burleigh;
  const bool hadWaste = !Rules.WasteCards.empty();
  for (int k = 1; k <= n; ++k) {
    TCard* c = eitherEnd ? DealFromEitherEnd(hadWaste, indexLine) : DealFromStock();
    if (!c) break;
    DealStockCardToWaste(c, k);
  }
}

// The stock dealt from either end: a dealt card left unplayed turns the stock round, and the
// next comes from the other end (the click's record then says so on its index line).
TCard* TPatienceEngine::DealFromEitherEnd(bool hadWaste, int indexLine) {
  if (hadWaste && !Rules.WasteCards.empty() && Rules.WasteCards.back() == LastDealtCard)
    StockFromTop = !StockFromTop;
  if (StockFromTop) return DealFromStock();
  HistoryList[indexLine] = "1";
  Sound("drop0.wav", 5, 50);
  const TPoint stock = StockPlace();
  const int bottom = FDeck->CardsLeft(false);
  return FTable ? FTable->DealNthCard(bottom, stock.X, stock.Y) : FDeck->TakeNthCard(bottom);
}

// The k-th card of the deal onto the waste, turned up.
void TPatienceEngine::DealStockCardToWaste(TCard* c, int k) {
  Rules.WasteCards.push_back(c);
  LastDealtCard = c;
  const TPoint waste = WastePlace();
  MoveTo(c, waste.X, waste.Y);
  AppendUndo(pkWaste, 1, k == 1 ? Link() : k, int(Rules.WasteCards.size()) - 1);
  TurnUp(c);
  Sound("drop0.wav", 5, 50);
}

// The game with one foundation and no waste: the stock's card goes straight onto the foundation,
// at the table's own speeds.
void TPatienceEngine::DealStockToFoundation() {
  TGameRules& r = Rules;
  TCard* c = DealFromStock();
  if (!c || r.FoundationPiles.empty()) return;
  TCardList& pile = r.FoundationPiles[0];
  PutOnPile(pile, c);
  LastDealtCard = c;
  const TPoint place = r.FoundationPlaces[0];
  MoveTo(c, place.X, place.Y);
  TurnUp(c);
  StartSparkle(place);
  Sound("success.wav", 1, 100);
  RotateTo(c, FoundationAngle(0));
  AppendUndo(pkFoundation, 1, Link(), int(pile.size()) - 1);
  SetLists();
  if (FDeck->CardsLeft(false) == 0) ++r.Stock.PassesDone;
  CheckWin("Game has been won");
}

// After a deal: the lists again, the pass counted when the stock ran out (with the redeal offered
// while passes remain), and the auto-move.
void TPatienceEngine::EndStockDeal() {
  TStock& stock = Rules.Stock;
  SetLists();
  if (FDeck->CardsLeft(false) == 0) {
    ++stock.PassesDone;
    if (stock.PassesAllowed == 0 || stock.PassesDone < stock.PassesAllowed) SetRedealOffered(true);
  }
  if (FAutoMoveDepth == 0 && AutoMoveActive()) Automove(nullptr);
}

// -----------------------------------------------------------------------------------------------
// Pair games

void TPatienceEngine::PairClick(TCard* card) {
  if (Rules.Tableau.Rules.Has(ShowSelection) && !card->FaceUp) return;
  const TPilePos at = TableauPosOf(card);
  // Every click is recorded; a card found in no pile is recorded with pile -1 and chooses
  // nothing (a replay refuses such a record too).
  AppendHistory(pkTableau, at.Pile, at.Index, 0);
  if (at.Pile < 0) return;
  if (!SelectedCard) {
    SelectPairCard(card, at);
  } else if (SelectedCard == card) {
    UnselectPairCard(card);
  } else {
    PickSecondOfPair(card, at);
    SelectedCard = nullptr;
    SetLists();
  }
  CheckWin("Game has been won - CardClick event");
}

// Where a card lies in the tableau (searched from each pile's top); pile -1 when in none.
TPilePos TPatienceEngine::TableauPosOf(const TCard* card) const {
  for (size_t p = 0; p < Rules.TableauPiles.size(); ++p) {
    const TCardList& pile = Rules.TableauPiles[p];
    for (int k = TopIndex(pile); k >= 0; --k)
      if (pile[size_t(k)] == card) return {int(p), k};
  }
  return {-1, 0};
}

// The first card of a pair chosen: turned up, and shown enlarged where the game shows its choice.
void TPatienceEngine::SelectPairCard(TCard* card, TPilePos at) {
  SelectedCard = card;
  FSelected = at;
  Sound("drop.wav", 1, 100);
  TurnUp(card);
  if (!Rules.Tableau.Rules.Has(ShowSelection)) return;
  TSprite& sprite = FTable->Sprite();
  sprite.Source = card->Face;
  sprite.X = card->X;
  sprite.Y = card->Y;
  sprite.Angle = 0;
  sprite.Scale = 1.2f;
  sprite.Draw();
}

// The chosen card clicked again: the choice is taken back.
void TPatienceEngine::UnselectPairCard(TCard* card) {
  const TPileRules& t = Rules.Tableau.Rules;
  Sound("undo.wav", 1, 100);
  Sound("drop.wav", 1, 100);
  if (t.Has(ShowSelection)) {
    TSprite& sprite = FTable->Sprite();
    if (sprite.Visible) sprite.Erase();
  } else if (t.Has(DealFaceDown)) {
    TurnDown(card);
  }
  SelectedCard = nullptr;
}

// The second card of a pair chosen: shown, and where the game removes pairs, a pair of equal
// values leaves the table and any other pair turns back down.
void TPatienceEngine::PickSecondOfPair(TCard* card, TPilePos at) {
  const TPileRules& t = Rules.Tableau.Rules;
  TSprite& sprite = FTable->Sprite();
  const bool waitMode = FTable->SMR_WaitMode;
  TCard* selected = SelectedCard;
  const TPilePos selectedAt = FSelected;
  Sound("drop.wav", 1, 100);
  if (t.Has(ShowSelection)) {
    if (sprite.Visible) sprite.Erase();
  } else {
    TurnUp(card);
  }
  if (waitMode && t.Has(DealFaceDown)) Pause(400);
  if (!Rules.Foundations.Rules.Has(RemovePairs)) return;
  if (card->Value == selected->Value) {
    for (TCard* c : {card, selected}) {
      Sound("success.wav", 1, 100);
      if (waitMode) {
        sprite.Angle = 0;
        sprite.Zoom(c, 200, 0.2f, false);
      }
      TakeOff(c);
    }
    if (t.Has(ShowSelection))
      for (const TPilePos& p : {at, selectedAt}) UncoverPairPlace(p);
  } else {
    for (TCard* c : {card, selected}) {
      Sound("undo.wav", 1, 100);
      Sound("drop0.wav", 1, 100);
      if (t.Has(DealFaceDown)) TurnDown(c, true);
    }
  }
}

// Where a removed card lay: the card under it turns up, or the pile takes the stock's next card.
void TPatienceEngine::UncoverPairPlace(TPilePos p) {
  TCardList& pile = Rules.TableauPiles[size_t(p.Pile)];
  if (p.Index == 0 || pile[size_t(p.Index - 1)]->FaceUp)
    DealToPiles(p.Pile);
  else
    TurnUp(pile[size_t(p.Index - 1)]);
}

// A pile whose chosen card was removed takes the stock's next card as its new bottom card.
void TPatienceEngine::DealToPiles(int pile) {
  if (FDeck->CardsLeft(false) == 0) return;
  Pause(500, true);
  TCard* c = DealFromStock();
  if (!c) return;
  TurnUp(c);
  const TPoint place = Rules.TableauPlaces[size_t(pile)];
  MoveTo(c, place.X, place.Y);
  Rules.TableauPiles[size_t(pile)][0] = c;
  AppendUndo(pkStock, pile + 1, 102, 0);
  Sound("drop.wav", 5, 50);
}
