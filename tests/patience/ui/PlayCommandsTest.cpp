// The main window's play commands offscreen: the " Game " items, the game toolbar and the Redeal
// button run the engine's commands and show the states the game gives them; the mouse plays
// through the real table widget; commands wait while another one runs.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "cardtable/CardTableWidget.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/core/Clock.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/patience/ui/WindowTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

// A window that can act in the middle of a command: the engine plays its sounds part-way
// through, and OnSound runs there.
class TPlayForm : public TForm1 {
 public:
  using TForm1::TForm1;
  std::function<void(const std::string&)> OnSound;
  void PlaySound(const std::string& name, int, int) override {
    if (OnSound) OnSound(name);
  }
};

// What the player sees of the commands: New Game, Undo, Redo and Redeal enabled, the Redeal
// button shown.
struct TStates {
  bool New, Undo, Redo, Redeal, RedealShown;
  friend bool operator==(const TStates&, const TStates&) = default;
};

std::ostream& operator<<(std::ostream& os, const TStates& s) {
  return os << "New " << s.New << " Undo " << s.Undo << " Redo " << s.Redo << " Redeal " << s.Redeal
            << " shown " << s.RedealShown;
}

using S = TStates;

class PlayCommandsTest : public TWindowTest<TPlayForm> {
 protected:
  TPatienceEngine& E() { return *Form->Engine; }
  TGameRules& R() { return Form->Engine->Rules; }
  void Choose(const std::string& caption) {
    TMenuItem* item = GetMenuItem(Form->Alphabeticallist1, caption, true);
    ASSERT_NE(item, nullptr) << caption;
    item->Click();
    ASSERT_EQ(R().GameName, caption);
  }
  // The game dealt again from seed (by the New Game button).
  void DealSeed(uint32_t seed) {
    E().SetRandomSeed(seed);
    Form->NewGame->click();
  }

  // Mouse gestures on the table widget, in table coordinates.
  QWidget* View() { return Form->CardTable1View; }
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(View(), Qt::LeftButton, {}, from);
    for (int i = 1; i <= 10; ++i) QTest::mouseMove(View(), from + (to - from) * i / 10);
    QTest::mouseRelease(View(), Qt::LeftButton, {}, to);
    QCoreApplication::processEvents();
  }
  // A card dragged by its middle so that it lands on place.
  void DragCard(const TCard* card, TPoint place) {
    const QPoint grip(card->X + 30, card->Y + 40);
    Drag(grip, grip + QPoint(place.X - card->X, place.Y - card->Y));
  }
  void ClickAt(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(View(), button, {}, at);
    QCoreApplication::processEvents();
  }
  void ClickStock() {
    const TPoint s = E().StockPlace();
    ClickAt(QPoint(s.X + 35, s.Y + 48));
  }
  // The first tableau pile whose top card is face up and has this value; -1 for none.
  int PileTopped(TCardValue value) {
    for (size_t p = 0; p < R().TableauPiles.size(); ++p) {
      const TCard* top = TopCard(R().TableauPiles[p]);
      if (top && top->FaceUp && top->Value == value) return int(p);
    }
    return -1;
  }
  int FoundationCards() {
    int n = 0;
    for (const TCardList& f : R().FoundationPiles) n += CardCountOf(f);
    return n;
  }

  TStates States() {
    TForm1& f = *Form;
    // Each menu item and its button always agree.
    EXPECT_EQ(f.NewGame1->Enabled(), f.NewGame->isEnabled());
    EXPECT_EQ(f.Undo1->Enabled(), f.ToolButton9->isEnabled());
    EXPECT_EQ(f.Redo1->Enabled(), f.ToolButton11->isEnabled());
    EXPECT_EQ(f.Redealwastepile1->Enabled(), f.ReDealButton2->isEnabled());
    return {f.NewGame1->Enabled(), f.Undo1->Enabled(), f.Redo1->Enabled(), f.Redealwastepile1->Enabled(),
            f.ReDealButton2->isVisible()};
  }
};

}  // namespace

