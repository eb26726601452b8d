#include "patience/engine/Layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/core/Numeric.h"

namespace {

// k x factor, truncated. The factor is a float; int x float is exact in a double, so this is the
// product the layout always had.
int Scaled(int k, float factor) {
  return Trunc(double(k) * double(factor));
}

// A factor as the trace writes it: the shortest text of up to 15 significant digits ("1", "1.5",
// "0.800000011920929" for the single 0.8).
std::string FloatText(float f) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", double(f));
  return buf;
}

}  // namespace

void TLayout::SetConstantVariables(float widthFactor, float heightFactor) {
  if (OnTrace) OnTrace("SetConstantVariables - " + FloatText(widthFactor) + " " + FloatText(heightFactor));
  const float w = widthFactor, h = heightFactor;
  ColumnStep = Scaled(102, w);
  RowStep = Scaled(155, h);
  LeftMargin = Scaled(15, w);
  TopMargin = Scaled(15, h);
  ReserveX = Scaled(15, w);
  SecondRowY = Scaled(170, h);
  WasteX = Scaled(117, w);
  WasteY = Scaled(15, h);
  AltWasteX = Scaled(15, w);
  AltWasteY = Scaled(170, h);
  FanOffset = Scaled(20, h);
  FanReduction = Scaled(4, h);
  SideFanOffset = 12;
  BaseCardWidth = 71;
  BaseCardHeight = 96;
}

void TLayout::ModifyConstantVariables(float widthStretch, float heightStretch) {
  if (OnTrace)
    OnTrace("ModifyConstantVariables - " + FloatText(widthStretch) + " " + FloatText(heightStretch));
  ColumnStep = Scaled(ColumnStep, widthStretch);
  RowStep = Scaled(RowStep, heightStretch);
  ReserveX = Scaled(ReserveX, widthStretch);
  SecondRowY = Scaled(SecondRowY, heightStretch);
}

void TLayout::StoreConstantVariables() {
  if (OnTrace) OnTrace("StoreConstantVariables");
  SavedLayout = {ColumnStep, RowStep, ReserveX, SecondRowY, SideFanOffset};
}

void TLayout::ShiftOrigin(int dx, int dy) {
  LeftMargin += dx;
  ReserveX += dx;
  WasteX += dx;
  AltWasteX += dx;
  TopMargin += dy;
  SecondRowY += dy;
  WasteY += dy;
  AltWasteY += dy;
}

int TableauFanOf(const TGameRules& rules, const TLayout& layout) {
  int fan = layout.FanOffset;
  if (rules.DealMode & dmCompactFan) fan -= layout.FanReduction;
  if (rules.Tableau.Rules.Has(FanUpward)) fan = -fan;
  return fan;
}

TPoint StockPlace(const TGameRules& rules, const TLayout& layout) {
  const TPileRules& s = rules.Stock.Rules;
  if (!s.Has(AlternateStockPlace)) return TPoint(layout.LeftMargin, layout.TopMargin);
  if (s.Has(StockBelowTableau))
    return TPoint(2 * layout.ColumnStep + layout.LeftMargin, 4 * layout.RowStep + layout.TopMargin);
  if (s.Has(StockAtPoint)) return rules.Stock.Point;
  return TPoint(2 * layout.ColumnStep + layout.LeftMargin, layout.TopMargin - 7);
}

TPoint WastePlace(const TGameRules& rules, const TLayout& layout) {
  const TPileRules& s = rules.Stock.Rules;
  if (!s.Has(AlternateWastePlace)) return TPoint(layout.WasteX, layout.WasteY);
  if (s.Has(StockAtPoint)) return rules.Stock.WastePoint;
  return TPoint(layout.AltWasteX, layout.AltWasteY);
}

TPoint CellPlace(const TGameRules& rules, const TLayout& layout, int k) {
  const TReserve& r = rules.Reserve;
  if (r.CellsVertical) return TPoint(r.Origin.X, (k - 1) * layout.RowStep + r.Origin.Y);
  return TPoint(k * layout.ColumnStep + r.Origin.X, r.Origin.Y);
}

TPoint ReserveSlotPlace(const TGameRules& rules, const TLayout& layout, int tableauFan, int i) {
  const TReserve& r = rules.Reserve;
  if (r.FreeCells) return CellPlace(rules, layout, i + 1);
  const int x0 = r.Origin.X != 0 ? r.Origin.X : layout.ReserveX;
  if (r.Origin.Y == -1) return TPoint(x0 + i * layout.FanOffset, layout.TopMargin);
  if (r.Origin.Y < -1) return TPoint(x0 + i * layout.FanOffset, 4 * (layout.RowStep - 15) + layout.TopMargin);
  if (r.VerticalFan) return TPoint(x0, layout.SecondRowY + i * tableauFan);
  return TPoint(x0, layout.SecondRowY);
}

