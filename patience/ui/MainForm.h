#pragma once
// TForm1, the game's main window "Patience.": the menu bar ToolBar1 with the main menu, the game
// toolbar ToolBar with its labels, and the card table CardTable1 below them, played by the play
// engine. The window is the engine's host: it shows the caption, labels and command states the
// engine sets and paces its deals.
//
// Life cycle: the constructor is the form's creation; the first show maximizes the window and
// then, once and after it, runs the first activation; closing asks "Quit Patience?" unless a
// deal runs or the table animates. F11 switches full screen on and off.
//
// Play: the " Game " menu and the game toolbar carry New Game, Undo and Redo, the toolbar the
// auto-move toggle, and the Redeal button lies on the table over the empty stock while the
// engine offers a redeal. Each command is the engine's, which refuses it while another command
// or a move of the game runs; the states the engine sets (SetCommand) are the states shown.

#include <QStringList>
#include <QWidget>
#include <array>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "cardtable/CardTable.h"
#include "patience/engine/EngineHost.h"
#include "patience/engine/PatienceEngine.h"
#include "patience/files/Favourites.h"
#include "patience/ui/GameMenus.h"
#include "patience/ui/Sound.h"
#include "patience/ui/WindowBackdrop.h"
#include "platform/core/StringList.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/Menus.h"

class QComboBox;
class QLabel;
class QToolButton;
class TDataForm;
class TCardTableWidget;
class TFlourish;
class TMenuBarWidget;
class TShowCanvas;
class TStartScreen;
class TToolBarWidget;
class TToolButton;

// "fast" as the one parameter of the command line, in any case.
bool IsFastSwitch(const QStringList& parameters);

struct TForm1Options {
  // The card sets folder; empty for the table's own search (current folder, program folder,
  // Config.txt, the search path, then the player is asked).
  std::string CardsetsDir;
  // The sounds are set up on a thread of their own while the window is made (the program's choice);
  // without it they are set up at once, before the window shows.
  bool SoundsInBackground = false;
};

class TForm1 : public QWidget, public TEngineHost {
  Q_OBJECT
 public:
  // Creates the window (FormCreate). parameters: the command line after the program's name and
  // after the toolkit's own options.
  explicit TForm1(const QStringList& parameters, const TForm1Options& options = {});
  ~TForm1() override;

  // ---------------------------------------------------------------------------------------------
  // Components

  TMenuItem MainMenu1{"MainMenu1"};
  TMenuItem* Game1 = nullptr;  // " Game "
  TMenuItem* NewGame1 = nullptr;
  TMenuItem* Redealwastepile1 = nullptr;
  TMenuItem* Undo1 = nullptr;
  TMenuItem* Redo1 = nullptr;
  TMenuItem* ChooseGame1 = nullptr;  // " Game Type "
  TMenuItem* Statistics1 = nullptr;  // " Statistics "
  TMenuItem* Options1 = nullptr;     // " Options "
  TMenuItem* AutoMove1 = nullptr;    // Options > "Auto Move"
  // Its items "On" and "Off", named AutoMoveOn and AutoMoveOff in the menu (the window's
  // AutoMoveOn() is the host's question whether the option is on).
  TMenuItem* AutoMoveOnItem = nullptr;
  TMenuItem* AutoMoveOffItem = nullptr;
  TMenuItem* SetUserFilelocation1 = nullptr;  // Options > "Change Save Data Location"
  TMenuItem* Help1 = nullptr;                 // " Help "
  TMenuItem* Debug1 = nullptr;                // " Debug " (the sixth button of the bar, hidden at start)
  TMenuItem* FullScreenF111 = nullptr;
  TMenuItem* QuitProgram1 = nullptr;
  TMenuItem* EnableDebugMenu1 = nullptr;
  TMenuItem* Alphabeticallist1 = nullptr;
  TMenuItem* N800x600Games1 = nullptr;
  TMenuItem* Favourites1 = nullptr;

  TMenuBarWidget* ToolBar1 = nullptr;   // the menu bar
  TToolBarWidget* ToolBar = nullptr;    // the game toolbar
  TToolButton* NewGame = nullptr;       // "New Game"
  TToolButton* ToolButton9 = nullptr;   // "Undo"
  TToolButton* ToolButton11 = nullptr;  // "Redo"
  // "Auto Move Toggle": image 13 while auto-move is on, 18 while it is off.
  TToolButton* ToolButton16 = nullptr;
  // The Redeal button, 50 x 50, on the table centred on the stock; shown only while the engine
  // offers a redeal.
  QToolButton* ReDealButton2 = nullptr;
  // The game toolbar's Tag: non-zero while a command runs that Quit and others must wait for.
  int ToolBarTag = 0;
  QLabel* FoundationLabel = nullptr;
  QLabel* PointsLabel = nullptr;

