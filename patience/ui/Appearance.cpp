// The table appearance commands of the main window: card set and back, background colour, picture
// and gradient, the card shadow, the drop shade and the drop point mode. Each command sets the card
// table's properties and keeps the check marks of its group; the table's state file carries the
// settings (Save Options), and the marks are re-derived from a loaded table by SetTableMenuChecks.

#include "patience/ui/Appearance.h"

#include <QColorDialog>
#include <exception>

#include "cardtable/CardTableWidget.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"
#include "platform/graphics/Canvas.h"
#include "platform/ui/Dialogs.h"

namespace {

using enum TFillDirection;
using enum TGradientStyle;

constexpr TGradientPreset Bands(int tag, const char* name, const char* caption, uint8_t r, uint8_t g,
                                uint8_t b, TFillDirection d, bool changeR, bool changeG, bool changeB) {
  return {tag, name, caption, false, r, g, b, d, changeR, changeG, changeB, 0, 0, gsHorizontal};
}
constexpr TGradientPreset TwoColours(int tag, const char* name, const char* caption, TColor from, TColor to,
                                     TGradientStyle type) {
  return {tag, name, caption, true, 0, 0, 0, drLeftRight, true, true, true, from, to, type};
}

// A command that stops at an error tells the player, as every command of the window does.
void Notify(const std::exception& e) {
  Trace(std::string("Appearance command failed: ") + e.what());
  MessageBox(e.what(), "Notification.", MB_OK);
}

// Checks the item and unchecks the others of its group.
void CheckOnly(TMenuItem* item, std::initializer_list<TMenuItem*> group) {
  for (TMenuItem* i : group)
    if (i && i != item) i->SetChecked(false);
  if (item) item->SetChecked(true);
}

}  // namespace

const std::array<TGradientPreset, 15>& GradientPresets() {
  static const std::array<TGradientPreset, 15> presets = {
      Bands(1, "Mode11", "Mode 1", 0, 150, 0, drDownUp, false, false, true),
      Bands(2, "Mode21", "Mode 2", 100, 0, 200, drDownUp, false, true, false),
      Bands(3, "Mode31", "Mode 3", 0, 150, 0, drDownUp, true, false, false),
      Bands(4, "Mode41", "Mode 4", 200, 80, 80, drDownUp, false, true, false),
      Bands(5, "Mode51", "Mode 5", 0, 150, 0, drRightLeft, true, false, true),
      Bands(6, "Mode61", "Mode 6", 180, 180, 0, drDownUp, false, false, true),
      TwoColours(7, "ttt1", "Moon River", 0x64FFFF, 0x000000, gsDiagonalLeftRight),
      TwoColours(8, "Mode81", "Way up High", 0xFFFFFF, 0xFF6432, gsDiagonalRightLeft),
      TwoColours(9, "tt1", "Glenfiddich", 0x008CE1, 0x00141E, gsVertical),
      TwoColours(10, "Mode71", "Pretty in Pink", 0xE6E6F5, 0x5A5AFA, gsDiagonalRightLeft),
      TwoColours(11, "xmas1", "Card Table", 0x00C800, 0x003C00, gsDiagonalLeftRight),
      TwoColours(12, "loki1", "Callow Fellow", 0x50DCFF, 0x146482, gsVertical),
      TwoColours(13, "Dreamer1", "Dreamer", 0xB4DCFF, 0x145082, gsVertical),
      TwoColours(14, "MrBlue1", "Mr Blue", 0xF0783C, 0x5A1E1E, gsDiagonalLeftRight),
      TwoColours(15, "satan1", "Rosebud", 0x0A50E6, 0x000032, gsDiagonalLeftRight),
  };
  return presets;
}

const std::array<int, 16>& GradientMenuOrder() {
  static const std::array<int, 16> order = {1, 2, 3, 4, 5, 6, 0, 12, 11, 13, 9, 7, 14, 10, 15, 8};
  return order;
}

