#pragma once
// Cards and decks: TCard, TCardPlace and TCardDeck. A deck holds up to 108 cards of one card set
// (one or two packs plus up to four jokers), the set's backs, mask, shadows and pile-bottom
// markers, 38 place markers and the picture scale. It belongs to a card table.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Random.h"
#include "platform/core/Types.h"
#include "platform/graphics/Bitmap.h"

class TCardTable;
class TCardDeck;

enum TCardSuit : uint8_t { csClub = 0, csDiamond = 1, csHeart = 2, csSpade = 3, csJoker = 4 };
enum TCardValue : uint8_t {
  cvAce = 0,
  cvTwo,
  cvThree,
  cvFour,
  cvFive,
  cvSix,
  cvSeven,
  cvEight,
  cvNine,
  cvTen,
  cvJack,
  cvQueen,
  cvKing
};
enum TShadowMode : uint8_t { smOriginal, smDarken };

using TDeckName = std::string;
using TCardBack = int;

// The card table's own failures: no card sets folder, no card backs, a damaged set.
class ECardTableError : public Exception {
 public:
  using Exception::Exception;
};

class TCard {
 public:
  explicit TCard(TCardDeck* deck);

  bool FaceUp = false;
  TCardSuit Suit = csClub;
  TCardValue Value = cvAce;  // a joker's number 0..3 for csJoker
  TBitmap Background;        // save-under of the table behind the card while it is drawn
  int X = 0;
  int Y = 0;
  int State = 0;  // -2 out of play, 0 in the stock, 1 dealt
  bool Displayed = false;
  TBitmap Face;
  TBitmap RotatedFace;  // drawn when Angle is not 0; Transparent
  float Angle = 0;
  TPoint RotationOrigin;  // where the card's centre lies in RotatedFace
  int RotatedX = 0;
  int RotatedY = 0;
  int RotatedWidth = 0;
  int RotatedHeight = 0;
  TCardDeck* Deck = nullptr;

  // Copies the card's identity, flags, position and pictures, then its angle.
  void Assign(const TCard& source);
  // Accepts -2..1 only.
  void SetState(int value);
  // Ace 1 .. ten 10, court cards 10; a joker its number + 1.
  int PointValue() const;
  // Stores the angle and, when it is not 0, renders RotatedFace from Face.
  void SetAngle(float angle);
  bool IsRed() const { return Suit == csDiamond || Suit == csHeart; }
};

using TCardList = std::vector<TCard*>;

struct TCardPlace {
  const TBitmap* Bottom = nullptr;  // the deck's pile-bottom picture of this place's kind
  int Kind = 0;
  TBitmap Background;  // save-under
  bool Shown = false;
  int X = 0;
  int Y = 0;
  float Angle = 0;
  TBitmap RotatedImage;
  TPoint RotationOrigin;
  int RotatedX = 0;
  int RotatedY = 0;
  int RotatedWidth = 0;
  int RotatedHeight = 0;
};

constexpr int kMaxCards = 108;
constexpr int kPlaceCount = 38;
constexpr int kPileBottomKinds = 7;

// The kind of place Index (1..38): 1..20 kind 0, 21..33 kind 1, 34..37 kinds 2..5, 38 kind 6.
int PlaceKind(int index);
// The picture scale of a size step for a card set (-2..5; 1.0 outside).
float ScaleForStep(const std::string& deckName, int step);
// The face file of a card in its set's folder: "01c.bmp" .. "13s.bmp" by value and suit, and for
// a joker "01joker.bmp" (joker numbers 0 and 2) or "02joker.bmp" (1 and 3).
std::string FaceFileName(TCardSuit suit, int value);
// A set name that stays inside its folder: not empty, not "." or "..", no separators.
bool IsValidDeckName(const std::string& name);

// Where a deck finds its card sets folder when it is not given one. The prompt stands in for
// the folder dialog; it returns the text typed and whether the answer was OK.
struct TCardsetsPromptAnswer {
  bool Ok = false;
  std::string Text;
};
using TCardsetsPrompt = std::function<TCardsetsPromptAnswer(TCardTable* owner)>;
// Installs the prompt used when no folder is found (the card table installs its dialog).
void SetCardsetsPrompt(TCardsetsPrompt prompt);
// The search: "Cardsets/Standard" under the current folder, then the program folder, then the
// first line of "Config.txt" in the current folder, else the PATH, else the prompt.
// Raises ECardTableError "Cardsets directory not found." when all fail.
std::string FindCardsetsDir(TCardTable* owner);

