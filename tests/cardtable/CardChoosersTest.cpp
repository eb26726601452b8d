// The card back and card set choosers and the picture dialog, offscreen: the back grid of a set with
// missing backs, the set list of both folders, the preview, and what the deck's ChooseCardBack and
// ChooseDeck change when a choice is made and when it is cancelled.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "cardtable/CardBackForm.h"
#include "cardtable/CardDeckForm.h"
#include "cardtable/PictureDialog.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"
#include "platform/ui/Dialogs.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/Modal.h"
#include "tests/support/TestUtil.h"

namespace {

constexpr int kW = 12, kH = 16;

class CardChoosersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Sets = Dir / "Cardsets";
    User = Dir / "Data/CardSets";
    WriteTestCardset(Sets, "Standard", Set(4));
  }
  static TTestCardsetOptions Set(int backs, int tint = 0) {
    TTestCardsetOptions o;
    o.Width = kW;
    o.Height = kH;
    o.Backs = backs;
    o.Tint = tint;
    return o;
  }
  static void Folder(const std::string& path) { ASSERT_TRUE(ForceDirectories(path)); }
  // The back colour shown in grid cell b (1..9) of the form's table, or -1 when the cell is empty.
  static TColor Cell(TCardBackForm& form, int b) {
    TCardTable& t = *form.Table();
    const int c = (b - 1) % 3, r = (b - 1) / 3;
    const int x = c * kW + 8 + kW / 2, y = r * kH + 8 + kH / 2;
    for (int i = 1; i <= t.TableCount; ++i)
      if (t.TableCards[size_t(i)]->X == c * kW + 8 && t.TableCards[size_t(i)]->Y == r * kH + 8)
        return t.Buffer.Pixel(x, y);
    return -1;
  }

  TTempDir Dir;
  std::string Sets, User;
  int Answer = mrOk;
  TScopedMessageHook Hook{[this](const TMessageRequest&) { return Answer; }};
};

}  // namespace

TEST_F(CardChoosersTest, TheBackGridShowsEachBackInItsOwnCellAndAnswersItsNumber) {
  struct TCase {
    const char* Name;
    int Backs;
    std::vector<int> Extra;
    std::vector<int> Shown;
  };
  const TCase cases[] = {
      {"U_Four", 4, {}, {1, 2, 3, 4}},
      {"U_Nine", 9, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"U_One", 1, {}, {1}},
      // A gap: the set counts three backs, but the cell of back 5 still shows it.
      {"U_Gap", 3, {5}, {1, 2, 3, 5}},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.Name);
    TTestCardsetOptions o = Set(k.Backs, 3);
    o.ExtraBacks = k.Extra;
    WriteTestCardset(User, k.Name, o);
    TCardBackForm form(nullptr, Sets);
    form.PrepareBacks(k.Name, User);
    ASSERT_NE(form.Table(), nullptr);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Card Back Selector."));
    EXPECT_EQ(form.size(), QSize(3 * kW + 10, 3 * kH + 24));
    EXPECT_EQ(form.Table()->TableCount, int(k.Shown.size()));
    for (int b = 1; b <= 9; ++b) {
      const bool shown = std::find(k.Shown.begin(), k.Shown.end(), b) != k.Shown.end();
      EXPECT_EQ(Cell(form, b), shown ? TestBackColour(b, 3) : -1) << "cell " << b;
    }
    // A click on a cell's card answers the cell's back.
    for (int b : k.Shown) {
      const int c = (b - 1) % 3, r = (b - 1) / 3;
      form.setResult(0);
      form.Table()->MouseDown(mbLeft, ssLeft, c * kW + 8 + 2, r * kH + 8 + 2);
      EXPECT_EQ(form.result(), b);
    }
    // A press on an empty cell answers nothing.
    if (k.Shown.size() < 9) {
      form.setResult(0);
      form.Table()->MouseDown(mbLeft, ssLeft, 2 * kW + 8 + 2, 2 * kH + 8 + 2);
      EXPECT_EQ(form.result(), 0);
    }
  }
}