void ApplyGradientPreset(TBackdrop& backdrop, const TGradientPreset& p) {
  if (!backdrop.Enabled()) backdrop.SetEnabled(true);
  if (p.NewMode) {
    backdrop.SetNewColorFrom(p.From);
    backdrop.SetNewColorTo(p.To);
    backdrop.SetNewType(p.Type);
    if (!backdrop.NewMode()) backdrop.SetNewMode(true);
  } else {
    backdrop.SetStartB(p.StartB);
    backdrop.SetStartG(p.StartG);
    backdrop.SetStartR(p.StartR);
    backdrop.SetDirection(p.Direction);
    backdrop.SetChangeBColour(p.ChangeB);
    backdrop.SetChangeGColour(p.ChangeG);
    backdrop.SetChangeRColour(p.ChangeR);
    if (backdrop.NewMode()) backdrop.SetNewMode(false);
  }
}

const std::array<TDragShadeColour, 7>& DragShadeColours() {
  static const std::array<TDragShadeColour, 7> colours = {{{0, "Grey1", "Grey"},
                                                           {1, "Red1", "Red"},
                                                           {2, "Red2", "Green"},
                                                           {3, "Blue1", "Blue"},
                                                           {4, "Yellow1", "Yellow"},
                                                           {5, "Pin1", "Pink"},
                                                           {6, "urquoise1", "Turquoise"}}};
  return colours;
}

// -----------------------------------------------------------------------------------------------
// The menus

void TForm1::BuildAppearanceMenus() {
  auto command = [](TMenuItem* parent, const char* name, const char* caption, auto&& handler) {
    TMenuItem* item = parent->Add(name, caption);
    item->OnClick = [handler](TMenuItem&) { handler(); };
    return item;
  };
  Options1->Add("N20", "-");
  ChooseDeck1 = command(Options1, "ChooseDeck1", "Choose Card Deck", [this] { ChooseDeck1Click(); });
  ChooseDeck1->SetImageIndex(tiCards);
  ChooseBack1 = command(Options1, "ChooseBack1", "Choose Card Back", [this] { ChooseBack1Click(); });
  SetCardSpeed1 = command(Options1, "SetCardSpeed1", "Card Movement Mode", [this] { SetCardSpeed1Click(); });
  Options1->Add("N21", "-");

  BackgroundColour1 =
      command(Options1, "BackgroundColour1", "Background Colour", [this] { BackgroundColour1Click(); });
  BackgroundPicture1 =
      command(Options1, "BackgroundPicture1", "Background Picture", [this] { BackgroundPicture1Click(); });
  PictureMode1 = Options1->Add("PictureMode1", "Background Picture Mode");
  StretchPicture1 = command(PictureMode1, "StretchPicture1", "Stretch", [this] { StretchPicture1Click(); });
  TilePicture1 = command(PictureMode1, "TilePicture1", "Tile", [this] { TilePicture1Click(); });
  BackgroundGradient1 = Options1->Add("BackgroundGradient1", "Background Gradient");
  for (int tag : GradientMenuOrder()) {
    if (tag == 0) {
      BackgroundGradient1->Add("N22", "-");
      continue;
    }
    const TGradientPreset& p = GradientPresets()[size_t(tag - 1)];
    GradientItems[size_t(tag)] =
        command(BackgroundGradient1, p.Name, p.Caption, [this, tag] { GradientPresetClick(tag); });
  }
  Options1->Add("N23", "-");

  CardShadowMode1 = Options1->Add("CardShadowMode1", "Card Shadow Mode");
  DottedType1 = command(CardShadowMode1, "DottedType1", "Dotted Type", [this] { DottedType1Click(); });
  TMenuItem* shaded = CardShadowMode1->Add("ShadedType1", "Shaded Type");
  Soft1 = command(shaded, "Soft1", "Soft", [this] { Soft1Click(); });
  Hard1 = command(shaded, "Hard1", "Hard", [this] { Hard1Click(); });

  CardDropShadeMode1 = Options1->Add("CardDropShadeMode1", "Card Drop Shade Mode");
  DottedType2 = command(CardDropShadeMode1, "DottedType2", "Dotted Type", [this] { DottedType2Click(); });
  TMenuItem* shadeColours = CardDropShadeMode1->Add("ShadedType2", "Shaded Type");
  for (const TDragShadeColour& c : DragShadeColours()) {
    const int colour = c.Colour;
    DragShadeItems[size_t(colour)] =
        command(shadeColours, c.Name, c.Caption, [this, colour] { DragShadeColourClick(colour); });
  }
  shadeColours->Add("N24", "-");
  None2 = command(shadeColours, "None2", "None", [this] { None2Click(); });

  DropPointMode1 = Options1->Add("DropPointMode1", "Drop Point Mode");
  CardBased1 = command(DropPointMode1, "CardBased1", "Card Based", [this] { CardBased1Click(); });
  MouseBased1 = command(DropPointMode1, "MouseBased1", "Mouse Based", [this] { MouseBased1Click(); });
  FastCardBased1 =
      command(DropPointMode1, "FastCardBased1", "Fast Card Based", [this] { FastCardBased1Click(); });

  // The marks of a new table; the first activation derives them again from the loaded one.
  TilePicture1->SetChecked(true);
  Soft1->SetChecked(true);
  DragShadeItems[1]->SetChecked(true);
  CardBased1->SetChecked(true);
}

