#include "patience/catalogue/RulesPage.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

namespace {

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

const char* const kNumbers[] = {"no",       "one",      "two",      "three",   "four",    "five",
                                "six",      "seven",    "eight",    "nine",    "ten",     "eleven",
                                "twelve",   "thirteen", "fourteen", "fifteen", "sixteen", "seventeen",
                                "eighteen", "nineteen", "twenty"};

std::string Number(int n) {
  return n >= 0 && n <= 20 ? kNumbers[n] : std::to_string(n);
}

std::string Capital(std::string s) {
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = char(s[0] - 'a' + 'A');
  return s;
}

// "one pile", "seven piles".
std::string Count(int n, const std::string& one, const std::string& many) {
  return Number(n) + " " + (n == 1 ? one : many);
}

std::string JoinWords(const std::vector<std::string>& words, const std::string& last = "or") {
  std::string out;
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) out += i + 1 == words.size() ? " " + last + " " : ", ";
    out += words[i];
  }
  return out;
}

// How a card goes onto another of a pile: the value rule and the suit rule, as the validation
// applies them; without either, any card goes on. The sources barred are set by the caller.
TOntoCardClaim BuildClaim(const TPileRules& r) {
  TOntoCardClaim c;
  if (r.Has(NothingOntoCard) || r.Has(NoDropTarget)) return c;
  c.OnceStockEmpty = r.Has(OnlyWhenStockEmpty);
  bool valueRule = true;
  if (r.Has(UpByOne))
    c.Step = TBuildStep::Up;
  else if (r.Has(DownByOne))
    c.Step = TBuildStep::Down;
  else if (r.Has(UpOrDownByOne))
    c.Step = TBuildStep::UpOrDown;
  else if (r.Has(AnyHigher))
    c.Step = TBuildStep::Higher;
  else if (r.Has(AnyLower))
    c.Step = TBuildStep::Lower;
  else
    valueRule = false;
  bool suitRule = true;
  if (r.Has(SameSuit) && !r.Has(AnySuit) && !r.Has(SameColour))
    c.Suits = TBuildSuits::Suit;
  else if (r.Has(AlternateColour))
    c.Suits = TBuildSuits::AlternateColour;
  else if (r.Has(SameColour))
    c.Suits = TBuildSuits::Colour;
  else if (r.Has(NotSameSuit))
    c.Suits = TBuildSuits::OtherSuit;
  else
    suitRule = false;
  if (!valueRule) c.Step = TBuildStep::AnyValue;
  if (!valueRule && !suitRule) return c;
  c.AceOnKing = r.Has(AceOnKing);
  c.KingOnAce = r.Has(KingOnAce);
  return c;
}

// The sentence of a build ("" when nothing goes on, or any card: OntoSentences tells that).
std::string BuildPhrase(const TOntoCardClaim& c, bool foundation) {
  if (c.Step == TBuildStep::AnyValue && c.Suits == TBuildSuits::Any) return "";
  std::string value;
  switch (c.Step) {
    case TBuildStep::Nothing:
      return "";
    case TBuildStep::AnyValue:
      break;
    case TBuildStep::Up:
      value = "up by one";
      break;
    case TBuildStep::Down:
      value = "down by one";
      break;
    case TBuildStep::UpOrDown:
      value = "up or down by one";
      break;
    case TBuildStep::Higher:
      value = "with any higher card";
      break;
    case TBuildStep::Lower:
      value = "with any lower card";
      break;
  }
  std::string suit;
  switch (c.Suits) {
    case TBuildSuits::Suit:
      suit = "in suit";
      break;
    case TBuildSuits::AlternateColour:
      suit = "in alternating colours (red on black, black on red)";
      break;
    case TBuildSuits::Colour:
      suit = "in the same colour";
      break;
    case TBuildSuits::OtherSuit:
      suit = "in any suit but the card's own";
      break;
    case TBuildSuits::Any:
      suit = "regardless of suit";
      break;
  }
  std::string text =
      value.empty() ? "Build " + suit + ", in any order." : "Build " + value + " " + suit + ".";
  if (c.AceOnKing) text += foundation ? " An Ace may follow a King." : " An Ace may go on a King.";
  if (c.KingOnAce) text += " A King may go on an Ace.";
  return text;
}

// The values an empty pile takes from anywhere.
std::vector<int> EmptyValues(const TPileRules& r) {
  std::vector<int> v;
  if (r.Has(EmptyTakesAce)) v.push_back(cvAce);
  if (r.Has(EmptyTakesTwo)) v.push_back(cvTwo);
  if (r.Has(EmptyTakesJack)) v.push_back(cvJack);
  if (r.Has(EmptyTakesKing)) v.push_back(cvKing);
  return v;
}

const char* const kValueWords[13] = {"an Ace",   "a Two",  "a Three", "a Four", "a Five",  "a Six", "a Seven",
                                     "an Eight", "a Nine", "a Ten",   "a Jack", "a Queen", "a King"};

std::vector<std::string> ValueWords(const std::vector<int>& values) {
  std::vector<std::string> words;
  for (int v : values) words.push_back(kValueWords[v]);
  return words;
}

int PackSize(const TGameDef& d) {
  return d.Stock.Decks == 2 ? 104 : 52;
}

// A click on the stock turns cards onto a waste pile.
bool HasWaste(const TGameDef& d, int stockCards) {
  const bool toFoundation = d.Stock.Rules.Has(SpecialStock) && d.Special == TGameSpecial::OneFoundation;
  return stockCards > 0 && d.Stock.DealCount >= 1 && !d.Stock.Rules.Has(DragFromDeck) &&
         !d.Tableau.Rules.Has(PairGame) && !toFoundation;
}

// The piles the player takes cards from: the stock where its top card is dragged.
TSources CardSources(const TGameDef& d, int stockCards) {
  TSources s;
  if (d.Tableau.Count > 0) s.insert(TSource::Tableau);
  if (d.Reserve.Count > 0) s.insert(d.Reserve.FreeCells ? TSource::FreeCells : TSource::Reserve);
  if (d.Except.Count > 0) s.insert(TSource::SidePiles);
  if (d.Foundations.Count > 0 && d.Foundations.Rules.Has(FoundationsPlayable)) s.insert(TSource::Foundations);
  if (stockCards > 0 && d.Stock.Rules.Has(DragFromDeck)) s.insert(TSource::Stock);
  if (HasWaste(d, stockCards)) s.insert(TSource::Waste);
  return s;
}

