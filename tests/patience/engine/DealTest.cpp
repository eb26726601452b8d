// The deal: known deals for a known seed, faces and fan steps, bases, the clock, the history
// lines and the closing of the previous game, the screen-size seam and the faults the deal mends.

#include <gtest/gtest.h>

#include <sstream>

#include "tests/patience/engine/EngineTestUtil.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<int> PileYs(const TCardList& pile) {
  std::vector<int> ys;
  for (const TCard* c : pile) ys.push_back(c->Y);
  return ys;
}

int StockCount(const TPatienceEngine& e) {
  return e.Deck().CardsLeft(false);
}

// ------------------------------------------------------------------------------------------------
// Known deals

TEST(DealTest, KnownSeedGivesTheHandCheckedKlondikeAndFreecell) {
  // Seed 12345 shuffles a fresh pack into 5s 3c 7d 8d 2s 5d 8s 9c 4h 7c Qh 5c ... (worked out by
  // hand from the generator and the shuffle); Klondike deals it by rows over 1..7 cards,
  // Freecell by rows over eight piles.
  TEngineRig rig;
  rig.Deal("Klondike 1 [Turn over 1]", 12345);
  const auto k = Lines(DealSnapshot(*rig.Engine, false));
  EXPECT_EQ(k[0], "T0: 5s");
  EXPECT_EQ(k[1], "T1: _3c 9c");
  EXPECT_EQ(k[2], "T2: _7d _4h Jc");
  EXPECT_EQ(k[3], "T3: _8d _7c _9d 5h");
  EXPECT_EQ(k[4], "T4: _2s _Qh _6d _Ad 6s");
  EXPECT_EQ(k[5], "T5: _5d _5c _Jh _Qs _As 2h");
  EXPECT_EQ(k[6], "T6: _8s _4c _4d _2c _6c _Qd 9h");
  EXPECT_EQ(
      k[13],
      "S0: _Kh _8c _Th _9s _Js _8h _Kc _3s _Jd _4s _7s _Ks _Ts _Td _Ac _Kd _3d _6h _Ah _3h _7h _Tc _Qc _2d");
  // Face-down cards lie a quarter step apart, the face-up card on them a quarter step on.
  EXPECT_EQ(PileYs(rig.Engine->Rules.TableauPiles[6]), (std::vector<int>{170, 175, 180, 185, 190, 195, 200}));
  EXPECT_EQ(rig.Engine->Rules.TableauPiles[6][0]->X, 627);

  rig.Deal("Freecell", 12345);
  const auto f = Lines(DealSnapshot(*rig.Engine, false));
  EXPECT_EQ(f[0], "T0: 5s 4h Jh 6c Js Ts 7h");
  EXPECT_EQ(f[1], "T1: 3c 7c 4d 2h 8h Td Tc");
  EXPECT_EQ(f[2], "T2: 7d Qh 5h Qd Kc Ac Qc");
  EXPECT_EQ(f[3], "T3: 8d 5c Ad 9h 3s Kd 2d");
  EXPECT_EQ(f[4], "T4: 2s 4c Qs Kh Jd 3d");
  EXPECT_EQ(f[5], "T5: 5d Jc 2c 8c 4s 6h");
  EXPECT_EQ(f[6], "T6: 8s 9d 6s Th 7s Ah");
  EXPECT_EQ(f[7], "T7: 9c 6d As 9s Ks 3h");
  EXPECT_EQ(f[12], "R0: -- -- -- --");
  EXPECT_EQ(f[14], "S0:");
  EXPECT_EQ(PileYs(rig.Engine->Rules.TableauPiles[0]), (std::vector<int>{170, 190, 210, 230, 250, 270, 290}));
  EXPECT_EQ(rig.Engine->Rules.TableauPiles[0][0]->X, 117);
}

