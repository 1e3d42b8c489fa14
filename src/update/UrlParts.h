// Splitting an update URL into what the request needs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Capacities of the texts taken from a URL; longer texts are refused.
inline constexpr std::size_t kMaxUrlLength = 1023;
inline constexpr std::size_t kMaxPathLength = 246;
inline constexpr std::size_t kMaxHostLength = 127;
inline constexpr std::size_t kMaxRefererLength = 127;

struct UrlParts {
  // The host text exactly as written; a ":port" stays part of it.
  std::string host;
  // The request path: "/" and everything after it, or "/" alone.
  std::string path;
  // The site root in "http://" form: scheme as written, "//", host, "/".
  std::string referer;
};

// Splits url, given as "http://host/path" (scheme in any case) or
// "host/path", with backslashes read as slashes. Searches step over the
// multibyte characters of the locale's encoding as whole characters.
// Nothing is returned for a null URL, a URL holding a control character,
// a blank or DEL, a scheme other than "http", a scheme not followed by "//",
// or a URL, path, host or referer text over its capacity.
std::optional<UrlParts> SplitUrl(const char* url);
