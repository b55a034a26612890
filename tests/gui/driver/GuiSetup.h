// What the whole GUI run shares: where the program, its files and the test
// data are, the desktop the program runs on, and the stand-in for the
// browser. Set up once, before the first test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Screen.h"

namespace pravel::gui {

struct GuiPaths {
  std::string program;      // Pravel.exe
  std::string programDir;   // its folder: the picture and the help link lie there
  std::string cli;          // pravel-cli.exe, empty when not built
  std::string recorder;     // the browser stand-in
  std::string data;         // tests/gui/data
  std::string output;       // work folders of the tests
  std::string screenshots;  // PNG files of the steps
  std::string showLog;      // what the browser stand-in was asked to open
};

const GuiPaths& Paths();

// The desktop the program and the driver share: a virtual desktop of its
// own, so Wine draws the window frames and captions itself (there is no
// window manager on the virtual display).
inline constexpr const char* kDesktopName = "PravelGui";

// The file the screenshot of a step goes to: numbered in the order taken.
std::string NextScreenshotPath(const std::string& step);

class GuiSetup : public ::testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;

 private:
  std::unique_ptr<PngEncoder> encoder_;
};

}  // namespace pravel::gui
