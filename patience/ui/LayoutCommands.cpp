// The two game layouts and the card scale from the window: Options > Game Layout, the toolbar's
// "Game Layout Toggle" and "Scale" list, Options > Choose Card Scale, and the Extended layout
// laid out again when the window's size, the card size or the deck changes. A card size the
// layout cannot hold is refused in either layout: in Compact by the set's largest steps, in
// Extended when the game in play (or the one about to be dealt) would not fit the table, for
// Normal or, where Normal does not fit either, the largest smaller size that does.
#include <QComboBox>
#include <QTimer>

#include "cardtable/CardTableWidget.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/core/Text.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ToolBar.h"

namespace {

// The scale steps of the list's items, in order.
constexpr int kScaleSteps[] = {-2, -1, 1, 2, 3, 5};

bool SpriteShown(TCardTable* table) {
  return table && table->Sprite().Visible;
}

// Sets whose names begin with "M_" are drawn at 60 % only.
bool SmallSet(const TCardDeck& deck) {
  return deck.DeckName.rfind("M_", 0) == 0;
}

// The smallest step: 60 %.
constexpr int kSmallestStep = -2;

// The step a refused step falls back to.
int FallbackStep(const TCardDeck& deck) {
  return SmallSet(deck) ? -2 : 1;
}

// The deck's step; a deck never scaled (step 0) is at Normal.
int StepInForce(const TCardDeck& deck) {
  return deck.SizeStep == 0 ? 1 : deck.SizeStep;
}

}  // namespace

void TForm1::BuildOptionButtons() {
  ToolButton18 = ToolBar->AddButton("ToolButton18", ToolbarImages(), tiCompact, "Game Layout Toggle");
  QObject::connect(ToolButton18, &QToolButton::clicked, this, [this] { ToolButton180Click(); });
  ComboBox3 = new QComboBox(ToolBar);
  ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
  ComboBox3->setToolTip(QStringLiteral("Scale"));
  ComboBox3->setEditable(false);
  ComboBox3->setFocusPolicy(Qt::NoFocus);
  ComboBox3->addItems({"60%", "80%", "100%", "125%", "150%", "200%"});
  ComboBox3->setCurrentIndex(2);
  ComboBox3->setFixedWidth(70);
  ToolBar->AddWidget(ComboBox3);
  QObject::connect(ComboBox3, qOverload<int>(&QComboBox::activated), this,
                   [this](int i) { ComboBox30Change(i); });
}

bool TForm1::ExtendedLayout() {
  return Compact1 && Compact1->Enabled();
}

void TForm1::Extended1Click() {
  if (!Extended1->Enabled() || !CardTable1 || !Engine || SpriteShown(CardTable1.get())) return;
  ::Trace("Start Extended1Click - Switch to extended");
  Extended1->SetEnabled(false);
  Compact1->SetEnabled(true);
  SetOptionLine(5, "Extended");
  if (ToolButton18->ImageIndex() != tiExtended) ToolButton18->SetImageIndex(tiExtended);
  FitScaleToTable();
  Engine->ApplyLayout(true);
  PlaceRedealOnTable();
  ::Trace(CardTable1->Visible() ? "Exit Extended1Click - CardTable visible"
                                : "Exit Extended1Click - CardTable NOT visible");
}

void TForm1::Compact1Click() {
  if (!Compact1->Enabled() || !CardTable1 || !Engine || SpriteShown(CardTable1.get())) return;
  Compact1->SetEnabled(false);
  Extended1->SetEnabled(true);
  SetOptionLine(5, "Compact");
  if (ToolButton18->ImageIndex() != tiCompact) ToolButton18->SetImageIndex(tiCompact);
  // A step too large for the Compact layout is set back before the places are laid out.
  SetScale(CardTable1->CardDeck()->SizeStep);
  Engine->ApplyLayout(false);
  PlaceRedealOnTable();
}

void TForm1::ToolButton180Click() {
  if (ToolBarTag != 0 || CommandRunning()) return;
  if (Extended1->Enabled())
    Extended1Click();
  else
    Compact1Click();
}

void TForm1::ReapplyLayout() {
  if (!CardTable1 || !CardTable1->Visible() || !ExtendedLayout()) return;
  // A deal, a replay or a move lays cards out meanwhile: the layout follows once it has ended.
  if (Busy() || CommandRunning() || CardTable1->DisableCardClicks || SpriteShown(CardTable1.get())) {
    if (!FRelayoutPending) {
      FRelayoutPending = true;
      QTimer::singleShot(100, this, [this] {
        FRelayoutPending = false;
        ReapplyLayout();
      });
    }
    return;
  }
  Extended1->SetEnabled(true);
  Extended1Click();
}