TEST(DealTest, TheSameSeedDealsTheSameGameIdentically) {
  TEngineRig rig;
  for (const char* game : {"Klondike 2 [Turn over 3]", "Spider", "Yukon", "The Clock", "Four Colours",
                           "Canfield", "Concentration", "Holding Pattern"}) {
    rig.Deal(game, 4242);
    const std::string first = DealSnapshot(*rig.Engine, true);
    rig.Deal("Aces Up", 1);
    rig.Deal(game, 4242);
    EXPECT_EQ(DealSnapshot(*rig.Engine, true), first) << game;
    rig.Redeal(4243);
    EXPECT_NE(DealSnapshot(*rig.Engine, false), first) << game;
  }
}

TEST(DealTest, TheNextDealContinuesTheDealGeneratorAndFirstDealsTakeATimeSeed) {
  TEngineRig rig;
  EXPECT_TRUE(rig.Engine->NeedRandomize());
  ASSERT_TRUE(StartGameByCaption(*rig.Engine, "Freecell"));
  EXPECT_FALSE(rig.Engine->NeedRandomize());
  rig.Engine->SetRandomSeed(7);
  rig.Engine->NewDeal();
  // Every deal records the generator's state it shuffled from; the shuffle moves it on.
  TRandom expected(7);
  for (int i = 0; i < 52; ++i) expected.Random(51);
  EXPECT_EQ(rig.Engine->RandomSeed(), expected.Seed);
  rig.Engine->NewDeal();
  EXPECT_EQ(rig.Engine->HistoryList[1], std::to_string(int32_t(expected.Seed)));
}

// ------------------------------------------------------------------------------------------------
// Faces, fans and piles

TEST(DealTest, YukonShowsItsFaceDownCountsWithQuarterSteps) {
  TEngineRig rig;
  rig.Deal("Yukon", 99);
  const auto& piles = rig.Engine->Rules.TableauPiles;
  // Pile 6: eleven cards, six face down; five px apart, then twenty.
  EXPECT_EQ(PileYs(piles[6]), (std::vector<int>{170, 175, 180, 185, 190, 195, 200, 220, 240, 260, 280}));
  for (int k = 0; k < 11; ++k) EXPECT_EQ(piles[6][size_t(k)]->FaceUp, k >= 6) << k;
  EXPECT_EQ(piles[0].size(), 1u);
  EXPECT_TRUE(piles[0][0]->FaceUp);
  EXPECT_EQ(StockCount(*rig.Engine), 0);
}

TEST(DealTest, UpwardFansStepUpAndQuarterStepsKeepTheirSign) {
  TEngineRig rig;
  auto game = std::make_shared<TCustomGame>(
      "Upward",
      [](TGameRules& r) {
        r.Tableau.Count = 2;
        r.Tableau.CardsPerPile = {4, 2};
        r.Tableau.Rules = {Fanned, FanUpward, DealByRows};
        r.DealMode = dmFastDeal;
      },
      [](const TLayout& l, TGameRules& r) {
        r.TableauPlaces = {TPoint(l.LeftMargin, 500), TPoint(l.LeftMargin + l.ColumnStep, 500)};
      });
  rig.Engine->SetRandomSeed(5);
  ASSERT_TRUE(rig.Engine->ChooseGame(game));
  EXPECT_EQ(rig.Engine->TableauFan, -20);
  EXPECT_EQ(PileYs(rig.Engine->Rules.TableauPiles[0]), (std::vector<int>{500, 495, 490, 485}));
  EXPECT_EQ(PileYs(rig.Engine->Rules.TableauPiles[1]), (std::vector<int>{500, 495}));
  EXPECT_FALSE(rig.Engine->Rules.TableauPiles[0][2]->FaceUp);
  EXPECT_TRUE(rig.Engine->Rules.TableauPiles[0][3]->FaceUp);
  EXPECT_TRUE(DealIsSound(*rig.Engine, *rig.Table));
}

