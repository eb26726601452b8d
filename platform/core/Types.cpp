#include "platform/core/Types.h"

namespace {
// Fixed stand-ins for the desktop's system colours; a widget layer may refine them.
TColor SystemColor(int index) {
  switch (index) {
    case 0x04:
      return 0xF0F0F0;  // menu
    case 0x05:
      return 0xFFFFFF;  // window
    case 0x07:
      return 0x000000;  // menu text
    case 0x08:
      return 0x000000;  // window text
    case 0x0D:
      return 0xD77800;  // highlight
    case 0x0E:
      return 0xFFFFFF;  // highlight text
    case 0x0F:
      return 0xF0F0F0;  // button face
    case 0x11:
      return 0x6D6D6D;  // grey text
    default:
      return 0x000000;
  }
}
}  // namespace

TColor ColorToRGB(TColor c) {
  if (c < 0) return SystemColor(c & 0xFF);
  return c & 0xFFFFFF;
}
