// The " Game Type " menu: every caption once under "Alphabetical Games" and once among the type
// submenus, the counts of every list, the order quirks, and each item starting its own game.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "patience/catalogue/Catalogue.h"
#include "patience/catalogue/GameStart.h"
#include "patience/ui/GameMenus.h"
#include "patience/ui/MenuDraw.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/TestUtil.h"

namespace {

// The leaves under an item, in menu order.
void Leaves(TMenuItem& item, std::vector<TMenuItem*>& out) {
  for (int i = 0; i < item.Count(); ++i) {
    TMenuItem* child = item.Items(i);
    if (child->Count() > 0)
      Leaves(*child, out);
    else
      out.push_back(child);
  }
}

std::vector<TMenuItem*> Leaves(TMenuItem& item) {
  std::vector<TMenuItem*> out;
  Leaves(item, out);
  return out;
}

std::vector<std::string> Captions(TMenuItem& item) {
  std::vector<std::string> out;
  for (int i = 0; i < item.Count(); ++i) out.push_back(item.Items(i)->Caption());
  return out;
}

struct TMenus {
  TMenuItem ChooseGame1{"ChooseGame1", " Game Type "};
  std::vector<TMenuItem*> Clicked;
  TGameMenus Lists = BuildGameTypeMenu(ChooseGame1, [this](TMenuItem& item) { Clicked.push_back(&item); });
};

const std::vector<std::string> kTypeMenus = {
    "Baker's Dozen Type", "Beleaguered Castle Type", "Canfield Type",
    "Fan Type",           "Flower Garden Type",      "Forty Thieves Type",
    "Freecell Type",      "Four Seasons Type",       "Klondike Type",
    "Pairing Type",       "Sir Tommy Type",          "Spider Type",
    "Yukon Type",         "Other Game Type"};

}  // namespace

TEST(GameMenus, TheChildrenOfGameTypeInOrder) {
  TMenus m;
  std::vector<std::string> expected = {"Alphabetical Games", "Small Screen Games", "Favourites", "-"};
  expected.insert(expected.end(), kTypeMenus.begin(), kTypeMenus.end());
  EXPECT_EQ(Captions(m.ChooseGame1), expected);
  EXPECT_EQ(m.Lists.Favourites1->Count(), 0);
  EXPECT_EQ(m.Lists.Alphabeticallist1->Caption(), "Alphabetical Games");
  EXPECT_EQ(m.Lists.N800x600Games1->Caption(), "Small Screen Games");
}

TEST(GameMenus, AlphabeticalGamesHoldsEveryGameOnceInSixGroups) {
  TMenus m;
  TMenuItem& alpha = *m.Lists.Alphabeticallist1;
  EXPECT_EQ(Captions(alpha),
            (std::vector<std::string>{"A - B", "C - E", "F - J", "K - P", "R - S", "T - Z"}));
  const int sizes[] = {31, 28, 28, 22, 30, 21};  // "F - J": 27 games and the "Freecell Custom" submenu
  for (int g = 0; g < 6; ++g) EXPECT_EQ(alpha.Items(g)->Count(), sizes[g]) << alpha.Items(g)->Caption();
  const auto leaves = Leaves(alpha);
  EXPECT_EQ(leaves.size(), size_t(kGameCount));
  std::set<std::string> seen;
  for (TMenuItem* leaf : leaves) EXPECT_TRUE(seen.insert(leaf->Caption()).second) << leaf->Caption();
  const auto& all = AllCaptions();
  EXPECT_EQ(seen, std::set<std::string>(all.begin(), all.end()));
  // Every caption starts with a letter of its group.
  const char* groups[] = {"AB", "CDE", "FGHIJ", "KLMNOP", "RS", "TUVWXYZ"};
  for (int g = 0; g < 6; ++g)
    for (int i = 0; i < alpha.Items(g)->Count(); ++i)
      EXPECT_NE(std::string(groups[g]).find(alpha.Items(g)->Items(i)->Caption()[0]), std::string::npos);
}

