// The installer as a user takes it, under Wine, in a prefix and a home of
// the test's own: a silent install, Pravel started from its Start-menu
// shortcut and driven by keys, a second install while it runs, a silent
// uninstall. Run alone (--gtest_filter=Installer.*) by the "installer" test.
#include <objbase.h>
#include <shlobj.h>
// After windows.h (GuiApp.h), which they need.
#include <knownfolders.h>
#include <shobjidl.h>

#include <map>

#include "GuiApp.h"

namespace pravel::gui {
namespace {

constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pravel";

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

std::wstring UninstallValue(const wchar_t* name) {
  wchar_t value[2048]{};
  DWORD size = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS
             ? value
             : L"";
}

// The files of a folder with their sizes and times: what "unchanged" means.
using Listing = std::map<std::wstring, std::pair<std::uintmax_t, std::filesystem::file_time_type>>;
Listing ListFolder(const std::wstring& folder) {
  Listing files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    files[entry.path().filename().wstring()] = {entry.file_size(ec), entry.last_write_time(ec)};
  }
  return files;
}
// The names of the files made, changed or removed since.
std::string Changes(const Listing& before, const Listing& after) {
  std::string names;
  for (const auto& [name, stamp] : after) {
    if (!before.contains(name) || before.at(name) != stamp) names += " " + Narrow(name);
  }
  for (const auto& [name, stamp] : before) {
    if (!after.contains(name)) names += " " + Narrow(name) + " (removed)";
  }
  return names;
}

// A program run with no window to its end; its exit code.
DWORD RunToEnd(const std::wstring& program, const std::wstring& arguments) {
  const PROCESS_INFORMATION process = Launch(program, arguments, Setting("PRAVEL_GUI_OUTPUT"), nullptr);
  const DWORD code = ExitCode(process.hProcess, 180000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

// What the shell starts for a shortcut: the program, its arguments and the
// folder it starts in.
struct Shortcut {
  std::wstring target, arguments, folder;
};
std::optional<Shortcut> ReadShortcut(const std::wstring& path) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return std::nullopt;
  }
  std::optional<Shortcut> shortcut;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
      wchar_t target[MAX_PATH]{}, arguments[1024]{}, folder[MAX_PATH]{};
      link->GetPath(target, MAX_PATH, nullptr, 0);
      link->GetArguments(arguments, 1024);
      link->GetWorkingDirectory(folder, MAX_PATH);
      shortcut = Shortcut{target, arguments, folder};
    }
    file->Release();
  }
  link->Release();
  return shortcut;
}

TEST(Installer, InstallsForTheUserWorksInDocumentsAndUninstallsCleanly) {
  CoInitialize(nullptr);
  const std::wstring setup = Setting("PRAVEL_GUI_INSTALLER");
  ASSERT_EQ(RunToEnd(setup, L"/S"), 0u);

  const std::wstring program = UninstallValue(L"InstallLocation");
  EXPECT_EQ(program, KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Pravel");
  // The Apps entry: everything Settings shows or runs is there.
  for (const wchar_t* name :
       {L"DisplayName", L"DisplayVersion", L"Publisher", L"DisplayIcon", L"UninstallString", L"QuietUninstallString",
        L"InstallLocation", L"EstimatedSize", L"NoModify", L"NoRepair"}) {
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_SUCCESS)
        << Narrow(name);
  }
  const std::wstring startMenuLink = KnownFolder(FOLDERID_Programs) + L"\\Pravel.lnk";
  const std::optional<Shortcut> shortcut = ReadShortcut(startMenuLink);
  ASSERT_TRUE(shortcut) << Narrow(startMenuLink);
  EXPECT_EQ(shortcut->target, program + L"\\Pravel.exe");
  EXPECT_FALSE(std::filesystem::exists(KnownFolder(FOLDERID_Desktop) + L"\\Pravel.lnk")) << "a desktop shortcut";

  // Started as the shortcut starts it, whatever folder that is, the program
  // works in Documents\Pravel, which it makes and gives the example; steps
  // 1 to 4 by keys write the page there and nothing where the program is.
  const std::wstring work = KnownFolder(FOLDERID_Documents) + L"\\Pravel";
  const Listing installed = ListFolder(program);
  {
    GuiApp app(shortcut->folder, shortcut->target);
    ASSERT_TRUE(app.Start(shortcut->arguments));
    EXPECT_EQ(ReadBytes(work + L"\\Pravel_Input.txt"), ReadBytes(program + L"\\Pravel_Input.txt"));
    app.Keys({'1'});
    ASSERT_TRUE(app.WaitForBox(L"Load/Open  Input File   *.txt"));
    app.Keys({VK_RETURN}, false);  // the name offered, in the folder offered
    app.Messages("opened");
    const std::vector<std::wstring> saved = app.ValidateBuildSave();
    EXPECT_TRUE(!saved.empty() && saved.back().ends_with(L"Located Here: " + work));
    EXPECT_FALSE(ReadBytes(work + L"\\Pravel.html").empty());
    EXPECT_EQ(Changes(installed, ListFolder(program)), "") << "written in the program's folder";

    // Installed again while it runs: refused whole, the program untouched.
    EXPECT_EQ(RunToEnd(setup, L"/S"), 2u);
    EXPECT_EQ(Changes(installed, ListFolder(program)), "");
    app.AltF4();
    EXPECT_EQ(app.WaitForExit(), 0u);
  }

  // Installed over itself, with the user's folder as it is.
  const Listing mine = ListFolder(work);
  EXPECT_EQ(RunToEnd(setup, L"/S"), 0u);
  EXPECT_EQ(Changes(mine, ListFolder(work)), "");

  // The user's folder is theirs: a file they changed is kept, one they
  // deleted is given again at the next start.
  WriteBytes(work + L"\\HdrOnly.txt", "<p>my own header</p>\r\n");
  DeleteFileW((work + L"\\TrlOnly.txt").c_str());
  {
    GuiApp app(shortcut->folder, shortcut->target);
    ASSERT_TRUE(app.Start(shortcut->arguments));
    EXPECT_EQ(ReadBytes(work + L"\\HdrOnly.txt"), "<p>my own header</p>\r\n");
    EXPECT_EQ(ReadBytes(work + L"\\TrlOnly.txt"), ReadBytes(program + L"\\TrlOnly.txt"));
    app.AltF4();
    EXPECT_EQ(app.WaitForExit(), 0u);
  }

  // The uninstaller hands its work to a copy of itself and returns at
  // once: done when the program's folder and the Apps entry are gone.
  std::wstring uninstall = UninstallValue(L"QuietUninstallString");
  ASSERT_TRUE(uninstall.starts_with(L"\"") && uninstall.ends_with(L"\" /S")) << Narrow(uninstall);
  EXPECT_EQ(RunToEnd(uninstall.substr(1, uninstall.size() - 5), L"/S"), 0u);
  EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(program) && UninstallValue(L"DisplayName").empty(); }))
      << "left behind: " << Narrow(program);
  EXPECT_FALSE(std::filesystem::exists(startMenuLink));
  EXPECT_FALSE(ReadBytes(work + L"\\Pravel.html").empty()) << "the user's page went with the program";
  CoUninitialize();
}

}  // namespace
}  // namespace pravel::gui
