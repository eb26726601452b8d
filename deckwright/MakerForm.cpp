#include "deckwright/MakerForm.h"

#include <QApplication>
#include <QFileDialog>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <exception>

#include "cardtable/CardTableWidget.h"
#include "cardtable/ImageArrayUnit.h"
#include "cardtable/MenuItemLook.h"
#include "cardtable/MyGrphx.h"
#include "cardtable/SystemDirs.h"
#include "cardtable/VistaFuncs.h"
#include "deckwright/Compose.h"
#include "deckwright/DeckChooser.h"
#include "deckwright/FadeButton.h"
#include "deckwright/MakerAboutBox.h"
#include "deckwright/NewSetForm.h"
#include "deckwright/ProgressForm.h"
#include "patience/files/DataFolder.h"
#include "patience/files/DataMove.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Jpeg.h"
#include "platform/help/HelpViewer.h"
#include "platform/ui/Application.h"
#include "platform/ui/DefaultHandler.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"

namespace {

constexpr int kClientWidth = 712, kClientHeight = 543;

bool IsUserSetName(const std::string& name) {
  return name.rfind(kUserSetPrefix, 0) == 0;
}

// The glyphs of the menus: 0 check mark, 1 Open, 2 New, 3 Help, 4 Exit, drawn here.
QImage Glyph(int index) {
  QImage img(16, 16, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  switch (index) {
    case 0: {  // a tick
      p.setPen(QPen(QColor(0, 90, 0), 2.2));
      p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
      break;
    }
    case 1: {  // an open folder
      p.setPen(QColor(120, 80, 10));
      p.setBrush(QColor(240, 200, 90));
      p.drawRect(QRectF(1.5, 4.5, 11, 9));
      p.setBrush(QColor(252, 224, 130));
      p.drawPolygon(
          QPolygonF({QPointF(3.5, 7.5), QPointF(15, 7.5), QPointF(12.5, 13.5), QPointF(1.5, 13.5)}));
      break;
    }
    case 2: {  // a new card with a star
      p.setPen(QColor(60, 60, 90));
      p.setBrush(Qt::white);
      p.drawRoundedRect(QRectF(3.5, 1.5, 9, 13), 1.5, 1.5);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(230, 170, 0));
      QPainterPath star;
      star.addEllipse(QPointF(12, 4), 3, 3);
      p.drawPath(star);
      break;
    }
    case 3: {  // a question mark in a blue disc
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 100, 200));
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setPen(Qt::white);
      QFont f("DejaVu Sans");
      f.setPixelSize(11);
      f.setBold(true);
      p.setFont(f);
      p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, "?");
      break;
    }
    default: {  // a door with an arrow
      p.setPen(QColor(90, 50, 20));
      p.setBrush(QColor(170, 110, 60));
      p.drawRect(QRectF(2.5, 1.5, 7, 13));
      p.setPen(QPen(QColor(180, 0, 0), 1.8));
      p.drawLine(QPointF(8, 8), QPointF(15, 8));
      p.drawLine(QPointF(12, 5), QPointF(15, 8));
      p.drawLine(QPointF(12, 11), QPointF(15, 8));
      break;
    }
  }
  return img;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Start-up

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  setObjectName("Form1");
  setWindowTitle("Deckwright");
  setFixedSize(kClientWidth, kClientHeight);
  // The window opens centred on the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  ApplySystemUiFont(this);
  // The maker's table shades with its own 76-level table.
  UseShadeProfile(MakerShadeProfile);

  BuildImages();
  BuildMenus();
  ToolBar1 = new TMenuBarWidget(MainMenu1, this);
  ToolBar1->setGeometry(0, 0, kClientWidth, ToolBar1->sizeHint().height());
  ToolBar1->setCursor(Qt::PointingHandCursor);
  Panel1 = new QWidget(this);
  Panel1->setGeometry(200, 31, 5, 35);
  Panel1->setAutoFillBackground(true);
  QPalette cream = Panel1->palette();
  cream.setColor(QPalette::Window, QColor(255, 251, 240));
  Panel1->setPalette(cream);

  TableView = new TCardTableWidget(this);
  CardTable1 = std::make_unique<TCardTable>(TableView);
  TCardTable& t = *CardTable1;
  t.DragAndDrop = true;
  t.OnCardClickEvent = [this](TCard* c, TMouseButton b) { CardTable1CardClickEvent(c, b); };
  t.SetPlaceDeckOffset(7);
  t.ApplyBounds(40, 80, 650, 500);
  t.DragAndDrop = false;

  CreateButtons();

  ProgramDir = t.ProgramDir;
  DocumentsDir = MyDocumentsDir;
  LocalAppDataDir = ::LocalAppDataDir;

  Form3 = std::make_unique<TForm3>(this);

  // A data-folder move that a stopped run left half made is finished or taken back first, once a
  // start or move under way elsewhere is done. Without the game's data nothing else starts: the
  // window never serves a user.
  const bool settled = FindMakerDataLocation(::DataLocation);
  if (!settled || ::DataLocation == 0) {
    if (settled) MessageBox(kNeedsPatienceMessage, "Information", MB_OK);
    Application().Terminate();
    return;
  }
  t.CardDeck()->SetUserCardsetsDir(::DataLocation == 1   ? std::string()
                                   : ::DataLocation == 2 ? PathJoin(DocumentsDir, "Patience", "CardSets")
                                                         : PathJoin(LocalAppDataDir, "Patience", "CardSets"));
  // What a maker stopped part way left: sets never finished, pictures never renamed into place.
  const std::string userSets = UserSetsRoot(t.CardDeck()->CardsetsDir, t.CardDeck()->UserCardsetsDir);
  RemoveUnfinishedSets(userSets);
  RemoveStaleTemporaries(userSets, 1);

  HelpFile = PathJoin(::ProgramDir(), "Deckwright.chm");
  HelpManager().HelpFile = HelpFile;
  HelpManager().Handle = this;
  // The help window is a window of its own; it closes with the maker's.
  QObject::connect(this, &QObject::destroyed, [] { HelpManager().ShutDown(); });
  FacesButton->RestoreFaces();

  const std::string wood = PathJoin(ProgramDir, "Textures", "wood.jpg");
  if (FileExists(wood)) {
    try {
      LoadJpegFile(ResolvePath(wood), WoodTile, true);
    } catch (const Exception&) {
      WoodTile = TBitmap();  // an unreadable tile leaves the plain window
    }
  }
  t.SetBackgroundPicture(FileExists(wood) ? ResolvePath(wood) : wood);

  NewButton->SetCaption("New");
  OpenButton->SetCaption("Open");
  FacesButton->SetCaption("Faces");
  BacksButton->SetCaption("Backs");
  Backs1Click();
  FStarted = true;
}

