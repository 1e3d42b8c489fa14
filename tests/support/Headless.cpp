#include "support/Headless.h"

#include "framework/BrowserBinding.h"
#include "framework/DisplayBinding.h"
#include "framework/Window.h"

namespace testsupport {

HeadlessSession::HeadlessSession() {
  UseDisplay(&display);
  UseBrowserEngine(&browsers);
}

HeadlessSession::~HeadlessSession() {
  DiscardPending();
  UseBrowserEngine(nullptr);
  UseDisplay(nullptr);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline || !PumpOneMessage()) {
      return done();
    }
  }
  return true;
}

void PumpPending() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
    DispatchMessage(&msg);
  }
}

int DiscardPending() {
  int count = 0;
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_PAINT) {
      ValidateRect(msg.hwnd, nullptr);
    }
    ++count;
  }
  return count;
}

bool QuitPosted() {
  MSG msg;
  return PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

::testing::AssertionResult IsBox(const platform::HeadlessDisplay::ShownMessageBox& box, std::string_view text,
                                 std::string_view caption, platform::NativeWindow owner, bool stopIcon) {
  if (box.text == text && box.caption == caption && box.hasOwner == (owner != 0) && box.owner == owner &&
      box.stopIcon == stopIcon) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "box \"" << box.text << "\" captioned \"" << box.caption << "\""
                                       << (box.hasOwner ? ", owned" : "") << (box.stopIcon ? ", stop icon" : "");
}

}  // namespace testsupport
