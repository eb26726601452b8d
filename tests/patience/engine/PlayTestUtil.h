#pragma once
// What the play tests share: the records a player could make now (from the engine's own drag
// list and drop points), the whole position as text, and the invariants every event must keep.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/patience/engine/EngineTestUtil.h"

// One history record: kind, pile, index, target.
struct TRecord {
  int Kind = 0;
  int Pile = 0;
  int Index = 0;
  int Target = 0;
  friend bool operator==(const TRecord&, const TRecord&) = default;
};
std::string ToString(const TRecord& r);

// Where a card the player may take lies, as the engine finds it for a drop and its record (reserve
// and waste: the slot, index 0); false when it lies in no such place.
bool SourceOf(const TPatienceEngine& e, const TCard* card, int& kind, TPilePos& pos);
// The pile a drop point stands for, found by position: an empty cell, a foundation, a tableau pile.
bool TargetOf(const TPatienceEngine& e, int index, int& kind, TPilePos& pos);

// Every action the rules accept now: drags of the engine's draggable cards (and of the stock's
// next card when cards are dragged from the stock) to its drop points, the stock click, the
// redeal when offered, and in pair games clicks on the cards on top.
std::vector<TRecord> LegalMoves(const TPatienceEngine& e);
// Drags the rules refuse (some onto no drop point at all).
std::vector<TRecord> RefusedDrags(const TPatienceEngine& e);

// The position as text: every pile with faces, positions, angles and whether each card is shown,
// the stock's order, the foundation count, passes, base card and the won flag.
std::string PlaySnapshot(const TPatienceEngine& e);

// The invariants of play (see the cpp); checked after every event.
::testing::AssertionResult PlayIsSound(const TPatienceEngine& e, const TCardTable& t);

// Every move one step and every turn instant: play tests check positions, not animation.
void FastTable(TCardTable& t);

// The records of the history (lines 3 on).
std::vector<TRecord> HistoryRecords(const TPatienceEngine& e);

// Drops card (already a source of a record) on the drop point of the given pile.
int DropIndexOf(const TPatienceEngine& e, int kind, int pile);

// A position laid out by a test. Cards are written "Ks", "Td", "_5h" (face down); "" is an empty
// free cell. Cards that no list names go to the stock after those of Stock (top first), unless
// Rest names a tableau pile that takes them all.
struct TPosition {
  std::vector<std::vector<std::string>> Tableau = {};
  std::vector<std::vector<std::string>> Foundations = {};
  std::vector<std::string> Reserve = {};
  std::vector<std::string> Waste = {};
  std::vector<std::string> Stock = {};
  int Rest = -1;
};
// Lays the position out on the table of the dealt game: piles, faces, places as a layout change
// gives them, the stock, the drag lists; the history keeps only its first three lines and the
// foundation count follows the foundations.
void Arrange(TEngineRig& rig, const TPosition& position);
// The deck's card of that name ("Qh").
TCard* CardNamed(const TPatienceEngine& e, const std::string& name);

// A made-up game with every kind of pile: four fanned tableau piles (places at y 300), four
// foundations to their right, a waste (one card a click) and four free cells at (500, 15). The
// extra function changes the rules further.
std::shared_ptr<TCustomGame> LabGame(const std::string& name = "Lab",
                                     std::function<void(TGameRules&)> extra = nullptr);

// The fixture of the play tests: an engine on a table where every move is one step, the lab game
// dealt by Choose with the extra rules and the seed, and short names for what the tests use.
class TLabTest : public ::testing::Test {
 protected:
  void Choose(std::function<void(TGameRules&)> extra, const std::string& name = "Lab", uint32_t seed = 3) {
    FastTable(*Rig.Table);
    Rig.Engine->SetRandomSeed(seed);
    ASSERT_TRUE(Rig.Engine->ChooseGame(LabGame(name, std::move(extra))));
  }
  TPatienceEngine& E() { return *Rig.Engine; }
  TGameRules& R() { return Rig.Engine->Rules; }
  TCard* C(const std::string& n) { return CardNamed(E(), n); }
  int Drop(int kind, int pile) { return DropIndexOf(E(), kind, pile); }
  TEngineRig Rig;
};