TForm1::~TForm1() {
  // The widget lets go of the table first, then the table and its decks go.
  delete TableView;
  TableView = nullptr;
  TemplateDeck.reset();
  CardTable1.reset();
}

void TForm1::BuildImages() {
  for (int i = 0; i < 5; ++i) ImageList1.Add(Glyph(i));
}

void TForm1::BuildMenus() {
  auto draw = [this](TMenuItem& item, TCanvas& canvas, const TRect& r, bool selected) {
    DrawMenuItemLook(item, canvas, selected, r, ImageList1, 0, TMenuHighlight::FromRed);
  };
  TMenuItem* file = MainMenu1.Add("File1", " File ");
  NewUserCardSet1 = file->Add("NewUserCardSet1", "New");
  NewUserCardSet1->SetImageIndex(2);
  NewUserCardSet1->OnClick = [this](TMenuItem&) { NewUserCardSet1Click(); };
  OpenUserCardSet1 = file->Add("OpenUserCardSet1", "Open");
  OpenUserCardSet1->SetImageIndex(1);
  OpenUserCardSet1->OnClick = [this](TMenuItem&) { OpenUserCardSet1Click(); };
  file->Add("N1", "-");
  Delete1 = file->Add("Delete1", "Delete");
  Delete1->OnClick = [this](TMenuItem&) { Delete1Click(); };
  Close1 = file->Add("Close1", "Close");
  Close1->OnClick = [this](TMenuItem&) { Close1Click(); };
  file->Add("N2", "-");
  Exit1 = file->Add("Exit1", "Exit");
  Exit1->SetImageIndex(4);
  Exit1->OnClick = [this](TMenuItem&) { Exit1Click(); };

  TMenuItem* mode = MainMenu1.Add("Mode1", " Mode ");
  Faces1 = mode->Add("Faces1", "Faces");
  Faces1->OnClick = [this](TMenuItem&) { Faces1Click(); };
  Backs1 = mode->Add("Backs1", "Backs");
  Backs1->OnClick = [this](TMenuItem&) { Backs1Click(); };

  TMenuItem* options = MainMenu1.Add("Options1", " Options ");
  ChangeSaveDataLocation1 = options->Add("ChangeSaveDataLocation1", "Change Save Data Location");
  ChangeSaveDataLocation1->OnClick = [this](TMenuItem&) { ChangeSaveDataLocation1Click(); };

  TMenuItem* help = MainMenu1.Add("Help1", " Help ");
  DeckwrightHelp1 = help->Add("DeckwrightHelp1", "Deckwright Help");
  DeckwrightHelp1->SetImageIndex(3);
  DeckwrightHelp1->OnClick = [this](TMenuItem&) { DeckwrightHelp1Click(); };
  help->Add("N3", "-");
  About1 = help->Add("About1", "About");
  About1->OnClick = [this](TMenuItem&) { About1Click(); };

  MainMenu1.ForEach([draw](TMenuItem& item) {
    if (item.Parent() && item.Parent()->Parent()) item.OnDrawItem = draw;
  });
}

