#pragma once
// TCanvas: text and shapes drawn onto a TBitmap, with a font, a pen and a brush as on a device
// context. Text and curved shapes go through QPainter working on the bitmap's own memory
// (TBitmap::Image()); rectangles and lines are written straight into the pixels.
//
// Lifetime: every drawing call opens its QPainter, draws, ends the painter (which flushes it) and
// puts the 0xFF X byte back in the touched area before it returns. No painter is ever left open,
// so between calls the bitmap may be read, blitted, resized or reloaded freely. The canvas keeps a
// reference to its bitmap: the bitmap must outlive the canvas. Text is UTF-8.

#include <string>
#include <vector>

#include <QColor>
#include <QFont>

#include "platform/core/Types.h"

class TBitmap;

// The colour for the toolkit (a system colour as the desktop palette has it).
QColor ToQColor(TColor c);

enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psClear };

struct TFont {
  std::string Name = "MS Sans Serif";  // family; unknown families fall back to the desktop's sans font
  int Size = 8;                        // points at 96 pixels per inch, used while Height is 0
  int Height = 0;                      // character height in pixels; when non-zero it wins over Size
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  TColor Color = clBlack;

  // The em height in pixels the font is drawn with.
  int PixelSize() const;
  QFont ToQFont() const;
};

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = TPenStyle::psSolid;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
};

class TCanvas {
 public:
  explicit TCanvas(TBitmap& bitmap) : FBitmap(bitmap) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBitmap& Bitmap() { return FBitmap; }

  TFont Font;
  TPen Pen;
  TBrush Brush;
  // Where LineTo starts; MoveTo sets it, LineTo and TextOut move it.
  TPoint PenPos;

  // Text with its top-left corner at (x, y). A solid brush fills the text's cell first (opaque
  // text), a clear brush leaves the background. PenPos moves to the end of the text.
  void TextOut(int x, int y, const std::string& text);
  // Text at (x, y) cut to r; a solid brush fills all of r first.
  void TextRect(const TRect& r, int x, int y, const std::string& text);
  int TextWidth(const std::string& text) const;
  int TextHeight(const std::string& text) const;
  TPoint TextExtent(const std::string& text) const { return TPoint(TextWidth(text), TextHeight(text)); }

  // Shapes take the bounding rectangle with right and bottom exclusive. The pen outlines inside it
  // and the brush fills the rest; a clear pen or brush leaves that part out.
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  // Corners rounded by an ellipse of cornerW x cornerH.
  void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH);
  // Closed polygon, filled with the even-odd rule.
  void Polygon(const std::vector<TPoint>& points);
  // Fills r with the brush (nothing for a clear brush); the pen is not used.
  void FillRect(const TRect& r);
  // One-pixel frame just inside r in the brush colour.
  void FrameRect(const TRect& r);
  void MoveTo(int x, int y) { PenPos = TPoint(x, y); }
  // Line from PenPos to (x, y), the end point left out; PenPos moves there.
  void LineTo(int x, int y);

  // The whole picture at (x, y); a Transparent picture leaves out its key colour.
  void Draw(int x, int y, const TBitmap& picture);
  void StretchDraw(const TRect& r, const TBitmap& picture);

 private:
  TBitmap& FBitmap;
};
