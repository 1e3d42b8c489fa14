#include "base/NarrowText.h"

#include <glib.h>

#include <langinfo.h>
#include <clocale>
#include <cstring>
#include <cwchar>

namespace {

// The locale's character set name, with the C/POSIX locale read as UTF-8.
const char* LocaleCharset() {
  const char* codeset = nl_langinfo(CODESET);
  if (codeset == nullptr || *codeset == '\0' || std::strcmp(codeset, "ANSI_X3.4-1968") == 0 ||
      std::strcmp(codeset, "ASCII") == 0) {
    return "UTF-8";
  }
  return codeset;
}

bool LocaleIsUtf8() { return g_ascii_strcasecmp(LocaleCharset(), "UTF-8") == 0; }

// Converts text; an invalid or cut-off character of the source ends it, so
// the result holds what converted before it.
std::string Convert(std::string_view text, const char* to, const char* from) {
  gsize read = 0;
  gsize written = 0;
  GError* error = nullptr;
  gchar* out =
      g_convert_with_fallback(text.data(), static_cast<gssize>(text.size()), to, from, "?", &read, &written, &error);
  if (out == nullptr) {
    const bool invalid =
        error != nullptr && (g_error_matches(error, G_CONVERT_ERROR, G_CONVERT_ERROR_ILLEGAL_SEQUENCE) ||
                             g_error_matches(error, G_CONVERT_ERROR, G_CONVERT_ERROR_PARTIAL_INPUT));
    g_clear_error(&error);
    return invalid && read < text.size() ? Convert(text.substr(0, read), to, from) : std::string();
  }
  std::string result(out, written);
  g_free(out);
  return result;
}

std::optional<std::string> ConvertExact(std::string_view text, const char* to, const char* from) {
  gsize read = 0;
  gsize written = 0;
  gchar* out = g_convert(text.data(), static_cast<gssize>(text.size()), to, from, &read, &written, nullptr);
  if (out == nullptr) {
    return std::nullopt;
  }
  std::string result(out, written);
  g_free(out);
  if (read != text.size()) {
    return std::nullopt;
  }
  return result;
}

}  // namespace

std::optional<std::string> LocaleFromUtf8Exact(std::string_view utf8) {
  return ConvertExact(utf8, LocaleIsUtf8() ? "UTF-8" : LocaleCharset(), "UTF-8");
}

std::optional<std::string> Utf8FromLocaleExact(std::string_view narrow) {
  return ConvertExact(narrow, "UTF-8", LocaleIsUtf8() ? "UTF-8" : LocaleCharset());
}

std::string LocaleFromUtf8(std::string_view utf8) {
  return LocaleIsUtf8() ? std::string(utf8) : Convert(utf8, LocaleCharset(), "UTF-8");
}

std::string Utf8FromLocale(std::string_view narrow) {
  if (LocaleIsUtf8()) {
    const gchar* end = nullptr;
    g_utf8_validate(narrow.data(), static_cast<gssize>(narrow.size()), &end);
    return std::string(narrow.data(), static_cast<std::size_t>(end - narrow.data()));
  }
  return Convert(narrow, "UTF-8", LocaleCharset());
}

int CharLength(const char* text) {
  if (*text == '\0') {
    return 0;
  }
  if (static_cast<unsigned char>(*text) < 0x80) {
    return 1;
  }
  std::mbstate_t state{};
  const std::size_t n = std::mbrlen(text, MB_LEN_MAX, &state);
  if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2) || n == 0) {
    return 1;
  }
  return static_cast<int>(n);
}
