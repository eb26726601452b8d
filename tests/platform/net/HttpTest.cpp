// One GET into a file against a server of the test's own on 127.0.0.1: what arrives whole becomes
// the file, and every failure leaves neither a partial file nor a changed old one. (The update
// check's tests add no server, a 404 and stalls during a download.)
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/core/Files.h"
#include "platform/net/Http.h"
#include "tests/platform/net/TestHttpServer.h"
#include "tests/support/TestUtil.h"

namespace {

using R = TTestHttpServer::TRoute;

class HttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HttpGlobalInit();
    Body.assign(5000, 'x');
    for (size_t i = 0; i < Body.size(); ++i) Body[i] = char('a' + i % 26);
  }
  THttpRequest Request(const std::string& path) {
    THttpRequest r;
    r.Url = Server.Base() + path;
    r.StallMs = 400;
    r.ConnectTimeoutMs = 2000;
    return r;
  }
  std::string Target() const { return Dir / "file.bin"; }
  bool PartLeft() const { return std::filesystem::exists(Target() + ".part"); }

  TTempDir Dir;
  TTestHttpServer Server;
  std::string Body;
};

TEST_F(HttpTest, OutcomesAndWhatTheyLeaveOnDisk) {
  Server.Set("/ok", R{200, Body});
  Server.Set("/moved", R{302, "", TTestHttpServer::Normal, "/ok"});
  Server.Set("/cut", R{200, Body, TTestHttpServer::Truncated});
  Server.Set("/stall", R{200, Body, TTestHttpServer::Stall});
  Server.Set("/empty", R{200, ""});
  struct TCase {
    const char* Path;
    int64_t Expected, Max;
    THttpStatus Status;
  };
  const TCase cases[] = {
      {"/ok", -1, -1, THttpStatus::Ok},         {"/moved", -1, -1, THttpStatus::Ok},
      {"/empty", -1, -1, THttpStatus::Ok},      {"/missing", -1, -1, THttpStatus::BadStatus},
      {"/cut", -1, -1, THttpStatus::WrongSize}, {"/ok", 4999, -1, THttpStatus::WrongSize},
      {"/ok", -1, 4000, THttpStatus::TooLarge}, {"/stall", -1, -1, THttpStatus::TimedOut},
  };
  for (const TCase& c : cases) {
    // An older file of the same name stays as it is unless the new one arrived whole.
    WriteTextFile(Target(), "old");
    THttpRequest r = Request(c.Path);
    r.ExpectedSize = c.Expected;
    r.MaxBytes = c.Max;
    const THttpResult got = HttpGetToFile(r, Target());
    EXPECT_EQ(got.Status, c.Status) << c.Path << " " << c.Expected << " " << got.Error;
    EXPECT_FALSE(PartLeft()) << c.Path;
    const std::string want = c.Status != THttpStatus::Ok       ? "old"
                             : std::string(c.Path) == "/empty" ? ""
                                                               : Body;
    EXPECT_EQ(ReadFileText(Target()), want) << c.Path;
  }
  EXPECT_EQ(Server.LastAgent(), "Patience/2.51");
}

