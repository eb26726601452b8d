#pragma once
// TWindowBackdrop: the main window's backdrop picture ("backdrop.jpg") stretched to the window's client size,
// held only where it has been shown. The start screen covers most of the window with its panels
// and a game covers all of it with the table: the stretched picture is made piece by piece for the
// places a paint asks for (the file is read again for a place not yet held), and the decoded
// picture is let go once the window has had its first paint.

#include <QRegion>
#include <QSize>
#include <future>
#include <string>
#include <vector>

#include "platform/core/Types.h"
#include "platform/graphics/Bitmap.h"

class QPainter;

class TWindowBackdrop {
 public:
  // The picture file; empty for none. Holds nothing yet.
  void SetFile(const std::string& file);
  const std::string& File() const { return FFile; }
  bool Empty() const { return FFile.empty(); }
  // Starts reading the file on a thread of its own, for the first paint.
  void ReadAhead();
  // Paints region of the picture stretched to size (the window's), in the window's coordinates.
  // Raises when the file cannot be read.
  void Paint(QPainter& painter, const QRegion& region, const QSize& size);
  // The picture stretched to size, in r (window coordinates), into a bitmap of r's size at (0, 0).
  void CopyTo(TBitmap& out, const TRect& r, const QSize& size);
  // The window has had its first paint: the decoded picture goes (it is read again when a place
  // not yet held is asked for).
  void FirstPaintDone();
  // What is held of the stretched picture, in pixels, and where.
  long long HeldPixels() const;
  const QRegion& Held() const { return FHeld; }

 private:
  // Makes the part of region not held yet.
  void Hold(const QRegion& region, const QSize& size);
  struct TPiece {
    QRect Place;
    TBitmap Pixels;
  };
  std::string FFile;
  std::future<TBitmap> FAhead;
  TBitmap FDecoded;
  bool FKeepDecoded = true;
  QSize FSize;
  QRegion FHeld;
  std::vector<TPiece> FPieces;
};
