// The link check: every address of a definition tried once, and the links
// that lead nowhere reported with their menu, their name and the reason.
//
// Web addresses are asked for with one GET each that ends when the headers
// are in, a few at a time on each host; redirects, retries and waits a
// server asks for are the check's own; files are looked up from the folder
// the page is written to. Nothing is written or changed.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "text/Lines.h"
#include "text/Text.h"

namespace pravel {

class HttpClient;

// One link of the page: the values of its three statements, as written, in
// UTF-8.
struct LinkToCheck {
  Text menu;
  Text name;
  Text address;
};

// A definition's bytes in UTF-8, as the build converts them for a page
// that declares UTF-8.
using DefinitionToUtf8 = std::function<Text(std::string_view bytes)>;

// The links the build puts on the page, in the page's order (the sorted
// records). A definition that is not UTF-8 has its values converted by
// `toUtf8`, so the check asks for what the page's reader follows.
std::vector<LinkToCheck> LinksToCheck(const TextLines& definition, const DefinitionToUtf8& toUtf8);

// "Mozilla/5.0 (compatible; Pravel/<version>; link check)": how the check
// names itself to servers, in the form sites that turn away what is not a
// browser still let in.
Text LinkCheckUserAgent();

// Requests in flight on one host (scheme, name and port) at most.
inline constexpr int kRequestsPerHost = 4;

struct CheckSettings {
  int jobs = 64;            // requests in flight at most, over all hosts
  int timeoutSeconds = 10;  // for each link, from its first request to its verdict
  Text pageFolder;          // where relative addresses are looked up; empty: the current folder
  Text userAgent = LinkCheckUserAgent();
};

enum class LinkState {
  Alive,          // answered well, or the file is there
  Moved,          // answered well, and permanently redirected: `detail` is where to
  Dead,           // `detail` is the reason, in the words the user reads
  AccessRefused,  // 401 or 403: the page may need a login or a browser; `detail` the status
  RateLimited,    // still 429 after waiting as asked: `detail` the status
  NotTried,       // nothing to fetch (javascript:, mailto:, data:, the page itself ...)
  NotChecked,     // the check was stopped before it got to this address
};

struct LinkVerdict {
  LinkState state = LinkState::NotChecked;
  Text detail;
};

struct CheckedLink {
  LinkToCheck link;
  LinkVerdict verdict;
};

struct CheckReport {
  std::vector<CheckedLink> links;  // in the order they were given
  bool stopped = false;            // stopped before every address was tried
};

// Called with the links done so far and all of them; from the check's own
// threads, never twice at once.
using CheckProgress = std::function<void(std::size_t done, std::size_t total)>;

// Runs the whole check, `jobs` addresses at a time on threads of its own,
// each address once however many links hold it. Blocks until every address
// has been tried or `stop` becomes true; then requests in flight are
// abandoned and it returns within about a second with what it has. Every
// thread it started has ended when it returns.
CheckReport CheckLinks(const std::vector<LinkToCheck>& links, const CheckSettings& settings,
                       const CheckProgress& progress, const std::atomic<bool>& stop);
// The same through a client of the caller's.
CheckReport CheckLinks(const std::vector<LinkToCheck>& links, const CheckSettings& settings, HttpClient& client,
                       const CheckProgress& progress, const std::atomic<bool>& stop);

struct CheckCounts {
  std::size_t checked = 0;  // tried to the end
  std::size_t alive = 0;
  std::size_t dead = 0;
  std::size_t moved = 0;
  std::size_t accessRefused = 0;
  std::size_t rateLimited = 0;
  std::size_t notTried = 0;
  std::size_t notChecked = 0;  // left when the check was stopped
};
CheckCounts CountLinks(const CheckReport& report);
bool AnyDead(const CheckReport& report);

// The report as the user reads it, one line each: every dead link
// ("menu / link name: address: reason"), then those refused
// ("...: access refused: 403 Forbidden") and rate-limited, then every moved
// one ("... : moved to NEW"), each in the page's order, then the summary
// ("N links checked, D dead, M moved, A access refused, R rate-limited, S
// not tried"), after a line saying how many were left when the check was
// stopped.
std::vector<Text> CheckReportLines(const CheckReport& report);
// The same lines, each ended by CR LF.
Text CheckReportText(const CheckReport& report);
// The report as one JSON document for scripts: the counts, whether the
// check was stopped, and every link with its state and detail.
Text CheckReportJson(const CheckReport& report);

}  // namespace pravel
