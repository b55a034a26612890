#include "app/HeadlessHost.h"

#include <filesystem>
#include <system_error>

#include "text/TextFile.h"

namespace pravel {

HeadlessHost::HeadlessHost(Text definitionPath, Text columns)
    : definitionPath_(std::move(definitionPath)), columns_(std::move(columns)) {}

std::optional<Text> HeadlessHost::ChooseFile(const FileDialog& dialog) {
  if (dialog.save) return std::nullopt;
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(PathOf(definitionPath_), ec);
  return ec ? definitionPath_ : NameOf(full);
}

}  // namespace pravel
