// One run of the real Pravel.exe, driven from outside as a person would use
// it: it starts in a fresh work folder, the driver clicks the button bar with
// the mouse, reads and answers the message boxes, fills the file dialogs,
// types into the find field and reads back what the window shows.
//
// Every wait has a deadline; a helper that runs out of time records a test
// failure that says what it was waiting for and returns an empty result, so
// a misbehaving program fails the test instead of hanging the run.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Screen.h"

namespace pravel::gui {

// Deadlines, generous for a loaded machine: Wine's first file dialog of a
// run takes a few seconds to read the folders.
inline constexpr DWORD kStartTimeout = 30000;
inline constexpr DWORD kBoxTimeout = 20000;
// How long nothing must happen before a test concludes that nothing will.
inline constexpr DWORD kQuietTime = 800;

// Waits until the condition holds, polling; false when the time ran out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// A modal box (message box, question or file dialog) of the program.
struct Box {
  HWND window = nullptr;
  std::string caption;
  std::string text;  // the message, line breaks as shown (CR LF)
};

class PravelApp {
 public:
  // A fresh work folder named after the test, holding the picture and the
  // help link from beside the program. The program is not started yet.
  PravelApp();
  ~PravelApp();
  PravelApp(const PravelApp&) = delete;
  PravelApp& operator=(const PravelApp&) = delete;

  const std::string& Folder() const { return folder_; }
  std::string File(const std::string& name) const;
  // Copies a file of the test data into the work folder.
  bool CopyData(const std::string& name, const std::string& as = {}) const;

  // Starts the program in the work folder and waits for its main window.
  bool Start();
  bool Running() const;
  // The exit code once the process has ended, or nothing on time-out.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = kBoxTimeout);

  HWND Main() const { return main_; }
  HWND Control(int id) const;

  // What the window shows.
  std::string Caption() const;
  std::string Status() const;
  std::string ControlText(int id) const;
  std::string PaneText() const;
  // Characters of the pane, every line break counted as CR LF.
  long PaneLengthWithCrLf() const;
  // The pane's selection as character positions (a line break counts one).
  std::pair<long, long> PaneSelection() const;
  std::string PaneSelectedText() const;
  std::vector<std::string> ComboEntries() const;
  int ComboSelection() const;
  std::vector<std::string> ListItems(int id) const;
  // The control that has the keyboard focus in the program (0: none).
  int FocusedControl() const;

  // Changes a person makes by typing or with the mouse in the pane.
  void SetPaneText(const std::string& text) const;
  void SetPaneSelection(long start, long end) const;

  // Waits until the program has finished what it was doing: a click or a
  // key that arrives while a command still runs is dropped by the program,
  // so every action below waits for this first.
  void WaitUntilIdle() const;

  // A mouse click (press and release of the left button) on the button bar
  // at its client point (x, y).
  void Click(int x, int y);
  // Types the text into the find field and presses Enter there.
  void Find(const std::string& text) const;
  void PressEnterInFindField() const;
  // Chooses an entry of the go-to list, as a click on it does.
  void ChooseGoToEntry(int index) const;
  // Makes the button bar repaint, as another window passing over it would.
  void RepaintButtonBar() const;
  // Closes the window with its close box.
  void CloseWindow() const;

  // The visible modal boxes of the program.
  std::vector<Box> Boxes() const;
  std::optional<Box> WaitForBox(const std::string& caption, DWORD timeoutMs = kBoxTimeout) const;
  // Presses a button of a box and waits until the box is gone.
  bool Press(const Box& box, int buttonId) const;
  // Waits for a message box captioned "Pravel", takes a screenshot named
  // after the step, presses OK and gives the box's text.
  std::optional<std::string> ConfirmMessage(const std::string& step = "message");
  // Waits a moment and checks that no box came up.
  bool NoBoxAppears() const;

  // The open dialog: the name typed into its file name field, then Open.
  // nameShown receives what the field held before typing.
  bool OpenInOpenDialog(const std::string& fileName, std::string* nameShown = nullptr);
  // The save dialog: the name typed, then Save; answers the dialog's own
  // create and replace questions with Yes.
  // nameShown receives what the file name field held before typing,
  // questions the texts of the dialog's own questions.
  bool SaveInSaveDialog(const std::string& fileName, std::string* nameShown = nullptr,
                        std::vector<std::string>* questions = nullptr);
  bool CancelDialog(const std::string& title);

  // The button bar as it is on the screen now (600 x 143 client pixels).
  Capture CaptureButtonBar() const;
  Capture CaptureClient() const;
  // Saves the window and its boxes as the next numbered screenshot.
  void Screenshot(const std::string& step) const;

 private:
  std::string folder_;
  std::string testName_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

}  // namespace pravel::gui