void TForm1::CreateButtons() {
  auto make = [this](int left, TColor to, bool toSet) {
    auto* b = new TFadeButton(this);
    b->move(left, 30);
    b->SetColorFrom(TColor(0xB4C8FF));
    if (toSet) b->SetColorTo(to);
    b->OnMouseEnter = [](QWidget* w) { static_cast<THarmFade*>(w)->DissolveIn(); };
    b->OnMouseLeave = [this](QWidget* w) {
      FacesButton->RestoreFaces();
      BacksButton->RestoreFaces();
      static_cast<THarmFade*>(w)->DissolveBack();
    };
    b->show();
    return b;
  };
  FacesButton = make(215, TColor(0x8CFFFF), true);
  BacksButton = make(315, TColor(0x8CFFFF), true);
  NewButton = make(10, clWhite, false);
  OpenButton = make(110, clWhite, false);
  FacesButton->OnClick = [this](QWidget*) { Faces1Click(); };
  BacksButton->OnClick = [this](QWidget*) { Backs1Click(); };
  NewButton->OnClick = [this](QWidget*) { NewUserCardSet1Click(); };
  OpenButton->OnClick = [this](QWidget*) { OpenUserCardSet1Click(); };
}

void TForm1::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (WoodTile.Empty()) {
    p.fillRect(rect(), palette().window());
    return;
  }
  // Tiled from the top-left corner; the last row and column are cut at the window's edges.
  const QImage tile = WoodTile.ToQImage();
  for (int y = 0; y < height(); y += tile.height())
    for (int x = 0; x < width(); x += tile.width())
      p.drawImage(QPoint(x, y), tile,
                  QRect(0, 0, std::min(tile.width(), width() - x), std::min(tile.height(), height() - y)));
}

// ---------------------------------------------------------------------------------------------
// Helpers

std::string TForm1::SaveRoot() const {
  const TCardDeck& d = *CardTable1->CardDeck();
  return UserSetsRoot(d.CardsetsDir, d.UserCardsetsDir);
}

std::string TForm1::OpenSetName() const {
  return CardTable1->CardDeck()->DeckName;
}

TSetOptions TForm1::SetOptions() const {
  return ParseOptionLines(OptionsList);
}

void TForm1::ReportError(const std::string& message) {
  MessageBox(message, "Deckwright", MB_OK | MB_ICONERROR);
}

std::unique_ptr<TCardDeck> TForm1::MakeTemplateDeck(const std::string& name) const {
  const TCardDeck& table = *CardTable1->CardDeck();
  auto deck = std::make_unique<TCardDeck>(CardTable1.get(), table.CardsetsDir);
  deck->SetCardCount(54);
  deck->SetUserCardsetsDir(table.UserCardsetsDir);
  deck->SetDeckName(name);
  return deck;
}

void TForm1::RebuildTemplateDeck(const std::string& name) {
  // The old deck stays until the new one is whole.
  TemplateDeck = MakeTemplateDeck(name);
}

TCard* TForm1::TemplateCardLike(const TCard& card) const {
  if (!TemplateDeck) return nullptr;
  for (int i = 1; i <= 54; ++i) {
    TCard* c = TemplateDeck->CardByIndex(i);
    if (c && c->Suit == card.Suit && c->Value == card.Value) return c;
  }
  return nullptr;
}

