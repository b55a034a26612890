// Files under stress: how the one writer replaces a file, what someone else
// can plant beside it, a build killed at any moment, and pravel-cli at a
// file-size limit and on inputs that cannot be read. The real program runs
// on real files, with POSIX process control.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "support/TempDir.h"
#include "text/FileWriter.h"

namespace pravel::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct CliLimits {
  std::optional<rlim_t> fileSize;      // bytes; a longer write fails with EFBIG
  // Root too is held to the modes of files, as their owner is: the two
  // powers that let root read and write anything are dropped. (Another user
  // would also need a way to the program wherever the checkout lies.)
  bool fileModesBind = false;
};

struct CliResult {
  int status = -1;  // exit code; -1 when a signal ended it
  int signal = 0;
  Text out;
  Text err;
};

// Starts pravel-cli with the arguments in the current folder; what it
// prints goes to the two files.
pid_t StartCli(const std::vector<Text>& args, const fs::path& outFile, const fs::path& errFile,
               const CliLimits& limits = {}) {
  std::vector<Text> argv = {PRAVEL_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (Text& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  // The child: only async-signal-safe calls from here to exec.
  const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(126);
  if (limits.fileSize) {
    const rlimit limit{*limits.fileSize, *limits.fileSize};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
  }
  // Taken out of the bounding set, the powers do not come back when root
  // starts the program.
  if (limits.fileModesBind && ::geteuid() == 0 &&
      (::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0 ||
       ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) != 0)) {
    ::_exit(126);
  }
  ::execv(pointers[0], pointers.data());
  ::_exit(127);
}

// Waits for the child; one that runs past the timeout is killed (SIGKILL).
CliResult WaitCli(pid_t pid, const fs::path& outFile, const fs::path& errFile, int timeoutSeconds = 120) {
  CliResult result;
  int raw = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    const pid_t done = ::waitpid(pid, &raw, WNOHANG);
    if (done == pid) break;
    if (done < 0) return result;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &raw, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) result.signal = WTERMSIG(raw);
  result.out = ReadFile(outFile);
  result.err = ReadFile(errFile);
  return result;
}

CliResult RunCli(const std::vector<Text>& args, const CliLimits& limits = {}, int timeoutSeconds = 120) {
  const fs::path outFile = fs::current_path() / ".cli-out";
  const fs::path errFile = fs::current_path() / ".cli-err";
  return WaitCli(StartCli(args, outFile, errFile, limits), outFile, errFile, timeoutSeconds);
}


constexpr const char* kTemplate =
    "<!--qx html hdr-->\r\n<div style=\"x\">\r\n<!--/qx html hdr-->\r\n<!--qx form template1-->\r\n"
    "<td><form name=\"xxx\">\r\n<!--/qx form template1-->\r\n<!--qx single form entry-->\r\n<a href=\"yyy\">zzz</a>\r\n";

// A definition of about `bytes`, its menus in reverse order so that the
// build rewrites it.
Text Definition(std::size_t bytes) {
  Text text;
  for (int m = 99999; text.size() < bytes; --m) {
    text += "menuname=<M" + std::to_string(m) + ">\r\n";
    for (int k = 0; k < 10; ++k) text += "linkname=<L" + std::to_string(k) + ">\r\nlinkaddress=<https://x/" + std::to_string(k) + ">\r\n";
  }
  return text;
}

