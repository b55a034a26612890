#include "app/HeadlessHost.h"

#include <filesystem>
#include <system_error>

namespace pravel {

HeadlessHost::HeadlessHost(Text definitionPath, Text columns)
    : definitionPath_(std::move(definitionPath)), columns_(std::move(columns)) {}

std::optional<Text> HeadlessHost::ChooseFile(const FileDialog& dialog) {
  if (dialog.save) return std::nullopt;
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(definitionPath_), ec);
  return ec ? definitionPath_ : full.string();
}

}  // namespace pravel
