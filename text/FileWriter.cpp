#include "text/FileWriter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace pravel {

namespace {

// Large enough that a system call moves a megabyte, small enough not to
// count against the memory a large build needs.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

}  // namespace

FileWriter::FileWriter(const Text& name) {
  errno = 0;
  file_ = std::fopen(name.c_str(), "wb");
  if (!file_) {
    // Taken before the folder test, which may set errno itself.
    const int openError = errno ? errno : EIO;
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::path(name), ec)) {
      result_ = FileResult{false, "it is a folder"};
    } else {
      Fail(openError);
    }
    return;
  }
  buffer_.reserve(kPieceSize);
}

FileWriter::~FileWriter() {
  if (file_) std::fclose(file_);
}

void FileWriter::Fail(int error) {
  if (result_.ok) result_ = FileResult{false, std::strerror(error)};
}

void FileWriter::Flush() {
  if (file_ && result_.ok && !buffer_.empty()) {
    errno = 0;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) Fail(errno ? errno : EIO);
  }
  buffer_.clear();
}

void FileWriter::Append(std::string_view text) {
  if (!file_ || !result_.ok) return;
  if (buffer_.size() + text.size() > kPieceSize) {
    Flush();
    if (text.size() >= kPieceSize) {
      // A piece this large goes out as it is, without a copy.
      errno = 0;
      if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail(errno ? errno : EIO);
      return;
    }
  }
  buffer_.append(text);
}

FileResult FileWriter::Finish() {
  if (!file_) return result_;
  Flush();
  errno = 0;
  if (std::fflush(file_) != 0) Fail(errno ? errno : EIO);
  errno = 0;
  if (std::fclose(file_) != 0) Fail(errno ? errno : EIO);
  file_ = nullptr;
  return result_;
}

FileResult FileWriteLines(const Text& name, std::span<const Text> lines) {
  FileWriter file(name);
  for (const Text& line : lines) file.AppendLine(line);
  return file.Finish();
}

}  // namespace pravel
