// The Windows program as a user takes it, under Wine: the real Pravel.exe
// on a virtual display, driven by mouse, keys and dialogs from this program
// under the same wineserver. Screenshots of each step are kept.
#include <gtest/gtest.h>

#include "GuiApp.h"
#include "app/Commands.h"
#include "tools/EditorTools.h"

namespace pravel::gui {
namespace {

// Where a click lands in the zones of the button bar.
constexpr POINT kOpenInput{70, 50}, kValidateInput{300, 50}, kBuildHtml{410, 50}, kSaveShowHtml{520, 50},
    kExit{520, 100};
const std::wstring kStep2 = L"Pravels   -step 2  = Validate Input";
const std::wstring kStep4 = L"Pravels   -step 4 =  Save/Show Html";
#define TEMPLATES L"Pravel.ini", L"HdrOnly.txt", L"TableHdr_template.txt", L"TrlOnly.txt"

std::wstring WorkFolder(const std::wstring& name) { return Setting("PRAVEL_GUI_OUTPUT") + L"\\work\\" + name; }
std::string Shown() { return ReadBytes(Setting("PRAVEL_GUI_OUTPUT") + L"\\shown.log"); }

// The four steps by mouse on the definition; the last message shown, and
// what the pane showed once the definition was open.
std::wstring FourSteps(GuiApp& app, const std::wstring& definition, std::wstring* opened = nullptr) {
  app.Click(kOpenInput.x, kOpenInput.y);
  EXPECT_TRUE(app.OpenInDialog(definition));
  app.Messages("opened");
  EXPECT_EQ(app.Caption(), kStep2);
  if (opened) *opened = app.PaneText();
  app.Click(kValidateInput.x, kValidateInput.y);
  EXPECT_TRUE(app.Messages("validated").at(0).starts_with(L"Validation Results: \r\n"));
  app.Click(kBuildHtml.x, kBuildHtml.y);
  app.Messages("built");
  EXPECT_EQ(app.Caption(), kStep4);
  app.Click(kSaveShowHtml.x, kSaveShowHtml.y);
  const std::vector<std::wstring> shown = app.Messages("saved");
  EXPECT_EQ(app.Caption(), L"Pravels   ...Start anew  with OpenInput or ValidateInput? ...else EXIT.");
  return shown.empty() ? L"" : shown.back();
}

// pravel-cli on a copy of the same input in a folder of the program's
// folder: the window must write what the command line writes.
void ExpectFilesOfTheCli(GuiApp& app, const std::wstring& definition) {
  ASSERT_TRUE(FreshFolder(app.File(L"cli")));
  app.CopyData({TEMPLATES}, L"cli\\");
  CopyFileW(app.File(definition + L".bak").c_str(), app.File(L"cli\\" + definition).c_str(), FALSE);
  ASSERT_EQ(RunCli(app.File(L"cli"), L"build \"" + definition + L"\""), 0u);
  for (const std::wstring name : {L"Sorted_Pravel.txt", L"ValidatedInput.txt", L"ShowDraft.Html", L"MenusOnly.txt",
                                  L"Pravel.html", L"Pravel.txt", definition.c_str()}) {
    EXPECT_EQ(ReadBytes(app.File(name)), ReadBytes(app.File(L"cli\\" + name))) << Narrow(name);
  }
}

// In a folder named outside the ANSI code page, definitions in UTF-8 and in
// CP1252 are each shown as their characters and written back as their bytes.
TEST(Road, TheFourStepsByMouseWriteWhatTheCommandLineWrites) {
  const std::wstring folder = WorkFolder(L"Меню 菜单");
  GuiApp app(folder);
  app.CopyData({TEMPLATES, L"Unicode_Input.txt", L"Cp1252_Input.txt"});
  ASSERT_TRUE(app.Start());
  EXPECT_EQ(app.Caption(), L"Pravels   -step 1 = Open Input file");
  app.Screenshot("start");
  app.Click(300, 79);  // on the boundary between the two rows: nothing runs
  EXPECT_TRUE(app.Messages("boundary").empty());
  for (const auto& [definition, codePage] :
       {std::pair{L"Unicode_Input.txt", UINT{CP_UTF8}}, std::pair{L"Cp1252_Input.txt", UINT{1252}}}) {
    std::string bytes = ReadBytes(app.File(definition));
    if (codePage == CP_UTF8) bytes.erase(0, 3);  // the byte-order mark is no character
    std::wstring decoded(bytes.size(), L'\0');
    decoded.resize(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), decoded.data(),
                                       static_cast<int>(decoded.size())));
    std::wstring opened;
    EXPECT_TRUE(FourSteps(app, definition, &opened).ends_with(L"Located Here: " + folder));
    EXPECT_EQ(opened, decoded) << Narrow(definition);
    EXPECT_TRUE(Shown().ends_with(Narrow(app.File(L"Pravel.Html")) + "\r\n"));
    ExpectFilesOfTheCli(app, definition);
  }
  // A definition in another folder, its whole path typed into the dialog:
  // its page is made beside it, and this folder's page stays as it was.
  ASSERT_TRUE(FreshFolder(app.File(L"typed")));
  app.CopyData({TEMPLATES, L"Unicode_Input.txt"}, L"typed\\");
  const std::string page = ReadBytes(app.File(L"Pravel.html"));
  EXPECT_TRUE(FourSteps(app, app.File(L"typed\\Unicode_Input.txt")).ends_with(L"Located Here: " + app.File(L"typed")));
  EXPECT_EQ(ReadBytes(app.File(L"Pravel.html")), page);
  EXPECT_NE(ReadBytes(app.File(L"typed\\Pravel.html")), page);
  app.Click(kExit.x, kExit.y);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

// A name in a script the definition's code page cannot hold, pasted into
// the pane: the file becomes UTF-8 (said once) and the page shows the name;
// text that is in no file is not thrown away by Alt+F4 without a question.
TEST(Road, NothingPastedIsLost) {
  GuiApp app(WorkFolder(L"pasted"));
  app.CopyData({TEMPLATES, L"Cp1252_Input.txt"});
  ASSERT_TRUE(app.Start(L"Cp1252_Input.txt"));
  app.Messages("opened");
  app.PasteAtEnd(L"linkname=<東京 Tokyo>\r\nlinkaddress=<tokyo.html>\r\n");
  app.Keys({'2'});
  app.Messages("validated");
  app.Keys({'3'});
  const std::vector<std::wstring> built = app.Messages("built");
  EXPECT_TRUE(std::any_of(built.begin(), built.end(), [](const std::wstring& text) {
    return text.find(L"is saved as UTF-8 from now on") != std::wstring::npos;
  }));
  app.Keys({'4'});
  app.Messages("saved");
  const std::string tokyo = Narrow(L"<東京 Tokyo>");
  EXPECT_TRUE(ReadBytes(app.File(L"Cp1252_Input.txt")).starts_with("\xEF\xBB\xBF"));
  EXPECT_NE(ReadBytes(app.File(L"Cp1252_Input.txt")).find("linkname=" + tokyo), std::string::npos);
  EXPECT_NE(ReadBytes(app.File(L"Pravel.html")).find(Narrow(L">東京 Tokyo<")), std::string::npos);
  app.PasteAtEnd(L"typed, in no file");
  app.AltF4();
  EXPECT_EQ(app.Answer(false), L"The definition in the pane has changes that are not saved. Discard them?");
  EXPECT_EQ(app.Caption(), L"Pravels   ...Start anew  with OpenInput or ValidateInput? ...else EXIT.");
  app.AltF4();
  app.Answer(true);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

// Started from an empty folder with a definition elsewhere named on the
// command line, as a shortcut or a file association starts it: the bar has
// its picture, the example's templates beside the program are read, the
// page lands beside the definition and no empty template is left anywhere.
// Then what a new user does with the window's keys, the go-to list and its
// size.
TEST(Desktop, StartedAnywhere) {
  const std::wstring release = Setting("PRAVEL_GUI_UNZIPPED");
  const std::wstring start = WorkFolder(L"anywhere\\start"), definitions = WorkFolder(L"anywhere\\definitions");
  ASSERT_TRUE(FreshFolder(start) && FreshFolder(definitions));
  CopyFileW((release + L"\\Pravel_Input.txt").c_str(), (definitions + L"\\menus.txt").c_str(), FALSE);
  GuiApp app(start, release + L"\\Pravel.exe");
  ASSERT_TRUE(app.Start(L"\"" + definitions + L"\\menus.txt\""));
  app.Messages("opened");
  app.Screenshot("started-anywhere");
  // The picture, as a screenshot shows it: every button's face, above its
  // label, is not the window's background.
  HWND bar = GetDlgItem(app.Main(), win32::kIdButtonBarOverlay);
  HDC screen = GetDC(nullptr);
  HDC shot = CreateCompatibleDC(screen);
  HBITMAP pixel = CreateCompatibleBitmap(screen, 1, 1);
  HGDIOBJ previous = SelectObject(shot, pixel);
  for (const CommandInfo& command : kCommands) {
    if (!command.outline) continue;
    POINT at{(command.outline->left + command.outline->right) / 2, command.outline->top + 10};  // above the label
    ClientToScreen(bar, &at);
    BitBlt(shot, 0, 0, 1, 1, screen, at.x, at.y, SRCCOPY);
    EXPECT_NE(GetPixel(shot, 0, 0), RGB(59, 25, 34))
        << "no picture under " << std::string(command.name) << " at " << at.x << "," << at.y;
  }
  SelectObject(shot, previous);
  DeleteObject(pixel);
  DeleteDC(shot);
  ReleaseDC(nullptr, screen);
  const std::vector<std::wstring> saved = app.ValidateBuildSave();
  EXPECT_FALSE(ReadBytes(definitions + L"\\Pravel.html").empty());
  for (const std::wstring& folder : {start, definitions}) {
    EXPECT_FALSE(std::filesystem::exists(folder + L"\\Pravel.ini")) << "a template was left in " << Narrow(folder);
  }
  EXPECT_TRUE(!saved.empty() && saved.back().find(L"templates were read from " + release + L": " + definitions +
                                                  L" holds none.") != std::wstring::npos);

  // Widened after the build, the sorted list stands beside the pane.
  SetWindowPos(app.Main(), nullptr, 0, 0, 1400, 900, SWP_NOMOVE | SWP_NOZORDER);
  RECT pane{}, list{}, overlap{};
  GetWindowRect(GetDlgItem(app.Main(), win32::kIdInputPane), &pane);
  GetWindowRect(GetDlgItem(app.Main(), win32::kIdSortedList), &list);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(app.Main(), win32::kIdSortedList)));
  EXPECT_FALSE(IntersectRect(&overlap, &pane, &list)) << "the sorted list lies over the pane";
  app.Screenshot("wide-after-build");