TEST(GameMenus, AlphabeticalOrderWithItsTwoExceptions) {
  TMenus m;
  TMenuItem& alpha = *m.Lists.Alphabeticallist1;
  for (int g = 0; g < alpha.Count(); ++g) {
    const auto caps = Captions(*alpha.Items(g));
    for (size_t i = 1; i < caps.size(); ++i) {
      if (caps[i] == "Freecell Custom" || caps[i] == "The Demon") continue;
      if (caps[i - 1] == "Freecell Custom" || caps[i - 1] == "The Dial") continue;
      EXPECT_LT(
          QString::fromStdString(caps[i - 1]).compare(QString::fromStdString(caps[i]), Qt::CaseInsensitive),
          0)
          << caps[i - 1] << " / " << caps[i];
    }
  }
  const auto tz = Captions(*alpha.Find("T - Z"));
  const auto dial = std::find(tz.begin(), tz.end(), "The Dial");
  ASSERT_NE(dial, tz.end());
  ASSERT_NE(dial + 1, tz.end());
  EXPECT_EQ(*(dial + 1), "The Demon");
  const auto fj = Captions(*alpha.Find("F - J"));
  const auto freecell = std::find(fj.begin(), fj.end(), "Freecell");
  ASSERT_NE(freecell + 1, fj.end());
  EXPECT_EQ(*(freecell + 1), "Freecell Custom");
  const auto ab = Captions(*alpha.Find("A - B"));
  EXPECT_EQ(ab.front(), "Ace In The Hole");
  EXPECT_EQ(ab[1], "Aces Up");
}

TEST(GameMenus, FreecellCustomHoldsTheFortySixSizesTwice) {
  TMenus m;
  TMenuItem* inAlpha = m.Lists.Alphabeticallist1->Find("F - J")->Find("Freecell Custom");
  TMenuItem* inType = m.ChooseGame1.Find("Freecell Type")->Find("Freecell Custom");
  ASSERT_NE(inAlpha, nullptr);
  ASSERT_NE(inType, nullptr);
  EXPECT_EQ(Captions(*inAlpha), Captions(*inType));
  const auto caps = Captions(*inAlpha);
  ASSERT_EQ(caps.size(), 46u);
  EXPECT_EQ(caps.front(), "Freecell 4x4");
  EXPECT_EQ(caps[1], "Freecell 4x5");
  EXPECT_EQ(caps.back(), "Freecell 10x6");
  EXPECT_EQ(std::count(caps.begin(), caps.end(), "Freecell 8x4"), 0);  // the plain "Freecell"
  EXPECT_EQ(std::count(caps.begin(), caps.end(), "Freecell 9x0"), 1);
  // "Freecell Type" lists it right after "Freecell".
  const auto type = Captions(*m.ChooseGame1.Find("Freecell Type"));
  EXPECT_EQ(*(std::find(type.begin(), type.end(), "Freecell") + 1), "Freecell Custom");
}

TEST(GameMenus, TheTypeSubmenusHoldEveryGameOnce) {
  TMenus m;
  std::map<std::string, int> count;
  int leaves = 0;
  for (const std::string& type : kTypeMenus) {
    TMenuItem* menu = m.ChooseGame1.Find(type);
    ASSERT_NE(menu, nullptr) << type;
    for (TMenuItem* leaf : Leaves(*menu)) {
      ++count[leaf->Caption()];
      ++leaves;
    }
  }
  EXPECT_EQ(leaves, kGameCount);
  for (const std::string& caption : AllCaptions()) EXPECT_EQ(count[caption], 1) << caption;
  const auto forty = Captions(*m.ChooseGame1.Find("Forty Thieves Type"));
  EXPECT_EQ(forty, (std::vector<std::string>{"A - I", "J - Z"}));
  EXPECT_EQ(m.ChooseGame1.Find("Forty Thieves Type")->Items(0)->Count(), 19);
  EXPECT_EQ(m.ChooseGame1.Find("Forty Thieves Type")->Items(1)->Count(), 13);
}