TEST_F(CardChoosersTest, ChooseCardBackTakesTheClickedBackAndNothingWhenClosed) {
  TCardTable table(nullptr, Sets);
  TCardDeck& d = *table.CardDeck();
  // A click on the third cell.
  WhenModal([](QWidget* w) {
    auto* form = qobject_cast<TCardBackForm*>(w);
    ASSERT_NE(form, nullptr);
    form->Table()->MouseDown(mbLeft, ssLeft, 2 * kW + 8 + 1, 8 + 1);
  });
  d.ChooseCardBack();
  EXPECT_EQ(d.CardBack, 3);
  EXPECT_EQ(d.Back.Pixel(kW / 2, kH / 2), TestBackColour(3));
  // Escape and the close button choose nothing: the back stays.
  for (int how = 0; how < 2; ++how) {
    WhenModal([how](QWidget* w) {
      if (how == 0)
        QTest::keyClick(w, Qt::Key_Escape);
      else
        w->close();
    });
    d.ChooseCardBack();
    EXPECT_EQ(d.CardBack, 3) << how;
  }
  // A set whose folder is gone: a beep and no dialog.
  const int beeps = BeepCount();
  d.DeckName = "Gone";
  d.ChooseCardBack();
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_EQ(d.CardBack, 3);
}

TEST_F(CardChoosersTest, TheSetListHoldsBothFoldersSortedOnce) {
  for (const char* s : {"C_1", ".hidden", "U_Shipped", "xU_inside", "bridge"}) Folder(PathJoin(Sets, s));
  for (const char* s : {"u_shipped", "U_Mine", "My_U_Set", ".trash", "Bridge2"}) Folder(PathJoin(User, s));
  struct TCase {
    std::string UserDir;
    bool UserOnly;
    std::vector<std::string> Listed;
  };
  const TCase cases[] = {
      {"", false, {"bridge", "C_1", "Standard", "U_Shipped", "xU_inside"}},
      {User, false, {"bridge", "Bridge2", "C_1", "My_U_Set", "Standard", "U_Mine", "U_Shipped", "xU_inside"}},
      // User sets only: "U_" first in the card sets folder, anywhere in the user's folder.
      {User, true, {"My_U_Set", "U_Mine", "U_Shipped"}},
      {"", true, {"U_Shipped"}},
      {PathJoin(Dir.Path(), "missing"), false, {"bridge", "C_1", "Standard", "U_Shipped", "xU_inside"}},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.UserDir + (k.UserOnly ? " user only" : " all"));
    EXPECT_EQ(ListDeckFolders(Sets, k.UserDir, k.UserOnly), k.Listed);
  }
  EXPECT_TRUE(ListDeckFolders(PathJoin(Dir.Path(), "none"), "", false).empty());
}

TEST_F(CardChoosersTest, TheFirstSelectionFallsBackToStandardOrTheFirstSet) {
  const std::vector<std::string> all = {"Bridge", "Standard", "U_Mine"};
  const std::vector<std::string> noStandard = {"Bridge", "U_Mine"};
  struct TCase {
    const std::vector<std::string>* List;
    std::string Current;
    bool UserOnly;
    int Index;
  };
  const std::vector<std::string> none;
  const TCase cases[] = {
      {&all, "U_Mine", false, 2}, {&all, "u_mine", false, 2},      {&all, "Gone", false, 1},
      {&all, "Gone", true, 0},    {&noStandard, "Gone", false, 0}, {&none, "Standard", false, -1},
  };
  for (const TCase& k : cases)
    EXPECT_EQ(InitialDeckIndex(*k.List, k.Current, k.UserOnly), k.Index) << k.Current;
}

