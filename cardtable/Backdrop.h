#pragma once
// Colour gradients: the gradient background of a card table (TBackdrop) and the two-colour
// rectangle fill that the backdrop, the owner-drawn menus and the winning animations share.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/core/Types.h"

class TBitmap;

enum class TFillDirection : uint8_t { drLeftRight, drRightLeft, drUpDown, drDownUp };
enum class TGradientStyle : uint8_t { gsHorizontal, gsVertical, gsDiagonalLeftRight, gsDiagonalRightLeft };

// Identifiers of the enumeration values ("drLeftRight", ...) as the settings file stores them.
std::string_view FillDirectionName(TFillDirection d);
std::optional<TFillDirection> FillDirectionFromName(std::string_view name);
std::string_view GradientStyleName(TGradientStyle s);
std::optional<TGradientStyle> GradientStyleFromName(std::string_view name);

// Fills Rect of Bitmap with a gradient from ColorFrom to ColorTo, the rest of the bitmap untouched.
// gsHorizontal runs left to right, gsVertical top to bottom, gsDiagonalLeftRight from the top-left
// corner to the bottom-right, gsDiagonalRightLeft from the top-right to the bottom-left. Colours
// step by integer fractions, so the far end stops just short of ColorTo. Equal colours give a
// plain fill. Only the part of Rect inside the bitmap is written; the gradient keeps the geometry of
// the whole Rect. The bitmap is tagged 32-bit.
void FillGradientRect(TBitmap& Bitmap, const TRect& Rect, TColor ColorFrom, TColor ColorTo,
                      TGradientStyle Style);

using TRefreshEvent = std::function<void()>;

// The table's gradient background: either 256 bands in which chosen channels run 0..255 (band mode),
// or a two-colour gradient (new mode). Every setter stores only a changed value and then fires
// RefreshEvent when the change shows in the current mode.
class TBackdrop {
 public:
  TBackdrop() = default;

  // Paints the whole bitmap when Enabled.
  void PaintBitmap(TBitmap& Bitmap) const;

  uint8_t StartR() const { return FStartR; }
  uint8_t StartG() const { return FStartG; }
  uint8_t StartB() const { return FStartB; }
  bool ChangeRColour() const { return FChangeRColour; }
  bool ChangeGColour() const { return FChangeGColour; }
  bool ChangeBColour() const { return FChangeBColour; }
  TFillDirection Direction() const { return FDirection; }
  bool Enabled() const { return FEnabled; }
  const TRefreshEvent& RefreshEvent() const { return FRefreshEvent; }
  bool NewMode() const { return FNewMode; }
  TColor NewColorFrom() const { return FNewColorFrom; }
  TColor NewColorTo() const { return FNewColorTo; }
  TGradientStyle NewType() const { return FNewType; }

  // Band mode: fire only while NewMode is off.
  void SetStartR(uint8_t v);
  void SetStartG(uint8_t v);
  void SetStartB(uint8_t v);
  void SetChangeRColour(bool v);
  void SetChangeGColour(bool v);
  void SetChangeBColour(bool v);
  void SetDirection(TFillDirection v);
  // Fires only when switched on.
  void SetEnabled(bool v);
  void SetRefreshEvent(TRefreshEvent e) { FRefreshEvent = std::move(e); }
  // Fires on every change.
  void SetNewMode(bool v);
  // New mode: fire only while NewMode is on.
  void SetNewColorFrom(TColor v);
  void SetNewColorTo(TColor v);
  void SetNewType(TGradientStyle v);

 private:
  void PaintBands(TBitmap& Bitmap) const;
  void Refresh() const {
    if (FRefreshEvent) FRefreshEvent();
  }
  template <typename T>
  void Store(T& field, T v, bool fires) {
    if (field == v) return;
    field = v;
    if (fires) Refresh();
  }

  uint8_t FStartR = 0, FStartG = 0, FStartB = 0;
  bool FChangeRColour = true, FChangeGColour = true, FChangeBColour = true;
  TFillDirection FDirection = TFillDirection::drLeftRight;
  bool FEnabled = false;
  TRefreshEvent FRefreshEvent;
  bool FNewMode = false;
  TColor FNewColorFrom = clBlack, FNewColorTo = clBlack;
  TGradientStyle FNewType = TGradientStyle::gsHorizontal;
};
