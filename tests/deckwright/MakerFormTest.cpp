// The maker's window as a user drives it, without dialogs: start-up on the game's data folder (or
// the message and the end), New, Open (Cancel honoured), Close, Delete, the two modes and their
// layouts, a picture clicked onto a face and onto a back and saved, the zoom, the new set loaded
// afterwards by a card table's deck the way the game loads a chosen set, and sets that cannot be
// read opened through the window's buttons and menu.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <filesystem>

#include "cardtable/CardDeckForm.h"
#include "cardtable/CardTableWidget.h"
#include "cardtable/SystemDirs.h"
#include "deckwright/Compose.h"
#include "deckwright/FadeButton.h"
#include "deckwright/MakerForm.h"
#include "deckwright/NewSetForm.h"
#include "deckwright/ProgressForm.h"
#include "patience/files/DataFolder.h"
#include "patience/files/DataLock.h"
#include "platform/core/Clock.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Jpeg.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/patience/files/DataLockHolder.h"
#include "tests/platform/graphics/TestJpegWriter.h"
#include "tests/support/TestUtil.h"

namespace {

class MakerFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Program = Root / "prog";
    Cardsets = Program + "/Cardsets";
    TTestCardsetOptions o;
    o.Width = 71;
    o.Height = 96;
    WriteTestCardset(Cardsets, "Standard", o);
    o.Width = 89;
    o.Height = 123;
    o.Shadow02 = true;
    WriteTestCardset(Cardsets, "C_1", o);  // three backs
    SetProgramDirForTesting(Program);
    SavedDocs = MyDocumentsDir;
    SavedLocal = LocalAppDataDir;
    MyDocumentsDir = Root / "docs";
    LocalAppDataDir = Root / "local";
    Application().ResetForTesting();
    Application().Title = "Deckwright";  // as the program's main sets it
  }
  void TearDown() override {
    Form.reset();
    SetProgramDirForTesting("");
    MyDocumentsDir = SavedDocs;
    LocalAppDataDir = SavedLocal;
    DataLocation = 0;
    Application().ResetForTesting();
    Application().Title.clear();
  }

  void PlayerDat(const std::string& folder) {
    ForceDirectories(folder);
    WriteTextFile(folder + "/Player.dat", "\r\n2051\r\n");
  }

  // The window on a data folder under local application data, its questions answered here.
  TForm1& Start() {
    if (!FileExists(Root / "local/Patience/Player.dat")) PlayerDat(Root / "local/Patience");
    Form = std::make_unique<TForm1>();
    Form->ZoomHoldMs = 0;
    Form->SetChooser = [this](const std::string&, bool userOnly) {
      LastChooserUserOnly = userOnly;
      return Choice;
    };
    Form->ConfirmDelete = [this](const std::string&) { return ConfirmAnswer; };
    Form->PicturePrompt = [this]() { return PictureFile; };
    return *Form;
  }

  // Makes a set through the New dialog, filled as the user would fill it.
  bool NewSet(const std::string& name, TSetOptions o = {}) {
    Form->NewSetPrompt = [&](TForm2& f) {
      f.LabeledEdit1->setText(QString::fromStdString(name));
      (o.CardType == 0 ? f.Border : f.Borderless)->setChecked(true);
      (o.Rankings == 0   ? f.RadioButton1
       : o.Rankings == 1 ? f.RadioButton2
                         : f.RadioButton3)
          ->setChecked(true);
      f.CheckBox1->setChecked(o.IndexBorder);
      f.CheckBox2->setChecked(o.Large);
      f.Button1Click();
      return f.result() == QDialog::Accepted;
    };
    Form->NewUserCardSet1Click();
    return Form->OpenSetName() == "U_" + name;
  }

  std::string UserSets() const { return Root / "local/Patience/CardSets"; }

  // A picture file made here: a JPEG or a BMP of ramps.
  std::string MakePicture(const std::string& name, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 90));
    const std::string path = Root / name;
    if (name.ends_with(".bmp")) {
      TBitmap b;
      b.FromQImage(img);
      SaveBmp24(path, b);
    } else {
      img.save(QString::fromStdString(path), "JPEG", 95);
    }
    return path;
  }

  TTempDir Root;
  std::string Program, Cardsets, SavedDocs, SavedLocal;
  std::unique_ptr<TForm1> Form;
  std::optional<std::string> Choice, PictureFile;
  bool ConfirmAnswer = true;
  bool LastChooserUserOnly = false;
  TVirtualClock Time;
  TScopedClock Clock{Time};
};

}  // namespace

