// Card clicks: the stock (to the waste, onto each pile, and the two games with a stock of their
// own), pair games, the enlarged card of a right click, the auto-move request of a middle click,
// and the right click on the bare table.

#include <algorithm>
#include <optional>

#include "patience/engine/EngineScopes.h"
#include "patience/engine/PatienceEngine.h"

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
  if (button == mbRight) ForcedAutoMovePass();
}

// -----------------------------------------------------------------------------------------------
// The stock

void TPatienceEngine::StockClick() {
  Trace("Left clicked on deck");
  AppendHistory(pkStockClick, 0, 0, 0);
  const int indexLine = HistoryList.Count() - 2;
  TGameRules& r = Rules;
  const int left = FDeck->CardsLeft(false);
  // Only a replayed record can click an empty stock: it stays a record and changes nothing.
  if (left == 0) return;

  if (r.Stock.DealCount < 1) {
    // One card onto each pile.
    if (r.Stock.DealCount == -2 && std::any_of(r.TableauPiles.begin(), r.TableauPiles.end(),
                                               [](const TCardList& p) { return IsEmpty(p); })) {
      FHost->Beep();
      return;
    }
    TTableMotion motion(FTable);
    motion.NoLiftOffset();
    const int n = std::min(left, std::min(r.Tableau.Count, int(r.TableauPiles.size())));
    for (int p = 0; p < n; ++p) {
      FTable->ProcessEvents();
      TCard* c = DealFromStock();
      if (!c) break;
      TCardList& pile = r.TableauPiles[size_t(p)];
      const TCard* top = TopCard(pile);
      const TPoint to = r.Tableau.Rules.Has(Fanned) && top ? TPoint(top->X, top->Y + TableauFan)
                                                           : r.TableauPlaces[size_t(p)];
      if (top)
        pile.push_back(c);
      else
        pile[0] = c;
      MoveTo(c, to.X, to.Y);
      // The first record links to the click; the others count their place in the group.
      AppendUndo(pkTableau, p + 1, p == 0 ? Link() : p + 1, int(pile.size()) - 1);
      Sound("drop0.wav", 5, 50);
      TurnUp(c);
    }
  } else {
    std::optional<TTableMotion> motion(std::in_place, FTable);
    motion->NoLift();
    motion->NoLiftOffset();
    motion->NoTurnAnimation();
    const int n = std::min(left, r.Stock.DealCount);
    const bool special = r.Stock.Rules.Has(SpecialStock);
    const bool hadWaste = !r.WasteCards.empty();
    for (int k = 1; k <= n; ++k) {
      TCard* c = nullptr;
      if (special && FSpecial == TGameSpecial::Burleigh) {
        // A dealt card left unplayed turns the stock round: the next comes from the other end.
        if (hadWaste && !r.WasteCards.empty() && r.WasteCards.back() == LastDealtCard)
          StockFromTop = !StockFromTop;
        if (StockFromTop) {
          c = DealFromStock();
        } else {
          HistoryList[indexLine] = "1";
          Sound("drop0.wav", 5, 50);
          const TPoint stock = StockPlace();
          const int bottom = FDeck->CardsLeft(false);
          c = FTable ? FTable->DealNthCard(bottom, stock.X, stock.Y) : FDeck->TakeNthCard(bottom);
        }
      } else if (special && FSpecial == TGameSpecial::OneFoundation) {
        motion.reset();
        c = DealFromStock();
        if (!c || r.FoundationPiles.empty()) return;
        TCardList& pile = r.FoundationPiles[0];
        if (IsEmpty(pile))
          pile[0] = c;
        else
          pile.push_back(c);
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
        return;
      } else {
        c = DealFromStock();
      }
      if (!c) break;
      r.WasteCards.push_back(c);
      LastDealtCard = c;
      const TPoint waste = WastePlace();
      MoveTo(c, waste.X, waste.Y);
      AppendUndo(pkWaste, 1, k == 1 ? Link() : k, int(r.WasteCards.size()) - 1);
      TurnUp(c);
      Sound("drop0.wav", 5, 50);
    }
  }
  SetLists();
  if (FDeck->CardsLeft(false) == 0) {
    ++r.Stock.PassesDone;
    if (r.Stock.PassesAllowed == 0 || r.Stock.PassesDone < r.Stock.PassesAllowed) SetRedealOffered(true);
  }
  if (FAutoMoveDepth == 0 && AutoMoveActive()) Automove(nullptr);
}

