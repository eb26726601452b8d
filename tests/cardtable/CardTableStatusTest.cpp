// The settings file "Status.Dat": the exact bytes of a new table's file, a round trip of every
// setting, files from elsewhere (unknown settings, other widths and encodings, values of the wrong
// kind), and damaged files (every truncation, then a loop of random mutations) that must never
// crash, never change a setting, and be set aside.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <random>
#include <sstream>

#include "platform/core/Files.h"
#include "platform/stream/ComponentStream.h"
#include "tests/cardtable/CardTableFixture.h"

namespace {

std::string B(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += char(b);
  return s;
}
// A name as the stream writes it: its length, then its text.
std::string S(const std::string& name) {
  return char(name.size()) + name;
}

// The stream of a new table, byte by byte.
std::string DefaultStream() {
  std::string s = "TPF0" + S("TCardTable") + B({0});
  s += S("Left") + B({2, 0}) + S("Top") + B({2, 0}) + S("Width") + B({3, 0xF4, 0x01}) + S("Height") +
       B({3, 0x90, 0x01});
  s += S("CardDeck.DeckName") + B({6}) + S("Standard") + S("CardDeck.CardBack") + B({2, 1});
  s += S("StretchBackground") + B({8}) + S("PlaceDeckOffset") + B({3, 0x9A, 0x02});
  s += S("DragCardCursor") + B({7}) + S("crDrag") + S("Color") + B({4, 0x80, 0x80, 0xFF, 0x00});
  s += S("BackDrop.Enabled") + B({8}) + S("BackDrop.NewMode") + B({8}) + S("BackDrop.ChangeRColour") +
       B({9}) + S("BackDrop.ChangeGColour") + B({9}) + S("BackDrop.ChangeBColour") + B({9});
  s += S("BackDrop.Direction") + B({7}) + S("drLeftRight");
  s += S("BackDrop.StartR") + B({2, 0}) + S("BackDrop.StartG") + B({2, 0}) + S("BackDrop.StartB") + B({2, 0});
  s += S("BackDrop.NewColorFrom") + B({7}) + S("clBlack") + S("BackDrop.NewColorTo") + B({7}) + S("clBlack");
  s += S("BackDrop.NewType") + B({7}) + S("gsHorizontal");
  s += S("JpegPerformance") + B({7}) + S("jpBestQuality");
  s += S("BackgroundPicture") + B({6}) + S("None") + S("CardSpeed") + B({2, 0x20});
  for (const char* n :
       {"DragAndDrop", "DragFromDeck", "DragFaceDown", "LiftOffset", "RepaintLabels", "AutoResize"})
    s += S(n) + B({8});
  s += S("MinWidth") + B({3, 0xF4, 0x01}) + S("MinHeight") + B({3, 0x90, 0x01});
  s += S("TurnOverAnimationSpeed") + B({2, 8}) + S("TurnOverAnimationVertical") + B({9}) +
       S("TurnOverAnimationLift") + B({8});
  s += S("AutoShadeMode") + B({2, 3}) + S("SlowMoveRegion") + B({8}) + S("ShadowMode") + B({7}) +
       S("smDarken");
  s += S("SoftShadow") + B({9}) + S("SMR_WaitMode") + B({9}) + S("FastMovementMode") + B({8}) +
       S("HQDragShade") + B({9}) + S("HQDragShadeColour") + B({2, 1}) + S("DisableCardClicks") + B({8});
  for (const char* n : {"cno", "dfu", "cv", "cs", "fu", "st", "di", "cx", "cy", "ft", "nocot", "cot", "cms",
                        "dsd", "ds", "cr"})
    s += S(n);
  return s + B({0, 0});
}

std::string WithHeader(const std::string& stream) {
  const uint32_t n = uint32_t(stream.size());
  return B({0xFF, 0x0A, 0x00}) + "TCARDTABLE" + B({0, 0x30, 0x10}) +
         B({int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF), int(n >> 24)}) + stream;
}

// The stream with extra bytes put in front of the named property.
std::string InsertBefore(std::string stream, const std::string& name, const std::string& extra) {
  const size_t at = stream.find(S(name));
  EXPECT_NE(at, std::string::npos) << name;
  return stream.insert(at, extra);
}

class StatusTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    MakeTable();
    Folder = Dir / "data";
    ForceDirectories(Folder);
  }
  std::unique_ptr<TCardTable> NewTable() {
    auto t = std::make_unique<TCardTable>(nullptr, CardsetsDir);
    t->OnTrace = [this](const std::string& line) { Traces.push_back(line); };
    return t;
  }
  std::string Folder;
};

TEST_F(StatusTest, ANewTableWritesExactlyTheseBytes) {
  const std::string expected = WithHeader(DefaultStream());
  ASSERT_EQ(expected.size(), 20 + DefaultStream().size());
  EXPECT_EQ(Table->StatusData(), expected);
  Table->SaveStatus(Folder);
  EXPECT_EQ(ListFiles(Folder), std::vector<std::string>{"Status.Dat"});
  EXPECT_EQ(ReadFileText(Folder + "/Status.Dat"), expected);
  // The program folder when no folder is given.
  Table->ProgramDir = Dir / "prog";
  ForceDirectories(Table->ProgramDir);
  Table->SaveStatus();
  EXPECT_EQ(ReadFileText(Dir / "prog/Status.Dat"), expected);
}

TEST_F(StatusTest, EverySettingComesBack) {
  WriteTableCardset(CardsetsDir, "Other");
  TBitmap picture(20, 20);
  picture.Clear(0x336699);
  picture.SaveToFile(Dir / "felt.bmp");

  TCardTable& t = *Table;
  t.Tag = 15;
  t.AlignWithMargins = true;
  t.ApplyBounds(7, -9, 450, 350);
  t.Cursor = crHandPoint;
  t.Hint =
      "Tisch \xC3\xBC"
      "ber alles";  // not ASCII: written as UTF-8
  t.HelpType = htKeyword;
  t.HelpKeyword = std::string(300, 'k');  // a long string
  t.HelpContext = 70000;
  t.Margins = {1, 2, 300, -4};
  t.Enabled = false;
  t.CardDeck()->SetDeckName("Other");
  t.CardDeck()->SetCardBack(2);
  t.SetPlaceDeckOffset(-7);
  t.DragCardCursor = -300;  // no identifier: a number
  t.SetColor(0x00FFFF);     // clYellow
  t.SetStretchBackground(true);
  t.SetJpegPerformance(jpBestSpeed);
  t.SetBackgroundPicture(Dir / "felt.bmp");
  t.SetCardSpeed(64);
  t.DragAndDrop = t.DragFromDeck = t.DragFaceDown = t.LiftOffset = t.RepaintLabels = t.AutoResize = true;
  t.SetMinWidth(640);
  t.SetMinHeight(480);
  t.SetTurnOverAnimationSpeed(40);
  t.TurnOverAnimationVertical = false;
  t.TurnOverAnimationLift = true;
  t.SetAutoShadeMode(2);
  t.SlowMoveRegion = true;
  t.ShadowMode = smOriginal;
  t.SoftShadow = false;
  t.SMR_WaitMode = false;
  t.FastMovementMode = true;
  t.HQDragShade = false;
  t.SetHQDragShadeColour(5);
  t.DisableCardClicks = true;
  t.SaveStatus(Folder);

  std::unique_ptr<TCardTable> u = NewTable();
  EXPECT_EQ(u->LoadStatus(Folder), TStatusLoad::Loaded);
  EXPECT_EQ(u->Tag, 15);
  EXPECT_TRUE(u->AlignWithMargins);
  EXPECT_EQ(u->BoundsRect(), Bounds(7, -9, 450, 350));
  EXPECT_EQ(u->Buffer.Width(), 450);
  EXPECT_EQ(u->Cursor, crHandPoint);
  EXPECT_EQ(u->Hint, t.Hint);
  EXPECT_EQ(u->HelpType, htKeyword);
  EXPECT_EQ(u->HelpKeyword, t.HelpKeyword);
  EXPECT_EQ(u->HelpContext, 70000);
  EXPECT_EQ(u->Margins, t.Margins);
  EXPECT_FALSE(u->Enabled);
  EXPECT_EQ(u->CardDeck()->DeckName, "Other");
  EXPECT_EQ(u->CardDeck()->CardBack, 2);
  EXPECT_EQ(u->PlaceDeckOffset(), -7);
  EXPECT_EQ(u->DragCardCursor, -300);
  EXPECT_EQ(u->Color(), 0x00FFFF);
  EXPECT_TRUE(u->StretchBackground());
  EXPECT_EQ(u->JpegPerformance(), jpBestSpeed);
  EXPECT_EQ(u->BackgroundPicture(), Dir / "felt.bmp");
  EXPECT_EQ(u->Buffer.Pixel(100, 100), 0x336699);
  EXPECT_EQ(u->CardSpeed(), 64);
  EXPECT_TRUE(u->DragAndDrop && u->DragFromDeck && u->DragFaceDown && u->LiftOffset && u->RepaintLabels &&
              u->AutoResize);
  EXPECT_EQ(u->MinWidth(), 640);
  EXPECT_EQ(u->MinHeight(), 480);
  EXPECT_EQ(u->TurnOverAnimationSpeed(), 40);
  EXPECT_FALSE(u->TurnOverAnimationVertical);
  EXPECT_TRUE(u->TurnOverAnimationLift);
  EXPECT_EQ(u->AutoShadeMode(), 2);
  EXPECT_TRUE(u->SlowMoveRegion);
  EXPECT_EQ(u->ShadowMode, smOriginal);
  EXPECT_FALSE(u->SoftShadow);
  EXPECT_FALSE(u->SMR_WaitMode);
  EXPECT_TRUE(u->FastMovementMode);
  EXPECT_FALSE(u->HQDragShade);
  EXPECT_EQ(u->HQDragShadeColour(), 5);
  // Card presses are never blocked from the start.
  EXPECT_FALSE(u->DisableCardClicks);
  EXPECT_TRUE(u->ScreenUpdates());
  // Written again, the file is the same but for the one setting not taken back.
  u->DisableCardClicks = true;
  EXPECT_EQ(u->StatusData(), t.StatusData());
  EXPECT_TRUE(Traces.empty()) << Traces.front();
}

