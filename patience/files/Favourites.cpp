#include "patience/files/Favourites.h"

#include <algorithm>

#include "patience/files/RecordNotice.h"
#include "patience/files/Trace.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "platform/core/Text.h"

std::string FavouritesFilePath(const std::string& dataDir) {
  return PathJoin(dataDir, kFavouritesFile);
}

bool FavouriteLess(const std::string& a, const std::string& b) {
  const std::string la = LowerCase(a), lb = LowerCase(b);
  return la != lb ? la < lb : a < b;
}

int TFavouritesList::IndexOf(const std::string& caption) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (SameText(FItems[i], caption)) return int(i);
  return -1;
}

bool TFavouritesList::Add(const std::string& caption) {
  if (caption.empty() || Contains(caption)) return false;
  FItems.insert(std::upper_bound(FItems.begin(), FItems.end(), caption, FavouriteLess), caption);
  return true;
}

bool TFavouritesList::Remove(const std::string& caption) {
  const int i = IndexOf(caption);
  if (i < 0) return false;
  FItems.erase(FItems.begin() + i);
  return true;
}

void TFavouritesList::Assign(const std::vector<std::string>& captions) {
  FItems.clear();
  for (const std::string& c : captions) Add(c);
}

int TFavouritesList::LoadFromFile(const std::string& path,
                                  const std::function<bool(const std::string&)>& knownGame) {
  FItems.clear();
  TStringList lines;
  if (!FileExists(path)) return 0;
  if (!lines.TryLoadFromFile(path)) {
    Trace("fav.dat could not be read");
    return 0;
  }
  int skipped = 0;
  for (const std::string& line : lines.Lines) {
    if ((knownGame && !knownGame(line)) || !Add(line)) {
      Trace("fav.dat: line skipped - " + line);
      ++skipped;
    }
  }
  return skipped;
}

bool TFavouritesList::SaveToFile(const std::string& path) const {
  TStringList lines;
  lines.Lines = FItems;
  return SaveRecord(lines, path, TRecordKind::Favourites);
}
