// Every game dealt in the Extended layout on three screens at every card scale, on engines without
// a view as the layout's hidden trial deal does it: a scale the layout accepts keeps every pile
// inside the table and lays no pile over another that it did not cover in the Compact layout at
// 100 %; of the games the Compact layout holds, only scales above 100 % are refused, and no
// larger one fits after a refused one. Every game chosen at 100 % lies inside the table at the
// size the layout takes for it (a smaller one where 100 % does not fit).

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <ostream>
#include <set>

#include "tests/patience/engine/EngineTestUtil.h"

namespace {

constexpr int kSteps[] = {-2, -1, 1, 2, 3, 4, 5};

// A screen, the table of the maximised window on it, Klondike's and Spider's largest step (0: a
// game for larger screens), and how many games chosen at Normal size take each step.
struct TSweepCase {
  TPoint Screen, Table;
  int Klondike, Spider;
  std::map<int, int> Taken;
};

void PrintTo(const TSweepCase& c, std::ostream* os) {
  *os << c.Screen.X << " x " << c.Screen.Y;
}

class LayoutSweepTest : public ::testing::TestWithParam<TSweepCase> {
 protected:
  void Use(int step) {
    Deck.SetSizeStep(step);
    Frame = {GetParam().Table.X, GetParam().Table.Y, Deck.CardWidth, Deck.CardHeight, 7};
    Base.SetConstantVariables(float(Deck.CardWidth) / 71.0f, float(Deck.CardHeight) / 96.0f);
  }
  // Each pile's extent by name: its place and its cards; the stock with the stepped edge of the
  // whole pack it holds at the start of a deal; the waste place of a game that has one.
  std::map<std::string, TRect> Piles() const {
    const TGameRules& r = Engine->Rules;
    std::map<std::string, TRect> piles;
    auto add = [&](const std::string& name, TPoint place, const TCardList& cards) {
      TRect& a = piles[name];
      if (place.X != INT_MIN) a = Bounds(place.X, place.Y, Frame.CardWidth, Frame.CardHeight);
      for (const TCard* c : cards)
        if (c) a = UnionRect(a, Bounds(c->X, c->Y, Frame.CardWidth, Frame.CardHeight));
    };
    const TPoint none(INT_MIN, 0);
    for (int i = 0; i < r.Tableau.Count; ++i)
      add("T" + std::to_string(i), r.TableauPlaces[size_t(i)], r.TableauPiles[size_t(i)]);
    for (int i = 0; i < r.Foundations.Count; ++i)
      add("F" + std::to_string(i), r.FoundationPlaces[size_t(i)], r.FoundationPiles[size_t(i)]);
    for (int k = 1; r.Reserve.FreeCells && k <= r.Reserve.Count; ++k)
      add("C" + std::to_string(k), Engine->CellPlace(k), {r.ReserveCards[size_t(k - 1)]});
    if (!r.Reserve.FreeCells) add("R", none, r.ReserveCards);
    for (size_t k = 0; k < r.ExceptPileCards.size(); ++k)
      add("E" + std::to_string(k), none, r.ExceptPileCards[k]);
    const int edge = ((r.Stock.Decks == 2 ? 104 : 52) - 1) / Frame.StockStep;
    const TRect stock =
        Bounds(Engine->StockPlace().X, Engine->StockPlace().Y, Frame.CardWidth, Frame.CardHeight);
    piles["S"] = TRect(stock.Left - edge, stock.Top - edge, stock.Right, stock.Bottom);
    if (r.Stock.DealCount >= 1) add("W", Engine->WastePlace(), r.WasteCards);
    return piles;
  }
  // The piles that leave the table, then the pairs of piles that overlap.
  std::set<std::string> Faults() const {
    std::set<std::string> faults;
    const TRect table(0, 0, Frame.Width, Frame.Height);
    const std::map<std::string, TRect> piles = Piles();
    for (auto a = piles.begin(); a != piles.end(); ++a) {
      if (UnionRect(a->second, table) != table) faults.insert("outside: " + a->first);
      for (auto b = std::next(a); b != piles.end(); ++b)
        if (!IntersectRect(a->second, b->second).IsEmpty()) faults.insert(a->first + "/" + b->first);
    }
    return faults;
  }

