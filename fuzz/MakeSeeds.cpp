// Writes the fuzz targets' first inputs from what the build made: pictures of the generated card
// sets in the encodings the readers take, the settings files real tables write, line files, saved
// games of games played at random, the data folder's and the update site's files, and the
// compiled help files the build made with copies whose compressed frame lists are damaged.
// Usage: fuzz_seeds <card sets folder> <output folder> [help file...]

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <chm_lib.h>
#include <jpeglib.h>

#include "cardtable/CardTable.h"
#include "patience/catalogue/GameStart.h"
#include "patience/engine/PatienceEngine.h"
#include "platform/core/Clock.h"
#include "platform/core/Random.h"
#include "platform/core/StringList.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& data) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << data;
}
void Write(const fs::path& path, const std::vector<uint8_t>& data) {
  Write(path, std::string(data.begin(), data.end()));
}

void Put(std::vector<uint8_t>& d, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) d[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A BMP with an info header; rows given in file order, already padded.
std::vector<uint8_t> Bmp(int w, int h, int bpp, uint32_t compression, const std::vector<uint32_t>& table,
                         const std::vector<uint8_t>& pixels) {
  const size_t off = 54 + table.size() * 4;
  std::vector<uint8_t> d(off + pixels.size());
  d[0] = 'B', d[1] = 'M';
  Put(d, 2, uint32_t(d.size()), 4);
  Put(d, 10, uint32_t(off), 4);
  Put(d, 14, 40, 4);
  Put(d, 18, uint32_t(w), 4);
  Put(d, 22, uint32_t(h), 4);
  Put(d, 26, 1, 2);
  Put(d, 28, uint32_t(bpp), 2);
  Put(d, 30, compression, 4);
  Put(d, 34, uint32_t(pixels.size()), 4);
  Put(d, 46, compression == 3 ? 0 : uint32_t(table.size()), 4);
  for (size_t i = 0; i < table.size(); ++i) Put(d, 54 + 4 * i, table[i], 4);
  std::copy(pixels.begin(), pixels.end(), d.begin() + long(off));
  return d;
}

// The top-left w x h of a picture with at most 16 colours (the rest mapped to the last one).
std::vector<uint8_t> Indexed(const TBitmap& src, int w, int h, std::vector<uint32_t>& palette) {
  std::vector<uint8_t> idx(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t p = src.RawPixel(x, y) & 0xFFFFFF;
      size_t i = 0;
      while (i < palette.size() && palette[i] != p) ++i;
      if (i == palette.size()) {
        if (palette.size() < 16)
          palette.push_back(p);
        else
          i = 15;
      }
      idx[size_t(y) * size_t(w) + size_t(x)] = uint8_t(i);
    }
  return idx;
}

void BmpSeeds(const fs::path& sets, const fs::path& out) {
  for (const char* name : {"01c.bmp", "12h.bmp", "Back1.bmp", "CardMask.bmp", "Shade.bmp", "Bottom01.bmp"})
    fs::copy_file(sets / "Standard" / name, out / name, fs::copy_options::overwrite_existing);
  TBitmap face;
  face.LoadFromFile((sets / "Standard" / "01c.bmp").string());
  const int w = std::min(face.Width(), 24), h = std::min(face.Height(), 20);
  std::vector<uint32_t> palette;
  const std::vector<uint8_t> idx = Indexed(face, w, h, palette);
  // 8 bits a pixel, bottom-up rows padded to four bytes.
  std::vector<uint8_t> rows;
  const int stride = (w + 3) & ~3;
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < stride; ++x) rows.push_back(x < w ? idx[size_t(y) * size_t(w) + size_t(x)] : 0);
  Write(out / "indexed8.bmp", Bmp(w, h, 8, 0, palette, rows));
  // The same rows run-length coded: runs, an absolute run, ends of line, a delta, the end.
  std::vector<uint8_t> rle;
  for (int y = h - 1; y >= 0; --y) {
    const uint8_t* row = idx.data() + size_t(y) * size_t(w);
    int x = 0;
    if (y == h / 2 && w > 6) {  // an absolute run of three pixels, padded
      rle.insert(rle.end(), {0, 3, row[0], row[1], row[2], 0});
      x = 3;
    }
    while (x < w) {
      int n = 1;
      while (x + n < w && n < 255 && row[x + n] == row[x]) ++n;
      rle.insert(rle.end(), {uint8_t(n), row[x]});
      x += n;
    }
    rle.insert(rle.end(), {0, 0});
  }
  rle.insert(rle.end(), {0, 2, 1, 0, 0, 1});  // a delta, then the end of the picture
  Write(out / "rle8.bmp", Bmp(w, h + 1, 8, 1, palette, rle));
  // 4 bits a pixel run-length coded, and plain.
  std::vector<uint8_t> rle4;
  for (int y = h - 1; y >= 0; --y) {
    const uint8_t* row = idx.data() + size_t(y) * size_t(w);
    for (int x = 0; x < w; x += 2)
      rle4.insert(rle4.end(),
                  {uint8_t(std::min(2, w - x)), uint8_t(row[x] << 4 | (x + 1 < w ? row[x + 1] : 0))});
    rle4.insert(rle4.end(), {0, 0});
  }
  rle4.insert(rle4.end(), {0, 1});
  Write(out / "rle4.bmp", Bmp(w, h, 4, 2, palette, rle4));
  // 32 bits a pixel with bit fields after the header, top-down.
  std::vector<uint8_t> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int i = 0; i < 4; ++i) px.push_back(uint8_t(face.RawPixel(x, y) >> (8 * i)));
  std::vector<uint8_t> bf = Bmp(w, -h, 32, 3, {0xFF0000, 0xFF00, 0xFF}, px);
  Write(out / "bitfields32.bmp", bf);
  // 16 bits a pixel, 5-5-5.
  std::vector<uint8_t> p16;
  const int stride16 = (w * 2 + 3) & ~3;
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t p = face.RawPixel(x, y);
      const uint32_t v = ((p >> 19) & 31) << 10 | ((p >> 11) & 31) << 5 | ((p >> 3) & 31);
      p16.insert(p16.end(), {uint8_t(v), uint8_t(v >> 8)});
    }
    p16.resize(p16.size() + size_t(stride16 - w * 2));
  }
  Write(out / "rgb16.bmp", Bmp(w, h, 16, 0, {}, p16));
}

