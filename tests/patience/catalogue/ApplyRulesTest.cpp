// Setting a game up, the dry run of a layout change, and finding games by caption.

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <stdexcept>

#include "CatalogueTestUtil.h"

namespace {

// Every field of the record except the six place fields; names the first that differ.
testing::AssertionResult SameExceptPlaces(const TGameRules& a, const TGameRules& b) {
  std::ostringstream diff;
  auto cmp = [&](const char* what, bool same) {
    if (!same) diff << what << " ";
  };
  cmp("Tableau.Count", a.Tableau.Count == b.Tableau.Count);
  cmp("Tableau.Rules", a.Tableau.Rules == b.Tableau.Rules);
  cmp("Tableau.CardsPerPile", a.Tableau.CardsPerPile == b.Tableau.CardsPerPile);
  cmp("Tableau.FaceDownPerPile", a.Tableau.FaceDownPerPile == b.Tableau.FaceDownPerPile);
  cmp("Tableau.LeftEmpty", a.Tableau.LeftEmpty == b.Tableau.LeftEmpty);
  cmp("Tableau.EmptyPiles", a.Tableau.EmptyPiles == b.Tableau.EmptyPiles);
  cmp("Foundations.Count", a.Foundations.Count == b.Foundations.Count);
  cmp("Foundations.BaseCard", a.Foundations.BaseCard == b.Foundations.BaseCard);
  cmp("Foundations.Rules", a.Foundations.Rules == b.Foundations.Rules);
  cmp("Reserve.Count", a.Reserve.Count == b.Reserve.Count);
  cmp("Reserve flags",
      a.Reserve.FaceUp == b.Reserve.FaceUp && a.Reserve.VerticalFan == b.Reserve.VerticalFan &&
          a.Reserve.AllPlayable == b.Reserve.AllPlayable && a.Reserve.FreeCells == b.Reserve.FreeCells &&
          a.Reserve.CellsVertical == b.Reserve.CellsVertical);
  cmp("Reserve.DealtToCells", a.Reserve.DealtToCells == b.Reserve.DealtToCells);
  cmp("Reserve.EmptyCells", a.Reserve.EmptyCells == b.Reserve.EmptyCells);
  cmp("Stock.Decks", a.Stock.Decks == b.Stock.Decks);
  cmp("Stock.DealCount", a.Stock.DealCount == b.Stock.DealCount);
  cmp("Stock.PassesAllowed", a.Stock.PassesAllowed == b.Stock.PassesAllowed);
  cmp("Stock.PassesDone", a.Stock.PassesDone == b.Stock.PassesDone);
  cmp("Stock.Rules", a.Stock.Rules == b.Stock.Rules);
  cmp("ExceptPiles.Count", a.ExceptPiles.Count == b.ExceptPiles.Count);
  cmp("ExceptPiles.CardsPerPile", a.ExceptPiles.CardsPerPile == b.ExceptPiles.CardsPerPile);
  cmp("ExceptPiles flags", a.ExceptPiles.FaceUp == b.ExceptPiles.FaceUp &&
                               a.ExceptPiles.ByPositionTable == b.ExceptPiles.ByPositionTable &&
                               a.ExceptPiles.FanHorizontal == b.ExceptPiles.FanHorizontal);
  cmp("FoundationAngles", a.FoundationAngles == b.FoundationAngles);
  cmp("piles", a.TableauPiles == b.TableauPiles && a.FoundationPiles == b.FoundationPiles &&
                   a.ReserveCards == b.ReserveCards && a.WasteCards == b.WasteCards &&
                   a.ExceptPileCards == b.ExceptPileCards);
  cmp("names", a.GameName == b.GameName && a.LastGameName == b.LastGameName && a.SaveName == b.SaveName &&
                   a.LastSaveName == b.LastSaveName && a.HelpCode == b.HelpCode);
  cmp("GamePicture", a.GamePicture == b.GamePicture);
  cmp("DealMode", a.DealMode == b.DealMode);
  cmp("StockFromTop", a.StockFromTop == b.StockFromTop);
  cmp("score",
      a.Points == b.Points && a.FoundationCount == b.FoundationCount && a.GameClosed == b.GameClosed);
  if (diff.str().empty()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "differ: " << diff.str();
}

// A record in the middle of a game: counters, piles and flags the engine owns.
struct TInPlay {
  TCard card{nullptr};
  TGameRules rules;
  explicit TInPlay(const TGameRef& game) : rules(Applied(game)) {
    rules.Tableau.EmptyPiles = 2;
    rules.Reserve.EmptyCells = 1;
    rules.Stock.PassesDone = 1;
    rules.Foundations.BaseCard = &card;
    rules.TableauPiles.assign(size_t(rules.Tableau.Count), TCardList{&card});
    rules.FoundationPiles.assign(size_t(rules.Foundations.Count), EmptyPile());
    rules.WasteCards = {&card};
    rules.LastGameName = rules.GameName;
    rules.SaveName = "game.ppg";
    rules.Points = 35;
    rules.FoundationCount = 3;
  }
};

TEST(ApplyRulesTest, ASetupReplacesEveryFieldOfThePreviousGame) {
  // Holding Pattern fills the reserve, except piles and stock rules; The Clock has angles;
  // Burleigh sets StockFromTop. Each is followed by a plain game.
  for (const char* before : {"Holding Pattern", "The Clock", "Burleigh", "Obrai-Skai"}) {
    TInPlay previous(Game(before));
    TGameRules g = previous.rules;
    ApplyRules(TGameRef::Klondike(1), g, false);
    ComputePlaces(TGameRef::Klondike(1), kDefaultLayout, g);
    TGameRules fresh = Applied(TGameRef::Klondike(1));
    // What the engine owns stays; every rule field is Klondike's alone.
    fresh.Tableau.EmptyPiles = g.Tableau.EmptyPiles;
    fresh.TableauPiles = g.TableauPiles;
    fresh.FoundationPiles = g.FoundationPiles;
    fresh.WasteCards = g.WasteCards;
    fresh.LastGameName = g.LastGameName;
    fresh.SaveName = g.SaveName;
    fresh.Points = g.Points;
    fresh.FoundationCount = g.FoundationCount;
    EXPECT_TRUE(SameExceptPlaces(g, fresh)) << "after " << before;
    EXPECT_EQ(g.Tableau.EmptyPiles, 2);  // counted by the drag lists, not reset by a setup
    EXPECT_EQ(g.Foundations.BaseCard, nullptr);
    EXPECT_EQ(g.Reserve.EmptyCells, 0);
    EXPECT_EQ(g.Stock.PassesDone, 0);
    EXPECT_EQ(g.Reserve.Origin, TPoint());
    EXPECT_EQ(g.Stock.Point, TPoint());
    EXPECT_TRUE(g.ExceptPiles.Positions.empty());
    EXPECT_EQ(g.TableauPlaces, fresh.TableauPlaces);
    EXPECT_EQ(g.FoundationPlaces, fresh.FoundationPlaces);
  }
}

TEST(ApplyRulesTest, AGameThatLeavesDealModeUnwrittenGetsTheClearedValue) {
  TGameRules g = Applied(Game("Spider"));  // fast deal and compact fan
  EXPECT_EQ(g.DealMode, dmFastDeal | dmCompactFan);
  ApplyRules(Game("Four Seasons"), g, false);
  EXPECT_EQ(g.DealMode, 0);
  ApplyRules(Game("Courtyard"), g, false);
  EXPECT_EQ(g.DealMode, dmCompactFan);
}

TEST(ApplyRulesTest, DryRunRewritesTheSameGameWithoutClearingPlayState) {
  for (const TGameRef& game : AllGames()) {
    TInPlay play(game);
    TGameRules before = play.rules;
    play.rules.GameName = "Loading";  // how the caller forces the rerun
    ASSERT_TRUE(NeedsApplying(game, play.rules));
    ApplyRules(game, play.rules, true);
    EXPECT_TRUE(SameExceptPlaces(play.rules, before)) << GameCaption(game);
  }
}

TEST(ApplyRulesTest, DryRunKeepsTheCompactFanBitStartGameAdded) {
  TInPlay play(TGameRef::Klondike(2));
  play.rules.DealMode |= dmCompactFan;  // a screen smaller than 1024 x 768
  ApplyRules(TGameRef::Klondike(2), play.rules, true);
  EXPECT_EQ(play.rules.DealMode, dmFastDeal | dmCompactFan);
  ApplyRules(TGameRef::Klondike(2), play.rules, false);  // a real setup starts over
  EXPECT_EQ(play.rules.DealMode, dmFastDeal);

  TInPlay seasons(Game("Four Seasons"));  // writes no DealMode at all
  seasons.rules.DealMode = dmCompactFan;
  ApplyRules(Game("Four Seasons"), seasons.rules, true);
  EXPECT_EQ(seasons.rules.DealMode, dmCompactFan);
}

TEST(ApplyRulesTest, DryRunKeepsAPileByPileDealTheGatherAdded) {
  TInPlay cruel(Game("Cruel"));
  ASSERT_FALSE(cruel.rules.Tableau.Rules.Has(DealPileByPile));
  ApplyRules(Game("Cruel"), cruel.rules, true);
  EXPECT_FALSE(cruel.rules.Tableau.Rules.Has(DealPileByPile));  // never added by a dry run
  cruel.rules.Tableau.Rules.Include(DealPileByPile);            // a gathering redeal happened
  TPileRules gathered = cruel.rules.Tableau.Rules;
  ApplyRules(Game("Cruel"), cruel.rules, true);
  EXPECT_EQ(cruel.rules.Tableau.Rules, gathered);
  ApplyRules(Game("Cruel"), cruel.rules, false);
  EXPECT_FALSE(cruel.rules.Tableau.Rules.Has(DealPileByPile));
}

TEST(ApplyRulesTest, StockFromTopIsWrittenBySetupsOnly) {
  TGameRules g = Applied(Game("Burleigh"));
  EXPECT_TRUE(g.StockFromTop);
  g.StockFromTop = false;
  ApplyRules(Game("Burleigh"), g, true);
  EXPECT_FALSE(g.StockFromTop);  // a layout change never flips the stock's direction
  ApplyRules(Game("Burleigh"), g, false);
  EXPECT_TRUE(g.StockFromTop);
  ApplyRules(Game("One Foundation"), g, false);
  EXPECT_FALSE(g.StockFromTop);
}

TEST(ApplyRulesTest, ComputePlacesChangesOnlyPlaces) {
  const TLayoutVars stretched{15, 15, 212, 131, 176};
  for (const TGameRef& game : AllGames()) {
    TInPlay play(game);
    TGameRules before = play.rules;
    ComputePlaces(game, stretched, play.rules);
    EXPECT_TRUE(SameExceptPlaces(play.rules, before)) << GameCaption(game);
    // The same places a fresh setup at that layout gives.
    TGameRules fresh = Applied(game, stretched);
    EXPECT_EQ(play.rules.TableauPlaces, fresh.TableauPlaces);
    EXPECT_EQ(play.rules.FoundationPlaces, fresh.FoundationPlaces);
    EXPECT_EQ(play.rules.Reserve.Origin, fresh.Reserve.Origin);
    EXPECT_EQ(play.rules.Stock.Point, fresh.Stock.Point);
    EXPECT_EQ(play.rules.Stock.WastePoint, fresh.Stock.WastePoint);
    EXPECT_EQ(play.rules.ExceptPiles.Positions, fresh.ExceptPiles.Positions);
  }
  // The places do move with the layout.
  TGameRules g = Applied(Game("Osmosis"));
  ComputePlaces(Game("Osmosis"), stretched, g);
  EXPECT_EQ(g.Stock.Point, TPoint(15 + 328, 15 + 176));  // 2.5 x 131 = 327.5 -> 328
  EXPECT_EQ(g.FoundationPlaces[3], TPoint(15, 15 + 3 * 176));
}

TEST(ApplyRulesTest, ChoosingTheGameInPlayIsANoOp) {
  TGameRules g = Applied(TGameRef::Klondike(1));
  EXPECT_FALSE(NeedsApplying(TGameRef::Klondike(1), g));
  EXPECT_TRUE(NeedsApplying(TGameRef::Klondike(2), g));  // another variant is another game
  EXPECT_TRUE(NeedsApplying(Game("Freecell"), g));
  g.GameName = "Loading";
  EXPECT_TRUE(NeedsApplying(TGameRef::Klondike(1), g));
  g.GameName = "klondike 1 [turn over 1]";  // exact comparison
  EXPECT_TRUE(NeedsApplying(TGameRef::Klondike(1), g));
  TGameRules fc = Applied(TGameRef::FreecellNxM(6, 3));
  EXPECT_FALSE(NeedsApplying(TGameRef::FreecellNxM(6, 3), fc));
  EXPECT_TRUE(NeedsApplying(TGameRef::FreecellNxM(6, 4), fc));
}

TEST(CatalogueLookupTest, EveryCaptionNamesItsOwnGame) {
  const auto& captions = AllCaptions();
  const auto& games = AllGames();
  ASSERT_EQ(captions.size(), size_t(kGameCount));
  ASSERT_EQ(games.size(), size_t(kGameCount));
  EXPECT_EQ(std::set<std::string>(captions.begin(), captions.end()).size(), size_t(kGameCount));
  for (size_t i = 0; i < games.size(); ++i) {
    EXPECT_TRUE(IsValidGame(games[i]));
    EXPECT_EQ(GameCaption(games[i]), captions[i]);
    auto found = FindGame(captions[i]);
    ASSERT_TRUE(found.has_value()) << captions[i];
    EXPECT_EQ(*found, games[i]) << captions[i];
    TGameRules g = Applied(*found);
    EXPECT_EQ(g.GameName, captions[i]);
  }
}

TEST(CatalogueLookupTest, CaptionsComeInCatalogueOrder) {
  const auto& captions = AllCaptions();
  EXPECT_EQ(captions[0], "Canfield");
  EXPECT_EQ(captions[3], "Klondike 1 [Turn over 1]");
  EXPECT_EQ(captions[4], "Klondike 2 [Turn over 3]");
  EXPECT_EQ(captions[5], "Yukon");
  EXPECT_EQ(captions[29], "Freecell");
  EXPECT_EQ(captions[101], "Shamrocks");
  EXPECT_EQ(captions[102], "Freecell 4x4");
  EXPECT_EQ(captions[147], "Freecell 10x6");
  EXPECT_EQ(captions[148], "Cruel");
  EXPECT_EQ(captions.back(), "Osmosis");
  int previous = 0;
  for (const TGameRef& game : AllGames()) {
    EXPECT_GE(game.Entry, previous);
    previous = game.Entry;
  }
}

TEST(CatalogueLookupTest, FreecellSizesAreTheFortySixTheMenusOffer) {
  const auto& sizes = FreecellSizes();
  ASSERT_EQ(sizes.size(), 46u);
  EXPECT_EQ(sizes.front(), std::make_pair(4, 4));
  EXPECT_EQ(sizes.back(), std::make_pair(10, 6));
  std::map<int, std::vector<int>> byColumns;
  for (auto [columns, cells] : sizes) byColumns[columns].push_back(cells);
  EXPECT_EQ(byColumns[4], (std::vector<int>{4, 5, 6, 7, 8}));
  EXPECT_EQ(byColumns[5], (std::vector<int>{3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(byColumns[6], (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(byColumns[7], (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(byColumns[8], (std::vector<int>{1, 2, 3, 5, 6, 7, 8}));
  EXPECT_EQ(byColumns[9], (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(byColumns[10], (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  // 8 x 4 is plain Freecell, offered once.
  EXPECT_FALSE(FindGame("Freecell 8x4").has_value());
  EXPECT_FALSE(IsValidGame(TGameRef::FreecellNxM(8, 4)));
  EXPECT_EQ(FindGame("Freecell"), TGameRef::Plain(kEntryFreecell));
  EXPECT_EQ(FindGame("Freecell 10x0"), TGameRef::FreecellNxM(10, 0));
}

TEST(CatalogueLookupTest, LookupIsExact) {
  for (const char* miss : {"freecell", "Freecell ", " Freecell", "Klondike", "Klondike 3", "Blitzkrieg",
                           "Totem Pole", "Loading", "", "Freecell 4x3", "Freecell 11x0", "Freecell 04x4"})
    EXPECT_FALSE(FindGame(miss).has_value()) << "'" << miss << "'";
  EXPECT_EQ(FindGame("Klondike 3 [Double]"), TGameRef::Plain(17));
  EXPECT_EQ(FindGame("Will o the Wisp"), TGameRef::Plain(94));
}

TEST(CatalogueLookupTest, ReferencesToNoGameAreRefusedWithoutTouchingTheRecord) {
  for (const TGameRef& bad :
       {TGameRef::Plain(0), TGameRef::Plain(160), TGameRef::Plain(kEntryKlondike),
        TGameRef::Plain(kEntryFreecellNxM), TGameRef::Klondike(0), TGameRef::Klondike(3),
        TGameRef::FreecellNxM(8, 4), TGameRef::FreecellNxM(3, 4), TGameRef{1, 1, 0, 0}}) {
    EXPECT_FALSE(IsValidGame(bad));
    EXPECT_THROW(GameDefinition(bad), std::out_of_range);
    TGameRules g = Applied(Game("Freecell"));
    TGameRules before = g;
    EXPECT_THROW(ApplyRules(bad, g, false), std::out_of_range);
    EXPECT_THROW(ComputePlaces(bad, kDefaultLayout, g), std::out_of_range);
    EXPECT_TRUE(SameExceptPlaces(g, before));
    EXPECT_EQ(g.TableauPlaces, before.TableauPlaces);
  }
}

TEST(CatalogueLookupTest, HelpCodeIsReadableWithoutSettingTheGameUp) {
  // The rules page of a game chosen on the start screen needs only its help code.
  EXPECT_EQ(GameDefinition(Game("Aces Up")).HelpCode, "acesup");
  EXPECT_EQ(GameDefinition(TGameRef::FreecellNxM(5, 3)).HelpCode, "2r1o");
  EXPECT_EQ(GameDefinition(TGameRef::Klondike(2)).HelpCode, "1jaq");
}

}  // namespace