// Waits (at most five seconds) until the transfer has reached bytes.
void WaitFor(const std::atomic<int64_t>& seen, int64_t bytes) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (seen < bytes && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

TEST_F(HttpTest, CancelAndPauseWhileTheBodyArrives) {
  Server.Set("/slow", R{200, Body, TTestHttpServer::Slow, "", 500, 30});
  std::atomic<bool> cancel{false}, pause{false};
  THttpRequest r = Request("/slow");
  r.Cancel = &cancel;
  r.Pause = &pause;
  std::atomic<int64_t> seen{0};
  r.Progress = [&](int64_t n) { seen = n; };
  // A pause longer than the stall time is no stall.
  std::thread pauser([&] {
    WaitFor(seen, 1000);
    pause = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    pause = false;
  });
  EXPECT_EQ(HttpGetToFile(r, Target()).Status, THttpStatus::Ok);
  pauser.join();
  EXPECT_EQ(ReadFileText(Target()), Body);

  // Nor does a pause count against the overall time: paused past it, the transfer goes on to
  // the end once it is let go (and against the rate floor neither).
  std::filesystem::remove(Target());
  seen = 0;
  r.TotalMs = 1500;
  r.MinBytesPerSecond = 2000;  // more than the first pieces in a window
  r.RateWindowMs = 1000;
  // Paused at the first piece, by the transfer's own thread, until the overall time is past.
  std::atomic<bool> pausedOnce{false};
  r.Progress = [&](int64_t n) {
    seen = n;
    if (!pausedOnce.exchange(true)) pause = true;
  };
  const auto began = std::chrono::steady_clock::now();
  std::thread longPause([&] {
    while (!pause) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::this_thread::sleep_until(began + std::chrono::milliseconds(r.TotalMs + 300));
    pause = false;
  });
  const THttpResult paused = HttpGetToFile(r, Target());
  pause = true;  // (had it never paused, the waiting thread goes now)
  longPause.join();
  pause = false;
  r.Progress = [&](int64_t n) { seen = n; };
  EXPECT_TRUE(pausedOnce);
  EXPECT_EQ(paused.Status, THttpStatus::Ok) << paused.Error;
  EXPECT_EQ(ReadFileText(Target()), Body);
  r.TotalMs = -1;
  r.MinBytesPerSecond = 0;

  std::filesystem::remove(Target());
  seen = 0;
  std::thread canceller([&] {
    WaitFor(seen, 1000);
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(HttpGetToFile(r, Target()).Status, THttpStatus::Cancelled);
  canceller.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_FALSE(std::filesystem::exists(Target()));
  EXPECT_FALSE(PartLeft());
}

// A server that sends on for ever is cut off at the size the transfer was to have, and one that
// trickles without ever stalling at the time the transfer was given.
TEST_F(HttpTest, EndlessAndTricklingServersAreCutOff) {
  Server.Set("/endless", R{200, Body, TTestHttpServer::Endless});
  Server.Set("/trickle", R{200, Body, TTestHttpServer::Slow, "", 10, 50});  // 200 bytes a second
  std::atomic<bool> cancel{false};
  std::atomic<int64_t> most{0};
  THttpRequest r = Request("/endless");
  r.ExpectedSize = 12000;
  r.Cancel = &cancel;
  r.Progress = [&](int64_t n) {
    most = std::max<int64_t>(most, n);
    // Were the size not kept, the test stops the transfer itself.
    if (n > 100 * 12000) cancel = true;
  };
  EXPECT_EQ(HttpGetToFile(r, Target()).Status, THttpStatus::WrongSize);
  EXPECT_LE(most, 12000);
  EXPECT_FALSE(PartLeft());
  EXPECT_FALSE(std::filesystem::exists(Target()));

  THttpRequest slow = Request("/trickle");
  slow.TotalMs = 800;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(HttpGetToFile(slow, Target()).Status, THttpStatus::TimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_FALSE(PartLeft());

  // A byte every 20 ms never stalls and has no time limit, but stays under the rate floor (about
  // four seconds for the body otherwise).
  Server.Set("/drip", R{200, Body.substr(0, 200), TTestHttpServer::Slow, "", 1, 20});
  THttpRequest drip = Request("/drip");
  drip.MinBytesPerSecond = 1000;
  drip.RateWindowMs = 300;
  EXPECT_EQ(HttpGetToFile(drip, Target()).Status, THttpStatus::TimedOut);
  EXPECT_FALSE(PartLeft());
  EXPECT_FALSE(std::filesystem::exists(Target()));
}

// A size above the limit is not asked for at all; a server that says beforehand it sends more is
// refused before any byte of the body is written.
TEST_F(HttpTest, MoreThanTheLimitIsNeitherAskedForNorWritten) {
  Server.Set("/ok", R{200, Body});
  THttpRequest r = Request("/ok");
  r.MaxBytes = int64_t(1) << 30;
  r.ExpectedSize = 999999999999999;
  std::atomic<int64_t> seen{0};
  r.Progress = [&](int64_t n) { seen = n; };
  EXPECT_EQ(HttpGetToFile(r, Target()).Status, THttpStatus::TooLarge);
  EXPECT_TRUE(Server.Requests().empty());
  r.ExpectedSize = -1;
  r.MaxBytes = 4000;
  EXPECT_EQ(HttpGetToFile(r, Target()).Status, THttpStatus::TooLarge);
  EXPECT_EQ(Server.Requests().size(), 1u);
  EXPECT_EQ(seen, 0);
  EXPECT_FALSE(PartLeft());
  EXPECT_FALSE(std::filesystem::exists(Target()));
}

// Without leave to replace, a file that turned up under the target's name stays.
TEST_F(HttpTest, AFileThatIsThereIsReplacedOnlyWithLeave) {
  Server.Set("/ok", R{200, Body});
  THttpRequest r = Request("/ok");
  r.Replace = false;
  WriteTextFile(Target(), "mine");
  EXPECT_EQ(HttpGetToFile(r, Target()).Status, THttpStatus::FileError);
  EXPECT_EQ(ReadFileText(Target()), "mine");
  EXPECT_FALSE(PartLeft());
  std::filesystem::remove(Target());
  EXPECT_EQ(HttpGetToFile(r, Target()).Status, THttpStatus::Ok);
  EXPECT_EQ(ReadFileText(Target()), Body);
}

// A file under the part file's name is not the transfer's: it stays as it is, whatever the
// transfer comes to, and the transfer writes a part file of its own, told to the caller.
TEST_F(HttpTest, APartFileThatIsThereStays) {
  Server.Set("/ok", R{200, Body});
  for (const char* path : {"/ok", "/missing"}) {
    std::filesystem::remove(Target());
    WriteTextFile(Target() + ".part", "the player's");
    THttpRequest r = Request(path);
    std::vector<std::string> made;
    r.PartCreated = [&](const std::string& part, int fd) {
      made.push_back(part);
      EXPECT_GE(fd, 0);
    };
    const bool ok = std::string(path) == "/ok";
    EXPECT_EQ(HttpGetToFile(r, Target()).Status, ok ? THttpStatus::Ok : THttpStatus::BadStatus) << path;
    EXPECT_EQ(ReadFileText(Target() + ".part"), "the player's") << path;
    EXPECT_EQ(made, ok ? std::vector<std::string>{Target() + "-2.part"} : std::vector<std::string>{}) << path;
    EXPECT_FALSE(std::filesystem::exists(Target() + "-2.part")) << path;
    EXPECT_EQ(std::filesystem::exists(Target()), ok) << path;
  }
}

TEST(UrlEscape, KeepsOnlyTheUnreservedCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"Setup2052.exe", "Setup2052.exe"}, {"a b", "a%20b"}, {"../x", "..%2Fx"}, {"a?b#c", "a%3Fb%23c"}};
  for (auto [in, out] : cases) EXPECT_EQ(UrlEscape(in), out) << in;
}

}  // namespace
