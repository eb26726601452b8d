// The Help menu: the help file's contents (F1), the rules page of the game in play (F2) and the
// update check (UpdateCheck.cpp). The two help commands go through the program's help manager,
// which reads the help file's name at the moment of each request; the window tells it the file
// once, at creation.

#include "patience/catalogue/RulesPage.h"
#include "patience/files/DataFolder.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/StartScreen.h"
#include "patience/ui/ToolbarImages.h"
#include "patience/ui/UpdateCheck.h"
#include "platform/core/Files.h"
#include "platform/help/HelpViewer.h"

void TForm1::BuildHelpMenus() {
  HelpManager().HelpFile = PathJoin(ProgramDir(), "Patience.chm");
  HelpManager().Handle = this;
  PatienceHelp1 = Help1->Add("PatienceHelp1", "Help Contents   F1");
  PatienceHelp1->SetImageIndex(tiHelp);
  PatienceHelp1->OnClick = [this](TMenuItem&) { PatienceHelp1Click(); };
  Rules1 = Help1->Add("Rules1", "Rules   F2");
  Rules1->OnClick = [this](TMenuItem&) { RulesExecute(); };
  CheckforUpdates1 = Help1->Add("CheckforUpdates1", "Check for Updates");
  CheckforUpdates1->OnClick = [this](TMenuItem&) { CheckforUpdates1Click(); };
  Help1->Add("N20", "-");
  // The help window is a window of its own; it closes with the game's, and no update worker
  // outlives the window.
  QObject::connect(this, &QObject::destroyed, [] {
    HelpManager().ShutDown();
    StopUpdateThread();
  });
}

void TForm1::CheckforUpdates1Click() {
  ::Trace("Start CheckforUpdates");
  // The check lets the window's events through while it waits: no second check meanwhile.
  CheckforUpdates1->SetEnabled(false);
  RunUpdateCheck(this, DataFolder(), ProgramId);
  CheckforUpdates1->SetEnabled(true);
  ::Trace("Exit CheckforUpdates");
}

void TForm1::PatienceHelp1Click() {
  HelpManager().HelpContents();
}

void TForm1::RulesExecute() {
  // Like the other game commands, it waits while a command of the game runs.
  if (ToolBarTag != 0 || !Engine) return;
  const std::string& code = Engine->Rules.HelpCode;
  if (StartScreen && StartScreen->Showing()) {
    // The selected row's game, loaded quietly (its help code; no game becomes current).
    if (StartScreen->Row() <= 0) return;
    StartScreen->QuietLoad(StartScreen->Row());
  } else if (Engine->Rules.GameName.empty()) {
    return;
  }
  if (code.empty()) return;
  ::Trace("Rules " + code);
  HelpManager().HelpJump(RulesTopic(code));
}
