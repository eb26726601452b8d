// Choosing a game and dealing it: the start of a game and the deal steps, pile kind by pile kind.

#include <algorithm>
#include <climits>

#include "patience/engine/EngineScopes.h"
#include "patience/engine/PatienceEngine.h"
#include "patience/engine/Piles.h"

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
  // No card presses until the deal and the automatic moves after it are done.
  TCommandScope scope(*this);
  EndPreviousGame();

  // A restart of a closed game keeps it closed; a new deal never does.
  const bool keepClosed =
      !newDeal && Rules.GameName == Rules.LastGameName && HistoryList.Count() >= 3 && HistoryList[2] == "0";
  Rules.GameClosed = keepClosed;
  // The deal's speeds hold until the automatic moves after it are done too.
  TTableMotion motion(FTable);
  {
    // Busy while the cards are dealt. The New command sets Busy while it gathers the cards and
    // leaves it to the deal to clear, so the deal ends not busy whatever it began with.
    TSetThen<bool> busy(Busy, true, false);
    ClearForDeal();
    DealGame(keepClosed, motion);
    OpenForPlay();
  }
  if (AutoMoveActive()) Automove(nullptr);
  Trace("Exit StartGame");
}

// The game in play ends: its score is recorded, and the Extended layout measures the new game.
void TPatienceEngine::EndPreviousGame() {
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
}

// Empty histories, an empty table and the play state of a game not yet dealt.
void TPatienceEngine::ClearForDeal() {
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
  ClearTableForDeal();

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
}

// Clear the table; the markers stay when the same game is dealt again.
void TPatienceEngine::ClearTableForDeal() {
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
}

// The deal itself: the pack, the markers, the recorded seed, the bases, the shuffle and the deal
// to each kind of pile, the tableau last. A fast deal moves the cards at eight times the speed; a
// deal turns its cards over at eight times the speed until the tableau is dealt.
void TPatienceEngine::DealGame(bool keepClosed, TTableMotion& motion) {
  FDeck->SetCardCount(Rules.Stock.Decks == 2 ? 104 : 52);

  const TPoint screen = FHost->ScreenSize();
  if (screen.X < 1024 || screen.Y < 768) Rules.DealMode |= dmCompactFan;
  if (Rules.DealMode & dmCompactFan) TableauFan -= Layout.FanReduction;
  const bool fast = Rules.DealMode & dmFastDeal;
  motion.ForDeal(fast);
  if (Rules.Tableau.Rules.Has(FanUpward)) TableauFan = -TableauFan;

  if (FTable) ShowPlaces();

  Rules.TableauPiles.assign(size_t(std::max(Rules.Tableau.Count, 0)), EmptyPile());
  Rules.FoundationPiles.assign(size_t(std::max(Rules.Foundations.Count, 0)), EmptyPile());
  FDeck->SetDefaultFaceUp(false);
  if (FTable) FTable->DragFromDeck = false;

  const uint32_t seed = RecordSeed(keepClosed);

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

  if (!fast) motion.TurnSpeedTimes(8);
  TableauDeal();
  motion.TurnSpeedTimes(1);
  if (fast) motion.CardSpeedTimes(1);
}

// The history's first three lines: the game (already there), the seed of the deal and whether
// the game is closed; the caption says which. Returns the seed.
uint32_t TPatienceEngine::RecordSeed(bool keepClosed) {
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
  return seed;
}

// The dealt game is offered for play: its drag lists, the foundation label, the commands.
void TPatienceEngine::OpenForPlay() {
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
      PutOnPile(Rules.FoundationPiles[size_t(i)], c);
    }
  }
  FHost->StopSound("deal.wav");
  if (count >= 13) ShowCentrePile();
}

// The centre pile shows its top card; in The Clock a King there goes to the bottom while the
// pile still hides cards.
void TPatienceEngine::ShowCentrePile() {
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
  // Each deal order stops when the stock runs out; the remaining counts go unfilled.
  if (t.Rules.Has(DealPileByPile) || RedealPileByPile)
    TableauDealPileByPile(piles, offsets);
  else
    TableauDealByRows(piles, offsets);
  if (fast) FHost->StopSound("deal.wav");
}

// The cards pile p (from 0) is dealt: one each when the record gives no counts.
int TPatienceEngine::TableauCountOf(int p) const {
  const TTableau& t = Rules.Tableau;
  if (t.CardsPerPile.empty()) return 1;
  return p < int(t.CardsPerPile.size()) ? t.CardsPerPile[size_t(p)] : 0;
}

// Each pile is filled before the next; dealt by suit, each card goes to its suit's pile instead.
void TPatienceEngine::TableauDealPileByPile(int piles, std::vector<int>& offsets) {
  const bool bySuit = Rules.Tableau.Rules.Has(DealBySuit);
  for (int p = 0; p < piles; ++p)
    for (int r = 1; r <= TableauCountOf(p); ++r) {
      TCard* c = DealFromStock();
      if (!c) return;
      if (bySuit) {
        // To the pile of the card's suit, as that pile's next card.
        const int target = int(c->Suit) % piles;
        DealOneCard(c, target, CardCountOf(Rules.TableauPiles[size_t(target)]) + 1, offsets);
      } else {
        DealOneCard(c, p, r, offsets);
      }
    }
}

// A row across the piles at a time (but the piles left empty), each pile up to its count.
void TPatienceEngine::TableauDealByRows(int piles, std::vector<int>& offsets) {
  const TTableau& t = Rules.Tableau;
  int rows = 1;
  if (t.Rules.Has(DealByRows))
    for (int n : t.CardsPerPile) rows = std::max(rows, n);
  if (t.Rules.Has(Squared) && !t.CardsPerPile.empty()) rows = t.CardsPerPile[0];
  for (int r = 1; r <= rows; ++r)
    for (int p = 0; p < piles - t.LeftEmpty; ++p) {
      if (TableauCountOf(p) < r) continue;
      TCard* c = DealFromStock();
      if (!c) return;
      DealOneCard(c, p, r, offsets);
    }
}

// Puts the card as slot row (from 1) of pile (from 0).
void TPatienceEngine::DealOneCard(TCard* card, int pile, int row, std::vector<int>& offsets) {
  const TTableau& t = Rules.Tableau;
  const TPileRules& rules = t.Rules;
  TCardList& cards = Rules.TableauPiles[size_t(pile)];
  PutOnPile(cards, card);

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

  const bool staysDown = !rules.Has(DealFaceUp) && !t.CardsPerPile.empty() && row != TableauCountOf(pile) &&
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
