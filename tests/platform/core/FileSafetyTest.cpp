// What reading and writing files costs when the files are hostile or the writer dies: a reader
// refuses anything but a regular file of sensible size at once and cheaply; a write replaces its
// file in one step and tidies up after a writer that was killed halfway.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

namespace fs = std::filesystem;

namespace {

constexpr long long kCheap = 16ll << 20;  // peak resident growth a refusal may cost, with margin

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

// A file of the given size that takes no room on the disk.
void SparseFile(const std::string& path, uint64_t size) {
  WriteTextFile(path, "");
  fs::resize_file(path, size);
}

struct TRefusal {
  const char* What;
  TFileKind Kind;
  std::function<std::string(const TTempDir&)> Make;  // returns the path to read
  const char* Why;
};

}  // namespace

TEST(FileSafetyTest, ReadersRefuseAtOnceWhatIsNoPlainFileOrTooLarge) {
  const TRefusal cases[] = {
      {"a FIFO with no writer", TFileKind::CardPicture,
       [](const TTempDir& t) {
         ::mkfifo((t / "01c.bmp").c_str(), 0600);
         return t / "01c.bmp";
       },
       "not a regular file"},
      {"a link to /dev/zero", TFileKind::CardPicture,
       [](const TTempDir& t) {
         fs::create_symlink("/dev/zero", t / "01d.bmp");
         return t / "01d.bmp";
       },
       "not a regular file"},
      {"a folder", TFileKind::Text, [](const TTempDir& t) { return t.Path(); }, "not a regular file"},
      {"a settings file a byte over its cap", TFileKind::Settings,
       [](const TTempDir& t) {
         SparseFile(t / "Status.Dat", MaxFileSize(TFileKind::Settings) + 1);
         return t / "Status.Dat";
       },
       "larger than 4 MiB"},
      {"a card picture a byte over its cap", TFileKind::CardPicture,
       [](const TTempDir& t) {
         SparseFile(t / "Back1.bmp", MaxFileSize(TFileKind::CardPicture) + 1);
         return t / "Back1.bmp";
       },
       "larger than 16 MiB"},
      {"a picture a byte over its cap", TFileKind::Picture,
       [](const TTempDir& t) {
         SparseFile(t / "big.bmp", MaxFileSize(TFileKind::Picture) + 1);
         return t / "big.bmp";
       },
       "larger than 160 MiB"},
      {"a pseudo file that says it is empty", TFileKind::Picture,
       [](const TTempDir&) { return std::string("/proc/self/pagemap"); }, "grows while it is read"},
  };
  for (const TRefusal& c : cases) {
    SCOPED_TRACE(c.What);
    TTempDir t;
    const std::string path = c.Make(t);
    std::string message;
    const long long growth = PeakResidentGrowth([&] {
      auto read = std::async(std::launch::async, [&] {
        try {
          ReadFileBytes(path, c.Kind);
        } catch (const EFileError& e) {
          message = e.Message();
        }
      });
      if (read.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the read is blocked";
        ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));  // lets a blocked FIFO open go on
      }
      read.wait();
    });
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find(c.Why), std::string::npos) << message;
    EXPECT_LT(growth, kCheap);
  }
}

TEST(FileSafetyTest, AFileAtItsCapIsReadWhole) {
  TTempDir t;
  SparseFile(t / "Options.dat", MaxFileSize(TFileKind::Settings));
  EXPECT_EQ(ReadFileBytes(t / "options.DAT", TFileKind::Settings).size(), MaxFileSize(TFileKind::Settings));
  fs::resize_file(t / "Options.dat", MaxFileSize(TFileKind::Settings) + 1);
  EXPECT_THROW(ReadFileBytes(t / "Options.dat", TFileKind::Settings), EFileError);
}

