// Card drops: where the card came from and where it went, the history record, validation, the
// move of the card (and of the cards lying on it), the piles, undo records, the score, the refill
// of emptied piles, The Clock's turn of the pile, the win test and the auto-move that follows.

#include <algorithm>

#include "patience/engine/EngineScopes.h"
#include "patience/engine/PatienceEngine.h"
#include "patience/engine/Piles.h"
#include "platform/core/Numeric.h"

namespace {

bool Groups(const TPileRules& t) {
  return t.Has(DragAnyFaceUp) || t.Has(DragWholePile) || t.Has(DragRuns);
}

// Thirteen cards from the source up, each one lower than the card under it, under the
// foundation's suit rules.
bool WholeSuitAt(const TGameRules& r, TPileKind kind, const TPilePos& source) {
  if (kind != pkTableau) return false;
  const TCardList& pile = r.TableauPiles[size_t(source.Pile)];
  return int(pile.size()) - source.Index == 13 &&
         IsRun(WholeSuitRules(r.Foundations.Rules), pile, source.Index, TFollowing::Run);
}

// Where a dragged card lies, pile kind by pile kind: its place and the pile the history records.
// Nothing is set when the card is not there.

// The top card of an except pile.
bool InExceptPiles(const TGameRules& r, const TCard* card, TPilePos& pos, int& recordPile) {
  for (size_t i = 0; i < r.ExceptPileCards.size(); ++i) {
    const TCardList& pile = r.ExceptPileCards[i];
    if (pile.empty() || pile.back() != card) continue;
    pos = {int(i), int(pile.size()) - 1};
    recordPile = int(i);
    return true;
  }
  return false;
}

// Any card of a reserve whose cards are all playable (or fanned, or free cells), else its top card.
bool InReserve(const TGameRules& r, const TCard* card, TPilePos& pos, int& recordPile) {
  const TReserve& reserve = r.Reserve;
  const bool any = reserve.AllPlayable || reserve.VerticalFan || reserve.FreeCells;
  for (size_t s = 0; s < r.ReserveCards.size(); ++s) {
    if (r.ReserveCards[s] != card) continue;
    if (!any && s + 1 != r.ReserveCards.size()) return false;
    pos = {int(s), 0};
    recordPile = (reserve.AllPlayable || reserve.FreeCells) ? int(s) : int(r.ReserveCards.size()) - 1;
    return true;
  }
  return false;
}

// The top card of a foundation.
bool InFoundations(const TGameRules& r, const TCard* card, TPilePos& pos, int& recordPile) {
  for (size_t f = 0; f < r.FoundationPiles.size(); ++f) {
    if (TopCard(r.FoundationPiles[f]) != card) continue;
    pos = {int(f), TopIndex(r.FoundationPiles[f])};
    recordPile = int(f);
    return true;
  }
  return false;
}

// Any card of a tableau pile.
bool InTableau(const TGameRules& r, const TCard* card, TPilePos& pos, int& recordPile) {
  for (size_t p = 0; p < r.TableauPiles.size(); ++p) {
    const TCardList& pile = r.TableauPiles[p];
    for (int k = TopIndex(pile); k >= 0; --k)
      if (pile[size_t(k)] == card) {
        pos = {int(p), k};
        recordPile = int(p);
        return true;
      }
  }
  return false;
}

}  // namespace

// -----------------------------------------------------------------------------------------------
// Table events

void TPatienceEngine::AttachTable() {
  if (!FTable) return;
  FTable->OnCardDropEvent = [this](TCard* c, int x, int y, int rx, int ry, int i) {
    CardTable1CardDropEvent(c, x, y, rx, ry, i);
  };
  FTable->OnCardClickEvent = [this](TCard* c, TMouseButton b) { CardTable1CardClickEvent(c, b); };
  FTable->OnTableClickEvent = [this](int x, int y, TMouseButton b) { TableClickEvent(x, y, b); };
  FTable->OnCardRestoredEvent = [this] { CardRestoredEvent(); };
}

void TPatienceEngine::CardRestoredEvent() {
  Sound("drop0.wav", 1, 100);
}

