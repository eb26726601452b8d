// The table appearance commands of the main window, offscreen: the gradient presets, the radio
// groups of the Options menu, the colour and picture choices, the card set and back choosers, the
// card movement dialog; Cancel in each changes nothing, and what was chosen comes back from the
// table's state file at the next start.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "cardtable/CardBackForm.h"
#include "cardtable/CardDeckForm.h"
#include "patience/ui/Appearance.h"
#include "patience/ui/CardSpeed.h"
#include "patience/ui/MainForm.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/Modal.h"
#include "tests/support/TestUtil.h"

namespace {

// A window on card sets of its own ("Standard" with four backs, "Bridge", "M_Small", the user's
// "U_Mine"), in a program folder whose "Textures" holds one picture.
class AppearanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().ResetForTesting();
    SetScreenSizeForTesting(TPoint(1280, 1024));
    TTestCardsetOptions o;
    o.Width = 71;
    o.Height = 96;
    o.Backs = 4;
    WriteTestCardset(Sets, "Standard", o);
    o.Tint = 5;
    WriteTestCardset(Sets, "Bridge", o);
    WriteTestCardset(Sets, "M_Small", o);
    o.Tint = 9;
    WriteTestCardset(User, "U_Mine", o);
    ForceDirectories(Program / "Textures");
    TBitmap cloth(32, 32);
    cloth.Clear(RGB(20, 120, 60));
    SaveBmp24(Program / "Textures/cloth.bmp", cloth);
    SetProgramDirForTesting(Program.Path());
  }
  void TearDown() override {
    Form.reset();
    SetProgramDirForTesting("");
    SetScreenSizeForTesting(std::nullopt);
  }
  TForm1& Make() {
    Form.reset();
    Form = std::make_unique<TForm1>(QStringList{}, TForm1Options{Dir / "Cardsets"});
    Form->CardTable1->CardDeck()->SetUserCardsetsDir(User);
    // The table as a game shows it (it holds no buffer while the start screen shows instead).
    Form->CardTable1->SetVisible(true);
    return *Form;
  }
  TCardTable& Table() { return *Form->CardTable1; }
  void Click(const char* name) {
    TMenuItem* item = Form->MainMenu1.FindByName(name);
    ASSERT_NE(item, nullptr) << name;
    item->Click();
  }
  // The checked items among the named ones.
  std::vector<std::string> Checked(std::initializer_list<TMenuItem*> group) {
    std::vector<std::string> names;
    for (TMenuItem* i : group)
      if (i->Checked()) names.push_back(i->Name());
    return names;
  }
  std::vector<std::string> ShadeChecks() {
    const auto& s = Form->DragShadeItems;
    return Checked({Form->DottedType2, s[0], s[1], s[2], s[3], s[4], s[5], s[6], Form->None2});
  }
  std::vector<std::string> GradientChecks() {
    std::vector<std::string> names;
    for (TMenuItem* i : Form->GradientItems)
      if (i && i->Checked()) names.push_back(i->Name());
    return names;
  }
  // Everything the Options menu marks, in one list.
  std::vector<std::string> AllChecks() {
    TForm1& f = *Form;
    std::vector<std::string> all = GradientChecks();
    for (auto& v : {Checked({f.StretchPicture1, f.TilePicture1}), Checked({f.DottedType1, f.Soft1, f.Hard1}),
                    ShadeChecks(), Checked({f.CardBased1, f.MouseBased1, f.FastCardBased1})})
      all.insert(all.end(), v.begin(), v.end());
    return all;
  }

  TTempDir Dir, Program;
  std::string Sets = Dir / "Cardsets", User = Dir / "Data/CardSets";
  TVirtualClock Clock;
  TScopedClock ScopedClock{Clock};
  std::vector<std::string> Said;
  TScopedMessageHook Hook{[this](const TMessageRequest& r) {
    Said.push_back(r.Text);
    return mrOk;
  }};
  std::unique_ptr<TForm1> Form;
};

}  // namespace

