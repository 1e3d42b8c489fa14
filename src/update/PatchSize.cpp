#include "update/PatchSize.h"

#include <algorithm>
#include <cstdint>

DWORD ParseSize(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  std::uint64_t size = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    size = std::min<std::uint64_t>(size * 10 + static_cast<unsigned>(*text - '0'), UINT32_MAX);
  }
  return static_cast<DWORD>(size);
}

int Percent(DWORD received, DWORD size) {
  return static_cast<int>(std::min<std::uint64_t>(100, std::uint64_t{received} * 100 / size));
}
