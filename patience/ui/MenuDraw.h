#pragma once
// How every item of the game's menus is drawn, and how commands are found by caption.

#include <string_view>

#include "platform/core/Types.h"
#include "platform/ui/Menus.h"

class TCanvas;

// Colours of the item painter.
constexpr TColor kMenuTextDisabled = TColor(0xC0C0C0);
constexpr TColor kMenuHighlightFrom = TColor(0xFFFFFF);
constexpr TColor kMenuHighlightTo = TColor(0x9B9BFF);
constexpr TColor kMenuLineColour = TColor(0xF0CAA6);
// Width of the picture band; the text area starts there.
constexpr int kMenuBandWidth = 28;

// Draws one item into Rect: the gradient highlight when it is selected and enabled, otherwise the
// "B1" band and a white text area; the caption without its first "&" (or the separator line);
// its glyph from ToolbarImages, greyed when disabled, or the check mark (image 10) for a checked
// item without a glyph.
void BaseMenuDraw(TMenuItem& Item, TCanvas& Canvas, bool Selected, TRect Rect);
// The draw handler every item of the main menu has.
void About1DrawItem(TMenuItem& Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected);
// Sets About1DrawItem on the item and on everything under it.
void OwnerDrawAll(TMenuItem& root);

// The direct child of Root whose caption matches (hot-key markers and case ignored); when there
// is none and Recursive is set, the first match found in the children that have children, in
// menu order, depth first. nullptr when nowhere.
TMenuItem* GetMenuItem(TMenuItem* Root, std::string_view Caption, bool Recursive);