TEST_F(AppearanceTest, EachGradientPresetPaintsTheTableAndIsTheOneChecked) {
  TForm1& f = Make();
  std::vector<std::string> captions;
  for (int i = 0; i < f.BackgroundGradient1->Count(); ++i)
    captions.push_back(f.BackgroundGradient1->Items(i)->Caption());
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Mode 1", "Mode 2", "Mode 3", "Mode 4", "Mode 5", "Mode 6", "-",
                                      "Callow Fellow", "Card Table", "Dreamer", "Glenfiddich", "Moon River",
                                      "Mr Blue", "Pretty in Pink", "Rosebud", "Way up High"}));
  for (const TGradientPreset& p : GradientPresets()) {
    SCOPED_TRACE(p.Caption);
    Click(p.Name);
    const TBackdrop& b = Table().BackDrop();
    EXPECT_TRUE(b.Enabled());
    EXPECT_EQ(b.NewMode(), p.NewMode);
    if (p.NewMode) {
      EXPECT_EQ(b.NewColorFrom(), p.From);
      EXPECT_EQ(b.NewColorTo(), p.To);
      EXPECT_EQ(b.NewType(), p.Type);
    } else {
      EXPECT_EQ(TPoint(b.StartR(), b.StartG()), TPoint(p.StartR, p.StartG));
      EXPECT_EQ(b.StartB(), p.StartB);
      EXPECT_EQ(b.Direction(), p.Direction);
      EXPECT_EQ((std::vector<bool>{b.ChangeRColour(), b.ChangeGColour(), b.ChangeBColour()}),
                (std::vector<bool>{p.ChangeR, p.ChangeG, p.ChangeB}));
    }
    EXPECT_EQ(Table().Tag, p.Tag);
    EXPECT_EQ(GradientChecks(), std::vector<std::string>{p.Name});
    // The empty table shows the gradient itself.
    TBitmap expected(Table().Width(), Table().Height());
    b.PaintBitmap(expected);
    EXPECT_TRUE(SamePixels(expected, Table().Buffer));
  }
}

TEST_F(AppearanceTest, EveryGroupKeepsOneCheckAndSetsTheTable) {
  TForm1& f = Make();
  struct TStep {
    const char* Item;
    std::function<bool(const TCardTable&)> Holds;
  };
  const TStep steps[] = {
      {"Hard1", [](const TCardTable& t) { return t.ShadowMode == smDarken && !t.SoftShadow; }},
      {"DottedType1", [](const TCardTable& t) { return t.ShadowMode == smOriginal; }},
      {"Soft1", [](const TCardTable& t) { return t.ShadowMode == smDarken && t.SoftShadow; }},
      {"DottedType2", [](const TCardTable& t) { return !t.HQDragShade; }},
      {"Pin1", [](const TCardTable& t) { return t.HQDragShade && t.HQDragShadeColour() == 5; }},
      {"None2", [](const TCardTable& t) { return t.HQDragShade && t.HQDragShadeColour() == 7; }},
      {"Grey1", [](const TCardTable& t) { return t.HQDragShade && t.HQDragShadeColour() == 0; }},
      {"urquoise1", [](const TCardTable& t) { return t.HQDragShadeColour() == 6; }},
      {"MouseBased1", [](const TCardTable& t) { return t.AutoShadeMode() == 2; }},
      {"FastCardBased1", [](const TCardTable& t) { return t.AutoShadeMode() == 1; }},
      {"CardBased1", [](const TCardTable& t) { return t.AutoShadeMode() == 3; }},
      {"StretchPicture1", [](const TCardTable& t) { return t.StretchBackground(); }},
      {"TilePicture1", [](const TCardTable& t) { return !t.StretchBackground(); }},
  };
  // A new window's marks follow the new table.
  EXPECT_EQ(AllChecks(), (std::vector<std::string>{"TilePicture1", "Soft1", "Red1", "CardBased1"}));
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.Item);
    Click(s.Item);
    EXPECT_TRUE(s.Holds(Table()));
    EXPECT_TRUE(f.MainMenu1.FindByName(s.Item)->Checked());
    EXPECT_EQ(Checked({f.DottedType1, f.Soft1, f.Hard1}).size(), 1u);
    EXPECT_EQ(ShadeChecks().size(), 1u);
    EXPECT_EQ(Checked({f.CardBased1, f.MouseBased1, f.FastCardBased1}).size(), 1u);
    EXPECT_EQ(Checked({f.StretchPicture1, f.TilePicture1}).size(), 1u);
  }
}

