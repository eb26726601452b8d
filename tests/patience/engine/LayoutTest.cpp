// Layout geometry: the variables from the card factors, the stock, waste, cell and reserve
// places, the stretch to the table, the hidden trial deal of the Extended layout and layout
// changes in the middle of a game.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/patience/engine/EngineTestUtil.h"

namespace {

std::vector<int> Variables(const TLayout& l) {
  return {l.ColumnStep, l.RowStep,      l.LeftMargin,    l.TopMargin,     l.ReserveX,
          l.SecondRowY, l.WasteX,       l.WasteY,        l.AltWasteX,     l.AltWasteY,
          l.FanOffset,  l.FanReduction, l.SideFanOffset, l.BaseCardWidth, l.BaseCardHeight};
}

TEST(LayoutTest, VariablesComeFromTheFactorsTruncated) {
  TLayout l;
  l.SetConstantVariables(1.0f, 1.0f);
  EXPECT_EQ(Variables(l), (std::vector<int>{102, 155, 15, 15, 15, 170, 117, 15, 15, 170, 20, 4, 12, 71, 96}));
  l.SetConstantVariables(1.5f, 1.5f);
  EXPECT_EQ(Variables(l), (std::vector<int>{153, 232, 22, 22, 22, 255, 175, 22, 22, 255, 30, 6, 12, 71, 96}));
  // A card 73 x 100: each variable from its own constant, so WasteX is not LeftMargin + ColumnStep.
  l.SetConstantVariables(73.0f / 71.0f, 100.0f / 96.0f);
  EXPECT_EQ(l.ColumnStep, 104);
  EXPECT_EQ(l.LeftMargin, 15);
  EXPECT_EQ(l.WasteX, 120);
  EXPECT_EQ(l.SecondRowY, 177);
  // Only the four stretched variables change.
  l.SetConstantVariables(1.0f, 1.0f);
  l.ModifyConstantVariables(1.5f, 2.0f);
  EXPECT_EQ(Variables(l), (std::vector<int>{153, 310, 15, 15, 22, 340, 117, 15, 15, 170, 20, 4, 12, 71, 96}));
}

// The size taken where the step in force does not fit: the fallback when it fits, else the
// largest smaller step that does, else 60 %; the steps are asked largest first.
TEST(LayoutTest, TheSizeThatFitsIsTheLargestBelowTheOneInForce) {
  struct TCase {
    int InForce, Fallback;
    std::vector<int> Fitting;
    int Taken;
    std::vector<int> Asked;
  };
  const TCase cases[] = {
      {3, 1, {1, -1, -2}, 1, {1}}, {3, 1, {-1, -2}, -1, {1, -1}}, {1, 1, {-1, -2}, -1, {-1}},
      {1, 1, {-2}, -2, {-1, -2}},  {1, 1, {}, -2, {-1, -2}},      {-1, 1, {}, -2, {-2}},
      {-2, 1, {}, -2, {}},         {2, -2, {1, -2}, -2, {-2}},    {5, 1, {2, 1}, 1, {1}},
  };
  for (const TCase& c : cases) {
    std::vector<int> asked;
    const int taken = StepThatFits(c.InForce, c.Fallback, [&](int step) {
      asked.push_back(step);
      return std::find(c.Fitting.begin(), c.Fitting.end(), step) != c.Fitting.end();
    });
    EXPECT_EQ(taken, c.Taken) << c.InForce << " " << c.Fallback;
    EXPECT_EQ(asked, c.Asked) << c.InForce << " " << c.Fallback;
  }
}

TEST(LayoutTest, FanStepsStockWasteCellsAndReserveRows) {
  TLayout l;
  TGameRules r;
  EXPECT_EQ(TableauFanOf(r, l), 20);
  r.DealMode = dmCompactFan;
  EXPECT_EQ(TableauFanOf(r, l), 16);
  r.Tableau.Rules = {FanUpward};
  EXPECT_EQ(TableauFanOf(r, l), -16);
  EXPECT_EQ(QuarterStep(-16), -4);
  EXPECT_EQ(QuarterStep(12), 3);

  EXPECT_EQ(StockPlace(r, l), TPoint(15, 15));
  r.Stock.Rules = {AlternateStockPlace};
  EXPECT_EQ(StockPlace(r, l), TPoint(219, 8));
  r.Stock.Rules = {AlternateStockPlace, StockBelowTableau};
  EXPECT_EQ(StockPlace(r, l), TPoint(219, 635));
  r.Stock.Rules = {AlternateStockPlace, StockAtPoint, AlternateWastePlace};
  r.Stock.Point = TPoint(500, 600);
  r.Stock.WastePoint = TPoint(600, 600);
  EXPECT_EQ(StockPlace(r, l), TPoint(500, 600));
  EXPECT_EQ(WastePlace(r, l), TPoint(600, 600));
  r.Stock.Rules = {AlternateWastePlace};
  EXPECT_EQ(WastePlace(r, l), TPoint(15, 170));
  r.Stock.Rules = {};
  EXPECT_EQ(WastePlace(r, l), TPoint(117, 15));

  // Four cells in a row at (X0, Y0) start one column step right of it.
  r.Reserve.FreeCells = true;
  r.Reserve.Count = 4;
  r.Reserve.Origin = TPoint(300, 15);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(CellPlace(r, l, k), TPoint(300 + 102 * k, 15));
  EXPECT_EQ(MaxInLayout(r, l), TPoint(708, 15));
  r.Reserve.CellsVertical = true;
  EXPECT_EQ(CellPlace(r, l, 3), TPoint(300, 15 + 2 * 155));

  // A reserve laid as a row at the top from the reserve X, and as a lower row.
  TGameRules row;
  row.Reserve.Count = 4;
  row.Reserve.Origin = TPoint(0, -1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ReserveSlotPlace(row, l, 20, i), TPoint(15 + 20 * i, 15));
  row.Reserve.Origin = TPoint(0, -2);
  EXPECT_EQ(ReserveSlotPlace(row, l, 20, 1), TPoint(35, 4 * 155 + 15 - 60));
  row.Reserve.Origin = TPoint(40, 0);
  row.Reserve.VerticalFan = true;
  EXPECT_EQ(ReserveSlotPlace(row, l, 16, 2), TPoint(40, 170 + 32));
}

TEST(LayoutTest, TheStretchFillsTheTableOnlyWhereTheGameAllowsIt) {
  TGameRules down;
  down.Tableau.Rules = {DownByOne, Fanned};
  TGameRules vertical = down;
  vertical.Tableau.Rules.Include(StretchVertically);
  const TPoint p(627, 400);
  // 1024 x 768 with 71 x 96 cards: usable 882 x 526.
  TStretch s = StretchToTable(down, p, 1024, 768, 71, 96);
  EXPECT_TRUE(s.StretchesWidth);
  EXPECT_FALSE(s.StretchesHeight);
  EXPECT_EQ(s.Width, float(882.0 / 627.0));
  s = StretchToTable(vertical, p, 1024, 768, 71, 96);
  EXPECT_TRUE(s.StretchesHeight);
  EXPECT_EQ(s.Height, float(526.0 / 400.0));
  // Sideways fans keep room for their cards.
  TGameRules sideways;
  sideways.Tableau.Rules = {Fanned, FanSideways};
  EXPECT_EQ(StretchToTable(sideways, p, 1024, 768, 71, 96).Width, float(669.0 / 627.0));
  // A table smaller than the layout, or a layout that measures nothing: no stretch.
  s = StretchToTable(vertical, TPoint(900, 600), 800, 600, 71, 96);
  EXPECT_FALSE(s.StretchesWidth || s.StretchesHeight);
  s = StretchToTable(vertical, TPoint(0, 0), 1024, 768, 71, 96);
  EXPECT_FALSE(s.StretchesWidth || s.StretchesHeight);
  EXPECT_EQ(s.Width, 1.0f);
}

TEST(LayoutTest, ReLayingATableauUsesQuarterStepsUnderFaceDownCards) {
  TEngineRig rig;
  rig.Deal("Klondike 1 [Turn over 1]", 4);
  TPatienceEngine& e = *rig.Engine;
  // Three face-down cards and one face-up card, then a fifth card on it.
  TCardList& pile = e.Rules.TableauPiles[3];
  ASSERT_EQ(pile.size(), 4u);
  pile.push_back(e.Rules.TableauPiles[4].back());
  e.Rules.TableauPiles[4].pop_back();
  pile.back()->FaceUp = true;
  for (TCard* c : pile) c->Y = 0;
  e.ModifyTableau();
  std::vector<int> ys;
  for (const TCard* c : pile) ys.push_back(c->Y - 170);
  EXPECT_EQ(ys, (std::vector<int>{0, 5, 10, 15, 35}));
}

TEST(LayoutTest, ExtendedLayoutStretchesANewGameByAHiddenTrialDeal) {
  TEngineRig rig(1280, 960);
  rig.Host.Extended = true;
  rig.Engine->ApplyLayout(true);
  rig.Deal("Klondike 1 [Turn over 1]", 77);
  TPatienceEngine& e = *rig.Engine;
  EXPECT_TRUE(rig.Host.Traced("AutoStart now called"));
  // The layout and the record trace what they do.
  for (const char* line : {"Rules cleared", "SetConstantVariables - 1 1", "StoreConstantVariables"})
    EXPECT_TRUE(rig.Host.Traced(line)) << line;
  const auto modified =
      std::find_if(rig.Host.Traces.begin(), rig.Host.Traces.end(),
                   [](const std::string& t) { return t.rfind("ModifyConstantVariables - ", 0) == 0; });
  ASSERT_NE(modified, rig.Host.Traces.end());
  EXPECT_EQ(*modified, "ModifyConstantVariables - 1.81499207019806 1");
  // Klondike's largest X is tableau pile 6 at 15 + 6 x 102 = 627; the table leaves 1280 - 142.
  // Its tableau fans downward, so only the width is stretched.
  const float w = float(1138.0 / 627.0);
  EXPECT_EQ(e.Layout.ColumnStep, int(102 * double(w)));
  EXPECT_EQ(e.Layout.ReserveX, int(15 * double(w)));
  EXPECT_EQ(e.Layout.RowStep, 155);
  EXPECT_EQ(e.Rules.TableauPlaces[6].X, 15 + 6 * e.Layout.ColumnStep);
  EXPECT_EQ(e.Rules.TableauPiles[6][0]->X, 15 + 6 * e.Layout.ColumnStep);
  // The trial deal made no sound and scored nothing: one shuffle was heard.
  EXPECT_EQ(rig.Host.CountSounds("shuffle.wav"), 1);
  EXPECT_EQ(e.Rules.Points, 0);
  // The same cards as the Compact deal of the seed, at other places.
  TEngineRig compact(1280, 960);
  compact.Deal("Klondike 1 [Turn over 1]", 77);
  EXPECT_EQ(DealSnapshot(e, false), DealSnapshot(*compact.Engine, false));
  EXPECT_TRUE(DealIsSound(e, *rig.Table));

  // A new deal of the same game keeps the stretched layout without a trial.
  rig.Host.Traces.clear();
  const TLayout stretched = e.Layout;
  rig.Redeal(78);
  EXPECT_FALSE(rig.Host.Traced("AutoStart now called"));
  EXPECT_EQ(e.Layout, stretched);

  // A game that may stretch both ways.
  rig.Deal("Concentration", 1);
  EXPECT_TRUE(rig.Host.Traced("AutoStart now called"));
  EXPECT_GT(e.Layout.RowStep, 155);
  EXPECT_TRUE(DealIsSound(e, *rig.Table));
}

TEST(LayoutTest, ALayoutChangeMovesTheGameButLeavesItsRulesAndPlay) {
  TEngineRig rig(1280, 960);
  rig.Deal("Burleigh", 9);
  TPatienceEngine& e = *rig.Engine;
  // Play state a layout change must not touch.
  e.StockFromTop = false;
  e.RedealPileByPile = true;
  e.Rules.DealMode |= dmCompactFan;
  e.Rules.Points = 123;
  const TGameRules before = e.Rules;
  const std::string cards = DealSnapshot(e, false);
  const std::string compactPositions = DealSnapshot(e, true);

  rig.Host.Extended = true;
  e.ApplyLayout(true);
  EXPECT_GT(e.Layout.ColumnStep, 102);
  EXPECT_NE(e.Rules.TableauPlaces, before.TableauPlaces);
  EXPECT_FALSE(e.StockFromTop);
  EXPECT_TRUE(e.RedealPileByPile);
  EXPECT_EQ(e.Rules.Tableau.Rules, before.Tableau.Rules);
  EXPECT_EQ(e.Rules.Stock.Rules, before.Stock.Rules);
  EXPECT_EQ(e.Rules.DealMode, before.DealMode);
  EXPECT_EQ(e.Rules.Points, 123);
  EXPECT_EQ(e.Rules.StockFromTop, before.StockFromTop);
  EXPECT_EQ(DealSnapshot(e, false), cards);
  EXPECT_EQ(e.Rules.TableauPiles[0][0]->X, e.Rules.TableauPlaces[0].X);
  // Markers follow their piles.
  EXPECT_EQ(rig.Table->CardDeck()->Places[1].X, e.Rules.TableauPlaces[0].X);
  EXPECT_EQ(rig.Table->CardDeck()->Places[21].X, e.Rules.FoundationPlaces[0].X);
  // The drop points are the new positions.
  EXPECT_EQ(e.DropPointList[0], TPoint(e.Rules.TableauPiles[0].back()->X, e.Rules.TableauPiles[0].back()->Y));

  // Back to Compact: the cards lie where the deal put them.
  rig.Host.Extended = false;
  e.ApplyLayout(false);
  EXPECT_EQ(DealSnapshot(e, true), compactPositions);
  EXPECT_EQ(e.Layout, TLayout());
}

}  // namespace
