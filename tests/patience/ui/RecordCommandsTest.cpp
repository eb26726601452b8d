// The window's records of play offscreen, with the data folder in a temporary folder and every
// dialog answered by the test: Save and Open through their dialogs, a damaged file refused with
// nothing changed, a failed save that says so without the chime, the open game's file followed
// through a move of the data folder, Restart and Delete, a won game counted with its high score
// and shown, and the favourites with their submenu, dialog and file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "patience/files/Favourites.h"
#include "patience/files/FileLocForm.h"
#include "patience/files/SavedGame.h"
#include "patience/files/Statistics.h"
#include "patience/ui/FavouritesForm.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/ModalDialogs.h"
#include "patience/ui/StartScreen.h"
#include "patience/ui/StatisticsForm.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/patience/engine/PlayTestUtil.h"
#include "tests/patience/ui/WindowTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

class TRecordForm : public TForm1 {
 public:
  using TForm1::TForm1;
  std::vector<std::string> Sounds;
  void PlaySound(const std::string& name, int, int) override { Sounds.push_back(name); }
  int Played(const std::string& name) const { return int(std::count(Sounds.begin(), Sounds.end(), name)); }
};

class RecordCommandsTest : public TWindowTest<TRecordForm> {
 protected:
  RecordCommandsTest() : TWindowTest(mrYes) {}
  void SetUp() override {
    TWindowTest::SetUp();
    FOldLocal = LocalAppDataDir;
    FOldLocation = DataLocation;
    LocalAppDataDir = Home.Path();
    DataLocation = 3;
    Data = DataFolder();
    ForceDirectories(Data);
  }
  void TearDown() override {
    Form.reset();
    LocalAppDataDir = FOldLocal;
    DataLocation = FOldLocation;
    TWindowTest::TearDown();
  }
  // The window as large as the test's screen, so that every game chosen fits its table at Normal
  // size (a smaller table would take smaller cards, and say so).
  TRecordForm& Shown() {
    TWindowTest::Shown();
    Form->resize(1280, 1024);
    QCoreApplication::processEvents();
    return *Form;
  }
  TPatienceEngine& E() { return *Form->Engine; }
  void Choose(const std::string& caption, uint32_t seed) {
    E().SetRandomSeed(seed);
    TMenuItem* item = GetMenuItem(Form->Alphabeticallist1, caption, true);
    ASSERT_NE(item, nullptr) << caption;
    item->Click();
    ASSERT_EQ(E().Rules.GameName, caption);
  }
  // A few moves the rules allow, none of them onto a foundation.
  void Play(int moves, uint32_t seed) {
    TRandom rng(seed);
    for (int i = 0; i < moves; ++i) {
      std::vector<TRecord> legal = LegalMoves(E());
      if (legal.empty()) return;
      const TRecord r = legal[size_t(rng.Random(int(legal.size())))];
      if (r.Kind == pkRedeal)
        E().ReDealWastepileExecute();
      else
        E().MakeMove(TPileKind(r.Kind), r.Pile, r.Index, r.Target);
    }
  }
  std::string SaveGames() const { return SaveGamesFolder(Data); }

  TTempDir Home;
  std::string Data;
  // What every dialog does when it opens (accepts with nothing changed unless set).
  std::function<int(QDialog&)> OnDialog = [](QDialog&) { return int(QDialog::Rejected); };
  std::vector<std::string> Dialogs;
  TScopedModalHook Modal{[this](QDialog& d) {
    Dialogs.push_back(d.objectName().isEmpty() ? d.windowTitle().toStdString()
                                               : d.objectName().toStdString());
    return OnDialog(d);
  }};

 private:
  std::string FOldLocal;
  int FOldLocation = 0;
};

