#pragma once
// TddgMarquee: scrolling text. Its lines are drawn once into a tall bitmap (the control's height
// of empty space above and below them), and a 50 ms timer moves the view one pixel a tick, so
// the text enters from below and scrolls until it has left at the top (or the other way round
// with ScrollDown). When it stops, OnDone is told; the about box and the start screen start it
// again, so their text loops.
//
// A Transparent marquee draws only its text (lightening what lies beneath), so it can scroll
// over a picture its parent paints.

#include <QWidget>
#include <functional>
#include <memory>

#include "platform/core/StringList.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

class QTimer;

enum TJustification { tjCenter, tjLeft, tjRight };

class TddgMarquee : public QWidget {
 public:
  explicit TddgMarquee(QWidget* owner);
  ~TddgMarquee() override;

  const TStringList& Items() const { return FItems; }
  void SetItems(const TStringList& lines);
  bool ScrollDown = false;
  TJustification Justify = tjCenter;
  TColor Color = clWhite;
  TFont Font;
  bool Transparent = false;
  std::function<void(TddgMarquee&)> OnDone;

  bool Running() const { return FRunning; }
  // True starts a marquee that has lines; false stops a running one (and tells OnDone).
  void SetRunning(bool value);
  // One pixel on; stops at the end.
  void Step();
  int Position() const { return FPosition; }
  int LineHeight() const { return FLineHeight; }
  const TRect& TextRect() const { return FTextRect; }
  // The text as drawn (empty while stopped).
  const TBitmap& TextBitmap() const { return FBitmap; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void FillBitmap();

  TStringList FItems;
  std::unique_ptr<QTimer> FTimer;
  bool FRunning = false;
  TBitmap FBitmap;
  int FLineHeight = 0;
  int FPosition = 0;
  TRect FTextRect;
};