  TVirtualClock Clock;
  TScopedClock Scoped{Clock};
  TCardDeck Deck{nullptr, TestCardsetsDir()};
  TFakeHost Host;
  TTableFrame Frame;
  TLayout Base;
  std::unique_ptr<TPatienceEngine> Engine;
};

TEST_P(LayoutSweepTest, EveryGameFitsTheTableAtEveryScaleItAccepts) {
  Host.Screen = GetParam().Screen;
  // The Compact layout at 100 %, the catalogue's own; a game it puts off this table is left out.
  std::map<std::string, std::set<std::string>> reference;
  Use(1);
  for (const std::string& caption : AllCaptions()) {
    Engine = std::make_unique<TPatienceEngine>(Deck, &Host);
    Engine->SetRandomSeed(4242);
    ASSERT_TRUE(Engine->ChooseGame(CatalogueGame(caption)));
    const std::set<std::string> faults = Faults();
    if (std::none_of(faults.begin(), faults.end(), [](const auto& f) { return f.rfind("outside", 0) == 0; }))
      reference[caption] = faults;
  }
  std::map<std::string, int> largest = {{"Klondike 1 [Turn over 1]", 0}, {"Spider", 0}};
  std::set<std::string> refused;
  for (int step : kSteps) {
    Use(step);
    for (const auto& [caption, overlaps] : reference) {
      SCOPED_TRACE(caption + " at step " + std::to_string(step));
      Engine = std::make_unique<TPatienceEngine>(Deck, &Host);
      if (!Engine->DealToMeasure(CatalogueGame(caption), Base, 4242, Frame).Fits) {
        EXPECT_GT(step, 1);
        refused.insert(caption);
        continue;
      }
      EXPECT_FALSE(refused.count(caption)) << "fits although a smaller step did not";
      if (largest.count(caption)) largest[caption] = step;
      for (const std::string& fault : Faults()) EXPECT_TRUE(overlaps.count(fault)) << fault;
    }
  }
  EXPECT_EQ(largest["Klondike 1 [Turn over 1]"], GetParam().Klondike);
  EXPECT_EQ(largest["Spider"], GetParam().Spider);
}

// Every game of the catalogue chosen at Normal size: where Normal does not fit the table, the
// size the program takes instead, at which every pile lies inside the table.
TEST_P(LayoutSweepTest, EveryGameLiesInsideTheTableAtTheSizeTheProgramTakes) {
  Host.Screen = GetParam().Screen;
  auto fits = [&](const std::string& caption, int step) {
    Use(step);
    Engine = std::make_unique<TPatienceEngine>(Deck, &Host);
    return Engine->DealToMeasure(CatalogueGame(caption), Base, 4242, Frame).Fits;
  };
  std::map<int, int> taken;  // games by the step taken
  for (const std::string& caption : AllCaptions()) {
    const int step = fits(caption, 1) ? 1 : StepThatFits(1, 1, [&](int s) { return fits(caption, s); });
    ++taken[step];
    fits(caption, step);
    std::string outside;
    for (const std::string& fault : Faults())
      if (fault.rfind("outside", 0) == 0) outside += " " + fault.substr(9);
    EXPECT_EQ(outside, "") << caption << " at step " << step << ", piles off the table:";
  }
  EXPECT_EQ(taken, GetParam().Taken);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, LayoutSweepTest,
    ::testing::Values(TSweepCase{{800, 600}, {800, 530}, 1, 0, {{-2, 15}, {-1, 134}, {1, 56}}},
                      TSweepCase{{1024, 768}, {1024, 698}, 2, 1, {{-1, 7}, {1, 198}}},
                      TSweepCase{{1920, 1080}, {1920, 1010}, 5, 4, {{1, 205}}}),
    [](const auto& info) { return std::to_string(info.param.Screen.X); });

}  // namespace
