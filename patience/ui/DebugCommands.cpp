// The main window's Debug menu (Start Debug Trace, View Winning Animation) and the error report
// of a failed start-up.

#include <string>

#include "cardtable/CardTable.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"

void TForm1::BuildDebugMenu() {
  StartDebugTrace1 = Debug1->Add("StartDebugTrace1", "Start Debug Trace");
  StartDebugTrace1->SetImageIndex(tiDebug);
  StartDebugTrace1->OnClick = [this](TMenuItem&) { StartDebugTrace1Click(); };
  ViewWinningAnimation1 = Debug1->Add("ViewWinningAnimation1", "View Winning Animation");
  ViewWinningAnimation1->OnClick = [this](TMenuItem&) { ViewWinningAnimation1Click(); };
}

void TForm1::StartDebugTrace1Click() {
  if (Tracing()) return;
  if (MessageBox("Start trace in debug.dat?", "Debug Mode.", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  StartUserTrace(OptionLines);
}

void TForm1::ViewWinningAnimation1Click() {
  if (ToolBarTag != 0 || Busy()) return;
  ::Trace("Start ViewWinningAnimation1Click");
  // On an empty table: the start screen makes way for it.
  CloseStartScreen();
  if (CardTable1) CardTable1->CollectCards();
  if (Engine) {
    Engine->Rules.ClearRules(false);
    TStringList& history = Engine->HistoryList;
    while (history.Count() < 3) history.Add("");
    history[2] = "O";
    WinAnimation();
    history[2] = "0";
    Engine->Rules.GameClosed = true;
  }
  ::Trace("Exit ViewWinningAnimation1Click");
}

void TForm1::ReportStartupError(const std::string& where, const std::string& what) {
  if (!what.empty()) ::Trace(what);
  const std::string report = WriteErrorReport(where);
  MessageBox(report, "Patience Error Report.", MB_OK | MB_ICONERROR);
  StopTrace();
  Application().Terminate();
}
