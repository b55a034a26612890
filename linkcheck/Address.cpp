#include "linkcheck/Address.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "linkcheck/HttpClient.h"
#include "text/CharacterReferences.h"
#include "text/HtmlText.h"
#include "text/PercentCoding.h"
#include "text/TextFile.h"

namespace pravel {

namespace {

// An absolute or relative URL cut into the parts a resolution works on.
// `scheme` and `query` are empty when absent; `hasAuthority` tells an empty
// host ("file:///x") from none ("file:/x").
struct UrlParts {
  Text scheme;  // lower case, without ":"
  bool hasAuthority = false;
  std::string_view authority;
  std::string_view path;
  std::string_view query;     // with its "?"
  std::string_view fragment;  // with its "#"
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A scheme is a letter, then letters, digits, "+", "-" or ".", then ":".
std::size_t SchemeLength(std::string_view url) {
  if (url.empty() || !IsAsciiLetter(url[0])) return 0;
  for (std::size_t i = 1; i < url.size(); ++i) {
    const char c = url[i];
    if (c == ':') return i;
    if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return 0;
  }
  return 0;
}

// The fragment is the reader's own place in a page: it is never sent, and
// a file is the same file whatever follows its "#".
UrlParts SplitUrl(std::string_view url) {
  UrlParts parts;
  if (const std::size_t hash = url.find('#'); hash != std::string_view::npos) {
    parts.fragment = url.substr(hash);
    url = url.substr(0, hash);
  }
  if (const std::size_t length = SchemeLength(url); length > 0) {
    parts.scheme = TextLower(url.substr(0, length));
    url.remove_prefix(length + 1);
  }
  if (url.starts_with("//")) {
    parts.hasAuthority = true;
    url.remove_prefix(2);
    // Browsers end the host at "\" as at "/".
    parts.authority = url.substr(0, url.find_first_of("/\\?"));
    url.remove_prefix(parts.authority.size());
  }
  const std::size_t query = url.find('?');
  parts.path = url.substr(0, query);
  if (query != std::string_view::npos) parts.query = url.substr(query);
  return parts;
}

bool IsWebScheme(const Text& scheme) { return scheme == "http" || scheme == "https"; }

// The path with its "." and ".." segments taken out, as a browser does
// before it asks; ".." never climbs above the root.
Text RemoveDotSegments(std::string_view path) {
  const bool rooted = path.starts_with('/');
  if (rooted) path.remove_prefix(1);
  std::vector<std::string_view> kept;
  bool endsInFolder = false;
  for (;;) {
    const std::size_t slash = path.find('/');
    const std::string_view segment = path.substr(0, slash);
    endsInFolder = segment == "." || segment == "..";
    if (segment == "..") {
      if (!kept.empty()) kept.pop_back();
    } else if (segment != ".") {
      kept.push_back(segment);
    }
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  Text out = rooted ? "/" : "";
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) out += '/';
    out += kept[i];
  }
  if (endsInFolder && !kept.empty()) out += '/';
  return out;
}

// Bytes a browser escapes before it asks: controls, blanks, bytes above
// ASCII (the UTF-8 of other characters) and the few ASCII characters no URL
// may hold as they are. What is escaped already stays as it is.
bool EscapedByBrowser(unsigned char b) {
  return b <= 0x20 || b >= 0x7F || b == '"' || b == '<' || b == '>' || b == '`' || b == '{' || b == '}';
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The host and port as a browser asks them: the name in lower case, in
// ASCII (IDNA) when written in another script, the scheme's own port left
// out. Empty when there is no host to ask.
Text NormalAuthority(const Text& scheme, std::string_view authority) {
  const std::size_t at = authority.rfind('@');
  const std::string_view userInfo = at == std::string_view::npos ? "" : authority.substr(0, at + 1);
  const std::string_view hostAndPort = authority.substr(userInfo.size());
  // The port follows the last ":", unless that is inside an IPv6 "[...]".
  std::size_t colon = hostAndPort.rfind(':');
  if (colon != std::string_view::npos && hostAndPort.find(']', colon) != std::string_view::npos) {
    colon = std::string_view::npos;
  }
  const Text host = PercentDecoded(hostAndPort.substr(0, colon));
  const std::string_view port = colon == std::string_view::npos ? "" : hostAndPort.substr(colon + 1);
  if (host.empty() || port.find_first_not_of("0123456789") != std::string_view::npos) return {};
  const Text name = IsAscii(host) ? TextLower(host) : AsciiHostName(host);
  if (name.empty()) return {};
  Text out = Text(userInfo) + name;
  const bool ownPort = (scheme == "http" && port == "80") || (scheme == "https" && port == "443");
  if (!port.empty() && !ownPort) out += ":" + Text(port);
  return out;
}

// The URL to ask for: scheme in lower case, "/" for an empty path, a
// browser's escapes, no fragment. A URL without a host cannot be asked for.
AddressTarget WebTarget(const UrlParts& parts) {
  const Text authority = parts.hasAuthority ? NormalAuthority(parts.scheme, parts.authority) : Text();
  if (authority.empty()) return {AddressTarget::Invalid, "not a valid address", {}};
  Text url = parts.scheme + "://" + authority;
  // Browsers read "\" in a web address as "/".
  const Text path = RemoveDotSegments(TextReplace(parts.path, "\\", "/"));
  AppendPercentEncoded(url, path.empty() ? "/" : path, EscapedByBrowser);
  AppendPercentEncoded(url, parts.query, EscapedByBrowser);
  return {AddressTarget::Web, std::move(url), Text(parts.fragment)};
}

// The file a file: URL (or a "//host/..." address of a page on disk) names:
// "file:///C:/a.html" and "file:///C|/a.html" are C:/a.html, an empty host
// or "localhost" is this machine, and another host is a network share.
Text FileUrlPath(const UrlParts& parts) {
  Text path = PercentDecoded(parts.path);
  if (!path.starts_with('/')) path.insert(0, "/");
  if (path.size() >= 3 && IsAsciiLetter(path[1]) && (path[2] == ':' || path[2] == '|') &&
      (path.size() == 3 || path[3] == '/' || path[3] == '\\')) {
    path[2] = ':';
    path.erase(0, 1);
  }
  if (parts.hasAuthority && !parts.authority.empty() && TextLower(parts.authority) != "localhost") {
    path.insert(0, "//" + Text(parts.authority));
  }
  return path;
}

// The address the page's reader follows: the page holds it as the value
// of an attribute, where a character reference the user wrote ("&amp;",
// "&#38;", "&eacute;") stays as written and the browser reads it as its
// character; any other "&" the build writes as "&amp;", which reads as
// itself.
Text ReferencesRead(std::string_view address) {
  Text out;
  for (std::size_t at = 0; at < address.size();) {
    const std::size_t amp = address.find('&', at);
    out.append(address.substr(at, amp - at));
    if (amp == std::string_view::npos) break;
    const std::size_t length = CharacterReferenceLength(address.substr(amp));
    if (length == 0) {
      out += '&';
      at = amp + 1;
    } else {
      AppendDecoded(out, address.substr(amp, length), ReferenceContext::Attribute);
      at = amp + length;
    }
  }
  return out;
}

AddressTarget FileTarget(const Text& name, const Text& pageFolder) {
  if (pageFolder.empty()) return {AddressTarget::File, name, {}};
  // A name that is absolute already stands as it is.
  return {AddressTarget::File, NameOf(PathOf(pageFolder) / PathOf(name)), {}};
}

}  // namespace

AddressTarget TargetOf(std::string_view written, const Text& pageFolder) {
  Text read = ReferencesRead(written);
  // A browser takes tabs and line breaks out wherever they stand, and the
  // blanks and controls around an address.
  std::erase_if(read, [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
  std::string_view address = read;
  while (!address.empty() && static_cast<unsigned char>(address.front()) <= 0x20) address.remove_prefix(1);
  while (!address.empty() && static_cast<unsigned char>(address.back()) <= 0x20) address.remove_suffix(1);
  if (address.empty()) return {AddressTarget::Invalid, "no address", {}};

  if (const std::size_t length = SchemeLength(address); length > 0) {
    const Text scheme = TextLower(address.substr(0, length));
    if (IsWebScheme(scheme)) {
      // Whatever number of "/" or "\" follows "http:", a browser reads the
      // host next: "http:/h.org", "http:h.org" and "http:\\h.org" are
      // "http://h.org".
      std::string_view rest = address.substr(length + 1);
      while (!rest.empty() && (rest.front() == '/' || rest.front() == '\\')) rest.remove_prefix(1);
      const Text url = scheme + "://" + Text(rest);
      return WebTarget(SplitUrl(url));
    }
  }
  // The page is a file, and in the address of a file "\" reads as "/".
  const Text slashed = TextReplace(address, "\\", "/");
  const UrlParts parts = SplitUrl(slashed);
  if (parts.scheme == "file" || (parts.scheme.empty() && parts.hasAuthority)) {
    return FileTarget(FileUrlPath(parts), pageFolder);
  }
  // One letter before the colon is a drive ("C:\Pages\a.html"), not a scheme.
  if (parts.scheme.size() > 1) return {AddressTarget::NotTried, {}, {}};
  const std::string_view path = std::string_view(slashed).substr(0, slashed.find_first_of("?#"));
  // "#top" or "?page=2" is the page itself.
  if (path.empty()) return {AddressTarget::NotTried, {}, {}};
  return FileTarget(PercentDecoded(path), pageFolder);
}

AddressTarget ResolveRedirect(std::string_view base, std::string_view location) {
  const UrlParts from = SplitUrl(base);
  UrlParts to = SplitUrl(location);
  // WebTarget takes out the dot segments.
  Text merged;
  if (to.scheme.empty() && !to.hasAuthority) {
    to.hasAuthority = from.hasAuthority;
    to.authority = from.authority;
    if (to.path.empty()) {
      to.path = from.path;
      if (to.query.empty()) to.query = from.query;
    } else if (!to.path.starts_with('/')) {
      merged = Text(from.path.substr(0, from.path.rfind('/') + 1)) + Text(to.path);
      to.path = merged;
    }
  }
  if (to.scheme.empty()) to.scheme = from.scheme;
  if (!IsWebScheme(to.scheme)) return {AddressTarget::NotTried, Text(location), {}};
  return WebTarget(to);
}

Text HostOf(std::string_view url) {
  const std::size_t start = url.find("://");
  const std::size_t begin = start == std::string_view::npos ? 0 : start + 3;
  const std::string_view authority = url.substr(begin, url.find('/', begin) - begin);
  const std::size_t at = authority.rfind('@');
  return Text(url.substr(0, begin)) + Text(at == std::string_view::npos ? authority : authority.substr(at + 1));
}

}  // namespace pravel