  TCardTableWidget* CardTable1View = nullptr;
  std::unique_ptr<TCardTable> CardTable1;
  std::unique_ptr<TPatienceEngine> Engine;

  // ---------------------------------------------------------------------------------------------
  // State

  bool FastMode = false;
  int ParkedTurnOverSpeed = 8;
  struct TSavedBounds {
    int Height = 600, Width = 700, Left = 100, Top = 100;
  } SavedBounds;
  int SavedTableTop = 0;
  // Set only while the window is maximized or switched to or from full screen.
  bool WindowStateChanging = false;
  // The first activation has run.
  bool StartupDone = false;
  // "backdrop.jpg" of the program folder (empty when it is missing or unreadable) and its picture
  // stretched to the client area, held where it has shown.
  std::string BackdropFile;
  TWindowBackdrop Backdrop;

  // ---------------------------------------------------------------------------------------------
  // Events and commands

  void FormShow();
  // The first activation; later activations do nothing.
  void FormActivate();
  // Whether the window may close now (false: it stays, as caNone).
  bool FormClose();
  void FormResize();
  // True when the key was taken.
  bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

  // The start screen (StartScreen.cpp) and the window's side of it and of the information overlay
  // (StartScreenCommands.cpp).
  // The main window's Tag: 1 while a game item only loads its game's name, help code and
  // picture (the start screen's preview), dealing nothing.
  int Tag = 0;
  std::unique_ptr<TStartScreen> StartScreen;
  TMenuItem* BackToStart1 = nullptr;  // "Start Screen   F12"
  TMenuItem* Info1 = nullptr;
  TMenuItem* Reset1 = nullptr;          // " Statistics " > "Reset"
  TToolButton* ToolButton14 = nullptr;  // "Info"
  void BackToStart1Click();
  void Reset1Click();
  // The information overlay opens (or closes when it shows); OnAreaClick closes it.
  void InfoClick();
  void OnAreaClick();
  // What the window shows in r (its backdrop or its colour), for pictures drawn over it.
  TBitmap WindowCanvas(const TRect& r);
  void ShowGamePicture(int picture) override;
  void StopEffects() override;

  // Debug menu and start-up failures (DebugCommands.cpp).
  TMenuItem* StartDebugTrace1 = nullptr;
  TMenuItem* ViewWinningAnimation1 = nullptr;
  void StartDebugTrace1Click();
  void ViewWinningAnimation1Click();
  // The error report of a failure in where ("FormCreate", "FormActivate"): shown, saved on the
  // desktop, and the program ends.
  void ReportStartupError(const std::string& where, const std::string& what);

  void QuitProgram1Click();
  // The program is asked to end from outside (the session ends, SIGTERM, SIGINT): it ends as Quit
  // would, without a question. Open dialogs are cancelled, a winning show and a download stop, the
  // running game is counted (a high score under the last name typed), then the program ends.
  void EndSession();
  void FullScreenF111Click();
  void EnableDebugMenu1Click();
  // Options > Change Save Data Location: moves the data folder (the window stays open meanwhile).
  void SetUserFilelocation1Click();
  // The handler of every game item of " Game Type ": starts the game of the item's caption.
  void GameItemClick(TMenuItem& Sender);

  // Play commands (menu items and buttons); each is the engine's command of the same name.
  void NewExecute();
  void ReDealWastepileExecute();
  void ToolButton90Click();   // Undo
  void ToolButton110Click();  // Redo
  void AutomoveToggle();
  void AutoMoveOnClick();
  void AutoMoveOffClick();
  // A command of the game runs (the game toolbar's Tag, or the engine's own guard).
  bool CommandRunning() const;

  // ---------------------------------------------------------------------------------------------
  // Table appearance (Appearance.cpp, CardSpeed.cpp): the Options commands that set the card
  // table's card set and back, background, shadows, drag shade and card movement. Each sets its
  // table properties and the check marks of its group; nothing reaches a file before Save Options.

