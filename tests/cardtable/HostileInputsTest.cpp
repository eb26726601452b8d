// Card sets and "Status.Dat" files made to cost: FIFOs and devices among a set's pictures, faces
// that claim huge pictures, a table size beyond any screen, a background that names a pseudo
// file, and running out of memory. Each is refused quickly and cheaply, the table keeps what it
// had and says why in its trace.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <new>

#include "platform/core/Files.h"
#include "platform/stream/ComponentStream.h"
#include "tests/cardtable/CardTableFixture.h"
#include "tests/platform/graphics/TestBmpWriter.h"

namespace fs = std::filesystem;

// Allocations above this size fail as they would when memory runs out (0: none fails).
static std::atomic<size_t> g_failAbove{0};

void* operator new(size_t n) {
  const size_t limit = g_failAbove.load(std::memory_order_relaxed);
  if (limit != 0 && n > limit) throw std::bad_alloc();
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t n) {
  return operator new(n);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
  std::free(p);
}

namespace {

constexpr long long kCheap = 32ll << 20;  // peak memory a refusal may cost, with a wide margin

void WriteBytes(const std::string& path, const std::vector<uint8_t>& d) {
  WriteTextFile(path, std::string(d.begin(), d.end()));
}

// A settings file the way the table writes one, holding only the given properties.
std::string StatusFile(const std::function<void(TWriter&)>& properties) {
  TWriter w;
  w.WriteSignature();
  w.WriteStr("TCardTable");
  w.WriteStr("");
  properties(w);
  w.WriteListEnd();
  w.WriteListEnd();
  return ComponentResource("TCardTable", w.Data());
}

class HostileInputsTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    MakeTable();
    Folder = Dir / "data";
    ForceDirectories(Folder);
  }
  void TearDown() override {
    g_failAbove = 0;
    TCardTableTest::TearDown();
  }
  // A copy of the table's set under another name, then changed by the caller.
  std::string CopySet(const std::string& name) {
    fs::copy(PathJoin(CardsetsDir, "Standard"), PathJoin(CardsetsDir, name));
    return PathJoin(CardsetsDir, name);
  }
  bool Traced(const std::string& part) const {
    for (const std::string& t : Traces)
      if (t.find(part) != std::string::npos) return true;
    return false;
  }
  std::string Folder;
};

}  // namespace

TEST_F(HostileInputsTest, CardSetsWithFifosDevicesOrHugeClaimsAreRefusedQuicklyAndCheaply) {
  struct TCase {
    const char* Name;
    std::function<void(const std::string& set)> Spoil;
  };
  const TCase cases[] = {
      {"Fifo",
       [](const std::string& set) {
         fs::remove(PathJoin(set, "01c.bmp"));
         ::mkfifo(PathJoin(set, "01c.bmp").c_str(), 0600);
       }},
      {"Zero",
       [](const std::string& set) {
         fs::remove(PathJoin(set, "05h.bmp"));
         fs::create_symlink("/dev/zero", PathJoin(set, "05h.bmp"));
       }},
      {"Claims",
       [](const std::string& set) {
         // Every face, joker and back a 60-odd-byte picture claiming 8192 x 8192.
         for (const auto& e : fs::directory_iterator(set))
           WriteBytes(e.path().string(), DrawnRle8(8192, 8192, 0));
       }},
      {"Tall",
       [](const std::string& set) { WriteBytes(PathJoin(set, "CardMask.bmp"), DrawnRle8(16, 5000, 0)); }},
  };
  const std::string before = Table->StatusData();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Spoil(CopySet(c.Name));
    bool refused = false;
    const long long growth = PeakResidentGrowth([&] {
      auto load = std::async(std::launch::async, [&] {
        try {
          Deck().SetDeckName(c.Name);
        } catch (const Exception&) {
          refused = true;
        }
      });
      ASSERT_EQ(load.wait_for(std::chrono::seconds(30)), std::future_status::ready) << "the load is blocked";
    });
    EXPECT_TRUE(refused);
    EXPECT_EQ(Deck().DeckName, "Standard");
    EXPECT_EQ(Table->StatusData(), before);
    EXPECT_LT(growth, kCheap);
  }
}

