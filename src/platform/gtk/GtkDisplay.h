// The real screen, through GTK 3 on X11 (XWayland on a Wayland session, so
// that the window's placement holds).
#pragma once

#include "platform/gtk/GlibWait.h"
#include "platform/ui/Display.h"

#include <map>
#include <memory>
#include <optional>

typedef struct _GtkWidget GtkWidget;

namespace platform {

class GtkDisplay final : public Display {
 public:
  // Opens the display; FailureReason tells when that was not possible.
  GtkDisplay();
  ~GtkDisplay() override;
  GtkDisplay(const GtkDisplay&) = delete;
  GtkDisplay& operator=(const GtkDisplay&) = delete;

  std::string FailureReason() const override { return failure_; }
  void SetEventSink(DisplayEvents* sink) override { sink_ = sink; }
  ScreenRect WorkArea() override;
  DesktopFont UiFont() override;
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

  struct WindowParts;
  struct OpenBox;
  DisplayEvents* Sink() const;
  // The widget of a child window, which native content fills; null for others.
  GtkWidget* ChildWidget(NativeWindow window);
  // Whether a point of a top-level window's client area is its own: inside
  // the client area and under none of its shown child windows.
  bool IsOwnClientPoint(const WindowParts& top, int x, int y) const;

 private:
  WindowParts* Find(NativeWindow window);
  void StopWatchingUiFont();

  std::string failure_;
  DisplayEvents* sink_ = nullptr;
  std::map<NativeWindow, std::unique_ptr<WindowParts>> windows_;
  NativeWindow nextWindow_ = 1;
  // Each box is held by a reference of its own: GTK may destroy it (with its
  // owner window, say) while it is still in this map.
  struct CloseBox {
    void operator()(OpenBox* box) const;
  };
  std::map<MessageBoxId, std::unique_ptr<OpenBox, CloseBox>> boxes_;
  MessageBoxId nextBox_ = 1;
  GlibWait glib_;
  std::optional<DesktopFont> uiFont_;  // until a font setting changes
  bool watchingUiFont_ = false;
};

}  // namespace platform
