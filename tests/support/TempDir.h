// A fresh folder for a test, made the current directory while the test runs
// (the program writes its files under bare names there) and removed after.
#pragma once

#include <filesystem>

#include "text/Text.h"

namespace pravel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& Path() const { return path_; }
  Text File(const Text& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_, previous_ = std::filesystem::current_path();
};

// Whole files, read and written past the program's own code.
Text ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const Text& content);
bool FileExists(const std::filesystem::path& path);
// Lines, each followed by CR LF.
Text CrLfLines(std::initializer_list<std::string_view> lines);

}  // namespace pravel::test
