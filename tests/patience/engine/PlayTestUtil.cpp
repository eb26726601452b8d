#include "tests/patience/engine/PlayTestUtil.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "patience/engine/Piles.h"

std::string ToString(const TRecord& r) {
  return "(" + std::to_string(r.Kind) + "," + std::to_string(r.Pile) + "," + std::to_string(r.Index) + "," +
         std::to_string(r.Target) + ")";
}

bool SourceOf(const TPatienceEngine& e, const TCard* card, int& kind, TPilePos& pos) {
  TPileKind found = pkTableau;
  int recordPile = -1;
  if (!e.FindSource(card, found, pos, recordPile)) return false;
  kind = found;
  return true;
}

bool TargetOf(const TPatienceEngine& e, int index, int& kind, TPilePos& pos) {
  if (index < 0 || index >= int(e.DropPointList.size())) return false;
  const TPoint point = e.DropPointList[size_t(index)];
  const TGameRules& r = e.Rules;
  if (r.Reserve.FreeCells)
    for (int k = 1; k <= r.Reserve.Count; ++k)
      if (!r.ReserveCards[size_t(k - 1)] && e.CellPlace(k) == point) {
        kind = pkReserve;
        pos = {k - 1, 0};
        return true;
      }
  for (size_t f = 0; f < r.FoundationPiles.size(); ++f) {
    const TPoint place = r.FoundationPlaces[f];
    const TCard* top = TopCard(r.FoundationPiles[f]);
    if (place == point ||
        (r.Foundations.Rules.Has(RankInPrevious) && top && top->X == point.X && place.Y == point.Y)) {
      kind = pkFoundation;
      pos = {int(f), TopIndex(r.FoundationPiles[f])};
      return true;
    }
  }
  for (size_t p = 0; p < r.TableauPiles.size(); ++p) {
    const TCard* top = TopCard(r.TableauPiles[p]);
    if ((top ? TPoint(top->X, top->Y) : r.TableauPlaces[p]) == point) {
      kind = pkTableau;
      pos = {int(p), TopIndex(r.TableauPiles[p])};
      return true;
    }
  }
  return false;
}

namespace {

TCard* NextStockCard(const TCardDeck& d) {
  for (int i = d.Dealt + 1; i <= d.CardCount; ++i)
    if (d.Cards[size_t(i)]->State != -2) return d.Cards[size_t(i)].get();
  return nullptr;
}

// The draggable cards with the records that name them.
std::vector<std::pair<TCard*, TRecord>> Sources(const TPatienceEngine& e) {
  std::vector<std::pair<TCard*, TRecord>> out;
  if (e.Won() || !e.Table() || !e.Table()->DragAndDrop) return out;
  for (TCard* c : e.DraggableList) {
    if (!c || !c->FaceUp) continue;
    int kind = 0;
    TPilePos pos;
    if (SourceOf(e, c, kind, pos)) out.push_back({c, TRecord{kind, pos.Pile, pos.Index, 0}});
  }
  if (e.Table()->DragFromDeck)
    if (TCard* c = NextStockCard(e.Deck())) out.push_back({c, TRecord{pkStock, 0, 0, 0}});
  return out;
}

bool Accepted(const TPatienceEngine& e, const TCard* card, const TRecord& from, int index) {
  int kind = 0;
  TPilePos target;
  if (!TargetOf(e, index, kind, target)) return false;
  const TGameRules& r = e.Rules;
  const TPileRules& t = r.Tableau.Rules;
  const TPileRules& f = r.Foundations.Rules;
  const bool groups = t.Has(DragAnyFaceUp) || t.Has(DragWholePile) || t.Has(DragRuns);
  const bool top = from.Kind != pkTableau || from.Index == TopIndex(r.TableauPiles[size_t(from.Pile)]);
  if (groups && !top && (kind == pkReserve || (kind == pkFoundation && !f.Has(WholeSuitsOnly)))) return false;
  if (!e.ValidDrop(card, TPileKind(kind), target, TPileKind(from.Kind), {from.Pile, from.Index}))
    return false;
  if (kind == pkFoundation && f.Has(WholeSuitsOnly)) {
    if (from.Kind != pkTableau) return false;
    const TCardList& pile = r.TableauPiles[size_t(from.Pile)];
    return int(pile.size()) - from.Index == 13 && IsRun(WholeSuitRules(f), pile, from.Index, TFollowing::Run);
  }
  return true;
}

}  // namespace