// With every inherited setting away from its default, each is written in its place among the
// others: the names of the file in order, then the table's own names without values.
TEST_F(StatusTest, EveryInheritedSettingAwayFromItsDefaultIsWrittenInItsPlace) {
  TCardTable& t = *Table;
  t.Tag = 1;
  t.AlignWithMargins = true;
  t.Cursor = crHandPoint;
  t.Hint = "h";
  t.HelpType = htKeyword;
  t.HelpKeyword = "k";
  t.HelpContext = 2;
  t.Margins = {0, 1, 2, 4};
  t.SetAlign(alClient);
  t.Enabled = false;
  t.SetVisible(false);
  // The names in file order.
  std::istringstream order(
      "Tag AlignWithMargins Left Top Width Height Cursor Hint HelpType HelpKeyword HelpContext Margins.Left "
      "Margins.Top Margins.Right Margins.Bottom Align Enabled CardDeck.DeckName CardDeck.CardBack Visible "
      "StretchBackground PlaceDeckOffset DragCardCursor Color BackDrop.Enabled BackDrop.NewMode "
      "BackDrop.ChangeRColour BackDrop.ChangeGColour BackDrop.ChangeBColour BackDrop.Direction "
      "BackDrop.StartR BackDrop.StartG BackDrop.StartB BackDrop.NewColorFrom BackDrop.NewColorTo "
      "BackDrop.NewType JpegPerformance BackgroundPicture CardSpeed DragAndDrop DragFromDeck DragFaceDown "
      "LiftOffset RepaintLabels AutoResize MinWidth MinHeight TurnOverAnimationSpeed "
      "TurnOverAnimationVertical TurnOverAnimationLift AutoShadeMode SlowMoveRegion ShadowMode SoftShadow "
      "SMR_WaitMode FastMovementMode HQDragShade HQDragShadeColour DisableCardClicks");
  const std::vector<std::string> expected{std::istream_iterator<std::string>(order), {}};
  const std::string data = t.StatusData();
  TReader r(ComponentStreamOf(data));
  r.ReadSignature();
  r.ReadPrefix();
  r.ReadStr();
  r.ReadStr();
  std::vector<std::string> names;
  for (const std::string& name : expected) {
    names.push_back(r.ReadStr());
    if (names.back() != name) break;
    r.SkipValue();
  }
  EXPECT_EQ(names, expected);
  for (const char* custom : kStatusCustomNames) EXPECT_EQ(r.ReadStr(), custom);
  r.ReadListEnd();
  r.ReadListEnd();
  EXPECT_TRUE(r.EndOfStream());
}

