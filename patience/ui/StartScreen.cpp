#include "patience/ui/StartScreen.h"

#include <QComboBox>
#include <QDate>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTableWidget>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <functional>

#include "cardtable/CardTable.h"
#include "cardtable/VistaFuncs.h"
#include "patience/catalogue/GameStart.h"
#include "patience/files/DataFolder.h"
#include "patience/files/Statistics.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/Marquee.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/Starfield.h"
#include "patience/ui/StarfieldView.h"
#include "platform/core/Files.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Jpeg.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/ScreenFill.h"

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

constexpr TColor kSkyBlue = 0xF0CAA6;  // the header's colour
constexpr int kStripWidth = 402, kStripHeight = 144;
constexpr double kPreviewAspect = 290.0 / 402.0;
// The preview's least width: in the smallest window (700 wide) the grid and the text keep theirs.
constexpr int kPreviewLeast = 120;
constexpr int kMarqueeFontSize = 12;
// The grid's vertical scroll bar takes this much of its width; a cell's text this much inside its
// edges on each side.
constexpr int kScrollBarShare = 20;
constexpr int kCellPadding = 6;

// The filter's test of a game's figures.
bool Taken(const std::string& filter, const TPlayedWon& figures) {
  if (filter == kFilterNotPlayed) return figures.Played == 0;
  if (filter == kFilterNotWon) return figures.Won == 0;
  if (filter == kFilterWon) return figures.Won >= 1;
  return true;
}

QFrame* Panel(QWidget* parent, const char* name, const QColor& colour) {
  auto* p = new QFrame(parent);
  p->setObjectName(QString::fromLatin1(name));
  p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  p->setLineWidth(1);
  p->setAutoFillBackground(true);
  QPalette pal = p->palette();
  pal.setColor(QPalette::Window, colour);
  p->setPalette(pal);
  p->hide();
  return p;
}

}  // namespace

std::vector<std::string> StartScreenLines(int year, int month, int day) {
  std::vector<std::string> lines;
  const std::string frame = "* * * * * * * *";
  if (month == 1 && day == 1)
    lines.insert(lines.end(), {frame, "Happy New Year!", std::to_string(year), frame, ""});
  else if (month == 12 && day >= 24 && day <= 26)
    lines.insert(lines.end(), {frame, "Merry Xmas", "and a happy new year", frame, ""});
  lines.insert(lines.end(), {"Patience.",
                             VersionText,
                             "Prog ID: " + std::to_string(ProgramId),
                             "September 2009",
                             "",
                             "New games added:",
                             "None.",
                             "More may be added in",
                             "a later version along",
                             "with new CardSets.",
                             "",
                             "Comments and ideas",
                             "for new games are",
                             "always welcome.",
                             "",
                             "Patience is a remedy",
                             "for every sorrow.",
                             "",
                             "Slow and steady",
                             "wins the race.",
                             "",
                             "All things come",
                             "to those who wait.",
                             "",
                             "Rome was not built",
                             "in a day.",
                             ""});
  return lines;
}

