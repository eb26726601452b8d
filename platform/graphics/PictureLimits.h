#pragma once
// How large a picture a decoder accepts, checked against the header before any pixel memory is
// taken. A picture beyond the limits is refused like a damaged one.

#include <cstdint>

#include "platform/core/Files.h"

struct TPictureLimits {
  int MaxSide;         // pixels along either side
  uint64_t MaxPixels;  // width x height
  TFileKind FileKind;  // the size cap of the file read
};

// Pictures in general (backgrounds, the game's own pictures): up to what an 8K screen shows, 2^25
// pixels (128 MiB decoded), 16384 a side.
constexpr TPictureLimits kPictureLimits{16384, uint64_t(1) << 25, TFileKind::Picture};
// A photo the card-set maker turns into cards: whatever cameras, phones and panoramas make, up to
// 2^28 pixels (1 GiB decoded; a 45-megapixel photo takes 180 MiB), and the largest side a JPEG file
// can state. The file must still hold the data for the picture it claims.
constexpr TPictureLimits kSourcePictureLimits{65535, uint64_t(1) << 28, TFileKind::SourcePicture};
// One picture of a card set (a face, a back, a mask, a marker): 2^20 pixels (4 MiB decoded), 4096 a
// side, dozens of times the area of the largest card drawn.
constexpr TPictureLimits kCardPictureLimits{4096, uint64_t(1) << 20, TFileKind::CardPicture};
