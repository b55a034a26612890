// The verdict on one address: a web address asked for, with its redirects
// followed; a file looked up; anything else not tried.
#pragma once

#include <string_view>

#include "linkcheck/HttpClient.h"
#include "linkcheck/LinkCheck.h"

namespace pravel {

// Redirects followed before an address is given up as dead.
inline constexpr int kMaxRedirects = 10;

// NotChecked when the client was stopped on the way.
LinkVerdict CheckAddress(HttpClient& client, std::string_view address, const CheckSettings& settings);

}  // namespace pravel
