#include "tests/patience/engine/EngineTestUtil.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "platform/core/Files.h"
#include "tests/cardtable/TestCardset.h"

int TFakeHost::CountSounds(const std::string& name) const {
  return int(std::count_if(Sounds.begin(), Sounds.end(), [&](const TPlayed& s) { return s.Name == name; }));
}

bool TFakeHost::Traced(const std::string& line) const {
  return std::find(Traces.begin(), Traces.end(), line) != Traces.end();
}

const std::string& TestCardsetsDir() {
  return StandardTestCardsetsDir();
}

TEngineRig::TEngineRig(int width, int height, const std::string& cardsetsDir) {
  FScoped = std::make_unique<TScopedClock>(Clock);
  Table = std::make_unique<TCardTable>(nullptr, cardsetsDir);
  Table->SetBounds(0, 0, width, height);
  Table->ApplyBounds(0, 0, width, height);
  Engine = std::make_unique<TPatienceEngine>(*Table, &Host);
}

TEngineRig::~TEngineRig() {
  Engine.reset();
  Table.reset();
  FScoped.reset();
}

void TEngineRig::Deal(const std::string& caption, uint32_t seed) {
  auto game = CatalogueGame(caption);
  ASSERT_TRUE(game) << caption;
  Engine->SetRandomSeed(seed);
  if (Engine->Rules.GameName == caption) {
    Engine->NewDeal();
  } else {
    ASSERT_TRUE(Engine->ChooseGame(game)) << caption;
  }
}

void TEngineRig::Redeal(uint32_t seed) {
  Engine->SetRandomSeed(seed);
  Engine->NewDeal();
}

std::string CardName(const TCard* card) {
  if (!card) return "--";
  static const char* values = "A23456789TJQK";
  static const char* suits = "cdhsj";
  return std::string(1, values[card->Value % 13]) + suits[card->Suit];
}

namespace {

void AppendPile(std::ostringstream& out, const char* kind, size_t i, const TCardList& pile, bool positions) {
  out << kind << i << ":";
  for (const TCard* c : pile) {
    out << " " << (c && !c->FaceUp ? "_" : "") << CardName(c);
    if (c && positions) out << "@" << c->X << "," << c->Y;
  }
  out << "\n";
}

}  // namespace

std::string DealSnapshot(const TPatienceEngine& engine, bool positions) {
  std::ostringstream out;
  const TGameRules& r = engine.Rules;
  for (size_t i = 0; i < r.TableauPiles.size(); ++i) AppendPile(out, "T", i, r.TableauPiles[i], positions);
  for (size_t i = 0; i < r.FoundationPiles.size(); ++i)
    AppendPile(out, "F", i, r.FoundationPiles[i], positions);
  AppendPile(out, "R", 0, r.ReserveCards, positions);
  AppendPile(out, "W", 0, r.WasteCards, positions);
  for (size_t i = 0; i < r.ExceptPileCards.size(); ++i)
    AppendPile(out, "E", i, r.ExceptPileCards[i], positions);
  TCardList stock;
  const TCardDeck& d = engine.Deck();
  for (int i = d.Dealt + 1; i <= d.CardCount; ++i) stock.push_back(d.Cards[size_t(i)].get());
  AppendPile(out, "S", 0, stock, false);
  return out.str();
}

// Piles are never of length 0, and nil appears only as [nil] or in a free cell.
void CheckPileShapes(const TGameRules& R, std::vector<std::string>& faults) {
  auto Fault = [&](const std::string& s) { faults.push_back(s); };
  auto shaped = [&](const char* kind, const std::vector<TCardList>& piles, int count) {
    if (int(piles.size()) != count) Fault(std::string(kind) + " pile count differs from the rules");
    for (size_t i = 0; i < piles.size(); ++i) {
      const TCardList& p = piles[i];
      if (p.empty()) Fault(std::string(kind) + std::to_string(i) + " has length 0");
      if (p.size() > 1 && std::find(p.begin(), p.end(), nullptr) != p.end())
        Fault(std::string(kind) + std::to_string(i) + " holds a nil among cards");
    }
  };
  shaped("T", R.TableauPiles, R.Tableau.Count);
  shaped("F", R.FoundationPiles, R.Foundations.Count);
  if (R.Reserve.FreeCells) {
    if (int(R.ReserveCards.size()) != R.Reserve.Count) Fault("free cells are not one slot a cell");
  } else if (std::find(R.ReserveCards.begin(), R.ReserveCards.end(), nullptr) != R.ReserveCards.end()) {
    Fault("a plain reserve holds a nil");
  }
  if (std::find(R.WasteCards.begin(), R.WasteCards.end(), nullptr) != R.WasteCards.end())
    Fault("the waste holds a nil");
}

