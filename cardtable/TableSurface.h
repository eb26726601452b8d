#pragma once
// The card table draws into its back buffer and reaches the screen only through TTableSurface:
// copies of changed rectangles, whole repaints, the control's bounds and visibility, the mouse
// cursor and what the table needs of the form it lies on. The Qt widget (CardTableWidget.h)
// implements it for the programs; tests use a surface that records into a screen bitmap.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cardtable/ScreenDiff.h"
#include "platform/core/Types.h"

class TBitmap;
class TCardTable;

// Where a control sits in its parent.
enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during a mouse event.
using TShiftState = uint16_t;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                      ssDouble = 64;

// Screen cursors by number, as the settings file stores them.
using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
                  crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                  crSizeAll = -22;

class TTableSurface {
 public:
  virtual ~TTableSurface() = default;

  // The table drawing through this surface; nullptr when the table goes.
  virtual void AttachTable(TCardTable* /*table*/) {}

  // Shows rectangle r of the buffer at the same place on the control before it returns
  // (animations never return to the event loop). r lies inside the buffer.
  virtual void CopyToScreen(const TBitmap& buffer, const TRect& r) = 0;
  // Shows the union of the rectangles (they may overlap) in one go, before it returns.
  virtual void CopyRectsToScreen(const TBitmap& buffer, const std::vector<TRect>& rects) {
    for (const TRect& r : rects) CopyToScreen(buffer, r);
  }
  // Shows the whole buffer before it returns.
  virtual void Paint(const TBitmap& buffer) = 0;
  // What the screen shows of the table, when the surface knows it: a copy then sends only the parts
  // that differ from it (ScreenDiff.h). Valid until the next copy or paint.
  virtual TScreenPixels ScreenPixels() const { return {}; }
  // Asks the event loop to call the table's PresentFrame in ms milliseconds, unless such a call is
  // asked for already. False when the surface cannot (the table then shows its copies at once).
  virtual bool PresentLater(int /*ms*/) { return false; }
  // Asks for a whole repaint from the event loop.
  virtual void Invalidate() = 0;
  // Lets pending repaints happen; user input stays queued.
  virtual void ProcessEvents() {}

  // The control's place in its parent and whether it shows.
  virtual void SetBounds(const TRect& /*r*/) {}
  virtual void SetVisible(bool /*visible*/) {}
  // Shows the parent when it is hidden.
  virtual void ShowParent() {}
  // Puts the control behind its siblings.
  virtual void SendToBack() {}

  // The cursor shown over the whole screen.
  virtual TCursor ScreenCursor() const { return crDefault; }
  virtual void SetScreenCursor(TCursor /*cursor*/) {}

  // The owner form: its outer size, the area available to the table inside it, and the
  // smallest outer size it may take.
  virtual TPoint FormSize() const { return TPoint(); }
  virtual TPoint ClientSize() const { return TPoint(); }
  virtual void SetFormMinimumSize(int /*outerWidth*/, int /*outerHeight*/) {}
  // Repaints the controls without a window of their own that lie over the table.
  virtual void RepaintOwnerLabels() {}

  // The picture-open dialog; nothing when cancelled.
  virtual std::optional<std::string> ChoosePictureFile(const std::string& /*initialDir*/,
                                                       const std::string& /*filter*/) {
    return std::nullopt;
  }
};
