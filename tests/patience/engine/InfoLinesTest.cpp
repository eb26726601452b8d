// The information overlay's text: card words, the top-three line and which piles are listed.
#include <gtest/gtest.h>

#include "patience/engine/InfoLines.h"
#include "tests/patience/engine/EngineTestUtil.h"

TEST(InfoLinesTest, CardWordsAndTheTopLine) {
  struct TCase {
    TCardSuit Suit;
    TCardValue Value;
    const char* Text;
  };
  const TCase cases[] = {{csSpade, cvKing, " K:Spade "},
                         {csClub, cvAce, " A:Club "},
                         {csHeart, TCardValue(9), " 10:Heart "},
                         {csDiamond, TCardValue(10), " J:Diamond "},
                         {csJoker, cvAce, " A:Joker "}};
  for (const TCase& c : cases) {
    TCard card(nullptr);
    card.Suit = c.Suit;
    card.Value = c.Value;
    EXPECT_EQ(InfoCardText(card), c.Text);
  }
  TCard a(nullptr), b(nullptr), k(nullptr);
  a.Value = cvAce;
  b.Value = TCardValue(1);
  k.Suit = csSpade;
  k.Value = cvKing;
  EXPECT_EQ(InfoCardLine({&k}), "  Top:  K:Spade ");
  // Topmost (last) first, at most three, gaps of empty cells skipped.
  EXPECT_EQ(InfoCardLine({&a, &b, nullptr, &k, &a}), "  Top:  A:Club  K:Spade  2:Club ");
}

TEST(InfoLinesTest, ThePilesListedFollowTheGame) {
  TEngineRig rig;
  // Canfield: stock and a squared reserve of 13, no waste yet.
  rig.Deal("Canfield", 5);
  std::vector<std::string> lines = InfoLines(*rig.Engine);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Cards in stock = " + std::to_string(rig.Table->CardDeck()->CardsLeft(false)));
  EXPECT_EQ(lines[1], "Cards in reserve = 13");
  EXPECT_EQ(lines[2].rfind("  Top: ", 0), 0u);
  EXPECT_EQ(lines[3], "--------------------");
  // Free cells are never listed; Freecell deals the whole pack: only the dashes.
  rig.Deal("Freecell", 5);
  EXPECT_EQ(InfoLines(*rig.Engine), (std::vector<std::string>{"--------------------"}));
}
