#include "framework/CurrentDirectory.h"

#include "base/NarrowText.h"

#include <glib.h>

#include <cstring>
#include <filesystem>
#include <system_error>

DWORD GetCurrentDirectory(DWORD size, char* buffer) {
  if (buffer == nullptr || size == 0) {
    return 0;
  }
  buffer[0] = '\0';
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::current_path(error);
  if (error) {
    return 0;
  }
  gchar* utf8 = g_filename_to_utf8(directory.c_str(), -1, nullptr, nullptr, nullptr);
  if (utf8 == nullptr) {
    return 0;
  }
  const std::optional<std::string> narrow = LocaleFromUtf8Exact(utf8);
  g_free(utf8);
  if (!narrow || narrow->size() >= size) {
    return 0;
  }
  std::memcpy(buffer, narrow->c_str(), narrow->size() + 1);
  return static_cast<DWORD>(narrow->size());
}
