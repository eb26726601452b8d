// The engine's side of the layout: the game's places computed from the layout variables, the
// markers and cards moved to them, the stretch of the Extended layout to the table, and whether
// a game dealt at the card size in force fits the table at all.

#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>

#include "patience/engine/PatienceEngine.h"
#include "platform/core/Numeric.h"

namespace {

// The hidden trial deal sees the live window's screen size (so it fans as the real deal will)
// and nothing else of it.
class TTrialHost : public TEngineHost {
 public:
  explicit TTrialHost(TEngineHost& live) : FLive(live) {}
  TPoint ScreenSize() override { return FLive.ScreenSize(); }

 private:
  TEngineHost& FLive;
};

}  // namespace

// -----------------------------------------------------------------------------------------------
// Layout

void TPatienceEngine::UpdateCardFactors() {
  Layout.WidthFactor = float(FDeck->CardWidth) / float(Layout.BaseCardWidth);
  Layout.HeightFactor = float(FDeck->CardHeight) / float(Layout.BaseCardHeight);
}

bool TPatienceEngine::ReloadGamePlaces() {
  if (!FGame) return false;
  FGame->ComputePlaces(Layout, Rules);
  // Small cards: places written with fixed offsets, or the stock's edge, would lie off the table's
  // top or left; the whole layout moves in by as much.
  const TPoint over = PlacesOverhang(Rules, Layout, StockPileEdge(Rules, StockStep()));
  if (over.X > 0 || over.Y > 0) {
    Layout.ShiftOrigin(over.X, over.Y);
    FGame->ComputePlaces(Layout, Rules);
  }
  TableauFan = TableauFanOf(Rules, Layout);
  return true;
}

int TPatienceEngine::StockStep() const {
  return FTable ? FTable->PlaceDeckOffset() : FStockStep;
}

TTableFrame TPatienceEngine::Frame() const {
  if (!FTable) return TTableFrame{0, 0, FDeck->CardWidth, FDeck->CardHeight, FStockStep};
  return TTableFrame{FTable->Width(), FTable->Height(), FDeck->CardWidth, FDeck->CardHeight,
                     FTable->PlaceDeckOffset()};
}

void TPatienceEngine::ModifyReserve() {
  const TReserve& r = Rules.Reserve;
  if (r.FreeCells && FTable)
    for (int k = 1; k <= r.Count && Rules.Tableau.Count + k <= 20; ++k) {
      TCardPlace& place =
          FDeck->PlaceByIndex(TCardTable::FirstPlaceIndex(0) + std::max(Rules.Tableau.Count, 0) + k - 1);
      const TPoint p = CellPlace(k);
      place.X = p.X;
      place.Y = p.Y;
    }
  for (size_t i = 0; i < Rules.ReserveCards.size(); ++i) {
    TCard* c = Rules.ReserveCards[i];
    if (!c) continue;
    const TPoint p = ReserveSlotPlace(Rules, Layout, TableauFan, int(i));
    c->X = p.X;
    c->Y = p.Y;
  }
}

void TPatienceEngine::ModifyTableau() {
  const TPileRules& t = Rules.Tableau.Rules;
  const int count = Rules.Tableau.Count;
  if (FTable && count >= 1 && count <= 20)
    for (int p = 1; p <= count && p <= int(Rules.TableauPlaces.size()); ++p) {
      TCardPlace& place = FDeck->PlaceByIndex(TCardTable::FirstPlaceIndex(0) + p - 1);
      place.X = Rules.TableauPlaces[size_t(p - 1)].X;
      place.Y = Rules.TableauPlaces[size_t(p - 1)].Y;
    }
  const int step = t.Has(FanSideways) ? Layout.SideFanOffset : TableauFan;
  for (size_t p = 0; p < Rules.TableauPiles.size() && p < Rules.TableauPlaces.size(); ++p) {
    const TCardList& pile = Rules.TableauPiles[p];
    const TPoint place = Rules.TableauPlaces[p];
    int offset = 0;
    for (size_t j = 0; j < pile.size(); ++j) {
      TCard* c = pile[j];
      if (!c) continue;
      if (j > 0 && !t.Has(Squared))
        offset += (t.Has(DealFaceUp) || (pile[j - 1] && pile[j - 1]->FaceUp)) ? step : QuarterStep(step);
      c->X = t.Has(FanSideways) ? place.X + offset : place.X;
      c->Y = t.Has(FanSideways) ? place.Y : place.Y + offset;
    }
  }
}

