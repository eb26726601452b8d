// The help file reader, the sitemaps and the help viewer, on a small help file compiled for the
// test from pages of its own (the same script that builds the program's help files).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QApplication>
#include <QImage>
#include <QTextDocument>
#include <functional>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/help/ChmFile.h"
#include "platform/help/HelpViewer.h"
#include "platform/help/Sitemap.h"
#include "platform/ui/Dialogs.h"
#include "tests/platform/help/ChmBytes.h"
#include "tests/support/TestUtil.h"

namespace {

class HelpFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Dir = new TTempDir;
    const std::string pages = *Dir / "pages";
    std::filesystem::create_directories(pages + "/html/more");
    WriteTextFile(pages + "/html/index.htm",
                  "<html><head><title>Start</title></head><body><h1>Start</h1>"
                  "<p><a href=\"more/deep.htm#rules\">Deep</a> <img src=\"pic.png\"></p></body></html>");
    WriteTextFile(pages + "/html/pati4p2c.htm",
                  "<html><head><title>Canfield</title><link rel=\"stylesheet\" href=\"style.css\"></head>"
                  "<body><h1>Canfield</h1></body></html>");
    // A page in the older single-byte character set: "Caf\xe9".
    WriteTextFile(pages + "/html/more/deep.htm",
                  "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
                  "<title>Caf\xe9</title></head><body><p>Caf\xe9</p><a name=\"rules\"></a>"
                  "<a href=\"../pati4p2c.htm\">Back</a></body></html>");
    WriteTextFile(pages + "/html/style.css", "h1 { color: #204020; }\n");
    QImage pic(8, 6, QImage::Format_RGB32);
    pic.fill(Qt::red);
    pic.save(QString::fromStdString(pages + "/html/pic.png"));
    WriteTextFile(pages + "/contents.txt",
                  "Start | html/index.htm\n  Canfield | html/pati4p2c.htm\n  Deep | html/more/deep.htm\n"
                  "index: Foundations & piles | html/pati4p2c.htm\n");
    File = *Dir / "Test.chm";
    Built = Compile(pages, File, "Test Help");
    // A file of several frames and resets: pages of words in no order, 24 KiB each.
    const std::string many = *Dir / "many";
    std::filesystem::create_directories(many + "/html");
    std::string contents;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t below) { return ((seed = seed * 1103515245 + 12345) >> 16) % below; };
    const char* const syllables[] = {"ka", "lo", "mi", "ne", "ru", "ta", "si", "vo", "pe", "du", "ga", "fi"};
    for (int page = 0; page < 7; ++page) {
      std::string text = "<html><body><p>";
      while (text.size() < 24 * 1024) {
        for (uint32_t n = 1 + next(4); n > 0; --n) text += syllables[next(12)];
        text += ' ';
      }
      const std::string name = "html/p" + std::to_string(page) + ".htm";
      WriteTextFile(many + "/" + name, text + "</p></body></html>");
      contents += "Page " + std::to_string(page) + " | " + name + "\n";
    }
    WriteTextFile(many + "/contents.txt", contents);
    FramesFile = *Dir / "Frames.chm";
    Built = Built && Compile(many, FramesFile, "Frames");
  }
  static bool Compile(const std::string& pages, const std::string& file, const std::string& title) {
    const std::string command = "/usr/bin/python3 " + SourceDir() + "/assets/help/make_chm.py " + pages +
                                " " + file + " '" + title + "' " + pages + ".work >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(file);
  }
  static void TearDownTestSuite() {
    HtmlHelp(nullptr, "", HH_CLOSE_ALL, nullptr);
    delete Dir;
  }
  void SetUp() override { ASSERT_TRUE(Built) << "the test help file could not be compiled (chmcmd)"; }

  static inline TTempDir* Dir = nullptr;
  static inline std::string File, FramesFile;
  static inline bool Built = false;
};

TEST_F(HelpFileTest, ObjectsAreFoundWhateverTheSeparatorAndCase) {
  TChmFile chm(File);
  ASSERT_TRUE(chm.Ok());
  for (const char* path : {"/html/pati4p2c.htm", "html/pati4p2c.htm", "html\\pati4p2c.htm",
                           "\\HTML\\PATI4P2C.HTM", "/html/more/../pati4p2c.htm"}) {
    const auto page = chm.Read(path);
    ASSERT_TRUE(page) << path;
    EXPECT_NE(page->find("<h1>Canfield</h1>"), std::string::npos) << path;
  }
  EXPECT_FALSE(chm.Read("/html/patizzzz.htm"));
  EXPECT_FALSE(TChmFile(*Dir / "none.chm").Ok());
}

