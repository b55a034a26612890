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
};

// What the address, as written in a definition, leads to. Relative
// addresses are taken from `pageFolder` (empty: the current folder).
AddressTarget TargetOf(std::string_view written, const Text& pageFolder);

// A redirect's Location taken against the URL that sent it, as a browser
// resolves it: absolute, scheme-relative, absolute-path or relative, with
// "." and ".." segments removed. Web when it leads to an http: or https: URL.
AddressTarget ResolveRedirect(std::string_view base, std::string_view location);

}  // namespace pravel