TEST_F(MakerFormTest, StartsOnlyWhereTheGameHasItsData) {
  std::vector<TMessageRequest> asked;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    asked.push_back(r);
    return mrOk;
  });
  Form = std::make_unique<TForm1>();
  EXPECT_FALSE(Form->Started());
  EXPECT_TRUE(Application().Terminated());
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Text, kNeedsPatienceMessage);
  EXPECT_EQ(asked[0].Caption, "Information");
  Form.reset();

  // Local application data wins over documents, documents over the program folder.
  struct Case {
    std::vector<std::string> Marked;
    int Location;
    std::string UserDir;
  };
  const Case cases[] = {
      {{"prog"}, 1, ""},
      {{"prog", "docs/Patience"}, 2, "docs/Patience/CardSets"},
      {{"prog", "docs/Patience", "local/Patience"}, 3, "local/Patience/CardSets"},
  };
  for (const Case& c : cases) {
    Application().ResetForTesting();
    for (const std::string& m : c.Marked) PlayerDat(Root / m);
    Form = std::make_unique<TForm1>();
    EXPECT_TRUE(Form->Started());
    EXPECT_EQ(DataLocation, c.Location);
    EXPECT_EQ(Form->CardTable1->CardDeck()->UserCardsetsDir, c.UserDir.empty() ? "" : Root / c.UserDir);
    // It starts in Backs mode with nothing open and nothing laid out.
    EXPECT_TRUE(Form->Backs1->Checked());
    EXPECT_FALSE(Form->Faces1->Checked());
    EXPECT_TRUE(Form->BacksButton->Selected());
    EXPECT_EQ(Form->OpenSetName(), "Standard");
    EXPECT_EQ(Form->CardTable1->TableCount, 0);
    Form.reset();
  }
  EXPECT_TRUE(asked.size() == 1u);
}

// While a start or a move of the data folder is under way in another process, the maker waits for
// it and then starts on the data; when it cannot wait any longer it says so and ends.
TEST_F(MakerFormTest, WaitsForAStartOrMoveUnderWayElsewhere) {
  PlayerDat(Root / "local/Patience");
  std::vector<TMessageRequest> asked;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    asked.push_back(r);
    return mrOk;
  });
  TDataLockHolder other;
  ASSERT_TRUE(other.Held());
  const int wait = SetDataLockWaitForTesting(0);
  Form = std::make_unique<TForm1>();
  SetDataLockWaitForTesting(wait);
  EXPECT_FALSE(Form->Started());
  EXPECT_TRUE(Application().Terminated());
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Text, kDataFolderBusy);
  EXPECT_EQ(asked[0].Caption, "Notification.");
  Form.reset();

  Application().ResetForTesting();
  SetDataLockWaitHookForTesting([&] { other.Release(); });  // the other is done while the maker waits
  Form = std::make_unique<TForm1>();
  SetDataLockWaitHookForTesting({});
  EXPECT_TRUE(Form->Started());
  EXPECT_EQ(DataLocation, 3);
  EXPECT_EQ(asked.size(), 1u);
}