TEST_F(CardChoosersTest, TheSetFormPreviewsTheSelectedSetAloneAndSaysWhyASetCannotBeShown) {
  WriteTestCardset(User, "U_Mine", Set(2, 7));
  Folder(PathJoin(Sets, "Broken"));  // no card backs
  TCardDeckForm form(nullptr, "U_Mine", false, User, Sets);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Card Deck Selector."));
  EXPECT_EQ(form.size(), QSize(538, 249));
  ASSERT_EQ(form.Count(), 3);
  EXPECT_EQ(form.SelectedDeck(), "U_Mine");
  TCardTable& p = *form.Preview();
  EXPECT_EQ(p.CardDeck()->DeckName, "U_Mine");
  // The six and the king of spades, face up, in the user's set's colours.
  ASSERT_EQ(p.TableCount, 2);
  const TCard* six = p.TableCards[1];
  const TCard* king = p.TableCards[2];
  EXPECT_EQ(six->Suit, csSpade);
  EXPECT_EQ(six->Value, cvSix);
  EXPECT_EQ(king->Value, cvKing);
  EXPECT_TRUE(six->FaceUp && king->FaceUp);
  EXPECT_EQ(TPoint(six->X, six->Y), TPoint(10, 20));
  EXPECT_EQ(TPoint(king->X, king->Y), TPoint(155, 20));
  EXPECT_EQ(p.Buffer.Pixel(10 + kW / 2, 20 + kH / 2), TestFaceColour("06s.bmp", 7));
  // Another set in the list: the preview follows.
  form.ListBox1->setCurrentRow(1);
  EXPECT_EQ(form.SelectedDeck(), "Standard");
  EXPECT_EQ(p.CardDeck()->DeckName, "Standard");
  EXPECT_EQ(p.Buffer.Pixel(155 + kW / 2, 20 + kH / 2), TestFaceColour("13s.bmp"));
  // A folder that is no card set: the preview stays and says why.
  form.ListBox1->setCurrentRow(0);
  EXPECT_EQ(form.SelectedDeck(), "Broken");
  EXPECT_EQ(p.CardDeck()->DeckName, "Standard");
  EXPECT_FALSE(form.ErrorLabel->isHidden());
  EXPECT_TRUE(form.ErrorLabel->text().contains(QStringLiteral("No CardBacks Found.")));
  form.ListBox1->setCurrentRow(2);
  EXPECT_TRUE(form.ErrorLabel->isHidden());
}

