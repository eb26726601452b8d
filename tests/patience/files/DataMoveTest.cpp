// Copying and deleting lists of paths, the card sets a move takes, and Options > Change Save
// Data Location: under failures at every point nothing is lost, the new place is left as it was
// and the old folder stays in use; an old folder that keeps its files never wins over the new
// one; the same folder named twice is refused.
#include "patience/files/DataMove.h"
#include "patience/files/FolderMove.h"
#include "tests/patience/files/DataFilesFixture.h"

namespace {

class DataMoveTest : public DataFilesFixture {};

TEST_F(DataMoveTest, ShellFilesCopiesMergesAndDeletes) {
  const std::string a = Root / "a", b = Root / "b";
  Put(a + "/Data/new.dat", "new");
  Put(a + "/Status.Dat", "fresh");
  Put(a + "/More/m.dat", "m");
  Put(b + "/Data/old.dat", "old");
  Put(b + "/status.dat", "stale");
  EXPECT_EQ(ShellFiles({}, b, 1), 1);
  EXPECT_EQ(ShellFiles({a + "/Data"}, b, 2), 1);
  EXPECT_EQ(ShellFiles({a + "/Data"}, a, 1), 1);  // never onto itself
  EXPECT_EQ(ShellFiles({a}, a + "/Data", 1), 1);  // nor into itself
  // A copy failing part way takes back what it created.
  SetFileStepHookForTesting(
      [](int, const std::string& src, const std::string&) { return ExtractFileName(src) != "m.dat"; });
  EXPECT_EQ(ShellFiles({a + "/Data", a + "/More"}, b, 1), 1);
  EXPECT_EQ(Tree(b), (TTree{{"Data", "<dir>"}, {"Data/old.dat", "old"}, {"status.dat", "stale"}}));
  SetFileStepHookForTesting({});
  // Folders merge; a file of another case is overwritten under its own name.
  ASSERT_EQ(ShellFiles({a + "/Data/", a + "/status.dat"}, b, 1), 0);
  EXPECT_EQ(
      Tree(b),
      (TTree{{"Data", "<dir>"}, {"Data/new.dat", "new"}, {"Data/old.dat", "old"}, {"status.dat", "fresh"}}));
  EXPECT_EQ(ShellFiles({a + "/Data", a + "/More"}, "", 0), 0);
  EXPECT_FALSE(Exists(a + "/Data"));
}

TEST_F(DataMoveTest, CardSetsTakeTheUserSetsAndTheCardBacks) {
  Put(DocsPatience() + "/CardSets/U_Mine/1.bmp", "ace");
  Put(DocsPatience() + "/CardSets/u_low/2.bmp", "two");      // a user set in lower case, whole
  Put(DocsPatience() + "/CardSets/MyU_Set/BACK1.BMP", "b");  // "U_" inside the name: a standard set
  Put(DocsPatience() + "/CardSets/MyU_Set/1.bmp", "keep");
  Put(DocsPatience() + "/CardSets/Standard/Back3.bmp", "b3");
  ASSERT_TRUE(MoveCardSets(DocsPatience(), LocalPatience()));
  EXPECT_EQ(Tree(LocalPatience() + "/CardSets"), (TTree{{"MyU_Set", "<dir>"},
                                                        {"MyU_Set/BACK1.BMP", "b"},
                                                        {"Standard", "<dir>"},
                                                        {"Standard/Back3.bmp", "b3"},
                                                        {"U_Mine", "<dir>"},
                                                        {"U_Mine/1.bmp", "ace"},
                                                        {"u_low", "<dir>"},
                                                        {"u_low/2.bmp", "two"}}));
  // Only what was copied goes: a set's other pictures stay, an emptied set goes.
  EXPECT_EQ(Tree(DocsPatience() + "/CardSets"), (TTree{{"MyU_Set", "<dir>"}, {"MyU_Set/1.bmp", "keep"}}));
  // The program's own sets stay whole.
  Put(Program + "/Cardsets/Standard/Back1.bmp", "b1");
  Put(Program + "/Cardsets/U_Mine/1.bmp", "ace");
  ASSERT_TRUE(MoveCardSets(Program, DocsPatience()));
  EXPECT_EQ(Tree(Program + "/Cardsets"), (TTree{{"Standard", "<dir>"}, {"Standard/Back1.bmp", "b1"}}));
  EXPECT_EQ(Read(DocsPatience() + "/CardSets/Standard/Back1.bmp"), "b1");
}

TEST_F(DataMoveTest, TheMoveTakesEverythingAndSwitches) {
  FillDataFolder(LocalPatience());
  const TTree before = Tree(LocalPatience());
  DataLocation = 3;
  Answer = 1;
  ChooseLocal = false;
  bool busy = false, busyWhileCopying = false;
  int copies = 0;
  SetFileStepHookForTesting([&](int mode, const std::string&, const std::string&) {
    copies += mode == 1;
    return busyWhileCopying = busy;
  });
  ASSERT_TRUE(ChangeSaveDataLocation(nullptr, &busy));
  EXPECT_TRUE(AskedWithLocal);  // the dialog shows the place in use
  EXPECT_EQ(copies, int(kFilledFiles));
  EXPECT_TRUE(busyWhileCopying);
  EXPECT_FALSE(busy);
  EXPECT_EQ(DataLocation, 1);
  EXPECT_EQ(Tree(Program), before);
  EXPECT_FALSE(Exists(LocalPatience()));
  EXPECT_TRUE(Messages.empty());
}

TEST_F(DataMoveTest, ACopyFailingAnywhereLosesNothingAndKeepsTheOldFolder) {
  FillDataFolder(DocsPatience());
  LocalAppDataDir.clear();  // documents and the program folder are the two places
  // The new place holds files of its own, two of them under names the move brings: whatever
  // fails, they are there as they were afterwards.
  Put(Program + "/Player.dat.keep", "what was there");
  Put(Program + "/Data/Klondike.dat", "theirs");
  Put(Program + "/options.dat", "theirs too");
  DataLocation = 2;
  Answer = 1;
  ChooseLocal = false;
  const size_t copies = kFilledFiles;  // as the move that succeeds counts them
  const TTree oldBefore = Tree(DocsPatience()), newBefore = Tree(Program);
  using TFails = std::function<bool(const std::string&, size_t)>;
  const std::tuple<const char*, TFails, std::function<bool(const std::string&)>> failures[] = {
      {"FirstFile", [](const std::string&, size_t i) { return i == 0; }, nullptr},
      {"MiddleFile", [=](const std::string&, size_t i) { return i == copies / 2; }, nullptr},
      {"LastFile", [=](const std::string&, size_t i) { return i + 1 == copies; }, nullptr},
      {"UserSet", [](const std::string& name, size_t) { return name == "options.txt"; }, nullptr},
      {"CardBack", [](const std::string& name, size_t) { return name == "Back9.bmp"; }, nullptr},
      {"Journal", nullptr, [](const std::string& step) { return step == "journal"; }},
      {"ReplacingAFile", nullptr,
       [](const std::string& step) { return step == "install Data/Klondike.dat"; }},
      {"PlayerLast", nullptr, [](const std::string& step) { return step == "player"; }},
  };
  for (const auto& [name, copyFails, stepFails] : failures) {
    SCOPED_TRACE(name);
    size_t index = 0;
    SetFileStepHookForTesting([&, &fails = copyFails](int mode, const std::string& src, const std::string&) {
      return mode != 1 || !fails || !fails(ExtractFileName(src), index++);
    });
    SetMoveStepHookForTesting(
        [&fails = stepFails](const std::string& step) { return !fails || !fails(step); });
    Messages.clear();
    DataLocation = 2;
    bool busy = false;
    EXPECT_FALSE(ChangeSaveDataLocation(nullptr, &busy));
    EXPECT_FALSE(busy);
    EXPECT_EQ(DataLocation, 2);
    EXPECT_EQ(Tree(DocsPatience()), oldBefore);
    EXPECT_EQ(Tree(Program), newBefore);
    EXPECT_EQ(Messages, std::vector<std::string>{std::string("Notification.: ") + kFileHandlingError});
  }
  SetMoveStepHookForTesting({});
}

// An old folder whose files cannot be deleted (read-only) keeps its "Player.dat": the next start
// is on the new folder all the same, and a move back there later works.
TEST_F(DataMoveTest, AnOldFolderThatKeepsItsFilesNeverWinsOverTheNewOne) {
  FillDataFolder(LocalPatience());
  const TTree before = Tree(LocalPatience());
  DataLocation = 3;
  Answer = 1;
  ChooseLocal = false;
  SetFileStepHookForTesting([](int mode, const std::string&, const std::string&) { return mode != 0; });
  ASSERT_TRUE(ChangeSaveDataLocation(nullptr));
  SetFileStepHookForTesting({});
  EXPECT_EQ(Messages, std::vector<std::string>{std::string("Notification.: ") + kFileHandlingError});
  EXPECT_EQ(Tree(LocalPatience()), before);
  TTree moved = Tree(Program);
  EXPECT_EQ(moved.erase(".Patience-moved-from"), 1u);
  EXPECT_EQ(moved, before);

  DataLocation = 0;
  const int asked = Asked;
  FindDataFolder(nullptr, false);
  EXPECT_EQ(DataLocation, 1);
  EXPECT_EQ(Asked, asked);
  Put(Program + "/Data/Klondike.dat", "played on");
  ChooseLocal = true;
  ASSERT_TRUE(ChangeSaveDataLocation(nullptr));
  DataLocation = 0;
  FindDataFolder(nullptr, false);
  EXPECT_EQ(DataLocation, 3);
  EXPECT_EQ(Read(LocalPatience() + "/Data/Klondike.dat"), "played on");
  EXPECT_FALSE(Exists(Program + "/Player.dat"));
  EXPECT_FALSE(Exists(Program + "/.Patience-moved-from"));
}

TEST_F(DataMoveTest, TheSameFolderNamedTwiceAndCancelChangeNothing) {
  FillDataFolder(DocsPatience());
  const TTree before = Tree(DocsPatience());
  const std::tuple<const char*, std::function<void()>, int, bool> cases[] = {
      {"Cancel", [] {}, 2, true},
      {"TheFolderInUse", [] { LocalAppDataDir.clear(); }, 1, true},  // documents, chosen again
      {"ProgramFolderWithATrailingSeparator", [&] { SetProgramDirForTesting(DocsPatience() + "/"); }, 1,
       false},
      {"ProgramFolderInAnotherCase", [&] { SetProgramDirForTesting(Docs + "/PATIENCE"); }, 1, false},
      {"LocalFolderLinkedToDocuments",
       [&] {
         std::filesystem::remove_all(Local);
         std::filesystem::create_directory_symlink(Docs, Local);
       },
       1, true},
  };
  for (const auto& [name, arrange, answer, local] : cases) {
    SCOPED_TRACE(name);
    LocalAppDataDir = Local;
    arrange();
    DataLocation = 2;
    Answer = answer;
    ChooseLocal = local;
    EXPECT_FALSE(ChangeSaveDataLocation(nullptr));
    EXPECT_EQ(DataLocation, 2);
    EXPECT_EQ(Tree(DocsPatience()), before);
    EXPECT_TRUE(Messages.empty());
  }
}

}  // namespace
