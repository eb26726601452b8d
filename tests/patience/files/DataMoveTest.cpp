// Copying and deleting lists of paths, the card sets a move takes, and Options > Change Save
// Data Location: under copy failures at every point nothing is lost and the old folder stays in
// use; the same folder named twice is refused.
#include <QRadioButton>

#include "patience/files/DataMove.h"
#include "tests/patience/files/DataFilesFixture.h"

namespace {

using TTree = std::map<std::string, std::string>;

class DataMoveTest : public DataFilesFixture {
 protected:
  // The files one move from documents to the program folder copies, in order: counted on a
  // copy of both folders.
  std::vector<std::string> CountCopies() {
    TTempDir scratch;
    std::filesystem::copy(Docs, scratch / "Documents", std::filesystem::copy_options::recursive);
    std::filesystem::copy(Program, scratch / "prog", std::filesystem::copy_options::recursive);
    const std::string docs = MyDocumentsDir;
    MyDocumentsDir = scratch / "Documents";
    SetProgramDirForTesting(scratch / "prog");
    std::vector<std::string> copies;
    SetFileStepHookForTesting([&](int mode, const std::string& src, const std::string&) {
      if (mode == 1) copies.push_back(ExtractFileName(src));
      return true;
    });
    const int saved = DataLocation;
    EXPECT_TRUE(ChangeSaveDataLocation(nullptr));
    DataLocation = saved;
    SetFileStepHookForTesting({});
    MyDocumentsDir = docs;
    SetProgramDirForTesting(Program);
    Asked = 0;
    return copies;
  }
};

TEST_F(DataMoveTest, ShellFilesCopiesMergesAndDeletes) {
  const std::string a = Root / "a", b = Root / "b";
  Put(a + "/Data/new.dat", "new");
  Put(a + "/Status.Dat", "fresh");
  Put(b + "/Data/old.dat", "old");
  Put(b + "/status.dat", "stale");
  EXPECT_EQ(ShellFiles({}, b, 1), 1);
  EXPECT_EQ(ShellFiles({a + "/Data"}, b, 2), 1);
  ASSERT_EQ(ShellFiles({a + "/Data/", a + "/status.dat"}, b, 1), 0);
  // Folders merge; a file of another case is overwritten under its own name.
  EXPECT_EQ(
      Tree(b),
      (TTree{{"Data", "<dir>"}, {"Data/new.dat", "new"}, {"Data/old.dat", "old"}, {"status.dat", "fresh"}}));
  // Onto itself, or into its own subfolder, a copy refuses.
  EXPECT_EQ(ShellFiles({a + "/Data"}, a, 1), 1);
  EXPECT_EQ(ShellFiles({a}, a + "/Data", 1), 1);
  // A copy that fails part way takes back what it created and keeps what was there.
  Put(a + "/Data/z.dat", "z");
  Put(a + "/More/m.dat", "m");
  const TTree before = Tree(b);
  SetFileStepHookForTesting(
      [](int, const std::string& src, const std::string&) { return ExtractFileName(src) != "m.dat"; });
  EXPECT_EQ(ShellFiles({a + "/Data", a + "/More"}, b, 1), 1);
  EXPECT_FALSE(Exists(b + "/More"));
  EXPECT_FALSE(Exists(b + "/Data/z.dat"));
  EXPECT_EQ(Tree(b), before);
  SetFileStepHookForTesting({});
  // Delete takes whole folders; a failing one is reported after the rest went.
  SetFileStepHookForTesting([&](int mode, const std::string& p, const std::string&) {
    return mode != 0 || ExtractFileName(p) != "More";
  });
  EXPECT_EQ(ShellFiles({a + "/Data", a + "/More"}, "", 0), 1);
  EXPECT_FALSE(Exists(a + "/Data"));
  EXPECT_TRUE(Exists(a + "/More/m.dat"));
}

TEST_F(DataMoveTest, CardBackFilesOfAFolder) {
  Put(Root / "set/Back1.bmp", "");
  Put(Root / "set/BACK2.BMP", "");
  Put(Root / "set/myback.jpg", "");
  Put(Root / "set/1c.bmp", "");
  Put(Root / "set/Backs/inner.bmp", "");
  std::vector<std::string> list;
  CollectCardBackFiles(Root / "set", list);
  std::sort(list.begin(), list.end());
  EXPECT_EQ(list, (std::vector<std::string>{Root / "set/BACK2.BMP", Root / "set/Back1.bmp",
                                            Root / "set/myback.jpg"}));
}

TEST_F(DataMoveTest, CardSetsMoveBetweenTheUserFolders) {
  Put(DocsPatience() + "/CardSets/U_Mine/1.bmp", "ace");
  Put(DocsPatience() + "/CardSets/MyU_Set/Back1.bmp", "b");  // "U_" inside the name: a standard set
  Put(DocsPatience() + "/CardSets/MyU_Set/1.bmp", "keep");
  Put(DocsPatience() + "/CardSets/Standard/Back3.bmp", "b3");
  ASSERT_TRUE(MoveCardSets(DocsPatience(), LocalPatience()));
  EXPECT_EQ(Tree(LocalPatience() + "/CardSets"), (TTree{{"MyU_Set", "<dir>"},
                                                        {"MyU_Set/Back1.bmp", "b"},
                                                        {"Standard", "<dir>"},
                                                        {"Standard/Back3.bmp", "b3"},
                                                        {"U_Mine", "<dir>"},
                                                        {"U_Mine/1.bmp", "ace"}}));
  // Only what was copied went: a set's other pictures stay, an emptied set goes.
  EXPECT_EQ(Tree(DocsPatience() + "/CardSets"), (TTree{{"MyU_Set", "<dir>"}, {"MyU_Set/1.bmp", "keep"}}));
}

TEST_F(DataMoveTest, TheProgramsOwnSetsStayWhole) {
  Put(Program + "/Cardsets/Standard/Back1.bmp", "b1");
  Put(Program + "/Cardsets/Standard/1c.bmp", "c");
  Put(Program + "/Cardsets/U_Mine/1.bmp", "ace");
  ASSERT_TRUE(MoveCardSets(Program, LocalPatience()));
  EXPECT_EQ(Tree(Program + "/Cardsets"),
            (TTree{{"Standard", "<dir>"}, {"Standard/1c.bmp", "c"}, {"Standard/Back1.bmp", "b1"}}));
  EXPECT_EQ(Read(LocalPatience() + "/CardSets/Standard/Back1.bmp"), "b1");
  EXPECT_EQ(Read(LocalPatience() + "/CardSets/U_Mine/1.bmp"), "ace");
}

TEST_F(DataMoveTest, TheMoveTakesEverythingAndSwitches) {
  FillDataFolder(LocalPatience());
  Put(LocalPatience() + "/internetinfo.dat", "i");
  const TTree before = Tree(LocalPatience());
  DataLocation = 3;
  Answer = 1;
  ChooseLocal = false;
  bool busy = false, busyWhileCopying = false;
  SetFileStepHookForTesting([&](int, const std::string&, const std::string&) {
    busyWhileCopying = busy;
    return true;
  });
  ASSERT_TRUE(ChangeSaveDataLocation(nullptr, &busy));
  EXPECT_TRUE(AskedWithLocal);  // the dialog shows the current place
  EXPECT_TRUE(busyWhileCopying);
  EXPECT_FALSE(busy);
  EXPECT_EQ(DataLocation, 1);
  EXPECT_EQ(Tree(Program), before);
  EXPECT_FALSE(Exists(LocalPatience()));
  EXPECT_TRUE(Messages.empty());
  // And back: the program's card sets folder keeps the standard sets' own files.
  Answer = 1;
  ChooseLocal = true;
  Put(Program + "/CardSets/Standard/1c.bmp", "c");
  ASSERT_TRUE(ChangeSaveDataLocation(nullptr));
  EXPECT_FALSE(AskedWithLocal);
  EXPECT_EQ(DataLocation, 3);
  EXPECT_EQ(Tree(LocalPatience()), before);
  EXPECT_EQ(Tree(Program), (TTree{{"CardSets", "<dir>"},
                                  {"CardSets/Standard", "<dir>"},
                                  {"CardSets/Standard/1c.bmp", "c"},
                                  {"CardSets/Standard/Back9.bmp", "my back"}}));
}

TEST_F(DataMoveTest, ACopyFailingAnywhereLosesNothingAndKeepsTheOldFolder) {
  FillDataFolder(DocsPatience());
  LocalAppDataDir.clear();  // documents and the program folder are the two places
  DataLocation = 2;
  Answer = 1;
  ChooseLocal = false;
  Put(Program + "/Player.dat.keep", "what was there");
  const std::vector<std::string> copies = CountCopies();
  ASSERT_GE(copies.size(), 9u);
  const TTree oldBefore = Tree(DocsPatience()), newBefore = Tree(Program);
  struct TFailure {
    const char* Name;
    std::function<bool(const std::string&, size_t)> Fails;  // file name, index of the copy
  };
  const TFailure failures[] = {
      {"FirstFile", [](const std::string&, size_t i) { return i == 0; }},
      {"MiddleFile", [&](const std::string&, size_t i) { return i == copies.size() / 2; }},
      {"LastFile", [&](const std::string&, size_t i) { return i + 1 == copies.size(); }},
      {"UserSet", [](const std::string& name, size_t) { return name == "options.txt"; }},
      {"CardBack", [](const std::string& name, size_t) { return name == "Back9.bmp"; }},
  };
  for (const TFailure& f : failures) {
    SCOPED_TRACE(f.Name);
    size_t index = 0;
    SetFileStepHookForTesting([&](int mode, const std::string& src, const std::string&) {
      return mode != 1 || !f.Fails(ExtractFileName(src), index++);
    });
    Messages.clear();
    bool busy = false;
    EXPECT_FALSE(ChangeSaveDataLocation(nullptr, &busy));
    EXPECT_FALSE(busy);
    EXPECT_EQ(DataLocation, 2);
    EXPECT_EQ(Tree(DocsPatience()), oldBefore);
    EXPECT_EQ(Tree(Program), newBefore);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], std::string("Notification.: ") + kFileHandlingError);
  }
}

