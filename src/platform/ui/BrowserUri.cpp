#include "platform/ui/BrowserAddress.h"

#include <glib.h>

#include <memory>

namespace platform {

std::optional<std::string> BrowserUri(std::string_view address) {
  using GString = std::unique_ptr<gchar, decltype(&g_free)>;
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

}  // namespace platform
