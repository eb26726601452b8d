#include "patience/catalogue/Catalogue.h"

#include <stdexcept>
#include <unordered_map>

#include "patience/catalogue/CatalogueRows.h"
#include "platform/core/Text.h"

namespace {

struct TCatalogue {
  std::vector<TGameDef> Defs;
  std::vector<TGameRef> Refs;
  std::vector<std::string> Captions;
  std::unordered_map<std::string, int> ByCaption;
};

TCatalogue BuildCatalogue() {
  TCatalogue cat;
  auto add = [&](const TGameRef& ref, TGameDef def) {
    if (!cat.ByCaption.emplace(def.Name, int(cat.Defs.size())).second)
      throw std::logic_error("duplicate game caption: " + def.Name);
    cat.Refs.push_back(ref);
    cat.Captions.push_back(def.Name);
    cat.Defs.push_back(std::move(def));
  };
  std::vector<TGameDef> rows = CatalogueRows();
  size_t next = 0;
  for (int entry = 1; entry <= kEntryCount; ++entry) {
    if (entry == kEntryKlondike) {
      add(TGameRef::Klondike(1), KlondikeGame(1));
      add(TGameRef::Klondike(2), KlondikeGame(2));
    } else if (entry == kEntryFreecellNxM) {
      for (auto [columns, cells] : FreecellSizes())
        add(TGameRef::FreecellNxM(columns, cells), FreecellNxMGame(columns, cells));
    } else {
      if (next >= rows.size() || rows[next].Entry != entry)
        throw std::logic_error("catalogue rows out of order at entry " + std::to_string(entry));
      add(TGameRef::Plain(entry), std::move(rows[next++]));
    }
  }
  if (next != rows.size()) throw std::logic_error("catalogue has rows past the last entry");
  return cat;
}

const TCatalogue& Catalogue() {
  static const TCatalogue cat = BuildCatalogue();
  return cat;
}

int IndexOf(const TGameRef& game) {
  const auto& refs = Catalogue().Refs;
  for (size_t i = 0; i < refs.size(); ++i)
    if (refs[i] == game) return int(i);
  return -1;
}

}  // namespace

const std::vector<std::pair<int, int>>& FreecellSizes() {
  static const std::vector<std::pair<int, int>> sizes = [] {
    std::vector<std::pair<int, int>> s;
    auto cellsFor = [&](int columns, std::initializer_list<int> cells) {
      for (int m : cells) s.emplace_back(columns, m);
    };
    cellsFor(4, {4, 5, 6, 7, 8});
    cellsFor(5, {3, 4, 5, 6, 7, 8});
    cellsFor(6, {2, 3, 4, 5, 6, 7, 8});
    cellsFor(7, {2, 3, 4, 5, 6, 7, 8});
    cellsFor(8, {1, 2, 3, 5, 6, 7, 8});  // 8 columns with 4 cells is plain Freecell
    cellsFor(9, {0, 1, 2, 3, 4, 5, 6});
    cellsFor(10, {0, 1, 2, 3, 4, 5, 6});
    return s;
  }();
  return sizes;
}

bool IsValidGame(const TGameRef& game) {
  return IndexOf(game) >= 0;
}

const TGameDef& GameDefinition(const TGameRef& game) {
  int i = IndexOf(game);
  if (i < 0)
    throw std::out_of_range("no such game: entry " + std::to_string(game.Entry) + " (" +
                            std::to_string(game.Selector) + ", " + std::to_string(game.Columns) + ", " +
                            std::to_string(game.Cells) + ")");
  return Catalogue().Defs[size_t(i)];
}

const std::string& GameCaption(const TGameRef& game) {
  return GameDefinition(game).Name;
}

const std::vector<TGameRef>& AllGames() {
  return Catalogue().Refs;
}

const std::vector<std::string>& AllCaptions() {
  return Catalogue().Captions;
}

std::optional<TGameRef> FindGame(std::string_view caption) {
  const auto& cat = Catalogue();
  auto it = cat.ByCaption.find(std::string(caption));
  if (it == cat.ByCaption.end()) return std::nullopt;
  return cat.Refs[size_t(it->second)];
}