TEST_F(AppearanceTest, APictureOrAColourTurnsTheGradientOff) {
  TForm1& f = Make();
  Click("satan1");
  std::string startedIn;
  WhenModal([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(d, nullptr);
    startedIn = d->directory().absolutePath().toStdString();
    d->selectFile(QString::fromStdString(Program / "Textures/cloth.bmp"));
    static_cast<QDialog*>(d)->accept();
  });
  f.BackgroundPicture1Click();
  EXPECT_EQ(startedIn, Program / "Textures");
  EXPECT_EQ(Table().BackgroundPicture(), Program / "Textures/cloth.bmp");
  EXPECT_FALSE(Table().BackDrop().Enabled());
  EXPECT_EQ(Table().Tag, 0);
  EXPECT_TRUE(GradientChecks().empty());
  EXPECT_EQ(Table().Buffer.Pixel(40, 40), RGB(20, 120, 60));

  Click("xmas1");
  EXPECT_EQ(Table().BackgroundPicture(), "None");
  WhenModal([](QWidget* w) {
    auto* d = qobject_cast<QColorDialog*>(w);
    ASSERT_NE(d, nullptr);
    d->setCurrentColor(QColor(10, 20, 30));
    static_cast<QDialog*>(d)->accept();
  });
  f.BackgroundColour1Click();
  EXPECT_FALSE(Table().BackDrop().Enabled());
  EXPECT_EQ(Table().Tag, 0);
  EXPECT_TRUE(GradientChecks().empty());
  EXPECT_EQ(Table().Color(), RGB(10, 20, 30));
  EXPECT_EQ(Table().Buffer.Pixel(5, 5), RGB(10, 20, 30));
}

TEST_F(AppearanceTest, CancelInEveryChooserChangesNothing) {
  TForm1& f = Make();
  Click("Dreamer1");
  Click("Hard1");
  Table().CardDeck()->SetCardBack(2);
  const std::string state = Table().StatusData();
  const std::vector<std::string> checks = AllChecks();
  const TBitmap screen = Table().Buffer;
  const int parked = f.ParkedTurnOverSpeed;
  struct TChooser {
    const char* Name;
    std::function<void()> Command;
    std::function<void(QWidget*)> Cancel;
  };
  auto reject = [](QWidget* w) { static_cast<QDialog*>(w)->reject(); };
  const TChooser choosers[] = {
      {"colour", [&] { f.BackgroundColour1Click(); },
       [](QWidget* w) {
         qobject_cast<QColorDialog*>(w)->setCurrentColor(Qt::red);
         static_cast<QDialog*>(w)->reject();
       }},
      {"picture", [&] { f.BackgroundPicture1Click(); }, reject},
      {"card back", [&] { f.ChooseBack1Click(); }, [](QWidget* w) { w->close(); }},
      {"card set", [&] { f.ChooseDeck1Click(); },
       [](QWidget* w) {
         auto* form = qobject_cast<TCardDeckForm*>(w);
         form->ListBox1->setCurrentRow(form->Count() - 1);
         form->Button2->click();
       }},
      {"card movement", [&] { f.SetCardSpeed1Click(); },
       [](QWidget* w) {
         auto* form = qobject_cast<TForm2*>(w);
         form->UpDown1->Up->click();
         form->RadioItems->button(fmNoFlip)->click();
         form->CancelButton->click();
       }},
  };
  for (const TChooser& c : choosers) {
    SCOPED_TRACE(c.Name);
    bool shown = false;
    WhenModal([&](QWidget* w) {
      shown = true;
      c.Cancel(w);
    });
    c.Command();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Table().StatusData(), state);
    EXPECT_EQ(AllChecks(), checks);
    EXPECT_EQ(f.ParkedTurnOverSpeed, parked);
    EXPECT_TRUE(SamePixels(screen, Table().Buffer));
  }
  EXPECT_TRUE(Said.empty());
}

