// Compiled help files as F1 opens them: the file's structure is checked, and a file that passes
// is read by chmlib like the help window reads it (its system record, its pages, its contents
// and index files and their entries). Nothing crashes or loops, and no object read is larger than
// the file can hold.

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/help/ChmCheck.h"
#include "platform/help/ChmFile.h"
#include "platform/help/Sitemap.h"

namespace {

std::string g_file;

void Read(const TChmFile& chm, const std::string& object, uint64_t size) {
  if (object.empty()) return;
  const std::optional<std::string> data = chm.Read(object);
  if (!data) return;
  FUZZ_CHECK(data->size() <= kMaxChmExpansion * size, "%zu bytes from %llu", data->size(),
             (unsigned long long)size);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_file = FuzzScratch("help.chm");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzWrite(g_file, data, size);
  const TChmFile chm(g_file);
  FUZZ_CHECK(chm.Ok() == chm.Problem().empty(), "opened \"%s\"", chm.Problem().c_str());
  if (!chm.Ok()) return 0;
  for (const std::string& object : {chm.ContentsFile(), chm.IndexFile()}) {
    Read(chm, object, size);
    if (const auto map = chm.Read(object.empty() ? "/none" : object))
      for (const TSitemapEntry& e : ParseSitemap(*map)) chm.Has(e.Local);
  }
  Read(chm, chm.DefaultTopic(), size);
  int pages = 0;
  for (const std::string& page : chm.Pages()) {
    if (++pages > 64) break;
    Read(chm, page, size);
  }
  return 0;
}
