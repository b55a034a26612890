#include "app/win32/LinkCheckRun.h"

namespace pravel::win32 {

LinkCheckRun::~LinkCheckRun() {
  if (!Running()) return;
  Stop();
  thread_.join();
}

void LinkCheckRun::Start(std::vector<LinkToCheck> links, CheckSettings settings) {
  stop_ = false;
  report_ = {};
  failure_ = nullptr;
  thread_ = std::thread([this, links = std::move(links), settings = std::move(settings)] {
    try {
      report_ = CheckLinks(
          links, settings,
          [this](std::size_t done, std::size_t total) {
            PostMessageW(window_, kProgressMessage, static_cast<WPARAM>(done), static_cast<LPARAM>(total));
          },
          stop_);
    } catch (...) {
      failure_ = std::current_exception();
    }
    PostMessageW(window_, kEndMessage, 0, 0);
  });
}

CheckReport LinkCheckRun::Finish() {
  if (thread_.joinable()) thread_.join();
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  return std::move(report_);
}

}  // namespace pravel::win32
