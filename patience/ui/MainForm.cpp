#include "patience/ui/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <exception>
#include <future>

#include "cardtable/CardTableWidget.h"
#include "cardtable/SystemDirs.h"
#include "cardtable/VistaFuncs.h"
#include "patience/catalogue/GameStart.h"
#include "patience/files/DataMove.h"
#include "patience/files/Trace.h"
#include "patience/ui/Flourish.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/StartScreen.h"
#include "patience/ui/TableSettings.h"
#include "patience/ui/ToolbarImages.h"
#include "patience/ui/UpdateCheck.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/Random.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"
#include "platform/ui/WindowFrame.h"

namespace {

constexpr int kGameToolBarHeight = 30;
// The table's least size once the game has started.
constexpr int kTableMinWidth = 700;
constexpr int kTableMinHeight = 500;

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

bool IsFastSwitch(const QStringList& parameters) {
  return parameters.size() == 1 && parameters[0].compare(QStringLiteral("fast"), Qt::CaseInsensitive) == 0;
}

TForm1::TForm1(const QStringList& parameters, const TForm1Options& options) {
  setWindowTitle(QStringLiteral("Patience."));
  // A click on the window's own background leaves the keyboard where it was (the start screen's
  // grid keeps Up, Down and Enter); keys reach the window through its filter all the same.
  setFocusPolicy(Qt::NoFocus);
  FormCreate(parameters, options);
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  StartScreen.reset();
  // The engine plays on the table, and the table draws through its widget.
  Engine.reset();
  CardTable1.reset();
}

// -----------------------------------------------------------------------------------------------
// Creation

void TForm1::BuildMenus() {
  Game1 = MainMenu1.Add("Game1", " Game ");
  BuildPlayMenus();
  FullScreenF111 = Game1->Add("FullScreenF111", "Full Screen   F11");
  FullScreenF111->SetImageIndex(tiFullScreen);
  FullScreenF111->OnClick = [this](TMenuItem&) { FullScreenF111Click(); };
  Game1->Add("N2", "-");
  QuitProgram1 = Game1->Add("QuitProgram1", "Quit Program");
  QuitProgram1->SetImageIndex(tiQuit);
  QuitProgram1->OnClick = [this](TMenuItem&) { QuitProgram1Click(); };

  ChooseGame1 = MainMenu1.Add("ChooseGame1", " Game Type ");
  const TGameMenus games = BuildGameTypeMenu(*ChooseGame1, [this](TMenuItem& item) { GameItemClick(item); });
  Alphabeticallist1 = games.Alphabeticallist1;
  N800x600Games1 = games.N800x600Games1;
  Favourites1 = games.Favourites1;

  Statistics1 = MainMenu1.Add("Statistics1", " Statistics ");
  BuildRecordMenus();
  Options1 = MainMenu1.Add("Options1", " Options ");
  AutoMove1 = Options1->Add("AutoMove1", "Auto Move");
  AutoMoveOnItem = AutoMove1->Add("AutoMoveOn", "On");
  AutoMoveOnItem->SetImageIndex(tiAutoMoveOn);
  AutoMoveOnItem->OnClick = [this](TMenuItem&) { AutoMoveOnClick(); };
  AutoMoveOffItem = AutoMove1->Add("AutoMoveOff", "Off");
  AutoMoveOffItem->SetImageIndex(tiAutoMoveOff);
  AutoMoveOffItem->OnClick = [this](TMenuItem&) { AutoMoveOffClick(); };
  AutoMoveOffItem->SetEnabled(false);  // the option is off until the first activation
  BuildOptionMenus();
  BuildWinAnimMenu();
  SetUserFilelocation1 = Options1->Add("SetUserFilelocation1", "Change Save Data Location");
  SetUserFilelocation1->OnClick = [this](TMenuItem&) { SetUserFilelocation1Click(); };
  BuildAppearanceMenus();
  Help1 = MainMenu1.Add("Help1", " Help ");
  BuildHelpMenus();
  EnableDebugMenu1 = Help1->Add("EnableDebugMenu1", "Debug Menu");
  EnableDebugMenu1->SetImageIndex(tiDebug);
  EnableDebugMenu1->OnClick = [this](TMenuItem&) { EnableDebugMenu1Click(); };
  About1 = Help1->Add("About1", "About");
  About1->OnClick = [this](TMenuItem&) { About1Click(); };
  Debug1 = MainMenu1.Add("Debug1", " Debug ");
  BuildSoundMenus();
  BuildDebugMenu();
  BuildStartScreenMenus();

  OwnerDrawAll(MainMenu1);
}

void TForm1::FormCreate(const QStringList& parameters, const TForm1Options& options) {
  // The window manager answers while the window is made (the window takes its maximized place
  // before it shows).
  AskFrameExtentsAhead();
  StartStartupTrace(QCoreApplication::applicationFilePath().toStdString());
  ApplySystemUiFont(this);
  BuildMenus();
  ToolBar1 = new TMenuBarWidget(MainMenu1, this);

  BuildGameToolBar();
  BuildRecordToolButtons();
  PlaceBars();

  try {
    // The card table fills the window below the two bars and is played by the engine.
    CardTable1View = new TCardTableWidget(this);
    CardTable1 = options.CardsetsDir.empty()
                     ? std::make_unique<TCardTable>(CardTable1View)
                     : std::make_unique<TCardTable>(CardTable1View, options.CardsetsDir);
    TCardTable& t = *CardTable1;
    t.SetAlign(alClient);
    ApplyGameTableSettings(t);
    // The start screen shows first: the table holds no buffer until the first game shows it.
    t.SetVisible(false);
    ::Trace("CardTable created");
    t.ApplyBounds(0, ToolBar1->height() + ToolBar->height(), std::max(width(), 1),
                  std::max(height() - ToolBar1->height() - ToolBar->height(), 1));
    Engine = std::make_unique<TPatienceEngine>(t, this);
    // Over the table, above it in the stacking order.
    ReDealButton2->raise();

    // The debug menu shows only when asked for from the Help menu.
    Debug1->SetVisible(false);

    FastMode = IsFastSwitch(parameters);
    ::Trace("Application Parameters = " + std::to_string(parameters.size()));
    if (FastMode) ApplyFastModeSettings(t);

    // The window is the program's only top-level window, so it alone has a task-bar entry: Qt
    // keeps no hidden application window, and dialogs are transient for their owner.

    Engine->Rules.GameClosed = true;
    if (!ScreenOk(800, 600, true)) Application().Terminate();

    const std::string backdrop = PathJoin(t.ProgramDir, "backdrop.jpg");
    if (FileExists(backdrop)) {
      BackdropFile = ResolvePath(backdrop);
      Backdrop.SetFile(BackdropFile);
      // The backdrop covers the window: the toolkit need not fill the background first.
      setAttribute(Qt::WA_OpaquePaintEvent);
    }

    ::Trace("DocDir - " + MyDocumentsDir);
    ::Trace("Local AppData - " + LocalAppDataDir);
    SavedBounds = TSavedBounds();
    StartScreen = std::make_unique<TStartScreen>(*this);
    ParkedTurnOverSpeed = 8;

    // The data folder: found, or asked for on the first run; older files brought along. While
    // another start or move is under way the program waits for it, or tells the player and ends.
    if (!FindDataFolder(t.CardDeck(), FastMode, this)) Application().Terminate();

    // The sounds of the program folder's "Sounds".
    SetUpSound(options.SoundsInBackground);
    CreateEffects();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Patience: the main window could not be created: %s\n", e.what());
    ReportStartupError("FormCreate", e.what());
  }

  resize(SavedBounds.Width, SavedBounds.Height);
  move(SavedBounds.Left, SavedBounds.Top);
  StartMaximized();
  // The picture is read on a thread of its own while the window is made, for its first paint.
  Backdrop.ReadAhead();
  // Every key reaches the form first.
  qApp->installEventFilter(this);
}

// -----------------------------------------------------------------------------------------------
// Show, first activation, closing

void TForm1::StartMaximized() {
  // The place the window will have maximized: the work area less the frame the window manager
  // puts around it (asked of the manager before the window shows). The window takes it before it
  // first shows, so what fills it is laid out and built once, at its final size, and its first
  // paint is the finished start screen. A window manager maximizes the window as it maps it
  // (whether or not its frame was known in time: it then sizes the window itself before the first
  // paint); without one the window is maximized here, at the work area, and stays so.
  FNoWindowManager = !WindowManagerRunning();
  const QRect area = MaximizedClientArea(screen());
  if (!area.isEmpty()) {
    move(area.topLeft());
    resize(area.size());
    FRestoreToNormal = true;
  }
  setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::FormShow() {
  if (windowState() & Qt::WindowMaximized) return;
  WindowStateChanging = true;
  setWindowState(windowState() | Qt::WindowMaximized);
  Application().ProcessMessages();
  WindowStateChanging = false;
}

void TForm1::FormActivate() {
  if (StartupDone) return;
  StartupDone = true;
  try {
    ::Trace("Form activated");
    LoadOptions();
    // The favourites come with the options.
    LoadFavourites();
    Randomize();
    ApplyOptionLines01();
    StartMusicWhenReady();
    LoadTableStatus();
    LoadScoring();
    // The start screen in place of the table until a game is chosen.
    if (CardTable1) {
      CardTable1->SetVisible(false);
      Application().ProcessMessages();
      if (StartScreen) StartScreen->ViewStartScreen();
    }
    // The table's settings re-derive their menu check marks, by calling their commands.
    ::Trace("Checking menu items");
    SetTableMenuChecks();
    ApplyOptionLines26();
    if (CardTable1) {
      CardTable1->SetMinWidth(kTableMinWidth);
      CardTable1->SetMinHeight(kTableMinHeight);
    }
    // Tracing is off from here on (once the sounds' set-up has told how it went).
    if (Sounds.SettingUp())
      FTraceWaitsForSounds = true;
    else
      StopTrace();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Patience: start-up failed: %s\n", e.what());
    ReportStartupError("FormActivate", e.what());
  }
  setUpdatesEnabled(true);
}

bool TForm1::FormClose() {
  Application().ProcessMessages();
  if (Busy()) return false;
  if (CardTable1 && CardTable1->DisableCardClicks) return false;
  if (MessageDlg("Quit Patience?", mtConfirmation, mbYes | mbNo) != mrYes) return false;
  // A running download asks again, and is stopped and waited for.
  if (!UpdateAllowsClose()) return false;
  RecordRunningGame();
  return true;
}

void TForm1::QuitProgram1Click() {
  if (!CommandRunning()) close();
}

void TForm1::EndSession() {
  if (FEndingSession) return;
  FEndingSession = true;
  ::Trace("The session ends");
  Application().StopAsking();
  StopShow();
  // The information overlay closes at once: it holds every other command, the end among them.
  if (CardTable1 && CardTable1->TableArea(1)->Visible) OnAreaClick();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) dialog->reject();
  StopUpdateThread();
  FinishSession();
}

void TForm1::FinishSession() {
  // A deal, a move or a show in progress comes back to the event loop first.
  if (Busy() || CommandRunning() || FShowRunning) {
    QTimer::singleShot(20, this, [this] { FinishSession(); });
    return;
  }
  RecordRunningGame();
  Application().Terminate();
}

bool TForm1::CommandRunning() const {
  return ToolBarTag != 0 || (Engine && Engine->CommandRunning());
}

void TForm1::SetUserFilelocation1Click() {
  // The open saved game follows its file to the new folder.
  if (Engine && CardTable1)
    ChangeSaveDataLocation(CardTable1->CardDeck(), &Engine->Busy, this,
                           {&Engine->Rules.SaveName, &Engine->Rules.LastSaveName});
}

void TForm1::EnableDebugMenu1Click() {
  Debug1->SetVisible(!Debug1->Visible());
}

void TForm1::GameItemClick(TMenuItem& Sender) {
  if (Tag == 1) {
    QuietLoadGame(Sender.Caption());
    return;
  }
  // Not over the information overlay, a save or a winning show.
  if (Engine && ToolBarTag == 0) StartGameByCaption(*Engine, Sender.Caption());
}

bool TForm1::ScreenOk(int Width, int Height, bool Show) {
  const TPoint screen = ::ScreenSize();
  if (screen.X >= Width && screen.Y >= Height) return true;
  if (Show) {
    ::Beep();
    MessageDlg("Screen resolution must be at least " + std::to_string(Width) + " x " +
                   std::to_string(Height) + " to play this game.",
               mtError, mbOK);
  }
  return false;
}

// -----------------------------------------------------------------------------------------------
// Full screen, keys, resizing, painting

bool TForm1::FullScreen() const {
  return CardTable1 && ToolBar1 && CardTable1->Top() == ToolBar1->height();
}

void TForm1::SetTableTop(int top) {
  if (!CardTable1) return;
  CardTable1->ApplyBounds(CardTable1->Left(), top, std::max(width() - CardTable1->Left(), 1),
                          std::max(height() - top, 1));
  PlaceRedealOnTable();
}

void TForm1::FullScreenF111Click() {
  // Not over the information overlay, a save or a winning show.
  if (isMinimized() || !CardTable1 || ToolBarTag != 0) return;
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
    const QRect g = geometry();
    SavedBounds = {g.height(), g.width(), g.x(), g.y()};
    setWindowState(windowState() | Qt::WindowMaximized);
    ::Trace("Start FullScreenClick: Window Maximized");
  }
  hide();
  WindowStateChanging = true;
  if (FullScreen()) {
    setWindowFlag(Qt::FramelessWindowHint, false);
    // The remembered bounds first: they are the normal bounds of the maximized window (a new
    // geometry ends a maximized state, so the state comes after it).
    setGeometry(SavedBounds.Left, SavedBounds.Top, SavedBounds.Width, SavedBounds.Height);
    setWindowState((windowState() & ~Qt::WindowFullScreen) | Qt::WindowMaximized);
    ToolBar->setVisible(true);
    SetTableTop(SavedTableTop);
  } else {
    SavedTableTop = CardTable1->Top();
    ToolBar->setVisible(false);
    SetTableTop(ToolBar1->height());
    setWindowFlag(Qt::FramelessWindowHint, true);
    setWindowState(windowState() | Qt::WindowFullScreen);
  }
  // The start screen's panels follow the table's new top (the window may keep its size).
  if (StartScreen) StartScreen->PlaceComponents();
  show();
  FollowWindowState();
  WindowStateChanging = false;
}

