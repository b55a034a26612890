// The Windows program as a user takes it, under Wine: the real Pravel.exe
// on a virtual display, driven by mouse, keys and dialogs from this
// program under the same wineserver. Screenshots of each step are kept.
#include <gtest/gtest.h>

#include <algorithm>

#include "GuiApp.h"

#include <gdiplus.h>

namespace pravel::gui {
namespace {

// Where a click lands in each zone of the button bar.
constexpr POINT kOpenInput{70, 50}, kValidateInput{300, 50}, kBuildHtml{410, 50}, kSaveShowHtml{520, 50},
    kExit{520, 100};
const wchar_t* const kTemplates[] = {L"Pravel.ini", L"HdrOnly.txt", L"TableHdr_template.txt", L"TrlOnly.txt"};
const wchar_t* const kWritten[] = {L"Sorted_Pravel.txt", L"ValidatedInput.txt", L"ShowDraft.Html",
                                   L"MenusOnly.txt", L"Pravel.html", L"Pravel.txt"};

std::wstring WorkFolder(const std::wstring& name) { return Setting("PRAVEL_GUI_OUTPUT") + L"\\work\\" + name; }

// The four steps by mouse on the definition; the last message shown, and
// what the pane showed once the definition was open.
std::wstring FourSteps(GuiApp& app, const std::wstring& definition, std::wstring* opened = nullptr) {
  app.Click(kOpenInput.x, kOpenInput.y);
  EXPECT_TRUE(app.OpenInDialog(definition));
  EXPECT_EQ(app.CaptionOnceItIs(L"Pravels   -step 2  = Validate Input"), L"Pravels   -step 2  = Validate Input");
  if (opened) *opened = app.PaneText();
  app.Click(kValidateInput.x, kValidateInput.y);
  EXPECT_TRUE(app.Messages("validated").at(0).starts_with(L"Validation Results: \r\n"));
  app.Click(kBuildHtml.x, kBuildHtml.y);
  app.Messages("built");
  EXPECT_EQ(app.Caption(), L"Pravels   -step 4 =  Save/Show Html");
  app.Click(kSaveShowHtml.x, kSaveShowHtml.y);
  const std::vector<std::wstring> shown = app.Messages("saved");
  EXPECT_EQ(app.Caption(), L"Pravels   ...Start anew  with OpenInput or ValidateInput? ...else EXIT.");
  return shown.empty() ? L"" : shown.back();
}

// pravel-cli on a copy of the same input in a folder of the program's
// folder: the window must write what the command line writes.
void ExpectFilesOfTheCli(GuiApp& app, const std::wstring& definition) {
  const std::wstring cli = app.File(L"cli");
  ASSERT_TRUE(FreshFolder(cli));
  for (const wchar_t* name : kTemplates) app.CopyData(name, std::wstring(L"cli\\") + name);
  CopyFileW(app.File(definition + L".bak").c_str(), (cli + L"\\" + definition).c_str(), FALSE);
  ASSERT_EQ(RunCli(cli, L"build \"" + definition + L"\""), 0u);
  for (const wchar_t* name : kWritten) EXPECT_EQ(ReadBytes(app.File(name)), ReadBytes(cli + L"\\" + name)) << Utf8(name);
  EXPECT_EQ(ReadBytes(app.File(definition)), ReadBytes(cli + L"\\" + definition));
}

TEST(Road, TheFourStepsByMouseWriteWhatTheCommandLineWrites) {
  GuiApp app(WorkFolder(L"road"));
  for (const wchar_t* name : kTemplates) app.CopyData(name);
  app.CopyData(L"Shop_Input.txt");
  ASSERT_TRUE(app.Start());
  app.Screenshot("start");
  // A release on the boundary between the two rows runs nothing.
  app.Click(300, 79);
  EXPECT_TRUE(app.Quiet());
  EXPECT_TRUE(FourSteps(app, L"Shop_Input.txt").ends_with(L"Located Here: " + WorkFolder(L"road")));
  EXPECT_EQ(ReadBytes(Setting("PRAVEL_GUI_OUTPUT") + L"\\shown.log"), Utf8(app.File(L"Pravel.Html")) + "\r\n");
  ExpectFilesOfTheCli(app, L"Shop_Input.txt");
  app.Click(kExit.x, kExit.y);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

// A folder named outside the ANSI code page, definitions in UTF-8 and in
// CP1252: each is shown as its characters and written back as its bytes.
TEST(Unicode, AnyFolderAnyScript) {
  const std::wstring folder = WorkFolder(L"Меню 菜单");
  for (const auto& [definition, codePage] : {std::pair{L"Unicode_Input.txt", UINT{CP_UTF8}}, std::pair{L"Cp1252_Input.txt", UINT{1252}}}) {
    GuiApp app(folder);
    for (const wchar_t* name : kTemplates) app.CopyData(name);
    app.CopyData(definition);
    std::string bytes = ReadBytes(app.File(definition));
    if (codePage == CP_UTF8) bytes.erase(0, 3);  // the byte-order mark is no character
    std::wstring decoded(bytes.size(), L'\0');
    decoded.resize(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), decoded.data(),
                                       static_cast<int>(decoded.size())));
    ASSERT_TRUE(app.Start());
    std::wstring opened;
    EXPECT_TRUE(FourSteps(app, definition, &opened).ends_with(L"Located Here: " + folder));
    EXPECT_EQ(opened, decoded);
    ExpectFilesOfTheCli(app, definition);
  }
}

// The DPI of the displays the next programs start on (Wine reads it from
// the prefix when a program starts); back to 96 when the test ends.
struct Dpi {
  explicit Dpi(DWORD dpi) { Set(dpi); }
  ~Dpi() { Set(96); }
  static void Set(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  }
};

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

TEST(Desktop, AFileFromOutsideKeysAndAHighDpiDisplay) {
  GuiApp app(WorkFolder(L"desktop"));
  for (const wchar_t* name : kTemplates) app.CopyData(name);
  app.CopyData(L"Shop_Input.txt");
  ASSERT_TRUE(app.Start(L"Shop_Input.txt"));
  EXPECT_EQ(app.CaptionOnceItIs(L"Pravels   -step 2  = Validate Input"), L"Pravels   -step 2  = Validate Input");
  EXPECT_NE(app.PaneText().find(L"menuname=<Fruit Shop>"), std::wstring::npos);
  // Ctrl+2, then Ctrl+3 and, while the build runs, Ctrl+4: dropped.
  app.Keys({'2'});
  EXPECT_TRUE(app.Messages("validated").at(0).starts_with(L"Validation Results:"));
  app.Keys({'3', '4'});
  app.Messages("built");
  EXPECT_EQ(app.Caption(), L"Pravels   -step 4 =  Save/Show Html");
  EXPECT_TRUE(ReadBytes(app.File(L"Pravel.html")).empty());
  const SIZE at96 = WindowSize(app.Main());
  app.Screenshot("96-dpi");

  const Dpi dpi(144);
  GuiApp scaled(WorkFolder(L"desktop-144"), {}, 1.5);
  ASSERT_TRUE(scaled.Start());
  const SIZE at144 = WindowSize(scaled.Main());
  EXPECT_NEAR(at144.cx, at96.cx * 1.5, 3);
  EXPECT_NEAR(at144.cy, at96.cy * 1.5, 3);
  scaled.Screenshot("144-dpi");
  // Either side of the boundary between Open Input (x < 133) and Save As
  // (x > 133), clicked at 1.5 times the place.
  for (const auto& [x, dialog] : {std::pair{132, L"Load/Open  Input File   *.txt"}, std::pair{134, L"Save As"}}) {
    scaled.Click(x, 50);
    if (const std::optional<Box> box = scaled.WaitForBox(dialog)) PostMessageW(box->window, WM_COMMAND, IDCANCEL, 0);
    scaled.Messages("after-the-dialog");
  }
}

// The release unpacked into a folder of its own: it starts, builds the
// example it holds, and its help link leads to the help page beside it.
TEST(Desktop, TheReleaseRunsWhereItIsUnpacked) {
  const std::wstring folder = Setting("PRAVEL_GUI_UNZIPPED");
  GuiApp app(folder, folder + L"\\Pravel.exe");
  ASSERT_TRUE(app.Start());
  app.Keys({'1'});
  ASSERT_TRUE(app.WaitForBox(L"Load/Open  Input File   *.txt"));
  app.Keys({VK_RETURN}, false);  // the name offered: Pravel_Input.txt
  EXPECT_EQ(app.CaptionOnceItIs(L"Pravels   -step 2  = Validate Input"), L"Pravels   -step 2  = Validate Input");
  for (WORD step : {'2', '3', '4'}) {
    app.Keys({step});
    app.Messages("release");
  }
  EXPECT_FALSE(ReadBytes(app.File(L"Pravel.html")).empty());
  std::string url = Utf8(folder);
  std::replace(url.begin(), url.end(), '\\', '/');
  EXPECT_EQ(ReadBytes(app.File(L"Pravel_Help.url")), "[InternetShortcut]\r\nURL=file:///" + url + "/Pravel_Help.html\r\n");
  // F1 opens that link.
  app.Keys({VK_F1}, false);
  const std::string shown = Utf8(app.File(L"Pravel_Help.url")) + "\r\n";
  for (int i = 0; i < 100 && !ReadBytes(Setting("PRAVEL_GUI_OUTPUT") + L"\\shown.log").ends_with(shown); ++i) Sleep(100);
  EXPECT_TRUE(ReadBytes(Setting("PRAVEL_GUI_OUTPUT") + L"\\shown.log").ends_with(shown));
}

}  // namespace
}  // namespace pravel::gui

