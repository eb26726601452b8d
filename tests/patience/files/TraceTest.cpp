// The debug trace: nesting and its blank lines, the start-up trace kept in memory only, the
// player's trace appended to "debug.txt" line by line across sessions, and the error report.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "cardtable/SystemDirs.h"
#include "patience/files/Trace.h"
#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

namespace {

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// Every test runs with its own desktop and home folder and no trace.
class TraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FOldDesktop = DesktopDir;
    FOldHome = GetEnv("HOME");
    DesktopDir = Home / "Desktop";
    setenv("HOME", Home.Path().c_str(), 1);
    StopTrace();
  }
  void TearDown() override {
    StopTrace();
    DesktopDir = FOldDesktop;
    setenv("HOME", FOldHome.c_str(), 1);
  }
  // The lines of a trace file.
  static std::vector<std::string> FileLines(const std::string& path) {
    TStringList l;
    l.LoadFromFile(path);
    return l.Lines;
  }
  // A traced line without its time: everything before the last blank that a digit follows (the
  // time may hold blanks of its own, "01:37:50 UTC").
  static std::string WithoutTime(const std::string& line) {
    for (size_t i = line.size(); i-- > 1;)
      if (line[i - 1] == ' ' && std::isdigit(static_cast<unsigned char>(line[i])))
        return line.substr(0, i - 1);
    return line;
  }
  std::vector<std::string> TracedLines(int from) const {
    std::vector<std::string> out;
    for (int i = from; i < TraceList->Count(); ++i) out.push_back(WithoutTime((*TraceList)[i]));
    return out;
  }

  TTempDir Home;
  std::string FOldDesktop, FOldHome;
};

TEST_F(TraceTest, NestingFollowsStartAndExitLines) {
  struct TCase {
    std::vector<std::string> Messages;
    std::vector<std::string> Lines;  // without their times
    int Depth;
  };
  const TCase cases[] = {
      {{"Start ModifyScoring"}, {" ", "   Start ModifyScoring"}, 1},
      {{"Start ModifyScoring", "Exit ModifyScoring"},
       {" ", "   Start ModifyScoring", "   Exit ModifyScoring", " "},
       0},
      {{"Start A", "inside", "Start B", "deeper", "Exit B", "Exit A", "after"},
       {" ", "   Start A", "   inside", " ", "      Start B", "      deeper", "      Exit B", " ",
        "   Exit A", " ", "after"},
       0},
      // Not openings: "Stop", "Start" alone, a prefix in the middle.
      {{"Stop", "Start", "[ Exit due RowCount < 1. ]", "Exit"},
       {"Stop", "Start", "[ Exit due RowCount < 1. ]", "Exit"},
       0},
      // Any case opens; an opening that never closes leaves the indentation deeper.
      {{"Starting load status", "CardTable status loaded"},
       {" ", "   Starting load status", "   CardTable status loaded"},
       1},
      // Below depth 0 nothing is indented.
      {{"Exit early", "plain"}, {"Exit early", " ", "plain"}, -1},
  };
  for (const TCase& c : cases) {
    StartStartupTrace("/opt/Patience");
    for (const std::string& m : c.Messages) Trace(m);
    EXPECT_EQ(TracedLines(5), c.Lines) << c.Messages.front();
    EXPECT_EQ(TraceDepth, c.Depth) << c.Messages.front();
  }
}

TEST_F(TraceTest, ALineEndsInItsTimeAfterOneBlank) {
  StartStartupTrace("/opt/Patience");
  Trace("Form activated");
  const std::string line = (*TraceList)[5];
  ASSERT_GT(line.size(), std::string("Form activated ").size());
  EXPECT_EQ(line.rfind("Form activated ", 0), 0u);
  EXPECT_NE(line.find_first_of("0123456789", 15), std::string::npos);
}

TEST_F(TraceTest, NoTraceMeansNothingIsWritten) {
  Trace("Start Nothing");
  EXPECT_EQ(TraceList, nullptr);
  EXPECT_EQ(TraceDepth, 0);
  EXPECT_FALSE(FileExists(Home / "Desktop/debug.txt"));
}

