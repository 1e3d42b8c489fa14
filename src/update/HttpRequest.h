// The GET request text sent for a fetch.
#pragma once

#include "update/UrlParts.h"

#include <string>

// The request text holds at most this many bytes; the capacities of the URL
// parts keep every request within it.
inline constexpr std::size_t kMaxRequestLength = 1023;

// The complete request for parts: request line, the fixed header lines (the
// two no-cache lines only with noCache) and the empty line; no body.
std::string BuildRequest(const UrlParts& parts, bool noCache);
