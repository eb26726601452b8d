// The update check against an update site of the test's own on 127.0.0.1: the information file
// judged (current, newer, older, missing, damaged), the download with its progress and results
// (complete, missing, cut short, of the wrong size, stalled, cancelled, in the background), no
// partial file after any failure, no file outside the desktop whatever name the site gives, and
// closing the window during a download. With PATIENCE_SCREENSHOT_DIR set the dialog's states are
// saved as pictures there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <thread>

#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "patience/files/UpdatePart.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/UpdateCheck.h"
#include "platform/core/Files.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/platform/net/TestHttpServer.h"
#include "tests/support/TestUtil.h"

namespace {

namespace fs = std::filesystem;
using R = TTestHttpServer::TRoute;

// What the dialog shows.
struct TShown {
  std::string Status, Labels[6], Action;
  bool CancelShown = false;
};

TShown Shown(const TInternetForm& f) {
  TShown s;
  s.Status = f.Status->text().toStdString();
  const QLabel* labels[] = {f.Label1, f.Label2, f.Label3, f.Label4, f.Label5, f.Label6};
  for (int i = 0; i < 6; ++i) s.Labels[i] = labels[i]->text().toStdString();
  s.Action = f.Action->text().toStdString();
  s.CancelShown = !f.Cancel->isHidden();
  return s;
}

// The information file: 14 lines unless asked otherwise.
std::string Info(const std::string& newest, const std::string& oldest, const std::string& name,
                 const std::string& size, int lines = 14, const std::string& head = "PATIENCE UPDATE INFO") {
  std::vector<std::string> l = {head,         newest,         "You are up to date.",
                                name,         size,           "New look",
                                "More games", "Faster deals", "Enjoy",
                                "your",       "games",        oldest,
                                "",           "unused"};
  l.resize(size_t(lines), "extra");
  std::string text;
  for (const std::string& s : l) text += s + "\r\n";
  return text;
}

class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().ResetForTesting();
    UpdateSettings().BaseUrl = Server.Base();
    UpdateSettings().PublisherSite = "http://publisher.invalid";
    UpdateSettings().StallMs = 500;
    UpdateSettings().InfoTotalMs = 10000;
    UpdateSettings().ConnectTimeoutMs = 2000;
    UpdateSettings().MinBytesPerSecond = 0;  // the slow servers of the tests are slow on purpose
    FSavedDesktop = DesktopDir;
    FSavedLocal = LocalAppDataDir;
    DesktopDir = Home / "Desktop";
    LocalAppDataDir = Home / "local";
    Update.assign(30000, '\0');
    for (size_t i = 0; i < Update.size(); ++i) Update[i] = char(i * 7 % 251);
  }
  void TearDown() override {
    StopUpdateThread();
    UpdateSettings().MaxDownloadBytes = int64_t(1) << 30;
    UpdateSettings().MinBytesPerSecond = 0;
    SetInternetFormRunnerForTesting(nullptr);
    QCoreApplication::processEvents();
    DesktopDir = FSavedDesktop;
    LocalAppDataDir = FSavedLocal;
  }
  std::string Data() const { return Home / "data"; }
  std::string OnDesktop(const std::string& name) const { return PathJoin(DesktopDir, name); }
  // Nothing on the desktop but the files named, and no partial file anywhere under the home.
  std::vector<std::string> DesktopFiles() const {
    std::vector<std::string> names;
    if (fs::exists(DesktopDir))
      for (const auto& e : fs::directory_iterator(DesktopDir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  bool PartFileAnywhere() const {
    for (const auto& e : fs::recursive_directory_iterator(Home.Path()))
      if (e.path().extension() == ".part") return true;
    return false;
  }
  static void WaitWhileRunning(int seconds = 10) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (ThreadRunning() && std::chrono::steady_clock::now() < end) {
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    QCoreApplication::processEvents();
  }
  void Shot(TInternetForm& f, const std::string& name) {
    const QString dir = qEnvironmentVariable("PATIENCE_SCREENSHOT_DIR");
    if (!dir.isEmpty()) f.grab().save(dir + "/update-" + QString::fromStdString(name) + ".png");
  }
  // Runs the check; the script sees the dialog as it opens (none for a message).
  std::optional<TShown> Check(std::function<void(TInternetForm&)> script = {}) {
    std::optional<TShown> first;
    SetInternetFormRunnerForTesting([&](TInternetForm& f) {
      first = Shown(f);
      if (script) script(f);
      return 1;
    });
    RunUpdateCheck(nullptr, Data(), ProgramId);
    return first;
  }
  void ServeInfo(const std::string& info) { Server.Set("/PatienceInfo.dat", R{200, info}); }

  TTempDir Home;
  TTestHttpServer Server;
  std::string Update;
  std::vector<std::string> Told;
  int Answer = mrYes;
  TScopedMessageHook Hook{[this](const TMessageRequest& r) {
    Told.push_back(r.Text);
    return Answer;
  }};

 private:
  std::string FSavedDesktop, FSavedLocal;
};

TEST_F(UpdateCheckTest, TheInformationFileIsJudged) {
  const std::string corrupt = "Error: Info file appears to be corrupt.";
  const std::string notFound = "Error: Cannot find file on server.";
  struct TCase {
    const char* Name;
    std::string Info;  // empty: no file on the site
    std::string Status, Message;
  };
  const TCase cases[] = {
      {"current", Info("2051", "2000", "Setup.exe", "30000"), "You have the latest version.", ""},
      {"older", Info("2040", "2000", "Setup.exe", "30000"), "You have the latest version.", ""},
      {"newer", Info("2052", "2000", "Setup.exe", "30000"), "New version available.", ""},
      {"lower-case head", Info("2052", "2000", "Setup.exe", "", 14, "patience update info"),
       "New version available.", ""},
      {"missing", "", "", notFound},
      {"wrong head", Info("2052", "2000", "Setup.exe", "1", 14, "SOMETHING ELSE"), "", notFound},
      {"13 lines", Info("2052", "2000", "Setup.exe", "1", 13), "", corrupt},
      {"15 lines", Info("2052", "2000", "Setup.exe", "1", 15), "", corrupt},
      {"id not a number", Info("20x2", "2000", "Setup.exe", "1"), "", corrupt},
      {"size not a number", Info("2052", "2000", "Setup.exe", "big"), "", corrupt},
      {"too old to update", Info("2100", "2060", "Setup.exe", "1"), "",
       "Error: Download new FULL version at http://publisher.invalid"},
      {"name climbs out", Info("2052", "2000", "../Setup.exe", "1"), "", corrupt},
      {"name with a folder", Info("2052", "2000", "sub/Setup.exe", "1"), "", corrupt},
      {"name with a backslash", Info("2052", "2000", "..\\Setup.exe", "1"), "", corrupt},
      {"no name", Info("2052", "2000", "", "1"), "", corrupt},
      {"a hidden name", Info("2052", "2000", ".profile", "1"), "", corrupt},
      {"a name of blanks", Info("2052", "2000", "   ", "1"), "", corrupt},
      {"larger than an information file", std::string(100001, 'x'), "", notFound},
  };
  for (const TCase& c : cases) {
    if (c.Info.empty())
      Server.Set("/PatienceInfo.dat", R{404, "<html>gone</html>"});
    else
      ServeInfo(c.Info);
    Told.clear();
    const auto shown = Check();
    if (c.Status.empty()) {
      EXPECT_FALSE(shown) << c.Name;
      EXPECT_EQ(Told, std::vector<std::string>{c.Message}) << c.Name;
    } else {
      ASSERT_TRUE(shown) << c.Name << " " << (Told.empty() ? "" : Told[0]);
      EXPECT_EQ(shown->Status, c.Status) << c.Name;
      EXPECT_TRUE(Told.empty()) << c.Name;
      EXPECT_FALSE(shown->CancelShown) << c.Name;
    }
    EXPECT_FALSE(PartFileAnywhere()) << c.Name;
    EXPECT_TRUE(DesktopFiles().empty()) << c.Name;
  }
  EXPECT_FALSE(fs::exists(Home / "Setup.exe"));
  EXPECT_EQ(Server.LastAgent(), "Patience/2.51");
}

TEST_F(UpdateCheckTest, TheDialogsLabelsForCurrentAndNewer) {
  ServeInfo(Info("2051", "2000", "Setup.exe", "30000"));
  auto shown = Check([&](TInternetForm& f) { Shot(f, "latest"); });
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->Labels[0], "You are up to date.");
  EXPECT_EQ(shown->Labels[1], "Enjoy");
  EXPECT_EQ(shown->Labels[3], "games");
  EXPECT_EQ(shown->Action, "OK");
  EXPECT_EQ(ReadFileText(PathJoin(Data(), "internetinfo.dat")), Info("2051", "2000", "Setup.exe", "30000"));

  ServeInfo(Info("2052", "2000", "Setup.exe", "30000"));
  shown = Check([&](TInternetForm& f) { Shot(f, "new-version"); });
  ASSERT_TRUE(shown);
  const std::string want[] = {"Version ID: 2052", "Name: Setup.exe", "Size: 30000 bytes",
                              "New look",         "More games",      "Faster deals"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(shown->Labels[i], want[i]);
  EXPECT_EQ(shown->Action, "Download");
}

TEST_F(UpdateCheckTest, NoServerAndAStalledServerAreTold) {
  UpdateSettings().BaseUrl.clear();  // no site set up
  EXPECT_FALSE(Check());
  EXPECT_EQ(Told, std::vector<std::string>{"Error: Cannot connect to server."});
  Told.clear();
  {
    TTestHttpServer gone;
    UpdateSettings().BaseUrl = gone.Base();
  }
  EXPECT_FALSE(Check());
  EXPECT_EQ(Told, std::vector<std::string>{"Error: Cannot connect to server."});
  UpdateSettings().BaseUrl = Server.Base();
  Server.Set("/PatienceInfo.dat", R{200, Info("2052", "2000", "Setup.exe", ""), TTestHttpServer::Stall});
  Told.clear();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Check());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(Told.size(), 1u);
  EXPECT_FALSE(PartFileAnywhere());
}

TEST_F(UpdateCheckTest, DownloadResults) {
  const std::string complete = "Download complete", error = "Error",
                    notFound = "Error: Cannot find file on server.";
  // The cap is a byte more than the update; a transfer slower than 20000 bytes a second over 0.2 s
  // gives up.
  const int64_t cap = int64_t(Update.size()) + 1;
  UpdateSettings().MaxDownloadBytes = cap;
  UpdateSettings().MinBytesPerSecond = 20000;
  UpdateSettings().RateWindowMs = 200;
  struct TCase {
    const char* Name;
    std::string Size;
    R Route;
    std::string Status, Label6;
    bool Saved;
    bool Asked = true;  // the update was asked for
  };
  const TCase cases[] = {
      {"complete", "30000", R{200, Update}, complete, "", true},
      {"complete without a size", "", R{200, Update}, complete, "", true},
      {"missing", "30000", R{404, "gone"}, error, notFound, false},
      {"cut short", "", R{200, Update, TTestHttpServer::Truncated}, error, notFound, false},
      {"wrong size", "30001", R{200, Update}, error, notFound, false},
      {"stalled", "30000", R{200, Update, TTestHttpServer::Stall}, error, notFound, false},
      {"sent on without end", "30000", R{200, Update, TTestHttpServer::Endless}, error, notFound, false},
      {"without a size, past the cap", "", R{200, Update + "xx"}, error, notFound, false},
      {"without a size, sent on past the cap", "", R{200, Update, TTestHttpServer::Endless}, error, notFound,
       false},
      {"a size above the cap", "999999999999999", R{200, Update}, error, notFound, false, false},
      {"trickling in", "30000", R{200, Update, TTestHttpServer::Slow, "", 100, 20}, error, notFound, false},
  };
  for (const TCase& c : cases) {
    fs::remove_all(DesktopDir);
    ServeInfo(Info("2052", "2000", "Setup 2052.exe", c.Size));
    Server.Set("/Setup%202052.exe", c.Route);
    const size_t requests = Server.Requests().size();
    std::optional<TShown> during, after;
    Check([&](TInternetForm& f) {
      f.Action->click();  // Download
      during = Shown(f);
      if (std::string(c.Name) == "complete") Shot(f, "downloading");
      WaitWhileRunning();
      after = Shown(f);
      Shot(f, std::string("result-") + c.Name);
    });
    ASSERT_TRUE(during && after) << c.Name;
    EXPECT_EQ(during->Status, "Downloading to desktop") << c.Name;
    EXPECT_EQ(during->Action, "Close") << c.Name;
    EXPECT_TRUE(during->CancelShown) << c.Name;
    EXPECT_EQ(after->Status, c.Status) << c.Name;
    EXPECT_EQ(after->Labels[5], c.Label6) << c.Name;
    EXPECT_FALSE(after->CancelShown) << c.Name;
    EXPECT_TRUE(Told.empty()) << c.Name;
    EXPECT_EQ(DesktopFiles(),
              c.Saved ? std::vector<std::string>{"Setup 2052.exe"} : std::vector<std::string>{})
        << c.Name;
    if (c.Saved) {
      EXPECT_EQ(ReadFileText(OnDesktop("Setup 2052.exe")), Update);
    }
    EXPECT_FALSE(PartFileAnywhere()) << c.Name;
    EXPECT_LE(BytesDone(), cap) << c.Name;
    EXPECT_EQ(Server.Requests().size() - requests, c.Asked ? 2u : 1u) << c.Name;  // the check, the update
  }
}

TEST_F(UpdateCheckTest, AnInformationFileThatTricklesInIsGivenUp) {
  UpdateSettings().InfoTotalMs = 1000;
  // About four seconds for the whole file, yet never half a second without a byte.
  Server.Set("/PatienceInfo.dat",
             R{200, Info("2052", "2000", "Setup.exe", ""), TTestHttpServer::Slow, "", 10, 150});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Check());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(Told, std::vector<std::string>{"Error: Cannot find file on server."});
  EXPECT_FALSE(PartFileAnywhere());
}

