#pragma once
// Picture to card: how the maker turns a picture into a face or a back of a user card set.
//
// A Border face keeps everything of the current card and puts the picture, resampled to 57 x 95,
// into the window (16, 14)-(73, 109) with a one-pixel frame. Every other card (Borderless faces and
// all backs) becomes the picture resampled to the card's size, framed, ANDed into a copy of the
// template card whose inside was made white: the template's rounded outer three pixels survive.
// Borderless faces then get the template's corner indices back, in one, two or four corners, as
// they are or resampled to the large size, each framed when the options ask for it.
//
// Every resize goes through FilteredStretch with Lanczos3, and every resampled picture has its
// darkest pixels lifted (LiftDarkPixels) so that nothing of it is the table's transparent black.

#include <string>

#include "deckwright/UserCardSet.h"
#include "platform/core/Types.h"

class TBitmap;
class TResampleProgress;

// The frame around pictures and indices: red 20, green 0, blue 0.
inline constexpr TColor kPictureFrameColour = TColor(0x000014);

// The picture window of a Border face, and the size the picture is resampled to.
inline constexpr TRect kBorderWindow = TRect(16, 14, 73, 109);

// The index areas of a card W x H: a corner's box as the template holds it (13 x 29) and the
// large box (20 x 34) that keeps the same outer corner. Corner 0 top left, 1 bottom right,
// 2 top right, 3 bottom left (the order they are pasted in).
TRect IndexArea(int corner, int W, int H);
TRect LargeIndexArea(int corner, int W, int H);
// The corners the rankings select: 1, 2 or 4.
int CornerCount(int rankings);

// A Border face: the picture into kBorderWindow of Target, framed. Target is made 24-bit.
void ComposeBorderFace(TBitmap& Target, TBitmap& Picture, TResampleProgress* Progress);
// A Borderless face or a back: Target becomes Template with the framed picture inside.
void ComposeFramedCard(TBitmap& Target, const TBitmap& Template, TBitmap& Picture,
                       TResampleProgress* Progress);
// The template's indices pasted into Target for the options' corners, large and framed as asked;
// Preview (the card on the table, may be null) gets a small copy of each.
void PasteCornerIndices(TBitmap& Target, const TBitmap& Template, const TSetOptions& Options,
                        TBitmap* Preview, TResampleProgress* Progress);

// The picture the user chose for a card: a ".jpg" file (the extension in any letter case) decoded as
// JPEG at best quality, any other as a bitmap file. Sources may be as large as photos get
// (kSourcePictureLimits); a larger one is refused as too large, a damaged one as damaged.
void LoadSourcePicture(const std::string& path, TBitmap& out);

// The whole composition of one card as the click does it: Face says whether a face (with its
// options) or a back is made; Preview, the card shown on the table, gets a quick stretched copy of
// the picture (and of the indices).
void ComposeCard(TBitmap& Target, const TBitmap& Template, TBitmap& Picture, const TSetOptions& Options,
                 bool Face, TBitmap* Preview, TResampleProgress* Progress);
