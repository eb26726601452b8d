#pragma once
// The game catalogue: 159 numbered entries that become 205 menu games (Klondike comes with one
// or three cards a turn, and Freecell NxM in 46 sizes). A game is named by a TGameRef; its
// caption is the exact name the menus show, saved games record and statistics files are named
// after.
//
// Setting up a game is, for the caller:
//   if (NeedsApplying(game, rules)) {        // choosing the current game changes nothing
//     ApplyRules(game, rules, false);        // ClearRules, name, help code, fields, DealMode, picture
//     ComputePlaces(game, layout, rules);    // pile places from the layout variables
//     engine.StartGame();
//   }
// A layout change needs only ComputePlaces for the current game: it leaves every rule field and
// all play state alone. ApplyRules with dryRun set (the record already holds the same game)
// rewrites the fields without clearing, and keeps what play may have changed: the compact-fan
// bit of DealMode, a DealPileByPile the engine added to the tableau rules, and StockFromTop.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "patience/catalogue/GameDef.h"
#include "patience/catalogue/PlaceExpr.h"
#include "patience/engine/Rules.h"

constexpr int kEntryCount = 159;
constexpr int kEntryKlondike = 4;
constexpr int kEntryFreecell = 29;
constexpr int kEntryFreecellNxM = 102;
constexpr int kGameCount = 205;

// A catalogue entry with its inputs: Selector for Klondike (1: one card a turn, 2: three),
// Columns and Cells for Freecell NxM; the inputs are 0 for every other entry.
struct TGameRef {
  int Entry = 0;
  int Selector = 0;
  int Columns = 0;
  int Cells = 0;

  static constexpr TGameRef Plain(int entry) { return TGameRef{entry, 0, 0, 0}; }
  static constexpr TGameRef Klondike(int selector) { return TGameRef{kEntryKlondike, selector, 0, 0}; }
  static constexpr TGameRef FreecellNxM(int columns, int cells) {
    return TGameRef{kEntryFreecellNxM, 0, columns, cells};
  }
  friend constexpr bool operator==(const TGameRef&, const TGameRef&) = default;
};

// Whether the reference names one of the 205 games (Freecell NxM only in the offered sizes).
bool IsValidGame(const TGameRef& game);
// The game's data. Throws std::out_of_range for a reference that names no game.
const TGameDef& GameDefinition(const TGameRef& game);
// The game's caption (= GameName); throws like GameDefinition.
const std::string& GameCaption(const TGameRef& game);

// All games in catalogue order: entries 1..159, Klondike as its two variants, Freecell NxM as
// its 46 sizes in menu order.
const std::vector<TGameRef>& AllGames();
// Their captions, in the same order.
const std::vector<std::string>& AllCaptions();
// The game with exactly this caption (case-sensitive), if any.
std::optional<TGameRef> FindGame(std::string_view caption);
// The catalogue's spelling of a caption compared without regard to (ASCII) case, as the menus
// find a game; none when no game has it. Files written by hand or by older versions may spell a
// caption in another case.
std::optional<std::string> MenuCaption(std::string_view caption);
// The (columns, cells) sizes of Freecell NxM the menus offer, in menu order.
const std::vector<std::pair<int, int>>& FreecellSizes();
// The special treatment of the game with this name; None for any other name.
TGameSpecial SpecialOfGame(std::string_view gameName);

// False when the record already holds this game (GameName equals its caption): choosing the
// game in play neither clears nor deals it. Set GameName to "Loading" to force a rerun.
bool NeedsApplying(const TGameRef& game, const TGameRules& rules);

// Stores the game's rules in the record, in setup order: ClearRules (nothing in a dry run), name
// and help code, every field of the game, DealMode when the game writes it, GamePicture. Places
// are ComputePlaces's. Never touches the engine's counters (EmptyPiles, EmptyCells, PassesDone,
// BaseCard), the piles or the other names.
void ApplyRules(const TGameDef& def, TGameRules& rules, bool dryRun);
void ApplyRules(const TGameRef& game, TGameRules& rules, bool dryRun);

// Writes the game's places for the layout, and nothing else: TableauPlaces, FoundationPlaces,
// TReserve.Origin, TStock.Point, TStock.WastePoint and TExceptPiles.Positions. A point the game
// does not give is (0, 0).
void ComputePlaces(const TGameDef& def, const TLayoutVars& vars, TGameRules& rules);
void ComputePlaces(const TGameRef& game, const TLayoutVars& vars, TGameRules& rules);
