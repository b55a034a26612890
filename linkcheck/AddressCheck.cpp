#include "linkcheck/AddressCheck.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "linkcheck/Address.h"
#include "text/TextFile.h"

namespace pravel {

namespace {

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A status as the user reads it: the number and its standard phrase. The
// phrase a server sends is not used: HTTP/2 sends none, and some servers
// send anything.
Text StatusWords(int status) {
  static constexpr std::pair<int, const char*> kPhrases[] = {
      {400, "Bad Request"},
      {401, "Unauthorized"},
      {402, "Payment Required"},
      {403, "Forbidden"},
      {404, "Not Found"},
      {405, "Method Not Allowed"},
      {406, "Not Acceptable"},
      {407, "Proxy Authentication Required"},
      {408, "Request Timeout"},
      {409, "Conflict"},
      {410, "Gone"},
      {411, "Length Required"},
      {412, "Precondition Failed"},
      {414, "URI Too Long"},
      {415, "Unsupported Media Type"},
      {421, "Misdirected Request"},
      {429, "Too Many Requests"},
      {451, "Unavailable For Legal Reasons"},
      {500, "Internal Server Error"},
      {501, "Not Implemented"},
      {502, "Bad Gateway"},
      {503, "Service Unavailable"},
      {504, "Gateway Timeout"},
      {505, "HTTP Version Not Supported"},
  };
  for (const auto& [code, phrase] : kPhrases) {
    if (code == status) return NumberToText(status) + " " + phrase;
  }
  return "status " + NumberToText(status);
}

// Days from 1970-01-01 to the date (proleptic Gregorian).
long long DaysSinceEpoch(long long year, int month, int day) {
  year -= month <= 2;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// "Sun, 06 Nov 1994 08:49:37 GMT", the one date form servers send now, as
// seconds since 1970; -1 when it is not one.
long long HttpDateSeconds(std::string_view value) {
  static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const std::size_t comma = value.find(", ");
  if (comma == std::string_view::npos || value.size() < comma + 22) return -1;
  const std::string_view date = value.substr(comma + 2);  // "06 Nov 1994 08:49:37"
  const auto number = [&](std::size_t at, std::size_t digits) {
    long long n = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
      if (date[i] < '0' || date[i] > '9') return -1LL;
      n = n * 10 + (date[i] - '0');
    }
    return n;
  };
  const std::size_t month = kMonths.find(date.substr(3, 3));
  const long long day = number(0, 2), year = number(7, 4), hour = number(12, 2), minute = number(15, 2),
                  second = number(18, 2);
  if (month == std::string_view::npos || month % 3 != 0 || day < 1 || year < 0 || hour < 0 || minute < 0 ||
      second < 0) {
    return -1;
  }
  return DaysSinceEpoch(year, static_cast<int>(month / 3 + 1), static_cast<int>(day)) * 86400 + hour * 3600 +
         minute * 60 + second;
}

bool IsPermanent(int status) { return status == 301 || status == 308; }

// What the last answer of a link means.
LinkVerdict VerdictOf(const HttpAnswer& answer, const Text& noAnswer, const Text& movedTo) {
  switch (answer.outcome) {
    case HttpAnswer::Answered:
      break;
    case HttpAnswer::NoAnswer:
      return {LinkState::Dead, noAnswer};
    case HttpAnswer::Stopped:
      return {};
    default:
      return {LinkState::Dead, answer.reason};
  }
  const int status = answer.status;
  if (status < 400) return movedTo.empty() ? LinkVerdict{LinkState::Alive, {}} : LinkVerdict{LinkState::Moved, movedTo};
  if (status == 401 || status == 403) return {LinkState::AccessRefused, StatusWords(status)};
  if (status == 429) return {LinkState::RateLimited, StatusWords(status)};
  return {LinkState::Dead, StatusWords(status)};
}

// Failures that the same request may not meet a moment later: a server
// error, a reset or garbled answer, no answer in time.
bool MayPass(const HttpAnswer& answer) {
  return answer.outcome == HttpAnswer::NoAnswer || answer.outcome == HttpAnswer::BadAnswer ||
         (answer.outcome == HttpAnswer::Answered && (answer.status >= 500 || answer.status == 429));
}

// How long the server asked to be left alone: its Retry-After on 429 and
// 503, a second on a 429 without one. Zero when it asked nothing.
CheckClock::duration AskedToWait(const HttpAnswer& answer) {
  if (answer.outcome != HttpAnswer::Answered || (answer.status != 429 && answer.status != 503)) return {};
  const long long now =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  const long long seconds = RetryAfterSeconds(answer.retryAfter, now);
  if (seconds < 0) return answer.status == 429 ? CheckClock::duration(std::chrono::seconds(1)) : CheckClock::duration();
  return std::chrono::seconds(seconds);
}

int Milliseconds(CheckClock::duration duration) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(duration).count());
}

}  // namespace