// A source in a sentence; the tableau as "other tableau piles" or, one pile, "another tableau pile".
std::string SourceWords(TSource s, bool onePile) {
  switch (s) {
    case TSource::Tableau:
      return onePile ? "another tableau pile" : "other tableau piles";
    case TSource::Reserve:
      return "the reserve";
    case TSource::FreeCells:
      return "the free cells";
    case TSource::Waste:
      return "the waste pile";
    case TSource::Stock:
      return "the stock";
    case TSource::Foundations:
      return "the foundations";
    case TSource::SidePiles:
      return "the side piles";
  }
  return "";
}

// The sources barred from putting cards onto a card, by the rules that bar them.
TSources BarredSources(const TPileRules& r, const TSources& present) {
  TSources barred;
  const std::pair<TPileRule, TSources> bars[] = {{NoReserveOntoCard, {TSource::Reserve, TSource::FreeCells}},
                                                 {NoWasteOntoCard, {TSource::Waste}},
                                                 {NoTableauOntoCard, {TSource::Tableau}},
                                                 {NoStockOntoCard, {TSource::Stock}}};
  for (const auto& [rule, sources] : bars)
    if (r.Has(rule))
      for (TSource s : sources)
        if (present.count(s)) barred.insert(s);
  return barred;
}

// What may go onto a card of a tableau pile or a foundation: the build, or any card, and the
// sources that may not put cards there.
std::vector<std::string> OntoSentences(const TOntoCardClaim& c, const TSources& present, bool foundation) {
  const std::string pile = foundation ? "foundation card" : "tableau card";
  if (c.Step == TBuildStep::Nothing) return {"No card may be put on a " + pile + "."};
  // The order the sources are told in.
  const TSource order[] = {TSource::Reserve, TSource::FreeCells,   TSource::Waste,    TSource::Tableau,
                           TSource::Stock,   TSource::Foundations, TSource::SidePiles};
  std::vector<std::string> barred, allowed;
  for (TSource s : order) {
    // The stock holds no card by the time the pile takes any.
    if (s == TSource::Stock && c.OnceStockEmpty) continue;
    if (c.NotFrom.count(s))
      barred.push_back(SourceWords(s, false));
    else if (present.count(s))
      allowed.push_back(SourceWords(s, false));
  }
  if (c.Step == TBuildStep::AnyValue && c.Suits == TBuildSuits::Any) {
    if (barred.empty()) return {"Any card may be put on any " + pile + "."};
    if (allowed.empty()) return {"No card may be put on a " + pile + "."};
    return {"Any card from " + JoinWords(allowed) + " may be put on any " + pile + "."};
  }
  std::vector<std::string> out = {BuildPhrase(c, foundation)};
  if (!barred.empty())
    out.push_back("Cards from " + JoinWords(barred) + " may not be put on a " + pile + ".");
  return out;
}

// The cards of each tableau pile after the deal: the deal stops when the stock runs out, after
// the foundations, the reserve and the side piles have had theirs.
std::vector<int> DealtPerPile(const TGameDef& d, int& left) {
  const TTableauDef& t = d.Tableau;
  std::vector<int> got(size_t(std::max(t.Count, 0)), 0);
  auto wanted = [&](int p) {
    if (t.CardsPerPile.empty()) return 1;
    return p < int(t.CardsPerPile.size()) ? t.CardsPerPile[size_t(p)] : 0;
  };
  if (t.Rules.Has(DealPileByPile)) {
    for (int p = 0; p < t.Count; ++p) {
      const int n = std::min(wanted(p), left);
      got[size_t(p)] = n;
      left -= n;
    }
    return got;
  }
  int rows = 1;
  for (int p = 0; p < t.Count; ++p) rows = std::max(rows, wanted(p));
  if (!t.Rules.Has(DealByRows) && !t.Rules.Has(Squared)) rows = std::max(rows, 1);
  for (int r = 1; r <= rows && left > 0; ++r)
    for (int p = 0; p < t.Count - t.LeftEmpty && left > 0; ++p)
      if (wanted(p) >= r) {
        ++got[size_t(p)];
        --left;
      }
  return got;
}

std::string PileCounts(const std::vector<int>& got, int leftEmpty) {
  std::vector<int> dealt(got.begin(), got.end() - std::min<long>(leftEmpty, long(got.size())));
  if (dealt.empty()) return "";
  const bool same = std::all_of(dealt.begin(), dealt.end(), [&](int n) { return n == dealt[0]; });
  if (same) return "of " + Count(dealt[0], "card", "cards") + (dealt.size() > 1 ? " each" : "");
  bool rising = true, falling = true;
  for (size_t i = 1; i < dealt.size(); ++i) {
    rising = rising && dealt[i] == dealt[i - 1] + 1;
    falling = falling && dealt[i] == dealt[i - 1] - 1;
  }
  if (rising || falling)
    return dealt.back() == 1
               ? "from " + Count(dealt.front(), "card", "cards") + " down to one, left to right"
               : "from " + Number(dealt.front()) + " to " + Number(dealt.back()) + " cards, left to right";
  std::vector<std::string> parts;
  for (int n : dealt) parts.push_back(std::to_string(n));
  return "of " + JoinWords(parts, "and") + " cards, left to right";
}

// How the tableau's cards lie after the deal; faceDown gets each pile's face-down cards.
std::string FaceUpPhrase(const TGameDef& d, const std::vector<int>& got, std::vector<int>& faceDown) {
  const TTableauDef& t = d.Tableau;
  const int most = got.empty() ? 0 : *std::max_element(got.begin(), got.end());
  faceDown.assign(got.size(), 0);
  // A stock whose cards lie face up deals them face up.
  if (d.Stock.Rules.Has(DragFromDeck)) return most <= 1 ? "" : "All cards are face up.";
  if (t.Rules.Has(DealFaceDown)) {
    faceDown = got;
    return "All of them are dealt face down.";
  }
  if (t.Rules.Has(DealFaceUp) || t.Rules.Has(Squared) || most <= 1)
    return most <= 1 ? "" : "All cards are face up.";
  if (!t.FaceDownPerPile.empty()) {
    const int firstDown = t.FaceDownPerPile[0];
    const bool same = std::all_of(t.FaceDownPerPile.begin(), t.FaceDownPerPile.end(),
                                  [&](int n) { return n == firstDown; });
    if (same && firstDown > 0) {
      faceDown.assign(got.size(), firstDown);
      return "The bottom " + Count(firstDown, "card", "cards") + " of each pile " +
             (firstDown == 1 ? "is" : "are") + " face down, the rest face up.";
    }
    faceDown.assign(got.size(), -1);
    return "Some cards of the piles are dealt face down; the top card of each pile is face up.";
  }
  if (!t.CardsPerPile.empty()) {
    for (size_t p = 0; p < got.size(); ++p) faceDown[p] = std::max(got[p] - 1, 0);
    return "Only the top card of each pile is face up.";
  }
  return "";
}

