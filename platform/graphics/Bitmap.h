#pragma once
// TBitmap: a picture held as 32-bit pixels, top row first. A pixel is 0xFFRRGGBB in memory order
// B, G, R, X (the layout QImage::Format_RGB32 reads), so a bitmap can be painted on by QPainter
// in place and shown without conversion. The X byte is kept at 0xFF by every routine here.

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/Types.h"
#include "platform/graphics/PictureLimits.h"

enum class TPixelFormat { pf24bit, pf32bit };

constexpr uint32_t kOpaque = 0xFF000000u;

// $BBGGRR colour to a stored pixel and back.
constexpr uint32_t ColorToPixel(TColor c) {
  return kOpaque | (uint32_t(c & 0xFF) << 16) | uint32_t(c & 0xFF00) | (uint32_t(c >> 16) & 0xFF);
}
constexpr TColor PixelToColor(uint32_t p) {
  return TColor(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
}
constexpr bool SameRGB(uint32_t a, uint32_t b) {
  return ((a ^ b) & 0xFFFFFF) == 0;
}

// What SetSize does with the pixels.
enum class TNewPixels : uint8_t {
  Keep,       // the overlapping top-left part is kept, new pixels are black
  Overwrite,  // nothing is kept or filled: the caller writes every pixel before reading any
};

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height, TNewPixels pixels = TNewPixels::Keep) { SetSize(width, height, pixels); }
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  ~TBitmap() = default;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }

  // New size (negative sizes count as 0). By default the overlapping top-left part is kept and new
  // pixels are black; a picture about to be written whole (decoded, copied or filled) asks for
  // TNewPixels::Overwrite and no pixel is touched here. A large picture's memory is taken from the
  // system untouched, so what is never drawn costs nothing, and given back when the picture goes.
  void SetSize(int width, int height, TNewPixels pixels = TNewPixels::Keep);
  void SetWidth(int width) { SetSize(width, FHeight); }
  void SetHeight(int height) { SetSize(FWidth, height); }
  // Deep copy of pixels, size, format and transparency.
  void Assign(const TBitmap& source) { *this = source; }

  // Row y (0 = top). The caller keeps y inside 0..Height-1.
  uint32_t* ScanLine(int y) { return FPixels.get() + size_t(y) * size_t(FWidth); }
  const uint32_t* ScanLine(int y) const { return FPixels.get() + size_t(y) * size_t(FWidth); }
  // Byte view of row y: B, G, R, X per pixel, 4 bytes a pixel whichever PixelFormat is set.
  uint8_t* ScanLineBytes(int y) { return reinterpret_cast<uint8_t*>(ScanLine(y)); }
  const uint8_t* ScanLineBytes(int y) const { return reinterpret_cast<const uint8_t*>(ScanLine(y)); }
  uint32_t* Bits() { return FPixels.get(); }
  const uint32_t* Bits() const { return FPixels.get(); }

  // Colour at (x, y) as $BBGGRR; -1 outside the bitmap. Setting outside does nothing.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor c);
  uint32_t RawPixel(int x, int y) const { return FPixels[size_t(y) * size_t(FWidth) + size_t(x)]; }

  // The format the picture was made or loaded with. Storage is always 32-bit; this records
  // the format for writers and for routines that behave differently per format.
  TPixelFormat PixelFormat = TPixelFormat::pf24bit;
  // Drawn with Draw, a transparent bitmap leaves out every pixel of TransparentColor.
  bool Transparent = false;
  // The key colour: the bottom-left pixel ($BBGGRR), black for an empty bitmap.
  TColor TransparentColor() const;

  // Fills the whole picture.
  void Clear(TColor c);

  // A QImage over this bitmap's own memory (no copy). QPainter on it draws into the bitmap.
  // Valid until the next SetSize; never keep it across one.
  QImage Image();
  // The same for reading only (painting the bitmap somewhere); no copy either.
  QImage ConstImage() const;
  // A deep copy as a QImage (for saving screenshots and showing).
  QImage ToQImage() const;
  // Replaces the contents with a copy of img converted to 32-bit.
  void FromQImage(const QImage& img);

  // Loads a .bmp or .jpg/.jpeg file (chosen by content, not name). Raises EInvalidGraphic or
  // EFileError naming the file; the bitmap is unchanged then.
  void LoadFromFile(const std::string& path);
  // As above within other limits (a card set's pictures take kCardPictureLimits).
  void LoadFromFile(const std::string& path, const TPictureLimits& limits);
  // Writes a 24-bit BMP. Raises EFileError naming the file.
  void SaveToFile(const std::string& path) const;

  // Kept for the drawing code's intent; the pixels here never leave memory.
  void Dormant() {}
  void FreeImage() {}

  friend bool operator==(const TBitmap& a, const TBitmap& b);

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::unique_ptr<uint32_t[]> FPixels;
};

// Same size and the same RGB in every pixel (format and flags are not compared).
bool SamePixels(const TBitmap& a, const TBitmap& b);

// Called once at a program's start: every block of a quarter megabyte or more (every picture of
// some size) then comes straight from the system and goes straight back to it when freed, so a
// picture that is released no longer counts as the program's memory, and a new one starts as
// untouched pages. Without it the allocator keeps freed blocks of the largest size seen so far.
void GiveLargeBlocksBackToTheSystem();
