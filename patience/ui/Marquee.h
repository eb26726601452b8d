#pragma once
// TddgMarquee: scrolling text. The text is laid out as one tall strip (the control's height of
// empty space above and below its lines), and a 50 ms timer moves the view one pixel a tick, so
// the text enters from below and scrolls until it has left at the top (or the other way round
// with ScrollDown). When it stops, OnDone is told; the about box and the start screen start it
// again, so their text loops.
//
// Only the lines in view are drawn, each once as it enters and dropped when it has left (only its
// letters' bounds are kept), and a tick repaints only where a line's letters were or now are: the
// rest of the strip is the control's colour and does not change as it scrolls. An opaque marquee
// on an X display sends just those pixels to the screen itself.
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
#include "platform/ui/ScreenFill.h"

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

  // The marquee steps when its owner says time has passed (Advance) instead of on a timer of its
  // own, so one timer drives the owner's whole animation.
  bool OwnerSteps = false;
  // With OwnerSteps: ms more have passed; the steps due (one each 50 ms) are taken and shown.
  void Advance(int ms);

  bool Running() const { return FRunning; }
  // An opaque marquee paints on screen itself where it can (an X display), from its first start
  // on. Called once it has its place (its window is made then, at that place) and before the
  // window shows, its window is there from the window's first paint.
  void PaintOnScreen();
  bool OnScreen() const { return FOnScreen; }
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
  void hideEvent(QHideEvent* event) override;

 private:
  // A line's letters drawn on the control's colour, and where they lie in the line (the rest of
  // the line is the colour; a line without letters has no picture).
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
  // Draws the view at position, as the control shows it, through a painter.
  void DrawView(QPainter& p, const QRegion& region, int position);
  // The view's pixels in r (control coordinates), into out.
  void Compose(TBitmap& out, const TRect& r);
  // Sends the view's pixels in r to the screen (on screen).
  void PutOnScreen(const TRect& r);
  // A tick: one step on, and a repaint of where the letters were and are.
  void Tick();
  // Drops the lines out of view.
  void TrimLines();
  // On screen: a tick's changes copied from the strip the server keeps, each line sent to it once
  // as it enters the view; false (nothing sent) when the server cannot keep the strip.
  bool CopyFromStrip();

  TStringList FItems;
  std::unique_ptr<QTimer> FTimer;
  bool FRunning = false;
  std::map<int, TLine> FLines;
  // A tick's work space: the letters' places, and where the view changed.
  std::vector<QRect> FInks, FChanged;
  // Painting on screen itself (an opaque marquee on an X display): what a paint or a tick sends is
  // made for it from the lines.
  bool FOnScreen = false;
  // On screen: a paint has put the view there since the marquee was last shown.
  bool FPainted = false;
  TBitmap FPiece;
  // On screen: the lines' part of the strip as the server keeps it (made at the first tick of a
  // run), and which lines it holds.
  TScreenPicture FStrip;
  bool FStripFailed = false;
  std::vector<uint8_t> FOnStrip;
  std::vector<TRect> FCopies;
  int FLineHeight = 0;
  int FPosition = 0;
  int FDueMs = 0;  // with OwnerSteps: time passed since the last step
  TRect FTextRect;
};
