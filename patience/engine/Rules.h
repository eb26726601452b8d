#pragma once
// The rules of the game in play. A game is a filled-in rules record: the catalogue entry clears
// it, fills in counts, places and rule sets, and the engine reads nothing else to deal, validate,
// move, undo and lay out.

#include <bitset>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "cardtable/CardDeck.h"
#include "platform/core/Types.h"

// The numbered pile rules. The numbers are stored in the catalogue and must never shift:
// 5 is unused.
enum TPileRule : uint8_t {
  UpByOne = 0,
  DownByOne = 1,
  UpOrDownByOne = 2,
  KingOnAce = 3,
  AceOnKing = 4,
  UnusedRule5 = 5,
  AnyHigher = 6,
  AnyLower = 7,
  SameSuit = 8,
  AlternateColour = 9,
  AnySuit = 10,
  SameColour = 11,
  NotSameSuit = 12,
  Squared = 13,
  Fanned = 14,
  FanUpward = 15,
  BaseOnly = 16,
  FromReserve = 17,
  FromTableau = 18,
  FromWaste = 19,
  EmptyTakesAce = 20,
  EmptyTakesKing = 21,
  EmptyTakesTwo = 22,
  EmptyTakesJack = 23,
  DealAllBases = 24,
  DealOneBase = 25,
  RefillFromStock = 26,
  FromExcept = 27,
  DealTwoBases = 28,
  AceOfSpadesBase = 29,
  FirstSetsBase = 30,
  EachSetsBase = 31,
  FromWasteAlways = 32,
  NoReserveOntoCard = 33,
  NoTableauOntoCard = 34,
  NoWasteOntoCard = 35,
  NoStockOntoCard = 36,
  DragAnyFaceUp = 37,
  DragWholePile = 38,
  DragRuns = 39,
  DealByRows = 40,
  DealFaceUp = 41,
  DealFaceDown = 42,
  DealPileByPile = 43,
  RefillEmptyPiles = 44,
  DragFromDeck = 45,
  AlternateWastePlace = 46,
  AlternateStockPlace = 47,
  StockBelowTableau = 48,
  StockAtPoint = 49,
  OnlyWhenStockEmpty = 50,
  FoundationsPlayable = 51,
  KingsToBottom = 52,
  NoDropTarget = 53,
  WholeSuitsOnly = 54,
  FanSideways = 55,
  ThreeCardLimit = 56,
  PairGame = 57,
  RemovePairs = 58,
  ShowSelection = 59,
  StretchVertically = 60,
  NothingOntoCard = 61,
  DealBySuit = 62,
  UnlimitedMoves = 63,
  AutoMoveOnRequest = 64,
  AutoMoveForced = 65,
  ClockFoundations = 66,
  DealToFoundations = 67,
  UseDropAngles = 68,
  ValueIsPileIndex = 69,
  NoUndo = 70,
  SpecialStock = 71,
  NoAnimations = 72,
  RankInPrevious = 73,
};

// A set of the 80 rule elements.
class TPileRules {
 public:
  constexpr TPileRules() = default;
  TPileRules(std::initializer_list<TPileRule> rules) {
    for (auto r : rules) Bits.set(r);
  }
  bool Has(TPileRule r) const { return Bits.test(r); }
  bool operator[](TPileRule r) const { return Bits.test(r); }
  void Include(TPileRule r) { Bits.set(r); }
  void Exclude(TPileRule r) { Bits.reset(r); }
  bool Empty() const { return Bits.none(); }
  void Clear() { Bits.reset(); }
  friend bool operator==(const TPileRules&, const TPileRules&) = default;
  std::bitset<80> Bits;
};

// Games the engine treats specially. They are recognised by name in saved games, statistics
// and menus, so the name stays the key; this tag saves the engine the string tests. The
// catalogue rows carry the same tag.
enum class TGameSpecial : uint8_t { None, Clock, Dial, AcesUp, FourColours, Burleigh, OneFoundation };

// Pile kinds, shared by drops, history records and replay.
enum TPileKind : int {
  pkStock = 0,
  pkReserve = 1,
  pkTableau = 2,
  pkFoundation = 3,
  pkWaste = 4,
  pkExcept = 5,
  pkStockClick = 6,
  pkRedeal = 7,
};

