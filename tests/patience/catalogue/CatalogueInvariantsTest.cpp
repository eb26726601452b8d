// Checks every one of the 205 games against the rules a valid catalogue row must keep.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "CatalogueTestUtil.h"

namespace {

constexpr int kTableWidth = 1024;
constexpr int kTableHeight = 768;
constexpr int kCardWidth = 71;
constexpr int kCardHeight = 96;

// Which rule sets each element may stand in (tableau T, foundations F, stock S).
struct TAllowed {
  bool T, F, S;
};
TAllowed AllowedSets(int rule) {
  switch (rule) {
    case 13:
    case 14:
    case 15:
    case 26:
    case 37:
    case 38:
    case 39:
    case 40:
    case 41:
    case 42:
    case 43:
    case 44:
    case 52:
    case 55:
    case 56:
    case 57:
    case 59:
    case 60:
    case 62:
    case 63:
      return {true, false, false};
    case 24:
    case 25:
    case 28:
    case 29:
    case 30:
    case 31:
    case 51:
    case 54:
    case 58:
    case 64:
    case 65:
    case 66:
    case 67:
    case 68:
    case 70:
    case 72:
    case 73:
      return {false, true, false};
    case 45:
    case 46:
    case 47:
    case 48:
    case 49:
    case 71:
      return {false, false, true};
    case 5:  // tested by nothing, so no game may rely on it
      return {false, false, false};
    default:
      return {rule <= 73, rule <= 73, false};
  }
}

// Cards the deal asks for: bases first, then reserve, except piles and tableau.
int DealDemand(const TGameDef& d) {
  const int pack = d.Stock.Decks == 2 ? 104 : 52;
  const TPileRules& f = d.Foundations.Rules;
  int bases = 0;
  if (f.Has(DealAllBases)) bases = pack / 13;
  if (f.Has(DealOneBase)) bases = 1;
  if (f.Has(DealTwoBases)) bases = 2;
  if (f.Has(BaseOnly)) bases += 1;
  if (f.Has(DealToFoundations)) return pack;
  int reserve = d.Reserve.FreeCells ? d.Reserve.DealtToCells : d.Reserve.Count;
  int except = 0;
  for (int n : d.Except.CardsPerPile) except += n;
  int tableau = 0;
  const auto& cpp = d.Tableau.CardsPerPile;
  if (cpp.empty()) {
    tableau = d.Tableau.Count - d.Tableau.LeftEmpty;
  } else {
    for (int n : cpp) tableau += n;
  }
  return bases + reserve + except + tableau;
}

// Cards a deal by rows actually places per pile: the row count is the largest count under
// DealByRows, the first under Squared, else one row.
int CardsDealtByRows(const TGameDef& d) {
  const auto& cpp = d.Tableau.CardsPerPile;
  int rows = 1;
  if (d.Tableau.Rules.Has(DealByRows) && !cpp.empty())
    rows = *std::max_element(cpp.begin(), cpp.end());
  else if (d.Tableau.Rules.Has(Squared) && !cpp.empty())
    rows = cpp[0];
  int n = 0;
  for (int row = 1; row <= rows; ++row)
    for (int p = 0; p < d.Tableau.Count - d.Tableau.LeftEmpty; ++p)
      if (cpp.empty() || cpp[size_t(p)] >= row) ++n;
  return n;
}

struct TPlaced {
  std::string What;
  TPoint At;
};

// Everything the game puts on the table for this layout: tableau piles, foundations, free
// cells (one column or row step from their origin), except piles, and the stock and waste
// places when the deal leaves cards in the stock.
std::vector<TPlaced> TablePlaces(const TGameDef& d, const TGameRules& g, const TLayoutVars& v) {
  std::vector<TPlaced> out;
  for (size_t i = 0; i < g.TableauPlaces.size(); ++i)
    out.push_back({"tableau " + std::to_string(i), g.TableauPlaces[i]});
  for (size_t i = 0; i < g.FoundationPlaces.size(); ++i)
    out.push_back({"foundation " + std::to_string(i), g.FoundationPlaces[i]});
  if (d.Reserve.FreeCells)
    for (int k = 1; k <= d.Reserve.Count; ++k) {
      TPoint o = g.Reserve.Origin;
      out.push_back({"cell " + std::to_string(k), d.Reserve.CellsVertical
                                                      ? TPoint(o.X, o.Y + (k - 1) * v.RowStep)
                                                      : TPoint(o.X + k * v.ColumnStep, o.Y)});
    }
  for (size_t i = 0; i < g.ExceptPiles.Positions.size(); ++i)
    out.push_back({"except " + std::to_string(i), g.ExceptPiles.Positions[i]});
  return out;
}

TPoint StockPlace(const TGameRules& g, const TLayoutVars& v) {
  const TPileRules& s = g.Stock.Rules;
  if (!s.Has(AlternateStockPlace)) return {v.LeftMargin, v.TopMargin};
  if (s.Has(StockBelowTableau)) return {2 * v.ColumnStep + v.LeftMargin, 4 * v.RowStep + v.TopMargin};
  if (s.Has(StockAtPoint)) return g.Stock.Point;
  return {2 * v.ColumnStep + v.LeftMargin, v.TopMargin - 7};
}

// At factor 1.0 the waste beside the stock is (117, 15) and the lower one (15, 170).
TPoint WastePlace(const TGameRules& g) {
  const TPileRules& s = g.Stock.Rules;
  if (!s.Has(AlternateWastePlace)) return {117, 15};
  if (s.Has(StockAtPoint)) return g.Stock.WastePoint;
  return {15, 170};
}

std::string ParamName(const testing::TestParamInfo<TGameRef>& info) {
  std::string s = std::to_string(info.index) + "_";
  for (char ch : GameCaption(info.param))
    if (std::isalnum(static_cast<unsigned char>(ch))) s += ch;
  return s;
}

class EveryGame : public testing::TestWithParam<TGameRef> {
 protected:
  const TGameDef& Def() const { return GameDefinition(GetParam()); }
};

TEST_P(EveryGame, PlacesAndPerPileArraysMatchTheCounts) {
  const TGameDef& d = Def();
  TGameRules g = Applied(GetParam());
  EXPECT_EQ(int(g.TableauPlaces.size()), d.Tableau.Count);
  EXPECT_EQ(int(g.FoundationPlaces.size()), d.Foundations.Count);
  const auto& cpp = d.Tableau.CardsPerPile;
  const auto& down = d.Tableau.FaceDownPerPile;
  EXPECT_TRUE(cpp.empty() || int(cpp.size()) == d.Tableau.Count);
  EXPECT_TRUE(down.empty() || int(down.size()) == d.Tableau.Count);
  EXPECT_TRUE(down.empty() || !cpp.empty()) << "face-down counts without cards per pile";
  for (size_t p = 0; p < down.size() && p < cpp.size(); ++p) {
    EXPECT_GE(down[p], 0);
    EXPECT_LE(down[p], cpp[p]) << "pile " << p;
  }
  for (int n : cpp) EXPECT_GE(n, 0);
  EXPECT_GE(d.Tableau.LeftEmpty, 0);
  EXPECT_LE(d.Tableau.LeftEmpty, d.Tableau.Count);
  EXPECT_EQ(int(d.Except.CardsPerPile.size()), d.Except.Count);
  if (d.Except.ByPositionTable) {
    EXPECT_EQ(int(g.ExceptPiles.Positions.size()), d.Except.Count);
  }
  // Angles go with drop angles, one per foundation.
  if (!d.Foundations.Angles.empty()) {
    EXPECT_EQ(int(d.Foundations.Angles.size()), d.Foundations.Count);
    EXPECT_TRUE(d.Foundations.Rules.Has(UseDropAngles));
  }
  // Place markers: tableau piles 1..20 with the free cells after them, foundations up to 13.
  if (d.Tableau.Count <= 20) {
    EXPECT_LE(d.Tableau.Count + (d.Reserve.FreeCells ? d.Reserve.Count : 0), 20);
  }
  EXPECT_LE(d.Foundations.Count, 13);
}

TEST_P(EveryGame, DealAsksNoMoreThanThePackAndEveryPileGetsItsCount) {
  const TGameDef& d = Def();
  const int pack = d.Stock.Decks == 2 ? 104 : 52;
  // Freecell NxM, Bastion, Forecell and Sea Towers ask for more; the deal stops at the end of
  // the pack.
  static const std::set<int> overAsking = {102, 107, 108, 111};
  if (overAsking.count(d.Entry))
    EXPECT_GT(DealDemand(d), pack);
  else
    EXPECT_LE(DealDemand(d), pack);
  if (!d.Tableau.CardsPerPile.empty() && !d.Tableau.Rules.Has(DealPileByPile)) {
    int asked = 0;
    for (int n : d.Tableau.CardsPerPile) asked += n;
    EXPECT_EQ(CardsDealtByRows(d), asked) << "rows of the deal cut the per-pile counts short";
  }
}

TEST_P(EveryGame, RuleElementsStandOnlyInSetsThatUseThem) {
  const TGameDef& d = Def();
  for (int i = 0; i < 80; ++i) {
    TAllowed a = AllowedSets(i);
    if (d.Tableau.Rules.Bits.test(size_t(i))) {
      EXPECT_TRUE(a.T) << "T has " << i;
    }
    if (d.Foundations.Rules.Bits.test(size_t(i))) {
      EXPECT_TRUE(a.F) << "F has " << i;
    }
    if (d.Stock.Rules.Bits.test(size_t(i))) {
      EXPECT_TRUE(a.S) << "S has " << i;
    }
  }
}

TEST_P(EveryGame, ReserveAndStockFlagsAreConsistent) {
  const TGameDef& d = Def();
  TGameRules g = Applied(GetParam());
  // The reserve's source search only finds an any-card reserve with a vertical fan.
  if (d.Reserve.AllPlayable) {
    EXPECT_TRUE(d.Reserve.VerticalFan);
  }
  // A free-cell origin of X 0 would mean different places to the deal and to the drop points.
  if (d.Reserve.FreeCells) {
    EXPECT_TRUE(d.Reserve.Origin.has_value());
    EXPECT_NE(g.Reserve.Origin.X, 0);
  }
  // The deal lays cell cards out in a row whatever CellsVertical says.
  if (d.Reserve.CellsVertical) {
    EXPECT_EQ(d.Reserve.DealtToCells, 0);
  }
  if (d.Reserve.DealtToCells > 0) {
    EXPECT_TRUE(d.Reserve.FreeCells);
    EXPECT_LE(d.Reserve.DealtToCells, d.Reserve.Count);
  }
  const TPileRules& s = d.Stock.Rules;
  if (s.Has(StockAtPoint)) {
    EXPECT_TRUE(d.Stock.Point.has_value());
  }
  if (s.Has(AlternateWastePlace) && s.Has(StockAtPoint)) {
    EXPECT_TRUE(d.Stock.WastePoint.has_value());
  }
  if (s.Has(StockAtPoint) || s.Has(StockBelowTableau)) {
    EXPECT_TRUE(s.Has(AlternateStockPlace));
  }
  EXPECT_EQ(d.Stock.Point.has_value(), s.Has(StockAtPoint)) << "a point nothing reads";
  EXPECT_EQ(d.Stock.StockFromTop, d.Special == TGameSpecial::Burleigh);
  EXPECT_TRUE(d.Stock.Decks == 0 || d.Stock.Decks == 2);
  EXPECT_GE(d.Stock.PassesAllowed, 0);
  EXPECT_GE(d.Stock.DealCount, -4);
}

TEST_P(EveryGame, EverythingLiesOnA1024x768Table) {
  const TGameDef& d = Def();
  TGameRules g = Applied(GetParam());
  // Concentration's 13 columns and Double Scorpion's tenth pile need a wider table.
  const std::map<int, int> wide = {{118, 5 + 12 * 92 + kCardWidth}, {122, 15 + 10 * 102 + kCardWidth}};
  int right = 0;
  auto check = [&](const std::string& what, TPoint p) {
    right = std::max(right, p.X + kCardWidth);
    EXPECT_GE(p.X, 0) << what;
    EXPECT_GE(p.Y, 0) << what;
    EXPECT_LE(p.Y + kCardHeight, kTableHeight) << what;
    if (!wide.count(d.Entry)) {
      EXPECT_LE(p.X + kCardWidth, kTableWidth) << what;
    }
  };
  for (const auto& p : TablePlaces(d, g, kDefaultLayout)) check(p.What, p.At);
  check("stock", StockPlace(g, kDefaultLayout));
  if (wide.count(d.Entry)) {
    EXPECT_EQ(right, wide.at(d.Entry));
  }
}

TEST_P(EveryGame, NoTwoPilesShareAPlace) {
  const TGameDef& d = Def();
  for (const TLayoutVars& v : {kDefaultLayout, TLayoutVars{22, 22, 255, 153, 232}}) {
    TGameRules g = Applied(GetParam(), v);
    std::vector<TPlaced> placed = TablePlaces(d, g, v);
    for (size_t i = 0; i < placed.size(); ++i)
      for (size_t j = i + 1; j < placed.size(); ++j)
        EXPECT_NE(placed[i].At, placed[j].At) << placed[i].What << " and " << placed[j].What;
  }
  // Where the deal leaves cards in the stock (or a redeal gathers them there), the stock and
  // the waste it deals to lie clear of every pile. Under DragFromDeck the waste stays unused.
  const int pack = d.Stock.Decks == 2 ? 104 : 52;
  if (DealDemand(d) < pack || d.Stock.DealCount < -2) {
    TGameRules g = Applied(GetParam());
    TPoint stock = StockPlace(g, kDefaultLayout);
    for (const auto& p : TablePlaces(d, g, kDefaultLayout)) EXPECT_NE(p.At, stock) << "stock on " << p.What;
    if (d.Stock.DealCount >= 1 && !d.Stock.Rules.Has(DragFromDeck)) {
      for (const auto& p : TablePlaces(d, g, kDefaultLayout))
        EXPECT_NE(p.At, WastePlace(g)) << "waste on " << p.What;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryGame, testing::ValuesIn(AllGames()), ParamName);

TEST(CatalogueIdentity, NamesHelpCodesAndPicturesAsTheMenusAndFilesExpect) {
  std::set<std::string> names;
  std::map<std::string, std::vector<int>> helpUsers;
  std::set<int> entries;
  for (const TGameRef& game : AllGames()) {
    const TGameDef& d = GameDefinition(game);
    EXPECT_TRUE(names.insert(d.Name).second) << d.Name;
    EXPECT_FALSE(d.Name.empty());
    EXPECT_NE(d.Name.front(), ' ');
    EXPECT_NE(d.Name.back(), ' ');
    EXPECT_NE(d.Name, "Loading");
    helpUsers[d.HelpCode].push_back(d.Entry);
    if (d.Entry == 158)
      EXPECT_EQ(d.HelpCode, "acesup");
    else if (d.Entry == 159)
      EXPECT_EQ(d.HelpCode, "osmos");
    else
      EXPECT_EQ(d.HelpCode.size(), 4u) << d.Name;
    EXPECT_EQ(d.Picture, d.Entry == kEntryFreecellNxM ? kEntryFreecell : d.Entry) << d.Name;
    entries.insert(d.Entry);
  }
  EXPECT_EQ(names.size(), size_t(kGameCount));
  EXPECT_EQ(entries.size(), size_t(kEntryCount));
  EXPECT_EQ(*entries.begin(), 1);
  EXPECT_EQ(*entries.rbegin(), kEntryCount);
  for (const auto& [code, users] : helpUsers) {
    if (code == "2r1o") {
      EXPECT_EQ(users.size(), 47u);  // Freecell and its 46 sizes
      for (int e : users) EXPECT_TRUE(e == kEntryFreecell || e == kEntryFreecellNxM);
    } else {
      EXPECT_EQ(users.size(), 1u) << code;
    }
  }
  // Spellings saved games and statistics files are keyed on.
  for (const char* name : {"Blitzkreig", "Totem Poll", "Will o the Wisp", "Fortune's Favor", "Mesmer-eyes",
                           "Obrai-Skai", "Ace In The Hole", "Tam O'Shanter", "Klondike 3 [Double]"})
    EXPECT_TRUE(names.count(name)) << name;
}

TEST(CatalogueIdentity, SpecialGamesAreTaggedAndFoundByName) {
  const std::map<std::string, TGameSpecial> specials = {
      {"The Clock", TGameSpecial::Clock},   {"The Dial", TGameSpecial::Dial},
      {"Aces Up", TGameSpecial::AcesUp},    {"Four Colours", TGameSpecial::FourColours},
      {"Burleigh", TGameSpecial::Burleigh}, {"One Foundation", TGameSpecial::OneFoundation}};
  int tagged = 0;
  for (const TGameRef& game : AllGames()) {
    const TGameDef& d = GameDefinition(game);
    auto it = specials.find(d.Name);
    EXPECT_EQ(d.Special, it == specials.end() ? TGameSpecial::None : it->second) << d.Name;
    tagged += d.Special != TGameSpecial::None;
  }
  EXPECT_EQ(tagged, 6);
  for (const auto& [name, tag] : specials) EXPECT_EQ(SpecialOfGame(name), tag);
  EXPECT_EQ(SpecialOfGame("the clock"), TGameSpecial::None);
  EXPECT_EQ(SpecialOfGame("Loading"), TGameSpecial::None);
  EXPECT_EQ(SpecialOfGame(""), TGameSpecial::None);
}

}  // namespace
