#include <gtest/gtest.h>

#include "platform/core/Clock.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Numeric.h"
#include "platform/core/StringList.h"
#include "platform/core/Text.h"
#include "platform/core/Types.h"

TEST(GeometryTest, RectangleArithmetic) {
  TRect a(0, 0, 10, 10), b(5, 5, 20, 8);
  EXPECT_EQ(IntersectRect(a, b), TRect(5, 5, 10, 8));
  EXPECT_EQ(IntersectRect(a, TRect(10, 0, 20, 10)), TRect());  // touching edges do not meet
  EXPECT_EQ(UnionRect(a, b), TRect(0, 0, 20, 10));
  EXPECT_EQ(UnionRect(TRect(), b), b);
  EXPECT_TRUE(a.Contains(TPoint(9, 9)));
  EXPECT_FALSE(a.Contains(TPoint(10, 9)));
  EXPECT_EQ(Bounds(3, 4, 5, 6), TRect(3, 4, 8, 10));
}

TEST(ColourTest, BBGGRRLayout) {
  EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412);
  EXPECT_EQ(GetRValue(0x563412), 0x12);
  EXPECT_EQ(GetGValue(0x563412), 0x34);
  EXPECT_EQ(GetBValue(0x563412), 0x56);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_GE(ColorToRGB(clBtnFace), 0);  // a system colour maps to a plain one
}

TEST(NumericTest, RoundHalfToEvenAndTruncation) {
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(106.5), 106);
  EXPECT_EQ(Round(42.529), 43);
  EXPECT_EQ(Trunc(-1.7), -1);
  EXPECT_EQ(Trunc(1.7), 1);
  EXPECT_EQ(-7 / 2, -3);
}

TEST(StringListTest, ReadsEveryLineEndWithoutPhantomLastLine) {
  TStringList l;
  l.SetText("a\r\nb\r\n");
  EXPECT_EQ(l.Lines, (std::vector<std::string>{"a", "b"}));
  l.SetText("a\nb");
  EXPECT_EQ(l.Lines, (std::vector<std::string>{"a", "b"}));
  l.SetText("a\r\n\r\nb\n");
  EXPECT_EQ(l.Lines, (std::vector<std::string>{"a", "", "b"}));
  l.SetText("a\rb\r");
  EXPECT_EQ(l.Lines, (std::vector<std::string>{"a", "b"}));
  l.SetText("");
  EXPECT_EQ(l.Count(), 0);
  l.SetText("\r\n");
  EXPECT_EQ(l.Lines, (std::vector<std::string>{""}));
}

TEST(StringListTest, WritesCrLfAndChecksIndexes) {
  TStringList l{"one", "two"};
  EXPECT_EQ(l.Text(), "one\r\ntwo\r\n");
  EXPECT_THROW(l[2], EListError);
  EXPECT_THROW(l[-1], EListError);
  EXPECT_THROW(l.Delete(5), EListError);
  l.Insert(0, "zero");
  EXPECT_EQ(l[0], "zero");
  EXPECT_EQ(l.IndexOf("TWO"), 2);
  EXPECT_EQ(l.IndexOf("three"), -1);
  // A line holding line breaks is still written as one line.
  const TStringList broken{"a\r\nb\n\nc\r", "d"};
  EXPECT_EQ(broken.Text(), "a b c \r\nd\r\n");
}

TEST(TextTest, ConversionsIgnoreLocaleAndRejectJunk) {
  EXPECT_EQ(StrToIntDef(" 42 ", -1), 42);
  EXPECT_EQ(StrToIntDef("42x", -1), -1);
  EXPECT_EQ(StrToIntDef("", 7), 7);
  EXPECT_EQ(StrToIntDef("-3", 0), -3);
  EXPECT_EQ(StrToIntDef("99999999999", 5), 5);
  EXPECT_EQ(FloatToStr(1.75), "1.75");
  EXPECT_DOUBLE_EQ(StrToFloatDef("0.599", 0), 0.599);
  EXPECT_DOUBLE_EQ(StrToFloatDef("0,599", -1), -1);
  EXPECT_TRUE(SameText("Status.Dat", "status.dat"));
  EXPECT_TRUE(StartsText("u_", "U_Mine"));
  EXPECT_EQ(Trim("  x y\r"), "x y");
  // Typed text as one line: breaks and tabs become one blank, other control characters go,
  // other text (and bytes that are no UTF-8) stays.
  EXPECT_EQ(OneLine("Ann\r\nSmith\tJr\x01\x7f"), "Ann Smith Jr");
  EXPECT_EQ(OneLine("a\xc2\x85"
                    "b\xe2\x80\xa8"
                    "c\xc2\x9b"
                    "d"),
            "a b cd");
  EXPECT_EQ(OneLine("\xc3\xa9t\xc3\xa9 \x80\xff"), "\xc3\xa9t\xc3\xa9 \x80\xff");
}

TEST(ClockTest, VirtualClockMovesOnlyWhenAsked) {
  TVirtualClock v;
  {
    TScopedClock scope(v);
    uint64_t t0 = GetTickCount();
    Sleep(25);
    EXPECT_EQ(GetTickCount(), t0 + 25);
    v.Advance(5);
    EXPECT_EQ(GetTickCount(), t0 + 30);
    EXPECT_EQ(v.Sleeps, 1u);
  }
  // Back on the system clock: monotonic.
  uint64_t a = GetTickCount(), b = GetTickCount();
  EXPECT_LE(a, b);
}
