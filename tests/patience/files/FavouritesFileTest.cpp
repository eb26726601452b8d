// The favourites list and "fav.dat": sorted without regard to case, each game once, bad lines
// skipped on reading.
#include <gtest/gtest.h>

#include "patience/files/Favourites.h"
#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

namespace {

bool Known(const std::string& name) {
  for (const char* g : {"Spider", "Klondike 1 [Turn over 1]", "Aces Up", "Freecell", "Yukon"})
    if (name == g) return true;
  return false;
}

TEST(FavouritesFile, SortedWithoutRegardToCaseAndEachOnce) {
  TFavouritesList f;
  EXPECT_TRUE(f.Add("Yukon"));
  EXPECT_TRUE(f.Add("aces Up"));
  EXPECT_TRUE(f.Add("Freecell"));
  EXPECT_FALSE(f.Add("YUKON"));
  EXPECT_FALSE(f.Add(""));
  EXPECT_EQ(f.Items(), (std::vector<std::string>{"aces Up", "Freecell", "Yukon"}));
  EXPECT_EQ(f.IndexOf("FREECELL"), 1);
  EXPECT_TRUE(f.Remove("freecell"));
  EXPECT_FALSE(f.Remove("freecell"));
  f.Assign({"Spider", "spider", "Aces Up", ""});
  EXPECT_EQ(f.Items(), (std::vector<std::string>{"Aces Up", "Spider"}));
}

TEST(FavouritesFile, RoundTripAndBadLinesSkipped) {
  TTempDir dir;
  const std::string path = FavouritesFilePath(dir.Path());
  struct TCase {
    std::string Text;
    std::vector<std::string> Items;
    int Skipped;
  } cases[] = {
      {"Spider\r\nAces Up\r\n", {"Aces Up", "Spider"}, 0},
      {"Spider\r\n\r\nspider\r\nNonesuch\r\nYukon\r\n", {"Spider", "Yukon"}, 3},
      {"", {}, 0},
      {"\xff\xfe garbage\n\n\n", {}, 3},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    WriteTextFile(path, c.Text);
    TFavouritesList f;
    EXPECT_EQ(f.LoadFromFile(path, Known), c.Skipped);
    EXPECT_EQ(f.Items(), c.Items);
    ASSERT_TRUE(f.SaveToFile(path));
    TFavouritesList again;
    EXPECT_EQ(again.LoadFromFile(path, Known), 0);
    EXPECT_EQ(again.Items(), c.Items);
  }
  DeleteFile(path);
  TFavouritesList none;
  EXPECT_EQ(none.LoadFromFile(path, Known), 0);
  EXPECT_EQ(none.Count(), 0);
  // Emptied, the file is empty.
  ASSERT_TRUE(none.SaveToFile(path));
  EXPECT_EQ(ReadFileText(path), "");
}

}  // namespace
