// Files under stress: how the one writer replaces a file, what someone else
// can plant beside it, a build killed at any moment, and pravel-cli at a
// file-size limit and on inputs that cannot be read. The real program runs
// on real files, with POSIX process control.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <sstream>

#include "support/TempDir.h"
#include "text/FileWriter.h"

namespace pravel::test {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status;  // the exit code, or 128 + the signal that ended it
  Text out, err;
};

// One argument for the shell: the build folder may hold blanks and quotes.
Text Quoted(std::string_view text) {
  Text quoted = "'";
  for (const char c : text) quoted += c == '\'' ? Text("'\\''") : Text(1, c);
  return quoted + "'";
}

// pravel-cli in the current folder, started by the shell through `wrapper`
// (a limit, a timeout, or the powers root gives up).
CliRun RunCli(const Text& args, const Text& wrapper = "exec") {
  const int raw = std::system((wrapper + " " + Quoted(PRAVEL_CLI_PATH) + " " + args + " >.out 2>.err").c_str());
  return {WEXITSTATUS(raw), ReadFile(".out"), ReadFile(".err")};
}

// Out of the bounding set, root's two file powers do not come back when it
// starts the program: root is then held to file modes as their owner is.
Text AsOwner() { return ::geteuid() == 0 ? "setpriv --bounding-set=-dac_override,-dac_read_search" : "exec"; }

constexpr const char* kTemplate =
    "<!--qx html hdr-->\r\n<div style=\"x\">\r\n<!--/qx html hdr-->\r\n<!--qx form template1-->\r\n"
    "<td><form name=\"xxx\">\r\n<!--/qx form template1-->\r\n<!--qx single form entry-->\r\n<a "
    "href=\"yyy\">zzz</a>\r\n";

// A definition of about `bytes`, its menus in reverse order so that the
// build rewrites it.
Text Definition(std::size_t bytes) {
  Text text;
  for (int m = 99999; text.size() < bytes; --m) {
    text += "menuname=<M" + std::to_string(m) + ">\r\n";
    for (int k = 0; k < 10; ++k) text += "linkname=<L" + std::to_string(k) + ">\r\nlinkaddress=<https://x/k>\r\n";
  }
  return text;
}

bool NoTemporaryLeft() {
  for (const auto& entry : fs::directory_iterator(".")) {
    if (entry.path().filename().string().find(".pravel-tmp") != Text::npos) return false;
  }
  return true;
}

ino_t Inode(const char* name) {
  struct stat info {};
  ::stat(name, &info);
  return info.st_ino;
}

TEST(FileWriter, ReplacesWholeKeepingModeLinksAndABackupThatIsTheOldFileItself) {
  TempDir dir;
  WriteFile("d.txt", "old");
  fs::permissions("d.txt", fs::perms::owner_read | fs::perms::owner_write);
  const ino_t old = Inode("d.txt");
  ASSERT_TRUE(FileWriteText("d.txt", "new", {.backupName = "d.txt.bak"}));
  EXPECT_EQ(ReadFile("d.txt"), "new");
  EXPECT_EQ(ReadFile("d.txt.bak"), "old");
  EXPECT_EQ(Inode("d.txt.bak"), old) << "the backup was copied, not kept";
  EXPECT_EQ(fs::status("d.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  // A link the user made stays a link; the file it points at takes the text.
  fs::create_symlink("d.txt", "link.txt");
  ASSERT_TRUE(FileWriteText("link.txt", "through"));
  EXPECT_TRUE(fs::is_symlink("link.txt"));
  EXPECT_EQ(ReadFile("d.txt"), "through");
  EXPECT_TRUE(NoTemporaryLeft());
}

TEST(FileWriter, NothingPlantedBesideTheOutputsIsWrittenThroughOrRemoved) {
  TempDir dir;
  WriteFile("victim.txt", "mine");
  WriteFile("Pravel.ini", kTemplate);
  WriteFile("d.txt",
            "menuname=<B>\r\nlinkname=<b>\r\nlinkaddress=<b>\r\nmenuname=<A>\r\nlinkname=<a>\r\nlinkaddress=<a>\r\n");
  // Links under every name a numbered scheme would use, and one under the
  // writer's own pattern; a temporary a killed run left is the writer's own
  // to remove.
  const char* const outputs[] = {"d.txt",          "d.txt.bak",     "Sorted_Pravel.txt", "ValidatedInput.txt",
                                 "ShowDraft.Html", "MenusOnly.txt", "Pravel.html",       "Pravel.txt",
                                 "PravelTrace.txt"};
  for (const Text name : outputs) {
    for (int n = 0; n <= 20; ++n) fs::create_symlink("victim.txt", name + ".pravel-tmp" + std::to_string(n));
  }
  fs::create_symlink("victim.txt", "d.txt.pravel-tmp-AAAAAAAA");
  WriteFile("Pravel.html.pravel-tmp-BBBBBBBB", "stray");
  EXPECT_EQ(RunCli("build d.txt").status, 0);
  EXPECT_EQ(ReadFile("victim.txt"), "mine");
  for (const char* name : outputs) EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(name))) << name;
  EXPECT_TRUE(fs::is_symlink("d.txt.pravel-tmp-AAAAAAAA"));
  EXPECT_FALSE(fs::exists("Pravel.html.pravel-tmp-BBBBBBBB"));
  EXPECT_NE(ReadFile("Pravel.html").find("<a href=\"a\">a</a>"), Text::npos);
}