// -----------------------------------------------------------------------------------------------
// Small helpers

void TPatienceEngine::SetRedealOffered(bool offered) {
  FRedealOffered = offered;
  FHost->SetCommand(TEngineCommand::Redeal, offered);
}

void TPatienceEngine::ShowPointsLabel() {
  if (FHost->ScoringOn()) FHost->ShowPoints(Rules.Points);
}

void TPatienceEngine::CloseGame() {
  if (HistoryList.Count() >= 3 && HistoryList[2] != "0") HistoryList[2] = "0";
  FHost->CloseGameFile(Rules.SaveName);
}

void TPatienceEngine::SetClosedCaption() {
  std::string name = Rules.GameName;
  if (!Rules.SaveName.empty()) {
    const size_t slash = Rules.SaveName.find_last_of("/\\");
    name = slash == std::string::npos ? Rules.SaveName : Rules.SaveName.substr(slash + 1);
  }
  FHost->SetCaption("Patience. Game: " + name + "  [Closed Game]");
}

void TPatienceEngine::StartSparkle(TPoint place) {
  // The last cards of a game (those that play "BEEPSPAC.WAV") sparkle yellow.
  const bool lastCards = Rules.FoundationCount + 1 >= (Rules.Stock.Decks == 2 ? 88 : 44);
  FHost->Sparkle(
      TRect(place.X - 15, place.Y - 15, place.X + FDeck->CardWidth + 15, place.Y + FDeck->CardHeight + 15),
      lastCards ? kLastCardsSparkleColour : kSparkleColour);
}

TPoint TPatienceEngine::FoundationPoint(int f) const {
  const TPoint place = Rules.FoundationPlaces[size_t(f)];
  const TCard* top =
      f < int(Rules.FoundationPiles.size()) ? TopCard(Rules.FoundationPiles[size_t(f)]) : nullptr;
  return TPoint(Rules.Foundations.Rules.Has(RankInPrevious) && top ? top->X : place.X, place.Y);
}

TPoint TPatienceEngine::StepBeyond(TPoint p, int steps) const {
  if (Rules.Tableau.Rules.Has(FanSideways)) return TPoint(p.X + steps * Layout.SideFanOffset, p.Y);
  return TPoint(p.X, p.Y + steps * TableauFan);
}

void TPatienceEngine::AppendHistory(TPileKind kind, int pile, int index, int target) {
  if (HistoryList.Count() > HistoryPointer) HistoryChanged();
  HistoryList.Add(std::to_string(kind));
  HistoryList.Add(std::to_string(pile));
  HistoryList.Add(std::to_string(index));
  HistoryList.Add(std::to_string(target));
  HistoryPointer = HistoryList.Count();
}

void TPatienceEngine::AppendUndo(TPileKind kind, int pilePlus1, int link, int index) {
  if (UndoList.Count() > UndoPointer) UndoList.Lines.resize(size_t(std::max(UndoPointer, 0)));
  UndoList.Add(std::to_string(kind));
  UndoList.Add(std::to_string(pilePlus1));
  UndoList.Add(std::to_string(link));
  UndoList.Add(std::to_string(index));
  UndoPointer = UndoList.Count();
}

// The last undo record's move turned up the card it uncovered: undo turns it down again.
void TPatienceEngine::MarkTurnedUp() {
  if (UndoList.Count() <= 2) return;
  std::string& line = UndoList[UndoList.Count() - 3];
  if (line.empty() || line[0] != '-') line = "-" + line;
}

// The refused drop's card flies home.
void TPatienceEngine::Refuse() {
  Sound("undo.wav", 1, 100);
  if (FTable && FTable->DragCard) FTable->RestoreCard();
}

// -----------------------------------------------------------------------------------------------
// Source and target

