#pragma once
// THarmFade: a control that shows one picture (or a plain colour) and changes it into a second one,
// either by a random-pixel dissolve or by a cross-fade, and back again. TFadeButton (FadeButton.h)
// is a button built on it; the about box shows two pictures in one.
//
// Three 24-bit pictures do the work: Shown (what is painted), Target (what is approached) and Work.
// A dissolve copies the pixels from Target into Shown in a shuffled order, N div DisolvRate pixels
// a step (N = Width * Height), and repaints after every step; going back swaps the colours and
// pictures for the time of the run. Every run ends inside the call; the steps are spaced on the
// program's clock so that a dissolve takes about a fifth of a second on any machine, and the
// screen is painted at most once a display frame.

#include <QWidget>
#include <functional>
#include <random>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"
#include "platform/graphics/Bitmap.h"

class EHarmFade : public Exception {
 public:
  using Exception::Exception;
};

using THarmFadeEvent = std::function<void(QWidget* Sender)>;

// Blends three equally sized pictures: every byte of Out becomes (a * (32 - w) + b * w) div 32.
// w = 0 leaves Out as A, w = 32 makes it B.
void BlendRows32(const TBitmap& A, const TBitmap& B, TBitmap& Out, int w);

class THarmFade : public QWidget {
  Q_OBJECT
 public:
  explicit THarmFade(QWidget* owner);
  ~THarmFade() override;

  const TBitmap& PicFrom() const { return FPicFrom; }
  const TBitmap& PicTo() const { return FPicTo; }
  void SetPicFrom(const TBitmap& picture);
  void SetPicTo(const TBitmap& picture);
  TColor ColorFrom() const { return FColorFrom; }
  TColor ColorTo() const { return FColorTo; }
  void SetColorFrom(TColor value);
  void SetColorTo(TColor value);
  int DisolvRate() const { return FDisolvRate; }
  // Kept within 1 .. Width * Height.
  void SetDisolvRate(int value);
  int BlendRate() const { return FBlendRate; }
  // Kept within 1 .. 255.
  void SetBlendRate(int value);
  bool StretchToFit() const { return FStretchToFit; }
  void SetStretchToFit(bool value);
  bool ProcessMsgs = false;
  bool AutoReverse = false;
  bool SwapOnReverse = true;
  int SwapDelay = 1;  // seconds

  THarmFadeEvent OnBegin, OnEnd, OnReset, OnMouseEnter, OnMouseLeave, OnClick;

  // Dissolves to the target picture (and back when AutoReverse). Raises EHarmFade
  // "DisolvRate cannot be > Width * Height!" before anything changes on screen.
  void DissolveIn();
  // Dissolves back to the starting picture.
  void DissolveBack();
  // Cross-fades back to the starting picture in BlendRate + 1 images.
  void BlendBack();
  // Shows the target at once and ends a run.
  void FinishNow();

  // What is painted now (for tests and screenshots).
  const TBitmap& Shown() const { return FShown; }
  const TBitmap& Target() const { return FTarget; }
  // Steps of the last run and the pixels each copied (for tests).
  int LastSteps() const { return FLastSteps; }
  // The time one run is spread over, on the program's clock.
  int RunMs = 200;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  // Rebuilds Shown, Target and Work from the pictures and colours (and swaps back after a run).
  void PrepareBitmaps();
  void TurnAround();
  // Called by PrepareBitmaps; TFadeButton has nothing to add.
  bool Swapped = false;

 private:
  void ShufflePixels();
  void StepLoop(int n);
  void ShowStep(int step, int steps);
  void FillFrom(TBitmap& out, const TBitmap& picture, TColor colour);

  TBitmap FPicFrom, FPicTo;
  TColor FColorFrom = clBlack;
  TColor FColorTo = clWhite;
  int FDisolvRate = 125;
  int FBlendRate = 32;
  bool FStretchToFit = true;
  bool FSavedStretchToFit = true;
  bool FStopRequested = false;
  TBitmap FShown, FTarget, FWork;
  std::vector<TPoint> FPositions;
  std::mt19937 FRandom;
  int FLastSteps = 0;
  uint64_t FRunStart = 0;
  uint64_t FLastPaint = 0;
};
