// What the desktop tests cannot read off the screen, from the same window built offscreen at the
// same size: where its menus, buttons and panels lie, and the drags that play a Freecell deal to a
// win. The tests drive the real program through X input only; this program tells them where.
//
//   desktop_oracle layout W H SW SH           the window's controls (JSON) for a client area of W x H
//                                             on a screen of SW x SH, the start screen showing
//   desktop_oracle layout W H SW SH PPM       the same, and the window's picture as a PPM file
//   desktop_oracle play FILE W H SW SH [N]    opens the saved game FILE as Open does and prints
//                                             "deal digest seed": the digest of the table's picture
//                                             as opened and the seed the next deal would take
//                                             without a seed of its own; then the drags ("drag x1
//                                             y1 x2 y2 digest masked L T R B", window coordinates,
//                                             the digest of the table's picture once the drag and
//                                             its auto-moves are done, and the digest of it with
//                                             the last sparkle's rectangle L T R B (table
//                                             coordinates) blacked out, or "- 0 0 0 0" before the
//                                             first sparkle) that win it, with auto-move on, as the
//                                             solver fc-solve plays it; at most N drags (0: only
//                                             the deal); "won" at the end
//
// The program folder is PATIENCE_BIN_DIR (the one the real program runs from). Nothing reaches the
// real home folder.

#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cardtable/CardTableWidget.h"
#include "cardtable/SystemDirs.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/ModalDialogs.h"
#include "patience/ui/StartScreen.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"
#include "tests/patience/engine/FreecellSolver.h"
#include "tests/support/TestUtil.h"