TEST_F(UpdateCheckTest, AFileOnTheDesktopIsReplacedOnlyWhenThePlayerSaysSo) {
  ServeInfo(Info("2052", "2000", "Setup.exe", "30000"));
  Server.Set("/Setup.exe", R{200, Update});
  ForceDirectories(DesktopDir);
  WriteTextFile(OnDesktop("Setup.exe"), "mine");
  for (int answer : {mrNo, mrYes}) {
    Answer = answer;
    Told.clear();
    std::optional<TShown> after;
    Check([&](TInternetForm& f) {
      f.Action->click();
      WaitWhileRunning();
      after = Shown(f);
    });
    ASSERT_TRUE(after);
    EXPECT_EQ(Told, std::vector<std::string>{"\"Setup.exe\" is already on the desktop. Replace it?"});
    // No: the dialog still offers the download and nothing was fetched.
    EXPECT_EQ(after->Status, answer == mrNo ? "New version available." : "Download complete");
    EXPECT_EQ(ReadFileText(OnDesktop("Setup.exe")), answer == mrNo ? "mine" : Update);
  }
  EXPECT_EQ(Server.Requests().size(), 3u);  // two checks, one download
}

// A folder under the update's name on the desktop: told before anything is fetched, and the
// dialog still offers the download.
TEST_F(UpdateCheckTest, AFolderOfTheUpdatesNameIsToldBeforeTheDownload) {
  ServeInfo(Info("2052", "2000", "Setup.exe", "30000"));
  Server.Set("/Setup.exe", R{200, Update});
  fs::create_directories(OnDesktop("Setup.exe/inside"));
  std::optional<TShown> after;
  Check([&](TInternetForm& f) {
    f.Action->click();
    after = Shown(f);
  });
  ASSERT_TRUE(after);
  EXPECT_EQ(Told,
            std::vector<std::string>{
                "\"Setup.exe\" on the desktop is a folder: the update cannot be saved under that name."});
  EXPECT_EQ(after->Status, "New version available.");
  EXPECT_EQ(after->Action, "Download");
  EXPECT_FALSE(ThreadRunning());
  EXPECT_EQ(Server.Requests(), std::vector<std::string>{"/PatienceInfo.dat"});
  EXPECT_TRUE(fs::is_directory(OnDesktop("Setup.exe/inside")));
}

