// Windows: the locale's narrow encoding is the system's ANSI code page
// (950, Big5, on a Traditional Chinese system), converted through UTF-16.
#include "base/NarrowText.h"

#include <windows.h>

namespace {

// text in code page `from` as UTF-16; flags as MultiByteToWideChar takes them.
std::optional<std::wstring> Widen(std::string_view text, UINT from, DWORD flags) {
  if (text.empty()) {
    return std::wstring();
  }
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(from, flags, text.data(), size, nullptr, 0);
  if (n <= 0) {
    return std::nullopt;
  }
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(from, flags, text.data(), size, wide.data(), n);
  return wide;
}

// UTF-16 in code page `to`; with `exact`, nothing when a character has no
// equivalent there, else it becomes '?'.
std::optional<std::string> Narrow(const std::wstring& wide, UINT to, bool exact) {
  if (wide.empty()) {
    return std::string();
  }
  const int size = static_cast<int>(wide.size());
  BOOL defaulted = FALSE;
  const bool utf8 = to == CP_UTF8;
  // UTF-8 takes neither a default character nor its flag.
  BOOL* usedDefault = utf8 ? nullptr : &defaulted;
  const char* fallback = utf8 ? nullptr : "?";
  const int n = WideCharToMultiByte(to, 0, wide.data(), size, nullptr, 0, fallback, usedDefault);
  if (n <= 0) {
    return std::nullopt;
  }
  std::string narrow(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(to, 0, wide.data(), size, narrow.data(), n, fallback, usedDefault);
  if (exact && defaulted) {
    return std::nullopt;
  }
  return narrow;
}

// The longest start of `text` that is whole, valid characters of code page `cp`.
std::string_view ValidStart(std::string_view text, UINT cp) {
  std::size_t good = 0;
  while (good < text.size()) {
    std::size_t length = 1;
    const auto lead = static_cast<unsigned char>(text[good]);
    if (cp == CP_UTF8) {
      length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    } else if (IsDBCSLeadByteEx(cp, lead)) {
      length = 2;
    }
    if (good + length > text.size() || !Widen(text.substr(good, length), cp, MB_ERR_INVALID_CHARS).has_value()) {
      break;
    }
    good += length;
  }
  return text.substr(0, good);
}

}  // namespace

std::optional<std::string> LocaleFromUtf8Exact(std::string_view utf8) {
  const auto wide = Widen(utf8, CP_UTF8, MB_ERR_INVALID_CHARS);
  return wide ? Narrow(*wide, CP_ACP, true) : std::nullopt;
}

std::optional<std::string> Utf8FromLocaleExact(std::string_view narrow) {
  const auto wide = Widen(narrow, CP_ACP, MB_ERR_INVALID_CHARS);
  return wide ? Narrow(*wide, CP_UTF8, true) : std::nullopt;
}

std::string LocaleFromUtf8(std::string_view utf8) {
  const auto wide = Widen(ValidStart(utf8, CP_UTF8), CP_UTF8, 0);
  return wide ? Narrow(*wide, CP_ACP, false).value_or(std::string()) : std::string();
}

std::string Utf8FromLocale(std::string_view narrow) {
  const auto wide = Widen(ValidStart(narrow, CP_ACP), CP_ACP, 0);
  return wide ? Narrow(*wide, CP_UTF8, false).value_or(std::string()) : std::string();
}

int CharLength(const char* text) {
  if (*text == '\0') {
    return 0;
  }
  return IsDBCSLeadByte(static_cast<BYTE>(*text)) && text[1] != '\0' ? 2 : 1;
}
