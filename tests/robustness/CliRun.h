// Runs the real pravel-cli as a child process, with the limits and the user
// a test asks for, and collects what it printed and how it ended.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "text/Text.h"

namespace pravel::test {

struct CliLimits {
  std::optional<rlim_t> fileSize;      // bytes; a longer write fails with EFBIG
  std::optional<rlim_t> addressSpace;  // bytes
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

// Starts pravel-cli with the arguments in the current folder; what it prints
// goes to the two files.
pid_t StartCli(const std::vector<Text>& args, const std::filesystem::path& outFile,
               const std::filesystem::path& errFile, const CliLimits& limits = {});

// Waits for the child; when it runs longer than the timeout it is killed
// and the result says so (signal SIGKILL).
CliResult WaitCli(pid_t pid, const std::filesystem::path& outFile, const std::filesystem::path& errFile,
                  int timeoutSeconds = 120);

// StartCli and WaitCli, printing into hidden files in the current folder.
CliResult RunCli(const std::vector<Text>& args, const CliLimits& limits = {}, int timeoutSeconds = 120);

}  // namespace pravel::test
