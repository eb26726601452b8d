// The rules pages written from the catalogue: one per help code, named after it, and saying what
// the game's data says.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "patience/catalogue/RulesPage.h"
#include "tests/patience/catalogue/CatalogueTestUtil.h"

namespace {

enum TPart { Layout, Foundations, Tableau, Stock, Goal };

struct TCase {
  const char* Game;
  TPart Part;
  const char* Words;
};

// Whether the game's page says the words in that part.
bool Says(const TCase& c) {
  const TRulesText t = DescribeRules(GameDefinition(Game(c.Game)));
  const std::vector<std::string>& lines = c.Part == Layout        ? t.Layout
                                          : c.Part == Foundations ? t.Foundations
                                          : c.Part == Tableau     ? t.Tableau
                                          : c.Part == Stock       ? t.Stock
                                                                  : std::vector<std::string>{t.Goal};
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.find(c.Words) != std::string::npos; });
}

TEST(RulesPageTest, OnePagePerHelpCodeNamedAfterIt) {
  const std::vector<TRulesPage> pages = AllRulesPages();
  EXPECT_EQ(pages.size(), 159u);
  std::set<std::string> paths;
  for (const TRulesPage& p : pages) {
    EXPECT_EQ(p.Path, "html/pati" + p.HelpCode + ".htm");
    EXPECT_TRUE(paths.insert(p.Path).second) << p.Path;
    EXPECT_NE(p.Html.find("<title>"), std::string::npos);
    EXPECT_FALSE(p.Keywords.empty());
  }
  EXPECT_EQ(RulesTopic("4p2c"), "html\\pati4p2c.htm");
}

TEST(RulesPageTest, PagesSayWhatTheGameDataSays) {
  const TCase cases[] = {
      {"Klondike 1 [Turn over 1]", Layout, "seven piles from one to seven cards"},
      {"Klondike 1 [Turn over 1]", Layout, "The other 24 cards form the stock."},
      {"Klondike 1 [Turn over 1]", Stock, "turn one card onto the waste pile"},
      {"Klondike 1 [Turn over 1]", Stock, "There is no redeal"},
      {"Klondike 2 [Turn over 3]", Stock, "turn three cards"},
      {"Klondike 2 [Turn over 3]", Stock, "as often as you like"},
      {"Klondike 1 [Turn over 1]", Tableau, "An empty pile may be filled only with a King."},
      {"Klondike 1 [Turn over 1]", Foundations, "An empty foundation takes an Ace."},
      {"Canfield", Layout, "A reserve of thirteen cards"},
      {"Canfield", Layout, "it is the base card"},
      {"Canfield", Foundations, "Build up by one in suit. An Ace may follow a King."},
      {"Freecell", Layout, "Four free cells"},
      {"Freecell", Layout, "there is no stock"},
      {"Freecell", Tableau, "in alternating colours"},
      {"Aces Up", Goal, "only the four Aces are left"},
      {"Spider", Goal, "all 104 cards"},
  };
  for (const TCase& c : cases) EXPECT_TRUE(Says(c)) << c.Game << ": " << c.Words;
}

// Statements that once told of another game than the one the engine plays (the engine's side is
// in tests/patience/engine/RulesPagesTest.cpp, with the special games' own statements).
TEST(RulesPageTest, PagesTellTheGameTheEnginePlays) {
  const char* const suitedRun =
      "A run of cards down by one in suit may be moved together; where the suit changes";
  const TCase cases[] = {
      {"Spider", Tableau, suitedRun},
      {"Spiderette", Tableau, suitedRun},
      {"Simple Simon", Tableau, suitedRun},
      {"Will o the Wisp", Tableau, suitedRun},
      {"Whitehead", Tableau, suitedRun},
      {"La Belle Lucie", Stock, "You may redeal twice."},
      {"Trefoil", Stock, "You may redeal twice."},
      {"Super Flower Garden", Stock, "You may redeal twice."},
      {"Fascination Fan", Stock, "You may redeal six times."},
      {"Demon Fan", Stock, "You may redeal six times."},
      {"The Clock", Foundations, "It goes under that pile, and the pile's top card is turned up"},
      {"The Clock", Goal, "won when every card has been turned up"},
      {"Scorpion", Stock, "deal its three cards onto the first three piles, one each"},
      {"Auld Lang Syne", Foundations, "one at a time when you middle-click a card"},
      {"Sir Tommy", Stock, "drag it straight to where it may go"},
      {"Sir Tommy", Tableau, "An empty pile may be filled only with the top card of the stock."},
      {"Sir Tommy", Tableau, "Any card from the stock may be put on any tableau card."},
      {"Strategy", Foundations, "Cards may be put on the foundations only once the stock is empty."},
      {"Spidercells", Foundations,
       "Only a whole run of thirteen cards in alternating colours, King down to Ace"},
      {"Baby Spiderette", Foundations, "Only a whole run of thirteen cards of any suits, King down to Ace"},
      {"Fly", Tableau, "any card from the stock, another tableau pile or the foundations"},
      {"Agnes Sorel", Tableau, "An empty pile is filled only by the next deal from the stock."},
      {"Kingdom", Layout, "An Ace is dealt onto the first one at the start."},
      {"Blockade", Tableau, "An emptied pile is filled at once from the stock. Once the stock is empty"},
  };
  for (const TCase& c : cases) EXPECT_TRUE(Says(c)) << c.Game << ": " << c.Words;
}

// Counts read as English: "the first pile", never "the first one pile".
TEST(RulesPageTest, CountsReadAsEnglish) {
  for (const TRulesPage& p : AllRulesPages())
    for (const char* wrong : {"first one pile", "first one card", " one piles", " one cards"})
      EXPECT_EQ(p.Html.find(wrong), std::string::npos) << p.Title << ": " << wrong;
}

// The page's words on Undo, in a section of their own, as its claim has them.
TEST(RulesPageTest, PagesWithoutUndoSaySo) {
  int off = 0;
  for (const TRulesPage& p : AllRulesPages()) {
    const bool undo =
        DescribeRules(GameDefinition(Game(p.Title == "Freecell Custom" ? "Freecell" : p.Title))).Undo;
    EXPECT_EQ(p.Html.find("<h2>Undo</h2>\n<p>Undo is off in this game") != std::string::npos, !undo)
        << p.Title;
    off += undo ? 0 : 1;
  }
  EXPECT_EQ(off, 5);
}

TEST(RulesPageTest, FreecellPageCoversEverySizeAndEscapesNames) {
  const TRulesPage page = RulesPage(Game("Freecell"));
  EXPECT_NE(page.Html.find("Freecell Custom"), std::string::npos);
  for (const TGameRef& g : AllGames())
    if (g.Entry == kEntryFreecellNxM) {
      EXPECT_NE(std::find(page.Keywords.begin(), page.Keywords.end(), GameCaption(g)), page.Keywords.end());
    }
  // Captions go into the page as text.
  for (const TRulesPage& p : AllRulesPages()) {
    const size_t h1 = p.Html.find("<h1>");
    EXPECT_EQ(p.Html.find('<', h1 + 4), p.Html.find("</h1>")) << p.Title;
  }
}

}  // namespace
