#include "framework/HandlerCall.h"

#include "base/ResourceIds.h"
#include "framework/CException.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/TimerState.h"

#include <map>
#include <new>
#include <string>
#include <utility>

namespace {

constexpr UINT kInternalFailureText = AFX_IDP_INTERNAL_FAILURE;

// The failures of timer handlers that were reported, by window and timer,
// with their text; a tick that runs through ends its timer's entry.
using TimerKey = std::pair<HWND, WPARAM>;
std::map<TimerKey, std::string>& ReportedTimerFailures() {
  static std::map<TimerKey, std::string> reported;
  return reported;
}

void ReportFailure(const char* text) {
  const CWinApp* app = AfxGetApp();
  const HWND owner = app != nullptr && app->m_pMainWnd != nullptr ? app->m_pMainWnd->m_hWnd : nullptr;
  MessageBox(owner, text, app != nullptr ? app->m_pszAppName : nullptr, MB_OK | MB_ICONSTOP);
}

// Whether a timer handler's failure is new: not the one its last tick
// reported. It is noted before the box is shown, since the timer goes on
// ticking inside the box's own loop. A handler that ended its timer with
// the failure cannot repeat it: such a timer, once set again, starts afresh.
bool IsNewTimerFailure(HWND hwnd, WPARAM timer, const char* text) {
  if (!IsTimerSet(hwnd, timer)) {
    ReportedTimerFailures().erase(TimerKey{hwnd, timer});
    return true;
  }
  auto [it, added] = ReportedTimerFailures().try_emplace(TimerKey{hwnd, timer}, text);
  if (added) {
    return true;
  }
  if (it->second == text) {
    return false;
  }
  it->second = text;
  return true;
}

}  // namespace

LRESULT CallHandler(const MessageMapEntry& entry, CWnd& wnd, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = wnd.m_hWnd;
  char text[512] = {};
  try {
    const LRESULT result = entry.handler(wnd, wParam, lParam);
    if (entry.message == WM_TIMER && !ReportedTimerFailures().empty()) {
      ReportedTimerFailures().erase(TimerKey{hwnd, wParam});
    }
    return result;
  } catch (const CException& e) {
    e.GetErrorMessage(text, sizeof text);
  } catch (const std::bad_alloc&) {
    // A failed allocation carries no text of its own.
  }
  if (text[0] == '\0') LoadString(AfxGetInstanceHandle(), kInternalFailureText, text, sizeof text);
  if (entry.message == WM_PAINT) ValidateRect(hwnd, nullptr);
  if (entry.message != WM_TIMER || IsNewTimerFailure(hwnd, wParam, text)) ReportFailure(text);
  return entry.message == WM_CREATE ? -1 : 0;
}