TStartScreen::TStartScreen(TForm1& form) : FForm(form) {
  // The starfield and the scrolling text paint on screen themselves (where they can) in windows of
  // their own: children of the window itself, over the panels that frame them, so that no panel
  // needs a window of its own. Both are made before the window shows, so their windows are there
  // at its first paint.
  Panel1 = Panel(&form, "Panel1", Qt::black);
  Image1 = new TStarfieldView(&form);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->hide();
  Panel2 = Panel(&form, "Panel2", Qt::white);
  Marquee1 = new TddgMarquee(&form);
  Marquee1->setObjectName(QStringLiteral("Marquee1"));
  Marquee1->hide();
  Marquee1->Color = clWhite;
  Marquee1->Font.Size = kMarqueeFontSize;
  Marquee1->Font.Color = clBlack;
  {
    const QDate today = QDate::currentDate();
    TStringList lines;
    for (const std::string& line : StartScreenLines(today.year(), today.month(), today.day()))
      lines.Add(line);
    Marquee1->SetItems(lines);
  }
  // Stepped by the start screen's one timer.
  Marquee1->OwnerSteps = true;
  Panel1->installEventFilter(this);
  Panel2->installEventFilter(this);
  Panel3 = Panel(&form, "Panel3", Qt::white);
  StringGrid1 = new TStringGrid(Panel3);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  Panel4 = Panel(&form, "Panel4", Qt::black);
  Image2 = new TBitmapView(Panel4);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->Stretch = true;
  Image2->OnDblClick = [this] { Image2DblClick(); };
  StripView = new TBitmapView(&form);
  StripView->setObjectName(QStringLiteral("StripView"));
  StripView->Stretch = true;
  StripView->hide();
  ComboBox1 = new QComboBox(&form);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox2 = new QComboBox(&form);
  ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
  ComboBox1->hide();
  ComboBox2->hide();

  SetUpGrid();

  SetUpChoosers();

  StartPicture.OnPaint = [this](const TRect&) {
    // The finished show ends on the window's own background: the strip's place shows it again,
    // and its pictures go (the next show reads them again).
    if (StartPicture.Running) {
      StripView->repaint();
      return;
    }
    StripView->hide();
    StripView->Picture = TBitmap();
    StartPicture.Bitmap = TBitmap();
  };
  setObjectName(QStringLiteral("StartScreen"));
  FIdle.setObjectName(QStringLiteral("StartScreenFrames"));
  FIdle.setInterval(20);
  QObject::connect(&FIdle, &QTimer::timeout, this, [this] { Loop(); });
  MeasureTexts();
  PlaceComponents();
  // Their windows, at their places.
  Image1->PaintOnScreen();
  Marquee1->PaintOnScreen();
}

// The group and filter choosers under the grid.
void TStartScreen::SetUpChoosers() {
  const TForm1& form = FForm;
  // The groups: the children of " Game Type " in menu order without the lines; the filters.
  if (form.ChooseGame1)
    for (int i = 0; i < form.ChooseGame1->Count(); ++i) {
      const TMenuItem* item = form.ChooseGame1->Items(i);
      if (!item->IsLine()) ComboBox1->addItem(Q(item->Caption()));
    }
  for (const char* f : {kFilterAll, kFilterNotPlayed, kFilterNotWon, kFilterWon})
    ComboBox2->addItem(QString::fromLatin1(f));
  ComboBox1->setCurrentIndex(0);
  ComboBox2->setCurrentIndex(0);
  QObject::connect(ComboBox1, QOverload<int>::of(&QComboBox::activated), this,
                   [this](int) { ComboBox1Change(); });
  QObject::connect(ComboBox2, QOverload<int>::of(&QComboBox::activated), this,
                   [this](int) { ComboBox2Change(); });
}

// The grid: three columns, the header in bold on sky blue, whole rows selected.
void TStartScreen::SetUpGrid() {
  TStringGrid& g = *StringGrid1;
  g.setHorizontalHeaderLabels({QStringLiteral("GAME NAME"), QStringLiteral("PLAYED"), QStringLiteral("WON")});
  g.verticalHeader()->hide();
  g.setSelectionBehavior(QAbstractItemView::SelectRows);
  g.setSelectionMode(QAbstractItemView::SingleSelection);
  g.setEditTriggers(QAbstractItemView::NoEditTriggers);
  g.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  g.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  g.setToolTip(QStringLiteral("Double click to select game to play."));
  g.setTabKeyNavigation(false);
  TFont font;
  font.Name = IsFontInstalled("Calibri") ? "Calibri" : "MS Sans Serif";
  font.Height = IsFontInstalled("Calibri") ? 15 : 13;
  font.Bold = true;
  g.setFont(font.ToQFont());
  g.horizontalHeader()->setFont(font.ToQFont());
  g.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  g.horizontalHeader()->setHighlightSections(false);
  g.horizontalHeader()->setStyleSheet(
      QStringLiteral("QHeaderView::section { background-color: rgb(%1,%2,%3); "
                     "border: 1px solid rgb(120,150,190); padding: 2px; }")
          .arg(kSkyBlue & 0xFF)
          .arg((kSkyBlue >> 8) & 0xFF)
          .arg((kSkyBlue >> 16) & 0xFF));
  g.verticalHeader()->setDefaultSectionSize(font.Height + 8);
  g.OnMouseDown = [this](Qt::MouseButton b, bool dbl) { StringGrid1MouseDown(b, dbl); };
  g.OnDblClick = [this] { StringGrid1DblClick(); };
  g.OnWheel = [this](bool down) { StringGrid1MouseWheel(down); };
  g.OnKeyDown = [this](int key) { return StringGrid1KeyDown(key); };
}