std::vector<uint8_t> Jpeg(const TBitmap& src, bool grey, bool progressive, bool arithmetic, bool fullChroma,
                          int quality) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buf = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buf, &size);
  c.image_width = JDIMENSION(src.Width());
  c.image_height = JDIMENSION(src.Height());
  c.input_components = grey ? 1 : 3;
  c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  c.arith_code = arithmetic ? TRUE : FALSE;
  if (fullChroma && !grey) c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;
  c.restart_in_rows = progressive ? 0 : 2;
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t(src.Width()) * 3);
  while (c.next_scanline < c.image_height) {
    const uint32_t* s = src.ScanLine(int(c.next_scanline));
    for (int x = 0; x < src.Width(); ++x) {
      const uint32_t p = s[x];
      if (grey)
        row[size_t(x)] = uint8_t(p >> 8);
      else
        row[size_t(x) * 3] = uint8_t(p >> 16), row[size_t(x) * 3 + 1] = uint8_t(p >> 8),
                        row[size_t(x) * 3 + 2] = uint8_t(p);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> out(buf, buf + size);
  jpeg_destroy_compress(&c);
  std::free(buf);
  return out;
}

void JpegSeeds(const fs::path& sets, const fs::path& out) {
  TBitmap face;
  face.LoadFromFile((sets / "Standard" / "12h.bmp").string());
  Write(out / "baseline.jpg", Jpeg(face, false, false, false, false, 75));
  Write(out / "progressive.jpg", Jpeg(face, false, true, false, false, 60));
  Write(out / "grey.jpg", Jpeg(face, true, false, false, false, 50));
  Write(out / "arithmetic.jpg", Jpeg(face, false, false, true, true, 80));
  Write(out / "progressive-arithmetic.jpg", Jpeg(face, false, true, true, false, 40));
}

void StatusSeeds(const fs::path& sets, const fs::path& out, const fs::path& streams) {
  TCardTable t(nullptr, sets.string());
  auto save = [&](const char* name) {
    Write(out / name, t.StatusData());
    Write(streams / name, t.StatusData());
  };
  save("new.dat");
  t.CardDeck()->SetDeckName("C_1");
  t.CardDeck()->SetCardBack(2);
  t.SetColor(0x336699);
  t.SetAutoShadeMode(2);
  t.SetHQDragShadeColour(5);
  t.Hint = "a hint with \xC3\xA9 in it";
  t.Tag = 70000;
  save("changed.dat");
  t.BackDrop().SetEnabled(true);
  t.BackDrop().SetNewMode(true);
  t.BackDrop().SetNewColorFrom(0x102030);
  t.BackDrop().SetNewColorTo(0x405060);
  t.SetAlign(alClient);
  save("gradient.dat");
}

// Saved games of a few games played at random (drags of draggable cards to drop points, stock
// clicks, redeals), refused tries left in as the game records them; one closed, one never played.
void SavedGameSeeds(const fs::path& sets, const fs::path& out) {
  TVirtualClock clock;
  SetClock(&clock);
  TCardTable table(nullptr, sets.string());
  table.SetBounds(0, 0, 1600, 1000);
  table.ApplyBounds(0, 0, 1600, 1000);
  TEngineHost host;
  TPatienceEngine e(table, &host);
  TRandom rng(20261209);
  const char* const games[] = {"Klondike 1 [Turn over 1]", "Spider", "Yukon", "Canfield", "The Clock"};
  for (const char* caption : games) {
    e.SetRandomSeed(uint32_t(rng.Random(1 << 30)));
    if (!StartGameByCaption(e, caption)) continue;
    for (int k = 0; k < 40; ++k) {
      std::vector<TCard*> cards;
      for (TCard* c : e.DraggableList)
        if (c) cards.push_back(c);
      TPileKind kind = pkTableau;
      TPilePos pos;
      int pile = 0;
      if (!cards.empty() && !e.DropPointList.empty() && rng.Random(6) != 0) {
        TCard* c = cards[size_t(rng.Random(int(cards.size())))];
        if (!e.FindSource(c, kind, pos, pile)) continue;
        const int index = kind == pkTableau || kind == pkFoundation || kind == pkExcept ? pos.Index : 0;
        e.MakeMove(kind, pile, index, rng.Random(int(e.DropPointList.size())));
      } else if (e.CanRedeal()) {
        e.ReDealWastepileExecute();
      } else {
        e.MakeMove(pkStockClick, 0, 0, 0);
      }
    }
    Write(out / (std::string(caption) + ".ppg"), e.HistoryList.Text());
  }
  TStringList closed;
  closed.SetText(e.HistoryList.Text());
  closed[2] = "0";
  Write(out / "closed.ppg", closed.Text());
  closed.Lines.resize(3);
  Write(out / "dealt.ppg", closed.Text());
  SetClock(nullptr);
}

// Statistics: the count file, a NUL byte, the high-score file.
void StatisticsSeeds(const fs::path& out) {
  TStringList scores;
  for (int i = 0; i < 20; ++i) {
    scores.Add(i < 3 ? "Player " + std::to_string(i) : "");
    scores.Add(i < 3 ? "9/12/26" : "");
    scores.Add(std::to_string(i < 3 ? 300 - 50 * i : 0));
  }
  Write(out / "three.dat", std::string("12\r\n5\r\n") + '\0' + scores.Text());
  Write(out / "counts-only.dat", std::string("2147483646\r\n7\r\n"));
}

void OptionSeeds(const fs::path& out) {
  Write(out / "Options.dat", TStringList{"On", "Off", "On", "Stars", "2", "Compact", "On", "kept"}.Text());
  Write(out / "Scoring.dat", TStringList{"-1", "50", "-5", "-10"}.Text());
  Write(out / "fav.dat", TStringList{"Spider", "Klondike 1 [Turn over 1]", "yukon"}.Text());
}

void UpdateInfoSeeds(const fs::path& out) {
  auto info = [](const char* newest, const char* name, const char* size) {
    return TStringList{"PATIENCE UPDATE INFO",
                       newest,
                       "You are up to date.",
                       name,
                       size,
                       "New look",
                       "More games",
                       "Faster deals",
                       "Enjoy",
                       "your",
                       "games",
                       "2000",
                       "",
                       ""}
        .Text();
  };
  Write(out / "newer.dat", info("2052", "Setup 2052.exe", "30000"));
  Write(out / "current.dat", info("2051", "Setup.exe", ""));
  Write(out / "full.dat", info("2100", "Setup.exe", "1"));
}

void HelpContentsSeeds(const fs::path& out) {
  Write(out / "contents.hhc",
        std::string(
            "<HTML><BODY><OBJECT type=\"text/site properties\"><param name=\"ImageType\" value=\"Folder\">"
            "</OBJECT><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Rules &amp; "
            "more\"><param name=\"Local\" value=\"html/index.htm\"></OBJECT><UL><LI><OBJECT "
            "type=\"text/sitemap\"><param name=\"Name\" value=\"Canfield\"><param name=\"Local\" "
            "value=\"html\\pati4p2c.htm#rules\"></OBJECT></UL></UL></BODY></HTML>"));
  Write(out / "index.hhk",
        std::string("<UL><li><object TYPE='text/sitemap'><PARAM NAME=name VALUE='Foundation &#233;'><param "
                    "name=local value=../html/./x.htm></object></UL>"));
}

uint64_t Le(const std::string& d, size_t at, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | uint8_t(d[at + size_t(i)]);
  return v;
}

// Each help file, and copies of it with one entry of its compressed section's frame list raised:
// past the next entry (every frame), past the section's end, to 2^32 and to 2^63 (the first, a
// middle and the last frame).
void HelpFileSeeds(const std::vector<fs::path>& files, const fs::path& out) {
  for (const fs::path& file : files) {
    std::ostringstream in;
    in << std::ifstream(file, std::ios::binary).rdbuf();
    const std::string bytes = in.str();
    Write(out / file.filename(), bytes);
    chmFile* h = chm_open(file.c_str());
    chmUnitInfo ui{};
    const bool found =
        h && chm_resolve_object(
                 h,
                 "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
                 "InstanceData/ResetTable",
                 &ui) == CHM_RESOLVE_SUCCESS;
    if (h) chm_close(h);
    if (!found || bytes.size() < 0x60) continue;
    const size_t table = size_t(Le(bytes, 0x58, 8) + ui.start);
    if (table + 0x28 > bytes.size()) continue;
    const uint64_t frames = Le(bytes, table + 4, 4), compressed = Le(bytes, table + 0x18, 8);
    const size_t entries = table + size_t(Le(bytes, table + 12, 4));
    if (frames == 0 || entries + 8 * frames > bytes.size()) continue;
    auto damaged = [&](uint64_t frame, uint64_t start, const std::string& kind) {
      std::string d = bytes;
      for (int i = 0; i < 8; ++i) d[entries + 8 * frame + size_t(i)] = char(start >> (8 * i));
      Write(out / (file.stem().string() + "-frame" + std::to_string(frame) + "-" + kind + ".chm"), d);
    };
    for (uint64_t i = 0; i + 1 < frames; ++i)
      damaged(i, Le(bytes, entries + 8 * (i + 1), 8) + 1, "past-next");
    for (uint64_t i : {uint64_t(0), frames / 2, frames - 1}) {
      damaged(i, compressed + 1, "past-end");
      damaged(i, uint64_t(1) << 32, "2to32");
      damaged(i, uint64_t(1) << 63, "2to63");
    }
  }
}

void LineSeeds(const fs::path& out) {
  TStringList options{"1", "0", "Standard", "4", "", "C:\\Games\\Cardsets"};
  Write(out / "options.dat", options.Text());
  Write(out / "lf.txt", std::string("first\nsecond\n\nfourth"));
  Write(out / "cr.txt", std::string("a\rb\r\r\nc\r\n"));
  Write(out / "config.txt", std::string("/usr/share/games/Cardsets\r\n"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: fuzz_seeds <card sets folder> <output folder> [help file...]\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  const fs::path sets = argv[1], out = argv[2];
  for (const char* d : {"bmp", "jpeg", "status", "stream", "lines", "savedgame", "statistics", "options",
                        "updateinfo", "helpcontents", "helpfile"})
    fs::create_directories(out / d);
  BmpSeeds(sets, out / "bmp");
  JpegSeeds(sets, out / "jpeg");
  StatusSeeds(sets, out / "status", out / "stream");
  LineSeeds(out / "lines");
  SavedGameSeeds(sets, out / "savedgame");
  StatisticsSeeds(out / "statistics");
  OptionSeeds(out / "options");
  UpdateInfoSeeds(out / "updateinfo");
  HelpContentsSeeds(out / "helpcontents");
  HelpFileSeeds(std::vector<fs::path>(argv + 3, argv + argc), out / "helpfile");
  return 0;
}
