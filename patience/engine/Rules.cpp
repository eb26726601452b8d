#include "patience/engine/Rules.h"

void TGameRules::ClearRules(bool dryRun) {
  if (dryRun) return;
  Tableau.Count = 0;
  Tableau.Rules.Clear();
  Tableau.CardsPerPile.clear();
  Tableau.FaceDownPerPile.clear();
  Tableau.LeftEmpty = 0;

  Foundations.Count = 0;
  Foundations.BaseCard = nullptr;
  Foundations.Rules.Clear();

  Reserve.Count = 0;
  Reserve.FaceUp = false;
  Reserve.VerticalFan = false;
  Reserve.AllPlayable = false;
  Reserve.Origin = TPoint();
  Reserve.FreeCells = false;
  Reserve.DealtToCells = 0;
  Reserve.EmptyCells = 0;
  Reserve.CellsVertical = false;

  Stock.Decks = 0;
  Stock.DealCount = 0;
  Stock.PassesAllowed = 1;
  Stock.PassesDone = 0;
  Stock.Rules.Clear();

  DealMode = 0;
  StockFromTop = false;

  ExceptPiles.Count = 0;
  ExceptPiles.FaceUp = false;
  ExceptPiles.ByPositionTable = false;
  ExceptPiles.CardsPerPile.clear();
  ExceptPiles.Positions.clear();
  ExceptPiles.FanHorizontal = false;

  FoundationAngles.clear();
  if (OnTrace) OnTrace("Rules cleared");
}
