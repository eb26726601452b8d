// The card and deck model: fresh packs, the shuffle, dealing and returning cards, ordering,
// card counts and backs. Decks are built on tiny card sets written at test time.
#include <gtest/gtest.h>

#include <map>

#include "cardtable/CardDeck.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/TestUtil.h"

namespace {

class DeckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TTestCardsetOptions four;
    four.Backs = 4;
    WriteTestCardset(Dir.Path(), "Standard", four);
    Deck = std::make_unique<TCardDeck>(nullptr, Dir.Path());
  }
  // Fresh-pack position (1..52) of a card's identity.
  static int FreshIndex(const TCard* c) { return int(c->Value) * 4 + int(c->Suit) + 1; }
  std::vector<TCard*> Order() const {
    std::vector<TCard*> v;
    for (int i = 1; i <= Deck->CardCount; ++i) v.push_back(Deck->Cards[size_t(i)].get());
    return v;
  }
  TTempDir Dir;
  std::unique_ptr<TCardDeck> Deck;
};

TEST_F(DeckTest, NewDeckIsAFreshFaceDownPack) {
  EXPECT_EQ(Deck->CardCount, 52);
  EXPECT_EQ(Deck->Dealt, 0);
  EXPECT_EQ(Deck->Scale, 1.0f);
  EXPECT_EQ(Deck->SizeStep, 0);
  EXPECT_EQ(Deck->CardBack, 1);
  EXPECT_EQ(Deck->BackCount, 4);
  EXPECT_EQ(Deck->DeckName, "Standard");
  EXPECT_EQ(Deck->CardWidth, 8);
  EXPECT_EQ(Deck->CardHeight, 10);
  for (int i = 1; i <= 52; ++i) {
    TCard* c = Deck->CardByIndex(i);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Suit, TCardSuit((i - 1) % 4)) << i;
    EXPECT_EQ(c->Value, TCardValue((i - 1) / 4)) << i;
    EXPECT_FALSE(c->FaceUp);
    EXPECT_EQ(c->State, 0);
    EXPECT_EQ(c->Deck, Deck.get());
  }
  EXPECT_EQ(Deck->CardByIndex(53), nullptr);
  EXPECT_EQ(Deck->CardByIndex(0), nullptr);
  EXPECT_THROW(Deck->PlaceByIndex(39), EListError);
  EXPECT_THROW(Deck->PlaceByIndex(0), EListError);
  // Ace of clubs first, king of spades last, and each face is the picture of its file.
  EXPECT_EQ(Deck->CardByIndex(1)->Face.Pixel(4, 5), TestFaceColour("01c.bmp"));
  EXPECT_EQ(Deck->CardByIndex(52)->Face.Pixel(4, 5), TestFaceColour("13s.bmp"));
  EXPECT_EQ(Deck->Back.Pixel(1, 1), TestBackColour(1));
}

TEST_F(DeckTest, CardStatePointsAndAssign) {
  TCard* c = Deck->CardByIndex(1);
  c->SetState(2);
  EXPECT_EQ(c->State, 0);
  c->SetState(-3);
  EXPECT_EQ(c->State, 0);
  c->SetState(-2);
  EXPECT_EQ(c->State, -2);
  c->SetState(1);
  EXPECT_EQ(c->State, 1);

  EXPECT_EQ(Deck->CardByIndex(1)->PointValue(), 1);    // ace
  EXPECT_EQ(Deck->CardByIndex(37)->PointValue(), 10);  // ten of clubs
  EXPECT_EQ(Deck->CardByIndex(45)->PointValue(), 10);  // queen
  TCard joker(Deck.get());
  joker.Suit = csJoker;
  joker.Value = TCardValue(3);
  EXPECT_EQ(joker.PointValue(), 4);

  // Assign copies identity, flags and pictures; with angle 0 the rotated picture stays.
  TCard target(Deck.get());
  target.RotatedFace.SetSize(3, 3);
  target.RotatedFace.Clear(clRed);
  TCard& src = *Deck->CardByIndex(10);
  src.FaceUp = true;
  src.X = 11;
  src.Y = 12;
  src.Displayed = true;
  target.Assign(src);
  EXPECT_EQ(target.Suit, src.Suit);
  EXPECT_EQ(target.Value, src.Value);
  EXPECT_TRUE(target.FaceUp);
  EXPECT_EQ(target.X, 11);
  EXPECT_EQ(target.Y, 12);
  EXPECT_TRUE(target.Displayed);
  EXPECT_TRUE(SamePixels(target.Face, src.Face));
  EXPECT_EQ(target.RotatedFace.Width(), 3);
  EXPECT_EQ(target.RotatedFace.Pixel(1, 1), clRed);
  // The copy is deep.
  src.Face.Clear(clWhite);
  EXPECT_FALSE(SamePixels(target.Face, src.Face));
}