// Chooses file name in a file dialog and accepts it.
std::function<int(QDialog&)> ChooseFile(const std::string& name, std::string* proposed = nullptr) {
  return [name, proposed](QDialog& d) {
    auto* dialog = qobject_cast<QFileDialog*>(&d);
    if (!dialog) return int(QDialog::Accepted);  // a high score's name: the default
    auto& f = *dialog;
    if (proposed) *proposed = f.selectedFiles().value(0).toStdString();
    f.selectFile(QString::fromStdString(name));
    return int(QDialog::Accepted);
  };
}

}  // namespace

TEST_F(RecordCommandsTest, SaveThenOpenThroughTheDialogs) {
  TRecordForm& f = Shown();
  EXPECT_FALSE(f.Save1->Enabled());
  Choose("Klondike 1 [Turn over 1]", 1234);
  EXPECT_TRUE(f.Save1->Enabled());
  EXPECT_TRUE(f.SaveGame->isEnabled());
  Play(12, 5);
  std::string proposed;
  OnDialog = ChooseFile("mine", &proposed);
  f.Save1->Click();
  ASSERT_EQ(Dialogs, (std::vector<std::string>{"SaveDialog"}));
  // The proposal: the game, the date and the time, nothing that cannot stand in a file name.
  EXPECT_EQ(ExtractFileDir(proposed), SaveGames());
  EXPECT_EQ(ExtractFileName(proposed).rfind("Klondike 1 [Turn over 1] ", 0), 0u) << proposed;
  EXPECT_EQ(ExtractFileName(proposed).find_first_of(":/"), std::string::npos) << proposed;
  const std::string file = PathJoin(SaveGames(), "mine.ppg");
  ASSERT_TRUE(FileExists(file));
  EXPECT_EQ(E().Rules.SaveName, file);
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience. Game: mine.ppg  [Open Game]");
  EXPECT_EQ(f.Played("chime.wav"), 1);

  // Played on and saved again: no dialog, the file follows.
  Play(6, 6);
  f.SaveGame->click();
  EXPECT_EQ(Dialogs.size(), 1u);
  TStringList onDisk;
  onDisk.LoadFromFile(file);
  EXPECT_EQ(onDisk.Lines, E().HistoryList.Lines);
  const std::string position = PlaySnapshot(E());
  const TStringList history = E().HistoryList;
  const int points = E().Rules.Points;

  // Another game, then the file opened: the same position, points and history.
  Choose("Spider", 9);
  OnDialog = ChooseFile(file);
  f.Sounds.clear();
  f.Open1->Click();
  EXPECT_EQ(Dialogs.back(), "OpenDialog");
  EXPECT_EQ(E().Rules.GameName, "Klondike 1 [Turn over 1]");
  EXPECT_EQ(PlaySnapshot(E()), position);
  EXPECT_EQ(E().HistoryList.Lines, history.Lines);
  EXPECT_EQ(E().Rules.Points, points);
  EXPECT_EQ(E().Rules.SaveName, file);
  EXPECT_EQ(f.Played("chime.wav"), 1);
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience. Game: mine.ppg  [Open Game]");
  // The Spider game given up for it was counted.
  EXPECT_EQ(ReadPlayedWon("Spider", Data).Played, 1);
  EXPECT_EQ(f.ToolBarTag, 0);
  EXPECT_TRUE(f.ToolBar1->isEnabled());
}

// After Change Save Data Location the open game names its moved file: Save writes it there.
TEST_F(RecordCommandsTest, TheOpenSavedGameFollowsAMoveOfTheDataFolder) {
  TRecordForm& f = Shown();
  Choose("Klondike 1 [Turn over 1]", 1234);
  Play(8, 5);
  OnDialog = ChooseFile("mine");
  f.Save1->Click();
  TTempDir program;
  SetProgramDirForTesting(program.Path());
  const TFileLocPrompt old = SetFileLocPrompt([](TFileLoc& form) {
    form.RadioButton2->setChecked(true);  // the program folder
    return 1;
  });
  f.SetUserFilelocation1Click();
  SetFileLocPrompt(old);
  const std::string moved = PathJoin(program.Path(), "Save Games", "mine.ppg");
  EXPECT_EQ(DataLocation, 1);
  EXPECT_EQ(E().Rules.SaveName, moved);
  Play(4, 6);
  f.SaveGame->click();
  TStringList onDisk;
  EXPECT_TRUE(onDisk.TryLoadFromFile(moved));
  EXPECT_EQ(onDisk.Lines, E().HistoryList.Lines);
  SetProgramDirForTesting("");
}