bool TPatienceEngine::FindSource(const TCard* card, TPileKind& kind, TPilePos& pos, int& recordPile) const {
  const TGameRules& r = Rules;
  if (InExceptPiles(r, card, pos, recordPile)) {
    kind = pkExcept;
    return true;
  }
  if (InReserve(r, card, pos, recordPile)) {
    kind = pkReserve;
    return true;
  }
  if (!r.WasteCards.empty() && r.WasteCards.back() == card) {
    kind = pkWaste;
    pos = {int(r.WasteCards.size()) - 1, 0};
    recordPile = pos.Pile;
    return true;
  }
  if (FTable && FTable->DraggingFromDeck && FTable->DragCard == card) {
    kind = pkStock;
    pos = {0, 0};
    recordPile = 0;
    return true;
  }
  if (r.Foundations.Rules.Has(FoundationsPlayable) && InFoundations(r, card, pos, recordPile)) {
    kind = pkFoundation;
    return true;
  }
  kind = pkTableau;
  if (InTableau(r, card, pos, recordPile)) return true;
  pos = {-1, 0};
  recordPile = -1;
  return false;
}

// The dragged card lies wherever it was let go, which may be exactly on another pile's point; its
// own pile is judged by where the card rests (home).
bool TPatienceEngine::FindTarget(int index, const TCard* dragged, TPoint home, TPileKind& kind,
                                 TPilePos& pos) const {
  if (index < 0 || index >= int(DropPointList.size())) return false;
  const TPoint point = DropPointList[size_t(index)];
  const TGameRules& r = Rules;
  if (r.Reserve.FreeCells)
    for (int k = 1; k <= r.Reserve.Count && k <= int(r.ReserveCards.size()); ++k)
      if (!r.ReserveCards[size_t(k - 1)] && CellPlace(k) == point) {
        kind = pkReserve;
        pos = {k - 1, 0};
        return true;
      }
  for (int f = 0; f < int(r.FoundationPiles.size()) && f < int(r.FoundationPlaces.size()); ++f) {
    const TPoint place = r.FoundationPlaces[size_t(f)];
    const TCard* top = TopCard(r.FoundationPiles[size_t(f)]);
    const int topX = top == dragged ? home.X : top ? top->X : 0;
    if (place == point ||
        (r.Foundations.Rules.Has(RankInPrevious) && top && topX == point.X && place.Y == point.Y)) {
      if (place == point) FHost->Trace("CardDropEvent: Foundation drop");
      kind = pkFoundation;
      pos = {f, TopIndex(r.FoundationPiles[size_t(f)])};
      return true;
    }
  }
  for (int p = 0; p < int(r.TableauPiles.size()) && p < int(r.TableauPlaces.size()); ++p) {
    const TCardList& pile = r.TableauPiles[size_t(p)];
    const TCard* top = TopCard(pile);
    const TPoint at = top == dragged ? home : top ? TPoint(top->X, top->Y) : r.TableauPlaces[size_t(p)];
    if (at == point) {
      kind = pkTableau;
      pos = {p, TopIndex(pile)};
      return true;
    }
  }
  return false;
}

// -----------------------------------------------------------------------------------------------
// The drop

void TPatienceEngine::CardTable1CardDropEvent(TCard* card, int /*x*/, int /*y*/, int /*relX*/, int /*relY*/,
                                              int index) {
  if (!FTable || !card) return;
  // A release that reaches the engine while one of its own handlers runs was let through by a
  // pause: the card goes home and nothing is recorded.
  if (FDepth > 0 && !FMakingMove) {
    if (FTable->DragCard) FTable->RestoreCard();
    return;
  }
  // A replayed drop is let in once: events that come while it runs are strangers again.
  TSetFor<bool> consumed(FMakingMove, false);
  TCommandScope scope(*this);
  FDropSucceeded = false;
  Trace("CardDropEvent: Value " + std::to_string(card->PointValue()) + " Index " + std::to_string(index));

  // 1. Where the card came from, recorded in the history before anything is judged.
  TPileKind kind = pkTableau;
  int recordPile = -1;
  TPilePos source;
  const bool found = FindSource(card, kind, source, recordPile);
  const bool indexed = kind == pkTableau || kind == pkFoundation || kind == pkExcept;
  AppendHistory(kind, recordPile, found && indexed ? source.Index : 0, index);

  // 2. Where it went, and 3. whether it may go there.
  TPileKind targetKind = pkTableau;
  TPilePos target;
  if (!DropTargetOf(card, index, found, targetKind, target) ||
      !DropAllowed(card, kind, source, targetKind, target)) {
    Refuse();
    return;
  }

  // 4. The card (with the cards lying on it) goes onto the target.
  const TPoint point = DropPointList[size_t(index)];
  if (targetKind == pkTableau && Groups(Rules.Tableau.Rules) && kind == pkTableau)
    MoveRun(source, target.Pile, IsEmpty(Rules.TableauPiles[size_t(target.Pile)]), point);
  else
    PlaceCard(card, kind, source, targetKind, target.Pile, point);

  // 5. The lists, the win and the auto-move that follows.
  SetLists();
  CheckWin("Game has been won");
  if (!FWon && FAutoMoveDepth == 0 && AutoMoveActive()) Automove(nullptr);
  // The passes that followed report their own drops; this one moved its card.
  FDropSucceeded = true;
}

