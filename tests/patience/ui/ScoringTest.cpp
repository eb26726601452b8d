// "Scoring.dat" read and written, the "Modify Scoring System" dialog's edits and buttons, and the
// window's command that saves what the dialog returns.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "patience/files/DataFolder.h"
#include "patience/files/RecordNotice.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/Scoring.h"
#include "platform/core/Files.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/TestUtil.h"

namespace {

// A data folder of its own (the program folder, location 1) and the trace lines written.
class ScoringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().ResetForTesting();
    SetScreenSizeForTesting(TPoint(1280, 1024));
    SetProgramDirForTesting(Dir.Path());
    DataLocation = 1;
  }
  void TearDown() override {
    SetForm3RunnerForTesting({});
    Form.reset();
    DataLocation = 0;
    SetProgramDirForTesting("");
    SetScreenSizeForTesting(std::nullopt);
    Application().ResetForTesting();
  }
  std::string File() const { return Dir / "Scoring.dat"; }
  TForm1& Started() {
    Form = std::make_unique<TForm1>(QStringList{}, TForm1Options{StandardTestCardsetsDir()});
    DataLocation = 1;  // whatever the window decided, this test's folder
    Form->show();
    Form->FormActivate();
    return *Form;
  }
  TScoringTrace Tracer() {
    return [this](const std::string& l) { Traces.push_back(l); };
  }

  TTempDir Dir;
  std::vector<std::string> Traces;
  TScopedMessageHook Hook{[](const TMessageRequest&) { return mrNo; }};
  std::unique_ptr<TForm1> Form;
};

std::string Values(const TScoreValues& v) {
  return std::to_string(v.Drop) + " " + std::to_string(v.Success) + " " + std::to_string(v.Undo) + " " +
         std::to_string(v.Waste);
}

TEST_F(ScoringTest, FileIsReadWholeOrNotAtAll) {
  struct TCase {
    const char* Content;  // nullptr: no file
    const char* Values;
    int Lines;
    const char* Trace;
  };
  const TCase cases[] = {
      {nullptr, "3 3 3 3", 0, nullptr},  // the values stay
      {"2\r\n100\r\n-7\r\n-20\r\n", "2 100 -7 -20", 4, "Scoring values loaded"},
      {"2\n100\n-7\n-20", "2 100 -7 -20", 4, "Scoring values loaded"},
      {"1\r\n2\r\n3\r\n4\r\nkept\r\n", "1 2 3 4", 5, "Scoring values loaded"},
      {"1\r\n2\r\n3\r\n", "-1 50 -5 -10", 3, "Exception in reading the scoring values"},
      {"1\r\nabc\r\n3\r\n4\r\n", "-1 50 -5 -10", 4, "Exception in reading the scoring values"},
      {"1\r\n2\r\n3\r\n4.5\r\n", "-1 50 -5 -10", 4, "Exception in reading the scoring values"},
      {"1\r\n\r\n3\r\n4\r\n", "-1 50 -5 -10", 4, "Exception in reading the scoring values"},
      {"", "-1 50 -5 -10", 0, "Exception in reading the scoring values"},
      {"1\r\n2\r\n3\r\n99999999999\r\n", "-1 50 -5 -10", 4, "Exception in reading the scoring values"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Content ? c.Content : "(none)");
    DeleteFile(File());
    if (c.Content) WriteTextFile(File(), c.Content);
    TStringList list{"old"};
    TScoreValues v{3, 3, 3, 3};
    Traces.clear();
    LoadScoringValues(Dir.Path(), list, v, Tracer());
    EXPECT_EQ(Values(v), c.Values);
    EXPECT_EQ(list.Count(), c.Lines);
    if (c.Trace) {
      EXPECT_EQ(Traces.back(), c.Trace);
    } else {
      EXPECT_TRUE(Traces.empty());
    }
  }
}

TEST_F(ScoringTest, SavingWritesFourLinesAndKeepsTheRest) {
  // An empty list becomes a file of four lines.
  TStringList list;
  EXPECT_TRUE(SaveScoringValues(Dir.Path(), list, TScoreValues{0, 75, -3, 0}, Tracer()));
  EXPECT_EQ(ReadFileText(File()), "0\r\n75\r\n-3\r\n0\r\n");
  // Lines after the fourth stay; a file in another case is rewritten in place.
  DeleteFile(File());
  WriteTextFile(Dir / "SCORING.DAT", "1\r\n2\r\n3\r\n4\r\nkept\r\n");
  TScoreValues v;
  LoadScoringValues(Dir.Path(), list, v, Tracer());
  v.Success = 60;
  EXPECT_TRUE(SaveScoringValues(Dir.Path(), list, v, Tracer()));
  EXPECT_EQ(ReadFileText(Dir / "SCORING.DAT"), "1\r\n60\r\n3\r\n4\r\nkept\r\n");
  TScoreValues back;
  LoadScoringValues(Dir.Path(), list, back, Tracer());
  EXPECT_EQ(Values(back), "1 60 3 4");
  // A folder that cannot take the file: traced, and the player is told why, once.
  WriteTextFile(Dir / "plain", "a file, not a folder");
  Traces.clear();
  ResetRecordNoticesForTesting();
  std::vector<std::string> told;
  TScopedMessageHook boxes([&](const TMessageRequest& r) {
    told.push_back(r.Text);
    return mrOk;
  });
  EXPECT_FALSE(SaveScoringValues(Dir / "plain", list, v, Tracer()));
  EXPECT_FALSE(SaveScoringValues(Dir / "plain", list, v, Tracer()));
  EXPECT_EQ(Traces.front(), "Exception when saving Scoring.dat");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].rfind("The scoring values could not be saved.", 0), 0u) << told[0];
  EXPECT_NE(told[0].find("Not a directory"), std::string::npos) << told[0];
  ResetRecordNoticesForTesting();
}

