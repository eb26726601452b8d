#pragma once
// TddgMarquee: scrolling text. The text is laid out as one tall strip (the control's height of
// empty space above and below its lines), and a 50 ms timer moves the view one pixel a tick, so
// the text enters from below and scrolls until it has left at the top (or the other way round
// with ScrollDown). When it stops, OnDone is told; the about box and the start screen start it
// again, so their text loops.
//
// Only the lines in view are drawn, each once as it enters and dropped when it has left, and a
// tick repaints only where a line's letters were or now are: the rest of the strip is the
// control's colour and does not change as it scrolls. An opaque marquee on an X display keeps the
// view as it shows and sends just those pixels to the screen itself.
//
// A Transparent marquee draws only its text (lightening what lies beneath), so it can scroll
// over a picture its parent paints.

#include <QRegion>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

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
  // The whole strip: the control's width, the lines and the control's height above and below.
  const TRect& TextRect() const { return FTextRect; }
  // The view as shown now (the control's size; empty while stopped).
  TBitmap View();
  // Lines drawn and held at the moment.
  int LinesHeld() const { return int(FLines.size()); }

 protected:
  QPaintEngine* paintEngine() const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // A line drawn on the control's colour, and the bounds of its letters (line coordinates).
  struct TLine {
    TBitmap Picture;
    QRect Ink;
  };
  void Layout();
  // Line i, drawn when it is first needed.
  const TLine& Line(int i);
  // The lines that meet the view at position, as [first, last] (empty when first > last).
  std::pair<int, int> LinesInView(int position) const;
  int LineTop(int i) const { return height() + i * FLineHeight; }
  // Where the letters of the lines in view lie on the control.
  QRegion Ink(int position);
  // Draws the view at position, as the control shows it, through a painter.
  void DrawView(QPainter& p, const QRegion& region, int position);
  // A tick: one step on, and a repaint of where the letters were and are.
  void Tick();
  // Drops the lines out of view.
  void TrimLines();
  // The view as it shows, brought up to date in rects (on screen).
  void UpdateView(const std::vector<TRect>& rects);

  TStringList FItems;
  std::unique_ptr<QTimer> FTimer;
  bool FRunning = false;
  std::map<int, TLine> FLines;
  // Painting on screen itself (an opaque marquee on an X display), from the view as it shows.
  bool FOnScreen = false;
  TBitmap FView;
  std::vector<TRect> FChanged;
  int FLineHeight = 0;
  int FPosition = 0;
  TRect FTextRect;
};