TEST_F(HelpFileTest, SystemRecordNamesContentsIndexDefaultPageAndTitle) {
  TChmFile chm(File);
  EXPECT_EQ(chm.DefaultTopic(), "/html/index.htm");
  EXPECT_EQ(chm.Title(), "Test Help");
  EXPECT_EQ(chm.ContentsFile(), "/Test.hhc");
  EXPECT_EQ(chm.IndexFile(), "/Test.hhk");
  const auto pages = chm.Pages();
  EXPECT_EQ(pages.size(), 3u);
}

// A help file too big for one listing block: a reader that walks the listing from the directory
// header, as chm_enumerate does, sees every page.
TEST(HelpFileListing, AWalkSeesEveryPageOfAFileOfManyBlocks) {
  TTempDir dir;
  const std::string pages = dir / "pages";
  std::filesystem::create_directories(pages + "/html");
  std::string contents;
  for (int i = 0; i < 300; ++i) {
    const std::string page =
        "html/a_page_with_a_name_long_enough_to_fill_blocks_" + std::to_string(i) + ".htm";
    WriteTextFile(pages + "/" + page, "<html><body><p>" + std::to_string(i) + "</p></body></html>");
    contents += "Page " + std::to_string(i) + " | " + page + "\n";
  }
  WriteTextFile(pages + "/contents.txt", contents);
  const std::string file = dir / "Many.chm";
  const std::string command = "/usr/bin/python3 " + SourceDir() + "/assets/help/make_chm.py " + pages + " " +
                              file + " 'Many Pages' " + (dir / "work") + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(TChmFile(file).Pages().size(), 300u);
}

TEST(ChmPath, Normalised) {
  const std::pair<const char*, const char*> cases[] = {{"html\\pati4p2c.htm", "/html/pati4p2c.htm"},
                                                       {"/html/x.htm", "/html/x.htm"},
                                                       {"html//x.htm", "/html/x.htm"},
                                                       {"./html/x.htm", "/html/x.htm"},
                                                       {"../../x.htm", "/x.htm"},
                                                       {"", "/"}};
  for (auto [in, out] : cases) EXPECT_EQ(TChmFile::NormalisePath(in), out) << in;
}

TEST(Sitemap, EntriesWithTheirLevelsNamesAndPages) {
  const std::string hhc =
      "<HTML><BODY><OBJECT type=\"text/site properties\"><param name=\"X\" value=\"y\"></OBJECT><UL>"
      "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Intro &amp; more\">"
      "<param name=\"Local\" value=\"html/intro.htm\"></OBJECT>"
      "<UL><li><object TYPE='text/sitemap'><PARAM NAME=name VALUE='Canfield'><param name=local "
      "value=html/pati4p2c.htm></object></UL>"
      "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Heading\"></OBJECT></UL></BODY></HTML>";
  const auto e = ParseSitemap(hhc);
  ASSERT_EQ(e.size(), 3u);
  const TSitemapEntry want[] = {
      {0, "Intro & more", "html/intro.htm"}, {1, "Canfield", "html/pati4p2c.htm"}, {0, "Heading", ""}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(e[i].Level, want[i].Level) << i;
    EXPECT_EQ(e[i].Name, want[i].Name) << i;
    EXPECT_EQ(e[i].Local, want[i].Local) << i;
  }
}

TEST(HelpViewer, UnderstandsOnlyCompiledHelpFilesInAnyCase) {
  THelpManager manager;
  auto viewer = std::make_shared<THTMLHelpViewer>();
  manager.RegisterViewer(viewer);
  EXPECT_EQ(viewer->GetViewerName(), "HTMLHelp Viewer");
  EXPECT_GT(viewer->FViewerID, 0);
  const std::pair<const char*, bool> files[] = {
      {"/p/Patience.chm", true}, {"/p/PATIENCE.CHM", true}, {"/p/Patience.hlp", false}, {"", false}};
  for (auto [file, chm] : files) {
    manager.HelpFile = file;
    EXPECT_EQ(viewer->UnderstandsKeyword("x"), chm ? 1 : 0) << file;
    EXPECT_EQ(viewer->GetHelpStrings("x").size(), chm ? 1u : 0u) << file;
    EXPECT_EQ(viewer->CanShowTableOfContents(), chm) << file;
    EXPECT_EQ(viewer->UnderstandsTopic("x"), chm) << file;
    EXPECT_EQ(viewer->UnderstandsContext(1, file), chm) << file;
  }
}

