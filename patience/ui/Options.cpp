// The game's option lines ("Options.dat") and the commands that change them: read and repaired
// at the first activation and applied in a fixed order, changed at once by the option commands,
// written (with the table's "Status.Dat") only by Save Options. Closing writes nothing.
#include <QComboBox>
#include <QLabel>
#include <exception>

#include "cardtable/CardTableWidget.h"
#include "patience/files/DataFolder.h"
#include "patience/files/OptionsFile.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/core/Files.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ToolBar.h"

void TForm1::BuildOptionMenus() {
  GameLayout1 = Options1->Add("GameLayout1", "Game Layout");
  Extended1 = GameLayout1->Add("Extended1", "Extended");
  Extended1->SetImageIndex(tiExtended);
  Extended1->OnClick = [this](TMenuItem&) { Extended1Click(); };
  Compact1 = GameLayout1->Add("Compact1", "Compact");
  Compact1->SetImageIndex(tiCompact);
  Compact1->OnClick = [this](TMenuItem&) { Compact1Click(); };
  // The window starts in the Compact layout until the option lines say otherwise.
  Compact1->SetEnabled(false);

  ChooseCardScale1 = Options1->Add("ChooseCardScale1", "Choose Card Scale");
  struct TScaleItem {
    TMenuItem** Item;
    const char* Name;
    const char* Caption;
    int Step;
  };
  const TScaleItem scales[] = {{&N60Normal1, "N60Normal1", "60% Normal", -2},
                               {&N751, "N751", "80% Normal", -1},
                               {&N1001, "N1001", "Normal", 1},
                               {&N125Normal1, "N125Normal1", "125% Normal", 2},
                               {&N200Normal1, "N200Normal1", "150% Normal", 3},
                               {&N200Normal2, "N200Normal2", "200% Normal", 5}};
  for (const TScaleItem& s : scales) {
    *s.Item = ChooseCardScale1->Add(s.Name, s.Caption);
    const int step = s.Step;
    (*s.Item)->OnClick = [this, step](TMenuItem&) { SetScale(step); };
  }
  N1001->SetChecked(true);

  AnimatedRedeals1 = Options1->Add("AnimatedRedeals1", "Animated Redeals");
  On1 = AnimatedRedeals1->Add("On1", "On");
  On1->OnClick = [this](TMenuItem&) { On1Click(); };
  Off1 = AnimatedRedeals1->Add("Off1", "Off");
  Off1->OnClick = [this](TMenuItem&) { Off1Click(); };
  On1->SetChecked(true);

  ScoringandStatistics1 = Options1->Add("ScoringandStatistics1", "Scoring and Statistics");
  On3 = ScoringandStatistics1->Add("On3", "On");
  On3->OnClick = [this](TMenuItem&) { On3Click(); };
  Off3 = ScoringandStatistics1->Add("Off3", "Off");
  Off3->OnClick = [this](TMenuItem&) { Off3Click(); };
  On3->SetChecked(true);

  Options1->Add("N3", "-");
  SaveOptions1 = Options1->Add("SaveOptions1", "Save Options");
  SaveOptions1->SetImageIndex(tiSave);
  SaveOptions1->OnClick = [this](TMenuItem&) { SaveOptions1Click(); };
}

// -----------------------------------------------------------------------------------------------
// The option lines

void TForm1::SetOptionLine(int line, const std::string& value) {
  while (OptionLines.Count() <= line) OptionLines.Add(OptionDefault(OptionLines.Count(), FastMode));
  OptionLines[line] = value;
}

std::string TForm1::OptionLine(int line) const {
  return line < OptionLines.Count() ? OptionLines[line] : OptionDefault(line, FastMode);
}

void TForm1::LoadOptions() {
  const std::string folder = DataFolder();
  std::vector<int> repaired;
  const bool present = FileExists(PathJoin(folder, kOptionsFileName));
  OptionLines = LoadOptionLines(folder, FastMode, &repaired);
  if (present) ::Trace("Options loaded");
  for (int line : repaired)
    if (present)
      ::Trace(line == 0 ? "Fix for Auto Move in options applied"
                        : "Option line " + std::to_string(line) + " set to its default");
  // Favourites ("fav.dat") are read here, between the repair and the rest of the start.
}

void TForm1::ApplyOptionLines01() {
  if (OptionLine(0) == "On")
    AutoMoveOnClick();
  else
    AutoMoveOffClick();
  if (OptionLine(1) == "On")
    On2Click();
  else
    Off2Click();
}

void TForm1::LoadTableStatus() {
  if (!CardTable1) return;
  const std::string folder = DataFolder();
  if (!FileExists(CardTable1->StatusFilePath(folder))) return;
  ::Trace("Starting load status");
  // A file that cannot be read is put aside by the table, which keeps its defaults.
  CardTable1->LoadStatus(folder);
  ::Trace("CardTable status loaded");
}

void TForm1::ApplyOptionLines26() {
  // Scoring and statistics: on as the window starts, unless the line says "Off".
  if (OptionLine(2) == "Off") Off3Click();
  ApplyWinAnimOption();
  if (Engine) {
    Engine->Layout.SetConstantVariables(1.0f, 1.0f);
    Engine->UpdateCardFactors();
  }
  const bool extended = OptionLine(5) == "Extended";
  if (extended) Extended1Click();
  const int step = OptionScaleStep(OptionLines);
  if (step != 1) SetScale(step);
  if (extended && Engine) Engine->Layout.StoreConstantVariables();
  if (OptionLine(6) == "Off")
    Off1Click();
  else
    On1Click();
}

// -----------------------------------------------------------------------------------------------
// Commands

void TForm1::On1Click() {
  Off1->SetChecked(false);
  On1->SetChecked(true);
  SetOptionLine(6, "On");
}

void TForm1::Off1Click() {
  Off1->SetChecked(true);
  On1->SetChecked(false);
  SetOptionLine(6, "Off");
}

void TForm1::On3Click() {
  SetScoring(true);
}

void TForm1::Off3Click() {
  SetScoring(false);
}

void TForm1::SetScoring(bool on) {
  FScoring = on;
  PointsLabel->setEnabled(on);
  if (on)
    ShowPoints(Engine ? Engine->Rules.Points : 0);
  else
    PointsLabel->setText(QStringLiteral("  Points = 0  "));
  ToolButton1->setEnabled(on);
  On3->SetChecked(on);
  Off3->SetChecked(!on);
  Statistics1->SetEnabled(on);
  SetOptionLine(2, on ? "On" : "Off");
}

bool TForm1::AnimatedRedeals() {
  return OptionLine(6) != "Off";
}

void TForm1::SaveOptions1Click() {
  const std::string folder = DataFolder();
  if (MessageDlg("Save Options?", mtConfirmation, mbYes | mbNo) != mrYes) return;
  // Each file goes through a temporary file renamed into place: a failed write leaves the old
  // one whole. A failure is told, not passed over.
  bool saved = ForceDirectories(folder);
  if (saved && CardTable1) {
    try {
      CardTable1->SaveStatus(folder);
    } catch (const std::exception& e) {
      ::Trace(std::string("Status.Dat not saved: ") + e.what());
      saved = false;
    }
  }
  if (saved) {
    try {
      OptionLines.SaveToFile(PathJoin(folder, kOptionsFileName));
    } catch (const std::exception& e) {
      ::Trace(std::string("Options.dat not saved: ") + e.what());
      saved = false;
    }
  }
  if (!saved) MessageBox("The options could not be saved in \"" + folder + "\".", "Notification.", MB_OK);
}
