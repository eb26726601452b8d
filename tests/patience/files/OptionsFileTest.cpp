// "Options.dat": defaults, the repair of each line alone, and a round trip through the file.
#include "patience/files/OptionsFile.h"
#include "tests/patience/files/DataFilesFixture.h"

namespace {

using TLines = std::vector<std::string>;

const TLines kDefaults = {"On", "On", "On", "On", "1", "Extended", "On"};
const TLines kFastDefaults = {"On", "On", "On", "On", "1", "Compact", "Off"};
// A file of nothing but non-default values.
const TLines kChosen = {"Off", "Off", "Off", "None", "3", "Compact", "Off"};

class OptionsFileTest : public DataFilesFixture {
 protected:
  TLines Load(const char* content, bool fast = false) {
    if (content) Put(Root / "Options.dat", content);
    return LoadOptionLines(Root.Path(), fast).Lines;
  }
};

struct TFileCase {
  const char* Name;
  const char* Content;  // null: no file
  bool Fast;
  TLines Expected;
};

const TFileCase kFileCases[] = {
    {"Missing", nullptr, false, kDefaults},
    {"MissingFast", nullptr, true, kFastDefaults},
    {"Empty", "", false, kDefaults},
    {"ThreeLinesKeepTheirValues",
     "Off\r\nOff\r\nOff\r\n",
     false,
     {"Off", "Off", "Off", "On", "1", "Extended", "On"}},
    {"FurtherLinesStay",
     "On\r\nOn\r\nOn\r\nNew\r\n-2\r\nExtended\r\nOn\r\nextra\r\n",
     false,
     {"On", "On", "On", "New", "-2", "Extended", "On", "extra"}},
    {"AutoMoveInAnyCaseStays", "on\r\noff\r\n", false, {"on", "On", "On", "On", "1", "Extended", "On"}},
    {"StepsWithoutAnItemStay",
     "On\r\nOn\r\nOn\r\nSlide\r\n4\r\n",
     false,
     {"On", "On", "On", "Slide", "4", "Extended", "On"}},
    {"StepOutOfRange",
     "On\r\nOn\r\nOn\r\nStars\r\n7\r\n",
     false,
     {"On", "On", "On", "Stars", "1", "Extended", "On"}},
    {"LinuxLineEnds", "Off\nOff\nOff\nNone\n3\nCompact\nOff\n", false, kChosen},
};

class OptionFiles : public OptionsFileTest, public ::testing::WithParamInterface<TFileCase> {};

TEST_P(OptionFiles, ReadAndRepaired) {
  const TFileCase& c = GetParam();
  EXPECT_EQ(Load(c.Content, c.Fast), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Files, OptionFiles, ::testing::ValuesIn(kFileCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(OptionsFileTest, EachBadOrMissingLineFallsBackAlone) {
  for (int bad = 0; bad < kOptionLineCount; ++bad) {
    for (const char* garbage : {"", "garbage", " On", "EXTENDED"}) {
      SCOPED_TRACE(std::to_string(bad) + " '" + garbage + "'");
      TStringList lines;
      lines.Lines = kChosen;
      lines[bad] = garbage;
      RepairOptionLines(lines, false);
      TLines expected = kChosen;
      expected[size_t(bad)] = kDefaults[size_t(bad)];
      EXPECT_EQ(lines.Lines, expected);
    }
  }
}

TEST_F(OptionsFileTest, ARoundTripKeepsEveryLine) {
  TStringList lines;
  lines.Lines = kChosen;
  lines.SaveToFile(Root / "Options.dat");
  EXPECT_EQ(Read(Root / "Options.dat"), "Off\r\nOff\r\nOff\r\nNone\r\n3\r\nCompact\r\nOff\r\n");
  EXPECT_EQ(Load(nullptr), kChosen);
  EXPECT_EQ(OptionScaleStep(LoadOptionLines(Root.Path(), false)), 3);
  // Found under another case too.
  std::filesystem::rename(Root / "Options.dat", Root / "OPTIONS.DAT");
  EXPECT_EQ(Load(nullptr), kChosen);
}

}  // namespace
