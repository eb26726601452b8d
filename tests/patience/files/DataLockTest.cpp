// Two starts at once: a process stopped in the middle of a data-folder move (the start-up's move
// of the documents folder's data, or Change Save Data Location), and a second start of the game
// or of the maker beside it. The second waits until the first is done or killed (kill -9), never
// touches the move while its owner lives, and then a third start finds every file in the one
// place the game uses. Everything waits on what the processes report through pipes, never on time.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "patience/files/DataLock.h"
#include "patience/files/DataMove.h"
#include "patience/files/FolderMove.h"
#include "patience/files/PlayerSearch.h"
#include "tests/patience/files/DataFilesFixture.h"

namespace {

// One end of a pipe each way between the test and a child process.
struct TChild {
  pid_t Pid = -1;
  int Report = -1;  // the child's reports: 'p' paused in the move, 'w' waiting for the lock, then its result
  int Go = -1;      // one byte lets a paused child go on
};

// Reads the child's reports up to one of the stops ("" at its end); what came is appended to seen.
char ReadUntil(TChild& c, const std::string& stops, std::string& seen) {
  char ch = 0;
  while (::read(c.Report, &ch, 1) == 1) {
    seen += ch;
    if (stops.find(ch) != std::string::npos) return ch;
  }
  return 0;
}

void Send(int fd, const std::string& text) {
  if (::write(fd, text.data(), text.size()) != ssize_t(text.size())) std::perror("write");
}

class DataLockTest : public DataFilesFixture {
 protected:
  void SetUp() override {
    DataFilesFixture::SetUp();
    // Nothing here waits for the disk.
    FDurable = SetDurableCallsForTesting({[](int) { return 0; }, nullptr});
  }
  void TearDown() override {
    SetDataLockWaitForTesting(kDataLockWaitMs);
    SetDataLockWaitHookForTesting({});
    SetMoveStepHookForTesting({});
    SetDurableCallsForTesting(FDurable);
    DataFilesFixture::TearDown();
  }

  std::string FolderOf(int location) const {
    return location == 1 ? Program : location == 2 ? DocsPatience() : LocalPatience();
  }

  // Runs work in a child; it reports "=<DataLocation> <messages> <questions>" at its end.
  TChild Start(const std::function<void(TChild&)>& work) {
    int report[2], go[2];
    EXPECT_EQ(::pipe(report), 0);
    EXPECT_EQ(::pipe(go), 0);
    TChild c;
    c.Pid = ::fork();
    if (c.Pid == 0) {
      ::close(report[0]);
      ::close(go[1]);
      for (const TChild& other : FChildren) {
        ::close(other.Report);
        ::close(other.Go);
      }
      c.Report = report[1];
      c.Go = go[0];
      work(c);
      Send(c.Report, "=" + std::to_string(DataLocation) + " " + std::to_string(Messages.size()) + " " +
                         std::to_string(Asked));
      ::_exit(0);
    }
    ::close(report[1]);
    ::close(go[0]);
    c.Report = report[0];
    c.Go = go[1];
    FChildren.push_back(c);
    return c;
  }

  // Waits for the child's end; its result line.
  std::string Finish(TChild& c, std::string seen = {}) {
    ReadUntil(c, "", seen);
    ::waitpid(c.Pid, nullptr, 0);
    ::close(c.Report);
    ::close(c.Go);
    for (auto it = FChildren.begin(); it != FChildren.end(); ++it)
      if (it->Pid == c.Pid) {
        FChildren.erase(it);
        break;
      }
    const size_t at = seen.find('=');
    return at == std::string::npos ? "killed" : seen.substr(at + 1);
  }

  // The paused child's hooks: at the pause it reports 'p' and waits for the test's word.
  static void PauseWhen(TChild& c, const std::function<bool(const std::string& step)>& here) {
    static TChild* paused;
    static std::function<bool(const std::string&)> at;
    paused = &c;
    at = here;
    auto pause = [](const std::string& step) {
      if (!at || !at(step)) return true;
      at = nullptr;
      Send(paused->Report, "p");
      char ch;
      if (::read(paused->Go, &ch, 1) != 1) ::_exit(3);
      return true;
    };
    SetFileStepHookForTesting([pause](int mode, const std::string& src, const std::string&) {
      return pause(mode == 1 ? "copy " + ExtractFileName(src) : "delete");
    });
    SetMoveStepHookForTesting(pause);
  }

