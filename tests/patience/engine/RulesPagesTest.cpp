// The help file's rules pages against the engine: for every help code, the deal the page tells
// of, the redeals, the last deal of a stock dealt onto the piles and the cards that may be moved;
// and for the games with rules of their own, what their pages say they do.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <set>
#include <tuple>

#include "patience/catalogue/RulesPage.h"
#include "tests/patience/engine/PlayTestUtil.h"

namespace {

// One game for each help code, the first the catalogue names.
std::vector<TGameRef> PageGames() {
  std::vector<TGameRef> games;
  std::set<std::string> codes;
  for (const TGameRef& game : AllGames())
    if (codes.insert(GameDefinition(game).HelpCode).second) games.push_back(game);
  return games;
}

// A click on the stock as the player makes it.
void ClickStock(TEngineRig& rig) {
  const TPoint s = rig.Engine->StockPlace();
  rig.Table->MouseDown(mbLeft, 0, s.X + 3, s.Y + 3);
  rig.Table->MouseUp(mbLeft, 0, s.X + 3, s.Y + 3);
}

bool Draggable(const TPatienceEngine& e, const TCard* card) {
  return std::find(e.DraggableList.begin(), e.DraggableList.end(), card) != e.DraggableList.end();
}

TEST(RulesPagesTest, EveryPageDealsWhatTheEngineDeals) {
  TEngineRig rig(1280, 960);
  for (const TGameRef& game : PageGames()) {
    const std::string caption = GameCaption(game);
    rig.Deal(caption, 1);
    const TRulesText text = DescribeRules(GameDefinition(game));
    EXPECT_EQ(text.StockCards, rig.Table->CardDeck()->CardsLeft(false)) << caption;
    std::vector<int> dealt;
    for (const TCardList& pile : rig.Engine->Rules.TableauPiles) dealt.push_back(CardCountOf(pile));
    EXPECT_EQ(text.TableauCards, dealt) << caption;
  }
  EXPECT_EQ(PageGames().size(), 159u);
}

// Through the stock with clicks alone, redealing while the engine offers it: the page's redeals,
// and for a stock dealt onto the piles, the cards of its last deal.
TEST(RulesPagesTest, EveryPageRedealsAndDealsTheStockAsTheEngineDoes) {
  constexpr int kMany = 8;
  TEngineRig rig(1280, 960);
  FastTable(*rig.Table);
  for (const TGameRef& game : PageGames()) {
    const std::string caption = GameCaption(game);
    rig.Deal(caption, 1);
    TPatienceEngine& e = *rig.Engine;
    int redeals = 0, lastDeal = 0;
    for (; redeals < kMany; ++redeals) {
      for (int left = e.Deck().CardsLeft(false), now = 0; left > 0; left = now) {
        ClickStock(rig);
        now = e.Deck().CardsLeft(false);
        if (now == left) break;
        lastDeal = left - now;
      }
      if (!e.CanRedeal()) break;
      e.ReDealWastepileExecute();
    }
    const TRulesText text = DescribeRules(GameDefinition(game));
    EXPECT_EQ(text.Redeals, redeals == kMany ? -1 : redeals) << caption;
    if (text.LastDealPiles > 0) {
      EXPECT_EQ(lastDeal, text.LastDealPiles) << caption;
    }
  }
}

// A card with another on it: moved with it where the page lets that card move, and as the run the
// page names.
TEST(RulesPagesTest, EveryPageMovesTheCardsTheEngineLetsGo) {
  struct TUpper {
    const char* Card;  // on the Seven of clubs
    std::set<TRunStep> Steps;
    std::set<TRunSuits> Suits;
  };
  using P = TRunStep;
  using S = TRunSuits;
  const TUpper uppers[] = {{"6c", {P::Down, P::UpOrDown, P::Any}, {S::Suit, S::Colour, S::Any}},
                           {"6s", {P::Down, P::UpOrDown, P::Any}, {S::Colour, S::Any}},
                           {"6h", {P::Down, P::UpOrDown, P::Any}, {S::AlternateColour, S::Any}},
                           {"8c", {P::Up, P::UpOrDown, P::Any}, {S::Suit, S::Colour, S::Any}},
                           {"9c", {P::Any}, {S::Suit, S::Colour, S::Any}}};
  TEngineRig rig(1280, 960);
  for (const TGameRef& game : PageGames()) {
    const TGameDef& def = GameDefinition(game);
    if (def.Tableau.Count == 0 || def.Tableau.Rules.Has(PairGame)) continue;
    const std::string caption = GameCaption(game);
    rig.Deal(caption, 1);
    const TRulesText text = DescribeRules(def);
    for (const TUpper& u : uppers) {
      Arrange(rig, {.Tableau = {{"Kd", "7c", u.Card}}});
      const bool moves = text.Moves == TTableauMoves::AnyFaceUp ||
                         (text.Moves == TTableauMoves::Runs && u.Steps.count(text.RunStep) > 0 &&
                          u.Suits.count(text.RunSuits) > 0);
      EXPECT_EQ(Draggable(*rig.Engine, CardNamed(*rig.Engine, "7c")), moves) << caption << " " << u.Card;
      const bool wholePile =
          text.Moves == TTableauMoves::TopOrWholePile || text.Moves == TTableauMoves::AnyFaceUp;
      EXPECT_EQ(Draggable(*rig.Engine, CardNamed(*rig.Engine, "Kd")), wholePile) << caption;
    }
  }
}

// -----------------------------------------------------------------------------------------------
// Where cards may go, asked of the engine on real deals of each page's game: what goes onto a
// tableau or foundation card and into an empty pile, from which pile and when; how the deal lies;
// whether Undo works; and that every pile the page names is there.

const char* const kSuits = "cdhs";
const char* const kValues = "A23456789TJQK";

bool Red(int suit) {
  return suit == csDiamond || suit == csHeart;
}

// What the page's words let onto a target card.
bool ClaimTakesOnto(const TOntoCardClaim& c, TSource from, const TCard* card, const TCard* target,
                    bool stockLeft) {
  if ((c.OnceStockEmpty && stockLeft) || c.Step == TBuildStep::Nothing || c.NotFrom.count(from)) return false;
  const int v = card->Value, t = target->Value, d = v - t;
  const bool wrap = (c.AceOnKing && v == cvAce && t == cvKing) || (c.KingOnAce && v == cvKing && t == cvAce);
  const bool value = wrap || c.Step == TBuildStep::AnyValue || (c.Step == TBuildStep::Up && d == 1) ||
                     (c.Step == TBuildStep::Down && d == -1) ||
                     (c.Step == TBuildStep::UpOrDown && (d == 1 || d == -1)) ||
                     (c.Step == TBuildStep::Higher && d > 0) || (c.Step == TBuildStep::Lower && d < 0);
  switch (c.Suits) {
    case TBuildSuits::Any:
      return value;
    case TBuildSuits::Suit:
      return value && card->Suit == target->Suit;
    case TBuildSuits::Colour:
      return value && Red(card->Suit) == Red(target->Suit);
    case TBuildSuits::AlternateColour:
      return value && Red(card->Suit) != Red(target->Suit);
    case TBuildSuits::OtherSuit:
      return value && card->Suit != target->Suit;
  }
  return false;
}

// What the page's words let into an empty pile.
bool ClaimTakesEmpty(const TIntoEmptyClaim& c, TSource from, const TCard* card, const TCard* base,
                     bool stockLeft, bool reserveLeft) {
  if (c.OnceStockEmpty && stockLeft) return false;
  if (c.AnyCard || c.From.count(from) || (c.FromOnceReserveEmpty.count(from) && !reserveLeft)) return true;
  if (c.BaseValue) return !base || base->Value == card->Value;
  return std::find(c.Values.begin(), c.Values.end(), int(card->Value)) != c.Values.end();
}

const char* SourceName(TSource s) {
  static const char* const names[] = {"tableau", "reserve",     "free cells", "waste",
                                      "stock",   "foundations", "side piles"};
  return names[int(s)];
}

// One state of the table to ask the engine in: whether the stock, the reserve (or cells) and the
// waste hold cards.
struct TTableState {
  bool StockLeft, ReserveLeft, WasteLeft;
};

// The page's game dealt on a rig, and what the engine says of it.
class TPageOracle {
 public:
  TPageOracle(TEngineRig& rig, const TGameRef& game)
      : Caption(GameCaption(game)), Text(DescribeRules(GameDefinition(game))), Rig(rig), E(*rig.Engine) {
    FreshDeal();
    FindSources();
  }

