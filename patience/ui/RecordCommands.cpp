// The main window's records of play: saved games (Open, Save, Save and Quit, Restart, Delete
// and the replay of an opened game), the statistics and high-score window with the host calls
// that count a finished game, and the favourites with their submenu and dialog.

#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLocale>
#include <QTime>

#include "patience/catalogue/Catalogue.h"
#include "patience/catalogue/GameStart.h"
#include "patience/files/DataFolder.h"
#include "patience/files/SavedGame.h"
#include "patience/files/Statistics.h"
#include "patience/files/Trace.h"
#include "patience/ui/FavouritesForm.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/ModalDialogs.h"
#include "patience/ui/SavedGames.h"
#include "patience/ui/StartScreen.h"
#include "patience/ui/StatisticsForm.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/core/Files.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

std::string ShortDate() {
  return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

// The date and the time as the save dialog proposes them (the long time without a time zone).
std::string DateAndTime() {
  QString time = QLocale().timeFormat(QLocale::LongFormat);
  time.remove(QLatin1Char('t'));
  return ShortDate() + " " + QTime::currentTime().toString(time.trimmed()).toStdString();
}

// The file chosen in a saved-game dialog, or "" when none was.
std::string RunFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilter(QString::fromLatin1(kSavedGameFilter));
  dialog.setDefaultSuffix(QStringLiteral("ppg"));
  if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  std::string file = dialog.selectedFiles().first().toStdString();
  if (dialog.acceptMode() == QFileDialog::AcceptSave && ExtractFileExt(file).empty()) file += ".ppg";
  return file;
}

// The toolkit's file dialogs name files by text: a path whose bytes are not valid UTF-8 cannot be
// shown in them (a dialog asked to open in such a folder opens somewhere else).
bool DialogCanShow(const std::string& path) {
  return QString::fromStdString(path).toStdString() == path;
}

// Sets a value for the life of the object and puts the old one back afterwards.
template <typename T>
class TKeep {
 public:
  TKeep(T& target, T value) : FTarget(target), FSaved(target) { target = value; }
  ~TKeep() { FTarget = FSaved; }
  TKeep(const TKeep&) = delete;
  TKeep& operator=(const TKeep&) = delete;

 private:
  T& FTarget;
  T FSaved;
};

}  // namespace

// -----------------------------------------------------------------------------------------------
// Building

void TForm1::BuildRecordMenus() {
  // Into " Game ", after the play commands.
  int at = Game1->IndexOf(FullScreenF111);
  auto add = [&](const char* name, const char* caption, int image, std::function<void()> run) {
    TMenuItem* item = Game1->Insert(at++, name, caption);
    if (image >= 0) item->SetImageIndex(image);
    if (run) item->OnClick = [run](TMenuItem&) { run(); };
    return item;
  };
  Open1 = add("Open1", "Open", tiOpen, [this] { OpenExecute(); });
  Save1 = add("Save1", "Save", tiSave, [this] { SaveExecute(); });
  SaveandQuit1 = add("SaveandQuit1", "Save and Quit", -1, [this] { SaveandQuit1Click(); });
  ReStart1 = add("ReStart1", "Restart", tiRestart, [this] { ReStart1Click(); });
  Delete1 = add("Delete1", "Delete", -1, [this] { Delete1Click(); });
  add("N5", "-", -1, nullptr);
  AddtoFavourites1 =
      add("AddtoFavourites1", "Add to Favourites", tiFavourites, [this] { AddtoFavourites1Click(); });
  EditFavouriteMenu1 =
      add("EditFavouriteMenu1", "Edit Favourites Menu", -1, [this] { EditFavouriteMenu1Click(); });
  add("N6", "-", -1, nullptr);
  // Nothing to save or restart before a game is dealt.
  for (TMenuItem* item : {Save1, SaveandQuit1, ReStart1}) item->SetEnabled(false);

  ViewStatistics1 = Statistics1->Add("ViewStatistics1", "Statistics");
  ViewStatistics1->SetImageIndex(tiStatistics);
  ViewStatistics1->OnClick = [this](TMenuItem&) { ViewStatistics1Click(); };
  HighScores1 = Statistics1->Add("HighScores1", "High Scores");
  HighScores1->OnClick = [this](TMenuItem&) { HighScoresExecute(); };
}

