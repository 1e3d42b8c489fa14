#include "update/UrlParts.h"

#include "base/NarrowText.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

bool IsHttpScheme(std::string_view scheme) {
  constexpr std::string_view kHttp = "http";
  return std::ranges::equal(scheme, kHttp, [](char written, char lower) { return (written | 0x20) == lower; });
}

// The URL with every backslash character turned into a slash; bytes inside
// multibyte characters are left alone.
std::string WithForwardSlashes(const char* url, std::size_t length) {
  std::string work(url, length);
  for (std::size_t i = 0; i < work.size(); i += static_cast<std::size_t>(CharLength(&work[i]))) {
    if (work[i] == '\\') {
      work[i] = '/';
    }
  }
  return work;
}

// Control characters and blanks would end or split a request line, or cut
// a dotted address short. Bytes of multibyte characters are never among them.
bool HasUnsafeCharacter(std::string_view url) {
  return std::ranges::any_of(url, [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
  });
}

}  // namespace

std::optional<UrlParts> SplitUrl(const char* url) {
  if (url == nullptr) {
    return std::nullopt;
  }
  const std::size_t length = std::strlen(url);
  if (length > kMaxUrlLength || HasUnsafeCharacter(std::string_view(url, length))) {
    return std::nullopt;
  }
  const std::string work = WithForwardSlashes(url, length);
  const char* text = work.c_str();

  UrlParts parts;
  const char* hostStart = text;
  if (const char* colon = MbsChr(text, ':')) {
    if (!IsHttpScheme(std::string_view(text, colon)) || colon[1] != '/' || colon[2] != '/') {
      return std::nullopt;
    }
    hostStart = colon + 3;
  } else {
    parts.referer = "http://";
  }

  if (const char* slash = MbsChr(hostStart, '/')) {
    parts.host.assign(hostStart, slash);
    parts.path = slash;
    parts.referer.append(text, slash);
  } else {
    parts.host = hostStart;
    parts.path = "/";
    parts.referer.append(text);
  }
  parts.referer += '/';

  if (parts.path.size() > kMaxPathLength || parts.host.size() > kMaxHostLength ||
      parts.referer.size() > kMaxRefererLength) {
    return std::nullopt;
  }
  return parts;
}
