#include "cardtable/CardBackForm.h"

#include <QApplication>
#include <QShowEvent>

#include "cardtable/CardTableWidget.h"
#include "cardtable/VistaFuncs.h"
#include "platform/core/Files.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr TColor kGridColour = clSilver;
constexpr int kCellMargin = 8;
constexpr int kBackCells = 9;

}  // namespace

TCardBackForm::TCardBackForm(QWidget* owner, const std::string& cardsetsPath)
    : QDialog(owner), FCardsetsPath(cardsetsPath) {
  setWindowTitle(QStringLiteral("Card Back Selector."));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint);
  ApplySystemUiFont(this);
  QPalette p = palette();
  p.setColor(QPalette::Window,
             QColor(GetRValue(kGridColour), GetGValue(kGridColour), GetBValue(kGridColour)));
  setPalette(p);
  setAutoFillBackground(true);
  setFixedSize(193, 147);
}

TCardBackForm::~TCardBackForm() {
  // The table draws through its widget: it goes first.
  FTable.reset();
}

void TCardBackForm::PrepareBacks(const std::string& deckName, const std::string& userCardsetsDir) {
  // The dialog's own table reads the same card sets folder as the caller's deck (no search).
  FTable.reset();
  delete FView;
  FView = new TCardTableWidget(this);
  FTable = std::make_unique<TCardTable>(FView, FCardsetsPath);
  TCardTable& t = *FTable;
  t.SetVisible(false);
  TCardDeck& d = *t.CardDeck();
  if (!userCardsetsDir.empty()) d.SetUserCardsetsDir(userCardsetsDir);
  d.SetDeckName(deckName);

  t.SetColor(kGridColour);
  t.OnCardClickEvent = [this](TCard* card, TMouseButton) { CardClicked(card); };
  const int w = 3 * d.CardWidth + 10, h = 3 * d.CardHeight + 24;
  t.ApplyBounds(0, 0, w, h);
  t.SetColor(kGridColour);
  t.SetMinWidth(0);
  t.SetMinHeight(0);
  setFixedSize(w, h);

  // Cell b shows back b: the deck falls back to back 1 when the set has no picture b, and then
  // the cell stays empty. Each back is drawn while it is the deck's current one; the buffer keeps
  // it (nothing redraws the grid afterwards).
  int b = 1;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      if (TCard* card = d.NextCard()) {
        // The cell's card answers its back number: PointValue + 10 * suit = b.
        card->Value = TCardValue(b - 1);
        card->Suit = csClub;
        if (d.CardBack == b) {
          card->FaceUp = false;
          t.AddCard(card, c * d.CardWidth + kCellMargin, r * d.CardHeight + kCellMargin, 0);
        }
      }
      if (b < kBackCells) d.SetCardBack(++b);
    }
}

void TCardBackForm::CardClicked(TCard* card) {
  if (!card) return;
  done(card->PointValue() + 10 * int(card->Suit));
}

void TCardBackForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (FTable) FTable->ShowTable();
}

// -----------------------------------------------------------------------------------------------
// The deck's chooser

void TCardDeck::ChooseCardBack() {
  const bool inSets = DirectoryExists(PathJoin(CardsetsDir, DeckName));
  const bool inUser = !UserCardsetsDir.empty() && DirectoryExists(PathJoin(UserCardsetsDir, DeckName));
  if (!inSets && !inUser) {
    Beep();
    return;
  }
  TCardBackForm form(QApplication::activeWindow(), CardsetsDir);
  form.PrepareBacks(DeckName, UserCardsetsDir);
  const int back = form.exec();
  // Closed without a click: no back was chosen.
  if (back >= 1) SetCardBack(back);
}