TEST(DealTest, SmallScreensDealWithTheCompactFan) {
  // The screen-size seam: below 1024 x 768 in either direction the fan is reduced.
  for (TPoint screen : {TPoint(1024, 768), TPoint(1023, 768), TPoint(1024, 767)}) {
    TEngineRig rig;
    rig.Host.Screen = screen;
    rig.Deal("Klondike 1 [Turn over 1]", 3);
    const bool small = screen.X < 1024 || screen.Y < 768;
    EXPECT_EQ(rig.Engine->TableauFan, small ? 16 : 20) << screen.X << "x" << screen.Y;
    EXPECT_EQ(bool(rig.Engine->Rules.DealMode & dmCompactFan), small);
    // Seven cards, six face down: quarter steps of 4 (or 5).
    EXPECT_EQ(rig.Engine->Rules.TableauPiles[6].back()->Y, 170 + 6 * (small ? 4 : 5));
  }
}

TEST(DealTest, DealBySuitPutsEachSuitOnItsPile) {
  TEngineRig rig;
  rig.Deal("Four Colours", 31);
  const auto& piles = rig.Engine->Rules.TableauPiles;
  for (int p = 0; p < 4; ++p) {
    ASSERT_EQ(piles[size_t(p)].size(), 13u) << p;
    for (const TCard* c : piles[size_t(p)]) EXPECT_EQ(int(c->Suit), p);
  }
  for (int p = 4; p < 7; ++p) EXPECT_TRUE(IsEmpty(piles[size_t(p)]));
  EXPECT_TRUE(DealIsSound(*rig.Engine, *rig.Table));
}

TEST(DealTest, CountsBeyondThePackStopAtItsEnd) {
  TEngineRig rig;
  auto sizes = [&] {
    std::vector<size_t> s;
    for (const auto& p : rig.Engine->Rules.TableauPiles) s.push_back(IsEmpty(p) ? 0 : p.size());
    return s;
  };
  rig.Deal("Freecell 4x4", 1);
  EXPECT_EQ(sizes(), (std::vector<size_t>{13, 13, 13, 13}));
  rig.Deal("Freecell 9x0", 1);
  EXPECT_EQ(sizes(), (std::vector<size_t>{6, 6, 6, 6, 6, 6, 6, 5, 5}));
  EXPECT_TRUE(rig.Engine->Rules.ReserveCards.empty());
  rig.Deal("Bastion", 1);
  EXPECT_EQ(sizes(), std::vector<size_t>(10, 5));
  rig.Deal("Forecell", 1);
  EXPECT_EQ(sizes(), std::vector<size_t>(8, 6));
  rig.Deal("Sea Towers", 1);
  EXPECT_EQ(sizes(), std::vector<size_t>(10, 5));
  EXPECT_EQ(StockCount(*rig.Engine), 0);
  EXPECT_TRUE(DealIsSound(*rig.Engine, *rig.Table));
}

// ------------------------------------------------------------------------------------------------
// Bases and foundations

TEST(DealTest, CanfieldDealsOneBaseAndShowsItsValue) {
  TEngineRig rig;
  rig.Deal("Canfield", 8);
  const TGameRules& r = rig.Engine->Rules;
  ASSERT_NE(r.Foundations.BaseCard, nullptr);
  EXPECT_EQ(r.FoundationPiles[0], TCardList{r.Foundations.BaseCard});
  EXPECT_TRUE(r.Foundations.BaseCard->FaceUp);
  EXPECT_EQ(r.Foundations.BaseCard->X, r.FoundationPlaces[0].X);
  static const char* words[] = {"    Ace", "    Two", "  Three", "   Four", "   Five", "    Six", "  Seven",
                                "  Eight", "   Nine", "    Ten", "   Jack", "  Queen", "   King"};
  EXPECT_EQ(rig.Host.FoundationLabel, words[r.Foundations.BaseCard->Value]);
  // Thirteen face-up reserve cards squared at the reserve place.
  ASSERT_EQ(r.ReserveCards.size(), 13u);
  for (const TCard* c : r.ReserveCards) {
    EXPECT_TRUE(c->FaceUp);
    EXPECT_EQ(TPoint(c->X, c->Y), TPoint(15, 170));
  }
  EXPECT_EQ(StockCount(*rig.Engine), 52 - 1 - 13 - 4);
}