TEST_F(MakerFormTest, NewSetWritesItsOptionsAndLaysOutItsCards) {
  TForm1& f = Start();
  // Cancel (and a refused name) changes nothing.
  f.NewSetPrompt = [](TForm2&) { return false; };
  f.NewUserCardSet1Click();
  EXPECT_EQ(f.OpenSetName(), "Standard");
  EXPECT_FALSE(NewSet("bad_name"));

  ASSERT_TRUE(NewSet("Sea", TSetOptions{1, 2, true, false}));
  EXPECT_EQ(f.windowTitle().toStdString(), "Deckwright - U_Sea");
  TStringList lines;
  lines.LoadFromFile(UserSets() + "/U_Sea/options.txt");
  EXPECT_EQ(lines.Lines, (std::vector<std::string>{"1", "2", "1", "0"}));
  EXPECT_EQ(ReadFileText(UserSets() + "/U_Sea/options.txt"), "1\r\n2\r\n1\r\n0\r\n");
  EXPECT_TRUE(FileExists(UserSets() + "/U_Sea/13s.bmp"));

  // Backs mode: nine cards in three rows of three; C_1 has three backs, so cards 4..9 show back 1.
  TCardTable& t = *f.CardTable1;
  ASSERT_EQ(t.TableCount, 9);
  const TCardDeck& d = *t.CardDeck();
  for (int k = 1; k <= 9; ++k) {
    const TCard* c = t.TableCards[size_t(k)];
    const int r = (k - 1) / 3, col = (k - 1) % 3;
    EXPECT_EQ(c->X, col * (d.CardWidth + 4) + 15);
    EXPECT_EQ(c->Y, r * (d.CardHeight + 4) + 15);
    EXPECT_EQ(c->PointValue() + 10 * int(c->Suit), k);
    EXPECT_FALSE(c->FaceUp);
    const int back = k <= 3 ? k : 1;
    EXPECT_EQ(t.Buffer.Pixel(c->X + d.CardWidth / 2, c->Y + d.CardHeight / 2), TestBackColour(back)) << k;
  }

  // Faces mode: 54 cards in fresh-pack order, six rows of nine, 70 x 75 apart.
  f.Faces1Click();
  EXPECT_TRUE(f.Faces1->Checked());
  EXPECT_TRUE(f.FacesButton->Selected());
  EXPECT_FALSE(f.BacksButton->Selected());
  ASSERT_EQ(t.TableCount, 54);
  for (int i = 1; i <= 54; ++i) {
    const TCard* c = t.TableCards[size_t(i)];
    EXPECT_EQ(c->X, ((i - 1) % 9) * 70);
    EXPECT_EQ(c->Y, ((i - 1) / 9) * 75);
    if (i <= 52) {
      EXPECT_EQ(int(c->Suit), (i - 1) % 4);
      EXPECT_EQ(int(c->Value), (i - 1) / 4);
    } else {
      EXPECT_EQ(c->Suit, csJoker);
    }
  }
}

TEST_F(MakerFormTest, OpenCloseAndTheModes) {
  TForm1& f = Start();
  // Faces mode needs a user set.
  f.Faces1Click();
  EXPECT_FALSE(f.Faces1->Checked());
  ASSERT_TRUE(NewSet("Sea"));
  ASSERT_TRUE(NewSet("Hill"));
  f.Faces1Click();

  // Cancel opens nothing.
  Choice.reset();
  f.OpenUserCardSet1Click();
  EXPECT_FALSE(LastChooserUserOnly);
  EXPECT_EQ(f.OpenSetName(), "U_Hill");
  // Another user set keeps the mode and reads its options (missing lines: the defaults).
  OptionLines(TSetOptions{0, 0, false, false}).SaveToFile(UserSets() + "/U_Sea/options.txt");
  Choice = "U_Sea";
  f.OpenUserCardSet1Click();
  EXPECT_EQ(f.OpenSetName(), "U_Sea");
  EXPECT_EQ(f.SetOptions(), (TSetOptions{0, 0, false, false}));
  EXPECT_EQ(f.OptionsList.Count(), 4);
  EXPECT_EQ(f.CardTable1->TableCount, 54);
  DeleteFile(UserSets() + "/U_Hill/options.txt");
  Choice = "U_Hill";
  f.OpenUserCardSet1Click();
  EXPECT_EQ(f.SetOptions(), TSetOptions{});
  EXPECT_EQ(f.OptionsList.Count(), 4);
  // A built-in set: only its backs can change, so the mode turns to Backs.
  Choice = "Standard";
  f.OpenUserCardSet1Click();
  EXPECT_TRUE(f.Backs1->Checked());
  EXPECT_EQ(f.CardTable1->TableCount, 9);
  EXPECT_EQ(f.windowTitle().toStdString(), "Deckwright - Standard");
  // Opening the open, laid-out set again does nothing.
  const TCard* first = f.CardTable1->TableCards[1];
  f.OpenUserCardSet1Click();
  EXPECT_EQ(f.CardTable1->TableCards[1], first);

  f.Close1Click();
  EXPECT_EQ(f.windowTitle().toStdString(), "Deckwright");
  EXPECT_EQ(f.CardTable1->TableCount, 0);
  EXPECT_EQ(f.OpenSetName(), "Standard");
}

