#pragma once
// TStarfieldView: the start screen's starfield, a black picture the stars fly through. A frame
// changes a few hundred small squares, scattered over the picture, fifty times a second: only the
// squares that changed go to the screen. On an X display the view paints on screen itself and the
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

  // The picture as the screen shows it, black and white.
  const TStarMask& Field() const { return FField; }
  TBitmap Picture() const { return FField.Picture(); }
  // A black picture of the view's size with the stars spread over a field of fieldW x fieldH,
  // flying out of the picture's middle.
  void StartField(int fieldW, int fieldH);
  // One frame of the stars, and to the screen what it changed.
  void NextFrame();
  // What the last frame sent: the squares that turned black, then those that turned white.
  const std::vector<TRect>& SentBlack() const { return FBlack; }
  const std::vector<TRect>& SentWhite() const { return FWhite; }

 protected:
  QPaintEngine* paintEngine() const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // A star's square as the picture shows it: the square, and whether all of it is white (a later
  // star's erase may have taken part of it).
  struct TShown {
    TRect Square;
    bool Whole = true;
  };
  // The white of a square that is not whole, row by row.
  void AddWhiteRuns(const TRect& r);
  // Marks the cells of the coarse grid that a rectangle meets; a square in a marked cell is sent.
  void Mark(const TRect& r);
  bool Marked(const TRect& r) const;

  bool FOnScreen = false;
  TStarMask FField;
  std::vector<TShown> FShown;  // per star, as the screen shows it
  std::vector<TShown> FNow;    // per star, after the frame being sent
  std::vector<uint8_t> FStayed;
  std::vector<TRect> FDrawn, FBlack, FWhite;
  std::vector<uint8_t> FCells;
  int FColumns = 0;
};
