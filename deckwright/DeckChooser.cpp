#include "deckwright/DeckChooser.h"

#include <QInputDialog>
#include <QStringList>
#include <algorithm>

#include "cardtable/CardDeck.h"
#include "patience/files/DataMove.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"

#if __has_include("cardtable/CardDeckForm.h")
#include "cardtable/CardDeckForm.h"
#define DECKWRIGHT_HAS_DECK_FORM 1
#endif

std::optional<std::string> ChooseCardSet(QWidget* owner, const TCardDeck& deck, bool userOnly,
                                         const std::string& current) {
  const std::string selected = current.empty() ? deck.DeckName : current;
#ifdef DECKWRIGHT_HAS_DECK_FORM
  TCardDeckForm form(owner, selected, userOnly, deck.UserCardsetsDir, deck.CardsetsDir);
  if (form.Count() == 0) return std::nullopt;
  if (form.exec() != 1) return std::nullopt;
  const std::string name = form.SelectedDeck();
  if (name.empty()) return std::nullopt;
  return name;
#else
  QStringList names;
  for (const std::string& root : {deck.CardsetsDir, deck.UserCardsetsDir}) {
    if (root.empty()) continue;
    for (const std::string& n : ListSubfolders(root))
      if ((!userOnly || n.rfind("U_", 0) == 0) &&
          !names.contains(QString::fromStdString(n), Qt::CaseInsensitive))
        names << QString::fromStdString(n);
  }
  names.sort(Qt::CaseInsensitive);
  if (names.isEmpty()) return std::nullopt;
  bool ok = false;
  const int at = std::max(0, int(names.indexOf(QString::fromStdString(selected))));
  const QString name = QInputDialog::getItem(owner, "Card Sets", "Card set", names, at, false, &ok);
  if (!ok || name.isEmpty()) return std::nullopt;
  return name.toStdString();
#endif
}

void ChangeDataLocation(QWidget* owner, TCardDeck& deck) {
  ChangeSaveDataLocation(&deck, nullptr, owner);
}
