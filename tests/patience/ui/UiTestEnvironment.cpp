// What every window test of this binary shares: the game's data folder lies in a temporary
// folder (nothing reaches the real home folder), and a dialog that a test does not answer itself
// is closed at once with Cancel, so an unexpected question never waits for a player.
#include <gtest/gtest.h>

#include <memory>

#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "patience/ui/ModalDialogs.h"
#include "tests/support/TestUtil.h"

namespace {

class TUiTestEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    FHome = std::make_unique<TTempDir>();
    LocalAppDataDir = FHome->Path();
    MyDocumentsDir = FHome->Path();
    DesktopDir = FHome->Path();
    DataLocation = 3;
    SetModalHook([](QDialog&) { return int(QDialog::Rejected); });
  }
  void TearDown() override {
    SetModalHook({});
    FHome.reset();
  }

 private:
  std::unique_ptr<TTempDir> FHome;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TUiTestEnvironment);

}  // namespace
