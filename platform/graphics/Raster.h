#pragma once
// Raster copies between bitmaps, clipped to both bitmaps, as the table's drawing needs them.
// Copy = source, And = destination AND source, Paint = destination OR source,
// NotCopy = inverted source. Source and destination may be the same bitmap, overlapping or not:
// the result is as if the source had been copied aside first. Every result pixel has X = 0xFF.
// Rectangles may lie partly or wholly outside either bitmap; only pixels whose destination and
// source both lie inside are touched.

#include "platform/core/Types.h"

class TBitmap;

enum class TRasterOp { Copy, And, Paint, NotCopy };

void BitBlt(TBitmap& dst, int x, int y, int w, int h, const TBitmap& src, int sx, int sy,
            TRasterOp op = TRasterOp::Copy);
// Nearest-neighbour stretch of the source rectangle onto the destination rectangle: destination
// column x + i (0 <= i < w) takes source column sx + (i * sw) / w, rows likewise, so equal sizes
// copy pixel for pixel. Zero or negative sizes draw nothing.
void StretchBlt(TBitmap& dst, int x, int y, int w, int h, const TBitmap& src, int sx, int sy, int sw, int sh,
                TRasterOp op = TRasterOp::Copy);
// The same stretch blended over the destination with a constant alpha (0..255): each channel
// becomes (source * alpha + destination * (255 - alpha) + 127) / 255.
void AlphaBlendStretch(TBitmap& dst, int x, int y, int w, int h, const TBitmap& src, int sx, int sy, int sw,
                       int sh, int alpha);
// Whole source at (x, y); a Transparent source leaves out its key colour.
void Draw(TBitmap& dst, int x, int y, const TBitmap& src);
// Whole source at (x, y), leaving out every pixel equal to key in R, G and B.
void DrawTransparent(TBitmap& dst, int x, int y, const TBitmap& src, TColor key);
// Whole source stretched into r; a Transparent source leaves out its key colour.
void StretchDraw(TBitmap& dst, const TRect& r, const TBitmap& src);
void FillRect(TBitmap& dst, const TRect& r, TColor c);
// One-pixel frame just inside r.
void FrameRect(TBitmap& dst, const TRect& r, TColor c);
// Fills r with the pattern tiled from the bitmap's origin (a brush bitmap).
void PatternFill(TBitmap& dst, const TRect& r, const TBitmap& pattern);
// Inverts every pixel's colour.
void InvertBitmap(TBitmap& bmp);
