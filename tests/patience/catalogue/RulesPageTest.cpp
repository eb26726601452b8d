// The rules pages written from the catalogue: one per help code, named after it, and saying what
// the game's data says.
#include <gtest/gtest.h>

#include <set>

#include "patience/catalogue/RulesPage.h"
#include "tests/patience/catalogue/CatalogueTestUtil.h"

namespace {

bool Says(const std::vector<std::string>& lines, const std::string& words) {
  for (const std::string& l : lines)
    if (l.find(words) != std::string::npos) return true;
  return false;
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
  enum TPart { Layout, Foundations, Tableau, Stock, Goal };
  struct TCase {
    const char* Game;
    TPart Part;
    const char* Words;
  };
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
  for (const TCase& c : cases) {
    const TRulesText t = DescribeRules(GameDefinition(Game(c.Game)));
    const std::vector<std::string>& lines = c.Part == Layout        ? t.Layout
                                            : c.Part == Foundations ? t.Foundations
                                            : c.Part == Tableau     ? t.Tableau
                                            : c.Part == Stock       ? t.Stock
                                                                    : std::vector<std::string>{t.Goal};
    EXPECT_TRUE(Says(lines, c.Words)) << c.Game << ": " << c.Words;
  }
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