TEST_F(UpdateCheckTest, WithoutADesktopFolderNothingIsFetched) {
  ServeInfo(Info("2052", "2000", "Setup.exe", "30000"));
  Server.Set("/Setup.exe", R{200, Update});
  DesktopDir.clear();
  std::optional<TShown> after;
  Check([&](TInternetForm& f) {
    f.Action->click();
    after = Shown(f);
  });
  ASSERT_TRUE(after);
  EXPECT_EQ(after->Status, "Error");
  EXPECT_EQ(after->Labels[5], "Error: CLSID not found.");
  EXPECT_FALSE(after->CancelShown);
  EXPECT_FALSE(ThreadRunning());
  EXPECT_EQ(Server.Requests(), std::vector<std::string>{"/PatienceInfo.dat"});
}

TEST_F(UpdateCheckTest, CancelAsksAndRemovesThePartialFile) {
  ServeInfo(Info("2052", "2000", "Setup.exe", "30000"));
  // Slow enough (about 2.4 s in all) that a loaded machine still clicks Cancel while it runs.
  Server.Set("/Setup.exe", R{200, Update, TTestHttpServer::Slow, "", 500, 40});
  for (int answer : {mrNo, mrYes}) {
    Told.clear();
    fs::remove_all(DesktopDir);
    Answer = answer;
    std::optional<TShown> progress;
    int result = -1;
    SetInternetFormRunnerForTesting([&](TInternetForm& f) {
      f.Action->click();
      while (BytesDone() < 3000 && ThreadRunning()) QCoreApplication::processEvents();
      QCoreApplication::processEvents();
      progress = Shown(f);
      if (answer == mrNo) Shot(f, "progress");
      QObject::connect(&f, &QDialog::finished, [&](int r) { result = r; });
      f.Cancel->click();
      if (answer == mrNo) WaitWhileRunning();
      return result;
    });
    RunUpdateCheck(nullptr, Data(), ProgramId);
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->Labels[4].rfind("Done: ", 0), 0u) << progress->Labels[4];
    EXPECT_EQ(Told, std::vector<std::string>{"Cancel download?"});
    WaitWhileRunning();
    if (answer == mrNo) {
      EXPECT_EQ(result, -1);  // the dialog stayed
      EXPECT_EQ(ReadFileText(OnDesktop("Setup.exe")), Update);
    } else {
      EXPECT_EQ(result, 1);
      EXPECT_TRUE(DesktopFiles().empty());
      // A cancelled download tells nothing more.
      EXPECT_EQ(Told.size(), 1u);
    }
    EXPECT_FALSE(PartFileAnywhere());
  }
}

