// A fresh folder for a test, made the current directory while the test runs
// (the program writes its files under bare names there) and removed after;
// and whole files, read and written past the program's own code.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "text/Text.h"

namespace pravel::test {

class TempDir {
 public:
  TempDir() {
    std::random_device random;
    do path_ = std::filesystem::temp_directory_path() / ("pravel-test-" + std::to_string(random()));
    while (!std::filesystem::create_directory(path_));
    std::filesystem::current_path(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& Path() const { return path_; }
  Text File(const Text& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_, previous_ = std::filesystem::current_path();
};

inline Text ReadFile(const std::filesystem::path& path) {
  std::ostringstream out;
  out << std::ifstream(path, std::ios::binary).rdbuf();
  return out.str();
}
inline void WriteFile(const std::filesystem::path& path, const Text& content) {
  std::ofstream(path, std::ios::binary) << content;
}
// Lines, each followed by CR LF.
inline Text CrLfLines(std::initializer_list<std::string_view> lines) {
  Text out;
  for (std::string_view line : lines) out.append(line).append("\r\n");
  return out;
}

}  // namespace pravel::test