TEST(DealTest, AllBasesGoUpInPackOrderBeforeTheShuffle) {
  TEngineRig rig;
  rig.Deal("Acme", 17);
  const TGameRules& r = rig.Engine->Rules;
  for (int j = 0; j < 4; ++j) {
    ASSERT_EQ(r.FoundationPiles[size_t(j)].size(), 1u);
    EXPECT_EQ(CardName(r.FoundationPiles[size_t(j)][0]), std::string("A") + "cdhs"[j]);
  }
  EXPECT_EQ(rig.Host.FoundationLabel, "    Ace");
  EXPECT_EQ(StockCount(*rig.Engine), 48 - 13 - 4);
  // Each base scores as a card onto the foundations.
  EXPECT_EQ(rig.Host.CountSounds("success.wav"), 4);
  EXPECT_EQ(r.FoundationCount, 4);
  EXPECT_EQ(r.Points, 4 * 50);
  EXPECT_EQ(rig.Host.Points, 200);
}

TEST(DealTest, BasesBeyondTheFoundationsStayInThePack) {
  TEngineRig rig;
  auto game = std::make_shared<TCustomGame>(
      "Two Aces",
      [](TGameRules& r) {
        r.Foundations.Count = 2;
        r.Foundations.Rules = {UpByOne, EmptyTakesAce, DealAllBases};
      },
      [](const TLayout& l, TGameRules& r) {
        r.FoundationPlaces = {TPoint(l.LeftMargin + 2 * l.ColumnStep, l.TopMargin),
                              TPoint(l.LeftMargin + 3 * l.ColumnStep, l.TopMargin)};
      });
  rig.Engine->SetRandomSeed(1);
  ASSERT_TRUE(rig.Engine->ChooseGame(game));
  EXPECT_EQ(CardName(rig.Engine->Rules.FoundationPiles[0][0]), "Ac");
  EXPECT_EQ(CardName(rig.Engine->Rules.FoundationPiles[1][0]), "Ad");
  EXPECT_EQ(StockCount(*rig.Engine), 50);
  EXPECT_TRUE(DealIsSound(*rig.Engine, *rig.Table));
}

TEST(DealTest, TheClockDealsFourAPileAndSendsKingsInTheCentreToTheBottom) {
  TEngineRig rig;
  int kingsMoved = 0;
  for (uint32_t seed = 0; seed < 60; ++seed) {
    rig.Deal("The Clock", seed);
    const TGameRules& r = rig.Engine->Rules;
    for (int i = 0; i < 13; ++i) {
      ASSERT_EQ(r.FoundationPiles[size_t(i)].size(), 4u);
      for (const TCard* c : r.FoundationPiles[size_t(i)]) EXPECT_EQ(c->Angle, r.FoundationAngles[size_t(i)]);
      if (i < 12) {
        for (const TCard* c : r.FoundationPiles[size_t(i)]) EXPECT_FALSE(c->FaceUp);
      }
    }
    const TCardList& centre = r.FoundationPiles[12];
    int up = 0;
    for (const TCard* c : centre) up += c->FaceUp;
    // The loop ends on a card that is not a King, or once nothing is hidden any more.
    EXPECT_TRUE(centre.back()->FaceUp);
    EXPECT_TRUE(centre.back()->Value != cvKing || up == 4) << seed;
    // Each King sent down scored as a card onto the foundations and turned one more card up.
    EXPECT_EQ(r.FoundationCount, up - 1) << seed;
    for (int k = 0; k < up - 1; ++k) EXPECT_EQ(centre[size_t(k)]->Value, cvKing) << seed;
    kingsMoved += up - 1;
    EXPECT_EQ(StockCount(*rig.Engine), 0);
    EXPECT_TRUE(DealIsSound(*rig.Engine, *rig.Table));
  }
  EXPECT_GT(kingsMoved, 0);
}

