#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "patience/catalogue/CatalogueDsl.h"
#include "patience/catalogue/PlaceExpr.h"

namespace {

using namespace catalogue_dsl;

TLayoutVars WithSteps(int columnStep, int rowStep) {
  TLayoutVars v;
  v.ColumnStep = columnStep;
  v.RowStep = rowStep;
  return v;
}

TEST(PlaceExprTest, RoundHalfEvenOnExactQuotients) {
  EXPECT_EQ(RoundHalfEven(5, 2), 2);
  EXPECT_EQ(RoundHalfEven(7, 2), 4);
  EXPECT_EQ(RoundHalfEven(-5, 2), -2);
  EXPECT_EQ(RoundHalfEven(-7, 2), -4);
  EXPECT_EQ(RoundHalfEven(1, 3), 0);
  EXPECT_EQ(RoundHalfEven(2, 3), 1);
  EXPECT_EQ(RoundHalfEven(-2, 3), -1);
  EXPECT_EQ(RoundHalfEven(6, 3), 2);
}

TEST(PlaceExprTest, DecimalConstantsAreExactRatios) {
  constexpr TRatio k = 3.35_k;
  EXPECT_EQ(k.Num, 335);
  EXPECT_EQ(k.Den, 100);
  EXPECT_EQ((0.15_k).Num, 15);
  EXPECT_EQ((0.15_k).Den, 100);
  EXPECT_EQ((7_k).Num, 7);
  EXPECT_EQ((7_k).Den, 1);
}

// The product is rounded as an exact rational; a double product of the inexact constant would
// land on either side of the half.
TEST(PlaceExprTest, RoundedProductsTieToEven) {
  const TExpr half = Rounded(3.5_k * RS);
  EXPECT_EQ(half.Eval(WithSteps(102, 155)), 542);  // 542.5: the Clock's six o'clock
  EXPECT_NE(std::lround(3.5 * 155), 542);          // rounding half away would give 543
  EXPECT_EQ(half.Eval(WithSteps(102, 157)), 550);  // 549.5 up to the even neighbour

  const TExpr top = Rounded(0.15_k * RS);        // ties when RowStep is 10 mod 20
  EXPECT_EQ(top.Eval(WithSteps(102, 170)), 26);  // 25.5
  EXPECT_EQ(top.Eval(WithSteps(102, 150)), 22);  // 22.5
  EXPECT_EQ(top.Eval(WithSteps(102, 155)), 23);  // 23.25

  const TExpr low = Rounded(3.35_k * RS);
  EXPECT_EQ(low.Eval(WithSteps(102, 170)), 570);  // 569.5
  EXPECT_EQ(low.Eval(WithSteps(102, 150)), 502);  // 502.5
  EXPECT_EQ(low.Eval(WithSteps(102, 130)), 436);  // 435.5

  const TExpr nine = Rounded(0.9_k * CS);        // ties when the variable is 5 mod 10
  EXPECT_EQ(nine.Eval(WithSteps(155, 0)), 140);  // 139.5
  EXPECT_EQ(nine.Eval(WithSteps(165, 0)), 148);  // 148.5
  EXPECT_EQ(nine.Eval(WithSteps(105, 0)), 94);   // 94.5
  EXPECT_EQ(nine.Eval(WithSteps(102, 0)), 92);   // 91.8
}

TEST(PlaceExprTest, TruncatedAndDivCutTowardZero) {
  EXPECT_EQ(Truncated(1.5_k * RS).Eval(WithSteps(102, 155)), 232);  // 232.5
  EXPECT_EQ(Truncated(1.5_k * RS).Eval(WithSteps(102, 157)), 235);  // 235.5
  EXPECT_EQ(Div(CS, 2).Eval(WithSteps(101, 0)), 50);
  EXPECT_EQ(Div(3 * RS, 2).Eval(WithSteps(0, 155)), 232);
  // The quotient is taken first, then multiplied: 2*(155 div 2) is 154, not 155.
  EXPECT_EQ((2 * Div(RS, 2)).Eval(WithSteps(0, 155)), 154);
  EXPECT_EQ((-Div(CS, 2)).Eval(WithSteps(101, 0)), -50);
}

TEST(PlaceExprTest, SumsAndLoopVariables) {
  TLayoutVars v;  // 15, 15, 170, 102, 155
  EXPECT_EQ((LM + 5 * CS - Div(CS, 2)).Eval(v), 15 + 510 - 51);
  EXPECT_EQ((TM + r * (2 * RS + 40)).Eval(v, 0, 1), 15 + 350);
  EXPECT_EQ((TM + 3 * RS + r * (-RS)).Eval(v, 0, 2), 15 + 465 - 310);
  EXPECT_EQ((5 + c * Rounded(0.9_k * CS)).Eval(v, 12, 0), 5 + 12 * 92);
  EXPECT_EQ(TExpr(0).Size(), 0);
  EXPECT_EQ((LM - LM).Eval(v), 0);
}

TEST(PlaceExprTest, RunsListRowsOuterColumnsInner) {
  TLayoutVars v;
  std::vector<TPoint> pts = EvalPlaces({Grid(LM + c * CS, TM + r * RS, 1, 2, 4, 5)}, v);
  ASSERT_EQ(pts.size(), 4u);
  EXPECT_EQ(pts[0], TPoint(15 + 408, 15 + 155));
  EXPECT_EQ(pts[1], TPoint(15 + 510, 15 + 155));
  EXPECT_EQ(pts[2], TPoint(15 + 408, 15 + 310));
  EXPECT_EQ(pts[3], TPoint(15 + 510, 15 + 310));

  pts = EvalPlaces({At(LM, TM), ForC(LM + c * CS, SRY, 2, 4), ForR(LM, TM + r * RS, 1, 2)}, v);
  std::vector<TPoint> want = {{15, 15}, {219, 170}, {321, 170}, {423, 170}, {15, 170}, {15, 325}};
  EXPECT_EQ(pts, want);
  EXPECT_EQ(PlaceCount({At(LM, TM), ForC(LM + c * CS, SRY, 2, 4), Grid(c * CS, r * RS, 0, 3, 0, 12)}),
            1 + 3 + 52);
}

TEST(PlaceExprTest, SlipsInFormulasAreRefused) {
  EXPECT_THROW(Div(CS + RS, 2), std::logic_error);  // quotient of a sum
  EXPECT_THROW(Div(c * CS, 2), std::logic_error);   // quotient of a run
  EXPECT_THROW(Div(CS, 0), std::logic_error);
  EXPECT_THROW(Rounded(0.9_k * (CS + 5)), std::logic_error);
  EXPECT_THROW(c * (r * CS), std::logic_error);                            // loop variable applied twice
  EXPECT_THROW(PlaceRun(LM + r * CS, SRY, 0, 3, 0, 0), std::logic_error);  // row variable in a column run
  EXPECT_THROW(PlaceRun(LM, SRY, 0, 3, 0, 0), std::logic_error);           // a run that does not move
  EXPECT_THROW(PlaceRun(LM + c * CS, TM + r * RS, 0, 0, 0, 3), std::logic_error);
  EXPECT_THROW(PointAt(LM + c * CS, TM), std::logic_error);
  EXPECT_THROW(PlaceRun(LM + c * CS, TM, 0, 3, 0, 1), std::logic_error);   // rows that do not move
  EXPECT_THROW(PlaceRun(LM + c * CS, SRY, 4, 3, 0, 0), std::logic_error);  // empty run
  TExpr many = LM;
  for (int i = 1; i < TExpr::kMaxTerms; ++i) many = many + CS;
  EXPECT_THROW(many + RS, std::length_error);
}

}  // namespace
