// The HTTP client of the Windows program: WinHTTP, part of the system.
#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <memory>
#include <string>

#include "linkcheck/HttpClient.h"

namespace pravel {

namespace {

std::wstring Wide(const Text& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

Text Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  Text text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

// WinHTTP's own words for an error, where the system has them.
Text ErrorWords(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     GetModuleHandleW(L"winhttp.dll"), error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring words = length > 0 ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.')) words.pop_back();
  Text text = "error " + std::to_string(error);
  if (!words.empty()) text += ": " + Narrow(words);
  return text;
}

// Wine's WinHTTP passes some errors of its sockets on as they are.
constexpr DWORD kSocketTimedOut = 10060;      // WSAETIMEDOUT
constexpr DWORD kSocketRefused = 10061;       // WSAECONNREFUSED
constexpr DWORD kSocketHostNotFound = 11001;  // WSAHOST_NOT_FOUND

HttpAnswer AnswerOfError(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_TIMEOUT:
    case kSocketTimedOut:
      return HttpAnswer::Failed(HttpAnswer::NoAnswer);
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case kSocketHostNotFound:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "host not found");
    case kSocketRefused:
    case ERROR_WINHTTP_CANNOT_CONNECT:
      // WinHTTP does not tell a refusal from an unreachable host; nearly
      // always it is the refusal.
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "connection refused");
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "not a valid address");
    case ERROR_WINHTTP_CONNECTION_ERROR:
      return HttpAnswer::Failed(HttpAnswer::BadAnswer, "the server closed the connection without an answer");
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
      return HttpAnswer::Failed(HttpAnswer::BadAnswer, "bad answer: not HTTP");
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
      return HttpAnswer::Failed(HttpAnswer::Unreachable,
                                "TLS failure: the certificate has expired or is not yet valid");
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "TLS failure: the certificate names another host");
    case ERROR_WINHTTP_SECURE_INVALID_CA:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "TLS failure: the certificate's issuer is not trusted");
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "TLS failure: the certificate has been revoked");
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "TLS failure: " + ErrorWords(error));
    default:
      return HttpAnswer::Failed(HttpAnswer::Unreachable, ErrorWords(error));
  }
}

struct HandleCloser {
  void operator()(void* handle) const { WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// How often a thread waiting on a request looks at the stop.
constexpr DWORD kSliceMilliseconds = 100;

// What a request's callbacks leave for the thread waiting on it. It belongs
// to the request's handle and goes with it (the last callback,
// HANDLE_CLOSING, deletes it), so the waiting thread may close the handle
// and leave at any moment without waiting for WinHTTP to let go.
struct Pending {
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD error = 0;  // written before `done` is set
  ~Pending() {
    if (done) CloseHandle(done);
  }
};

void CALLBACK OnRequest(HINTERNET request, DWORD_PTR context, DWORD status, void* information, DWORD) {
  auto* pending = reinterpret_cast<Pending*>(context);
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
      if (!WinHttpReceiveResponse(request, nullptr)) {
        pending->error = GetLastError();
        SetEvent(pending->done);
      }
      break;
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
      SetEvent(pending->done);
      break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
      pending->error = static_cast<WINHTTP_ASYNC_RESULT*>(information)->dwError;
      SetEvent(pending->done);
      break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
      delete pending;
      break;
    default:
      break;
  }
}

// A header of an answer, or nothing when it has none.
Text HeaderOf(HINTERNET request, DWORD which) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                      WINHTTP_NO_HEADER_INDEX);
  if (size == 0) return {};
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return {};
  }
  value.resize(size / sizeof(wchar_t));
  return Narrow(value);
}

// The status, the Location and the Retry-After of a request whose headers
// have come.
HttpAnswer AnswerOf(HINTERNET request) {
  HttpAnswer answer;
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return AnswerOfError(GetLastError());
  }
  answer.status = static_cast<int>(status);
  answer.location = HeaderOf(request, WINHTTP_QUERY_LOCATION);
  answer.retryAfter = HeaderOf(request, WINHTTP_QUERY_RETRY_AFTER);
  return answer;
}

