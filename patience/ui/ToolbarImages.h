#pragma once
// The game's own pictures for its menus and toolbar: the glyph strip ToolbarImages (16 x 16
// each) and the "B1" band that fills the left of every menu item. All are drawn here by code
// the first time they are asked for.

#include <QImage>

#include "cardtable/MenuItemLook.h"  // the band and colours, shared with the card-set maker
#include "platform/graphics/Bitmap.h"
#include "platform/ui/ImageList.h"

// Glyph numbers of ToolbarImages.
enum TToolbarImage : int {
  tiNewGame = 0,
  tiOpen = 1,
  tiSave = 2,
  tiUndo = 3,
  tiRedo = 4,
  tiInfo = 5,
  tiHelp = 6,
  tiStatistics = 7,
  tiQuit = 8,
  tiFullScreen = 9,
  tiCheck = 10,  // a checked item without a picture of its own shows this one
  tiRestart = 11,
  tiRedeal = 12,
  tiAutoMoveOn = 13,
  tiCompact = 14,
  tiExtended = 15,
  tiOptions = 16,
  tiFavourites = 17,
  tiAutoMoveOff = 18,
  tiDebug = 19,
  tiCards = 20,
  tiStartScreen = 21,
  tiImageCount
};

const TImageList& ToolbarImages();
// Glyph index drawn at size x size pixels (for buttons larger than the toolbar's); a null image
// for an index outside the strip.
QImage ToolbarGlyph(int index, int size);