  TMenuItem* ChooseDeck1 = nullptr;          // "Choose Card Deck"
  TMenuItem* ChooseBack1 = nullptr;          // "Choose Card Back"
  TMenuItem* SetCardSpeed1 = nullptr;        // "Card Movement Mode"
  TMenuItem* BackgroundColour1 = nullptr;    // "Background Colour"
  TMenuItem* BackgroundPicture1 = nullptr;   // "Background Picture"
  TMenuItem* PictureMode1 = nullptr;         // "Background Picture Mode"
  TMenuItem* StretchPicture1 = nullptr;      //   "Stretch"
  TMenuItem* TilePicture1 = nullptr;         //   "Tile"
  TMenuItem* BackgroundGradient1 = nullptr;  // "Background Gradient": Mode11 .. satan1
  TMenuItem* CardShadowMode1 = nullptr;      // "Card Shadow Mode"
  TMenuItem* DottedType1 = nullptr;          //   "Dotted Type"
  TMenuItem* Soft1 = nullptr;                //   "Shaded Type" > "Soft"
  TMenuItem* Hard1 = nullptr;                //   "Shaded Type" > "Hard"
  TMenuItem* CardDropShadeMode1 = nullptr;   // "Card Drop Shade Mode"
  TMenuItem* DottedType2 = nullptr;          //   "Dotted Type"
  TMenuItem* None2 = nullptr;                //   "Shaded Type" > "None" (after Grey1 .. urquoise1)
  TMenuItem* DropPointMode1 = nullptr;       // "Drop Point Mode"
  TMenuItem* CardBased1 = nullptr;           //   "Card Based"
  TMenuItem* MouseBased1 = nullptr;          //   "Mouse Based"
  TMenuItem* FastCardBased1 = nullptr;       //   "Fast Card Based"
  // The gradient presets by the table's Tag 1..15, and the drag shade colours by
  // HQDragShadeColour 0..6.
  std::array<TMenuItem*, 16> GradientItems{};
  std::array<TMenuItem*, 7> DragShadeItems{};

  void ChooseBack1Click();
  void ChooseDeck1Click();
  void SetCardSpeed1Click();
  void BackgroundColour1Click();
  void BackgroundPicture1Click();
  void StretchPicture1Click();
  void TilePicture1Click();
  // A gradient preset by its Tag (1..6 the band modes, 7..15 the two-colour ones).
  void GradientPresetClick(int Tag);
  void Mode11Click() { GradientPresetClick(1); }
  void Mode21Click() { GradientPresetClick(2); }
  void Mode31Click() { GradientPresetClick(3); }
  void Mode41Click() { GradientPresetClick(4); }
  void Mode51Click() { GradientPresetClick(5); }
  void Mode61Click() { GradientPresetClick(6); }
  void ttt1Click() { GradientPresetClick(7); }
  void Mode81Click() { GradientPresetClick(8); }
  void tt1Click() { GradientPresetClick(9); }
  void Mode71Click() { GradientPresetClick(10); }
  void xmas1Click() { GradientPresetClick(11); }
  void loki1Click() { GradientPresetClick(12); }
  void Dreamer1Click() { GradientPresetClick(13); }
  void MrBlue1Click() { GradientPresetClick(14); }
  void satan1Click() { GradientPresetClick(15); }
  void ClearGradChecks();
  // Checks the preset of the table's Tag (nothing for any other Tag).
  void SetGradChecks();
  void DottedType1Click();
  void Soft1Click();
  void Hard1Click();
  void DottedType2Click();
  void None2Click();
  // A drag shade colour by its HQDragShadeColour (0..6).
  void DragShadeColourClick(int Colour);
  void Grey1Click() { DragShadeColourClick(0); }
  void Red1Click() { DragShadeColourClick(1); }
  void Red2Click() { DragShadeColourClick(2); }
  void Blue1Click() { DragShadeColourClick(3); }
  void Yellow1Click() { DragShadeColourClick(4); }
  void Pin1Click() { DragShadeColourClick(5); }
  void urquoise1Click() { DragShadeColourClick(6); }
  void ClearDragShadeChecks();
  void CardBased1Click();
  void MouseBased1Click();
  void FastCardBased1Click();
  // The marks of the appearance menus re-derived from the table's settings by calling the
  // commands above (after the table's state file was loaded).
  void SetTableMenuChecks();

