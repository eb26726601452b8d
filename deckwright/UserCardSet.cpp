#include "deckwright/UserCardSet.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cardtable/CardDeck.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"

// ---------------------------------------------------------------------------------------------
// options.txt

TStringList OptionLines(const TSetOptions& o) {
  return TStringList{std::to_string(o.CardType), std::to_string(o.Rankings), o.IndexBorder ? "1" : "0",
                     o.Large ? "1" : "0"};
}

namespace {

// The line as a whole decimal number (blanks around it allowed), or fallback.
int LineNumber(const TStringList& lines, int i, int fallback) {
  if (i >= lines.Count()) return fallback;
  std::string s = lines[i];
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return fallback;
  s = s.substr(b, s.find_last_not_of(" \t") - b + 1);
  int v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return fallback;
  return v;
}

}  // namespace

TSetOptions ParseOptionLines(const TStringList& lines) {
  TSetOptions d, o;
  const int type = LineNumber(lines, 0, d.CardType);
  o.CardType = type == 0 || type == 1 ? type : d.CardType;
  const int rank = LineNumber(lines, 1, d.Rankings);
  o.Rankings = rank >= 0 && rank <= 2 ? rank : d.Rankings;
  o.IndexBorder = LineNumber(lines, 2, 0) == 1;
  o.Large = LineNumber(lines, 3, 0) != 0;
  return o;
}

TSetOptions LoadSetOptions(const std::string& userCardsetsDir, const std::string& cardsetsDir,
                           const std::string& setName) {
  TStringList lines;
  for (const std::string& root : {userCardsetsDir, cardsetsDir}) {
    if (root.empty()) continue;
    const std::string path = PathJoin(root, setName, kOptionsFile);
    if (FileExists(path) && lines.TryLoadFromFile(path)) return ParseOptionLines(lines);
  }
  return TSetOptions{};
}

// ---------------------------------------------------------------------------------------------
// Names

std::string NameCheckMessage(TNameCheck check) {
  switch (check) {
    case TNameCheck::Underscore:
      return "No underscores allowed in name.";
    case TNameCheck::Used:
      return "Name already used.";
    case TNameCheck::Invalid:
      return "Invalid Name.";
    default:
      return "";
  }
}

bool IsUnsafeSetName(const std::string& name) {
  for (unsigned char c : name)
    if (c < 32 || c == 127 || std::string_view("\\/:*?\"<>|").find(char(c)) != std::string_view::npos)
      return true;
  if (name.find("..") != std::string::npos) return true;
  return !name.empty() && (name.back() == '.' || name.back() == ' ');
}

namespace {

// A folder root/entry exists under any spelling of its name.
bool FolderExistsAnyCase(const std::string& root, const std::string& entry) {
  return !root.empty() && DirectoryExists(PathJoin(root, entry));
}

}  // namespace

TNameCheck CheckNewSetName(const std::string& name, const std::string& cardsetsDir,
                           const std::string& userCardsetsDir) {
  if (name.empty()) return TNameCheck::Empty;
  if (name.find('_') != std::string::npos) return TNameCheck::Underscore;
  if (IsUnsafeSetName(name)) return TNameCheck::Invalid;
  const std::string folder = kUserSetPrefix + name;
  if (FolderExistsAnyCase(cardsetsDir, folder) || FolderExistsAnyCase(userCardsetsDir, folder))
    return TNameCheck::Used;
  return TNameCheck::Ok;
}

std::string UserSetsRoot(const std::string& cardsetsDir, const std::string& userCardsetsDir) {
  return userCardsetsDir.empty() ? cardsetsDir : userCardsetsDir;
}

// ---------------------------------------------------------------------------------------------
// Making and deleting sets

std::vector<std::string> RequiredTemplateFiles() {
  std::vector<std::string> files;
  for (int v = 0; v < 13; ++v)
    for (int s = 0; s < 4; ++s) files.push_back(FaceFileName(TCardSuit(s), v));
  for (const char* f :
       {"01joker.bmp", "02joker.bmp", "Back1.bmp", "CardMask.bmp", "Shadow00.bmp", "Shadow01.bmp",
        "Shadow00M.bmp", "Shadow00IM.bmp", "Shadow01M.bmp", "Shadow01IM.bmp", "Bottom01.bmp", "Bottom02.bmp",
        "Bottom04.bmp", "Bottom05.bmp", "Bottom06.bmp", "Bottom07.bmp", "Shade.bmp"})
    files.push_back(f);
  return files;
}

std::vector<std::string> MissingTemplateFiles(const std::string& cardsetsDir) {
  std::vector<std::string> missing;
  const std::string dir = PathJoin(cardsetsDir, kTemplateSet);
  for (const std::string& f : RequiredTemplateFiles())
    if (!FileExists(PathJoin(dir, f))) missing.push_back(f);
  return missing;
}

