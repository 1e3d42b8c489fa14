#include "framework/ModuleFile.h"

#include "base/NarrowText.h"
#include "platform/process/ProgramFile.h"

#include <cstring>

DWORD GetModuleFileName(HINSTANCE instance, char* buffer, DWORD size) {
  if (instance == nullptr || buffer == nullptr || size == 0) {
    return 0;
  }
  buffer[0] = '\0';
  const std::optional<std::string> path = platform::ProgramFilePath();
  const std::optional<std::string> narrow = path ? LocaleFromUtf8Exact(*path) : std::nullopt;
  if (!narrow || narrow->size() >= size) {
    return 0;
  }
  std::memcpy(buffer, narrow->c_str(), narrow->size() + 1);
  return static_cast<DWORD>(narrow->size());
}
