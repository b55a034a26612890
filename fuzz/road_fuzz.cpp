// The whole headless road on one input: the definition, the page template,
// the three template files and the Columns text are written into a private
// folder and taken through the four steps, as pravel-cli takes them.
//
// The input is cut at the byte 0x1E (ASCII record separator) into, in this
// order: the definition ("Pravel_Input.txt"), "Pravel.ini", "HdrOnly.txt",
// "TableHdr_template.txt", "TrlOnly.txt" and the Columns text. A part that is
// not there is a file that does not exist (or the Columns field's "4").
//
// Beyond "no crash, no leak, no hang" the target checks what the user is
// promised about files: a bookmark file is imported, never opened as text
// (a cancelled save leaves everything as it was; a saved one puts the
// import in the pane), any other text opens byte for byte, the definition
// file is the original or the rebuilt text and never anything else, a
// rebuilt file has the original in its backup, and a page that Save/Show
// announces is on disk as built.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "FuzzCheck.h"
#include "app/HeadlessHost.h"
#include "app/PravelFiles.h"
#include "app/Workflow.h"
#include "bookmarks/BookmarkImport.h"
#include "bookmarks/BookmarkReader.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

namespace {

namespace fs = std::filesystem;
using namespace pravel;

constexpr char kPartSeparator = '\x1e';
constexpr const char* kDefinitionName = "Pravel_Input.txt";
constexpr const char* kFileParts[] = {kDefinitionName, "Pravel.ini", "HdrOnly.txt", "TableHdr_template.txt",
                                      "TrlOnly.txt"};
constexpr std::size_t kParts = std::size(kFileParts) + 1;  // the Columns text last

constexpr const char* kImportName = "Imported.txt";

// A window that nobody looks at: it answers the open dialog with the
// definition, answers a save dialog with kImportName in the folder when told
// to (and cancels it otherwise), and counts the pages it is asked to show.
class QuietHost final : public HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;
  int shown = 0;
  std::optional<Text> saveAs;
  std::optional<Text> ChooseFile(const FileDialog& dialog) override {
    return dialog.save ? saveAs : HeadlessHost::ChooseFile(dialog);
  }
  void ShowMessage(const Text&, MessageKind) override {}
  void ShowFile(const Text&) override { ++shown; }
  // Only running out of memory ends the process on this road, and the
  // fuzzer reports that itself before it gets here.
  [[noreturn]] void EndProcess(int) override { std::abort(); }
};

fs::path folder;  // where the workflow runs

std::optional<Text> ReadIfThere(const Text& name) {
  Text content;
  if (!FileRead(name, content)) return std::nullopt;
  return content;
}

// The folder's files and what they hold.
std::vector<std::pair<Text, Text>> FolderContent() {
  std::vector<std::pair<Text, Text>> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const Text name = entry.path().filename().string();
    files.emplace_back(name, ReadIfThere(entry.path().string()).value_or("(unreadable)"));
  }
  std::sort(files.begin(), files.end());
  return files;
}

Text Joined(const std::vector<Text>& lines) {
  Text text;
  for (const Text& line : lines) AppendLine(text, line);
  return text;
}

}  // namespace