TEST_F(PlayCommandsTest, TheCommandsAsTheyStandBeforeAGame) {
  TForm1& f = Shown();
  // The " Game " menu: the play commands first.
  std::vector<std::string> game;
  for (int i = 0; i < f.Game1->Count(); ++i) game.push_back(f.Game1->Items(i)->Name());
  EXPECT_EQ(game, (std::vector<std::string>{"NewGame1",
                                            "Redealwastepile1",
                                            "N3",
                                            "Undo1",
                                            "Redo1",
                                            "N4",
                                            "Open1",
                                            "Save1",
                                            "SaveandQuit1",
                                            "ReStart1",
                                            "Delete1",
                                            "N5",
                                            "AddtoFavourites1",
                                            "EditFavouriteMenu1",
                                            "N6",
                                            "BackToStart1",
                                            "Info1",
                                            "FullScreenF111",
                                            "N2",
                                            "QuitProgram1"}));
  EXPECT_EQ(f.NewGame1->Caption(), "New Game");
  EXPECT_EQ(f.Redealwastepile1->Caption(), "Redeal wastepile");
  EXPECT_EQ(f.Undo1->Caption(), "Undo");
  EXPECT_EQ(f.Redo1->Caption(), "Redo");
  EXPECT_EQ(f.NewGame1->ImageIndex(), tiNewGame);
  EXPECT_EQ(f.Redealwastepile1->ImageIndex(), tiRedeal);
  EXPECT_EQ(f.Undo1->ImageIndex(), tiUndo);
  EXPECT_EQ(f.Redo1->ImageIndex(), tiRedo);
  // Found by caption as every command is.
  EXPECT_EQ(GetMenuItem(&f.MainMenu1, "new game", true), f.NewGame1);
  EXPECT_EQ(f.MainMenu1.FindByName("AutoMoveOn"), f.AutoMoveOnItem);
  EXPECT_EQ(f.MainMenu1.FindByName("AutoMoveOff"), f.AutoMoveOffItem);
  EXPECT_EQ(f.AutoMove1->Parent(), f.Options1);
  EXPECT_EQ(f.AutoMoveOnItem->Caption(), "On");
  EXPECT_EQ(f.AutoMoveOffItem->Caption(), "Off");
  // Owner-drawn like every other item.
  f.MainMenu1.ForEach([](TMenuItem& item) { EXPECT_TRUE(item.OnDrawItem) << item.Name(); });

  // The game toolbar: buttons with their hints and glyphs, then the two read-outs.
  struct TButton {
    TToolButton* Button;
    const char* Name;
    const char* Hint;
    int Image;
  };
  for (const TButton& b : {TButton{f.NewGame, "NewGame", "New Game", tiNewGame},
                           TButton{f.ToolButton9, "ToolButton9", "Undo", tiUndo},
                           TButton{f.ToolButton11, "ToolButton11", "Redo", tiRedo},
                           TButton{f.ToolButton16, "ToolButton16", "Auto Move Toggle", tiAutoMoveOn}}) {
    EXPECT_EQ(b.Button->objectName().toStdString(), b.Name);
    EXPECT_EQ(b.Button->Hint(), b.Hint);
    EXPECT_EQ(b.Button->ImageIndex(), b.Image) << b.Name;
    EXPECT_EQ(b.Button->parentWidget(), f.ToolBar);
    EXPECT_TRUE(b.Button->isVisible());
    // The button shows exactly the strip's picture.
    EXPECT_EQ(b.Button->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
              ToolbarImages().Image(b.Image))
        << b.Name;
  }
  // Laid left to right, inside the bar and vertically centred in it.
  EXPECT_LT(f.NewGame->x(), f.ToolButton9->x());
  EXPECT_LT(f.ToolButton9->x(), f.ToolButton11->x());
  EXPECT_LT(f.ToolButton11->x(), f.ToolButton16->x());
  EXPECT_LT(f.ToolButton16->x(), f.FoundationLabel->x());
  EXPECT_LT(f.FoundationLabel->x(), f.PointsLabel->x());
  for (QWidget* w : std::initializer_list<QWidget*>{f.NewGame, f.ToolButton16, f.PointsLabel}) {
    EXPECT_GE(w->y(), 0);
    EXPECT_LE(w->y() + w->height(), f.ToolBar->height());
  }
  EXPECT_EQ(f.NewGame->y(), f.ToolButton16->y());

  // Nothing to play yet; auto-move is on (the option's default).
  EXPECT_EQ(States(), (S{false, false, false, false, false}));
  EXPECT_TRUE(f.AutoMoveOn());
  EXPECT_FALSE(f.AutoMoveOnItem->Enabled());
  EXPECT_TRUE(f.AutoMoveOffItem->Enabled());
  // The Redeal button: 50 x 50, over the table.
  EXPECT_EQ(f.ReDealButton2->size(), QSize(50, 50));
  EXPECT_EQ(f.ReDealButton2->parentWidget(), &f);
  // The commands do nothing without a game, even when asked for directly.
  f.NewExecute();
  f.ToolButton90Click();
  f.ToolButton110Click();
  f.ReDealWastepileExecute();
  EXPECT_EQ(f.CardTable1->TableCount, 0);
  EXPECT_TRUE(R().GameName.empty());
}

