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

// Where a chain of requests ended: the last answer and the URL that gave
// it, or a redirect that could not be followed.
struct ChainEnd {
  HttpAnswer answer;
  Text url;
  int redirects = 0;
  Text problem;  // a redirect not followed: the reason the user reads
};

ChainEnd FollowRedirects(HttpClient& client, HttpMethod method, const Text& url) {
  ChainEnd end;
  end.url = url;
  std::vector<Text> visited{url};
  for (;;) {
    end.answer = client.Fetch(method, end.url);
    if (end.answer.outcome != HttpAnswer::Answered || !IsRedirect(end.answer.status)) return end;
    if (end.answer.location.empty()) {
      end.problem = "redirect without a Location";
      return end;
    }
    if (end.redirects == kMaxRedirects) {
      end.problem = "more than " + NumberToText(kMaxRedirects) + " redirects";
      return end;
    }
    AddressTarget next = ResolveRedirect(end.url, end.answer.location);
    if (next.kind != AddressTarget::Web) {
      end.problem = "redirected to an address that cannot be tried: " + next.where;
      return end;
    }
    if (std::find(visited.begin(), visited.end(), next.where) != visited.end()) {
      end.problem = "redirect loop";
      return end;
    }
    visited.push_back(next.where);
    end.url = std::move(next.where);
    ++end.redirects;
  }
}

bool EndedWell(const ChainEnd& end) {
  return end.problem.empty() && end.answer.outcome == HttpAnswer::Answered && end.answer.status < 400;
}

LinkVerdict VerdictOf(const ChainEnd& end, int timeoutSeconds) {
  if (end.answer.outcome == HttpAnswer::Stopped) return {};
  if (!end.problem.empty()) return {LinkState::Dead, end.problem};
  switch (end.answer.outcome) {
    case HttpAnswer::NoAnswer:
      return {LinkState::Dead, "no answer in " + NumberToText(timeoutSeconds) + " s"};
    case HttpAnswer::Unreachable:
    case HttpAnswer::BadAnswer:
      return {LinkState::Dead, end.answer.reason};
    default:
      break;
  }
  if (end.answer.status >= 400) return {LinkState::Dead, StatusWords(end.answer.status)};
  if (end.redirects > 0) return {LinkState::Moved, end.url};
  return {LinkState::Alive, {}};
}

// HEAD first: it asks for no page. Many servers answer HEAD wrongly, though
// (405 or 501, but also 403, 404 or a closed connection, where GET gets
// the page), so a HEAD that does not end well is asked again with GET,
// which decides. A server that cannot be reached at all, or that does not
// answer, is not asked twice: GET would meet the same, and wait as long.
LinkVerdict CheckWebAddress(HttpClient& client, const Text& url, int timeoutSeconds) {
  const ChainEnd head = FollowRedirects(client, HttpMethod::Head, url);
  const HttpAnswer::Outcome outcome = head.answer.outcome;
  if (EndedWell(head) || outcome == HttpAnswer::NoAnswer || outcome == HttpAnswer::Unreachable ||
      outcome == HttpAnswer::Stopped) {
    return VerdictOf(head, timeoutSeconds);
  }
  return VerdictOf(FollowRedirects(client, HttpMethod::Get, url), timeoutSeconds);
}

// A file is there or it is not; a folder counts, since a browser shows it.
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

}  // namespace

LinkVerdict CheckAddress(HttpClient& client, std::string_view address, const CheckSettings& settings) {
  const AddressTarget target = TargetOf(address, settings.pageFolder);
  switch (target.kind) {
    case AddressTarget::Web:
      return CheckWebAddress(client, target.where, settings.timeoutSeconds);
    case AddressTarget::File:
      return CheckFile(target.where);
    case AddressTarget::Invalid:
      return {LinkState::Dead, target.where};
    case AddressTarget::NotTried:
      break;
  }
  return {LinkState::NotTried, {}};
}

}  // namespace pravel