// Refused here: a release off every drop point; a source found nowhere, a drop point that does
// not exist or matches no pile, or a card the table is not holding (a damaged record cannot move
// cards).
bool TPatienceEngine::DropTargetOf(TCard* card, int index, bool sourceFound, TPileKind& kind, TPilePos& pos) {
  if (index == -1) {
    Trace("CardDropEvent: Invalid move");
    return false;
  }
  const TPoint home(FTable->DragOriginX, FTable->DragOriginY);
  return sourceFound && FTable->DragCard == card && FindTarget(index, card, home, kind, pos);
}

// A card with others lying on it goes to no cell and to a foundation only as a whole suit; then
// the rules of the target; a WholeSuitsOnly foundation takes nothing but a whole suit.
bool TPatienceEngine::DropAllowed(const TCard* card, TPileKind kind, const TPilePos& source,
                                  TPileKind targetKind, const TPilePos& target) const {
  const TPileRules& f = Rules.Foundations.Rules;
  const bool notTop = kind == pkTableau && source.Index != TopIndex(Rules.TableauPiles[size_t(source.Pile)]);
  if (Groups(Rules.Tableau.Rules) && notTop &&
      (targetKind == pkReserve || (targetKind == pkFoundation && !f.Has(WholeSuitsOnly))))
    return false;
  if (!ValidDrop(card, targetKind, target, kind, source)) return false;
  if (targetKind == pkFoundation && f.Has(WholeSuitsOnly)) return WholeSuitAt(Rules, kind, source);
  return true;
}

// One card goes onto the target pile or cell: put down on the table, taken from its source, and
// stored in the target.
void TPatienceEngine::PlaceCard(TCard* card, TPileKind kind, const TPilePos& source, TPileKind targetKind,
                                int target, TPoint point) {
  TCard* stored = LayDown(card, kind, source, targetKind, target, point);
  TrimSource(kind, source, targetKind == pkReserve);
  StoreDropped(card, stored, targetKind, target);
}

// The card put down on the table with its sound and undo record (a foundation's: its sparkle and
// the rest of a whole suit). Returns what the target stores: the card, or a whole suit's last card.
TCard* TPatienceEngine::LayDown(TCard* card, TPileKind kind, const TPilePos& source, TPileKind targetKind,
                                int target, TPoint point) {
  if (targetKind == pkFoundation) {
    PlaceOnFoundation(card, kind, source, target, point);
    const bool wholeSuit = Rules.Foundations.Rules.Has(WholeSuitsOnly) && kind == pkTableau;
    return wholeSuit ? Rules.TableauPiles[size_t(source.Pile)].back() : card;
  }
  const int held = targetKind == pkTableau ? CardCountOf(Rules.TableauPiles[size_t(target)]) : 0;
  if (targetKind == pkTableau && Rules.Tableau.Rules.Has(Fanned) && held > 0) {
    const TPoint to = StepBeyond(point, 1);
    FTable->DropCard(to.X, to.Y);
    AppendUndo(pkTableau, target + 1, Link(), held);
    Sound("drop.wav", 1, 100);
  } else {
    FTable->DropCard(point.X, point.Y);
    Sound("drop.wav", 1, 100);
    AppendUndo(targetKind, target + 1, Link(), held);
  }
  return card;
}