void TForm1::FollowWindowState() {
  if (!FNoWindowManager) return;
  QScreen* s = screen();
  const Qt::WindowStates state = windowState();
  if (!s || !(state & (Qt::WindowFullScreen | Qt::WindowMaximized))) return;
  // The window is being maximized or switched to full screen. Its window takes the area as a
  // window manager would give it: the widget's own new geometry would end the state, and the
  // normal bounds to restore to with it.
  WindowStateChanging = true;
  const QRect area = state & Qt::WindowFullScreen ? s->geometry() : s->availableGeometry();
  if (QWindow* w = windowHandle())
    w->setGeometry(area);
  else
    setGeometry(area);
  WindowStateChanging = false;
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  if (key == Qt::Key_F11) {
    FullScreenF111Click();
    return true;
  }
  if (key == Qt::Key_F1 || key == Qt::Key_F2) {
    key == Qt::Key_F1 ? PatienceHelp1Click() : RulesExecute();
    return true;
  }
  if (key == Qt::Key_F12 && BackToStart1 && BackToStart1->Enabled()) {
    BackToStart1Click();
    return true;
  }
  // The start screen's keys act only while it shows: its hidden grid keeps its selected row, but
  // never the keyboard.
  TStartScreen* s = StartScreen.get();
  const bool startScreen = s && s->Showing() && s->Panel3->isVisible();
  if (startScreen && (key == Qt::Key_Return || key == Qt::Key_Enter) && s->StringGrid1->isVisible() &&
      focusWidget() == s->StringGrid1) {
    s->StringGrid1DblClick();
    return true;
  }
  const bool plain = !(shift & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (startScreen) {
    // A letter picks the first game beginning with it.
    if (plain && key >= Qt::Key_A && key <= Qt::Key_Z) {
      const int row = s->FindRowByInitial(char('A' + (key - Qt::Key_A)));
      if (row > 0) s->SetRow(row);
      s->StringGrid1MouseDown(Qt::LeftButton, false);
      return true;
    }
    return false;
  }
  if (plain && (key == Qt::Key_I || (key == Qt::Key_9 && (shift & Qt::KeypadModifier)))) {
    InfoClick();
    return true;
  }
  return false;
}

void TForm1::BackdropFailed(const std::exception& e) {
  ::Trace(std::string("backdrop.jpg not shown: ") + e.what());
  BackdropFile.clear();
  Backdrop.SetFile("");
  // The window's own colour in its place.
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  update();
}

void TForm1::PlaceBars() {
  const int barHeight = ToolBar1->sizeHint().height();
  ToolBar1->setGeometry(0, 0, width(), barHeight);
  ToolBar->setGeometry(0, barHeight, width(), kGameToolBarHeight);
}

void TForm1::FormResize() {
  PlaceBars();
  if (CardTable1 && CardTable1->TableArea(1)->Visible) OnAreaClick();
  if (StartScreen) StartScreen->PlaceComponents();
  // The Extended layout fills the table anew.
  if (StartupDone) ReapplyLayout();
}

// -----------------------------------------------------------------------------------------------
// Qt events

bool TForm1::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && FShownOnce) FormActivate();
  return QWidget::event(e);
}