void TForm1::BuildRecordToolButtons() {
  // Open and Save right after New Game; High Scores at the end of the buttons.
  auto* layout = qobject_cast<QHBoxLayout*>(ToolBar->layout());
  const TImageList& images = ToolbarImages();
  OpenButton = new TToolButton("Open", images, tiOpen, "Open", ToolBar);
  SaveGame = new TToolButton("SaveGame", images, tiSave, "Save", ToolBar);
  ToolButton1 = new TToolButton("ToolButton1", images, tiStatistics, "High Scores", ToolBar);
  for (TToolButton* b : {OpenButton, SaveGame, ToolButton1}) {
    b->setFixedSize(26, 26);
    b->setAutoRaise(true);
  }
  const int after = layout ? layout->indexOf(NewGame) + 1 : -1;
  if (layout && after > 0) {
    layout->insertWidget(after, OpenButton);
    layout->insertWidget(after + 1, SaveGame);
    layout->insertWidget(layout->indexOf(ToolButton16) + 1, ToolButton1);
  } else {
    for (TToolButton* b : {OpenButton, SaveGame, ToolButton1}) ToolBar->AddWidget(b);
  }
  SaveGame->setEnabled(false);
  QObject::connect(OpenButton, &QToolButton::clicked, this, [this] { OpenExecute(); });
  QObject::connect(SaveGame, &QToolButton::clicked, this, [this] { SaveExecute(); });
  QObject::connect(ToolButton1, &QToolButton::clicked, this, [this] { HighScoresExecute(); });
}

void TForm1::SetSaveCommands(bool enabled) {
  for (TMenuItem* item : {Save1, SaveandQuit1, ReStart1})
    if (item) item->SetEnabled(enabled);
  if (SaveGame) SaveGame->setEnabled(enabled);
}

TDataForm& TForm1::StatisticsWindow() {
  if (!DataForm) {
    DataForm = new TDataForm(this);
    DataForm->PlaySound = [this](const std::string& name) { PlaySound(name, 1, 100); };
  }
  return *DataForm;
}

// -----------------------------------------------------------------------------------------------
// Saved games