std::vector<TRecord> LegalMoves(const TPatienceEngine& e) {
  std::vector<TRecord> out;
  const TGameRules& r = e.Rules;
  if (e.Won()) return out;
  const bool pairGame = r.Tableau.Rules.Has(PairGame);
  if (pairGame) {
    for (size_t p = 0; p < r.TableauPiles.size(); ++p) {
      const TCardList& pile = r.TableauPiles[p];
      for (int k = int(pile.size()) - 1; k >= 0; --k) {
        const TCard* c = pile[size_t(k)];
        if (!c || !c->Displayed) continue;
        if (!r.Tableau.Rules.Has(ShowSelection) || c->FaceUp) out.push_back({pkTableau, int(p), k, 0});
        break;
      }
    }
    return out;
  }
  if (!e.Table()->DragFromDeck && e.Deck().CardsLeft(false) > 0) out.push_back({pkStockClick, 0, 0, 0});
  if (e.CanRedeal()) out.push_back({pkRedeal, 0, 0, 0});
  for (const auto& [card, from] : Sources(e))
    for (int i = 0; i < int(e.DropPointList.size()); ++i)
      if (Accepted(e, card, from, i)) out.push_back({from.Kind, from.Pile, from.Index, i});
  return out;
}

std::vector<TRecord> RefusedDrags(const TPatienceEngine& e) {
  std::vector<TRecord> out;
  if (e.Rules.Tableau.Rules.Has(PairGame)) return out;
  for (const auto& [card, from] : Sources(e)) {
    out.push_back({from.Kind, from.Pile, from.Index, -1});
    for (int i = 0; i < int(e.DropPointList.size()); ++i) {
      int kind = 0;
      TPilePos target;
      // A drop onto the card's own pile is never offered by the table.
      if (TargetOf(e, i, kind, target) && kind == from.Kind && target.Pile == from.Pile) continue;
      if (!Accepted(e, card, from, i)) out.push_back({from.Kind, from.Pile, from.Index, i});
    }
  }
  return out;
}

namespace {

void AppendCards(std::ostringstream& out, const char* kind, size_t i, const TCardList& pile) {
  out << kind << i << ":";
  for (const TCard* c : pile) {
    out << " " << (c && !c->FaceUp ? "_" : "") << CardName(c);
    if (!c) continue;
    out << "@" << c->X << "," << c->Y;
    if (!c->Displayed) out << "~";
    if (c->Angle != 0) out << "<" << std::lround(c->Angle * 1000);
  }
  out << "\n";
}

}  // namespace

std::string PlaySnapshot(const TPatienceEngine& e) {
  std::ostringstream out;
  const TGameRules& r = e.Rules;
  for (size_t i = 0; i < r.TableauPiles.size(); ++i) AppendCards(out, "T", i, r.TableauPiles[i]);
  for (size_t i = 0; i < r.FoundationPiles.size(); ++i) AppendCards(out, "F", i, r.FoundationPiles[i]);
  AppendCards(out, "R", 0, r.ReserveCards);
  AppendCards(out, "W", 0, r.WasteCards);
  for (size_t i = 0; i < r.ExceptPileCards.size(); ++i) AppendCards(out, "E", i, r.ExceptPileCards[i]);
  const TCardDeck& d = e.Deck();
  out << "S:";
  for (int i = d.Dealt + 1; i <= d.CardCount; ++i) out << " " << CardName(d.Cards[size_t(i)].get());
  out << "\ncount " << r.FoundationCount << " passes " << r.Stock.PassesDone << " base "
      << CardName(r.Foundations.BaseCard) << " won " << e.Won() << " redeal " << e.CanRedeal();
  if (e.Special() == TGameSpecial::Burleigh) out << " top " << e.StockFromTop;
  out << "\n";
  return out.str();
}

namespace {

struct TPlayChecker {
  const TPatienceEngine& E;
  const TCardTable& T;
  const TGameRules& R;
  std::vector<std::string> Faults;
  void Fault(const std::string& s) { Faults.push_back(s); }