TEST(FileSafetyTest, AWriteKeepsPermissionsAndGoesThroughLinks) {
  TTempDir t;
  fs::create_directories(t / "real");
  WriteTextFile(t / "real/Status.Dat", "old");
  ::chmod((t / "real/Status.Dat").c_str(), 0640);
  fs::create_symlink("real/Status.Dat", t / "Status.Dat");  // relative to the link's folder
  WriteFileAtomic(t / "Status.Dat", "new");
  EXPECT_TRUE(fs::is_symlink(t / "Status.Dat"));
  EXPECT_EQ(ReadFileText(t / "real/Status.Dat"), "new");
  struct stat st;
  ASSERT_EQ(::stat((t / "real/Status.Dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(t / "real"), std::vector<std::string>{"Status.Dat"});

  // A link whose destination is missing creates it.
  fs::create_symlink(t / "real/Options.dat", t / "Options.dat");
  WriteFileAtomic(t / "Options.dat", "made");
  EXPECT_TRUE(fs::is_symlink(t / "Options.dat"));
  EXPECT_EQ(ReadFileText(t / "real/Options.dat"), "made");
}

namespace {

std::string g_squatted;
void Squat(const char* step, const std::string& temporary) {
  if (std::string(step) == "open" && g_squatted.empty()) {
    g_squatted = temporary;
    WriteTextFile(temporary, "someone else's");
  }
}

const char* g_killAt = "";
void KillAt(const char* step, const std::string&) {
  if (std::string(step) == g_killAt) ::raise(SIGKILL);
}

}  // namespace

TEST(FileSafetyTest, ATemporaryNameInUseIsNeverTaken) {
  TTempDir t;
  g_squatted.clear();
  SetAtomicWriteProbeForTesting(Squat);
  WriteFileAtomic(t / "a.dat", "mine");
  SetAtomicWriteProbeForTesting(nullptr);
  ASSERT_FALSE(g_squatted.empty());
  EXPECT_EQ(ReadFileText(t / "a.dat"), "mine");
  EXPECT_EQ(ReadFileText(g_squatted), "someone else's");
}

TEST(FileSafetyTest, AWriterKilledHalfwayLeavesTheOldFileAndTheNextWriteTidiesUp) {
  for (const char* step : {"open", "write", "sync", "rename"}) {
    SCOPED_TRACE(step);
    TTempDir t;
    WriteTextFile(t / "Status.Dat", "old");
    WriteTextFile(t / ".Status.Dat.tmp123456", "left by an earlier version");
    WriteTextFile(t / ".Status.Dat.tmp1-abcdef", "a write of process 1, alive");
    WriteTextFile(t / ".Other.dat.tmp123456", "another file's");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      g_killAt = step;
      SetAtomicWriteProbeForTesting(KillAt);
      try {
        WriteFileAtomic(t / "Status.Dat", std::string(100000, 'n'));
      } catch (...) {
      }
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(ReadFileText(t / "Status.Dat"), "old");
    const size_t left = Entries(t.Path()).size();
    EXPECT_EQ(left, std::string(step) == "open" ? 4u : 5u) << "the killed writer's temporary";

    WriteFileAtomic(t / "Status.Dat", "newer");
    EXPECT_EQ(ReadFileText(t / "Status.Dat"), "newer");
    EXPECT_EQ(Entries(t.Path()),
              (std::vector<std::string>{".Other.dat.tmp123456", ".Status.Dat.tmp1-abcdef", "Status.Dat"}));
  }
}

namespace {

struct TCall {
  std::string What, From, To;
};
std::vector<TCall> g_calls;

std::string PathOfDescriptor(int fd) {
  std::error_code ec;
  return fs::read_symlink("/proc/self/fd/" + std::to_string(fd), ec).string();
}
int RecordSync(int fd) {
  g_calls.push_back({"sync", PathOfDescriptor(fd), {}});
  return ::fsync(fd);
}
int RecordRename(const char* from, const char* to) {
  g_calls.push_back({"rename", from, to});
  return ::rename(from, to);
}

}  // namespace

// The data is on the disk before it takes the file's name, and the name is on the disk after.
TEST(FileSafetyTest, AWriteIsFlushedBeforeItIsRenamedAndItsFolderAfter) {
  TTempDir t;
  g_calls.clear();
  const TDurableCalls old = SetDurableCallsForTesting({RecordSync, RecordRename});
  WriteFileAtomic(t / "Status.Dat", "new");
  SetDurableCallsForTesting(old);
  ASSERT_EQ(g_calls.size(), 3u);
  EXPECT_EQ(g_calls[0].What, "sync");
  EXPECT_EQ(g_calls[1].What, "rename");
  EXPECT_EQ(fs::path(g_calls[0].From).filename(), fs::path(g_calls[1].From).filename());
  EXPECT_EQ(g_calls[1].To, t / "Status.Dat");
  EXPECT_EQ(g_calls[2].What, "sync");
  EXPECT_EQ(g_calls[2].From, fs::canonical(t.Path()).string());
  EXPECT_EQ(ReadFileText(t / "Status.Dat"), "new");
}

// At start-up: temporaries whose writers are gone go, down to the depth asked for; those of a live
// writer stay; a part file goes unless a download holds it.
TEST(FileSafetyTest, StaleTemporariesAndPartFilesAreSweptLiveOnesStay) {
  TTempDir t;
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string dead = std::to_string(gone), live = std::to_string(::getppid());
  fs::create_directories(t / "Data/deep/deeper");
  for (const std::string& name : std::vector<std::string>{
           ".Options.dat.tmp" + dead + "-abc123", "Data/.K.dat.tmp" + dead + "-abc123",
           "Data/deep/deeper/.x.tmp" + dead + "-abc123", ".fav.dat.tmp" + live + "-abc123",
           ".Options.dat.tmp" + dead, "keep.tmp" + dead + "-abc123", std::string("notes.txt")})
    WriteTextFile(t / name, "x");
  // A link to a folder outside is not followed, however deep the sweep goes.
  TTempDir outside;
  WriteTextFile(outside / (".Scoring.dat.tmp" + dead + "-abc123"), "not ours");
  fs::create_symlink(outside.Path(), t / "Data/elsewhere");
  EXPECT_EQ(RemoveStaleTemporaries(t.Path(), 1), 2);
  EXPECT_EQ(Entries(t.Path()),
            (std::vector<std::string>{".Options.dat.tmp" + dead, ".fav.dat.tmp" + live + "-abc123", "Data",
                                      "keep.tmp" + dead + "-abc123", "notes.txt"}));
  EXPECT_EQ(Entries(t / "Data/deep/deeper").size(), 1u);
  EXPECT_EQ(RemoveStaleTemporaries(t.Path(), 3), 1);
  EXPECT_EQ(Entries(outside.Path()), std::vector<std::string>{".Scoring.dat.tmp" + dead + "-abc123"});

  WriteTextFile(t / "update.zip.part", "half");
  const int held = ::open((t / "update.zip.part").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  EXPECT_FALSE(RemoveStalePartFile(t / "update.zip.part"));
  ::close(held);
  EXPECT_TRUE(RemoveStalePartFile(t / "update.zip.part"));
  EXPECT_FALSE(fs::exists(t / "update.zip.part"));
  EXPECT_TRUE(RemoveStalePartFile(t / "none.part"));
}

TEST(FileSafetyTest, DamagedFilesSetAsideAreNumberedAndNeverReplaced) {
  TTempDir t;
  const char* contents[] = {"first", "second", "third"};
  const char* expected[] = {"Status.Dat.bad", "Status.Dat.bad2", "Status.Dat.bad3"};
  for (int i = 0; i < 3; ++i) {
    WriteTextFile(t / "Status.Dat", contents[i]);
    EXPECT_EQ(SetFileAside(t / "status.dat"), t / expected[i]);
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadFileText(t / expected[i]), contents[i]);
  EXPECT_FALSE(FileExists(t / "Status.Dat"));
  EXPECT_EQ(SetFileAside(t / "Status.Dat"), "") << "nothing to set aside";
}