  // The go-to list finds a menu above the last one chosen.
  app.GoTo(L"<Languages>");
  app.GoTo(L"<Browsers>");
  std::wstring text = app.PaneText();
  for (std::size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;) text.erase(at, 1);
  EXPECT_EQ(app.SelectionStart(), static_cast<LONG>(text.find(L"<Browsers>")));
  // Tab goes through the pane without touching its text; Ctrl+M puts the
  // caret between the brackets.
  const std::wstring before = app.PaneText();
  app.Keys({'F'});
  app.Keys({VK_TAB, VK_TAB}, false);
  EXPECT_EQ(app.PaneText(), before);
  app.Keys({'M'});
  app.Type(L"Veg");
  EXPECT_NE(app.PaneText().find(L"menuname=<Veg>"), std::wstring::npos);
  // Never smaller than the bar's zones and a few lines of the pane.
  SetWindowPos(app.Main(), nullptr, 0, 0, 300, 250, SWP_NOMOVE | SWP_NOZORDER);
  RECT size{};
  GetWindowRect(app.Main(), &size);
  EXPECT_GE(size.right - size.left, 606);
  EXPECT_GE(size.bottom - size.top, 380);
  app.Screenshot("smallest");
}

// A browser's bookmark file named on the command line becomes a definition
// saved beside it and opened; Ctrl+K then finds its one dead link, and the
// steps build its page.
TEST(Road, BookmarksInLinksChecked) {
  GuiApp app(WorkFolder(L"bookmarks"));
  app.CopyData({TEMPLATES, L"Bookmarks.html"});
  WriteBytes(app.File(L"here.html"), "<!DOCTYPE html>here");
  ASSERT_TRUE(app.Start(L"Bookmarks.html"));
  EXPECT_TRUE(app.InFileDialog(L"Save the definition made from Bookmarks.html"));
  EXPECT_EQ(app.Messages("imported"),
            std::vector<std::wstring>{L"Imported 2 links in 1 menu from " + app.File(L"Bookmarks.html")});
  EXPECT_EQ(app.Caption(), kStep2);
  EXPECT_EQ(app.PaneText(), win32::Widen(ReadBytes(app.File(L"Bookmarks.txt"))));
  app.Keys({'K'});
  const std::vector<std::wstring> report = app.Messages("checked");
  EXPECT_EQ(report, std::vector<std::wstring>{
                        L"Bookmarks_bar / Gone: gone.html: file not found\r\n"
                        L"2 links checked, 1 dead, 0 moved, 0 access refused, 0 rate-limited, 0 not tried"});
  app.ValidateBuildSave();
  EXPECT_NE(ReadBytes(app.File(L"Pravel.html")).find("<option value=\"gone.html\">Gone</option>"), std::string::npos);
}