TEST_F(UpdateCheckTest, ABackgroundDownloadIsShownWhenReopenedAndToldWhenItEnds) {
  ServeInfo(Info("2052", "2000", "Setup.exe", "30000"));
  Server.Set("/Setup.exe", R{200, Update, TTestHttpServer::Slow, "", 1000, 40});
  // Download, then Close: it goes on without the dialog.
  Check([&](TInternetForm& f) {
    f.Action->click();
    f.Action->click();  // Close
  });
  EXPECT_TRUE(ThreadRunning());
  const auto reopened = Check();
  ASSERT_TRUE(reopened);
  EXPECT_EQ(reopened->Status, "Downloading to desktop");
  EXPECT_EQ(reopened->Labels[1], "Name: Setup.exe");
  EXPECT_EQ(reopened->Action, "Close");
  // While it is written the part file is recorded in the data folder, and afterwards not.
  const std::string recorded = PathJoin(Data(), kUpdatePartRecord);
  while (!fs::exists(recorded) && ThreadRunning()) QCoreApplication::processEvents();
  TStringList record;
  ASSERT_TRUE(record.TryLoadFromFile(recorded));
  EXPECT_EQ(record[0], OnDesktop("Setup.exe.part"));
  WaitWhileRunning();
  EXPECT_EQ(Told, std::vector<std::string>{"Patience update has been downloaded to desktop."});
  EXPECT_EQ(ReadFileText(OnDesktop("Setup.exe")), Update);
  EXPECT_FALSE(fs::exists(recorded));

  // One that fails is told as aborted, and leaves nothing.
  fs::remove_all(DesktopDir);
  Told.clear();
  ServeInfo(Info("2052", "2000", "Setup.exe", "30001"));
  Check([&](TInternetForm& f) {
    f.Action->click();
    f.Action->click();
  });
  WaitWhileRunning();
  EXPECT_EQ(Told, std::vector<std::string>{"Error: Patience download aborted."});
  EXPECT_TRUE(DesktopFiles().empty());
  EXPECT_FALSE(PartFileAnywhere());
}