TEST_F(RecordCommandsTest, ADamagedFileIsRefusedAndNothingChanges) {
  TRecordForm& f = Shown();
  Choose("Freecell", 31);
  Play(5, 2);
  const std::string position = PlaySnapshot(E());
  const TStringList history = E().HistoryList;
  ForceDirectories(SaveGames());
  const std::string bad = PathJoin(SaveGames(), "bad.ppg");
  WriteTextFile(bad, "Spider\r\n77\r\nO\r\n2\r\n3\r\n");  // a move cut short
  OnDialog = ChooseFile(bad);
  f.Sounds.clear();
  f.Open1->Click();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Caption, "Notification.");
  EXPECT_EQ(Asked[0].Text, "The saved game \"bad.ppg\" cannot be opened: the last move is cut short.");
  EXPECT_EQ(f.Played("chime.wav"), 0);
  EXPECT_EQ(E().Rules.GameName, "Freecell");
  EXPECT_EQ(PlaySnapshot(E()), position);
  EXPECT_EQ(E().HistoryList.Lines, history.Lines);
  EXPECT_EQ(ReadPlayedWon("Freecell", Data).Played, 0);  // the game in play was not ended
}

TEST_F(RecordCommandsTest, AFailedSaveSaysSoWithoutTheChime) {
  TRecordForm& f = Shown();
  Choose("Spider", 3);
  // A file where a folder should be: the save cannot be written.
  WriteTextFile(Home / "plain", "x");
  E().Rules.SaveName = Home / "plain/game.ppg";
  f.Sounds.clear();
  f.Save1->Click();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Caption, "Notification.");
  EXPECT_EQ(Asked[0].Text.rfind("The game could not be saved as \"game.ppg\": ", 0), 0u) << Asked[0].Text;
  EXPECT_EQ(f.Played("chime.wav"), 0);
  // A name chosen in the dialog that cannot be written is not kept either.
  E().Rules.SaveName.clear();
  OnDialog = ChooseFile(Home / "plain/other.ppg");
  f.Save1->Click();
  EXPECT_EQ(E().Rules.SaveName, "");
  EXPECT_EQ(f.Played("chime.wav"), 0);
}

// A data folder whose name is not valid UTF-8: the save dialog cannot show it, so Save As says so
// and saves nowhere else (the dialog would open in the current folder); a game that has its file
// there is saved there, its name kept byte for byte.
TEST_F(RecordCommandsTest, SaveAsIntoAFolderTheDialogCannotNameIsRefusedWithAMessage) {
  LocalAppDataDir = Home / "l\xE9gacy";
  Data = DataFolder();
  ForceDirectories(SaveGames());
  TTempDir current;
  const QString kept = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(current.Path())));
  TRecordForm& f = Shown();
  Choose("Klondike 1 [Turn over 1]", 77);
  Play(4, 2);
  OnDialog = ChooseFile("mine");
  f.Sounds.clear();
  f.Save1->Click();
  QDir::setCurrent(kept);
  EXPECT_TRUE(ListFiles(current.Path()).empty())
      << "saved in the current folder: " << ListFiles(current.Path()).front();
  EXPECT_TRUE(ListFiles(SaveGames()).empty());
  EXPECT_TRUE(Dialogs.empty()) << Dialogs.front();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Caption, "Notification.");
  EXPECT_NE(Asked[0].Text.find("not valid UTF-8"), std::string::npos) << Asked[0].Text;
  EXPECT_EQ(E().Rules.SaveName, "");
  EXPECT_EQ(f.Played("chime.wav"), 0);
  EXPECT_EQ(f.windowTitle().toStdString().find("mine"), std::string::npos);
  // Its own file there: Save writes it where it is.
  const std::string file = PathJoin(SaveGames(),
                                    "d\xFC"
                                    "ck.ppg");
  E().Rules.SaveName = file;
  f.Save1->Click();
  EXPECT_TRUE(FileExists(file));
  EXPECT_EQ(f.Played("chime.wav"), 1);
}

