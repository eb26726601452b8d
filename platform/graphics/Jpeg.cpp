#include "platform/graphics/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"

// libjpeg reports a fatal error through error_exit, whose default ends the process. Ours jumps
// back to the decoder with longjmp. The function that calls setjmp holds only plain C data (the
// libjpeg structures, pointers and a fixed message buffer); the pixel vector and every other C++
// object live in the caller, so a jump never skips a destructor.

namespace {

constexpr int kMaxSide = 32768;
constexpr uint64_t kMaxPixels = uint64_t(1) << 26;

struct TJpegError {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];  // the first fatal error or incomplete-picture warning
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  TJpegError* err = reinterpret_cast<TJpegError*>(cinfo->err);
  cinfo->err->format_message(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings arrive with level -1. libjpeg decodes a truncated or corrupt stream to the end with
// grey filling and only warns; such a picture is refused, and at the first warning, so that a
// short file claiming a large picture costs no time decoding grey. Extraneous bytes before a
// marker are harmless and common, so that warning alone is let through.
extern "C" void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  TJpegError* err = reinterpret_cast<TJpegError*>(cinfo->err);
  cinfo->err->num_warnings++;
  if (cinfo->err->msg_code == JWRN_EXTRANEOUS_DATA) return;
  cinfo->err->format_message(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

extern "C" void JpegOutputMessage(j_common_ptr) {}

// Where DecodeInto leaves its result.
struct TJpegResult {
  TBitmap bmp;
  std::vector<uint8_t> spare;  // one R, G, B row when the library cannot write B, G, R, X
  std::string error;
};

bool Allocate(TJpegResult& res, int w, int h, bool rgbRow) noexcept {
  try {
    res.bmp.SetSize(w, h);
    if (rgbRow) res.spare.resize(size_t(w) * 3);
    return true;
  } catch (...) {
    return false;
  }
}

void SetError(TJpegResult& res, const char* text) noexcept {
  try {
    res.error = text;
  } catch (...) {
  }
}

// Decodes into res; false with res.error set on failure. Holds no C++ object across setjmp: the
// calls into C++ (Allocate, SetError) return before libjpeg runs again.
bool DecodeInto(const uint8_t* data, unsigned long size, bool highQuality, TJpegResult* res) {
  jpeg_decompress_struct cinfo;
  TJpegError err;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegErrorExit;
  err.pub.emit_message = JpegEmitMessage;
  err.pub.output_message = JpegOutputMessage;
  err.message[0] = 0;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    SetError(*res, err.message);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, size);
  jpeg_read_header(&cinfo, TRUE);
  const char* problem = nullptr;
  if (cinfo.jpeg_color_space != JCS_GRAYSCALE && cinfo.jpeg_color_space != JCS_YCbCr &&
      cinfo.jpeg_color_space != JCS_RGB)
    problem = "unsupported colour space (CMYK or unknown)";
  else if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > kMaxSide ||
           cinfo.image_height > kMaxSide || uint64_t(cinfo.image_width) * cinfo.image_height > kMaxPixels)
    problem = "picture too large";
  if (problem) {
    jpeg_destroy_decompress(&cinfo);
    SetError(*res, problem);
    return false;
  }
#if defined(JCS_ALPHA_EXTENSIONS)
  // B, G, R, A with A = 0xFF: exactly the stored pixel layout.
  cinfo.out_color_space = JCS_EXT_BGRA;
  const bool fixX = false;
#elif defined(JCS_EXTENSIONS)
  // B, G, R, X; the library may leave any value in X.
  cinfo.out_color_space = JCS_EXT_BGRX;
  const bool fixX = true;
#else
  const bool fixX = false;
  cinfo.out_color_space = JCS_RGB;
#endif
  cinfo.dct_method = highQuality ? JDCT_ISLOW : JDCT_IFAST;
  cinfo.do_fancy_upsampling = highQuality ? TRUE : FALSE;
  jpeg_start_decompress(&cinfo);
  const int w = int(cinfo.output_width), h = int(cinfo.output_height);
  const int comps = cinfo.output_components;
  if (w != int(cinfo.image_width) || h != int(cinfo.image_height) || (comps != 4 && comps != 3) ||
      !Allocate(*res, w, h, comps == 3)) {
    jpeg_destroy_decompress(&cinfo);
    SetError(*res, "cannot hold the decoded picture");
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    uint32_t* d = res->bmp.ScanLine(int(cinfo.output_scanline));
    JSAMPROW row = comps == 4 ? reinterpret_cast<JSAMPROW>(d) : res->spare.data();
    // A memory source never suspends, so every call yields a row; a zero would spin forever.
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
      jpeg_destroy_decompress(&cinfo);
      SetError(*res, "decoder made no progress");
      return false;
    }
    if (comps == 4) {
      if (fixX)
        for (int x = 0; x < w; ++x) d[x] |= kOpaque;
    } else {
      const uint8_t* s = res->spare.data();
      for (int x = 0; x < w; ++x, s += 3)
        d[x] = kOpaque | (uint32_t(s[0]) << 16) | (uint32_t(s[1]) << 8) | s[2];
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

void DecodeJpeg(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name, bool highQuality) {
  TJpegResult res;
  if (data.empty() || !DecodeInto(data.data(), static_cast<unsigned long>(data.size()), highQuality, &res))
    throw EInvalidGraphic("\"" + name + "\" is not a valid JPEG picture: " +
                          (res.error.empty() ? std::string("empty file") : res.error));
  TBitmap& bmp = res.bmp;
  bmp.PixelFormat = TPixelFormat::pf24bit;
  bmp.Transparent = out.Transparent;
  out = std::move(bmp);
}

void LoadJpegFile(const std::string& path, TBitmap& out, bool highQuality) {
  DecodeJpeg(ReadFileBytes(path), out, path, highQuality);
}
