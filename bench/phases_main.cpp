// pravel-phases: the headless road of pravel-cli build, timed part by part.
//
// It runs the same steps in the same order as the command line and writes
// the same files (the smoke run checks that byte for byte), with a clock
// around each step and, through the workflow's probe, around each part of
// the build, so that sorting, walking and laying out can be told apart.
#if defined(__unix__)
#include <sys/resource.h>
#endif

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/PravelFiles.h"
#include "app/Workflow.h"
#include "bench/QuietHost.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

using namespace pravel;
using namespace pravel::bench;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class Phases final : public Probe {
 public:
  template <typename Work>
  void Time(const char* name, Work work) {
    const auto start = Clock::now();
    work();
    Add(name, std::chrono::duration<double>(Clock::now() - start).count());
  }
  void Add(std::string_view name, double seconds) { rows_.push_back({Text(name), seconds, PeakBytes()}); }
  void PartBegins(std::string_view) override { partStart_ = Clock::now(); }
  void PartEnds(std::string_view part) override {
    Add(part, std::chrono::duration<double>(Clock::now() - partStart_).count());
  }
  // Each part's time, and the peak memory of the process when it ended.
  void Print() const {
    for (const Row& row : rows_) std::printf("%s\t%.4f\t%.0f\n", row.name.c_str(), row.seconds, row.peak);
  }

 private:
  struct Row {
    Text name;
    double seconds;
    double peak;
  };
  static double PeakBytes() {
#if defined(__unix__)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024;  // Linux counts KiB
#else
    return 0;
#endif
  }
  std::vector<Row> rows_;
  Clock::time_point partStart_;
};

int Fail(const QuietHost& host, const char* step, const Outcome& outcome) {
  std::fprintf(stderr, "pravel-phases: %s did not complete: %s\n%s\n", step, outcome.why.c_str(),
               host.lastError.c_str());
  return 1;
}

// How long the writes alone take: every file the road wrote, written again
// under a new name with the same calls, one at a time (so the road's peak
// memory stays its own). The parts above include their own writes.
void TimeWrites(const Text& definitionPath, Phases& phases) {
  double seconds = 0;
  auto timed = [&seconds](auto write) {
    const auto start = Clock::now();
    write();
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
  };
  for (const char* name : {kSortedRecordsName, kValidatedInputName, kDraftFileName, kMenusOnlyName, kPageName,
                           kPageCopyName, kTraceFileName}) {
    Text content;
    if (!FileRead(name, content)) continue;
    const Text again = Text(name) + ".again";
    timed([&] { FileWriteText(again, content); });
    std::remove(again.c_str());
  }
  // The input file is rewritten through a backup and a replacement; that is
  // timed on a scratch copy so the real file and its backup stay as built.
  const Text scratch = definitionPath + ".again";
  {
    Text original;
    FileRead(definitionPath + Text(kBackupSuffix), original);
    FileWriteText(scratch, original);
  }
  Text rebuilt;
  FileRead(definitionPath, rebuilt);
  timed([&] { FileWriteText(scratch, rebuilt, {.backupName = scratch + Text(kBackupSuffix), .onDisk = true}); });
  std::remove(scratch.c_str());
  std::remove((scratch + Text(kBackupSuffix)).c_str());
  phases.Add("writes", seconds);
}

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // As pravel-cli does: freed memory is kept for the next large text.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  Text columns = "4";
  Text definition;
  // As pravel-cli takes -C: the names given are read from DIR; the road's
  // files go beside the definition whatever the current folder is.
  Text folder;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-C" && i + 1 < args.size()) {
      folder = folder.empty() ? args[++i] : PathIn(folder, args[++i]);
      std::error_code ec;
      if (!fs::is_directory(PathOf(folder), ec)) {
        std::fprintf(stderr, "pravel-phases: cannot use the folder %s\n", args[i].c_str());
        return 2;
      }
    } else if (args[i] == "--columns" && i + 1 < args.size()) {
      columns = args[++i];
    } else if (definition.empty()) {
      definition = args[i];
    } else {
      definition.clear();
      break;
    }
  }
  if (definition.empty()) {
    std::fputs("Usage: pravel-phases [-C DIR] DEFINITION [--columns TEXT]\n", stderr);
    return 2;
  }

  if (!folder.empty()) definition = PathIn(folder, definition);
  std::error_code ec;
  QuietHost host(definition, columns);
  Workflow wf(host);
  Phases phases;
  // The build's own parts are marked by the workflow; the other steps are
  // timed whole.
  const std::pair<Command, const char*> steps[] = {{Command::OpenInput, "open"},
                                                   {Command::ValidateInput, "validate"},
                                                   {Command::BuildHtml, nullptr},
                                                   {Command::SaveShowHtml, "saveshow"}};
  const auto start = Clock::now();
  for (const auto& [command, name] : steps) {
    Outcome outcome;
    wf.SetProbe(name ? nullptr : &phases);
    if (name) {
      phases.Time(name, [&] { outcome = wf.RunCommand(command); });
    } else {
      outcome = wf.RunCommand(command);
    }
    if (!outcome.done()) return Fail(host, InfoOf(command).name.data(), outcome);
  }
  const double total = std::chrono::duration<double>(Clock::now() - start).count();
  TimeWrites(wf.InputPath(), phases);
  phases.Print();
  std::printf("total\t%.4f\nmessages\t%zu\n", total, host.messages);
  return 0;
}
