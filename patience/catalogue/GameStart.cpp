#include "patience/catalogue/GameStart.h"

TLayoutVars PlaceVarsOf(const TLayout& layout) {
  TLayoutVars v;
  v.LeftMargin = layout.LeftMargin;
  v.TopMargin = layout.TopMargin;
  v.SecondRowY = layout.SecondRowY;
  v.ColumnStep = layout.ColumnStep;
  v.RowStep = layout.RowStep;
  return v;
}

TCatalogueGame::TCatalogueGame(const TGameRef& game) : FRef(game), FDef(&GameDefinition(game)) {}

void TCatalogueGame::ApplyRules(TGameRules& rules) const {
  ::ApplyRules(*FDef, rules, false);
}

void TCatalogueGame::ComputePlaces(const TLayout& layout, TGameRules& rules) const {
  ::ComputePlaces(*FDef, PlaceVarsOf(layout), rules);
}

std::shared_ptr<const TCatalogueGame> CatalogueGame(const TGameRef& game) {
  return std::make_shared<const TCatalogueGame>(game);
}

std::shared_ptr<const TCatalogueGame> CatalogueGame(std::string_view caption) {
  auto game = FindGame(caption);
  return game ? CatalogueGame(*game) : nullptr;
}

bool StartGameByCaption(TPatienceEngine& engine, std::string_view caption) {
  auto game = CatalogueGame(caption);
  return game && engine.ChooseGame(game);
}