TEST_F(ScoringTest, DialogShowsEditsAndRestoresWhatIsNoNumber) {
  TForm3 all0(nullptr, 0, 0, 0, 0);
  EXPECT_EQ(all0.windowTitle().toStdString(), "Modify Scoring System");
  EXPECT_EQ(all0.size(), QSize(304, 452));
  EXPECT_EQ(all0.DropEdit->text(), "-1");
  EXPECT_EQ(all0.WasteEdit->text(), "-10");

  TForm3 f(nullptr, 2, 100, -7, 0);
  EXPECT_EQ(f.DropLabel->text().toStdString() + "|" + f.SuccessLabel->text().toStdString() + "|" +
                f.UndoLabel->text().toStdString() + "|" + f.WasteLabel->text().toStdString(),
            "Drop card on tableau or cell|Drop card on foundation|Error drop|Redeal wastepile");
  EXPECT_EQ(f.WasteEdit->geometry().top(), 280);
  EXPECT_EQ(f.UndoEdit->toolTip().toStdString(), "Points for making a mistake");
  EXPECT_EQ(f.WasteEdit->text(), "0");

  f.show();
  QApplication::setActiveWindow(&f);
  struct TEdit {
    QLineEdit* Edit;
    const char* Typed;
    int* Field;
    int Expected;
  };
  const TEdit edits[] = {{f.DropEdit, "abc", &f.Drop, 2},
                         {f.SuccessEdit, "120", &f.Success, 120},
                         {f.UndoEdit, "-9x", &f.Undo, -7},
                         {f.WasteEdit, "-15", &f.Waste, -15}};
  for (const TEdit& e : edits) {
    SCOPED_TRACE(e.Typed);
    e.Edit->setFocus();
    e.Edit->selectAll();
    QTest::keyClicks(e.Edit, e.Typed);
    QTest::keyClick(e.Edit, Qt::Key_Return);  // leaves for the next edit
    EXPECT_FALSE(e.Edit->hasFocus());
    EXPECT_EQ(*e.Field, e.Expected);
    EXPECT_EQ(e.Edit->text().toInt(), e.Expected);
  }
  EXPECT_TRUE(f.isVisible());  // Enter never closed the dialog
  // Escape puts the stored value back into the focused edit.
  f.SuccessEdit->setFocus();
  f.SuccessEdit->selectAll();
  QTest::keyClicks(f.SuccessEdit, "77");
  QTest::keyClick(f.SuccessEdit, Qt::Key_Escape);
  EXPECT_EQ(f.SuccessEdit->text(), "120");
  EXPECT_TRUE(f.isVisible());
  f.Defaults->click();
  EXPECT_EQ(f.Drop, -1);
  EXPECT_EQ(f.Success, 50);
  EXPECT_EQ(f.SuccessEdit->text(), "50");
}

TEST_F(ScoringTest, CommandSavesWhatOkReturnsAndAllZeroOpensWithTheDefaults) {
  TForm1& w = Started();
  // OK with text still in the focused edit: that edit counts as left first.
  SetForm3RunnerForTesting([](TForm3& f) {
    f.DropEdit->setText("0");
    f.DropEdit->setModified(true);
    f.SuccessEdit->setText("0");
    f.SuccessEdit->setModified(true);
    f.UndoEdit->setText("0");
    f.UndoEdit->setModified(true);
    f.WasteEdit->setText("oops");
    f.WasteEdit->setModified(true);
    f.Ok->click();
    return f.result();
  });
  w.ModifyScoring1->Click();
  EXPECT_EQ(ReadFileText(File()), "0\r\n0\r\n0\r\n-10\r\n");
  EXPECT_EQ(Values(w.Engine->ScoreValues), "0 0 0 -10");
  const int before = w.Engine->Rules.Points;
  w.Sound("waste.wav", 1, 100);
  EXPECT_EQ(w.Engine->Rules.Points - before, -10);

  // Cancel changes nothing.
  SetForm3RunnerForTesting([](TForm3& f) {
    f.DropEdit->setText("5");
    f.Cancel->click();
    return f.result();
  });
  w.ModifyScoring1->Click();
  EXPECT_EQ(ReadFileText(File()), "0\r\n0\r\n0\r\n-10\r\n");

  // All four 0 saved: the dialog opens with the defaults next time.
  WriteTextFile(File(), "0\r\n0\r\n0\r\n0\r\n");
  Form.reset();
  TForm1& again = Started();
  EXPECT_EQ(Values(again.Engine->ScoreValues), "0 0 0 0");
  std::string shown;
  SetForm3RunnerForTesting([&](TForm3& f) {
    shown = f.DropEdit->text().toStdString() + " " + f.SuccessEdit->text().toStdString();
    return 2;
  });
  again.ModifyScoring1->Click();
  EXPECT_EQ(shown, "-1 50");
}

}  // namespace
