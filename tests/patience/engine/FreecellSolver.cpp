#include "tests/patience/engine/FreecellSolver.h"

#include <cstdio>
#include <memory>
#include <sstream>

#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

std::string SolverPath() {
  for (const char* p : {"/usr/bin/fc-solve", "/usr/local/bin/fc-solve"})
    if (FileExists(p)) return p;
  return "";
}

namespace {

std::string CardText(const TCard* c) {
  static const char* values = "A23456789TJQK";
  static const char* suits = "CDHS";
  return std::string(1, values[c->Value % 13]) + suits[c->Suit % 4];
}

}  // namespace

std::string SolverBoard(const TPatienceEngine& e) {
  std::ostringstream out;
  const TGameRules& r = e.Rules;
  // Each suit's top card on the foundations, "0" for none.
  char tops[4] = {'0', '0', '0', '0'};
  for (const TCardList& pile : r.FoundationPiles)
    if (const TCard* top = TopCard(pile)) tops[top->Suit % 4] = CardText(top)[0];
  out << "Foundations: H-" << tops[csHeart] << " C-" << tops[csClub] << " D-" << tops[csDiamond] << " S-"
      << tops[csSpade] << "\n";
  if (!r.ReserveCards.empty()) {
    out << "Freecells:";
    for (const TCard* c : r.ReserveCards) out << " " << (c ? CardText(c) : "-");
    out << "\n";
  }
  for (const TCardList& pile : r.TableauPiles) {
    out << ":";
    for (const TCard* c : pile)
      if (c) out << " " << CardText(c);
    out << "\n";
  }
  return out.str();
}

TSolution Solve(const std::string& board, const std::string& options) {
  TTempDir dir;
  const std::string file = dir / "board.txt";
  WriteTextFile(file, board);
  const std::string command = SolverPath() + " " + options + " -m -mi 400000 " + file + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  TSolution s;
  if (!pipe) return s;
  char buffer[512];
  std::string text;
  while (fgets(buffer, sizeof buffer, pipe.get())) text += buffer;
  // The exit code is 0 whatever the outcome: the text decides.
  s.Solved = text.find("This game is solveable.") != std::string::npos;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("Move ", 0) == 0) s.Moves.push_back(line);
  return s;
}

int FoundationFor(const TPatienceEngine& e, const TCard* c) {
  const auto& piles = e.Rules.FoundationPiles;
  for (size_t f = 0; f < piles.size(); ++f) {
    const TCard* top = TopCard(piles[f]);
    if (top && top->Suit == c->Suit && int(top->Value) + 1 == int(c->Value)) return int(f);
  }
  if (c->Value == cvAce)
    for (size_t f = 0; f < piles.size(); ++f)
      if (IsEmpty(piles[f])) return int(f);
  return -1;
}

bool SolverRecord(const TPatienceEngine& e, const std::string& line, TRecord& rec) {
  const TGameRules& r = e.Rules;
  auto pile = [&](int p) -> const TCardList* {
    return p >= 0 && p < int(r.TableauPiles.size()) ? &r.TableauPiles[size_t(p)] : nullptr;
  };
  auto cell = [&](int k) -> const TCard* {
    return k >= 0 && k < int(r.ReserveCards.size()) ? r.ReserveCards[size_t(k)] : nullptr;
  };
  // The whole line must match one of the solver's templates.
  auto matches = [&](const char* format, int* a, int* b, int* c) {
    int used = -1;
    const std::string f = std::string(format) + "%n";
    const int n = c   ? std::sscanf(line.c_str(), f.c_str(), a, b, c, &used)
                  : b ? std::sscanf(line.c_str(), f.c_str(), a, b, &used)
                      : std::sscanf(line.c_str(), f.c_str(), a, &used);
    return n == (c ? 3 : b ? 2 : 1) && used == int(line.size());
  };
  int a = 0, b = 0, c = 0;
  if (matches("Move a card from stack %d to the foundations", &a, nullptr, nullptr)) {
    const TCardList* p = pile(a);
    if (!p || IsEmpty(*p)) return false;
    rec = {pkTableau, a, TopIndex(*p), DropIndexOf(e, pkFoundation, FoundationFor(e, p->back()))};
  } else if (matches("Move a card from stack %d to freecell %d", &a, &b, nullptr)) {
    const TCardList* p = pile(a);
    if (!p || IsEmpty(*p)) return false;
    rec = {pkTableau, a, TopIndex(*p), DropIndexOf(e, pkReserve, b)};
  } else if (matches("Move a card from freecell %d to stack %d", &a, &b, nullptr)) {
    if (!cell(a)) return false;
    rec = {pkReserve, a, a, DropIndexOf(e, pkTableau, b)};
  } else if (matches("Move a card from freecell %d to the foundations", &a, nullptr, nullptr)) {
    if (!cell(a)) return false;
    rec = {pkReserve, a, a, DropIndexOf(e, pkFoundation, FoundationFor(e, cell(a)))};
  } else if (matches("Move a card from freecell %d to freecell %d", &a, &b, nullptr)) {
    if (!cell(a)) return false;
    rec = {pkReserve, a, a, DropIndexOf(e, pkReserve, b)};
  } else if (matches("Move %d cards from stack %d to stack %d", &a, &b, &c)) {
    const TCardList* p = pile(b);
    if (!p || CardCountOf(*p) < a) return false;
    rec = {pkTableau, b, int(p->size()) - a, DropIndexOf(e, pkTableau, c)};
  } else {
    return false;
  }
  return rec.Target >= 0;
}
