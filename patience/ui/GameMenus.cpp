#include "patience/ui/GameMenus.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "patience/catalogue/Catalogue.h"

namespace {

const char kFreecellCustom[] = "Freecell Custom";

int CompareNoCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The item name the form would give a caption: its letters and digits and a number that keeps it
// unique.
std::string ItemName(const std::string& caption, std::map<std::string, int>& used) {
  std::string base;
  for (char c : caption)
    if (std::isalnum(static_cast<unsigned char>(c))) base += c;
  if (base.empty() || std::isdigit(static_cast<unsigned char>(base[0]))) base = "N" + base;
  return base + std::to_string(++used[base]);
}

struct TBuilder {
  const TMenuClickEvent& OnGameClick;
  std::map<std::string, int> Used;

  TMenuItem* Submenu(TMenuItem& parent, const std::string& caption) {
    return parent.Add(ItemName(caption, Used), caption);
  }
  void Game(TMenuItem& parent, const std::string& caption) {
    TMenuItem* item = parent.Add(ItemName(caption, Used), caption);
    item->OnClick = OnGameClick;
  }
  void Items(TMenuItem& parent, const std::vector<std::string>& captions) {
    for (const std::string& caption : captions) {
      if (caption == kFreecellCustom) {
        TMenuItem* custom = Submenu(parent, caption);
        for (const std::string& size : FreecellCustomCaptions()) Game(*custom, size);
      } else {
        Game(parent, caption);
      }
    }
  }
  void Group(TMenuItem& parent, const TMenuGroup& group) {
    TMenuItem* item = Submenu(parent, group.Caption);
    for (const TMenuGroup& g : group.Groups) Group(*item, g);
    Items(*item, group.Items);
  }
};

}  // namespace

std::vector<std::string> FreecellCustomCaptions() {
  std::vector<std::string> out;
  for (const auto& [columns, cells] : FreecellSizes())
    out.push_back("Freecell " + std::to_string(columns) + "x" + std::to_string(cells));
  return out;
}

