#include "text/TextFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace pravel {

namespace fs = std::filesystem;

namespace {

FileResult Failed(Text reason) { return FileResult{false, std::move(reason)}; }
FileResult FailedErrno(int error) { return Failed(std::strerror(error)); }

bool IsDirectory(const Text& name) {
  std::error_code ec;
  return fs::is_directory(fs::path(name), ec);
}

// Something that exists under the name but is neither a file nor a folder:
// a pipe, a device, a socket. Reading a pipe waits for a writer that may
// never come, and a device such as /dev/zero never ends, so none of them is
// read as a text.
bool IsSpecial(const Text& name) {
  std::error_code ec;
  const fs::file_status status = fs::status(fs::path(name), ec);
  return !ec && fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

// Reads an open stream to its end.
FileResult ReadStream(std::FILE* f, Text& content) {
  content.clear();
  char buffer[1 << 16];
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    if (size > 0) content.reserve(static_cast<std::size_t>(size));
    std::rewind(f);
  }
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, f);
    content.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(f)) return Failed("read error");
  return {};
}

// Writes the file whole. With `permissions`, the file gets them before any
// byte is written, so a private text is never readable by others, not even
// for a moment.
FileResult WriteStream(const Text& name, std::string_view text, std::optional<fs::perms> permissions = {}) {
  errno = 0;
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) {
    // Taken before the folder test, which may set errno itself.
    const int openError = errno ? errno : EIO;
    return IsDirectory(name) ? Failed("it is a folder") : FailedErrno(openError);
  }
  if (permissions) {
    std::error_code ec;
    fs::permissions(fs::path(name), *permissions, ec);
  }
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  const int writeError = errno;
  const bool flushed = std::fflush(f) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written) return FailedErrno(writeError ? writeError : EIO);
  if (!flushed || !closed) return FailedErrno(flushError ? flushError : EIO);
  return {};
}

// A name in the same folder as the target, so that the final rename never
// crosses file systems.
Text TemporaryNameFor(const Text& name) {
  static std::atomic<unsigned> counter{0};
  return name + ".pravel-tmp" + std::to_string(counter++);
}

// The file a name stands for. A symbolic link is followed, so that the new
// text lands in the file it points at and the link stays a link; renaming
// over the link itself would cut it off from that file.
Text ReplaceTarget(const Text& name) {
  std::error_code ec;
  if (!fs::is_symlink(fs::path(name), ec)) return name;
  const fs::path target = fs::weakly_canonical(fs::path(name), ec);
  return ec ? name : target.string();
}

bool HasWriteBit(fs::perms permissions) {
  return (permissions & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) !=
         fs::perms::none;
}

// Whether an existing file may be replaced. A rename would replace even a
// read-only file, and an administrator may write to one anyway; the user
// marked it read-only for a reason, so the replacement is refused whoever
// runs the program.
FileResult CheckReplaceable(const Text& target, const fs::file_status& status) {
  if (fs::is_directory(status)) return Failed("it is a folder");
  if (!fs::is_regular_file(status)) return Failed("it is not a regular file");
  if (!HasWriteBit(status.permissions())) return Failed("it is read-only");
  errno = 0;
  std::FILE* probe = std::fopen(target.c_str(), "r+b");
  if (!probe) return FailedErrno(errno ? errno : EACCES);
  std::fclose(probe);
  return {};
}

// Writes the text to a temporary file beside the target and renames it over
// the target. The new file keeps the target's permissions (or the given
// ones): a rewrite must not make a private file readable by others.
FileResult ReplaceWhole(const Text& target, std::string_view text, std::optional<fs::perms> permissions) {
  std::error_code ec;
  const fs::file_status status = fs::status(fs::path(target), ec);
  if (fs::exists(status)) {
    if (FileResult replaceable = CheckReplaceable(target, status); !replaceable) return replaceable;
    if (!permissions) permissions = status.permissions();
  }
  const Text temporary = TemporaryNameFor(target);
  if (FileResult written = WriteStream(temporary, text, permissions); !written) {
    std::remove(temporary.c_str());
    return written;
  }
  fs::rename(fs::path(temporary), fs::path(target), ec);
  if (ec) {
    std::remove(temporary.c_str());
    return Failed(ec.message());
  }
  return {};
}