void TPatienceEngine::ModifyFoundation() {
  const int count = std::min(Rules.Foundations.Count, int(Rules.FoundationPlaces.size()));
  if (FTable)
    for (int i = 1; i <= count && i <= 13; ++i) {
      TCardPlace& place = FDeck->PlaceByIndex(TCardTable::FirstPlaceIndex(1) + i - 1);
      place.X = Rules.FoundationPlaces[size_t(i - 1)].X;
      place.Y = Rules.FoundationPlaces[size_t(i - 1)].Y;
      if (!Rules.FoundationAngles.empty() && place.Bottom) {
        place.RotatedX = place.Bottom->Width() / 2 + place.X - place.RotationOrigin.X;
        place.RotatedY = place.Bottom->Height() / 2 + place.Y - place.RotationOrigin.Y;
      }
    }
  const bool fanned = Rules.Foundations.Rules.Has(RankInPrevious);
  for (int i = 0; i < count && i < int(Rules.FoundationPiles.size()); ++i) {
    const TCardList& pile = Rules.FoundationPiles[size_t(i)];
    if (IsEmpty(pile)) continue;
    const TPoint place = Rules.FoundationPlaces[size_t(i)];
    for (size_t j = 0; j < pile.size(); ++j) {
      if (!pile[j]) continue;
      pile[j]->X = fanned ? place.X + int(j) * Layout.SideFanOffset : place.X;
      pile[j]->Y = place.Y;
    }
  }
}

void TPatienceEngine::ModifyExcept() {
  const TExceptPiles& e = Rules.ExceptPiles;
  if (!e.ByPositionTable) return;
  for (size_t k = 0; k < Rules.ExceptPileCards.size() && k < e.Positions.size(); ++k) {
    const TCardList& pile = Rules.ExceptPileCards[k];
    for (size_t j = 0; j < pile.size(); ++j) {
      if (!pile[j]) continue;
      pile[j]->X = e.Positions[k].X + (e.FanHorizontal ? int(j) * Layout.FanOffset : 0);
      pile[j]->Y = e.Positions[k].Y + (e.FanHorizontal ? 0 : int(j) * TableauFan);
    }
  }
}

void TPatienceEngine::ModifyDeck() {
  const TPoint p = StockPlace();
  if (FTable) {
    FTable->DrawDeck(p.X, p.Y, FDeck);
  } else {
    FDeck->DeckX = p.X;
    FDeck->DeckY = p.Y;
  }
}

void TPatienceEngine::ModifyWaste() {
  const TPoint p = WastePlace();
  for (TCard* c : Rules.WasteCards) {
    if (!c) continue;
    c->X = p.X;
    c->Y = p.Y;
  }
}

void TPatienceEngine::ModifyRedeal() {
  if (!FTable) return;
  const int left = Round(FDeck->CardWidth / 2.0 - 25) + FDeck->DeckX;
  const int top = Round(FDeck->CardHeight / 2.0 - 25) + FTable->Top() + FDeck->DeckY;
  FHost->PlaceRedealButton(left, top);
}

void TPatienceEngine::MoveCardsToPlaces() {
  ModifyReserve();
  ModifyTableau();
  ModifyFoundation();
  ModifyExcept();
  ModifyWaste();
}

void TPatienceEngine::ModifyAll() {
  ModifyReserve();
  ModifyTableau();
  ModifyFoundation();
  ModifyExcept();
  ModifyDeck();
  ModifyWaste();
  ModifyRedeal();
}

void TPatienceEngine::RedrawTable() {
  if (FTable) FTable->RefreshBackground();
}

namespace {

// Where a layout reaches: the game's places and cards (MaxInLayout), the stock, where the whole
// pack lies at every deal, and the waste.
struct TReach {
  TPoint Cards, Stock, Waste;
};

// One axis of the stretch taken back where the stretched layout passed its limits: the cards the
// usable area, the stock and the waste the table. Returns whether it did.
bool TakeBackAxis(float& factor, bool stretches, std::initializer_list<std::array<int, 3>> spans,
                  bool giveUp) {
  if (!stretches) return false;
  bool over = false;
  float taken = factor;
  for (const auto& [from, reached, limit] : spans) {
    if (reached <= limit) continue;
    over = true;
    taken = std::min(taken, giveUp ? 1.0f : TakeBackStretch(factor, from, reached, limit));
  }
  factor = taken;
  return over;
}

}  // namespace

