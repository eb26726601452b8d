#pragma once
// How every item of the game's menus is drawn, and how commands are found by caption.

#include <string_view>

#include "cardtable/MenuItemLook.h"  // the band and colours, shared with the card-set maker
#include "platform/core/Types.h"
#include "platform/ui/Menus.h"

class TCanvas;

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
