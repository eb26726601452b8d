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
  return MenuCaption(caption).has_value();
}

std::optional<TSavedGame> ReadMenuSavedGame(const std::string& path, std::string& error) {
  return ReadSavedGame(path, IsMenuGame, error);
}

std::string GameCaptionText(const std::string& gameName, const std::string& saveName, bool closed) {
  return "Patience. Game: " + (saveName.empty() ? gameName : ExtractFileName(saveName)) +
         (closed ? "  [Closed Game]" : "  [Open Game]");
}

struct TReplaySpeed::TSaved {
  explicit TSaved(TCardTable* table) : Motion(table) {}
  TTableMotion Motion;
  std::optional<TSetFor<bool>> WaitMode;
  std::optional<TSetFor<int>> FramePeriod;
  std::optional<TSetFor<int>> StepPeriod;
  std::optional<TSetFor<bool>> FastMovement;
};

TReplaySpeed::TReplaySpeed(TCardTable* table) : FSaved(std::make_unique<TSaved>(table)) {
  FSaved->Motion.CardSpeedTimes(kReplaySpeedUp);
  // A card turns at once: a turn's frames would wait a millisecond each, and nobody watches a
  // replay card by card.
  FSaved->Motion.NoTurnAnimation();
  FSaved->Motion.NoLift();
  FSaved->Motion.NoSlowMove();
  if (!table) return;
  FSaved->WaitMode.emplace(table->SMR_WaitMode, false);
  // Nor does a replayed move wait for the screen's next frame, and each step copies only what it
  // changed, never the whole table.
  FSaved->FramePeriod.emplace(table->FramePeriodMs, 0);
  // Its steps take only what they draw.
  FSaved->StepPeriod.emplace(table->StepPeriodMs, 0);
  FSaved->FastMovement.emplace(table->FastMovementMode, true);
}

TReplaySpeed::~TReplaySpeed() = default;

bool ReplaySavedGame(TPatienceEngine& engine, const TSavedGame& game, const std::string& path) {
  TReplaySpeed speed(engine.Table());
  // From the deal on: auto-move would add moves the file does not hold.
  TPatienceEngine::TReplayScope replay(engine);
  const std::string kept = engine.Rules.GameName;
  engine.SetRandomSeed(game.Seed);
  // "Loading" deals the game even when it is the game in play.
  engine.Rules.GameName = "Loading";
  if (!StartGameByCaption(engine, MenuCaption(game.Lines[0]).value_or(game.Lines[0]))) {
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