// The places of the piles of a clock face, Ace first: the hours round the dial, then the centre.
const char* const kClockPlaces[13] = {"one o'clock",  "two o'clock", "three o'clock",  "four o'clock",
                                      "five o'clock", "six o'clock", "seven o'clock",  "eight o'clock",
                                      "nine o'clock", "ten o'clock", "eleven o'clock", "twelve o'clock",
                                      "the centre"};
const char* const kValuesPlural[13] = {"Aces",   "Twos",  "Threes", "Fours", "Fives",  "Sixes", "Sevens",
                                       "Eights", "Nines", "Tens",   "Jacks", "Queens", "Kings"};

// Thirteen foundations that each take one value lie as a clock face.
bool IsClockFace(const TGameDef& d) {
  return d.Foundations.Rules.Has(ClockFoundations) && d.Foundations.Count == 13;
}

// "the Aces' pile at one o'clock, the Twos' at two o'clock and so on round to ..., the Kings' in
// the centre", from the places the page states.
std::string ClockMapping(const std::vector<std::string>& places) {
  auto at = [&](size_t v) { return std::string(kValuesPlural[v]) + "' at " + places[v]; };
  return "the Aces' pile at " + places[0] + ", the " + at(1) + " and so on round to the " + at(10) +
         " and the " + at(11) + "; the Kings' pile lies in " + places[12];
}

// The foundations as dealt at the start; left loses the cards dealt onto them.
void DescribeFoundationLayout(const TGameDef& d, TRulesText& out, int& left) {
  const TPileRules& f = d.Foundations.Rules;
  if (IsClockFace(d)) out.ClockPlaces.assign(std::begin(kClockPlaces), std::end(kClockPlaces));
  if (f.Has(DealToFoundations)) {
    std::string s =
        "The whole pack is dealt face down onto the " + Count(d.Foundations.Count, "pile", "piles");
    if (IsClockFace(d))
      s += ", four cards each, laid out as a clock face: twelve piles round the dial and one in the centre. "
           "The "
           "top card of the centre pile is turned up; a King turned up there goes under the pile, and the "
           "next "
           "card is turned up.";
    else
      s += " of the layout.";
    out.Layout.push_back(s);
    left = 0;
    return;
  }
  if (d.Foundations.Count <= 0) return;
  std::string s = Capital(Count(d.Foundations.Count, "foundation", "foundations"));
  s += IsClockFace(d) ? ", laid out as a clock face: twelve round the dial and one in the centre." : ".";
  const std::string first = d.Foundations.Count == 1 ? "it" : "the first one";
  // The bases dealt by their rule have the value an empty foundation takes; one or two of them
  // are the first the pack holds in its fresh order, of the lowest of those values.
  const std::vector<int> values = EmptyValues(f);
  const int base = values.empty() ? -1 : *std::min_element(values.begin(), values.end());
  if (f.Has(BaseOnly)) {
    s += " One card is dealt onto " + first + " at the start: it is the base card.";
    out.DealtBases = {-1};
    left -= 1;
  } else if (f.Has(DealAllBases)) {
    s += " The base cards are dealt onto them at the start.";
    out.DealtBases.assign(size_t(std::min(d.Foundations.Count, left)), base);
    left -= std::min(d.Foundations.Count, left);
  } else if (f.Has(DealTwoBases)) {
    s += base < 0 ? " Two base cards are dealt onto them at the start."
                  : " Two " + std::string(kValuesPlural[base]) + " are dealt onto them at the start.";
    out.DealtBases = {base, base};
    left -= 2;
  } else if (f.Has(AceOfSpadesBase)) {
    s += " The Ace of Spades is dealt onto " + first + " at the start.";
    out.DealtBases = {cvAce};
    left -= 1;
  } else if (f.Has(DealOneBase)) {
    s += base < 0 ? " One card is dealt onto " + first + " at the start: it is the base card."
                  : " " + Capital(kValueWords[base]) + " is dealt onto " + first + " at the start.";
    out.DealtBases = {base};
    left -= 1;
  }
  out.Layout.push_back(s);
}

// Free cells or a reserve; left loses the cards dealt into them.
void DescribeReserveLayout(const TGameDef& d, TRulesText& out, int& left) {
  const TReserveDef& res = d.Reserve;
  if (res.Count <= 0) return;
  if (res.FreeCells) {
    out.Named.insert(TSource::FreeCells);
    std::string s = Capital(Count(res.Count, "free cell", "free cells"));
    if (d.Special == TGameSpecial::FourColours)
      s += ": each holds one card, and no two cards of the same suit may lie in the cells at once.";
    else
      s += res.Count == 1 ? ": it holds any one card." : ": each holds any one card.";
    if (res.DealtToCells > 0) {
      s += " " + Capital(Count(res.DealtToCells, "card is", "cards are")) + " dealt into them at the start.";
      left -= res.DealtToCells;
    }
    out.Layout.push_back(s);
    return;
  }
  out.Named.insert(TSource::Reserve);
  out.ReserveFaceDown = res.FaceUp ? 0 : res.Count - 1;
  std::string s = "A reserve of " + Count(res.Count, "card", "cards") +
                  (res.FaceUp ? ", face up" : ", only its top card face up") + ".";
  s += res.AllPlayable ? " Every card of the reserve may be played." : " Its top card may be played.";
  out.Layout.push_back(s);
  left -= res.Count;
}

