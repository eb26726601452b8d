#pragma once
// What the engine tests share: a window that records what the engine tells it, a card table on a
// card set of 71 x 96 cards (factor 1.0) with a virtual clock, and the invariants every deal
// must keep.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cardtable/CardTable.h"
#include "patience/catalogue/GameStart.h"
#include "patience/engine/PatienceEngine.h"
#include "platform/core/Clock.h"
#include "tests/support/TestUtil.h"

class TFakeHost : public TEngineHost {
 public:
  struct TPlayed {
    std::string Name;
    int Mode = 0;
    int Ms = 0;
  };
  struct TRecorded {
    std::string Game;
    int Points = 0;
    bool Won = false;
  };
  std::vector<TPlayed> Sounds;
  std::vector<std::string> Stopped;
  std::vector<int> Pauses;
  std::map<TEngineCommand, bool> Commands;
  std::string Caption;
  std::string FoundationLabel;
  int Points = 0;
  std::vector<TRecorded> Recorded;
  std::vector<std::string> Traces;
  TPoint RedealButton{-1, -1};
  bool Scoring = true;
  bool Sound = false;
  bool Extended = false;
  bool AutoMove = false;
  bool Animated = false;
  int Beeps = 0;
  int WinShows = 0;
  int Sparkles = 0;
  std::vector<std::string> ClosedFiles;
  TPoint Screen{1920, 1080};

  void PlaySound(const std::string& name, int mode, int ms) override { Sounds.push_back({name, mode, ms}); }
  void StopSound(const std::string& name) override { Stopped.push_back(name); }
  void Pause(int ms) override {
    Pauses.push_back(ms);
    TEngineHost::Pause(ms);
  }
  void SetCaption(const std::string& c) override { Caption = c; }
  void SetFoundationLabel(const std::string& t) override { FoundationLabel = t; }
  void ShowPoints(int p) override { Points = p; }
  void SetCommand(TEngineCommand c, bool enabled) override { Commands[c] = enabled; }
  void PlaceRedealButton(int left, int top) override { RedealButton = TPoint(left, top); }
  void RecordGame(const std::string& game, const std::string&, int points, bool won) override {
    Recorded.push_back({game, points, won});
  }
  void Trace(const std::string& line) override { Traces.push_back(line); }
  bool ScoringOn() override { return Scoring; }
  bool SoundOn() override { return Sound; }
  bool ExtendedLayout() override { return Extended; }
  TPoint ScreenSize() override { return Screen; }
  bool AutoMoveOn() override { return AutoMove; }
  void SetAutoMoveOption(bool on) override { AutoMove = on; }
  bool AnimatedRedeals() override { return Animated; }
  void Beep() override { ++Beeps; }
  void WinAnimation() override { ++WinShows; }
  void Sparkle(const TRect&) override { ++Sparkles; }
  void CloseGameFile(const std::string& saveName) override { ClosedFiles.push_back(saveName); }

  int CountSounds(const std::string& name) const;
  bool Traced(const std::string& line) const;
};

// A card sets folder with a "Standard" set of 71 x 96 cards, written once per test program.
const std::string& TestCardsetsDir();

// A table of the given size on the test card set, an engine on it with a fake window, and a
// virtual clock installed for their life.
class TEngineRig {
 public:
  explicit TEngineRig(int width = 1280, int height = 960, const std::string& cardsetsDir = TestCardsetsDir());
  ~TEngineRig();

  // Chooses the game by caption with the given seed; fails the test when there is no such game.
  void Deal(const std::string& caption, uint32_t seed);
  // The same game dealt again with the seed (the New command).
  void Redeal(uint32_t seed);

  TVirtualClock Clock;
  TFakeHost Host;
  std::unique_ptr<TCardTable> Table;
  std::unique_ptr<TPatienceEngine> Engine;

 private:
  std::unique_ptr<TScopedClock> FScoped;
};

// Where every card lies after a deal, as text: one line per pile, cards as value letter and suit
// letter, "_" marks a face-down card; with positions when asked.
std::string DealSnapshot(const TPatienceEngine& engine, bool positions);
// "Ac", "Td", "Ks"...
std::string CardName(const TCard* card);
// Adds a line to faults for every pile of the wrong count or shape (a pile of length 0, a nil
// among cards, a nil in a plain reserve or the waste).
void CheckPileShapes(const TGameRules& rules, std::vector<std::string>& faults);

// The invariants of a fresh deal (see the cpp).
::testing::AssertionResult DealIsSound(const TPatienceEngine& engine, const TCardTable& table);

// A game made up by a test: a caption and two functions that fill the record.
class TCustomGame : public TGameSetup {
 public:
  using TRulesFn = std::function<void(TGameRules&)>;
  using TPlacesFn = std::function<void(const TLayout&, TGameRules&)>;
  TCustomGame(std::string caption, TRulesFn rules, TPlacesFn places)
      : FCaption(std::move(caption)), FRules(std::move(rules)), FPlaces(std::move(places)) {}
  const std::string& Caption() const override { return FCaption; }
  void ApplyRules(TGameRules& rules) const override {
    rules.ClearRules(false);
    rules.GameName = FCaption;
    FRules(rules);
  }
  void ComputePlaces(const TLayout& layout, TGameRules& rules) const override { FPlaces(layout, rules); }

 private:
  std::string FCaption;
  TRulesFn FRules;
  TPlacesFn FPlaces;
};