void TForm1::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (FShownOnce) return;
  FShownOnce = true;
  FormShow();
  // Without a window manager no activation ever arrives: the first one is queued here. Nothing is
  // painted until it has run, so the first paint is the finished start screen.
  if (!StartupDone) setUpdatesEnabled(false);
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TForm1::closeEvent(QCloseEvent* e) {
  // A winning show ends first; the question follows it.
  if (FShowRunning) {
    FShowStop = true;
    FCloseAfterShow = true;
  }
  if (!FormClose()) {
    e->ignore();
    return;
  }
  if (Tracing()) {
    ::Trace("Trace terminated ok");
    TraceList->Add("");
    StopTrace();
  }
  e->accept();
}

void TForm1::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  FormResize();
}

void TForm1::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange || !FShownOnce) return;
  const Qt::WindowStates old = static_cast<QWindowStateChangeEvent*>(e)->oldState();
  // Nothing of the start screen runs while nobody can see it.
  if (StartScreen) StartScreen->SetMinimized(windowState() & Qt::WindowMinimized);
  // Maximized (or full screen) the window manager decides the size. Bounds the window asked for
  // just before (a restore's normal bounds) and the manager overtook need not be reported back,
  // so the widget would keep them: it takes the size the display has for its window once the
  // events at hand are handled, and again when a busy manager has had time to finish.
  for (const int ms : {0, 300, 1500}) QTimer::singleShot(ms, this, &TForm1::TakeDisplaySize);
  if (!(old & Qt::WindowMaximized) ||
      (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
    return;
  // Until the window has first shown maximized, the window manager's answer as it takes the
  // window (whatever it is, whenever it comes) does not undo the maximized start.
  if (!FShownMaximized && e->spontaneous()) {
    setWindowState(windowState() | Qt::WindowMaximized);
    return;
  }
  // The window first showed at its maximized size, which a window manager keeps as its size to
  // restore to: a restore from that first maximized state takes the normal bounds instead.
  if (FRestoreToNormal) {
    FRestoreToNormal = false;
    if (!WindowStateChanging)
      setGeometry(SavedBounds.Left, SavedBounds.Top, SavedBounds.Width, SavedBounds.Height);
  }
}

void TForm1::TakeDisplaySize() {
  const QWindow* w = windowHandle();
  if (!w || !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) ||
      (windowState() & Qt::WindowMinimized))
    return;
  QSize shown = SizeOnDisplay(w);
  if (shown.isEmpty()) shown = w->size();
  if (shown != size()) resize(shown);
}