TEST_F(MakerFormTest, DeleteAsksAndNeverTakesTheOpenSet) {
  TForm1& f = Start();
  ASSERT_TRUE(NewSet("Sea"));
  ASSERT_TRUE(NewSet("Hill"));
  struct Case {
    std::optional<std::string> Choice;
    bool Confirm;
    bool SeaStays;
  };
  const Case cases[] = {
      {std::nullopt, true, true},  // cancelled
      {"U_Hill", true, true},      // the open set
      {"U_Sea", false, true},      // not confirmed
      {"U_Sea", true, false},
  };
  for (const Case& c : cases) {
    Choice = c.Choice;
    ConfirmAnswer = c.Confirm;
    f.Delete1Click();
    EXPECT_TRUE(LastChooserUserOnly);
    EXPECT_EQ(DirectoryExists(UserSets() + "/U_Sea"), c.SeaStays);
    EXPECT_TRUE(DirectoryExists(UserSets() + "/U_Hill"));
  }
}

TEST_F(MakerFormTest, PicturesBecomeCardsOfTheSetAndTheGameLoadsThem) {
  TForm1& f = Start();
  ASSERT_TRUE(NewSet("Sea", TSetOptions{1, 1, false, false}));
  f.Faces1Click();
  TCardTable& t = *f.CardTable1;

  // A cancelled picture does nothing.
  PictureFile.reset();
  f.CardTable1CardClickEvent(t.TableCards[1], mbLeft);
  EXPECT_EQ(ReadFileText(UserSets() + "/U_Sea/01c.bmp"), ReadFileText(Cardsets + "/C_1/01c.bmp"));

  // A JPEG on the ace of clubs, a BMP on the king of spades, both saved at once.
  const struct {
    int Index;
    std::string Picture;
    std::string File;
  } clicks[] = {{1, MakePicture("photo.jpg", 640, 480), "01c.bmp"},
                {52, MakePicture("photo.bmp", 300, 500), "13s.bmp"}};
  for (const auto& c : clicks) {
    PictureFile = c.Picture;
    TCard* card = t.TableCards[size_t(c.Index)];
    const int shows = f.Form3->ShowCount;
    f.CardTable1CardClickEvent(card, mbLeft);
    EXPECT_GT(f.Form3->ShowCount, shows);  // the progress window came up
    EXPECT_FALSE(f.Form3->isVisible());    // and went again
    TBitmap saved;
    LoadBmpFile(UserSets() + "/U_Sea/" + c.File, saved);
    TBitmap templ;
    LoadBmpFile(Cardsets + "/C_1/" + c.File, templ);
    ASSERT_EQ(saved.Width(), 89);
    // The inside is the picture now, not the template's flat colour.
    EXPECT_NE(saved.Pixel(44, 60), templ.Pixel(44, 60));
    EXPECT_EQ(saved.Pixel(5, 10), templ.Pixel(5, 10));  // the top-left index is the template's
  }

  // A back: card 2 of the backs saves Back2.bmp, and the table shows it afterwards.
  f.Backs1Click();
  PictureFile = MakePicture("back.jpg", 200, 300);
  f.CardTable1CardClickEvent(t.TableCards[2], mbLeft);
  ASSERT_TRUE(FileExists(UserSets() + "/U_Sea/Back2.bmp"));
  TBitmap back2;
  LoadBmpFile(UserSets() + "/U_Sea/Back2.bmp", back2);
  ASSERT_EQ(t.TableCount, 9);
  EXPECT_NE(t.Buffer.Pixel(t.TableCards[2]->X + 30, t.TableCards[2]->Y + 40), TestBackColour(2));

  // The right button zooms the card and leaves the table as it was.
  const TBitmap before = t.Buffer;
  f.CardTable1CardClickEvent(t.TableCards[5], mbRight);
  EXPECT_FALSE(t.Sprite().Visible);
  EXPECT_TRUE(SamePixels(before, t.Buffer));

  // The game: a table of its own loads the set from the user card sets folder.
  TCardTable game(nullptr, Cardsets);
  TCardDeck& deck = *game.CardDeck();
  deck.SetUserCardsetsDir(UserSets());
  deck.SetCardCount(54);
  deck.SetDeckName("U_Sea");
  ASSERT_EQ(deck.DeckName, "U_Sea");
  TBitmap ace, king;
  LoadBmpFile(UserSets() + "/U_Sea/01c.bmp", ace);
  LoadBmpFile(UserSets() + "/U_Sea/13s.bmp", king);
  EXPECT_TRUE(SamePixels(deck.CardByIndex(1)->Face, ace));
  EXPECT_TRUE(SamePixels(deck.CardByIndex(52)->Face, king));
  deck.SetCardBack(2);
  EXPECT_EQ(deck.CardBack, 2);
  EXPECT_TRUE(SamePixels(deck.Back, back2));
}

