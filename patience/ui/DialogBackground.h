#pragma once
// The background of the game's small dialogs (scoring, card movement, update check): one bitmap of
// the dialog's client size holding a diagonal gradient from $966464 to $FAC8C8, drawn once when
// the dialog is made and painted at (0, 0).

#include "platform/graphics/Bitmap.h"

TBitmap DialogBackground(int width, int height);
