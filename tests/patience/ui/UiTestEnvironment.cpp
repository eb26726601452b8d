// What every window test of this binary shares: each test gets places of its own (the local
// application data, documents and desktop folders, three separate folders in a fresh temporary
// folder), so whatever a test wrote never reaches the next one, however the tests of the binary
// are grouped into processes; and a dialog that a test does not answer itself is closed at once
// with Cancel, so an unexpected question never waits for a player.
#include <gtest/gtest.h>

#include <memory>

#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "patience/ui/ModalDialogs.h"
#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

namespace {

class TFreshPlaces : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override {
    FHome = std::make_unique<TTempDir>();
    LocalAppDataDir = *FHome / "Local";
    MyDocumentsDir = *FHome / "Documents";
    DesktopDir = *FHome / "Desktop";
    for (const std::string* dir : {&LocalAppDataDir, &MyDocumentsDir, &DesktopDir}) ForceDirectories(*dir);
    DataLocation = 3;
    SetModalHook([](QDialog&) { return int(QDialog::Rejected); });
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    SetModalHook({});
    FHome.reset();
  }

 private:
  std::unique_ptr<TTempDir> FHome;
};

class TUiTestEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ::testing::UnitTest::GetInstance()->listeners().Append(new TFreshPlaces); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TUiTestEnvironment);

}  // namespace