TEST(Cli, AFileSizeLimitIsAWriteFailureThatKeepsThePreviousPage) {
  TempDir dir;
  WriteFile("Pravel.ini", kTemplate);
  WriteFile("HdrOnly.txt", Text(4000, 'h'));
  WriteFile("d.txt", Definition(20000));
  ASSERT_EQ(RunCli("build d.txt").status, 0);
  const Text page = ReadFile("Pravel.html");
  // The menu lines fit, the page with its header does not; no signal ends
  // the program, it says why.
  const CliRun r =
      RunCli("build d.txt", "ulimit -f " + std::to_string(ReadFile("MenusOnly.txt").size() / 512 + 2) + "; exec");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("Could not write Pravel.html: File too large.\nThe page is not complete."), Text::npos) << r.err;
  EXPECT_EQ(r.out.find("newly created"), Text::npos);
  EXPECT_EQ(ReadFile("Pravel.html"), page);
  EXPECT_TRUE(NoTemporaryLeft());
}

// The rewritten definition and its backup reach the disk before they take
// their names, and the names before the build ends; the files a build
// makes again are not flushed (what that would cost is in the README).
TEST(Cli, TheUsersDefinitionIsOnTheDiskBeforeItIsReplaced) {
#ifdef PRAVEL_SANITIZED
  GTEST_SKIP() << "the sanitizer's runtime must be loaded first; the plain build runs this";
#endif
  TempDir dir;
  WriteFile("Pravel.ini", kTemplate);
  WriteFile("d.txt", Definition(2000));
  // The loader splits LD_PRELOAD at blanks as well as colons, so the logger
  // is named without its folder and found through LD_LIBRARY_PATH, which is
  // split at colons alone: a build folder with a blank still loads it.
  const fs::path logger = PRAVEL_SYNC_LOG_PATH;
  ASSERT_EQ(RunCli("build d.txt", "PRAVEL_SYNC_LOG=sync.log LD_LIBRARY_PATH=" + Quoted(logger.parent_path().string()) +
                                      " LD_PRELOAD=" + Quoted(logger.filename().string()) + " exec")
                .status,
            0);
  std::vector<Text> log;
  for (std::istringstream lines(ReadFile("sync.log")); log.emplace_back(), std::getline(lines, log.back());) {
  }
  log.pop_back();
  const Text folder = fs::current_path().string();
  const auto at = [&](const Text& line, std::size_t from = 0) {
    return std::find(log.begin() + static_cast<std::ptrdiff_t>(from), log.end(), line) - log.begin();
  };
  for (const Text name : {"d.txt.bak", "d.txt"}) {
    const Text target = folder + "/" + name;
    const auto renamed = std::find_if(log.begin(), log.end(), [&](const Text& line) {
      return line.starts_with("rename " + target + ".pravel-tmp-") && line.ends_with(" -> " + target);
    });
    ASSERT_NE(renamed, log.end()) << name << " was not replaced:\n" << ReadFile("sync.log");
    const std::size_t k = static_cast<std::size_t>(renamed - log.begin());
    const Text temporary = renamed->substr(7, renamed->find(" -> ") - 7);
    if (Text(name) == "d.txt") {
      EXPECT_LT(at("fsync " + temporary), k) << "not on the disk before the rename";
    }
    EXPECT_LT(at("fsync " + folder, k), log.size()) << "the rename to " << name << " is not made durable";
  }
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [&](const Text& line) { return line.starts_with("fsync " + folder + "/Pravel.html"); }),
            0)
      << "the page is made again by Save/Show: it is not flushed";
}