void DescribeSidePileLayout(const TGameDef& d, TRulesText& out, int& left) {
  const TExceptPilesDef& e = d.Except;
  if (e.Count <= 0) return;
  const int sum = std::accumulate(e.CardsPerPile.begin(), e.CardsPerPile.end(), 0);
  out.Named.insert(TSource::SidePiles);
  std::string s = Capital(Count(e.Count, "side pile", "side piles"));
  if (sum > 0) s += " holding " + Count(sum, "card", "cards") + (e.Count > 1 ? " between them" : "");
  s += e.FaceUp ? ", face up." : ", only the top card of each face up.";
  out.Layout.push_back(s);
  left -= sum;
}

// The tableau piles and how many cards each gets; left loses the cards dealt onto them.
void DescribeTableauLayout(const TGameDef& d, TRulesText& out, int& left) {
  const TTableauDef& t = d.Tableau;
  out.TableauCards.clear();
  if (t.Count <= 0) return;
  std::vector<int> got = DealtPerPile(d, left);
  out.TableauCards = got;
  std::string s = "The tableau: " + Count(t.Count, "pile", "piles");
  const std::string counts = PileCounts(got, t.LeftEmpty);
  if (!counts.empty()) s += " " + counts;
  if (t.LeftEmpty >= t.Count)
    s += t.Count == 1 ? ", empty at the start" : ", all empty at the start";
  else if (t.LeftEmpty > 0)
    s += "; the last " + Count(t.LeftEmpty, "pile starts", "piles start") + " empty";
  s += ".";
  const std::string faces = FaceUpPhrase(d, got, out.FaceDown);
  if (!faces.empty()) s += " " + faces;
  if (t.Rules.Has(DealBySuit)) s += " Each card is dealt to the pile of its suit.";
  if (t.Rules.Has(KingsToBottom)) s += " A King dealt onto a pile goes to its bottom.";
  out.Layout.push_back(s);
}

void DescribeLayout(const TGameDef& d, TRulesText& out) {
  int left = PackSize(d);
  DescribeFoundationLayout(d, out, left);
  DescribeReserveLayout(d, out, left);
  DescribeSidePileLayout(d, out, left);
  left = std::max(left, 0);
  DescribeTableauLayout(d, out, left);
  out.StockCards = left;
  if (left > 0 && left == PackSize(d))
    out.Layout.push_back("All " + Count(left, "card", "cards") + " form the stock.");
  else if (left > 0)
    out.Layout.push_back("The other " + Count(left, "card", "cards") + " form the stock.");
  else
    out.Layout.push_back("Every card is dealt at the start: there is no stock.");
}

// What an empty foundation takes.
void DescribeFoundationBase(const TPileRules& f, TRulesText& out) {
  TIntoEmptyClaim& c = out.IntoEmptyFoundation;
  c.Stated = true;
  if (f.Has(FirstSetsBase) && f.Has(EachSetsBase)) {
    c.AnyCard = true;
    out.Foundations.push_back("Each foundation starts with whatever card you put there first.");
  } else if (f.Has(FirstSetsBase)) {
    c.BaseValue = true;
    out.Foundations.push_back(
        "The first card you put on a foundation sets the base card: every foundation starts with a card "
        "of that value.");
  } else if (f.Has(BaseOnly)) {
    c.BaseValue = true;
    out.Foundations.push_back("Every foundation starts with a card of the base card's value.");
  } else if (!EmptyValues(f).empty()) {
    c.Values = EmptyValues(f);
    out.Foundations.push_back("An empty foundation takes " + JoinWords(ValueWords(c.Values)) + ".");
  } else {
    c.Stated = false;
  }
}

// A clock face: which value each pile takes and, where the pack is dealt onto it, how a card
// travels round the clock.
void DescribeClockFace(const TGameDef& d, TRulesText& out) {
  const TPileRules& f = d.Foundations.Rules;
  if (!f.Has(DealToFoundations)) {
    out.Foundations.push_back(
        "Each foundation takes the four cards of one value: " + ClockMapping(out.ClockPlaces) + ".");
    if (f.Has(AlternateColour))
      out.Foundations.push_back(
          "Each card on a foundation must differ in colour from the card under it (red on black, black on "
          "red).");
    return;
  }
  out.Foundations.push_back("Each pile belongs to one value: " + ClockMapping(out.ClockPlaces) + ".");
  out.Foundations.push_back(
      "Drag the face-up card to the pile of its value. It goes under that pile, and the pile's top card is "
      "turned up: play it next.");
  out.Foundations.push_back(
      "A card that turns up on the pile of its own value goes under it at once, and the next card of that "
      "pile is turned up.");
}

// Foundations that take a whole run at once: a run the tableau lets move together, King down to
// Ace, that keeps the foundations' suit rule (one suit, or alternating colours; any suits else, as
// far as the tableau's runs keep them).
void DescribeWholeSuits(const TGameDef& d, TRulesText& out) {
  const TPileRules& f = d.Foundations.Rules;
  const TPileRules& t = d.Tableau.Rules;
  TBuildSuits suits = TBuildSuits::Any;
  if (f.Has(SameSuit))
    suits = TBuildSuits::Suit;
  else if (f.Has(AlternateColour))
    suits = TBuildSuits::AlternateColour;
  else if (t.Has(DragRuns) && t.Has(SameSuit))
    suits = TBuildSuits::Suit;
  else if (t.Has(DragRuns) && t.Has(AlternateColour))
    suits = TBuildSuits::AlternateColour;
  else if (t.Has(DragRuns) && t.Has(SameColour))
    suits = TBuildSuits::Colour;
  out.WholeSuits = suits;
  const char* const runs[] = {"a whole run of thirteen cards of any suits", "a whole suit in sequence",
                              "a whole run of thirteen cards in one colour",
                              "a whole run of thirteen cards in alternating colours"};
  out.Foundations.push_back(std::string("Only ") + runs[int(suits)] +
                            ", King down to Ace, may be moved to a foundation, all at once.");
}

