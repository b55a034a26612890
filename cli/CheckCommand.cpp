#include "cli/CheckCommand.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/CliHost.h"
#include "linkcheck/LinkCheck.h"
#include "text/Charset.h"
#include "text/TextFile.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace pravel::cli {

namespace {

enum Exit { kNothingDead = 0, kSomethingDead = 1, kUsageError = 2 };

int Fail(const Text& error) {
  std::fprintf(stderr, "pravel-cli: %s\n", error.c_str());
  return kUsageError;
}

// A whole number within the limits, written as digits only.
bool ReadCount(const Text& text, int low, int high, int& value) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != Text::npos) return false;
  value = std::stoi(text);
  return value >= low && value <= high;
}

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace

int RunCheck(CliOptions options) {
  CheckSettings settings;
  if (!options.jobs.empty() && !ReadCount(options.jobs, 1, 256, settings.jobs)) {
    return Fail("--jobs takes a whole number from 1 to 256, not '" + options.jobs + "'");
  }
  if (!options.timeout.empty() && !ReadCount(options.timeout, 1, 600, settings.timeoutSeconds)) {
    return Fail("--timeout takes whole seconds from 1 to 600, not '" + options.timeout + "'");
  }
  const bool json = options.format == "json";
  if (!json && !options.format.empty() && options.format != "text") {
    return Fail("--format takes text or json, not '" + options.format + "'");
  }
  if (const Text error = TakeNamesFromFolder(options); !error.empty()) return Fail(error);
  // The page is written beside the definition, so relative addresses lead
  // from there.
  settings.pageFolder = FolderOf(options.definition);

  Text content;
  if (const FileResult read = FileRead(options.definition, content); !read) {
    return Fail("cannot read the definition " + options.definition + ": " + read.reason);
  }
  // A definition that is not UTF-8 is Windows-1252 to the build, which
  // writes it so into a page that declares UTF-8; the report is UTF-8 too.
  const std::vector<LinkToCheck> links =
      LinksToCheck(TextLines(std::move(content)), [](std::string_view bytes) { return Windows1252ToUtf8(bytes); });

  // Progress only where someone watches: a log or a pipe gets the report alone.
  const bool showProgress = StandardErrorIsTerminal();
  const auto progress = [](std::size_t done, std::size_t total) {
    const Text line = "\rChecking links: " + NumberToText(static_cast<std::int64_t>(done)) + " of " +
                      NumberToText(static_cast<std::int64_t>(total));
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
  };
  const std::atomic<bool> never{false};
  const CheckReport report = CheckLinks(links, settings, showProgress ? CheckProgress(progress) : nullptr, never);
  if (showProgress && !links.empty()) std::fputs("\n", stderr);

  std::fputs(ConsoleText(json ? CheckReportJson(report) : CheckReportText(report)).c_str(), stdout);
  return AnyDead(report) ? kSomethingDead : kNothingDead;
}

}  // namespace pravel::cli
