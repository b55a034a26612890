// pravel-cli: the four steps of the Pravel window, run from a command line.
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "app/Workflow.h"
#include "cli/BookmarkCommands.h"
#include "cli/CheckCommand.h"
#include "cli/CliHost.h"
#include "cli/CliOptions.h"
#include "text/TextFile.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__unix__)
#include <csignal>
#endif

namespace {

namespace fs = std::filesystem;
using namespace pravel;
using namespace pravel::cli;

enum Exit { kPageWritten = 0, kRefused = 1, kUsageError = 2, kOutOfMemory = 3 };

int Usage(const Text& error) {
  std::fprintf(stderr, "pravel-cli: %s\nTry 'pravel-cli --help'.\n", error.c_str());
  return kUsageError;
}

int Run(CliOptions options) {
  if (const Text error = TakeNamesFromFolder(options); !error.empty()) return Usage(error);

  // The process ends right after the steps, and what the build holds (for
  // a large definition, millions of lines) goes back with it: freeing it
  // line by line first took a tenth of the whole run. The two objects stay
  // reachable from here until then.
  static CliHost* const kept = new CliHost(options.definition, options.columns, options.show);
  static Workflow* const keptWorkflow = new Workflow(*kept);
  Workflow& wf = *keptWorkflow;

  // Each step has shown its messages; how it ended decides whether the
  // next one runs, and the exit status.
  if (!wf.RunCommand(pravel::Command::OpenInput).done()) return kUsageError;
  if (!wf.RunCommand(pravel::Command::ValidateInput).done()) return kRefused;
  if (options.command == cli::Command::Validate) return kPageWritten;
  if (!wf.RunCommand(pravel::Command::BuildHtml).done()) return kRefused;
  return wf.RunCommand(pravel::Command::SaveShowHtml).done() ? kPageWritten : kRefused;
}

}  // namespace

int Main(std::vector<std::string> args) {
#if defined(__GLIBC__)
  // A large build makes and drops texts of a hundred megabytes one after
  // another. Given back to the system when freed, each one's memory had to
  // be faulted in again, page by page, for the next; kept in the heap, it
  // serves the next one.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
#if defined(__unix__)
  // Past a file-size limit a write then fails with EFBIG and is reported
  // like a full disk, instead of the signal ending the process mid-write
  // with nothing said.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  try {
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.error.empty()) return Usage(parsed.error);
    switch (parsed.options.command) {
      case cli::Command::Help:
        std::fputs(kUsage, stdout);
        return 0;
      case cli::Command::Version:
        std::printf("pravel-cli %s\n", PRAVEL_VERSION);
        return 0;
      case cli::Command::Validate:
      case cli::Command::Build:
        return Run(parsed.options);
      case cli::Command::Import:
      case cli::Command::Export:
        return RunBookmarkCommand(parsed.options);
      case cli::Command::Check:
        return RunCheck(parsed.options);
    }
  } catch (const std::bad_alloc&) {
    std::fputs("Insufficient memory\n", stderr);
    return kOutOfMemory;
  }
  return kUsageError;
}

// The arguments in UTF-8, the engine's names: on Windows they come as
// UTF-16, which holds every name, not in the ANSI code page.
#ifdef _WIN32
extern "C" int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(NameOf(fs::path(argv[i])));
  return Main(std::move(args));
}
#else
int main(int argc, char** argv) { return Main(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