TEST_F(UpdateCheckTest, ClosingTheWindowDuringADownloadAsksThenWaitsForTheWorker) {
  ServeInfo(Info("2052", "2000", "Setup.exe", "30000"));
  Server.Set("/Setup.exe", R{200, Update, TTestHttpServer::Slow, "", 500, 50});
  SetScreenSizeForTesting(TPoint(1280, 1024));
  auto form = std::make_unique<TForm1>(QStringList{}, TForm1Options{StandardTestCardsetsDir()});
  EXPECT_EQ(form->CheckforUpdates1->Caption(), "Check for Updates");
  SetInternetFormRunnerForTesting([](TInternetForm& f) {
    f.Action->click();
    return 1;
  });
  DataLocation = 3;
  form->CheckforUpdates1->Click();
  EXPECT_TRUE(form->CheckforUpdates1->Enabled());
  ASSERT_TRUE(ThreadRunning()) << (Told.empty() ? "" : Told[0]);
  // "Quit Patience?" Yes, then the download's question: No keeps the window and the download.
  int asked = 0;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    Told.push_back(r.Text);
    return ++asked == 2 ? mrNo : mrYes;
  });
  EXPECT_FALSE(form->FormClose());
  EXPECT_EQ(Told, (std::vector<std::string>{"Quit Patience?", "Downloading update - Quit anyway?"}));
  EXPECT_TRUE(ThreadRunning());
  Told.clear();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(form->FormClose());
  EXPECT_FALSE(ThreadRunning());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  form.reset();
  QCoreApplication::processEvents();
  EXPECT_EQ(Told, (std::vector<std::string>{"Quit Patience?", "Downloading update - Quit anyway?"}));
  EXPECT_TRUE(DesktopFiles().empty());
  EXPECT_FALSE(PartFileAnywhere());
  EXPECT_TRUE(fs::exists(PathJoin(DataFolderOf(3), "internetinfo.dat")));
  SetScreenSizeForTesting(std::nullopt);
  DataLocation = 0;
}

