#pragma once
// The user card set folder: "U_" plus the set's name, made as a copy of the template set "C_1" and
// then filled by the maker card by card. Its "options.txt" holds four lines that decide how faces
// are composed:
//   1 card type          0 Border, 1 Borderless
//   2 rankings           0 top left only, 1 top left and bottom right, 2 all four corners
//   3 frame per index    1 on, 0 off
//   4 large indices      1 on, 0 off
//
// Every name is matched without regard to case, as the game's card set lookup does, so "u_Sea" and
// "U_sea" are one set.

#include <string>
#include <vector>

#include "platform/core/StringList.h"

class TCard;

inline constexpr const char* kUserSetPrefix = "U_";
inline constexpr const char* kTemplateSet = "C_1";
inline constexpr const char* kOptionsFile = "options.txt";

struct TSetOptions {
  int CardType = 1;  // 0 Border, 1 Borderless
  int Rankings = 1;  // 0, 1, 2: one, two or four corners
  bool IndexBorder = false;
  bool Large = false;
  friend bool operator==(const TSetOptions&, const TSetOptions&) = default;
};

// The four lines of "options.txt".
TStringList OptionLines(const TSetOptions& options);
// Reads the four lines; a missing line or one that is not a number in range keeps the default.
TSetOptions ParseOptionLines(const TStringList& lines);
// The options of an opened set: "options.txt" of the set in the user card sets folder, else in
// the card sets folder, else the defaults.
TSetOptions LoadSetOptions(const std::string& userCardsetsDir, const std::string& cardsetsDir,
                           const std::string& setName);

// The answer of the name check of a new set.
enum class TNameCheck { Ok, Empty, Underscore, Used, Invalid };
// The message the dialog shows ("" for Ok and Empty).
std::string NameCheckMessage(TNameCheck check);
// A name no folder may carry: characters that are not allowed in file names on any desktop
// (\ / : * ? " < > |, control characters), "..", or a trailing dot or blank.
bool IsUnsafeSetName(const std::string& name);
// Checks the typed name in the order the dialog reports: empty, underscore, unsafe, used in either
// folder (any case).
TNameCheck CheckNewSetName(const std::string& name, const std::string& cardsetsDir,
                           const std::string& userCardsetsDir);

// The folder user sets are written to: the user card sets folder when there is one, else the card
// sets folder (the data folder is the program folder then).
std::string UserSetsRoot(const std::string& cardsetsDir, const std::string& userCardsetsDir);

// Files of "C_1" that a new set cannot do without (names as the deck loads them).
std::vector<std::string> RequiredTemplateFiles();
// The required files that cardsetsDir/C_1 lacks.
std::vector<std::string> MissingTemplateFiles(const std::string& cardsetsDir);

struct TCreateSetResult {
  TNameCheck Check = TNameCheck::Ok;
  std::string Message;  // empty on success
  std::string Folder;   // the new set's folder on success
};
// Checks the name, then makes root/"U_"+name as a copy of every file of the template set, with
// "options.txt" when options are given. The set is made in a hidden folder and renamed into place
// when complete, so that a maker stopped at any moment leaves the whole set or none. A template
// that lacks required files refuses before anything is made ("Template card set C_1 is missing
// ..."); a copy that fails takes the hidden folder away again and reports it.
TCreateSetResult CreateUserSet(const std::string& name, const std::string& cardsetsDir,
                               const std::string& userCardsetsDir, const TSetOptions* options = nullptr);

// What marks the hidden folder of a set being made: "." + "U_" + name + this + the maker's
// process id.
inline constexpr const char* kUnfinishedMark = ".unfinished";
// Removes from root the hidden folders of sets whose maker stopped before they were complete.
// Answers how many went.
int RemoveUnfinishedSets(const std::string& root);

// Deletes every entry of root/name that is not a folder (hidden files and links included), then
// the folder. Refuses names that are not a single folder name. Returns "" when the set is gone,
// else a message saying what stayed.
std::string DeleteUserSet(const std::string& root, const std::string& name);

// The bitmap file of a card as the deck loads it: "01c.bmp" .. "13s.bmp", "01joker.bmp" (joker
// numbers 0 and 2), "02joker.bmp".
std::string CardBitmapName(const TCard& card);
// "Back" + k + ".bmp".
std::string BackBitmapName(int k);
