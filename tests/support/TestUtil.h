#pragma once
// Helpers shared by the tests: temporary folders and paths of the built program folder.

#include <string>

// A fresh folder removed with everything in it when the object goes.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

// Writes text as it stands (no line-end conversion).
void WriteTextFile(const std::string& path, const std::string& text);
// The build's program folder (bin/), where the generated assets land.
std::string BuiltProgramDir();
// The source tree's root.
std::string SourceDir();
// Writes a mono 16-bit 44.1 kHz WAVE file of a quiet sine tone lasting ms milliseconds.
void WriteToneWav(const std::string& path, int ms, int hz = 440);

// How much the peak resident size of the process grew while work ran, in bytes: the peak is reset
// first (Linux clear_refs), so earlier tests do not count. -1 where the peak cannot be reset; the
// caller then checks the result only.
long long PeakResidentGrowth(void (*work)(void*), void* context);
template <typename F>
long long PeakResidentGrowth(F&& work) {
  return PeakResidentGrowth([](void* c) { (*static_cast<F*>(c))(); }, &work);
}
