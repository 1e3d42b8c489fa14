#include "framework/MessageQueue.h"

#include "framework/DisplayBinding.h"
#include "framework/QueueInternal.h"
#include "framework/TimerState.h"
#include "framework/Window.h"
#include "framework/WindowRecord.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <limits>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT periodMs = 0;
  TIMERPROC proc = nullptr;
  Clock::time_point due;  // the timer's own rhythm
};

// Timers come due on a common beat of USER_TIMER_MINIMUM, as Windows'
// timers come due on its clock ticks: a tick is taken at the first beat at
// or after its time, never earlier. Timers whose ticks fall close together
// then share one wake-up, which matters for a window that keeps a 10-ms
// timer for its whole life.
Clock::time_point Beat(Clock::time_point due) {
  static const Clock::time_point epoch = Clock::now();
  constexpr Clock::duration beat = std::chrono::milliseconds(USER_TIMER_MINIMUM);
  if (due <= epoch) {
    return due;
  }
  const auto beats = (due - epoch + beat - Clock::duration(1)) / beat;
  return epoch + beats * beat;
}

struct Queue {
  std::deque<MSG> posted;
  bool quitPending = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  UINT_PTR nextThreadTimerId = 1;
  // When the display's input was last taken in.
  Clock::time_point lastDisplayLook;
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

bool InFilter(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (hwnd != nullptr && msg.hwnd != hwnd) {
    return false;
  }
  return (filterMin == 0 && filterMax == 0) || (msg.message >= filterMin && msg.message <= filterMax);
}

// Takes in what the display has for us without waiting.
void PollDisplay() {
  if (platform::Display* display = CurrentDisplay()) {
    display->WaitForEvents(0);
  }
  TheQueue().lastDisplayLook = Clock::now();
}

// The next message by the queue's precedence: posted, quit, paint, timer.
// Paint and timer messages are made at the moment they are taken.
bool NextMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  Queue& q = TheQueue();
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (InFilter(*it, hwnd, filterMin, filterMax)) {
      *msg = *it;
      if (remove) {
        q.posted.erase(it);
      }
      return true;
    }
  }
  if (q.quitPending && hwnd == nullptr) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0};
    if (remove) {
      q.quitPending = false;
    }
    return true;
  }
  if (HWND paint = NextWindowToPaint()) {
    const MSG candidate{paint, WM_PAINT, 0, 0};
    if (InFilter(candidate, hwnd, filterMin, filterMax)) {
      *msg = candidate;
      return true;
    }
  }
  const Clock::time_point now = Clock::now();
  Timer* next = nullptr;
  for (Timer& t : q.timers) {
    const MSG candidate{t.hwnd, WM_TIMER, t.id, 0};
    if (Beat(t.due) <= now && InFilter(candidate, hwnd, filterMin, filterMax) &&
        (next == nullptr || t.due < next->due)) {
      next = &t;
    }
  }
  if (next == nullptr) {
    return false;
  }
  *msg = MSG{next->hwnd, WM_TIMER, next->id, reinterpret_cast<LPARAM>(next->proc)};
  if (remove) {
    // The next tick keeps the timer's rhythm (and its beat), so the lateness
    // of this one (the wait's rounding, the handler before it) does not
    // stretch every period; ticks missed while this one waited are not
    // made up, as one pending tick stands for them all.
    const Clock::duration period = std::chrono::milliseconds(next->periodMs);
    next->due += period;
    if (Beat(next->due) <= now) {
      next->due += period * ((now - next->due) / period + 1);
    }
  }
  return true;
}

}  // namespace

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd != nullptr && !IsWindow(hwnd)) {
    return FALSE;
  }
  TheQueue().posted.push_back(MSG{hwnd, message, wParam, lParam});
  return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return IsWindow(hwnd) ? CallWindowProcedure(hwnd, message, wParam, lParam) : 0;
}

