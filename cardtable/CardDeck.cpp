#include "cardtable/CardDeck.h"

#include <algorithm>
#include <map>
#include <new>
#include <stdexcept>

#include "cardtable/CardTable.h"
#include "cardtable/ImageArrayUnit.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "platform/core/Text.h"
#include "platform/graphics/Raster.h"

namespace {

constexpr const char* kSuitLetters = "cdhs";
constexpr float kMaxPictureScale = 8.0f;  // far above any step; guards against absurd allocations

// Redraws a picture at a scale through the shared renderer (angle 0, origin (0, 0)).
void ScalePicture(TBitmap& bmp, float scale) {
  if (bmp.Empty()) return;
  TImageArray& ia = SharedImageArray();
  ia.LoadFromBitmap(bmp);
  TPoint origin;
  ia.DrawRotated(bmp, TPoint(0, 0), 0.0f, origin, scale, false, false);
}

// Renders src rotated about centre into dst; returns the hot spot.
TPoint RotatePicture(const TBitmap& src, TBitmap& dst, TPoint centre, float angle) {
  TImageArray& ia = SharedImageArray();
  ia.LoadFromBitmap(src);
  TPoint origin;
  dst.Transparent = true;
  dst.PixelFormat = TPixelFormat::pf32bit;
  ia.DrawRotated(dst, centre, angle, origin, 1.0f, false, false);
  return origin;
}

TBitmap Inverted(const TBitmap& mask) {
  TBitmap inv(mask.Width(), mask.Height());
  BitBlt(inv, 0, 0, mask.Width(), mask.Height(), mask, 0, 0, TRasterOp::NotCopy);
  return inv;
}

// Loads one picture of a card set into Bitmap, within the card picture limits: a set's forty-odd
// pictures must not be able to ask for gigabytes. Pictures are held as plain pixel data, so nothing
// stays open once it has loaded.
void LoadBitmapFile(TBitmap& Bitmap, const std::string& FileName) {
  Bitmap.LoadFromFile(FileName, kCardPictureLimits);
}

constexpr const char* kPileBottomFiles[kPileBottomKinds] = {"Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp",
                                                            "Bottom05.bmp", "Bottom06.bmp", "Bottom07.bmp",
                                                            "Shade.bmp"};

TCardsetsPrompt& Prompt() {
  static TCardsetsPrompt p;
  return p;
}

bool HasStandard(const std::string& dir) {
  return !dir.empty() && DirectoryExists(PathJoin(dir, "Standard"));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCard

TCard::TCard(TCardDeck* deck) : Deck(deck) {
  RotatedFace.Transparent = true;
  RotatedFace.PixelFormat = TPixelFormat::pf32bit;
}

void TCard::Assign(const TCard& source) {
  FaceUp = source.FaceUp;
  Suit = source.Suit;
  Value = source.Value;
  Background = source.Background;
  X = source.X;
  Y = source.Y;
  State = source.State;
  Displayed = source.Displayed;
  Face = source.Face;
  SetAngle(source.Angle);
}

void TCard::SetState(int value) {
  if (value >= -2 && value <= 1) State = value;
}

int TCard::PointValue() const {
  return std::min(int(Value) + 1, 10);
}

void TCard::SetAngle(float angle) {
  Angle = angle;
  if (angle == 0.0f) return;
  RotationOrigin = RotatePicture(Face, RotatedFace, TPoint(Face.Width() / 2, Face.Height() / 2), angle);
  RotatedWidth = RotatedFace.Width();
  RotatedHeight = RotatedFace.Height();
}

// ---------------------------------------------------------------------------------------------
// Free helpers

int PlaceKind(int index) {
  if (index <= 20) return 0;
  if (index <= 33) return 1;
  if (index <= 37) return index - 32;
  return 6;
}

float ScaleForStep(const std::string& deckName, int step) {
  if (step < -2 || step > 5) return 1.0f;
  static const float kStandard[8] = {0.599f, 0.797f, 1.0f, 1.0f, 1.25f, 1.5f, 1.75f, 2.0f};
  static const float kBonded[8] = {0.614f, 0.7929f, 1.0f, 1.0f, 1.25f, 1.5f, 1.75f, 2.0f};
  static const float kHardAPort[8] = {0.65499f, 0.83889f, 1.0f, 1.0f, 1.25f, 1.5f, 1.75f, 2.0f};
  static const float kFrench[8] = {0.63999f, 0.81789f, 1.0f, 1.0f, 1.251f, 1.5f, 1.75f, 2.0f};
  static const float kOther[8] = {0.59f, 0.7608f, 1.0f, 1.0f, 1.25f, 1.5f, 1.75f, 2.0f};
  const float* row = kOther;
  if (deckName == "Standard")
    row = kStandard;
  else if (deckName == "Gdkcard-bonded" || deckName == "Xpat2-nox-large")
    row = kBonded;
  else if (deckName == "Hard-a-port")
    row = kHardAPort;
  else if (deckName == "Xskat-french-large")
    row = kFrench;
  return row[step + 2];
}

std::string FaceFileName(TCardSuit suit, int value) {
  if (suit == csJoker) return value % 2 == 0 ? "01joker.bmp" : "02joker.bmp";
  std::string nn = (value + 1 < 10 ? "0" : "") + std::to_string(value + 1);
  return nn + kSuitLetters[suit] + ".bmp";
}

bool IsValidDeckName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

void SetCardsetsPrompt(TCardsetsPrompt prompt) {
  Prompt() = std::move(prompt);
}

std::string FindCardsetsDir(TCardTable* owner) {
  const std::string cwd = GetCurrentDir();
  if (DirectoryExists(PathJoin(cwd, "Cardsets", "Standard"))) return ResolvePath(PathJoin(cwd, "Cardsets"));
  if (DirectoryExists(PathJoin(ProgramDir(), "Cardsets", "Standard")))
    return ResolvePath(PathJoin(ProgramDir(), "Cardsets"));

  std::string dir;
  const std::string config = PathJoin(cwd, "Config.txt");
  if (FileExists(config)) {
    TStringList l;
    // An unreadable or empty file names no folder; the dialog follows.
    if (l.TryLoadFromFile(config) && l.Count() > 0) dir = ExcludeTrailingSeparator(Trim(l[0]));
    if (!HasStandard(dir)) dir.clear();
  } else {
    const std::string path = GetEnv("PATH");
    size_t start = 0;
    while (start <= path.size()) {
      size_t end = path.find(':', start);
      if (end == std::string::npos) end = path.size();
      std::string entry = path.substr(start, end - start);
      start = end + 1;
      if (entry.empty()) continue;  // an empty entry would mean the root
      if (DirectoryExists(PathJoin(entry, "Cardsets", "Standard")))
        return ResolvePath(PathJoin(entry, "Cardsets"));
    }
  }
  if (!dir.empty()) return ResolvePath(dir);

  if (!Prompt()) throw ECardTableError("Cardsets directory not found.");
  TCardsetsPromptAnswer answer = Prompt()(owner);
  dir = ExcludeTrailingSeparator(Trim(answer.Text));
  if (!answer.Ok || !HasStandard(dir)) throw ECardTableError("Cardsets directory not found.");
  // Remembering the folder is a convenience: a read-only current folder must not stop the start.
  TStringList l{dir};
  l.TrySaveToFile(config);
  return ResolvePath(dir);
}

// ---------------------------------------------------------------------------------------------
// Loading a card set: everything is read into a TLoadedSet first and taken over only when every
// file has loaded, so a missing or damaged file leaves the deck exactly as it was.

struct TCardDeck::TLoadedSet {
  std::string Name;
  float Scale = 1.0f;
  int BackCount = 0;
  int CardBack = 1;
  int Count = 52;
  struct Identity {
    TCardSuit Suit;
    TCardValue Value;
  };
  std::vector<Identity> Ids;  // 1..Count (index 0 unused)
  // The face file of card i.
  std::string FaceFile(int i) const;
  std::vector<TBitmap> Faces;  // 1..Count
  TBitmap Back, CardMask, InverseMask;
  TBitmap Shadow00, Shadow01, Shadow02;
  TBitmap Shadow00M, Shadow00IM, Shadow01M, Shadow01IM;
  std::array<TBitmap, kPileBottomKinds> PileBottoms;
};

int TCardDeck::CountCardBacks(const std::string& name) const {
  int n = 1;
  for (; n <= 9; ++n) {
    bool inSets = FileExists(PathJoin(CardsetsDir, name, "Back" + std::to_string(n) + ".bmp"));
    bool inUser = !UserCardsetsDir.empty() &&
                  FileExists(PathJoin(UserCardsetsDir, name, "Back" + std::to_string(n) + ".bmp"));
    if (!inSets && !inUser) break;
  }
  if (n == 1) throw ECardTableError("No CardBacks Found.");
  return n - 1;
}

// The file of back n of a set, falling back to back 1 (n is then reported through the name).
std::string TCardDeck::BackFile(const std::string& name, int n) const {
  const std::string file = "Back" + std::to_string(n) + ".bmp";
  if (!UserCardsetsDir.empty() && FileExists(PathJoin(UserCardsetsDir, name, file)))
    return PathJoin(UserCardsetsDir, name, file);
  if (FileExists(PathJoin(CardsetsDir, name, file))) return PathJoin(CardsetsDir, name, file);
  return {};
}

void TCardDeck::LoadCardset(const std::string& name, float scale, int count) {
  std::unique_ptr<TLoadedSet> set;
  // A set that needs more memory than there is counts as a damaged one: refused, the deck unchanged.
  try {
    set = ReadCardset(name, scale, count);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  if (!set) throw ECardTableError("Card set \"" + name + "\" needs more memory than there is.");
  CommitSet(*set);
}

std::unique_ptr<TCardDeck::TLoadedSet> TCardDeck::ReadCardset(const std::string& name, float scale,
                                                              int count) const {
  auto set = std::make_unique<TLoadedSet>();
  set->Name = name;
  set->Scale = scale;
  set->Count = count;
  set->BackCount = CountCardBacks(name);
  PickIdentities(*set);
  LoadFaces(*set);
  LoadExtras(*set);
  if (scale != 1.0f) ScaleExtras(*set);
  set->InverseMask = Inverted(set->CardMask);
  return set;
}

// Existing cards keep their suits and values; new ones come in fresh-pack order, jokers numbered
// 0..3 in position order.
void TCardDeck::PickIdentities(TLoadedSet& set) const {
  const int count = set.Count;
  const int jokers = count % 52;
  const bool keep = count == CardCount;
  set.Ids.resize(size_t(count) + 1);
  for (int i = 1; i <= count; ++i) {
    if (keep && Cards[size_t(i)]) {
      set.Ids[size_t(i)] = {Cards[size_t(i)]->Suit, Cards[size_t(i)]->Value};
    } else if (i <= count - jokers) {
      set.Ids[size_t(i)] = {TCardSuit((i - 1) % 4), TCardValue(((i - 1) / 4) % 13)};
    } else {
      set.Ids[size_t(i)] = {csJoker, TCardValue(i - (count - jokers) - 1)};
    }
  }
}

std::string TCardDeck::TLoadedSet::FaceFile(int i) const {
  return FaceFileName(Ids[size_t(i)].Suit, Ids[size_t(i)].Value);
}

TBitmap TCardDeck::LoadCardFace(const TLoadedSet& set, int i) const {
  const std::string file = set.FaceFile(i);
  std::string path = PathJoin(CardsetsDir, set.Name, file);
  if (!UserCardsetsDir.empty() && FileExists(PathJoin(UserCardsetsDir, set.Name, file)))
    path = PathJoin(UserCardsetsDir, set.Name, file);
  TBitmap face;
  LoadBitmapFile(face, path);
  if (set.Scale != 1.0f) ScalePicture(face, set.Scale);
  return face;
}

// A second pack shares the first pack's pictures: each file is read once, copied for the cards
// before its last one and moved into that last one, so no face is held twice without need.
void TCardDeck::LoadFaces(TLoadedSet& set) const {
  set.Faces.resize(size_t(set.Count) + 1);
  std::map<std::string, int> lastUse;
  for (int i = 1; i <= set.Count; ++i) lastUse[set.FaceFile(i)] = i;
  std::map<std::string, TBitmap> cache;
  for (int i = 1; i <= set.Count; ++i) {
    const std::string file = set.FaceFile(i);
    const bool last = lastUse[file] == i;
    auto it = cache.find(file);
    if (it == cache.end()) {
      TBitmap face = LoadCardFace(set, i);
      if (last) {
        set.Faces[size_t(i)] = std::move(face);
        continue;
      }
      it = cache.emplace(file, std::move(face)).first;
    }
    if (last) {
      set.Faces[size_t(i)] = std::move(it->second);
      cache.erase(it);
    } else {
      set.Faces[size_t(i)] = it->second;
    }
  }
}

// Everything but faces and backs comes from one folder: the user's when it holds the masks.
void TCardDeck::LoadExtras(TLoadedSet& set) const {
  const std::string& name = set.Name;
  std::string extras = CardsetsDir;
  if (!UserCardsetsDir.empty() && FileExists(PathJoin(UserCardsetsDir, name, "Shadow00M.bmp")))
    extras = UserCardsetsDir;
  const std::string dir = PathJoin(extras, name);
  LoadBitmapFile(set.Shadow00M, PathJoin(dir, "Shadow00M.bmp"));
  LoadBitmapFile(set.Shadow00IM, PathJoin(dir, "Shadow00IM.bmp"));
  LoadBitmapFile(set.Shadow01M, PathJoin(dir, "Shadow01M.bmp"));
  LoadBitmapFile(set.Shadow01IM, PathJoin(dir, "Shadow01IM.bmp"));
  for (int k = 0; k < kPileBottomKinds; ++k)
    LoadBitmapFile(set.PileBottoms[size_t(k)], PathJoin(dir, kPileBottomFiles[k]));

  const std::string back = BackFile(name, 1);
  if (back.empty()) throw ECardTableError("No CardBacks Found.");
  LoadBitmapFile(set.Back, back);
  LoadBitmapFile(set.CardMask, PathJoin(dir, "CardMask.bmp"));
  LoadBitmapFile(set.Shadow00, PathJoin(dir, "Shadow00.bmp"));
  LoadBitmapFile(set.Shadow01, PathJoin(dir, "Shadow01.bmp"));
  // Only the shadow sets have a whole-card shadow of their own; the others take the drop shade.
  if (SameText(name, "C_1") || SameText(name, "C_2"))
    LoadBitmapFile(set.Shadow02, PathJoin(dir, "Shadow02.bmp"));
  else
    set.Shadow02 = set.PileBottoms[6];
}

void TCardDeck::ScaleExtras(TLoadedSet& set) {
  for (TBitmap* b : {&set.Back, &set.CardMask, &set.Shadow00, &set.Shadow01, &set.Shadow02, &set.Shadow00M,
                     &set.Shadow00IM, &set.Shadow01M, &set.Shadow01IM})
    ScalePicture(*b, set.Scale);
  for (auto& b : set.PileBottoms) ScalePicture(b, set.Scale);
}

void TCardDeck::CommitSet(TLoadedSet& set) {
  TakeCards(set);
  DeckName = set.Name;
  Scale = set.Scale;
  BackCount = set.BackCount;
  TakePictures(set);
  TakeCardSize();
  HQShadeCached = false;
  RerotatePictures();
}

// A new card count replaces every card; missing cards are made with their identities. Each card
// takes its face; its save-under is made when the card is first drawn.
void TCardDeck::TakeCards(TLoadedSet& set) {
  if (set.Count != CardCount) {
    // The table must let go of the old card objects before they go.
    if (OnCardsReplaced) OnCardsReplaced();
    for (auto& c : Cards) c.reset();
    CardCount = set.Count;
    Dealt = 0;
  }
  for (int i = 1; i <= CardCount; ++i) {
    auto& card = Cards[size_t(i)];
    if (!card) {
      card = std::make_unique<TCard>(this);
      card->Suit = set.Ids[size_t(i)].Suit;
      card->Value = set.Ids[size_t(i)].Value;
    }
    card->Face = std::move(set.Faces[size_t(i)]);
  }
}

void TCardDeck::TakePictures(TLoadedSet& set) {
  Back = std::move(set.Back);
  CardBack = 1;
  CardMask = std::move(set.CardMask);
  InverseMask = std::move(set.InverseMask);
  Shadow00 = std::move(set.Shadow00);
  Shadow01 = std::move(set.Shadow01);
  Shadow02 = std::move(set.Shadow02);
  Shadow00M = std::move(set.Shadow00M);
  Shadow00IM = std::move(set.Shadow00IM);
  Shadow01M = std::move(set.Shadow01M);
  Shadow01IM = std::move(set.Shadow01IM);
  for (int k = 0; k < kPileBottomKinds; ++k) PileBottoms[size_t(k)] = std::move(set.PileBottoms[size_t(k)]);
}

// The card size is the back's. The save-unders of the places and the shadows, and the shadows'
// work pictures, are made when they are first drawn, at the size they are drawn.
void TCardDeck::TakeCardSize() {
  for (int i = 1; i <= kPlaceCount; ++i) {
    TCardPlace& p = Places[size_t(i)];
    p.Kind = PlaceKind(i);
    p.Bottom = &PileBottoms[size_t(p.Kind)];
  }
  CardWidth = Back.Width();
  CardHeight = Back.Height();
}

void TCardDeck::RerotatePictures() {
  for (int i = 1; i <= CardCount; ++i)
    if (Cards[size_t(i)] && Cards[size_t(i)]->Angle != 0.0f)
      Cards[size_t(i)]->SetAngle(Cards[size_t(i)]->Angle);
  for (int i = 1; i <= kPlaceCount; ++i) {
    TCardPlace& p = Places[size_t(i)];
    if (p.Angle == 0.0f || !p.Bottom) continue;
    // The picture the table shows there (the drop shade of a shadow set may be its shadow), turned
    // about its centre, which stays on the place's centre at the new size.
    const TBitmap& picture = Table ? Table->PlacePicture(p, true) : *p.Bottom;
    p.RotationOrigin =
        RotatePicture(picture, p.RotatedImage, TPoint(picture.Width() / 2, picture.Height() / 2), p.Angle);
    p.RotatedWidth = p.RotatedImage.Width();
    p.RotatedHeight = p.RotatedImage.Height();
    p.RotatedX = p.X + picture.Width() / 2 - p.RotationOrigin.X;
    p.RotatedY = p.Y + picture.Height() / 2 - p.RotationOrigin.Y;
  }
}

void TCardDeck::ReloadSet(const std::string& name, float scale, int count, int back) {
  LoadCardset(name, scale, count);
  if (back != 1) SetCardBack(back);
}

// ---------------------------------------------------------------------------------------------
// Construction

TCardDeck::TCardDeck(TCardTable* table) {
  Construct(table, FindCardsetsDir(table));
}

TCardDeck::TCardDeck(TCardTable* table, const std::string& cardsetsDir) {
  Construct(table, ExcludeTrailingSeparator(cardsetsDir));
}

void TCardDeck::Construct(TCardTable* table, const std::string& cardsetsDir) {
  Table = table;
  Scale = 1.0f;
  CardsetsDir = cardsetsDir;
  UserCardsetsDir.clear();
  RotatedBack.Transparent = true;
  RotatedBack.PixelFormat = TPixelFormat::pf32bit;
  for (int i = 1; i <= kPlaceCount; ++i) {
    Places[size_t(i)].Kind = PlaceKind(i);
    Places[size_t(i)].Bottom = &PileBottoms[size_t(PlaceKind(i))];
    Places[size_t(i)].RotatedImage.Transparent = true;
    Places[size_t(i)].RotatedImage.PixelFormat = TPixelFormat::pf32bit;
  }
  CardCount = 0;  // every card is new
  LoadCardset("Standard", 1.0f, 52);
  Dealt = 0;
  DefaultFaceUp = false;
  RestoredCount = 0;
  DeckX = DeckY = 0;
  HQShadeCached = false;
}

TCardDeck::~TCardDeck() = default;

void TCardDeck::Assign(const TCardDeck& source) {
  if (&source == this) return;
  if (source.CardCount < CardCount)
    throw EConvertError("Cannot assign a deck of " + std::to_string(source.CardCount) + " cards to one of " +
                        std::to_string(CardCount));
  for (int i = 1; i <= CardCount; ++i)
    if (Cards[size_t(i)] && source.Cards[size_t(i)]) Cards[size_t(i)]->Assign(*source.Cards[size_t(i)]);
  Dealt = std::min(source.Dealt, CardCount);
  DeckName = source.DeckName;
  BackCount = source.BackCount;
  CardBack = source.CardBack;
  Back = source.Back;
  CardMask = source.CardMask;
  InverseMask = source.InverseMask;
  CardHeight = source.CardHeight;
  CardWidth = source.CardWidth;
  CardsetsDir = source.CardsetsDir;
  DefaultFaceUp = source.DefaultFaceUp;
  Shadow00 = source.Shadow00;
  Shadow01 = source.Shadow01;
  Shadow02 = source.Shadow02;
  ShadowBackgrounds = source.ShadowBackgrounds;
  ShadowPositions = source.ShadowPositions;
  Scale = source.Scale;
  SizeStep = source.SizeStep;
  DeckX = source.DeckX;
  DeckY = source.DeckY;
  PileBottoms = source.PileBottoms;
  for (int i = 1; i <= kPlaceCount; ++i) Places[size_t(i)].Bottom = &PileBottoms[size_t(PlaceKind(i))];
  HQShades = source.HQShades;
}

// ---------------------------------------------------------------------------------------------
// Stock and deal

void TCardDeck::Shuffle(TRandom& rng) {
  const int d = Dealt, n = CardCount;
  if (d >= n) return;
  // The range stays n - d - 1 for every step, so the last position is never drawn: saved games
  // replay from the seed and depend on exactly this order.
  for (int b = d + 1; b <= n; ++b) {
    const int k = d + 1 + rng.Random(n - d - 1);
    std::swap(Cards[size_t(k)], Cards[size_t(b)]);
  }
  for (int b = d + 1; b <= n; ++b) {
    TCard* c = Cards[size_t(b)].get();
    if (c->State != -2) c->State = 0;
    c->FaceUp = DefaultFaceUp;
    c->Displayed = false;
  }
}

TCard* TCardDeck::NextCard() {
  while (Dealt < CardCount) {
    ++Dealt;
    TCard* c = Cards[size_t(Dealt)].get();
    if (c->State == -2) continue;
    c->State = 1;
    return c;
  }
  Dealt = std::min(Dealt, CardCount);
  return nullptr;
}

TCard* TCardDeck::TakeNthCard(int n) {
  if (n < 1 || CardsLeft(false) < n) return nullptr;
  int seen = 0, p = Dealt + 1;
  for (; p <= CardCount; ++p) {
    if (Cards[size_t(p)]->State == -2) continue;
    if (++seen == n) break;
  }
  if (p > CardCount) return nullptr;  // fewer live cards than the count suggested
  std::unique_ptr<TCard> taken = std::move(Cards[size_t(p)]);
  for (int i = p; i > Dealt + 1; --i) Cards[size_t(i)] = std::move(Cards[size_t(i - 1)]);
  ++Dealt;
  taken->State = 1;
  Cards[size_t(Dealt)] = std::move(taken);
  return Cards[size_t(Dealt)].get();
}

void TCardDeck::ReturnCard(TCard* card) {
  if (!card || card->Deck != this || card->Displayed || card->State == 0) return;
  for (int p = Dealt; p >= 1; --p) {
    if (Cards[size_t(p)].get() != card) continue;
    std::swap(Cards[size_t(p)], Cards[size_t(Dealt)]);
    card->State = 0;
    card->FaceUp = DefaultFaceUp;
    --Dealt;
    return;
  }
}

void TCardDeck::PutBack(const TCardList& cards) {
  for (TCard* card : cards) {
    if (!card) break;
    if (card->State == 0) continue;
    for (int p = Dealt; p >= 1; --p) {
      if (Cards[size_t(p)].get() != card) continue;
      std::unique_ptr<TCard> c = std::move(Cards[size_t(p)]);
      for (int i = p; i < CardCount; ++i) Cards[size_t(i)] = std::move(Cards[size_t(i + 1)]);
      Cards[size_t(CardCount)] = std::move(c);
      card->State = 0;
      card->FaceUp = DefaultFaceUp;
      --Dealt;
      break;
    }
  }
}

void TCardDeck::SortCards() {
  const int jokers = JokerCount();
  int s = 0, v = 0;
  for (int j = 1; j <= CardCount - jokers; ++j) {
    for (int k = j; k <= CardCount; ++k) {
      const TCard* c = Cards[size_t(k)].get();
      if (c->Value == v && c->Suit == s) {
        std::swap(Cards[size_t(j)], Cards[size_t(k)]);
        break;
      }
    }
    if (j % 4 == 0) v = (v + 1) % 13;
    s = (s + 1) % 4;
  }
  int number = 0;
  for (int j = CardCount - jokers + 1; j <= CardCount; ++j, ++number) {
    for (int k = j; k <= CardCount; ++k) {
      const TCard* c = Cards[size_t(k)].get();
      if (c->Suit == csJoker && c->Value == number) {
        std::swap(Cards[size_t(j)], Cards[size_t(k)]);
        break;
      }
    }
  }
}

void TCardDeck::ResetCards() {
  Dealt = 0;
  for (int i = 1; i <= CardCount; ++i) {
    TCard* c = Cards[size_t(i)].get();
    c->FaceUp = DefaultFaceUp;
    if (c->State != -2) c->State = 0;
    c->Displayed = false;
  }
}

int TCardDeck::CardsLeft(bool all) const {
  if (all || RestoredCount == 0) return CardCount - Dealt;
  int n = 0;
  for (int i = Dealt + 1; i <= CardCount; ++i)
    if (Cards[size_t(i)]->State == 0) ++n;
  return n;
}

TCard* TCardDeck::CardByIndex(int index) const {
  if (index < 1 || index > CardCount) return nullptr;
  return Cards[size_t(index)].get();
}

TCardPlace& TCardDeck::PlaceByIndex(int index) {
  if (index < 1 || index > kPlaceCount)
    throw EListError("Place index out of bounds (" + std::to_string(index) + ")");
  return Places[size_t(index)];
}

// ---------------------------------------------------------------------------------------------
// Setters

void TCardDeck::SetDeckName(const std::string& name) {
  if (!IsValidDeckName(name) || name == DeckName) return;
  const bool inSets = DirectoryExists(PathJoin(CardsetsDir, name));
  const bool inUser = !UserCardsetsDir.empty() && DirectoryExists(PathJoin(UserCardsetsDir, name));
  if (!inSets && !inUser) return;
  const float scale = SizeStep != 1 ? ::ScaleForStep(name, SizeStep) : Scale;
  ReloadSet(name, scale, CardCount, 1);
}

void TCardDeck::SetCardBack(int n) {
  if (n == CardBack) return;
  std::string file = BackFile(DeckName, n);
  if (file.empty() || n < 1) {
    n = 1;
    file = BackFile(DeckName, 1);
    if (file.empty()) throw ECardTableError("No CardBacks Found.");
  }
  TBitmap back;
  try {
    LoadBitmapFile(back, file);
    if (Scale != 1.0f) ScalePicture(back, Scale);
  } catch (const std::bad_alloc&) {
    throw ECardTableError("Card back \"" + file + "\" needs more memory than there is.");
  }
  Back = std::move(back);
  CardBack = n;
}

void TCardDeck::SetCardCount(int count) {
  if (count == CardCount || count < 52 || count > kMaxCards || count % 52 >= 5) return;
  const int back = CardBack;
  ReloadSet(DeckName, Scale, count, back);
  if (DefaultFaceUp)
    for (int i = 1; i <= CardCount; ++i) Cards[size_t(i)]->FaceUp = true;
  RestoredCount = 0;
}

void TCardDeck::SetDefaultFaceUp(bool faceUp) {
  if (faceUp == DefaultFaceUp) return;
  DefaultFaceUp = faceUp;
  for (int i = 1; i <= CardCount; ++i)
    if (Cards[size_t(i)]->State == 0) Cards[size_t(i)]->FaceUp = faceUp;
}

void TCardDeck::SetPictureScale(float scale) {
  if (scale == Scale || !(scale > 0.2f) || scale > kMaxPictureScale) return;
  const int back = CardBack;
  ReloadSet(DeckName, scale, CardCount, back);
  SizeStep = 1;
}

void TCardDeck::SetSizeStep(int step) {
  if (step == SizeStep || step < -2 || step > 5) return;
  SetPictureScale(ScaleForStep(step));
  SizeStep = step;
}

void TCardDeck::SetUserCardsetsDir(const std::string& dir) {
  if (dir != UserCardsetsDir) UserCardsetsDir = dir;
}

void TCardDeck::RotateBack(float angle) {
  if (angle == 0.0f) return;
  RotatePicture(Back, RotatedBack, TPoint(CardWidth / 2, CardHeight / 2), angle);
}
