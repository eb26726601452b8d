#include "patience/engine/PatienceEngine.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>

#include "patience/engine/EngineScopes.h"
#include "platform/core/Numeric.h"

namespace {

constexpr const char* kValueWords[13] = {"    Ace", "    Two", "  Three", "   Four", "   Five",
                                         "    Six", "  Seven", "  Eight", "   Nine", "    Ten",
                                         "   Jack", "  Queen", "   King"};

// The window of an engine that has none.
class TNoHost : public TEngineHost {};

// The hidden trial deal sees the live window's screen size (so it fans as the real deal will)
// and nothing else of it.
class TTrialHost : public TEngineHost {
 public:
  explicit TTrialHost(TEngineHost& live) : FLive(live) {}
  TPoint ScreenSize() override { return FLive.ScreenSize(); }

 private:
  TEngineHost& FLive;
};

// The table's deal speeds for the length of a deal, put back however the deal ends.
class TDealSpeeds {
 public:
  explicit TDealSpeeds(TCardTable* table) : FTable(table) {
    if (!FTable) return;
    FCardSpeed = FTable->CardSpeed();
    FTurnSpeed = FTable->TurnOverAnimationSpeed();
    FLift = FTable->TurnOverAnimationLift;
    FSlowMove = FTable->SlowMoveRegion;
    FTable->TurnOverAnimationLift = false;
    FTable->SlowMoveRegion = false;
  }
  ~TDealSpeeds() {
    if (!FTable) return;
    FTable->SetCardSpeed(FCardSpeed);
    FTable->SetTurnOverAnimationSpeed(FTurnSpeed);
    FTable->TurnOverAnimationLift = FLift;
    FTable->SlowMoveRegion = FSlowMove;
  }
  TDealSpeeds(const TDealSpeeds&) = delete;
  TDealSpeeds& operator=(const TDealSpeeds&) = delete;

  void FastCards() {
    if (FTable) FTable->SetCardSpeed(FCardSpeed * 8);
  }
  void FastTurns() {
    if (FTable) FTable->SetTurnOverAnimationSpeed(FTurnSpeed * 8);
  }
  void NormalTurns() {
    if (FTable) FTable->SetTurnOverAnimationSpeed(FTurnSpeed);
  }
  void NormalCards() {
    if (FTable) FTable->SetCardSpeed(FCardSpeed);
  }

 private:
  TCardTable* FTable;
  int FCardSpeed = 0;
  int FTurnSpeed = 0;
  bool FLift = false;
  bool FSlowMove = false;
};

bool SameColourOf(const TCard* a, const TCard* b) {
  return a->IsRed() == b->IsRed();
}

}  // namespace

TGameSpecial EngineSpecialOf(const std::string& gameName) {
  if (gameName == "The Clock") return TGameSpecial::Clock;
  if (gameName == "The Dial") return TGameSpecial::Dial;
  if (gameName == "Aces Up") return TGameSpecial::AcesUp;
  if (gameName == "Four Colours") return TGameSpecial::FourColours;
  if (gameName == "Burleigh") return TGameSpecial::Burleigh;
  if (gameName == "One Foundation") return TGameSpecial::OneFoundation;
  return TGameSpecial::None;
}

// -----------------------------------------------------------------------------------------------
// Construction

TPatienceEngine::TPatienceEngine(TCardTable& table, TEngineHost* host)
    : FTable(&table), FDeck(table.CardDeck()) {
  Construct(host);
  AttachTable();
}

TPatienceEngine::TPatienceEngine(TCardDeck& deck, TEngineHost* host) : FDeck(&deck) {
  Construct(host);
}

TPatienceEngine::~TPatienceEngine() {
  if (!FTable) return;
  FTable->OnCardDropEvent = nullptr;
  FTable->OnCardClickEvent = nullptr;
  FTable->OnTableClickEvent = nullptr;
  FTable->OnCardRestoredEvent = nullptr;
}

void TPatienceEngine::Construct(TEngineHost* host) {
  if (!host) {
    FNullHost = std::make_unique<TNoHost>();
    host = FNullHost.get();
  }
  FHost = host;
  Rules.OnTrace = [this](const std::string& line) { Trace(line); };
  Layout.OnTrace = [this](const std::string& line) { Trace(line); };
  Layout.SetConstantVariables(1.0f, 1.0f);
  UpdateCardFactors();
  TableauFan = Layout.FanOffset;
}

void TPatienceEngine::Trace(const std::string& line) {
  FHost->Trace(line);
}

bool TPatienceEngine::ScreenUpdates() const {
  return FTable && FTable->ScreenUpdates();
}

// The deal's pacing: nothing while nothing is shown.
void TPatienceEngine::Pause(int ms, bool onlyWithSound) {
  if (!ScreenUpdates()) return;
  if (onlyWithSound && !FHost->SoundOn()) return;
  FHost->Pause(ms);
}

void TPatienceEngine::SetRandomSeed(uint32_t seed) {
  FDealRandom.Seed = seed;
  FNeedRandomize = false;
}