  // True when the screen is at least Width x Height; otherwise, when Show, a beep and the
  // resolution message. False then.
  bool ScreenOk(int Width, int Height, bool Show);
  bool Busy() const { return Engine && Engine->Busy; }
  bool GameClosed() const { return Engine->Rules.GameClosed; }
  // Full screen is on (the table lies right under the menu bar).
  bool FullScreen() const;

  // ---------------------------------------------------------------------------------------------
  // Sound and scoring (Sound.cpp, Scoring.cpp)

  TMenuItem* Sound2 = nullptr;  // Options > "Sound" with "On" and "Off"
  TMenuItem* On2 = nullptr;
  TMenuItem* Off2 = nullptr;
  TMenuItem* ModifyScoring1 = nullptr;  // Options > "Modify Scoring System"
  TMenuItem* SoundSystem1 = nullptr;    // Debug > "Sound System" with "DirectX" and "Win"
  TMenuItem* DirectX1 = nullptr;
  TMenuItem* Win321 = nullptr;
  TSoundSystem Sounds;
  // Options line 1 is the sound option: exactly "On" plays sounds; anything but exactly "Off" lets
  // music play. On2Click and Off2Click set it.
  // The lines of "Scoring.dat" (the point values themselves are the engine's ScoreValues).
  TStringList ScoringList;

  // Plays a sound and keeps the score: the engine's routine, which then plays through the host.
  void Sound(const std::string& Name, int Mode, int Milliseconds);
  void Stream(const std::string& Name, int NoLoop);
  void SoundStop(const std::string& Name, bool IsStream);
  void On2Click();
  void Off2Click();
  void DirectX1Click();
  void Win321Click();
  // Creation: opens the audio device and loads "Sounds", at once or in the background.
  void SetUpSound(bool inBackground);
  // Waits for the sounds' set-up (its trace lines then follow).
  void WaitForSounds();
  // The first activation's music: at once when the sounds are set up, else when they are.
  void StartMusicWhenReady();
  void SoundsArrived();
  // First activation: the start-up music, or the shuffle sound without the sample player.
  void StartMusic();
  // First activation: "Scoring.dat" of the data folder into the engine's point values.
  void LoadScoring();
  void ModifyScoring1Click();
  // Options > "Scoring and Statistics": "On" shows the points and keeps statistics and high scores,
  // "Off" hides the points and neither records nor offers them (options line 2).
  TMenuItem* ScoringandStatistics1 = nullptr;
  TMenuItem* On3 = nullptr;
  TMenuItem* Off3 = nullptr;
  void On3Click();
  void Off3Click();
  // Both: the points label, the high-score button, the statistics menu, the marks and the line.
  void SetScoring(bool on);

  // ---------------------------------------------------------------------------------------------
  // Options (Options.cpp), layouts and card scale (LayoutCommands.cpp)

  // The seven option lines of "Options.dat", read at the first activation; the commands change
  // them at once, and only Save Options writes them.
  TStringList OptionLines;
  TMenuItem* GameLayout1 = nullptr;  // Options > "Game Layout"
  // "Extended" and "Compact": the item of the layout in force is disabled.
  TMenuItem* Extended1 = nullptr;
  TMenuItem* Compact1 = nullptr;
  TMenuItem* ChooseCardScale1 = nullptr;  // Options > "Choose Card Scale"
  TMenuItem* N60Normal1 = nullptr;        // step -2
  TMenuItem* N751 = nullptr;              // -1
  TMenuItem* N1001 = nullptr;             // 1
  TMenuItem* N125Normal1 = nullptr;       // 2
  TMenuItem* N200Normal1 = nullptr;       // 3
  TMenuItem* N200Normal2 = nullptr;       // 5
  TMenuItem* AnimatedRedeals1 = nullptr;  // Options > "Animated Redeals"
  TMenuItem* On1 = nullptr;
  TMenuItem* Off1 = nullptr;
  TMenuItem* SaveOptions1 = nullptr;
  // "Game Layout Toggle": image 14 while Compact, 15 while Extended is in force.
  TToolButton* ToolButton18 = nullptr;
  QComboBox* ComboBox3 = nullptr;  // "Scale": 60% .. 200%

