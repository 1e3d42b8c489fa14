#include "MessageBoxWatch.h"

#include <cassert>
#include <stdexcept>
#include <utility>

namespace {

// The window class of dialog boxes, message boxes included.
constexpr char kDialogClass[] = "#32770";
constexpr UINT kTickMs = 10;

std::string TextOf(HWND hwnd) {
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// The box's message: the one static control with a text (the other holds the icon).
std::string MessageOf(HWND box) {
  std::string message;
  for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child != nullptr;
       child = FindWindowExA(box, child, "Static", nullptr)) {
    if (!TextOf(child).empty()) message = TextOf(child);
  }
  return message;
}

}  // namespace

MessageBoxWatch::MessageBoxWatch(std::function<bool()> closeWhen) : closeWhen_(std::move(closeWhen)) {
  assert(current_ == nullptr);
  current_ = this;
  timer_ = SetTimer(nullptr, 0, kTickMs, &MessageBoxWatch::Tick);
  if (timer_ == 0) throw std::runtime_error("no timer for the message box watch");
}

MessageBoxWatch::~MessageBoxWatch() {
  KillTimer(nullptr, timer_);
  current_ = nullptr;
}

void CALLBACK MessageBoxWatch::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (current_ != nullptr) current_->Look();
}

void MessageBoxWatch::Look() {
  // Only this thread's boxes: other programs under the same Wine server share the desktop.
  for (HWND box = FindWindowExA(nullptr, nullptr, kDialogClass, nullptr); box != nullptr;
       box = FindWindowExA(nullptr, box, kDialogClass, nullptr)) {
    if (GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) continue;
    if (seen_.insert(box).second) boxes_.push_back({TextOf(box), MessageOf(box)});
    if (closeWhen_()) PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
}