void DescribeFoundations(const TGameDef& d, const TSources& present, TRulesText& out) {
  const TPileRules& f = d.Foundations.Rules;
  if (d.Foundations.Count == 0) return;
  // Foundations of a rule of their own; the general rules below do not hold for them.
  out.FoundationRulesOwn = d.Special == TGameSpecial::AcesUp || f.Has(RemovePairs) || IsClockFace(d) ||
                           f.Has(DealToFoundations) || f.Has(ValueIsPileIndex);
  if (d.Special == TGameSpecial::AcesUp) {
    out.Foundations.push_back(
        "The foundation is a discard pile. A top card may be discarded when another pile shows a higher "
        "card of the same suit; an Ace counts high and is never discarded.");
    return;
  }
  if (f.Has(RemovePairs)) {
    out.Foundations.push_back(
        "Two cards of the same value, clicked one after the other, are removed as a pair.");
    return;
  }
  if (IsClockFace(d)) {
    DescribeClockFace(d, out);
    return;
  }
  if (f.Has(DealToFoundations)) {
    out.Foundations.push_back(
        "Turn up the top card of a pile and put it where its value belongs; the card under it is turned up "
        "next.");
    return;
  }
  // A lone foundation with a base dealt onto it is never empty.
  if (!(f.Has(BaseOnly) && d.Foundations.Count == 1 && !f.Has(FoundationsPlayable)))
    DescribeFoundationBase(f, out);
  out.IntoEmptyFoundation.OnceStockEmpty = f.Has(OnlyWhenStockEmpty);
  if (f.Has(ValueIsPileIndex))
    out.Foundations.push_back("Each foundation takes only cards of its own value.");
  if (f.Has(RankInPrevious))
    out.Foundations.push_back(
        "A card may go on a foundation only when its value lies already on the one before it.");
  if (f.Has(WholeSuitsOnly)) {
    out.FoundationRulesOwn = true;
    DescribeWholeSuits(d, out);
    return;
  }
  TOntoCardClaim& c = out.OntoFoundation;
  c = BuildClaim(f);
  if (c.Step != TBuildStep::Nothing) c.NotFrom = BarredSources(f, present);
  for (const std::string& line : OntoSentences(c, present, true)) out.Foundations.push_back(line);
  if (f.Has(OnlyWhenStockEmpty))
    out.Foundations.push_back("Cards may be put on the foundations only once the stock is empty.");
  if (f.Has(FoundationsPlayable)) {
    out.Named.insert(TSource::Foundations);
    out.Foundations.push_back("Cards may be played back from the foundations.");
  }
  if (f.Has(AutoMoveOnRequest))
    out.Foundations.push_back(
        "Cards go to the foundations only when you put them there, or one at a time when you middle-click "
        "a card.");
}

// Pair games: picking and removing pairs is the whole of play on the tableau.
void DescribePairTableau(const TGameDef& d, TRulesText& out) {
  const TPileRules& t = d.Tableau.Rules;
  out.Tableau.push_back("Click a card to pick it, then click the card to pair it with.");
  if (d.Foundations.Count == 0 && d.Foundations.Rules.Has(RemovePairs))
    out.Tableau.push_back(t.Has(DealFaceDown) ? "Two cards of the same value are removed as a pair; two "
                                                "that differ are turned face down again."
                                              : "Two cards of the same value are removed as a pair.");
}

// What may be put on a tableau card, and from where not.
void DescribeOntoTableauCard(const TGameDef& d, const TSources& present, TRulesText& out) {
  const TPileRules& t = d.Tableau.Rules;
  TOntoCardClaim& c = out.OntoTableau;
  c = BuildClaim(t);
  if (c.Step != TBuildStep::Nothing) c.NotFrom = BarredSources(t, present);
  for (const std::string& line : OntoSentences(c, present, false)) out.Tableau.push_back(line);
  if (c.Step != TBuildStep::Nothing && t.Has(ThreeCardLimit))
    out.Tableau.push_back("A pile holds at most three cards.");
}

// The run that moves together, as the drag lists judge it: each card follows the one under it by
// the tableau's value rule, and by its suit rules, same suit wherever it is named (even beside
// any suit or same colour, which only loosen building).
void DescribeRun(const TPileRules& t, TRulesText& out) {
  out.Moves = TTableauMoves::Runs;
  std::string step;
  if (t.Has(DownByOne)) {
    out.RunStep = TRunStep::Down;
    step = " down by one";
  } else if (t.Has(UpByOne)) {
    out.RunStep = TRunStep::Up;
    step = " up by one";
  } else if (t.Has(UpOrDownByOne)) {
    out.RunStep = TRunStep::UpOrDown;
    step = " up or down by one";
  }
  std::string suits;
  if (t.Has(SameSuit)) {
    out.RunSuits = TRunSuits::Suit;
    suits = " in suit";
  } else if (t.Has(AlternateColour)) {
    out.RunSuits = TRunSuits::AlternateColour;
    suits = " in alternating colours";
  } else if (t.Has(SameColour)) {
    out.RunSuits = TRunSuits::Colour;
    suits = " in the same colour";
  } else {
    suits = step.empty() ? " of any suits, in any order," : " regardless of suit";
  }
  std::string s = "A run of cards" + step + suits + " may be moved together";
  // Building allows more than a run keeps together.
  if (t.Has(SameSuit) && (t.Has(AnySuit) || t.Has(SameColour))) s += "; where the suit changes, the run ends";
  s += ".";
  if (t.Has(KingOnAce)) s += " A King on an Ace continues a run.";
  if (t.Has(AceOnKing)) s += " An Ace on a King continues a run.";
  out.Tableau.push_back(s);
}

// Which cards of a pile may be moved, and how many at once.
void DescribeTableauMoves(const TGameDef& d, TRulesText& out) {
  const TPileRules& t = d.Tableau.Rules;
  if (t.Has(DragRuns)) {
    DescribeRun(t, out);
  } else if (t.Has(DragAnyFaceUp)) {
    out.Moves = TTableauMoves::AnyFaceUp;
    out.Tableau.push_back("Any face-up card may be moved together with the cards on it.");
  } else if (t.Has(DragWholePile)) {
    out.Moves = TTableauMoves::TopOrWholePile;
    out.Tableau.push_back("The top card of a pile, or the whole pile at once, may be moved.");
  } else {
    out.Tableau.push_back("Only the top card of a pile may be moved.");
  }
  if (d.Reserve.FreeCells && (t.Has(DragRuns) || t.Has(DragAnyFaceUp)) && !t.Has(UnlimitedMoves))
    out.Tableau.push_back(
        "Several cards move at once only when there are enough free cells and empty piles to move them one "
        "by one.");
}

