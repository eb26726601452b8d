// The main window's side of the start screen and the information overlay: the commands Start
// Screen (F12), Reset and Info, the quiet load of a game item, the game's preview picture, and
// what the window shows under pictures drawn over it.

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

#include "cardtable/CardTable.h"
#include "patience/catalogue/GameStart.h"
#include "patience/engine/InfoLines.h"
#include "patience/files/DataFolder.h"
#include "patience/files/Statistics.h"
#include "patience/files/Trace.h"
#include "patience/ui/Flourish.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/StartScreen.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"

namespace {

// The overlay's picture when "info.bmp" is missing or damaged: a plain light panel.
constexpr int kPlainInfoWidth = 320, kPlainInfoHeight = 440;

}  // namespace

void TForm1::BuildStartScreenMenus() {
  BackToStart1 = Game1->Insert(Game1->IndexOf(FullScreenF111), "BackToStart1", "Start Screen   F12");
  BackToStart1->SetImageIndex(tiStartScreen);
  BackToStart1->OnClick = [this](TMenuItem&) { BackToStart1Click(); };
  BackToStart1->SetEnabled(false);
  Info1 = Game1->Insert(Game1->IndexOf(FullScreenF111), "Info1", "Info");
  Info1->SetImageIndex(tiInfo);
  Info1->OnClick = [this](TMenuItem&) { InfoClick(); };
  Info1->SetEnabled(false);
  Reset1 = Statistics1->Add("Reset1", "Reset");
  Reset1->OnClick = [this](TMenuItem&) { Reset1Click(); };
}

void TForm1::QuietLoadGame(const std::string& caption) {
  // Only the game's name, help code and picture: nothing is dealt.
  const auto game = CatalogueGame(caption);
  if (!game || !Engine) return;
  Engine->Rules.GameName = caption;
  Engine->Rules.HelpCode = game->Definition().HelpCode;
  Engine->Rules.GamePicture = game->Definition().Picture;
  ShowGamePicture(Engine->Rules.GamePicture);
}

void TForm1::ShowGamePicture(int picture) {
  if (StartScreen) StartScreen->ShowPicture(picture);
}

void TForm1::StopEffects() {
  if (flourish) flourish->Stop();
  if (StartScreen) StartScreen->StartPicture.Stop();
}

TBitmap TForm1::WindowCanvas(const TRect& r) {
  TBitmap out;
  out.SetSize(std::max(r.Width(), 1), std::max(r.Height(), 1));
  const QColor window = palette().color(QPalette::Window);
  FillRect(out, TRect(0, 0, out.Width(), out.Height()),
           TColor(window.red() | window.green() << 8 | window.blue() << 16));
  if (!BackdropFile.empty()) {
    try {
      Backdrop.CopyTo(out, r, size());
    } catch (const std::exception& e) {
      BackdropFailed(e);
    }
  }
  return out;
}

void TForm1::BackToStart1Click() {
  if (!BackToStart1 || !BackToStart1->Enabled() || !StartScreen || Busy() || ToolBarTag != 0) return;
  if (MessageDlg("Return to the Start Screen?", mtConfirmation, mbYes | mbNo) != mrYes) return;
  // A sparkle still running ends (the table shows plain again), and sparkles stay on.
  if (flourish && flourish->Running) {
    flourish->SetEnabled(false);
    flourish->SetEnabled(true);
  }
  if (CardTable1 && CardTable1->TableArea(1)->Visible) OnAreaClick();
  if (Engine) {
    TGameRules& r = Engine->Rules;
    if (!r.GameClosed && PointsLabel->isEnabled()) RecordGame(r.GameName, r.SaveName, r.Points, false);
    r.GameClosed = true;
    r.GameName.clear();
    r.LastGameName.clear();
  }
  SetCaption("Patience.");
  StartScreen->ViewStartScreen();
}