TEST_F(AppearanceTest, WhatWasChosenComesBackFromTheTableStateAtTheNextStart) {
  const std::string data = Dir / "Data";
  struct TRound {
    const char* Name;
    std::vector<const char*> Items;
    std::vector<std::string> Checks;
  };
  const TRound rounds[] = {
      {"gradient",
       {"satan1", "Hard1", "None2", "MouseBased1", "StretchPicture1"},
       {"satan1", "StretchPicture1", "Hard1", "None2", "MouseBased1"}},
      {"picture",
       {"DottedType1", "DottedType2", "FastCardBased1", "TilePicture1"},
       {"TilePicture1", "DottedType1", "DottedType2", "FastCardBased1"}},
  };
  for (const TRound& r : rounds) {
    SCOPED_TRACE(r.Name);
    TForm1& f = Make();
    const bool picture = std::string(r.Name) == "picture";
    // The user's set and its third back, through the choosers.
    WhenModal([](QWidget* w) {
      auto* form = qobject_cast<TCardDeckForm*>(w);
      form->ListBox1->setCurrentItem(form->ListBox1->findItems("U_Mine", Qt::MatchExactly).value(0));
      form->Button1->click();
    });
    f.ChooseDeck1Click();
    WhenModal([](QWidget* w) {
      qobject_cast<TCardBackForm*>(w)->Table()->MouseDown(mbLeft, ssLeft, 2 * 71 + 10, 10);
    });
    f.ChooseBack1Click();
    for (const char* item : r.Items) Click(item);
    if (picture) {
      WhenModal([this](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        d->selectFile(QString::fromStdString(Program / "Textures/cloth.bmp"));
        static_cast<QDialog*>(d)->accept();
      });
      f.BackgroundPicture1Click();
    }
    Table().SaveStatus(data);

    // The next start: a new window reads the file and derives its marks from the table.
    Make();
    ASSERT_EQ(Table().LoadStatus(data), TStatusLoad::Loaded);
    Form->SetTableMenuChecks();
    const TCardDeck& d = *Table().CardDeck();
    EXPECT_EQ(d.DeckName, "U_Mine");
    EXPECT_EQ(d.CardBack, 3);
    EXPECT_EQ(d.Back.Pixel(35, 48), TestBackColour(3, 9));
    if (!picture) {
      EXPECT_EQ(Table().Tag, 15);
      EXPECT_TRUE(Table().BackDrop().Enabled());
    } else {
      EXPECT_EQ(Table().BackgroundPicture(), Program / "Textures/cloth.bmp");
      EXPECT_EQ(Table().Tag, 0);
    }
    EXPECT_EQ(AllChecks(), r.Checks);
  }
}