TEST_F(PlayCommandsTest, ADealOffersNewAndUndoButNotRedo) {
  TForm1& f = Shown();
  Choose("Klondike 1 [Turn over 1]");
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  EXPECT_TRUE(f.ToolBar1->isEnabled());
  // New Game deals again with the next seed, from the menu and from the button.
  const std::string seed = E().HistoryList[1];
  f.NewGame1->Click();
  EXPECT_NE(E().HistoryList[1], seed);
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  const std::string second = E().HistoryList[1];
  f.NewGame->click();
  EXPECT_NE(E().HistoryList[1], second);
  EXPECT_EQ(R().GameName, "Klondike 1 [Turn over 1]");
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience. Game: Klondike 1 [Turn over 1]  [Open Game]");
  // A gathering game offers its redeal from the deal on.
  Choose("Trefoil");
  ASSERT_LT(R().Stock.DealCount, -2);
  EXPECT_EQ(States(), (S{true, true, false, true, true}));
}

TEST_F(PlayCommandsTest, TheAutoMoveToggleKeepsTheOptionItsPictureAndItsItems) {
  TForm1& f = Shown();
  f.ToolButton16->click();
  EXPECT_FALSE(f.AutoMoveOn());
  EXPECT_EQ(f.ToolButton16->ImageIndex(), tiAutoMoveOff);
  EXPECT_TRUE(f.AutoMoveOnItem->Enabled());
  EXPECT_FALSE(f.AutoMoveOffItem->Enabled());
  // A deal with an Ace on top of a pile leaves it there while the option is off.
  Choose("Klondike 1 [Turn over 1]");
  for (uint32_t seed = 1; seed < 400 && PileTopped(cvAce) < 0; ++seed) DealSeed(seed);
  const int pile = PileTopped(cvAce);
  ASSERT_GE(pile, 0);
  const int home = FoundationCards();
  // Switching it on from the menu runs a pass at once: the Ace goes up.
  f.AutoMoveOnItem->Click();
  EXPECT_TRUE(f.AutoMoveOn());
  EXPECT_EQ(f.ToolButton16->ImageIndex(), tiAutoMoveOn);
  EXPECT_FALSE(f.AutoMoveOnItem->Enabled());
  EXPECT_TRUE(f.AutoMoveOffItem->Enabled());
  EXPECT_GT(FoundationCards(), home);
  // Off from the menu, on again from the button.
  f.AutoMoveOffItem->Click();
  EXPECT_FALSE(f.AutoMoveOn());
  EXPECT_EQ(f.ToolButton16->ImageIndex(), tiAutoMoveOff);
  f.ToolButton16->click();
  EXPECT_TRUE(f.AutoMoveOn());
  EXPECT_EQ(f.ToolButton16->ImageIndex(), tiAutoMoveOn);
}

