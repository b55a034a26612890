#include "text/FileWriter.h"

#include <dirent.h>
#include <fcntl.h>

#include <cerrno>
#include <memory>
#include <random>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pravel {

namespace fs = std::filesystem;

namespace {

// Large enough that a system call moves a megabyte, small enough not to
// count against the memory a large build needs.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

// Temporaries are named "<target>.pravel-tmp-" and eight letters or digits.
constexpr std::string_view kTemporaryMark = ".pravel-tmp-";
constexpr std::string_view kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLength = 8;

Text RandomPart() {
  static std::random_device system;
  Text part(kRandomLength, ' ');
  for (char& c : part) c = kNameLetters[system() % kNameLetters.size()];
  return part;
}

bool IsTemporaryOf(std::string_view fileName, std::string_view targetName) {
  const std::size_t prefix = targetName.size() + kTemporaryMark.size();
  if (fileName.size() != prefix + kRandomLength || !fileName.starts_with(targetName) ||
      fileName.compare(targetName.size(), kTemporaryMark.size(), kTemporaryMark) != 0) {
    return false;
  }
  return fileName.find_first_not_of(kNameLetters, prefix) == std::string_view::npos;
}

// The temporaries of the target in its folder. The folder is read with the
// system's own calls: the standard library's directory iterator allocates
// where it may not throw, so running out of memory there would end the
// process without a word.
std::vector<fs::path> TemporariesOf(const fs::path& target) {
  const Text targetName = NameOf(target.filename());
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::vector<fs::path> found;
#ifdef _WIN32
  const std::unique_ptr<_WDIR, int (*)(_WDIR*)> dir(_wopendir(folder.c_str()), _wclosedir);
  if (!dir) return found;
  while (const _wdirent* entry = _wreaddir(dir.get())) {
    const fs::path name(entry->d_name);
    if (IsTemporaryOf(NameOf(name), targetName)) found.push_back(folder / name);
  }
#else
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return found;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (IsTemporaryOf(entry->d_name, targetName)) found.push_back(folder / entry->d_name);
  }
#endif
  return found;
}

// A temporary that a killed run left beside the target. Only the writer's
// own kind of file goes: a regular file of this pattern that belongs to the
// user running the program; a link or anyone else's file stays.
void RemoveStrayTemporaries(const Text& target) {
  for (const fs::path& stray : TemporariesOf(PathOf(target))) {
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(stray, ec))) continue;
#else
    struct stat info {};
    if (::lstat(stray.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
#endif
    std::error_code removed;
    fs::remove(stray, removed);
  }
}

// Creates the file, failing if anything (a link too) has the name already.
int CreateExclusively(const fs::path& path) {
#ifdef _WIN32
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
#else
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
#endif
}

bool WriteAll(int fd, std::string_view bytes, int& error) {
  while (!bytes.empty()) {
#ifdef _WIN32
    const unsigned piece = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1u << 30));
    const int wrote = _write(fd, bytes.data(), piece);
#else
    const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
#endif
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      error = wrote < 0 && errno ? errno : EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(wrote));
  }
  return true;
}

// The file a name stands for. A symbolic link is followed, so that the new
// text lands in the file it points at and the link stays a link; renaming
// over the link itself would cut it off from that file.
Text ReplaceTarget(const Text& name) {
  std::error_code ec;
  const bool link = fs::is_symlink(PathOf(name), ec);
  NoMemoryLost(ec);
  if (!link) return name;
  const fs::path target = fs::weakly_canonical(PathOf(name), ec);
  NoMemoryLost(ec);
  return ec ? name : NameOf(target);
}

bool HasWriteBit(fs::perms permissions) {
  return (permissions & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) != fs::perms::none;
}

#ifdef _WIN32
// Whether another program holds the file open without letting it be
// renamed: replacing it would then fail half way, and a second name made
// for it could not be removed again.
bool InUseByAnotherProgram(const Text& name) {
  HANDLE file = CreateFileW(PathOf(name).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
  }
  CloseHandle(file);
  return false;
}
#endif

constexpr const char* kInUse = "it is in use by another program";

// Why a rename failed, in words a user reads.
Text ReasonOf(const std::error_code& error) {
#ifdef _WIN32
  if (error.category() == std::system_category() && (error.value() == 32 || error.value() == 33)) return kInUse;
#endif
  if (error == std::errc::device_or_resource_busy || error == std::errc::text_file_busy) return kInUse;
  return error.message();
}