TEST(HelpViewer, TopicPaths) {
  const std::pair<const char*, const char*> cases[] = {{"", "f.chm"},
                                                       {"/html/a.htm", "f.chm::/html/a.htm"},
                                                       {"html/a.htm", "f.chm::/html/a.htm"},
                                                       {"html\\pati4p2c.htm", "f.chm::/html/pati4p2c.htm"}};
  for (auto [topic, path] : cases) EXPECT_EQ(THTMLHelpViewer::TopicPath("f.chm", topic), path) << topic;
}

TEST_F(HelpFileTest, TopicFormsOpenTheSamePageAndEmptyOpensTheDefault) {
  THelpManager manager;
  manager.RegisterViewer(std::make_shared<THTMLHelpViewer>());
  manager.HelpFile = File;
  for (const char* topic : {"html\\pati4p2c.htm", "/html/pati4p2c.htm", "html/pati4p2c.htm"}) {
    ASSERT_TRUE(manager.HelpJump(topic)) << topic;
    EXPECT_EQ(CurrentHelpWindow()->CurrentPage(), "/html/pati4p2c.htm") << topic;
    EXPECT_EQ(CurrentHelpWindow()->Browser()->documentTitle().toStdString(), "Canfield");
  }
  ASSERT_TRUE(manager.HelpJump(""));
  EXPECT_EQ(CurrentHelpWindow()->CurrentPage(), "/html/index.htm");
  manager.Viewer()->DisplayHelpByContext(7, File);
  EXPECT_EQ(CurrentHelpWindow()->CurrentPage(), "/html/index.htm");
  // A page the file lacks shows a note rather than nothing.
  ASSERT_TRUE(manager.HelpJump("html\\patizzzz.htm"));
  EXPECT_NE(CurrentHelpWindow()->Browser()->toPlainText().indexOf("Page not found"), -1);
}

TEST_F(HelpFileTest, ContentsAndIndexAndKeywords) {
  THelpManager manager;
  manager.RegisterViewer(std::make_shared<THTMLHelpViewer>());
  manager.HelpFile = File;
  ASSERT_TRUE(manager.HelpContents());
  THelpWindow* w = CurrentHelpWindow();
  EXPECT_EQ(w->CurrentTab(), "Contents");
  EXPECT_EQ(w->CurrentPage(), "/html/index.htm");
  EXPECT_EQ(w->ContentsCount(), 3);
  EXPECT_EQ(w->IndexCount(), 4);  // the contents' three and one keyword of its own
  EXPECT_EQ(w->windowTitle().toStdString(), "Test Help");

  ASSERT_TRUE(manager.HelpKeyword("foundations & PILES"));
  EXPECT_EQ(w->CurrentTab(), "Index");
  EXPECT_EQ(w->CurrentPage(), "/html/pati4p2c.htm");
  // Not in the index: the index shows, the page stays.
  manager.HelpKeyword("no such word");
  EXPECT_EQ(w->CurrentTab(), "Index");
  EXPECT_EQ(w->CurrentPage(), "/html/pati4p2c.htm");
}

TEST_F(HelpFileTest, MissingHelpFileIsToldAndOpensNothing) {
  HtmlHelp(nullptr, "", HH_CLOSE_ALL, nullptr);
  std::vector<std::string> told;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    told.push_back(r.Text);
    return mrOk;
  });
  THelpManager manager;
  manager.RegisterViewer(std::make_shared<THTMLHelpViewer>());
  manager.HelpFile = *Dir / "Missing.chm";
  EXPECT_FALSE(manager.HelpContents());
  EXPECT_FALSE(manager.HelpJump("html\\pati4p2c.htm"));
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0].rfind("Help file not found", 0), 0u) << told[0];
  // Not a help file at all.
  WriteTextFile(*Dir / "Junk.chm", "not a help file");
  manager.HelpFile = *Dir / "Junk.chm";
  EXPECT_FALSE(manager.HelpKeyword("x"));
  EXPECT_EQ(told.size(), 3u);
}

