#include "tests/support/TestUtil.h"

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
