// Files and their names.
//
// Files are read in one piece, byte for byte, with no conversion of line
// breaks or encoding. Names are the engine's text; a name without a folder
// refers to the current directory at the moment of the call.
#pragma once

#include <cstdio>
#include <filesystem>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>

#include "text/Text.h"

namespace pravel {

// The outcome of a checked file operation: on failure, why, in words a user
// can act on ("Permission denied", "it is a folder", ...).
struct FileResult {
  bool ok = true;
  Text reason;
  explicit operator bool() const { return ok; }
};
FileResult Failed(Text reason);
FileResult FailedErrno(int error);

// The error_code forms of the file-system functions answer a lack of
// memory with an error code; this throws it as what it is, so that running
// out of memory is never taken for a file that is, or is not, there.
inline void NoMemoryLost(const std::error_code& ec) {
  if (ec == std::errc::not_enough_memory) throw std::bad_alloc();
}

// A name (UTF-8) as the system takes it, and back.
std::filesystem::path PathOf(const Text& name);
Text NameOf(const std::filesystem::path& path);

// The process's current directory; empty if it cannot be told.
Text CurrentDirectory();

// Whether both names stand for one existing file: the same name, a link to
// it, another spelling the file system takes for it (letter case on
// Windows).
bool SameFile(const Text& a, const Text& b);
bool Exists(const Text& name);
// The size of an existing regular file.
std::optional<std::uintmax_t> FileSize(const Text& name);

// What a file was when it was last read or written here: enough to tell
// that another program has written it since.
struct FileStamp {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type time;
};
// The stamp of a file just read or written; nothing when the file cannot
// be found.
std::optional<FileStamp> StampOf(const Text& name);
// Whether the file is there with another size or another time than its
// stamp says. A file that is gone has not changed: nothing of it would be
// replaced.
bool ChangedSince(const Text& name, const FileStamp& stamp);

// The folder of a path made absolute, a path's last part, a name in a folder.
Text FolderOf(const Text& path);
Text FileNameOf(const Text& path);
Text PathIn(const Text& folder, const Text& name);

// Opens an existing file for reading in binary mode; nullptr on failure,
// with errno set.
std::FILE* OpenToRead(const Text& name);

// The template-file read: a missing file is created empty and reads as empty
// text; a file that cannot be opened at all (a folder, no access) also reads
// as empty, and so does a pipe or a device. Nothing is reported.
Text FileReadAll(const Text& name);

// Reads an existing file whole, without creating it. A pipe or a device is
// refused: it may never end.
FileResult FileRead(const Text& name, Text& content);

}  // namespace pravel