TEST_F(PlayCommandsTest, ADragThroughTheTableMovesAnAceHomeAndUndoAndRedoFollow) {
  TForm1& f = Shown();
  f.ToolButton16->click();  // auto-move off: the Ace waits for the player
  Choose("Klondike 1 [Turn over 1]");
  for (uint32_t seed = 1; seed < 400 && PileTopped(cvAce) < 0; ++seed) DealSeed(seed);
  const int pile = PileTopped(cvAce);
  ASSERT_GE(pile, 0);
  TCard* ace = TopCard(R().TableauPiles[size_t(pile)]);
  const TPoint from(ace->X, ace->Y);
  const int below = CardCountOf(R().TableauPiles[size_t(pile)]) - 1;
  ASSERT_EQ(FoundationCards(), 0);

  // Pressed, dragged over the first foundation and let go.
  DragCard(ace, R().FoundationPlaces[0]);
  ASSERT_EQ(TopCard(R().FoundationPiles[0]), ace);
  EXPECT_EQ(ace->X, R().FoundationPlaces[0].X);
  EXPECT_EQ(ace->Y, R().FoundationPlaces[0].Y);
  EXPECT_EQ(CardCountOf(R().TableauPiles[size_t(pile)]), below);
  if (below > 0) {
    EXPECT_TRUE(TopCard(R().TableauPiles[size_t(pile)])->FaceUp);
  }
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  EXPECT_EQ(f.PointsLabel->text().toStdString(), "  Points = 50  ");

  // Undo from the toolbar: the Ace goes back where it lay, the uncovered card turns down again.
  f.ToolButton9->click();
  EXPECT_EQ(TopCard(R().TableauPiles[size_t(pile)]), ace);
  EXPECT_EQ(TPoint(ace->X, ace->Y), from);
  EXPECT_EQ(FoundationCards(), 0);
  if (below > 0) {
    EXPECT_FALSE(R().TableauPiles[size_t(pile)][size_t(below - 1)]->FaceUp);
  }
  EXPECT_EQ(States(), (S{true, true, true, false, false}));
  // Redo from the menu plays it again; nothing more to redo.
  f.Redo1->Click();
  EXPECT_EQ(TopCard(R().FoundationPiles[0]), ace);
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  // Undo from the menu, then a new move instead of the redo: the undone move is gone and the
  // game no longer counts.
  f.Undo1->Click();
  ASSERT_TRUE(f.Redo1->Enabled());
  DragCard(ace, R().FoundationPlaces[0]);
  ASSERT_EQ(TopCard(R().FoundationPiles[0]), ace);
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience. Game: Klondike 1 [Turn over 1]  [Closed Game]");
  // A move the rules refuse (the Ace back onto the tableau) goes home and changes nothing.
  const TStringList undo = E().UndoList;
  DragCard(ace, R().TableauPlaces[size_t(pile)]);
  EXPECT_EQ(TopCard(R().FoundationPiles[0]), ace);
  EXPECT_EQ(E().UndoList.Lines, undo.Lines);
}

