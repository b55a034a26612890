#include "support/TempDir.h"

#include <fstream>
#include <random>
#include <sstream>

namespace pravel::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device random;
  do path_ = fs::temp_directory_path() / ("pravel-test-" + std::to_string(random()));
  while (!fs::create_directory(path_));
  fs::current_path(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

Text ReadFile(const fs::path& path) {
  std::ostringstream out;
  out << std::ifstream(path, std::ios::binary).rdbuf();
  return out.str();
}

void WriteFile(const fs::path& path, const Text& content) { std::ofstream(path, std::ios::binary) << content; }

bool FileExists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

Text CrLfLines(std::initializer_list<std::string_view> lines) {
  Text out;
  for (std::string_view line : lines) out.append(line).append("\r\n");
  return out;
}

}  // namespace pravel::test