TEST_F(RecordCommandsTest, RestartDealsTheSameGameClosedAndDeleteTakesTheFiles) {
  TRecordForm& f = Shown();
  Choose("Klondike 1 [Turn over 1]", 555);
  const std::string deal = DealSnapshot(E(), true);
  Play(8, 3);
  OnDialog = ChooseFile("r");
  f.Save1->Click();
  const std::string file = PathJoin(SaveGames(), "r.ppg");
  Answer = mrNo;
  f.ReStart1->Click();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Text,
            "Restart this game? The restarted game won`t appear in the high score table or statistics.");
  EXPECT_GT(E().HistoryList.Count(), 3);  // "No" changes nothing
  Answer = mrYes;
  f.ReStart1->Click();
  EXPECT_EQ(DealSnapshot(E(), true), deal);
  EXPECT_EQ(E().HistoryList[2], "0");
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience. Game: r.ppg  [Closed Game]");
  TStringList onDisk;
  onDisk.LoadFromFile(file);
  EXPECT_EQ(onDisk[2], "0");
  // A closed game is restarted without a question.
  Asked.clear();
  f.ReStart1->Click();
  EXPECT_TRUE(Asked.empty());

  ForceDirectories(PathJoin(SaveGames(), "old"));
  WriteTextFile(PathJoin(SaveGames(), "old/x.PPG"), "x");
  WriteTextFile(PathJoin(SaveGames(), "notes.txt"), "x");
  f.Sounds.clear();
  f.Delete1->Click();
  EXPECT_EQ(Asked.back().Text, "Delete all save files in Save Games and all sub folders?");
  EXPECT_EQ(f.Played("scream_x.wav"), 1);
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(FileExists(PathJoin(SaveGames(), "old/x.PPG")));
  EXPECT_TRUE(FileExists(PathJoin(SaveGames(), "notes.txt")));
  EXPECT_EQ(E().Rules.SaveName, "");
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience. Game: Klondike 1 [Turn over 1]  [Closed Game]");
}

// A game dealt again from its seed (opened from its file, or restarted) leaves the deal's
// generator where that seed's shuffle ended; the next New Game must not deal from there, or every
// New Game after opening or restarting the same game would deal the same deal.
TEST_F(RecordCommandsTest, NewGameAfterOpenOrRestartDealsADealOfItsOwn) {
  TRecordForm& f = Shown();
  Choose("Freecell", 19);
  OnDialog = ChooseFile("seed19");
  f.Save1->Click();
  const std::string file = PathJoin(SaveGames(), "seed19.ppg");
  ASSERT_TRUE(FileExists(file));
  const struct {
    const char* Name;
    std::function<void()> DealAgain;
  } ways[] = {
      {"Open", [&] { ASSERT_TRUE(f.LoadGame(file)); }},
      {"Open, then Restart",
       [&] {
         ASSERT_TRUE(f.LoadGame(file));
         f.ReStart1->Click();
       }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.Name);
    way.DealAgain();
    ASSERT_EQ(E().HistoryList[1], "19");
    const uint32_t following = E().RandomSeed();
    f.NewGame1->Click();
    ASSERT_EQ(E().Rules.GameName, "Freecell");
    EXPECT_NE(E().HistoryList[1], std::to_string(int32_t(following)))
        << "New Game dealt the deal that follows the seed of the game dealt again";
  }
}

