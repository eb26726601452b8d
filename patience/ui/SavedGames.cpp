#include "patience/ui/SavedGames.h"

#include "patience/catalogue/Catalogue.h"
#include "patience/catalogue/GameStart.h"
#include "patience/engine/EngineScopes.h"
#include "platform/core/Files.h"

namespace {

// Replays run their animations this many times faster.
constexpr int kReplaySpeedUp = 64;

}  // namespace

bool IsMenuGame(const std::string& caption) {
  return FindGame(caption).has_value();
}

std::optional<TSavedGame> ReadMenuSavedGame(const std::string& path, std::string& error) {
  return ReadSavedGame(path, IsMenuGame, error);
}

std::string GameCaptionText(const std::string& gameName, const std::string& saveName, bool closed) {
  return "Patience. Game: " + (saveName.empty() ? gameName : ExtractFileName(saveName)) +
         (closed ? "  [Closed Game]" : "  [Open Game]");
}

bool ReplaySavedGame(TPatienceEngine& engine, const TSavedGame& game, const std::string& path) {
  TCardTable* table = engine.Table();
  TTableMotion motion(table);
  motion.CardSpeedTimes(kReplaySpeedUp);
  motion.TurnSpeedTimes(kReplaySpeedUp);
  motion.NoLift();
  motion.NoSlowMove();
  std::optional<TSetFor<bool>> waitMode;
  if (table) waitMode.emplace(table->SMR_WaitMode, false);

  const std::string kept = engine.Rules.GameName;
  engine.SetRandomSeed(game.Seed);
  // "Loading" deals the game even when it is the game in play.
  engine.Rules.GameName = "Loading";
  if (!StartGameByCaption(engine, game.Lines[0])) {
    engine.Rules.GameName = kept;
    return false;
  }
  engine.Rules.SaveName = path;
  // The file says whether the game still counts, whatever the deal decided.
  engine.HistoryList[2] = game.Closed ? "0" : "O";
  engine.Rules.GameClosed = game.Closed;
  engine.Host().SetCaption(GameCaptionText(engine.Rules.GameName, path, game.Closed));
  engine.ReplayMoves(game.Lines);
  return true;
}