  // Onto a card and into an empty pile, at every state the game can be in, for every card from
  // every source that holds one then.
  std::string Builds(bool foundation) {
    const std::vector<std::string> targets =
        foundation ? std::vector<std::string>{"7h", "Kh", "Ah"} : std::vector<std::string>{"7c", "Kc", "Ac"};
    const TOntoCardClaim& claim = foundation ? Text.OntoFoundation : Text.OntoTableau;
    std::string faults;
    for (const TTableState& state : States())
      for (const std::string& target : targets) {
        TPosition p = Position(state);
        (foundation ? p.Foundations : p.Tableau)
            .insert((foundation ? p.Foundations : p.Tableau).begin(), {target});
        if (foundation) p.Tableau.insert(p.Tableau.begin(), {"2c"});
        Arrange(Rig, p);
        const TCard* onto = CardNamed(E, target);
        AskAll(state, [&](const TCard* card, TSource from, TPileKind kind, TPilePos pos) {
          if (CardName(card) == target) return;
          const bool engine = Takes(card, foundation, kind, pos);
          if (engine != ClaimTakesOnto(claim, from, card, onto, state.StockLeft))
            Note(faults, CardName(card) + " from the " + SourceName(from) + " onto " + target, engine, state);
        });
      }
    return faults;
  }

