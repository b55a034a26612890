// One HTTP request at a time per call, through the system's own client:
// WinHTTP in the Windows program, libcurl elsewhere. The check follows
// redirects and decides what an answer means itself, so both clients only
// ask once and say what happened.
#pragma once

#include <memory>
#include <utility>

#include "text/Text.h"

namespace pravel {

enum class HttpMethod { Head, Get };

struct HttpAnswer {
  enum Outcome {
    Answered,     // `status` (and `location` when the answer carried one)
    NoAnswer,     // nothing within the timeout
    Unreachable,  // refused, no such host, TLS failure ...: asking again with another method cannot help
    BadAnswer,    // an answer that is not HTTP, or the connection closed on the request
    Stopped,      // Stop was called
  };
  Outcome outcome = Answered;
  int status = 0;
  Text location;  // the Location header as sent, not yet resolved
  Text reason;    // for Unreachable and BadAnswer: why, in the words the user reads

  static HttpAnswer Failed(Outcome outcome, Text reason = {}) {
    HttpAnswer answer;
    answer.outcome = outcome;
    answer.reason = std::move(reason);
    return answer;
  }
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // One request for the absolute http: or https: URL, without following a
  // redirect and without reading the body. Called from several threads at
  // once.
  virtual HttpAnswer Fetch(HttpMethod method, const Text& url) = 0;
  // Makes the requests in flight, and every one after, end at once as
  // Stopped. Called from any thread.
  virtual void Stop() = 0;
};

// The client of the platform, each request given `timeoutSeconds` and
// naming itself `userAgent`.
std::unique_ptr<HttpClient> MakeHttpClient(int timeoutSeconds, const Text& userAgent);

}  // namespace pravel
