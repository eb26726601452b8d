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

// The plain-English sentences of the page's sections, for the page and its tests: the cards the
// game is played with, the layout, the foundations, the tableau, the stock and what wins.
struct TRulesText {
  std::string Pack;
  std::vector<std::string> Layout;
  std::vector<std::string> Foundations;
  std::vector<std::string> Tableau;
  std::vector<std::string> Stock;
  std::string Goal;
  // The deal the sentences tell of: the cards of each tableau pile and of the stock.
  std::vector<int> TableauCards;
  int StockCards = 0;
};
TRulesText DescribeRules(const TGameDef& def);

// The introduction page and the page on playing with the mouse and keys, at "html/intro.htm" and
// "html/playing.htm".
std::string IntroductionPage();
std::string PlayingPage();