// What the player may put into an empty tableau pile, as the drop rules take it, from the
// sources the game has; gone leaves out the sources that have run dry by then.
TIntoEmptyClaim EmptyPileClaim(const TGameDef& d, const TSources& present, const TSources& gone) {
  const TPileRules& t = d.Tableau.Rules;
  TIntoEmptyClaim c;
  c.Stated = true;
  c.OnceStockEmpty = t.Has(OnlyWhenStockEmpty);
  if (t.Has(NoDropTarget)) return c;
  auto from = [&](TSource s, TSources& into) {
    if (present.count(s) && !gone.count(s)) into.insert(s);
  };
  if (t.Has(BaseOnly)) from(TSource::Stock, c.From);
  if (t.Has(BaseOnly) && !t.Has(FromTableau)) return c;
  if (t.Has(FromTableau)) {
    from(TSource::Tableau, c.From);
    from(TSource::Foundations, c.From);
  }
  const bool reserve = present.count(TSource::Reserve) || present.count(TSource::FreeCells);
  const bool reserveGone = gone.count(TSource::Reserve) || gone.count(TSource::FreeCells);
  if (t.Has(FromReserve)) {
    from(TSource::Reserve, c.From);
    from(TSource::FreeCells, c.From);
  }
  if (t.Has(FromWaste)) {
    const bool waits = t.Has(FromReserve) && !t.Has(FromWasteAlways) && reserve && !reserveGone;
    from(TSource::Waste, waits ? c.FromOnceReserveEmpty : c.From);
  }
  if (t.Has(FromExcept)) from(TSource::SidePiles, c.From);
  c.Values = EmptyValues(t);
  return c;
}

// The words of what an empty pile may be filled with ("" when nothing).
std::string FillWords(const TIntoEmptyClaim& c) {
  const std::vector<std::string> takes = ValueWords(c.Values);
  if (c.From == TSources{TSource::Stock} && takes.empty() && c.FromOnceReserveEmpty.empty())
    return "may be filled only with the top card of the stock";
  std::vector<std::string> from;
  const TSource order[] = {TSource::Stock,     TSource::Tableau, TSource::Foundations, TSource::Reserve,
                           TSource::FreeCells, TSource::Waste,   TSource::SidePiles};
  for (TSource s : order) {
    if (c.From.count(s)) from.push_back(SourceWords(s, true));
    if (c.FromOnceReserveEmpty.count(s))
      from.push_back(SourceWords(s, true) + " (once the reserve is empty)");
  }
  if (from.empty()) {
    if (!takes.empty()) return "may be filled only with " + JoinWords(takes);
    return c.ByStockDeal ? "is filled only by the next deal from the stock" : "";
  }
  std::string s = "may be filled with any card from " + JoinWords(from);
  if (!takes.empty()) s += ", or with " + JoinWords(takes) + " from anywhere";
  return s;
}

// A click on the stock deals a card onto every pile, an empty one too.
bool StockDealFillsPiles(const TGameDef& d, int stockCards) {
  return stockCards > 0 && (d.Stock.DealCount == 0 || d.Stock.DealCount == -1) &&
         !d.Stock.Rules.Has(DragFromDeck) && !d.Tableau.Rules.Has(PairGame);
}

// What fills an empty tableau pile: the game at once, where it refills emptied piles (from the
// reserve, or from the stock and the waste pile, those of them the game has), and the player.
void DescribeEmptyTableauPile(const TGameDef& d, const TSources& present, int stockCards, TRulesText& out) {
  const TPileRules& t = d.Tableau.Rules;
  std::vector<TSource> refills;
  if (t.Has(RefillEmptyPiles)) {
    const TSource reserve = d.Reserve.FreeCells ? TSource::FreeCells : TSource::Reserve;
    const bool waste = HasWaste(d, stockCards), stock = stockCards > 0;
    if (t.Has(FromReserve)) {
      if (present.count(reserve)) refills = {reserve};
    } else if (t.Has(RefillFromStock)) {
      if (stock) refills.push_back(TSource::Stock);
      if (waste) refills.push_back(TSource::Waste);
    } else {
      if (waste) refills.push_back(TSource::Waste);
      if (stock) refills.push_back(TSource::Stock);
    }
  }
  const TSources gone(refills.begin(), refills.end());
  TIntoEmptyClaim& c = out.IntoEmptyTableau;
  c = EmptyPileClaim(d, present, gone);
  c.Emptied = gone;
  c.ByStockDeal = StockDealFillsPiles(d, stockCards) && gone.empty();
  out.Named.insert(gone.begin(), gone.end());
  const std::string fill = FillWords(c);
  if (refills.empty()) {
    out.Tableau.push_back(fill.empty() ? "An empty pile stays empty." : "An empty pile " + fill + ".");
    return;
  }
  std::string s = "An emptied pile is filled at once from " + SourceWords(refills[0], true);
  if (refills.size() == 1)
    s += ". Once " + SourceWords(refills[0], true) + (refills[0] == TSource::FreeCells ? " are" : " is") +
         " empty, ";
  else
    s += ", or from " + SourceWords(refills[1], true) + " when " + SourceWords(refills[0], true) +
         " is empty. Once both are empty, ";
  out.Tableau.push_back(s + "an empty pile " + (fill.empty() ? "stays empty" : fill) + ".");
}

void DescribeTableau(const TGameDef& d, const TSources& present, int stockCards, TRulesText& out) {
  const TPileRules& t = d.Tableau.Rules;
  if (d.Tableau.Count == 0) return;
  if (t.Has(PairGame)) {
    DescribePairTableau(d, out);
    return;
  }
  DescribeOntoTableauCard(d, present, out);
  if (t.Has(OnlyWhenStockEmpty))
    out.Tableau.push_back("Cards may be put on the tableau only once the stock is empty.");
  DescribeTableauMoves(d, out);
  DescribeEmptyTableauPile(d, present, stockCards, out);
}

// "once", "twice", "three times".
std::string Times(int n) {
  return n == 1 ? "once" : n == 2 ? "twice" : Number(n) + " times";
}

// A redeal that gathers the tableau: the Redeal button is there from the start, and every redeal
// counts against the allowance.
void DescribeGathering(const TGameDef& d, TRulesText& out) {
  const int passes = d.Stock.PassesAllowed;
  out.Stock.push_back(std::string("When you are stuck, the Redeal button gathers the tableau piles") +
                      (d.Stock.DealCount == -4 ? ", shuffles them" : "") + " and deals them out again.");
  out.Redeals = passes == 0 ? -1 : passes;
  out.Stock.push_back(passes == 0 ? "You may redeal as often as you like."
                                  : "You may redeal " + Times(passes) + ".");
}

