#include "patience/engine/PatienceEngine.h"

#include <chrono>
#include <memory>

#include "platform/core/Numeric.h"

namespace {

// The window of an engine that has none.
class TNoHost : public TEngineHost {};

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
    Rules.Points = SaturatingAdd(Rules.Points, ScoreValues.Drop);
  } else if (name == "success.wav") {
    Rules.Points = SaturatingAdd(Rules.Points, ScoreValues.Success);
    ++Rules.FoundationCount;
    if (Rules.FoundationCount >= (Rules.Stock.Decks == 2 ? 88 : 44)) play = "BEEPSPAC.WAV";
  } else if (name == "undo.wav") {
    Rules.Points = SaturatingAdd(Rules.Points, ScoreValues.Undo);
  } else if (name == "waste.wav") {
    Rules.Points = SaturatingAdd(Rules.Points, ScoreValues.Waste);
  } else if (name == "drop0.wav") {
    play = "drop.wav";
  } else if (name == "waste0.wav") {
    play = "waste.wav";
  }
  FHost->PlaySound(play, mode, ms);
  // A redo keeps the points it started with, so the label waits for its end.
  if (!FQuiet) FHost->ShowPoints(Rules.Points);
}