// Orders computed independently from the generator's formula for seed 12345.
TEST_F(DeckTest, ShuffleMatchesKnownOrders) {
  ProgramRandom().Seed = 12345;
  Deck->Shuffle();
  const std::vector<int> expected = {20, 9,  26, 30, 8,  18, 32, 33, 15, 25, 47, 17, 13, 41, 34, 22, 43, 14,
                                     19, 2,  48, 5,  24, 4,  21, 7,  46, 35, 51, 29, 39, 36, 44, 31, 49, 12,
                                     42, 16, 28, 52, 40, 38, 1,  50, 10, 23, 3,  11, 27, 37, 45, 6};
  for (int i = 1; i <= 52; ++i) EXPECT_EQ(FreshIndex(Deck->CardByIndex(i)), expected[size_t(i - 1)]) << i;
  EXPECT_EQ(ProgramRandom().Seed, 3293728725u);  // 52 draws

  Deck->SetCardCount(104);
  std::vector<TCard*> fresh = Order();
  TRandom rng(12345);
  Deck->Shuffle(rng);
  const std::vector<int> expected104 = {
      94, 27,  93, 8,  50, 42,  65, 5,  68, 20, 101, 34, 25, 32, 53, 72, 87, 83, 13, 104, 92,
      7,  73,  45, 6,  74, 57,  2,  12, 11, 79, 82,  80, 49, 55, 17, 18, 41, 69, 14, 102, 22,
      64, 36,  10, 85, 16, 100, 75, 4,  59, 62, 97,  84, 54, 70, 60, 88, 98, 71, 58, 29,  56,
      9,  67,  3,  63, 37, 35,  91, 1,  44, 19, 48,  33, 21, 15, 24, 38, 95, 90, 30, 61,  99,
      47, 103, 81, 78, 86, 31,  28, 96, 43, 40, 89,  77, 51, 52, 26, 23, 46, 66, 39, 76};
  for (int i = 1; i <= 104; ++i)
    EXPECT_EQ(Deck->CardByIndex(i), fresh[size_t(expected104[size_t(i - 1)] - 1)]) << i;
  EXPECT_EQ(rng.Seed, 827217585u);
}

TEST_F(DeckTest, ShuffleLeavesTheDealtPartAndRepeatsFromASeed) {
  for (int i = 0; i < 10; ++i) Deck->NextCard();
  std::vector<TCard*> before = Order();
  TRandom rng(987654321);
  Deck->Shuffle(rng);
  std::vector<TCard*> after = Order();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(after[size_t(i)], before[size_t(i)]);
  EXPECT_EQ(FreshIndex(after[10]), 50);
  EXPECT_EQ(FreshIndex(after[11]), 28);
  EXPECT_EQ(rng.Seed, 3543075655u);
  // Every stock card is reset, including cards swapped backwards past the loop.
  for (int i = 11; i <= 52; ++i) {
    EXPECT_EQ(Deck->CardByIndex(i)->State, 0);
    EXPECT_FALSE(Deck->CardByIndex(i)->Displayed);
  }

  // Same seed and same starting order: same result.
  Deck->SortCards();
  Deck->Dealt = 0;
  TRandom a(77);
  Deck->Shuffle(a);
  std::vector<TCard*> first = Order();
  Deck->SortCards();
  TRandom b(77);
  Deck->Shuffle(b);
  EXPECT_EQ(Order(), first);

  // A stock of one card stays put, but the generator still advances.
  Deck->Dealt = 51;
  std::vector<TCard*> one = Order();
  TRandom c(5);
  Deck->Shuffle(c);
  EXPECT_EQ(Order(), one);
  EXPECT_EQ(c.Seed, 5u * 134775813u + 1u);
  // An empty stock draws nothing.
  Deck->Dealt = 52;
  TRandom d(5);
  Deck->Shuffle(d);
  EXPECT_EQ(d.Seed, 5u);
}