// The progress window comes up before the picture is decoded (a large photo takes a moment), and
// goes again however the composition ends: here a file that is no picture at all.
TEST_F(MakerFormTest, TheProgressWindowShowsBeforeTheDecodeAndGoesOnAnError) {
  TForm1& f = Start();
  ASSERT_TRUE(NewSet("Sea", TSetOptions{1, 1, false, false}));
  f.Faces1Click();
  std::vector<std::string> errors;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    errors.push_back(r.Text);
    return mrOk;
  });
  PictureFile = Root / "broken.jpg";
  WriteTextFile(*PictureFile, "not a picture");
  const int shows = f.Form3->ShowCount;
  f.CardTable1CardClickEvent(f.CardTable1->TableCards[1], mbLeft);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("broken.jpg"), std::string::npos) << errors[0];
  EXPECT_GT(f.Form3->ShowCount, shows);
  EXPECT_FALSE(f.Form3->isVisible());
}

TEST_F(MakerFormTest, BackOfABuiltInSetGoesToTheUserFolder) {
  TForm1& f = Start();
  Choice = "Standard";
  f.OpenUserCardSet1Click();
  PictureFile = MakePicture("b.bmp", 120, 160);
  const std::string shipped = ReadFileText(Cardsets + "/Standard/Back2.bmp");
  f.CardTable1CardClickEvent(f.CardTable1->TableCards[2], mbLeft);
  // The shipped set is untouched; the deck looks in the user folder first.
  EXPECT_TRUE(FileExists(UserSets() + "/Standard/Back2.bmp"));
  EXPECT_EQ(ReadFileText(Cardsets + "/Standard/Back2.bmp"), shipped);
}

TEST_F(MakerFormTest, CameraPhotosOfAnySizeAndPrintPicturesBecomeCards) {
  // A 45-megapixel photo: the maker reads it; the game's own pictures keep their limit and say so.
  const std::vector<uint8_t> photo = MakeJpeg(8192, 5504, TTestJpegKind::Colour, 80, false,
                                              [](int x, int y) { return RGB(x / 32, y / 22, 90); });
  WriteFileAtomic(Root / "camera.JPG", std::string(photo.begin(), photo.end()));
  TBitmap source;
  LoadSourcePicture(Root / "camera.JPG", source);
  EXPECT_EQ(source.Width() * source.Height(), 8192 * 5504);
  try {
    LoadJpegFile(Root / "camera.JPG", source, true);
    ADD_FAILURE() << "the game's limit let a 45-megapixel picture through";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find("is too large a picture: 8192 x 5504 pixels"), std::string::npos)
        << e.what();
  }

  // A print picture (Adobe's inverted CMYK) on a back: magenta and yellow ink make red.
  TForm1& f = Start();
  ASSERT_TRUE(NewSet("Print"));
  PictureFile = Root / "print.jpg";
  const std::vector<uint8_t> print =
      MakeJpeg(120, 160, TTestJpegKind::Cmyk, 95, false, [](int, int) { return Inks(0, 255, 255, 0); });
  WriteFileAtomic(*PictureFile, std::string(print.begin(), print.end()));
  f.CardTable1CardClickEvent(f.CardTable1->TableCards[2], mbLeft);
  TBitmap back;
  LoadBmpFile(UserSets() + "/U_Print/Back2.bmp", back);
  const TColor inside = back.Pixel(back.Width() / 2, back.Height() / 2);
  EXPECT_GE(GetRValue(inside), 249);
  EXPECT_LE(GetGValue(inside) + GetBValue(inside), 12);
}