TEST_F(HostileInputsTest, SizesBeyondAScreenAndUnusableNamesFallBackWithATrace) {
  const std::string before = Table->StatusData();
  struct TCase {
    const char* What;
    std::function<void(TWriter&)> Properties;
    const char* Trace;
  };
  auto integer = [](const char* name, int64_t v) {
    return [=](TWriter& w) {
      w.WritePropName(name);
      w.WriteInteger(v);
    };
  };
  auto string = [](const char* name, const char* v) {
    return [=](TWriter& w) {
      w.WritePropName(name);
      w.WriteString(v);
    };
  };
  const TCase cases[] = {
      {"a table of 16384 x 16384",
       [&](TWriter& w) {
         integer("Width", 16384)(w);
         integer("Height", 16384)(w);
       },
       "\"Width\" is not usable"},
      {"a table of 8000 x 8000, each side possible",
       [&](TWriter& w) {
         integer("Width", 8000)(w);
         integer("Height", 8000)(w);
       },
       "larger than a screen"},
      {"a minimum width of a million", integer("MinWidth", 1000000), "\"MinWidth\" is not usable"},
      {"a card set that is not there", string("CardDeck.DeckName", "Nowhere"), "card set \"Nowhere\""},
      {"a card back that is not there", integer("CardDeck.CardBack", 7), "card back 7 not found"},
      {"a background that is a pseudo file", string("BackgroundPicture", "/proc/self/pagemap"),
       "grows while it is read"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    Traces.clear();
    const std::string file = StatusFile(c.Properties);
    WriteTextFile(Folder + "/Status.Dat", file);
    TStatusLoad result = TStatusLoad::NoFile;
    const long long growth = PeakResidentGrowth([&] { result = Table->LoadStatus(Folder); });
    EXPECT_EQ(result, TStatusLoad::Loaded);
    EXPECT_TRUE(Traced(c.Trace)) << (Traces.empty() ? std::string("no trace") : Traces.back());
    EXPECT_EQ(Table->StatusData(), before);
    EXPECT_EQ(Table->Buffer.Width(), 500);
    EXPECT_LT(growth, kCheap);
  }
  EXPECT_LT(StatusFile([&](TWriter& w) {
              integer("Width", 16384)(w);
              integer("Height", 16384)(w);
            }).size(),
            64u);
}

TEST_F(HostileInputsTest, RunningOutOfMemoryIsADamagedInputNotACrash) {
  const std::string before = Table->StatusData();
  // A set whose one large face cannot be had: refused whole, the deck keeps its set.
  const std::string big = CopySet("Big");
  TBitmap face(700, 700);
  face.Clear(clBlue);
  face.SaveToFile(PathJoin(big, "01s.bmp"));
  g_failAbove = 1 << 20;
  EXPECT_THROW(Deck().SetDeckName("Big"), ECardTableError);
  EXPECT_EQ(Deck().DeckName, "Standard");

  // Through the settings file the same set is a setting not applied.
  WriteTextFile(Folder + "/Status.Dat", StatusFile([](TWriter& w) {
                  w.WritePropName("CardDeck.DeckName");
                  w.WriteString("Big");
                }));
  EXPECT_EQ(Table->LoadStatus(Folder), TStatusLoad::Loaded);
  EXPECT_TRUE(Traced("needs more memory"));
  EXPECT_EQ(Table->StatusData(), before);

  // A settings file that cannot be held at all is set aside, and one set aside before is kept.
  g_failAbove = 0;
  const std::string hint(2 << 20, 'h');
  const std::string huge = StatusFile([&](TWriter& w) {
    w.WritePropName("Hint");
    w.WriteString(hint);
  });
  for (const char* aside : {"Status.Dat.bad", "Status.Dat.bad2"}) {
    WriteTextFile(Folder + "/Status.Dat", huge);
    g_failAbove = 1 << 20;
    EXPECT_EQ(Table->LoadStatus(Folder), TStatusLoad::Damaged);
    g_failAbove = 0;
    EXPECT_TRUE(FileExists(Folder + "/" + aside)) << aside;
    EXPECT_TRUE(Traced("not enough memory"));
  }
  EXPECT_FALSE(FileExists(Folder + "/Status.Dat"));
  EXPECT_EQ(Table->StatusData(), before);
  EXPECT_EQ(ReadFileText(Folder + "/Status.Dat.bad"), huge);
}
