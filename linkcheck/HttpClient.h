// One HTTP request at a time per call, through the system's own client:
// WinHTTP in the Windows program, libcurl elsewhere. The check follows
// redirects, retries and decides what an answer means itself, so both
// clients only ask once and say what happened.
#pragma once

#include <memory>
#include <string_view>
#include <utility>

#include "text/Text.h"

namespace pravel {

struct HttpAnswer {
  enum Outcome {
    Answered,     // `status` (and `location` when the answer carried one)
    NoAnswer,     // no connection, or no answer, within the time given
    Unreachable,  // refused, no such host, TLS failure ...: asking again cannot help
    BadAnswer,    // an answer that is not HTTP, or the connection closed or reset on the request
    Stopped,      // Stop was called
  };
  Outcome outcome = Answered;
  int status = 0;
  Text location;    // the Location header as sent, not yet resolved
  Text retryAfter;  // the Retry-After header as sent
  Text reason;      // for Unreachable and BadAnswer: why, in the words the user reads

  static HttpAnswer Failed(Outcome outcome, Text reason = {}) {
    HttpAnswer answer;
    answer.outcome = outcome;
    answer.reason = std::move(reason);
    return answer;
  }
};

// How long one request may take: to be connected, and in all until its
// headers are in.
struct RequestTimes {
  int connectMilliseconds = 0;
  int totalMilliseconds = 0;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // One GET of the absolute http: or https: URL (host in ASCII), ended as
  // soon as the headers are in: the body is never read, and no redirect is
  // followed. Called from several threads at once.
  virtual HttpAnswer Fetch(const Text& url, const RequestTimes& times) = 0;
  // Makes the requests in flight, and every one after, end at once as
  // Stopped. Called from any thread.
  virtual void Stop() = 0;
};

// The client of the platform, naming itself `userAgent`.
std::unique_ptr<HttpClient> MakeHttpClient(const Text& userAgent);

// A host name in another script (UTF-8) as DNS knows it, by the platform's
// IDNA conversion ("bücher.example" is "xn--bcher-kva.example"); empty
// when the name cannot be converted.
Text AsciiHostName(std::string_view utf8);

}  // namespace pravel
