// What the end-to-end runs of check_links_test.py cannot show: the forms of
// addresses and redirects a test server does not send, and a stop while
// requests are in flight (the script runs this program with the address
// of its server that never answers).
#include "linkcheck/LinkCheck.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "linkcheck/Address.h"
#include "linkcheck/AddressCheck.h"

namespace pravel {
namespace {

struct TargetCase {
  const char* address;
  AddressTarget::Kind kind;
  const char* where;
};

TEST(LinkCheck, AddressesLeadWhereABrowserGoes) {
  const TargetCase cases[] = {
      {"docs/a%20b.html?x=1#part", AddressTarget::File, "docs/a b.html"},
      {"#top", AddressTarget::NotTried, ""},
      {"?page=2", AddressTarget::NotTried, ""},
      {"file:///srv/a.html", AddressTarget::File, "/srv/a.html"},
      {"FILE://localhost/srv/a%20b.html", AddressTarget::File, "/srv/a b.html"},
      {"file:///C:/Pages/a.html", AddressTarget::File, "C:/Pages/a.html"},
      {"file:///c|/Pages/a.html", AddressTarget::File, "c:/Pages/a.html"},
      {"file://server/share/a.html", AddressTarget::File, "//server/share/a.html"},
      {"C:\\Pages\\a.html", AddressTarget::File, "C:/Pages/a.html"},
      {"\\\\server\\share\\Tom&amp;Jerry.html", AddressTarget::File, "//server/share/Tom&Jerry.html"},
      {"data:text/plain,x", AddressTarget::NotTried, ""},
      {" \t", AddressTarget::Invalid, "no address"},
      {"http://", AddressTarget::Invalid, "not a valid address"},
      {"http://h.org:8x/", AddressTarget::Invalid, "not a valid address"},
      {"http:/H.Org:80/./a/../b", AddressTarget::Web, "http://h.org/b"},
      {"https:\\h.org:443", AddressTarget::Web, "https://h.org/"},
      {"http://h.org/a\tb\nc", AddressTarget::Web, "http://h.org/abc"},
      {"http://l\xC3\xB6"
       "calhost:8/",
       AddressTarget::Web, "http://xn--lcalhost-n4a:8/"},
      {" HTTP://h.org/a b\"c{}?q=\xC3\xA9#x ", AddressTarget::Web, "http://h.org/a%20b%22c%7B%7D?q=%C3%A9"},
      {"https://h.org", AddressTarget::Web, "https://h.org/"},
      {"http://h.org/?a=1&amp;b=&#50;&#x33;&copy;&copy&nosuch;", AddressTarget::Web,
       "http://h.org/?a=1&b=23%C2%A9&copy&nosuch;"},
      {"http://h.org\\a\\b", AddressTarget::Web, "http://h.org/a/b"},
  };
  for (const TargetCase& c : cases) {
    const AddressTarget target = TargetOf(c.address, "");
    EXPECT_EQ(target.kind, c.kind) << c.address;
    EXPECT_EQ(target.where, c.where) << c.address;
  }
}

TEST(LinkCheck, RedirectsResolveAgainstTheirRequest) {
  const std::pair<const char*, const char*> cases[] = {
      {"https://other.org/p", "https://other.org/p"},
      {"//other.org", "http://other.org/"},
      {"/top?x", "http://h.org:8/top?x"},
      {"d", "http://h.org:8/a/b/d"},
      {"../d/./e/", "http://h.org:8/a/d/e/"},
      {"../../../../d", "http://h.org:8/d"},
      {"./..", "http://h.org:8/a/"},
      {"?r", "http://h.org:8/a/b/c?r"},
      {"#f", "http://h.org:8/a/b/c?q"},
      {"d e#f", "http://h.org:8/a/b/d%20e"},
  };
  for (const auto& [location, url] : cases) {
    const AddressTarget target = ResolveRedirect("http://h.org:8/a/b/c?q", location);
    EXPECT_EQ(target.kind, AddressTarget::Web) << location;
    EXPECT_EQ(target.where, url) << location;
  }
  EXPECT_EQ(ResolveRedirect("http://h.org/", "ftp://h.org/f").kind, AddressTarget::NotTried);
}

TEST(LinkCheck, RetryAfterInSecondsOrAsADate) {
  constexpr long long kNow = 784111777;  // Sun, 06 Nov 1994 08:49:37 GMT
  const std::pair<const char*, long long> cases[] = {
      {"120", 120},
      {" 0 ", 0},
      {"Sun, 06 Nov 1994 08:50:07 GMT", 30},
      {"Sat, 05 Nov 1994 08:49:37 GMT", 0},
      {"Sun, 06 Nov 1994 08:49", -1},
      {"soon", -1},
      {"-5", -1},
  };
  for (const auto& [value, seconds] : cases) EXPECT_EQ(RetryAfterSeconds(value, kNow), seconds) << value;
}

TEST(LinkCheck, StopEndsTheRequestsInFlight) {
  const char* silent = std::getenv("PRAVEL_SILENT_URL");
  ASSERT_NE(silent, nullptr) << "check_links_test.py runs this with the address of a server that never answers";
  const std::vector<LinkToCheck> links = {{"M", "a", Text(silent) + "/a"}, {"M", "b", Text(silent) + "/b"}};
  CheckSettings settings;
  // Far beyond the script's patience: only the stop can end these.
  settings.timeoutSeconds = 600;
  std::atomic<bool> stop{false};
  // Long enough for both requests to be waiting on the server.
  std::thread stopper([&stop] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    stop = true;
  });
  const CheckReport report = CheckLinks(links, settings, nullptr, stop);
  stopper.join();
  EXPECT_TRUE(report.stopped);
  EXPECT_EQ(CheckReportText(report),
            "The check was stopped: 2 links were not checked.\r\n"
            "0 links checked, 0 dead, 0 moved, 0 access refused, 0 rate-limited, 0 not tried\r\n");
}

}  // namespace
}  // namespace pravel