// ------------------------------------------------------------------------------------------------
// History, statistics and commands

TEST(DealTest, TheHistoryStartsWithNameSeedAndOpenMark) {
  TEngineRig rig;
  rig.Deal("Spider", 0xFFFFFFFFu);
  const TPatienceEngine& e = *rig.Engine;
  ASSERT_EQ(e.HistoryList.Count(), 3);
  EXPECT_EQ(e.HistoryList[0], "Spider");
  EXPECT_EQ(e.HistoryList[1], "-1");
  EXPECT_EQ(e.HistoryList[2], "O");
  EXPECT_EQ(e.HistoryPointer, 3);
  EXPECT_EQ(e.UndoList.Count(), 0);
  EXPECT_EQ(rig.Host.Caption, "Patience. Game: Spider  [Open Game]");
  EXPECT_FALSE(e.Rules.GameClosed);
  EXPECT_TRUE(rig.Host.Commands[TEngineCommand::NewGame]);
  EXPECT_TRUE(rig.Host.Commands[TEngineCommand::Undo]);
  EXPECT_FALSE(rig.Host.Commands[TEngineCommand::Redo]);
  EXPECT_TRUE(rig.Host.Commands[TEngineCommand::MenuBar]);
  EXPECT_FALSE(rig.Host.Commands[TEngineCommand::Redeal]);
  EXPECT_EQ(rig.Host.RedealButton, TPoint(15 + 10, 15 + 23));
}

TEST(DealTest, ARestartOfAClosedGameStaysClosedButANewDealOpensIt) {
  TEngineRig rig;
  rig.Deal("Freecell", 5);
  rig.Engine->HistoryList[2] = "0";  // the game was closed (won, or its history changed)
  rig.Engine->Rules.GameClosed = true;
  rig.Engine->StartGame();
  EXPECT_EQ(rig.Engine->HistoryList[2], "0");
  EXPECT_TRUE(rig.Engine->Rules.GameClosed);
  EXPECT_EQ(rig.Host.Caption, "Patience. Game: Freecell  [Closed Game]");
  rig.Engine->NewDeal();
  EXPECT_EQ(rig.Engine->HistoryList[2], "O");
  EXPECT_FALSE(rig.Engine->Rules.GameClosed);
}

TEST(DealTest, StartingAnotherGameRecordsAnOpenOneAsLost) {
  TEngineRig rig;
  rig.Deal("Acme", 2);  // 200 points from the bases
  rig.Deal("Freecell", 2);
  ASSERT_EQ(rig.Host.Recorded.size(), 1u);
  EXPECT_EQ(rig.Host.Recorded[0].Game, "Acme");
  EXPECT_EQ(rig.Host.Recorded[0].Points, 200);
  EXPECT_FALSE(rig.Host.Recorded[0].Won);
  // A closed game, or scoring off, records nothing.
  rig.Engine->Rules.GameClosed = true;
  rig.Deal("Spider", 2);
  rig.Host.Scoring = false;
  rig.Deal("Yukon", 2);
  EXPECT_EQ(rig.Host.Recorded.size(), 1u);
}

TEST(DealTest, ChoosingTheGameInPlayChangesNothing) {
  TEngineRig rig;
  rig.Deal("Yukon", 11);
  const std::string before = DealSnapshot(*rig.Engine, true);
  const size_t sounds = rig.Host.Sounds.size();
  EXPECT_FALSE(StartGameByCaption(*rig.Engine, "Yukon"));
  EXPECT_FALSE(StartGameByCaption(*rig.Engine, "No Such Game"));
  EXPECT_EQ(DealSnapshot(*rig.Engine, true), before);
  EXPECT_EQ(rig.Host.Sounds.size(), sounds);
  // "Loading" makes the same game run again, as replays need.
  rig.Engine->Rules.GameName = "Loading";
  rig.Engine->SetRandomSeed(11);
  EXPECT_TRUE(StartGameByCaption(*rig.Engine, "Yukon"));
  EXPECT_EQ(DealSnapshot(*rig.Engine, true), before);
}

