#include "tests/support/TestUtil.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

TTempDir::TTempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "patience-test-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  FPath = tmpl;
}

TTempDir::~TTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
}

std::string BuiltProgramDir() {
  const char* v = std::getenv("PATIENCE_BIN_DIR");
  return v ? v : "../bin";
}

std::string SourceDir() {
  const char* v = std::getenv("PATIENCE_SOURCE_DIR");
  return v ? v : "../..";
}

void WriteToneWav(const std::string& path, int ms, int hz) {
  const uint32_t rate = 44100, frames = rate * uint32_t(ms) / 1000, bytes = frames * 2;
  std::string d;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) d += char((v >> (8 * i)) & 0xFF);
  };
  auto u16 = [&](uint16_t v) {
    d += char(v & 0xFF);
    d += char(v >> 8);
  };
  d += "RIFF";
  u32(36 + bytes);
  d += "WAVEfmt ";
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  d += "data";
  u32(bytes);
  for (uint32_t i = 0; i < frames; ++i)
    u16(uint16_t(int16_t(3000.0 * std::sin(2.0 * 3.14159265358979 * hz * double(i) / rate))));
  WriteTextFile(path, d);
}

namespace {

// A field of /proc/self/status in bytes (the file gives kB), -1 when missing.
long long StatusField(const std::string& field) {
  std::ifstream f("/proc/self/status");
  std::string line;
  while (std::getline(f, line))
    if (line.compare(0, field.size() + 1, field + ":") == 0)
      return std::atoll(line.c_str() + field.size() + 1) * 1024;
  return -1;
}

}  // namespace

long long PeakResidentGrowth(void (*work)(void*), void* context) {
  bool reset = false;
  {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";  // resets the peak to the present resident size
    clear.flush();
    reset = bool(clear);
  }
  const long long before = StatusField("VmRSS");
  work(context);
  const long long peak = StatusField("VmHWM");
  if (!reset || before < 0 || peak < 0) return -1;
  return peak - before;
}
