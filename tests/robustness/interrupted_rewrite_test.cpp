// A build killed at any moment, again and again: the definition file is
// always either the user's text, untouched, or the whole rebuilt text, and
// its backup is always a whole earlier text, never a part of one.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "CliRun.h"
#include "Pages.h"
#include "support/TempDir.h"

namespace pravel::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr auto kPoll = std::chrono::microseconds(100);

#ifdef PRAVEL_SANITIZED
constexpr std::size_t kDefinitionBytes = 4u << 20;
constexpr int kRounds = 16;
#else
constexpr std::size_t kDefinitionBytes = 16u << 20;
constexpr int kRounds = 30;
#endif

std::vector<Menu> Menus(std::size_t bytes) {
  std::vector<Menu> menus;
  std::size_t size = 0;
  while (size < bytes) {
    Menu menu{"M" + std::to_string(100000 + menus.size()), {}};
    for (int k = 0; k < 10; ++k) {
      menu.links.push_back({"L" + std::to_string(k), "https://example.com/" + menu.name + "/" + std::to_string(k)});
      size += 60;
    }
    menus.push_back(std::move(menu));
  }
  return menus;
}

// Whether a temporary file of the rewrite (of the definition or of its
// backup) is in the folder: the rewrite has begun.
bool RewriteUnderWay(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with("d.txt") &&
        entry.path().filename().string().find(".pravel-tmp") != Text::npos) {
      return true;
    }
  }
  return false;
}

void RemoveTemporaries(const fs::path& folder) {
  std::vector<fs::path> stale;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().find(".pravel-tmp") != Text::npos) stale.push_back(entry.path());
  }
  for (const fs::path& path : stale) fs::remove(path);
}

std::optional<Text> ReadIfThere(const fs::path& path) {
  if (!FileExists(path)) return std::nullopt;
  return ReadFile(path);
}

TEST(InterruptedRewrite, DefinitionIsAlwaysTheOriginalOrTheRebuiltText) {
  TempDir dir;
  fs::create_directory("w");
  const fs::path work = dir.Path() / "w";
  WriteTemplates(work);
  fs::current_path(work);
  std::vector<Menu> menus = Menus(kDefinitionBytes);
  const Text normalised = NormalisedOf(menus);
  std::reverse(menus.begin(), menus.end());
  const Text body = DefinitionOf(menus);
  const fs::path out = dir.Path() / "out.txt";
  const fs::path err = dir.Path() / "err.txt";

  // One whole build first: how long one takes here.
  WriteFile("d.txt", "# round 0\r\n" + body);
  const auto started = Clock::now();
  const CliResult whole = WaitCli(StartCli({"build", "d.txt"}, out, err), out, err);
  const auto wholeTime = Clock::now() - started;
  ASSERT_EQ(whole.status, 0) << whole.err;
  ASSERT_TRUE(ReadFile("d.txt") == normalised);

  std::mt19937 random(20240607);
  int untouched = 0;
  int replaced = 0;
  int duringRewrite = 0;
  for (int round = 1; round <= kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    RemoveTemporaries(work);
    const Text original = "# round " + std::to_string(round) + "\r\n" + body;
    const std::optional<Text> previousBackup = ReadIfThere("d.txt.bak");
    WriteFile("d.txt", original);

    const pid_t pid = StartCli({"build", "d.txt"}, out, err);
    const auto deadline = Clock::now() + wholeTime * 3;
    switch (round % 3) {
      case 0: {
        // Any moment of the build, or after it.
        const auto span = std::chrono::duration_cast<std::chrono::microseconds>(wholeTime * 3 / 2);
        std::this_thread::sleep_for(std::chrono::microseconds(
            std::uniform_int_distribution<std::int64_t>(0, span.count())(random)));
        break;
      }
      case 1:
        // While the new text is being written beside the file.
        while (!RewriteUnderWay(work) && Clock::now() < deadline) std::this_thread::sleep_for(kPoll);
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 5000)(random)));
        break;
      default:
        // Just as the new text takes the file's place.
        while (!RewriteUnderWay(work) && Clock::now() < deadline) std::this_thread::sleep_for(kPoll);
        while (RewriteUnderWay(work) && Clock::now() < deadline) std::this_thread::sleep_for(kPoll);
        break;
    }
    const bool rewriting = RewriteUnderWay(work);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);

    const Text now = ReadFile("d.txt");
    const std::optional<Text> backup = ReadIfThere("d.txt.bak");
    if (now == original) {
      ++untouched;
      duringRewrite += rewriting;
      EXPECT_TRUE(backup == previousBackup || backup == original);
    } else {
      ++replaced;
      ASSERT_TRUE(now == normalised) << "the definition holds " << now.size() << " bytes of something else";
      EXPECT_TRUE(backup == original);
    }
  }
  std::printf("killed %d times: %d left untouched (%d of them during the rewrite), %d replaced whole\n", kRounds,
              untouched, duringRewrite, replaced);
  EXPECT_GT(untouched, 0);
  EXPECT_GT(replaced, 0);
}

}  // namespace
}  // namespace pravel::test
