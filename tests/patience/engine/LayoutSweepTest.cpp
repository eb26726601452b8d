// Every game of the catalogue dealt in the Extended layout on three screens at every card scale:
// a scale the table can hold keeps every card and every place inside the table and lays no pile
// over another that it did not cover in the Compact layout at 100 %; a scale it cannot hold is
// refused, and only then.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "tests/patience/engine/EngineTestUtil.h"

namespace {

struct TScreen {
  TPoint Size;
  TPoint Table;  // the table of the maximised window: the screen less the title bar and the two bars
};
constexpr int kSteps[] = {-2, -1, 1, 2, 3, 4, 5};
constexpr uint32_t kSeed = 4242;

// One pile's extent on the table: its place and every card of it.
struct TPileExtent {
  std::string Name;
  TRect Area;
};

// Deals on engines without a view, as the Extended layout's hidden trial deal does: the cards lie
// where the real deal puts them.
class TSweep {
 public:
  explicit TSweep(const TScreen& screen) : FDeck(nullptr, TestCardsetsDir()) {
    FHost.Screen = screen.Size;
    FFrame.Width = screen.Table.X;
    FFrame.Height = screen.Table.Y;
    FFrame.StockStep = 7;  // as the game's window has it
  }

  // The card size for the deals that follow.
  void Use(int step) {
    FDeck.SetSizeStep(step);
    FFrame.CardWidth = FDeck.CardWidth;
    FFrame.CardHeight = FDeck.CardHeight;
    FBase.SetConstantVariables(float(FDeck.CardWidth) / 71.0f, float(FDeck.CardHeight) / 96.0f);
  }

  // The Compact layout: the catalogue's places for a 71 x 96 card.
  void DealCompact(const std::string& caption) {
    FEngine = std::make_unique<TPatienceEngine>(FDeck, &FHost);
    FEngine->SetRandomSeed(kSeed);
    ASSERT_TRUE(FEngine->ChooseGame(CatalogueGame(caption))) << caption;
  }

  // The Extended layout for the card size in use; false when the game does not fit the table.
  bool DealExtended(const std::string& caption) {
    FEngine = std::make_unique<TPatienceEngine>(FDeck, &FHost);
    return FEngine->DealToMeasure(CatalogueGame(caption), FBase, kSeed, FFrame).Fits;
  }

  std::vector<TPileExtent> Piles() const {
    const TPatienceEngine& e = *FEngine;
    const TGameRules& r = e.Rules;
    std::vector<TPileExtent> piles;
    auto pile = [&](const std::string& name, TRect area, const TCardList& cards) {
      for (const TCard* c : cards)
        if (c) area = UnionRect(area, PlaceRect(TPoint(c->X, c->Y)));
      piles.push_back({name, area});
    };
    for (int i = 0; i < r.Tableau.Count; ++i)
      pile("T" + std::to_string(i), PlaceRect(r.TableauPlaces[size_t(i)]), r.TableauPiles[size_t(i)]);
    for (int i = 0; i < r.Foundations.Count; ++i)
      pile("F" + std::to_string(i), PlaceRect(r.FoundationPlaces[size_t(i)]), r.FoundationPiles[size_t(i)]);
    if (r.Reserve.FreeCells) {
      for (int k = 1; k <= r.Reserve.Count; ++k)
        pile("C" + std::to_string(k), PlaceRect(e.CellPlace(k)),
             size_t(k) <= r.ReserveCards.size() ? TCardList{r.ReserveCards[size_t(k - 1)]} : TCardList{});
    } else if (!r.ReserveCards.empty()) {
      pile("R", TRect(), r.ReserveCards);
    }
    for (size_t k = 0; k < r.ExceptPileCards.size(); ++k)
      pile("E" + std::to_string(k), TRect(), r.ExceptPileCards[k]);
    // The stock with the stepped edge of the whole pack that it holds at the start of a deal.
    const int edge = ((r.Stock.Decks == 2 ? 104 : 52) - 1) / FFrame.StockStep;
    const TRect stock = PlaceRect(e.StockPlace());
    pile("S", TRect(stock.Left - edge, stock.Top - edge, stock.Right, stock.Bottom), {});
    if (r.Stock.DealCount >= 1) pile("W", PlaceRect(e.WastePlace()), r.WasteCards);
    return piles;
  }