  void AtRest() {
    if (T.DragCard || T.Dragging) Fault("the table still holds a dragged card");
    if (T.Animating()) Fault("an animation still runs");
    if (T.DisableCardClicks) Fault("card clicks are still disabled");
    if (E.CommandRunning()) Fault("a command still runs");
    if (E.Busy) Fault("the engine is still busy");
  }

  void Cards() {
    const bool pairGame = R.Tableau.Rules.Has(PairGame);
    const bool clock = E.Special() == TGameSpecial::Clock;
    std::map<const TCard*, int> seen;
    auto count = [&](const TCardList& cards, bool shown) {
      for (const TCard* c : cards) {
        if (!c) continue;
        ++seen[c];
        if (c->State != 1) Fault("card " + CardName(c) + " in a pile is not dealt");
        if (shown && !c->Displayed && !pairGame && !clock)
          Fault("card " + CardName(c) + " in a pile is not shown");
      }
    };
    for (const auto& p : R.TableauPiles) count(p, true);
    for (const auto& p : R.FoundationPiles) count(p, true);
    count(R.ReserveCards, true);
    count(R.WasteCards, true);
    for (const auto& p : R.ExceptPileCards) count(p, true);
    const TCardDeck& d = E.Deck();
    for (int i = d.Dealt + 1; i <= d.CardCount; ++i) {
      const TCard* c = d.Cards[size_t(i)].get();
      ++seen[c];
      if (c->State != 0) Fault("stock card " + CardName(c) + " not in state 0");
    }
    int removed = 0;
    for (int i = 1; i <= d.CardCount; ++i) {
      const TCard* c = d.Cards[size_t(i)].get();
      const int n = seen.count(c) ? seen[c] : 0;
      if (n > 1) Fault("card " + CardName(c) + " lies in " + std::to_string(n) + " places");
      if (n == 0 && c->Displayed) Fault("card " + CardName(c) + " is shown but lies in no pile");
      if (c->State == 1 && !c->Displayed) ++removed;
    }
    if (int(seen.size()) > d.CardCount) Fault("piles hold cards that are not the deck's");
    // The display list holds exactly the dealt cards that are shown.
    std::set<const TCard*> listed;
    for (int i = 1; i <= T.TableCount; ++i) {
      const TCard* c = T.TableCards[size_t(i)];
      if (!c || !c->Displayed) Fault("the display list holds a card that is not shown");
      if (!listed.insert(c).second) Fault("the display list holds a card twice");
    }
    for (int i = 1; i <= d.CardCount; ++i) {
      const TCard* c = d.Cards[size_t(i)].get();
      if (c->State == 1 && c->Displayed && !listed.count(c))
        Fault("shown card " + CardName(c) + " is not listed");
    }

    // The foundation count follows the cards there (a whole suit is stored as one card).
    if (!clock) {
      int onFoundations = 0;
      for (const auto& p : R.FoundationPiles) onFoundations += CardCountOf(p);
      if (R.Foundations.Rules.Has(WholeSuitsOnly)) onFoundations *= 13;
      if (pairGame) onFoundations = removed;
      if (R.FoundationCount != onFoundations)
        Fault("foundation count " + std::to_string(R.FoundationCount) + " but " +
              std::to_string(onFoundations) + " cards there");
    }
    for (const auto& p : R.FoundationPiles)
      for (const TCard* c : p)
        if (c && !c->FaceUp && !clock) Fault("a foundation card lies face down");
    for (const TCard* c : R.WasteCards)
      if (!c->FaceUp) Fault("a waste card lies face down");
  }

  void Shapes() { CheckPileShapes(R, Faults); }