void PostQuitMessage(int exitCode) {
  Queue& q = TheQueue();
  q.quitPending = true;
  q.quitCode = exitCode;
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  PollDisplay();
  return NextMessage(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  // Input is taken in by the wait, once nothing else waits: a wake-up then
  // costs one look at the display, not one more for every message after it.
  // Messages that keep coming without a wait (ticks whose handlers outlast
  // their period) still let the display be looked at once a beat, so input
  // is never held back for good.
  if (Clock::now() - TheQueue().lastDisplayLook >= std::chrono::milliseconds(USER_TIMER_MINIMUM)) {
    PollDisplay();
  }
  while (!NextMessage(msg, hwnd, filterMin, filterMax, true)) {
    WaitMessage();
  }
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessage(const MSG* msg) {
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (msg->hwnd == nullptr || !IsWindow(msg->hwnd)) {
    return 0;
  }
  return CallWindowProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PumpOneMessage() {
  MSG msg;
  if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    WaitMessage();
    return TRUE;
  }
  if (msg.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(msg.wParam));
    return FALSE;
  }
  TranslateMessage(&msg);
  DispatchMessage(&msg);
  return TRUE;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  Queue& q = TheQueue();
  if (hwnd != nullptr && !IsWindow(hwnd)) {
    return 0;
  }
  if (hwnd == nullptr) {
    id = q.nextThreadTimerId++;
  }
  const UINT period = std::max(elapseMs, USER_TIMER_MINIMUM);
  const Clock::time_point due = Clock::now() + std::chrono::milliseconds(period);
  for (Timer& t : q.timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t.periodMs = period;
      t.proc = proc;
      t.due = due;
      return id;
    }
  }
  q.timers.push_back(Timer{hwnd, id, period, proc, due});
  return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = TheQueue().timers;
  const auto dead =
      std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  const bool found = dead != timers.end();
  timers.erase(dead, timers.end());
  return found ? TRUE : FALSE;
}

UINT_PTR SetWindowTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  return SetTimer(hwnd, id, elapseMs, proc);
}

BOOL KillWindowTimer(HWND hwnd, UINT_PTR id) { return KillTimer(hwnd, id); }

bool IsTimerSet(HWND hwnd, UINT_PTR id) {
  const auto& timers = TheQueue().timers;
  return std::any_of(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

DWORD GetTickCount() {
  static const Clock::time_point start = Clock::now();
  return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

void ForgetWindowMessages(HWND hwnd) {
  Queue& q = TheQueue();
  std::erase_if(q.posted, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
  std::erase_if(q.timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

namespace {

// Milliseconds until the first timer comes due (0 when one is due); -1 without timers.
int UntilNextTimer() {
  int timeoutMs = -1;
  const Clock::time_point now = Clock::now();
  for (const Timer& t : TheQueue().timers) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(Beat(t.due) - now).count();
    const int ms = left < 0 ? 0 : static_cast<int>(left);
    timeoutMs = timeoutMs < 0 ? ms : std::min(timeoutMs, ms);
  }
  return timeoutMs;
}

void WaitForDisplayOr(int timeoutMs, platform::FdWatch* watch) {
  if (platform::Display* display = CurrentDisplay()) {
    display->WaitForEvents(timeoutMs, watch);
    TheQueue().lastDisplayLook = Clock::now();
  } else if (watch != nullptr) {
    platform::WaitForFd(*watch, timeoutMs);
  } else {
    // Without a display only timers can bring a message; nothing else can arrive.
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs < 0 ? USER_TIMER_MINIMUM : timeoutMs));
  }
}

}  // namespace

void WaitMessage() { WaitForDisplayOr(UntilNextTimer(), nullptr); }

void MsgWaitForDescriptor(platform::FdWatch& watch, DWORD timeoutMs) {
  watch.ready = false;
  MSG waiting;
  if (NextMessage(&waiting, nullptr, 0, 0, false)) {
    return;
  }
  int limit =
      timeoutMs == INFINITE ? -1 : static_cast<int>(std::min<DWORD>(timeoutMs, std::numeric_limits<int>::max()));
  if (const int untilTimer = UntilNextTimer(); untilTimer >= 0 && (limit < 0 || untilTimer < limit)) {
    limit = untilTimer;
  }
  WaitForDisplayOr(limit, &watch);
}