void TForm1::GetCardFace(TBitmap& Bitmap, const TCard& CardRecord) const {
  const std::string set =
      IsUserSetName(TemplateDeck->DeckName) ? std::string(kTemplateSet) : TemplateDeck->DeckName;
  LoadBmpFile(PathJoin(TemplateDeck->CardsetsDir, set, CardBitmapName(CardRecord)), Bitmap);
  Bitmap.PixelFormat = TPixelFormat::pf24bit;
}

void TForm1::SaveCardFace(const std::string& Root, const std::string& DeckName,
                          const TCard& CardRecord) const {
  SaveBmp24(PathJoin(Root, DeckName, CardBitmapName(CardRecord)), CardRecord.Face);
}

// ---------------------------------------------------------------------------------------------
// File commands

void TForm1::NewUserCardSet1Click() {
  TCardDeck& deck = *CardTable1->CardDeck();
  TForm2 form(this, deck.CardsetsDir, deck.UserCardsetsDir);
  const bool ok = NewSetPrompt ? NewSetPrompt(form) : form.exec() == QDialog::Accepted;
  const std::string name = form.SetName();
  const TSetOptions options = form.Options();
  const std::string folder = form.CreatedFolder();
  Application().ProcessPaintMessages();
  if (!ok || folder.empty()) return;

  OptionsList = OptionLines(options);
  setWindowTitle(QString::fromStdString("Deckwright - U_" + name));
  CardTable1->CollectCards();
  deck.SetCardCount(54);
  deck.SetSizeStep(-2);
  deck.SetDeckName(kUserSetPrefix + name);
  deck.SetDefaultFaceUp(true);
  if (!OptionsList.TrySaveToFile(PathJoin(folder, kOptionsFile)))
    ReportError("Could not write " + PathJoin(folder, kOptionsFile) + ".");
  RebuildTemplateDeck(kUserSetPrefix + name);
  if (Faces1->Checked())
    DrawFaces();
  else
    DrawBacks();
}

void TForm1::OpenUserCardSet1Click() {
  const std::optional<std::string> name =
      SetChooser ? SetChooser(OpenSetName(), false) : ChooseCardSet(this, *CardTable1->CardDeck(), false);
  Application().ProcessPaintMessages();
  // Cancel opens nothing, and neither does an empty list.
  if (!name || name->empty()) return;
  OpenSet(*name);
}

void TForm1::OpenSet(const std::string& name) {
  TCardDeck& deck = *CardTable1->CardDeck();
  if (name == deck.DeckName && deck.CardsLeft(false) < 50) return;
  // The set is read whole first, into its template deck: a set that cannot be read (no backs, a
  // face missing) fails here, and the window keeps the set it shows.
  std::unique_ptr<TCardDeck> templ = MakeTemplateDeck(name);
  if (!IsUserSetName(name)) Backs1Click();
  // DrawBacks relabelled the first nine cards; they get their pack order back.
  for (int j = 1; j <= 9; ++j)
    if (TCard* c = deck.CardByIndex(j)) {
      c->Suit = TCardSuit((j - 1) % 4);
      c->Value = TCardValue((j - 1) / 4);
    }
  setWindowTitle(QString::fromStdString("Deckwright - " + name));
  CardTable1->CollectCards();
  deck.SetCardCount(54);
  deck.SetSizeStep(-2);
  deck.SetDeckName(name);
  deck.SetDefaultFaceUp(true);
  // Exactly four lines: the set's own, or the defaults (never the previous set's).
  OptionsList = OptionLines(LoadSetOptions(deck.UserCardsetsDir, deck.CardsetsDir, name));
  if (templ->DeckName == deck.DeckName)
    TemplateDeck = std::move(templ);
  else
    RebuildTemplateDeck(deck.DeckName);
  if (deck.CardsLeft(false) < 50) {
    CardTable1->CollectCards();
    Application().ProcessPaintMessages();
  }
  if (Faces1->Checked())
    DrawFaces();
  else
    DrawBacks();
}

void TForm1::Close1Click() {
  setWindowTitle("Deckwright");
  CardTable1->CollectCards();
  Application().ProcessPaintMessages();
  CardTable1->CardDeck()->SetDeckName("Standard");
}