void TStartScreen::MeasureTexts() {
  // The text column: its widest line in the marquee's font, inside the marquee's inset and the
  // panel's frame, with a margin on each side.
  TFont marquee;
  marquee.Size = kMarqueeFontSize;
  const QFontMetrics text(marquee.ToQFont());
  int widest = 0;
  const QDate today = QDate::currentDate();
  for (const std::string& line : StartScreenLines(today.year(), today.month(), today.day()))
    widest = std::max(widest, text.horizontalAdvance(Q(line)));
  FTextNeeds = widest + 2 * 2 + 2 + 2 * 8;
  // The grid: its game column takes the longest name of all.
  const QFontMetrics names(StringGrid1->font());
  widest = 0;
  if (FForm.Alphabeticallist1) {
    TStringList all;
    std::swap(all, GameCaptions);
    GetMenuItems(*FForm.Alphabeticallist1);
    std::swap(all, GameCaptions);
    for (const std::string& caption : all.Lines)
      widest = std::max(widest, names.horizontalAdvance(Q(caption)));
  }
  FNameNeeds = widest + 2 * kCellPadding;
  // The two counts: their headers in the header's font.
  const QFontMetrics headers(StringGrid1->horizontalHeader()->font());
  const int counts = std::max(headers.horizontalAdvance(QStringLiteral("PLAYED")),
                              headers.horizontalAdvance(QStringLiteral("WON"))) +
                     2 * kCellPadding;
  FGridNeeds = FNameNeeds + 2 * counts + kScrollBarShare + 2;
}

TStartScreen::~TStartScreen() {
  FIdle.stop();
  StartPicture.Stop();
}

bool TStartScreen::Showing() const {
  return FShowing;
}

bool TStartScreen::ScreenUpdates() const {
  return FForm.CardTable1 && FForm.CardTable1->ScreenUpdates();
}

// -----------------------------------------------------------------------------------------------
// Geometry

