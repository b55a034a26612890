// Addresses as a reader of the page follows them: what kind each is, the
// URL a browser would ask for, the file a relative or file: address names,
// and where a redirect leads.
#pragma once

#include <string_view>

#include "text/Text.h"

namespace pravel {

struct AddressTarget {
  enum Kind {
    Web,       // `where` is the URL to ask for
    File,      // `where` is the file's name (UTF-8)
    NotTried,  // nothing to fetch
    Invalid,   // `where` says why
  };
  Kind kind = NotTried;
  Text where;
  Text fragment;  // Web: the "#..." the address ends in, never sent
};

// What the address, as written in a definition (in UTF-8), leads to.
// Relative addresses are taken from `pageFolder` (empty: the current
// folder). Two addresses a browser asks for alike get the same `where`.
AddressTarget TargetOf(std::string_view written, const Text& pageFolder);

// A redirect's Location taken against the URL that sent it, as a browser
// resolves it: absolute, scheme-relative, absolute-path or relative, with
// "." and ".." segments removed. Web when it leads to an http: or https: URL.

// The host a web URL asks, as requests to it are counted: scheme, name
// and port ("http://h.org:8").
Text HostOf(std::string_view url);
AddressTarget ResolveRedirect(std::string_view base, std::string_view location);

}  // namespace pravel
