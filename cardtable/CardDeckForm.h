#pragma once
// TCardDeckForm "Card Deck Selector.": the card sets of the card sets folder and of the user's card
// sets folder in one sorted list, beside a preview table that shows the six and the king of spades
// of the selected set. "OK" (or Enter in the list) answers 1; "Cancel", Escape and the window's
// close button answer 0, and the caller keeps its set.
//
//   TCardDeckForm form(owner, deck.DeckName, false, deck.UserCardsetsDir, deck.CardsetsDir);
//   if (form.exec() == 1 && !form.SelectedDeck().empty()) deck.SetDeckName(form.SelectedDeck());

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "cardtable/CardTable.h"

class QLabel;
class QListWidget;
class QPushButton;
class TCardTableWidget;

// The set folders of cardsetsDir, then those of userCardsetsDir (when given), sorted and without
// duplicates, both ignoring case; names beginning with "." are left out. With userDecksOnly only
// the user's sets: names beginning with "U_" in the card sets folder, names holding "U_" anywhere
// in the user's folder.
std::vector<std::string> ListDeckFolders(const std::string& cardsetsDir, const std::string& userCardsetsDir,
                                         bool userDecksOnly);
// The entry selected when the dialog opens: currentDeck when it is listed (ignoring case), otherwise
// the first entry (userDecksOnly) or "Standard", and the first entry when "Standard" is missing too;
// -1 for an empty list.
int InitialDeckIndex(const std::vector<std::string>& list, const std::string& currentDeck,
                     bool userDecksOnly);

class TCardDeckForm : public QDialog {
  Q_OBJECT
 public:
  // cardsetsDir: the card sets folder to list and preview; empty lets the preview table's deck
  // search for it as any new table does.
  TCardDeckForm(QWidget* owner, const std::string& currentDeck, bool userDecksOnly,
                const std::string& userCardsetsDir, const std::string& cardsetsDir = "");
  ~TCardDeckForm() override;

  QListWidget* ListBox1 = nullptr;
  QPushButton* Button1 = nullptr;  // "OK"
  QPushButton* Button2 = nullptr;  // "Cancel"
  // Shows why the selected set cannot be previewed (hidden otherwise).
  QLabel* ErrorLabel = nullptr;

  void Button1Click() { done(1); }
  void Button2Click() { reject(); }
  void ListBox1Click() { ShowSelectedDeck(); }
  // Turns the six and the king of spades of the preview deck face up on the preview table.
  void ShowPreviewCards();
  // The preview deck takes the selected set (when it differs) and the table is drawn again. A set
  // that cannot be read leaves the preview as it was and says why.
  void ShowSelectedDeck();

  // The selected entry; "" when nothing is selected.
  std::string SelectedDeck() const;
  int Count() const;
  TCardTable* Preview() const { return FPreview.get(); }

 private:
  TCardTableWidget* FView = nullptr;
  std::unique_ptr<TCardTable> FPreview;
  std::string FCurrentDeck;
  bool FUserDecksOnly = false;
  std::string FUserCardsetsDir;
};
