#pragma once
// TImageList: a strip of small pictures of one size (menu and toolbar glyphs), drawn by index
// either as they are or greyed, the way disabled commands show their glyph: the shape embossed
// in grey over a white shadow one pixel down and right.

#include <vector>

#include <QImage>

class TCanvas;
class QPainter;

class TImageList {
 public:
  explicit TImageList(int width = 16, int height = 16) : FWidth(width), FHeight(height) {}

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Count() const { return int(FImages.size()); }

  // Appends a picture (ARGB; transparent pixels stay transparent), scaled when its size differs.
  // Returns its index.
  int Add(const QImage& image);
  // Picture i; a null image outside the range.
  QImage Image(int i) const;
  // The greyed form of picture i.
  QImage Disabled(int i) const;

  // Draws picture i with its top-left corner at (x, y); nothing for an index outside the range.
  void Draw(QPainter& painter, int x, int y, int i, bool enabled) const;
  void Draw(TCanvas& canvas, int x, int y, int i, bool enabled) const;

 private:
  int FWidth;
  int FHeight;
  std::vector<QImage> FImages;
  std::vector<QImage> FDisabled;
};