std::vector<Text> Temporaries() {
  std::vector<Text> found;
  for (const auto& entry : fs::directory_iterator(".")) {
    if (entry.path().filename().string().find(".pravel-tmp") != Text::npos) found.push_back(entry.path().filename());
  }
  return found;
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
  ASSERT_TRUE(FileWriteText("d.txt", "new", "d.txt.bak"));
  EXPECT_EQ(ReadFile("d.txt"), "new");
  EXPECT_EQ(ReadFile("d.txt.bak"), "old");
  EXPECT_EQ(Inode("d.txt.bak"), old) << "the backup was copied, not kept";
  EXPECT_EQ(fs::status("d.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);

  // A link the user made stays a link; the file it points at takes the text.
  fs::create_symlink("d.txt", "link.txt");
  ASSERT_TRUE(FileWriteText("link.txt", "through"));
  EXPECT_TRUE(fs::is_symlink("link.txt"));
  EXPECT_EQ(ReadFile("d.txt"), "through");

  // A read-only file is refused, whoever runs this, and stays as it was.
  fs::permissions("d.txt", fs::perms::owner_read);
  const FileResult refused = FileWriteText("d.txt", "x");
  EXPECT_EQ(refused.reason, "it is read-only");
  EXPECT_EQ(ReadFile("d.txt"), "through");
  EXPECT_TRUE(Temporaries().empty());
}

TEST(FileWriter, NothingPlantedBesideTheTargetIsWrittenThroughOrRemoved) {
  TempDir dir;
  WriteFile("victim.txt", "mine");
  WriteFile("d.txt", "old");
  // Links under every name the old numbered scheme used, and one under the
  // writer's own pattern.
  for (int n = 0; n <= 20; ++n) fs::create_symlink("victim.txt", "d.txt.pravel-tmp" + std::to_string(n));
  fs::create_symlink("victim.txt", "d.txt.pravel-tmp-AAAAAAAA");
  // A temporary a killed run left behind is the writer's own to remove.
  WriteFile("d.txt.pravel-tmp-BBBBBBBB", "stray");
  ASSERT_TRUE(FileWriteText("d.txt", "new", "d.txt.bak"));
  EXPECT_EQ(ReadFile("victim.txt"), "mine");
  EXPECT_EQ(ReadFile("d.txt"), "new");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status("d.txt")));
  EXPECT_TRUE(fs::is_symlink("d.txt.pravel-tmp-AAAAAAAA"));
  EXPECT_FALSE(FileExists("d.txt.pravel-tmp-BBBBBBBB"));

  // The whole road, with links planted under every old name of every output.
  WriteFile("Pravel.ini", kTemplate);
  WriteFile("d.txt", "menuname=<B>\r\nlinkname=<b>\r\nlinkaddress=<b>\r\nmenuname=<A>\r\nlinkname=<a>\r\nlinkaddress=<a>\r\n");
  for (const char* name : {"d.txt.bak", "Sorted_Pravel.txt", "ValidatedInput.txt", "ShowDraft.Html", "MenusOnly.txt",
                           "Pravel.html", "Pravel.txt", "PravelTrace.txt", "HdrOnly.txt", "TrlOnly.txt"}) {
    for (int n = 0; n <= 20; ++n) fs::create_symlink("victim.txt", name + (".pravel-tmp" + std::to_string(n)));
  }
  const CliResult r = RunCli({"build", "d.txt"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile("victim.txt"), "mine");
  for (const char* name : {"d.txt", "d.txt.bak", "Sorted_Pravel.txt", "Pravel.html", "Pravel.txt", "PravelTrace.txt"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(name))) << name;
  }
  EXPECT_NE(ReadFile("Pravel.html").find("<a href=\"a\">a</a>"), Text::npos);
}

TEST(Cli, AFileSizeLimitIsAWriteFailureThatKeepsThePreviousPage) {
  TempDir dir;
  WriteFile("Pravel.ini", kTemplate);
  WriteFile("HdrOnly.txt", Text(1000, 'h'));
  WriteFile("d.txt", Definition(20000));
  ASSERT_EQ(RunCli({"build", "d.txt"}).status, 0);
  const Text page = ReadFile("Pravel.html");
  // The menu lines fit, the page with its header does not.
  CliLimits limits;
  limits.fileSize = ReadFile("MenusOnly.txt").size() + 100;
  const CliResult r = RunCli({"build", "d.txt"}, limits);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("Could not write Pravel.html: File too large.\nThe page is not complete."), Text::npos) << r.err;
  EXPECT_EQ(r.out.find("newly created"), Text::npos);
  EXPECT_EQ(ReadFile("Pravel.html"), page);
  EXPECT_TRUE(Temporaries().empty());
}