TEST_F(PlayCommandsTest, MiddleAndRightClicksAskForAutoMove) {
  TForm1& f = Shown();
  f.ToolButton16->click();
  Choose("Klondike 1 [Turn over 1]");
  for (uint32_t seed = 1; seed < 400 && PileTopped(cvAce) < 0; ++seed) DealSeed(seed);
  const int pile = PileTopped(cvAce);
  ASSERT_GE(pile, 0);
  TCard* ace = TopCard(R().TableauPiles[size_t(pile)]);
  // A middle click on the Ace sends it up; the option stays off.
  ClickAt(QPoint(ace->X + 30, ace->Y + 40), Qt::MiddleButton);
  EXPECT_EQ(FoundationCards(), 1);
  EXPECT_TRUE(std::any_of(R().FoundationPiles.begin(), R().FoundationPiles.end(),
                          [ace](const TCardList& p) { return TopCard(p) == ace; }));
  EXPECT_FALSE(f.AutoMoveOn());
  EXPECT_TRUE(f.Undo1->Enabled());
  // A right click on the bare table runs one forced pass: every card that can go up goes up,
  // and the option stays off.
  for (uint32_t seed = 400; seed < 900; ++seed) {
    DealSeed(seed);
    int aces = 0;
    for (const TCardList& p : R().TableauPiles)
      if (TopCard(p) && TopCard(p)->Value == cvAce) ++aces;
    if (aces >= 2) break;
  }
  int aces = 0;
  for (const TCardList& p : R().TableauPiles)
    if (TopCard(p) && TopCard(p)->Value == cvAce) ++aces;
  ASSERT_GE(aces, 2);
  ClickAt(QPoint(View()->width() - 20, View()->height() - 20), Qt::RightButton);
  EXPECT_GE(FoundationCards(), aces);
  EXPECT_EQ(PileTopped(cvAce), -1);
  EXPECT_FALSE(f.AutoMoveOn());
}

TEST_F(PlayCommandsTest, TheRedealButtonAppearsOnTheEmptyStockAndGoesWithItsRedeal) {
  TForm1& f = Shown();
  f.ToolButton16->click();
  Choose("Klondike 2 [Turn over 3]");
  const int stock = E().Deck().CardsLeft(false);
  ASSERT_EQ(stock, 24);
  // Three cards a click: seven clicks leave three in the stock, the eighth empties it.
  for (int i = 0; i < 7; ++i) ClickStock();
  EXPECT_EQ(E().Deck().CardsLeft(false), 3);
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  ClickStock();
  ASSERT_EQ(E().Deck().CardsLeft(false), 0);
  EXPECT_EQ(States(), (S{true, true, false, true, true}));
  // Centred on the stock (71 x 96 cards: 10 and 23 from its corner), above the table.
  const TPoint s = E().StockPlace();
  EXPECT_EQ(f.ReDealButton2->pos(), QPoint(s.X + 10, f.CardTable1->Top() + s.Y + 23));
  EXPECT_GT(f.children().indexOf(f.ReDealButton2), f.children().indexOf(f.CardTable1View));
  // Pressed: the waste goes back into the stock, the button goes.
  QTest::mouseClick(f.ReDealButton2, Qt::LeftButton);
  EXPECT_EQ(E().Deck().CardsLeft(false), 24);
  EXPECT_TRUE(R().WasteCards.empty());
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  // Undone: the waste is back and so is the button; redone from the toolbar: gone again.
  f.ToolButton9->click();
  EXPECT_EQ(E().Deck().CardsLeft(false), 0);
  EXPECT_EQ(States(), (S{true, true, true, true, true}));
  f.ToolButton11->click();
  EXPECT_EQ(E().Deck().CardsLeft(false), 24);
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  // The menu item does the same as the button.
  for (int i = 0; i < 8; ++i) ClickStock();
  ASSERT_TRUE(f.Redealwastepile1->Enabled());
  f.Redealwastepile1->Click();
  EXPECT_EQ(E().Deck().CardsLeft(false), 24);
  EXPECT_FALSE(f.ReDealButton2->isVisible());
  // Full screen moves the table up; the button stays on the stock.
  for (int i = 0; i < 8; ++i) ClickStock();
  f.FullScreenF111Click();
  EXPECT_EQ(f.ReDealButton2->pos(), QPoint(s.X + 10, f.CardTable1->Top() + s.Y + 23));
  f.FullScreenF111Click();
  EXPECT_EQ(f.ReDealButton2->pos(), QPoint(s.X + 10, f.CardTable1->Top() + s.Y + 23));
  // A new deal takes it away.
  f.NewGame->click();
  EXPECT_EQ(States(), (S{true, true, false, false, false}));

  // Turn over 1 allows one pass only: an empty stock offers nothing.
  Choose("Klondike 1 [Turn over 1]");
  for (int i = 0; i < 24; ++i) ClickStock();
  ASSERT_EQ(E().Deck().CardsLeft(false), 0);
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  f.ReDealWastepileExecute();
  EXPECT_EQ(E().Deck().CardsLeft(false), 0);
}

