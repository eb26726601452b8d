#include <gtest/gtest.h>

#include "patience/engine/Rules.h"

namespace {

TEST(RulesTest, RuleNumbersKeepTheirStoredValues) {
  // Catalogue data names rules by number; a shift would change every game.
  EXPECT_EQ(AnyHigher, 6);
  EXPECT_EQ(SameSuit, 8);
  EXPECT_EQ(BaseOnly, 16);
  EXPECT_EQ(DealByRows, 40);
  EXPECT_EQ(DragFromDeck, 45);
  EXPECT_EQ(PairGame, 57);
  EXPECT_EQ(UnlimitedMoves, 63);
  EXPECT_EQ(RankInPrevious, 73);
  TPileRules r{DownByOne, AlternateColour, RankInPrevious};
  EXPECT_TRUE(r.Has(DownByOne));
  EXPECT_TRUE(r[RankInPrevious]);
  EXPECT_FALSE(r.Has(UpByOne));
  r.Include(UnusedRule5);  // present in some entries, tested by nothing
  r.Exclude(DownByOne);
  EXPECT_FALSE(r.Has(DownByOne));
  EXPECT_EQ(r.Bits.count(), 3u);
}

TEST(RulesTest, ClearRulesResetsTheRecordButNotPlacesOrPiles) {
  TGameRules g;
  g.Tableau.Count = 7;
  g.Tableau.Rules = {DownByOne, Fanned};
  g.Tableau.CardsPerPile = {1, 2};
  g.Tableau.FaceDownPerPile = {0, 1};
  g.Tableau.LeftEmpty = 2;
  g.Tableau.EmptyPiles = 3;
  TCard base(nullptr);
  g.Foundations = {4, &base, {UpByOne}};
  g.Reserve = {4, true, true, true, TPoint(5, 6), true, true, 2, 1};
  g.Stock = {2, 3, 0, 4, {DragFromDeck}, TPoint(1, 2), TPoint(3, 4)};
  g.ExceptPiles = {2, {3, 3}, true, true, {TPoint(1, 1)}, true};
  g.FoundationAngles = {0.5f};
  g.TableauPlaces = {TPoint(10, 10)};
  g.FoundationPlaces = {TPoint(20, 20)};
  g.TableauPiles = {EmptyPile()};
  g.GameName = "Klondike";
  g.DealMode = dmFastDeal | dmCompactFan;

  TGameRules dry = g;
  dry.ClearRules(true);
  EXPECT_EQ(dry.Tableau.Count, 7);
  EXPECT_EQ(dry.Stock.PassesAllowed, 0);
  EXPECT_EQ(dry.DealMode, dmFastDeal | dmCompactFan);
  EXPECT_EQ(dry.Foundations.BaseCard, &base);

  g.ClearRules(false);
  EXPECT_EQ(g.Tableau.Count, 0);
  EXPECT_TRUE(g.Tableau.Rules.Empty());
  EXPECT_TRUE(g.Tableau.CardsPerPile.empty());
  EXPECT_TRUE(g.Tableau.FaceDownPerPile.empty());
  EXPECT_EQ(g.Tableau.LeftEmpty, 0);
  EXPECT_EQ(g.Tableau.EmptyPiles, 3);  // counted by the drag lists, not reset here
  EXPECT_EQ(g.Foundations.Count, 0);
  EXPECT_EQ(g.Foundations.BaseCard, nullptr);
  EXPECT_TRUE(g.Foundations.Rules.Empty());
  EXPECT_EQ(g.Reserve.Count, 0);
  EXPECT_FALSE(g.Reserve.FaceUp || g.Reserve.VerticalFan || g.Reserve.AllPlayable || g.Reserve.FreeCells ||
               g.Reserve.CellsVertical);
  EXPECT_EQ(g.Reserve.Origin, TPoint());
  EXPECT_EQ(g.Reserve.DealtToCells, 0);
  EXPECT_EQ(g.Reserve.EmptyCells, 0);
  EXPECT_EQ(g.Stock.Decks, 0);
  EXPECT_EQ(g.Stock.DealCount, 0);
  EXPECT_EQ(g.Stock.PassesAllowed, 1);  // one pass, no redeal
  EXPECT_EQ(g.Stock.PassesDone, 0);
  EXPECT_TRUE(g.Stock.Rules.Empty());
  EXPECT_EQ(g.Stock.Point, TPoint(1, 2));
  EXPECT_EQ(g.Stock.WastePoint, TPoint(3, 4));
  EXPECT_EQ(g.DealMode, 0);
  EXPECT_EQ(g.ExceptPiles.Count, 0);
  EXPECT_FALSE(g.ExceptPiles.FaceUp || g.ExceptPiles.ByPositionTable || g.ExceptPiles.FanHorizontal);
  EXPECT_TRUE(g.ExceptPiles.CardsPerPile.empty());
  EXPECT_TRUE(g.ExceptPiles.Positions.empty());
  EXPECT_TRUE(g.FoundationAngles.empty());
  EXPECT_EQ(g.TableauPlaces.size(), 1u);
  EXPECT_EQ(g.FoundationPlaces.size(), 1u);
  EXPECT_EQ(g.TableauPiles.size(), 1u);
  EXPECT_EQ(g.GameName, "Klondike");
}

TEST(RulesTest, PileHelpersTreatOneNilAsEmpty) {
  TCard a(nullptr), b(nullptr);
  TCardList empty = EmptyPile();
  EXPECT_TRUE(IsEmpty(empty));
  EXPECT_EQ(CardCountOf(empty), 0);
  EXPECT_EQ(TopIndex(empty), 0);
  EXPECT_EQ(TopCard(empty), nullptr);
  TCardList one{&a};
  EXPECT_FALSE(IsEmpty(one));
  EXPECT_EQ(CardCountOf(one), 1);
  EXPECT_EQ(TopIndex(one), 0);
  EXPECT_EQ(TopCard(one), &a);
  TCardList two{&a, &b};
  EXPECT_EQ(TopCard(two), &b);
  EXPECT_EQ(TopIndex(two), 1);
  // A free-cell row keeps its holes: its first slot being empty says nothing of the others,
  // so cells are never read through the pile helpers.
  TCardList cells{nullptr, &a, nullptr};
  EXPECT_EQ(cells.size(), 3u);
}

}  // namespace