// The target pile or cell takes the stored card; a first card on a foundation may fix the base,
// and The Clock turns its foundation after every later one.
void TPatienceEngine::StoreDropped(TCard* card, TCard* stored, TPileKind targetKind, int target) {
  if (targetKind == pkReserve) {
    Rules.ReserveCards[size_t(target)] = stored;
    return;
  }
  if (targetKind != pkFoundation) {
    PutOnPile(Rules.TableauPiles[size_t(target)], stored);
    return;
  }
  TCardList& pile = Rules.FoundationPiles[size_t(target)];
  const bool wasEmpty = IsEmpty(pile);
  PutOnPile(pile, stored);
  if (wasEmpty)
    CommitBase(card);
  else if (Rules.Foundations.Rules.Has(ClockFoundations) && FSpecial == TGameSpecial::Clock)
    ClockSpecial(target);
}

// The dragged card and the cards lying on it go onto a tableau pile as one move.
void TPatienceEngine::MoveRun(const TPilePos& source, int target, bool targetEmpty, TPoint point) {
  TCardList& from = Rules.TableauPiles[size_t(source.Pile)];
  TCardList& to = Rules.TableauPiles[size_t(target)];
  const TCardList run(from.begin() + source.Index, from.end());
  const int first = targetEmpty ? 0 : int(to.size());
  if (targetEmpty) to.clear();
  to.insert(to.end(), run.begin(), run.end());

  TTableMotion motion(FTable);
  const TPoint at = targetEmpty ? point : StepBeyond(point, 1);
  FTable->DropCard(at.X, at.Y);
  Sound("drop.wav", 5, 10);
  AppendUndo(pkTableau, target + 1, Link(), first);
  motion.NoSlowMove();
  for (size_t d = 1; d < run.size(); ++d) {
    const TPoint p = StepBeyond(point, targetEmpty ? int(d) : int(d) + 1);
    MoveTo(run[d], p.X, p.Y);
    Sound("drop0.wav", 5, 10);
  }
  TrimSource(pkTableau, source);
}

// The card goes onto foundation f (and, for a whole suit, the rest of the run follows).
void TPatienceEngine::PlaceOnFoundation(TCard* card, TPileKind kind, const TPilePos& source, int f,
                                        TPoint point) {
  const TPileRules& rules = Rules.Foundations.Rules;
  const TPoint place = Rules.FoundationPlaces[size_t(f)];
  const TCardList& pile = Rules.FoundationPiles[size_t(f)];
  const int held = CardCountOf(pile);
  if (rules.Has(UseDropAngles)) {
    FTable->DropCard(place.X, place.Y, true, FoundationAngle(f));
    // The Clock draws the whole pile again after the drop.
    if (FSpecial == TGameSpecial::Clock) TakeOff(card);
  } else if (rules.Has(RankInPrevious) && held > 0) {
    FTable->DropCard(point.X + Layout.SideFanOffset, point.Y);
  } else {
    Trace("CardDropEvent: Simple drop");
    FTable->DropCard(place.X, place.Y);
  }
  Trace("CardDropEvent: Flourish called");
  StartSparkle(place);
  Sound("success.wav", 1, 100);
  AppendUndo(pkFoundation, f + 1, Link(), held);

  if (!rules.Has(WholeSuitsOnly) || kind != pkTableau) return;
  // The other twelve cards of the suit follow; a completed suit cannot be undone.
  const TCardList& from = Rules.TableauPiles[size_t(source.Pile)];
  TTableMotion motion(FTable);
  motion.CardSpeedTimes(4);
  motion.NoSlowMove();
  TCard* previous = card;
  for (size_t k = size_t(source.Index) + 1; k < from.size(); ++k) {
    TCard* c = from[k];
    Pause(150, true);
    Sound("success.wav", 1, 100);
    MoveTo(c, place.X, place.Y);
    TakeOff(previous);
    TakeOff(c);
    AddAt(c, place.X, place.Y);
    previous = c;
  }
  UndoList.Clear();
  UndoPointer = 0;
}