// Pair games never deal from the stock by a click: a removed pair's places take its cards.
void DescribePairStock(const TGameDef& d, TRulesText& out) {
  if (!d.Tableau.Rules.Has(ShowSelection)) return;
  const bool single =
      std::all_of(d.Tableau.CardsPerPile.begin(), d.Tableau.CardsPerPile.end(), [](int n) { return n <= 1; });
  out.Stock.push_back(single
                          ? "Each place a pair leaves is filled at once with the next card of the stock."
                          : "When a pair is removed, the card under each is turned up; a place left with no "
                            "card takes the next card of the stock at once.");
  out.Stock.push_back("The stock cannot be clicked: its cards come into play only this way.");
}

// A stock dealt onto the piles one card each: the piles its last deal reaches, unless refills
// take cards from the stock too.
void DescribeStockToPiles(const TGameDef& d, int stockCards, TRulesText& out) {
  const int piles = d.Tableau.Count;
  const int rest = piles > 0 ? stockCards % piles : 0;
  out.LastDealPiles = rest > 0 ? rest : piles;
  const TPileRules& t = d.Tableau.Rules;
  const bool refillsTake = t.Has(RefillEmptyPiles) && !t.Has(FromReserve);
  std::string s;
  // "the first pile", "the first three piles".
  auto firstPiles = [](int n) {
    return n == 1 ? std::string("the first pile") : "the first " + Count(n, "pile", "piles");
  };
  if (stockCards < piles && !refillsTake) {
    s = "Click the stock to deal its " + Count(stockCards, "card", "cards") + " onto " +
        firstPiles(stockCards) + (stockCards == 1 ? "" : ", one each");
  } else {
    s = "Click the stock to deal one card onto each tableau pile";
    if (refillsTake)
      s += "; when fewer cards are left than there are piles, they go onto the first piles";
    else if (rest > 0)
      s += "; its last deal reaches only " + firstPiles(rest);
  }
  if (d.Stock.DealCount == -2) s += " (only while no pile is empty)";
  out.StockFillsEmptyPiles = d.Stock.DealCount != -2;
  out.Stock.push_back(s + ".");
}

// A stock dealt to the waste pile (or, in One Foundation, straight onto the foundation).
void DescribeStockToWaste(const TGameDef& d, TRulesText& out) {
  const TStockDef& s = d.Stock;
  const bool special = s.Rules.Has(SpecialStock);
  if (special && d.Special == TGameSpecial::OneFoundation) {
    out.Stock.push_back(
        "Click the stock to turn its top card straight onto the foundation, whatever its value.");
    return;
  }
  out.Named.insert(TSource::Waste);
  out.Stock.push_back("Click the stock to turn " + Count(s.DealCount, "card", "cards") +
                      " onto the waste pile; the top card of the waste may be played.");
  if (special && d.Special == TGameSpecial::Burleigh)
    out.Stock.push_back(
        "Cards are dealt from the top of the stock at first. Whenever the card dealt last still lies on top "
        "of the waste pile at the next click, the stock turns round and deals from its other end.");
}

// How often the stock may be gone through; the first pass ends when a click empties it.
void DescribePasses(const TGameDef& d, TRulesText& out) {
  const int passes = d.Stock.PassesAllowed;
  const bool toFoundation = d.Stock.Rules.Has(SpecialStock) && d.Special == TGameSpecial::OneFoundation;
  if (passes == 1 || toFoundation) {
    out.Stock.push_back("There is no redeal: you go through the stock once.");
  } else if (passes == 0) {
    out.Redeals = -1;
    out.Stock.push_back("You may redeal as often as you like.");
  } else {
    out.Redeals = passes - 1;
    out.Stock.push_back("You may go through the stock " + Number(passes) + " times (" +
                        Count(passes - 1, "redeal", "redeals") + ").");
  }
}

void DescribeStock(const TGameDef& d, int stockCards, TRulesText& out) {
  const TStockDef& s = d.Stock;
  if (s.DealCount < -2) {
    DescribeGathering(d, out);
    return;
  }
  if (stockCards <= 0) return;
  if (d.Tableau.Rules.Has(PairGame)) {
    DescribePairStock(d, out);
    return;
  }
  // The stock's top card is dragged, never dealt by a click.
  if (s.Rules.Has(DragFromDeck)) {
    out.Named.insert(TSource::Stock);
    out.Stock.push_back(
        "The top card of the stock lies face up: drag it straight to where it may go. There is no waste pile "
        "and no redeal.");
    return;
  }
  if (s.DealCount >= 1)
    DescribeStockToWaste(d, out);
  else
    DescribeStockToPiles(d, stockCards, out);
  DescribePasses(d, out);
}

std::string Goal(const TGameDef& d) {
  if (d.Special == TGameSpecial::AcesUp)
    return "The game is won when only the four Aces are left, one on each pile, and all other cards are "
           "discarded.";
  if (d.Foundations.Rules.Has(RemovePairs)) return "The game is won when every card has been removed.";
  if (IsClockFace(d) && d.Foundations.Rules.Has(DealToFoundations))
    return "The game is won when every card has been turned up and lies in the pile of its value. It is lost "
           "when the fourth King reaches the centre while cards are still face down: then no card can move.";
  return "The game is won when all " + std::to_string(PackSize(d)) + " cards lie on the " +
         (d.Foundations.Count == 1 ? "foundation." : "foundations.");
}

std::string Section(const std::string& title, const std::vector<std::string>& lines) {
  if (lines.empty()) return "";
  std::string out = "<h2>" + Escape(title) + "</h2>\n";
  for (const std::string& l : lines) out += "<p>" + Escape(l) + "</p>\n";
  return out;
}

std::string Page(const std::string& title, const std::string& body) {
  return "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
         "<title>" +
         Escape(title) +
         "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\">\n</head>\n<body>\n<h1>" +
         Escape(title) + "</h1>\n" + body + "<p class=\"back\"><a href=\"intro.htm\">Introduction</a> | " +
         "<a href=\"playing.htm\">Playing</a></p>\n</body>\n</html>\n";
}