namespace {

// The window, with the rectangle of the last sparkle it started (a new one cuts the last short, so
// at most this one shows over the table).
class TOracleForm : public TForm1 {
 public:
  using TForm1::TForm1;
  void Sparkle(const TRect& r, TColor colour) override {
    LastSparkle = r;
    Sparkled = true;
    TForm1::Sparkle(r, colour);
  }
  TRect LastSparkle;
  bool Sparkled = false;
};

std::string Rect(const QRect& r) {
  return "[" + std::to_string(r.x()) + ", " + std::to_string(r.y()) + ", " + std::to_string(r.width()) +
         ", " + std::to_string(r.height()) + "]";
}

std::string Trimmed(const std::string& s) {
  const size_t a = s.find_first_not_of(' ');
  const size_t b = s.find_last_not_of(' ');
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// A widget's rectangle in the window's coordinates.
QRect InWindow(const TForm1& form, const QWidget* w) {
  return QRect(w->mapTo(&form, QPoint(0, 0)), w->size());
}

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// The window at the real window's size, past its first activation, the start screen showing.
void Prepare(TForm1& form, int w, int h) {
  form.show();
  Settle();
  // Past the window's own look at the screen (it takes the screen's area without a window manager).
  QEventLoop wait;
  QTimer::singleShot(400, &wait, &QEventLoop::quit);
  wait.exec();
  Settle();
  form.resize(w, h);
  Settle();
}

void PrintLayout(TForm1& form) {
  std::printf("{\n  \"menus\": {\n");
  TMenuBarWidget& bar = *form.ToolBar1;
  bool firstMenu = true;
  for (int i = 0; i < form.MainMenu1.Count(); ++i) {
    TMenuItem* top = form.MainMenu1.Items(i);
    QAction* action = bar.ActionOf(top);
    if (!top->Visible() || !action) continue;
    std::printf("%s    \"%s\": {\"bar\": %s, \"items\": {", firstMenu ? "" : ",\n",
                Trimmed(top->Caption()).c_str(),
                Rect(QRect(bar.actionGeometry(action).topLeft() + bar.mapTo(&form, QPoint(0, 0)),
                           bar.actionGeometry(action).size()))
                    .c_str());
    firstMenu = false;
    TModelMenu* menu = bar.MenuOf(top);
    if (menu) {
      menu->Rebuild();
      menu->adjustSize();
      bool firstItem = true;
      for (int k = 0; k < top->Count(); ++k) {
        const TMenuItem* child = top->Items(k);
        QAction* a = menu->ActionOf(child);
        if (!a || child->IsLine()) continue;
        std::printf("%s\"%s\": %s", firstItem ? "" : ", ", Trimmed(child->Caption()).c_str(),
                    Rect(menu->actionGeometry(a)).c_str());
        firstItem = false;
      }
    }
    std::printf("}}");
  }
  std::printf("\n  },\n  \"widgets\": {\n");
  TStartScreen& s = *form.StartScreen;
  const std::pair<const char*, const QWidget*> widgets[] = {
      {"NewGame", form.NewGame},        {"Open", form.OpenButton},
      {"Save", form.SaveGame},          {"Undo", form.ToolButton9},
      {"Redo", form.ToolButton11},      {"AutoMove", form.ToolButton16},
      {"HighScores", form.ToolButton1}, {"Info", form.ToolButton14},
      {"Points", form.PointsLabel},     {"Foundation", form.FoundationLabel},
      {"Starfield", s.Panel1},          {"Text", s.Panel2},
      {"GridPanel", s.Panel3},          {"Preview", s.Panel4},
      {"Strip", s.StripView},           {"Group", s.ComboBox1},
      {"Filter", s.ComboBox2},          {"Table", form.CardTable1View},
      {"Scale", form.ComboBox3}};
  bool first = true;
  for (const auto& [name, w] : widgets) {
    if (!w) continue;
    std::printf("%s    \"%s\": %s", first ? "" : ",\n", name, Rect(InWindow(form, w)).c_str());
    first = false;
  }
  const QRect grid = InWindow(form, s.StringGrid1->viewport());
  std::printf(",\n    \"GridRows\": %s,\n    \"RowHeight\": %d\n  },\n  \"rows\": [", Rect(grid).c_str(),
              s.StringGrid1->rowHeight(0));
  // The games of the grid, row 1 first.
  for (int r = 1; r < s.RowCount(); ++r) std::printf("%s\"%s\"", r > 1 ? ", " : "", s.Cells(0, r).c_str());
  std::printf("]\n}\n");
}

// Presses, moves and releases the left button on the table as the platform delivers it.
void Mouse(TCardTableWidget* view, QEvent::Type type, QPoint at) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(at), QPointF(at), QPointF(view->mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(view, &e);
  Settle();
}

// Where a card can be taken: the middle of what shows of it (the strip above the next card of
// its pile, or the whole card on top).
QPoint GrabPoint(const TPatienceEngine& e, const TCard* c) {
  int visible = e.Deck().CardHeight;
  for (const TCardList& pile : e.Rules.TableauPiles)
    for (size_t i = 0; i + 1 < pile.size(); ++i)
      if (pile[i] == c && pile[i + 1]) visible = pile[i + 1]->Y - c->Y;
  return QPoint(c->X + e.Deck().CardWidth / 2, c->Y + std::max(visible / 2, 1));
}

// The solver's view of the position: it does not know what auto-move takes away.
struct TSolverView {
  std::vector<std::vector<const TCard*>> Stacks;
  std::vector<const TCard*> Cells;
};

TSolverView ViewOf(const TPatienceEngine& e) {
  TSolverView v;
  for (const TCardList& pile : e.Rules.TableauPiles) {
    v.Stacks.emplace_back();
    for (const TCard* c : pile)
      if (c) v.Stacks.back().push_back(c);
  }
  v.Cells.assign(e.Rules.ReserveCards.begin(), e.Rules.ReserveCards.end());
  return v;
}

// One solver move: the card that moves (the lowest of a run), and where to: a tableau pile, a free
// cell or the foundations (pile -1). The solver's view follows the move. False for a line it does
// not understand.
struct TMove {
  const TCard* Card = nullptr;
  TPileKind Kind = pkTableau;
  int Pile = -1;
};

bool Follow(TSolverView& v, const std::string& line, TMove& m) {
  int a = 0, b = 0, n = 0;
  auto take = [&](std::vector<const TCard*>& stack, int count) {
    std::vector<const TCard*> run(stack.end() - count, stack.end());
    stack.resize(stack.size() - size_t(count));
    return run;
  };
  if (std::sscanf(line.c_str(), "Move %d cards from stack %d to stack %d", &n, &a, &b) == 3) {
    const auto run = take(v.Stacks[size_t(a)], n);
    m = {run.front(), pkTableau, b};
    v.Stacks[size_t(b)].insert(v.Stacks[size_t(b)].end(), run.begin(), run.end());
  } else if (std::sscanf(line.c_str(), "Move a card from stack %d to freecell %d", &a, &b) == 2) {
    m = {take(v.Stacks[size_t(a)], 1).front(), pkReserve, b};
    v.Cells[size_t(b)] = m.Card;
  } else if (std::sscanf(line.c_str(), "Move a card from stack %d to stack %d", &a, &b) == 2) {
    m = {take(v.Stacks[size_t(a)], 1).front(), pkTableau, b};
    v.Stacks[size_t(b)].push_back(m.Card);
  } else if (std::sscanf(line.c_str(), "Move a card from stack %d to the foundations", &a) == 1) {
    m = {take(v.Stacks[size_t(a)], 1).front(), pkFoundation, -1};
  } else if (std::sscanf(line.c_str(), "Move a card from freecell %d to stack %d", &a, &b) == 2) {
    m = {v.Cells[size_t(a)], pkTableau, b};
    v.Cells[size_t(a)] = nullptr;
    v.Stacks[size_t(b)].push_back(m.Card);
  } else if (std::sscanf(line.c_str(), "Move a card from freecell %d to freecell %d", &a, &b) == 2) {
    m = {v.Cells[size_t(a)], pkReserve, b};
    v.Cells[size_t(a)] = nullptr;
    v.Cells[size_t(b)] = m.Card;
  } else if (std::sscanf(line.c_str(), "Move a card from freecell %d to the foundations", &a) == 1) {
    m = {v.Cells[size_t(a)], pkFoundation, -1};
    v.Cells[size_t(a)] = nullptr;
  } else {
    return false;
  }
  return m.Card != nullptr;
}

bool OnFoundation(const TPatienceEngine& e, const TCard* c) {
  for (const TCardList& pile : e.Rules.FoundationPiles)
    for (const TCard* f : pile)
      if (f == c) return true;
  return false;
}

// The table's picture once everything has landed, as the test reads the screen: blue, green and
// red bytes of each pixel, row by row, digested; the pixels inside mask (table coordinates) are
// taken as black.
std::string TableDigest(const TCardTable& t, const TRect& mask = TRect()) {
  QCryptographicHash digest(QCryptographicHash::Md5);
  std::string row;
  for (int y = 0; y < t.Buffer.Height(); ++y) {
    row.clear();
    const uint32_t* p = t.Buffer.ScanLine(y);
    for (int x = 0; x < t.Buffer.Width(); ++x) {
      const uint32_t c = x >= mask.Left && x < mask.Right && y >= mask.Top && y < mask.Bottom ? 0 : p[x];
      row += {char(c & 0xFF), char((c >> 8) & 0xFF), char((c >> 16) & 0xFF)};
    }
    digest.addData(QByteArrayView(row.data(), qsizetype(row.size())));
  }
  return digest.result().toHex().toStdString();
}

// What the drag line says of the last sparkle: the digest without it and its rectangle, cut to
// the table.
std::string SparkleMask(const TOracleForm& form) {
  if (!form.Sparkled) return "- 0 0 0 0";
  const TCardTable& t = *form.CardTable1;
  const TRect& r = form.LastSparkle;
  const TRect cut(std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, t.Buffer.Width()),
                  std::min(r.Bottom, t.Buffer.Height()));
  return TableDigest(t, cut) + " " + std::to_string(cut.Left) + " " + std::to_string(cut.Top) + " " +
         std::to_string(cut.Right) + " " + std::to_string(cut.Bottom);
}

// Drags the card to the pile through the table's mouse handling and prints the drag; false when
// the table took no card or the drop did not land.
bool Drag(TOracleForm& form, const TCard* card, int target) {
  TPatienceEngine& e = *form.Engine;
  TCardTable& t = *form.CardTable1;
  TCardTableWidget* view = form.CardTable1View;
  const QPoint press = GrabPoint(e, card);
  const int history = e.HistoryList.Count();
  Mouse(view, QEvent::MouseButtonPress, press);
  if (!t.Dragging || t.DragCard != card) return false;
  // The card's corner lands on the drop point: the shade goes there whatever the drop point mode.
  const TPoint point = t.DropPoints[size_t(target)];
  const QPoint release(point.X + t.GrabX, point.Y + t.GrabY);
  for (int step = 1; step <= 4; ++step) Mouse(view, QEvent::MouseMove, press + (release - press) * step / 4);
  Mouse(view, QEvent::MouseButtonRelease, release);
  if (e.HistoryList.Count() <= history || t.Dragging || t.DragCard) return false;
  const QPoint origin = view->mapTo(&form, QPoint(0, 0));
  const QPoint a = origin + press, b = origin + release;
  std::printf("drag %d %d %d %d %s %s\n", a.x(), a.y(), b.x(), b.y(), TableDigest(t).c_str(),
              SparkleMask(form).c_str());
  std::fflush(stdout);
  return true;
}

int Play(TOracleForm& form, const std::string& file, int most) {
  if (!form.LoadGame(file)) {
    std::fprintf(stderr, "%s was not opened\n", file.c_str());
    return 2;
  }
  TPatienceEngine& e = *form.Engine;
  std::printf("deal %s %d\n", TableDigest(*form.CardTable1).c_str(), int32_t(e.RandomSeed()));
  std::fflush(stdout);
  if (most <= 0) return 0;
  if (SolverPath().empty()) {
    std::fprintf(stderr, "fc-solve is not installed\n");
    return 2;
  }
  const TSolution s = Solve(SolverBoard(e), "-g freecell -opt");
  if (!s.Solved) {
    std::fprintf(stderr, "the solver finds no win:\n%s\n", SolverBoard(e).c_str());
    return 1;
  }
  if (std::getenv("DESKTOP_ORACLE_BOARD")) std::fprintf(stderr, "%s", SolverBoard(e).c_str());
  TSolverView view = ViewOf(e);
  int drags = 0;
  for (const std::string& line : s.Moves) {
    if (e.Won() || drags >= most) break;
    TMove m;
    if (!Follow(view, line, m)) {
      std::fprintf(stderr, "a move not understood: %s\n", line.c_str());
      return 1;
    }
    // Auto-move took it up already.
    if (OnFoundation(e, m.Card)) continue;
    const int target = m.Kind == pkFoundation ? DropIndexOf(e, pkFoundation, FoundationFor(e, m.Card))
                                              : DropIndexOf(e, m.Kind, m.Pile);
    if (target < 0 || !Drag(form, m.Card, target)) {
      std::fprintf(stderr, "\"%s\" did not land:\n%s\n", line.c_str(), SolverBoard(e).c_str());
      return 1;
    }
    ++drags;
  }
  if (!e.Won()) return drags >= most ? 0 : 1;
  std::printf("won\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("SDL_AUDIODRIVER", "dummy");
  TTempDir home;
  qputenv("HOME", QByteArray::fromStdString(home.Path()));
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home / ".config"));
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home / ".local/share"));
  InitSystemDirs();
  const std::string command = argc > 1 ? argv[1] : "";
  const int at = command == "play" ? 3 : 2;
  if ((command != "layout" && command != "play") || argc < at + 4) {
    std::fprintf(stderr, "usage: desktop_oracle layout W H SW SH [PPM] | play FILE W H SW SH [N]\n");
    return 2;
  }
  const int w = std::atoi(argv[at]), h = std::atoi(argv[at + 1]);
  int rc = 0;
  {
    int qargc = 1;
    QApplication app(qargc, argv);
    if (const char* bin = std::getenv("PATIENCE_BIN_DIR")) SetProgramDirForTesting(bin);
    SetScreenSizeForTesting(TPoint(std::atoi(argv[at + 2]), std::atoi(argv[at + 3])));
    // Questions are answered Yes; dialogs (the high-score name among them) are closed.
    TScopedMessageHook yes([](const TMessageRequest&) { return mrYes; });
    SetModalHook([](QDialog&) { return int(QDialog::Rejected); });
    TVirtualClock clock;
    TScopedClock scoped(clock);
    {
      TOracleForm form(QStringList{});
      Prepare(form, w, h);
      if (command == "layout") {
        PrintLayout(form);
        if (argc > at + 4 &&
            !form.grab().toImage().convertToFormat(QImage::Format_RGB888).save(argv[at + 4], "PPM"))
          rc = 2;
      } else
        rc = Play(form, argv[2], argc > at + 4 ? std::atoi(argv[at + 4]) : 400);
    }
    SetModalHook({});
  }
  DoneSystemDirs();
  return rc;
}