// A card put on an empty foundation of a base-setting game fixes the base.
void TPatienceEngine::CommitBase(TCard* card) {
  const TPileRules& rules = Rules.Foundations.Rules;
  if (!rules.Has(FirstSetsBase)) return;
  if (Rules.Foundations.BaseCard && !rules.Has(EachSetsBase)) return;
  Rules.Foundations.BaseCard = card;
  if (!rules.Has(EachSetsBase) && card->Value <= cvKing) FHost->SetFoundationLabel(kValueWords[card->Value]);
}

// The pile the card left.
void TPatienceEngine::TrimSource(TPileKind kind, const TPilePos& source, bool intoCell) {
  switch (kind) {
    case pkExcept: {
      TCardList& pile = Rules.ExceptPileCards[size_t(source.Pile)];
      pile.resize(size_t(source.Index));
      if (!pile.empty()) TurnUpUncovered(pile.back());
      break;
    }
    case pkReserve:
      TrimReserve(source.Pile, intoCell);
      break;
    case pkWaste:
      Rules.WasteCards.pop_back();
      break;
    case pkTableau:
      TrimTableauPile(source);
      break;
    case pkFoundation:
      TrimFoundation(source);
      break;
    default:
      break;
  }
}

// The card under the one that left, when face down, is turned up; marked only when a card was
// really turned, so undo turns it down again.
void TPatienceEngine::TurnUpUncovered(TCard* card) {
  if (card->FaceUp) return;
  TurnUp(card);
  MarkTurnedUp();
}

// Every card playable: the card is taken out and the later ones close up. Free cells keep their
// number (the empty one goes to the end, the cards to their new cells), and a card moved to
// another cell leaves its own empty, so the cell it went to stays where it was.
void TPatienceEngine::TrimReserve(int slot, bool intoCell) {
  TGameRules& r = Rules;
  if (r.Reserve.AllPlayable && !(r.Reserve.FreeCells && intoCell)) {
    r.ReserveCards.erase(r.ReserveCards.begin() + slot);
    if (r.Reserve.FreeCells) {
      r.ReserveCards.push_back(nullptr);
      RelayReserve();
    }
  } else if (r.Reserve.FreeCells) {
    r.ReserveCards[size_t(slot)] = nullptr;
  } else {
    r.ReserveCards.pop_back();
  }
}

// The card and those on it leave; the card below is turned up, or the emptied pile is refilled.
void TPatienceEngine::TrimTableauPile(const TPilePos& source) {
  TCardList& pile = Rules.TableauPiles[size_t(source.Pile)];
  if (source.Index > 0) {
    TurnUpUncovered(pile[size_t(source.Index - 1)]);
    pile.resize(size_t(source.Index));
    return;
  }
  pile = EmptyPile();
  if (Rules.Tableau.Rules.Has(RefillEmptyPiles)) RefillEmptyPile(source.Pile);
}

// A card taken back off a foundation costs its score. Scores follow the sounds: nothing is
// counted while nothing is shown.
void TPatienceEngine::TrimFoundation(const TPilePos& source) {
  TGameRules& r = Rules;
  TCardList& pile = r.FoundationPiles[size_t(source.Pile)];
  if (source.Index > 0)
    pile.resize(size_t(source.Index));
  else
    pile = EmptyPile();
  if (!ScreenUpdates()) return;
  if (!r.Tableau.Rules.Empty()) {
    --r.FoundationCount;
    r.Points = SaturatingSub(r.Points, ScoreValues.Success);
  } else {
    r.Points = SaturatingAdd(r.Points, ScoreValues.Drop);
  }
  if (!FQuiet) ShowPointsLabel();
}

