#include "platform/graphics/Jpeg.h"

#include <algorithm>
#include <climits>
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

// Real progressive files have a dozen scans; a file with thousands of tiny ones would make the
// decoder walk the whole picture thousands of times.
constexpr int kMaxScans = 200;
constexpr uint64_t kArithmeticPixelsPerByte = 1024;

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

extern "C" void JpegProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    TJpegError* err = reinterpret_cast<TJpegError*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "more than %d scans", kMaxScans);
    std::longjmp(err->jump, 1);
  }
}

// Where DecodeInto leaves its result.
struct TJpegResult {
  TBitmap bmp;
  std::vector<uint8_t> spare;  // one R, G, B row when the library cannot write B, G, R, X
  std::string error;
  bool tooLarge = false;  // the error is the picture's size, not damage
};

// How the decoded bytes of a row become the stored B, G, R, X pixels.
enum class TRowForm : uint8_t {
  Bgrx,         // as stored; X is set when the library may leave anything there
  Bgra,         // as stored
  Rgb,          // three bytes a pixel in the spare row
  Cmyk,         // C, M, Y, K: the share of each ink
  InvertedCmyk  // C, M, Y, K as Adobe's programs write them, 255 for no ink
};

bool Allocate(TJpegResult& res, int w, int h, bool rgbRow) noexcept {
  try {
    // Every row is written by the decoder.
    res.bmp.SetSize(w, h, TNewPixels::Overwrite);
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

// The error manager that jumps back instead of ending the process.
void InstallErrorHandler(jpeg_decompress_struct& cinfo, TJpegError& err) {
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JpegErrorExit;
  err.pub.emit_message = JpegEmitMessage;
  err.pub.output_message = JpegOutputMessage;
  err.message[0] = 0;
}

// The decoder's own memory (the whole-picture coefficient buffers of a progressive file, above
// all) stays within what a picture at the limits needs: three full-size components of 16-bit
// coefficients, and some working space. The progress monitor counts the scans.
void LimitDecoder(jpeg_decompress_struct& cinfo, jpeg_progress_mgr& progress, const TPictureLimits& limits) {
  cinfo.mem->max_memory_to_use = long(std::min<uint64_t>(limits.MaxPixels * 6 + (16u << 20), LONG_MAX));
  progress.progress_monitor = JpegProgress;
  cinfo.progress = &progress;
}

bool SupportedColourSpace(const jpeg_decompress_struct& cinfo) {
  switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
    case JCS_CMYK:
    case JCS_YCCK:
      return true;
    default:
      return false;
  }
}

bool PrintColours(const jpeg_decompress_struct& cinfo) {
  return cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
}

bool WithinLimits(const jpeg_decompress_struct& cinfo, const TPictureLimits& limits) {
  return cinfo.image_width != 0 && cinfo.image_height != 0 && cinfo.image_width <= unsigned(limits.MaxSide) &&
         cinfo.image_height <= unsigned(limits.MaxSide) &&
         uint64_t(cinfo.image_width) * cinfo.image_height <= limits.MaxPixels;
}

// Huffman coding spends at least one bit on every block of the first scan, and a scan has at
// least as many blocks as the frame has MCUs (at most 32 x 32 pixels each): a file with fewer
// bits cannot hold the picture its header claims. Arithmetic coding has no such floor (a flat
// picture costs next to nothing), so there a picture beyond 4 Mpx needs a byte for every 1024
// pixels, about half a bit a block, which only an almost uniform picture goes below.
bool TooShortForPicture(const jpeg_decompress_struct& cinfo, unsigned long size) {
  const uint64_t mcus = uint64_t((cinfo.image_width + 8 * cinfo.max_h_samp_factor - 1) /
                                 (8 * std::max(cinfo.max_h_samp_factor, 1))) *
                        uint64_t((cinfo.image_height + 8 * cinfo.max_v_samp_factor - 1) /
                                 (8 * std::max(cinfo.max_v_samp_factor, 1)));
  if (cinfo.arith_code)
    return uint64_t(cinfo.image_width) * cinfo.image_height >
           (uint64_t(4) << 20) + uint64_t(size) * kArithmeticPixelsPerByte;
  return uint64_t(size) * 8 < mcus;
}

// Why the header read is refused, or null. A picture beyond the limits is told with its size in
// message.
const char* HeaderProblem(const jpeg_decompress_struct& cinfo, unsigned long size,
                          const TPictureLimits& limits, char* message, size_t room) {
  if (!SupportedColourSpace(cinfo)) return "unsupported colour space";
  if (!WithinLimits(cinfo, limits)) {
    std::snprintf(
        message, room,
        "%u x %u pixels (%.1f megapixels); at most %.1f megapixels and %d pixels a side can be read",
        cinfo.image_width, cinfo.image_height, double(cinfo.image_width) * cinfo.image_height / 1e6,
        double(limits.MaxPixels) / 1e6, limits.MaxSide);
    return message;
  }
  if (TooShortForPicture(cinfo, size)) return "the file is too short for the picture its header claims";
  return nullptr;
}

// The output layout and quality, and how each row becomes stored pixels. Print colours (CMYK, and
// YCCK, which the library turns into CMYK) come out as inks and are mixed into red, green and blue
// here; Adobe's programs store them inverted and say so in their marker.
TRowForm ChooseOutput(jpeg_decompress_struct& cinfo, bool highQuality) {
  cinfo.dct_method = highQuality ? JDCT_ISLOW : JDCT_IFAST;
  cinfo.do_fancy_upsampling = highQuality ? TRUE : FALSE;
  if (PrintColours(cinfo)) {
    cinfo.out_color_space = JCS_CMYK;
    return cinfo.saw_Adobe_marker ? TRowForm::InvertedCmyk : TRowForm::Cmyk;
  }
#if defined(JCS_ALPHA_EXTENSIONS)
  // B, G, R, A with A = 0xFF: exactly the stored pixel layout.
  cinfo.out_color_space = JCS_EXT_BGRA;
  return TRowForm::Bgra;
#elif defined(JCS_EXTENSIONS)
  // B, G, R, X; the library may leave any value in X.
  cinfo.out_color_space = JCS_EXT_BGRX;
  return TRowForm::Bgrx;
#else
  cinfo.out_color_space = JCS_RGB;
  return TRowForm::Rgb;
#endif
}

// The share of light that ink i (0..255, 255 for none) lets through together with black ink k,
// rounded.
inline uint32_t Through(uint32_t i, uint32_t k) {
  return (i * k + 127) / 255;
}

// One decoded row into the picture's stored layout.
void StoreRow(uint32_t* d, const TJpegResult& res, int w, TRowForm form) {
  switch (form) {
    case TRowForm::Bgra:
      return;
    case TRowForm::Bgrx:
      for (int x = 0; x < w; ++x) d[x] |= kOpaque;
      return;
    case TRowForm::Rgb: {
      const uint8_t* s = res.spare.data();
      for (int x = 0; x < w; ++x, s += 3)
        d[x] = kOpaque | (uint32_t(s[0]) << 16) | (uint32_t(s[1]) << 8) | s[2];
      return;
    }
    case TRowForm::Cmyk:
    case TRowForm::InvertedCmyk: {
      const uint32_t flip = form == TRowForm::Cmyk ? 255 : 0;
      const uint8_t* s = reinterpret_cast<const uint8_t*>(d);
      for (int x = 0; x < w; ++x, s += 4) {
        const uint32_t c = s[0] ^ flip, m = s[1] ^ flip, y = s[2] ^ flip, k = s[3] ^ flip;
        d[x] = kOpaque | (Through(c, k) << 16) | (Through(m, k) << 8) | Through(y, k);
      }
      return;
    }
  }
}

// Reads every row into res->bmp; false when the decoder stalls.
bool ReadRows(jpeg_decompress_struct& cinfo, TJpegResult* res, TRowForm form) {
  const int w = int(cinfo.output_width);
  const bool direct = cinfo.output_components == 4;
  while (cinfo.output_scanline < cinfo.output_height) {
    uint32_t* d = res->bmp.ScanLine(int(cinfo.output_scanline));
    JSAMPROW row = direct ? reinterpret_cast<JSAMPROW>(d) : res->spare.data();
    // A memory source never suspends, so every call yields a row; a zero would spin forever.
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
    StoreRow(d, *res, w, form);
  }
  return true;
}

bool Refuse(jpeg_decompress_struct& cinfo, TJpegResult* res, const char* text) {
  jpeg_destroy_decompress(&cinfo);
  SetError(*res, text);
  return false;
}

// Decodes into res; false with res.error set on failure. Holds no C++ object across setjmp: the
// calls into C++ (Allocate, SetError) return before libjpeg runs again, and the helpers called
// after setjmp hold only plain data, so a jump out of them skips no destructor.
bool DecodeInto(const uint8_t* data, unsigned long size, bool highQuality, const TPictureLimits* limits,
                TJpegResult* res) {
  jpeg_decompress_struct cinfo;
  TJpegError err;
  jpeg_progress_mgr progress;
  InstallErrorHandler(cinfo, err);
  if (setjmp(err.jump)) return Refuse(cinfo, res, err.message);
  jpeg_create_decompress(&cinfo);
  LimitDecoder(cinfo, progress, *limits);
  jpeg_mem_src(&cinfo, data, size);
  jpeg_read_header(&cinfo, TRUE);
  if (const char* problem = HeaderProblem(cinfo, size, *limits, err.message, sizeof err.message)) {
    res->tooLarge = problem == err.message;
    return Refuse(cinfo, res, problem);
  }
  const TRowForm form = ChooseOutput(cinfo, highQuality);
  jpeg_start_decompress(&cinfo);
  const int w = int(cinfo.output_width), h = int(cinfo.output_height);
  const int comps = cinfo.output_components;
  if (w != int(cinfo.image_width) || h != int(cinfo.image_height) ||
      comps != (form == TRowForm::Rgb ? 3 : 4) || !Allocate(*res, w, h, form == TRowForm::Rgb))
    return Refuse(cinfo, res, "cannot hold the decoded picture");
  if (!ReadRows(cinfo, res, form)) return Refuse(cinfo, res, "decoder made no progress");
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

void DecodeJpeg(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name, bool highQuality) {
  DecodeJpeg(data, out, name, highQuality, kPictureLimits);
}

void DecodeJpeg(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name, bool highQuality,
                const TPictureLimits& limits) {
  TJpegResult res;
  if (data.empty() ||
      !DecodeInto(data.data(), static_cast<unsigned long>(data.size()), highQuality, &limits, &res)) {
    // A whole picture that is merely larger than this use takes is no damaged file.
    if (res.tooLarge) throw EInvalidGraphic("\"" + name + "\" is too large a picture: " + res.error);
    throw EInvalidGraphic("\"" + name + "\" is not a valid JPEG picture: " +
                          (res.error.empty() ? std::string("empty file") : res.error));
  }
  TBitmap& bmp = res.bmp;
  bmp.PixelFormat = TPixelFormat::pf24bit;
  bmp.Transparent = out.Transparent;
  out = std::move(bmp);
}

void LoadJpegFile(const std::string& path, TBitmap& out, bool highQuality) {
  LoadJpegFile(path, out, highQuality, kPictureLimits);
}

void LoadJpegFile(const std::string& path, TBitmap& out, bool highQuality, const TPictureLimits& limits) {
  DecodeJpeg(ReadFileBytes(path, limits.FileKind), out, path, highQuality, limits);
}