TPoint MaxInLayout(const TGameRules& rules, const TLayout& layout) {
  TPoint p;
  auto raise = [&](TPoint q) {
    p.X = std::max(p.X, q.X);
    p.Y = std::max(p.Y, q.Y);
  };
  auto raiseCards = [&](const TCardList& cards) {
    for (const TCard* c : cards)
      if (c) raise(TPoint(c->X, c->Y));
  };
  if (rules.Reserve.FreeCells) raise(CellPlace(rules, layout, rules.Reserve.Count));
  raiseCards(rules.ReserveCards);
  if (rules.Tableau.Count >= 1 && rules.Tableau.Count <= 20)
    for (int i = 0; i < rules.Tableau.Count && i < int(rules.TableauPlaces.size()); ++i)
      raise(rules.TableauPlaces[size_t(i)]);
  for (const TCardList& pile : rules.TableauPiles) raiseCards(pile);
  for (int i = 0; i < rules.Foundations.Count && i < int(rules.FoundationPlaces.size()); ++i)
    raise(rules.FoundationPlaces[size_t(i)]);
  for (const TCardList& pile : rules.ExceptPileCards) raiseCards(pile);
  return p;
}

int StockPileEdge(const TGameRules& rules, int every) {
  if (every <= 0) return 0;
  const int cards = rules.Stock.Decks == 2 ? 104 : 52;
  return (cards - 1) / every;
}

TPoint PlacesOverhang(const TGameRules& rules, const TLayout& layout, int stockEdge) {
  int left = 0, top = 0;
  auto reach = [&](TPoint p) {
    left = std::min(left, p.X);
    top = std::min(top, p.Y);
  };
  for (int i = 0; i < rules.Tableau.Count && i < int(rules.TableauPlaces.size()); ++i)
    reach(rules.TableauPlaces[size_t(i)]);
  for (int i = 0; i < rules.Foundations.Count && i < int(rules.FoundationPlaces.size()); ++i)
    reach(rules.FoundationPlaces[size_t(i)]);
  const TReserve& r = rules.Reserve;
  if (r.FreeCells) {
    for (int k = 1; k <= r.Count; ++k) reach(CellPlace(rules, layout, k));
  } else if (r.Count > 0) {
    reach(ReserveSlotPlace(rules, layout, TableauFanOf(rules, layout), 0));
  }
  if (rules.ExceptPiles.ByPositionTable)
    for (TPoint p : rules.ExceptPiles.Positions) reach(p);
  if (rules.Stock.DealCount >= 1) reach(WastePlace(rules, layout));
  const TPoint stock = StockPlace(rules, layout);
  reach(TPoint(stock.X - stockEdge, stock.Y - stockEdge));
  return TPoint(-left, -top);
}

TPoint UsableArea(const TGameRules& rules, int tableWidth, int tableHeight, int cardWidth, int cardHeight) {
  const TPileRules& t = rules.Tableau.Rules;
  const int usableWidth =
      (t.Has(FanSideways) && !t.Has(NoDropTarget)) ? tableWidth - 5 * cardWidth : tableWidth - 2 * cardWidth;
  return TPoint(usableWidth, tableHeight - 50 - 2 * cardHeight);
}

TStretch StretchToTable(const TGameRules& rules, TPoint maxInLayout, int tableWidth, int tableHeight,
                        int cardWidth, int cardHeight) {
  TStretch s;
  const TPileRules& t = rules.Tableau.Rules;
  const TPoint usable = UsableArea(rules, tableWidth, tableHeight, cardWidth, cardHeight);
  // A layout that measures nothing (no places at all) has nothing to stretch.
  if (maxInLayout.X > 0 && usable.X > maxInLayout.X) {
    s.Width = float(double(usable.X) / double(maxInLayout.X));
    s.StretchesWidth = true;
  }
  const bool vertical = t.Empty() || t.Has(Squared) || t.Has(FanUpward) || t.Has(FanSideways) ||
                        t.Has(PairGame) || t.Has(StretchVertically) || !t.Has(Fanned);
  if (vertical && maxInLayout.Y > 0 && usable.Y > maxInLayout.Y) {
    s.Height = float(double(usable.Y) / double(maxInLayout.Y));
    s.StretchesHeight = true;
  }
  return s;
}

float TakeBackStretch(float factor, int from, int reached, int usable) {
  if (reached <= from || usable <= from) return 1.0f;
  const double taken = 1.0 + (double(factor) - 1.0) * double(usable - from) / double(reached - from);
  return std::max(1.0f, std::min(float(taken), std::nextafter(factor, 1.0f)));
}

int StepThatFits(int inForce, int fallback, const std::function<bool(int)>& fits) {
  // Normal and the steps below it, largest first.
  int chosen = inForce;
  for (int step : {1, -1, -2}) {
    if (step > fallback || step >= inForce) continue;
    chosen = step;
    if (fits(step)) break;
  }
  return chosen;
}