void TStartScreen::PlaceComponents() {
  const int W = std::max(FForm.width(), 1), H = FForm.height();
  const int tableTop = FForm.CardTable1 ? FForm.CardTable1->Top() : 60;
  // The grid, the preview and the right-hand column share the width; the preview keeps the
  // pictures' proportions. Down to the smallest window every game's name and every line of the
  // text show whole: the preview gives way first.
  const int gridW = std::max(std::clamp(int(W * 0.28), 280, 520), FGridNeeds);
  const int previewW = std::clamp(W - 10 - gridW - 5 - 10 - FTextNeeds - 10, kPreviewLeast, 640);
  const int rightW = std::max(W - 10 - gridW - 5 - previewW - 10 - 10, FTextNeeds);
  const int previewH = int(std::lround(previewW * kPreviewAspect));
  const int panel1H = std::clamp((H - tableTop) / 2, 100, 420);

  Panel1->setGeometry(W - rightW - 10, H - panel1H - 10, rightW, panel1H);
  PlaceView(Image1, Panel1->contentsRect().translated(Panel1->pos()));
  Panel2->setGeometry(Panel1->x(), tableTop + 10, rightW, std::max(Panel1->y() - 10 - (tableTop + 10), 20));
  PlaceMarquee();
  ComboBox1->move(10, Panel2->y());
  Panel3->setGeometry(10, ComboBox1->y() + 30, gridW, std::max(H - (ComboBox1->y() + 30) - 10, 60));
  StringGrid1->setGeometry(Panel3->contentsRect());
  Panel4->setGeometry(Panel3->x() + Panel3->width() + 5, Panel3->y(), previewW, previewH);
  Image2->setGeometry(Panel4->contentsRect());
  // The picture strip below the preview, at its own size where there is room, else narrower (it
  // never reaches into the right-hand column).
  const int stripW = std::clamp(Panel1->x() - 10 - Panel4->x(), 1, kStripWidth);
  const QRect strip(Panel4->x(), Panel4->y() + Panel4->height() + 10, stripW,
                    kStripHeight * stripW / kStripWidth);
  const bool stripMoved = strip != StripView->geometry();
  StripView->setGeometry(strip);

  // Column 0 half the grid, the two counts a quarter each (less the scroll bar's share).
  const int gw = StringGrid1->viewport()->width() > 0 ? StringGrid1->width() - kScrollBarShare : gridW;
  // The game column takes more than its half where a name would not fit in it.
  const int names = std::max(gw / 2 + 4, FNameNeeds);
  StringGrid1->setColumnWidth(0, names);
  StringGrid1->setColumnWidth(1, (gw - names) / 2);
  StringGrid1->setColumnWidth(2, (gw - names) / 2);
  ComboBox1->resize(StringGrid1->columnWidth(0), ComboBox1->sizeHint().height());
  ComboBox2->setGeometry(ComboBox1->x() + ComboBox1->width() + 4, ComboBox1->y(),
                         StringGrid1->columnWidth(1) + StringGrid1->columnWidth(2), ComboBox1->height());
  if (FShowing) {
    // The window changed size under the start screen: the starfield fills its new picture, and a
    // finished strip (the old background) goes.
    if (Image1->Field().Width != Image1->width() || Image1->Field().Height != Image1->height())
      StartStarfield();
    // A running strip fades over what lay below the preview: at a new place it starts again there.
    if (!StartPicture.Running)
      StripView->hide();
    else if (stripMoved)
      StartStrip();
  }
}

// -----------------------------------------------------------------------------------------------
// Showing and leaving

void TStartScreen::SetControlsVisible(bool visible) {
  for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Panel2, Panel3, Panel4, ComboBox1, ComboBox2})
    w->setVisible(visible);
  if (visible) {
    ShowViewsAfterPanels();
    return;
  }
  FViewsWait = false;
  Image1->hide();
  Marquee1->hide();
  StripView->hide();
}

void TStartScreen::ShowViewsAfterPanels() {
  if (!Image1->OnScreen() && !Marquee1->OnScreen()) {
    // Drawn by the toolkit with everything else.
    ShowViews();
    return;
  }
  if (Image1->isVisible() && Marquee1->isVisible()) return;
  // Until then the panels show their plain black and white where the views will be.
  FViewsWait = true;
  Panel1->update();
  Panel2->update();
}

void TStartScreen::ShowViews() {
  for (QWidget* view : std::initializer_list<QWidget*>{Image1, Marquee1}) {
    view->show();
    view->raise();
  }
}

void TStartScreen::PlaceView(QWidget* view, const QRect& place) {
  view->setGeometry(place);
  // The toolkit tells a hidden view's window of its own only of a move, and the window's answer
  // would then give the view its old size back: the window is told the whole place at once.
  if (QWindow* w = view->windowHandle(); w && !view->isVisible()) w->setGeometry(place);
}

bool TStartScreen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && FViewsWait && (watched == Panel1 || watched == Panel2)) {
    FViewsWait = false;
    // After this paint of the window has gone to the screen.
    QTimer::singleShot(0, this, [this] {
      if (FShowing && !FMinimized && Panel1->isVisible()) ShowViews();
    });
  }
  return QObject::eventFilter(watched, event);
}

void TStartScreen::SetMinimized(bool minimized) {
  if (minimized == FMinimized) return;
  FMinimized = minimized;
  if (!FShowing) return;
  StartPicture.SetPaused(minimized);
  if (minimized) {
    FIdle.stop();
    FViewsWait = false;
    // Shown again after the window's first paint once it is back.
    Image1->hide();
    Marquee1->hide();
    return;
  }
  FIdle.start();
  ShowViewsAfterPanels();
}

