#pragma once
// The play engine: the rules record and piles of the game in play, the layout variables, the
// deal with its own generator, play (drops, clicks, the stock, pair games, auto-move, redeals),
// the move history with undo and redo, and the score. It draws on a card table, hears the
// table's events and tells the window what to show through TEngineHost; it has no window of its
// own.
//
// An engine made on a deck instead of a table has no view: its cards change only in the model
// (positions, faces, stock order). The Extended layout deals each new game once on such an
// engine to measure it before the real deal.

#include <cstdint>
#include <memory>
#include <string>

#include "cardtable/CardTable.h"
#include "patience/engine/EngineHost.h"
#include "patience/engine/Layout.h"
#include "patience/engine/Rules.h"
#include "platform/core/Random.h"
#include "platform/core/StringList.h"

// What the engine needs of a game of the catalogue: its caption, its rules and its places.
class TGameSetup {
 public:
  virtual ~TGameSetup() = default;
  // The exact menu caption; saved games and statistics know the game by it.
  virtual const std::string& Caption() const = 0;
  // Clears the record and stores every rule field of the game (not its places).
  virtual void ApplyRules(TGameRules& rules) const = 0;
  // Stores the game's places for the layout, and nothing else.
  virtual void ComputePlaces(const TLayout& layout, TGameRules& rules) const = 0;
};

// Points of the scored sounds (the scoring file may change them).
struct TScoreValues {
  int Drop = -1;
  int Success = 50;
  int Undo = -5;
  int Waste = -10;
};

// A place in a pile: the pile (or reserve or waste slot) and the card's index in it.
struct TPilePos {
  int Pile = 0;
  int Index = 0;
  friend bool operator==(const TPilePos&, const TPilePos&) = default;
};

// The games the engine knows by name (the tag the catalogue rows carry too).
TGameSpecial EngineSpecialOf(const std::string& gameName);

class TTableMotion;

// What the layout fits the game to: the table's size, the card size, and how many stock cards
// make one step of the stock pile's edge.
struct TTableFrame {
  int Width = 0;
  int Height = 0;
  int CardWidth = 0;
  int CardHeight = 0;
  int StockStep = 0;
};

// What the hidden trial deal of the Extended layout found.
struct TTrialResult {
  TPoint Measured;   // MaxInLayout of the deal at the unstretched places
  TStretch Stretch;  // the stretch to the table
  bool Fits = true;  // the stretched deal, its places and the stock lie inside the table
};

class TPatienceEngine {
 public:
  // An engine playing on a table (and the table's deck). The host may be null (no window).
  explicit TPatienceEngine(TCardTable& table, TEngineHost* host = nullptr);
  // An engine without a view, on a deck of its own.
  explicit TPatienceEngine(TCardDeck& deck, TEngineHost* host = nullptr);
  ~TPatienceEngine();
  TPatienceEngine(const TPatienceEngine&) = delete;
  TPatienceEngine& operator=(const TPatienceEngine&) = delete;

  // ---------------------------------------------------------------------------------------------
  // State read by the window and by the play logic

  TGameRules Rules;
  TLayout Layout;
  int TableauFan = 20;  // the fan step of the game in play (Layout.FanOffset adjusted)

  TStringList HistoryList;  // the saved-game text: name, seed, "O" open or "0" closed, then records
  TStringList UndoList;
  int HistoryPointer = 0;
  int UndoPointer = 0;

  bool Busy = false;
  bool Redoing = false;
  TCard* SelectedCard = nullptr;
  // Per deal: the stock click alternates the stock's ends ("Burleigh"), starting from the top.
  bool StockFromTop = false;
  TCard* LastDealtCard = nullptr;
  // Per deal: a redeal that gathered the tableau deals pile by pile from then on.
  bool RedealPileByPile = false;
  TScoreValues ScoreValues;

  // The lists last handed to the table.
  TDropPoints DropPointList;
  TDropAngles DropAngleList;
  TCardList DraggableList;

  // ---------------------------------------------------------------------------------------------
  // Games and deals

  // Chooses a game as its menu item does: nothing when it is the game in play or while a move or
  // command runs (false); otherwise the game's rules and places go into the record and it is dealt.
  bool ChooseGame(std::shared_ptr<const TGameSetup> game);
  const TGameSetup* CurrentGame() const { return FGame.get(); }

