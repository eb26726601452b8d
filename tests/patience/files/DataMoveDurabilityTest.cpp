// The order in which a data-folder move makes its steps last, against a power cut: the staged copy
// (every file and folder of it) is on the disk before the journal decides the move, and every
// folder that took files is on the disk before "Player.dat" makes the new place current; the new
// place's "Player.dat" is on the disk before an old file goes.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "patience/files/DataMove.h"
#include "patience/files/FolderMove.h"
#include "tests/patience/files/DataFilesFixture.h"

namespace {

namespace fs = std::filesystem;

// What was flushed ("sync <path>") and the move's steps ("step <step>"), in order.
std::vector<std::string> g_events;

int RecordSync(int fd) {
  std::error_code ec;
  g_events.push_back("sync " + fs::read_symlink("/proc/self/fd/" + std::to_string(fd), ec).string());
  return 0;  // nothing here needs the disk itself
}

class DataMoveDurabilityTest : public DataFilesFixture {
 protected:
  void SetUp() override {
    DataFilesFixture::SetUp();
    g_events.clear();
    FDurable = SetDurableCallsForTesting({RecordSync, nullptr});
    SetMoveStepHookForTesting([this](const std::string& step) {
      g_events.push_back("step " + step);
      // The staged copy as it is when the journal is written.
      if (step == "journal")
        for (const auto& e : fs::recursive_directory_iterator(Work()))
          (e.is_directory() ? StagedFolders : StagedFiles).push_back(e.path().string());
      return true;
    });
  }
  void TearDown() override {
    SetMoveStepHookForTesting({});
    SetDurableCallsForTesting(FDurable);
    DataFilesFixture::TearDown();
  }
  std::string New() const { return fs::canonical(DocsPatience()).string(); }
  std::string Work() const { return New() + "/" + kMoveFolder; }
  // Where an event is, events.size() when it is not there.
  static size_t At(const std::string& event, size_t from = 0) {
    return size_t(std::find(g_events.begin() + long(from), g_events.end(), event) - g_events.begin());
  }
  // The syncs of path between from and to.
  static bool SyncedBetween(const std::string& path, size_t from, size_t to) {
    return std::find(g_events.begin() + long(from), g_events.begin() + long(to), "sync " + path) !=
           g_events.begin() + long(to);
  }

  std::vector<std::string> StagedFolders, StagedFiles;
  TDurableCalls FDurable;
};

TEST_F(DataMoveDurabilityTest, EachStepIsOnTheDiskBeforeTheStepThatReliesOnIt) {
  FillDataFolder(LocalPatience());
  std::filesystem::create_directories(DocsPatience());
  TFolderMove move;
  move.Old = LocalPatience();
  move.New = DocsPatience();
  move.Files = {"Player.dat", "Options.dat", "Status.Dat", "fav.dat", "Scoring.dat"};
  move.Folders = {"Save Games", "Data"};
  move.Player = true;
  ASSERT_TRUE(MoveFolder(move));
  ASSERT_EQ(Read(DocsPatience() + "/Player.dat"), "Ann\r\n2051\r\n");

  // Before the journal: every folder of the staged copy, the work folder and the new place (each
  // file's data and name were flushed as it was written).
  const size_t journal = At("step journal");
  ASSERT_LT(journal, g_events.size());
  EXPECT_EQ(StagedFiles.size(), kFilledFiles);
  ASSERT_FALSE(StagedFolders.empty());
  for (const std::string& path : StagedFolders) EXPECT_TRUE(SyncedBetween(path, 0, journal)) << path;
  for (const std::string& path : {Work() + "/copy", Work(), New()})
    EXPECT_TRUE(SyncedBetween(path, 0, journal)) << path;

  // Before "Player.dat" goes in: every folder that took a file or a folder, after the last of them.
  const size_t player = At("step player");
  ASSERT_LT(player, g_events.size());
  std::set<std::string> folders;
  size_t lastInstall = journal;
  for (size_t i = journal; i < player; ++i)
    if (g_events[i].rfind("step install ", 0) == 0) {
      folders.insert(fs::path(New() + "/" + g_events[i].substr(13)).parent_path().string());
      lastInstall = i;
    }
  EXPECT_GE(folders.size(), 4u);  // the new place, "Data", "Save Games" and the card sets
  for (const std::string& folder : folders) EXPECT_TRUE(SyncedBetween(folder, lastInstall, player)) << folder;
  // And the new place with its "Player.dat" before the first old file goes.
  const size_t firstDelete =
      std::find_if(g_events.begin(), g_events.end(),
                   [](const std::string& e) { return e.rfind("step delete ", 0) == 0; }) -
      g_events.begin();
  ASSERT_LT(firstDelete, g_events.size());
  EXPECT_TRUE(SyncedBetween(New(), player, firstDelete));
}

}  // namespace
