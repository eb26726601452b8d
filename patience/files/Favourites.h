#pragma once
// The player's favourite games: a list of game captions kept sorted without regard to case, each
// at most once, saved as "fav.dat" in the data folder (one caption a line, in list order).
// Reading skips what cannot be a favourite (an empty line, a caption already listed in another
// case, a caption no game has) with a trace line, so a damaged file never stops the program.

#include <functional>
#include <string>
#include <vector>

inline constexpr const char* kFavouritesFile = "fav.dat";

std::string FavouritesFilePath(const std::string& dataDir);

class TFavouritesList {
 public:
  const std::vector<std::string>& Items() const { return FItems; }
  int Count() const { return int(FItems.size()); }
  // The index of the caption compared without regard to case, or -1.
  int IndexOf(const std::string& caption) const;
  bool Contains(const std::string& caption) const { return IndexOf(caption) >= 0; }
  // Inserts at the sorted place; false (nothing changed) for an empty or an already listed caption.
  bool Add(const std::string& caption);
  bool Remove(const std::string& caption);
  void Clear() { FItems.clear(); }
  // Replaces the list with these captions, skipping what Add refuses.
  void Assign(const std::vector<std::string>& captions);

  // Reads "fav.dat"; lines that knownGame refuses (when given), empty lines and repeats are
  // skipped. A missing file gives an empty list. Answers how many lines were skipped.
  int LoadFromFile(const std::string& path, const std::function<bool(const std::string&)>& knownGame = {});
  // Writes through a temporary file; false when it could not be written.
  bool SaveToFile(const std::string& path) const;

 private:
  std::vector<std::string> FItems;
};

// The list's order: captions compared without regard to (ASCII) case, then as they stand.
bool FavouriteLess(const std::string& a, const std::string& b);