TEST(GameMenus, SmallScreenGamesAreFiftyThreeInTwoGroups) {
  TMenus m;
  TMenuItem& small = *m.Lists.N800x600Games1;
  EXPECT_EQ(Captions(small), (std::vector<std::string>{"A - M", "N - Z"}));
  EXPECT_EQ(small.Items(0)->Count(), 33);
  EXPECT_EQ(small.Items(1)->Count(), 20);
  std::set<std::string> seen;
  for (TMenuItem* leaf : Leaves(small)) {
    EXPECT_TRUE(FindGame(leaf->Caption()).has_value()) << leaf->Caption();
    EXPECT_TRUE(seen.insert(leaf->Caption()).second);
  }
  EXPECT_EQ(seen.size(), 53u);
}

TEST(GameMenus, EveryItemIsCaptionedAsItsGameAndLookedUpOnce) {
  TMenus m;
  // 205 + 205 + 53 game items, all with the same click handler.
  int items = 0;
  m.ChooseGame1.ForEach([&](TMenuItem& item) {
    if (IsGameItem(item)) ++items;
  });
  EXPECT_EQ(items, 463);
  for (const std::string& caption : AllCaptions()) {
    TMenuItem* item = GetMenuItem(m.Lists.Alphabeticallist1, caption, true);
    ASSERT_NE(item, nullptr) << caption;
    EXPECT_EQ(item->Caption(), caption);
  }
  EXPECT_EQ(GetMenuItem(m.Lists.Alphabeticallist1, "Freecell 8x4", true), nullptr);
  // Names are unique across the menu.
  std::set<std::string> names;
  m.ChooseGame1.ForEach(
      [&](TMenuItem& item) { EXPECT_TRUE(names.insert(item.Name()).second) << item.Name(); });
}

TEST(GameMenus, EachItemStartsItsOwnGame) {
  // A table-less engine deals each game as its item is clicked.
  TTempDir dir;
  TTestCardsetOptions o;
  o.Width = 71;
  o.Height = 96;
  WriteTestCardset(dir.Path(), "Standard", o);
  TCardDeck deck(nullptr, dir.Path());
  TPatienceEngine engine(deck);
  TMenuItem ChooseGame1("ChooseGame1", " Game Type ");
  std::vector<std::string> started;
  BuildGameTypeMenu(ChooseGame1, [&](TMenuItem& item) {
    engine.Rules.GameName = "Loading";  // every click deals, even of the game in play
    ASSERT_TRUE(StartGameByCaption(engine, item.Caption())) << item.Caption();
    started.push_back(engine.CurrentGame()->Caption());
    const auto* game = dynamic_cast<const TCatalogueGame*>(engine.CurrentGame());
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->Ref(), *FindGame(item.Caption()));
    EXPECT_EQ(engine.Rules.GameName, item.Caption());
    EXPECT_EQ(engine.HistoryList[0], item.Caption());
  });
  std::vector<TMenuItem*> games;
  ChooseGame1.ForEach([&](TMenuItem& item) {
    if (IsGameItem(item)) games.push_back(&item);
  });
  ASSERT_EQ(games.size(), 463u);
  for (TMenuItem* item : games) {
    item->Click();
    ASSERT_EQ(started.back(), item->Caption());
  }
  EXPECT_EQ(started.size(), 463u);
  // "Freecell 10x6" is Freecell NxM with 10 columns and 6 cells; "Freecell" is its own entry.
  EXPECT_EQ(*FindGame("Freecell 10x6"), TGameRef::FreecellNxM(10, 6));
  EXPECT_EQ(FindGame("Freecell")->Entry, kEntryFreecell);
  EXPECT_EQ(*FindGame("Klondike 2 [Turn over 3]"), TGameRef::Klondike(2));
}