TEST_F(AppearanceTest, ALargeSetInTheCompactLayoutIsRefusedOrReset) {
  struct TCase {
    const char* Chosen;
    int StepBefore;
    const char* Message;
    std::string DeckAfter;
    float ScaleAfter;
  };
  const TCase cases[] = {
      {"M_Small", 1, "Scale for this deck, in this layout mode, is toolarge - Reset", "Standard", 1.0f},
      {"M_Small", -2, nullptr, "M_Small", 0.59f},
      {"Bridge", 2, "Scale for this deck, in this layout mode, is too large - Reset", "Bridge", 1.0f},
      {"Bridge", 1, nullptr, "Bridge", 1.0f},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(std::string(k.Chosen) + " at step " + std::to_string(k.StepBefore));
    TForm1& f = Make();
    Said.clear();
    Table().CardDeck()->SetSizeStep(k.StepBefore);
    WhenModal([&k](QWidget* w) {
      auto* form = qobject_cast<TCardDeckForm*>(w);
      form->ListBox1->setCurrentItem(form->ListBox1->findItems(k.Chosen, Qt::MatchExactly).value(0));
      form->Button1->click();
    });
    f.ChooseDeck1Click();
    EXPECT_EQ(Said, k.Message ? std::vector<std::string>{k.Message} : std::vector<std::string>{});
    EXPECT_EQ(Table().CardDeck()->DeckName, k.DeckAfter);
    EXPECT_FLOAT_EQ(Table().CardDeck()->Scale, k.ScaleAfter);
    EXPECT_TRUE(Table().Enabled);
  }
}

TEST_F(AppearanceTest, TheCardMovementDialogStepsItsSpeedsAndParksTheTurnSpeed) {
  const int moves[][3] = {{3, 1, 4}, {4, 1, 8}, {64, 1, 128}, {128, 1, 128}, {8, 0, 4},
                          {4, 0, 3}, {1, 0, 1}, {5, 1, 10},   {20, 0, 10}};
  for (const auto& m : moves) EXPECT_EQ(StepMoveSpeed(m[0], m[1] == 1), m[2]) << m[0];
  const int turns[][3] = {{15, 1, 16}, {16, 1, 32}, {32, 1, 32}, {32, 0, 16},
                          {16, 0, 15}, {1, 0, 1},   {20, 1, 20}};
  for (const auto& t : turns) EXPECT_EQ(StepTurnSpeed(t[0], t[1] == 1), t[2]) << t[0];

  TForm1& f = Make();
  // Up twice (32 -> 128), the turn speed down (8 -> 7), "No Flip", every box the other way.
  TCardMovement shown;
  WhenModal([&shown](QWidget* w) {
    auto* form = qobject_cast<TForm2*>(w);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Card Movement Mode."));
    EXPECT_EQ(form->size(), QSize(304, 452));
    shown = form->Result();
    form->UpDown1->Up->click();
    form->UpDown1->Up->click();
    form->UpDown2->Down->click();
    form->RadioItems->button(fmNoFlip)->click();
    for (QCheckBox* c : {form->CheckBox1, form->CheckBox2, form->CheckBox3, form->CheckBox4}) c->toggle();
    form->OkButton->click();
  });
  f.SetCardSpeed1Click();
  EXPECT_EQ(shown, (TCardMovement{false, true, true, true, fmVertical, 8, 32}));
  const TCardTable& t = Table();
  EXPECT_EQ(t.CardSpeed(), 128);
  EXPECT_EQ(t.TurnOverAnimationSpeed(), 0);
  EXPECT_EQ(f.ParkedTurnOverSpeed, 7);
  EXPECT_TRUE(t.FastMovementMode);
  EXPECT_FALSE(t.SlowMoveRegion || t.LiftOffset || t.TurnOverAnimationLift);
  // Opened again: "No Flip" with the parked speed; "Horizontal Flip" brings the speed back.
  WhenModal([&shown](QWidget* w) {
    auto* form = qobject_cast<TForm2*>(w);
    shown = form->Result();
    form->RadioItems->button(fmHorizontal)->click();
    form->OkButton->click();
  });
  f.SetCardSpeed1Click();
  EXPECT_EQ(shown.FlipMode, fmNoFlip);
  EXPECT_EQ(shown.TurnSpeed, 7);
  EXPECT_EQ(t.TurnOverAnimationSpeed(), 7);
  EXPECT_FALSE(t.TurnOverAnimationVertical);
}
