// The check's threads: a fixed number of workers take the addresses one
// after another, while the calling thread watches for the stop.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string_view>
#include <thread>
#include <unordered_map>

#include "linkcheck/AddressCheck.h"
#include "linkcheck/HttpClient.h"
#include "linkcheck/LinkCheck.h"

namespace pravel {

namespace {

// Each address once, with the links that hold it.
struct Address {
  std::string_view written;
  std::vector<std::size_t> links;
};

std::vector<Address> DistinctAddresses(const std::vector<LinkToCheck>& links) {
  std::vector<Address> addresses;
  std::unordered_map<std::string_view, std::size_t> seen;
  for (std::size_t i = 0; i < links.size(); ++i) {
    const auto [at, added] = seen.try_emplace(links[i].address, addresses.size());
    if (added) addresses.push_back(Address{links[i].address, {}});
    addresses[at->second].links.push_back(i);
  }
  return addresses;
}

// How often the calling thread looks at the stop flag while it waits.
constexpr std::chrono::milliseconds kStopPoll{50};

}  // namespace

Text LinkCheckUserAgent() { return "Pravel/" PRAVEL_VERSION " (link check)"; }

CheckReport CheckLinks(const std::vector<LinkToCheck>& links, const CheckSettings& settings,
                       const CheckProgress& progress, const std::atomic<bool>& stop) {
  // No timeout at all would let one silent server hold the check forever.
  CheckSettings bounded = settings;
  bounded.timeoutSeconds = std::max(settings.timeoutSeconds, 1);
  const std::unique_ptr<HttpClient> client = MakeHttpClient(bounded.timeoutSeconds, bounded.userAgent);
  return CheckLinks(links, bounded, *client, progress, stop);
}

CheckReport CheckLinks(const std::vector<LinkToCheck>& links, const CheckSettings& settings, HttpClient& client,
                       const CheckProgress& progress, const std::atomic<bool>& stop) {
  CheckReport report;
  report.links.reserve(links.size());
  for (const LinkToCheck& link : links) report.links.push_back(CheckedLink{link, {}});
  const std::vector<Address> addresses = DistinctAddresses(links);

  std::mutex mutex;  // guards what follows, the verdicts and the progress call
  std::condition_variable finished;
  std::size_t running = 0;
  std::size_t done = 0;
  std::exception_ptr failure;
  std::atomic<std::size_t> next{0};
  // Set by a worker that failed, so the others end too.
  std::atomic<bool> abandoned{false};

  const auto work = [&] {
    try {
      while (!stop && !abandoned) {
        const std::size_t k = next++;
        if (k >= addresses.size()) break;
        const LinkVerdict verdict = CheckAddress(client, addresses[k].written, settings);
        if (verdict.state == LinkState::NotChecked) break;
        const std::lock_guard lock(mutex);
        for (const std::size_t i : addresses[k].links) report.links[i].verdict = verdict;
        done += addresses[k].links.size();
        if (progress) progress(done, links.size());
      }
    } catch (...) {
      // Out of memory, most likely: the caller hears of it once every
      // thread has ended.
      const std::lock_guard lock(mutex);
      if (!failure) failure = std::current_exception();
      abandoned = true;
    }
    const std::lock_guard lock(mutex);
    --running;
    finished.notify_all();
  };

  const std::size_t workers =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(settings.jobs, 1)), addresses.size());
  std::vector<std::thread> threads;
  threads.reserve(workers);
  {
    std::unique_lock lock(mutex);
    try {
      for (std::size_t t = 0; t < workers; ++t) {
        threads.emplace_back(work);
        ++running;
      }
    } catch (...) {
      // No thread to be had: those that started are ended and joined first.
      failure = std::current_exception();
      abandoned = true;
    }
    // A request in flight does not look at the flag: the client is told,
    // once, and ends them all.
    bool told = false;
    while (running > 0) {
      finished.wait_for(lock, kStopPoll);
      if (!told && (stop || abandoned)) {
        client.Stop();
        told = true;
      }
    }
  }
  for (std::thread& thread : threads) thread.join();
  if (failure) std::rethrow_exception(failure);

  report.stopped = std::any_of(report.links.begin(), report.links.end(),
                               [](const CheckedLink& link) { return link.verdict.state == LinkState::NotChecked; });
  return report;
}

}  // namespace pravel
