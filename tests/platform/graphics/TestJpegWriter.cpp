#include "tests/platform/graphics/TestJpegWriter.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

std::vector<uint8_t> MakeJpegFromPixels(int w, int h, TTestJpegKind kind, int quality, bool progressive,
                                        const std::vector<TColor>& pixels) {
  return MakeCodedJpeg(w, h, kind, quality, progressive, false, pixels);
}

std::vector<uint8_t> MakeCodedJpeg(int w, int h, TTestJpegKind kind, int quality, bool progressive,
                                   bool arithmetic, const std::vector<TColor>& pixels) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);  // the tests only compress valid pictures
  jpeg_create_compress(&cinfo);
  unsigned char* buf = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buf, &size);
  cinfo.image_width = JDIMENSION(w);
  cinfo.image_height = JDIMENSION(h);
  switch (kind) {
    case TTestJpegKind::Colour:
      cinfo.input_components = 3;
      cinfo.in_color_space = JCS_RGB;
      break;
    case TTestJpegKind::Grey:
      cinfo.input_components = 1;
      cinfo.in_color_space = JCS_GRAYSCALE;
      break;
    case TTestJpegKind::Cmyk:
    case TTestJpegKind::CmykPlain:
    case TTestJpegKind::Ycck:
      cinfo.input_components = 4;
      cinfo.in_color_space = JCS_CMYK;
      break;
  }
  jpeg_set_defaults(&cinfo);
  if (kind == TTestJpegKind::Ycck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
  if (kind == TTestJpegKind::CmykPlain) cinfo.write_Adobe_marker = FALSE;
  const bool inverted = kind == TTestJpegKind::Cmyk || kind == TTestJpegKind::Ycck;
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  cinfo.arith_code = arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(size_t(w) * 4);
  while (cinfo.next_scanline < cinfo.image_height) {
    const TColor* src = pixels.data() + size_t(cinfo.next_scanline) * size_t(w);
    for (int x = 0; x < w; ++x) {
      const TColor c = src[x];
      switch (kind) {
        case TTestJpegKind::Colour:
          row[size_t(x) * 3] = uint8_t(GetRValue(c));
          row[size_t(x) * 3 + 1] = uint8_t(GetGValue(c));
          row[size_t(x) * 3 + 2] = uint8_t(GetBValue(c));
          break;
        case TTestJpegKind::Grey:
          row[size_t(x)] = uint8_t(GetRValue(c));
          break;
        case TTestJpegKind::Cmyk:
        case TTestJpegKind::CmykPlain:
        case TTestJpegKind::Ycck:
          for (int i = 0; i < 4; ++i) {
            const uint8_t ink = uint8_t(uint32_t(c) >> (8 * i));
            row[size_t(x) * 4 + size_t(i)] = inverted ? uint8_t(255 - ink) : ink;
          }
          break;
      }
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<uint8_t> out(buf, buf + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buf);
  return out;
}
