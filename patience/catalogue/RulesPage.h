#pragma once
// The rules pages of the help file, written from the catalogue's own data: the piles a game deals,
// how cards build on its foundations and its tableau, what the stock does, how many redeals it
// allows and what wins it. A page says what the engine plays because it reads the same fields the
// engine reads.
//
// There is one page per help code. Klondike's two variants have a code each; all sizes of
// Freecell NxM share one code and one page.

#include <cstdint>
#include <optional>
#include <set>
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

// The piles a page names as where cards come from.
enum class TSource : uint8_t { Tableau, Reserve, FreeCells, Waste, Stock, Foundations, SidePiles };
using TSources = std::set<TSource>;

// How a card goes onto another as a page states it: by value (nothing may go on; any value; up,
// down or either way by one; any higher or lower card) and by suit.
enum class TBuildStep : uint8_t { Nothing, AnyValue, Up, Down, UpOrDown, Higher, Lower };
enum class TBuildSuits : uint8_t { Any, Suit, Colour, AlternateColour, OtherSuit };

// What a page says may go onto the top card of a pile. A page that says nothing lets nothing on.
struct TOntoCardClaim {
  TBuildStep Step = TBuildStep::Nothing;
  TBuildSuits Suits = TBuildSuits::Any;
  bool AceOnKing = false;  // an Ace may go on a King, whatever the value rule
  bool KingOnAce = false;
  TSources NotFrom;             // the sources whose cards may not go on
  bool OnceStockEmpty = false;  // only once the stock is empty
};

// What a page says may go into an empty pile.
struct TIntoEmptyClaim {
  bool Stated = false;            // the page says anything of it
  TSources From;                  // any card from these
  TSources FromOnceReserveEmpty;  // any card from these, once the reserve is empty
  std::vector<int> Values;        // cards of these values (0 Ace .. 12 King) from anywhere
  bool BaseValue = false;         // a card of the base card's value; any card before there is one
  bool AnyCard = false;           // any card from anywhere
  bool OnceStockEmpty = false;    // only once the stock is empty
  bool ByStockDeal = false;       // a click on the stock deals a card into it
  TSources Emptied;               // what is said holds once these sources are empty
};

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
  // What goes onto a foundation's or a tableau pile's top card (foundations: unless they take
  // whole suits or have rules of their own, FoundationRulesOwn), and into an empty one.
  bool FoundationRulesOwn = false;
  TOntoCardClaim OntoFoundation, OntoTableau;
  TIntoEmptyClaim IntoEmptyFoundation, IntoEmptyTableau;
  // Foundations that take only a whole run of thirteen cards, King down to Ace, with these suits.
  std::optional<TBuildSuits> WholeSuits;
  // A click on the stock deals a card into an empty tableau pile too.
  bool StockFillsEmptyPiles = false;
  // The face-down cards of each tableau pile after the deal (-1: some, under a face-up top card),
  // and of the reserve.
  std::vector<int> FaceDown;
  int ReserveFaceDown = 0;
  // The value of the card each foundation holds at the start, first foundation first (-1: any
  // card, the deal's).
  std::vector<int> DealtBases;
  // Undo takes moves back; where it does not, the sentence that says so.
  bool Undo = true;
  std::string UndoNote;
  // Every pile the page names as a source of cards.
  TSources Named;
};
TRulesText DescribeRules(const TGameDef& def);

// The introduction page and the page on playing with the mouse and keys, at "html/intro.htm" and
// "html/playing.htm".
std::string IntroductionPage();
std::string PlayingPage();