// The release unpacked into a folder of its own: it opens the example it
// holds when named on the command line, builds it by keys alone, and its
// help link leads to the help page beside it. Then the program at 144 DPI.
TEST(Desktop, TheReleaseByKeysAndAtHighDpi) {
  const std::wstring folder = Setting("PRAVEL_GUI_UNZIPPED");
  GuiApp app(folder, folder + L"\\Pravel.exe");
  ASSERT_TRUE(app.Start(L"Pravel_Input.txt"));
  app.Messages("opened");
  EXPECT_EQ(app.Caption(), kStep2);
  EXPECT_EQ(app.PaneText(), win32::Widen(ReadBytes(app.File(L"Pravel_Input.txt"))));
  app.Keys({'2'});
  EXPECT_TRUE(app.Messages("validated").at(0).starts_with(L"Validation Results:"));
  app.Keys({'3', '4'});  // Ctrl+4 comes while the build runs: dropped
  app.Messages("built");
  EXPECT_EQ(app.Caption(), kStep4);
  EXPECT_TRUE(ReadBytes(app.File(L"Pravel.html")).empty());
  app.Keys({'4'});
  app.Messages("saved");
  EXPECT_FALSE(ReadBytes(app.File(L"Pravel.html")).empty());
  std::string page = Narrow(folder + L"\\Pravel_Help.html");
  std::replace(page.begin(), page.end(), '\\', '/');
  EXPECT_EQ(HelpLinkFile(ReadBytes(app.File(L"Pravel_Help.url"))), page);
  app.Keys({VK_F1}, false);
  for (int i = 0; i < 100 && !Shown().ends_with(Narrow(app.File(L"Pravel_Help.url")) + "\r\n"); ++i) Sleep(100);
  EXPECT_TRUE(Shown().ends_with(Narrow(app.File(L"Pravel_Help.url")) + "\r\n"));
  // Ctrl+1, and Enter takes the name the open dialog offers.
  app.Keys({'1'});
  ASSERT_TRUE(app.WaitForBox(L"Load/Open  Input File   *.txt"));
  app.Keys({VK_RETURN}, false);
  app.Messages("opened-again");
  EXPECT_EQ(app.Caption(), kStep2);
  app.Screenshot("96-dpi");
  RECT at96{}, at144{};
  GetWindowRect(app.Main(), &at96);

  // Wine reads the display's DPI from the prefix when a program starts.
  DWORD dpi = 144;
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  GuiApp scaled(WorkFolder(L"desktop-144"), {}, 1.5);
  const bool started = scaled.Start();
  dpi = 96;
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  ASSERT_TRUE(started);
  GetWindowRect(scaled.Main(), &at144);
  EXPECT_NEAR(at144.right - at144.left, (at96.right - at96.left) * 1.5, 3);
  EXPECT_NEAR(at144.bottom - at144.top, (at96.bottom - at96.top) * 1.5, 3);
  scaled.Screenshot("144-dpi");
  // Either side of the boundary between Open Input (x < 133) and Save As
  // (x > 133), clicked at 1.5 times the place.
  for (const auto& [x, dialog] : {std::pair{132, L"Load/Open  Input File   *.txt"}, std::pair{134, L"Save As"}}) {
    scaled.Click(x, 50);
    if (const std::optional<Box> box = scaled.WaitForBox(dialog)) PostMessageW(box->window, WM_COMMAND, IDCANCEL, 0);
    scaled.Messages("after-the-dialog");
  }
}

}  // namespace
}  // namespace pravel::gui

int main(int argc, char** argv) { return pravel::gui::RunDriver(argc, argv); }
