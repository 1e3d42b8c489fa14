// Windows: the module file of the process, asked for in UTF-16 so that no
// character outside the ANSI code page is lost on the way to UTF-8.
#include "platform/process/ProgramFile.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

// The longest path Windows hands out, in UTF-16 units.
constexpr DWORD kMaxPathUnits = 32768;
constexpr DWORD kFirstTry = MAX_PATH;

std::optional<std::string> Utf8(const wchar_t* text, int units) {
  const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, units, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, units, result.data(), size, nullptr, nullptr);
  return result;
}

}  // namespace

std::optional<std::string> ProgramFilePath() {
  for (DWORD capacity = kFirstTry;; capacity = std::min(capacity * 2, kMaxPathUnits)) {
    std::vector<wchar_t> path(capacity);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), capacity);
    if (length == 0) return std::nullopt;
    // A path that fills the buffer may have been cut.
    if (length < capacity) return Utf8(path.data(), static_cast<int>(length));
    if (capacity == kMaxPathUnits) return std::nullopt;
  }
}

}  // namespace platform