// Writes a copy of an open file, a piece at a time, so that copying a large
// file needs no room for all of it; the permissions are set before any byte
// is written, as WriteStream does. `readFailed` tells a failure to read the
// original from one to write the copy.
FileResult CopyStream(const Text& name, std::FILE* from, fs::perms permissions, bool& readFailed) {
  readFailed = false;
  errno = 0;
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) {
    const int openError = errno ? errno : EIO;
    return IsDirectory(name) ? Failed("it is a folder") : FailedErrno(openError);
  }
  std::error_code ec;
  fs::permissions(fs::path(name), permissions, ec);
  std::vector<char> piece(std::size_t{1} << 20);
  bool written = true;
  int writeError = 0;
  for (;;) {
    const std::size_t got = std::fread(piece.data(), 1, piece.size(), from);
    errno = 0;
    if (got > 0 && std::fwrite(piece.data(), 1, got, f) != got) {
      written = false;
      writeError = errno;
      break;
    }
    if (got < piece.size()) {
      readFailed = std::ferror(from) != 0;
      break;
    }
  }
  errno = 0;
  const bool flushed = std::fflush(f) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(f) == 0;
  if (readFailed) return Failed("read error");
  if (!written) return FailedErrno(writeError ? writeError : EIO);
  if (!flushed || !closed) return FailedErrno(flushError ? flushError : EIO);
  return {};
}

// Keeps the file's content under backupName: copied into a temporary file
// beside the backup, which then takes the backup's place, with the file's
// permissions. The message says whether the file could not be read or the
// backup not written.
FileResult KeepBackup(const Text& target, const Text& backupName, fs::perms permissions) {
  errno = 0;
  std::FILE* from = std::fopen(target.c_str(), "rb");
  if (!from) return Failed("cannot keep a backup: " + Text(std::strerror(errno ? errno : ENOENT)));
  const Text backupTarget = ReplaceTarget(backupName);
  std::error_code ec;
  const fs::file_status status = fs::status(fs::path(backupTarget), ec);
  FileResult result;
  bool readFailed = false;
  if (fs::exists(status)) result = CheckReplaceable(backupTarget, status);
  if (result) {
    const Text temporary = TemporaryNameFor(backupTarget);
    result = CopyStream(temporary, from, permissions, readFailed);
    if (result) {
      fs::rename(fs::path(temporary), fs::path(backupTarget), ec);
      if (ec) result = Failed(ec.message());
    }
    if (!result) std::remove(temporary.c_str());
  }
  std::fclose(from);
  if (result) return {};
  return Failed(readFailed ? "cannot keep a backup: " + result.reason
                           : "cannot write the backup " + backupName + ": " + result.reason);
}

}  // namespace

Text CurrentDirectory() {
  std::error_code ec;
  const fs::path dir = fs::current_path(ec);
  return ec ? Text() : dir.string();
}

bool SameFile(const Text& a, const Text& b) {
  std::error_code ec;
  return fs::equivalent(fs::path(a), fs::path(b), ec) && !ec;
}

Text FolderOf(const Text& path) {
  std::error_code ec;
  const fs::path full = fs::absolute(fs::path(path), ec);
  return ec ? Text() : full.parent_path().string();
}

Text FileNameOf(const Text& path) { return fs::path(path).filename().string(); }

Text PathIn(const Text& folder, const Text& name) { return (fs::path(folder) / fs::path(name)).string(); }

Text FileReadAll(const Text& name) {
  if (IsDirectory(name) || IsSpecial(name)) return {};
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) {
    // Opening for reading creates a missing file, as the program has always
    // done for its template files.
    if (std::FILE* created = std::fopen(name.c_str(), "ab")) std::fclose(created);
    return {};
  }
  Text content;
  ReadStream(f, content);
  std::fclose(f);
  return content;
}

bool FileWriteAll(const Text& name, std::string_view text) { return WriteStream(name, text).ok; }

FileResult FileRead(const Text& name, Text& content) {
  content.clear();
  if (IsDirectory(name)) return Failed("it is a folder");
  if (IsSpecial(name)) return Failed("it is not a regular file");
  errno = 0;
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) return FailedErrno(errno ? errno : ENOENT);
  FileResult result = ReadStream(f, content);
  std::fclose(f);
  return result;
}

FileResult FileWrite(const Text& name, std::string_view text) { return WriteStream(name, text); }

FileResult FileReplace(const Text& name, std::string_view text, const Text& backupName) {
  const Text target = ReplaceTarget(name);
  std::error_code ec;
  const fs::file_status status = fs::status(fs::path(target), ec);
  if (fs::is_directory(status)) return Failed("it is a folder");
  if (!backupName.empty() && fs::exists(status)) {
    // No backup is made for a rewrite that cannot happen.
    if (FileResult replaceable = CheckReplaceable(target, status); !replaceable) return replaceable;
    if (FileResult kept = KeepBackup(target, backupName, status.permissions()); !kept) return kept;
  }
  return ReplaceWhole(target, text, std::nullopt);
}

}  // namespace pravel