namespace {

struct TChecker {
  const TPatienceEngine& E;
  const TCardTable& Table;
  const TGameRules& R;
  std::vector<std::string> Faults;

  void Fault(const std::string& s) { Faults.push_back(s); }

  // Every card in exactly one place.
  void CardsOnce() {
    std::map<const TCard*, int> seen;
    auto count = [&](const TCardList& cards) {
      for (const TCard* c : cards)
        if (c) ++seen[c];
    };
    for (const auto& p : R.TableauPiles) count(p);
    for (const auto& p : R.FoundationPiles) count(p);
    count(R.ReserveCards);
    count(R.WasteCards);
    for (const auto& p : R.ExceptPileCards) count(p);
    const TCardDeck& d = E.Deck();
    for (int i = d.Dealt + 1; i <= d.CardCount; ++i) {
      const TCard* c = d.Cards[size_t(i)].get();
      ++seen[c];
      if (c->State != 0) Fault("stock card " + CardName(c) + " not in state 0");
    }
    const int expected = R.Stock.Decks == 2 ? 104 : 52;
    if (d.CardCount != expected) Fault("deck holds " + std::to_string(d.CardCount) + " cards");
    for (int i = 1; i <= d.CardCount; ++i) {
      const TCard* c = d.Cards[size_t(i)].get();
      const int n = seen.count(c) ? seen[c] : 0;
      if (n != 1) Fault("card " + CardName(c) + " lies in " + std::to_string(n) + " places");
      if (i <= d.Dealt && c->State != 1) Fault("dealt card " + CardName(c) + " not in state 1");
    }
    if (int(seen.size()) != d.CardCount) Fault("piles hold cards that are not the deck's");
  }

  void PileShapes() { CheckPileShapes(R, Faults); }

  // Faces as the rules say.
  void Faces() {
    const TTableau& t = R.Tableau;
    const TPileRules& rules = t.Rules;
    for (size_t p = 0; p < R.TableauPiles.size(); ++p) {
      const TCardList& pile = R.TableauPiles[p];
      if (IsEmpty(pile)) continue;
      const std::string name = "T" + std::to_string(p);
      const int n = int(pile.size());
      if (rules.Has(DealFaceDown)) {
        // Not turned at all: they keep the stock's face (up when cards are dragged from the stock).
        for (const TCard* c : pile)
          if (c->FaceUp != R.Stock.Rules.Has(DragFromDeck))
            Fault(name + " turned a card in a face-down deal");
        continue;
      }
      if (rules.Has(DealFaceUp) || t.CardsPerPile.empty()) {
        for (const TCard* c : pile)
          if (!c->FaceUp) Fault(name + " hides a card in a face-up deal");
        continue;
      }
      const int count = p < t.CardsPerPile.size() ? t.CardsPerPile[p] : 0;
      if (rules.Has(DealPileByPile) || n != count) continue;  // a deal cut short by the pack
      int down = count - 1;
      if (!t.FaceDownPerPile.empty())
        down = std::min(p < t.FaceDownPerPile.size() ? t.FaceDownPerPile[p] : 0, count - 1);
      for (int k = 0; k < n; ++k)
        if (pile[size_t(k)]->FaceUp == (k < down))
          Fault(name + " slot " + std::to_string(k) + " has the wrong face");
    }
    for (const TCard* c : R.ReserveCards)
      if (c && c->FaceUp != (R.Reserve.FaceUp || R.Reserve.FreeCells))
        Fault("reserve card with the wrong face");
    for (const auto& pile : R.ExceptPileCards)
      for (size_t j = 0; j < pile.size(); ++j)
        if (pile[j]->FaceUp != (R.ExceptPiles.FaceUp || j + 1 == pile.size()))
          Fault("except card with the wrong face");
    const TCardDeck& d = E.Deck();
    const bool stockUp = R.Stock.Rules.Has(DragFromDeck);
    for (int i = d.Dealt + 1; i <= d.CardCount; ++i)
      if (d.Cards[size_t(i)]->FaceUp != stockUp) Fault("stock card with the wrong face");
    if (R.Foundations.Rules.Has(DealAllBases) || R.Foundations.Rules.Has(DealOneBase) ||
        R.Foundations.Rules.Has(DealTwoBases) || R.Foundations.Rules.Has(BaseOnly))
      for (const auto& pile : R.FoundationPiles)
        for (const TCard* c : pile)
          if (c && !c->FaceUp) Fault("a base card lies face down");
  }

