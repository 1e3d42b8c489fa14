// What the framework needs of a screen: top-level windows that show a backing
// store, child windows that hold native content, input, the work area and
// modal message boxes. One implementation shows real windows through GTK; a
// headless one serves the tests.
#pragma once

#include "platform/network/FdWatch.h"
#include "platform/ui/DesktopFont.h"
#include "platform/ui/Surface.h"

#include <cstdint>
#include <span>
#include <string>

namespace platform {

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

using NativeWindow = std::uintptr_t;  // 0: no window
using MessageBoxId = std::uintptr_t;  // 0: no box

// Where the display delivers input. `owner` is the token the window was created with.
class DisplayEvents {
 public:
  virtual void MouseMoved(void* owner, int x, int y) = 0;
  virtual void LeftButtonPressed(void* owner, int x, int y) = 0;
  virtual void CloseRequested(void* owner) = 0;

 protected:
  ~DisplayEvents() = default;
};

struct MessageBoxRequest {
  NativeWindow owner = 0;
  std::string text;     // UTF-8
  std::string caption;  // UTF-8
  bool stopIcon = false;
};

class Display {
 public:
  virtual ~Display() = default;

  // Why no window can be made, or empty when the display is usable.
  virtual std::string FailureReason() const = 0;
  virtual void SetEventSink(DisplayEvents* sink) = 0;

  // The desktop's work area, in screen pixels.
  virtual ScreenRect WorkArea() = 0;
  // The desktop's user-interface font and text smoothing.
  virtual DesktopFont UiFont() = 0;

  // A top-level window without decoration showing `backing`, which the
  // framework keeps alive and may resize. Hidden until Show. 0 on failure.
  virtual NativeWindow CreateTopLevel(void* owner, const std::string& titleUtf8, const Surface* backing) = 0;
  // A child window inside `parent` at `rect` (parent client pixels). 0 on failure.
  virtual NativeWindow CreateChild(NativeWindow parent, void* owner, ScreenRect rect) = 0;
  virtual void SetIcon(NativeWindow window, std::span<const std::uint8_t> png) = 0;
  // Screen rectangle of a top-level window; parent client rectangle of a child.
  virtual void SetPlacement(NativeWindow window, ScreenRect rect) = 0;
  virtual void SetKeepAbove(NativeWindow window, bool above) = 0;
  virtual void Show(NativeWindow window) = 0;
  // The backing store changed inside `dirty` (client pixels).
  virtual void Present(NativeWindow window, ScreenRect dirty) = 0;
  virtual void Destroy(NativeWindow window) = 0;

  // Waits up to timeoutMs (-1: no limit) for input, handing what arrives to
  // the event sink; 0 only takes what is already there. The screen keeps
  // being served meanwhile (exposed areas are redrawn from the backing
  // stores). With a watch, the wait also ends once its descriptor is ready,
  // which sets watch->ready.
  virtual void WaitForEvents(int timeoutMs, FdWatch* watch) = 0;
  void WaitForEvents(int timeoutMs) { WaitForEvents(timeoutMs, nullptr); }

  virtual MessageBoxId OpenMessageBox(const MessageBoxRequest& request) = 0;
  virtual bool IsMessageBoxOpen(MessageBoxId box) = 0;
  virtual void CloseMessageBox(MessageBoxId box) = 0;
};

}  // namespace platform
