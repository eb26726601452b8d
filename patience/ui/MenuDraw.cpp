#include "patience/ui/MenuDraw.h"

#include "cardtable/MenuItemLook.h"
#include "patience/files/Trace.h"
#include "patience/ui/ToolbarImages.h"

void BaseMenuDraw(TMenuItem& Item, TCanvas& Canvas, bool Selected, TRect Rect) {
  DrawMenuItemLook(Item, Canvas, Selected, Rect, ToolbarImages(), tiCheck, TMenuHighlight::FromWhite);
}

void About1DrawItem(TMenuItem& Sender, TCanvas& ACanvas, const TRect& ARect, bool Selected) {
  const TRect r = ARect;
  BaseMenuDraw(Sender, ACanvas, Selected, r);
}

void OwnerDrawAll(TMenuItem& root) {
  root.OnDrawItem = About1DrawItem;
  root.ForEach([](TMenuItem& item) { item.OnDrawItem = About1DrawItem; });
}

TMenuItem* GetMenuItem(TMenuItem* Root, std::string_view Caption, bool Recursive) {
  if (!Root) return nullptr;
  if (Tracing()) Trace("GetMenuItem(" + Root->Name() + ")");
  TMenuItem* result = Root->Find(Caption);
  if (!result && Recursive)
    for (int i = 0; i < Root->Count() && !result; ++i) {
      TMenuItem* child = Root->Items(i);
      if (child->Count() > 0) result = GetMenuItem(child, Caption, true);
    }
  return result;
}
