// The option files of the data folder, each read from the same bytes: "Options.dat" comes back
// with its seven lines all valid (a second repair changes nothing) and its further lines kept;
// "Scoring.dat" gives four values that are either the file's first four lines or the defaults;
// "fav.dat" gives a sorted list of known games, each once whatever its case.

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "patience/files/Favourites.h"
#include "patience/files/OptionsFile.h"
#include "patience/ui/SavedGames.h"
#include "patience/ui/Scoring.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"

namespace {

std::string g_dir;

void CheckOptions(const TStringList& input, bool fastMode) {
  TStringList lines = LoadOptionLines(g_dir, fastMode);
  FUZZ_CHECK(lines.Count() >= kOptionLineCount, "%d option lines", lines.Count());
  for (int i = 0; i < kOptionLineCount; ++i)
    FUZZ_CHECK(ValidOptionLine(i, lines[i]), "line %d \"%s\" kept", i, lines[i].c_str());
  for (int i = kOptionLineCount; i < input.Count(); ++i)
    FUZZ_CHECK(i < lines.Count() && lines[i] == input[i], "line %d not kept", i);
  FUZZ_CHECK(RepairOptionLines(lines, fastMode).empty(), "a repaired file needed another repair");
  const int step = OptionScaleStep(lines);
  FUZZ_CHECK(step >= -2 && step <= 5, "scale step %d", step);
}

void CheckScoring(const TStringList& input) {
  TStringList list;
  TScoreValues values{1, 2, 3, 4};
  LoadScoringValues(g_dir, list, values, [](const std::string&) {});
  FUZZ_CHECK(list.Lines == input.Lines, "the scoring lines changed");
  const TScoreValues defaults;
  const bool isDefault = values.Drop == defaults.Drop && values.Success == defaults.Success &&
                         values.Undo == defaults.Undo && values.Waste == defaults.Waste;
  bool fromFile = input.Count() >= 4;
  const int got[4] = {values.Drop, values.Success, values.Undo, values.Waste};
  for (int i = 0; i < 4 && fromFile; ++i) fromFile = StrToIntDef(input[i], got[i] ^ 1) == got[i];
  FUZZ_CHECK(isDefault || fromFile, "scoring values that are neither the file's nor the defaults");
}

void CheckFavourites() {
  TFavouritesList favourites;
  favourites.LoadFromFile(PathJoin(g_dir, kFavouritesFile), IsMenuGame);
  const std::vector<std::string>& items = favourites.Items();
  for (size_t i = 0; i < items.size(); ++i) {
    FUZZ_CHECK(IsMenuGame(items[i]), "an unknown game \"%s\"", items[i].c_str());
    FUZZ_CHECK(i == 0 || FavouriteLess(items[i - 1], items[i]), "out of order at %zu", i);
    FUZZ_CHECK(i == 0 || !SameText(items[i - 1], items[i]), "listed twice at %zu", i);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_dir = FuzzScratch("options");
  ForceDirectories(g_dir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const char* name : {kOptionsFileName, kScoringFile, kFavouritesFile})
    FuzzWrite(PathJoin(g_dir, name), data, size);
  TStringList input;
  input.SetText(text);
  CheckOptions(input, size > 0 && (data[0] & 1));
  CheckScoring(input);
  CheckFavourites();
  return 0;
}