// -----------------------------------------------------------------------------------------------
// Card scale

void TForm1::MarkScale(int Step) {
  TMenuItem* items[] = {N60Normal1, N751, N1001, N125Normal1, N200Normal1, N200Normal2};
  for (TMenuItem* item : items) item->SetChecked(false);
  for (int i = 0; i < 6; ++i) {
    if (kScaleSteps[i] != Step) continue;
    items[i]->SetChecked(true);
    const QSignalBlocker quiet(ComboBox3);
    ComboBox3->setCurrentIndex(i);
  }
}

int TForm1::RefuseScale(bool redraw) {
  MessageBox("Scale for this deck, in this layout mode, is too large - Reset", "Notification.", MB_OK);
  TCardDeck& deck = *CardTable1->CardDeck();
  const int step = FallbackStep(deck);
  if (SmallSet(deck) || deck.Scale != 1.0f) {
    deck.SetSizeStep(step);
    Engine->UpdateCardFactors();
    if (redraw) CardTable1->RefreshBackground();
  }
  return step;
}

bool TForm1::FitScaleToTable() {
  const TCardDeck& deck = *CardTable1->CardDeck();
  if (!CardTable1->Visible() || StepInForce(deck) <= kSmallestStep || Engine->DealtGameFits()) return false;
  return ReduceScaleToFit([this] { return Engine->DealtGameFits(); });
}

// The game in play, or the one about to be dealt, does not fit at the step in force: the Compact
// layout's message, then the fallback step, or the largest smaller one at which fits() finds the
// game inside the table (no redraw: the layout or the deal follows).
bool TForm1::ReduceScaleToFit(const std::function<bool()>& fits) {
  if (!CardTable1 || !Engine) return false;
  TCardDeck& deck = *CardTable1->CardDeck();
  const int inForce = StepInForce(deck);
  if (inForce <= kSmallestStep) return false;
  ::Trace("Scale method - too large for the table - " + std::to_string(deck.SizeStep));
  MessageBox("Scale for this deck, in this layout mode, is too large - Reset", "Notification.", MB_OK);
  auto use = [&](int step) {
    deck.SetSizeStep(step);
    Engine->UpdateCardFactors();
  };
  const int step = StepThatFits(inForce, FallbackStep(deck), [&](int s) {
    use(s);
    return fits();
  });
  use(step);
  MarkScale(step);
  SetOptionLine(4, std::to_string(step));
  return true;
}

void TForm1::SetScale(int Step) {
  if (!CardTable1 || !Engine || SpriteShown(CardTable1.get()) || ToolBarTag != 0) return;
  ::Trace("Start SetScale");
  // A deck that was never scaled has step 0, the same size as Normal: it counts as Normal, so
  // switching layouts keeps the mark and writes a step the menu knows.
  if (Step == 0) Step = 1;
  TCardDeck& deck = *CardTable1->CardDeck();
  const bool compact = Extended1->Enabled();
  const bool refused = compact && ((Step > 1 && !SameText(deck.DeckName, "Standard")) || Step > 2 ||
                                   (Step > -2 && SmallSet(deck)));
  if (refused) {
    ::Trace("Scale method - invalid compact - " + std::to_string(Step));
    Step = RefuseScale(true);
  } else {
    ::Trace("Scale method - " + std::to_string(Step));
    deck.SetSizeStep(Step);
    Engine->UpdateCardFactors();
    if (!compact) {
      // The Extended layout grows with the cards: a step at which the game in play does not fit
      // the table is refused as well.
      if (FitScaleToTable()) Step = StepInForce(deck);
      Extended1->SetEnabled(true);
      Extended1Click();
    } else {
      CardTable1->RefreshBackground();
    }
  }
  MarkScale(Step);
  SetOptionLine(4, std::to_string(Step));
  ::Trace("Exit SetScale");
}

void TForm1::ComboBox30Change(int index) {
  if (ToolBarTag != 0 || CommandRunning() || index < 0 || index >= 6) {
    // Not now: the list goes back to the step in force.
    if (CardTable1) MarkScale(StepInForce(*CardTable1->CardDeck()));
    return;
  }
  ComboBox3->setEnabled(false);
  SetScale(kScaleSteps[index]);
  ComboBox3->setEnabled(true);
}