TEST_F(StatusTest, TheGradientComesBackAndAnAlignedTableKeepsItsLayout) {
  TCardTable& t = *Table;
  TBackdrop& bd = t.BackDrop();
  bd.SetNewMode(true);
  bd.SetNewColorFrom(0xFFFFFF);  // clWhite
  bd.SetNewColorTo(0x123456);
  bd.SetNewType(TGradientStyle::gsDiagonalRightLeft);
  bd.SetDirection(TFillDirection::drDownUp);
  bd.SetStartR(200);  // above 127: two bytes
  bd.SetStartG(5);
  bd.SetChangeGColour(false);
  bd.SetEnabled(true);
  t.SetAlign(alClient);
  t.SaveStatus(Folder);
  const std::string data = ReadFileText(Folder + "/Status.Dat");
  EXPECT_NE(data.find(S("Align") + B({7}) + S("alClient")), std::string::npos);
  EXPECT_NE(data.find(S("BackDrop.StartR") + B({3, 200, 0})), std::string::npos);
  EXPECT_NE(data.find(S("BackDrop.NewColorFrom") + B({7}) + S("clWhite")), std::string::npos);

  std::unique_ptr<TCardTable> u = NewTable();
  u->ApplyBounds(0, 0, 600, 450);
  u->LoadStatus(Folder);
  EXPECT_EQ(u->Align(), alClient);
  EXPECT_EQ(u->BoundsRect(), Bounds(0, 0, 600, 450));  // the saved 500 x 400 not applied
  const TBackdrop& ud = u->BackDrop();
  EXPECT_TRUE(ud.Enabled());
  EXPECT_TRUE(ud.NewMode());
  EXPECT_EQ(ud.NewColorFrom(), 0xFFFFFF);
  EXPECT_EQ(ud.NewColorTo(), 0x123456);
  EXPECT_EQ(ud.NewType(), TGradientStyle::gsDiagonalRightLeft);
  EXPECT_EQ(ud.Direction(), TFillDirection::drDownUp);
  EXPECT_EQ(ud.StartR(), 200);
  EXPECT_EQ(ud.StartG(), 5);
  EXPECT_FALSE(ud.ChangeGColour());
  EXPECT_EQ(u->BackgroundPicture(), "None");
  TBitmap painted(600, 450);
  ud.PaintBitmap(painted);
  EXPECT_TRUE(SameBitmaps(painted, u->Buffer));
}

TEST_F(StatusTest, UnknownSettingsAreSteppedOverByTheirTags) {
  std::string stream = DefaultStream();
  // Settings of another version: a number, a nested list, a binary block, a set, a collection.
  stream = InsertBefore(stream, "DisableCardClicks",
                        S("ExplicitWidth") + B({3, 0x20, 0x03}) + S("Touch.Gestures") +
                            B({1, 2, 1, 6, 1, 'x', 0}) + S("Glyph.Data") + B({10, 3, 0, 0, 0, 7, 8, 9}) +
                            S("Anchors") + B({11, 5}) + "akTop" + B({0}) + S("Columns") +
                            B({14, 1, 1, 'W', 2, 5, 0, 0}));
  // Other widths and encodings than this writer uses.
  stream = InsertBefore(stream, "CardSpeed", S("Tag") + B({4, 9, 0, 0, 0}));
  const std::string speed = S("CardSpeed") + B({2, 0x20});
  stream.replace(stream.find(speed), speed.size(), S("CardSpeed") + B({4, 48, 0, 0, 0}));
  const std::string color = S("Color") + B({4, 0x80, 0x80, 0xFF, 0x00});
  stream.replace(stream.find(color), color.size(), S("Color") + B({7}) + S("clSkyBlue"));
  const std::string hint = S("Hint") + B({18, 2, 0, 0, 0, 'O', 0, 'K', 0});
  stream = InsertBefore(stream, "CardDeck.DeckName", hint);
  Table->ApplyStatusData(WithHeader(stream));
  EXPECT_EQ(Table->Tag, 9);
  EXPECT_EQ(Table->CardSpeed(), 48);
  EXPECT_EQ(Table->Color(), 0xF0CAA6);
  EXPECT_EQ(Table->Hint, "OK");
  EXPECT_EQ(Traces.size(), 5u);
  // A bare stream without the header reads as well.
  Table->ApplyStatusData(DefaultStream());
  EXPECT_EQ(Table->CardSpeed(), 32);
}

