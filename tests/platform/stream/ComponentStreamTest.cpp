// The binary component stream: the encodings the writer picks, the reader's acceptance of every
// width and string form, skipping values of every tag, the resource header, and damaged input
// (truncated at every byte, random bytes) that must raise EReadError and never read past the end.
#include <gtest/gtest.h>

#include <random>

#include "platform/stream/ComponentStream.h"

namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += char(v);
  return s;
}

TEST(ComponentWriterTest, IntegersTakeTheSmallestWidthThatHoldsThem) {
  TWriter w;
  for (int64_t v : {0LL, 127LL, -128LL, 128LL, 255LL, -129LL, 32767LL, 32768LL, -32769LL, 16744576LL,
                    -2147483648LL, 4294967296LL})
    w.WriteInteger(v);
  EXPECT_EQ(w.Data(),
            Bytes({2,    0,    2, 0x7F, 2,    0x80, 3,    0x80, 0,    3,    0xFF, 0,    3, 0x7F, 0xFF, 3,
                   0xFF, 0x7F, 4, 0x00, 0x80, 0,    0,    4,    0xFF, 0x7F, 0xFF, 0xFF, 4, 0x80, 0x80, 0xFF,
                   0x00, 4,    0, 0,    0,    0x80, 0x13, 0,    0,    0,    0,    1,    0, 0,    0}));
}

TEST(ComponentWriterTest, StringsBooleansAndIdentifiers) {
  TWriter w;
  w.WriteString("None");
  w.WriteString(std::string(300, 'a'));
  w.WriteString(
      "C:/Bilder/M\xC3\xBC"
      "de.jpg");  // not ASCII: UTF-8
  w.WriteBoolean(false);
  w.WriteBoolean(true);
  w.WriteIdent("crDrag");
  w.WriteStr("Left");
  const std::string& d = w.Data();
  EXPECT_EQ(d.substr(0, 6), Bytes({6, 4}) + "None");
  EXPECT_EQ(d.substr(6, 5), Bytes({12, 0x2C, 1, 0, 0}));
  size_t at = 6 + 5 + 300;
  EXPECT_EQ(d.substr(at, 5), Bytes({20, 19, 0, 0, 0}));
  at += 5 + 19;
  EXPECT_EQ(d.substr(at), Bytes({8, 9, 7, 6}) + "crDrag" + Bytes({4}) + "Left");
}

TEST(ComponentReaderTest, ReadsWhatTheWriterWroteAndEveryOtherWidth) {
  TWriter w;
  for (int64_t v : {0LL, -1LL, 200LL, -30000LL, 70000LL, -70000LL, 1LL << 40}) w.WriteInteger(v);
  w.WriteString(std::string(300, 'x'));
  w.WriteString(
      "M\xC3\xBC"
      "de");
  TReader r(w.Data());
  for (int64_t v : {0LL, -1LL, 200LL, -30000LL, 70000LL, -70000LL, 1LL << 40}) EXPECT_EQ(r.ReadInteger(), v);
  EXPECT_EQ(r.ReadString(), std::string(300, 'x'));
  EXPECT_EQ(r.ReadString(),
            "M\xC3\xBC"
            "de");
  EXPECT_TRUE(r.EndOfStream());
  // Short and long strings come as Windows-1252; wide strings as UTF-16 with surrogate pairs.
  const std::string latinData = Bytes({6, 3, 'M', 0xFC, 0x80, 12, 1, 0, 0, 0, 0x9F});
  TReader latin(latinData);
  EXPECT_EQ(latin.ReadString(), "M\xC3\xBC\xE2\x82\xAC");
  EXPECT_EQ(latin.ReadString(), "\xC5\xB8");
  const std::string wideData =
      Bytes({18, 3, 0, 0, 0, 'A', 0, 0x3D, 0xD8, 0x00, 0xDE, 18, 1, 0, 0, 0, 0x00, 0xDC});
  TReader wide(wideData);
  EXPECT_EQ(wide.ReadString(), "A\xF0\x9F\x98\x80");
  EXPECT_EQ(wide.ReadString(), "\xEF\xBF\xBD");  // a lone surrogate
  // Identifiers, with the value-less tags read as their names.
  const std::string idData = Bytes({7, 2, 'a', 'l', 8, 9, 13, 0});
  TReader ids(idData);
  EXPECT_EQ(ids.ReadIdent(), "al");
  EXPECT_EQ(ids.ReadIdent(), "False");
  EXPECT_EQ(ids.ReadIdent(), "True");
  EXPECT_EQ(ids.ReadIdent(), "nil");
  EXPECT_EQ(ids.ReadIdent(), "Null");
}

TEST(ComponentReaderTest, AValueOfTheWrongKindIsAReadError) {
  EXPECT_THROW(TReader(Bytes({6, 1, 'a'})).ReadInteger(), EReadError);
  EXPECT_THROW(TReader(Bytes({2, 1})).ReadString(), EReadError);
  EXPECT_THROW(TReader(Bytes({2, 1})).ReadBoolean(), EReadError);
  EXPECT_THROW(TReader(Bytes({6, 1, 'a'})).ReadIdent(), EReadError);
  EXPECT_THROW(TReader(Bytes({0x16})).SkipValue(), EReadError);  // no such tag
  EXPECT_THROW(TReader("").ReadValue(), EReadError);
  EXPECT_THROW(TReader("TPF1").ReadSignature(), EReadError);
}