TEST(Cli, InputsThatCannotBeReadAreRefusedWithoutAHang) {
  TempDir dir;
  WriteFile("d.txt", "menuname=<A>\r\nlinkname=<a>\r\nlinkaddress=<a>\r\n");
  fs::permissions("d.txt", fs::perms::none);
  CliLimits limits;
  limits.fileModesBind = true;  // root reads any file otherwise
  CliResult r = RunCli({"build", "d.txt"}, limits);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "Cannot open the input file " + dir.File("d.txt") + ": Permission denied.\nNothing was loaded.\n");

  // A pipe with no writer would keep a read waiting for ever; a page
  // template that is one reads as empty, like a missing one.
  ASSERT_EQ(::mkfifo("pipe.txt", 0644), 0);
  r = RunCli({"build", "pipe.txt"}, {}, 30);
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find(": it is not a regular file."), Text::npos);
  fs::permissions("d.txt", fs::perms::owner_all);
  ASSERT_EQ(::mkfifo("Pravel.ini", 0644), 0);
  r = RunCli({"build", "d.txt"}, {}, 30);
  EXPECT_EQ(r.status, 0) << r.err;
}

// Killed at any moment, again and again, a build leaves the definition the
// user's text or the whole rebuilt text, and its backup a whole earlier text.
TEST(Cli, ABuildKilledAtAnyMomentLeavesWholeFiles) {
#ifdef PRAVEL_SANITIZED
  constexpr std::size_t kBytes = 2u << 20;
  constexpr int kRounds = 12;
#else
  constexpr std::size_t kBytes = 8u << 20;
  constexpr int kRounds = 24;
#endif
  TempDir dir;
  WriteFile("Pravel.ini", kTemplate);
  const Text body = Definition(kBytes);
  WriteFile("d.txt", body);
  const auto started = Clock::now();
  ASSERT_EQ(RunCli({"build", "d.txt"}).status, 0);
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started);
  const Text rebuilt = ReadFile("d.txt");
  std::mt19937 random(20240607);
  int untouched = 0;
  int replaced = 0;
  for (int round = 1; round <= kRounds; ++round) {
    const Text original = "# round " + std::to_string(round) + "\r\n" + body;
    WriteFile("d.txt", original);
    const pid_t pid = StartCli({"build", "d.txt"}, ".cli-out", ".cli-err");
    if (round == 2) {
      ::waitpid(pid, nullptr, 0);  // let one finish: the file is replaced
    } else if (round % 2 == 1 && round > 1) {
      // While the new text is written beside the file, or takes its place.
      const auto deadline = Clock::now() + whole * 3;
      while (Temporaries().empty() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::microseconds(100));
      std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 5000)(random)));
    } else if (round > 1) {
      std::this_thread::sleep_for(std::chrono::microseconds(
          std::uniform_int_distribution<std::int64_t>(0, whole.count() * 3 / 2)(random)));
    }  // round 1: at once, before anything is written
    if (round != 2) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    const Text now = ReadFile("d.txt");
    if (now == original) {
      ++untouched;
    } else {
      ++replaced;
      ASSERT_TRUE(now == rebuilt) << "round " << round << ": " << now.size() << " bytes of something else";
      ASSERT_TRUE(ReadFile("d.txt.bak") == original);
    }
  }
  // The next write of a target removes what a killed one left beside it
  // (the definition and its backup too, which only a changing build writes).
  WriteFile("d.txt", body);
  ASSERT_EQ(RunCli({"build", "d.txt"}).status, 0);
  EXPECT_TRUE(Temporaries().empty());
  EXPECT_GT(untouched, 0);
  EXPECT_GT(replaced, 0);
}

}  // namespace
}  // namespace pravel::test
