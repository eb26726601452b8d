#pragma once
// The games of the catalogue as the play engine plays them, and the one entry point the menus,
// the start screen and replays use to start a game by its caption.

#include <memory>
#include <string_view>

#include "patience/catalogue/Catalogue.h"
#include "patience/engine/PatienceEngine.h"

// The five layout variables places are computed from.
TLayoutVars PlaceVarsOf(const TLayout& layout);

// One game of the catalogue for the engine.
class TCatalogueGame : public TGameSetup {
 public:
  // Throws std::out_of_range for a reference that names no game.
  explicit TCatalogueGame(const TGameRef& game);
  const std::string& Caption() const override { return FDef->Name; }
  void ApplyRules(TGameRules& rules) const override;
  void ComputePlaces(const TLayout& layout, TGameRules& rules) const override;
  const TGameRef& Ref() const { return FRef; }
  const TGameDef& Definition() const { return *FDef; }

 private:
  TGameRef FRef;
  const TGameDef* FDef;
};

std::shared_ptr<const TCatalogueGame> CatalogueGame(const TGameRef& game);
// The game with exactly this caption; null when there is none.
std::shared_ptr<const TCatalogueGame> CatalogueGame(std::string_view caption);

// Starts the game with this caption as its menu item does. False when no game has the caption
// or when it is the game in play (which is left as it is).
bool StartGameByCaption(TPatienceEngine& engine, std::string_view caption);