TEST(DealTest, ScoringFollowsTheSoundNamesAndIsQuietWithoutScreenUpdates) {
  TEngineRig rig;
  rig.Deal("Freecell", 1);
  TPatienceEngine& e = *rig.Engine;
  e.Rules.Points = 0;
  e.Sound("drop.wav", 1, 100);
  e.Sound("undo.wav", 1, 100);
  e.Sound("waste.wav", 1, 100);
  e.Sound("drop0.wav", 1, 100);
  e.Sound("waste0.wav", 1, 100);
  EXPECT_EQ(e.Rules.Points, -1 - 5 - 10);
  ASSERT_GE(rig.Host.Sounds.size(), 2u);
  EXPECT_EQ(rig.Host.Sounds[rig.Host.Sounds.size() - 2].Name, "drop.wav");
  EXPECT_EQ(rig.Host.Sounds.back().Name, "waste.wav");
  e.Rules.FoundationCount = 43;
  e.Sound("success.wav", 1, 100);
  EXPECT_EQ(rig.Host.Sounds.back().Name, "BEEPSPAC.WAV");
  EXPECT_EQ(e.Rules.FoundationCount, 44);
  const size_t played = rig.Host.Sounds.size();
  const int points = e.Rules.Points;
  rig.Table->SetScreenUpdates(false);
  e.Sound("drop.wav", 1, 100);
  EXPECT_EQ(e.Rules.Points, points);
  EXPECT_EQ(rig.Host.Sounds.size(), played);
  e.Sound("fanfare_x.wav", 1, 100);
  EXPECT_EQ(rig.Host.Sounds.size(), played + 1);
}

TEST(DealTest, PacingPausesRunOnTheInjectedClock) {
  TEngineRig rig;
  rig.Host.Sound = true;
  rig.Deal("Acme", 3);
  // Four bases at 200 ms (sound on), then 25 ms for each tableau card.
  EXPECT_EQ(std::count(rig.Host.Pauses.begin(), rig.Host.Pauses.end(), 200), 4);
  EXPECT_EQ(std::count(rig.Host.Pauses.begin(), rig.Host.Pauses.end(), 25), 4);
  EXPECT_GE(rig.Clock.SleptMs, uint64_t(4 * 200 + 4 * 25));
  rig.Host.Sound = false;
  rig.Host.Pauses.clear();
  rig.Redeal(3);
  EXPECT_EQ(std::count(rig.Host.Pauses.begin(), rig.Host.Pauses.end(), 200), 0);
}

// ------------------------------------------------------------------------------------------------
// Mended faults

TEST(DealTest, FreeCellCardsLieOnTheirMarkersAndDropPointsAlsoInAColumn) {
  TEngineRig rig;
  auto game = std::make_shared<TCustomGame>(
      "Column cells",
      [](TGameRules& r) {
        r.Tableau.Count = 2;
        r.Tableau.Rules = {DealFaceUp};
        r.Reserve.Count = 3;
        r.Reserve.FreeCells = true;
        r.Reserve.CellsVertical = true;
        r.Reserve.DealtToCells = 2;
      },
      [](const TLayout& l, TGameRules& r) {
        r.TableauPlaces = {TPoint(l.LeftMargin + 3 * l.ColumnStep, l.SecondRowY),
                           TPoint(l.LeftMargin + 4 * l.ColumnStep, l.SecondRowY)};
        r.Reserve.Origin = TPoint(l.LeftMargin + 8 * l.ColumnStep, l.TopMargin);
      });
  rig.Engine->SetRandomSeed(2);
  ASSERT_TRUE(rig.Engine->ChooseGame(game));
  const TGameRules& r = rig.Engine->Rules;
  ASSERT_EQ(r.ReserveCards.size(), 3u);
  for (int k = 1; k <= 2; ++k) {
    const TCard* c = r.ReserveCards[size_t(k - 1)];
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(TPoint(c->X, c->Y), TPoint(831, 15 + (k - 1) * 155));
    const TCardPlace& marker = rig.Table->CardDeck()->Places[size_t(2 + k)];
    EXPECT_TRUE(marker.Shown);
    EXPECT_EQ(TPoint(marker.X, marker.Y), TPoint(c->X, c->Y));
  }
  EXPECT_EQ(r.ReserveCards[2], nullptr);
  // Tableau tops, then the one empty cell.
  ASSERT_EQ(rig.Engine->DropPointList.size(), 3u);
  EXPECT_EQ(rig.Engine->DropPointList[2], TPoint(831, 15 + 2 * 155));
  EXPECT_EQ(r.Reserve.EmptyCells, 1);
  EXPECT_TRUE(DealIsSound(*rig.Engine, *rig.Table));
}

