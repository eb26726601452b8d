// Every game of the catalogue (and every Freecell size) dealt with several seeds in both layouts,
// each deal checked against the invariants of EngineTestUtil.

#include <gtest/gtest.h>

#include "tests/patience/engine/EngineTestUtil.h"

namespace {

constexpr uint32_t kSeeds[] = {0u, 12345u, 0xFFFFFFFFu, 20240611u};

class DealAllGamesTest : public ::testing::TestWithParam<bool> {};

TEST_P(DealAllGamesTest, EveryGameDealsSoundly) {
  const bool extended = GetParam();
  TEngineRig rig(1280, 960);
  rig.Host.Extended = extended;
  rig.Engine->ApplyLayout(extended);
  int deals = 0;
  for (const std::string& caption : AllCaptions()) {
    for (uint32_t seed : kSeeds) {
      rig.Deal(caption, seed);
      ASSERT_EQ(rig.Engine->Rules.GameName, caption);
      EXPECT_EQ(rig.Engine->HistoryList[1], std::to_string(int32_t(seed)));
      EXPECT_TRUE(DealIsSound(*rig.Engine, *rig.Table)) << "seed " << seed;
      EXPECT_FALSE(rig.Engine->Busy);
      ++deals;
    }
  }
  EXPECT_EQ(deals, kGameCount * 4);
}

INSTANTIATE_TEST_SUITE_P(Layouts, DealAllGamesTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Extended" : "Compact"; });

}  // namespace
