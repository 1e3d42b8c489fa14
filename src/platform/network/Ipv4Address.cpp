#include "platform/network/Ipv4Address.h"

#include <cstdint>

namespace platform {
namespace {

constexpr int kMaxParts = 4;
constexpr std::uint64_t kMaxAddress = 0xFFFFFFFF;

// The value of digit c in base, or -1 when it is none.
int DigitValue(char c, unsigned base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

}  // namespace

// The forms of inet_aton, read the same way on every system: one to four
// numbers separated by dots, each decimal, octal (leading 0) or hexadecimal
// (leading 0x); the last number fills the bytes the others leave.
bool ParseDottedIpv4(const char* host, Ipv4Address* address) {
  std::uint64_t parts[kMaxParts] = {};
  int count = 0;
  const char* at = host;
  for (;;) {
    if (*at < '0' || *at > '9' || count == kMaxParts) {
      return false;
    }
    unsigned base = 10;
    bool digits = false;
    if (*at == '0') {
      ++at;
      base = 8;
      digits = true;
      if (*at == 'x' || *at == 'X') {
        ++at;
        base = 16;
        digits = false;  // "0x" alone is no number
      }
    }
    std::uint64_t value = 0;
    for (int digit; (digit = DigitValue(*at, base)) >= 0; ++at) {
      value = value * base + static_cast<unsigned>(digit);
      digits = true;
      if (value > kMaxAddress) {
        return false;
      }
    }
    if (!digits) {
      return false;
    }
    parts[count++] = value;
    if (*at == '\0') {
      break;
    }
    if (*at != '.') {
      return false;
    }
    ++at;
  }
  // Each leading number is one byte; the last holds the remaining ones.
  std::uint64_t whole = 0;
  for (int i = 0; i < count - 1; ++i) {
    if (parts[i] > 0xFF) {
      return false;
    }
    whole |= parts[i] << (8 * (3 - i));
  }
  const int lastBits = 8 * (kMaxParts - count + 1);
  if (parts[count - 1] >> lastBits != 0) {
    return false;
  }
  whole |= parts[count - 1];
  for (int i = 0; i < 4; ++i) {
    (*address)[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(whole >> (8 * (3 - i)));
  }
  return true;
}

}  // namespace platform
