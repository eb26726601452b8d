#pragma once
// TFlourish: a rectangle of the card table sparkles for a moment. On a timer it copies that
// rectangle of the table's back buffer, paints a few random round glows into the copy and shows
// the copy on the window's canvas over the table; after Frames ticks the plain table shows
// again. The game starts it when a card lands on a foundation; the winning show waits for it.
//
// The glows are drawn from the effects' generator (ProgramRandom), never the deal's, so a
// sparkle changes nothing of a game or of its replay.

#include <memory>

#include "platform/core/Types.h"
#include "platform/graphics/Bitmap.h"

class QTimer;
class TCardTable;
class TShowCanvas;

class TFlourish {
 public:
  TFlourish(TCardTable* table, TShowCanvas* canvas);
  ~TFlourish();
  TFlourish(const TFlourish&) = delete;
  TFlourish& operator=(const TFlourish&) = delete;

  int Interval = 100;  // milliseconds between frames
  int Frames = 10;     // frames per sparkle
  int SparksPerFrame = 3;
  TColor Colour = 0x00FFFF;                      // yellow
  int MaxRadius = 20;                            // glows of radius 3 .. MaxRadius + 2
  TBitmap Bitmap;                                // the working copy
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // table coordinates
  int FrameCount = 0;
  TCardTable* Table;
  TShowCanvas* Canvas;
  bool Enabled = true;
  bool Running = false;

  // Starts a sparkle over r (table coordinates, cut to the table); one still running is cut
  // short first. Nothing while not Enabled.
  void Start(const TRect& r);
  // Values of 0 or less are ignored.
  void SetInterval(int n);
  void SetFrames(int n);
  void SetSparksPerFrame(int n);
  void SetMaxRadius(int n);
  // Switching off ends a running sparkle at once.
  void SetEnabled(bool value);
  // Ends a running sparkle now: the plain table shows again.
  void Stop();
  // One frame (what each timer tick does).
  void Tick();
  // Where the sparkle shows, in window coordinates.
  TRect WindowRect() const;

 private:
  std::unique_ptr<QTimer> FTimer;
};
