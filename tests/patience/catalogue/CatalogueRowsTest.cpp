// Whole games checked field by field against hand-computed values, and the places whose
// products land exactly on a half.

#include <gtest/gtest.h>

#include "CatalogueTestUtil.h"

namespace {

std::vector<TPoint> Row(int y, int x0, int step, int n) {
  std::vector<TPoint> out;
  for (int i = 0; i < n; ++i) out.emplace_back(x0 + i * step, y);
  return out;
}

TPileRules Rules(std::initializer_list<TPileRule> r) {
  return TPileRules(r);
}

// Fields every game below leaves at their cleared values unless the test says otherwise.
void ExpectNoReserveStockOrExtras(const TGameRules& g) {
  EXPECT_EQ(g.Reserve.Count, 0);
  EXPECT_FALSE(g.Reserve.FreeCells || g.Reserve.FaceUp || g.Reserve.VerticalFan || g.Reserve.AllPlayable ||
               g.Reserve.CellsVertical);
  EXPECT_EQ(g.Reserve.Origin, TPoint());
  EXPECT_EQ(g.ExceptPiles.Count, 0);
  EXPECT_TRUE(g.ExceptPiles.Positions.empty());
  EXPECT_TRUE(g.FoundationAngles.empty());
  EXPECT_FALSE(g.StockFromTop);
}

TEST(CatalogueRows, Freecell) {
  TGameRules g = Applied(Game("Freecell"));
  EXPECT_EQ(g.GameName, "Freecell");
  EXPECT_EQ(g.HelpCode, "2r1o");
  EXPECT_EQ(g.GamePicture, 29);
  EXPECT_EQ(g.DealMode, dmFastDeal);
  EXPECT_EQ(g.Tableau.Count, 8);
  EXPECT_EQ(g.Tableau.CardsPerPile, (std::vector<int>{7, 7, 7, 7, 6, 6, 6, 6}));
  EXPECT_TRUE(g.Tableau.FaceDownPerPile.empty());
  EXPECT_EQ(g.Tableau.LeftEmpty, 0);
  EXPECT_EQ(g.Tableau.Rules, Rules({DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, DragRuns,
                                    DealByRows, DealFaceUp}));
  EXPECT_EQ(g.TableauPlaces, Row(170, 117, 102, 8));
  EXPECT_EQ(g.Foundations.Count, 4);
  EXPECT_EQ(g.Foundations.Rules, Rules({UpByOne, SameSuit, EmptyTakesAce}));
  EXPECT_EQ(g.FoundationPlaces, Row(15, 525, 102, 4));
  EXPECT_EQ(g.Reserve.Count, 4);
  EXPECT_TRUE(g.Reserve.FreeCells);
  EXPECT_FALSE(g.Reserve.FaceUp || g.Reserve.VerticalFan || g.Reserve.AllPlayable || g.Reserve.CellsVertical);
  EXPECT_EQ(g.Reserve.DealtToCells, 0);
  EXPECT_EQ(g.Reserve.Origin, TPoint(15, 15));
  EXPECT_EQ(g.Stock.Decks, 0);
  EXPECT_EQ(g.Stock.DealCount, 0);
  EXPECT_EQ(g.Stock.PassesAllowed, 1);
  EXPECT_TRUE(g.Stock.Rules.Empty());
  EXPECT_EQ(g.Stock.Point, TPoint());
  EXPECT_EQ(g.Stock.WastePoint, TPoint());
  EXPECT_EQ(g.ExceptPiles.Count, 0);
  EXPECT_TRUE(g.FoundationAngles.empty());
  EXPECT_FALSE(g.StockFromTop);
  EXPECT_EQ(SpecialOfGame(g.GameName), TGameSpecial::None);
}

TEST(CatalogueRows, KlondikeVariantsDifferOnlyInNameHelpAndStock) {
  TGameRules one = Applied(TGameRef::Klondike(1));
  TGameRules three = Applied(TGameRef::Klondike(2));
  EXPECT_EQ(one.GameName, "Klondike 1 [Turn over 1]");
  EXPECT_EQ(three.GameName, "Klondike 2 [Turn over 3]");
  EXPECT_EQ(one.HelpCode, "1jap");
  EXPECT_EQ(three.HelpCode, "1jaq");
  EXPECT_EQ(one.Stock.DealCount, 1);
  EXPECT_EQ(one.Stock.PassesAllowed, 1);
  EXPECT_EQ(three.Stock.DealCount, 3);
  EXPECT_EQ(three.Stock.PassesAllowed, 0);
  for (const TGameRules* g : {&one, &three}) {
    EXPECT_EQ(g->GamePicture, 4);
    EXPECT_EQ(g->DealMode, dmFastDeal);
    EXPECT_EQ(g->Tableau.Count, 7);
    EXPECT_EQ(g->Tableau.CardsPerPile, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(g->Tableau.FaceDownPerPile.empty());  // all but each pile's last card face down
    EXPECT_EQ(g->Tableau.Rules,
              Rules({DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows}));
    EXPECT_EQ(g->TableauPlaces, Row(170, 15, 102, 7));
    EXPECT_EQ(g->Foundations.Count, 4);
    EXPECT_EQ(g->Foundations.Rules, Rules({UpByOne, SameSuit, EmptyTakesAce}));
    EXPECT_EQ(g->FoundationPlaces, Row(15, 219, 102, 4));
    EXPECT_EQ(g->Stock.Decks, 0);
    EXPECT_TRUE(g->Stock.Rules.Empty());
    ExpectNoReserveStockOrExtras(*g);
  }
  EXPECT_EQ(GameDefinition(TGameRef::Klondike(1)).Entry, 4);
  EXPECT_EQ(GameDefinition(TGameRef::Klondike(2)).Entry, 4);
}

TEST(CatalogueRows, Canfield) {
  TGameRules g = Applied(TGameRef::Plain(1));
  EXPECT_EQ(g.GameName, "Canfield");
  EXPECT_EQ(g.HelpCode, "4p2c");
  EXPECT_EQ(g.GamePicture, 1);
  EXPECT_EQ(g.DealMode, dmFastDeal);
  EXPECT_EQ(g.Tableau.Count, 4);
  EXPECT_TRUE(g.Tableau.CardsPerPile.empty());
  EXPECT_EQ(g.Tableau.Rules, Rules({DownByOne, KingOnAce, AlternateColour, Fanned, FromReserve, FromWaste,
                                    DragWholePile, RefillEmptyPiles}));
  EXPECT_EQ(g.TableauPlaces, Row(170, 219, 102, 4));
  EXPECT_EQ(g.Foundations.Count, 4);
  EXPECT_EQ(g.Foundations.Rules, Rules({UpByOne, AceOnKing, SameSuit, BaseOnly}));
  EXPECT_EQ(g.FoundationPlaces, Row(15, 219, 102, 4));
  EXPECT_EQ(g.Reserve.Count, 13);
  EXPECT_TRUE(g.Reserve.FaceUp);
  EXPECT_FALSE(g.Reserve.FreeCells || g.Reserve.VerticalFan || g.Reserve.AllPlayable);
  EXPECT_EQ(g.Reserve.Origin, TPoint());  // the layout's reserve place
  EXPECT_EQ(g.Stock.Decks, 0);
  EXPECT_EQ(g.Stock.DealCount, 3);
  EXPECT_EQ(g.Stock.PassesAllowed, 0);
  EXPECT_TRUE(g.Stock.Rules.Empty());
  EXPECT_EQ(g.ExceptPiles.Count, 0);
}

TEST(CatalogueRows, TheClock) {
  TGameRules g = Applied(Game("The Clock"));
  EXPECT_EQ(g.HelpCode, "8tuz");
  EXPECT_EQ(g.GamePicture, 114);
  EXPECT_EQ(g.DealMode, dmFastDeal);
  EXPECT_EQ(g.Tableau.Count, 0);
  EXPECT_TRUE(g.Tableau.Rules.Empty());
  EXPECT_TRUE(g.TableauPlaces.empty());
  EXPECT_EQ(g.Foundations.Count, 13);
  EXPECT_EQ(g.Foundations.Rules, Rules({FoundationsPlayable, ClockFoundations, DealToFoundations,
                                        UseDropAngles, ValueIsPileIndex, NoUndo, NoAnimations}));
  // Hours 1..11, twelve o'clock, centre. 0.9 x 155 = 139.5 and 3.5 x 155 = 542.5 are ties that
  // go to the even neighbours 140 and 542.
  std::vector<TPoint> face = {{688, 38},  {790, 155}, {831, 286}, {790, 418}, {688, 534},
                              {525, 557}, {362, 534}, {260, 418}, {219, 286}, {260, 155},
                              {362, 38},  {525, 15},  {525, 286}};
  EXPECT_EQ(g.FoundationPlaces, face);
  std::vector<float> angles = {-0.5235988f, -1.0471976f, -1.5707964f, -2.0943952f, -2.6179938f,
                               3.1415927f,  2.6179938f,  2.0943952f,  1.5707964f,  1.0471976f,
                               0.5235988f,  0.0f,        0.0f};
  EXPECT_EQ(g.FoundationAngles, angles);
  EXPECT_EQ(g.Stock.DealCount, 0);
  EXPECT_EQ(g.Stock.PassesAllowed, 1);
  EXPECT_EQ(GameDefinition(Game("The Clock")).Special, TGameSpecial::Clock);
  // The Dial shares the face and the angles, with a stock of three passes.
  TGameRules dial = Applied(Game("The Dial"));
  EXPECT_EQ(dial.FoundationPlaces, face);
  EXPECT_EQ(dial.FoundationAngles, angles);
  EXPECT_EQ(dial.Stock.DealCount, 1);
  EXPECT_EQ(dial.Stock.PassesAllowed, 3);
  EXPECT_EQ(dial.DealMode, 0);  // written by no one
}

TEST(CatalogueRows, Concentration) {
  TGameRules g = Applied(Game("Concentration"));
  EXPECT_EQ(g.HelpCode, "46um");
  EXPECT_EQ(g.GamePicture, 118);
  EXPECT_EQ(g.Tableau.Count, 52);
  EXPECT_TRUE(g.Tableau.CardsPerPile.empty());
  EXPECT_EQ(g.Tableau.Rules, Rules({DealFaceDown, PairGame}));
  ASSERT_EQ(g.TableauPlaces.size(), 52u);
  // From the table's own left edge, 0.9 x 102 = 91.8 -> 92 apart, rows RowStep apart.
  for (int r = 0; r < 4; ++r)
    for (int col = 0; col < 13; ++col)
      EXPECT_EQ(g.TableauPlaces[size_t(13 * r + col)], TPoint(5 + col * 92, 15 + r * 155));
  EXPECT_EQ(g.Foundations.Count, 0);
  EXPECT_TRUE(g.FoundationPlaces.empty());
  EXPECT_EQ(g.Foundations.Rules, Rules({RemovePairs, AutoMoveOnRequest, NoUndo}));
  EXPECT_EQ(g.Stock.Rules, Rules({AlternateStockPlace, StockBelowTableau}));
  EXPECT_EQ(g.Stock.DealCount, 0);
  ExpectNoReserveStockOrExtras(g);
}

TEST(CatalogueRows, FortyThievesTwoPacks) {
  TGameRules g = Applied(Game("Forty Thieves"));
  EXPECT_EQ(g.HelpCode, "8lkj");
  EXPECT_EQ(g.GamePicture, 8);
  EXPECT_EQ(g.Stock.Decks, 2);
  EXPECT_EQ(g.Stock.DealCount, 1);
  EXPECT_EQ(g.Stock.PassesAllowed, 1);
  EXPECT_EQ(g.Tableau.Count, 10);
  EXPECT_EQ(g.Tableau.CardsPerPile, std::vector<int>(10, 4));
  EXPECT_EQ(g.Tableau.Rules,
            Rules({DownByOne, SameSuit, Fanned, FromTableau, FromWaste, DealByRows, DealFaceUp}));
  EXPECT_EQ(g.TableauPlaces, Row(170, 15, 102, 10));
  EXPECT_EQ(g.Foundations.Count, 8);
  EXPECT_EQ(g.FoundationPlaces, Row(15, 219, 102, 8));
  ExpectNoReserveStockOrExtras(g);
}

TEST(CatalogueRows, HoldingPatternWithExceptPiles) {
  TGameRules g = Applied(Game("Holding Pattern"));
  EXPECT_EQ(g.DealMode, dmFastDeal | dmCompactFan);
  EXPECT_EQ(g.Tableau.CardsPerPile, (std::vector<int>{3, 1, 1, 3}));
  EXPECT_EQ(g.TableauPlaces, (std::vector<TPoint>{{117, 15}, {219, 15}, {729, 15}, {831, 15}}));
  EXPECT_EQ(g.FoundationPlaces, (std::vector<TPoint>{{423, 170}, {525, 170}, {423, 325}, {525, 325}}));
  EXPECT_EQ(g.Reserve.Count, 8);
  EXPECT_TRUE(g.Reserve.FreeCells);
  EXPECT_EQ(g.Reserve.Origin, TPoint(15, 635));
  EXPECT_EQ(g.Stock.Rules, Rules({AlternateStockPlace, StockBelowTableau}));
  EXPECT_EQ(g.ExceptPiles.Count, 2);
  EXPECT_EQ(g.ExceptPiles.CardsPerPile, (std::vector<int>{20, 20}));
  EXPECT_FALSE(g.ExceptPiles.FaceUp);
  EXPECT_TRUE(g.ExceptPiles.ByPositionTable);
  EXPECT_FALSE(g.ExceptPiles.FanHorizontal);
  EXPECT_EQ(g.ExceptPiles.Positions, (std::vector<TPoint>{{15, 15}, {933, 15}}));
}

TEST(CatalogueRows, FreecellNineByNoneHasNoCells) {
  TGameRules g = Applied(Game("Freecell 9x0"));
  EXPECT_EQ(g.HelpCode, "2r1o");
  EXPECT_EQ(g.GamePicture, 29);
  EXPECT_EQ(g.DealMode, dmFastDeal);
  EXPECT_EQ(g.Tableau.Count, 9);
  EXPECT_EQ(g.Tableau.CardsPerPile, (std::vector<int>{6, 6, 6, 6, 6, 6, 6, 6, 5}));
  EXPECT_EQ(g.Tableau.Rules, Applied(Game("Freecell")).Tableau.Rules);
  EXPECT_EQ(g.TableauPlaces, Row(170, 117, 102, 9));  // ending at column 9
  EXPECT_EQ(g.FoundationPlaces, Row(15, 627, 102, 4));
  EXPECT_EQ(g.Foundations.Rules, Rules({UpByOne, SameSuit, EmptyTakesAce}));
  EXPECT_TRUE(g.Reserve.FreeCells);
  EXPECT_EQ(g.Reserve.Count, 0);
  EXPECT_EQ(g.Reserve.Origin, TPoint(15 + 5 * 102, 15));
  EXPECT_EQ(g.Stock.DealCount, 0);
}

TEST(CatalogueRows, FreecellFourByEightStacksItsFoundations) {
  TGameRules g = Applied(Game("Freecell 4x8"));
  EXPECT_EQ(g.Tableau.Count, 4);
  EXPECT_EQ(g.Tableau.CardsPerPile, (std::vector<int>{14, 13, 13, 13}));  // 53: the deal stops at 52
  EXPECT_EQ(g.TableauPlaces, Row(170, 627, 102, 4));
  EXPECT_EQ(g.FoundationPlaces, (std::vector<TPoint>{{15, 15}, {15, 170}, {15, 325}, {15, 480}}));
  EXPECT_EQ(g.Reserve.Count, 8);
  EXPECT_EQ(g.Reserve.Origin, TPoint(117, 15));  // cells at columns 2..9
}

TEST(CatalogueRows, FreecellSizesFollowTheirRule) {
  for (auto [columns, cells] : FreecellSizes()) {
    TGameRules g = Applied(TGameRef::FreecellNxM(columns, cells));
    SCOPED_TRACE(g.GameName);
    EXPECT_EQ(g.GameName, "Freecell " + std::to_string(columns) + "x" + std::to_string(cells));
    int sum = 0;
    for (int n : g.Tableau.CardsPerPile) sum += n;
    EXPECT_EQ(sum, 53);
    EXPECT_EQ(g.TableauPlaces.back(), TPoint(15 + 9 * 102, 170));
    const int originColumn = cells <= 5 ? 5 - cells : cells == 6 ? -1 : cells == 7 ? 2 : 1;
    EXPECT_EQ(g.Reserve.Origin, TPoint(15 + originColumn * 102, 15));
    if (cells <= 6) {
      EXPECT_EQ(g.FoundationPlaces, Row(15, 15 + 6 * 102, 102, 4));
      // the last cell ends where the foundations begin
      if (cells > 0) {
        EXPECT_EQ(g.Reserve.Origin.X + cells * 102, 15 + 5 * 102);
      }
    } else {
      EXPECT_EQ(g.FoundationPlaces.front(), TPoint(15, 15));
      EXPECT_EQ(g.Reserve.Origin.X + cells * 102, 15 + 9 * 102);
    }
  }
}

// Ties of the rounded places at layouts other than the default.
TEST(CatalogueRows, ClockPlacesRoundTiesToEvenAtAnyRowStep) {
  auto face = [](int rowStep) {
    TLayoutVars v;
    v.RowStep = rowStep;
    return Applied(Game("The Clock"), v).FoundationPlaces;
  };
  std::vector<TPoint> f = face(170);  // 0.15 x 170 = 25.5, 3.35 x 170 = 569.5
  EXPECT_EQ(f[0].Y, 15 + 26);
  EXPECT_EQ(f[10].Y, 15 + 26);
  EXPECT_EQ(f[4].Y, 15 + 570);
  EXPECT_EQ(f[6].Y, 15 + 570);
  f = face(150);  // 22.5 and 502.5
  EXPECT_EQ(f[0].Y, 15 + 22);
  EXPECT_EQ(f[4].Y, 15 + 502);
  f = face(165);  // 0.9 x 165 = 148.5
  EXPECT_EQ(f[1].Y, 15 + 148);
  EXPECT_EQ(f[9].Y, 15 + 148);
  f = face(157);  // 3.5 x 157 = 549.5
  EXPECT_EQ(f[5].Y, 15 + 550);
  f = face(158);  // 1.75 x 158 = 276.5
  EXPECT_EQ(f[2].Y, 15 + 276);
  EXPECT_EQ(f[12].Y, 15 + 276);
}

TEST(CatalogueRows, OtherScaledPlacesAtTies) {
  TLayoutVars v;
  v.ColumnStep = 105;  // 0.9 x 105 = 94.5 -> 94
  EXPECT_EQ(Applied(Game("Concentration"), v).TableauPlaces[12], TPoint(5 + 12 * 94, 15));
  v.ColumnStep = 115;  // 103.5 -> 104
  EXPECT_EQ(Applied(Game("Concentration"), v).TableauPlaces[12], TPoint(5 + 12 * 104, 15));

  v = TLayoutVars();
  v.ColumnStep = 101;  // 2.5 x 101 = 252.5 -> 252
  TGameRules osmosis = Applied(Game("Osmosis"), v);
  EXPECT_EQ(osmosis.Stock.Point, TPoint(15 + 252, 15 + 155));
  EXPECT_EQ(osmosis.Stock.WastePoint, TPoint(15 + 252, 15 + 310));
  EXPECT_EQ(Applied(Game("Blitzkreig"), v).Reserve.Origin, TPoint(15 + 252, 15 + 310));
  v.ColumnStep = 103;  // 257.5 -> 258
  EXPECT_EQ(Applied(Game("Osmosis"), v).Stock.Point.X, 15 + 258);

  v = TLayoutVars();
  v.RowStep = 157;  // Trunc(1.5 x 157) = Trunc(235.5) = 235
  TGameRules hole = Applied(Game("Black Hole"), v);
  EXPECT_EQ(hole.FoundationPlaces[0], TPoint(15 + 408 + 20, 15 + 235));
  EXPECT_EQ(hole.Stock.Point, hole.FoundationPlaces[0]);
  v.RowStep = 154;  // 1.25 x 154 = 192.5 -> 192; 2.5 x 154 = 385
  TGameRules one = Applied(Game("One Foundation"), v);
  EXPECT_EQ(one.TableauPlaces[0], TPoint(117, 15 + 192));
  EXPECT_EQ(one.FoundationPlaces[0], TPoint(15 + 408, 15 + 385));
  v.RowStep = 158;  // 197.5 -> 198
  EXPECT_EQ(Applied(Game("One Foundation"), v).TableauPlaces[0].Y, 15 + 198);
}

TEST(CatalogueRows, QuotientPlacesTruncate) {
  TLayoutVars v;
  v.ColumnStep = 101;
  v.RowStep = 155;
  // Egyptian Pyramid: the apex half a column left of column 5; row k shifted k half-columns.
  TGameRules pyramid = Applied(Game("Egyptian Pyramid"), v);
  EXPECT_EQ(pyramid.TableauPlaces[0], TPoint(15 + 505 - 50, 0));
  EXPECT_EQ(pyramid.TableauPlaces[1], TPoint(15 - 100 + 505, 15 + 155 - 30));
  EXPECT_EQ(pyramid.TableauPlaces[14], TPoint(15 - 250 + 909, 15 + 620 - 75));
  EXPECT_EQ(pyramid.FoundationPlaces[0], TPoint(15 + 303, 15 + 77));
  // Break 147: (2*RowStep) div 2 and (3*RowStep) div 2 are taken whole.
  TGameRules brk = Applied(Game("Break 147"), v);
  EXPECT_EQ(brk.TableauPlaces[2], TPoint(15 + 505, 15 - 77 - 40 + 310));
  EXPECT_EQ(brk.TableauPlaces[4], TPoint(15 + 606, 15 - 155 - 40 + 310));
  EXPECT_EQ(brk.TableauPlaces[7], TPoint(15 + 707, 15 - 232 - 40 + 310));
  // Daybreak in Hell: 2*(RowStep div 2) is 154, not 155.
  TGameRules day = Applied(Game("Daybreak in Hell"), v);
  EXPECT_EQ(day.TableauPlaces[1], TPoint(15 + 202 + 50, 15 + 154));
  EXPECT_EQ(day.TableauPlaces[2], TPoint(15 + 303 + 50, 15 + 77 + 38));
}

}  // namespace
