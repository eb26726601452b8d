// The move history (the saved game's records), undo records, undo and redo, and the replay of
// records through the table.
//
// Undo records are four lines: the kind of pile the card went to, that pile + 1 (with a "-" in
// front when the move turned up the card it uncovered), the link and the card's index in the
// target pile. The link is minus the history's line count after the move's own record (so the
// record that names the source ends on the line before it), 1..100 for the later cards of one
// stock deal (the last one holds the deal's size), or 102 for the refill of an emptied pile (its
// first line is then the kind the card came from).

#include <algorithm>
#include <cstdlib>

#include "patience/engine/EngineScopes.h"
#include "patience/engine/PatienceEngine.h"
#include "patience/engine/Piles.h"

namespace {

constexpr const char* kKindWords[8] = {"Stock ",     "Reserve ",    "Tableau ",  "Foundation",
                                       "WastePile ", "ExceptPile ", "DeckClick", "ResetClick "};

// A decimal line of a record; false for anything else (a damaged file).
bool ParseInt(const std::string& s, int& value) {
  if (s.empty()) return false;
  char* end = nullptr;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (end == s.c_str() || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  value = int(v);
  return true;
}

}  // namespace

bool TPatienceEngine::CanUndo() const {
  return UndoPointer >= 4 && !Rules.Foundations.Rules.Has(NoUndo);
}

bool TPatienceEngine::CanRedo() const {
  return HistoryPointer >= 3 && HistoryPointer + 4 <= HistoryList.Count();
}

// A new move after an undo: the undone moves are gone, and the game no longer counts.
void TPatienceEngine::HistoryChanged() {
  HistoryList.Lines.resize(size_t(std::clamp(HistoryPointer, 0, HistoryList.Count())));
  UndoList.Lines.resize(size_t(std::clamp(UndoPointer, 0, UndoList.Count())));
  if (Redoing) return;
  Rules.Points = -666;
  ShowPointsLabel();
  const bool open = HistoryList.Count() < 3 || HistoryList[2] != "0";
  if (!Rules.GameClosed && open && FHost->ScoringOn())
    FHost->RecordGame(Rules.GameName, Rules.SaveName, Rules.Points, false);
  CloseGame();
  SetClosedCaption();
  FHost->SetCommand(TEngineCommand::Redo, false);
}

// -----------------------------------------------------------------------------------------------
// Taking a card out of a pile and putting it back

TCard* TPatienceEngine::GetCard(TPileKind kind, TPilePos pos) {
  TGameRules& r = Rules;
  if (kind == pkWaste) {
    if (r.WasteCards.empty()) return nullptr;
    TCard* c = r.WasteCards.back();
    r.WasteCards.pop_back();
    return c;
  }
  if (kind == pkReserve) {
    if (pos.Pile < 0 || pos.Pile >= int(r.ReserveCards.size())) return nullptr;
    TCard* c = r.ReserveCards[size_t(pos.Pile)];
    r.ReserveCards[size_t(pos.Pile)] = nullptr;
    return c;
  }
  std::vector<TCardList>& piles = kind == pkTableau ? r.TableauPiles : r.FoundationPiles;
  if (pos.Pile < 0 || pos.Pile >= int(piles.size())) return nullptr;
  TCardList& pile = piles[size_t(pos.Pile)];
  if (pos.Index < 0 || pos.Index >= int(pile.size()) || !pile[size_t(pos.Index)]) return nullptr;
  TCard* c = pile[size_t(pos.Index)];
  pile.erase(pile.begin() + pos.Index);
  if (pile.empty()) pile = EmptyPile();
  return c;
}

void TPatienceEngine::SetCard(TCard* card, TPileKind kind, TPilePos pos) {
  TGameRules& r = Rules;
  switch (kind) {
    case pkStock:
    case pkStockClick:
      // Off the table first: the deck takes back only cards that are not shown.
      TakeOff(card);
      if (pos.Index == 1) {
        FDeck->PutBack({card});
        StockFromTop = false;
      } else {
        FDeck->ReturnCard(card);
        StockFromTop = true;
      }
      ModifyDeck();
      break;
    case pkReserve:
      SetReserveCard(card, pos.Pile);
      break;
    case pkExcept:
      if (pos.Pile >= 0 && pos.Pile < int(r.ExceptPileCards.size()))
        r.ExceptPileCards[size_t(pos.Pile)].push_back(card);
      break;
    case pkWaste:
      r.WasteCards.push_back(card);
      break;
    default: {
      std::vector<TCardList>& piles = kind == pkTableau ? r.TableauPiles : r.FoundationPiles;
      if (pos.Pile < 0 || pos.Pile >= int(piles.size())) break;
      TCardList& pile = piles[size_t(pos.Pile)];
      PutOnPile(pile, card);
      break;
    }
  }
  SetLists();
}

// A card put back into the reserve: into its cell, in front of cells that closed up behind it, or
// into the row of a reserve whose cards are all playable; a plain reserve takes it on top.
void TPatienceEngine::SetReserveCard(TCard* card, int slot) {
  TGameRules& r = Rules;
  if (r.Reserve.FreeCells) {
    if (slot < 0 || slot >= int(r.ReserveCards.size())) return;
    if (r.Reserve.AllPlayable && r.ReserveCards[size_t(slot)]) {
      // The cells had closed up behind the card: it goes back in front of them.
      r.ReserveCards.insert(r.ReserveCards.begin() + slot, card);
      for (size_t k = r.ReserveCards.size(); k-- > 0;)
        if (!r.ReserveCards[k]) {
          r.ReserveCards.erase(r.ReserveCards.begin() + long(k));
          break;
        }
      RelayReserve();
    } else {
      r.ReserveCards[size_t(slot)] = card;
    }
  } else if (r.Reserve.AllPlayable) {
    const int at = std::clamp(slot, 0, int(r.ReserveCards.size()));
    r.ReserveCards.insert(r.ReserveCards.begin() + at, card);
    RelayReserve();
  } else {
    r.ReserveCards.push_back(card);
  }
}

// Every reserve card laid again on its slot's place.
void TPatienceEngine::RelayReserve() {
  for (TCard* c : Rules.ReserveCards)
    if (c) TakeOff(c);
  for (size_t j = 0; j < Rules.ReserveCards.size(); ++j) {
    TCard* c = Rules.ReserveCards[j];
    if (!c) continue;
    const TPoint p = ReserveSlotPlace(Rules, Layout, TableauFan, int(j));
    AddAt(c, p.X, p.Y);
  }
}

// Where a card taken back to its source lies.
TPoint TPatienceEngine::ReturnPlace(TPileKind sourceKind, bool turnedBack, TPilePos source) const {
  const TGameRules& r = Rules;
  switch (sourceKind) {
    case pkStock:
    case pkStockClick:
      return StockPlace();
    case pkReserve:
      return ReserveSlotPlace(r, Layout, TableauFan, source.Pile);
    case pkFoundation:
      if (source.Pile >= 0 && source.Pile < int(r.FoundationPlaces.size()))
        return r.FoundationPlaces[size_t(source.Pile)];
      return StockPlace();
    case pkWaste:
    case pkRedeal:
      return WastePlace();
    case pkExcept:
      return ExceptReturnPlace(source.Pile);
    default:
      return TableauReturnPlace(turnedBack, source.Pile);
  }
}

// Where a card goes back to an except pile: where the pile was dealt, or by its place in the
// position table, fanned on from its top card.
TPoint TPatienceEngine::ExceptReturnPlace(int pileIndex) const {
  const TGameRules& r = Rules;
  const TExceptPiles& e = r.ExceptPiles;
  if (pileIndex < 0 || pileIndex >= int(r.ExceptPileCards.size())) return StockPlace();
  const TCardList& pile = r.ExceptPileCards[size_t(pileIndex)];
  // Piles without a position table lie where they were dealt.
  if (!e.ByPositionTable) return pile.empty() ? StockPlace() : TPoint(pile.back()->X, pile.back()->Y);
  const TPoint at = pileIndex < int(e.Positions.size()) ? e.Positions[size_t(pileIndex)] : StockPlace();
  if (pile.empty()) return at;
  const TCard* top = pile.back();
  return e.FanHorizontal ? TPoint(top->X + Layout.SideFanOffset, top->Y)
                         : TPoint(top->X, top->Y + TableauFan);
}

// Where a card goes back to a tableau pile: its place, or one fan step beyond its top card (a
// quarter step onto a card that is turned back down).
TPoint TPatienceEngine::TableauReturnPlace(bool turnedBack, int pileIndex) const {
  const TGameRules& r = Rules;
  if (pileIndex < 0 || pileIndex >= int(r.TableauPiles.size())) return StockPlace();
  const TCard* top = TopCard(r.TableauPiles[size_t(pileIndex)]);
  if (!top) return r.TableauPlaces[size_t(pileIndex)];
  const TPoint p(top->X, top->Y);
  if (!r.Tableau.Rules.Has(Fanned)) return p;
  const int step = r.Tableau.Rules.Has(FanSideways) ? Layout.SideFanOffset : TableauFan;
  const int d = turnedBack ? QuarterStep(step) : step;
  return r.Tableau.Rules.Has(FanSideways) ? TPoint(p.X + d, p.Y) : TPoint(p.X, p.Y + d);
}

void TPatienceEngine::UndoMove(TPileKind sourceKind, TPileKind targetKind, bool turnedBack, TPilePos target,
                               TPilePos source) {
  if (sourceKind == pkRedeal) {
    // The waste redeal taken back: the whole stock goes to the waste again, in its order.
    TTableMotion motion(FTable);
    motion.CardSpeedTimes(4);
    motion.NoLift();
    motion.NoTurnAnimation();
    const TPoint waste = WastePlace();
    while (FDeck->CardsLeft(false) > 0) {
      TCard* c = DealFromStock();
      if (!c) break;
      MoveTo(c, waste.X, waste.Y);
      TurnUp(c);
      Rules.WasteCards.push_back(c);
    }
    SetLists();
    SetRedealOffered(true);
    return;
  }
  const int stockBefore = FDeck->CardsLeft(false);
  const TPoint to = ReturnPlace(sourceKind, turnedBack, source);
  TCard* card = GetCard(targetKind, target);
  if (!card) return;
  MoveTo(card, to.X, to.Y);
  SetCard(card, sourceKind, source);
  if (sourceKind == pkStockClick && stockBefore == 0) {
    --Rules.Stock.PassesDone;
    SetRedealOffered(false);
  }
  const TPileRules& f = Rules.Foundations.Rules;
  if (targetKind == pkFoundation && target.Index == 0 && f.Has(FirstSetsBase) &&
      std::all_of(Rules.FoundationPiles.begin(), Rules.FoundationPiles.end(),
                  [](const TCardList& p) { return IsEmpty(p); })) {
    Rules.Foundations.BaseCard = nullptr;
    FHost->SetFoundationLabel("   Move");
  }
}

// -----------------------------------------------------------------------------------------------
// Undo

// One undo record, read: where the card went, where it came from, the record's link, and whether
// the move had turned up the card it uncovered.
struct TPatienceEngine::TUndoStep {
  TPileKind TargetKind = pkStock;
  TPileKind SourceKind = pkStockClick;
  TPilePos Target;
  TPilePos Source;
  int Link = 0;
  bool TurnedBack = false;
};

namespace {

// The reserve slot a refill of an emptied pile took its card from: the last one, or with free
// cells (which keep their slots) the cell of the last card, every cell after it being empty.
int RefillReserveSlot(const TGameRules& r) {
  const int count = int(r.ReserveCards.size());
  if (!r.Reserve.FreeCells) return count;
  int slot = 0;
  for (size_t k = r.ReserveCards.size(); k-- > 0;)
    if (r.ReserveCards[k]) {
      slot = int(k) + 1;
      break;
    }
  return slot >= count ? count - 1 : slot;
}

}  // namespace

void TPatienceEngine::Undo1Click() {
  if (!FTable || Busy || CommandRunning() || !CanUndo()) return;
  TCommandScope scope(*this);
  Rules.GameClosed = false;
  FWon = false;
  FHost->StopEffects();
  Sound("drag.wav", 1, 100);
  TTableMotion motion(FTable);
  motion.NoSlowMove();

  // A stock deal's last record counts the group's records; the others undo one record.
  const int firstLink = UndoLine(2);
  const int steps = firstLink < 0 ? 1 : firstLink > 100 ? firstLink - 100 : firstLink;
  for (int step = 0; step < steps && UndoPointer >= 4; ++step) {
    TUndoStep u;
    if (!ReadUndoStep(u)) break;
    UndoStep(u);
  }
  SetLists();
  FHost->SetCommand(TEngineCommand::Redo, true);
}

// Line k (0..3) of the undo record before the pointer, as a number (0 when it is none).
int TPatienceEngine::UndoLine(int k) const {
  int v = 0;
  ParseInt(UndoList[UndoPointer - 4 + k], v);
  return v;
}

// The undo record before the pointer; false when the history record it links to is damaged.
bool TPatienceEngine::ReadUndoStep(TUndoStep& u) const {
  u.TargetKind = TPileKind(UndoLine(0));
  const std::string pileLine = UndoList[UndoPointer - 3];
  u.Link = UndoLine(2);
  u.Target.Index = UndoLine(3);
  if (u.Link < 0) {
    const int end = -u.Link;
    int kind = 0;
    // The record that names the move's source ends on the line before the link.
    if (end - 4 < 3 || end > HistoryList.Count() || !ParseInt(HistoryList[end - 4], kind) ||
        !ParseInt(HistoryList[end - 3], u.Source.Pile) || !ParseInt(HistoryList[end - 2], u.Source.Index))
      return false;
    u.SourceKind = TPileKind(kind);
  } else if (u.Link > 100) {
    // The refill of an emptied pile: the first line names the kind the card came from.
    u.SourceKind = u.TargetKind;
    u.TargetKind = pkTableau;
    if (u.SourceKind == pkReserve) {
      const int slot = RefillReserveSlot(Rules);
      u.Source = {slot, slot};
    }
  }
  int pile = 0;
  u.TurnedBack = !pileLine.empty() && pileLine[0] == '-';
  ParseInt(u.TurnedBack ? pileLine.substr(1) : pileLine, pile);
  u.Target.Pile = pile - 1;
  return true;
}

// One record taken back: the uncovered card turned down again, the foundations' count mended, the
// card (and the rest of its run) moved back, and the pointers stepped back over the record.
void TPatienceEngine::UndoStep(const TUndoStep& u) {
  if (u.TurnedBack) TurnDownUncovered(u);
  if (u.TargetKind == pkFoundation && u.SourceKind != pkFoundation) --Rules.FoundationCount;
  // A card that had left a foundation counted off its cards; it counts again going back.
  if (u.SourceKind == pkFoundation && u.TargetKind != pkFoundation && !Rules.Tableau.Rules.Empty())
    ++Rules.FoundationCount;
  UndoMove(u.SourceKind, u.TargetKind, u.TurnedBack, u.Target, u.Source);
  if (u.SourceKind == pkTableau && (u.TargetKind == pkTableau || u.TargetKind == pkFoundation))
    UndoRunRest(u);
  UndoPointer -= 4;
  if (u.Link < 0 && HistoryPointer >= -u.Link - 3) HistoryPointer = -u.Link - 4;
}

// The card the move had turned up, at the top of its source pile, turned down again.
void TPatienceEngine::TurnDownUncovered(const TUndoStep& u) {
  const TPilePos& source = u.Source;
  TCardList* from = nullptr;
  if (u.SourceKind == pkExcept && source.Pile >= 0 && source.Pile < int(Rules.ExceptPileCards.size()))
    from = &Rules.ExceptPileCards[size_t(source.Pile)];
  else if (u.SourceKind != pkExcept && source.Pile >= 0 && source.Pile < int(Rules.TableauPiles.size()))
    from = &Rules.TableauPiles[size_t(source.Pile)];
  if (from && !from->empty() && from->back()) TurnDown(from->back());
}

// The rest of a run follows its first card back, while cards lie at and above its place.
void TPatienceEngine::UndoRunRest(const TUndoStep& u) {
  const std::vector<TCardList>& piles =
      u.TargetKind == pkTableau ? Rules.TableauPiles : Rules.FoundationPiles;
  const TPilePos& target = u.Target;
  for (int guard = 0; guard < kMaxCards; ++guard) {
    if (target.Pile < 0 || target.Pile >= int(piles.size())) break;
    const TCardList& p = piles[size_t(target.Pile)];
    if (target.Index < 0 || target.Index >= int(p.size()) || !p[size_t(target.Index)]) break;
    UndoMove(u.SourceKind, u.TargetKind, false, target, u.Source);
  }
}

// -----------------------------------------------------------------------------------------------
// Redo

void TPatienceEngine::Redo1Click() {
  if (!FTable || Busy || CommandRunning() || !CanRedo()) return;
  TCommandScope scope(*this);
  FHost->SetCommand(TEngineCommand::Redo, false);
  TTableMotion motion(FTable);
  motion.NoSlowMove();
  TSetFor<bool> quiet(FQuiet, true);
  bool diverged = false;
  for (;;) {
    const TStringList history = HistoryList;
    const TStringList undo = UndoList;
    const int undoPointer = UndoPointer;
    const int historyPointer = HistoryPointer;
    const int points = Rules.Points;
    int record[4] = {0, 0, 0, 0};
    bool parsed = true;
    for (int k = 0; k < 4; ++k) parsed = parsed && ParseInt(HistoryList[HistoryPointer + k], record[k]);
    if (parsed) {
      TSetFor<bool> redoing(Redoing, true);
      MakeMove(TPileKind(record[0]), record[1], record[2], record[3]);
    }
    // The replayed move wrote its record again; the moves after it stay for the next redo.
    HistoryList = history;
    HistoryPointer = std::max(HistoryPointer, historyPointer + 4);
    Rules.Points = points;
    // A replay must write the undo records the move wrote the first time; if it does not, the
    // moves after it cannot be redone safely and are dropped.
    const bool same = UndoPointer >= undoPointer && UndoPointer <= undo.Count() &&
                      std::equal(UndoList.Lines.begin() + undoPointer, UndoList.Lines.begin() + UndoPointer,
                                 undo.Lines.begin() + undoPointer);
    if (same) {
      UndoList = undo;
    } else {
      diverged = true;
      HistoryList.Lines.resize(size_t(HistoryPointer));
      UndoList.Lines.resize(size_t(UndoPointer));
      break;
    }
    if (UndoPointer != undoPointer || HistoryPointer + 4 > HistoryList.Count()) break;
  }
  ShowPointsLabel();
  if (!diverged && UndoPointer == UndoList.Count())
    HistoryPointer = HistoryList.Count();
  else if (!diverged)
    FHost->SetCommand(TEngineCommand::Redo, true);
  SetLists();
}

// -----------------------------------------------------------------------------------------------
// Replay

TCard* TPatienceEngine::CardAtSource(TPileKind kind, int pile, int index) const {
  const TGameRules& r = Rules;
  auto at = [&](const std::vector<TCardList>& piles) -> TCard* {
    if (pile < 0 || pile >= int(piles.size())) return nullptr;
    const TCardList& p = piles[size_t(pile)];
    if (index < 0 || index >= int(p.size())) return nullptr;
    return p[size_t(index)];
  };
  switch (kind) {
    case pkStock: {
      for (int i = FDeck->Dealt + 1; i <= FDeck->CardCount; ++i)
        if (FDeck->Cards[size_t(i)]->State != -2) return FDeck->Cards[size_t(i)].get();
      return nullptr;
    }
    case pkReserve:
      return pile >= 0 && pile < int(r.ReserveCards.size()) ? r.ReserveCards[size_t(pile)] : nullptr;
    case pkTableau:
      return at(r.TableauPiles);
    case pkFoundation:
      return at(r.FoundationPiles);
    case pkWaste:
      return pile >= 0 && pile < int(r.WasteCards.size()) ? r.WasteCards[size_t(pile)] : nullptr;
    case pkExcept:
      return at(r.ExceptPileCards);
    default:
      return nullptr;
  }
}

bool TPatienceEngine::MakeMove(TPileKind kind, int pile, int index, int target) {
  if (!FTable) return false;
  if (kind >= 0 && kind <= 7)
    Trace("MakeMove: " + std::string(kKindWords[kind]) + std::to_string(pile) + " " + std::to_string(index) +
          " " + std::to_string(target));
  const bool pairGame = Rules.Tableau.Rules.Has(PairGame);
  if (kind == pkStockClick) {
    if (Busy || FTable->Dragging || pairGame) return false;
    TCommandScope scope(*this);
    TSetFor<bool> enabled(FTable->Enabled, false);
    TTableMotion motion(FTable);
    motion.NoSlowMove();
    StockClick();
    return true;
  }
  if (kind == pkRedeal) {
    const int before = HistoryList.Count();
    TSetFor<bool> token(FMakingMove, true);
    ReDealWastepileExecute();
    return HistoryList.Count() != before;
  }
  if (kind < pkStock || kind > pkExcept) {
    Trace("MakeMove: a record of no known kind is passed over");
    return false;
  }
  TCard* card = CardAtSource(kind, pile, index);
  // A record that names no card, or a card the player could not drag, moves nothing: it stays
  // in the history and costs what a refused drop costs.
  auto refused = [&] {
    TCommandScope scope(*this);
    AppendHistory(kind, pile, index, target);
    Sound("undo.wav", 1, 100);
    return false;
  };
  if (FTable->Animating() || FTable->DragCard || Busy) return false;
  if (pairGame) {
    if (kind != pkTableau || !card || !card->Displayed) return refused();
    TSetFor<bool> token(FMakingMove, true);
    FTable->PressCard(mbLeft, card->X + 1, card->Y + 1, card);
    return true;
  }
  if (!ReplayDraggable(kind, card)) return refused();
  const TPoint at = ReplayPressPoint(kind, card);
  const TCard* hit = FTable->CardAt(at.X, at.Y, false);
  {
    // The press and then the drop are the replay's own events (see the handlers).
    TSetFor<bool> token(FMakingMove, true);
    if (kind == pkStock ? hit && hit->State == 0 : hit == card)
      FTable->ClickAt(mbLeft, 0, at.X, at.Y);
    else
      FTable->PressCard(mbLeft, at.X, at.Y, card);  // another card lies over the press point
  }
  if (FTable->DragCard != card) {
    if (FTable->DragCard) FTable->RestoreCard();
    return refused();
  }
  Trace("MakeMove calls CardDropEvent: " + std::to_string(card->PointValue()) + " " + std::to_string(target));
  {
    TSetFor<bool> token(FMakingMove, true);
    CardTable1CardDropEvent(card, 0, 0, 0, 0, target);
  }
  SetLists();
  return FDropSucceeded;
}

// Whether the player could drag the record's card: from the stock where the table lets cards be
// dragged from the deck, elsewhere a card the drag lists offer, face up unless face-down cards drag.
bool TPatienceEngine::ReplayDraggable(TPileKind kind, const TCard* card) const {
  if (!card || !FTable->DragAndDrop || FWon) return false;
  if (kind == pkStock) return FTable->DragFromDeck;
  return card->State == 1 && (card->FaceUp || FTable->DragFaceDown) &&
         std::find(DraggableList.begin(), DraggableList.end(), card) != DraggableList.end();
}

// The press, as the player's: at the card's top-left corner (its bottom-right one when the
// tableau grows upward), or at the stock.
TPoint TPatienceEngine::ReplayPressPoint(TPileKind kind, const TCard* card) const {
  if (kind == pkStock) {
    const TPoint stock = StockPlace();
    return TPoint(stock.X + 1, stock.Y + 1);
  }
  if (kind == pkTableau && Rules.Tableau.Rules.Has(FanUpward))
    return TPoint(card->X + FDeck->CardWidth - 1, card->Y + FDeck->CardHeight - 1);
  return TPoint(card->X + 1, card->Y + 1);
}

void TPatienceEngine::ReplayMoves(const TStringList& lines) {
  if (!FTable) return;
  TSetFor<bool> replaying(FReplaying, true);
  // A saved game that was closed stays closed: its replayed win is not counted again.
  if (lines.Count() > 2 && lines[2] == "0" && HistoryList.Count() > 2) HistoryList[2] = "0";
  for (int k = 3; k + 3 < lines.Count(); k += 4) {
    int v[4];
    for (int i = 0; i < 4; ++i)
      if (!ParseInt(lines[k + i], v[i])) {
        Trace("ReplayMoves: line " + std::to_string(k + i) + " is not a number; the replay stops");
        return;
      }
    MakeMove(TPileKind(v[0]), v[1], v[2], v[3]);
  }
}
