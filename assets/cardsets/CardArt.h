#pragma once
// Drawing of a complete card set: faces, jokers, backs, the card mask, pile-bottom markers, the
// drop shade and the drag-shadow strips. Every picture comes out as a W x H (or strip-sized)
// QImage in Format_RGB32, ready to be written as a 24-bit BMP.
//
// Pixel conventions the card table relies on:
// - faces and backs are OR pictures: exact black outside the card shape, never exact black inside;
// - the card mask is black inside the shape and white outside;
// - markers, shade and shadows are AND pictures: only pure white (table unchanged) and pure black,
//   with shaded areas as a 50 % checkerboard.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <string>
#include <vector>

#include "assets/cardsets/Suits.h"

// Geometry and proportions of one set.
struct TSetStyle {
  std::string Name;
  int W = 71;
  int H = 96;
  int Shadow = 4;       // width of the right shadow strip, height of the bottom one
  double Radius = 5.5;  // corner radius of the card shape
  QRect IndexBox;       // top-left corner index; the others are copies of it
  bool FourIndices = false;
  double RankHeight = 9;  // cap height of the index rank
  double IndexSuit = 7;   // height of the index suit symbol
  double PipHeight = 12;
  double ColX[3] = {21, 35.5, 50};  // pip column centres
  double RowTop = 15;               // centre of the top pip row; the bottom row mirrors it
  double AceHeight = 30;
  QRect CourtFrame;  // frame of the court portraits
  int BackCount = 1;
  double BackMargin = 4;  // white margin of the backs, measured from the card edge
  bool WriteShadow02 = false;
};

TSetStyle StandardStyle();
TSetStyle TemplateStyle();

// The card outline rasterised once: a pixel belongs to the card when at least half of it lies
// inside the rounded rectangle.
class TCardShape {
 public:
  TCardShape(int width, int height, double radius);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Inside(int x, int y) const {
    return x >= 0 && y >= 0 && x < FWidth && y < FHeight && FIn[size_t(y) * FWidth + x];
  }
  // Inside pixel with an outside (or off-picture) pixel among its eight neighbours.
  bool Edge(int x, int y) const;

 private:
  int FWidth, FHeight;
  std::vector<uint8_t> FIn;
};

// Colours shared by the art.
namespace Ink {
inline const QColor Black(22, 22, 26);
inline const QColor Red(198, 22, 34);
inline const QColor Paper(255, 255, 255);
// The card edge. The maker frames a picture in red 20 and ANDs it with this edge when it builds
// new faces and backs on a card of the set; red 86 shares the bits of 20, so the edge stays a
// dark red there and never turns into the black that keys out.
inline const QColor Outline(86, 86, 90);
inline const QColor Gold(236, 184, 48);
inline const QColor Skin(250, 214, 172);
}  // namespace Ink

inline const QColor& SuitColour(TArtSuit s) {
  return IsRed(s) ? Ink::Red : Ink::Black;
}

// A white card-sized picture to paint on.
QImage BlankCard(const TSetStyle& style);
// Applies the card shape: 1-pixel outline on the edge, exact black outside, and lifts every exact
// black pixel inside to near-black.
void FinishCard(QImage& img, const TCardShape& shape);

// Faces (rank 1 = ace .. 13 = king).
QImage DrawFace(const TSetStyle& style, const TCardShape& shape, TArtSuit suit, int rank);
// Jokers 1 and 2 (01joker.bmp, 02joker.bmp).
QImage DrawJoker(const TSetStyle& style, const TCardShape& shape, int number);
// The corner index of a card, IndexBox-sized, on white paper (rank 0 = joker number -suit).
QImage DrawIndex(const TSetStyle& style, TArtSuit suit, int rank);
QImage DrawJokerIndex(const TSetStyle& style, int number);
// Copies the index into the card's corners (bottom ones turned by 180 degrees).
void PlaceIndices(QImage& card, const TSetStyle& style, const QImage& index);

// Court portraits (rank 11..13) into style.CourtFrame.
void DrawCourt(QPainter& p, const TSetStyle& style, TArtSuit suit, int rank);
void DrawJester(QPainter& p, const TSetStyle& style, int number);

// Backs 1..9.
QImage DrawBack(const TSetStyle& style, const TCardShape& shape, int number);
constexpr int kBackDesigns = 9;

// Masks, markers and shadows.
QImage DrawCardMask(const TCardShape& shape);
// kind: 1, 2, 4, 5, 6, 7 for Bottom01..Bottom07.
QImage DrawBottom(const TSetStyle& style, const TCardShape& shape, int kind);
// Checkerboard over the card shape (Shade.bmp and Shadow02.bmp).
QImage DrawShade(const TSetStyle& style, const TCardShape& shape);
// The L-shaped drag shadow: right strip s x (H - s) (strip 1) and bottom strip W x s (strip 0),
// as the AND picture, the mask (black where the shadow falls) or the inverse mask.
enum class TShadowKind { Picture, Mask, InverseMask };
QImage DrawShadowStrip(const TSetStyle& style, const TCardShape& shape, int strip, TShadowKind kind);