// -----------------------------------------------------------------------------------------------
// Pair games

void TPatienceEngine::PairClick(TCard* card) {
  const TPileRules& t = Rules.Tableau.Rules;
  if (t.Has(ShowSelection) && !card->FaceUp) return;
  TPilePos at{-1, 0};
  for (size_t p = 0; p < Rules.TableauPiles.size() && at.Pile < 0; ++p) {
    const TCardList& pile = Rules.TableauPiles[p];
    for (int k = TopIndex(pile); k >= 0; --k)
      if (pile[size_t(k)] == card) {
        at = {int(p), k};
        break;
      }
  }
  // Every click is recorded; a card found in no pile is recorded with pile -1 and chooses
  // nothing (a replay refuses such a record too).
  AppendHistory(pkTableau, at.Pile, at.Index, 0);
  if (at.Pile < 0) return;
  TSprite& sprite = FTable->Sprite();
  const bool waitMode = FTable->SMR_WaitMode;

  if (!SelectedCard) {
    SelectedCard = card;
    FSelected = at;
    Sound("drop.wav", 1, 100);
    TurnUp(card);
    if (t.Has(ShowSelection)) {
      sprite.Source = card->Face;
      sprite.X = card->X;
      sprite.Y = card->Y;
      sprite.Angle = 0;
      sprite.Scale = 1.2f;
      sprite.Draw();
    }
    CheckWin("Game has been won - CardClick event");
    return;
  }
  if (SelectedCard == card) {
    Sound("undo.wav", 1, 100);
    Sound("drop.wav", 1, 100);
    if (t.Has(ShowSelection)) {
      if (sprite.Visible) sprite.Erase();
    } else if (t.Has(DealFaceDown)) {
      TurnDown(card);
    }
    SelectedCard = nullptr;
    CheckWin("Game has been won - CardClick event");
    return;
  }

  TCard* selected = SelectedCard;
  const TPilePos selectedAt = FSelected;
  Sound("drop.wav", 1, 100);
  if (t.Has(ShowSelection)) {
    if (sprite.Visible) sprite.Erase();
  } else {
    TurnUp(card);
  }
  if (waitMode && t.Has(DealFaceDown)) Pause(400);
  if (Rules.Foundations.Rules.Has(RemovePairs)) {
    if (card->Value == selected->Value) {
      Sound("success.wav", 1, 100);
      if (waitMode) {
        sprite.Angle = 0;
        sprite.Zoom(card, 200, 0.2f, false);
      }
      TakeOff(card);
      Sound("success.wav", 1, 100);
      if (waitMode) {
        sprite.Angle = 0;
        sprite.Zoom(selected, 200, 0.2f, false);
      }
      TakeOff(selected);
      if (t.Has(ShowSelection))
        for (const TPilePos& p : {at, selectedAt}) {
          TCardList& pile = Rules.TableauPiles[size_t(p.Pile)];
          if (p.Index == 0 || pile[size_t(p.Index - 1)]->FaceUp)
            DealToPiles(p.Pile);
          else
            TurnUp(pile[size_t(p.Index - 1)]);
        }
    } else {
      Sound("undo.wav", 1, 100);
      Sound("drop0.wav", 1, 100);
      if (t.Has(DealFaceDown)) TurnDown(card, true);
      Sound("undo.wav", 1, 100);
      Sound("drop0.wav", 1, 100);
      if (t.Has(DealFaceDown)) TurnDown(selected, true);
    }
  }
  SelectedCard = nullptr;
  SetLists();
  CheckWin("Game has been won - CardClick event");
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
