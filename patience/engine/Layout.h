#pragma once
// Layout geometry: the variables every position on the game table is computed from, and the
// places that follow from them and from the rules record (stock, waste, free cells, reserve
// cards, the fan step). Most games lay their piles on one grid: columns at LeftMargin + k x
// ColumnStep, the first row at TopMargin, the tableau at SecondRowY.
//
// The Compact layout keeps the variables at factor 1.0 whatever the card size; the Extended
// layout takes the card's factors and then stretches ColumnStep, RowStep, ReserveX and SecondRowY
// to fill the table. Margins, waste places and fan offsets are never stretched.

#include <functional>
#include <string>

#include "patience/engine/Rules.h"
#include "platform/core/Types.h"

// The card size step the Extended layout takes when the game does not fit the table at the step
// in force: the Compact layout's fallback (Normal; 60 % for sets drawn at 60 % only) when the game
// fits there, else the largest smaller step at which it fits, else the smallest (60 %). fits(step)
// tells whether the game fits the table at that step; it is asked largest step first, and the
// step in force is returned when nothing is smaller.
int StepThatFits(int inForce, int fallback, const std::function<bool(int)>& fits);

struct TLayout {
  float WidthFactor = 1.0f;   // card width / BaseCardWidth
  float HeightFactor = 1.0f;  // card height / BaseCardHeight
  int ColumnStep = 102;
  int RowStep = 155;
  int LeftMargin = 15;
  int TopMargin = 15;
  int ReserveX = 15;
  int SecondRowY = 170;
  int WasteX = 117;
  int WasteY = 15;
  int AltWasteX = 15;
  int AltWasteY = 170;
  int FanOffset = 20;
  int FanReduction = 4;
  int SideFanOffset = 12;
  int BaseCardWidth = 71;
  int BaseCardHeight = 96;

  // The five stretched variables as last stored (kept for the trace; nothing reads them back).
  struct TSaved {
    int ColumnStep = 0, RowStep = 0, ReserveX = 0, SecondRowY = 0, SideFanOffset = 0;
  } SavedLayout;

  // Every variable from the two factors (width first), each product truncated toward zero.
  void SetConstantVariables(float widthFactor, float heightFactor);
  // ColumnStep and ReserveX times the first, RowStep and SecondRowY times the second, truncated.
  void ModifyConstantVariables(float widthStretch, float heightStretch);
  void StoreConstantVariables();
  // The whole layout moved right by dx and down by dy: every place anchor (the margins, the
  // reserve X, the second row and the waste places) moves, the steps stay.
  void ShiftOrigin(int dx, int dy);

  // Where the three calls above write their trace lines; the engine routes them to its host.
  std::function<void(const std::string&)> OnTrace;

  friend bool operator==(const TLayout& a, const TLayout& b) {
    return a.ColumnStep == b.ColumnStep && a.RowStep == b.RowStep && a.LeftMargin == b.LeftMargin &&
           a.TopMargin == b.TopMargin && a.ReserveX == b.ReserveX && a.SecondRowY == b.SecondRowY &&
           a.WasteX == b.WasteX && a.WasteY == b.WasteY && a.AltWasteX == b.AltWasteX &&
           a.AltWasteY == b.AltWasteY && a.FanOffset == b.FanOffset && a.FanReduction == b.FanReduction &&
           a.SideFanOffset == b.SideFanOffset;
  }
};

// The fan step of the game: FanOffset, less FanReduction under the compact fan, negated for
// piles that grow upward.
int TableauFanOf(const TGameRules& rules, const TLayout& layout);

// A quarter of a fan step, toward zero (5 for 20, 4 for 16, -5 for -20, 3 for a sideways 12).
constexpr int QuarterStep(int step) {
  return step / 4;
}

// Where the stock lies, by the stock rules.
TPoint StockPlace(const TGameRules& rules, const TLayout& layout);
// Where the waste lies, by the stock rules.
TPoint WastePlace(const TGameRules& rules, const TLayout& layout);

// Free cell k (1..Count): a row starting one column step right of the origin, or a column
// starting at the origin. The deal, the markers, the drop points and the layout all use this one
// place, so a cell's card always lies on its marker.
TPoint CellPlace(const TGameRules& rules, const TLayout& layout, int k);

// Reserve slot i (from 0) of a reserve that is not free cells, in the first case that applies:
// a row at the top margin (Origin.Y -1), a row lower down (Origin.Y < -1), a downward fan, or a
// squared pile. Free cells lie at CellPlace(i + 1).
TPoint ReserveSlotPlace(const TGameRules& rules, const TLayout& layout, int tableauFan, int i);

// Largest X and largest Y of the game's places and cards (top-left corners); the stock and the
// waste do not count.
TPoint MaxInLayout(const TGameRules& rules, const TLayout& layout);

// How far the stock pile's stepped edge reaches up and to the left of the stock place while it
// holds the whole pack: the pile steps one pixel every `every` cards (none for every <= 0).
int StockPileEdge(const TGameRules& rules, int every);

// How far the game's places reach left of (X) and above (Y) the table, 0 where they do not: the
// places of the piles, the cells, the reserve, the except piles, the waste and the stock pile
// with its edge. Places written with fixed offsets ("TM - 15") and the stock's edge, which do not
// shrink with the card, reach out at small card sizes.
TPoint PlacesOverhang(const TGameRules& rules, const TLayout& layout, int stockEdge);

// The stretch of the layout to a table: factors to hand to ModifyConstantVariables, 1.0 where
// the layout already reaches the usable size (it is only ever stretched, never shrunk) or may
// not be stretched that way. maxInLayout is MaxInLayout of the game dealt at the unstretched
// places.
struct TStretch {
  float Width = 1.0f;
  float Height = 1.0f;
  bool StretchesWidth = false;
  bool StretchesHeight = false;
};
TStretch StretchToTable(const TGameRules& rules, TPoint maxInLayout, int tableWidth, int tableHeight,
                        int cardWidth, int cardHeight);
// What the stretch aims at: the largest card corner it lets the layout reach on the table (room is
// left for the cards, and for sideways fans).
TPoint UsableArea(const TGameRules& rules, int tableWidth, int tableHeight, int cardWidth, int cardHeight);
// A stretch factor taken back so that a layout that measured `from` unstretched and `reached` at
// factor comes to `usable`, assuming it grows in proportion to the factor less one: 1.0 at the
// least.
float TakeBackStretch(float factor, int from, int reached, int usable);
