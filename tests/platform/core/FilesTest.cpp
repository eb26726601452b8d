#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "tests/support/TestUtil.h"

namespace fs = std::filesystem;

TEST(PathTest, JoinAndSplit) {
  EXPECT_EQ(PathJoin("a", "b"), "a/b");
  EXPECT_EQ(PathJoin("a/", "/b"), "a/b");
  EXPECT_EQ(PathJoin("/", "b"), "/b");
  EXPECT_EQ(PathJoin("", "b"), "b");
  EXPECT_EQ(PathJoin("a", "b", "c.bmp"), "a/b/c.bmp");
  EXPECT_EQ(PathJoin("a", "\\Sounds\\"), "a/Sounds\\");
  EXPECT_EQ(ExtractFileDir("/x/y/z.txt"), "/x/y");
  EXPECT_EQ(ExtractFileDir("/z.txt"), "/");
  EXPECT_EQ(ExtractFileDir("z.txt"), "");
  EXPECT_EQ(ExtractFileName("/x/y/z.txt"), "z.txt");
  EXPECT_EQ(ExtractFileExt("/x.y/z.ppg"), ".ppg");
  EXPECT_EQ(ExtractFileExt("/x.y/z"), "");
  EXPECT_EQ(ChangeFileExt("/a/b.txt", ".dat"), "/a/b.dat");
  EXPECT_EQ(ExcludeTrailingSeparator("/a/b//"), "/a/b");
  EXPECT_EQ(ExcludeTrailingSeparator("/"), "/");
}

TEST(PathTest, ResolvesEveryComponentIgnoringCase) {
  TTempDir t;
  fs::create_directories(t / "Cardsets/Standard");
  WriteTextFile(t / "Cardsets/Standard/Back1.bmp", "x");
  EXPECT_EQ(ResolvePath(t / "CARDSETS/standard/back1.BMP"), t / "Cardsets/Standard/Back1.bmp");
  EXPECT_TRUE(FileExists(t / "cardSets/STANDARD/Back1.bmp"));
  EXPECT_TRUE(DirectoryExists(t / "CardSets"));
  EXPECT_FALSE(FileExists(t / "CardSets"));  // a folder is not a file
  EXPECT_FALSE(DirectoryExists(t / "Cardsets/Standard/Back1.bmp"));
  // A missing component keeps the spelling given, and so does everything after it.
  EXPECT_EQ(ResolvePath(t / "CARDSETS/New/Back1.bmp"), t / "Cardsets/New/Back1.bmp");
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(DirectoryExists(""));
}

TEST(PathTest, ExactSpellingWinsOverOtherCaseVariants) {
  TTempDir t;
  fs::create_directories(t / "data");
  fs::create_directories(t / "Data");
  WriteTextFile(t / "Data/x", "1");
  EXPECT_EQ(ResolvePath(t / "Data/x"), t / "Data/x");
  EXPECT_EQ(ResolvePath(t / "data"), t / "data");
}

TEST(FilesTest, NewFilesReuseAnExistingCaseVariant) {
  TTempDir t;
  fs::create_directories(t / "Save Games");
  TStringList l{"line"};
  l.SaveToFile(t / "save games/Status.Dat");
  EXPECT_TRUE(fs::exists(t / "Save Games/Status.Dat"));
  TStringList back;
  back.LoadFromFile(t / "SAVE GAMES/status.dat");
  EXPECT_EQ(back.Lines, l.Lines);
  EXPECT_EQ(ReadFileText(t / "Save Games/Status.Dat"), "line\r\n");
}

TEST(FilesTest, AtomicWriteLeavesOldFileOnFailureAndNoLeftovers) {
  TTempDir t;
  WriteTextFile(t / "a.txt", "old");
  EXPECT_THROW(WriteFileAtomic(t / "missing/a.txt", "new"), EFileError);
  WriteFileAtomic(t / "a.txt", "new");
  EXPECT_EQ(ReadFileText(t / "a.txt"), "new");
  int count = 0;
  for (auto& e : fs::directory_iterator(t.Path())) {
    (void)e;
    ++count;
  }
  EXPECT_EQ(count, 1);  // no temporary file left behind
}

TEST(FilesTest, ReadErrorsNameTheFile) {
  TTempDir t;
  try {
    ReadFileText(t / "nope.dat");
    FAIL();
  } catch (const EFileError& e) {
    EXPECT_NE(e.Message().find("nope.dat"), std::string::npos);
  }
  EXPECT_THROW(ReadFileText(t.Path()), EFileError);  // a folder is not readable as a file
  TStringList l;
  EXPECT_FALSE(l.TryLoadFromFile(t / "nope.dat"));
}

TEST(FilesTest, FoldersAreCreatedListedAndCopied) {
  TTempDir t;
  EXPECT_TRUE(ForceDirectories(t / "a/b/c"));
  EXPECT_TRUE(DirectoryExists(t / "A/B/C"));
  EXPECT_TRUE(ForceDirectories(t / "A/b/c/d"));  // reuses the existing case variants
  EXPECT_TRUE(fs::exists(t / "a/b/c/d"));
  fs::create_directories(t / "a/.hidden");
  WriteTextFile(t / "a/f.txt", "1");
  auto subs = ListSubfolders(t / "a");
  EXPECT_EQ(subs, std::vector<std::string>{"b"});
  EXPECT_EQ(ListFiles(t / "a"), std::vector<std::string>{"f.txt"});
  EXPECT_TRUE(CopyFile(t / "a/f.txt", t / "a/g.txt"));
  EXPECT_EQ(ReadFileText(t / "a/g.txt"), "1");
  EXPECT_FALSE(CopyFile(t / "a/none.txt", t / "a/h.txt"));
  EXPECT_TRUE(RenameFile(t / "a/g.txt", t / "a/h.txt"));
  EXPECT_TRUE(DeleteFile(t / "a/H.TXT"));
  EXPECT_FALSE(FileExists(t / "a/h.txt"));
}

TEST(FilesTest, ProgramDirIsTheExecutablesFolderAndCanBeOverridden) {
  EXPECT_TRUE(DirectoryExists(ProgramDir()));
  SetProgramDirForTesting("/tmp/x/");
  EXPECT_EQ(ProgramDir(), "/tmp/x");
  SetProgramDirForTesting("");
  EXPECT_NE(ProgramDir(), "/tmp/x");
}
