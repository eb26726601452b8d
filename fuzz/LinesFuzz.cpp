// Line files: any bytes split into lines with no line end left inside one, and the lines written
// out and read again come back the same.

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/core/StringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TStringList l;
  l.SetText(std::string(reinterpret_cast<const char*>(data), size));
  size_t chars = 0;
  for (const std::string& line : l.Lines) {
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos, "a line end inside a line");
    chars += line.size();
  }
  FUZZ_CHECK(chars <= size, "more text than bytes");
  TStringList back;
  back.SetText(l.Text());
  FUZZ_CHECK(back.Lines == l.Lines, "%d lines came back as %d", l.Count(), back.Count());
  return 0;
}