  // Deals the game the record holds. A restart of a closed game of the same name stays closed,
  // except for a new deal (the New command), which always opens it.
  void StartGame(bool newDeal = false);
  // The same game dealt again with the next seed (NewExecute is the command with its animation).
  void NewDeal();

  // The seed the next deal records and shuffles with. Until one is set, the first deal takes one
  // from the time of day.
  uint32_t RandomSeed() const { return FDealRandom.Seed; }
  void SetRandomSeed(uint32_t seed);
  bool NeedRandomize() const { return FNeedRandomize; }
  // The next deal takes a new seed from the time of day again (after a restart or a replay, which
  // dealt from a seed of their own: the deal after them would otherwise follow from that seed).
  void RandomizeNextDeal() { FNeedRandomize = true; }
  // The deal's generator, continued by reshuffles.
  TRandom& DealRandom() { return FDealRandom; }

  // Deals the tableau from the stock (also after a redeal that gathered it).
  void TableauDeal();
  // Gathers the tableau into the stock (bottom up, piles in order), reshuffles for DealCount -4
  // and deals it again pile by pile: the core of the redeal of gathering games, which the Redeal
  // command (ReDealWastepileExecute) records and guards; this core does neither.
  void RedealTableau();
  // Hands the table the draggable cards and drop points, counting empty piles and cells.
  void SetLists();

  // Plays a sound through the host and keeps the score: "drop.wav", "success.wav", "undo.wav" and
  // "waste.wav" score, "success.wav" counts a card onto the foundations. Nothing at all while the
  // table's screen updates are off, except "fanfare_x.wav".
  void Sound(const std::string& name, int mode, int ms);

  TGameSpecial Special() const { return FSpecial; }
  // The table's screen updates (always off without a view).
  bool ScreenUpdates() const;
  TCardTable* Table() const { return FTable; }
  TCardDeck& Deck() const { return *FDeck; }
  TEngineHost& Host() const { return *FHost; }
  bool HasView() const { return FTable != nullptr; }

  // The free cell place k (1..), as deals, markers and drop points use it.
  TPoint CellPlace(int k) const { return ::CellPlace(Rules, Layout, k); }
  TPoint StockPlace() const { return ::StockPlace(Rules, Layout); }
  TPoint WastePlace() const { return ::WastePlace(Rules, Layout); }

  // ---------------------------------------------------------------------------------------------
  // The table's events. An engine made on a table attaches these handlers to the table's
  // OnCardDropEvent, OnCardClickEvent, OnTableClickEvent and OnCardRestoredEvent itself.

  // A dragged card was released over drop point index (-1: none). Records the move, validates it
  // and answers the table: the card (and the cards on it) fly to the target, or back home.
  void CardTable1CardDropEvent(TCard* card, int x, int y, int relX, int relY, int index);
  // A press on a card: a stock deal, a pair-game choice, a zoom (right) or an auto-move request
  // (middle).
  void CardTable1CardClickEvent(TCard* card, TMouseButton button);
  // A press on the bare table: the right button runs one forced auto-move pass.
  void TableClickEvent(int x, int y, TMouseButton button);
  void CardRestoredEvent();

  // ---------------------------------------------------------------------------------------------
  // Commands of the window. Each does nothing while another command of the game runs.

  // New deal: the tableau flies back to the stock when animated redeals are on, then the game is
  // dealt again with the next seed.
  void NewExecute();
  // Redeal: the waste back into the stock, or the tableau gathered and dealt again. Refused
  // unless the Redeal command is offered (the stock is empty and passes remain, or the game
  // gathers its tableau and passes remain).
  void ReDealWastepileExecute();
  // Undo the last move (a stock deal and a refill with the move before it count as one).
  void Undo1Click();
  // Redo the next undone move.
  void Redo1Click();
  // The auto-move option (the host keeps it): on runs a pass at once.
  void AutoMoveOnClick();
  void AutoMoveOffClick();
  void AutomoveToggle();
  // One auto-move pass (card nil: any card; otherwise that card only, forced) and the chain of
  // passes that follows it while the option is on.
  void Automove(TCard* card);
  // The middle click: that card to a foundation, then a pass while the option is on.
  void CardMiddleClicked(TCard* card);
  // One forced pass, as a right click on the table runs it.
  void ForcedAutoMovePass();

