#pragma once
// Pile places as small integer formulas over the five layout variables. A game's places are
// written once as formulas and evaluated whenever the layout changes. Everything is integer
// arithmetic: a scaled variable such as 3.35 x RowStep is held as the exact ratio 67/20, so a
// product that lands exactly on a half rounds to the even neighbour every time, whatever the
// variable's value.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

// The layout variables places are computed from. The defaults are their values for a 71 x 96
// card at factor 1.0.
struct TLayoutVars {
  int LeftMargin = 15;
  int TopMargin = 15;
  int SecondRowY = 170;
  int ColumnStep = 102;
  int RowStep = 155;
  friend bool operator==(const TLayoutVars&, const TLayoutVars&) = default;
};

enum class TLayoutVar : uint8_t { One, LeftMargin, TopMargin, SecondRowY, ColumnStep, RowStep };

// How a term treats its variable V: V itself, (Num*V) div Den, or Num*V/Den rounded half to even
// or truncated toward zero.
enum class TTermOp : uint8_t { Times, Div, Round, Trunc };

// The loop variable of a run of places: a term may be multiplied by the column or row number.
enum class TLoopVar : uint8_t { None, Column, Row };

// Coef x op(Var) x (loop value, when the term has one).
struct TTerm {
  int Coef = 0;
  TLayoutVar Var = TLayoutVar::One;
  TTermOp Op = TTermOp::Times;
  int Num = 1;
  int Den = 1;
  TLoopVar Loop = TLoopVar::None;
  friend constexpr bool operator==(const TTerm&, const TTerm&) = default;
};

// Half to even on the exact quotient num/den (den > 0).
constexpr int64_t RoundHalfEven(int64_t num, int64_t den) {
  int64_t q = num / den;
  int64_t r = num % den;
  if (r < 0) {  // floor division
    q -= 1;
    r += den;
  }
  if (2 * r > den || (2 * r == den && (q & 1) != 0)) q += 1;
  return q;
}

// A sum of up to six terms; an integer converts to a constant term.
class TExpr {
 public:
  static constexpr int kMaxTerms = 6;

  constexpr TExpr() = default;
  constexpr TExpr(int constant) {  // NOLINT: integers are expressions
    if (constant != 0) Add(TTerm{.Coef = constant});
  }
  constexpr explicit TExpr(const TTerm& term) { Add(term); }

  constexpr int Size() const { return FCount; }
  constexpr const TTerm& operator[](int i) const { return FTerms[i]; }
  // Appends a term; more than kMaxTerms is a fault in the formula and throws std::length_error.
  constexpr TExpr& Add(const TTerm& term);
  // Whether any term is multiplied by the loop variable.
  constexpr bool Uses(TLoopVar loop) const {
    for (int i = 0; i < FCount; ++i)
      if (FTerms[i].Loop == loop) return true;
    return false;
  }
  // The value for the given layout and loop values.
  int Eval(const TLayoutVars& vars, int column = 0, int row = 0) const;

  friend constexpr bool operator==(const TExpr& a, const TExpr& b) {
    if (a.FCount != b.FCount) return false;
    for (int i = 0; i < a.FCount; ++i)
      if (!(a.FTerms[i] == b.FTerms[i])) return false;
    return true;
  }

 private:
  std::array<TTerm, kMaxTerms> FTerms{};
  int FCount = 0;
};

void ThrowTooManyTerms();

constexpr TExpr& TExpr::Add(const TTerm& term) {
  if (FCount == kMaxTerms) ThrowTooManyTerms();
  FTerms[FCount++] = term;
  return *this;
}

constexpr TExpr operator+(TExpr a, const TExpr& b) {
  for (int i = 0; i < b.Size(); ++i) a.Add(b[i]);
  return a;
}
constexpr TExpr operator*(int k, const TExpr& e) {
  TExpr out;
  for (int i = 0; i < e.Size(); ++i) {
    TTerm t = e[i];
    t.Coef *= k;
    out.Add(t);
  }
  return out;
}
constexpr TExpr operator-(const TExpr& e) {
  return -1 * e;
}
constexpr TExpr operator-(const TExpr& a, const TExpr& b) {
  return a + (-b);
}

// One place, for example a reserve origin or a stock point.
struct TPlacePoint {
  TExpr X;
  TExpr Y;
  TPoint Eval(const TLayoutVars& vars) const { return TPoint(X.Eval(vars), Y.Eval(vars)); }
  friend bool operator==(const TPlacePoint&, const TPlacePoint&) = default;
};

// A run of places: one place for each row R0..R1 and, inside each row, each column C0..C1, in
// that order (rows outer). The column and row numbers are the loop values of the formulas. A
// single place is a run of one.
struct TPlaceRun {
  TExpr X;
  TExpr Y;
  int C0 = 0;
  int C1 = 0;
  int R0 = 0;
  int R1 = 0;

  constexpr TPlaceRun() = default;
  constexpr TPlaceRun(const TExpr& x, const TExpr& y, int c0, int c1, int r0, int r1)
      : X(x), Y(y), C0(c0), C1(c1), R0(r0), R1(r1) {}
  constexpr TPlaceRun(const TPlacePoint& p) : X(p.X), Y(p.Y) {}  // NOLINT: a point is a run of one

  int Size() const { return (C1 - C0 + 1) * (R1 - R0 + 1); }
  void AppendTo(std::vector<TPoint>& out, const TLayoutVars& vars) const;
  friend bool operator==(const TPlaceRun&, const TPlaceRun&) = default;
};

using TPlaces = std::vector<TPlaceRun>;

// Number of places the runs give.
int PlaceCount(const TPlaces& places);
// The places of the runs, in order.
std::vector<TPoint> EvalPlaces(const TPlaces& places, const TLayoutVars& vars);