  TDurableCalls FDurable;
  std::vector<TChild> FChildren;
};

enum class THolder { StartUpMove, ChangeCommand };
enum class TPause { Copying, Installing };
enum class TEnd { Released, Killed };
enum class TSecond { Game, Maker };

struct TTwoStartsCase {
  const char* Name;
  THolder Holder;
  TPause Pause;
  TEnd End;
  TSecond Second;
  int Place;  // where the data is afterwards
};

const TTwoStartsCase kTwoStartsCases[] = {
    {"StartUpMoveFinishedFirst", THolder::StartUpMove, TPause::Copying, TEnd::Released, TSecond::Game, 3},
    {"StartUpMoveFinishedFirstWhileInstalling", THolder::StartUpMove, TPause::Installing, TEnd::Released,
     TSecond::Game, 3},
    {"StartUpMoveKilledWhileCopying", THolder::StartUpMove, TPause::Copying, TEnd::Killed, TSecond::Game, 3},
    {"StartUpMoveKilledWhileInstalling", THolder::StartUpMove, TPause::Installing, TEnd::Killed,
     TSecond::Game, 3},
    {"ChangeFinishedFirst", THolder::ChangeCommand, TPause::Copying, TEnd::Released, TSecond::Game, 1},
    {"ChangeKilledWhileCopying", THolder::ChangeCommand, TPause::Copying, TEnd::Killed, TSecond::Game, 3},
    {"ChangeKilledWhileInstalling", THolder::ChangeCommand, TPause::Installing, TEnd::Killed, TSecond::Game,
     1},
    {"MakerBesideTheStartUpMove", THolder::StartUpMove, TPause::Installing, TEnd::Released, TSecond::Maker,
     3},
    {"MakerBesideAChangeKilledWhileCopying", THolder::ChangeCommand, TPause::Copying, TEnd::Killed,
     TSecond::Maker, 3},
    {"MakerBesideAChangeKilledWhileInstalling", THolder::ChangeCommand, TPause::Installing, TEnd::Killed,
     TSecond::Maker, 1},
};

class TwoStarts : public DataLockTest, public ::testing::WithParamInterface<TTwoStartsCase> {};

TEST_P(TwoStarts, TheSecondWaitsAndTheDataEndsInOnePlace) {
  const TTwoStartsCase& c = GetParam();
  const int from = c.Holder == THolder::StartUpMove ? 2 : 3;
  FillDataFolder(FolderOf(from));
  for (int i = 0; i < 40; ++i)
    Put(FolderOf(from) + "/Save Games/game " + std::to_string(i) + ".ppg",
        "Klondike\r\n" + std::to_string(i));
  const TTree before = Tree(FolderOf(from));

  // The first: a move under way, stopped at its first copy or at the first file put into place.
  TChild first = Start([&](TChild& self) {
    PauseWhen(self, [&](const std::string& step) {
      return step.rfind(c.Pause == TPause::Copying ? "copy " : "install ", 0) == 0;
    });
    if (c.Holder == THolder::StartUpMove) {
      FindDataFolder(nullptr, false);
    } else {
      DataLocation = 3;
      Answer = 1;
      ChooseLocal = false;  // to the program folder
      ChangeSaveDataLocation(nullptr);
    }
  });
  std::string firstSeen;
  ASSERT_EQ(ReadUntil(first, "p", firstSeen), 'p') << "the first never reached its move";

  // The second start, beside it.
  TChild second = Start([&](TChild& self) {
    SetDataLockWaitHookForTesting([&self] { Send(self.Report, "w"); });
    if (c.Second == TSecond::Game) {
      FindDataFolder(nullptr, false);
    } else {
      int location = -1;
      FindMakerDataLocation(location);
      DataLocation = location;
    }
  });
  std::string secondSeen;
  const bool waited = ReadUntil(second, "w", secondSeen) == 'w';
  EXPECT_TRUE(waited) << "the second start did not wait for the move under way";

  if (c.End == TEnd::Killed) {
    ::kill(first.Pid, SIGKILL);
  } else {
    Send(first.Go, "g");
  }
  const std::string firstResult = Finish(first, firstSeen);
  const std::string secondResult = Finish(second, secondSeen);
  // Where each ended: no message ("File handling error." or any other), no question but the
  // command's own.
  const std::string commandAsked = c.Holder == THolder::ChangeCommand ? " 0 1" : " 0 0";
  EXPECT_EQ(firstResult, c.End == TEnd::Killed ? "killed" : std::to_string(c.Place) + commandAsked);
  EXPECT_EQ(secondResult, std::to_string(c.Place) + " 0 0");

  // The third start: every file in the one place, nothing of the move anywhere.
  DataLocation = 0;
  ASSERT_TRUE(FindDataFolder(nullptr, false));
  EXPECT_EQ(DataLocation, c.Place);
  EXPECT_EQ(Asked, 0);
  EXPECT_TRUE(Messages.empty());
  EXPECT_EQ(Tree(FolderOf(c.Place)), before);
  for (int other : {1, 2, 3}) {
    if (other != c.Place) {
      EXPECT_EQ(Tree(FolderOf(other)), TTree{}) << "location " << other;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Moves, TwoStarts, ::testing::ValuesIn(kTwoStartsCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// A start or a move that cannot wait any longer tells the player and touches nothing; the move
// under way then ends as if alone.
TEST_F(DataLockTest, WhenTheWaitRunsOutThePlayerIsToldAndNothingIsTouched) {
  FillDataFolder(DocsPatience());
  const TTree before = Tree(DocsPatience());
  TChild first = Start([&](TChild& self) {
    PauseWhen(self, [](const std::string& step) { return step.rfind("install ", 0) == 0; });
    FindDataFolder(nullptr, false);
  });
  std::string seen;
  ASSERT_EQ(ReadUntil(first, "p", seen), 'p');
  const TTree staged = Tree(LocalPatience());
  {
    SetDataLockWaitForTesting(0);
    int waits = 0;
    SetDataLockWaitHookForTesting([&] { ++waits; });
    const std::string busy = std::string("Notification.: ") + kDataFolderBusy;
    DataLocation = 0;
    EXPECT_FALSE(FindDataFolder(nullptr, false));
    EXPECT_EQ(DataLocation, 0);
    int location = -1;
    EXPECT_FALSE(FindMakerDataLocation(location));
    DataLocation = 2;
    Answer = 1;
    ChooseLocal = false;
    EXPECT_FALSE(ChangeSaveDataLocation(nullptr));
    EXPECT_EQ(DataLocation, 2);
    EXPECT_EQ(Messages, std::vector<std::string>(3, busy));
    EXPECT_EQ(waits, 3);  // each found the lock held
    EXPECT_EQ(Asked, 1);  // the question of the command only
  }
  EXPECT_EQ(Tree(DocsPatience()), before);
  EXPECT_EQ(Tree(LocalPatience()), staged);
  Send(first.Go, "g");
  EXPECT_EQ(Finish(first, seen), "3 0 0");
  EXPECT_EQ(Tree(LocalPatience()), before);
  EXPECT_FALSE(Exists(DocsPatience()));
}

}  // namespace