TEST_F(DeckTest, NextCardSkipsCardsOutOfPlayAndStopsAtTheEnd) {
  Deck->CardByIndex(2)->SetState(-2);
  EXPECT_EQ(Deck->NextCard(), Deck->CardByIndex(1));
  TCard* third = Deck->NextCard();
  EXPECT_EQ(third, Deck->CardByIndex(3));
  EXPECT_EQ(Deck->Dealt, 3);
  EXPECT_EQ(Deck->CardByIndex(2)->State, -2);
  EXPECT_EQ(third->State, 1);
  while (Deck->NextCard()) {
  }
  EXPECT_EQ(Deck->Dealt, 52);
  EXPECT_EQ(Deck->NextCard(), nullptr);
  EXPECT_EQ(Deck->NextCard(), nullptr);
  EXPECT_EQ(Deck->Dealt, 52);
  EXPECT_EQ(Deck->CardsLeft(false), 0);
}

TEST_F(DeckTest, TakeNthCardShiftsTheCardsInFrontOfIt) {
  // Stock w, x (out of play), y, z, ...
  Deck->Dealt = 48;
  TCard* w = Deck->CardByIndex(49);
  TCard* x = Deck->CardByIndex(50);
  TCard* y = Deck->CardByIndex(51);
  TCard* z = Deck->CardByIndex(52);
  x->SetState(-2);
  EXPECT_EQ(Deck->TakeNthCard(3), z);
  EXPECT_EQ(Deck->Dealt, 49);
  EXPECT_EQ(Deck->CardByIndex(49), z);
  EXPECT_EQ(z->State, 1);
  EXPECT_EQ(Deck->CardByIndex(50), w);
  EXPECT_EQ(Deck->CardByIndex(51), x);
  EXPECT_EQ(Deck->CardByIndex(52), y);

  // Counting cards out of play would let the walk run past the deck: refused instead.
  EXPECT_EQ(Deck->TakeNthCard(3), nullptr);
  EXPECT_EQ(Deck->TakeNthCard(0), nullptr);
  EXPECT_EQ(Deck->TakeNthCard(-1), nullptr);
  EXPECT_EQ(Deck->Dealt, 49);
  EXPECT_EQ(Deck->TakeNthCard(1), w);
}