TGameRef AnyFreecellSize() {
  const auto [columns, cells] = FreecellSizes().front();
  return TGameRef::FreecellNxM(columns, cells);
}

}  // namespace

std::string RulesTopic(const std::string& helpCode) {
  return "html\\pati" + helpCode + ".htm";
}

TRulesText DescribeRules(const TGameDef& d) {
  TRulesText out;
  out.Pack = d.Stock.Decks == 2 ? "Played with two packs of 52 cards (104 cards)."
                                : "Played with one pack of 52 cards.";
  DescribeLayout(d, out);
  const TSources present = CardSources(d, out.StockCards);
  DescribeFoundations(d, present, out);
  DescribeTableau(d, present, out.StockCards, out);
  DescribeStock(d, out.StockCards, out);
  out.Goal = Goal(d);
  if (d.Foundations.Rules.Has(NoUndo)) {
    out.Undo = false;
    out.UndoNote = "Undo is off in this game: a move cannot be taken back.";
  }
  for (const TSources* named :
       {&out.OntoTableau.NotFrom, &out.IntoEmptyTableau.From, &out.IntoEmptyTableau.FromOnceReserveEmpty})
    out.Named.insert(named->begin(), named->end());
  if (d.Tableau.Count > 0) out.Named.insert(TSource::Tableau);
  return out;
}

TRulesPage RulesPage(const TGameRef& game) {
  const TGameDef& d = GameDefinition(game);
  TRulesPage page;
  page.HelpCode = d.HelpCode;
  // Freecell NxM shares its code with Freecell: the page of the code tells of the other sizes too.
  const bool family = d.HelpCode == GameDefinition(AnyFreecellSize()).HelpCode;
  const bool familyOnly = game.Entry == kEntryFreecellNxM;
  page.Title = familyOnly ? std::string("Freecell Custom") : GameCaption(game);
  page.Path = "html/pati" + d.HelpCode + ".htm";
  const TRulesText text = DescribeRules(d);
  std::string body = "<p class=\"pack\">" + Escape(text.Pack) + "</p>\n";
  if (family) {
    std::set<int> columns, cells;
    for (auto [c, f] : FreecellSizes()) {
      columns.insert(c);
      cells.insert(f);
    }
    body += "<p>Freecell in other sizes: choose from " + std::to_string(*columns.begin()) + " to " +
            std::to_string(*columns.rbegin()) + " tableau piles and " + std::to_string(*cells.begin()) +
            " to " + std::to_string(*cells.rbegin()) +
            " free cells under Freecell Custom. The size you choose is part of the game's name, as in \"" +
            Escape(GameCaption(AnyFreecellSize())) +
            "\"; the rules are those below with that many "
            "piles and cells.</p>\n";
  }
  body += Section("The layout", text.Layout);
  // Where the pack is dealt onto a clock face, its piles are the whole game.
  const bool clock = !text.ClockPlaces.empty() && d.Foundations.Rules.Has(DealToFoundations);
  body += Section(clock ? "The clock" : "The foundations", text.Foundations);
  body += Section("The tableau", text.Tableau);
  body += Section("The stock", text.Stock);
  body += Section("Winning", {text.Goal});
  if (!text.UndoNote.empty()) body += Section("Undo", {text.UndoNote});
  page.Html = Page(page.Title, body);
  page.Keywords.push_back(page.Title);
  if (family) page.Keywords.push_back("Freecell Custom");
  if (family)
    for (const TGameRef& g : AllGames())
      if (g.Entry == kEntryFreecellNxM) page.Keywords.push_back(GameCaption(g));
  return page;
}

std::vector<TRulesPage> AllRulesPages() {
  std::vector<TRulesPage> pages;
  std::set<std::string> seen;
  for (const TGameRef& g : AllGames()) {
    const std::string& code = GameDefinition(g).HelpCode;
    if (!seen.insert(code).second) continue;
    pages.push_back(RulesPage(g));
  }
  return pages;
}

std::string IntroductionPage() {
  const std::string body =
      "<p>Welcome to Patience, a collection of " + std::to_string(kEntryCount) +
      " games of patience (also called solitaire) for one player.</p>\n"
      "<p>Choose a game from the start screen or from the Game Type menu, where every game is listed "
      "alphabetically, by type, as small screen games and as your favourites.</p>\n"
      "<p>Each game has a page of its own in this help: press F2 or choose Rules while you play to read "
      "the rules of the game in front of you. The rules pages tell how the cards are dealt, how cards "
      "build on the foundations and on the tableau, what the stock does and what wins the game.</p>\n"
      "<h2>Words used in the rules</h2>\n"
      "<p><b>Foundations</b>: the piles you build up (or down) to win the game.</p>\n"
      "<p><b>Tableau</b>: the piles dealt out on the table, where you move cards about.</p>\n"
      "<p><b>Reserve</b>: cards set aside that you may play from.</p>\n"
      "<p><b>Free cells</b>: places that hold one card each while you rearrange the tableau.</p>\n"
      "<p><b>Stock</b> and <b>waste pile</b>: the cards not yet dealt, and the cards turned up from "
      "them.</p>\n"
      "<p><b>Redeal</b>: turning the waste pile back into a stock, or gathering the tableau and dealing it "
      "again.</p>\n"
      "<p><b>Build</b>: to put a card on another following a rule, such as down by one in alternating "
      "colours.</p>\n";
  return Page("Introduction", body);
}

std::string PlayingPage() {
  const std::string body =
      "<p>Drag a card with the mouse and drop it on the pile where it should go. A card that may not go "
      "there flies back.</p>\n"
      "<p>Click the stock to deal from it. When the stock may be dealt again, the Redeal button shows "
      "over the empty stock.</p>\n"
      "<p>Cards that can go to the foundations may go there by themselves when Auto Move is on; a right "
      "click on the table asks for it at any time.</p>\n"
      "<p>Undo and Redo take moves back and play them again.</p>\n"
      "<h2>Keys</h2>\n"
      "<p><b>F1</b>: this help. <b>F2</b>: the rules of the game in play. <b>F11</b>: full screen. "
      "<b>F12</b>: back to the start screen.</p>\n"
      "<h2>Updates</h2>\n"
      "<p>Help &gt; Check for Updates asks the publisher's web site whether a newer version exists and can "
      "download it to your desktop. Nothing downloaded is ever run by the game.</p>\n";
  return Page("Playing", body);
}