TEST_F(RecordCommandsTest, AWonGameIsCountedWithItsHighScoreAndShown) {
  TRecordForm& f = Shown();
  f.AutoMoveOffClick();
  Choose("Klondike 1 [Turn over 1]", 2024);
  // Play until a card may go to a foundation, then let that card be the last one.
  TRecord home{};
  bool found = false;
  for (int i = 0; i < 200 && !found; ++i) {
    for (const TRecord& r : LegalMoves(E())) {
      int kind = 0;
      TPilePos pos;
      if (r.Kind != pkStockClick && r.Kind != pkRedeal && TargetOf(E(), r.Target, kind, pos) &&
          kind == pkFoundation) {
        home = r;
        found = true;
      }
    }
    if (!found) E().MakeMove(pkStockClick, 0, 0, 0);
  }
  ASSERT_TRUE(found);
  E().Rules.FoundationCount = 51;
  E().Rules.Points = 120;
  OnDialog = [](QDialog& d) {
    auto& form = dynamic_cast<TDataForm&>(d);
    EXPECT_TRUE(form.PageControl1->isTabVisible(2));
    EXPECT_FALSE(form.PageControl1->isTabVisible(0));
    EXPECT_EQ(form.Label7->text().toStdString(), "Position: 1");
    form.Edit1->setText("Zed");
    return int(QDialog::Accepted);
  };
  E().MakeMove(TPileKind(home.Kind), home.Pile, home.Index, home.Target);
  ASSERT_TRUE(E().Won());
  EXPECT_EQ(f.Played("fanfare_x.wav"), 1);
  EXPECT_EQ(Dialogs.size(), 1u);
  const TGameStatistics s = LoadStats("Klondike 1 [Turn over 1]", Data);
  EXPECT_EQ(s.Played, 1);
  EXPECT_EQ(s.Won, 1);
  EXPECT_EQ(s.Entries[0].Name, "Zed");
  EXPECT_GT(s.Entries[0].Points, 120);
  EXPECT_EQ(DefaultPlayerName(Data), "Zed");

  // The High Scores page shows it; the tabs are back.
  OnDialog = [&](QDialog& d) {
    auto& form = dynamic_cast<TDataForm&>(d);
    EXPECT_EQ(form.PageControl1->currentIndex(), 1);
    EXPECT_TRUE(form.PageControl1->isTabVisible(0));
    EXPECT_FALSE(form.PageControl1->isTabVisible(2));
    EXPECT_EQ(form.StringGrid1->item(0, 0)->text().toStdString(), "Zed");
    EXPECT_EQ(form.StringGrid1->item(0, 2)->text().toInt(), s.Entries[0].Points);
    EXPECT_EQ(form.StringGrid1->item(1, 2)->text().toStdString(), "0");
    EXPECT_EQ(form.Label1->text().toStdString(), "Klondike 1 [Turn over 1]");
    return int(QDialog::Accepted);
  };
  f.ToolButton1->click();
  OnDialog = [&](QDialog& d) {
    auto& form = dynamic_cast<TDataForm&>(d);
    EXPECT_EQ(form.PageControl1->currentIndex(), 0);
    EXPECT_EQ(form.Label2->text().toStdString(), "Played: 1");
    EXPECT_EQ(form.Label9->text().toStdString(), "Won: 100%");
    EXPECT_EQ(form.Label8->text().toStdString(), "Lost: 0%");
    return int(QDialog::Accepted);
  };
  f.ViewStatistics1->Click();
  EXPECT_EQ(Dialogs.size(), 3u);
  EXPECT_EQ(f.Played("applause3.wav"), 2);
  // A new game after the win counts nothing more.
  Choose("Spider", 1);
  EXPECT_EQ(ReadPlayedWon("Klondike 1 [Turn over 1]", Data).Played, 1);
}