struct TTableau {
  int Count = 0;
  TPileRules Rules;
  std::vector<int> CardsPerPile;     // empty: one card a pile
  std::vector<int> FaceDownPerPile;  // empty with CardsPerPile set: all but the last face down
  int LeftEmpty = 0;
  int EmptyPiles = 0;  // counted when the drag lists are made
};

struct TFoundations {
  int Count = 0;
  TCard* BaseCard = nullptr;
  TPileRules Rules;
};

struct TReserve {
  int Count = 0;
  bool FaceUp = false;
  bool VerticalFan = false;
  bool AllPlayable = false;
  TPoint Origin;  // X 0: the layout's reserve X; Y -1: a row at the top margin; Y < -1: a lower row
  bool FreeCells = false;
  bool CellsVertical = false;
  int DealtToCells = 0;
  int EmptyCells = 0;
};

struct TStock {
  int Decks = 0;          // 2: two packs, else one
  int DealCount = 0;      // cards a click deals to the waste; < 1 one card onto each pile
  int PassesAllowed = 1;  // 1: no redeal, 0: unlimited
  int PassesDone = 0;
  TPileRules Rules;
  TPoint Point;
  TPoint WastePoint;
};

struct TExceptPiles {
  int Count = 0;
  std::vector<int> CardsPerPile;
  bool FaceUp = false;
  bool ByPositionTable = false;
  std::vector<TPoint> Positions;
  bool FanHorizontal = false;
};

// DealMode elements.
constexpr uint8_t dmFastDeal = 1;    // element 0
constexpr uint8_t dmCompactFan = 2;  // element 1

// The King-on-Ace and Ace-on-King wraps: card onto target whatever the value rules say.
inline bool SpecialCase(const TPileRules& rules, const TCard* card, const TCard* target) {
  return (rules.Has(KingOnAce) && card->Value == cvKing && target->Value == cvAce) ||
         (rules.Has(AceOnKing) && card->Value == cvAce && target->Value == cvKing);
}

// An empty tableau pile or foundation is a list of one nil, never of length 0.
inline bool IsEmpty(const TCardList& pile) {
  return pile.empty() || pile[0] == nullptr;
}
// Cards held: 0 for [nil].
inline int CardCountOf(const TCardList& pile) {
  return IsEmpty(pile) ? 0 : int(pile.size());
}
// Index of the top element (0 for [nil] and [c]).
inline int TopIndex(const TCardList& pile) {
  return pile.empty() ? 0 : int(pile.size()) - 1;
}
// The top card, nil when the pile is empty.
inline TCard* TopCard(const TCardList& pile) {
  return IsEmpty(pile) ? nullptr : pile.back();
}
// An empty pile: [nil].
inline TCardList EmptyPile() {
  return TCardList{nullptr};
}

// The record of the game in play, its places and piles. One exists per game window.
struct TGameRules {
  TTableau Tableau;
  TFoundations Foundations;
  TReserve Reserve;
  TStock Stock;
  TExceptPiles ExceptPiles;

  std::vector<TPoint> TableauPlaces;
  std::vector<TPoint> FoundationPlaces;
  std::vector<float> FoundationAngles;

  std::vector<TCardList> TableauPiles;     // bottom card first
  std::vector<TCardList> FoundationPiles;  // bottom card first
  TCardList ReserveCards;                  // top card last; free cells: one slot a cell
  TCardList WasteCards;                    // top card last
  std::vector<TCardList> ExceptPileCards;

  std::string GameName;
  std::string LastGameName;
  std::string SaveName;
  std::string LastSaveName;
  std::string HelpCode;
  int GamePicture = 0;

  uint8_t DealMode = 0;
  // The entry's wish that the stock click alternate the stock's ends starting from the top.
  // The engine copies it into its own per-deal flag at every deal; play never writes it here.
  bool StockFromTop = false;
  int Points = 0;
  int FoundationCount = 0;
  bool GameClosed = false;

  // Resets the record before a game fills it in; does nothing during a dry run (the
  // rules-only load of help and replays). Places, piles, the name, EmptyPiles and the stock
  // and waste points are left as they are.
  void ClearRules(bool dryRun);

  // Where the record's own trace lines go ("Rules cleared"); the engine routes them to its host.
  std::function<void(const std::string&)> OnTrace;
};