// Damaged help files, each of which crashed or froze the viewer's F1, are told as not found; files
// at the check's limits open.
TEST_F(HelpFileTest, DamagedFilesAreToldAndOpenNothing) {
  const std::string control = TChmBytes::kControlData;
  const std::string resetTable = TChmBytes::kResetTable;
  // A reset table of 64 frames in place of the file's, at its end, claiming a section of the
  // file's size times factor plus more bytes (the first frame holds all the compressed bytes).
  auto claim = [&](TChmBytes& f, uint64_t factor, uint64_t more) {
    const uint64_t frames = 64, compressed = f.Compressed();
    TChmBytes::TEntry& e = f.Entry(resetTable);
    e.Start = f.Bytes.size() - f.Data;
    e.Length = 0x28 + 8 * frames;
    const uint64_t table = f.Bytes.size();
    f.Bytes.resize(table + e.Length, '\0');
    f.Put(table, 2, 4);  // version
    f.Put(table + 4, frames, 4);
    f.Put(table + 8, 8, 4);      // bytes an entry
    f.Put(table + 12, 0x28, 4);  // where the entries begin
    f.Put(table + 0x18, compressed, 8);
    f.Put(table + 0x20, 0x8000, 8);  // frame length
    for (uint64_t i = 1; i < frames; ++i) f.Put(table + 0x28 + 8 * i, compressed, 8);
    f.Put(table + 0x10, f.Bytes.size() * factor + more, 8);
  };
  // The frames from one reset to the next, with a window of 64 KiB: the reset interval in frames.
  auto perReset = [&](TChmBytes& f, uint64_t frames) {
    f.Put(f.StoredAt(control) + 8, 2, 4);
    f.Put(f.StoredAt(control) + 12, frames, 4);
    f.Put(f.StoredAt(control) + 16, 2, 4);
    f.Put(f.StoredAt(control) + 20, 1, 4);
  };
  // A stored object that nothing reads, running to the end of the file and more bytes.
  auto stored = [](TChmBytes& f, uint64_t more) {
    TChmBytes::TEntry& e = f.Entry("::DataSpace/NameList");
    e.Length = f.Bytes.size() - f.Data - e.Start + more;
  };
  struct TCase {
    const char* What;
    std::function<void(TChmBytes&)> Damage;
    bool Opens = false;  // a file at the limits, not past them
  };
  const TCase cases[] = {
      {"a compression window of one byte",
       [&](TChmBytes& f) {
         f.Put(f.StoredAt(control) + 8, 1, 4);  // version 1: the window counts bytes
         f.Put(f.StoredAt(control) + 16, 1, 4);
       }},
      {"a listing page that leads on to itself", [](TChmBytes& f) { f.Put(f.Page + 0x10, 0, 4); }},
      {"contents claiming 64 GiB", [](TChmBytes& f) { f.Entry("/Test.hhc").Length = uint64_t(64) << 30; }},
      {"contents claiming 2 GiB", [](TChmBytes& f) { f.Entry("/Test.hhc").Length = uint64_t(2) << 30; }},
      {"a compressed section claiming 2 GiB",
       [&](TChmBytes& f) { f.Put(f.StoredAt(resetTable) + 0x10, uint64_t(2) << 30, 8); }},
      {"the reset table in an unknown section", [&](TChmBytes& f) { f.Entry(resetTable).Section = 5; }},
      {"a stored object past the end", [](TChmBytes& f) { f.Entry("/#SYSTEM").Length += f.Bytes.size(); }},
      {"a stored object one byte past the end", [&](TChmBytes& f) { stored(f, 1); }},
      {"a stored object up to the end", [&](TChmBytes& f) { stored(f, 0); }, true},
      {"a compressed section 64 times the file's size", [&](TChmBytes& f) { claim(f, 64, 0); }, true},
      {"a compressed section more than 64 times the file's size", [&](TChmBytes& f) { claim(f, 64, 64); }},
      {"256 frames from one reset to the next", [&](TChmBytes& f) { perReset(f, 256); }, true},
      {"257 frames from one reset to the next", [&](TChmBytes& f) { perReset(f, 257); }},
  };
  THelpManager manager;
  manager.RegisterViewer(std::make_shared<THTMLHelpViewer>());
  std::vector<std::string> told;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    told.push_back(r.Text);
    return mrOk;
  });
  // Taken apart and put together again unchanged, the file still opens.
  TChmBytes(File).Save(*Dir / "Same.chm");
  ASSERT_TRUE(TChmFile(*Dir / "Same.chm").Ok());
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    HtmlHelp(nullptr, "", HH_CLOSE_ALL, nullptr);
    TChmBytes f(File);
    c.Damage(f);
    const std::string path = *Dir / "Damaged.chm";
    f.Save(path);
    const TChmFile chm(path);
    EXPECT_EQ(chm.Ok(), c.Opens) << chm.Problem();
    EXPECT_EQ(chm.Problem().empty(), c.Opens);
    EXPECT_EQ(chm.Pages().size(), c.Opens ? 3u : 0u);
    told.clear();
    manager.HelpFile = path;
    EXPECT_EQ(manager.HelpContents(), c.Opens);
    EXPECT_EQ(told, c.Opens ? std::vector<std::string>{}
                            : std::vector<std::string>{"Help file not found:\n" + path});
    EXPECT_EQ(CurrentHelpWindow() != nullptr, c.Opens);
  }
  // A FIFO under the help file's name is refused without waiting for a writer.
  const std::string fifo = *Dir / "Fifo.chm";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(TChmFile(fifo).Ok());
}

