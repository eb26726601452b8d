// The start-up step: what "Player.dat" in each place decides, the first run, a program folder
// that cannot be written, the documents folder's data brought to the local folder, and the
// leftovers of a stopped run removed (only those the program made).
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>

#include "patience/files/DataMove.h"
#include "patience/files/Statistics.h"
#include "patience/files/UpdatePart.h"
#include "platform/core/StringList.h"
#include "tests/patience/files/DataFilesFixture.h"

namespace {

class DataFolderStartupTest : public DataFilesFixture {
 protected:
  std::string FolderOf(int location) const {
    return location == 1 ? Program : location == 2 ? DocsPatience() : LocalPatience();
  }
};

struct TPlayerCase {
  const char* Name;
  int Place;            // where "Player.dat" lies: 0 nowhere, else its location
  const char* Content;  // of "Player.dat"
  bool Fast;
  int Answer;        // to the question: 1 OK (with ChooseLocal), 2 Cancel
  bool ChooseLocal;  //
  bool Unwritable;   // the program folder cannot be written
  int Location;      // DataLocation afterwards
  bool Asks;
  const char* Player;  // "Player.dat" of that location afterwards
  bool OptionsKept;    // "Options.dat" beside the old "Player.dat" (or moved with it) survives
};

const TPlayerCase kPlayerCases[] = {
    {"FirstRunCancel", 0, "", false, 2, true, false, 3, true, "\r\n2051\r\n", true},
    {"FirstRunLocal", 0, "", false, 1, true, false, 3, true, "\r\n2051\r\n", true},
    {"FirstRunProgramFolder", 0, "", false, 1, false, false, 1, true, "\r\n2051\r\n", true},
    {"FirstRunUnwritableProgramFolder", 0, "", false, 1, false, true, 3, true, "\r\n2051\r\n", true},
    {"CurrentInLocal", 3, "Ann\r\n2051\r\n", false, 2, true, false, 3, false, "Ann\r\n2051\r\n", true},
    {"CurrentInProgramFolder", 1, "Ann\r\n2051\r\n", false, 2, true, false, 1, false, "Ann\r\n2051\r\n",
     true},
    {"CurrentInDocumentsMovesToLocal", 2, "Ann\r\n2051\r\n", false, 2, true, false, 3, false,
     "Ann\r\n2051\r\n", true},
    {"OlderIdRewrittenInPlace", 3, "Ann\r\n2050\r\n", false, 2, true, false, 3, false, "Ann\r\n2051\r\n",
     true},
    {"OlderIdInFastModeResets", 3, "Ann\r\n2050\r\n", true, 2, true, false, 3, false, "Ann\r\n2051\r\n",
     false},
    {"OlderIdInProgramFolderFastMode", 1, "Ann\r\n2050\r\n", true, 2, true, false, 1, false,
     "Ann\r\n2051\r\n", false},
    {"IdBelowTheLowestResets", 1, "Ann\r\n1\r\n", false, 2, true, false, 1, false, "Ann\r\n2051\r\n", false},
    {"IdNoNumberAsks", 3, "Ann\r\nabc\r\nmore\r\n", false, 1, false, false, 1, true, "Ann\r\n2051\r\n",
     false},
    {"OneLineAsks", 1, "Ann\r\n", false, 2, true, false, 3, true, "Ann\r\n2051\r\n", false},
    {"EmptyFileAsks", 3, "", false, 2, true, false, 3, true, "\r\n2051\r\n", true},
    {"ThreeLinesKeepTheirPlace", 1, "Ann\r\n2051\r\n\r\n", false, 2, true, false, 1, false,
     "Ann\r\n2051\r\n\r\n", true},
    // A name stored over two lines by an earlier version: one name again, and nothing is reset.
    {"NameOverTwoLinesKeepsTheSettings", 3, "Ann\r\nLee\r\n2051\r\n", false, 2, true, false, 3, false,
     "Ann Lee\r\n2051\r\n", true},
};

class PlayerDatDecisions : public DataFolderStartupTest, public ::testing::WithParamInterface<TPlayerCase> {};

TEST_P(PlayerDatDecisions, DecideTheDataFolder) {
  const TPlayerCase& c = GetParam();
  if (c.Unwritable) {
    // A program folder below a plain file: nothing can be created in it.
    Put(Root / "file", "x");
    SetProgramDirForTesting(Program = Root / "file/prog");
  }
  if (c.Place != 0) {
    Put(FolderOf(c.Place) + "/Player.dat", c.Content);
    Put(FolderOf(c.Place) + "/Options.dat", "Off\r\n");
  }
  Answer = c.Answer;
  ChooseLocal = c.ChooseLocal;
  FindDataFolder(nullptr, c.Fast);

  EXPECT_EQ(DataLocation, c.Location);
  EXPECT_EQ(Asked, c.Asks ? 1 : 0);
  EXPECT_EQ(AskedWithLocal, c.Asks);  // the recommended place is offered first
  EXPECT_EQ(Read(FolderOf(c.Location) + "/Player.dat"), c.Player);
  EXPECT_EQ(Exists(FolderOf(c.Location) + "/Data"), c.Place == 0);  // made on the first run only
  if (c.Place != 0) {
    EXPECT_EQ(Exists(FolderOf(c.Place == 2 ? 3 : c.Place) + "/Options.dat"), c.OptionsKept);
  }
  // No second "Player.dat" is left behind to be found first next time.
  int players = 0;
  for (int l : {1, 2, 3}) players += Exists(FolderOf(l) + "/Player.dat");
  EXPECT_EQ(players, 1);
  EXPECT_EQ(BeepCount(), c.Unwritable ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Places, PlayerDatDecisions, ::testing::ValuesIn(kPlayerCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// "Player.dat" of a version that kept a typed name's line breaks, the name's second line a number:
// the file ends with a known id, so the lines before it are the name, and the settings stay.
struct TOldPlayerCase {
  const char* Name;
  int Place;
  const char* Content;
  int Location;        // DataLocation afterwards
  const char* Player;  // line 0 afterwards, the name the high-score entry offers
};

const TOldPlayerCase kOldPlayerCases[] = {
    {"BrokenBeforeOne", 3, "Zoe\r\n1\r\n2051\r\n", 3, "Zoe 1"},
    {"BrokenBeforeZero", 3, "Zoe\r\n0\r\n2051\r\n", 3, "Zoe 0"},
    {"BrokenBeforeANegativeNumber", 1, "Zoe\r\n-5\r\n2051\r\n", 1, "Zoe -5"},
    {"BrokenBeforeAHugeNumber", 3, "Zoe\r\n99999999999\r\n2051\r\n", 3, "Zoe 99999999999"},
    {"BrokenBeforeAHugerNumber", 3, "Zoe\r\n123456789012345678901234567890\r\n2051\r\n", 3,
     "Zoe 123456789012345678901234567890"},
    {"BrokenBeforeSeven", 3, "Zoe\r\n7\r\n2051\r\n", 3, "Zoe 7"},
    {"BrokenBeforeSevenWithAnOlderId", 3, "Zoe\r\n7\r\n2050\r\n", 3, "Zoe 7"},
    {"OverThreeLinesWithABlankEnd", 1, "Zoe\r\n7\r\nB\r\n2051\r\n\r\n", 1, "Zoe 7 B"},
    {"InTheDocumentsFolder", 2, "Zoe\r\n1\r\n2051\r\n", 3, "Zoe 1"},
};

class OldPlayerDat : public DataFolderStartupTest, public ::testing::WithParamInterface<TOldPlayerCase> {};

TEST_P(OldPlayerDat, KeepsTheSettingsAndTheWholeName) {
  const TOldPlayerCase& c = GetParam();
  Put(FolderOf(c.Place) + "/Player.dat", c.Content);
  Put(FolderOf(c.Place) + "/Options.dat", "Off\r\nOff\r\nOff\r\n");
  Put(FolderOf(c.Place) + "/Status.Dat", "the table's settings");
  ASSERT_TRUE(FindDataFolder(nullptr, false));
  EXPECT_EQ(DataLocation, c.Location);
  EXPECT_EQ(Asked, 0);
  const std::string folder = FolderOf(c.Location);
  EXPECT_EQ(Read(folder + "/Options.dat"), "Off\r\nOff\r\nOff\r\n");
  EXPECT_EQ(Read(folder + "/Status.Dat"), "the table's settings");
  TStringList player;
  ASSERT_TRUE(player.TryLoadFromFile(folder + "/Player.dat"));
  ASSERT_GE(player.Count(), 2);
  EXPECT_EQ(player[0], c.Player);
  EXPECT_EQ(player[1], "2051");
  EXPECT_EQ(DefaultPlayerName(folder), c.Player);
}

INSTANTIATE_TEST_SUITE_P(Shapes, OldPlayerDat, ::testing::ValuesIn(kOldPlayerCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DataFolderStartupTest, DocumentsDataMovesWholeToTheLocalFolder) {
  FillDataFolder(DocsPatience());
  const TTree before = Tree(DocsPatience());
  FindDataFolder(nullptr, false);
  EXPECT_EQ(DataLocation, 3);
  EXPECT_EQ(Tree(LocalPatience()), before);
  EXPECT_FALSE(Exists(DocsPatience()));  // emptied, so removed
  EXPECT_TRUE(Messages.empty());
  EXPECT_EQ(UserCardsetsDirOf(3), LocalPatience() + "/CardSets");
  EXPECT_EQ(UserCardsetsDirOf(2), DocsPatience() + "/CardSets");
  EXPECT_EQ(UserCardsetsDirOf(1), "");
}

TEST_F(DataFolderStartupTest, ACopyThatFailsKeepsTheDocumentsFolderCompleteAndInUse) {
  FillDataFolder(DocsPatience());
  const TTree before = Tree(DocsPatience());
  for (const char* failing : {"fav.dat", "Klondike.dat", "options.txt", "Back9.bmp"}) {
    SCOPED_TRACE(failing);
    SetFileStepHookForTesting([&](int mode, const std::string& src, const std::string&) {
      return mode != 1 || ExtractFileName(src) != failing;
    });
    Messages.clear();
    FindDataFolder(nullptr, false);
    EXPECT_EQ(DataLocation, 2);
    EXPECT_EQ(Tree(DocsPatience()), before);
    EXPECT_EQ(Tree(LocalPatience()), TTree{});
    EXPECT_EQ(Messages, std::vector<std::string>{std::string("Notification.: ") + kFileHandlingError});
  }
}

// What a stopped run left in the data folder is gone after the next start: temporaries of
// writers that are gone and the part files of downloads; a temporary of a live writer stays, and
// so does a part file the download did not make, even under the name the update site gives.
TEST_F(DataFolderStartupTest, LeftoversOfAStoppedRunAreRemoved) {
  FillDataFolder(LocalPatience());
  const TTree before = Tree(LocalPatience());
  TStringList info;
  for (int i = 0; i < 14; ++i) info.Add(i == 3 ? "Holiday.mkv" : "");
  info.SaveToFile(LocalPatience() + "/internetinfo.dat");
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string dead = std::to_string(gone), alive = std::to_string(::getppid());
  Put(LocalPatience() + "/.Options.dat.tmp" + dead + "-abc123", "cut");
  Put(LocalPatience() + "/Data/.Klondike.dat.tmp" + dead + "-x1y2z3", "cut");
  Put(LocalPatience() + "/Save Games/.one.ppg.tmp" + dead + "-aaaaaa", "cut");
  Put(LocalPatience() + "/internetinfo.dat.part", "cut");
  Put(LocalPatience() + "/.fav.dat.tmp" + alive + "-bbbbbb", "being written");
  // The update download's part file on the desktop, as the download recorded it; beside it the
  // player's own file under the name the update site gave.
  const std::string desktop = std::exchange(DesktopDir, Root / "home/Desktop");
  const std::string part = DesktopDir + "/Holiday.mkv-2.part";
  Put(part, "cut");
  const int fd = ::open(part.c_str(), O_RDONLY);
  ASSERT_TRUE(RecordUpdatePart(LocalPatience(), part, fd));
  ::close(fd);
  Put(DesktopDir + "/Holiday.mkv.part", "the player's");
  Put(DesktopDir + "/notes.part", "the player's");
  FindDataFolder(nullptr, false);
  EXPECT_EQ(DataLocation, 3);
  const TTree players{{"Holiday.mkv.part", "the player's"}, {"notes.part", "the player's"}};
  EXPECT_EQ(Tree(DesktopDir), players);
  TTree after = Tree(LocalPatience());
  EXPECT_EQ(after.erase(".fav.dat.tmp" + alive + "-bbbbbb"), 1u);
  EXPECT_EQ(after.erase("internetinfo.dat"), 1u);
  EXPECT_EQ(after, before);

  // A recorded part file that the player's file has taken the place of stays, and the record goes.
  Put(part, "cut");
  const int again = ::open(part.c_str(), O_RDONLY);
  ASSERT_TRUE(RecordUpdatePart(LocalPatience(), part, again));
  ::close(again);
  Put(part + ".new", "the player's");
  std::filesystem::rename(part + ".new", part);
  FindDataFolder(nullptr, false);
  EXPECT_EQ(Read(part), "the player's");
  EXPECT_FALSE(Exists(LocalPatience() + "/" + kUpdatePartRecord));
  DesktopDir = desktop;
}

}  // namespace