void TPatienceEngine::ResolveSeed() {
  if (!FNeedRandomize) return;
  using namespace std::chrono;
  FDealRandom.Seed = uint32_t(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
  FNeedRandomize = false;
}

// -----------------------------------------------------------------------------------------------
// Table operations that also work without a view

TCard* TPatienceEngine::DealFromStock() {
  return FTable ? FTable->DealCard(FDeck) : FDeck->NextCard();
}

void TPatienceEngine::MoveTo(TCard* card, int x, int y) {
  if (FTable && card->Displayed) {
    FTable->MoveCard(card, x, y);
  } else {
    card->X = x;
    card->Y = y;
  }
}

void TPatienceEngine::AddAt(TCard* card, int x, int y, float angle) {
  if (FTable) {
    FTable->AddCard(card, x, y, angle);
  } else {
    card->X = x;
    card->Y = y;
    card->Angle = angle;
  }
}

void TPatienceEngine::TurnUp(TCard* card, bool ignoreOverlaps) {
  if (card->FaceUp) return;
  if (FTable)
    FTable->TurnOverCard(card, ignoreOverlaps);
  else
    card->FaceUp = true;
}

void TPatienceEngine::TurnDown(TCard* card, bool ignoreOverlaps) {
  if (!card->FaceUp) return;
  if (FTable)
    FTable->TurnOverCard(card, ignoreOverlaps);
  else
    card->FaceUp = false;
}

void TPatienceEngine::RotateTo(TCard* card, float angle) {
  if (FTable && card->Displayed)
    FTable->RotateCard(card, angle);
  else
    card->Angle = angle;
}

void TPatienceEngine::TakeOff(TCard* card) {
  if (FTable)
    FTable->RemoveCard(card);
  else
    card->Displayed = false;
}

float TPatienceEngine::FoundationAngle(int i) const {
  return i < int(Rules.FoundationAngles.size()) ? Rules.FoundationAngles[size_t(i)] : 0.0f;
}

// -----------------------------------------------------------------------------------------------
// Sound and score

void TPatienceEngine::Sound(const std::string& name, int mode, int ms) {
  if (!ScreenUpdates() && name != "fanfare_x.wav") return;
  std::string play = name;
  if (name == "drop.wav") {
    Rules.Points += ScoreValues.Drop;
  } else if (name == "success.wav") {
    Rules.Points += ScoreValues.Success;
    ++Rules.FoundationCount;
    if (Rules.FoundationCount >= (Rules.Stock.Decks == 2 ? 88 : 44)) play = "BEEPSPAC.WAV";
  } else if (name == "undo.wav") {
    Rules.Points += ScoreValues.Undo;
  } else if (name == "waste.wav") {
    Rules.Points += ScoreValues.Waste;
  } else if (name == "drop0.wav") {
    play = "drop.wav";
  } else if (name == "waste0.wav") {
    play = "waste.wav";
  }
  FHost->PlaySound(play, mode, ms);
  // A redo keeps the points it started with, so the label waits for its end.
  if (!FQuiet) FHost->ShowPoints(Rules.Points);
}

// -----------------------------------------------------------------------------------------------
// Choosing and dealing a game

bool TPatienceEngine::ChooseGame(std::shared_ptr<const TGameSetup> game) {
  // Not while a move or a command of the game in play is under way.
  if (!game || Rules.GameName == game->Caption() || CommandRunning()) return false;
  FGame = std::move(game);
  FGame->ApplyRules(Rules);
  ReloadGamePlaces();
  StartGame();
  return true;
}

void TPatienceEngine::NewDeal() {
  if (Busy || CommandRunning() || Rules.GameName.empty()) return;
  FHost->SetCommand(TEngineCommand::NewGame, false);
  StartGame(true);
}

void TPatienceEngine::StartGame(bool newDeal) {
  Trace("Start StartGame");
  FHost->ShowGamePicture(Rules.GamePicture);
  if (Rules.GameName.empty()) {
    Trace("Exit early - StartGame GameName is empty");
    return;
  }
  // A deal is not interrupted, least of all by another deal let in by one of its pauses.
  if (FDealing) return;
  TSetFor<bool> dealing(FDealing, true);
  TCommandScope scope(*this);
  FHost->StopEffects();
  // A game whose history is marked closed has been recorded already (or never counts).
  const bool previousOpen = HistoryList.Count() < 3 || HistoryList[2] != "0";
  if (!Rules.GameClosed && previousOpen && !Rules.LastGameName.empty() && FHost->ScoringOn()) {
    Trace("Updates stats for " + Rules.LastGameName);
    FHost->RecordGame(Rules.LastGameName, Rules.SaveName, Rules.Points, false);
  }
  Redoing = false;
  FHost->SetCommand(TEngineCommand::MenuBar, false);

  if (HasView() && FHost->ExtendedLayout() && Rules.GameName != "Loading" && ScreenUpdates() &&
      Rules.GameName != Rules.LastGameName) {
    Trace("AutoStart now called");
    AutoStart();
  }

  // A restart of a closed game keeps it closed; a new deal never does.
  const bool keepClosed =
      !newDeal && Rules.GameName == Rules.LastGameName && HistoryList.Count() >= 3 && HistoryList[2] == "0";
  Rules.GameClosed = keepClosed;
  Busy = true;
  if (FTable) FTable->DisableCardClicks = true;

  HistoryList.Clear();
  UndoList.Clear();
  HistoryPointer = UndoPointer = 0;
  Rules.SaveName.clear();
  HistoryList.Add(Rules.GameName);
  Trace("New Game:");
  Trace("GameName: " + Rules.GameName);
  Trace("LastGameName: " + Rules.LastGameName);
  Trace("SaveName: " + Rules.SaveName);
  Trace("LastSaveName: " + Rules.LastSaveName);

  // Clear the table; the markers stay when the same game is dealt again.
  if (FTable) {
    const bool updates = FTable->ScreenUpdates();
    FTable->SetScreenUpdates(false);
    if (FTable->Sprite().Visible) FTable->Sprite().Erase();
    FTable->ClearTable();
    if (Rules.GameName != Rules.LastGameName) FTable->HidePlaces(FDeck);
    Rules.LastGameName = Rules.GameName;
    FTable->SetScreenUpdates(updates);
    FTable->Paint();
    if (updates) FHost->CloseStartScreen();
  } else {
    FDeck->ResetCards();
    Rules.LastGameName = Rules.GameName;
  }

  FHost->SetCommand(TEngineCommand::SaveSet, true);
  SetRedealOffered(false);

  Rules.TableauPiles.clear();
  Rules.FoundationPiles.clear();
  Rules.ReserveCards.clear();
  Rules.WasteCards.clear();
  Rules.ExceptPileCards.clear();
  Rules.Points = 0;
  Rules.FoundationCount = 0;
  Rules.Foundations.BaseCard = nullptr;
  Rules.Stock.PassesDone = 0;
  SelectedCard = nullptr;
  FSelected = TPilePos();
  FWon = false;
  LastDealtCard = nullptr;
  StockFromTop = Rules.StockFromTop;
  RedealPileByPile = false;
  FSpecial = EngineSpecialOf(Rules.GameName);
  TableauFan = Layout.FanOffset;

  FDeck->SetCardCount(Rules.Stock.Decks == 2 ? 104 : 52);

  const TPoint screen = FHost->ScreenSize();
  if (screen.X < 1024 || screen.Y < 768) Rules.DealMode |= dmCompactFan;
  if (Rules.DealMode & dmCompactFan) TableauFan -= Layout.FanReduction;
  const bool fast = Rules.DealMode & dmFastDeal;
  TDealSpeeds speeds(FTable);
  if (fast) {
    speeds.FastCards();
    speeds.FastTurns();
  }
  if (Rules.Tableau.Rules.Has(FanUpward)) TableauFan = -TableauFan;

  if (FTable) ShowPlaces();

  Rules.TableauPiles.assign(size_t(std::max(Rules.Tableau.Count, 0)), EmptyPile());
  Rules.FoundationPiles.assign(size_t(std::max(Rules.Foundations.Count, 0)), EmptyPile());
  FDeck->SetDefaultFaceUp(false);
  if (FTable) FTable->DragFromDeck = false;

  ResolveSeed();
  const uint32_t seed = FDealRandom.Seed;
  HistoryList.Add(std::to_string(int32_t(seed)));
  if (keepClosed) {
    HistoryList.Add("0");
    FHost->SetCaption("Patience. Game: " + Rules.GameName + "  [Closed Game]");
  } else {
    HistoryList.Add("O");
    FHost->SetCaption("Patience. Game: " + Rules.GameName + "  [Open Game]");
  }
  HistoryPointer = 3;

  FDeck->SortCards();
  DealBases();

  if (Rules.Stock.Rules.Has(DragFromDeck)) {
    FDeck->SetDefaultFaceUp(true);
    if (FTable) FTable->DragFromDeck = true;
  }

  // The shuffle draws from the deal's own generator, seeded with the recorded seed.
  FDealRandom = TRandom(seed);
  FDeck->Shuffle(FDealRandom);
  Sound("shuffle.wav", 2, 100);
  ModifyDeck();
  ModifyRedeal();

  DealBaseOnlyCard();
  DealToFoundations();
  DealReserve();
  DealExceptPiles();

  if (!fast) speeds.FastTurns();
  TableauDeal();
  speeds.NormalTurns();
  if (fast) speeds.NormalCards();

  if (ScreenUpdates()) {
    SetLists();
    SetFoundationLabel();
    FHost->SetCommand(TEngineCommand::NewGame, true);
    FHost->SetCommand(TEngineCommand::Info, true);
    FHost->SetCommand(TEngineCommand::Undo, true);
    FHost->SetCommand(TEngineCommand::Redo, false);
    FHost->SetCommand(TEngineCommand::MenuBar, true);
    if (Rules.Stock.DealCount < -2) SetRedealOffered(true);
  }
  if (FTable) {
    FTable->AnimationsOn = !Rules.Foundations.Rules.Has(NoAnimations);
    FTable->DragAndDrop = !Rules.Tableau.Rules.Has(PairGame);
  }
  Busy = false;
  if (FTable) FTable->DisableCardClicks = false;
  if (AutoMoveActive()) Automove(nullptr);
  Trace("Exit StartGame");
}

void TPatienceEngine::ShowPlaces() {
  const int foundations = std::min(Rules.Foundations.Count, int(Rules.FoundationPlaces.size()));
  // Thirteen foundation markers exist.
  for (int i = 1; i <= foundations && i <= 13; ++i) {
    const TPoint p = Rules.FoundationPlaces[size_t(i - 1)];
    FTable->ShowPlace(1, p.X, p.Y, i, FDeck, FoundationAngle(i - 1), true);
  }
  const int piles = Rules.Tableau.Count;
  if (piles >= 1 && piles <= 20)
    for (int i = 1; i <= piles && i <= int(Rules.TableauPlaces.size()); ++i) {
      const TPoint p = Rules.TableauPlaces[size_t(i - 1)];
      FTable->ShowPlace(0, p.X, p.Y, i, FDeck, 0.0f, true);
    }
  // Free cells take the markers after the tableau's; there are twenty of that kind.
  if (Rules.Reserve.FreeCells)
    for (int k = 1; k <= Rules.Reserve.Count && piles + k <= 20; ++k) {
      const TPoint p = CellPlace(k);
      FTable->ShowPlace(0, p.X, p.Y, std::max(piles, 0) + k, FDeck, 0.0f, true);
    }
}

// Base cards are put on the foundations in fresh-pack order, before the shuffle; the other cards
// go back to the stock in the order met.
void TPatienceEngine::DealBases() {
  const TPileRules& f = Rules.Foundations.Rules;
  if (!f.Has(DealAllBases) && !f.Has(DealOneBase) && !f.Has(DealTwoBases)) return;
  const int limit = f.Has(DealAllBases) ? INT_MAX : f.Has(DealTwoBases) ? 2 : 1;
  auto isBase = [&](const TCard* c) {
    return (f.Has(EmptyTakesAce) && c->Value == cvAce) || (f.Has(EmptyTakesKing) && c->Value == cvKing) ||
           (f.Has(EmptyTakesJack) && c->Value == cvJack) || (f.Has(EmptyTakesTwo) && c->Value == cvTwo) ||
           (f.Has(AceOfSpadesBase) && c->Value == cvAce && c->Suit == csSpade);
  };
  TCardList others;
  int j = 0;
  const int cards = FDeck->CardCount;
  for (int i = 0; i < cards; ++i) {
    TCard* c = FDeck->NextCard();
    if (!c) break;
    // A base with no foundation left for it stays in the pack.
    if (j < limit && isBase(c) && j < int(Rules.FoundationPiles.size()) &&
        j < int(Rules.FoundationPlaces.size())) {
      Sound("success.wav", 1, 100);
      const TPoint p = Rules.FoundationPlaces[size_t(j)];
      AddAt(c, p.X, p.Y);
      TurnUp(c);
      Rules.FoundationPiles[size_t(j)] = {c};
      ++j;
      Pause(200, true);
    } else {
      others.push_back(c);
    }
  }
  FDeck->PutBack(others);
}

void TPatienceEngine::DealBaseOnlyCard() {
  if (!Rules.Foundations.Rules.Has(BaseOnly)) return;
  Sound("success.wav", 1, 100);
  if (Rules.FoundationPiles.empty() || Rules.FoundationPlaces.empty()) return;
  TCard* c = DealFromStock();
  if (!c) return;
  const TPoint p = Rules.FoundationPlaces[0];
  MoveTo(c, p.X, p.Y);
  TurnUp(c);
  if (!Rules.FoundationAngles.empty()) RotateTo(c, FoundationAngle(0));
  Rules.Foundations.BaseCard = c;
  Rules.FoundationPiles[0] = {c};
  Pause(500, true);
}

void TPatienceEngine::DealToFoundations() {
  if (!Rules.Foundations.Rules.Has(::DealToFoundations)) return;
  const int count = std::min(int(Rules.FoundationPiles.size()), int(Rules.FoundationPlaces.size()));
  if (count == 0) return;
  Sound("deal.wav", 3, 100);
  for (bool more = true; more;) {
    for (int i = 0; i < count; ++i) {
      TCard* c = DealFromStock();
      if (!c) {
        more = false;
        break;
      }
      const TPoint p = Rules.FoundationPlaces[size_t(i)];
      MoveTo(c, p.X, p.Y);
      Pause(25);
      RotateTo(c, FoundationAngle(i));
      TCardList& pile = Rules.FoundationPiles[size_t(i)];
      if (IsEmpty(pile))
        pile[0] = c;
      else
        pile.push_back(c);
    }
  }
  FHost->StopSound("deal.wav");
  if (count < 13) return;

  // The centre pile shows its top card; in The Clock a King there goes to the bottom while the
  // pile still hides cards.
  TCardList& centre = Rules.FoundationPiles[12];
  if (IsEmpty(centre)) return;
  TurnUp(centre.back(), true);
  if (FSpecial != TGameSpecial::Clock) return;
  auto hidesCards = [&] {
    for (size_t k = 0; k < centre.size() && k < 4; ++k)
      if (centre[k] && !centre[k]->FaceUp) return true;
    return false;
  };
  const TPoint place = Rules.FoundationPlaces[12];
  const float angle = FoundationAngle(12);
  while (centre.back()->Value == cvKing && hidesCards()) {
    Sound("success.wav", 5, 500);
    for (size_t k = centre.size(); k-- > 0;) TakeOff(centre[k]);
    TCard* king = centre.back();
    centre.pop_back();
    centre.insert(centre.begin(), king);
    for (TCard* c : centre) AddAt(c, place.X, place.Y, angle);
    TurnUp(centre.back(), true);
  }
}

void TPatienceEngine::DealReserve() {
  const TReserve& r = Rules.Reserve;
  const int slotCount = std::max(r.Count, 0);
  Rules.ReserveCards.assign(size_t(slotCount), nullptr);
  const bool deal = r.FreeCells ? r.DealtToCells > 0 : r.Count > 0;
  int dealt = 0;
  if (deal) {
    int n = r.DealtToCells > 0 ? r.DealtToCells : r.Count;
    if (r.FreeCells) n = std::min(n, slotCount);
    for (int i = 1; i <= n; ++i) {
      TCard* c = DealFromStock();
      if (!c) break;
      const TPoint p = ReserveSlotPlace(Rules, Layout, TableauFan, i - 1);
      MoveTo(c, p.X, p.Y);
      Sound("drop0.wav", 1, 100);
      if (r.FaceUp || r.FreeCells) TurnUp(c);
      if (i - 1 < slotCount)
        Rules.ReserveCards[size_t(i - 1)] = c;
      else
        Rules.ReserveCards.push_back(c);
      dealt = i;
    }
  }
  // A plain reserve is a list of the cards it holds; only free cells keep empty slotCount.
  if (!r.FreeCells) Rules.ReserveCards.resize(size_t(dealt));
}

void TPatienceEngine::DealExceptPiles() {
  const TExceptPiles& e = Rules.ExceptPiles;
  Rules.ExceptPileCards.assign(size_t(std::max(e.Count, 0)), TCardList());
  for (int i = 0; i < e.Count; ++i) {
    const int n = i < int(e.CardsPerPile.size()) ? e.CardsPerPile[size_t(i)] : 0;
    const TPoint at =
        e.ByPositionTable && i < int(e.Positions.size()) ? e.Positions[size_t(i)] : StockPlace();
    TCardList& pile = Rules.ExceptPileCards[size_t(i)];
    for (int j = 0; j < n; ++j) {
      TCard* c = DealFromStock();
      if (!c) return;
      if (e.ByPositionTable) {
        if (e.FanHorizontal)
          MoveTo(c, at.X + j * Layout.FanOffset, at.Y);
        else
          MoveTo(c, at.X, at.Y + j * TableauFan);
      }
      Sound("drop0.wav", 1, 100);
      pile.push_back(c);
      if (e.FaceUp || j == n - 1 || FDeck->CardsLeft(false) == 0) TurnUp(c);
    }
  }
}

void TPatienceEngine::TableauDeal() {
  const TTableau& t = Rules.Tableau;
  const bool fast = Rules.DealMode & dmFastDeal;
  if (fast) Sound("deal.wav", 3, 100);
  const int piles = std::min(t.Count, int(Rules.TableauPiles.size()));
  std::vector<int> offsets(size_t(std::max(piles, 0)), 0);
  auto countOf = [&](int p) {
    if (t.CardsPerPile.empty()) return 1;
    return p < int(t.CardsPerPile.size()) ? t.CardsPerPile[size_t(p)] : 0;
  };
  // Each deal order stops when the stock runs out; the remaining counts go unfilled.
  auto deal = [&] {
    if (t.Rules.Has(DealPileByPile) || RedealPileByPile) {
      for (int p = 0; p < piles; ++p)
        for (int r = 1; r <= countOf(p); ++r) {
          TCard* c = DealFromStock();
          if (!c) return;
          if (t.Rules.Has(DealBySuit)) {
            // To the pile of the card's suit, as that pile's next card.
            const int target = int(c->Suit) % piles;
            DealOneCard(c, target, CardCountOf(Rules.TableauPiles[size_t(target)]) + 1, offsets);
          } else {
            DealOneCard(c, p, r, offsets);
          }
        }
      return;
    }
    int rows = 1;
    if (t.Rules.Has(DealByRows))
      for (int n : t.CardsPerPile) rows = std::max(rows, n);
    if (t.Rules.Has(Squared) && !t.CardsPerPile.empty()) rows = t.CardsPerPile[0];
    for (int r = 1; r <= rows; ++r)
      for (int p = 0; p < piles - t.LeftEmpty; ++p) {
        if (countOf(p) < r) continue;
        TCard* c = DealFromStock();
        if (!c) return;
        DealOneCard(c, p, r, offsets);
      }
  };
  deal();
  if (fast) FHost->StopSound("deal.wav");
}

// Puts the card as slot row (from 1) of pile (from 0).
void TPatienceEngine::DealOneCard(TCard* card, int pile, int row, std::vector<int>& offsets) {
  const TTableau& t = Rules.Tableau;
  const TPileRules& rules = t.Rules;
  TCardList& cards = Rules.TableauPiles[size_t(pile)];
  if (IsEmpty(cards))
    cards[0] = card;
  else
    cards.push_back(card);

  auto faceDownCount = [&](int p) {
    return p < int(t.FaceDownPerPile.size()) ? t.FaceDownPerPile[size_t(p)] : 0;
  };
  const int step = rules.Has(FanSideways) ? Layout.SideFanOffset : TableauFan;
  if (row > 1 && !rules.Has(Squared)) {
    const bool underFaceDown =
        !rules.Has(DealFaceUp) && ((!t.FaceDownPerPile.empty() && faceDownCount(pile) >= row - 1) ||
                                   (t.FaceDownPerPile.empty() && !t.CardsPerPile.empty()));
    offsets[size_t(pile)] += underFaceDown ? QuarterStep(step) : step;
  }
  const TPoint place = pile < int(Rules.TableauPlaces.size()) ? Rules.TableauPlaces[size_t(pile)] : TPoint();
  const int offset = offsets[size_t(pile)];
  if (rules.Has(FanSideways))
    MoveTo(card, place.X + offset, place.Y);
  else
    MoveTo(card, place.X, place.Y + offset);
  if (!(Rules.DealMode & dmFastDeal)) Sound("drop0.wav", 1, 100);
  Pause(25);

  const int count =
      t.CardsPerPile.empty() ? 1 : (pile < int(t.CardsPerPile.size()) ? t.CardsPerPile[size_t(pile)] : 0);
  const bool staysDown = !rules.Has(DealFaceUp) && !t.CardsPerPile.empty() && row != count &&
                         FDeck->CardsLeft(false) > 0 &&
                         (t.FaceDownPerPile.empty() || faceDownCount(pile) >= row);
  if (staysDown) return;
  if (!rules.Has(DealFaceDown)) TurnUp(card);
  if (rules.Has(KingsToBottom) && card->Value == cvKing && row > 1) KingToBottom(pile);
}

void TPatienceEngine::KingToBottom(int pile) {
  TCardList& cards = Rules.TableauPiles[size_t(pile)];
  for (size_t k = cards.size(); k-- > 0;) TakeOff(cards[k]);
  TCard* king = cards.back();
  cards.pop_back();
  cards.insert(cards.begin(), king);
  const TPileRules& rules = Rules.Tableau.Rules;
  TPoint p = pile < int(Rules.TableauPlaces.size()) ? Rules.TableauPlaces[size_t(pile)] : TPoint();
  for (size_t k = 0; k < cards.size(); ++k) {
    if (k > 0 && rules.Has(Fanned)) {
      if (rules.Has(FanSideways))
        p.X += Layout.SideFanOffset;
      else
        p.Y += TableauFan;
    }
    AddAt(cards[k], p.X, p.Y);
    Pause(50);
  }
}

void TPatienceEngine::SetFoundationLabel() {
  const TPileRules& f = Rules.Foundations.Rules;
  std::string text = "   Move";
  if (f.Has(BaseOnly) && Rules.Foundations.BaseCard && Rules.Foundations.BaseCard->Value <= cvKing)
    text = kValueWords[Rules.Foundations.BaseCard->Value];
  else if (f.Has(EmptyTakesAce))
    text = kValueWords[cvAce];
  else if (f.Has(EmptyTakesKing))
    text = kValueWords[cvKing];
  else if (f.Has(EmptyTakesTwo))
    text = kValueWords[cvTwo];
  else if (f.Has(EmptyTakesJack))
    text = kValueWords[cvJack];
  FHost->SetFoundationLabel(text);
}

// -----------------------------------------------------------------------------------------------
// The redeal of gathering games

void TPatienceEngine::RedealTableau() {
  // Piles in order, each bottom up; an empty pile holds no card to gather.
  TCardList gathered;
  for (TCardList& pile : Rules.TableauPiles) {
    for (TCard* c : pile)
      if (c) gathered.push_back(c);
    for (size_t k = pile.size(); k-- > 0;)
      if (pile[k]) TakeOff(pile[k]);
    pile = EmptyPile();
  }
  FDeck->PutBack(gathered);
  if (Rules.Stock.DealCount == -4) {
    FDeck->Shuffle(FDealRandom);
    Sound("shuffle.wav", 2, 100);
  }
  ModifyDeck();
  RedealPileByPile = true;
  {
    TDealSpeeds speeds(FTable);
    if (Rules.DealMode & dmFastDeal) {
      speeds.FastCards();
      speeds.FastTurns();
    }
    TableauDeal();
  }
  SetLists();
  ++Rules.Stock.PassesDone;
  const int allowed = Rules.Stock.PassesAllowed;
  if (allowed == 0 || Rules.Stock.PassesDone < allowed) SetRedealOffered(true);
}

// -----------------------------------------------------------------------------------------------
// Drag lists and drop points

int TPatienceEngine::SuperMove(int emptyPiles) const {
  const TPileRules& t = Rules.Tableau.Rules;
  if (t.Has(UnlimitedMoves)) return 13;
  const int cells = Rules.Reserve.EmptyCells + 1;
  if (t.Has(EmptyTakesKing) || emptyPiles <= 0) return cells;
  return cells << std::min(emptyPiles, 20);
}

void TPatienceEngine::SetLists() {
  const TPileRules& t = Rules.Tableau.Rules;
  const TPileRules& f = Rules.Foundations.Rules;
  TReserve& reserve = Rules.Reserve;
  DropPointList.clear();
  DropAngleList.clear();
  Rules.Tableau.EmptyPiles = 0;
  reserve.EmptyCells = 0;

  if (!t.Has(NoDropTarget))
    for (size_t p = 0; p < Rules.TableauPlaces.size(); ++p) {
      const TCard* top = p < Rules.TableauPiles.size() ? TopCard(Rules.TableauPiles[p]) : nullptr;
      if (top) {
        DropPointList.push_back(TPoint(top->X, top->Y));
      } else {
        DropPointList.push_back(Rules.TableauPlaces[p]);
        ++Rules.Tableau.EmptyPiles;
      }
    }
  if (!f.Has(NoDropTarget))
    for (int i = 0; i < Rules.Foundations.Count && i < int(Rules.FoundationPlaces.size()); ++i) {
      const TPoint place = Rules.FoundationPlaces[size_t(i)];
      const TCard* top =
          i < int(Rules.FoundationPiles.size()) ? TopCard(Rules.FoundationPiles[size_t(i)]) : nullptr;
      DropPointList.push_back(TPoint(f.Has(RankInPrevious) && top ? top->X : place.X, place.Y));
    }
  if (f.Has(UseDropAngles)) {
    DropAngleList.assign(DropPointList.size(), 0.0f);
    const size_t first = t.Has(NoDropTarget) ? 0 : Rules.TableauPlaces.size();
    for (size_t i = 0; first + i < DropAngleList.size() && i < Rules.FoundationAngles.size(); ++i)
      DropAngleList[first + i] = Rules.FoundationAngles[i];
  }
  if (reserve.FreeCells)
    for (int k = 1; k <= reserve.Count; ++k) {
      const bool empty = k - 1 >= int(Rules.ReserveCards.size()) || !Rules.ReserveCards[size_t(k - 1)];
      if (!empty) continue;
      DropPointList.push_back(CellPlace(k));
      ++reserve.EmptyCells;
    }
  if (FTable) {
    FTable->SetDropPoints(DropPointList);
    FTable->SetDropAngles(DropAngleList);
  }

  DraggableList.clear();
  const bool reserveHolds =
      std::any_of(Rules.ReserveCards.begin(), Rules.ReserveCards.end(), [](const TCard* c) { return c; });
  if (reserveHolds) {
    if (reserve.AllPlayable || reserve.FreeCells)
      DraggableList.insert(DraggableList.end(), Rules.ReserveCards.begin(), Rules.ReserveCards.end());
    else
      DraggableList.push_back(Rules.ReserveCards.back());
  }
  if (!Rules.WasteCards.empty()) DraggableList.push_back(Rules.WasteCards.back());
  for (const TCardList& pile : Rules.ExceptPileCards)
    if (!pile.empty()) DraggableList.push_back(pile.back());

  const bool walk = t.Has(DragAnyFaceUp) || t.Has(DragRuns);
  for (const TCardList& pile : Rules.TableauPiles) {
    if (!walk) {
      DraggableList.push_back(pile.empty() ? nullptr : pile.back());
      if (t.Has(DragWholePile) && pile.size() > 1 && pile.front()) DraggableList.push_back(pile.front());
      continue;
    }
    if (IsEmpty(pile)) continue;
    const int top = TopIndex(pile);
    for (int k = top; k >= 0; --k) {
      TCard* lower = pile[size_t(k)];
      const int above = top - k;
      bool takes;
      if (t.Has(DragRuns)) {
        if (k == top) {
          takes = true;
        } else {
          const TCard* upper = pile[size_t(k + 1)];
          bool values = true;
          if (!SpecialCase(t, upper, lower)) {
            const int d = int(upper->Value) - int(lower->Value);
            if (t.Has(UpByOne) && d != 1) values = false;
            if (t.Has(DownByOne) && d != -1) values = false;
            if (t.Has(UpOrDownByOne) && std::abs(d) != 1) values = false;
          }
          takes = values && (!t.Has(SameSuit) || upper->Suit == lower->Suit) &&
                  (!t.Has(AlternateColour) || !SameColourOf(upper, lower)) &&
                  (!t.Has(SameColour) || SameColourOf(upper, lower)) && lower->FaceUp &&
                  (!reserve.FreeCells || above < SuperMove(Rules.Tableau.EmptyPiles));
        }
      } else {
        takes = lower && lower->FaceUp &&
                (!reserve.FreeCells || t.Has(UnlimitedMoves) || above <= reserve.EmptyCells);
      }
      if (!takes) break;
      DraggableList.push_back(lower);
    }
  }

  if (f.Has(FoundationsPlayable))
    for (size_t i = 0; i < Rules.FoundationPiles.size(); ++i) {
      TCard* top = TopCard(Rules.FoundationPiles[i]);
      if (!top) continue;
      if (FSpecial == TGameSpecial::Clock && f.Has(ClockFoundations) && int(top->Value) == int(i)) continue;
      DraggableList.push_back(top);
    }
  // Nothing may be dragged once the game is won (an empty list would let every card go).
  if (DraggableList.empty() || FWon) DraggableList.assign(1, nullptr);
  if (FTable) FTable->SetDraggableCards(DraggableList);
}

// -----------------------------------------------------------------------------------------------
// Layout

void TPatienceEngine::UpdateCardFactors() {
  Layout.WidthFactor = float(FDeck->CardWidth) / float(Layout.BaseCardWidth);
  Layout.HeightFactor = float(FDeck->CardHeight) / float(Layout.BaseCardHeight);
}

bool TPatienceEngine::ReloadGamePlaces() {
  if (!FGame) return false;
  FGame->ComputePlaces(Layout, Rules);
  TableauFan = TableauFanOf(Rules, Layout);
  return true;
}

void TPatienceEngine::ModifyReserve() {
  const TReserve& r = Rules.Reserve;
  if (r.FreeCells && FTable)
    for (int k = 1; k <= r.Count && Rules.Tableau.Count + k <= 20; ++k) {
      TCardPlace& place =
          FDeck->PlaceByIndex(TCardTable::FirstPlaceIndex(0) + std::max(Rules.Tableau.Count, 0) + k - 1);
      const TPoint p = CellPlace(k);
      place.X = p.X;
      place.Y = p.Y;
    }
  for (size_t i = 0; i < Rules.ReserveCards.size(); ++i) {
    TCard* c = Rules.ReserveCards[i];
    if (!c) continue;
    const TPoint p = ReserveSlotPlace(Rules, Layout, TableauFan, int(i));
    c->X = p.X;
    c->Y = p.Y;
  }
}

void TPatienceEngine::ModifyTableau() {
  const TPileRules& t = Rules.Tableau.Rules;
  const int count = Rules.Tableau.Count;
  if (FTable && count >= 1 && count <= 20)
    for (int p = 1; p <= count && p <= int(Rules.TableauPlaces.size()); ++p) {
      TCardPlace& place = FDeck->PlaceByIndex(TCardTable::FirstPlaceIndex(0) + p - 1);
      place.X = Rules.TableauPlaces[size_t(p - 1)].X;
      place.Y = Rules.TableauPlaces[size_t(p - 1)].Y;
    }
  const int step = t.Has(FanSideways) ? Layout.SideFanOffset : TableauFan;
  for (size_t p = 0; p < Rules.TableauPiles.size() && p < Rules.TableauPlaces.size(); ++p) {
    const TCardList& pile = Rules.TableauPiles[p];
    const TPoint place = Rules.TableauPlaces[p];
    int offset = 0;
    for (size_t j = 0; j < pile.size(); ++j) {
      TCard* c = pile[j];
      if (!c) continue;
      if (j > 0 && !t.Has(Squared))
        offset += (t.Has(DealFaceUp) || (pile[j - 1] && pile[j - 1]->FaceUp)) ? step : QuarterStep(step);
      c->X = t.Has(FanSideways) ? place.X + offset : place.X;
      c->Y = t.Has(FanSideways) ? place.Y : place.Y + offset;
    }
  }
}

void TPatienceEngine::ModifyFoundation() {
  const int count = std::min(Rules.Foundations.Count, int(Rules.FoundationPlaces.size()));
  if (FTable)
    for (int i = 1; i <= count && i <= 13; ++i) {
      TCardPlace& place = FDeck->PlaceByIndex(TCardTable::FirstPlaceIndex(1) + i - 1);
      place.X = Rules.FoundationPlaces[size_t(i - 1)].X;
      place.Y = Rules.FoundationPlaces[size_t(i - 1)].Y;
      if (!Rules.FoundationAngles.empty() && place.Bottom) {
        place.RotatedX = place.Bottom->Width() / 2 + place.X - place.RotationOrigin.X;
        place.RotatedY = place.Bottom->Height() / 2 + place.Y - place.RotationOrigin.Y;
      }
    }
  const bool fanned = Rules.Foundations.Rules.Has(RankInPrevious);
  for (int i = 0; i < count && i < int(Rules.FoundationPiles.size()); ++i) {
    const TCardList& pile = Rules.FoundationPiles[size_t(i)];
    if (IsEmpty(pile)) continue;
    const TPoint place = Rules.FoundationPlaces[size_t(i)];
    for (size_t j = 0; j < pile.size(); ++j) {
      if (!pile[j]) continue;
      pile[j]->X = fanned ? place.X + int(j) * Layout.SideFanOffset : place.X;
      pile[j]->Y = place.Y;
    }
  }
}

void TPatienceEngine::ModifyExcept() {
  const TExceptPiles& e = Rules.ExceptPiles;
  if (!e.ByPositionTable) return;
  for (size_t k = 0; k < Rules.ExceptPileCards.size() && k < e.Positions.size(); ++k) {
    const TCardList& pile = Rules.ExceptPileCards[k];
    for (size_t j = 0; j < pile.size(); ++j) {
      if (!pile[j]) continue;
      pile[j]->X = e.Positions[k].X + (e.FanHorizontal ? int(j) * Layout.FanOffset : 0);
      pile[j]->Y = e.Positions[k].Y + (e.FanHorizontal ? 0 : int(j) * TableauFan);
    }
  }
}

void TPatienceEngine::ModifyDeck() {
  const TPoint p = StockPlace();
  if (FTable) {
    FTable->DrawDeck(p.X, p.Y, FDeck);
  } else {
    FDeck->DeckX = p.X;
    FDeck->DeckY = p.Y;
  }
}

void TPatienceEngine::ModifyWaste() {
  const TPoint p = WastePlace();
  for (TCard* c : Rules.WasteCards) {
    if (!c) continue;
    c->X = p.X;
    c->Y = p.Y;
  }
}

void TPatienceEngine::ModifyRedeal() {
  if (!FTable) return;
  const int left = Round(FDeck->CardWidth / 2.0 - 25) + FDeck->DeckX;
  const int top = Round(FDeck->CardHeight / 2.0 - 25) + FTable->Top() + FDeck->DeckY;
  FHost->PlaceRedealButton(left, top);
}

void TPatienceEngine::ModifyAll() {
  ModifyReserve();
  ModifyTableau();
  ModifyFoundation();
  ModifyExcept();
  ModifyDeck();
  ModifyWaste();
  ModifyRedeal();
}

void TPatienceEngine::RedrawTable() {
  if (FTable) FTable->RefreshBackground();
}

void TPatienceEngine::AutoMode() {
  if (!FTable || !FTable->Visible() || FTable->Sprite().Visible) return;
  Trace("Start AutoMode");
  Layout.StoreConstantVariables();
  const TPoint p = MaxInLayout(Rules, Layout);
  Trace("MaxInLayout Result X Y " + std::to_string(p.X) + " " + std::to_string(p.Y));
  const TStretch s =
      StretchToTable(Rules, p, FTable->Width(), FTable->Height(), FDeck->CardWidth, FDeck->CardHeight);
  Layout.ModifyConstantVariables(s.Width, s.Height);
  if (ReloadGamePlaces()) {
    ModifyAll();
    RedrawTable();
    SetLists();
  }
  Trace("Exit AutoMode");
}

void TPatienceEngine::AutoStart() {
  Trace("Start AutoStart");
  ResolveSeed();
  Layout.SetConstantVariables(Layout.WidthFactor, Layout.HeightFactor);
  if (!FGame || !FTable) return;
  try {
    if (!FTrialDeck) FTrialDeck = std::make_unique<TCardDeck>(nullptr, FDeck->CardsetsDir);
  } catch (const std::exception& e) {
    // Without a deck to measure on, the game keeps the unstretched places.
    Trace(std::string("AutoStart has no deck: ") + e.what());
    ReloadGamePlaces();
    return;
  }
  {
    TTrialHost host(*FHost);
    TPatienceEngine trial(*FTrialDeck, &host);
    trial.Layout = Layout;
    trial.FGame = FGame;
    FGame->ApplyRules(trial.Rules);
    trial.ReloadGamePlaces();
    Trace("AutoStart has default card co-ords");
    Trace("AutoStart calls start to invisibly deal cards in default positions");
    trial.Rules.GameClosed = true;
    trial.SetRandomSeed(RandomSeed());
    trial.StartGame();

    Layout.StoreConstantVariables();
    const TPoint p = MaxInLayout(trial.Rules, trial.Layout);
    Trace("MaxInLayout Result X Y " + std::to_string(p.X) + " " + std::to_string(p.Y));
    const TStretch s = StretchToTable(trial.Rules, p, FTable->Width(), FTable->Height(), FDeck->CardWidth,
                                      FDeck->CardHeight);
    Layout.ModifyConstantVariables(s.Width, s.Height);
  }
  Trace("Reset game data using modified constants");
  ReloadGamePlaces();
  Trace("Exit AutoStart");
}

void TPatienceEngine::ApplyLayout(bool extended) {
  if (extended)
    Layout.SetConstantVariables(Layout.WidthFactor, Layout.HeightFactor);
  else
    Layout.SetConstantVariables(1.0f, 1.0f);
  if (!FTable || !FTable->Visible()) return;
  if (!ReloadGamePlaces()) return;
  ModifyAll();
  if (extended) {
    AutoMode();
  } else {
    RedrawTable();
    SetLists();
  }
}
