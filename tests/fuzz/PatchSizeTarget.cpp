// Reading a patch's announced size from a Content-Length text, and the
// percentage shown while it downloads: the size is the leading decimal
// number capped at 32 bits, and the percentage of any count received never
// leaves 0 to 100.
#include "FuzzTarget.h"
#include "update/PatchSize.h"

#include <algorithm>
#include <cstdint>
#include <string>

void FuzzInitialize() {}

int FuzzOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const DWORD parsed = ParseSize(text.c_str());
  std::size_t at = text.find_first_not_of(" \t");
  std::uint64_t expected = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    expected = std::min<std::uint64_t>(expected * 10 + static_cast<unsigned>(text[at] - '0'), UINT32_MAX);
  }
  Require(parsed == expected, "the size is the leading number, capped at 32 bits");
  if (parsed != 0) {
    for (const DWORD received : {DWORD{0}, parsed / 2, parsed, parsed + 512, DWORD{UINT32_MAX}}) {
      const int percent = Percent(received, parsed);
      Require(percent >= 0 && percent <= 100, "the percentage stays within 0 to 100");
    }
  }
  return 0;
}
