// The window's link check: on a thread of its own, so that the window
// keeps answering and the steps keep working while addresses are tried.
// The thread tells the window how far it got and when it ended by posting
// it messages; the window then takes the report.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <thread>
#include <utility>
#include <vector>

#include "linkcheck/LinkCheck.h"

namespace pravel::win32 {

class LinkCheckRun {
 public:
  // wParam: the links done, lParam: all of them.
  static constexpr UINT kProgressMessage = WM_APP + 1;
  static constexpr UINT kEndMessage = WM_APP + 2;

  explicit LinkCheckRun(HWND window) : window_(window) {}
  // A check still running is stopped and waited for.
  ~LinkCheckRun();
  LinkCheckRun(const LinkCheckRun&) = delete;
  LinkCheckRun& operator=(const LinkCheckRun&) = delete;

  bool Running() const { return thread_.joinable(); }
  void Start(std::vector<LinkToCheck> links, CheckSettings settings);
  // Asks the check to stop; its end message follows within about a second.
  void Stop() { stop_ = true; }
  // Once the end message came: the report (what a failure in the check
  // threw is thrown here, on the window's thread).
  CheckReport Finish();

 private:
  HWND window_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  CheckReport report_;
  std::exception_ptr failure_;
};

}  // namespace pravel::win32