TEST(ComponentReaderTest, SkipsOneValueOfEveryTag) {
  const std::string values[] = {
      Bytes({0}),
      Bytes({1, 2, 5, 6, 1, 'x', 1, 9, 0, 0}),  // a list holding a nested list
      Bytes({2, 1}),
      Bytes({3, 1, 2}),
      Bytes({4, 1, 2, 3, 4}),
      Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x3F}),
      Bytes({6, 2, 'a', 'b'}),
      Bytes({7, 1, 'z'}),
      Bytes({8}),
      Bytes({9}),
      Bytes({10, 3, 0, 0, 0, 1, 2, 3}),
      Bytes({11, 3, 'f', 's', 'B', 2, 'f', 'I', 0}),
      Bytes({12, 2, 0, 0, 0, 'h', 'i'}),
      Bytes({13}),
      // A collection of two items, the second with an order value.
      Bytes({14, 1, 4, 'N', 'a', 'm', 'e', 6, 1, 'a', 0, 2, 7, 1, 0, 0}),
      Bytes({15, 0, 0, 0x80, 0x3F}),
      Bytes({16, 1, 2, 3, 4, 5, 6, 7, 8}),
      Bytes({17, 1, 2, 3, 4, 5, 6, 7, 8}),
      Bytes({18, 2, 0, 0, 0, 'h', 0, 'i', 0}),
      Bytes({19, 1, 2, 3, 4, 5, 6, 7, 8}),
      Bytes({20, 1, 0, 0, 0, 'u'}),
      Bytes({21, 1, 2, 3, 4, 5, 6, 7, 8}),
  };
  for (const std::string& v : values) {
    const std::string data = v + Bytes({2, 42});
    TReader r(data);
    r.SkipValue();
    EXPECT_EQ(r.ReadInteger(), 42) << "tag " << int(uint8_t(v[0]));
    // Cut anywhere inside, the value is a read error.
    for (size_t n = 0; n < v.size(); ++n) {
      TReader cut(std::string_view(v).substr(0, n));
      EXPECT_THROW(cut.SkipValue(), EReadError) << "tag " << int(uint8_t(v[0])) << " cut at " << n;
    }
  }
}

TEST(ComponentReaderTest, HugeLengthsAndDeepNestingAreRefused) {
  // Lengths far beyond the data allocate nothing and raise.
  EXPECT_THROW(TReader(Bytes({12, 0xFF, 0xFF, 0xFF, 0xFF, 'a'})).ReadString(), EReadError);
  EXPECT_THROW(TReader(Bytes({18, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0})).ReadString(), EReadError);
  EXPECT_THROW(TReader(Bytes({10, 0xFF, 0xFF, 0xFF, 0xFF})).SkipValue(), EReadError);
  std::string deep(100000, char(1));
  deep += std::string(100000, char(0));
  EXPECT_THROW(TReader(deep).SkipValue(), EReadError);
}

TEST(ResourceHeaderTest, NamesTheClassInCapitalsAndCarriesTheLength) {
  const std::string h = ResourceHeader("TCardTable", 0x01020304);
  EXPECT_EQ(h, Bytes({0xFF, 0x0A, 0x00}) + "TCARDTABLE" + Bytes({0, 0x30, 0x10, 4, 3, 2, 1}));
  EXPECT_EQ(h.size(), 20u);
  const std::string res = ComponentResource("TCardTable", "TPF0abc");
  EXPECT_EQ(ComponentStreamOf(res), "TPF0abc");
  EXPECT_EQ(ComponentStreamOf(res + "trailing"), "TPF0abc");
  EXPECT_EQ(ComponentStreamOf("TPF0bare"), "TPF0bare");
  for (size_t n = 0; n < res.size(); ++n)
    EXPECT_THROW(ComponentStreamOf(std::string_view(res).substr(0, n)), EReadError) << n;
  EXPECT_THROW(ComponentStreamOf(Bytes({0xFF, 0x0B, 0x00, 'X', 0, 0x30, 0x10, 0, 0, 0, 0})), EReadError);
}

TEST(ComponentReaderTest, ThePrefixOfAnInheritedComponentIsSkipped) {
  const std::string plainData = Bytes({10}) + "TCardTable";
  TReader plain(plainData);
  EXPECT_EQ(plain.ReadPrefix(), 0);
  EXPECT_EQ(plain.ReadStr(), "TCardTable");
  const std::string inheritedData = Bytes({0xF3, 2, 5, 1, 'T'});
  TReader inherited(inheritedData);
  EXPECT_EQ(inherited.ReadPrefix(), 3);
  EXPECT_EQ(inherited.ReadStr(), "T");
}

TEST(IdentifierTest, ColoursAndCursorsByName) {
  EXPECT_EQ(ColorToIdent(0), "clBlack");
  EXPECT_EQ(ColorToIdent(0xFFFFFF), "clWhite");
  EXPECT_EQ(ColorToIdent(int32_t(0xFF00000F)), "clBtnFace");
  EXPECT_FALSE(ColorToIdent(0xFF8080).has_value());
  EXPECT_EQ(IdentToColor("CLSKYBLUE"), 0xF0CAA6);
  EXPECT_EQ(IdentToColor("clMenuBar"), int32_t(0xFF00001E));
  EXPECT_FALSE(IdentToColor("clNothing").has_value());
  EXPECT_EQ(CursorToIdent(-12), "crDrag");
  EXPECT_EQ(CursorToIdent(-22), "crSizeAll");  // crSize is the same cursor
  EXPECT_EQ(IdentToCursor("crSize"), -22);
  EXPECT_FALSE(CursorToIdent(-5).has_value());
  EXPECT_FALSE(IdentToCursor("crWhatever").has_value());
}

TEST(ComponentReaderTest, RandomBytesNeverReadPastTheEnd) {
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) {
    std::string data(size_t(rng() % 40), '\0');
    for (char& c : data) c = char(rng() % 24);
    TReader r(data);
    try {
      while (!r.EndOfStream()) r.SkipValue();
    } catch (const EReadError&) {
    }
    EXPECT_LE(r.Position(), data.size());
  }
}

}  // namespace