void TStartScreen::ViewStartScreen() {
  ::Trace("Start ViewStartScreen");
  FForm.setEnabled(false);
  if (FForm.CardTable1) FForm.CardTable1->SetVisible(false);
  PlaceComponents();
  Panel4->show();
  Panel4->raise();
  Image2->repaint();

  // Nothing of a game can be asked for here.
  for (TEngineCommand c : {TEngineCommand::Redeal, TEngineCommand::SaveSet, TEngineCommand::NewGame,
                           TEngineCommand::Info, TEngineCommand::Undo, TEngineCommand::Redo})
    FForm.SetCommand(c, false);
  if (FForm.BackToStart1) FForm.BackToStart1->SetEnabled(false);
  // The about box shares the starfield: it is offered again once a game is in play.
  if (FForm.About1) FForm.About1->SetEnabled(false);
  FForm.SetFoundationLabel("");
  FForm.ShowPoints(0);

  StartStarfield();
  StartMarquee();
  FShowing = true;
  if (!FMinimized) FIdle.start();

  StartStrip();
  FillStringGrid();
  if (FForm.CardTable1) {
    FForm.CardTable1->ClearTable();
    FForm.CardTable1->HidePlaces(nullptr);
  }

  FForm.setEnabled(true);
  SetControlsVisible(true);
  for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Panel2, Panel3, Panel4, ComboBox1, ComboBox2})
    w->raise();
  Image1->raise();
  Marquee1->raise();
  if (Panel3->isVisible()) {
    StringGrid1->setEnabled(true);
    StringGrid1->setFocus();
    StringGrid1MouseDown(Qt::LeftButton, false);
  }
  ::Trace("Exit ViewStartScreen");
}

void TStartScreen::RestartStarfield() {
  if (!FShowing) return;
  StartStarfield();
  Image1->update();
}

void TStartScreen::StartStarfield() {
  // A black picture; the field of the window's size, flying out of the middle of the starfield's
  // own picture (the window's middle lies outside it).
  Image1->StartField(FForm.width(), FForm.height());
}

void TStartScreen::StartMarquee() {
  PlaceMarquee();
  Marquee1->SetRunning(true);
}

void TStartScreen::PlaceMarquee() {
  if (!Marquee1) return;
  const QRect place(Panel2->x() + 2, Panel2->y() + 2, std::max(Panel2->width() - 4, 1),
                    std::max(Panel2->height() - 4, 1));
  if (Marquee1->geometry() == place) return;
  PlaceView(Marquee1, place);
  // The text is laid out for the marquee's width when it starts: a running one starts again.
  if (Marquee1->Running()) {
    Marquee1->SetRunning(false);
    Marquee1->SetRunning(true);
  }
}

void TStartScreen::StartStrip() {
  StartPicture.Stop();
  // Two frames of twenty steps: the picture fades in, then the window's own background over it.
  StartPicture.Strips = 2;
  StartPicture.StepsPerStrip = 20;
  StartPicture.Interval = 100;
  const std::string file = PathJoin(ProgramDir(), "qv3.jpg");
  try {
    if (!FileExists(file)) return;
    StartPicture.LoadPicture(file);
  } catch (const std::exception& e) {
    // A damaged strip is left out; the start screen shows without it.
    ::Trace(std::string("qv3.jpg not shown: ") + e.what());
    return;
  }
  // What the window shows below the preview (its backdrop or its colour) becomes frame 2 and the
  // strip's starting picture.
  const TRect where(StripView->x(), StripView->y(), StripView->x() + StripView->width(),
                    StripView->y() + StripView->height());
  TBitmap under = FForm.WindowCanvas(where);
  StretchBlt(StartPicture.Bitmap, StartPicture.StripWidth, 0, StartPicture.StripWidth,
             StartPicture.StripHeight, under, 0, 0, under.Width(), under.Height());
  StripView->Picture.SetSize(kStripWidth, kStripHeight);
  StretchBlt(StripView->Picture, 0, 0, kStripWidth, kStripHeight, under, 0, 0, under.Width(), under.Height());
  StripView->show();
  StripView->raise();
  StartPicture.Start(&StripView->Picture, 0, 0, kStripWidth, kStripHeight);
}

