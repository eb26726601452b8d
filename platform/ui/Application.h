#pragma once
// The program as a whole: its title, the request to end it, pumping pending events and the
// size of the screen.
//
// Qt ignores a quit asked for before its event loop runs, so Terminate also raises a flag that
// main() tests before it enters the loop; asked for while the loop runs, it ends the loop.

#include <optional>
#include <string>

#include "platform/core/Types.h"

class TApplication {
 public:
  // The title message boxes of a custom type carry.
  std::string Title;

  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles the events that are waiting, user input included, and returns.
  void ProcessMessages();
  // Lets repaints and timers run but keeps clicks and keys queued (for work that must not be
  // re-entered by the player).
  void ProcessPaintMessages();

  // Forgets a Terminate (tests start windows one after the other in one process).
  void ResetForTesting() { FTerminated = false; }

 private:
  bool FTerminated = false;
};

TApplication& Application();

// The primary screen's size in pixels; a size set for testing wins.
TPoint ScreenSize();
void SetScreenSizeForTesting(std::optional<TPoint> size);
