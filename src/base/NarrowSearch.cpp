// Searches in narrow texts, stepping by whole characters of the locale's encoding.
#include "base/NarrowText.h"

#include <cstring>

const char* MbsChr(const char* text, char ch) {
  for (const char* p = text; *p != '\0'; p += CharLength(p)) {
    if (*p == ch) {
      return p;
    }
  }
  return nullptr;
}

const char* MbsStr(const char* text, const char* needle) {
  const std::size_t n = std::strlen(needle);
  for (const char* p = text; *p != '\0'; p += CharLength(p)) {
    if (std::strncmp(p, needle, n) == 0) {
      return p;
    }
  }
  return n == 0 ? text : nullptr;
}
