#include "GuiSetup.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "Files.h"

namespace pravel::gui {

namespace {

GuiPaths paths;
int screenshotCount = 0;

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : WindowsPath(value);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool SetDefaultValue(HKEY root, const std::string& key, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LSTATUS status = RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

bool SetNamedValue(HKEY root, const std::string& key, const char* name, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LSTATUS status = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

// Pages and Internet shortcuts open with the recorder in this prefix: the
// program's show requests are written down and no browser starts.
bool AssociateWithRecorder() {
  const std::string command = "\"" + paths.recorder + "\" \"" + paths.showLog + "\" \"%1\"";
  bool ok = true;
  for (const char* extension : {".html", ".htm"}) ok &= SetDefaultValue(HKEY_CLASSES_ROOT, extension, "PravelTestPage");
  ok &= SetDefaultValue(HKEY_CLASSES_ROOT, ".url", "PravelTestShortcut");
  for (const char* type : {"PravelTestPage", "PravelTestShortcut"}) {
    ok &= SetDefaultValue(HKEY_CLASSES_ROOT, std::string(type) + "\\shell\\open\\command", command);
  }
  // Should anything still reach Wine's browser launcher, it starts nothing
  // that could outlive the run (a Linux browser is no Wine process).
  ok &= SetNamedValue(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers", "true");
  return ok;
}

bool UseOwnDesktop() {
  // A size for the desktop's name makes Wine's explorer show it as a virtual
  // desktop window on the display.
  if (!SetNamedValue(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", kDesktopName, "1024x768")) return false;
  HDESK desktop = CreateDesktopA(kDesktopName, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  return desktop != nullptr && SetThreadDesktop(desktop);
}

}  // namespace

const GuiPaths& Paths() { return paths; }

std::string NextScreenshotPath(const std::string& step) {
  char number[16];
  std::snprintf(number, sizeof number, "%02d-", ++screenshotCount);
  return JoinPath(paths.screenshots, number + step + ".png");
}

void GuiSetup::SetUp() {
  paths.program = FromEnvironment("PRAVEL_GUI_PROGRAM");
  paths.programDir = FolderOf(paths.program);
  paths.cli = FromEnvironment("PRAVEL_GUI_CLI");
  if (!paths.cli.empty() && !FileExists(paths.cli)) paths.cli.clear();
  paths.recorder = FromEnvironment("PRAVEL_GUI_RECORDER");
  paths.data = FromEnvironment("PRAVEL_GUI_DATA");
  paths.output = FromEnvironment("PRAVEL_GUI_OUTPUT");
  paths.screenshots = FromEnvironment("PRAVEL_GUI_SCREENSHOTS");
  paths.showLog = JoinPath(paths.output, "shown.log");

  ASSERT_TRUE(FileExists(paths.program)) << "PRAVEL_GUI_PROGRAM does not name Pravel.exe: " << paths.program;
  ASSERT_TRUE(FileExists(paths.recorder)) << "PRAVEL_GUI_RECORDER is missing: " << paths.recorder;
  ASSERT_FALSE(paths.data.empty()) << "PRAVEL_GUI_DATA is not set";
  // The output folder also holds the script's logs: only the work folders
  // and the screenshots start afresh.
  ASSERT_TRUE(RecreateFolder(JoinPath(paths.output, "work"))) << "cannot make the work folders in " << paths.output;
  RemoveFile(paths.showLog);
  ASSERT_TRUE(RecreateFolder(paths.screenshots)) << "cannot make " << paths.screenshots;
  ASSERT_TRUE(UseOwnDesktop()) << "cannot create the desktop " << kDesktopName;
  ASSERT_TRUE(AssociateWithRecorder()) << "cannot register the browser stand-in";
  encoder_ = std::make_unique<PngEncoder>();
}

void GuiSetup::TearDown() { encoder_.reset(); }

}  // namespace pravel::gui
