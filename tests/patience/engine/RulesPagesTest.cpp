// The help file's rules pages against the engine: for every help code, the deal the page tells
// of (the cards of each tableau pile and of the stock) is what the engine deals.

#include <gtest/gtest.h>

#include <set>

#include "patience/catalogue/RulesPage.h"
#include "tests/patience/engine/EngineTestUtil.h"

namespace {

TEST(RulesPagesTest, EveryPageDealsWhatTheEngineDeals) {
  TEngineRig rig(1280, 960);
  std::set<std::string> codes;
  for (const TGameRef& game : AllGames()) {
    const TGameDef& def = GameDefinition(game);
    if (!codes.insert(def.HelpCode).second) continue;
    const std::string caption = GameCaption(game);
    rig.Deal(caption, 1);
    const TRulesText text = DescribeRules(def);
    EXPECT_EQ(text.StockCards, rig.Table->CardDeck()->CardsLeft(false)) << caption;
    std::vector<int> dealt;
    for (const TCardList& pile : rig.Engine->Rules.TableauPiles) dealt.push_back(CardCountOf(pile));
    EXPECT_EQ(text.TableauCards, dealt) << caption;
  }
  EXPECT_EQ(codes.size(), 159u);
}

}  // namespace
