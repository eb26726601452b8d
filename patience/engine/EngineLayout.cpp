// The engine's side of the layout: the game's places computed from the layout variables, the
// markers and cards moved to them, and the stretch of the Extended layout to the table.

#include <algorithm>

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
  TableauFan = TableauFanOf(Rules, Layout);
  return true;
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

void TPatienceEngine::AutoMode() {
  if (!FTable || !FTable->Visible() || FTable->Sprite().Visible) return;
  Trace("Start AutoMode");
  Layout.StoreConstantVariables();
  const TPoint p = MaxInLayout(Rules, Layout);
  Trace("MaxInLayout Result X Y " + std::to_string(p.X) + " " + std::to_string(p.Y));
  const TStretch s =
      StretchToTable(Rules, p, FTable->Width(), FTable->Height(), FDeck->CardWidth, FDeck->CardHeight);
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
  try {
    if (!FTrialDeck) FTrialDeck = std::make_unique<TCardDeck>(nullptr, FDeck->CardsetsDir);
  } catch (const std::exception& e) {
    // Without a deck to measure on, the game keeps the unstretched places.
    Trace(std::string("AutoStart has no deck: ") + e.what());
    ReloadGamePlaces();
    return;
  }
  {
    TTrialHost host(*FHost);
    TPatienceEngine trial(*FTrialDeck, &host);
    trial.Layout = Layout;
    trial.FGame = FGame;
    FGame->ApplyRules(trial.Rules);
    trial.ReloadGamePlaces();
    Trace("AutoStart has default card co-ords");
    Trace("AutoStart calls start to invisibly deal cards in default positions");
    trial.Rules.GameClosed = true;
    trial.SetRandomSeed(RandomSeed());
    trial.StartGame();

    Layout.StoreConstantVariables();
    const TPoint p = MaxInLayout(trial.Rules, trial.Layout);
    Trace("MaxInLayout Result X Y " + std::to_string(p.X) + " " + std::to_string(p.Y));
    const TStretch s = StretchToTable(trial.Rules, p, FTable->Width(), FTable->Height(), FDeck->CardWidth,
                                      FDeck->CardHeight);
    Layout.ModifyConstantVariables(s.Width, s.Height);
  }
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
