#include "support/TempDir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

namespace pravel::test {

namespace fs = std::filesystem;

TempDir::TempDir() : previous_(fs::current_path()) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() /
          ("pravel-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(path_);
  fs::current_path(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

Text TempDir::File(const Text& name) const { return (path_ / name).string(); }

Text ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const fs::path& path, const Text& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

bool FileExists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

Text CrLfLines(std::initializer_list<std::string_view> lines) {
  Text out;
  for (std::string_view line : lines) {
    out.append(line);
    out.append("\r\n");
  }
  return out;
}

}  // namespace pravel::test