// The program and the driver share a virtual desktop of their own, so Wine
// draws the window frames itself (the display has no window manager); pages
// and Internet shortcuts open with the recorder, which writes down what it
// was asked to show instead of starting a browser.
int main(int argc, char** argv) {
  using pravel::gui::Setting;
  ::testing::InitGoogleTest(&argc, argv);
  // Clicks and window sizes in the display's own pixels at any DPI.
  SetProcessDPIAware();
  const auto set = [](HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * 2));
  };
  // Room for the window at 144 DPI.
  set(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", L"PravelGui", L"1600x1200");
  SetThreadDesktop(CreateDesktopW(L"PravelGui", nullptr, nullptr, 0, GENERIC_ALL, nullptr));
  const std::wstring log = Setting("PRAVEL_GUI_OUTPUT") + L"\\shown.log";
  DeleteFileW(log.c_str());
  const std::wstring open = L"\"" + Setting("PRAVEL_GUI_RECORDER") + L"\" \"" + log + L"\" \"%1\"";
  for (const wchar_t* extension : {L".html", L".url"}) set(HKEY_CLASSES_ROOT, extension, nullptr, L"PravelTestFile");
  set(HKEY_CLASSES_ROOT, L"PravelTestFile\\shell\\open\\command", nullptr, open);
  pravel::gui::FreshFolder(Setting("PRAVEL_GUI_SCREENSHOTS"));
  ULONG_PTR gdiplus = 0;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
  const int result = RUN_ALL_TESTS();
  Gdiplus::GdiplusShutdown(gdiplus);
  return result;
}