void TStartScreen::CloseStartScreen() {
  if (!FShowing) return;
  FShowing = false;
  FIdle.stop();
  StartPicture.Stop();
  if (Marquee1) Marquee1->SetRunning(false);
  // The keyboard leaves the grid and the lists with them: hidden, none of them may take a key
  // (a window coming back to the front gives the keys to the control that had them last).
  if (QWidget* focus = FForm.focusWidget())
    for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Panel2, Panel3, Panel4, ComboBox1, ComboBox2})
      if (focus == w || w->isAncestorOf(focus)) focus->clearFocus();
  SetControlsVisible(false);
  if (FForm.BackToStart1) FForm.BackToStart1->SetEnabled(true);
  if (FForm.About1) FForm.About1->SetEnabled(true);
  if (FForm.CardTable1 && !FForm.CardTable1->Visible()) FForm.CardTable1->ShowTable();
}

void TStartScreen::Rebuild() {
  FIdle.stop();
  FShowing = false;
  ViewStartScreen();
}

void TStartScreen::Loop() {
  if (!FShowing) return;
  // What the text and the stars send goes to the display in one write.
  const TScreenBatch batch;
  // The text loops: a marquee that has scrolled out starts again.
  if (!Marquee1->Running()) Marquee1->SetRunning(true);
  Marquee1->Advance(FIdle.interval());
  Image1->NextFrame();
}

// -----------------------------------------------------------------------------------------------
// The grid

void TStartScreen::GetMenuItems(const TMenuItem& item) {
  for (int i = 0; i < item.Count(); ++i) {
    const TMenuItem& child = *item.Items(i);
    if (child.Count() > 0)
      GetMenuItems(child);
    else if (!child.IsLine())
      GameCaptions.Add(child.Caption());
  }
}

void TStartScreen::FillStringGrid() {
  const std::string dataDir = DataFolder();
  const int remembered = Row();
  if (GameCaptions.Count() == 0 && FForm.ChooseGame1) {
    const TMenuItem* group = FForm.ChooseGame1->Find(ComboBox1->currentText().toStdString());
    ::Trace("Calling GetMenuItems");
    if (group) GetMenuItems(*group);
    ::Trace("Returned from GetMenuItems");
  }
  const std::string filter = ComboBox2->currentText().toStdString();
  TStringGrid& g = *StringGrid1;
  g.setRowCount(0);
  for (const std::string& caption : GameCaptions.Lines) {
    const TPlayedWon figures = ReadPlayedWon(caption, dataDir);
    if (!Taken(filter, figures)) continue;
    const int r = g.rowCount();
    g.insertRow(r);
    const std::string texts[3] = {caption, std::to_string(figures.Played), std::to_string(figures.Won)};
    for (int c = 0; c < 3; ++c) {
      auto* cell = new QTableWidgetItem(Q(texts[c]));
      if (c > 0) cell->setTextAlignment(Qt::AlignCenter);
      g.setItem(r, c, cell);
    }
  }
  if (remembered > 0 && remembered < RowCount()) SetRow(remembered);
}

int TStartScreen::RowCount() const {
  return StringGrid1->rowCount() + 1;
}

int TStartScreen::Row() const {
  const int r = StringGrid1->currentRow();
  return r < 0 ? (RowCount() > 1 ? 1 : 0) : r + 1;
}

void TStartScreen::SetRow(int row) {
  if (row <= 0 || row >= RowCount()) return;
  StringGrid1->setCurrentCell(row - 1, 0);
  StringGrid1->scrollToItem(StringGrid1->item(row - 1, 0));
}

std::string TStartScreen::Cells(int col, int row) const {
  if (row == 0) return StringGrid1->horizontalHeaderItem(col)->text().toStdString();
  const QTableWidgetItem* item = StringGrid1->item(row - 1, col);
  return item ? item->text().toStdString() : std::string();
}