class TCardDeck {
 public:
  // Finds the card sets folder and loads "Standard" with 52 cards and back 1.
  explicit TCardDeck(TCardTable* table);
  // The same with a known card sets folder: no search, no "Config.txt", no dialog.
  TCardDeck(TCardTable* table, const std::string& cardsetsDir);
  ~TCardDeck();
  TCardDeck(const TCardDeck&) = delete;
  TCardDeck& operator=(const TCardDeck&) = delete;

  std::array<std::unique_ptr<TCard>, kMaxCards + 1> Cards;  // 1..CardCount, the rest empty
  int Dealt = 0;
  TDeckName DeckName;
  int RestoredCount = 0;
  int BackCount = 0;
  TCardBack CardBack = 0;
  TBitmap Back;
  TBitmap RotatedBack;
  TBitmap CardMask;
  int CardHeight = 0;
  int CardWidth = 0;
  TCardTable* Table = nullptr;
  std::array<TCardPlace, kPlaceCount + 1> Places;  // 1..38
  std::array<TBitmap, kPileBottomKinds> PileBottoms;
  std::string CardsetsDir;
  std::string UserCardsetsDir;
  TBitmap Shadow00, Shadow01, Shadow02;
  std::array<TBitmap, 2> ShadowBackgrounds;
  std::array<TPoint, 2> ShadowPositions;
  std::array<TBitmap, 3> ShadowWork;
  TBitmap Shadow00M, Shadow00IM, Shadow01M, Shadow01IM;
  TBitmap InverseMask;
  bool DefaultFaceUp = false;
  int CardCount = 52;
  float Scale = 1.0f;
  int SizeStep = 0;
  int DeckX = 0;
  int DeckY = 0;
  std::array<TBitmap, 3> HQShades;
  int HQShadeX = 0;
  int HQShadeY = 0;
  bool HQShadeCached = false;

  // Copies another deck's cards, pictures and settings (see the cpp for what stays).
  // Raises EConvertError when the source holds fewer cards than this deck.
  void Assign(const TCardDeck& source);

  // Stock and deal.
  void Shuffle(TRandom& rng = ProgramRandom());
  TCard* NextCard();
  TCard* TakeNthCard(int n);
  void ReturnCard(TCard* card);
  void PutBack(const TCardList& cards);
  void SortCards();
  void ResetCards();
  int CardsLeft(bool all) const;
  TCard* CardByIndex(int index) const;
  TCardPlace& PlaceByIndex(int index);
  int JokerCount() const { return CardCount % 52; }

  // Setters that reload pictures.
  void SetDeckName(const std::string& name);
  void SetCardBack(int n);
  void SetCardCount(int count);
  void SetDefaultFaceUp(bool faceUp);
  void SetSizeStep(int step);
  void SetPictureScale(float scale);
  void SetUserCardsetsDir(const std::string& dir);
  void RotateBack(float angle);
  float ScaleForStep(int step) const { return ::ScaleForStep(DeckName, step); }
  // The back chooser (CardBackForm.h): the back clicked becomes the deck's; closed without a
  // click nothing changes. Beeps when the set's folder is gone.
  void ChooseCardBack();
  // The card set chooser (CardDeckForm.h) over this deck's folders: the set chosen with "OK"
  // becomes the deck's; cancelled nothing changes.
  void ChooseDeck();
  int CountCardBacks() const { return CountCardBacks(DeckName); }

  // Called after the card objects were replaced, so the table can drop its references.
  std::function<void()> OnCardsReplaced;

 private:
  struct TLoadedSet;
  void Construct(TCardTable* table, const std::string& cardsetsDir);
  int CountCardBacks(const std::string& name) const;
  std::string BackFile(const std::string& name, int n) const;
  // Makes the missing cards and loads every picture of set name with count cards at scale. All is
  // read before anything is taken over, so a missing or damaged file (or one that needs more memory
  // than there is: ECardTableError) leaves the deck exactly as it was.
  void LoadCardset(const std::string& name, float scale, int count);
  // The reading half of LoadCardset, in its steps.
  std::unique_ptr<TLoadedSet> ReadCardset(const std::string& name, float scale, int count) const;
  void PickIdentities(TLoadedSet& set) const;
  void LoadFaces(TLoadedSet& set) const;
  // The face of card i of the set being read: from the user card sets folder when the file is
  // there, else from the card sets folder; scaled to the set's scale.
  TBitmap LoadCardFace(const TLoadedSet& set, int i) const;
  void LoadExtras(TLoadedSet& set) const;
  static void ScaleExtras(TLoadedSet& set);
  // The taking-over half.
  void CommitSet(TLoadedSet& set);
  void TakeCards(TLoadedSet& set);
  void TakePictures(TLoadedSet& set);
  void TakeCardSize();
  void ReloadSet(const std::string& name, float scale, int count, int back);
  void RerotatePictures();
};
