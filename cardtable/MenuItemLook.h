#pragma once
// The look of an owner-drawn menu item, the same in both programs' menus but for the direction of
// the highlight: a framed diagonal gradient between white and pale red while the item is selected
// and enabled (the game's runs from white, the maker's from pale red); otherwise the pale blue "B1" band
// under the glyph and a white text area. The caption is drawn without its first "&" (a separator is a thin
// line), greyed when disabled, and the item's glyph sits in the band, or the check picture for a checked item
// without a glyph of its own.

#include <cstdint>

#include "platform/core/Types.h"

class TBitmap;
class TCanvas;
class TImageList;
class TMenuItem;

inline constexpr TColor kMenuTextDisabled = TColor(0xC0C0C0);
inline constexpr TColor kMenuHighlightFrom = TColor(0xFFFFFF);
inline constexpr TColor kMenuHighlightTo = TColor(0x9B9BFF);
inline constexpr TColor kMenuLineColour = TColor(0xF0CAA6);
// Width of the picture band; the text area starts there.
inline constexpr int kMenuBandWidth = 28;

// "B1": 32 x 27, pale blue on the left shading to white on the right.
const TBitmap& MenuBandBitmap();

// Where the highlight's gradient starts: the game's at white, the maker's at the pale red.
enum class TMenuHighlight : uint8_t { FromWhite, FromRed };

// Draws Item into Rect of Canvas with glyphs from Images (CheckImage for a checked item without one).
void DrawMenuItemLook(TMenuItem& Item, TCanvas& Canvas, bool Selected, TRect Rect, const TImageList& Images,
                      int CheckImage, TMenuHighlight Highlight);
