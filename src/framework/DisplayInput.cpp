// Routing the display's input into the message queue.
#include "framework/DisplayBinding.h"
#include "framework/MessageQueue.h"
#include "framework/Window.h"

namespace {

// Hands the display's input to the window it happened in, as posted messages.
class InputToMessages final : public platform::DisplayEvents {
 public:
  void MouseMoved(void* owner, int x, int y) override { Post(owner, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  void LeftButtonPressed(void* owner, int x, int y) override {
    Post(owner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  }
  void CloseRequested(void* owner) override { Post(owner, WM_CLOSE, 0, 0); }

 private:
  static void Post(void* owner, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = static_cast<HWND>(owner);
    if (IsWindow(hwnd)) {
      PostMessage(hwnd, message, wParam, lParam);
    }
  }
};

}  // namespace

void UseDisplay(platform::Display* display) {
  static InputToMessages sink;
  if (platform::Display* previous = CurrentDisplay()) {
    previous->SetEventSink(nullptr);
  }
  BindDisplay(display);
  if (display != nullptr) {
    display->SetEventSink(&sink);
  }
}