  // First activation: the option lines read and repaired; lines 0 and 1 applied; the table's
  // settings read from "Status.Dat"; lines 2 to 6 applied (after the table's menus).
  void LoadOptions();
  void ApplyOptionLines01();
  void LoadTableStatus();
  void ApplyOptionLines26();
  void SetOptionLine(int line, const std::string& value);
  std::string OptionLine(int line) const;
  void SaveOptions1Click();
  void On1Click();
  void Off1Click();
  void Extended1Click();
  void Compact1Click();
  void ToolButton180Click();
  void SetScale(int Step);
  void ComboBox30Change(int index);
  // The Extended layout laid out again when it is in force: after a resize, a new card size or a
  // new deck (waits for a running deal or command to end).
  void ReapplyLayout();
  // A step too large: the message, and the deck at the step it falls back to (redrawn when asked);
  // returns that step.
  int RefuseScale(bool redraw);
  // Extended layout: the card size in force is refused as too large when the game in play, dealt
  // at it, does not fit the table. True when it was.
  bool FitScaleToTable();

  // ---------------------------------------------------------------------------------------------
  // Help and the update check (HelpCommands.cpp, UpdateCheck.cpp)

  TMenuItem* PatienceHelp1 = nullptr;     // Help > "Help Contents   F1"
  TMenuItem* Rules1 = nullptr;            // Help > "Rules   F2"
  TMenuItem* CheckforUpdates1 = nullptr;  // Help > "Check for Updates"
  void BuildHelpMenus();
  // F1: the help file's contents.
  void PatienceHelp1Click();
  // F2: the rules page of the game in play ("html\pati" + help code + ".htm").
  void RulesExecute();
  void CheckforUpdates1Click();

  // ---------------------------------------------------------------------------------------------
  // Effects: the sparkle (Flourish.cpp), the winning show (WinAnimation.cpp), the about box
  // (AboutBox.cpp). They draw on the window's canvas, over everything in the window.

  TShowCanvas* EffectsCanvas = nullptr;
  std::unique_ptr<TFlourish> flourish;
  TMenuItem* About1 = nullptr;  // Help > "About"
  // Options > "Winning Animation": "I See Stars", "None", "Scribble", "Cool Colours", "Slide Show"
  // (options line 3 "Stars", "None", "Scribble", "New", "Slide"; one of them checked).
  TMenuItem* WinningAnimation1 = nullptr;
  TMenuItem* Iseestars1 = nullptr;
  TMenuItem* None1 = nullptr;
  TMenuItem* Scribble1 = nullptr;
  TMenuItem* New1 = nullptr;
  TMenuItem* SlideShow1 = nullptr;
  void Iseestars1Click();
  void None1Click();
  void Scribble1Click();
  void New1Click();
  void SlideShow1Click();
  // First activation: the command of options line 3 ("On" and anything unknown: I See Stars).
  void ApplyWinAnimOption();
  // The winning show of options line 3 ("None", "Slide", "New", "Scribble", "Stars").
  void WinAnim();
  // A winning show runs.
  bool ShowRunning() const { return FShowRunning; }
  // Asks a running show to end at its next frame (closing the window asks so).
  void StopShow() { FShowStop = FShowRunning; }
  void About1Click();
  // The foundation's sparkle: 35 frames of 14 small glows, 100 ms apart, in the colour given.
  void Sparkle(const TRect& r, TColor colour) override;
  void Sparkle(const TRect& r) { Sparkle(r, TPatienceEngine::kSparkleColour); }
  void WinAnimation() override { WinAnim(); }

  // ---------------------------------------------------------------------------------------------
  // TEngineHost

  void Pause(int ms) override;
  void SetCaption(const std::string& caption) override;
  void SetFoundationLabel(const std::string& text) override;
  void ShowPoints(int points) override;
  void SetCommand(TEngineCommand command, bool enabled) override;
  void PlaceRedealButton(int left, int top) override;
  void CloseStartScreen() override;
  void Beep() override;
  bool ScoringOn() override;
  bool AutoMoveOn() override { return FAutoMove; }
  void SetAutoMoveOption(bool on) override;
  TPoint ScreenSize() override;
  void Trace(const std::string& line) override;
  void PlaySound(const std::string& name, int mode, int ms) override;
  void StopSound(const std::string& name) override;
  bool SoundOn() override;
  bool ExtendedLayout() override;
  bool ReduceScaleToFit(const std::function<bool()>& fits) override;
  bool AnimatedRedeals() override;

  // ---------------------------------------------------------------------------------------------
  // What a player keeps (RecordCommands.cpp): saved games, statistics and high scores, favourites