// Whether an existing file may be replaced. A rename would replace even a
// read-only file, and an administrator may write to one anyway; the user
// marked it read-only for a reason, so the replacement is refused whoever
// runs the program. A file the user may not write is not replaced either.
FileResult CheckReplaceable(const Text& target, const fs::file_status& status) {
  if (fs::is_directory(status)) return Failed("it is a folder");
  if (!fs::is_regular_file(status)) return Failed("it is not a regular file");
  if (!HasWriteBit(status.permissions())) return Failed("it is read-only");
#ifdef _WIN32
  if (_waccess(PathOf(target).c_str(), 2) != 0) return FailedErrno(errno ? errno : EACCES);
  if (InUseByAnotherProgram(target)) return Failed(kInUse);
#else
  // Opened, not truncated: the check runs with the rights the rename will
  // run with, which access() would not.
  const int probe = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (probe < 0) return FailedErrno(errno ? errno : EACCES);
  ::close(probe);
#endif
  return {};
}

fs::perms NewFilePermissions() {
#ifdef _WIN32
  return fs::perms::owner_read | fs::perms::owner_write;
#else
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<fs::perms>(0666 & ~mask);
#endif
}

// Asks the system to put what was written to the file on the disk.
bool SyncFile(int fd) {
#ifdef _WIN32
  return _commit(fd) == 0;
#else
  return ::fsync(fd) == 0;
#endif
}

// Makes a rename into the folder last through a power cut. Where a file
// system cannot sync a folder the rename stands as the system keeps it.
void SyncFolder(const fs::path& file) {
#ifndef _WIN32
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
#else
  (void)file;
#endif
}

// Gives the file the target's place; on the disk before it returns when
// asked (on Windows the move itself writes through).
void Rename(const fs::path& from, const fs::path& to, bool onDisk, std::error_code& ec) {
#ifdef _WIN32
  if (onDisk) {
    ec.clear();
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      ec = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    }
    return;
  }
#endif
  fs::rename(from, to, ec);
  if (!ec && onDisk) SyncFolder(to);
}

// Keeps the target's content under backupName: a second name for the same
// file, made beside the backup and renamed over it, or, where the system
// has no second names, a copy written the same way.
FileResult KeepBackup(const Text& target, const Text& backupName, fs::perms permissions, bool onDisk) {
  const Text backupTarget = ReplaceTarget(backupName);
  std::error_code ec;
  const fs::file_status status = fs::status(PathOf(backupTarget), ec);
  NoMemoryLost(ec);
  if (fs::exists(status)) {
    if (FileResult replaceable = CheckReplaceable(backupTarget, status); !replaceable) {
      return Failed("cannot write the backup " + backupName + ": " + replaceable.reason);
    }
  }
  RemoveStrayTemporaries(backupTarget);
  const fs::path original = PathOf(target);
  const fs::path backup = PathOf(backupTarget);
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Named before it is made: nothing may run out of memory between
    // making the second name and giving it the backup's place.
    const fs::path linked = PathOf(backupTarget + Text(kTemporaryMark) + RandomPart());
    std::error_code made;
    fs::create_hard_link(original, linked, made);
    NoMemoryLost(made);
    if (made == std::errc::file_exists) continue;
    if (made) break;  // no second names here: copied below
    Rename(linked, backup, onDisk, made);
    if (!made) return {};
    fs::remove(linked, ec);
    return Failed("cannot write the backup " + backupName + ": " + ReasonOf(made));
  }
  std::FILE* from = OpenToRead(target);
  if (!from) return Failed("cannot keep a backup: " + FailedErrno(errno ? errno : ENOENT).reason);
  FileWriter copy(backupTarget, permissions);
  std::vector<char> piece(kPieceSize);
  for (;;) {
    const std::size_t got = std::fread(piece.data(), 1, piece.size(), from);
    copy.Append(std::string_view(piece.data(), got));
    if (got < piece.size()) break;
  }
  const bool readFailed = std::ferror(from) != 0;
  std::fclose(from);
  if (readFailed) return Failed("cannot keep a backup: read error");
  if (FileResult copied = copy.Finish({.onDisk = onDisk}); !copied) {
    return Failed("cannot write the backup " + backupName + ": " + copied.reason);
  }
  return {};
}

}  // namespace

