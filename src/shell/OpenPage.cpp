#include "shell/OpenPage.h"

#include "framework/ShellExecute.h"

namespace {

constexpr INT_PTR kLastFailure = 32;

// Whether ShellExecute started something (Windows returns its result as an HINSTANCE).
template <class Result>
bool Started(Result result) {
  return reinterpret_cast<INT_PTR>(result) > kLastFailure;
}

}  // namespace

BOOL OpenPageOutside(HWND owner, const char* url) {
  if (Started(ShellExecute(owner, "open", url, nullptr, nullptr, SW_SHOWNORMAL))) return TRUE;
  if (Started(ShellExecute(owner, "open", "explorer.exe", url, nullptr, SW_SHOWNORMAL))) return TRUE;
  return Started(ShellExecute(owner, "explore", url, nullptr, nullptr, SW_SHOWNORMAL)) ? TRUE : FALSE;
}