// The mouse makes an item current before it selects it: the preview follows the click all the same,
// on the screen, and a set that cannot be read says so under the preview.
TEST_F(CardChoosersTest, AClickedSetIsPreviewedAndABrokenOneSaysWhy) {
  WriteTestCardset(User, "U_Mine", Set(2, 7));
  Folder(PathJoin(User, "U_Broken"));
  ASSERT_TRUE(CopyFile(PathJoin(Sets, "Standard", "01c.bmp"), PathJoin(User, "U_Broken", "01c.bmp")));
  TCardDeckForm form(nullptr, "Standard", false, User, Sets);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_EQ(form.Count(), 3);
  // The middle of the six of spades as the dialog shows it.
  const QPoint six(232 + 10 + kW / 2, 5 + 20 + kH / 2);
  auto shown = [&] { return form.grab(QRect(six, QSize(1, 1))).toImage().pixel(0, 0) & 0xFFFFFF; };
  auto click = [&](const char* name) {
    const auto found = form.ListBox1->findItems(QString::fromLatin1(name), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {},
                      form.ListBox1->visualItemRect(found[0]).center());
    ASSERT_EQ(form.SelectedDeck(), name);
  };
  auto rgb = [](TColor c) { return unsigned(qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFF); };
  EXPECT_EQ(shown(), rgb(TestFaceColour("06s.bmp")));
  struct TCase {
    const char* Click;
    std::string Previewed;
    TColor Six;
    std::string Says;
  };
  const TCase cases[] = {
      {"U_Mine", "U_Mine", TestFaceColour("06s.bmp", 7), {}},
      {"U_Broken", "U_Mine", TestFaceColour("06s.bmp", 7), "Cannot show U_Broken: No CardBacks Found."},
      {"Standard", "Standard", TestFaceColour("06s.bmp"), {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Click);
    click(c.Click);
    EXPECT_EQ(form.Preview()->CardDeck()->DeckName, c.Previewed);
    EXPECT_EQ(shown(), rgb(c.Six));
    EXPECT_EQ(form.ErrorLabel->isVisible(), !c.Says.empty());
    if (!c.Says.empty()) {
      EXPECT_EQ(form.ErrorLabel->text().toStdString(), c.Says);
    }
  }
}

TEST_F(CardChoosersTest, ChooseDeckTakesTheSetOnlyWithOk) {
  WriteTestCardset(User, "U_Mine", Set(2, 7));
  TCardTable table(nullptr, Sets);
  TCardDeck& d = *table.CardDeck();
  d.SetUserCardsetsDir(User);
  struct TCase {
    const char* How;
    std::function<void(TCardDeckForm*)> Act;
    std::string Expected;
  };
  const TCase cases[] = {
      {"cancel", [](TCardDeckForm* f) { f->Button2->click(); }, "Standard"},
      {"escape", [](TCardDeckForm* f) { QTest::keyClick(f->ListBox1, Qt::Key_Escape); }, "Standard"},
      {"closed", [](TCardDeckForm* f) { f->close(); }, "Standard"},
      {"ok", [](TCardDeckForm* f) { f->Button1->click(); }, "U_Mine"},
      {"enter", [](TCardDeckForm* f) { QTest::keyClick(f->ListBox1, Qt::Key_Return); }, "Standard"},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.How);
    const std::string other = d.DeckName == "Standard" ? "U_Mine" : "Standard";
    WhenModal([&](QWidget* w) {
      auto* form = qobject_cast<TCardDeckForm*>(w);
      ASSERT_NE(form, nullptr);
      // Picking another set previews it; only the answer decides.
      const auto found = form->ListBox1->findItems(QString::fromStdString(other), Qt::MatchExactly);
      ASSERT_EQ(found.size(), 1);
      form->ListBox1->setCurrentItem(found[0]);
      k.Act(form);
    });
    d.ChooseDeck();
    EXPECT_EQ(d.DeckName, k.Expected);
  }
  // The user's set came from the user's folder.
  d.SetDeckName("U_Mine");
  EXPECT_EQ(d.Back.Pixel(kW / 2, kH / 2), TestBackColour(1, 7));
}

TEST_F(CardChoosersTest, ThePictureDialogFiltersPicturesAndPreviewsThem) {
  EXPECT_EQ(QtNameFilter("Picture Files (*.bmp *.jpg)|*.BMP;*.JPG;*.bmp;*.jpg"),
            QStringLiteral("Picture Files (*.BMP *.JPG *.bmp *.jpg)"));
  TBitmap picture(40, 30);
  picture.Clear(clRed);
  SaveBmp24(Dir / "red.bmp", picture);
  WriteTextFile(Dir / "notes.bmp", "not a picture");
  TPictureDialog dialog(nullptr, Dir.Path(), "Picture Files (*.bmp *.jpg)|*.BMP;*.JPG");
  dialog.ShowPreview(QString::fromStdString(Dir / "red.bmp"));
  EXPECT_EQ(dialog.PreviewSize->text(), QStringLiteral("40 x 30"));
  EXPECT_FALSE(dialog.Preview->pixmap().isNull());
  dialog.ShowPreview(QString::fromStdString(Dir / "notes.bmp"));
  EXPECT_TRUE(dialog.PreviewSize->text().isEmpty());
  // Chosen and cancelled.
  WhenModal([this](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(d, nullptr);
    d->selectFile(QString::fromStdString(Dir / "red.bmp"));
    static_cast<QDialog*>(d)->accept();
  });
  EXPECT_EQ(OpenPictureDialog(nullptr, Dir.Path(), "Pictures|*.bmp"),
            std::optional<std::string>(Dir / "red.bmp"));
  WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_EQ(OpenPictureDialog(nullptr, Dir.Path(), "Pictures|*.bmp"), std::nullopt);
}
