#pragma once
// The table appearance presets of the Options menu: the fifteen background gradients and the drag
// shade colours, as data that the menu, its commands and the tests share.

#include <array>
#include <cstdint>

#include "cardtable/Backdrop.h"
#include "platform/core/Types.h"

struct TGradientPreset {
  int Tag;              // the table's Tag while the preset is current
  const char* Name;     // the menu item
  const char* Caption;  // its caption
  bool NewMode;         // two-colour mode (From, To, Type), else band mode (the rest)
  uint8_t StartR, StartG, StartB;
  TFillDirection Direction;
  bool ChangeR, ChangeG, ChangeB;
  TColor From, To;
  TGradientStyle Type;
};

// By Tag 1..15 (index Tag - 1): "Mode 1" .. "Mode 6", then the named presets.
const std::array<TGradientPreset, 15>& GradientPresets();
// The menu order: the six modes, a separator (Tag 0), then the named presets alphabetically.
const std::array<int, 16>& GradientMenuOrder();
// Sets the backdrop to the preset in the order the table repaints sensibly: switched on first,
// then the preset's values, and the mode last.
void ApplyGradientPreset(TBackdrop& backdrop, const TGradientPreset& preset);

struct TDragShadeColour {
  int Colour;  // HQDragShadeColour
  const char* Name;
  const char* Caption;
};
// Grey, Red, Green, Blue, Yellow, Pink, Turquoise: HQDragShadeColour 0..6.
const std::array<TDragShadeColour, 7>& DragShadeColours();