TEST_F(DeckTest, ReturnCardAndPutBack) {
  TCard* a = Deck->NextCard();
  TCard* b = Deck->NextCard();
  TCard* c = Deck->NextCard();
  // A displayed card, a card in the stock and a card of another deck are ignored.
  b->Displayed = true;
  Deck->ReturnCard(b);
  EXPECT_EQ(Deck->Dealt, 3);
  Deck->ReturnCard(Deck->CardByIndex(10));
  EXPECT_EQ(Deck->Dealt, 3);
  TCard stranger(nullptr);
  stranger.State = 1;
  Deck->ReturnCard(&stranger);
  EXPECT_EQ(Deck->Dealt, 3);
  // The returned card becomes the top of the stock; the last dealt card takes its place.
  Deck->ReturnCard(a);
  EXPECT_EQ(Deck->Dealt, 2);
  EXPECT_EQ(Deck->CardByIndex(1), c);
  EXPECT_EQ(Deck->CardByIndex(3), a);
  EXPECT_EQ(a->State, 0);
  EXPECT_EQ(Deck->NextCard(), a);

  // PutBack stops at the first nil and sends cards to the bottom.
  TCard* last = Deck->CardByIndex(52);
  Deck->PutBack({c, nullptr, a});
  EXPECT_EQ(Deck->Dealt, 2);
  EXPECT_EQ(Deck->CardByIndex(52), c);
  EXPECT_EQ(Deck->CardByIndex(51), last);
  EXPECT_EQ(Deck->CardByIndex(1), b);
  EXPECT_EQ(Deck->CardByIndex(2), a);
  EXPECT_TRUE(b->Displayed);  // PutBack leaves Displayed alone
  // A card already in the stock is skipped.
  Deck->PutBack({c});
  EXPECT_EQ(Deck->Dealt, 2);
}

TEST_F(DeckTest, SortCardsRestoresFreshOrderWithJokersLast) {
  Deck->SetCardCount(108);
  ASSERT_EQ(Deck->CardCount, 108);
  EXPECT_EQ(Deck->JokerCount(), 4);
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(Deck->CardByIndex(105 + j)->Suit, csJoker);
    EXPECT_EQ(Deck->CardByIndex(105 + j)->Value, j);
  }
  EXPECT_EQ(Deck->CardByIndex(105)->Face.Pixel(1, 1), TestFaceColour("01joker.bmp"));
  EXPECT_EQ(Deck->CardByIndex(106)->Face.Pixel(1, 1), TestFaceColour("02joker.bmp"));
  EXPECT_EQ(Deck->CardByIndex(107)->Face.Pixel(1, 1), TestFaceColour("01joker.bmp"));
  TRandom rng(4242);
  Deck->Shuffle(rng);
  for (int i = 0; i < 5; ++i) Deck->NextCard();
  Deck->SortCards();
  for (int i = 1; i <= 104; ++i) {
    EXPECT_EQ(Deck->CardByIndex(i)->Suit, TCardSuit((i - 1) % 4)) << i;
    EXPECT_EQ(Deck->CardByIndex(i)->Value, TCardValue(((i - 1) / 4) % 13)) << i;
  }
  for (int j = 0; j < 4; ++j) EXPECT_EQ(Deck->CardByIndex(105 + j)->Value, j);
  EXPECT_EQ(Deck->Dealt, 5);  // ordering leaves the deal alone

  // A relabelled card (the back chooser does that) cannot make the sort run off the deck.
  Deck->CardByIndex(1)->Value = cvKing;
  Deck->CardByIndex(1)->Suit = csSpade;
  Deck->SortCards();
  EXPECT_EQ(Deck->CardCount, 108);
}

TEST_F(DeckTest, CardCountAcceptsOnlyPacksWithUpToFourJokers) {
  Deck->NextCard();
  Deck->SetCardCount(57);
  EXPECT_EQ(Deck->CardCount, 52);
  Deck->SetCardCount(103);
  EXPECT_EQ(Deck->CardCount, 52);
  Deck->SetCardCount(109);
  EXPECT_EQ(Deck->CardCount, 52);
  Deck->SetCardCount(51);
  EXPECT_EQ(Deck->CardCount, 52);
  Deck->SetCardBack(3);
  Deck->SetDefaultFaceUp(true);
  Deck->SetCardCount(54);
  EXPECT_EQ(Deck->CardCount, 54);
  EXPECT_EQ(Deck->JokerCount(), 2);
  EXPECT_EQ(Deck->CardByIndex(53)->Suit, csJoker);
  EXPECT_EQ(Deck->CardByIndex(53)->Value, 0);
  EXPECT_EQ(Deck->CardByIndex(54)->Value, 1);
  EXPECT_EQ(Deck->CardBack, 3);
  EXPECT_TRUE(Deck->CardByIndex(1)->FaceUp);

  // Shrinking from two packs never leaves the deal past the end of the deck.
  Deck->SetCardCount(104);
  while (Deck->NextCard()) {
  }
  bool told = false;
  Deck->OnCardsReplaced = [&] { told = true; };
  Deck->SetCardCount(52);
  EXPECT_TRUE(told);
  EXPECT_EQ(Deck->CardCount, 52);
  EXPECT_LE(Deck->Dealt, 52);
  EXPECT_EQ(Deck->CardsLeft(true), 52 - Deck->Dealt);
  EXPECT_NE(Deck->NextCard(), nullptr);
}