std::vector<TMenuGroup> AlphabeticalGroups() {
  // Every game but the custom Freecell sizes, which come as one submenu after "Freecell".
  std::vector<std::string> captions;
  for (const TGameRef& game : AllGames())
    if (game.Entry != kEntryFreecellNxM) captions.push_back(GameCaption(game));
  std::sort(captions.begin(), captions.end(),
            [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
  // The menu has "The Dial" before "The Demon".
  const auto dial = std::find(captions.begin(), captions.end(), "The Dial");
  const auto demon = std::find(captions.begin(), captions.end(), "The Demon");
  if (dial != captions.end() && demon != captions.end() && demon < dial) std::iter_swap(dial, demon);
  const auto freecell = std::find(captions.begin(), captions.end(), "Freecell");
  if (freecell != captions.end()) captions.insert(freecell + 1, kFreecellCustom);

  std::vector<TMenuGroup> groups = {{"A - B", {}, {}}, {"C - E", {}, {}}, {"F - J", {}, {}},
                                    {"K - P", {}, {}}, {"R - S", {}, {}}, {"T - Z", {}, {}}};
  const char* lasts = "BEJPSZ";
  for (const std::string& caption : captions) {
    const char initial = char(std::toupper(static_cast<unsigned char>(caption[0])));
    size_t g = 0;
    while (g + 1 < groups.size() && initial > lasts[g]) ++g;
    groups[g].Items.push_back(caption);
  }
  return groups;
}

const std::vector<TMenuGroup>& SmallScreenGroups() {
  static const std::vector<TMenuGroup> groups = {
      {"A - M",
       {"Ace In The Hole",
        "Aces Up",
        "Acme",
        "Agnes Sorel",
        "Alaska",
        "Antarctic",
        "Arched Klondike",
        "Arctic",
        "Auld Lang Syne",
        "Aunt Mary",
        "Australian Patience",
        "Baby Spiderette",
        "Blind Alleys",
        "Brigade",
        "Burleigh",
        "Canfield",
        "Canister",
        "Chameleon",
        "Czarina",
        "Doublets",
        "Easthaven",
        "Empress",
        "Finnish Solitaire",
        "Florentine Patience",
        "Flower Garden",
        "Flowers in May",
        "Fortune's Favor",
        "Four Seasons",
        "Klondike 1 [Turn over 1]",
        "Klondike 2 [Turn over 3]",
        "Lady Betty",
        "Little Windmill",
        "Moosehide"},
       {}},
      {"N - Z",
       {"One Foundation",   "Osmosis",           "Rainbow",         "Rainfall",    "Russian Solitaire",
        "Simple Pairs",     "Single Rail",       "Sir Tommy",       "Spiderette",  "Storehouse",
        "Sunset Boulevard", "Superior Canfield", "Tam O'Shanter",   "Thirteen Up", "Thumb and Pouch",
        "Whitehead",        "Whitehorse",        "Will o the Wisp", "Yukon",       "Yukon Cells"},
       {}},
  };
  return groups;
}

// One data table of menu rows (the Klondike list is set one name a line), walked by BuildGameTypeMenu.
// NOLINTNEXTLINE(readability-function-size)
const std::vector<TMenuGroup>& GameTypeMenus() {
  static const std::vector<TMenuGroup> menus = {
      {"Baker's Dozen Type",
       {"Baker's Dozen", "Castles in Spain", "Cruel", "Good Measure", "Spanish Patience"},
       {}},
      {"Beleaguered Castle Type",
       {"Beleaguered Castle", "Board Patience", "Chessboard", "Fortress", "Mesmer-eyes", "Streets and Alleys",
        "Xantia"},
       {}},
      {"Canfield Type",
       {"Acme", "American Toad", "Canfield", "Chameleon", "Double Canfield", "Rainbow", "Rainfall",
        "Storehouse", "Superior Canfield", "The Demon", "Variegated Canfield"},
       {}},
      {"Fan Type",
       {"Black Hole", "Box Fan", "Demon Fan", "Fan", "Fascination Fan", "La Belle Lucie", "Scotch Patience",
        "Shamrocks", "Super Flower Garden", "Trefoil"},
       {}},
      {"Flower Garden Type", {"Brigade", "Flower Garden", "Thirteen Up"}, {}},
      {"Forty Thieves Type",
       {},
       {{"A - I",
         {"Blockade", "Bull's Eye", "Busy Aces", "Butcher's Knife", "Congress", "Corona", "Courtyard",
          "Daybreak in Hell", "Deuces", "Diplomat", "Double Rail", "Emperor", "Flyaway Home",
          "Fortune's Favor", "Forty and Eight", "Forty Thieves", "Gypsy", "Idiot's Array", "Indian"},
         {}},
        {"J - Z",
         {"Lady Palk", "Lucas", "Maria", "Midshipman", "Number Ten", "Red and Black", "Single Rail", "Square",
          "Streets", "Triple Line", "Twin Queens", "Waning Moon", "Zebra"},
         {}}}},
      {"Freecell Type",
       {"Baker's Game", "Bastion", "Blitzkreig", "Cone of Silence", "Eight Down", "Eight Off", "Forecell",
        "Four Colours", "Freecell", kFreecellCustom, "Holding Pattern", "Milligan Cell", "Obrai-Skai",
        "Sea Towers", "Squadron", "Tuxedo"},
       {}},
      {"Four Seasons Type",
       {"Czarina", "Empress", "Florentine Patience", "Flowers in May", "Four Seasons", "Little Windmill",
        "Simplicity"},
       {}},
      {"Klondike Type",
       {"Agnes Sorel",
        "Arched Klondike",
        "Blind Alleys",
        "Canister",
        "Carlton",
        "Easthaven",
        "Gargantua",
        "Giant",
        "King Albert",
        "Klondike 1 [Turn over 1]",
        "Klondike 2 [Turn over 3]",
        "Klondike 3 [Double]",
        "Milligan Harp",
        "Raglan",
        "Somerset",
        "Steps",
        "Thumb and Pouch",
        "Totem Poll",
        "Westcliff",
        "Whitehead",
        "Whitehorse"},
       {}},
      {"Pairing Type", {"Concentration", "Doublets", "Simple Pairs"}, {}},
      {"Sir Tommy Type",
       {"Auld Lang Syne", "Fanny", "Fly", "Freespace", "Lady Betty", "Sir Tommy", "Strategy",
        "Tam O'Shanter"},
       {}},
      {"Spider Type",
       {"Antarctic", "Arctic", "Baby Spiderette", "Black Widow", "Double Scorpion", "Hopping Spider",
        "Scorpion", "Scorpion II", "Simple Simon", "Spider", "Spidercells", "Spiderette", "Will o the Wisp"},
       {}},
      {"Yukon Type",
       {"Ace In The Hole", "Alaska", "Aunt Mary", "Australian Patience", "Double Yukon", "Finnish Solitaire",
        "Moosehide", "Russian Solitaire", "Yukon", "Yukon Cells"},
       {}},
      {"Other Game Type",
       {"Aces Up", "Blondes and Brunettes", "Break 147", "Burleigh", "Egyptian Pyramid", "Falling Star",
        "Khedive", "Kingdom", "Octagon", "One Foundation", "Osmosis", "Sunset Boulevard", "The Clock",
        "The Dial"},
       {}},
  };
  return menus;
}

TGameMenus BuildGameTypeMenu(TMenuItem& ChooseGame1, const TMenuClickEvent& onGameClick) {
  TBuilder b{onGameClick, {}};
  TGameMenus menus;
  menus.Alphabeticallist1 = ChooseGame1.Add("Alphabeticallist1", "Alphabetical Games");
  for (const TMenuGroup& g : AlphabeticalGroups()) b.Group(*menus.Alphabeticallist1, g);
  menus.N800x600Games1 = ChooseGame1.Add("N800x600Games1", "Small Screen Games");
  for (const TMenuGroup& g : SmallScreenGroups()) b.Group(*menus.N800x600Games1, g);
  menus.Favourites1 = ChooseGame1.Add("Favourites1", "Favourites");
  ChooseGame1.Add("N1", "-");
  for (const TMenuGroup& g : GameTypeMenus()) b.Group(ChooseGame1, g);
  return menus;
}

bool IsGameItem(const TMenuItem& item) {
  return item.Count() == 0 && item.OnClick && FindGame(item.Caption()).has_value();
}