  TMenuItem* Open1 = nullptr;
  TMenuItem* Save1 = nullptr;
  TMenuItem* SaveandQuit1 = nullptr;
  TMenuItem* ReStart1 = nullptr;
  TMenuItem* Delete1 = nullptr;
  TMenuItem* AddtoFavourites1 = nullptr;
  TMenuItem* EditFavouriteMenu1 = nullptr;
  TMenuItem* ViewStatistics1 = nullptr;  // " Statistics " > "Statistics"
  TMenuItem* HighScores1 = nullptr;      // " Statistics " > "High Scores"
  TToolButton* OpenButton = nullptr;     // "Open"
  TToolButton* SaveGame = nullptr;       // "Save"
  TToolButton* ToolButton1 = nullptr;    // "High Scores"
  TFavouritesList FavouritesList;
  // The statistics window, made when first needed and reused.
  TDataForm* DataForm = nullptr;
  TDataForm& StatisticsWindow();

  // The open dialog, then the replay of the chosen file.
  void OpenExecute();
  // Replays a saved game after checking it whole; a damaged file is refused with a message and
  // changes nothing. True when the file's game was dealt and replayed.
  bool LoadGame(const std::string& fileName);
  // Saves the history to SaveName, or asks for a name first.
  void SaveExecute();
  void SaveandQuit1Click();
  void ReStart1Click();
  void Delete1Click();
  void ViewStatistics1Click();
  void HighScoresExecute();
  // The statistics window on page 0 (statistics) or 1 (high scores) for the game in play, or on the
  // start screen for the selected row's game.
  void ShowStatisticsPage(int page);
  void AddtoFavourites1Click();
  void EditFavouriteMenu1Click();
  // The "Favourites" submenu from FavouritesList.
  void BuildFavourites();
  // "fav.dat" at the first activation.
  void LoadFavourites();
  // The start screen's list again when it shows the favourites group.
  void RefreshFavouritesGroup();
  void RecordGame(const std::string& gameName, const std::string& saveName, int points, bool won) override;
  void CloseGameFile(const std::string& saveName) override;
  // Closing the window ends the game in play: a running scored game counts as played, not won.
  void RecordRunningGame();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Maximized or full screen: the widget takes the size the display has for its window.
  void TakeDisplaySize();
  // The first activation's music, and the end of the start-up trace, wait for the sounds' set-up.
  bool FMusicWaits = false;
  bool FTraceWaitsForSounds = false;
  // The window showed first at its maximized size: its first restore takes the normal bounds.
  bool FRestoreToNormal = false;
  // The window has been painted on the screen maximized (until then it is kept maximized).
  bool FShownMaximized = false;
  void FormCreate(const QStringList& parameters, const TForm1Options& options);
  void BuildMenus();
  void BuildDebugMenu();
  void BuildStartScreenMenus();
  void QuietLoadGame(const std::string& caption);
  void BuildPlayMenus();
  void BuildGameToolBar();
  void BuildSoundMenus();
  void BuildOptionMenus();
  void BuildOptionButtons();
  void MarkScale(int Step);
  // Options > the table appearance items (Appearance.cpp).
  void BuildAppearanceMenus();
  void BuildRecordMenus();
  void BuildRecordToolButtons();
  void SetSaveCommands(bool enabled);
  void SaveFavourites();
  // The Redeal button where the engine last placed it, relative to the table's top.
  void PlaceRedealOnTable();
  void PlaceBars();
  void SetTableTop(int top);
  // Maximized before the window first shows, and the size it will have then.
  void StartMaximized();
  // The backdrop could not be read: the window's colour shows instead.
  void BackdropFailed(const std::exception& e);
  // Without a window manager a maximized or full-screen request changes nothing; the window then
  // takes the area itself.
  void FollowWindowState();

  bool FAutoMove = false;
  // Scoring and statistics are on (On3 checked); the window starts with them on.
  bool FScoring = true;
  // The Redeal button's place: x in the window, y below the table's top.
  TPoint FRedealPlace{0, 0};
  bool FShownOnce = false;
  // No window manager runs (asked of the display before the window first shows).
  bool FNoWindowManager = false;
  bool FRelayoutPending = false;
  void CreateEffects();
  void BuildWinAnimMenu();
  void CheckWinAnim(TMenuItem* item, const std::string& value, const std::string& trace);
  bool FShowRunning = false;
  bool FShowStop = false;
  // The window was asked to close while a show ran: it asks again once the show has ended.
  bool FCloseAfterShow = false;
  bool FEndingSession = false;
  // The last steps of EndSession, once the game's own work (a deal, a move, a show) has ended.
  void FinishSession();
};
