// The HTTP client of the native pravel-cli: libcurl.
//
// Each request runs on curl's multi interface, driven by the calling
// thread in slices of a tenth of a second, so a stop ends it within one
// slice whatever it is doing: looking up the host, connecting, or waiting
// for an answer that never comes.
#include <curl/curl.h>
#include <idn2.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <system_error>

#include "linkcheck/HttpClient.h"

namespace pravel {

namespace {

constexpr int kSliceMilliseconds = 100;

// Only the status and the headers are wanted: the first byte of a page
// ends the transfer (which curl then calls a write error).
std::size_t RefuseBody(char*, std::size_t, std::size_t, void*) { return 0; }

bool IsTlsFailure(CURLcode code) {
  switch (code) {
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_USE_SSL_FAILED:
      return true;
    default:
      return false;
  }
}

// What a finished transfer means.
HttpAnswer AnswerOf(CURL* easy, CURLcode code, const char* errorText) {
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  if (status > 0 && (code == CURLE_OK || code == CURLE_WRITE_ERROR)) {
    HttpAnswer answer;
    answer.status = static_cast<int>(status);
    curl_header* header = nullptr;
    if (curl_easy_header(easy, "Location", 0, CURLH_HEADER, -1, &header) == CURLHE_OK) answer.location = header->value;
    if (curl_easy_header(easy, "Retry-After", 0, CURLH_HEADER, -1, &header) == CURLHE_OK) {
      answer.retryAfter = header->value;
    }
    return answer;
  }
  const Text detail = errorText[0] != '\0' ? Text(errorText) : Text(curl_easy_strerror(code));
  long systemError = 0;
  curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &systemError);
  switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
      return HttpAnswer::Failed(HttpAnswer::NoAnswer);
    case CURLE_COULDNT_RESOLVE_HOST:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "host not found");
    case CURLE_COULDNT_RESOLVE_PROXY:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "proxy not found");
    case CURLE_COULDNT_CONNECT:
      if (systemError == ECONNREFUSED) return HttpAnswer::Failed(HttpAnswer::Unreachable, "connection refused");
      if (systemError == ETIMEDOUT) return HttpAnswer::Failed(HttpAnswer::NoAnswer);
      return HttpAnswer::Failed(
          HttpAnswer::Unreachable,
          "cannot connect: " +
              (systemError != 0 ? std::generic_category().message(static_cast<int>(systemError)) : detail));
    case CURLE_URL_MALFORMAT:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "not a valid address");
    case CURLE_GOT_NOTHING:
      return HttpAnswer::Failed(HttpAnswer::BadAnswer, "the server closed the connection without an answer");
    case CURLE_RECV_ERROR:
      if (systemError == ECONNRESET) return HttpAnswer::Failed(HttpAnswer::BadAnswer, "connection reset");
      return HttpAnswer::Failed(HttpAnswer::BadAnswer, "bad answer: " + detail);
    case CURLE_SEND_ERROR:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_PARTIAL_FILE:
      return HttpAnswer::Failed(HttpAnswer::BadAnswer, "bad answer: " + detail);
    default:
      break;
  }
  if (IsTlsFailure(code)) return HttpAnswer::Failed(HttpAnswer::Unreachable, "TLS failure: " + detail);
  return HttpAnswer::Failed(HttpAnswer::Unreachable, detail);
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

class CurlClient final : public HttpClient {
 public:
  explicit CurlClient(const Text& userAgent) : userAgent_(userAgent) {
    // Not thread-safe itself in older releases, and needed once before
    // any thread makes a handle.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  }

  HttpAnswer Fetch(const Text& url, const RequestTimes& times) override {
    if (stopped_) return HttpAnswer::Failed(HttpAnswer::Stopped);
    const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    const std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) return HttpAnswer::Failed(HttpAnswer::Unreachable, "libcurl cannot start a request");
    char errorText[CURL_ERROR_SIZE] = "";
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, RefuseBody);
    curl_easy_setopt(e, CURLOPT_USERAGENT, userAgent_.c_str());
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(times.connectMilliseconds));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(times.totalMilliseconds));
    // No signals: the default resolver would time out by SIGALRM, which
    // is not to be had on several threads at once.
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
    curl_multi_add_handle(multi.get(), e);

    int running = 1;
    while (running > 0) {
      if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
      if (running == 0) break;
      if (stopped_) {
        curl_multi_remove_handle(multi.get(), e);
        return HttpAnswer::Failed(HttpAnswer::Stopped);
      }
      curl_multi_poll(multi.get(), nullptr, 0, kSliceMilliseconds, nullptr);
    }
    int left = 0;
    CURLcode code = CURLE_FAILED_INIT;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
      if (message->msg == CURLMSG_DONE) code = message->data.result;
    }
    HttpAnswer answer = AnswerOf(e, code, errorText);
    curl_multi_remove_handle(multi.get(), e);
    return answer;
  }

  void Stop() override { stopped_ = true; }

 private:
  const Text userAgent_;
  std::atomic<bool> stopped_{false};
};

}  // namespace

std::unique_ptr<HttpClient> MakeHttpClient(const Text& userAgent) { return std::make_unique<CurlClient>(userAgent); }

// libidn2 directly, on UTF-8: libcurl's own conversion reads the name in
// the locale's character set, which a program that never sets its locale
// has as ASCII, and then gives up on every name in another script.
Text AsciiHostName(std::string_view utf8) {
  char* ascii = nullptr;
  const Text name(utf8);
  if (idn2_to_ascii_8z(name.c_str(), &ascii, IDN2_NONTRANSITIONAL | IDN2_NFC_INPUT) != IDN2_OK) return {};
  Text converted(ascii);
  idn2_free(ascii);
  return converted;
}

}  // namespace pravel
