#include "update/VersionText.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// atoi's reading, with numbers beyond int's range held at its limits.
int LeadingInteger(const char* text) {
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) {
    return INT_MAX;
  }
  if (value < INT_MIN) {
    return INT_MIN;
  }
  return static_cast<int>(value);
}

}  // namespace

void ParseVersion(const char* text, int* components) {
  const std::size_t length = std::strlen(text);
  for (int i = 0; i < VERSION_COMPONENTS; ++i) {
    const std::size_t offset = 2 * static_cast<std::size_t>(i);
    components[i] = offset < length ? LeadingInteger(text + offset) : 0;
  }
}

int VersionWeight(const int* components) {
  // Unsigned arithmetic wraps as 32-bit signed arithmetic does on Windows,
  // without overflowing.
  const std::uint32_t weight = 100u * static_cast<std::uint32_t>(components[2]) +
                               10u * static_cast<std::uint32_t>(components[3]) +
                               static_cast<std::uint32_t>(components[4]);
  return static_cast<int>(static_cast<std::int32_t>(weight));
}