void TForm1::Reset1Click() {
  if (CommandRunning()) return;
  PlaySound("scream_x.wav", 1, 100);
  if (MessageDlg("Reset Statistics & High Scores for ALL games?", mtConfirmation, mbYes | mbNo) != mrYes)
    return;
  const std::string folder = StatisticsFolder(DataFolder());
  for (const std::string& name : ListFiles(folder)) {
    std::string ext = ExtractFileExt(name);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".dat") DeleteFile(PathJoin(folder, name));
  }
  if (StartScreen && StartScreen->Showing()) StartScreen->Rebuild();
}

// -----------------------------------------------------------------------------------------------
// The information overlay

void TForm1::InfoClick() {
  if (!CardTable1 || !Engine) return;
  TTableArea& area = *CardTable1->TableArea(1);
  if (area.Visible) {
    OnAreaClick();
    return;
  }
  if (ToolBarTag != 0 || Busy() || !CardTable1->Visible() || (flourish && flourish->Running)) return;
  ToolBar1->setEnabled(false);
  // The scale list too: it could be opened and show a step that is not taken.
  if (ComboBox3) ComboBox3->setEnabled(false);
  ToolBarTag = 1;
  try {
    TBitmap& picture = area.Image.Picture;
    const std::string file = PathJoin(CardTable1->ProgramDir, "info.bmp");
    try {
      if (!FileExists(file)) throw EFileError("info.bmp is missing");
      LoadBmpFile(ResolvePath(file), picture);
    } catch (const std::exception& e) {
      // Drawn plain: a light panel with a frame.
      ::Trace(std::string("info.bmp not shown: ") + e.what());
      picture.SetSize(kPlainInfoWidth, kPlainInfoHeight);
      FillRect(picture, TRect(0, 0, kPlainInfoWidth, kPlainInfoHeight), 0xDEF0F6);
      FrameRect(picture, TRect(0, 0, kPlainInfoWidth, kPlainInfoHeight), clBlack);
    }
    area.Width = picture.Width();
    area.Height = picture.Height();

    ::Trace("Start InfoClick");
    const std::vector<std::string> lines = InfoLines(*Engine);
    TCanvas canvas(picture);
    canvas.Font.Size = 10;
    canvas.Font.Color = clBlack;
    canvas.Brush.Style = TBrushStyle::bsClear;
    const QFontMetrics metrics(canvas.Font.ToQFont());
    const int lineHeight = metrics.height() + metrics.leading() + 5;
    const int right = area.Width - 5;
    for (size_t i = 0; i < lines.size(); ++i) {
      const int top = 260 + int(i) * lineHeight;
      if (i == 2 || i == 4) {
        const int x = 5 + std::max(0, (right - 5 - canvas.TextWidth(lines[i])) / 2);
        canvas.TextRect(TRect(5, top, right, top + lineHeight), x, top, lines[i]);
      } else {
        canvas.TextRect(TRect(22, top, right, top + lineHeight), 22, top, lines[i]);
      }
    }
    ::Trace("Exit InfoClick");

    area.X = width() / 2 - area.Width / 2;
    area.Y = 100;
    area.Kind = 9;
    area.Image.Visible = true;
    area.Show();
    CardTable1->DisableCardClicks = true;
    CardTable1->Invalidate();
    area.OnClick = [this](int, int, TMouseButton) { OnAreaClick(); };
  } catch (const std::exception& e) {
    ::Trace(std::string("Exception in InfoClick: ") + e.what());
    OnAreaClick();
  }
}

void TForm1::OnAreaClick() {
  if (!CardTable1) return;
  TTableArea& area = *CardTable1->TableArea(1);
  area.Hide();
  area.OnClick = nullptr;
  CardTable1->Invalidate();
  CardTable1->DisableCardClicks = false;
  ToolBarTag = 0;
  ToolBar1->setEnabled(true);
  if (ComboBox3) ComboBox3->setEnabled(true);
}
