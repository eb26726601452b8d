#include "patience/catalogue/PlaceExpr.h"

#include <stdexcept>

void ThrowTooManyTerms() {
  throw std::length_error("place formula has too many terms");
}

namespace {

int64_t VarValue(TLayoutVar var, const TLayoutVars& v) {
  switch (var) {
    case TLayoutVar::One:
      return 1;
    case TLayoutVar::LeftMargin:
      return v.LeftMargin;
    case TLayoutVar::TopMargin:
      return v.TopMargin;
    case TLayoutVar::SecondRowY:
      return v.SecondRowY;
    case TLayoutVar::ColumnStep:
      return v.ColumnStep;
    case TLayoutVar::RowStep:
      return v.RowStep;
  }
  return 0;
}

int64_t TermValue(const TTerm& t, const TLayoutVars& vars, int column, int row) {
  const int64_t v = VarValue(t.Var, vars);
  int64_t g = 0;
  switch (t.Op) {
    case TTermOp::Times:
      g = v;
      break;
    case TTermOp::Div:    // integer quotient, truncating toward zero
    case TTermOp::Trunc:  // the exact product truncated toward zero: the same integer
      g = (int64_t(t.Num) * v) / t.Den;
      break;
    case TTermOp::Round:
      g = RoundHalfEven(int64_t(t.Num) * v, t.Den);
      break;
  }
  int64_t loop = 1;
  if (t.Loop == TLoopVar::Column) loop = column;
  if (t.Loop == TLoopVar::Row) loop = row;
  return int64_t(t.Coef) * g * loop;
}

}  // namespace

int TExpr::Eval(const TLayoutVars& vars, int column, int row) const {
  int64_t sum = 0;
  for (int i = 0; i < FCount; ++i) sum += TermValue(FTerms[i], vars, column, row);
  return int(sum);
}

void TPlaceRun::AppendTo(std::vector<TPoint>& out, const TLayoutVars& vars) const {
  for (int r = R0; r <= R1; ++r)
    for (int c = C0; c <= C1; ++c) out.emplace_back(X.Eval(vars, c, r), Y.Eval(vars, c, r));
}

int PlaceCount(const TPlaces& places) {
  int n = 0;
  for (const auto& run : places) n += run.Size();
  return n;
}

std::vector<TPoint> EvalPlaces(const TPlaces& places, const TLayoutVars& vars) {
  std::vector<TPoint> out;
  out.reserve(size_t(PlaceCount(places)));
  for (const auto& run : places) run.AppendTo(out, vars);
  return out;
}
