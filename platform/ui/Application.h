#pragma once
// The program as a whole: its title, the request to end it, pumping pending events and the
// size of the screen.
//
// Qt ignores a quit asked for before its event loop runs, so Terminate also raises a flag that
// main() tests before it enters the loop; asked for while the loop runs, it ends the loop.

#include <functional>
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

  // A request from outside to end the program (SIGTERM or SIGINT: the session ends, kill, Ctrl+C)
  // reaches handler on the GUI thread at its next look at its events. Needs the toolkit's
  // application; a later call replaces the handler.
  void OnEndRequest(std::function<void()> handler);
  // From now on nobody is asked anything: message boxes and the program's dialogs return at once
  // with the answer their Cancel (or No) gives.
  void StopAsking() { FAsking = false; }
  bool Asking() const { return FAsking; }

  // Forgets a Terminate (tests start windows one after the other in one process).
  void ResetForTesting() {
    FTerminated = false;
    FAsking = true;
  }

 private:
  bool FTerminated = false;
  bool FAsking = true;
};

TApplication& Application();

// The primary screen's size in pixels; a size set for testing wins.
TPoint ScreenSize();
void SetScreenSizeForTesting(std::optional<TPoint> size);