// -----------------------------------------------------------------------------------------------
// Card set and back

void TForm1::ChooseBack1Click() {
  if (!CardTable1) return;
  try {
    CardTable1->CardDeck()->ChooseCardBack();
    CardTable1->RefreshBackground();
  } catch (const std::exception& e) {
    Notify(e);
  }
}

void TForm1::ChooseDeck1Click() {
  if (!CardTable1 || CardTable1->Sprite().Visible) return;
  TCardTable& t = *CardTable1;
  TCardDeck& d = *t.CardDeck();
  // No input reaches the table while the set changes, whatever happens.
  struct TDisabled {
    TCardTable& Table;
    QWidget* View;
    explicit TDisabled(TCardTable& table, QWidget* view) : Table(table), View(view) {
      Table.Enabled = false;
      if (View) View->setEnabled(false);
    }
    ~TDisabled() {
      Table.Enabled = true;
      if (View) View->setEnabled(true);
    }
  } disabled(t, CardTable1View);
  try {
    const std::string old = d.DeckName;
    d.ChooseDeck();
    const bool compact = !ExtendedLayout();
    const bool standard = SameText(d.DeckName, "Standard");
    if (d.SizeStep >= -1 && d.DeckName.rfind("M_", 0) == 0 && compact && !standard) {
      MessageBox("Scale for this deck, in this layout mode, is toolarge - Reset", "Notification.", MB_OK);
      d.SetDeckName(old);
    }
    if (d.Scale > 1.0f && compact && !SameText(d.DeckName, "Standard")) {
      MessageBox("Scale for this deck, in this layout mode, is too large - Reset", "Notification.", MB_OK);
      SetScale(1);
    }
    if (Engine) Engine->UpdateCardFactors();
    if (!compact) {
      Extended1->SetEnabled(true);
      Extended1Click();
    } else {
      t.RefreshBackground();
    }
  } catch (const std::exception& e) {
    Notify(e);
    t.RefreshBackground();
  }
}

// -----------------------------------------------------------------------------------------------
// Background

void TForm1::BackgroundColour1Click() {
  if (!CardTable1) return;
  TCardTable& t = *CardTable1;
  QColorDialog dialog(ToQColor(t.Color()), nullptr);
  dialog.setOption(QColorDialog::DontUseNativeDialog, true);
  if (dialog.exec() != QDialog::Accepted) return;
  const QColor c = dialog.selectedColor();
  if (!c.isValid()) return;
  if (t.BackDrop().Enabled()) {
    t.BackDrop().SetEnabled(false);
    t.Tag = 0;
    ClearGradChecks();
  }
  t.SetColor(RGB(c.red(), c.green(), c.blue()));
}

void TForm1::BackgroundPicture1Click() {
  if (!CardTable1) return;
  TCardTable& t = *CardTable1;
  t.ChooseBackgroundPicture(ResolvePath(PathJoin(t.ProgramDir, "Textures")));
  if (t.BackgroundPicture() != "None") {
    ClearGradChecks();
    t.Tag = 0;
  }
}

void TForm1::StretchPicture1Click() {
  if (!CardTable1) return;
  CardTable1->SetStretchBackground(true);
  CheckOnly(StretchPicture1, {TilePicture1});
}

void TForm1::TilePicture1Click() {
  if (!CardTable1) return;
  CardTable1->SetStretchBackground(false);
  CheckOnly(TilePicture1, {StretchPicture1});
}

