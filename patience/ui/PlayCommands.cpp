// The main window's play commands: the items of the " Game " menu, the game toolbar, the Redeal
// button on the table, and the engine host calls that enable, show and place them.

#include <QLabel>
#include <QToolButton>

#include "cardtable/CardTable.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"

namespace {

constexpr int kRedealButtonSize = 50;
constexpr int kRedealGlyphSize = 32;

}  // namespace

// -----------------------------------------------------------------------------------------------
// Building

void TForm1::BuildPlayMenus() {
  NewGame1 = Game1->Add("NewGame1", "New Game");
  NewGame1->SetImageIndex(tiNewGame);
  NewGame1->OnClick = [this](TMenuItem&) { NewExecute(); };
  Redealwastepile1 = Game1->Add("Redealwastepile1", "Redeal wastepile");
  Redealwastepile1->SetImageIndex(tiRedeal);
  Redealwastepile1->OnClick = [this](TMenuItem&) { ReDealWastepileExecute(); };
  Game1->Add("N3", "-");
  Undo1 = Game1->Add("Undo1", "Undo");
  Undo1->SetImageIndex(tiUndo);
  Undo1->OnClick = [this](TMenuItem&) { ToolButton90Click(); };
  Redo1 = Game1->Add("Redo1", "Redo");
  Redo1->SetImageIndex(tiRedo);
  Redo1->OnClick = [this](TMenuItem&) { ToolButton110Click(); };
  Game1->Add("N4", "-");
  // Nothing to play before a game is dealt.
  for (TMenuItem* item : {NewGame1, Redealwastepile1, Undo1, Redo1}) item->SetEnabled(false);
}

void TForm1::BuildGameToolBar() {
  ToolBar = new TToolBarWidget(this);
  const TImageList& images = ToolbarImages();
  NewGame = ToolBar->AddButton("NewGame", images, tiNewGame, "New Game");
  ToolBar->AddSeparator();
  ToolButton9 = ToolBar->AddButton("ToolButton9", images, tiUndo, "Undo");
  ToolButton11 = ToolBar->AddButton("ToolButton11", images, tiRedo, "Redo");
  ToolBar->AddSeparator();
  ToolButton14 = ToolBar->AddButton("ToolButton14", images, tiInfo, "Info");
  ToolBar->AddSeparator();
  ToolButton16 = ToolBar->AddButton("ToolButton16", images, tiAutoMoveOff, "Auto Move Toggle");
  ToolBar->AddSeparator();
  BuildOptionButtons();
  ToolBar->AddSeparator();
  FoundationLabel = new QLabel(ToolBar);
  FoundationLabel->setObjectName(QStringLiteral("FoundationLabel"));
  PointsLabel = new QLabel(QStringLiteral("  Points = 0  "), ToolBar);
  PointsLabel->setObjectName(QStringLiteral("PointsLabel"));
  // The two read-outs sit in sunken fields, apart from the buttons.
  for (QLabel* label : {FoundationLabel, PointsLabel}) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumHeight(22);
    label->setMargin(1);
    label->setMinimumWidth(60);
    ToolBar->AddWidget(label);
  }

  QObject::connect(NewGame, &QToolButton::clicked, this, [this] { NewExecute(); });
  QObject::connect(ToolButton9, &QToolButton::clicked, this, [this] { ToolButton90Click(); });
  QObject::connect(ToolButton11, &QToolButton::clicked, this, [this] { ToolButton110Click(); });
  QObject::connect(ToolButton16, &QToolButton::clicked, this, [this] { AutomoveToggle(); });
  QObject::connect(ToolButton14, &QToolButton::clicked, this, [this] { InfoClick(); });
  for (TToolButton* b : {NewGame, ToolButton9, ToolButton11, ToolButton14}) b->setEnabled(false);

  // The Redeal button belongs to the table's area: a child of the window laid over the table.
  ReDealButton2 = new QToolButton(this);
  ReDealButton2->setObjectName(QStringLiteral("ReDealButton2"));
  ReDealButton2->setToolTip(QStringLiteral("Redeal"));
  ReDealButton2->setFocusPolicy(Qt::NoFocus);
  ReDealButton2->setFixedSize(kRedealButtonSize, kRedealButtonSize);
  ReDealButton2->setIconSize(QSize(kRedealGlyphSize, kRedealGlyphSize));
  ReDealButton2->setIcon(QIcon(QPixmap::fromImage(ToolbarGlyph(tiRedeal, kRedealGlyphSize))));
  ReDealButton2->setEnabled(false);
  ReDealButton2->hide();
  QObject::connect(ReDealButton2, &QToolButton::clicked, this, [this] { ReDealWastepileExecute(); });
}