TEST_F(DataMoveTest, TheSameFolderNamedTwiceIsRefused) {
  FillDataFolder(DocsPatience());
  const TTree before = Tree(DocsPatience());
  struct TSpelling {
    const char* Name;
    std::function<void()> Arrange;
    bool ChooseLocal;
  };
  const TSpelling spellings[] = {
      {"ProgramFolderWithATrailingSeparator", [&] { SetProgramDirForTesting(DocsPatience() + "/"); }, false},
      {"ProgramFolderInAnotherCase", [&] { SetProgramDirForTesting(Docs + "/PATIENCE"); }, false},
      {"LocalFolderLinkedToDocuments",
       [&] {
         std::filesystem::remove_all(Local);
         std::filesystem::create_directory_symlink(Docs, Local);
       },
       true},
  };
  for (const TSpelling& s : spellings) {
    SCOPED_TRACE(s.Name);
    s.Arrange();
    DataLocation = 2;
    Answer = 1;
    ChooseLocal = s.ChooseLocal;
    EXPECT_FALSE(ChangeSaveDataLocation(nullptr));
    EXPECT_EQ(DataLocation, 2);
    EXPECT_EQ(Tree(DocsPatience()), before);
    EXPECT_TRUE(Messages.empty());
  }
}

TEST_F(DataMoveTest, CancelAndTheCurrentPlaceChangeNothing) {
  FillDataFolder(LocalPatience());
  const TTree before = Tree(LocalPatience());
  DataLocation = 3;
  Answer = 2;
  EXPECT_FALSE(ChangeSaveDataLocation(nullptr));
  Answer = 1;
  ChooseLocal = true;
  EXPECT_FALSE(ChangeSaveDataLocation(nullptr));
  EXPECT_EQ(Asked, 2);
  EXPECT_EQ(DataLocation, 3);
  EXPECT_EQ(Tree(LocalPatience()), before);
}

}  // namespace
