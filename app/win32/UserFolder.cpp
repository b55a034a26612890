#include "app/win32/UserFolder.h"

#include <knownfolders.h>

#include <filesystem>

#include "app/PravelFiles.h"
#include "app/win32/Encoding.h"
#include "app/win32/Win32Host.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

namespace pravel::win32 {

namespace {

// The installer's entry (packaging/nsis), read back here.
constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pravel";

// What a new user finds in the folder: a definition that builds a working
// page with the templates beside it.
constexpr const char* kExampleFiles[] = {"Pravel_Input.txt", kPageTemplateName, kHeaderFileName, kTableHeaderFileName,
                                         kTrailerFileName};

}  // namespace

bool RunsInstalled() {
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation", RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  std::wstring location(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(location.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation", RRF_RT_REG_SZ, nullptr, location.data(),
                   &size) != ERROR_SUCCESS) {
    return false;
  }
  location.resize(location.find(L'\0'));
  const Text program = ProgramFolder();
  return !location.empty() && !program.empty() && SameFile(Narrow(location), program);
}

UserFolder PrepareUserFolder(const SystemLibraries& libraries) {
  wchar_t* documents = nullptr;
  if (libraries.SHGetKnownFolderPath == nullptr || libraries.CoTaskMemFree == nullptr ||
      FAILED(libraries.SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &documents))) {
    if (documents != nullptr) libraries.CoTaskMemFree(documents);
    return {{}, "the Documents folder cannot be found"};
  }
  const Text folder = PathIn(Narrow(documents), "Pravel");
  libraries.CoTaskMemFree(documents);
  std::error_code ec;
  std::filesystem::create_directories(PathOf(folder), ec);
  NoMemoryLost(ec);
  if (!std::filesystem::is_directory(PathOf(folder), ec)) {
    return {{}, folder + ": " + (ec ? ec.message() : Text("not a folder"))};
  }
  const Text beside = ProgramFolder();
  for (const char* name : kExampleFiles) {
    const Text target = PathIn(folder, name);
    Text content;
    if (Exists(target) || !FileRead(PathIn(beside, name), content)) continue;
    FileWriteText(target, content);
  }
  return {folder, {}};
}

}  // namespace pravel::win32