  bool CanUndo() const;
  bool CanRedo() const;
  bool CanRedeal() const { return FRedealOffered; }
  // The game was won (nothing may be dragged until an undo or a new deal).
  bool Won() const { return FWon; }
  // The sparkle over a foundation that takes a card: this pink, or yellow for the last cards of
  // the game (those that play "BEEPSPAC.WAV").
  static constexpr TColor kSparkleColour = 0xFFAAFF;
  static constexpr TColor kLastCardsSparkleColour = 0x00FFFF;
  // A command or an event handler of the game runs.
  bool CommandRunning() const { return FDepth > 0; }

  // ---------------------------------------------------------------------------------------------
  // Replay

  // Replays one history record through the table as a press and a drop (or a stock click or a
  // redeal) and records it again. A record that names no card, a card that may not be dragged or
  // a drop index beyond the drop points is refused like a refused drop. False when the record was
  // not a valid move.
  bool MakeMove(TPileKind kind, int pile, int index, int target);
  // Replays the records of a saved game (lines 3 on; the caller has dealt the game from line 1's
  // seed) with auto-move off and animated redeals off. A closed game ("0" on line 2) stays closed.
  // Stops at a line that is not a number.
  void ReplayMoves(const TStringList& lines);
  bool Replaying() const { return FReplaying; }
  // Held by whoever replays a saved game, from its deal to its last move: the deal moves nothing
  // to the foundations by itself (the file holds every move the game made), and the deal after
  // the replay takes a new seed.
  class TReplayScope;

  // ---------------------------------------------------------------------------------------------
  // Rules of play (no side effects)

  // Whether card may go from the source onto the target pile (its top slot, nil when empty).
  bool ValidDrop(const TCard* card, TPileKind targetKind, TPilePos target, TPileKind sourceKind,
                 TPilePos source) const;
  // Run size limit through free cells and empty piles.
  int SuperMove(int emptyPiles) const;
  // Where a card the player may take lies: its pile kind and place (reserve and waste: the slot, index 0) and
  // the pile its record names; false when it lies in no such place.
  bool FindSource(const TCard* card, TPileKind& kind, TPilePos& pos, int& recordPile) const;
  // The auto-move safety test: true keeps the card back.
  bool AutoMoveKeepsBack(const TCard* card) const;
  // The auto-move option as the passes see it (off while redoing and replaying).
  bool AutoMoveActive() const;

  // ---------------------------------------------------------------------------------------------
  // Layout

  // WidthFactor and HeightFactor from the deck's card size.
  void UpdateCardFactors();
  // The places of the game in play for the layout variables as they are now, and the fan step;
  // every other field of the record and all play state stay. False when no game is chosen.
  bool ReloadGamePlaces();
  // Move place markers and cards of the game in play to what the layout gives now.
  void ModifyReserve();
  void ModifyTableau();
  void ModifyFoundation();
  void ModifyExcept();
  void ModifyDeck();
  void ModifyWaste();
  void ModifyRedeal();
  void ModifyAll();
  // Stretches the current layout to the table and moves the game there.
  void AutoMode();
  // Before a new game's deal in the Extended layout: deals it hidden on an engine without a view
  // at the unstretched places, stretches the layout to the table by what that deal measured, and
  // leaves the record's places stretched. The real deal then uses the same seed.
  void AutoStart();
  // The Compact (false) or the Extended layout re-applied to the variables and the game in play.
  void ApplyLayout(bool extended);
  // Whether the game in play, dealt again from its seed in the Extended layout at the card size in
  // force, lies inside the table (true while no game is dealt).
  bool DealtGameFits();
  // On an engine without a view, the hidden trial deal: deals game from seed at the places of base,
  // stretches the layout to frame's table by what the deal measured (never past the usable area,
  // whatever fixed offsets the game's places carry) and lays the cards out there. Layout and the
  // cards are left stretched.
  TTrialResult DealToMeasure(std::shared_ptr<const TGameSetup> game, const TLayout& base, uint32_t seed,
                             const TTableFrame& frame);