void TForm1::GradientPresetClick(int Tag) {
  if (!CardTable1 || Tag < 1 || Tag > int(GradientPresets().size())) return;
  ApplyGradientPreset(CardTable1->BackDrop(), GradientPresets()[size_t(Tag - 1)]);
  CardTable1->Tag = Tag;
  ClearGradChecks();
  SetGradChecks();
}

void TForm1::ClearGradChecks() {
  for (TMenuItem* item : GradientItems)
    if (item) item->SetChecked(false);
}

void TForm1::SetGradChecks() {
  if (!CardTable1) return;
  const int tag = CardTable1->Tag;
  if (tag >= 1 && tag < int(GradientItems.size()) && GradientItems[size_t(tag)])
    GradientItems[size_t(tag)]->SetChecked(true);
}

// -----------------------------------------------------------------------------------------------
// Card shadow, drop shade and drop points

void TForm1::DottedType1Click() {
  if (!CardTable1) return;
  CardTable1->ShadowMode = smOriginal;
  CheckOnly(DottedType1, {Hard1, Soft1});
}

void TForm1::Soft1Click() {
  if (!CardTable1) return;
  CardTable1->ShadowMode = smDarken;
  CardTable1->SoftShadow = true;
  CheckOnly(Soft1, {DottedType1, Hard1});
}

void TForm1::Hard1Click() {
  if (!CardTable1) return;
  CardTable1->ShadowMode = smDarken;
  CardTable1->SoftShadow = false;
  CheckOnly(Hard1, {DottedType1, Soft1});
}

void TForm1::DottedType2Click() {
  if (!CardTable1) return;
  None2->SetChecked(false);
  DottedType2->SetChecked(true);
  ClearDragShadeChecks();
  CardTable1->HQDragShade = false;
}

void TForm1::None2Click() {
  if (!CardTable1) return;
  None2->SetChecked(true);
  DottedType2->SetChecked(false);
  ClearDragShadeChecks();
  CardTable1->HQDragShade = true;
  CardTable1->SetHQDragShadeColour(7);
}

void TForm1::DragShadeColourClick(int Colour) {
  if (!CardTable1 || Colour < 0 || Colour >= int(DragShadeItems.size())) return;
  None2->SetChecked(false);
  DottedType2->SetChecked(false);
  ClearDragShadeChecks();
  DragShadeItems[size_t(Colour)]->SetChecked(true);
  CardTable1->HQDragShade = true;
  CardTable1->SetHQDragShadeColour(Colour);
}

void TForm1::ClearDragShadeChecks() {
  for (TMenuItem* item : DragShadeItems)
    if (item) item->SetChecked(false);
}

void TForm1::CardBased1Click() {
  if (!CardTable1) return;
  CardTable1->SetAutoShadeMode(3);
  CheckOnly(CardBased1, {MouseBased1, FastCardBased1});
}

void TForm1::MouseBased1Click() {
  if (!CardTable1) return;
  CardTable1->SetAutoShadeMode(2);
  CheckOnly(MouseBased1, {CardBased1, FastCardBased1});
}

void TForm1::FastCardBased1Click() {
  if (!CardTable1) return;
  CardTable1->SetAutoShadeMode(1);
  CheckOnly(FastCardBased1, {CardBased1, MouseBased1});
}

// -----------------------------------------------------------------------------------------------
// The marks from a loaded table

void TForm1::SetTableMenuChecks() {
  if (!CardTable1) return;
  TCardTable& t = *CardTable1;
  switch (t.AutoShadeMode()) {
    case 1:
      FastCardBased1Click();
      break;
    case 2:
      MouseBased1Click();
      break;
    default:
      CardBased1Click();
      break;
  }
  StretchPicture1->SetChecked(t.StretchBackground());
  TilePicture1->SetChecked(!t.StretchBackground());
  ClearGradChecks();
  if (t.BackDrop().Enabled())
    SetGradChecks();
  else
    t.Tag = 0;
  if (t.ShadowMode == smOriginal)
    DottedType1Click();
  else if (t.SoftShadow)
    Soft1Click();
  else
    Hard1Click();
  if (!t.HQDragShade)
    DottedType2Click();
  else if (t.HQDragShadeColour() == 7)
    None2Click();
  else
    DragShadeColourClick(t.HQDragShadeColour());
}
