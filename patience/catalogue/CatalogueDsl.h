#pragma once
// A small notation for writing pile places the way the game rows read:
//   ForC(LM + c*CS, SRY, 2, 5)            one place per column c = 2..5
//   ForR(LM, TM + r*(RS + 20), 0, 3)      one place per row r = 0..3
//   Grid(LM + c*CS, TM + r*RS, 1, 2, 4, 5) rows r = 1..2, inside each columns c = 4..5
//   At(LM + 5*CS - Div(CS, 2), TM - 15)   one place; Div is the integer quotient
//   Rounded(3.35_k * RS)                  3.35 x RowStep, exact, rounded half to even
// Misuse (a quotient of a sum, a loop variable applied twice, a run that does not move with its
// range) does not compile in these forms; PointAt and PlaceRun, their run-time twins, throw
// std::logic_error instead.

#include <cstdint>
#include <stdexcept>

#include "patience/catalogue/PlaceExpr.h"

namespace catalogue_dsl {

inline constexpr TExpr LM{TTerm{.Coef = 1, .Var = TLayoutVar::LeftMargin}};
inline constexpr TExpr TM{TTerm{.Coef = 1, .Var = TLayoutVar::TopMargin}};
inline constexpr TExpr SRY{TTerm{.Coef = 1, .Var = TLayoutVar::SecondRowY}};
inline constexpr TExpr CS{TTerm{.Coef = 1, .Var = TLayoutVar::ColumnStep}};
inline constexpr TExpr RS{TTerm{.Coef = 1, .Var = TLayoutVar::RowStep}};

struct TLoop {
  TLoopVar Var;
};
inline constexpr TLoop c{TLoopVar::Column};
inline constexpr TLoop r{TLoopVar::Row};

constexpr TExpr operator*(TLoop loop, const TExpr& e) {
  TExpr out;
  for (int i = 0; i < e.Size(); ++i) {
    TTerm t = e[i];
    if (t.Loop != TLoopVar::None) throw std::logic_error("loop variable applied twice");
    t.Loop = loop.Var;
    out.Add(t);
  }
  return out;
}
constexpr TExpr operator*(TLoop loop, int k) {
  return loop * TExpr(k);
}

// An exact decimal constant: 3.35_k is 335/100.
struct TRatio {
  int Num;
  int Den;
};
constexpr TRatio operator""_k(const char* text) {
  TRatio k{0, 1};
  bool fraction = false;
  for (const char* p = text; *p; ++p) {
    if (*p == '.') {
      if (fraction) throw std::logic_error("bad decimal constant");
      fraction = true;
    } else if (*p >= '0' && *p <= '9') {
      k.Num = k.Num * 10 + (*p - '0');
      if (fraction) k.Den *= 10;
    } else {
      throw std::logic_error("bad decimal constant");
    }
  }
  return k;
}

// The single term n x V of an expression such as CS or 2*RS.
constexpr TTerm PlainVariable(const TExpr& e) {
  if (e.Size() != 1 || e[0].Op != TTermOp::Times || e[0].Loop != TLoopVar::None ||
      e[0].Var == TLayoutVar::One)
    throw std::logic_error("expected a multiple of one layout variable");
  return e[0];
}

struct TScaled {
  TLayoutVar Var;
  int Num;
  int Den;
};
constexpr TScaled operator*(TRatio k, const TExpr& v) {
  TTerm t = PlainVariable(v);
  return TScaled{t.Var, k.Num * t.Coef, k.Den};
}

constexpr TExpr Rounded(TScaled s) {
  return TExpr(TTerm{.Coef = 1, .Var = s.Var, .Op = TTermOp::Round, .Num = s.Num, .Den = s.Den});
}
constexpr TExpr Truncated(TScaled s) {
  return TExpr(TTerm{.Coef = 1, .Var = s.Var, .Op = TTermOp::Trunc, .Num = s.Num, .Den = s.Den});
}
// (n*V) div d.
constexpr TExpr Div(const TExpr& e, int d) {
  if (d <= 0) throw std::logic_error("divisor must be positive");
  TTerm t = PlainVariable(e);
  return TExpr(TTerm{.Coef = 1, .Var = t.Var, .Op = TTermOp::Div, .Num = t.Coef, .Den = d});
}

constexpr TPlacePoint PointAt(const TExpr& x, const TExpr& y) {
  if (x.Uses(TLoopVar::Column) || x.Uses(TLoopVar::Row) || y.Uses(TLoopVar::Column) || y.Uses(TLoopVar::Row))
    throw std::logic_error("a single place has no loop variable");
  return TPlacePoint{x, y};
}
// A run must move with each loop variable that has more than one value, and a loop variable
// without a range of its own (always 0) is a slip in the formula.
constexpr TPlaceRun PlaceRun(const TExpr& x, const TExpr& y, int c0, int c1, int r0, int r1) {
  auto uses = [&](TLoopVar v) { return x.Uses(v) || y.Uses(v); };
  if (c1 < c0 || r1 < r0) throw std::logic_error("empty run");
  if (c1 > c0 && !uses(TLoopVar::Column)) throw std::logic_error("column run without column variable");
  if (r1 > r0 && !uses(TLoopVar::Row)) throw std::logic_error("row run without row variable");
  if (c0 == 0 && c1 == 0 && uses(TLoopVar::Column)) throw std::logic_error("column variable without range");
  if (r0 == 0 && r1 == 0 && uses(TLoopVar::Row)) throw std::logic_error("row variable without range");
  return TPlaceRun(x, y, c0, c1, r0, r1);
}

// The forms the rows use are evaluated while compiling: a slip in a row does not compile, and
// the rows hold finished constants.
consteval TPlacePoint At(const TExpr& x, const TExpr& y) {
  return PointAt(x, y);
}
consteval TPlaceRun ForC(const TExpr& x, const TExpr& y, int c0, int c1) {
  return PlaceRun(x, y, c0, c1, 0, 0);
}
consteval TPlaceRun ForR(const TExpr& x, const TExpr& y, int r0, int r1) {
  return PlaceRun(x, y, 0, 0, r0, r1);
}
consteval TPlaceRun Grid(const TExpr& x, const TExpr& y, int r0, int r1, int c0, int c1) {
  return PlaceRun(x, y, c0, c1, r0, r1);
}

}  // namespace catalogue_dsl