  std::string IntoEmpty(bool foundation) {
    const TIntoEmptyClaim& claim = foundation ? Text.IntoEmptyFoundation : Text.IntoEmptyTableau;
    std::string faults;
    for (const TTableState& state : States()) {
      // What is said of an emptied pile holds once its refills have run dry.
      if ((claim.Emptied.count(TSource::Stock) && state.StockLeft) ||
          (claim.Emptied.count(TSource::Waste) && state.WasteLeft) ||
          (claim.Emptied.count(TSource::Reserve) && state.ReserveLeft))
        continue;
      TPosition p = Position(state);
      p.Tableau.insert(p.Tableau.begin(), std::vector<std::string>{});
      p.Foundations.insert(p.Foundations.begin(), std::vector<std::string>{});
      Arrange(Rig, p);
      AskAll(state, [&](const TCard* card, TSource from, TPileKind kind, TPilePos pos) {
        const bool engine = Takes(card, foundation, kind, pos);
        if (engine != ClaimTakesEmpty(claim, from, card, E.Rules.Foundations.BaseCard, state.StockLeft,
                                      state.ReserveLeft))
          Note(faults, CardName(card) + " from the " + SourceName(from) + " into an empty pile", engine,
               state);
      });
      // A click on the stock that deals onto the piles.
      if (!foundation && state.StockLeft && StockDealt && !E.Table()->DragFromDeck && !Pairs()) {
        ClickStock(Rig);
        const bool filled = !IsEmpty(E.Rules.TableauPiles[0]);
        const bool staysEmpty = claim.From.empty() && claim.FromOnceReserveEmpty.empty() &&
                                claim.Values.empty() && !claim.AnyCard && !claim.BaseValue &&
                                !claim.ByStockDeal;
        if ((staysEmpty && filled) || ((Text.StockFillsEmptyPiles || claim.ByStockDeal) && !filled))
          faults +=
              std::string(" the stock's deal ") + (filled ? "fills" : "does not fill") + " an empty pile;";
      }
    }
    return faults;
  }

  // Each tableau pile's and the reserve's face-down cards after the deal.
  std::string DealtFaces() {
    std::string faults;
    FreshDeal();
    const TGameRules& r = E.Rules;
    for (size_t p = 0; p < r.TableauPiles.size() && p < Text.FaceDown.size(); ++p) {
      const TCardList& pile = r.TableauPiles[p];
      const int down =
          int(std::count_if(pile.begin(), pile.end(), [](const TCard* c) { return c && !c->FaceUp; }));
      const int said = Text.FaceDown[p];
      const bool topUp = IsEmpty(pile) || pile.back()->FaceUp;
      if (said >= 0 ? down != said : !topUp)
        faults += " pile " + std::to_string(p + 1) + " has " + std::to_string(down) + " face down;";
    }
    if (!r.Reserve.FreeCells) {
      const int down = int(std::count_if(r.ReserveCards.begin(), r.ReserveCards.end(),
                                         [](const TCard* c) { return c && !c->FaceUp; }));
      if (down != Text.ReserveFaceDown) faults += " the reserve has " + std::to_string(down) + " face down;";
    }
    return faults;
  }

