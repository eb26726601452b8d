// The help file's rules pages against the engine: for every help code, the deal the page tells
// of, the redeals, the last deal of a stock dealt onto the piles and the cards that may be moved;
// and for the games with rules of their own, what their pages say they do.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <set>

#include "patience/catalogue/RulesPage.h"
#include "tests/patience/engine/PlayTestUtil.h"

namespace {

// One game for each help code, the first the catalogue names.
std::vector<TGameRef> PageGames() {
  std::vector<TGameRef> games;
  std::set<std::string> codes;
  for (const TGameRef& game : AllGames())
    if (codes.insert(GameDefinition(game).HelpCode).second) games.push_back(game);
  return games;
}

// A click on the stock as the player makes it.
void ClickStock(TEngineRig& rig) {
  const TPoint s = rig.Engine->StockPlace();
  rig.Table->MouseDown(mbLeft, 0, s.X + 3, s.Y + 3);
  rig.Table->MouseUp(mbLeft, 0, s.X + 3, s.Y + 3);
}

bool Draggable(const TPatienceEngine& e, const TCard* card) {
  return std::find(e.DraggableList.begin(), e.DraggableList.end(), card) != e.DraggableList.end();
}

TEST(RulesPagesTest, EveryPageDealsWhatTheEngineDeals) {
  TEngineRig rig(1280, 960);
  for (const TGameRef& game : PageGames()) {
    const std::string caption = GameCaption(game);
    rig.Deal(caption, 1);
    const TRulesText text = DescribeRules(GameDefinition(game));
    EXPECT_EQ(text.StockCards, rig.Table->CardDeck()->CardsLeft(false)) << caption;
    std::vector<int> dealt;
    for (const TCardList& pile : rig.Engine->Rules.TableauPiles) dealt.push_back(CardCountOf(pile));
    EXPECT_EQ(text.TableauCards, dealt) << caption;
  }
  EXPECT_EQ(PageGames().size(), 159u);
}

// Through the stock with clicks alone, redealing while the engine offers it: the page's redeals,
// and for a stock dealt onto the piles, the cards of its last deal.
TEST(RulesPagesTest, EveryPageRedealsAndDealsTheStockAsTheEngineDoes) {
  constexpr int kMany = 8;
  TEngineRig rig(1280, 960);
  FastTable(*rig.Table);
  for (const TGameRef& game : PageGames()) {
    const std::string caption = GameCaption(game);
    rig.Deal(caption, 1);
    TPatienceEngine& e = *rig.Engine;
    int redeals = 0, lastDeal = 0;
    for (; redeals < kMany; ++redeals) {
      for (int left = e.Deck().CardsLeft(false), now = 0; left > 0; left = now) {
        ClickStock(rig);
        now = e.Deck().CardsLeft(false);
        if (now == left) break;
        lastDeal = left - now;
      }
      if (!e.CanRedeal()) break;
      e.ReDealWastepileExecute();
    }
    const TRulesText text = DescribeRules(GameDefinition(game));
    EXPECT_EQ(text.Redeals, redeals == kMany ? -1 : redeals) << caption;
    if (text.LastDealPiles > 0) {
      EXPECT_EQ(lastDeal, text.LastDealPiles) << caption;
    }
  }
}

// A card with another on it: moved with it where the page lets that card move, and as the run the
// page names.
TEST(RulesPagesTest, EveryPageMovesTheCardsTheEngineLetsGo) {
  struct TUpper {
    const char* Card;  // on the Seven of clubs
    std::set<TRunStep> Steps;
    std::set<TRunSuits> Suits;
  };
  using P = TRunStep;
  using S = TRunSuits;
  const TUpper uppers[] = {{"6c", {P::Down, P::UpOrDown, P::Any}, {S::Suit, S::Colour, S::Any}},
                           {"6s", {P::Down, P::UpOrDown, P::Any}, {S::Colour, S::Any}},
                           {"6h", {P::Down, P::UpOrDown, P::Any}, {S::AlternateColour, S::Any}},
                           {"8c", {P::Up, P::UpOrDown, P::Any}, {S::Suit, S::Colour, S::Any}},
                           {"9c", {P::Any}, {S::Suit, S::Colour, S::Any}}};
  TEngineRig rig(1280, 960);
  for (const TGameRef& game : PageGames()) {
    const TGameDef& def = GameDefinition(game);
    if (def.Tableau.Count == 0 || def.Tableau.Rules.Has(PairGame)) continue;
    const std::string caption = GameCaption(game);
    rig.Deal(caption, 1);
    const TRulesText text = DescribeRules(def);
    for (const TUpper& u : uppers) {
      Arrange(rig, {.Tableau = {{"Kd", "7c", u.Card}}});
      const bool moves = text.Moves == TTableauMoves::AnyFaceUp ||
                         (text.Moves == TTableauMoves::Runs && u.Steps.count(text.RunStep) > 0 &&
                          u.Suits.count(text.RunSuits) > 0);
      EXPECT_EQ(Draggable(*rig.Engine, CardNamed(*rig.Engine, "7c")), moves) << caption << " " << u.Card;
      const bool wholePile =
          text.Moves == TTableauMoves::TopOrWholePile || text.Moves == TTableauMoves::AnyFaceUp;
      EXPECT_EQ(Draggable(*rig.Engine, CardNamed(*rig.Engine, "Kd")), wholePile) << caption;
    }
  }
}

// The hour of a place on a clock face round the centre ("one o'clock" .. "twelve o'clock").
std::string HourOf(TPoint place, TPoint centre) {
  static const char* const hours[] = {"twelve", "one",   "two",   "three", "four", "five",
                                      "six",    "seven", "eight", "nine",  "ten",  "eleven"};
  if (place == centre) return "the centre";
  const double turn = std::atan2(place.X - centre.X, centre.Y - place.Y) / (2 * std::numbers::pi);
  return std::string(hours[(int(std::lround(turn * 12)) + 12) % 12]) + " o'clock";
}

// Each value's pile lies where the page says and takes that value only.
void ClockFaceAsThePageSays(TEngineRig& rig) {
  const TPatienceEngine& e = *rig.Engine;
  const TRulesText text = DescribeRules(GameDefinition(*FindGame(e.Rules.GameName)));
  ASSERT_EQ(text.ClockPlaces.size(), 13u);
  for (int v = 0; v < 13; ++v) {
    EXPECT_EQ(HourOf(e.Rules.FoundationPlaces[size_t(v)], e.Rules.FoundationPlaces[12]),
              text.ClockPlaces[size_t(v)]);
    const TCard* card = CardNamed(e, std::string(1, "A23456789TJQK"[v]) + "d");
    for (int f = 0; f < 13; ++f) {
      const TPilePos target{f, TopIndex(e.Rules.FoundationPiles[size_t(f)])};
      EXPECT_EQ(e.ValidDrop(card, pkFoundation, target, pkWaste, {0, 0}), f == v) << v << " on " << f;
    }
  }
}

// The face-up card goes to its value's pile, whose top card turns up next, until the fourth
// King reaches the centre; the game is won when no card is left face down.
void ClockPlaysToTheEnd(TEngineRig& rig) {
  TPatienceEngine& e = *rig.Engine;
  std::set<bool> ends;
  for (uint32_t seed = 1; seed < 400 && ends.size() < 2; ++seed) {
    rig.Deal("The Clock", seed);
    for (int move = 0; move < 60; ++move) {
      std::vector<TCard*> free;
      for (TCard* c : e.DraggableList)
        if (c && c->FaceUp) free.push_back(c);  // the table drags face-up cards only
      if (free.empty()) break;
      ASSERT_EQ(free.size(), 1u);
      TCard* card = free[0];
      const auto from = std::find_if(e.Rules.FoundationPiles.begin(), e.Rules.FoundationPiles.end(),
                                     [&](const TCardList& p) { return TopCard(p) == card; });
      ASSERT_TRUE(e.MakeMove(pkFoundation, int(from - e.Rules.FoundationPiles.begin()), TopIndex(*from),
                             DropIndexOf(e, pkFoundation, card->Value)));
      // Under its value's pile, whose top card shows.
      const TCardList& to = e.Rules.FoundationPiles[size_t(card->Value)];
      EXPECT_NE(std::find(to.begin(), to.end(), card), to.end());
      EXPECT_TRUE(TopCard(to) != card && TopCard(to)->FaceUp);
    }
    int faceDown = 0;
    for (const TCardList& pile : e.Rules.FoundationPiles)
      faceDown += int(std::count_if(pile.begin(), pile.end(), [](const TCard* c) { return !c->FaceUp; }));
    const TCardList& centre = e.Rules.FoundationPiles[12];
    EXPECT_EQ(std::count_if(centre.begin(), centre.end(), [](const TCard* c) { return c->Value == cvKing; }),
              4);
    EXPECT_EQ(e.Won(), faceDown == 0) << seed;
    ends.insert(e.Won());
  }
  EXPECT_EQ(ends.size(), 2u) << "a won and a lost game";
}

// The games with rules of their own: the page says the words, and the engine does what they say.
TEST(RulesPagesTest, SpecialRulesAreWhatTheEnginePlays) {
  struct TCase {
    const char* Game;
    const char* Words;
    std::function<void(TEngineRig&)> Check;
  };
  const TCase cases[] = {
      {"The Clock", "the Aces' pile at one o'clock", ClockFaceAsThePageSays},
      {"The Clock", "lost when the fourth King reaches the centre", ClockPlaysToTheEnd},
      {"The Dial", "the Queens' at twelve o'clock", ClockFaceAsThePageSays},
      {"The Dial", "must differ in colour from the card under it",
       [](TEngineRig& rig) {
         Arrange(rig, {.Foundations = {{}, {}, {}, {}, {"5c"}}});
         const TPatienceEngine& e = *rig.Engine;
         EXPECT_TRUE(e.ValidDrop(CardNamed(e, "5h"), pkFoundation, {4, 0}, pkWaste, {0, 0}));
         EXPECT_FALSE(e.ValidDrop(CardNamed(e, "5s"), pkFoundation, {4, 0}, pkWaste, {0, 0}));
       }},
      {"Four Colours", "no two cards of the same suit may lie in the cells",
       [](TEngineRig& rig) {
         Arrange(rig, {.Reserve = {"5h", "", "", ""}});
         const TPatienceEngine& e = *rig.Engine;
         EXPECT_FALSE(e.ValidDrop(CardNamed(e, "9h"), pkReserve, {1, 0}, pkTableau, {0, 0}));
         EXPECT_TRUE(e.ValidDrop(CardNamed(e, "9s"), pkReserve, {1, 0}, pkTableau, {0, 0}));
       }},
      {"Burleigh", "the stock turns round and deals from its other end",
       [](TEngineRig& rig) {
         const TCardDeck& d = rig.Engine->Deck();
         for (bool top : {true, false, true}) {  // each card is left unplayed
           const TCard* next = d.Cards[size_t(top ? d.Dealt + 1 : d.CardCount)].get();
           ClickStock(rig);
           EXPECT_EQ(rig.Engine->Rules.WasteCards.back(), next);
         }
       }},
      {"Burleigh", "from the stock, or from the waste pile when the stock is empty",
       [](TEngineRig& rig) {
         TPatienceEngine& e = *rig.Engine;
         for (bool stock : {true, false}) {
           // Without a stock, the cards not named go onto the last pile.
           Arrange(rig, stock ? TPosition{.Tableau = {{"Ac"}}, .Waste = {"9h"}, .Stock = {"8d"}}
                              : TPosition{.Tableau = {{"Ac"}}, .Waste = {"9h"}, .Rest = 11});
           ASSERT_TRUE(e.MakeMove(pkTableau, 0, 0, DropIndexOf(e, pkFoundation, 0)));
           EXPECT_EQ(CardName(TopCard(e.Rules.TableauPiles[0])), stock ? "8d" : "9h");
         }
       }},
      {"One Foundation", "straight onto the foundation",
       [](TEngineRig& rig) {
         const TCardDeck& d = rig.Engine->Deck();
         const TCard* next = d.Cards[size_t(d.Dealt + 1)].get();
         ClickStock(rig);
         EXPECT_EQ(TopCard(rig.Engine->Rules.FoundationPiles[0]), next);
         EXPECT_TRUE(rig.Engine->Rules.WasteCards.empty());
       }},
      {"Canfield", "Once the reserve is empty, an empty pile may be filled with any card from the waste",
       [](TEngineRig& rig) {
         const TPatienceEngine& e = *rig.Engine;
         for (bool reserve : {true, false}) {
           Arrange(rig, {.Tableau = {{}, {"5d"}},
                         .Reserve = reserve ? std::vector<std::string>{"Kc"} : std::vector<std::string>{},
                         .Waste = {"9h"}});
           EXPECT_EQ(e.ValidDrop(CardNamed(e, "9h"), pkTableau, {0, 0}, pkWaste, {0, 0}), !reserve);
         }
       }},
      {"Simple Pairs", "Each place a pair leaves is filled at once with the next card of the stock",
       [](TEngineRig& rig) {
         TPatienceEngine& e = *rig.Engine;
         Arrange(rig, {.Tableau = {{"5c"}, {"5d"}, {"Kc"}}, .Stock = {"Qh", "Jh"}});
         ClickStock(rig);
         EXPECT_EQ(e.Deck().CardsLeft(false), 49) << "the stock cannot be clicked";
         ASSERT_TRUE(e.MakeMove(pkTableau, 0, 0, 0));
         ASSERT_TRUE(e.MakeMove(pkTableau, 1, 0, 0));
         EXPECT_EQ(CardName(e.Rules.TableauPiles[1][0]) + CardName(e.Rules.TableauPiles[0][0]), "QhJh");
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Game) + ": " + c.Words);
    const TRulesText text = DescribeRules(GameDefinition(*FindGame(c.Game)));
    std::string page = text.Goal;
    for (const auto* part : {&text.Layout, &text.Foundations, &text.Tableau, &text.Stock})
      for (const std::string& line : *part) page += "\n" + line;
    EXPECT_NE(page.find(c.Words), std::string::npos);
    TEngineRig rig(1280, 960);
    FastTable(*rig.Table);
    rig.Deal(c.Game, 7);
    c.Check(rig);
  }
}

}  // namespace