TEST(DealTest, AGatheringRedealDealsPileByPileForThisDealOnlyAndLosesNoCard) {
  TEngineRig rig;
  rig.Deal("Cruel", 21);
  TPatienceEngine& e = *rig.Engine;
  ASSERT_FALSE(e.Rules.Tableau.Rules.Has(DealPileByPile));
  EXPECT_TRUE(rig.Host.Commands[TEngineCommand::Redeal]);
  // Play has emptied pile 0 onto pile 1 (a nil lies in the gathered piles now).
  TCardList& p0 = e.Rules.TableauPiles[0];
  TCardList& p1 = e.Rules.TableauPiles[1];
  p1.insert(p1.end(), p0.begin(), p0.end());
  p0 = EmptyPile();
  std::string before;
  for (const auto& pile : e.Rules.TableauPiles)
    for (const TCard* c : pile) before += c ? CardName(c) + " " : "";
  e.RedealTableau();
  EXPECT_TRUE(e.RedealPileByPile);
  EXPECT_FALSE(e.Rules.Tableau.Rules.Has(DealPileByPile));
  EXPECT_TRUE(DealIsSound(e, *rig.Table));
  // Gathered piles in order, bottom up, and dealt again four to a pile.
  std::string after;
  for (const auto& pile : e.Rules.TableauPiles) {
    EXPECT_EQ(pile.size(), 4u);
    for (const TCard* c : pile) after += CardName(c) + " ";
  }
  EXPECT_EQ(after, before);
  EXPECT_EQ(e.Rules.Stock.PassesDone, 1);
  // The next deal of the game deals by rows again.
  e.NewDeal();
  EXPECT_FALSE(e.RedealPileByPile);
}

TEST(DealTest, TheInvariantCheckCatchesBrokenDeals) {
  TEngineRig rig;
  rig.Deal("Klondike 1 [Turn over 1]", 1);
  TGameRules& r = rig.Engine->Rules;
  r.TableauPiles[0].push_back(nullptr);
  EXPECT_FALSE(DealIsSound(*rig.Engine, *rig.Table));
  r.TableauPiles[0].pop_back();
  r.TableauPiles[1].push_back(r.TableauPiles[2].back());
  EXPECT_FALSE(DealIsSound(*rig.Engine, *rig.Table));
  r.TableauPiles[1].pop_back();
  r.TableauPiles[3].back()->FaceUp = false;
  EXPECT_FALSE(DealIsSound(*rig.Engine, *rig.Table));
  r.TableauPiles[3].back()->FaceUp = true;
  r.TableauPlaces[1] = r.TableauPlaces[2];
  EXPECT_FALSE(DealIsSound(*rig.Engine, *rig.Table));
  r.TableauPlaces[1] = TPoint(1250, 10);
  EXPECT_FALSE(DealIsSound(*rig.Engine, *rig.Table));
}

}  // namespace
