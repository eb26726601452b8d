#pragma once
// Things other than cards drawn on the table's back buffer, each with a save-under so that it can
// be taken off again: TSprite (a picture turned and scaled about its centre), TTableImage (a
// picture from a file, shown opaque) and TTableArea (a clickable rectangle drawn as a thin frame
// or as a picture). The table owns one sprite and one area and shows them again after every full
// redraw.

#include <cstdint>
#include <functional>
#include <string>

#include "cardtable/TableSurface.h"
#include "platform/core/Types.h"
#include "platform/graphics/Bitmap.h"

class TCardTable;
class TCard;

// A press on the table that hit no card: position and button.
using TTableClickEvent = std::function<void(int X, int Y, TMouseButton Button)>;

class TTableImage {
 public:
  explicit TTableImage(TCardTable* table);

  bool Visible = false;
  TBitmap Picture;
  TBitmap Background;  // save-under
  TCardTable* Table;
  int X = 0;
  int Y = 0;
  // The picture is in the buffer (Visible alone may only mark it for the next Show of its area).
  bool Shown = false;

  // ".jpg" files (any case) are decoded as JPEG, anything else is read as a BMP. Raises
  // EInvalidGraphic or EFileError; the picture is unchanged then.
  void LoadPicture(const std::string& fileName);
  // Saves the buffer at (x, y) and copies the picture there. A shown image is taken off first,
  // unless newBuffer says that the buffer was just rebuilt (its save-under is then meaningless).
  // Nothing reaches the screen.
  void Show(int x, int y, bool newBuffer = false);
  // Puts the save-under back; no screen copy.
  void Hide();
  // False hides a shown image; True only marks it (its area draws it at the next Show).
  void SetVisible(bool value);
};

class TTableArea {
 public:
  explicit TTableArea(TCardTable* table);

  bool Visible = false;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  TTableClickEvent OnClick;
  int Kind = 0;  // 0 black frame, 1 picture below the cards, 9 picture above the cards
  TTableImage Image;
  TCardTable* Table;
  TBitmap Background;  // save-under
  bool Shown = false;  // drawn in the buffer

  // Saves Width x Height of the buffer at (X, Y) and draws the frame (kind 0) or, when the image is
  // marked visible, the image (kinds 1 and 9). A shown area is taken off first unless newBuffer.
  // No screen copy: the owner repaints.
  void Show(bool newBuffer = false);
  // Puts the save-under back, or, when the table changed beneath the area since it was shown,
  // draws the table afresh without it. No screen copy beyond what a redraw does.
  void Hide();
  // Edges included: X..X + Width, Y..Y + Height.
  bool Contains(int x, int y) const;

 private:
  // What Show left in the buffer at the area: while the buffer still holds it there, nothing
  // beneath has changed and the save-under is good.
  TBitmap Drawn;
  void TakeOff();
};

class TSprite {
 public:
  explicit TSprite(TCardTable* table);

  TCardTable* Table;
  int X = 0;  // top-left of the source picture on the table
  int Y = 0;
  int DrawX = 0;
  int DrawY = 0;
  int DrawWidth = 0;
  int DrawHeight = 0;
  TPoint Origin;
  float Angle = 0;
  float Scale = 1.0f;
  TBitmap Background;  // save-under, grows and never shrinks
  TBitmap Source;
  TBitmap Rendered;  // transparent
  bool Visible = false;

  // Renders Source at Angle and Scale centred where the source's centre lies and draws it with a
  // fresh save-under (a visible sprite is restored first); copies the old and new rectangles.
  void Draw();
  // Puts the save-under back; not visible. No screen copy.
  void Restore();
  // Restore, then copy the rectangle to the screen.
  void Erase();
  TRect DrawRect() const { return Bounds(DrawX, DrawY, DrawWidth, DrawHeight); }

  // The card's face grows by Step per frame for Milliseconds (and, with ShrinkBack, shrinks back
  // as long again, stopping before it gets smaller than the card), then the sprite is erased.
  // Frames come at most once per display frame and the scale follows the time on the program's
  // clock, never the number of frames drawn, so the growth is the same on any machine; it can never
  // pass kMaxScale.
  void Zoom(TCard* Card, int Milliseconds, float Step, bool ShrinkBack);
  // The card's face turns by Step radians per frame from the card's angle for Milliseconds, then the
  // sprite is erased. Paced like Zoom.
  void Spin(TCard* Card, int Milliseconds, float Step);
  // The frame the effects count their steps in when the table does not pace its frames.
  static constexpr int kNominalFrameMs = 16;
  static constexpr float kMaxScale = 4.0f;
  // Frames drawn by the last effect (for the benchmarks and tests).
  int FramesDrawn = 0;

 private:
  int FramePeriod() const;
  // Sleeps until frame k after start; returns the milliseconds since start, at most duration.
  double WaitFrame(uint64_t start, int k, int duration) const;
};