  bool Inside(const TRect& r) const {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= Table.Width() && r.Bottom <= Table.Height();
  }

  // Every place and every card inside the table.
  void InsideTable() {
    const int w = E.Deck().CardWidth, h = E.Deck().CardHeight;
    auto place = [&](const std::string& what, TPoint p) {
      if (!Inside(Bounds(p.X, p.Y, w, h)))
        Fault(what + " at (" + std::to_string(p.X) + ", " + std::to_string(p.Y) + ") leaves the table");
    };
    for (int i = 0; i < R.Tableau.Count; ++i)
      place("tableau place " + std::to_string(i), R.TableauPlaces[size_t(i)]);
    for (int i = 0; i < R.Foundations.Count; ++i)
      place("foundation place " + std::to_string(i), R.FoundationPlaces[size_t(i)]);
    if (R.Reserve.FreeCells)
      for (int k = 1; k <= R.Reserve.Count; ++k) place("cell " + std::to_string(k), E.CellPlace(k));
    if (E.Deck().Dealt < E.Deck().CardCount) place("stock", E.StockPlace());
    auto cards = [&](const TCardList& list) {
      for (const TCard* c : list)
        if (c && !Inside(Table.CardRect(c)))
          Fault("card " + CardName(c) + " at (" + std::to_string(c->X) + ", " + std::to_string(c->Y) +
                ") leaves the table");
    };
    for (const auto& p : R.TableauPiles) cards(p);
    for (const auto& p : R.FoundationPiles) cards(p);
    cards(R.ReserveCards);
    for (const auto& p : R.ExceptPileCards) cards(p);
  }

  // No two piles on one place; the stock's place is free while it holds cards.
  void DistinctPlaces() {
    std::vector<std::pair<TPoint, std::string>> places;
    for (int i = 0; i < R.Tableau.Count; ++i)
      places.push_back({R.TableauPlaces[size_t(i)], "T" + std::to_string(i)});
    for (int i = 0; i < R.Foundations.Count; ++i)
      places.push_back({R.FoundationPlaces[size_t(i)], "F" + std::to_string(i)});
    if (R.Reserve.FreeCells)
      for (int k = 1; k <= R.Reserve.Count; ++k) places.push_back({E.CellPlace(k), "C" + std::to_string(k)});
    for (size_t i = 0; i < places.size(); ++i)
      for (size_t j = i + 1; j < places.size(); ++j)
        if (places[i].first == places[j].first)
          Fault(places[i].second + " and " + places[j].second + " share a place");
    if (E.Deck().Dealt < E.Deck().CardCount)
      for (const auto& [p, name] : places)
        if (p == E.StockPlace()) Fault(name + " lies on the stock");
    // Drop points are told apart by position.
    const auto& drops = E.DropPointList;
    for (size_t i = 0; i < drops.size(); ++i)
      for (size_t j = i + 1; j < drops.size(); ++j)
        if (drops[i] == drops[j])
          Fault("drop points " + std::to_string(i) + " and " + std::to_string(j) + " coincide");
  }
};

}  // namespace

::testing::AssertionResult DealIsSound(const TPatienceEngine& engine, const TCardTable& table) {
  TChecker c{engine, table, engine.Rules, {}};
  c.CardsOnce();
  c.PileShapes();
  c.Faces();
  c.InsideTable();
  c.DistinctPlaces();
  if (c.Faults.empty()) return ::testing::AssertionSuccess();
  auto r = ::testing::AssertionFailure() << engine.Rules.GameName << ":";
  for (size_t i = 0; i < c.Faults.size() && i < 12; ++i) r << "\n  " << c.Faults[i];
  if (c.Faults.size() > 12) r << "\n  ... " << c.Faults.size() - 12 << " more";
  return r;
}