  void Lists() {
    if (E.DropPointList != T.DropPoints) Fault("the table's drop points are not the engine's");
    if (E.DraggableList != T.Draggable) Fault("the table's draggable cards are not the engine's");
    if (E.Won() && !(E.DraggableList.size() == 1 && !E.DraggableList[0]))
      Fault("a won game offers cards to drag");
    const auto& drops = E.DropPointList;
    for (size_t i = 0; i < drops.size(); ++i)
      for (size_t j = i + 1; j < drops.size(); ++j)
        if (drops[i] == drops[j])
          Fault("drop points " + std::to_string(i) + " and " + std::to_string(j) + " coincide");
    if (!R.Tableau.Rules.Has(NoDropTarget))
      for (size_t p = 0; p < R.TableauPiles.size() && p < drops.size(); ++p) {
        const TCard* top = TopCard(R.TableauPiles[p]);
        if ((top ? TPoint(top->X, top->Y) : R.TableauPlaces[p]) != drops[p])
          Fault("drop point " + std::to_string(p) + " is not its pile's top");
      }
    for (const TCard* c : E.DraggableList) {
      if (!c) continue;
      int kind = 0;
      TPilePos pos;
      if (!SourceOf(E, c, kind, pos)) Fault("draggable card " + CardName(c) + " lies in no pile");
    }
  }
};

}  // namespace

::testing::AssertionResult PlayIsSound(const TPatienceEngine& e, const TCardTable& t) {
  TPlayChecker c{e, t, e.Rules, {}};
  c.AtRest();
  c.Cards();
  c.Shapes();
  c.Lists();
  if (c.Faults.empty()) return ::testing::AssertionSuccess();
  auto r = ::testing::AssertionFailure() << e.Rules.GameName << ":";
  for (size_t i = 0; i < c.Faults.size() && i < 12; ++i) r << "\n  " << c.Faults[i];
  if (c.Faults.size() > 12) r << "\n  ... " << c.Faults.size() - 12 << " more";
  return r;
}

void FastTable(TCardTable& t) {
  t.SetCardSpeed(1 << 16);
  t.SetTurnOverAnimationSpeed(0);
  t.TurnOverAnimationLift = false;
  t.SlowMoveRegion = false;
}

std::vector<TRecord> HistoryRecords(const TPatienceEngine& e) {
  std::vector<TRecord> out;
  const TStringList& h = e.HistoryList;
  for (int k = 3; k + 3 < h.Count(); k += 4)
    out.push_back({std::stoi(h[k]), std::stoi(h[k + 1]), std::stoi(h[k + 2]), std::stoi(h[k + 3])});
  return out;
}

int DropIndexOf(const TPatienceEngine& e, int kind, int pile) {
  for (int i = 0; i < int(e.DropPointList.size()); ++i) {
    int k = 0;
    TPilePos pos;
    if (TargetOf(e, i, k, pos) && k == kind && pos.Pile == pile) return i;
  }
  return -1;
}

TCard* CardNamed(const TPatienceEngine& e, const std::string& name) {
  static const std::string values = "A23456789TJQK";
  static const std::string suits = "cdhs";
  const std::string n = !name.empty() && name[0] == '_' ? name.substr(1) : name;
  if (n.size() != 2) return nullptr;
  const size_t v = values.find(n[0]), s = suits.find(n[1]);
  const TCardDeck& d = e.Deck();
  for (int i = 1; i <= d.CardCount; ++i) {
    TCard* c = d.Cards[size_t(i)].get();
    if (size_t(c->Value) == v && size_t(c->Suit) == s) return c;
  }
  return nullptr;
}