void TForm1::OpenExecute() {
  if (!Engine || CommandRunning()) return;
  const std::string folder = SaveGamesFolder(DataFolder());
  ForceDirectories(folder);
  TKeep<int> tag(ToolBarTag, 2);
  ToolBar1->setEnabled(false);
  // Auto-move shows off while the dialog is up and the file replays (it holds every move).
  struct TShownOff {
    TToolButton* Button;
    const bool On;
    ~TShownOff() {
      if (On) Button->SetImageIndex(tiAutoMoveOn);
    }
  } shownOff{ToolButton16, ToolButton16->ImageIndex() == tiAutoMoveOn};
  if (shownOff.On) ToolButton16->SetImageIndex(tiAutoMoveOff);
  QFileDialog dialog(this, QStringLiteral("Open"), Q(folder));
  dialog.setObjectName(QStringLiteral("OpenDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly);
  const std::string file = RunFileDialog(dialog);
  if (!file.empty() && LoadGame(file)) PlaySound("chime.wav", 1, 100);
  ToolBar1->setEnabled(true);
}

bool TForm1::LoadGame(const std::string& fileName) {
  // The whole file is checked before anything is dealt: a damaged one changes nothing.
  std::string error;
  const std::optional<TSavedGame> game = ReadMenuSavedGame(fileName, error);
  if (!game) {
    Trace("LoadGame refused " + fileName + ": " + error);
    MessageBox("The saved game \"" + ExtractFileName(fileName) + "\" cannot be opened: " + error + ".",
               "Notification.", MB_OK | MB_ICONWARNING);
    return false;
  }
  Trace("Start LoadGame - " + fileName);
  TGameRules& rules = Engine->Rules;
  rules.LastSaveName = rules.SaveName;
  // The game in play ends here and is counted, unless it was closed.
  if (!rules.GameClosed && !rules.LastGameName.empty() && ScoringOn())
    RecordGame(rules.LastGameName, rules.LastSaveName, rules.Points, false);
  rules.GameClosed = true;
  // The replay is heard as one round of applause, not as every card it moves.
  PlaySound("claps.wav", 1, 100);
  struct TQuiet {
    TForm1& Form;
    const bool WasOn;
    explicit TQuiet(TForm1& form) : Form(form), WasOn(form.SoundOn()) {
      if (WasOn) Form.Off2Click();
    }
    ~TQuiet() {
      if (WasOn) Form.On2Click();
    }
  } quiet(*this);
  const bool dealt = ReplaySavedGame(*Engine, *game, fileName);
  if (!dealt) Trace("LoadGame could not start " + game->Lines[0]);
  Trace("Exit loadGame");
  return dealt;
}

void TForm1::SaveExecute() {
  if (!Engine || CommandRunning() || Engine->HistoryList.Count() < 3) return;
  TKeep<int> tag(ToolBarTag, 1);
  const std::string folder = SaveGamesFolder(DataFolder());
  ForceDirectories(folder);
  TGameRules& rules = Engine->Rules;
  std::string file = rules.SaveName;
  const bool asked = file.empty();
  if (asked && !DialogCanShow(folder)) {
    // Saved nowhere else: the player is told why.
    Beep();
    MessageBox("The game cannot be saved: the name of the folder \"" + folder +
                   "\" is not valid UTF-8 text, so the Save As dialog cannot show it. Options > Change Save "
                   "Data Location can move the saved games to another place.",
               "Notification.", MB_OK | MB_ICONWARNING);
    return;
  }
  if (asked) {
    QFileDialog dialog(this, QStringLiteral("Save As"), Q(folder));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(Q(ProposedSaveName(rules.GameName, DateAndTime()) + ".ppg"));
    file = RunFileDialog(dialog);
    if (file.empty()) return;
  }
  std::string error;
  if (!WriteSavedGame(file, Engine->HistoryList, error)) {
    // A failed save says so; the chime is for a save that happened.
    Beep();
    MessageBox("The game could not be saved as \"" + ExtractFileName(file) + "\": " + error + ".",
               "Notification.", MB_OK | MB_ICONWARNING);
    return;
  }
  PlaySound("chime.wav", 1, 100);
  if (asked) {
    rules.SaveName = file;
    SetCaption(GameCaptionText(rules.GameName, file, Engine->HistoryList[2] == "0"));
  }
}

void TForm1::SaveandQuit1Click() {
  SaveExecute();
  QuitProgram1Click();
}

void TForm1::ReStart1Click() {
  if (!Engine || CommandRunning() || Engine->HistoryList.Count() < 3) return;
  TStringList& history = Engine->HistoryList;
  if (ScoringOn() && history[2] != "0" &&
      MessageDlg("Restart this game? The restarted game won`t appear in the high score table or statistics.",
                 mtConfirmation, mbYes | mbNo) != mrYes)
    return;
  const std::optional<uint32_t> seed = ParseSeed(history[1]);
  const std::string caption = history[0];
  if (!seed || !IsMenuGame(caption)) return;
  TGameRules& rules = Engine->Rules;
  const std::string keptSave = rules.SaveName;
  const std::string keptName = rules.GameName;
  Engine->SetRandomSeed(*seed);
  rules.GameName = "Loading";
  const bool dealt = StartGameByCaption(*Engine, caption);
  // The next New Game takes a seed of its own, not the one that follows this game's.
  Engine->RandomizeNextDeal();
  if (!dealt) {
    rules.GameName = keptName;
    return;
  }
  rules.SaveName = keptSave;
  SetCaption(GameCaptionText(rules.GameName, rules.SaveName, true));
  if (Engine->HistoryList.Count() > 2) Engine->HistoryList[2] = "0";
  ::CloseGameFile(rules.SaveName);
}

void TForm1::Delete1Click() {
  if (!Engine) return;
  PlaySound("scream_x.wav", 1, 100);
  if (MessageDlg("Delete all save files in Save Games and all sub folders?", mtConfirmation, mbYes | mbNo) !=
      mrYes)
    return;
  const int n = DeleteSavedGames(SaveGamesFolder(DataFolder()));
  Trace("Saved games deleted: " + std::to_string(n));
  TGameRules& rules = Engine->Rules;
  rules.SaveName.clear();
  if (rules.GameName.empty()) return;
  const TStringList& history = Engine->HistoryList;
  SetCaption(GameCaptionText(rules.GameName, "", history.Count() > 2 && history[2] == "0"));
}

// -----------------------------------------------------------------------------------------------
// Statistics and high scores

void TForm1::ViewStatistics1Click() {
  ShowStatisticsPage(0);
}

void TForm1::HighScoresExecute() {
  ShowStatisticsPage(1);
}

void TForm1::ShowStatisticsPage(int page) {
  if (!Engine || CommandRunning()) return;
  // On the start screen: the selected row's game (no game becomes current).
  std::string game = Engine->Rules.GameName;
  if (StartScreen && StartScreen->Showing())
    game = StartScreen->Row() > 0 ? StartScreen->Cells(0, StartScreen->Row()) : "";
  if (game.empty()) return;
  StatisticsWindow().ShowStats(game, page, DataFolder());
}

void TForm1::RecordGame(const std::string& gameName, const std::string& saveName, int points, bool won) {
  if (!Engine) return;
  TStringList& history = Engine->HistoryList;
  // A closed game has been counted already, or never counts.
  if (history.Count() > 2 && history[2] == "0") return;
  if (!saveName.empty()) {
    // Opened or saved and not played on since: it was counted when it was saved. A file that is
    // gone (deleted meanwhile) counts as played on.
    TStringList file;
    if (FileExists(saveName) && file.TryLoadFromFile(saveName) && file.Count() == history.Count()) return;
    ::CloseGameFile(saveName);
    if (history.Count() > 2) history[2] = "0";
  }
  CountFinishedGame(gameName, DataFolder(), points, won, ShortDate(),
                    [this, gameName](int position, int score, const std::string& defaultName) {
                      return StatisticsWindow().AskName(gameName, position, score, defaultName);
                    });
}

void TForm1::RecordRunningGame() {
  if (!Engine || Engine->Rules.GameClosed || Engine->Rules.GameName.empty() || !ScoringOn()) return;
  Trace("Call to Update stats in form close");
  RecordGame(Engine->Rules.GameName, Engine->Rules.SaveName, Engine->Rules.Points, false);
  Engine->Rules.GameClosed = true;
  Trace("Update stats ok");
}

void TForm1::CloseGameFile(const std::string& saveName) {
  ::CloseGameFile(saveName);
}

// -----------------------------------------------------------------------------------------------
// Favourites

void TForm1::LoadFavourites() {
  const std::string path = FavouritesFilePath(DataFolder());
  if (!FileExists(path)) return;
  const int skipped = FavouritesList.LoadFromFile(path, IsMenuGame);
  if (skipped) Trace("fav.dat: " + std::to_string(skipped) + " lines skipped");
  // Each favourite as its game's menu item spells it.
  std::vector<std::string> captions;
  for (const std::string& caption : FavouritesList.Items()) captions.push_back(*MenuCaption(caption));
  FavouritesList.Assign(captions);
  BuildFavourites();
  Trace("Favourites loaded");
}

void TForm1::BuildFavourites() {
  Trace("Start BuildFavourites");
  Favourites1->Clear();
  for (const std::string& caption : FavouritesList.Items()) {
    TMenuItem* game = GetMenuItem(Alphabeticallist1, caption, true);
    if (!game) {
      // A favourite no game has: left out of the menu (the list keeps it until it is edited).
      Trace("*** Exception in BuildFavourites ***");
      continue;
    }
    TMenuItem* item = Favourites1->Add("", game->Caption());
    item->OnClick = game->OnClick;
    item->OnDrawItem = game->OnDrawItem;
  }
  Trace("Exit BuildFavourites ok");
}

void TForm1::SaveFavourites() {
  FavouritesList.SaveToFile(FavouritesFilePath(DataFolder()));
}

void TForm1::AddtoFavourites1Click() {
  if (!Engine) return;
  // The game in play, or on the start screen the selected row's (none for the header).
  std::string name = Engine->Rules.GameName;
  if (StartScreen && StartScreen->Showing())
    name = StartScreen->Row() > 0 ? StartScreen->Cells(0, StartScreen->Row()) : "";
  if (name.empty() || !IsMenuGame(name) || !FavouritesList.Add(name)) return;
  SaveFavourites();
  BuildFavourites();
  RefreshFavouritesGroup();
}

void TForm1::EditFavouriteMenu1Click() {
  TForm4 dialog(this);
  dialog.CollectGameCaptions(*Alphabeticallist1);
  dialog.SetFavourites(FavouritesList.Items());
  if (ExecModal(dialog) != QDialog::Accepted) return;
  FavouritesList.Assign(dialog.Favourites());
  SaveFavourites();
  BuildFavourites();
  RefreshFavouritesGroup();
}

void TForm1::RefreshFavouritesGroup() {
  // The start screen lists the favourites as its third group: it shows the new list at once.
  if (!StartScreen || !StartScreen->Showing() || StartScreen->ComboBox1->currentIndex() != 2) return;
  StartScreen->GameCaptions.Clear();
  StartScreen->FillStringGrid();
}
