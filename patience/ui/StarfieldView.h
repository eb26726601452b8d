#pragma once
// TStarfieldView: the start screen's starfield, a black picture the stars fly through. A frame
// changes a few hundred small squares, scattered over the picture, fifty times a second: the
// frame is worked out in rectangles (no picture is drawn), and only the squares that changed go to
// the screen. On an X display the view paints on screen itself and the
// squares that turn black and those that turn white are filled there in two requests; elsewhere
// they are repainted through the toolkit.

#include <QWidget>
#include <cstdint>
#include <vector>

#include "patience/ui/Starfield.h"
#include "platform/core/Types.h"
#include "platform/graphics/Bitmap.h"

class TStarfieldView : public QWidget {
 public:
  explicit TStarfieldView(QWidget* parent);

  // The picture as the screen shows it, black and white (made when asked for).
  const TStarMask& Field() const;
  TBitmap Picture() const { return Field().Picture(); }
  // A black picture of the view's size with the stars spread over a field of fieldW x fieldH,
  // flying out of the picture's middle.
  void StartField(int fieldW, int fieldH);
  // From now on the view paints on screen itself where it can (an X display). Called once the view
  // has its place: its window is made then, at that place.
  void PaintOnScreen();
  bool OnScreen() const { return FOnScreen; }
  // One frame of the stars, and to the screen what it changed.
  void NextFrame();
  // What the last frame sent: the squares that turned black, then those that turned white.
  const std::vector<TRect>& SentBlack() const { return FBlack; }
  const std::vector<TRect>& SentWhite() const { return FWhite; }

 protected:
  QPaintEngine* paintEngine() const override;
  void paintEvent(QPaintEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // A star's square as the picture shows it: the square, and whether all of it is white (a later
  // star's erase may have taken part of it; the parts that show are then Parts rectangles of the
  // frame's list of parts from FirstPart on).
  struct TShown {
    TRect Square;
    bool Whole = true;
    int FirstPart = 0, Parts = 0;
  };
  // What of square shows after the erases of the stars after star: out receives its pieces.
  // The erases of this step by the cells of the coarse grid they meet.
  void IndexErases();
  // This step's squares against the last: what turns black (FBlack) and what shows (FWhite).
  void ComposeFrame();
  void CutByLaterErases(size_t star, const TRect& square, std::vector<TRect>& out);
  // Marks the cells of the coarse grid that a rectangle meets; a square in a marked cell is sent.
  void Mark(const TRect& r);
  bool Marked(const TRect& r) const;

  bool FOnScreen = false;
  // On screen: a paint has put the picture there since the view was last shown.
  bool FPainted = false;
  int FWidth = 0, FHeight = 0;
  mutable TStarMask FField;
  mutable bool FFieldStale = true;
  std::vector<TShown> FShown;  // per star, as the screen shows it
  std::vector<TRect> FParts;   // the parts of the squares that are not whole
  std::vector<TShown> FNow;    // per star, after the frame being sent
  std::vector<TRect> FNowParts;
  std::vector<uint8_t> FStayed;
  std::vector<TRect> FErased, FDrawn, FBlack, FWhite, FCut, FPieces;
  std::vector<int> FLater, FSeen;
  std::vector<uint8_t> FCells;
  int FColumns = 0;
  // Per cell of the erase grid, the stars whose erase covers it.
  std::vector<std::vector<int>> FErasing;
  int FEraseColumns = 0;
};