TEST_F(StatusTest, ValuesOfTheWrongKindOrOutOfRangeLeaveTheirSettings) {
  Table->SetCardSpeed(50);
  std::string stream = DefaultStream();
  auto replace = [&stream](const std::string& from, const std::string& to) {
    const size_t at = stream.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    stream.replace(at, from.size(), to);
  };
  replace(S("CardSpeed") + B({2, 0x20}), S("CardSpeed") + B({6, 4}) + "fast");
  replace(S("AutoShadeMode") + B({2, 3}), S("AutoShadeMode") + B({2, 7}));
  replace(S("HQDragShadeColour") + B({2, 1}), S("HQDragShadeColour") + B({2, 9}));
  replace(S("ShadowMode") + B({7}) + S("smDarken"), S("ShadowMode") + B({7}) + S("smSomething"));
  replace(S("Width") + B({3, 0xF4, 0x01}), S("Width") + B({4, 0, 0, 1, 0}));
  replace(S("BackDrop.StartR") + B({2, 0}), S("BackDrop.StartR") + B({3, 0x2C, 0x01}));
  replace(S("TurnOverAnimationVertical") + B({9}), S("TurnOverAnimationVertical") + B({2, 1}));
  Table->SetAutoShadeMode(1);
  Table->ShadowMode = smOriginal;
  Table->TurnOverAnimationVertical = false;
  Table->ApplyStatusData(WithHeader(stream));
  EXPECT_EQ(Table->CardSpeed(), 50);
  EXPECT_EQ(Table->AutoShadeMode(), 1);      // the setter refuses 7
  EXPECT_EQ(Table->HQDragShadeColour(), 0);  // the setter makes 9 into 0
  EXPECT_EQ(Table->ShadowMode, smOriginal);
  EXPECT_EQ(Table->Width(), 500);            // 65536 wide: no such table
  EXPECT_EQ(Table->BackDrop().StartR(), 0);  // 300 is no byte
  EXPECT_FALSE(Table->TurnOverAnimationVertical);
  EXPECT_EQ(Traces.size(), 5u);
}

TEST_F(StatusTest, AMissingPictureLoadsAsThePlainColour) {
  TBitmap picture(8, 8);
  picture.SaveToFile(Dir / "gone.bmp");
  Table->SetBackgroundPicture(Dir / "gone.bmp");
  Table->SaveStatus(Folder);
  DeleteFile(Dir / "gone.bmp");
  std::unique_ptr<TCardTable> u = NewTable();
  u->SetColor(0x102030);
  u->LoadStatus(Folder);
  EXPECT_EQ(u->BackgroundPicture(), "None");
  EXPECT_EQ(u->Color(), 0xFF8080);
  EXPECT_EQ(u->Buffer.Pixel(5, 5), 0xFF8080);
}

TEST_F(StatusTest, TheFileIsFoundInAnyCaseAndReplacedWhereItIs) {
  Table->SetCardSpeed(77);
  WriteFileAtomic(Folder + "/status.DAT", Table->StatusData());
  std::unique_ptr<TCardTable> u = NewTable();
  EXPECT_EQ(u->LoadStatus(Folder + "/"), TStatusLoad::Loaded);
  EXPECT_EQ(u->CardSpeed(), 77);
  u->SetCardSpeed(12);
  u->SaveStatus(Folder);
  EXPECT_EQ(ListFiles(Folder), std::vector<std::string>{"status.DAT"});
  EXPECT_EQ(u->StatusFilePath(Folder), Folder + "/status.DAT");
  // The file named by its own path, in any case.
  EXPECT_EQ(u->StatusFilePath(Folder + "/STATUS.dat"), Folder + "/status.DAT");
  u->SaveStatus(Folder + "/Other.dat");
  EXPECT_EQ(NewTable()->LoadStatus(Folder + "/other.DAT"), TStatusLoad::Loaded);
}

TEST_F(StatusTest, NoFileChangesNothingButTheBackgroundIsAppliedOnce) {
  Table->SetCardSpeed(20);
  Surface.ResetCounts();
  EXPECT_EQ(Table->LoadStatus(Folder), TStatusLoad::NoFile);
  EXPECT_EQ(Table->CardSpeed(), 20);
  EXPECT_GE(Surface.Invalidates, 1);
  // Loading a file copies nothing to the screen on the way.
  Table->SaveStatus(Folder);
  Surface.ResetCounts();
  Table->LoadStatus(Folder);
  EXPECT_TRUE(Surface.Copies.empty());
  EXPECT_EQ(Surface.Paints, 0);
  EXPECT_TRUE(Table->ScreenUpdates());
}