TEST_F(RecordCommandsTest, AGameOpenedAndNotPlayedOnIsNotCountedAgain) {
  TRecordForm& f = Shown();
  Choose("Spider", 17);
  Play(4, 1);
  OnDialog = ChooseFile("s");
  f.Save1->Click();
  const std::string file = PathJoin(SaveGames(), "s.ppg");
  OnDialog = ChooseFile(file);
  f.Open1->Click();  // the game in play was saved and not played on since: not counted
  EXPECT_EQ(ReadPlayedWon("Spider", Data).Played, 0);
  Choose("Freecell", 2);  // the opened game is given up without a move: not counted either
  EXPECT_EQ(ReadPlayedWon("Spider", Data).Played, 0);
  f.Open1->Click();
  Play(2, 9);
  Choose("Freecell", 3);  // played on: counted, and its file marked closed
  EXPECT_EQ(ReadPlayedWon("Spider", Data).Played, 1);
  TStringList onDisk;
  onDisk.LoadFromFile(file);
  EXPECT_EQ(onDisk[2], "0");
  f.Open1->Click();
  EXPECT_EQ(E().HistoryList[2], "0");  // opened closed, as the file now says
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience. Game: s.ppg  [Closed Game]");
  // A saved game whose file was deleted meanwhile is counted when given up; nothing raised.
  Choose("Yukon", 18);
  OnDialog = ChooseFile("t");
  f.Save1->Click();
  Play(2, 4);
  ASSERT_TRUE(DeleteFile(PathJoin(SaveGames(), "t.ppg")));
  Choose("Freecell", 4);
  EXPECT_EQ(ReadPlayedWon("Yukon", Data).Played, 1);
}

TEST_F(RecordCommandsTest, FavouritesFromTheMenuTheDialogAndTheFile) {
  // Bad lines of "fav.dat" are skipped at the first activation, not fatal.
  WriteTextFile(FavouritesFilePath(Data), "Spider\r\nspider\r\n\r\nNonesuch\r\nAces Up\r\n");
  TRecordForm& f = Shown();
  auto captions = [&] {
    std::vector<std::string> out;
    for (int i = 0; i < f.Favourites1->Count(); ++i) out.push_back(f.Favourites1->Items(i)->Caption());
    return out;
  };
  EXPECT_EQ(captions(), (std::vector<std::string>{"Aces Up", "Spider"}));
  // A favourite starts its game as the game's own item does.
  f.Favourites1->Items(1)->Click();
  EXPECT_EQ(E().Rules.GameName, "Spider");

  // Adding the game in play that is already there writes nothing.
  const std::string before = ReadFileText(FavouritesFilePath(Data));
  f.AddtoFavourites1->Click();
  EXPECT_EQ(ReadFileText(FavouritesFilePath(Data)), before);
  Choose("Yukon", 1);
  f.AddtoFavourites1->Click();
  EXPECT_EQ(captions(), (std::vector<std::string>{"Aces Up", "Spider", "Yukon"}));
  EXPECT_EQ(ReadFileText(FavouritesFilePath(Data)), "Aces Up\r\nSpider\r\nYukon\r\n");

  // The dialog: add ignores case, remove takes the selection, OK keeps it, Cancel does not.
  OnDialog = [](QDialog& d) {
    auto& form = dynamic_cast<TForm4&>(d);
    EXPECT_EQ(form.ListBox2->count(), 3);
    EXPECT_EQ(form.ListBox1->count(), 205);
    for (const char* name : {"Freecell", "Spider"})
      form.ListBox1->findItems(QString::fromLatin1(name), Qt::MatchExactly).value(0)->setSelected(true);
    form.BitBtn3Click();
    EXPECT_EQ(form.ListBox2->count(), 4);  // Spider is there already
    form.ListBox2->clearSelection();
    form.ListBox2->findItems(QStringLiteral("Aces Up"), Qt::MatchExactly).value(0)->setSelected(true);
    form.BitBtn4Click();
    return int(QDialog::Accepted);
  };
  f.EditFavouriteMenu1->Click();
  EXPECT_EQ(captions(), (std::vector<std::string>{"Freecell", "Spider", "Yukon"}));
  OnDialog = [](QDialog& d) {
    auto& form = dynamic_cast<TForm4&>(d);
    form.ListBox2->selectAll();
    form.BitBtn4Click();
    return int(QDialog::Rejected);
  };
  f.EditFavouriteMenu1->Click();
  EXPECT_EQ(captions().size(), 3u);
  // Everything removed and OK: an empty submenu and an empty file.
  OnDialog = [](QDialog& d) {
    auto& form = dynamic_cast<TForm4&>(d);
    form.ListBox2->selectAll();
    form.BitBtn4Click();
    return int(QDialog::Accepted);
  };
  f.EditFavouriteMenu1->Click();
  EXPECT_EQ(f.Favourites1->Count(), 0);
  EXPECT_EQ(ReadFileText(FavouritesFilePath(Data)), "");
}

