// The check's threads: as many workers as requests may be in flight take
// the addresses host by host, while the calling thread watches for the stop.
#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "linkcheck/Address.h"
#include "linkcheck/AddressCheck.h"
#include "linkcheck/HttpClient.h"
#include "linkcheck/LinkCheck.h"

namespace pravel {

namespace {

// Requests that found nobody answering, in a row on one host, before its
// other links are given up on: a host that takes connections and never
// answers would otherwise hold each of them for the whole timeout.
constexpr int kSilentInARow = 3;

// How often a waiting thread looks at the stop.
constexpr std::chrono::milliseconds kStopPoll{50};

// Each address once, with the links that hold it.
struct Task {
  AddressTarget target;
  std::vector<std::size_t> links;
};

// The tasks, waiting host by host, and the gate every request passes.
class Scheduler final : public RequestGate {
 public:
  explicit Scheduler(const std::vector<Task>& tasks) {
    for (std::size_t k = 0; k < tasks.size(); ++k) {
      // Files ask no server: they wait on no one.
      const bool file = tasks[k].target.kind == AddressTarget::File;
      Host& host = HostNamed(file ? Text() : HostOf(tasks[k].target.where));
      if (file) host.limit = INT_MAX;
      if (host.waiting.empty()) ready_.push_back(&host);
      host.waiting.push_back(k);
    }
  }

  // Ends every wait, and every Take, at once.
  void End() {
    const std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
  }

  struct Taken {
    std::size_t task;
    bool hostSilent;  // the host has stopped answering: no request was let in
  };
  // The next task whose host can take a request now, that request let in;
  // waits while every host with tasks is busy. Nothing when every task is
  // taken or the check has ended.
  std::optional<Taken> Take() {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (ended_ || ready_.empty()) return std::nullopt;
      const CheckClock::time_point now = CheckClock::now();
      // Round the hosts, so that one host's many links do not keep the
      // others' waiting; a host that cannot take one goes to the back.
      for (std::size_t n = ready_.size(); n > 0; --n) {
        Host* host = ready_.front();
        ready_.pop_front();
        const bool silent = host->silent;
        if (silent || CanEnter(*host, now)) {
          const std::size_t task = host->waiting.front();
          host->waiting.pop_front();
          if (!host->waiting.empty()) ready_.push_back(host);
          if (!silent) EnterNow(*host, now);
          return Taken{task, silent};
        }
        ready_.push_back(host);
      }
      changed_.wait_for(lock, kStopPoll);
    }
  }

  Entry Enter(const Text& name, CheckClock::time_point deadline) override {
    std::unique_lock lock(mutex_);
    Host& host = HostNamed(name);
    for (;;) {
      if (ended_) return Entry::Stopped;
      if (host.silent) return Entry::HostSilent;
      const CheckClock::time_point now = CheckClock::now();
      if (CanEnter(host, now)) {
        EnterNow(host, now);
        return Entry::Go;
      }
      if (now >= deadline) return Entry::TimeUp;
      changed_.wait_until(lock, std::min(deadline, now + kStopPoll));
    }
  }

  void Leave(const Text& name, HttpAnswer::Outcome outcome) override {
    const std::lock_guard lock(mutex_);
    Host& host = HostNamed(name);
    --host.inFlight;
    if (outcome == HttpAnswer::NoAnswer) {
      if (++host.silentInARow >= kSilentInARow) host.silent = true;
    } else if (outcome == HttpAnswer::Answered) {
      host.silentInARow = 0;
      host.answered = true;
    }
    changed_.notify_all();
  }

  void SlowDown(const Text& name, CheckClock::duration wait) override {
    const std::lock_guard lock(mutex_);
    Host& host = HostNamed(name);
    host.limit = 1;
    host.spacing = std::max(host.spacing, wait);
    host.notBefore = std::max(host.notBefore, CheckClock::now() + wait);
  }

  bool Pause(CheckClock::duration wait) override {
    std::unique_lock lock(mutex_);
    const CheckClock::time_point until = CheckClock::now() + wait;
    changed_.wait_until(lock, until, [&] { return ended_; });
    return !ended_;
  }

 private:
  struct Host {
    std::deque<std::size_t> waiting;  // tasks whose first request goes here
    int inFlight = 0;
    int limit = kRequestsPerHost;
    int silentInARow = 0;  // requests that met no answer since the last answer
    bool answered = false;
    bool silent = false;
    CheckClock::time_point notBefore{};  // when the next request may start
    CheckClock::duration spacing{};      // between the starts of two requests
  };