// The stretch of the layout to the table, measured on this engine's cards as they lie at the
// unstretched places. Places with fixed offsets ("TM + 4*RS - 75") do not grow in proportion to
// the steps, so the stretched layout is laid out and measured again, and the stretch is taken
// back where it passed the usable area (or put the stock or the waste off the table). Layout is
// left as it was; the cards may have moved.
TStretch TPatienceEngine::FitStretch(const TTableFrame& frame) {
  const TLayout base = Layout;
  auto reach = [this] { return TReach{MaxInLayout(Rules, Layout), StockPlace(), WastePlace()}; };
  const TReach from = reach();
  const TPoint usable = UsableArea(Rules, frame.Width, frame.Height, frame.CardWidth, frame.CardHeight);
  const TPoint table(frame.Width - frame.CardWidth, frame.Height - frame.CardHeight);
  // A game without a waste has no limit there.
  const bool waste = Rules.Stock.DealCount >= 1;
  const TPoint wasteLimit =
      waste ? table : TPoint(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
  TStretch s =
      StretchToTable(Rules, from.Cards, frame.Width, frame.Height, frame.CardWidth, frame.CardHeight);
  constexpr int kRounds = 8;
  for (int round = 0; round < kRounds && (s.StretchesWidth || s.StretchesHeight); ++round) {
    TLayout stretched = base;
    stretched.OnTrace = nullptr;
    stretched.ModifyConstantVariables(s.Width, s.Height);
    Layout = stretched;
    ReloadGamePlaces();
    MoveCardsToPlaces();
    const TReach to = reach();
    // The last round gives up stretching that way.
    const bool giveUp = round == kRounds - 1;
    const bool wide = TakeBackAxis(s.Width, s.StretchesWidth,
                                   {{from.Cards.X, to.Cards.X, usable.X},
                                    {from.Stock.X, to.Stock.X, table.X},
                                    {from.Waste.X, to.Waste.X, wasteLimit.X}},
                                   giveUp);
    const bool high = TakeBackAxis(s.Height, s.StretchesHeight,
                                   {{from.Cards.Y, to.Cards.Y, usable.Y},
                                    {from.Stock.Y, to.Stock.Y, table.Y},
                                    {from.Waste.Y, to.Waste.Y, wasteLimit.Y}},
                                   giveUp);
    if (!wide && !high) break;
    s.StretchesWidth = s.Width > 1.0f;
    s.StretchesHeight = s.Height > 1.0f;
  }
  Layout = base;
  return s;
}

// Every card of the game, every place and the stock pile with its edge inside the table.
bool TPatienceEngine::InsideTable(const TTableFrame& frame) const {
  bool inside = true;
  auto check = [&](int x, int y) {
    inside = inside && x >= 0 && y >= 0 && x + frame.CardWidth <= frame.Width &&
             y + frame.CardHeight <= frame.Height;
  };
  auto checkCards = [&](const TCardList& cards) {
    for (const TCard* c : cards)
      if (c) check(c->X, c->Y);
  };
  for (int i = 0; i < Rules.Tableau.Count && i < int(Rules.TableauPlaces.size()); ++i)
    check(Rules.TableauPlaces[size_t(i)].X, Rules.TableauPlaces[size_t(i)].Y);
  for (int i = 0; i < Rules.Foundations.Count && i < int(Rules.FoundationPlaces.size()); ++i)
    check(Rules.FoundationPlaces[size_t(i)].X, Rules.FoundationPlaces[size_t(i)].Y);
  if (Rules.Reserve.FreeCells)
    for (int k = 1; k <= Rules.Reserve.Count; ++k) check(CellPlace(k).X, CellPlace(k).Y);
  for (const TCardList& pile : Rules.TableauPiles) checkCards(pile);
  for (const TCardList& pile : Rules.FoundationPiles) checkCards(pile);
  for (const TCardList& pile : Rules.ExceptPileCards) checkCards(pile);
  checkCards(Rules.ReserveCards);
  checkCards(Rules.WasteCards);
  if (Rules.Stock.DealCount >= 1) check(WastePlace().X, WastePlace().Y);
  const int edge = StockPileEdge(Rules, frame.StockStep);
  check(StockPlace().X - edge, StockPlace().Y - edge);
  check(StockPlace().X, StockPlace().Y);
  return inside;
}

TTrialResult TPatienceEngine::DealToMeasure(std::shared_ptr<const TGameSetup> game, const TLayout& base,
                                            uint32_t seed, const TTableFrame& frame) {
  TTrialResult r;
  FGame = std::move(game);
  if (!FGame) return r;
  FStockStep = frame.StockStep;
  Layout = base;
  Layout.OnTrace = nullptr;
  FGame->ApplyRules(Rules);
  ReloadGamePlaces();
  Rules.GameClosed = true;
  SetRandomSeed(seed);
  StartGame();
  r.Measured = MaxInLayout(Rules, Layout);
  r.Stretch = FitStretch(frame);
  Layout.ModifyConstantVariables(r.Stretch.Width, r.Stretch.Height);
  ReloadGamePlaces();
  MoveCardsToPlaces();
  r.Fits = InsideTable(frame);
  return r;
}

TCardDeck* TPatienceEngine::TrialDeck() {
  try {
    if (!FTrialDeck) FTrialDeck = std::make_unique<TCardDeck>(nullptr, FDeck->CardsetsDir);
  } catch (const std::exception& e) {
    Trace(std::string("AutoStart has no deck: ") + e.what());
  }
  return FTrialDeck.get();
}

// The hidden trial deal of the game in play on a deck of its own. Without one (or without a view)
// nothing is measured: no stretch, and the game counts as fitting.
TTrialResult TPatienceEngine::MeasureTrial(const TLayout& base, uint32_t seed) {
  TCardDeck* deck = TrialDeck();
  if (!deck || !FGame || !FTable) return TTrialResult{MaxInLayout(Rules, Layout), TStretch(), true};
  TTrialHost host(*FHost);
  TPatienceEngine trial(*deck, &host);
  return trial.DealToMeasure(FGame, base, seed, Frame());
}

bool TPatienceEngine::DealtGameFits() {
  if (!FGame || !FTable || HistoryList.Count() < 2) return true;
  uint32_t seed = 0;
  try {
    seed = uint32_t(std::stoll(HistoryList[1]));
  } catch (const std::exception&) {
    return true;
  }
  TLayout base;
  base.SetConstantVariables(Layout.WidthFactor, Layout.HeightFactor);
  return MeasureTrial(base, seed).Fits;
}

void TPatienceEngine::AutoMode() {
  if (!FTable || !FTable->Visible() || FTable->Sprite().Visible) return;
  Trace("Start AutoMode");
  Layout.StoreConstantVariables();
  const TPoint p = MaxInLayout(Rules, Layout);
  Trace("MaxInLayout Result X Y " + std::to_string(p.X) + " " + std::to_string(p.Y));
  const TStretch s = FitStretch(Frame());
  Layout.ModifyConstantVariables(s.Width, s.Height);
  if (ReloadGamePlaces()) {
    ModifyAll();
    RedrawTable();
    SetLists();
  }
  Trace("Exit AutoMode");
}

void TPatienceEngine::AutoStart() {
  Trace("Start AutoStart");
  ResolveSeed();
  Layout.SetConstantVariables(Layout.WidthFactor, Layout.HeightFactor);
  if (!FGame || !FTable) return;
  ReloadGamePlaces();
  Trace("AutoStart has default card co-ords");
  Trace("AutoStart calls start to invisibly deal cards in default positions");
  TTrialResult r = MeasureTrial(Layout, RandomSeed());
  // Cards too large for this table: the window may take a smaller size, measured at each size it
  // tries.
  auto atSizeInForce = [this] {
    UpdateCardFactors();
    Layout.SetConstantVariables(Layout.WidthFactor, Layout.HeightFactor);
    ReloadGamePlaces();
    return MeasureTrial(Layout, RandomSeed());
  };
  if (!r.Fits && FHost->ReduceScaleToFit([&] { return atSizeInForce().Fits; })) r = atSizeInForce();
  Layout.StoreConstantVariables();
  Trace("MaxInLayout Result X Y " + std::to_string(r.Measured.X) + " " + std::to_string(r.Measured.Y));
  Layout.ModifyConstantVariables(r.Stretch.Width, r.Stretch.Height);
  Trace("Reset game data using modified constants");
  ReloadGamePlaces();
  Trace("Exit AutoStart");
}

void TPatienceEngine::ApplyLayout(bool extended) {
  if (extended)
    Layout.SetConstantVariables(Layout.WidthFactor, Layout.HeightFactor);
  else
    Layout.SetConstantVariables(1.0f, 1.0f);
  if (!FTable || !FTable->Visible()) return;
  if (!ReloadGamePlaces()) return;
  ModifyAll();
  if (extended) {
    AutoMode();
  } else {
    RedrawTable();
    SetLists();
  }
}