// Captions in "fav.dat" and in saved games are found whatever their case, as the menus find
// them; on the start screen Add to Favourites takes the selected row, and the favourites group
// shows the new list at once.
TEST_F(RecordCommandsTest, FavouritesAndSavedGamesInAnyCaseAndFromTheStartScreen) {
  WriteTextFile(FavouritesFilePath(Data), "aces up\r\n");
  WriteTextFile(PathJoin(Data, "lower.ppg"), "freecell\r\n7\r\nO\r\n");
  TRecordForm& f = Shown();
  ASSERT_EQ(f.Favourites1->Count(), 1);
  EXPECT_EQ(f.Favourites1->Items(0)->Caption(), "Aces Up");
  TStartScreen& start = *f.StartScreen;
  ASSERT_TRUE(start.Showing());
  start.ComboBox1->setCurrentIndex(2);
  start.ComboBox1Change();
  ASSERT_EQ(start.Cells(0, 1), "Aces Up");
  // Another group's row added from the start screen; the favourites group lists it at once.
  start.ComboBox1->setCurrentIndex(0);
  start.ComboBox1Change();
  start.SetRow(start.FindRowByInitial('Y'));
  const std::string chosen = start.Cells(0, start.Row());
  f.AddtoFavourites1Click();
  EXPECT_EQ(f.Favourites1->Count(), 2);
  start.ComboBox1->setCurrentIndex(2);
  start.ComboBox1Change();
  start.SetRow(0);
  f.EditFavouriteMenu1Click();  // cancelled: nothing changes
  EXPECT_EQ(start.RowCount(), 3);
  EXPECT_EQ(start.Cells(0, 2), chosen);
  OnDialog = [](QDialog& d) {
    auto& form = dynamic_cast<TForm4&>(d);
    form.ListBox2->selectAll();
    form.BitBtn4Click();
    return int(QDialog::Accepted);
  };
  f.EditFavouriteMenu1Click();
  EXPECT_EQ(start.RowCount(), 1) << "the emptied favourites show at once";
  // A saved game naming its game in another case opens as that game.
  EXPECT_TRUE(f.LoadGame(PathJoin(Data, "lower.ppg")));
  EXPECT_EQ(E().Rules.GameName, "Freecell");
}

TEST_F(RecordCommandsTest, ClosingTheWindowCountsTheGameInPlayOnce) {
  TRecordForm& f = Shown();
  Choose("Spider", 61);
  Play(3, 8);
  Answer = mrNo;  // "Quit Patience?" answered No: nothing counted, the window stays
  EXPECT_FALSE(f.close());
  EXPECT_EQ(ReadPlayedWon("Spider", Data).Played, 0);
  Answer = mrYes;
  EXPECT_TRUE(f.close());
  const TPlayedWon counted = ReadPlayedWon("Spider", Data);
  EXPECT_EQ(counted.Played, 1);
  EXPECT_EQ(counted.Won, 0);
  // A restarted (closed) game is not counted at close.
  TRecordForm& g = Shown();
  Choose("Yukon", 5);
  g.ReStart1->Click();
  EXPECT_TRUE(g.close());
  EXPECT_EQ(ReadPlayedWon("Yukon", Data).Played, 1);  // the game given up by the restart, only
}