  // A host that has just let a request go unanswered takes no other until
  // those in flight tell whether it answers at all; else the links behind
  // them would each wait the whole timeout on a host that has gone quiet.
  // Until it first answers, a host takes no more at once than it takes to
  // give it up on: a silent host then holds no more requests (and threads)
  // than needed, and many silent hosts are found out in one timeout.
  static bool CanEnter(const Host& host, CheckClock::time_point now) {
    const int limit = host.answered ? host.limit : std::min(host.limit, kSilentInARow);
    return host.inFlight < limit && now >= host.notBefore && (host.silentInARow == 0 || host.inFlight == 0);
  }

  static void EnterNow(Host& host, CheckClock::time_point now) {
    ++host.inFlight;
    if (host.spacing > CheckClock::duration()) host.notBefore = now + host.spacing;
  }

  // Found or added: redirects lead to hosts no link names. The map's
  // elements stay where they are as it grows.
  Host& HostNamed(const Text& name) { return hosts_[name]; }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::unordered_map<Text, Host> hosts_;
  std::deque<Host*> ready_;  // hosts with tasks waiting
  bool ended_ = false;
};

}  // namespace

Text LinkCheckUserAgent() { return "Mozilla/5.0 (compatible; Pravel/" PRAVEL_VERSION "; link check)"; }

CheckReport CheckLinks(const std::vector<LinkToCheck>& links, const CheckSettings& settings,
                       const CheckProgress& progress, const std::atomic<bool>& stop) {
  // No timeout at all would let one silent server hold the check forever.
  CheckSettings bounded = settings;
  bounded.timeoutSeconds = std::max(settings.timeoutSeconds, 1);
  const std::unique_ptr<HttpClient> client = MakeHttpClient(bounded.userAgent);
  return CheckLinks(links, bounded, *client, progress, stop);
}

CheckReport CheckLinks(const std::vector<LinkToCheck>& links, const CheckSettings& settings, HttpClient& client,
                       const CheckProgress& progress, const std::atomic<bool>& stop) {
  CheckReport report;
  report.links.reserve(links.size());
  for (const LinkToCheck& link : links) report.links.push_back(CheckedLink{link, {}});

  // Every address read as the page's reader's browser reads it; what
  // needs no request is decided here, and two addresses that read alike
  // are asked once.
  std::vector<Task> tasks;
  std::vector<Text> fragments(links.size());
  std::size_t done = 0;
  {
    std::unordered_map<Text, std::size_t> seen;
    for (std::size_t i = 0; i < links.size(); ++i) {
      AddressTarget target = TargetOf(links[i].address, settings.pageFolder);
      if (target.kind == AddressTarget::Invalid || target.kind == AddressTarget::NotTried) {
        report.links[i].verdict = target.kind == AddressTarget::Invalid ? LinkVerdict{LinkState::Dead, target.where}
                                                                        : LinkVerdict{LinkState::NotTried, {}};
        ++done;
        continue;
      }
      fragments[i] = std::move(target.fragment);
      const Text key = (target.kind == AddressTarget::File ? "F" : "W") + target.where;
      const auto [at, added] = seen.try_emplace(key, tasks.size());
      if (added) tasks.push_back(Task{std::move(target), {}});
      tasks[at->second].links.push_back(i);
    }
  }
  if (progress && done > 0) progress(done, links.size());

  Scheduler scheduler(tasks);
  std::mutex mutex;  // guards what follows, the verdicts and the progress call
  std::condition_variable finished;
  std::size_t running = 0;
  std::exception_ptr failure;
  // Set by a worker that failed, so the others end too.
  std::atomic<bool> abandoned{false};

  const auto work = [&] {
    try {
      while (const std::optional<Scheduler::Taken> taken = scheduler.Take()) {
        const Task& task = tasks[taken->task];
        LinkVerdict verdict;
        if (taken->hostSilent) {
          verdict = {LinkState::Dead, "host does not answer"};
        } else if (task.target.kind == AddressTarget::Web) {
          verdict = CheckWebAddress(client, scheduler, task.target.where, settings, true);
        } else {
          verdict = CheckFile(task.target.where);
          scheduler.Leave({}, HttpAnswer::Answered);
        }
        if (verdict.state == LinkState::NotChecked) break;
        const std::lock_guard lock(mutex);
        for (const std::size_t i : task.links) {
          report.links[i].verdict = verdict;
          // Each link keeps its own place in the page it moved with.
          if (verdict.state == LinkState::Moved && verdict.detail.find('#') == Text::npos) {
            report.links[i].verdict.detail += fragments[i];
          }
        }
        done += task.links.size();
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

  const std::size_t workers = std::min<std::size_t>(static_cast<std::size_t>(std::max(settings.jobs, 1)), tasks.size());
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
    // once, and ends them all; the scheduler ends every wait.
    bool told = false;
    while (running > 0) {
      finished.wait_for(lock, kStopPoll);
      if (!told && (stop || abandoned)) {
        client.Stop();
        scheduler.End();
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
