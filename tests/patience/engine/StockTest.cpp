// The stock and the commands around it: deals to the waste and onto the piles, passes and the
// Redeal command, redeals of the waste and gathers of the tableau (plain and animated alike), the
// two games with a stock of their own, pair games, and the New command.

#include <gtest/gtest.h>

#include "tests/patience/engine/PlayTestUtil.h"

namespace {

std::string StockText(const TPatienceEngine& e) {
  std::string out;
  const TCardDeck& d = e.Deck();
  for (int i = d.Dealt + 1; i <= d.CardCount; ++i)
    out += (out.empty() ? "" : " ") + CardName(d.Cards[size_t(i)].get());
  return out;
}

std::string Names(const TCardList& cards) {
  std::string out;
  for (const TCard* c : cards) out += (out.empty() ? "" : " ") + CardName(c);
  return out;
}

class StockTest : public TLabTest {
 protected:
  // A click on the stock as the player makes it.
  void ClickStock() {
    const TPoint s = E().StockPlace();
    Rig.Table->MouseDown(mbLeft, 0, s.X + 3, s.Y + 3);
    Rig.Table->MouseUp(mbLeft, 0, s.X + 3, s.Y + 3);
  }
};

TEST_F(StockTest, PassesAndTheRedealCommand) {
  struct TCase {
    int Allowed;
    std::vector<bool> OfferedAfterEmptying;
  };
  for (const TCase& c :
       {TCase{1, {false}}, TCase{3, {true, true, false}}, TCase{0, {true, true, true, true}}}) {
    Choose(
        [&](TGameRules& r) {
          r.Stock.DealCount = 3;
          r.Stock.PassesAllowed = c.Allowed;
        },
        "Lab " + std::to_string(c.Allowed));
    Arrange(Rig, {.Tableau = {{"Kc"}, {}, {}, {}}, .Stock = {"2c", "3c"}, .Rest = 1});
    for (size_t pass = 0; pass < c.OfferedAfterEmptying.size(); ++pass) {
      ASSERT_EQ(E().Deck().CardsLeft(false), 2);
      EXPECT_FALSE(E().CanRedeal());
      ClickStock();
      // Three a click, but only two were left.
      EXPECT_EQ(Names(R().WasteCards), "2c 3c");
      EXPECT_EQ(R().Stock.PassesDone, int(pass) + 1);
      EXPECT_EQ(E().CanRedeal(), c.OfferedAfterEmptying[pass]) << "allowed " << c.Allowed << " pass " << pass;
      EXPECT_EQ(Rig.Host.Commands[TEngineCommand::Redeal], E().CanRedeal());
      EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
      const int records = int(HistoryRecords(E()).size());
      E().ReDealWastepileExecute();
      if (!c.OfferedAfterEmptying[pass]) {
        EXPECT_EQ(int(HistoryRecords(E()).size()), records) << "a redeal not offered is no move";
        break;
      }
      // The waste goes back in its order: its first card is dealt first again.
      EXPECT_EQ(StockText(E()), "2c 3c");
      EXPECT_TRUE(R().WasteCards.empty());
      EXPECT_EQ(HistoryRecords(E()).back(), (TRecord{7, 0, 0, 0}));
    }
  }
}

TEST_F(StockTest, AWasteRedealIsUndoneByDealingTheStockBack) {
  Choose([](TGameRules& r) { r.Stock.PassesAllowed = 0; });
  Arrange(Rig, {.Tableau = {{"Kc"}, {}, {}, {}}, .Stock = {"2c", "3c", "4c"}, .Rest = 1});
  for (int i = 0; i < 3; ++i) ClickStock();
  const std::string dealt = PlaySnapshot(E());
  const int points = R().Points;
  E().ReDealWastepileExecute();
  EXPECT_EQ(StockText(E()), "2c 3c 4c");
  EXPECT_EQ(R().Points, points + E().ScoreValues.Waste);
  E().Undo1Click();
  EXPECT_EQ(PlaySnapshot(E()), dealt);
  E().Redo1Click();
  EXPECT_EQ(StockText(E()), "2c 3c 4c");
  // Undo of the click that emptied the stock takes its pass back and hides the command.
  E().Undo1Click();
  E().Undo1Click();
  EXPECT_EQ(R().Stock.PassesDone, 0);
  EXPECT_FALSE(E().CanRedeal());
  EXPECT_EQ(StockText(E()), "4c");
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(StockTest, ARedealNeedsAnEmptyStockAndAnEmptyStockClickOnlyRecords) {
  Choose([](TGameRules& r) { r.Stock.PassesAllowed = 0; });
  Arrange(Rig, {.Tableau = {{"Kc"}, {}, {}, {}}, .Stock = {"2c", "3c"}, .Rest = 1});
  ClickStock();
  // The command is not offered while the stock holds cards: neither it nor a replayed record
  // puts the waste under the stock.
  E().ReDealWastepileExecute();
  EXPECT_FALSE(E().MakeMove(pkRedeal, 0, 0, 0));
  EXPECT_EQ(HistoryRecords(E()).size(), 1u);
  EXPECT_EQ(StockText(E()), "3c");
  ClickStock();
  ASSERT_EQ(R().Stock.PassesDone, 1);
  // A replayed click on the empty stock stays a record and counts no pass.
  EXPECT_TRUE(E().MakeMove(pkStockClick, 0, 0, 0));
  EXPECT_EQ(HistoryRecords(E()).back(), (TRecord{6, 0, 0, 0}));
  EXPECT_EQ(R().Stock.PassesDone, 1);
  EXPECT_EQ(Names(R().WasteCards), "2c 3c");
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(StockTest, ADealOntoEveryPileIsOneUndoStep) {
  Choose([](TGameRules& r) {
    r.Stock.DealCount = -2;
    r.Tableau.Rules = {Fanned, DownByOne};
  });
  Arrange(Rig,
          {.Tableau = {{"9c"}, {"9d"}, {"9h"}, {}}, .Stock = {"2c", "3c", "4c", "5c", "6c"}, .Rest = -1});
  // With DealCount -2 an empty pile refuses the deal: a beep, and only the record.
  ClickStock();
  EXPECT_EQ(Rig.Host.Beeps, 1);
  EXPECT_EQ(HistoryRecords(E()), (std::vector<TRecord>{{6, 0, 0, 0}}));
  EXPECT_EQ(E().UndoPointer, 0);
  R().Stock.DealCount = -1;
  const std::string before = PlaySnapshot(E());
  ClickStock();
  EXPECT_EQ(Names(R().TableauPiles[0]), "9c 2c");
  EXPECT_EQ(Names(R().TableauPiles[3]), "5c");
  EXPECT_EQ(C("2c")->Y, C("9c")->Y + E().TableauFan);
  EXPECT_EQ(TPoint(C("5c")->X, C("5c")->Y), R().TableauPlaces[3]);
  // Links: minus the history's length, then the pile numbers 2, 3, 4.
  EXPECT_EQ(E().UndoList.Lines, (std::vector<std::string>{"2", "1", "-11", "1", "2", "2", "2", "1", "2", "3",
                                                          "3", "1", "2", "4", "4", "0"}));
  E().Undo1Click();
  EXPECT_EQ(PlaySnapshot(E()), before);
  EXPECT_EQ(StockText(E()).substr(0, 14), "2c 3c 4c 5c 6c");
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(StockTest, BurleighDealsFromTheOtherEndAfterAnUnplayedCard) {
  TEngineRig rig;
  FastTable(*rig.Table);
  rig.Deal("Burleigh", 8);
  TPatienceEngine& e = *rig.Engine;
  const TCardDeck& d = e.Deck();
  TCard* top = d.Cards[size_t(d.Dealt + 1)].get();
  TCard* bottom = d.Cards[size_t(d.CardCount)].get();
  ASSERT_TRUE(e.MakeMove(pkStockClick, 0, 0, 0));
  EXPECT_EQ(e.Rules.WasteCards.back(), top);
  // The card was not played: the next comes from the bottom, and the record says so.
  ASSERT_TRUE(e.MakeMove(pkStockClick, 0, 0, 0));
  EXPECT_EQ(e.Rules.WasteCards.back(), bottom);
  EXPECT_EQ(HistoryRecords(e).back(), (TRecord{6, 0, 1, 0}));
  const std::string after = PlaySnapshot(e);
  e.Undo1Click();
  EXPECT_EQ(d.Cards[size_t(d.CardCount)].get(), bottom) << "back to the bottom";
  e.Redo1Click();
  EXPECT_EQ(PlaySnapshot(e), after);
  // A replay from the seed deals the same.
  TEngineRig replay;
  FastTable(*replay.Table);
  replay.Deal("Burleigh", 8);
  replay.Engine->ReplayMoves(e.HistoryList);
  EXPECT_EQ(PlaySnapshot(*replay.Engine), after);
  EXPECT_TRUE(PlayIsSound(e, *rig.Table));
}

TEST_F(StockTest, OneFoundationTakesTheStockAndIsWonFromIt) {
  TEngineRig rig;
  FastTable(*rig.Table);
  rig.Deal("One Foundation", 2);
  TPatienceEngine& e = *rig.Engine;
  ASSERT_EQ(e.Rules.FoundationCount, 1) << "the base card";
  TCard* next = e.Deck().Cards[size_t(e.Deck().Dealt + 1)].get();
  ASSERT_TRUE(e.MakeMove(pkStockClick, 0, 0, 0));
  EXPECT_EQ(e.Rules.FoundationPiles[0].back(), next);
  EXPECT_EQ(e.Rules.FoundationCount, 2);
  EXPECT_EQ(next->Angle, e.Rules.FoundationAngles[0]);
  EXPECT_TRUE(e.Rules.WasteCards.empty());
  e.Undo1Click();
  EXPECT_EQ(e.Rules.FoundationCount, 1);
  EXPECT_TRUE(PlayIsSound(e, *rig.Table));
  // The last card from the stock wins the game.
  std::vector<std::string> rest;
  for (char s : std::string("cdhs"))
    for (int v = 0; v < 13; ++v) rest.push_back(std::string(1, "A23456789TJQK"[v]) + s);
  const std::string last = rest.back();
  rest.pop_back();
  Arrange(rig, {.Foundations = {rest}, .Stock = {last}});
  ASSERT_EQ(e.Rules.FoundationCount, 51);
  ASSERT_TRUE(e.MakeMove(pkStockClick, 0, 0, 0));
  EXPECT_TRUE(e.Won());
  EXPECT_EQ(rig.Host.WinShows, 1);
  EXPECT_EQ(e.Rules.Stock.PassesDone, 1);
  EXPECT_TRUE(PlayIsSound(e, *rig.Table));
}

TEST_F(StockTest, AGatherCannotBeUndoneAndTheAnimatedOneEndsTheSame) {
  // Cruel gathers its tableau; Trefoil gathers and shuffles. The animated gather shows the cards
  // going but leaves the stock in the plain order, so a replay deals the same.
  for (const char* game : {"Cruel", "Trefoil"}) {
    std::string plain;
    for (bool animated : {false, true}) {
      TEngineRig rig;
      FastTable(*rig.Table);
      rig.Host.Animated = animated;
      rig.Deal(game, 77);
      TPatienceEngine& e = *rig.Engine;
      for (const TRecord& m : LegalMoves(e))
        if (m.Kind != pkRedeal && m.Kind != pkStockClick) {
          ASSERT_TRUE(e.MakeMove(TPileKind(m.Kind), m.Pile, m.Index, m.Target));
          break;
        }
      ASSERT_TRUE(e.CanUndo());
      ASSERT_TRUE(e.CanRedeal());
      // Effects draw from the program's generator meanwhile; the deal's own is untouched.
      for (int i = 0; i < 5; ++i) ProgramRandom().Random(100);
      e.ReDealWastepileExecute();
      EXPECT_EQ(HistoryRecords(e).back(), (TRecord{7, 0, 0, 0}));
      EXPECT_FALSE(e.CanUndo());
      EXPECT_TRUE(e.RedealPileByPile);
      EXPECT_TRUE(PlayIsSound(e, *rig.Table));
      const std::string after = PlaySnapshot(e);
      if (!animated) {
        plain = after;
        TEngineRig replay;
        FastTable(*replay.Table);
        replay.Deal(game, 77);
        replay.Engine->ReplayMoves(e.HistoryList);
        EXPECT_EQ(PlaySnapshot(*replay.Engine), plain) << game;
      } else {
        EXPECT_EQ(after, plain) << game;
      }
    }
  }
}

TEST_F(StockTest, TheNewCommandCollectsTheTableauFirstWhenAnimated) {
  std::string plain;
  for (bool animated : {false, true}) {
    TEngineRig rig;
    FastTable(*rig.Table);
    rig.Deal("Klondike 1 [Turn over 1]", 4);
    rig.Host.Animated = animated;
    rig.Engine->SetRandomSeed(99);
    rig.Engine->NewExecute();
    EXPECT_EQ(rig.Engine->HistoryList[1], "99");
    EXPECT_TRUE(PlayIsSound(*rig.Engine, *rig.Table));
    if (animated)
      EXPECT_EQ(PlaySnapshot(*rig.Engine), plain);
    else
      plain = PlaySnapshot(*rig.Engine);
  }
}

TEST_F(StockTest, PairGamesChooseRemoveAndWin) {
  TEngineRig rig;
  FastTable(*rig.Table);
  rig.Deal("Concentration", 6);
  TPatienceEngine& e = *rig.Engine;
  auto pileOf = [&](const TCard* c) {
    for (size_t p = 0; p < e.Rules.TableauPiles.size(); ++p)
      if (e.Rules.TableauPiles[p][0] == c) return int(p);
    return -1;
  };
  auto click = [&](const TCard* c) { return e.MakeMove(pkTableau, pileOf(c), 0, 0); };
  TCard* a = e.Rules.TableauPiles[0][0];
  TCard* other = nullptr;
  TCard* mate = nullptr;
  for (const TCardList& p : e.Rules.TableauPiles) {
    if (p[0] == a) continue;
    if (p[0]->Value == a->Value && !mate) mate = p[0];
    if (p[0]->Value != a->Value && !other) other = p[0];
  }
  ASSERT_TRUE(mate && other);
  // Chosen and chosen again: turned back, at the undo points.
  click(a);
  EXPECT_TRUE(a->FaceUp);
  EXPECT_EQ(e.SelectedCard, a);
  click(a);
  EXPECT_FALSE(a->FaceUp);
  EXPECT_EQ(e.SelectedCard, nullptr);
  EXPECT_EQ(e.Rules.Points, e.ScoreValues.Undo + 2 * e.ScoreValues.Drop);
  // Two of different values: both turned down again.
  click(a);
  click(other);
  EXPECT_FALSE(a->FaceUp);
  EXPECT_FALSE(other->FaceUp);
  EXPECT_EQ(e.Rules.Points, 3 * e.ScoreValues.Undo + 4 * e.ScoreValues.Drop);
  // A pair: both taken off, two cards counted.
  click(a);
  click(mate);
  EXPECT_FALSE(a->Displayed);
  EXPECT_FALSE(mate->Displayed);
  EXPECT_EQ(e.Rules.FoundationCount, 2);
  EXPECT_EQ(HistoryRecords(e).size(), 6u);
  EXPECT_TRUE(PlayIsSound(e, *rig.Table));
  // Every pair, then the win.
  for (int guard = 0; guard < 100 && !e.Won(); ++guard) {
    TCard* first = nullptr;
    TCard* second = nullptr;
    for (const TCardList& p : e.Rules.TableauPiles)
      if (p[0]->Displayed && !first) first = p[0];
    for (const TCardList& p : e.Rules.TableauPiles)
      if (p[0]->Displayed && p[0] != first && first && p[0]->Value == first->Value && !second) second = p[0];
    ASSERT_TRUE(first && second);
    click(first);
    click(second);
  }
  EXPECT_TRUE(e.Won());
  EXPECT_EQ(e.Rules.FoundationCount, 52);
  EXPECT_FALSE(e.CanUndo());
  // The replay reaches the same end.
  TEngineRig replay;
  FastTable(*replay.Table);
  replay.Deal("Concentration", 6);
  replay.Engine->ReplayMoves(e.HistoryList);
  EXPECT_TRUE(replay.Engine->Won());
  EXPECT_EQ(PlaySnapshot(*replay.Engine), PlaySnapshot(e));
}

TEST_F(StockTest, APairClickOnACardInNoPileIsRecordedAndChoosesNothing) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {PairGame, DealFaceUp};
    r.Foundations.Rules = {RemovePairs};
  });
  Arrange(Rig, {.Tableau = {{"5h"}, {"5s"}, {}, {}}, .Foundations = {{"9c"}}});
  TPatienceEngine& e = *Rig.Engine;
  e.CardTable1CardClickEvent(CardNamed(e, "9c"), mbLeft);
  EXPECT_EQ(HistoryRecords(e), (std::vector<TRecord>{{2, -1, 0, 0}}));
  EXPECT_EQ(e.SelectedCard, nullptr);
  // Replayed, the record names no card and is refused; the next click chooses as ever.
  EXPECT_FALSE(e.MakeMove(pkTableau, -1, 0, 0));
  e.CardTable1CardClickEvent(CardNamed(e, "5h"), mbLeft);
  EXPECT_EQ(e.SelectedCard, CardNamed(e, "5h"));
  EXPECT_EQ(HistoryRecords(e).back(), (TRecord{2, 0, 0, 0}));
}

TEST_F(StockTest, ShownSelectionsIgnoreHiddenCardsAndRefillFromTheStock) {
  TEngineRig rig;
  FastTable(*rig.Table);
  rig.Deal("Doublets", 12);
  TPatienceEngine& e = *rig.Engine;
  ASSERT_TRUE(e.Rules.Tableau.Rules.Has(ShowSelection));
  // A face-down card is no choice at all: not even recorded.
  TCard* hidden = e.Rules.TableauPiles[0][0];
  ASSERT_FALSE(hidden->FaceUp);
  rig.Table->PressCard(mbLeft, hidden->X + 1, hidden->Y + 1, hidden);
  e.MakeMove(pkTableau, 0, 0, 0);
  EXPECT_TRUE(HistoryRecords(e).empty());
  EXPECT_EQ(e.SelectedCard, nullptr);
  // Play pairs until a pile's bottom card goes: the stock's next card takes its slot 0.
  int refills = 0;
  for (int guard = 0; guard < 200 && !e.Won(); ++guard) {
    std::vector<TRecord> moves = LegalMoves(e);
    bool played = false;
    for (size_t i = 0; i < moves.size() && !played; ++i)
      for (size_t j = i + 1; j < moves.size() && !played; ++j) {
        const TCard* a = e.Rules.TableauPiles[size_t(moves[i].Pile)][size_t(moves[i].Index)];
        const TCard* b = e.Rules.TableauPiles[size_t(moves[j].Pile)][size_t(moves[j].Index)];
        if (a->Value != b->Value) continue;
        const int stock = e.Deck().CardsLeft(false);
        e.MakeMove(TPileKind(moves[i].Kind), moves[i].Pile, moves[i].Index, 0);
        e.MakeMove(TPileKind(moves[j].Kind), moves[j].Pile, moves[j].Index, 0);
        refills += stock - e.Deck().CardsLeft(false);
        played = true;
        ASSERT_TRUE(PlayIsSound(e, *rig.Table));
      }
    if (!played) break;
  }
  EXPECT_GT(refills, 0);
}

TEST_F(StockTest, AGatheringGameOffersAsManyRedealsAsItsPassesAllow) {
  // Every game that gathers its tableau with a limit (La Belle Lucie and the like): the Redeal
  // command is offered PassesAllowed times, then never again.
  int limited = 0;
  for (const std::string& caption : AllCaptions()) {
    TGameRules rules;
    CatalogueGame(caption)->ApplyRules(rules);
    if (rules.Stock.DealCount >= -2 || rules.Stock.PassesAllowed == 0) continue;
    ++limited;
    TEngineRig rig;
    FastTable(*rig.Table);
    rig.Deal(caption, 5);
    TPatienceEngine& e = *rig.Engine;
    const int allowed = e.Rules.Stock.PassesAllowed;
    int redeals = 0;
    while (e.CanRedeal() && redeals <= allowed) {
      e.ReDealWastepileExecute();
      ++redeals;
    }
    EXPECT_EQ(redeals, allowed) << caption;
    EXPECT_EQ(e.Rules.Stock.PassesDone, allowed) << caption;
    // The command refuses once the passes are spent.
    const size_t records = HistoryRecords(e).size();
    e.ReDealWastepileExecute();
    EXPECT_EQ(HistoryRecords(e).size(), records) << caption;
  }
  EXPECT_GE(limited, 5);  // La Belle Lucie and four more
}

}  // namespace