TEST_F(DeckTest, DefaultFaceTurnsOnlyStockCards) {
  TCard* dealt = Deck->NextCard();
  Deck->SetDefaultFaceUp(true);
  EXPECT_FALSE(dealt->FaceUp);
  EXPECT_TRUE(Deck->CardByIndex(2)->FaceUp);
  Deck->ResetCards();
  EXPECT_EQ(Deck->Dealt, 0);
  EXPECT_TRUE(dealt->FaceUp);
  EXPECT_EQ(dealt->State, 0);
}

TEST_F(DeckTest, CardsLeftCountsStateZeroAfterARestoredTable) {
  Deck->CardByIndex(5)->SetState(-2);
  EXPECT_EQ(Deck->CardsLeft(false), 52);
  Deck->RestoredCount = 1;
  EXPECT_EQ(Deck->CardsLeft(false), 51);
  EXPECT_EQ(Deck->CardsLeft(true), 52);
}

TEST_F(DeckTest, BacksFallBackToBackOne) {
  Deck->SetCardBack(2);
  EXPECT_EQ(Deck->CardBack, 2);
  EXPECT_EQ(Deck->Back.Pixel(0, 0), TestBackColour(2));
  Deck->SetCardBack(7);  // four backs only
  EXPECT_EQ(Deck->CardBack, 1);
  EXPECT_EQ(Deck->Back.Pixel(0, 0), TestBackColour(1));
  Deck->SetCardBack(4);
  EXPECT_EQ(Deck->CardBack, 4);
}

TEST_F(DeckTest, AssignCopiesPicturesAndRefusesASmallerSource) {
  TTempDir other;
  TTestCardsetOptions tinted;
  tinted.Tint = 0x010101;
  WriteTestCardset(other.Path(), "Standard", tinted);
  TCardDeck source(nullptr, other.Path());
  source.NextCard();
  source.SetCardBack(2);
  Deck->Assign(source);
  EXPECT_EQ(Deck->Dealt, 1);
  EXPECT_EQ(Deck->CardBack, 2);
  EXPECT_EQ(Deck->CardsetsDir, source.CardsetsDir);
  EXPECT_TRUE(SamePixels(Deck->Back, source.Back));
  for (int i = 1; i <= 38; ++i) {
    EXPECT_EQ(Deck->Places[size_t(i)].Bottom, &Deck->PileBottoms[size_t(PlaceKind(i))]);
    EXPECT_TRUE(SamePixels(*Deck->Places[size_t(i)].Bottom, source.PileBottoms[size_t(PlaceKind(i))]));
  }
  EXPECT_TRUE(SamePixels(Deck->CardByIndex(1)->Face, source.CardByIndex(1)->Face));

  Deck->SetCardCount(104);
  EXPECT_THROW(Deck->Assign(source), EConvertError);
  EXPECT_EQ(Deck->CardCount, 104);
}

TEST(PlaceKindTest, KindsByIndex) {
  EXPECT_EQ(PlaceKind(1), 0);
  EXPECT_EQ(PlaceKind(20), 0);
  EXPECT_EQ(PlaceKind(21), 1);
  EXPECT_EQ(PlaceKind(33), 1);
  EXPECT_EQ(PlaceKind(34), 2);
  EXPECT_EQ(PlaceKind(37), 5);
  EXPECT_EQ(PlaceKind(38), 6);
}

}  // namespace
