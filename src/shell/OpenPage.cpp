#include "shell/OpenPage.h"

#include "framework/ShellExecute.h"

namespace {

constexpr INT_PTR kLastFailure = 32;

}  // namespace

BOOL OpenPageOutside(HWND owner, const char* url) {
  if (ShellExecute(owner, "open", url, nullptr, nullptr, SW_SHOWNORMAL) > kLastFailure) return TRUE;
  if (ShellExecute(owner, "open", "explorer.exe", url, nullptr, SW_SHOWNORMAL) > kLastFailure) return TRUE;
  return ShellExecute(owner, "explore", url, nullptr, nullptr, SW_SHOWNORMAL) > kLastFailure ? TRUE : FALSE;
}
