// scripts/fuzz.sh with stand-ins for the fuzz targets that write down how they were started: each
// target may take inputs as long as its largest seed and more, so a seed (a whole compiled help
// file) is never cut before it reaches the target.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/TestUtil.h"

namespace {

TEST(FuzzScript, EachTargetTakesItsLargestSeedWhole) {
  TTempDir dir;
  struct TCase {
    const char* Target;
    size_t Largest;  // bytes of its largest seed
  };
  const TCase cases[] = {{"helpfile", 80093}, {"updateinfo", 400}, {"big", 300000}};
  for (const TCase& c : cases) {
    const std::string seeds = dir / (std::string("seeds/") + c.Target);
    std::filesystem::create_directories(seeds);
    WriteTextFile(seeds + "/small", std::string(100, 'x'));
    WriteTextFile(seeds + "/largest", std::string(c.Largest, 'x'));
    // The stand-in: its arguments to a file, and the line the script reads the runs from.
    const std::string target = dir / (std::string("fuzz_") + c.Target);
    WriteTextFile(target, "#!/bin/sh\necho \"$@\" > \"$0.args\"\necho 'stat::number_of_executed_units: 7'\n");
    ::chmod(target.c_str(), 0755);
  }
  const std::string command = "bash " + SourceDir() + "/scripts/fuzz.sh " + dir.Path() +
                              " 1 helpfile updateinfo big > " + (dir / "out.txt") + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const TCase& c : cases) {
    std::ostringstream args;
    args << std::ifstream(dir / (std::string("fuzz_") + c.Target + ".args")).rdbuf();
    const std::string a = args.str();
    const size_t at = a.find("-max_len=");
    ASSERT_NE(at, std::string::npos) << c.Target << ": " << a;
    const size_t limit = std::stoul(a.substr(at + 9));
    EXPECT_GT(limit, c.Largest) << c.Target;
    EXPECT_GE(limit, 65536u) << c.Target;
  }
  std::ostringstream out;
  out << std::ifstream(dir / "out.txt").rdbuf();
  EXPECT_NE(out.str().find("fuzz_helpfile: 7 runs in 1 s, no finding"), std::string::npos) << out.str();
}

}  // namespace