TEST_F(MakerFormTest, TheWindowItsMenusButtonsAndMessagesShowWhole) {
  // Four template files are gone, so New says which and how many more, on one or two lines.
  for (const char* gone : {"Shade.bmp", "Bottom01.bmp", "Bottom02.bmp", "CardMask.bmp"})
    DeleteFile(Cardsets + "/C_1/" + gone);
  TForm1& f = Start();
  const QPoint centre = f.screen()->availableGeometry().center();
  EXPECT_LE((f.geometry().center() - centre).manhattanLength(), 2);

  // The maker's highlight runs from the pale red at the top left to near white at the bottom right.
  TBitmap item(160, 22);
  TCanvas canvas(item);
  f.Exit1->OnDrawItem(*f.Exit1, canvas, TRect(0, 0, 160, 22), true);
  EXPECT_EQ(item.Pixel(1, 1), TColor(0x9B9BFF));
  EXPECT_GT(GetGValue(item.Pixel(158, 20)), 0xF0);

  // Every caption ends 5 pixels short of the button's right edge (inside the selection's frame).
  for (const TFadeButton* b : {f.NewButton, f.OpenButton, f.FacesButton, f.BacksButton}) {
    const TBitmap& face = b->NormalFace();
    int ink = 0;
    for (int y = 3; y < face.Height() - 3; ++y)
      for (int x = face.Width() - 5; x < face.Width() - 3; ++x) ink += face.Pixel(x, y) != b->ColorFrom();
    EXPECT_EQ(ink, 0) << b->Caption();
  }

  f.NewSetPrompt = [&](TForm2& d) {
    d.LabeledEdit1->setText("Sea");
    d.Button1Click();
    EXPECT_EQ(d.Label1->text().toStdString(),
              "Template card set C_1 is missing CardMask.bmp and 3 more files.");
    EXPECT_TRUE(d.Label1->wordWrap() && d.Label1->heightForWidth(d.Label1->width()) <= d.Label1->height());
    return false;
  };
  f.NewUserCardSet1Click();
}

