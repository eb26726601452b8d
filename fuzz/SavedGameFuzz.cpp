// Saved games as the Open command takes them: the file is read and checked, and a file that passes
// is dealt from its seed and replayed move by move on a real table with the generated card sets
// (a virtual clock makes the deal and the animations instant). A refused file deals nothing; a
// replayed one leaves the game of its first line in play (its name matched without regard to case,
// as the menu matches it), under the file's name, closed when the file says so.

#include <QApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "cardtable/CardTable.h"
#include "fuzz/FuzzCheck.h"
#include "patience/engine/PatienceEngine.h"
#include "patience/files/SavedGame.h"
#include "patience/ui/SavedGames.h"
#include "platform/core/Clock.h"
#include "platform/core/Text.h"

namespace {

struct TRig {
  explicit TRig(const std::string& sets) : Table(nullptr, sets), Engine(Table, &Host) {
    Table.SetBounds(0, 0, 1600, 1000);
    Table.ApplyBounds(0, 0, 1600, 1000);
  }
  TCardTable Table;
  TEngineHost Host;
  TPatienceEngine Engine;
};

TVirtualClock g_clock;
std::unique_ptr<TRig> g_rig;
std::string g_file;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication app(*argc, *argv);
  SetClock(&g_clock);
  const char* sets = std::getenv("PATIENCE_CARDSETS");
  g_rig = std::make_unique<TRig>(sets ? sets : PATIENCE_FUZZ_CARDSETS);
  g_file = FuzzScratch("saved.ppg");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzWrite(g_file, data, size);
  std::string error;
  const std::optional<TSavedGame> game = ReadMenuSavedGame(g_file, error);
  if (!game) {
    FUZZ_CHECK(!error.empty(), "a refused file without a reason");
    return 0;
  }
  FUZZ_CHECK(game->Lines.Count() >= 3 && (game->Lines.Count() - 3) % 4 == 0, "a checked file of %d lines",
             game->Lines.Count());
  TPatienceEngine& e = g_rig->Engine;
  if (!ReplaySavedGame(e, *game, g_file)) return 0;
  FUZZ_CHECK(e.Rules.SaveName == g_file, "the game in play is not the file's");
  FUZZ_CHECK(e.HistoryList.Count() >= 3 && SameText(e.HistoryList[0], game->Lines[0]),
             "another game in play");
  FUZZ_CHECK(!game->Closed || e.HistoryList[2] == "0", "a closed file replayed open");
  return 0;
}
