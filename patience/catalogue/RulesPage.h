#pragma once
// The rules pages of the help file, written from the catalogue's own data: the piles a game deals,
// how cards build on its foundations and its tableau, what the stock does, how many redeals it
// allows and what wins it. A page says what the engine plays because it reads the same fields the
// engine reads.
//
// There is one page per help code. Klondike's two variants have a code each; all sizes of
// Freecell NxM share one code and one page.

#include <string>
#include <vector>

#include "patience/catalogue/Catalogue.h"

struct TRulesPage {
  std::string HelpCode;
  std::string Title;  // the game's caption; the family's name for Freecell NxM
  std::string Path;   // "html/pati<code>.htm", inside the help file
  std::string Html;
  std::vector<std::string> Keywords;  // index entries that lead to the page
};

// The help topic of a game's rules: "html\pati" + code + ".htm", as the Rules command asks.
std::string RulesTopic(const std::string& helpCode);

// The page of one game (for Freecell NxM, of the whole family).
TRulesPage RulesPage(const TGameRef& game);
// Every page, one per help code, in catalogue order.
std::vector<TRulesPage> AllRulesPages();

// Which cards of a tableau pile may be moved: its top card; the top card or the whole pile; any
// face-up card with the cards on it; or a run, whose cards follow each other by a step and share
// what their suits must share.
enum class TTableauMoves { TopCard, TopOrWholePile, AnyFaceUp, Runs };
enum class TRunStep { Down, Up, UpOrDown, Any };
enum class TRunSuits { Any, Suit, Colour, AlternateColour };

// The plain-English sentences of the page's sections, for the page and its tests: the cards the
// game is played with, the layout, the foundations, the tableau, the stock and what wins.
struct TRulesText {
  std::string Pack;
  std::vector<std::string> Layout;
  std::vector<std::string> Foundations;
  std::vector<std::string> Tableau;
  std::vector<std::string> Stock;
  std::string Goal;
  // What the sentences tell of, for the tests that hold a page against the engine. The deal: the
  // cards of each tableau pile and of the stock.
  std::vector<int> TableauCards;
  int StockCards = 0;
  // The redeals the game allows (-1: as many as you like).
  int Redeals = 0;
  // What moves on the tableau; for runs, how their cards follow each other.
  TTableauMoves Moves = TTableauMoves::TopCard;
  TRunStep RunStep = TRunStep::Any;
  TRunSuits RunSuits = TRunSuits::Any;
  // A stock dealt onto the piles: the piles its last deal reaches when only clicks take cards
  // from it (0 for any other stock).
  int LastDealPiles = 0;
  // A clock face: where the pile of each value lies, Ace first ("one o'clock" .. "the centre").
  std::vector<std::string> ClockPlaces;
};
TRulesText DescribeRules(const TGameDef& def);

// The introduction page and the page on playing with the mouse and keys, at "html/intro.htm" and
// "html/playing.htm".
std::string IntroductionPage();
std::string PlayingPage();
