// One run of the real Pravel.exe under Wine, driven from outside as a
// person would: the mouse on the button bar, keys, the message boxes and
// the open dialog, and what the window shows, read through the wide API.
// Every wait has a deadline; a wait that runs out records a failure and
// returns, so a program that misbehaves fails the test instead of hanging.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace pravel::gui {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// What the driver was given (Linux paths) as Windows paths.
std::wstring Setting(const char* name);
std::string ReadBytes(const std::wstring& path);
// A fresh, empty folder (and its parents).
bool FreshFolder(const std::wstring& path);
// pravel-cli.exe in the folder; its exit code.
DWORD RunCli(const std::wstring& folder, const std::wstring& arguments);

struct Box {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;  // line breaks as shown (CR LF)
};

class GuiApp {
 public:
  // The program built, in a fresh folder with the picture and the help
  // link beside it as a user keeps them; or the given program in the
  // folder as it is. `scale` is the display's, for clicks.
  explicit GuiApp(std::wstring folder, std::wstring program = {}, double scale = 1.0);
  ~GuiApp();
  GuiApp(const GuiApp&) = delete;
  GuiApp& operator=(const GuiApp&) = delete;

  std::wstring File(const std::wstring& name) const { return folder_ + L"\\" + name; }
  // Copies a file of the test data into the folder.
  void CopyData(const std::wstring& name, const std::wstring& as = {}) const;

  bool Start(const std::wstring& arguments = {});
  // The exit code; STILL_ACTIVE when it did not end within the deadline.
  DWORD WaitForExit();
  HWND Main() const { return main_; }

  std::wstring Caption() const;
  std::wstring WindowText(HWND window) const;
  std::wstring PaneText() const;
  // Waits until the caption is the one expected, or for the deadline.
  std::wstring CaptionOnceItIs(const std::wstring& expected) const;

  // A click on the button bar at its point (x, y) as drawn at 100 %.
  void Click(int x, int y);
  // Keys pressed one after the other, each with Ctrl when asked, as the
  // keyboard gives them to the window (or to the box on top of it).
  void Keys(std::initializer_list<WORD> keys, bool control = true);

  std::optional<Box> WaitForBox(const std::wstring& caption, DWORD timeoutMs = 20000) const;
  // Every message box captioned "Pravel" that comes up until the program
  // is quiet: a screenshot of each, OK, and their texts.
  std::vector<std::wstring> Messages(const std::string& step);
  // No box comes up within a moment.
  bool Quiet() const;
  // The open dialog: the name typed into it, then Enter.
  bool OpenInDialog(const std::wstring& fileName);

  void Screenshot(const std::string& step) const;

 private:
  void WaitUntilIdle() const;
  std::vector<Box> Boxes() const;
  bool Press(const Box& box, int button) const;

  std::wstring folder_;
  std::wstring program_;
  double scale_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

}  // namespace pravel::gui