 private:
  void Construct(TEngineHost* host);
  void Trace(const std::string& line);
  void Pause(int ms, bool onlyWithSound = false);
  void ResolveSeed();
  // Table operations that also work without a view.
  TCard* DealFromStock();
  void MoveTo(TCard* card, int x, int y);
  void AddAt(TCard* card, int x, int y, float angle = 0);
  void TurnUp(TCard* card, bool ignoreOverlaps = false);
  void TurnDown(TCard* card, bool ignoreOverlaps = false);
  void RotateTo(TCard* card, float angle);
  void TakeOff(TCard* card);
  float FoundationAngle(int i) const;

  // Layout (EngineLayout.cpp).
  TTableFrame Frame() const;
  int StockStep() const;
  TCardDeck* TrialDeck();
  TTrialResult MeasureTrial(const TLayout& base, uint32_t seed);
  TStretch FitStretch(const TTableFrame& frame);
  void MoveCardsToPlaces();
  bool InsideTable(const TTableFrame& frame) const;

  void ShowPlaces();
  void DealBases();
  void DealBaseOnlyCard();
  void DealToFoundations();
  void DealReserve();
  void DealExceptPiles();
  void DealOneCard(TCard* card, int pile, int row, std::vector<int>& offsets);
  void KingToBottom(int pile);
  void SetFoundationLabel();
  void RedrawTable();

  // The steps of StartGame (Deal.cpp).
  void EndPreviousGame();
  void ClearForDeal();
  void ClearTableForDeal();
  void DealGame(bool keepClosed, TTableMotion& motion);
  uint32_t RecordSeed(bool keepClosed);
  void OpenForPlay();
  void ShowCentrePile();
  int TableauCountOf(int p) const;
  void TableauDealPileByPile(int piles, std::vector<int>& offsets);
  void TableauDealByRows(int piles, std::vector<int>& offsets);

  // The steps of SetLists (DragLists.cpp).
  void SetDropLists();
  void AddTableauDropPoints();
  void AddFoundationDropPoints();
  void SetFoundationDropAngles();
  void AddCellDropPoints();
  void SetDraggableList();
  void AddDraggableReserve();
  void AddDraggableTableau(const TCardList& pile);
  bool CarriesRun(const TCardList& pile, int k, int top) const;
  bool CarriesFaceUp(const TCardList& pile, int k, int top) const;
  void AddDraggableFoundations();

