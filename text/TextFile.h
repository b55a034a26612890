// Whole-file reading and writing.
//
// Files are read and written in one piece, byte for byte, with no conversion
// of line breaks or encoding. Names without a folder refer to the current
// directory at the moment of the call.
#pragma once

#include <string_view>

#include "text/Text.h"

namespace pravel {

// The process's current directory; empty if it cannot be told.
Text CurrentDirectory();

// Whether both names stand for one existing file: the same name, a link to
// it, another spelling the file system takes for it (letter case on
// Windows).
bool SameFile(const Text& a, const Text& b);

// The folder of a path made absolute, and a path's last part.
Text FolderOf(const Text& path);
Text FileNameOf(const Text& path);
// The name in the folder.
Text PathIn(const Text& folder, const Text& name);

// The template-file read: a missing file is created empty and reads as empty
// text; a file that cannot be opened at all (a folder, no access) also reads
// as empty, and so does a pipe or a device. Nothing is reported.
Text FileReadAll(const Text& name);

// Creates or empties the file and writes the text; false when it failed.
bool FileWriteAll(const Text& name, std::string_view text);

// The outcome of a checked file operation: on failure, why, in words a user
// can act on ("Permission denied", "Is a directory", ...).
struct FileResult {
  bool ok = true;
  Text reason;
  explicit operator bool() const { return ok; }
};

// Reads an existing file whole, without creating it. A pipe or a device is
// refused: it may never end.
FileResult FileRead(const Text& name, Text& content);

// Writes the file whole, reporting why it failed.
FileResult FileWrite(const Text& name, std::string_view text);

// Replaces a file's content so that the file is at every moment either the
// old content or the new, never half written: the new text goes to a
// temporary file in the same folder, which then takes the file's place. When
// backupName is not empty, the previous content is first kept under that name.
// The new file and the backup keep the file's permissions; a symbolic link is
// followed (the link stays); a read-only file is refused, whoever runs this.
FileResult FileReplace(const Text& name, std::string_view text, const Text& backupName = {});

}  // namespace pravel
