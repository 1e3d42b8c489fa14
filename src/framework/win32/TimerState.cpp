#include "framework/TimerState.h"

#include <set>
#include <utility>

namespace {

std::set<std::pair<HWND, UINT_PTR>>& SetTimers() {
  static std::set<std::pair<HWND, UINT_PTR>> timers;
  return timers;
}

}  // namespace

UINT_PTR SetWindowTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  const UINT_PTR result = SetTimer(hwnd, id, elapseMs, proc);
  if (result != 0 && hwnd != nullptr) {
    SetTimers().emplace(hwnd, id);
  }
  return result;
}

BOOL KillWindowTimer(HWND hwnd, UINT_PTR id) {
  SetTimers().erase({hwnd, id});
  return KillTimer(hwnd, id);
}

bool IsTimerSet(HWND hwnd, UINT_PTR id) {
  // A window's timers end with it; a handle the system gives out again
  // starts with none.
  if (!IsWindow(hwnd)) {
    std::erase_if(SetTimers(), [hwnd](const auto& timer) { return timer.first == hwnd; });
    return false;
  }
  return SetTimers().contains({hwnd, id});
}
