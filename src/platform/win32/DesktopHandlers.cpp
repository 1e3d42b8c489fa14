// Windows: the shell's own verbs. ShellExecute hands an address to the
// default browser and a file to the application registered for its type.
#include "platform/desktop/DesktopHandlers.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {
namespace {

// ShellExecute reports success with a value above this.
constexpr INT_PTR kLastFailure = 32;

HandlerStart Run(const char* verb, const std::string& target) {
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, verb, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > kLastFailure) return HandlerStart::Started;
  switch (result) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return HandlerStart::NoFile;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return HandlerStart::NoHandler;
    default:
      return HandlerStart::NotStarted;
  }
}

}  // namespace

HandlerStart OpenWithDefaultHandler(const std::string& target) { return Run("open", target); }

HandlerStart OpenWithFileManager(const std::string& target) { return Run("explore", target); }

}  // namespace platform
