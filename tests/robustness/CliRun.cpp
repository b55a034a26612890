#include "CliRun.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
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
  // Past the file-size limit a write fails with EFBIG, as on a full disk,
  // instead of ending the process.
  ::signal(SIGXFSZ, SIG_IGN);
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
  const fs::path outFile = fs::current_path().parent_path() / "cli-out.txt";
  const fs::path errFile = fs::current_path().parent_path() / "cli-err.txt";
  return WaitCli(StartCli(args, outFile, errFile, limits), outFile, errFile, timeoutSeconds);
}

namespace {

constexpr unsigned kModePowers = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// The effective powers of this thread, switched on or off; they stay
// permitted, so they can be switched on again.
bool SetModePowers(bool on) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  data[0].effective = on ? (data[0].effective | kModePowers) : (data[0].effective & ~kModePowers);
  return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

FileModesBind::FileModesBind() {
  if (::geteuid() != 0) return;
  dropped_ = SetModePowers(false);
  ok_ = dropped_;
}

FileModesBind::~FileModesBind() {
  if (dropped_) SetModePowers(true);
}

}  // namespace pravel::test