void TForm1::Delete1Click() {
  const std::optional<std::string> name =
      SetChooser ? SetChooser("Standard", true)
                 : ChooseCardSet(this, *CardTable1->CardDeck(), true, "Standard");
  Application().ProcessPaintMessages();
  if (!name || name->empty() || *name == OpenSetName()) return;
  const bool ok = ConfirmDelete ? ConfirmDelete(*name)
                                : MessageBox("Delete CardSet " + *name + ".", "Confirm Delete CardSet.",
                                             MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
  if (!ok) return;
  const std::string problem = DeleteUserSet(SaveRoot(), *name);
  if (!problem.empty()) ReportError(problem);
}

void TForm1::Exit1Click() {
  close();
}

// ---------------------------------------------------------------------------------------------
// Modes

void TForm1::Faces1Click() {
  if (Faces1->Checked() || !IsUserSetName(OpenSetName())) return;
  Faces1->SetChecked(true);
  Backs1->SetChecked(false);
  TCardDeck& deck = *CardTable1->CardDeck();
  if (deck.CardsLeft(false) < 50) {
    CardTable1->CollectCards();
    Application().ProcessPaintMessages();
    for (int j = 1; j <= 9; ++j)
      if (TCard* c = deck.CardByIndex(j)) {
        c->Suit = TCardSuit((j - 1) % 4);
        c->Value = TCardValue((j - 1) / 4);
      }
    DrawFaces();
  }
  if (!FacesButton->Selected()) {
    FacesButton->SetSelected(true);
    BacksButton->SetSelected(false);
    BacksButton->RestoreFaces();
    FacesButton->RestoreFaces();
  }
}

void TForm1::Backs1Click() {
  if (Backs1->Checked()) return;
  Faces1->SetChecked(false);
  Backs1->SetChecked(true);
  if (CardTable1->CardDeck()->CardsLeft(false) < 50) {
    CardTable1->CollectCards();
    Application().ProcessPaintMessages();
    DrawBacks();
  }
  if (!BacksButton->Selected()) {
    FacesButton->SetSelected(false);
    BacksButton->SetSelected(true);
    FacesButton->RestoreFaces();
    BacksButton->RestoreFaces();
  }
}

void TForm1::DrawFaces() {
  for (int i = 1; i <= 54; ++i) {
    TCard* c = CardTable1->DealCard();
    if (!c) break;
    CardTable1->AddCard(c, ((i - 1) % 9) * 70, ((i - 1) / 9) * 75, 0);
  }
}

void TForm1::DrawBacks() {
  TCardDeck& deck = *CardTable1->CardDeck();
  // A back that cannot be read shows as back 1, as a missing one does, so that all nine cards are
  // there (the damaged back can be given a new picture); the first such failure goes to the
  // default handler once the cards lie.
  std::exception_ptr failure;
  auto setBack = [&](int n) {
    try {
      deck.SetCardBack(n);
    } catch (const Exception&) {
      if (!failure) failure = std::current_exception();
    }
  };
  setBack(2);
  deck.SetCardBack(1);
  for (int k = 1; k <= 9; ++k) {
    const int r = (k - 1) / 3, c = (k - 1) % 3;
    TCard* card = deck.NextCard();
    if (!card) break;
    card->Value = TCardValue(k - 1);
    card->Suit = csClub;
    card->FaceUp = false;
    CardTable1->AddCard(card, c * (deck.CardWidth + 4) + 15, r * (deck.CardHeight + 4) + 15, 0);
    setBack(k + 1);
    if (deck.CardBack != k + 1) deck.SetCardBack(1);
  }
  if (failure) RunHandled([&] { std::rethrow_exception(failure); });
}

// ---------------------------------------------------------------------------------------------
// Clicks on cards

void TForm1::CardTable1CardClickEvent(TCard* Card, TMouseButton Button) {
  if (!Card || !TemplateDeck) return;
  if (Button == mbRight) {
    ZoomCard(Card);
    return;
  }
  std::optional<std::string> file;
  if (PicturePrompt) {
    file = PicturePrompt();
  } else {
    const QString chosen = QFileDialog::getOpenFileName(
        this, "Load Picture", QString(),
        "All image files (*.jpg *.bmp);;JPEG Image File (*.jpg);;Bitmaps (*.bmp)");
    if (!chosen.isEmpty()) file = chosen.toStdString();
  }
  Application().ProcessPaintMessages();
  if (!file || !FileExists(*file)) return;
  try {
    ComposeFromPicture(Card, *file);
  } catch (const std::exception& e) {
    ReportError(e.what());
  }
}

void TForm1::ZoomCard(TCard* Card) {
  const bool backs = Backs1->Checked();
  const TBitmap* picture = nullptr;
  if (backs) {
    const int k = Card->PointValue() + 10 * int(Card->Suit);
    TemplateDeck->SetCardBack(k);
    if (TemplateDeck->CardBack != k) TemplateDeck->SetCardBack(1);
    picture = &TemplateDeck->Back;
  } else if (TCard* t = TemplateCardLike(*Card)) {
    picture = &t->Face;
  }
  if (!picture || picture->Empty()) return;
  TSprite& s = CardTable1->Sprite();
  s.Source = *picture;
  s.X = Card->X - 18;
  s.Y = Card->Y - 25;
  s.Angle = 0;
  s.Scale = CardTable1->CardDeck()->Scale;
  for (int frame = 0; frame < 15; ++frame) {
    const uint64_t start = Clock().NowMs();
    s.Draw();
    s.Scale += 0.1f;
    const TRect r = s.DrawRect();
    if (r.Left < 0) s.X += 10;
    if (r.Top < 0) s.Y += 10;
    if (r.Right > CardTable1->Width()) s.X -= 10;
    if (r.Bottom > CardTable1->Height()) s.Y -= 10;
    // At least 1 ms a frame, and no more than one frame a display refresh.
    const uint64_t spent = Clock().NowMs() - start;
    Sleep(spent < 16 ? int(16 - spent) : 1);
  }
  s.Draw();
  for (int waited = 0; waited < ZoomHoldMs; waited += 20) {
    Application().ProcessPaintMessages();
    Sleep(std::min(20, ZoomHoldMs - waited));
  }
  s.Erase();
}

void TForm1::ComposeFromPicture(TCard* Card, const std::string& pictureFile) {
  const bool backs = Backs1->Checked();
  const int k = backs ? Card->PointValue() + 10 * int(Card->Suit) : 0;
  TCard* record = backs ? TemplateDeck->CardByIndex(1) : TemplateCardLike(*Card);
  if (!record) return;

  // A photo of many megapixels takes a moment to decode: the progress window shows from the start
  // (the resampler moves its gauge later) and goes however the composition ends.
  Form3->Begin(1);
  const struct THideProgress {
    TForm3& Form;
    ~THideProgress() { Form.End(); }
  } hideProgress{*Form3};
  TBitmap picture;
  LoadSourcePicture(pictureFile, picture);

  if (backs) {
    // The back in force is the one being replaced.
    TemplateDeck->SetCardBack(k);
  }
  TBitmap& target = backs ? TemplateDeck->Back : record->Face;
  TBitmap templ;
  const TSetOptions options = SetOptions();
  if (backs || options.CardType != 0) GetCardFace(templ, *record);
  Card->Face.PixelFormat = TPixelFormat::pf24bit;
  ComposeCard(target, templ, picture, options, !backs, backs ? nullptr : &Card->Face, Form3.get());
  if (!backs) CardTable1->RefreshBackground();

  const std::string root = SaveRoot();
  const std::string folder = PathJoin(root, OpenSetName());
  if (!ForceDirectories(folder)) throw EFileError("Cannot create " + folder);
  if (backs) {
    SaveBmp24(PathJoin(folder, BackBitmapName(k)), target);
    TemplateDeck->SetCardBack(k);
    CardTable1->CollectCards();
    DrawBacks();  // reloads the backs from disk
  } else {
    SaveCardFace(root, OpenSetName(), *record);
  }
}

// ---------------------------------------------------------------------------------------------
// Options and help

void TForm1::ChangeSaveDataLocation1Click() {
  ChangeDataLocation(this, *CardTable1->CardDeck());
  DocumentsDir = MyDocumentsDir;
  LocalAppDataDir = ::LocalAppDataDir;
  if (TemplateDeck) TemplateDeck->SetUserCardsetsDir(CardTable1->CardDeck()->UserCardsetsDir);
}

void TForm1::DeckwrightHelp1Click() {
  // The help file's table of contents; a missing file is told by the viewer.
  HelpManager().HelpFile = HelpFile;
  HelpManager().Handle = this;
  HelpManager().HelpContents();
}

void TForm1::About1Click() {
  deckwright::ShowAboutBox(ProgramDir, "Deckwright.", this);
}