// The workflow writes its files beside the definition, so the target keeps
// the definition in a private folder for the whole run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Memory-backed when there is such a folder: every run replaces a dozen
  // files, and a disk would flush each replacement.
  std::error_code ec;
  const fs::path shm = "/dev/shm";
  const fs::path base =
      fs::is_directory(shm, ec) && ::access(shm.c_str(), W_OK) == 0 ? shm : fs::temp_directory_path(ec);
  // The name is as long whatever the process id: paths reach messages, and a
  // loop over a longer one could count as new coverage, so two runs of the
  // gate would not see the same.
  char name[40];
  std::snprintf(name, sizeof name, "pravel-fuzz-road-%010ld", static_cast<long>(::getpid()));
  folder = base / name;
  fs::create_directories(folder, ec);
  if (ec) std::abort();
  std::atexit([] {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first five separators cut; the last part keeps any further ones.
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts;
  for (std::size_t cut; parts.size() + 1 < kParts && (cut = input.find(kPartSeparator)) != std::string_view::npos;) {
    parts.push_back(input.substr(0, cut));
    input.remove_prefix(cut + 1);
  }
  parts.push_back(input);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path(), ec);
  for (std::size_t i = 0; i < parts.size() && i < std::size(kFileParts); ++i) {
    FUZZ_CHECK(FileWriteText((folder / kFileParts[i]).string(), parts[i]));
  }
  Text original(parts[0]);
  Text definitionPath = (folder / kDefinitionName).string();
  const Text columns = parts.size() == kParts ? Text(parts.back()) : Text("4");
  QuietHost host(definitionPath, columns);
  Workflow wf(host);

  if (IsBookmarkFile(original)) {
    // Imported, not opened: with the save dialog cancelled nothing is
    // written and nothing is open; saved, the definition made of it is what
    // the pane holds and the road goes on with it.
    const auto before = FolderContent();
    FUZZ_CHECK(!wf.RunCommand(Command::OpenInput).done());
    FUZZ_CHECK(wf.State().FileOpen == 0 && host.InputPane().PaneText().empty());
    FUZZ_CHECK(FolderContent() == before);

    const BookmarkImport import = ImportBookmarks(original);
    definitionPath = (folder / kImportName).string();
    host.saveAs = definitionPath;
    const bool imported = wf.RunCommand(Command::OpenInput).done();
    FUZZ_CHECK(imported == import.error.empty());
    FUZZ_CHECK(imported == (wf.State().FileOpen == 1));
    if (!imported) {
      FUZZ_CHECK(FolderContent() == before);
      return 0;
    }
    FUZZ_CHECK(ReadIfThere(definitionPath) == import.definition);
    original = import.definition;
  } else {
    const bool opened = wf.RunCommand(Command::OpenInput).done();
    // A text with NUL bytes is not loaded; anything else is, byte for byte.
    FUZZ_CHECK(opened == (original.find('\0') == Text::npos));
    FUZZ_CHECK(opened == (wf.State().FileOpen == 1));
    if (!opened) return 0;
  }
  FUZZ_CHECK(host.InputPane().PaneText() == original);

  if (!wf.RunCommand(Command::ValidateInput).done()) {
    FUZZ_CHECK(wf.State().FileValidated == 0);
    FUZZ_CHECK(ReadIfThere(definitionPath) == original);
    return 0;
  }
  const bool built = wf.RunCommand(Command::BuildHtml).done();
  FUZZ_CHECK(built == (wf.State().HtmlBuilt == 1));
  const std::optional<Text> rebuilt = ReadIfThere(definitionPath);
  FUZZ_CHECK(rebuilt.has_value());
  if (*rebuilt != original) {
    FUZZ_CHECK(*rebuilt == host.InputPane().PaneText());
    FUZZ_CHECK(ReadIfThere(definitionPath + Text(kBackupSuffix)) == original);
  }
  if (built) FUZZ_CHECK(ReadIfThere((folder / kDraftFileName).string()) == Joined(wf.PageLines()));

  // A page is shown only when it is on disk as built.
  const bool saved = wf.RunCommand(Command::SaveShowHtml).done();
  FUZZ_CHECK(saved == (host.Caption() == kCaptionDone));
  if (saved) {
    const Text page = Joined(wf.PageLines());
    FUZZ_CHECK(ReadIfThere((folder / kPageName).string()) == page &&
               ReadIfThere((folder / kPageCopyName).string()) == page);
    // A page announced holds menus: a template that would give none is refused by the build.
    FUZZ_CHECK(!ReadIfThere((folder / kMenusOnlyName).string()).value_or(Text()).empty());
  }
  FUZZ_CHECK(host.shown == (saved ? 1 : 0));
  return 0;
}
