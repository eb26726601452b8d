#pragma once
// What the play engine needs of the window it plays in: sounds, labels, the caption, command
// states, statistics, options it reads and the screen size. Every call has a harmless default,
// so a test (or the hidden trial deal of the Extended layout) can run the engine with no window.

#include <functional>
#include <string>

#include "platform/core/Clock.h"
#include "platform/core/Types.h"

// Commands whose state the engine sets.
enum class TEngineCommand {
  MenuBar,  // the menu bar as a whole (disabled while a deal runs)
  NewGame,
  Info,
  Undo,
  Redo,
  SaveSet,  // Save, Save and Quit, Restart
  Redeal,   // the Redeal button (shown only while enabled) and its menu item
};

class TEngineHost {
 public:
  virtual ~TEngineHost() = default;

  // Plays a sound of the "Sounds" folder; the engine has already kept the score. Modes: 1 play,
  // 2 play and wait, 3 loop, 4 after the previous one, 5 wait ms first.
  virtual void PlaySound(const std::string& /*name*/, int /*mode*/, int /*ms*/) {}
  virtual void StopSound(const std::string& /*name*/) {}
  // Paces the deal: waits at least ms on the program's clock (a window lets repaints happen).
  virtual void Pause(int ms) { Sleep(ms); }

  virtual void SetCaption(const std::string& /*caption*/) {}
  virtual void SetFoundationLabel(const std::string& /*text*/) {}
  // The points of the game in play changed (shown only while scoring is on).
  virtual void ShowPoints(int /*points*/) {}
  virtual void SetCommand(TEngineCommand /*command*/, bool /*enabled*/) {}
  // The Redeal button's top-left corner in window coordinates.
  virtual void PlaceRedealButton(int /*left*/, int /*top*/) {}
  // The picture of the game in play ("GameImages/<n>.jpg").
  virtual void ShowGamePicture(int /*picture*/) {}
  // Ends the sparkle and the picture cross-fade, closes the start screen when it shows.
  virtual void StopEffects() {}
  virtual void CloseStartScreen() {}
  // The flourish of sparks over a foundation that took a card (r: table coordinates), in this
  // colour.
  virtual void Sparkle(const TRect& /*r*/, TColor /*colour*/) {}
  // The game was won: the winning show.
  virtual void WinAnimation() {}
  virtual void Beep() {}

  // Statistics: a game ended (lost when a new one starts while it was still open).
  virtual void RecordGame(const std::string& /*gameName*/, const std::string& /*saveName*/, int /*points*/,
                          bool /*won*/) {}
  // The game of this saved-game file is over: its file is marked closed (line 2 "0"); the
  // engine has already marked its own history. Empty: the game was never saved.
  virtual void CloseGameFile(const std::string& /*saveName*/) {}
  virtual void Trace(const std::string& /*line*/) {}

  // Options and the surroundings.
  virtual bool ScoringOn() { return true; }        // the points label is enabled
  virtual bool SoundOn() { return false; }         // options line 1 is "On" (some pauses need it)
  virtual bool ExtendedLayout() { return false; }  // the Extended layout is in force
  // The game about to be dealt in the Extended layout does not fit the table at the card size in
  // force: the window may set a smaller size (and say so), asking fits() at each size it tries
  // whether the game fits the table then. True when it changed the size.
  virtual bool ReduceScaleToFit(const std::function<bool()>& /*fits*/) { return false; }
  virtual bool AutoMoveOn() { return false; }
  // The auto-move option was switched (the window keeps it, its button and menu items).
  virtual void SetAutoMoveOption(bool /*on*/) {}
  // Options line 6: the New and Redeal commands move the cards back to the stock visibly.
  virtual bool AnimatedRedeals() { return false; }
  virtual TPoint ScreenSize() { return TPoint(1920, 1080); }
};
