#pragma once
// TCardBackForm "Card Back Selector.": the nine possible backs of a card set on a card table of
// the dialog's own, three rows of three; a click on a back closes the dialog with that back's
// number (1..9). Closed any other way (Escape, the window's close button) it answers 0, and the
// caller changes nothing.
//
//   TCardBackForm form(owner, deck.CardsetsDir);
//   form.PrepareBacks(deck.DeckName, deck.UserCardsetsDir);
//   if (const int back = form.exec(); back >= 1) deck.SetCardBack(back);

#include <QDialog>
#include <memory>
#include <string>

#include "cardtable/CardTable.h"

class TCardTableWidget;

class TCardBackForm : public QDialog {
  Q_OBJECT
 public:
  // cardsetsPath: the card sets folder the backs are read from.
  TCardBackForm(QWidget* owner, const std::string& cardsetsPath);
  ~TCardBackForm() override;

  // Builds the grid: cell b (left to right, top to bottom) shows back b of the set, or stays
  // empty when the set has no picture for it. The dialog takes the grid's size.
  void PrepareBacks(const std::string& deckName, const std::string& userCardsetsDir);
  // The table's card event: closes the dialog with the clicked cell's back number.
  void CardClicked(TCard* card);

  // The grid's table (nullptr before PrepareBacks).
  TCardTable* Table() const { return FTable.get(); }

 protected:
  // The table is shown when the dialog first shows.
  void showEvent(QShowEvent* event) override;

 private:
  std::string FCardsetsPath;
  TCardTableWidget* FView = nullptr;
  std::unique_ptr<TCardTable> FTable;
};
