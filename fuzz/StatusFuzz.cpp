// "Status.Dat" applied to a real table with the generated card sets: a damaged file (one the
// reader refuses) changes nothing, and whatever a file leaves the table with, the file the table
// then writes reads back into a fresh table as the same file.

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "cardtable/CardTable.h"
#include "fuzz/FuzzCheck.h"
#include "platform/core/Exceptions.h"
#include "platform/stream/ComponentStream.h"

namespace {

std::unique_ptr<TCardTable> g_table, g_readBack;
std::string g_baseline;

// Back to a new table's settings, the ones a file leaves out when they have their default too.
void Reset(TCardTable& t) {
  t.Tag = 0;
  t.AlignWithMargins = false;
  t.Cursor = crDefault;
  t.Hint.clear();
  t.HelpType = htContext;
  t.HelpKeyword.clear();
  t.HelpContext = 0;
  t.Margins = TMargins();
  t.SetAlign(alNone);
  t.Enabled = true;
  t.SetVisible(true);
  t.ApplyStatusData(g_baseline);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QGuiApplication app(*argc, *argv);
  const char* sets = std::getenv("PATIENCE_CARDSETS");
  g_table = std::make_unique<TCardTable>(nullptr, sets ? sets : PATIENCE_FUZZ_CARDSETS);
  g_readBack = std::make_unique<TCardTable>(nullptr, sets ? sets : PATIENCE_FUZZ_CARDSETS);
  g_baseline = g_table->StatusData();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TCardTable& t = *g_table;
  Reset(t);
  const std::string before = t.StatusData();
  try {
    t.ApplyStatusData(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const EReadError&) {
    FUZZ_CHECK(t.StatusData() == before, "a damaged file changed the table");
    return 0;
  }
  const std::string written = t.StatusData();
  TCardTable& u = *g_readBack;
  Reset(u);
  u.ApplyStatusData(written);
  FUZZ_CHECK(u.StatusData() == written, "the table's own file did not read back equal (%zu bytes)",
             written.size());
  return 0;
}
