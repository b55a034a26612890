#include "text/TextFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace pravel {

namespace fs = std::filesystem;

namespace {

FileResult Failed(Text reason) { return FileResult{false, std::move(reason)}; }
FileResult FailedErrno(int error) { return Failed(std::strerror(error)); }

bool IsDirectory(const Text& name) {
  std::error_code ec;
  return fs::is_directory(fs::path(name), ec);
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

FileResult WriteStream(const Text& name, std::string_view text) {
  errno = 0;
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return IsDirectory(name) ? Failed("it is a folder") : FailedErrno(errno ? errno : EIO);
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

}  // namespace

Text FileReadAll(const Text& name) {
  if (IsDirectory(name)) return {};
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
  errno = 0;
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) return FailedErrno(errno ? errno : ENOENT);
  FileResult result = ReadStream(f, content);
  std::fclose(f);
  return result;
}

FileResult FileWrite(const Text& name, std::string_view text) { return WriteStream(name, text); }

FileResult FileReplace(const Text& name, std::string_view text, const Text& backupName) {
  if (IsDirectory(name)) return Failed("it is a folder");
  std::error_code ec;
  if (fs::exists(fs::path(name), ec)) {
    // A rename would replace even a read-only file; the user marked it so
    // for a reason, so the replacement is refused as a plain write would be.
    errno = 0;
    std::FILE* probe = std::fopen(name.c_str(), "r+b");
    if (!probe) return FailedErrno(errno ? errno : EACCES);
    std::fclose(probe);
  }
  if (!backupName.empty()) {
    Text previous;
    if (fs::exists(fs::path(name), ec)) {
      if (FileResult read = FileRead(name, previous); !read) return Failed("cannot keep a backup: " + read.reason);
      if (FileResult kept = FileReplace(backupName, previous); !kept) {
        return Failed("cannot write the backup " + backupName + ": " + kept.reason);
      }
    }
  }
  const Text temporary = TemporaryNameFor(name);
  if (FileResult written = WriteStream(temporary, text); !written) {
    std::remove(temporary.c_str());
    return written;
  }
  fs::rename(fs::path(temporary), fs::path(name), ec);
  if (ec) {
    std::remove(temporary.c_str());
    return Failed(ec.message());
  }
  return {};
}

}  // namespace pravel
