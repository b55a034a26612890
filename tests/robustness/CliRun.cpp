#include "CliRun.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/TempDir.h"

namespace pravel::test {

namespace fs = std::filesystem;

pid_t StartCli(const std::vector<Text>& args, const fs::path& outFile, const fs::path& errFile,
               const CliLimits& limits) {
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
  if (limits.addressSpace) {
    const rlimit limit{*limits.addressSpace, *limits.addressSpace};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(126);
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

CliResult WaitCli(pid_t pid, const fs::path& outFile, const fs::path& errFile, int timeoutSeconds) {
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

CliResult RunCli(const std::vector<Text>& args, const CliLimits& limits, int timeoutSeconds) {
  const fs::path outFile = fs::current_path() / ".cli-out";
  const fs::path errFile = fs::current_path() / ".cli-err";
  return WaitCli(StartCli(args, outFile, errFile, limits), outFile, errFile, timeoutSeconds);
}

}  // namespace pravel::test