// A set that cannot be read, opened through the window's own controls: the default handler tells
// why, the window keeps the set it shows, and the next command works. A damaged back still lays out
// all nine cards; a damaged back under the zoom is told the same way.
TEST_F(MakerFormTest, ASetThatCannotBeReadIsToldAndTheWindowGoesOn) {
  TForm1& f = Start();
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  std::vector<TMessageRequest> told;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    told.push_back(r);
    return mrOk;
  });
  ASSERT_TRUE(NewSet("Sea"));
  ASSERT_TRUE(NewSet("Hill"));
  // "U_Broken" holds only a face, "U_Half" only its first back.
  ForceDirectories(UserSets() + "/U_Broken");
  CopyFile(Cardsets + "/C_1/01c.bmp", UserSets() + "/U_Broken/01c.bmp");
  ForceDirectories(UserSets() + "/U_Half");
  CopyFile(Cardsets + "/C_1/Back1.bmp", UserSets() + "/U_Half/Back1.bmp");
  TModelMenu* file = f.ToolBar1->MenuOf(f.OpenUserCardSet1->Parent());
  ASSERT_NE(file, nullptr);
  file->Rebuild();
  struct TCase {
    const char* How;
    std::string Set;
    std::function<void()> Open;
    std::string Told;
  };
  const TCase cases[] = {
      {"Open button", "U_Broken", [&] { QTest::mouseClick(f.OpenButton, Qt::LeftButton); },
       "No CardBacks Found."},
      {"File > Open", "U_Half", [&] { file->ActionOf(f.OpenUserCardSet1)->trigger(); }, "01c.bmp"},
  };
  TCardTable& t = *f.CardTable1;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.How);
    told.clear();
    const TCard* first = t.TableCards[1];
    Choice = c.Set;
    c.Open();
    QCoreApplication::processEvents();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].Text.find(c.Told), std::string::npos) << told[0].Text;
    EXPECT_EQ(told[0].Caption, "Deckwright");
    EXPECT_EQ(told[0].Type, mtError);
    // The open set stays open and laid out as it was.
    EXPECT_EQ(f.windowTitle().toStdString(), "Deckwright - U_Hill");
    EXPECT_EQ(f.OpenSetName(), "U_Hill");
    EXPECT_EQ(f.TemplateDeck->DeckName, "U_Hill");
    ASSERT_EQ(t.TableCount, 9);
    EXPECT_EQ(t.TableCards[1], first);
  }

  // Back 2 of "U_Sea" is damaged: the nine cards lie all the same, card 2 with back 1, and the
  // damaged file is named.
  told.clear();
  WriteTextFile(UserSets() + "/U_Sea/Back2.bmp", "not a picture");
  Choice = "U_Sea";
  QTest::mouseClick(f.OpenButton, Qt::LeftButton);
  QCoreApplication::processEvents();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].Text.find("Back2.bmp"), std::string::npos) << told[0].Text;
  EXPECT_EQ(f.windowTitle().toStdString(), "Deckwright - U_Sea");
  ASSERT_EQ(t.TableCount, 9);
  const TCardDeck& d = *t.CardDeck();
  auto middle = [&](int k) {
    const TCard* c = t.TableCards[size_t(k)];
    return t.Buffer.Pixel(c->X + d.CardWidth / 2, c->Y + d.CardHeight / 2);
  };
  EXPECT_EQ(middle(2), TestBackColour(1));
  EXPECT_EQ(middle(3), TestBackColour(3));

  // The zoom of a back damaged after it was laid out: told, and the table as it was.
  told.clear();
  WriteTextFile(UserSets() + "/U_Sea/Back3.bmp", "not a picture either");
  const TBitmap before = t.Buffer;
  const TCard* third = t.TableCards[3];
  QTest::mouseClick(f.TableView, Qt::RightButton, {}, QPoint(third->X + 10, third->Y + 10));
  QCoreApplication::processEvents();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].Text.find("Back3.bmp"), std::string::npos) << told[0].Text;
  EXPECT_FALSE(t.Sprite().Visible);
  EXPECT_TRUE(SamePixels(before, t.Buffer));

  // And the window goes on: another set opens from the menu.
  told.clear();
  Choice = "U_Hill";
  file->ActionOf(f.OpenUserCardSet1)->trigger();
  QCoreApplication::processEvents();
  EXPECT_TRUE(told.empty());
  EXPECT_EQ(f.windowTitle().toStdString(), "Deckwright - U_Hill");
  EXPECT_EQ(t.TableCount, 9);
}

// A set holding what a file manager leaves (hidden files, a link) goes whole; only what the link
// points at stays.
TEST_F(MakerFormTest, DeleteTakesHiddenFilesAndLinksToo) {
  TForm1& f = Start();
  std::vector<std::string> told;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    told.push_back(r.Text);
    return mrOk;
  });
  ASSERT_TRUE(NewSet("Sea"));
  ASSERT_TRUE(NewSet("Hill"));
  const std::string sea = UserSets() + "/U_Sea";
  WriteTextFile(sea + "/.thumbs", "cache");
  WriteTextFile(sea + "/.directory", "[Desktop Entry]");
  WriteTextFile(Root / "elsewhere.txt", "kept");
  ASSERT_EQ(::symlink((Root / "elsewhere.txt").c_str(), (sea + "/.link").c_str()), 0);
  ASSERT_EQ(::symlink(Root.Path().c_str(), (sea + "/folder link").c_str()), 0);
  Choice = "U_Sea";
  f.Delete1Click();
  EXPECT_TRUE(told.empty()) << told.front();
  EXPECT_FALSE(DirectoryExists(sea));
  EXPECT_EQ(ListDeckFolders(Cardsets, UserSets(), true), std::vector<std::string>{"U_Hill"});
  EXPECT_EQ(ReadFileText(Root / "elsewhere.txt"), "kept");
  EXPECT_TRUE(DirectoryExists(Root.Path()));
}