FileWriter::FileWriter(const Text& name, std::optional<fs::perms> permissions) : target_(ReplaceTarget(name)) {
  std::error_code ec;
  const fs::file_status status = fs::status(PathOf(target_), ec);
  NoMemoryLost(ec);
  if (fs::exists(status)) {
    if (FileResult replaceable = CheckReplaceable(target_, status); !replaceable) {
      result_ = replaceable;
      return;
    }
  }
  permissions_ = permissions ? *permissions : fs::exists(status) ? status.permissions() : NewFilePermissions();
  RemoveStrayTemporaries(target_);
  // Everything that may run out of memory comes before the temporary is
  // made: from then on nothing may throw until the destructor can remove it.
  buffer_.reserve(kPieceSize);
  // A name in the same folder as the target, so that the final rename never
  // crosses file systems; another is tried when something has this one.
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path temporary = PathOf(target_ + Text(kTemporaryMark) + RandomPart());
    errno = 0;
    fd_ = CreateExclusively(temporary);
    if (fd_ >= 0) {
      temporary_ = std::move(temporary);
      return;
    }
    if (errno != EEXIST) break;
  }
  result_ = FailedErrno(errno ? errno : EIO);
}

FileWriter::~FileWriter() { Discard(); }

void FileWriter::Discard() {
  if (fd_ >= 0) {
#ifdef _WIN32
    _close(fd_);
#else
    ::close(fd_);
#endif
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    std::error_code ec;
    fs::remove(temporary_, ec);
    temporary_.clear();
  }
}

void FileWriter::Fail(FileResult why) {
  if (result_.ok) result_ = std::move(why);
}

void FileWriter::Flush() {
  int error = 0;
  if (fd_ >= 0 && result_.ok && !buffer_.empty() && !WriteAll(fd_, buffer_, error)) Fail(FailedErrno(error));
  buffer_.clear();
}

void FileWriter::Append(std::string_view text) {
  if (fd_ < 0 || !result_.ok) return;
  if (buffer_.size() + text.size() > kPieceSize) {
    Flush();
    if (text.size() >= kPieceSize) {
      // A piece this large goes out as it is, without a copy.
      int error = 0;
      if (!WriteAll(fd_, text, error)) Fail(FailedErrno(error));
      return;
    }
  }
  buffer_.append(text);
}

FileResult FileWriter::Finish(const WriteOptions& options) {
  if (fd_ < 0) return result_;
  Flush();
  if (result_.ok && options.onDisk && !SyncFile(fd_)) Fail(FailedErrno(errno ? errno : EIO));
#ifdef _WIN32
  const bool closed = _close(fd_) == 0;
#else
  // The final permissions are set before the file takes the target's place;
  // until then only its owner may open it.
  if (result_.ok && ::fchmod(fd_, static_cast<mode_t>(permissions_)) != 0) Fail(FailedErrno(errno));
  const bool closed = ::close(fd_) == 0;
#endif
  const int closeError = errno;
  fd_ = -1;
  if (!closed) Fail(FailedErrno(closeError ? closeError : EIO));
  std::error_code ec;
  if (result_.ok && !options.backupName.empty() && Exists(target_)) {
    if (FileResult kept = KeepBackup(target_, options.backupName, permissions_, options.onDisk); !kept) Fail(kept);
  }
  if (result_.ok) {
    Rename(temporary_, PathOf(target_), options.onDisk, ec);
    NoMemoryLost(ec);
    if (ec) {
      Fail(Failed(ReasonOf(ec)));
    } else {
      temporary_.clear();
    }
  }
  Discard();
  return result_;
}

FileResult FileWriteText(const Text& name, std::string_view text, const WriteOptions& options) {
  FileWriter file(name);
  file.Append(text);
  return file.Finish(options);
}

FileResult FileWriteLines(const Text& name, std::span<const Text> lines) {
  FileWriter file(name);
  for (const Text& line : lines) file.AppendLine(line);
  return file.Finish();
}

FileResult CanCreateFileIn(const Text& folder) {
#ifndef _WIN32
  // A folder without write permission is refused whoever runs the program,
  // as a read-only file is: an administrator could write there all the same.
  std::error_code ec;
  const fs::file_status status = fs::status(PathOf(folder), ec);
  NoMemoryLost(ec);
  if (fs::is_directory(status) && !HasWriteBit(status.permissions())) return Failed("it is read-only");
#endif
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path probe = PathOf(PathIn(folder, Text(kTemporaryMark) + RandomPart()));
    errno = 0;
    const int fd = CreateExclusively(probe);
    if (fd >= 0) {
#ifdef _WIN32
      _close(fd);
#else
      ::close(fd);
#endif
      std::error_code ec;
      fs::remove(probe, ec);
      return {};
    }
    if (errno != EEXIST) break;
  }
  return FailedErrno(errno ? errno : EIO);
}

Text WriteFailure(const Text& name, const FileResult& result) {
  return "Could not write " + name + ": " + result.reason + ".";
}

}  // namespace pravel