// Requests run asynchronously, each waited for by the thread that asks, in
// slices, so that a stop ends the wait at once. A synchronous request can
// be ended only by closing its handle from another thread, and Wine's
// WinHTTP then goes on waiting for the server until the timeout.
class WinHttpClient final : public HttpClient {
 public:
  explicit WinHttpClient(const Text& userAgent)
      : session_(WinHttpOpen(Wide(userAgent).c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                             WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC)),
        openError_(session_ ? 0 : GetLastError()) {}

  HttpAnswer Fetch(const Text& url, const RequestTimes& times) override {
    const ULONGLONG started = GetTickCount64();
    if (stopped_) return HttpAnswer::Failed(HttpAnswer::Stopped);
    if (!session_)
      return HttpAnswer::Failed(HttpAnswer::Unreachable, "WinHTTP cannot start: " + ErrorWords(openError_));
    const std::wstring wideUrl = Wide(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts)) return AnswerOfError(GetLastError());
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) path = L"/";

    const Handle connection(WinHttpConnect(session_.get(), host.c_str(), parts.nPort, 0));
    if (!connection) return AnswerOfError(GetLastError());
    const Handle request(WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                            WINHTTP_DEFAULT_ACCEPT_TYPES,
                                            parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
    if (!request) return AnswerOfError(GetLastError());
    // The check follows redirects itself, to tell the user where they lead.
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable);
    const int total = times.totalMilliseconds;
    WinHttpSetTimeouts(request.get(), times.connectMilliseconds, times.connectMilliseconds, total, total);
    // The wait for the headers has a timeout of its own, 90 s unless told.
    DWORD headersTimeout = static_cast<DWORD>(total);
    WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headersTimeout, sizeof headersTimeout);

    auto* pending = new Pending;
    if (!pending->done) {
      const DWORD error = GetLastError();
      delete pending;
      return AnswerOfError(error);
    }
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(pending);
    WinHttpSetOption(request.get(), WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
    if (WinHttpSetStatusCallback(request.get(), OnRequest,
                                 WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                                 0) == WINHTTP_INVALID_STATUS_CALLBACK) {
      const DWORD error = GetLastError();
      delete pending;
      return AnswerOfError(error);
    }
    // From here the handle owns `pending`: it is not read after the handle is closed.
    if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, context)) {
      return AnswerOfError(GetLastError());
    }
    DWORD waited;
    while ((waited = WaitForSingleObject(pending->done, kSliceMilliseconds)) == WAIT_TIMEOUT) {
      if (stopped_) return HttpAnswer::Failed(HttpAnswer::Stopped);
      // WinHTTP's timeouts are each step's; the whole request has its own.
      if (GetTickCount64() - started >= static_cast<ULONGLONG>(total)) return HttpAnswer::Failed(HttpAnswer::NoAnswer);
    }
    if (waited != WAIT_OBJECT_0) return AnswerOfError(GetLastError());
    if (pending->error != 0) return AnswerOfError(pending->error);
    return AnswerOf(request.get());
  }

  void Stop() override { stopped_ = true; }

 private:
  const Handle session_;
  const DWORD openError_;
  std::atomic<bool> stopped_{false};
};

}  // namespace

std::unique_ptr<HttpClient> MakeHttpClient(const Text& userAgent) { return std::make_unique<WinHttpClient>(userAgent); }

Text AsciiHostName(std::string_view utf8) {
  const std::wstring wide = Wide(Text(utf8));
  if (wide.empty()) return {};
  const int length = IdnToAscii(0, wide.data(), static_cast<int>(wide.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring ascii(static_cast<std::size_t>(length), L'\0');
  if (IdnToAscii(0, wide.data(), static_cast<int>(wide.size()), ascii.data(), length) != length) return {};
  return Narrow(ascii);
}

}  // namespace pravel