TEST(Cli, InputsThatCannotBeReadAreRefusedWithoutAHang) {
  TempDir dir;
  WriteFile("d.txt", "menuname=<A>\r\nlinkname=<a>\r\nlinkaddress=<a>\r\n");
  fs::permissions("d.txt", fs::perms::none);
  const CliRun r = RunCli("build d.txt", AsOwner());
  EXPECT_EQ(r.err, "Cannot open the input file " + dir.File("d.txt") + ": Permission denied.\nNothing was loaded.\n");
  // A pipe with no writer would keep a read waiting for ever; a page
  // template that is one reads as empty, like a missing one, and the
  // build is refused for it.
  ASSERT_EQ(::mkfifo("pipe.txt", 0644), 0);
  EXPECT_EQ(RunCli("build pipe.txt", "timeout 30").status, 2);
  fs::permissions("d.txt", fs::perms::owner_all);
  ASSERT_EQ(::mkfifo("Pravel.ini", 0644), 0);
  EXPECT_EQ(RunCli("build d.txt", "timeout 30").status, 1);
}

// Killed at any moment, again and again, a build leaves the definition the
// user's text or the whole rebuilt text, and its backup a whole earlier text.
TEST(Cli, ABuildKilledAtAnyMomentLeavesWholeFiles) {
#ifdef PRAVEL_SANITIZED
  const Text body = Definition(1u << 20);
#else
  const Text body = Definition(8u << 20);
#endif
  TempDir dir;
  WriteFile("Pravel.ini", kTemplate);
  WriteFile("d.txt", body);
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(RunCli("build d.txt").status, 0);
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
  const Text rebuilt = ReadFile("d.txt");
  std::mt19937 random(20240607);
  int untouched = 0, replaced = 0;
  for (int round = 1; round <= 16; ++round) {
    const Text original = "# round " + std::to_string(round) + "\r\n" + body;
    WriteFile("d.txt", original);
    // Round 1 is killed at once, before anything is written; round 2 ends
    // by itself, so the file is replaced; the others at random moments.
    // (timeout takes 0 as no limit at all.)
    const double seconds = round == 1 ? 1e-6 : std::uniform_real_distribution<>(1e-6, whole.count() * 1.5e-6)(random);
    RunCli("build d.txt", round == 2 ? "exec" : "exec timeout -s KILL " + std::to_string(seconds));
    const Text now = ReadFile("d.txt");
    if (now == original) {
      ++untouched;
    } else {
      ++replaced;
      ASSERT_TRUE(now == rebuilt) << "round " << round << ": " << now.size() << " bytes of something else";
      ASSERT_TRUE(ReadFile("d.txt.bak") == original);
    }
  }
  EXPECT_GT(untouched, 0);
  EXPECT_GT(replaced, 0);
  // The next write of each target removes what a killed one left beside it
  // (the definition and its backup too, which only a changing build writes).
  WriteFile("d.txt", body);
  ASSERT_EQ(RunCli("build d.txt").status, 0);
  EXPECT_TRUE(NoTemporaryLeft());
}

}  // namespace
}  // namespace pravel::test
