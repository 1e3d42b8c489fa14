#include "platform/ui/BrowserAddress.h"

#include "platform/process/ProgramFile.h"

#include <glib.h>

#include <charconv>
#include <memory>

namespace platform {
namespace {

using GString = std::unique_ptr<gchar, decltype(&g_free)>;

constexpr std::string_view kResourceScheme = "res://";

bool HasScheme(std::string_view uri, std::string_view scheme) {
  return uri.size() >= scheme.size() && g_ascii_strncasecmp(uri.data(), scheme.data(), scheme.size()) == 0;
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
  const std::string escaped(uri.substr(0, uri.find_first_of("?#")));
  GString unescaped(g_uri_unescape_string(escaped.c_str(), nullptr), &g_free);
  if (unescaped == nullptr || unescaped.get()[0] != '/') {
    return std::nullopt;
  }
  const std::string path(unescaped.get());
  for (std::size_t at = 0; at != std::string::npos; at = path.find('/', at + 1)) {
    const std::string_view segment = std::string_view(path).substr(at + 1, path.find('/', at + 1) - at - 1);
    if (segment == "." || segment == "..") {
      return std::nullopt;
    }
  }
  return path;
}

}  // namespace

std::optional<std::string> BrowserUri(std::string_view address) {
  if (!address.starts_with('/')) {
    return std::string(address);
  }
  while (address.starts_with("//")) {
    address.remove_prefix(1);
  }
  GString filename(g_filename_from_utf8(address.data(), static_cast<gssize>(address.size()), nullptr, nullptr, nullptr),
                   &g_free);
  if (filename == nullptr) {
    return std::nullopt;
  }
  GString uri(g_filename_to_uri(filename.get(), nullptr, nullptr), &g_free);
  if (uri == nullptr) {
    return std::nullopt;
  }
  return std::string(uri.get());
}

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
  const std::string escaped(rest.substr(0, slash));
  GString path(g_uri_unescape_string(escaped.c_str(), nullptr), &g_free);
  if (path == nullptr || programPath.empty() || std::string_view(path.get()) != programPath) {
    return std::nullopt;
  }
  return id;
}

std::optional<std::string> ResourcePage(std::string_view uri, BrowserHost& host) {
  const std::optional<std::string> program = ProgramFilePath();
  if (!program) {
    return std::nullopt;
  }
  const std::optional<unsigned> id = ResourcePageId(uri, *program);
  if (!id) {
    return std::nullopt;
  }
  return host.HtmlResource(*id);
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