// A frame whose compressed bytes are cut short: whatever needs it (an object in it, or in a later
// frame of its reset) reads as nothing, at every reading and whatever was read before; the rest
// reads as it was.
TEST_F(HelpFileTest, AFrameCutShortReadsAsNothingEveryTime) {
  TChmBytes whole(FramesFile);
  const std::vector<std::string> frames = whole.FrameBytes();
  const uint64_t used = (whole.Uncompressed() + 0x7FFF) / 0x8000, perReset = whole.FramesPerReset();
  ASSERT_GE(used, 4u);
  ASSERT_GE(used, 2 * perReset) << "the file is to have several resets";
  // The section's objects and the frames each needs, from its reset on.
  struct TObject {
    std::string Name, Bytes;
    uint64_t First, Last;
  };
  std::vector<TObject> objects;
  const TChmFile original(FramesFile);
  for (const TChmBytes::TEntry& e : whole.Entries)
    if (e.Section == 1 && e.Length > 0 && e.Name[0] == '/') {
      const auto bytes = original.Read(e.Name);
      ASSERT_TRUE(bytes) << e.Name;
      const uint64_t first = e.Start / 0x8000;
      objects.push_back({e.Name, *bytes, first - first % perReset, (e.Start + e.Length - 1) / 0x8000});
    }
  // (The last frame may end in bytes that are not needed.)
  for (uint64_t cut = 0; cut + 1 < used; ++cut) {
    SCOPED_TRACE("frame " + std::to_string(cut) + " cut short");
    TChmBytes f(FramesFile);
    std::vector<std::string> damaged = frames;
    damaged[cut].resize(damaged[cut].size() / 2);
    f.SetFrames(damaged);
    const std::string path = *Dir / "Cut.chm";
    f.Save(path);
    int refused = 0;
    for (bool backwards : {false, true}) {
      const TChmFile chm(path);
      ASSERT_TRUE(chm.Ok()) << chm.Problem();
      for (size_t i = 0; i < objects.size(); ++i) {
        const TObject& o = objects[backwards ? objects.size() - 1 - i : i];
        const std::optional<std::string> got = chm.Read(o.Name);
        if (o.First <= cut && cut <= o.Last) {
          EXPECT_FALSE(got) << o.Name << " read as " << got->size() << " bytes";
          ++refused;
        } else {
          EXPECT_EQ(got, o.Bytes) << o.Name;
        }
      }
    }
    EXPECT_GT(refused, 0);
  }
}

TEST_F(HelpFileTest, BrowserTakesPagesPicturesAndLinksFromTheFile) {
  TChmFile chm(File);
  TChmBrowser browser;
  browser.SetFile(&chm);
  browser.setSource(TChmBrowser::UrlOf("/html/index.htm"));
  const QVariant pic = browser.loadResource(QTextDocument::ImageResource, QUrl("pic.png"));
  QImage image;
  ASSERT_TRUE(image.loadFromData(pic.toByteArray()));
  EXPECT_EQ(image.size(), QSize(8, 6));
  // A relative link with a part, then back up a folder.
  browser.setSource(browser.source().resolved(QUrl("more/deep.htm#rules")));
  EXPECT_EQ(TChmBrowser::ObjectOf(browser.source()), "/html/more/deep.htm");
  EXPECT_EQ(browser.documentTitle(), QString::fromUtf8("Caf\xc3\xa9"));
  browser.setSource(browser.source().resolved(QUrl("../pati4p2c.htm")));
  EXPECT_EQ(browser.documentTitle(), "Canfield");
  EXPECT_FALSE(
      browser.loadResource(QTextDocument::StyleSheetResource, QUrl("style.css")).toByteArray().isEmpty());
  // The forms older pages link with.
  for (const char* url :
       {"ms-its:Test.chm::/html/pati4p2c.htm", "mk:@MSITStore:Test.chm::/html/pati4p2c.htm"})
    EXPECT_EQ(TChmBrowser::ObjectOf(QUrl(url)), "/html/pati4p2c.htm") << url;
  EXPECT_EQ(TChmBrowser::ObjectOf(QUrl("http://example.invalid/x.htm")), "");
}

}  // namespace