// An emptied tableau pile takes a card at once.
void TPatienceEngine::RefillEmptyPile(int p) {
  const TPileRules& t = Rules.Tableau.Rules;
  TCard* card = nullptr;
  TPileKind from = pkStock;  // set with the card below
  auto fromReserve = [&] {
    for (size_t s = Rules.ReserveCards.size(); s-- > 0;) {
      if (!Rules.ReserveCards[s]) continue;
      card = Rules.ReserveCards[s];
      if (Rules.Reserve.FreeCells)
        Rules.ReserveCards[s] = nullptr;
      else
        Rules.ReserveCards.erase(Rules.ReserveCards.begin() + long(s));
      from = pkReserve;
      return;
    }
  };
  auto fromWaste = [&] {
    if (Rules.WasteCards.empty()) return;
    card = Rules.WasteCards.back();
    Rules.WasteCards.pop_back();
    from = pkWaste;
  };
  auto fromStock = [&] {
    if (FDeck->CardsLeft(false) == 0) return;
    card = DealFromStock();
    if (!card) return;
    TurnUp(card);
    from = pkStock;
  };
  if (t.Has(FromReserve)) {
    fromReserve();
  } else if (t.Has(RefillFromStock)) {
    fromStock();
    if (!card) fromWaste();
  } else {
    fromWaste();
    if (!card) fromStock();
  }
  if (!card) return;
  Pause(500, true);
  const TPoint place = Rules.TableauPlaces[size_t(p)];
  MoveTo(card, place.X, place.Y);
  Rules.TableauPiles[size_t(p)] = {card};
  AppendUndo(from, p + 1, 102, 0);
  Sound("drop.wav", 1, 100);
}

// The Clock: the card just put on foundation b goes under the pile, whose next card is turned up,
// and so on while it shows the foundation's own value and hides cards.
void TPatienceEngine::ClockSpecial(int b) {
  TCardList& pile = Rules.FoundationPiles[size_t(b)];
  const float angle = FoundationAngle(b);
  auto hidesCards = [&] {
    for (size_t k = 0; k < pile.size() && k < 4; ++k)
      if (pile[k] && !pile[k]->FaceUp) return true;
    return false;
  };
  // Every turn shows one more card, so the pile runs out of hidden cards within its length.
  for (int guard = 0; guard < 4 * kMaxCards; ++guard) {
    for (size_t k = pile.size(); k-- > 0;) TakeOff(pile[k]);
    TCard* top = pile.back();
    pile.pop_back();
    pile.insert(pile.begin(), top);
    bool first = true;
    for (TCard* c : pile) {
      AddAt(c, c->X, c->Y, angle);
      Sound("claps.wav", first ? 5 : 1, first ? 300 : 100);
      first = false;
    }
    TCard* shown = pile.back();
    if (!shown->FaceUp) {
      TurnUp(shown, true);
      if (FTable) {
        FTable->Sprite().Angle = shown->Angle;
        FTable->Sprite().Zoom(shown, 30, 0.01f, true);
      }
      if (int(shown->Value) == b) {
        TakeOff(shown);
        Sound("success.wav", 5, 300);
      }
    }
    if (!(int(pile.back()->Value) == b && hidesCards())) break;
  }
}

// -----------------------------------------------------------------------------------------------
// The win

void TPatienceEngine::CheckWin(const char* trace) {
  if (FWon) return;
  const int pack = Rules.Stock.Decks == 2 ? 104 : 52;
  bool won = Rules.FoundationCount >= pack;
  if (FSpecial == TGameSpecial::AcesUp) {
    won = Rules.FoundationCount >= 48;
    for (int p = 0; p < 4; ++p)
      if (p >= int(Rules.TableauPiles.size()) || IsEmpty(Rules.TableauPiles[size_t(p)])) won = false;
  }
  if (!won) return;
  FWon = true;
  DraggableList.assign(1, nullptr);
  if (FTable) {
    FTable->SetDraggableCards(DraggableList);
    FTable->ProcessEvents();
  }
  Trace(trace);
  FHost->WinAnimation();
  Rules.GameClosed = true;
  // A game marked closed in its history has been recorded already, or never counts.
  const bool open = HistoryList.Count() < 3 || HistoryList[2] != "0";
  if (FHost->ScoringOn() && open) {
    Trace("Updating stats after game won");
    FHost->RecordGame(Rules.GameName, Rules.SaveName, Rules.Points, true);
    Trace("Stats updated");
  }
  Trace("CloseGame being called");
  CloseGame();
  SetClosedCaption();
  Trace("Game Finished");
}
