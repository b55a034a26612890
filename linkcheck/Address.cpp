#include "linkcheck/Address.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "text/Charset.h"
#include "text/HtmlText.h"
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
  std::string_view query;  // with its "?"
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
  url = url.substr(0, url.find('#'));
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
void AppendEscaped(Text& out, std::string_view part) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : part) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b >= 0x7F || c == '"' || c == '<' || c == '>' || c == '`' || c == '{' || c == '}') {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
}

// The URL to ask for: scheme in lower case, "/" for an empty path, a
// browser's escapes, no fragment. A URL without a host cannot be asked for.
AddressTarget WebTarget(const UrlParts& parts) {
  const std::string_view hostAndPort = parts.authority.substr(parts.authority.rfind('@') + 1);
  if (!parts.hasAuthority || hostAndPort.empty() || hostAndPort[0] == ':') {
    return {AddressTarget::Invalid, "not a valid address"};
  }
  Text url = parts.scheme + "://";
  url += parts.authority;
  // Browsers read "\" in a web address as "/".
  const Text path = RemoveDotSegments(TextReplace(parts.path, "\\", "/"));
  AppendEscaped(url, path.empty() ? "/" : path);
  AppendEscaped(url, parts.query);
  return {AddressTarget::Web, std::move(url)};
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%20" and the like back to their bytes; a "%" not followed by two hex
// digits is itself.
Text PercentDecoded(std::string_view text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
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
// "&#38;") stays as written and the browser reads it as its character.
// Named references other than the five of XML are rare in an address and
// are left as they are.
Text ReferencesRead(std::string_view address) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  Text out;
  for (std::size_t at = 0; at < address.size();) {
    const std::size_t length = address[at] == '&' ? CharacterReferenceLength(address.substr(at)) : 0;
    const std::string_view reference = address.substr(at, length);
    const auto named =
        std::find_if(std::begin(kNamed), std::end(kNamed), [&](const auto& entry) { return entry.first == reference; });
    if (length == 0) {
      out += address[at++];
      continue;
    }
    if (named != std::end(kNamed)) {
      out += named->second;
    } else if (reference[1] == '#' && length <= 12) {
      const bool hex = reference[2] == 'x' || reference[2] == 'X';
      const std::uint32_t code = static_cast<std::uint32_t>(
          std::stoul(Text(reference.substr(hex ? 3 : 2, length - (hex ? 4 : 3))), nullptr, hex ? 16 : 10));
      if (code > 0 && code <= 0x10FFFF) {
        AppendUtf8(out, static_cast<char32_t>(code));
      } else {
        out += reference;
      }
    } else {
      out += reference;
    }
    at += length;
  }
  return out;
}

AddressTarget FileTarget(const Text& name, const Text& pageFolder) {
  if (pageFolder.empty()) return {AddressTarget::File, name};
  // A name that is absolute already stands as it is.
  return {AddressTarget::File, NameOf(PathOf(pageFolder) / PathOf(name))};
}

}  // namespace

AddressTarget TargetOf(std::string_view written, const Text& pageFolder) {
  const Text read = ReferencesRead(written);
  std::string_view address = read;
  // A browser drops the blanks and controls around an address.
  while (!address.empty() && static_cast<unsigned char>(address.front()) <= 0x20) address.remove_prefix(1);
  while (!address.empty() && static_cast<unsigned char>(address.back()) <= 0x20) address.remove_suffix(1);
  if (address.empty()) return {AddressTarget::Invalid, "no address"};

  if (const UrlParts parts = SplitUrl(address); IsWebScheme(parts.scheme)) return WebTarget(parts);
  // The page is a file, and in the address of a file "\" reads as "/".
  const Text slashed = TextReplace(address, "\\", "/");
  const UrlParts parts = SplitUrl(slashed);
  if (parts.scheme == "file" || (parts.scheme.empty() && parts.hasAuthority)) {
    return FileTarget(FileUrlPath(parts), pageFolder);
  }
  // One letter before the colon is a drive ("C:\Pages\a.html"), not a scheme.
  if (parts.scheme.size() > 1) return {AddressTarget::NotTried, {}};
  const std::string_view path = std::string_view(slashed).substr(0, slashed.find_first_of("?#"));
  // "#top" or "?page=2" is the page itself.
  if (path.empty()) return {AddressTarget::NotTried, {}};
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
  if (!IsWebScheme(to.scheme)) return {AddressTarget::NotTried, Text(location)};
  return WebTarget(to);
}

}  // namespace pravel
