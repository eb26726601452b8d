#pragma once
// TMergePic: shows a wide picture made of equal vertical strips one strip after another on a
// rectangle of a target bitmap, each strip fading in over what lies there by repeated
// half-transparent blending, one blend a timer tick. After the last strip that strip is copied
// once more, opaque, so the target shows it exactly. The start screen shows its strip picture
// with it and the winning slide show its panels.
//
// The target is a bitmap the caller shows (a window's canvas); OnPaint hears which rectangle
// of it changed after each step.

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/Types.h"
#include "platform/graphics/Bitmap.h"

class QTimer;

class TMergePic {
 public:
  TMergePic();
  ~TMergePic();
  TMergePic(const TMergePic&) = delete;
  TMergePic& operator=(const TMergePic&) = delete;

  int StepCount = 0;  // blend steps done on the current strip
  int Strip = 0;      // index of the strip being shown
  int BlendAlpha = 127;
  // The loaded picture; empty until a picture has loaded.
  TBitmap Bitmap;
  TBitmap* Canvas = nullptr;  // not owned
  int DestWidth = 0, DestHeight = 0, DestY = 0, DestX = 0;
  int StripWidth = 0, StripHeight = 0;
  int Strips = 1;  // set before LoadPicture
  int Interval = 80;
  int StepsPerStrip = 20;
  bool Running = false;
  // Called after each step with the changed rectangle of the canvas.
  std::function<void(const TRect&)> OnPaint;

  // Loads a JPEG (or BMP) file: the strips are its width divided by Strips (at least 1); Strip
  // becomes 0. Raises EInvalidGraphic or EFileError and keeps the old picture when it cannot.
  void LoadPicture(const std::string& FileName);
  bool HasPicture() const { return !Bitmap.Empty(); }
  // Starts the show on the canvas rectangle; nothing without a picture.
  void Start(TBitmap* canvas, int X, int Y, int Width, int Height);
  // Ends the show where it is; the canvas keeps what it shows, the next show starts at strip 0.
  void Stop();
  // Holds a running show where it is (its timer stops) and lets it go on.
  void SetPaused(bool paused);
  // One step of the show (what each timer tick does).
  void Tick();

 private:
  std::unique_ptr<QTimer> FTimer;
};
