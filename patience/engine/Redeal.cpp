// The New command and the Redeal command: the waste back into the stock, or the tableau gathered
// into the stock and dealt again. The animated variants only show the cards going; the stock
// ends in the same order either way, so saved games replay the same.

#include <algorithm>

#include "patience/engine/EngineScopes.h"
#include "patience/engine/PatienceEngine.h"

void TPatienceEngine::NewExecute() {
  if (!FTable || Busy || CommandRunning() || Rules.GameName.empty()) return;
  TCommandScope scope(*this);
  FHost->SetCommand(TEngineCommand::NewGame, false);
  if (FHost->AnimatedRedeals()) CollectCards();
  StartGame(true);
}

// The tableau flies back to the stock face down, the pile growing up and to the left.
void TPatienceEngine::CollectCards() {
  Busy = true;  // StartGame clears it
  FHost->SetCommand(TEngineCommand::MenuBar, false);
  TTableMotion motion(FTable);
  motion.CardSpeedTimes(8);
  motion.TurnSpeedTimes(8);
  motion.NoLift();
  motion.NoSlowMove();
  const TPoint stock = StockPlace();
  const int every = FTable ? std::max(FTable->PlaceDeckOffset(), 1) : 1;
  int d = 0, moved = 0;
  for (TCardList& pile : Rules.TableauPiles) {
    if (!IsEmpty(pile)) Sound("waste0.wav", 1, 100);
    for (size_t k = pile.size(); k-- > 0;) {
      TCard* c = pile[k];
      if (!c) continue;
      TurnDown(c);
      MoveTo(c, stock.X + d, stock.Y + d);
      if (++moved % every == 0) --d;
      pile[k] = nullptr;
    }
    pile = EmptyPile();
  }
}

void TPatienceEngine::ReDealWastepileExecute() {
  if (!FTable || Busy) return;
  // Another command running refuses it, except a redo or a replay that replays its record.
  if (CommandRunning() && !FMakingMove) return;
  // Only while the command is offered: a redeal with cards left in the stock would put the waste
  // under them, and its undo would then deal the whole stock to the waste.
  const bool gather = Rules.Stock.DealCount < -2;
  if (!FRedealOffered || (!gather && FDeck->CardsLeft(false) > 0)) return;
  const bool animated = FHost->AnimatedRedeals() && !FQuiet && !FReplaying && !FMakingMove;
  TSetFor<bool> consumed(FMakingMove, false);
  TCommandScope scope(*this);
  Redeal(animated);
  if (AutoMoveActive() && Rules.Stock.DealCount == -4) Automove(nullptr);
}

void TPatienceEngine::Redeal(bool animated) {
  Trace(animated ? "Start NewRedealWastePile" : "Start ReDealWastepileExecute");
  Busy = true;
  AppendHistory(pkRedeal, 0, 0, 0);
  SetRedealOffered(false);
  Sound("waste.wav", 2, 100);
  FTable->ProcessEvents();
  const bool gather = Rules.Stock.DealCount < -2;

  if (animated) FlyToStock(gather);

  if (gather) {
    // A gathered tableau cannot be taken back.
    UndoList.Clear();
    UndoPointer = 0;
    RedealTableau();
  } else {
    for (size_t k = Rules.WasteCards.size(); k-- > 0;) TakeOff(Rules.WasteCards[k]);
    AppendUndo(pkStock, 1, Link(), 0);
    FDeck->PutBack(Rules.WasteCards);
    Rules.WasteCards.clear();
    ModifyDeck();
    SetLists();
  }
  Busy = false;
  Trace(animated ? "Exit NewReDealWastePile" : "Exit ReDealWastepileExecute");
}

// The cards are seen going to the stock, the pile growing up and to the left: the tableau's
// piles in order, each from the top (gather), or the waste from its top. The stock's order is
// the plain redeal's.
void TPatienceEngine::FlyToStock(bool gather) {
  TTableMotion motion(FTable);
  motion.CardSpeedTimes(2);
  motion.NoSlowMove();
  TSetFor<bool> animations(FTable->AnimationsOn, false);
  const TPoint stock = StockPlace();
  const int every = std::max(FTable->PlaceDeckOffset(), 1);
  int d = 0, moved = 0;
  auto fly = [&](TCard* c) {
    TurnDown(c);
    MoveTo(c, stock.X + d, stock.Y + d);
    if (++moved % every == 0) --d;
  };
  if (gather) {
    for (TCardList& pile : Rules.TableauPiles) {
      if (IsEmpty(pile)) continue;
      if (moved > 0) Sound("waste0.wav", 1, 100);
      for (size_t k = pile.size(); k-- > 0;)
        if (pile[k]) fly(pile[k]);
    }
  } else {
    for (size_t k = Rules.WasteCards.size(); k-- > 0;) fly(Rules.WasteCards[k]);
  }
}

// -----------------------------------------------------------------------------------------------
// The redeal of gathering games

void TPatienceEngine::RedealTableau() {
  // Piles in order, each bottom up; an empty pile holds no card to gather.
  TCardList gathered;
  for (TCardList& pile : Rules.TableauPiles) {
    for (TCard* c : pile)
      if (c) gathered.push_back(c);
    for (size_t k = pile.size(); k-- > 0;)
      if (pile[k]) TakeOff(pile[k]);
    pile = EmptyPile();
  }
  FDeck->PutBack(gathered);
  if (Rules.Stock.DealCount == -4) {
    FDeck->Shuffle(FDealRandom);
    Sound("shuffle.wav", 2, 100);
  }
  ModifyDeck();
  RedealPileByPile = true;
  {
    TTableMotion motion(FTable);
    motion.ForDeal(Rules.DealMode & dmFastDeal);
    TableauDeal();
  }
  SetLists();
  ++Rules.Stock.PassesDone;
  const int allowed = Rules.Stock.PassesAllowed;
  if (allowed == 0 || Rules.Stock.PassesDone < allowed) SetRedealOffered(true);
}