TEST_F(TraceTest, TheStartupTraceStaysInMemory) {
  StartStartupTrace("/opt/Patience/Patience");
  const std::vector<std::string> header(TraceList->Lines.begin(), TraceList->Lines.end());
  EXPECT_EQ(header, (std::vector<std::string>{"Patience fatal exception trace", "/opt/Patience/Patience",
                                              "v 2.51", "2051", ""}));
  Trace("CardTable created");
  Trace("Start ViewStartScreen");
  EXPECT_FALSE(FileExists(Home / "Desktop/debug.txt"));
  // A user trace cannot start over it.
  EXPECT_FALSE(StartUserTrace(TStringList{"On"}));
  EXPECT_EQ((*TraceList)[0], kStartupTraceHeader);
}

TEST_F(TraceTest, TheUserTraceIsAppendedAfterEveryLineAcrossSessions) {
  const std::string file = Home / "Desktop/debug.txt";
  const TStringList options{"On", "On", "On", "Stars", "1", "Extended", "On"};
  // The desktop folder is made when it is missing.
  ASSERT_TRUE(StartUserTrace(options));
  const std::vector<std::string> expectHeader = {
      "-----------------", "v 2.51", "Id: 2051",         "", "Options:", "On", "On", "On", "Stars", "1",
      "Extended",          "On",     "-- -- -- -- -- --"};
  std::vector<std::string> first = FileLines(file);
  ASSERT_EQ(first.size(), expectHeader.size() + 1);
  EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + 13), expectHeader);
  EXPECT_EQ(WithoutTime(first.back()), "Trace Started.");
  // Asking again while it runs does nothing.
  EXPECT_FALSE(StartUserTrace(options));
  Trace("Start InfoClick");
  EXPECT_EQ(FileLines(file), TraceList->Lines);
  Trace("Exit InfoClick");
  EXPECT_EQ(FileLines(file), TraceList->Lines);
  const std::vector<std::string> session1 = TraceList->Lines;
  StopTrace();

  // The next session goes on after the old one.
  ASSERT_TRUE(StartUserTrace(options));
  Trace("Second session");
  const std::vector<std::string> all = FileLines(file);
  ASSERT_GT(all.size(), session1.size());
  EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + long(session1.size())), session1);
  EXPECT_EQ(all, TraceList->Lines);
  EXPECT_EQ(WithoutTime(all.back()), "Second session");
}

TEST_F(TraceTest, AFailingSaveLeavesTheTraceGoingInMemory) {
  ASSERT_TRUE(StartUserTrace(TStringList{}));
  // debug.txt becomes a folder: every write fails.
  DeleteFile(Home / "Desktop/debug.txt");
  ForceDirectories(Home / "Desktop/debug.txt");
  Trace("one");
  Trace("two");
  EXPECT_EQ(WithoutTime(TraceList->Lines.back()), "two");
}

TEST_F(TraceTest, WithoutADesktopTheFilesGoHome) {
  DesktopDir.clear();
  EXPECT_EQ(TraceFolder(), Home.Path());
  ASSERT_TRUE(StartUserTrace(TStringList{}));
  EXPECT_TRUE(FileExists(Home / "debug.txt"));
}

TEST_F(TraceTest, TheErrorReportFoldsTheTraceAndSavesIt) {
  StartStartupTrace("/opt/Patience/Patience");
  Trace("CardTable created");
  const std::string text = WriteErrorReport("FormActivate");
  EXPECT_EQ(TraceList->Count(), 1);
  EXPECT_EQ(text.rfind("Patience fatal exception trace\r\n/opt/Patience/Patience\r\nv 2.51\r\n2051\r\n\r\n"
                       "CardTable created ",
                       0),
            0u);
  EXPECT_TRUE(EndsWith(text, "\r\nException in FormActivate"));
  const std::string saved = ReadFileText(Home / "Desktop/PatienceErrorReport.txt");
  EXPECT_EQ(saved, text + "\r\n");
  // Never as a user trace.
  EXPECT_FALSE(FileExists(Home / "Desktop/debug.txt"));
}

TEST_F(TraceTest, AnErrorReportWithoutATraceStillNamesWhereItFailed) {
  const std::string text = WriteErrorReport("FormCreate");
  EXPECT_EQ(text.rfind("Patience fatal exception trace\r\n", 0), 0u);
  EXPECT_TRUE(EndsWith(text, "\r\nException in FormCreate"));
}

}  // namespace
