#pragma once
// The maker's use of the card table's set chooser and of the game's data folder move.

#include <optional>
#include <string>

class QWidget;
class TCardDeck;

// Shows the card set chooser over the deck's folders (only "U_" sets when userOnly) with current
// selected. The chosen name, or nothing when the list was empty or the chooser was cancelled.
std::optional<std::string> ChooseCardSet(QWidget* owner, const TCardDeck& deck, bool userOnly,
                                         const std::string& current = "");

// Options > Change Save Data Location as the game has it, without the game's busy flag: the deck
// gets the user card sets folder of the new place.
void ChangeDataLocation(QWidget* owner, TCardDeck& deck);