long long RetryAfterSeconds(std::string_view value, long long nowUnixSeconds) {
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  if (!value.empty() && value.size() <= 9 && value.find_first_not_of("0123456789") == std::string_view::npos) {
    return std::stoll(Text(value));
  }
  const long long at = HttpDateSeconds(value);
  if (at < 0) return -1;
  return at > nowUnixSeconds ? at - nowUnixSeconds : 0;
}

// One GET per request: it ends when the headers are in, so it costs a
// server little more than a HEAD, and it is what the page's reader's
// browser sends. HEAD is answered wrongly too often to be asked first: 405
// or 501, garbage or nothing at all where GET works, and 200 where GET is
// 404, a dead link reported alive.
LinkVerdict CheckWebAddress(HttpClient& client, RequestGate& gate, const Text& start, const CheckSettings& settings,
                            bool entered) {
  const CheckClock::time_point deadline = CheckClock::now() + std::chrono::seconds(settings.timeoutSeconds);
  const Text noAnswer = "no answer in " + NumberToText(settings.timeoutSeconds) + " s";
  Text url = start;
  std::vector<Text> visited{url};
  // Where the permanent redirects from the link lead, while only such
  // redirects have been met: the address to write instead.
  Text movedTo;
  Text movedFragment;
  bool onlyPermanent = true;
  bool retried = false;
  HttpAnswer answer = HttpAnswer::Failed(HttpAnswer::NoAnswer);
  for (;;) {
    const Text host = HostOf(url);
    if (!entered) {
      switch (gate.Enter(host, deadline)) {
        case RequestGate::Entry::Go:
          break;
        case RequestGate::Entry::HostSilent:
          return {LinkState::Dead, "host does not answer"};
        case RequestGate::Entry::TimeUp:
          // Waiting to ask again, or to follow a redirect: what was heard last decides.
          return retried ? VerdictOf(answer, noAnswer, {}) : LinkVerdict{LinkState::Dead, noAnswer};
        case RequestGate::Entry::Stopped:
          return {};
      }
    }
    entered = false;
    const CheckClock::duration left = deadline - CheckClock::now();
    if (left < std::chrono::milliseconds(100)) {
      gate.Leave(host, HttpAnswer::Stopped);
      return retried ? VerdictOf(answer, noAnswer, {}) : LinkVerdict{LinkState::Dead, noAnswer};
    }
    answer =
        client.Fetch(url, {Milliseconds(std::min<CheckClock::duration>(left, kConnectTimeout)), Milliseconds(left)});
    gate.Leave(host, answer.outcome);
    if (answer.outcome == HttpAnswer::Stopped) return {};

    if (const CheckClock::duration wait = AskedToWait(answer); wait > CheckClock::duration()) {
      const CheckClock::duration granted = std::min<CheckClock::duration>(wait, kLongestRetryAfter);
      gate.SlowDown(host, granted);
      if (!retried && wait <= kLongestRetryAfter && CheckClock::now() + granted < deadline) {
        retried = true;
        if (!gate.Pause(granted)) return {};
        continue;
      }
      return VerdictOf(answer, noAnswer, {});
    }
    if (MayPass(answer) && !retried && CheckClock::now() + kRetryPause < deadline) {
      retried = true;
      if (!gate.Pause(kRetryPause)) return {};
      continue;
    }
    if (answer.outcome != HttpAnswer::Answered || !IsRedirect(answer.status)) {
      return VerdictOf(answer, noAnswer, movedTo.empty() ? Text() : movedTo + movedFragment);
    }

    if (answer.location.empty()) return {LinkState::Dead, "redirect without a Location"};
    if (visited.size() > static_cast<std::size_t>(kMaxRedirects)) {
      return {LinkState::Dead, "more than " + NumberToText(kMaxRedirects) + " redirects"};
    }
    AddressTarget next = ResolveRedirect(url, answer.location);
    if (next.kind != AddressTarget::Web) {
      return {LinkState::Dead, "redirected to an address that cannot be tried: " + next.where};
    }
    if (std::find(visited.begin(), visited.end(), next.where) != visited.end()) {
      return {LinkState::Dead, "redirect loop"};
    }
    // A temporary redirect (a login page, a page of the day) leaves the
    // link as it is: it counts by where it leads.
    onlyPermanent = onlyPermanent && IsPermanent(answer.status);
    if (onlyPermanent) {
      movedTo = next.where;
      // The fragment goes along unless the new address brings its own.
      if (!next.fragment.empty()) movedFragment = next.fragment;
    }
    visited.push_back(next.where);
    url = std::move(next.where);
    retried = false;
  }
}

LinkVerdict CheckFile(const Text& name) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(PathOf(name), ec);
  NoMemoryLost(ec);
  if (std::filesystem::exists(status)) return {LinkState::Alive, {}};
  if (!ec || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory) {
    return {LinkState::Dead, "file not found"};
  }
  return {LinkState::Dead, "file cannot be looked at: " + ec.message()};
}

}  // namespace pravel
