// Every window test finds its special folders in the temporary home the test main set up, so the
// data folder a window decides on lies there too.
#include <gtest/gtest.h>

#include "cardtable/SystemDirs.h"

namespace {

class TTestHome : public ::testing::Environment {
 public:
  void SetUp() override { InitSystemDirs(); }
};

[[maybe_unused]] ::testing::Environment* const kTestHome = ::testing::AddGlobalTestEnvironment(new TTestHome);

}  // namespace