  // The cards on the foundations after the deal, over several deals: a value the page names each
  // time, or cards of more than one value where it names none.
  std::string DealtBases() {
    std::vector<std::set<int>> seen(E.Rules.FoundationPiles.size());
    for (uint32_t seed = 1; seed <= 4; ++seed) {
      Rig.Deal(Caption, seed);
      for (size_t f = 0; f < seen.size(); ++f) {
        const TCardList& pile = E.Rules.FoundationPiles[f];
        seen[f].insert(IsEmpty(pile) ? -1 : int(pile[0]->Value));
      }
    }
    std::string faults;
    for (size_t f = 0; f < seen.size(); ++f) {
      const int said = f < Text.DealtBases.size() ? Text.DealtBases[f] : -2;
      const bool agrees = said == -2   ? seen[f] == std::set<int>{-1}
                          : said == -1 ? seen[f].size() > 1 && !seen[f].count(-1)
                                       : seen[f] == std::set<int>{said};
      if (!agrees) {
        faults += " foundation " + std::to_string(f + 1) + " starts with";
        for (int v : seen[f]) faults += v < 0 ? std::string(" nothing") : std::string(" ") + kValues[v];
        faults += ";";
      }
    }
    return faults;
  }

  // A move the player makes, then Undo: back to where it was, unless the page says Undo is off.
  std::string Undo() {
    FreshDeal();
    const std::string before = PlaySnapshot(E);
    if (!MakeSomeMove() || PlaySnapshot(E) == before) return " no move to undo;";
    E.Undo1Click();
    const bool undone = PlaySnapshot(E) == before;
    return undone == Text.Undo ? ""
           : undone            ? " Undo takes the move back;"
                               : " Undo does not take the move back;";
  }

  // A whole run of thirteen, King down to Ace, dragged to an empty foundation: one suit, alternate
  // colours, one colour of two suits, and mixed.
  std::string WholeSuits() {
    struct TRun {
      const char* Suits;  // suit letters from the King down, repeated
      std::set<TBuildSuits> TakenBy;
    };
    const TRun runs[] = {{"c", {TBuildSuits::Suit, TBuildSuits::Colour, TBuildSuits::Any}},
                         {"ch", {TBuildSuits::AlternateColour, TBuildSuits::Any}},
                         {"cs", {TBuildSuits::Colour, TBuildSuits::Any}},
                         {"csh", {TBuildSuits::Any}}};
    std::string faults;
    for (const TRun& run : runs) {
      std::vector<std::string> cards;
      const std::string suits = run.Suits;
      for (int v = cvKing; v >= cvAce; --v)
        cards.push_back(std::string(1, kValues[v]) + suits[size_t(cvKing - v) % suits.size()]);
      Arrange(Rig, {.Tableau = {cards}});
      E.MakeMove(pkTableau, 0, 0, DropIndexOf(E, pkFoundation, 0));
      const bool taken = IsEmpty(E.Rules.TableauPiles[0]);
      if (taken != (run.TakenBy.count(*Text.WholeSuits) > 0))
        faults +=
            std::string(" a run in ") + run.Suits + (taken ? " goes" : " does not go") + " to a foundation;";
    }
    return faults;
  }

  // The piles the page names are piles of the game.
  std::string NamedSources() {
    std::string faults;
    for (TSource s : Text.Named)
      if (!Present.count(s)) faults += std::string(" no ") + SourceName(s) + ";";
    return faults;
  }

  const std::string Caption;
  const TRulesText Text;

 private:
  bool Pairs() const { return E.Rules.Tableau.Rules.Has(PairGame); }

  // Whether the first tableau pile or foundation takes the card from the source: it has a drop
  // point, and the validation lets the card go there.
  bool Takes(const TCard* card, bool foundation, TPileKind kind, TPilePos pos) const {
    const TPileKind target = foundation ? pkFoundation : pkTableau;
    bool point = false;
    for (int i = 0; i < int(E.DropPointList.size()) && !point; ++i) {
      int k = 0;
      TPilePos at;
      point = TargetOf(E, i, k, at) && k == target && at.Pile == 0;
    }
    return point && E.ValidDrop(card, target, {0, 0}, kind, pos);
  }

