// pravel-cli under a limited address space: wherever the memory runs out,
// the program says "Insufficient memory" and ends with exit code 3, and the
// definition file is the original or the whole rebuilt text.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "Pages.h"
#include "support/TempDir.h"

namespace pravel::test {
namespace {

namespace fs = std::filesystem;

TEST(OutOfMemory, CliUnderAnAddressSpaceLimit) {
  TempDir dir;
  fs::create_directory("w");
  fs::current_path("w");
  WriteTemplates(".");
  std::vector<Menu> menus;
  for (int m = 0; m < 40000; ++m) {
    menus.push_back({"M" + std::to_string(100000 + m), {}});
    for (int k = 0; k < 8; ++k) menus.back().links.push_back({"L" + std::to_string(k), "https://example.com/x.html"});
  }
  const Text normalised = NormalisedOf(menus);
  std::reverse(menus.begin(), menus.end());
  const Text definition = DefinitionOf(menus);  // about 16 MB

  int outOfMemory = 0;
  int lastStatus = -1;
  // From a little more than the program itself needs to start, up to room
  // for the whole build.
  for (rlim_t megabytes = 32; megabytes <= 1024; megabytes = megabytes * 4 / 3) {
    SCOPED_TRACE(std::to_string(megabytes) + " MB");
    fs::remove("d.txt.bak");
    WriteFile("d.txt", definition);
    CliLimits limits;
    limits.addressSpace = megabytes << 20;
    const CliResult r = RunCli({"build", "d.txt"}, limits);
    ASSERT_EQ(r.signal, 0) << r.err;
    lastStatus = r.status;
    if (r.status == 3) {
      ++outOfMemory;
      EXPECT_TRUE(r.err.ends_with("Insufficient memory\n")) << r.err;
      EXPECT_EQ(r.out.find("newly created"), Text::npos);
    } else {
      EXPECT_EQ(r.status, 0) << r.err;
    }
    const Text now = ReadFile("d.txt");
    if (now != definition) {
      EXPECT_TRUE(now == normalised);
      EXPECT_TRUE(ReadFile("d.txt.bak") == definition);
    }
  }
  std::printf("%d limits ran out of memory\n", outOfMemory);
  EXPECT_GT(outOfMemory, 0);
  EXPECT_EQ(lastStatus, 0);
}

}  // namespace
}  // namespace pravel::test
