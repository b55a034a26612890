// A fresh folder for a test, made the current directory while the test runs
// (the program writes its files under bare names there) and removed after.
#pragma once

#include <filesystem>
#include <string>

#include "text/Text.h"

namespace pravel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The absolute path of a file in the folder.
  Text File(const Text& name) const;

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// Whole-file helpers for assertions.
Text ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const Text& content);
bool FileExists(const std::filesystem::path& path);

// Joins lines, each followed by CR LF, to write expected file contents.
Text CrLfLines(std::initializer_list<std::string_view> lines);

}  // namespace pravel::test