  void FreshDeal() { Rig.Deal(Caption, 5); }

  // The piles cards come from in this game.
  void FindSources() {
    const TGameRules& r = E.Rules;
    if (r.Tableau.Count > 0) Present.insert(TSource::Tableau);
    if (r.Reserve.FreeCells && r.Reserve.Count > 0) Present.insert(TSource::FreeCells);
    if (!r.Reserve.FreeCells && !r.ReserveCards.empty()) Present.insert(TSource::Reserve);
    for (const TCardList& pile : r.ExceptPileCards)
      if (!pile.empty()) Present.insert(TSource::SidePiles);
    StockDealt = E.Deck().CardsLeft(false) > 0;
    if (StockDealt) Present.insert(TSource::Stock);
    if (StockDealt && !E.Table()->DragFromDeck && !Pairs()) {
      ClickStock(Rig);
      if (!r.WasteCards.empty()) Present.insert(TSource::Waste);
    }
    if (r.Foundations.Count > 0) {
      Arrange(Rig, {.Foundations = {{"7h"}}});
      if (Draggable(E, CardNamed(E, "7h"))) Present.insert(TSource::Foundations);
    }
  }

  // The states the game can be in: a stock, reserve and waste holding cards; all of them empty
  // (with a tableau of three piles at least, the rest of the pack on the last); and, with a reserve
  // and a waste, the reserve played out. A game without a stock is asked with one only when the
  // pack cannot go onto a pile.
  std::vector<TTableState> States() const {
    const bool reserve = Present.count(TSource::Reserve) || Present.count(TSource::FreeCells);
    const bool waste = Present.count(TSource::Waste) > 0;
    const bool restOnPile = E.Rules.Tableau.Count >= 3;
    std::vector<TTableState> states;
    if (StockDealt || !restOnPile) states.push_back({true, reserve, waste});
    if (restOnPile) states.push_back({false, false, false});
    if (reserve && waste) states.push_back({true, false, true});
    return states;
  }

  // A tableau card on the second pile, a foundation card on the second foundation; the reserve,
  // the waste and the stock as the state has them. The caller puts the target first.
  TPosition Position(const TTableState& state) const {
    TPosition p;
    p.Tableau = {{"Qd"}};
    p.Foundations = {{"5s"}};
    if (state.ReserveLeft) p.Reserve = {"9d"};
    if (state.WasteLeft) p.Waste = {"9s"};
    if (!state.StockLeft) p.Rest = E.Rules.Tableau.Count - 1;
    return p;
  }

  // Every card of the pack from every source that holds cards in the state.
  void AskAll(const TTableState& state,
              const std::function<void(const TCard*, TSource, TPileKind, TPilePos)>& ask) const {
    std::vector<std::tuple<TSource, TPileKind, TPilePos>> from;
    for (TSource s : Present) {
      if (s == TSource::Tableau && E.Rules.Tableau.Count >= 2)
        from.emplace_back(s, pkTableau, TPilePos{1, TopIndex(E.Rules.TableauPiles[1])});
      if ((s == TSource::Reserve || s == TSource::FreeCells) && state.ReserveLeft)
        from.emplace_back(s, pkReserve, TPilePos{0, 0});
      if (s == TSource::Waste && state.WasteLeft) from.emplace_back(s, pkWaste, TPilePos{0, 0});
      if (s == TSource::Stock && state.StockLeft && E.Table()->DragFromDeck)
        from.emplace_back(s, pkStock, TPilePos{0, 0});
      if (s == TSource::Foundations && E.Rules.Foundations.Count >= 2)
        from.emplace_back(s, pkFoundation, TPilePos{1, 0});
      if (s == TSource::SidePiles) from.emplace_back(s, pkExcept, TPilePos{0, 0});
    }
    for (int v = cvAce; v <= cvKing; ++v)
      for (int suit = 0; suit < 4; ++suit) {
        const TCard* card = CardNamed(E, std::string(1, kValues[v]) + kSuits[suit]);
        for (const auto& [source, kind, pos] : from) ask(card, source, kind, pos);
      }
  }