TEST(UpdateJudgement, TheOrderOfTheTests) {
  TStringList ok;
  ok.SetText(Info("2070", "2060", "a.exe", ""));
  // The fetch result first, then the lines; a cancelled fetch tells nothing.
  EXPECT_EQ(JudgeUpdateInfo(-1, &ok, 2051, "").Verdict, TUpdateVerdict::CannotConnect);
  EXPECT_EQ(JudgeUpdateInfo(-2, &ok, 2051, "").Verdict, TUpdateVerdict::NotFound);
  EXPECT_EQ(JudgeUpdateInfo(-3, &ok, 2051, "").Message, "");
  EXPECT_EQ(JudgeUpdateInfo(0, nullptr, 2051, "").Verdict, TUpdateVerdict::NotFound);
  // The oldest id before the newest.
  EXPECT_EQ(JudgeUpdateInfo(0, &ok, 2051, "").Verdict, TUpdateVerdict::FullVersion);
  EXPECT_EQ(JudgeUpdateInfo(0, &ok, 2060, "").Verdict, TUpdateVerdict::NewVersion);
  EXPECT_EQ(JudgeUpdateInfo(0, &ok, 2070, "").Verdict, TUpdateVerdict::Latest);
  for (const char* bad : {"", ".", "..", ".profile", "  ", "a/b", "a\\b", "c:x", "a\tb"})
    EXPECT_FALSE(SafeUpdateFileName(bad)) << bad;
  EXPECT_EQ(SafeUpdateFileName("Setup 2052.exe"), "Setup 2052.exe");
}

}  // namespace

// Closing the window while the information file is still on its way cancels the check: the
// window asks only "Quit Patience?" (no download runs) and no message follows it.
TEST_F(UpdateCheckTest, ClosingTheWindowDuringTheCheckIsACancel) {
  ServeInfo(Info("2052", "2000", "Setup.exe", "30000"));
  Server.Set("/PatienceInfo.dat",
             R{200, Info("2052", "2000", "Setup.exe", "30000"), TTestHttpServer::Slow, "", 20, 100});
  SetScreenSizeForTesting(TPoint(1280, 1024));
  auto form = std::make_unique<TForm1>(QStringList{}, TForm1Options{StandardTestCardsetsDir()});
  DataLocation = 3;
  bool closed = false;
  QTimer::singleShot(200, form.get(), [&] {
    EXPECT_TRUE(ThreadRunning());
    closed = form->FormClose();
  });
  form->CheckforUpdates1->Click();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(ThreadRunning());
  EXPECT_EQ(Told, (std::vector<std::string>{"Quit Patience?"}));
  form.reset();
  SetScreenSizeForTesting(std::nullopt);
  DataLocation = 0;
}
