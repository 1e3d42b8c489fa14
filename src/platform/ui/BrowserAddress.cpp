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

bool MayVisit(std::string_view uri, std::string_view askedFor) {
  if (!HasScheme(uri, "file:")) {
    return true;
  }
  // The engine may escape a URI differently from the way it was asked for.
  const std::string a(uri);
  const std::string b(askedFor);
  GString left(g_uri_unescape_string(a.c_str(), nullptr), &g_free);
  GString right(g_uri_unescape_string(b.c_str(), nullptr), &g_free);
  return left != nullptr && right != nullptr && std::string_view(left.get()) == std::string_view(right.get());
}

}  // namespace platform
