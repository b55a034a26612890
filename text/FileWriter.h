// The one way Pravel writes a file.
//
// The text goes into a temporary file beside the target, which then takes
// the target's place, so the target is at every moment either its previous
// content or the new one: a write that fails (a full disk, a file-size
// limit, a killed process) leaves the previous file whole and no temporary
// behind.
//
// The temporary gets a name nobody can guess in advance and is created
// exclusively, never through a link: someone who can write to the folder
// cannot make the writer write into a file of their choice. The target
// itself follows the user's own rules: a symbolic link is followed (the new
// text lands in the file it points at and the link stays), a read-only file
// is refused whoever runs the program, and the new file keeps the target's
// permissions, so a rewrite never makes a private file readable by others.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "text/Text.h"
#include "text/TextFile.h"

namespace pravel {

// What a write does besides replacing the file.
struct WriteOptions {
  // The target's previous content is first kept under this name: by a
  // second name for the same file where the system allows one, so a large
  // file is not copied.
  Text backupName = {};
  // The user's own text (a definition) is flushed to the disk before it
  // takes the target's place, and the folder after the rename, so that a
  // power cut leaves the old text or the new one, never a file the system
  // had not yet written. Files a step makes again when run are not.
  bool onDisk = false;
};

class FileWriter {
 public:
  // Prepares the temporary beside the target; a failure shows in Finish. A
  // temporary of this target left by an earlier run that was killed is
  // removed first. Without `permissions` the file keeps the target's, or
  // gets the usual ones for a new file.
  explicit FileWriter(const Text& name, std::optional<std::filesystem::perms> permissions = {});
  // A writer that was not finished removes its temporary.
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // Written in large pieces while the text is produced: a page of a million
  // lines is neither joined into one text first nor handed to the system a
  // line at a time.
  void Append(std::string_view text);
  void AppendLine(std::string_view text) {
    Append(text);
    Append(CRLF);
  }
  // Puts the new file in the target's place.
  FileResult Finish(const WriteOptions& options = {});

 private:
  void Flush();
  void Fail(FileResult why);
  void Discard();

  Text target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  std::filesystem::perms permissions_;
  Text buffer_;
  FileResult result_;
};

// The text as the whole file.
FileResult FileWriteText(const Text& name, std::string_view text, const WriteOptions& options = {});
// The lines, each followed by CR LF.
FileResult FileWriteLines(const Text& name, std::span<const Text> lines);

// Whether a new file can be made in the folder: one is made there under a
// name nobody uses and removed again.
FileResult CanCreateFileIn(const Text& folder);

// "Could not write NAME: reason.": how every failed write is named to the
// user.
Text WriteFailure(const Text& name, const FileResult& result);

}  // namespace pravel
