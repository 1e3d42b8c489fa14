#include "platform/process/ProgramFile.h"

#include <glib.h>

#include <memory>

namespace platform {

std::optional<std::string> ProgramFilePath() {
  GError* error = nullptr;
  std::unique_ptr<gchar, decltype(&g_free)> raw(g_file_read_link("/proc/self/exe", &error), &g_free);
  if (raw == nullptr) {
    g_error_free(error);
    return std::nullopt;
  }
  std::unique_ptr<gchar, decltype(&g_free)> utf8(g_filename_to_utf8(raw.get(), -1, nullptr, nullptr, nullptr), &g_free);
  if (utf8 == nullptr) {
    return std::nullopt;
  }
  return std::string(utf8.get());
}

}  // namespace platform
