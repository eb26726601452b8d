#include "deckwright/DeckChooser.h"

#include "cardtable/CardDeck.h"
#include "cardtable/CardDeckForm.h"
#include "patience/files/DataMove.h"

std::optional<std::string> ChooseCardSet(QWidget* owner, const TCardDeck& deck, bool userOnly,
                                         const std::string& current) {
  const std::string selected = current.empty() ? deck.DeckName : current;
  TCardDeckForm form(owner, selected, userOnly, deck.UserCardsetsDir, deck.CardsetsDir);
  // Nothing to choose, or the chooser cancelled: nothing is opened.
  if (form.Count() == 0 || form.exec() != 1) return std::nullopt;
  const std::string name = form.SelectedDeck();
  if (name.empty()) return std::nullopt;
  return name;
}

void ChangeDataLocation(QWidget* owner, TCardDeck& deck) {
  ChangeSaveDataLocation(&deck, nullptr, owner);
}