  // The pairs of piles that overlap.
  std::set<std::string> Overlaps() const {
    const std::vector<TPileExtent> piles = Piles();
    std::set<std::string> pairs;
    for (size_t i = 0; i < piles.size(); ++i)
      for (size_t j = i + 1; j < piles.size(); ++j)
        if (!IntersectRect(piles[i].Area, piles[j].Area).IsEmpty())
          pairs.insert(piles[i].Name + "/" + piles[j].Name);
    return pairs;
  }

  // The piles that reach outside the table.
  std::string Outside() const {
    std::ostringstream out;
    const TRect table(0, 0, FFrame.Width, FFrame.Height);
    for (const TPileExtent& p : Piles())
      if (UnionRect(p.Area, table) != table)
        out << " " << p.Name << "(" << p.Area.Left << "," << p.Area.Top << ")-(" << p.Area.Right << ","
            << p.Area.Bottom << ")";
    return out.str();
  }

 private:
  TRect PlaceRect(TPoint p) const { return Bounds(p.X, p.Y, FFrame.CardWidth, FFrame.CardHeight); }

  TVirtualClock FClock;
  TScopedClock FScoped{FClock};
  TCardDeck FDeck;
  TFakeHost FHost;
  TTableFrame FFrame;
  TLayout FBase;
  std::unique_ptr<TPatienceEngine> FEngine;
};

// Klondike's and Spider's largest step that fits, on each screen (0: the game is for a larger
// screen).
struct TSweepCase {
  TScreen Screen;
  int Klondike, Spider;
};

void PrintTo(const TSweepCase& c, std::ostream* out) {
  *out << c.Screen.Size.X << " x " << c.Screen.Size.Y;
}

class LayoutSweepTest : public ::testing::TestWithParam<TSweepCase> {};

TEST_P(LayoutSweepTest, EveryGameFitsTheTableAtEveryScaleItAccepts) {
  const TScreen& screen = GetParam().Screen;
  TSweep sweep(screen);
  // The Compact layout at 100 %: the catalogue's own arrangement. A game that does not fit the
  // screen even so (a game for larger screens) is left out.
  std::map<std::string, std::set<std::string>> reference;
  sweep.Use(1);
  for (const std::string& caption : AllCaptions()) {
    sweep.DealCompact(caption);
    if (sweep.Outside().empty()) reference[caption] = sweep.Overlaps();
  }
  std::map<std::string, int> largest = {{"Klondike 1 [Turn over 1]", 0}, {"Spider", 0}};
  std::set<std::string> refused;
  for (int step : kSteps) {
    sweep.Use(step);
    for (const auto& [caption, overlaps] : reference) {
      SCOPED_TRACE(caption + " at step " + std::to_string(step));
      if (!sweep.DealExtended(caption)) {
        // Only a step larger than 100 % is refused, and no larger one fits after it.
        EXPECT_GT(step, 1);
        refused.insert(caption);
        continue;
      }
      EXPECT_FALSE(refused.count(caption)) << "fits although a smaller step did not";
      if (largest.count(caption)) largest[caption] = step;
      EXPECT_EQ(sweep.Outside(), "");
      for (const std::string& pair : sweep.Overlaps())
        EXPECT_TRUE(overlaps.count(pair)) << pair << " overlap";
    }
  }
  EXPECT_EQ(largest["Klondike 1 [Turn over 1]"], GetParam().Klondike);
  EXPECT_EQ(largest["Spider"], GetParam().Spider);
}

INSTANTIATE_TEST_SUITE_P(Screens, LayoutSweepTest,
                         ::testing::Values(TSweepCase{{{800, 600}, {800, 530}}, 1, 0},
                                           TSweepCase{{{1024, 768}, {1024, 698}}, 2, 1},
                                           TSweepCase{{{1920, 1080}, {1920, 1010}}, 5, 4}),
                         [](const auto& info) { return std::to_string(info.param.Screen.Size.X); });

}  // namespace