  // A fault line, once per kind of drop.
  static void Note(std::string& faults, const std::string& what, bool engine, const TTableState& state) {
    const std::string line =
        " " + what + (engine ? " is taken" : " is refused") + (state.StockLeft ? "" : " (stock empty)") + ";";
    if (faults.find(line) == std::string::npos && std::count(faults.begin(), faults.end(), ';') < 6)
      faults += line;
  }

  bool MakeSomeMove() {
    const std::vector<TRecord> moves = LegalMoves(E);
    if (Pairs()) {
      // Two cards of one value, clicked one after the other.
      for (const TRecord& a : moves)
        for (const TRecord& b : moves) {
          const TCard* x = E.Rules.TableauPiles[size_t(a.Pile)][size_t(a.Index)];
          const TCard* y = E.Rules.TableauPiles[size_t(b.Pile)][size_t(b.Index)];
          if (a.Pile < b.Pile && x->Value == y->Value)
            return E.MakeMove(pkTableau, a.Pile, a.Index, 0) && E.MakeMove(pkTableau, b.Pile, b.Index, 0);
        }
      return false;
    }
    // A card moved by the player; a click on the stock when there is none.
    for (bool cards : {true, false})
      for (const TRecord& m : moves)
        if ((m.Kind != pkStockClick && m.Kind != pkRedeal) == cards && m.Kind != pkRedeal &&
            E.MakeMove(TPileKind(m.Kind), m.Pile, m.Index, m.Target))
          return true;
    return false;
  }