TEST_F(StatusTest, ASaveThatCannotBeWrittenRaisesAndLeavesNoFile) {
  EXPECT_THROW(Table->SaveStatus(Dir / "missing/folder"), EFileError);
  EXPECT_FALSE(DirectoryExists(Dir / "missing"));
  // A target that cannot be replaced: the error comes out and no temporary file is left behind.
  ForceDirectories(Folder + "/Status.Dat/inside");
  EXPECT_THROW(Table->SaveStatus(Folder), EFileError);
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(Folder)) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST_F(StatusTest, EveryTruncationIsRefusedAndChangesNothing) {
  Table->SetCardSpeed(33);
  Table->Tag = 4;
  const std::string before = Table->StatusData();
  const std::string stream = DefaultStream();
  for (size_t n = 0; n + 1 < stream.size(); ++n) {
    // Cut inside the stream with a header that agrees, and cut with the header's length intact.
    EXPECT_THROW(Table->ApplyStatusData(WithHeader(stream.substr(0, n))), EReadError) << n;
    EXPECT_THROW(Table->ApplyStatusData(WithHeader(stream).substr(0, 20 + n)), EReadError) << n;
  }
  EXPECT_EQ(Table->StatusData(), before);
  // Through the file: set aside, settings kept, the screen back on, start-up goes on.
  WriteFileAtomic(Folder + "/Status.Dat", WithHeader(stream).substr(0, 300));
  EXPECT_EQ(Table->LoadStatus(Folder), TStatusLoad::Damaged);
  EXPECT_TRUE(Table->ScreenUpdates());
  EXPECT_EQ(Table->StatusData(), before);
  EXPECT_FALSE(FileExists(Folder + "/Status.Dat"));
  EXPECT_TRUE(FileExists(Folder + "/Status.Dat.bad"));
  EXPECT_EQ(Table->LoadStatus(Folder), TStatusLoad::NoFile);
  ASSERT_FALSE(Traces.empty());
  EXPECT_NE(Traces.front().find("Status.Dat.bad"), std::string::npos);
  // Not a table's file, or no file of this kind at all.
  EXPECT_THROW(Table->ApplyStatusData(WithHeader("TPF0" + S("TForm1") + B({0, 0, 0}))), EReadError);
  EXPECT_THROW(Table->ApplyStatusData("garbage"), EReadError);
  EXPECT_THROW(Table->ApplyStatusData(""), EReadError);
}

TEST_F(StatusTest, MutatedFilesNeverCrashTheTable) {
  TCard* c = Deck().NextCard();
  c->FaceUp = true;
  Table->AddCard(c, 40, 40);
  const std::string golden = Table->StatusData();
  std::mt19937 rng(2024);
  int loaded = 0, refused = 0;
  for (int i = 0; i < 1500; ++i) {
    std::string data = golden;
    const int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      const size_t at = 20 + rng() % (data.size() - 20);
      switch (rng() % 4) {
        case 0:
          data[at] = char(rng());
          break;
        case 1:
          data[at] = char(data[at] ^ (1 << (rng() % 8)));
          break;
        case 2:
          data.erase(at, 1 + rng() % 3);
          break;
        default:
          data.insert(at, 1, char(rng() % 24));
          break;
      }
    }
    // Mostly with a header that agrees with the new length, so the stream itself is put to the test.
    if (rng() % 4 != 0) data = WithHeader(data.substr(20));
    try {
      Table->ApplyStatusData(data);
      ++loaded;
    } catch (const EReadError&) {
      ++refused;
    }
    if (i % 50 == 0) {
      ASSERT_TRUE(Consistent()) << "mutation " << i;
      Table->ApplyStatusData(golden);
    }
  }
  EXPECT_GT(loaded, 50);
  EXPECT_GT(refused, 50);
  // And through the file, with the screen switched back on each time.
  for (int i = 0; i < 20; ++i) {
    std::string data = golden;
    data[20 + rng() % (data.size() - 20)] = char(rng());
    WriteFileAtomic(Folder + "/Status.Dat", data);
    const TStatusLoad r = Table->LoadStatus(Folder);
    EXPECT_NE(r, TStatusLoad::NoFile);
    EXPECT_TRUE(Table->ScreenUpdates());
  }
  Table->ApplyStatusData(golden);
  EXPECT_TRUE(Consistent());
}

}  // namespace
