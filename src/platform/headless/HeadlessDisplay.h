// A display without a screen, for tests: windows keep their placement and
// what was presented, input is injected by the test, and message boxes are
// recorded and answered by the test's script.
#pragma once

#include "platform/ui/Display.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace platform {

class HeadlessDisplay final : public Display {
 public:
  struct Window {
    void* owner = nullptr;
    NativeWindow parent = 0;
    const Surface* backing = nullptr;
    std::string title;
    ScreenRect placement;
    ScreenRect placementWhenShown;
    bool visible = false;
    bool keepAbove = false;
    bool hasIcon = false;
    std::vector<ScreenRect> presented;  // every Present, in order
  };

  struct ShownMessageBox {
    bool hasOwner = false;
    NativeWindow owner = 0;
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
    bool stopIcon = false;
  };

  // Settings a test may change.
  ScreenRect workArea{0, 0, 1024, 768};
  DesktopFont uiFont;   // the settings of a desktop that sets nothing
  std::string failure;  // non-empty: no window can be made
  // Asked while a box is shown: true keeps it open for one more turn of its
  // loop. Unset, every box is answered at once.
  std::function<bool(const ShownMessageBox&)> keepMessageBoxOpen;
  // Run once at the next look at the display (a wait, even of no time): for
  // input that arrives only when the screen is looked at, as GTK's does.
  std::function<void()> atNextLook;

  std::vector<ShownMessageBox> messageBoxes;  // every box shown, in order

  // Input, delivered as the screen would.
  void MoveMouse(NativeWindow window, int x, int y);
  void PressLeftButton(NativeWindow window, int x, int y);
  void RequestClose(NativeWindow window);

  // Live and destroyed windows by handle.
  const Window* Find(NativeWindow window) const;
  bool IsDestroyed(NativeWindow window) const;

  std::string FailureReason() const override { return failure; }
  void SetEventSink(DisplayEvents* sink) override { sink_ = sink; }
  ScreenRect WorkArea() override { return workArea; }
  DesktopFont UiFont() override { return uiFont; }
  NativeWindow CreateTopLevel(void* owner, const std::string& titleUtf8, const Surface* backing) override;
  NativeWindow CreateChild(NativeWindow parent, void* owner, ScreenRect rect) override;
  void SetIcon(NativeWindow window, std::span<const std::uint8_t> png) override;
  void SetPlacement(NativeWindow window, ScreenRect rect) override;
  void SetKeepAbove(NativeWindow window, bool above) override;
  void Show(NativeWindow window) override;
  void Present(NativeWindow window, ScreenRect dirty) override;
  void Destroy(NativeWindow window) override;
  using Display::WaitForEvents;
  void WaitForEvents(int timeoutMs, FdWatch* watch) override;
  MessageBoxId OpenMessageBox(const MessageBoxRequest& request) override;
  bool IsMessageBoxOpen(MessageBoxId box) override;
  void CloseMessageBox(MessageBoxId box) override;

 private:
  Window* Get(NativeWindow window);
  NativeWindow Add(Window window);

  DisplayEvents* sink_ = nullptr;
  std::map<NativeWindow, Window> windows_;
  std::vector<NativeWindow> destroyed_;
  NativeWindow nextWindow_ = 1;
  std::map<MessageBoxId, std::size_t> openBoxes_;  // box id to its index in messageBoxes
  MessageBoxId nextBox_ = 1;
};

}  // namespace platform
