#pragma once
// What the fuzz targets share: a property that does not hold is a finding, reported like a crash;
// and a place for the files a target writes.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition, ...)                               \
  do {                                                           \
    if (!(condition)) {                                          \
      std::fprintf(stderr, "property failed: %s: ", #condition); \
      std::fprintf(stderr, __VA_ARGS__);                         \
      std::fprintf(stderr, "\n");                                \
      std::abort();                                              \
    }                                                            \
  } while (0)

// A path of this process's own for a file or folder a target writes, in memory (/dev/shm) when
// the system has it, so that the flushes of the writers under test cost nothing. Removed at exit.
inline std::string FuzzScratch(const std::string& name) {
  std::error_code error;
  const std::filesystem::path shm = "/dev/shm";
  const std::filesystem::path base =
      std::filesystem::is_directory(shm, error) ? shm : std::filesystem::temp_directory_path();
  const std::string path = (base / ("patience-fuzz-" + std::to_string(getpid()) + "-" + name)).string();
  static std::vector<std::string> made;
  if (made.empty())
    std::atexit([] {
      std::error_code e;
      for (const std::string& p : made) std::filesystem::remove_all(p, e);
    });
  made.push_back(path);
  return path;
}

// Writes the bytes to a file as they are.
inline void FuzzWrite(const std::string& path, const void* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(static_cast<const char*>(data), std::streamsize(size));
}
