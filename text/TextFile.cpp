#include "text/TextFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "text/FileWriter.h"

namespace pravel {

namespace fs = std::filesystem;

namespace {

// What is under the name, through links; a status that cannot be had reads
// as nothing there.
fs::file_status StatusOf(const Text& name) {
  std::error_code ec;
  const fs::file_status status = fs::status(PathOf(name), ec);
  NoMemoryLost(ec);
  return status;
}

// Something that exists under the name but is neither a file nor a folder:
// a pipe, a device, a socket. Reading a pipe waits for a writer that may
// never come, and a device such as /dev/zero never ends, so none of them is
// read as a text.
bool IsSpecial(const fs::file_status& status) {
  return fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
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

}  // namespace

FileResult Failed(Text reason) { return FileResult{false, std::move(reason)}; }
FileResult FailedErrno(int error) { return Failed(std::strerror(error)); }

// Names are UTF-8 everywhere in the engine; Windows names files in UTF-16,
// so a name is converted where it meets the system, not in the ANSI code
// page, which cannot hold every name.
fs::path PathOf(const Text& name) {
#ifdef _WIN32
  return fs::path(std::u8string(name.begin(), name.end()));
#else
  return fs::path(name);
#endif
}

Text NameOf(const fs::path& path) {
#ifdef _WIN32
  const std::u8string name = path.u8string();
  return Text(name.begin(), name.end());
#else
  return path.string();
#endif
}

Text CurrentDirectory() {
  std::error_code ec;
  const fs::path dir = fs::current_path(ec);
  NoMemoryLost(ec);
  return ec ? Text() : NameOf(dir);
}

bool SameFile(const Text& a, const Text& b) {
  std::error_code ec;
  const bool same = fs::equivalent(PathOf(a), PathOf(b), ec);
  NoMemoryLost(ec);
  return same && !ec;
}

bool Exists(const Text& name) {
  std::error_code ec;
  const bool exists = fs::exists(PathOf(name), ec);
  NoMemoryLost(ec);
  return exists;
}

std::optional<FileStamp> StampOf(const Text& name) {
  std::error_code ec;
  const fs::path path = PathOf(name);
  const std::uintmax_t size = fs::file_size(path, ec);
  NoMemoryLost(ec);
  if (ec) return std::nullopt;
  const fs::file_time_type time = fs::last_write_time(path, ec);
  NoMemoryLost(ec);
  if (ec) return std::nullopt;
  return FileStamp{size, time};
}

bool ChangedSince(const Text& name, const FileStamp& stamp) {
  std::error_code ec;
  const fs::path path = PathOf(name);
  const std::uintmax_t size = fs::file_size(path, ec);
  NoMemoryLost(ec);
  if (ec) return false;
  if (size != stamp.size) return true;
  const fs::file_time_type time = fs::last_write_time(path, ec);
  NoMemoryLost(ec);
  return !ec && time != stamp.time;
}

std::optional<std::uintmax_t> FileSize(const Text& name) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(PathOf(name), ec);
  NoMemoryLost(ec);
  if (ec) return std::nullopt;
  return size;
}

Text FolderOf(const Text& path) {
  std::error_code ec;
  const fs::path full = fs::absolute(PathOf(path), ec);
  NoMemoryLost(ec);
  return ec ? Text() : NameOf(full.parent_path());
}

Text FileNameOf(const Text& path) { return NameOf(PathOf(path).filename()); }

Text PathIn(const Text& folder, const Text& name) { return NameOf(PathOf(folder) / PathOf(name)); }

std::FILE* OpenToRead(const Text& name) {
#ifdef _WIN32
  return _wfopen(PathOf(name).c_str(), L"rb");
#else
  return std::fopen(name.c_str(), "rb");
#endif
}

Text FileReadAll(const Text& name) {
  const fs::file_status status = StatusOf(name);
  if (fs::is_directory(status) || IsSpecial(status)) return {};
  std::FILE* f = OpenToRead(name);
  if (!f) {
    // Reading creates a missing file, as the program has always done for
    // its template files.
    if (!fs::exists(status)) FileWriteText(name, "");
    return {};
  }
  Text content;
  ReadStream(f, content);
  std::fclose(f);
  return content;
}

FileResult FileRead(const Text& name, Text& content) {
  content.clear();
  const fs::file_status status = StatusOf(name);
  if (fs::is_directory(status)) return Failed("it is a folder");
  if (IsSpecial(status)) return Failed("it is not a regular file");
  errno = 0;
  std::FILE* f = OpenToRead(name);
  if (!f) return FailedErrno(errno ? errno : ENOENT);
  FileResult result = ReadStream(f, content);
  std::fclose(f);
  return result;
}

}  // namespace pravel