// -----------------------------------------------------------------------------------------------
// Commands

void TForm1::NewExecute() {
  if (Engine && ToolBarTag == 0) Engine->NewExecute();
}

void TForm1::ReDealWastepileExecute() {
  if (Engine && ToolBarTag == 0) Engine->ReDealWastepileExecute();
}

void TForm1::ToolButton90Click() {
  if (Engine && ToolBarTag == 0) Engine->Undo1Click();
}

void TForm1::ToolButton110Click() {
  if (Engine && ToolBarTag == 0) Engine->Redo1Click();
}

void TForm1::AutomoveToggle() {
  if (Engine && ToolBarTag == 0) Engine->AutomoveToggle();
}

void TForm1::AutoMoveOnClick() {
  if (Engine) Engine->AutoMoveOnClick();
}

void TForm1::AutoMoveOffClick() {
  if (Engine) Engine->AutoMoveOffClick();
}

// -----------------------------------------------------------------------------------------------
// The engine's host: command states, the Redeal button, the option, the beep

void TForm1::SetCommand(TEngineCommand command, bool enabled) {
  switch (command) {
    case TEngineCommand::MenuBar:
      ToolBar1->setEnabled(enabled);
      break;
    case TEngineCommand::NewGame:
      NewGame1->SetEnabled(enabled);
      NewGame->setEnabled(enabled);
      break;
    case TEngineCommand::Undo:
      Undo1->SetEnabled(enabled);
      ToolButton9->setEnabled(enabled);
      break;
    case TEngineCommand::Redo:
      Redo1->SetEnabled(enabled);
      ToolButton11->setEnabled(enabled);
      break;
    case TEngineCommand::Redeal:
      // The button is there only while it can be pressed.
      Redealwastepile1->SetEnabled(enabled);
      ReDealButton2->setEnabled(enabled);
      ReDealButton2->setVisible(enabled);
      if (enabled) ReDealButton2->raise();
      break;
    case TEngineCommand::SaveSet:
      SetSaveCommands(enabled);
      break;
    case TEngineCommand::Info:
      if (Info1) Info1->SetEnabled(enabled);
      ToolButton14->setEnabled(enabled);
      break;
  }
}

void TForm1::PlaceRedealButton(int left, int top) {
  FRedealPlace = TPoint(left, top - (CardTable1 ? CardTable1->Top() : 0));
  PlaceRedealOnTable();
}

void TForm1::PlaceRedealOnTable() {
  if (!ReDealButton2) return;
  const int tableTop = CardTable1 ? CardTable1->Top() : 0;
  ReDealButton2->move(FRedealPlace.X, tableTop + FRedealPlace.Y);
}

void TForm1::SetAutoMoveOption(bool on) {
  FAutoMove = on;
  SetOptionLine(0, on ? "On" : "Off");
  ToolButton16->SetImageIndex(on ? tiAutoMoveOn : tiAutoMoveOff);
  AutoMoveOnItem->SetEnabled(!on);
  AutoMoveOffItem->SetEnabled(on);
}

void TForm1::Beep() {
  ::Beep();
}