TEST_F(PlayCommandsTest, AWinClosesTheGameAndUndoOpensItAgain) {
  TForm1& f = Shown();
  f.ToolButton16->click();
  Choose("Klondike 1 [Turn over 1]");
  // Every card on its foundation but the King of spades, which lies alone on the first pile.
  TPatienceEngine& e = E();
  TGameRules& r = R();
  TCardTable& t = *f.CardTable1;
  TCardDeck& d = e.Deck();
  t.CollectCards();
  TCardList all;
  while (d.CardsLeft(false) > 0) all.push_back(d.NextCard());
  std::sort(all.begin(), all.end(), [](const TCard* a, const TCard* b) {
    return std::pair(int(a->Suit), int(a->Value)) < std::pair(int(b->Suit), int(b->Value));
  });
  for (TCardList& p : r.TableauPiles) p = EmptyPile();
  for (TCardList& p : r.FoundationPiles) p.clear();
  TCard* king = nullptr;
  for (TCard* c : all) {
    c->FaceUp = true;
    if (c->Suit == csSpade && c->Value == cvKing)
      king = c;
    else
      r.FoundationPiles[size_t(c->Suit)].push_back(c);
  }
  ASSERT_NE(king, nullptr);
  r.TableauPiles[0] = {king};
  r.WasteCards.clear();
  e.ModifyAll();
  for (const TCardList& p : r.FoundationPiles)
    for (TCard* c : p) t.AddCard(c, c->X, c->Y);
  t.AddCard(king, king->X, king->Y);
  e.ModifyDeck();
  r.FoundationCount = 51;
  e.HistoryList.Lines.resize(3);
  e.HistoryPointer = 3;
  e.UndoList.Clear();
  e.UndoPointer = 0;
  e.SetLists();

  DragCard(king, r.FoundationPlaces[size_t(csSpade)]);
  ASSERT_TRUE(e.Won());
  EXPECT_EQ(r.FoundationCount, 52);
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience. Game: Klondike 1 [Turn over 1]  [Closed Game]");
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  // Nothing can be dragged any more.
  DragCard(king, r.TableauPlaces[0]);
  EXPECT_EQ(TopCard(r.FoundationPiles[size_t(csSpade)]), king);
  // Undo opens the won game again; redo wins it again.
  f.ToolButton9->click();
  EXPECT_FALSE(e.Won());
  EXPECT_EQ(TopCard(r.TableauPiles[0]), king);
  EXPECT_EQ(States(), (S{true, true, true, false, false}));
  f.ToolButton11->click();
  EXPECT_TRUE(e.Won());
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
  // A new deal starts afresh.
  f.NewGame->click();
  EXPECT_FALSE(e.Won());
  EXPECT_EQ(r.FoundationCount, 0);
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience. Game: Klondike 1 [Turn over 1]  [Open Game]");
}

