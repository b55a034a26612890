// The verdict on one address: a web address asked for, with its redirects
// followed and its failures asked again; a file looked up.
#pragma once

#include <chrono>
#include <string_view>

#include "linkcheck/HttpClient.h"
#include "linkcheck/LinkCheck.h"

namespace pravel {

using CheckClock = std::chrono::steady_clock;

// Redirects followed before an address is given up as dead.
inline constexpr int kMaxRedirects = 10;
// The longest wait a Retry-After is granted; a server asking for more has
// its link reported rate-limited (or dead) without the wait.
inline constexpr std::chrono::seconds kLongestRetryAfter{10};
// The pause before a failure that may pass is asked again.
inline constexpr std::chrono::milliseconds kRetryPause{500};
// How long a connection may take, within the link's timeout.
inline constexpr std::chrono::seconds kConnectTimeout{5};

// What every request of a check passes through, host by host (`HostOf`):
// it keeps the requests in flight on a host few, spaces them when the host
// asked to wait, and tells which hosts have stopped answering.
class RequestGate {
 public:
  enum class Entry { Go, HostSilent, TimeUp, Stopped };
  virtual ~RequestGate() = default;
  // Waits until a request to the host may start, and counts it in flight.
  virtual Entry Enter(const Text& host, CheckClock::time_point deadline) = 0;
  // The request entered on the host ended so.
  virtual void Leave(const Text& host, HttpAnswer::Outcome outcome) = 0;
  // The host asked to wait: nothing starts on it before `wait` has passed,
  // and from now on its requests go one at a time, at least `wait` apart.
  virtual void SlowDown(const Text& host, CheckClock::duration wait) = 0;
  // Waits for `wait`; false when the check was stopped meanwhile.
  virtual bool Pause(CheckClock::duration wait) = 0;
};

// A web URL (`TargetOf`'s) checked within the settings' timeout.
// `entered`: the gate let its first request in already. NotChecked when
// the check was stopped on the way.
LinkVerdict CheckWebAddress(HttpClient& client, RequestGate& gate, const Text& url, const CheckSettings& settings,
                            bool entered);

// A file is there or it is not; a folder counts, since a browser shows it.
LinkVerdict CheckFile(const Text& name);

// The seconds a Retry-After asks for: a number of seconds or an HTTP date;
// -1 when it is neither.
long long RetryAfterSeconds(std::string_view value, long long nowUnixSeconds);

}  // namespace pravel
