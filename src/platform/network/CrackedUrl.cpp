#include "platform/network/CrackedUrl.h"

#include <charconv>

namespace platform {
namespace {

bool IsBlankOrControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= 0x20 || byte == 0x7F;
}

// Bytes that may not stand as they are in a request line's target.
bool NeedsEscape(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte <= 0x20 || byte >= 0x7F) return true;
  switch (c) {
    case '"':
    case '<':
    case '>':
    case '\\':
    case '^':
    case '`':
    case '{':
    case '|':
    case '}':
      return true;
    default:
      return false;
  }
}

std::string Escape(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (NeedsEscape(c)) {
      const auto byte = static_cast<unsigned char>(c);
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0x0F];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

unsigned ParsePort(std::string_view text) {
  if (text.empty()) return 80;
  unsigned port = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (error != std::errc() || end != text.data() + text.size() || port == 0 || port > 65535) return 0;
  return port;
}

}  // namespace

CrackedUrl CrackUrl(std::string_view url) {
  url = Trim(url);
  CrackedUrl cracked;
  const std::size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string_view::npos) {
    cracked.object = "/";
    return cracked;
  }
  std::string_view rest = url.substr(schemeEnd + 3);
  const std::size_t authorityEnd = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, authorityEnd);
  std::string_view target = authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);

  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  // A colon after the last "]" starts the port; an IPv6 address keeps its own.
  const std::size_t bracket = authority.rfind(']');
  const std::size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    cracked.port = ParsePort(authority.substr(colon + 1));
    authority = authority.substr(0, colon);
  }
  cracked.server = std::string(authority);

  target = target.substr(0, target.find('#'));
  cracked.object = (target.empty() || target.front() != '/' ? "/" : "") + Escape(target);
  return cracked;
}

}  // namespace platform