TEST_F(PlayCommandsTest, AStockClickThatMayNotDealBeeps) {
  TForm1& f = Shown();
  f.ToolButton16->click();
  Choose("Spiderette");
  ASSERT_EQ(R().Stock.DealCount, -2);
  // A deal whose first pile (one card) can move onto another pile's top, leaving it empty.
  int target = -1;
  for (uint32_t seed = 1; seed < 600 && target < 0; ++seed) {
    DealSeed(seed);
    const TCard* single = TopCard(R().TableauPiles[0]);
    if (CardCountOf(R().TableauPiles[0]) != 1) continue;
    for (size_t p = 1; p < R().TableauPiles.size(); ++p) {
      const TCard* top = TopCard(R().TableauPiles[p]);
      if (top && top->FaceUp && int(top->Value) == int(single->Value) + 1) target = int(p);
    }
  }
  ASSERT_GE(target, 0);
  const TCard* top = TopCard(R().TableauPiles[size_t(target)]);
  DragCard(TopCard(R().TableauPiles[0]), TPoint(top->X, top->Y + E().TableauFan));
  ASSERT_TRUE(IsEmpty(R().TableauPiles[0]));
  const int stock = E().Deck().CardsLeft(false);
  const int beeps = BeepCount();
  ClickStock();
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_EQ(E().Deck().CardsLeft(false), stock);
  (void)f;
}

TEST_F(PlayCommandsTest, CommandsWaitWhileAnotherRuns) {
  TPlayForm& f = Shown();
  f.ToolButton16->click();
  Choose("Klondike 2 [Turn over 3]");
  for (int i = 0; i < 8; ++i) ClickStock();  // the Redeal button is up
  ASSERT_TRUE(f.ReDealButton2->isVisible());
  ClickStock();  // an empty stock click: one more record to undo
  ClickStock();
  const std::string seed = E().HistoryList[1];

  // Every command and game choice tried while an undo runs.
  int tries = 0;
  f.OnSound = [&](const std::string& name) {
    if (name != "drag.wav" || tries++ > 0) return;
    ASSERT_TRUE(f.CommandRunning());
    f.NewGame->click();
    f.NewGame1->Click();
    f.ToolButton9->click();
    f.Undo1->Click();
    f.ToolButton11->click();
    f.Redo1->Click();
    f.ReDealButton2->click();
    f.Redealwastepile1->Click();
    f.ReDealWastepileExecute();
    f.ToolButton16->click();
    GetMenuItem(f.Alphabeticallist1, "Freecell", true)->Click();
    f.QuitProgram1->Click();
  };
  const int undoLines = E().UndoPointer;
  f.ToolButton9->click();
  f.OnSound = nullptr;
  ASSERT_EQ(tries, 1);
  // One undo happened, nothing else.
  EXPECT_LT(E().UndoPointer, undoLines);
  EXPECT_EQ(E().HistoryList[1], seed);
  EXPECT_EQ(R().GameName, "Klondike 2 [Turn over 3]");
  EXPECT_FALSE(f.AutoMoveOn());
  EXPECT_TRUE(Asked.empty());
  EXPECT_TRUE(f.isVisible());
  EXPECT_FALSE(f.CommandRunning());
  // Afterwards the same commands run.
  const int after = E().UndoPointer;
  f.ToolButton9->click();
  EXPECT_LT(E().UndoPointer, after);

  // And while a new deal runs (its shuffle), no other command and no game choice gets in.
  tries = 0;
  f.OnSound = [&](const std::string& name) {
    if (name != "shuffle.wav" || tries++ > 0) return;
    ASSERT_TRUE(f.Busy());
    f.NewGame->click();
    f.ToolButton9->click();
    f.ToolButton11->click();
    f.ToolButton16->click();
    f.ReDealWastepileExecute();
    GetMenuItem(f.Alphabeticallist1, "Freecell", true)->Click();
    f.QuitProgram1->Click();
  };
  const std::string before = E().HistoryList[1];
  f.NewGame->click();
  f.OnSound = nullptr;
  ASSERT_EQ(tries, 1);
  EXPECT_NE(E().HistoryList[1], before);
  EXPECT_EQ(R().GameName, "Klondike 2 [Turn over 3]");
  EXPECT_EQ(E().HistoryList.Count(), 3);
  EXPECT_FALSE(f.AutoMoveOn());
  EXPECT_TRUE(Asked.empty());
  EXPECT_EQ(States(), (S{true, true, false, false, false}));
}
