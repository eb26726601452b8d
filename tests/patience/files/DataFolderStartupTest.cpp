// The start-up step: what "Player.dat" in each place decides, the first run, a program folder
// that cannot be written, and the documents folder's data brought to the local folder.
#include <QPlainTextEdit>
#include <QRadioButton>

#include "patience/files/DataMove.h"
#include "platform/core/StringList.h"
#include "tests/patience/files/DataFilesFixture.h"

namespace {

class DataFolderStartupTest : public DataFilesFixture {};

struct TPlayerCase {
  const char* Name;
  int Place;            // where "Player.dat" lies: 0 nowhere, else its location
  const char* Content;  // of "Player.dat"
  bool Fast;
  int Answer;        // of the question, when it comes: 1 OK, 2 Cancel
  bool ChooseLocal;  // with OK
  bool Unwritable;   // the program folder cannot be written
  int Location;      // DataLocation afterwards
  bool Asks;
  const char* Player;  // "Player.dat" of the chosen location afterwards
  bool OptionsKept;    // "Options.dat" beside the old "Player.dat" survives
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
};

class PlayerDatDecisions : public DataFolderStartupTest, public ::testing::WithParamInterface<TPlayerCase> {};

TEST_P(PlayerDatDecisions, DecideTheDataFolder) {
  const TPlayerCase& c = GetParam();
  if (c.Unwritable) {
    // A program folder below a plain file: nothing can be created in it.
    Put(Root / "file", "x");
    Program = Root / "file/prog";
    SetProgramDirForTesting(Program);
  }
  const std::string folderOfPlace = c.Place == 1 ? Program : c.Place == 2 ? DocsPatience() : LocalPatience();
  if (c.Place != 0) {
    Put(folderOfPlace + "/Player.dat", c.Content);
    Put(folderOfPlace + "/Options.dat", "Off\r\n");
  }
  Answer = c.Answer;
  ChooseLocal = c.ChooseLocal;

  FindDataFolder(nullptr, c.Fast);

  EXPECT_EQ(DataLocation, c.Location);
  EXPECT_EQ(Asked, c.Asks ? 1 : 0);
  if (c.Asks) {
    EXPECT_TRUE(AskedWithLocal);  // the recommended place is offered first
  }
  const std::string chosen = c.Location == 1 ? Program : c.Location == 2 ? DocsPatience() : LocalPatience();
  EXPECT_EQ(Read(chosen + "/Player.dat"), c.Player);
  // The first run makes "Data"; a found "Player.dat" does not.
  EXPECT_EQ(Exists(chosen + "/Data"), c.Place == 0);
  if (c.Place != 0) {
    const std::string options =
        (c.Place == 2 && c.Location == 3 ? LocalPatience() : folderOfPlace) + "/Options.dat";
    EXPECT_EQ(Exists(options), c.OptionsKept) << options;
  }
  // A new home for the data never leaves a second "Player.dat" behind to be found first.
  int players = 0;
  for (const std::string& f : {Program, DocsPatience(), LocalPatience()})
    players += Exists(f + "/Player.dat");
  EXPECT_EQ(players, 1);
  if (c.Unwritable) {
    EXPECT_EQ(BeepCount(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Places, PlayerDatDecisions, ::testing::ValuesIn(kPlayerCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DataFolderStartupTest, DocumentsDataMovesWholeToTheLocalFolder) {
  FillDataFolder(DocsPatience());
  auto before = Tree(DocsPatience());
  FindDataFolder(nullptr, false);
  EXPECT_EQ(DataLocation, 3);
  EXPECT_EQ(Tree(LocalPatience()), before);
  // The emptied documents folder goes.
  EXPECT_FALSE(Exists(DocsPatience()));
  EXPECT_TRUE(Messages.empty());
}

TEST_F(DataFolderStartupTest, ACopyThatFailsKeepsTheDocumentsFolderCompleteAndInUse) {
  FillDataFolder(DocsPatience());
  const auto before = Tree(DocsPatience());
  for (const char* failing : {"fav.dat", "Klondike.dat", "options.txt", "Back9.bmp"}) {
    SCOPED_TRACE(failing);
    SetFileStepHookForTesting([&](int mode, const std::string& src, const std::string&) {
      return mode != 1 || ExtractFileName(src) != failing;
    });
    Messages.clear();
    FindDataFolder(nullptr, false);
    EXPECT_EQ(DataLocation, 2);
    EXPECT_EQ(Tree(DocsPatience()), before);
    EXPECT_FALSE(Exists(LocalPatience() + "/Player.dat"));
    EXPECT_EQ(Tree(LocalPatience()), (std::map<std::string, std::string>{}));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], std::string("Notification.: ") + kFileHandlingError);
  }
}

TEST_F(DataFolderStartupTest, TheUserCardSetsFolderOfEachLocation) {
  EXPECT_EQ(UserCardsetsDirOf(1), "");
  EXPECT_EQ(UserCardsetsDirOf(2), DocsPatience() + "/CardSets");
  EXPECT_EQ(UserCardsetsDirOf(3), LocalPatience() + "/CardSets");
  EXPECT_EQ(UserCardsetsDirOf(0), LocalPatience() + "/CardSets");
}

TEST_F(DataFolderStartupTest, TheDialogAsItIsBuilt) {
  TFileLoc form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Save Data Location"));
  EXPECT_EQ(form.size(), QSize(447, 419));
  EXPECT_TRUE(form.RadioButton1->isChecked());
  EXPECT_FALSE(form.RadioButton2->isChecked());
  EXPECT_EQ(form.RadioButton1->text(), QStringLiteral("Local Application Data"));
  EXPECT_EQ(form.RadioButton2->text(), QStringLiteral("Application Directory"));
  EXPECT_TRUE(form.Memo1->isReadOnly());
  EXPECT_TRUE(form.Memo1->toPlainText().startsWith(QStringLiteral("Patience by default will write data")));
  form.Button2Click();
  EXPECT_EQ(form.result(), 2);
  form.Button1Click();
  EXPECT_EQ(form.result(), 1);
}

}  // namespace
