#include "cli/BookmarkCommands.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/PravelFiles.h"
#include "bookmarks/BookmarkExport.h"
#include "bookmarks/BookmarkImport.h"
#include "cli/CliHost.h"
#include "definition/Validation.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

namespace pravel::cli {

namespace {

enum Exit { kWritten = 0, kNothingWritten = 1, kRefused = 2 };

int Fail(int status, const Text& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "pravel-cli: %s\n", ConsoleText(message).c_str());
  return status;
}

void Report(const Text& text) {
  const Text line = ConsoleText(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

// Why the file to write may not be written; empty when it may. One of
// Pravel's own files would be destroyed now or by the next build (in its
// own folder, or the one the definition's road writes to); the file being
// read would be lost to its own conversion; an existing file is only
// replaced when asked.
Text OutputRefused(const CliOptions& options) {
  const Text& output = options.output;
  for (const Text& folder : {FolderOf(output), FolderOf(options.definition)}) {
    if (const Text own = PravelFileAt(output, folder); !own.empty()) {
      return "cannot write " + output + ": " +
             (options.command == Command::Import
                  ? PravelFileReason(own)
                  : own + " is a file Pravel writes or reads as a template; save the bookmarks under another name");
    }
  }
  if (SameFile(output, options.definition)) return "cannot write " + output + ": it is the file to be read";
  if (!options.force && Exists(output)) {
    return output + " already exists; add --force to replace it (its previous content is then kept in " + output +
           Text(kBackupSuffix) + ")";
  }
  return {};
}

// The whole file or nothing; a replaced file's previous content is kept
// beside it, as the build keeps the definition's.
int Write(const CliOptions& options, std::string_view text, const Text& summary) {
  const Text& output = options.output;
  const Text backup = Exists(output) ? output + Text(kBackupSuffix) : Text();
  // An imported definition is the user's own text from now on: on the disk
  // before it takes its name, as the build writes a definition.
  const WriteOptions write{.backupName = backup, .onDisk = options.command == Command::Import};
  if (FileResult written = FileWriteText(output, text, write); !written) {
    return Fail(kNothingWritten, WriteFailure(output, written));
  }
  Report(summary);
  return kWritten;
}

int Import(const CliOptions& options, std::string_view bytes) {
  const BookmarkImport import = ImportBookmarks(bytes);
  const Text summary = ImportSummary(import, options.definition);
  if (!import.error.empty()) return Fail(import.read ? kNothingWritten : kRefused, summary);
  return Write(options, import.definition, summary);
}

int Export(const CliOptions& options, std::string_view content) {
  if (content.find('\0') != std::string_view::npos) {
    return Fail(kRefused, "cannot read " + options.definition + ": it holds NUL bytes, so it is not a text file");
  }
  const TextLines lines = TextLines::Borrowing(content);
  if (const StatementCounts counts = CountStatements(lines); !counts.Passes()) {
    Report(ValidationReport(counts));
    return Fail(kNothingWritten, options.definition + " does not pass validation; nothing was written");
  }
  const BookmarkExport exported = ExportBookmarks(lines);
  if (exported.links == 0) {
    return Fail(kNothingWritten, "nothing to export: " + options.definition +
                                     " holds no complete link pair (a linkname=<...> followed by its "
                                     "linkaddress=<...>) under a menu name");
  }
  return Write(options, exported.file, ExportSummary(exported, options.output));
}

}  // namespace

int RunBookmarkCommand(CliOptions options) {
  if (const Text error = TakeNamesFromFolder(options); !error.empty()) return Fail(kRefused, error);
  if (const Text refused = OutputRefused(options); !refused.empty()) return Fail(kRefused, refused);
  Text content;
  if (FileResult read = FileRead(options.definition, content); !read) {
    return Fail(kRefused, "cannot read " + options.definition + ": " + read.reason);
  }
  return options.command == Command::Import ? Import(options, content) : Export(options, content);
}

}  // namespace pravel::cli