namespace {

// The folder a new set is made in before it takes its name: hidden, and named after the process
// that makes it, so that one left by a process that is gone is known.
std::string UnfinishedFolder(const std::string& root, const std::string& name) {
  return PathJoin(root,
                  "." + std::string(kUserSetPrefix) + name + kUnfinishedMark + std::to_string(::getpid()));
}

// The template's files into folder, and the options; an empty answer when all arrived.
std::string FillNewSet(const std::string& cardsetsDir, const std::string& folder,
                       const TSetOptions* options) {
  const std::string templ = ResolvePath(PathJoin(cardsetsDir, kTemplateSet));
  for (const std::string& f : ListFiles(templ))
    if (!CopyFile(PathJoin(templ, f), PathJoin(folder, f)))
      return "Could not copy " + f + " of the template card set C_1.";
  if (options && !OptionLines(*options).TrySaveToFile(PathJoin(folder, kOptionsFile)))
    return "Could not write " + std::string(kOptionsFile) + " of the new card set.";
  SyncFolder(folder);
  return {};
}

}  // namespace

TCreateSetResult CreateUserSet(const std::string& name, const std::string& cardsetsDir,
                               const std::string& userCardsetsDir, const TSetOptions* options) {
  TCreateSetResult r;
  r.Check = CheckNewSetName(name, cardsetsDir, userCardsetsDir);
  if (r.Check != TNameCheck::Ok) {
    r.Message = NameCheckMessage(r.Check);
    return r;
  }
  const std::vector<std::string> missing = MissingTemplateFiles(cardsetsDir);
  if (!missing.empty()) {
    r.Check = TNameCheck::Invalid;
    r.Message = "Template card set C_1 is missing " + missing.front() +
                (missing.size() > 1 ? " and " + std::to_string(missing.size() - 1) + " more files." : ".");
    return r;
  }
  // Made whole under a hidden name, then renamed into place in one step: the set is there
  // complete or not at all, whenever the maker stops.
  const std::string root = ResolvePath(UserSetsRoot(cardsetsDir, userCardsetsDir));
  const std::string folder = PathJoin(root, kUserSetPrefix + name);
  const std::string unfinished = UnfinishedFolder(root, name);
  std::error_code ec;
  std::filesystem::remove_all(unfinished, ec);
  if (!ForceDirectories(root) || ::mkdir(unfinished.c_str(), 0777) != 0) {
    r.Check = TNameCheck::Invalid;
    r.Message = NameCheckMessage(TNameCheck::Invalid);
    return r;
  }
  r.Message = FillNewSet(cardsetsDir, unfinished, options);
  if (r.Message.empty() &&
      ::renameat2(AT_FDCWD, unfinished.c_str(), AT_FDCWD, folder.c_str(), RENAME_NOREPLACE) != 0)
    r.Message = NameCheckMessage(TNameCheck::Used);  // made meanwhile under that name
  if (!r.Message.empty()) {
    std::filesystem::remove_all(unfinished, ec);
    r.Check = TNameCheck::Invalid;
    return r;
  }
  SyncFolder(root);
  r.Folder = ResolvePath(folder);
  return r;
}

int RemoveUnfinishedSets(const std::string& root) {
  int removed = 0;
  const std::string dir = ResolvePath(root);
  for (const std::string& entry : ListSubfolders(dir, true)) {
    const size_t mark = entry.rfind(kUnfinishedMark);
    if (entry.size() < 4 || entry[0] != '.' || !StartsText(kUserSetPrefix, entry.substr(1)) ||
        mark == std::string::npos)
      continue;
    const std::string pid = entry.substr(mark + std::char_traits<char>::length(kUnfinishedMark));
    if (!AllDigits(pid) || !ProcessGone(std::stol(pid))) continue;
    std::error_code ec;
    std::filesystem::remove_all(PathJoin(dir, entry), ec);
    if (!ec) ++removed;
  }
  return removed;
}

std::string DeleteUserSet(const std::string& root, const std::string& name) {
  if (!IsValidDeckName(name) || root.empty()) return "No card set chosen.";
  const std::string folder = ResolvePath(PathJoin(root, name));
  if (!DirectoryExists(folder)) return "";
  // Every entry but a folder goes as a file: hidden ones (the ".thumbs" a file manager leaves)
  // and links too, a link to a folder included (only the link goes).
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (it->symlink_status(kind).type() != fs::file_type::directory) entries.push_back(it->path());
  }
  for (const fs::path& path : entries) fs::remove(path, ec);
  if (!fs::remove(folder, ec) || ec)
    return "CardSet " + name + " could not be removed completely: " + folder +
           " still holds files or folders.";
  return "";
}

std::string CardBitmapName(const TCard& card) {
  return FaceFileName(card.Suit, card.Value);
}

std::string BackBitmapName(int k) {
  return "Back" + std::to_string(k) + ".bmp";
}
