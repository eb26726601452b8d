// The contents and index files of a help file: any text gives a list of entries, each with a name
// and a level no deeper than the lists opened before it, and every page they name becomes a path
// inside the help file ("/" and names, no "." or ".." steps, no backslash).

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/help/ChmFile.h"
#include "platform/help/Sitemap.h"

namespace {

void CheckPath(const std::string& path) {
  FUZZ_CHECK(!path.empty() && path[0] == '/', "\"%s\" is not from the root", path.c_str());
  FUZZ_CHECK(path.find('\\') == std::string::npos && path.find("//") == std::string::npos,
             "\"%s\" has an empty step or a backslash", path.c_str());
  const std::string steps = path + "/";
  FUZZ_CHECK(steps.find("/./") == std::string::npos && steps.find("/../") == std::string::npos,
             "\"%s\" has a . or .. step", path.c_str());
  FUZZ_CHECK(TChmFile::NormalisePath(path) == path, "\"%s\" normalises again", path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  size_t lists = 0;
  for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) ++lists;
  for (const TSitemapEntry& e : ParseSitemap(text)) {
    FUZZ_CHECK(!e.Name.empty(), "an entry without a name");
    FUZZ_CHECK(e.Level >= 0 && size_t(e.Level) <= lists, "level %d", e.Level);
    CheckPath(TChmFile::NormalisePath(e.Local));
  }
  return 0;
}