int TStartScreen::FindRowByInitial(char letter) const {
  for (int r = 1; r < RowCount(); ++r) {
    const std::string caption = Cells(0, r);
    if (!caption.empty() && caption[0] == letter) return r;
  }
  return -1;
}

void TStartScreen::ComboBox1Change() {
  if (!FShowing) return;
  ::Trace("Start ComboBox1Change");
  GameCaptions.Clear();
  FillStringGrid();
  ::Trace("FillStringGrid ok");
  if (RowCount() <= 1) {
    ::Trace("[ Exit due RowCount < 1. ]");
    return;
  }
  SetRow(1);
  QuietLoad(1);
  if (Image1->isVisible()) StringGrid1->setFocus();
  ::Trace("Exit ComboBox1Change ok");
}

void TStartScreen::ComboBox2Change() {
  if (!FShowing) return;
  FillStringGrid();
  if (RowCount() <= 1) return;
  SetRow(1);
  QuietLoad(1);
  StringGrid1->setFocus();
}

void TStartScreen::QuietLoad(int row) {
  if (row <= 0 || row >= RowCount() || !FForm.Alphabeticallist1) return;
  TMenuItem* item = GetMenuItem(FForm.Alphabeticallist1, Cells(0, row), true);
  if (!item) return;
  FForm.Tag = 1;
  item->Click();
  FForm.Tag = 0;
  if (FForm.Engine) FForm.Engine->Rules.GameName.clear();
}

// The grid's and the preview's input counts only while the start screen shows.
void TStartScreen::StringGrid1MouseDown(Qt::MouseButton button, bool doubleClick) {
  if (!FShowing || !ScreenUpdates() || doubleClick) return;
  if (Row() <= 0) return;
  if (button == Qt::MiddleButton)
    StringGrid1DblClick();
  else
    QuietLoad(Row());
}

void TStartScreen::StringGrid1DblClick() {
  if (!FShowing || !ScreenUpdates()) return;
  Image2DblClick();
}

void TStartScreen::Image2DblClick() {
  if (!FShowing) return;
  const int row = Row();
  if (row <= 0 || row >= RowCount() || !FForm.Alphabeticallist1) return;
  if (TMenuItem* item = GetMenuItem(FForm.Alphabeticallist1, Cells(0, row), true)) item->Click();
}

void TStartScreen::StringGrid1MouseWheel(bool down) {
  if (!FShowing || !ScreenUpdates()) return;
  const int row = Row();
  if (down && row < RowCount() - 1) {
    SetRow(row + 1);
    QuietLoad(row + 1);
  } else if (!down && row > 1) {
    SetRow(row - 1);
    QuietLoad(row - 1);
  }
}

bool TStartScreen::StringGrid1KeyDown(int key) {
  // A hidden grid takes no key at all.
  if (!FShowing) return true;
  if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
  if (!ScreenUpdates()) return true;
  StringGrid1MouseWheel(key == Qt::Key_Down);
  return true;
}

// -----------------------------------------------------------------------------------------------
// The preview

void TStartScreen::ShowPicture(int picture) {
  const std::string own = PathJoin(ProgramDir(), "GameImages", std::to_string(picture) + ".jpg");
  const std::string strip = PathJoin(ProgramDir(), "qv3.jpg");
  for (const std::string& file : {own, strip}) {
    if (!FileExists(file)) continue;
    try {
      TBitmap loaded;
      LoadJpegFile(ResolvePath(file), loaded, true);
      Image2->Picture = std::move(loaded);
      Image2->update();
      return;
    } catch (const std::exception& e) {
      ::Trace(ExtractFileName(file) + " not shown: " + e.what());
    }
  }
  // Neither picture: a plain panel.
  Image2->Picture.SetSize(std::max(Image2->width(), 1), std::max(Image2->height(), 1));
  FillRect(Image2->Picture, TRect(0, 0, Image2->Picture.Width(), Image2->Picture.Height()), 0x402010);
  Image2->update();
}
