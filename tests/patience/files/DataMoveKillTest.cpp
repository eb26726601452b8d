// A data-folder move killed at every one of its steps (each copy, each write's own steps, the
// journal, each file put into place, "Player.dat", each old file deleted): the next start finds
// either the old folder or the new one, complete and in use, and nothing else of the move is left.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "patience/files/DataMove.h"
#include "patience/files/FolderMove.h"
#include "tests/patience/files/DataFilesFixture.h"

namespace {

int g_killAt = 0;
int g_steps = 0;

void CountStep() {
  if (++g_steps == g_killAt) ::raise(SIGKILL);
}

class DataMoveKillTest : public DataFilesFixture {
 protected:
  // A kill loses nothing the disk cache holds: nothing here waits for the disk.
  void SetUp() override {
    DataFilesFixture::SetUp();
    FDurable = SetDurableCallsForTesting({[](int) { return 0; }, nullptr});
  }
  void TearDown() override {
    SetDurableCallsForTesting(FDurable);
    DataFilesFixture::TearDown();
  }
  TDurableCalls FDurable;

  // Runs move in a child process killed at its step-th step; false when the move ended before.
  static bool KilledAt(int step, const std::function<void()>& move) {
    const pid_t child = ::fork();
    if (child == 0) {
      g_killAt = step;
      SetFileStepHookForTesting([](int, const std::string&, const std::string&) {
        CountStep();
        return true;
      });
      SetMoveStepHookForTesting([](const std::string&) {
        CountStep();
        return true;
      });
      SetAtomicWriteProbeForTesting([](const char*, const std::string&) { CountStep(); });
      move();
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status);
  }

  // Kills the move at every step; after each kill the next start must be on `from` with the
  // old trees, or on `to` with the moved data merged into what `to` held (always, when the next
  // start makes the move again).
  void KillEverywhere(int from, int to, bool movedAgain, const std::function<void()>& move) {
    int killed = 0, onOld = 0, onNew = 0;
    for (int step = 1; step < 1000; ++step) {
      SCOPED_TRACE("killed at step " + std::to_string(step));
      std::filesystem::remove_all(Root / "home");
      std::filesystem::remove_all(Program);
      FillDataFolder(FolderOf(from));
      Put(FolderOf(to) + "/Data/Klondike.dat", "the new place's own");
      Put(FolderOf(to) + "/readme.txt", "the new place's own");
      const TTree oldBefore = Tree(FolderOf(from)), newBefore = Tree(FolderOf(to));
      TTree merged = newBefore;
      for (const auto& [name, text] : oldBefore) merged[name] = text;

      DataLocation = from;
      if (!KilledAt(step, move)) break;
      ++killed;
      DataLocation = 0;
      FindDataFolder(nullptr, false);
      EXPECT_EQ(Asked, 0);
      if (DataLocation == from) {
        ++onOld;
        EXPECT_EQ(Tree(FolderOf(from)), oldBefore);
        EXPECT_EQ(Tree(FolderOf(to)), newBefore);
      } else {
        ++onNew;
        EXPECT_EQ(DataLocation, to);
        EXPECT_EQ(Tree(FolderOf(to)), merged);
        EXPECT_FALSE(Exists(FolderOf(from) + "/Player.dat"));
      }
      if (HasFailure()) break;
    }
    EXPECT_GT(killed, 50);
    EXPECT_EQ(onOld == 0, movedAgain);
    EXPECT_GT(onNew, 10);
  }

  std::string FolderOf(int location) const {
    return location == 1 ? Program : location == 2 ? DocsPatience() : LocalPatience();
  }
};

// Options > Change Save Data Location from the local folder, searched first, to the program folder.
TEST_F(DataMoveKillTest, TheMoveCommandKilledAtEveryStep) {
  Answer = 1;
  ChooseLocal = false;
  KillEverywhere(3, 1, false, [] { ChangeSaveDataLocation(nullptr); });
}

// The start-up move of the documents folder's data to the local folder: a start after a kill
// finishes it, or makes it again.
TEST_F(DataMoveKillTest, TheStartUpMoveKilledAtEveryStep) {
  KillEverywhere(2, 3, true, [] { FindDataFolder(nullptr, false); });
}

}  // namespace
