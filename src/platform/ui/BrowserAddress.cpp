#include "platform/ui/BrowserAddress.h"

#include <algorithm>
#include <charconv>

namespace platform {
namespace {

constexpr std::string_view kResourceScheme = "res://";

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool HasScheme(std::string_view uri, std::string_view scheme) {
  return uri.size() >= scheme.size() &&
         std::ranges::equal(uri.substr(0, scheme.size()), scheme, {}, AsciiLower, AsciiLower);
}

// `escaped` with its %XX escapes replaced by the bytes they stand for;
// nothing when an escape is not two hexadecimal digits or stands for a NUL.
std::optional<std::string> Unescape(std::string_view escaped) {
  std::string text;
  text.reserve(escaped.size());
  for (std::size_t at = 0; at < escaped.size(); ++at) {
    if (escaped[at] != '%') {
      text.push_back(escaped[at]);
      continue;
    }
    const std::string_view digits = escaped.substr(at + 1, 2);
    unsigned byte = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), byte, 16);
    if (digits.size() != 2 || error != std::errc() || end != digits.data() + digits.size() || byte == 0) {
      return std::nullopt;
    }
    text.push_back(static_cast<char>(byte));
    at += 2;
  }
  return text;
}

// The path a file URI names, unescaped, without its query and fragment;
// nothing when `uri` is no file URI of this machine, or its path holds a NUL,
// or "." or ".." segments (the engine resolves those before asking).
std::optional<std::string> LocalPath(std::string_view uri) {
  constexpr std::string_view kFileScheme = "file://";
  if (!HasScheme(uri, kFileScheme)) {
    return std::nullopt;
  }
  uri.remove_prefix(kFileScheme.size());
  const std::optional<std::string> unescaped = Unescape(uri.substr(0, uri.find_first_of("?#")));
  if (!unescaped || !unescaped->starts_with('/')) {
    return std::nullopt;
  }
  const std::string& path = *unescaped;
  for (std::size_t at = 0; at != std::string::npos; at = path.find('/', at + 1)) {
    const std::string_view segment = std::string_view(path).substr(at + 1, path.find('/', at + 1) - at - 1);
    if (segment == "." || segment == "..") {
      return std::nullopt;
    }
  }
  return path;
}

}  // namespace

std::optional<unsigned> ResourcePageId(std::string_view uri, std::string_view programPath) {
  if (!HasScheme(uri, kResourceScheme)) {
    return std::nullopt;
  }
  const std::string_view rest = uri.substr(kResourceScheme.size());
  const std::size_t slash = rest.rfind('/');
  if (slash == std::string_view::npos || rest.find_first_of("?#") != std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view digits = rest.substr(slash + 1);
  unsigned id = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || id > 0xFFFF ||
      std::to_string(id) != digits) {
    return std::nullopt;
  }
  const std::optional<std::string> path = Unescape(rest.substr(0, slash));
  if (!path || programPath.empty() || *path != programPath) {
    return std::nullopt;
  }
  return id;
}

bool MayVisit(std::string_view uri, std::string_view askedFor, std::string_view shownPage) {
  if (!HasScheme(uri, "file:")) {
    return true;
  }
  // The engine may escape a URI differently from the way it was asked for.
  const std::optional<std::string> target = LocalPath(uri);
  const std::optional<std::string> asked = LocalPath(askedFor);
  if (!target || !asked) {
    return false;
  }
  if (*target == *asked) {
    return true;
  }
  const std::string folder = asked->substr(0, asked->rfind('/') + 1);
  const std::optional<std::string> shown = LocalPath(shownPage);
  return shown && shown->starts_with(folder) && target->starts_with(folder);
}

NewWindowPlace NewWindowPlaceOf(std::string_view uri) {
  if (HasScheme(uri, "http:") || HasScheme(uri, "https:")) {
    return NewWindowPlace::kDesktopOrOwnWindow;
  }
  if (HasScheme(uri, "mailto:")) {
    return NewWindowPlace::kDesktop;
  }
  if (uri.empty() || uri == "about:blank") {
    return NewWindowPlace::kOwnWindow;
  }
  return NewWindowPlace::kNowhere;
}

}  // namespace platform