std::optional<std::string> MenuCaption(std::string_view caption) {
  if (FindGame(caption)) return std::string(caption);
  for (const std::string& known : AllCaptions())
    if (SameText(known, caption)) return known;
  return std::nullopt;
}

TGameSpecial SpecialOfGame(std::string_view gameName) {
  auto game = FindGame(gameName);
  return game ? GameDefinition(*game).Special : TGameSpecial::None;
}

bool NeedsApplying(const TGameRef& game, const TGameRules& rules) {
  return rules.GameName != GameCaption(game);
}

void ApplyRules(const TGameDef& def, TGameRules& rules, bool dryRun) {
  // A dry run rewrites the same game over itself; these are the parts play may have changed.
  const bool keepPileByPile = dryRun && rules.Tableau.Rules.Has(DealPileByPile);
  const uint8_t keptCompact = dryRun ? (rules.DealMode & dmCompactFan) : 0;

  rules.ClearRules(dryRun);
  rules.GameName = def.Name;
  rules.HelpCode = def.HelpCode;

  TTableau& t = rules.Tableau;
  t.Count = def.Tableau.Count;
  t.Rules = def.Tableau.Rules;
  if (keepPileByPile) t.Rules.Include(DealPileByPile);
  t.CardsPerPile = def.Tableau.CardsPerPile;
  t.FaceDownPerPile = def.Tableau.FaceDownPerPile;
  t.LeftEmpty = def.Tableau.LeftEmpty;

  rules.Foundations.Count = def.Foundations.Count;
  rules.Foundations.Rules = def.Foundations.Rules;
  rules.FoundationAngles = def.Foundations.Angles;

  TReserve& res = rules.Reserve;
  res.Count = def.Reserve.Count;
  res.FreeCells = def.Reserve.FreeCells;
  res.FaceUp = def.Reserve.FaceUp;
  res.VerticalFan = def.Reserve.VerticalFan;
  res.AllPlayable = def.Reserve.AllPlayable;
  res.CellsVertical = def.Reserve.CellsVertical;
  res.DealtToCells = def.Reserve.DealtToCells;

  TStock& s = rules.Stock;
  s.Decks = def.Stock.Decks;
  s.DealCount = def.Stock.DealCount;
  s.PassesAllowed = def.Stock.PassesAllowed;
  s.Rules = def.Stock.Rules;
  if (!dryRun) rules.StockFromTop = def.Stock.StockFromTop;

  TExceptPiles& e = rules.ExceptPiles;
  e.Count = def.Except.Count;
  e.CardsPerPile = def.Except.CardsPerPile;
  e.FaceUp = def.Except.FaceUp;
  e.ByPositionTable = def.Except.ByPositionTable;

  if (def.DealMode != kDealModeNotSet) rules.DealMode = uint8_t(def.DealMode) | keptCompact;
  rules.GamePicture = def.Picture;
}

void ApplyRules(const TGameRef& game, TGameRules& rules, bool dryRun) {
  ApplyRules(GameDefinition(game), rules, dryRun);
}

void ComputePlaces(const TGameDef& def, const TLayoutVars& vars, TGameRules& rules) {
  auto point = [&](const std::optional<TPlacePoint>& p) { return p ? p->Eval(vars) : TPoint(); };
  rules.TableauPlaces = EvalPlaces(def.Tableau.Places, vars);
  rules.FoundationPlaces = EvalPlaces(def.Foundations.Places, vars);
  rules.Reserve.Origin = point(def.Reserve.Origin);
  rules.Stock.Point = point(def.Stock.Point);
  rules.Stock.WastePoint = point(def.Stock.WastePoint);
  rules.ExceptPiles.Positions = EvalPlaces(def.Except.Positions, vars);
}

void ComputePlaces(const TGameRef& game, const TLayoutVars& vars, TGameRules& rules) {
  ComputePlaces(GameDefinition(game), vars, rules);
}