void Arrange(TEngineRig& rig, const TPosition& position) {
  TPatienceEngine& e = *rig.Engine;
  TCardTable& t = *rig.Table;
  TCardDeck& d = e.Deck();
  TGameRules& r = e.Rules;
  t.CollectCards();
  std::set<const TCard*> used;
  // Takes the named card out of the stock (it is dealt, shown later).
  auto take = [&](const std::string& name) -> TCard* {
    // With two packs the second card of a name is the one not placed yet.
    TCard* c = nullptr;
    for (int i = 1; i <= d.CardCount && !c; ++i) {
      TCard* k = d.Cards[size_t(i)].get();
      if (CardName(k) == (name[0] == '_' ? name.substr(1) : name) && !used.count(k)) c = k;
    }
    if (!c) {
      ADD_FAILURE() << "no card " << name << " to place";
      return nullptr;
    }
    used.insert(c);
    int n = 0;
    for (int i = d.Dealt + 1; i <= d.CardCount; ++i) {
      ++n;
      if (d.Cards[size_t(i)].get() == c) break;
    }
    TCard* taken = d.TakeNthCard(n);
    taken->FaceUp = name[0] != '_';
    return taken;
  };
  auto pileOf = [&](const std::vector<std::string>& names) {
    TCardList pile;
    for (const std::string& n : names)
      if (TCard* c = take(n)) pile.push_back(c);
    if (pile.empty()) pile = EmptyPile();
    return pile;
  };
  for (size_t p = 0; p < r.TableauPiles.size(); ++p)
    r.TableauPiles[p] = p < position.Tableau.size() ? pileOf(position.Tableau[p]) : EmptyPile();
  for (size_t f = 0; f < r.FoundationPiles.size(); ++f)
    r.FoundationPiles[f] = f < position.Foundations.size() ? pileOf(position.Foundations[f]) : EmptyPile();
  if (r.Reserve.FreeCells) {
    r.ReserveCards.assign(size_t(r.Reserve.Count), nullptr);
    for (size_t k = 0; k < position.Reserve.size() && k < r.ReserveCards.size(); ++k)
      if (!position.Reserve[k].empty()) r.ReserveCards[k] = take(position.Reserve[k]);
  } else {
    r.ReserveCards.clear();
    for (const std::string& n : position.Reserve) r.ReserveCards.push_back(take(n));
  }
  r.WasteCards.clear();
  for (const std::string& n : position.Waste) r.WasteCards.push_back(take(n));
  for (TCardList& pile : r.ExceptPileCards) pile.clear();
  // The stock: the named cards first, then the rest (or the rest onto a pile).
  TCardList stock;
  for (const std::string& n : position.Stock) stock.push_back(take(n));
  TCardList rest;
  while (d.CardsLeft(false) > 0) rest.push_back(d.NextCard());
  if (position.Rest >= 0) {
    TCardList& pile = r.TableauPiles[size_t(position.Rest)];
    if (IsEmpty(pile)) pile.clear();
    for (TCard* c : rest) {
      c->FaceUp = false;
      pile.push_back(c);
    }
    if (!pile.empty()) pile.back()->FaceUp = true;
    rest.clear();
  }
  stock.insert(stock.end(), rest.begin(), rest.end());
  d.PutBack(stock);
  // Places as a layout change lays them, then everything shown bottom first.
  e.ModifyAll();
  auto show = [&](const TCardList& cards) {
    for (TCard* c : cards)
      if (c) t.AddCard(c, c->X, c->Y);
  };
  for (const TCardList& p : r.TableauPiles) show(p);
  for (const TCardList& p : r.FoundationPiles) show(p);
  show(r.ReserveCards);
  show(r.WasteCards);
  e.ModifyDeck();
  r.FoundationCount = 0;
  for (const TCardList& p : r.FoundationPiles) r.FoundationCount += CardCountOf(p);
  if (r.Foundations.Rules.Has(WholeSuitsOnly)) r.FoundationCount *= 13;
  r.Points = 0;
  e.HistoryList.Lines.resize(3);
  e.HistoryPointer = 3;
  e.UndoList.Clear();
  e.UndoPointer = 0;
  e.SetLists();
}

std::shared_ptr<TCustomGame> LabGame(const std::string& name, std::function<void(TGameRules&)> extra) {
  return std::make_shared<TCustomGame>(
      name,
      [extra](TGameRules& r) {
        r.Tableau.Count = 4;
        r.Tableau.Rules = {Fanned, DealFaceUp};
        r.Foundations.Count = 4;
        r.Reserve.Count = 4;
        r.Reserve.FreeCells = true;
        r.Reserve.Origin = TPoint(500, 15);
        r.Stock.DealCount = 1;
        r.DealMode = dmFastDeal;
        if (extra) extra(r);
      },
      [](const TLayout& l, TGameRules& r) {
        r.TableauPlaces.clear();
        for (int p = 0; p < r.Tableau.Count; ++p)
          r.TableauPlaces.push_back(TPoint(l.LeftMargin + p * l.ColumnStep, 300));
        r.FoundationPlaces.clear();
        for (int f = 0; f < r.Foundations.Count; ++f)
          r.FoundationPlaces.push_back(TPoint(l.LeftMargin + (f + r.Tableau.Count) * l.ColumnStep, 300));
      });
}