  TEngineRig& Rig;
  TPatienceEngine& E;
  TSources Present;
  bool StockDealt = false;
};

// The pages in four parts, each a test of its own (every fourth page).
class RulesPagesClaimsTest : public ::testing::TestWithParam<int> {};

TEST_P(RulesPagesClaimsTest, EveryPageSaysWhereCardsMayGoAsTheEngineJudges) {
  TEngineRig rig(1280, 960);
  FastTable(*rig.Table);
  int failed = 0;
  auto check = [&](const std::string& caption, const char* statement, const std::string& faults) {
    if (faults.empty()) return;
    ++failed;
    ADD_FAILURE() << caption << ", " << statement << ":" << faults;
  };
  const std::vector<TGameRef> games = PageGames();
  for (size_t i = size_t(GetParam()); i < games.size(); i += 4) {
    TPageOracle o(rig, games[i]);
    const TGameDef& def = GameDefinition(games[i]);
    const bool pairs = def.Tableau.Rules.Has(PairGame);
    if (def.Tableau.Count > 0 && !pairs) {
      check(o.Caption, "onto a tableau card", o.Builds(false));
      check(o.Caption, "into an empty tableau pile", o.IntoEmpty(false));
    }
    if (def.Foundations.Count > 0 && !o.Text.FoundationRulesOwn) {
      check(o.Caption, "onto a foundation card", o.Builds(true));
      if (o.Text.IntoEmptyFoundation.Stated) check(o.Caption, "into an empty foundation", o.IntoEmpty(true));
    }
    if (o.Text.WholeSuits) check(o.Caption, "whole suits to the foundations", o.WholeSuits());
    check(o.Caption, "the deal's faces", o.DealtFaces());
    if (!def.Foundations.Rules.Has(DealToFoundations)) check(o.Caption, "the bases dealt", o.DealtBases());
    check(o.Caption, "undo", o.Undo());
    check(o.Caption, "the piles named", o.NamedSources());
  }
  EXPECT_EQ(failed, 0) << "statements the engine does not bear out";
}

INSTANTIATE_TEST_SUITE_P(Pages, RulesPagesClaimsTest, ::testing::Range(0, 4));

// The hour of a place on a clock face round the centre ("one o'clock" .. "twelve o'clock").
std::string HourOf(TPoint place, TPoint centre) {
  static const char* const hours[] = {"twelve", "one",   "two",   "three", "four", "five",
                                      "six",    "seven", "eight", "nine",  "ten",  "eleven"};
  if (place == centre) return "the centre";
  const double turn = std::atan2(place.X - centre.X, centre.Y - place.Y) / (2 * std::numbers::pi);
  return std::string(hours[(int(std::lround(turn * 12)) + 12) % 12]) + " o'clock";
}

// Each value's pile lies where the page says and takes that value only.
void ClockFaceAsThePageSays(TEngineRig& rig) {
  const TPatienceEngine& e = *rig.Engine;
  const TRulesText text = DescribeRules(GameDefinition(*FindGame(e.Rules.GameName)));
  ASSERT_EQ(text.ClockPlaces.size(), 13u);
  for (int v = 0; v < 13; ++v) {
    EXPECT_EQ(HourOf(e.Rules.FoundationPlaces[size_t(v)], e.Rules.FoundationPlaces[12]),
              text.ClockPlaces[size_t(v)]);
    const TCard* card = CardNamed(e, std::string(1, "A23456789TJQK"[v]) + "d");
    for (int f = 0; f < 13; ++f) {
      const TPilePos target{f, TopIndex(e.Rules.FoundationPiles[size_t(f)])};
      EXPECT_EQ(e.ValidDrop(card, pkFoundation, target, pkWaste, {0, 0}), f == v) << v << " on " << f;
    }
  }
}

// The face-up card goes to its value's pile, whose top card turns up next, until the fourth
// King reaches the centre; the game is won when no card is left face down.
void ClockPlaysToTheEnd(TEngineRig& rig) {
  TPatienceEngine& e = *rig.Engine;
  std::set<bool> ends;
  for (uint32_t seed = 1; seed < 400 && ends.size() < 2; ++seed) {
    rig.Deal("The Clock", seed);
    for (int move = 0; move < 60; ++move) {
      std::vector<TCard*> free;
      for (TCard* c : e.DraggableList)
        if (c && c->FaceUp) free.push_back(c);  // the table drags face-up cards only
      if (free.empty()) break;
      ASSERT_EQ(free.size(), 1u);
      TCard* card = free[0];
      const auto from = std::find_if(e.Rules.FoundationPiles.begin(), e.Rules.FoundationPiles.end(),
                                     [&](const TCardList& p) { return TopCard(p) == card; });
      ASSERT_TRUE(e.MakeMove(pkFoundation, int(from - e.Rules.FoundationPiles.begin()), TopIndex(*from),
                             DropIndexOf(e, pkFoundation, card->Value)));
      // Under its value's pile, whose top card shows.
      const TCardList& to = e.Rules.FoundationPiles[size_t(card->Value)];
      EXPECT_NE(std::find(to.begin(), to.end(), card), to.end());
      EXPECT_TRUE(TopCard(to) != card && TopCard(to)->FaceUp);
    }
    int faceDown = 0;
    for (const TCardList& pile : e.Rules.FoundationPiles)
      faceDown += int(std::count_if(pile.begin(), pile.end(), [](const TCard* c) { return !c->FaceUp; }));
    const TCardList& centre = e.Rules.FoundationPiles[12];
    EXPECT_EQ(std::count_if(centre.begin(), centre.end(), [](const TCard* c) { return c->Value == cvKing; }),
              4);
    EXPECT_EQ(e.Won(), faceDown == 0) << seed;
    ends.insert(e.Won());
  }
  EXPECT_EQ(ends.size(), 2u) << "a won and a lost game";
}

// The games with rules of their own: the page says the words, and the engine does what they say.
TEST(RulesPagesTest, SpecialRulesAreWhatTheEnginePlays) {
  struct TCase {
    const char* Game;
    const char* Words;
    std::function<void(TEngineRig&)> Check;
  };
  const TCase cases[] = {
      {"The Clock", "the Aces' pile at one o'clock", ClockFaceAsThePageSays},
      {"The Clock", "lost when the fourth King reaches the centre", ClockPlaysToTheEnd},
      {"The Dial", "the Queens' at twelve o'clock", ClockFaceAsThePageSays},
      {"The Dial", "must differ in colour from the card under it",
       [](TEngineRig& rig) {
         Arrange(rig, {.Foundations = {{}, {}, {}, {}, {"5c"}}});
         const TPatienceEngine& e = *rig.Engine;
         EXPECT_TRUE(e.ValidDrop(CardNamed(e, "5h"), pkFoundation, {4, 0}, pkWaste, {0, 0}));
         EXPECT_FALSE(e.ValidDrop(CardNamed(e, "5s"), pkFoundation, {4, 0}, pkWaste, {0, 0}));
       }},
      {"Four Colours", "no two cards of the same suit may lie in the cells",
       [](TEngineRig& rig) {
         Arrange(rig, {.Reserve = {"5h", "", "", ""}});
         const TPatienceEngine& e = *rig.Engine;
         EXPECT_FALSE(e.ValidDrop(CardNamed(e, "9h"), pkReserve, {1, 0}, pkTableau, {0, 0}));
         EXPECT_TRUE(e.ValidDrop(CardNamed(e, "9s"), pkReserve, {1, 0}, pkTableau, {0, 0}));
       }},
      {"Burleigh", "the stock turns round and deals from its other end",
       [](TEngineRig& rig) {
         const TCardDeck& d = rig.Engine->Deck();
         for (bool top : {true, false, true}) {  // each card is left unplayed
           const TCard* next = d.Cards[size_t(top ? d.Dealt + 1 : d.CardCount)].get();
           ClickStock(rig);
           EXPECT_EQ(rig.Engine->Rules.WasteCards.back(), next);
         }
       }},
      {"Burleigh", "from the stock, or from the waste pile when the stock is empty",
       [](TEngineRig& rig) {
         TPatienceEngine& e = *rig.Engine;
         for (bool stock : {true, false}) {
           // Without a stock, the cards not named go onto the last pile.
           Arrange(rig, stock ? TPosition{.Tableau = {{"Ac"}}, .Waste = {"9h"}, .Stock = {"8d"}}
                              : TPosition{.Tableau = {{"Ac"}}, .Waste = {"9h"}, .Rest = 11});
           ASSERT_TRUE(e.MakeMove(pkTableau, 0, 0, DropIndexOf(e, pkFoundation, 0)));
           EXPECT_EQ(CardName(TopCard(e.Rules.TableauPiles[0])), stock ? "8d" : "9h");
         }
       }},
      {"One Foundation", "straight onto the foundation",
       [](TEngineRig& rig) {
         const TCardDeck& d = rig.Engine->Deck();
         const TCard* next = d.Cards[size_t(d.Dealt + 1)].get();
         ClickStock(rig);
         EXPECT_EQ(TopCard(rig.Engine->Rules.FoundationPiles[0]), next);
         EXPECT_TRUE(rig.Engine->Rules.WasteCards.empty());
       }},
      {"Canfield", "Once the reserve is empty, an empty pile may be filled with any card from the waste",
       [](TEngineRig& rig) {
         const TPatienceEngine& e = *rig.Engine;
         for (bool reserve : {true, false}) {
           Arrange(rig, {.Tableau = {{}, {"5d"}},
                         .Reserve = reserve ? std::vector<std::string>{"Kc"} : std::vector<std::string>{},
                         .Waste = {"9h"}});
           EXPECT_EQ(e.ValidDrop(CardNamed(e, "9h"), pkTableau, {0, 0}, pkWaste, {0, 0}), !reserve);
         }
       }},
      {"Simple Pairs", "Each place a pair leaves is filled at once with the next card of the stock",
       [](TEngineRig& rig) {
         TPatienceEngine& e = *rig.Engine;
         Arrange(rig, {.Tableau = {{"5c"}, {"5d"}, {"Kc"}}, .Stock = {"Qh", "Jh"}});
         ClickStock(rig);
         EXPECT_EQ(e.Deck().CardsLeft(false), 49) << "the stock cannot be clicked";
         ASSERT_TRUE(e.MakeMove(pkTableau, 0, 0, 0));
         ASSERT_TRUE(e.MakeMove(pkTableau, 1, 0, 0));
         EXPECT_EQ(CardName(e.Rules.TableauPiles[1][0]) + CardName(e.Rules.TableauPiles[0][0]), "QhJh");
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Game) + ": " + c.Words);
    const TRulesText text = DescribeRules(GameDefinition(*FindGame(c.Game)));
    std::string page = text.Goal;
    for (const auto* part : {&text.Layout, &text.Foundations, &text.Tableau, &text.Stock})
      for (const std::string& line : *part) page += "\n" + line;
    EXPECT_NE(page.find(c.Words), std::string::npos);
    TEngineRig rig(1280, 960);
    FastTable(*rig.Table);
    rig.Deal(c.Game, 7);
    c.Check(rig);
  }
}

}  // namespace