  // Play (Drops.cpp, Clicks.cpp, History.cpp, AutoMove.cpp, Redeal.cpp).
  class TCommandScope;
  friend class TCommandScope;
  void AttachTable();
  void SetRedealOffered(bool offered);
  void ShowPointsLabel();
  void CloseGame();
  void SetClosedCaption();
  void CheckWin(const char* trace);
  void StartSparkle(TPoint place);
  TPoint FoundationPoint(int f) const;
  TPoint StepBeyond(TPoint p, int steps) const;
  bool FindTarget(int index, const TCard* dragged, TPoint home, TPileKind& kind, TPilePos& pos) const;
  void AppendHistory(TPileKind kind, int pile, int index, int target);
  void AppendUndo(TPileKind kind, int pilePlus1, int link, int index);
  int Link() const { return -HistoryList.Count(); }
  void MarkTurnedUp();
  void Refuse();
  void MoveRun(const TPilePos& source, int target, bool targetEmpty, TPoint point);
  void PlaceOnFoundation(TCard* card, TPileKind kind, const TPilePos& source, int f, TPoint point);
  // The source pile after a card left it (intoCell: the card went to a free cell).
  void TrimSource(TPileKind kind, const TPilePos& source, bool intoCell = false);
  void RefillEmptyPile(int pile);
  void ClockSpecial(int f);
  void CommitBase(TCard* card);
  // Drops.cpp: the steps of a drop.
  bool DropTargetOf(TCard* card, int index, bool sourceFound, TPileKind& kind, TPilePos& pos);
  bool DropAllowed(const TCard* card, TPileKind kind, const TPilePos& source, TPileKind targetKind,
                   const TPilePos& target) const;
  void PlaceCard(TCard* card, TPileKind kind, const TPilePos& source, TPileKind targetKind, int target,
                 TPoint point);
  TCard* LayDown(TCard* card, TPileKind kind, const TPilePos& source, TPileKind targetKind, int target,
                 TPoint point);
  void StoreDropped(TCard* card, TCard* stored, TPileKind targetKind, int target);
  void TurnUpUncovered(TCard* card);
  void TrimReserve(int slot, bool intoCell);
  void TrimTableauPile(const TPilePos& source);
  void TrimFoundation(const TPilePos& source);
  void StockClick();
  void PairClick(TCard* card);
  void DealToPiles(int pile);
  void HistoryChanged();
  TCard* GetCard(TPileKind kind, TPilePos pos);
  void SetCard(TCard* card, TPileKind kind, TPilePos pos);
  void UndoMove(TPileKind sourceKind, TPileKind targetKind, bool turnedBack, TPilePos target,
                TPilePos source);
  TPoint ReturnPlace(TPileKind sourceKind, bool turnedBack, TPilePos source) const;
  void RelayReserve();
  TCard* CardAtSource(TPileKind kind, int pile, int index) const;
  bool AutomovePass(TCard* card);
  bool ValidAutoMove(TPileKind kind, TPilePos pos, bool forced, bool asked);
  // The steps of the stock click and the pair click (Clicks.cpp).
  bool DealStockToPiles(int left);
  void DealStockCardToPile(TCard* c, int p);
  void DealStockToWaste(int left, int indexLine);
  TCard* DealFromEitherEnd(bool hadWaste, int indexLine);
  void DealStockCardToWaste(TCard* c, int k);
  void DealStockToFoundation();
  void EndStockDeal();
  TPilePos TableauPosOf(const TCard* card) const;
  void SelectPairCard(TCard* card, TPilePos at);
  void UnselectPairCard(TCard* card);
  void PickSecondOfPair(TCard* card, TPilePos at);
  void UncoverPairPlace(TPilePos p);
  // The steps of undo, of putting a card back and of a replayed move (History.cpp).
  struct TUndoStep;
  int UndoLine(int k) const;
  bool ReadUndoStep(TUndoStep& u) const;
  void UndoStep(const TUndoStep& u);
  void TurnDownUncovered(const TUndoStep& u);
  void UndoRunRest(const TUndoStep& u);
  void SetReserveCard(TCard* card, int slot);
  TPoint ExceptReturnPlace(int pileIndex) const;
  TPoint TableauReturnPlace(bool turnedBack, int pileIndex) const;
  bool ReplayDraggable(TPileKind kind, const TCard* card) const;
  TPoint ReplayPressPoint(TPileKind kind, const TCard* card) const;
  // The steps of an auto-move pass (AutoMove.cpp).
  bool AutoMoveFromSources(const TCard* card, bool forced, bool asked);
  void Redeal(bool animated);
  void CollectCards();
  void FlyToStock(bool gather);

  TCardTable* FTable = nullptr;
  TCardDeck* FDeck = nullptr;
  TEngineHost* FHost = nullptr;
  std::unique_ptr<TEngineHost> FNullHost;
  std::shared_ptr<const TGameSetup> FGame;
  TGameSpecial FSpecial = TGameSpecial::None;
  TRandom FDealRandom;
  bool FNeedRandomize = true;
  // The deck of the hidden trial deal, kept between games.
  std::unique_ptr<TCardDeck> FTrialDeck;
  // Without a view: the stock pile's edge step of the table the trial deal measures for.
  int FStockStep = 0;

  // Play state.
  int FDepth = 0;                  // commands and handlers running (the game toolbar's Tag)
  bool FDealing = false;           // StartGame runs
  bool FQuiet = false;             // a redo runs: no auto-move, the points label stays
  bool FReplaying = false;         // a saved game is replayed: no auto-move, plain redeals
  bool FMakingMove = false;        // the next event is a replayed press or drop (taken once)
  bool FWon = false;               // the deal was won; nothing is draggable
  bool FRedealOffered = false;     // the Redeal command is shown and enabled
  bool FForceAutoMove = false;     // the passes of a forced pass skip the safety test
  bool FAutoMoveForcedOn = false;  // a forced pass runs as if the option were on
  int FAutoMoveDepth = 0;          // passes running; drops inside them do not start their own
  bool FDropSucceeded = false;     // the last drop handled moved its card
  TPilePos FSelected;              // where SelectedCard lies (pair games)
};