void TForm1::paintEvent(QPaintEvent* e) {
  if (!FShownMaximized && (windowState() & Qt::WindowMaximized) && windowHandle() &&
      windowHandle()->isExposed())
    FShownMaximized = true;
  if (!isVisible() || BackdropFile.empty()) return;
  // Stretched to the window's size (whatever size a window manager gave it, whenever), only where
  // the paint is asked for.
  try {
    QPainter p(this);
    Backdrop.Paint(p, e->region(), size());
  } catch (const std::exception& ex) {
    BackdropFailed(ex);
  }
  Backdrop.FirstPaintDone();
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && w->window() == this) {
      auto* k = static_cast<QKeyEvent*>(e);
      if (FormKeyDown(k->key(), k->modifiers())) return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

// -----------------------------------------------------------------------------------------------
// The engine's host

void TForm1::Pause(int ms) {
  const uint64_t until = Clock().NowMs() + uint64_t(std::max(ms, 0));
  // Repaints go on meanwhile; the player's clicks and keys wait.
  do {
    Application().ProcessPaintMessages();
    const uint64_t now = Clock().NowMs();
    if (now >= until) break;
    Sleep(int(std::min<uint64_t>(until - now, 10)));
  } while (Clock().NowMs() < until);
}

void TForm1::SetCaption(const std::string& caption) {
  setWindowTitle(Q(caption));
}

void TForm1::SetFoundationLabel(const std::string& text) {
  FoundationLabel->setText(Q(text));
}

void TForm1::ShowPoints(int points) {
  if (ScoringOn()) PointsLabel->setText(Q("  Points = " + std::to_string(points) + "  "));
}

void TForm1::CloseStartScreen() {
  if (StartScreen) StartScreen->CloseStartScreen();
  if (CardTable1 && !CardTable1->Visible()) CardTable1->ShowTable();
}

bool TForm1::ScoringOn() {
  return FScoring;
}

TPoint TForm1::ScreenSize() {
  return ::ScreenSize();
}

void TForm1::Trace(const std::string& line) {
  ::Trace(line);
}
