#include "platform/headless/HeadlessDisplay.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace platform {

void HeadlessDisplay::MoveMouse(NativeWindow window, int x, int y) {
  if (Window* w = Get(window); w != nullptr && sink_ != nullptr) {
    sink_->MouseMoved(w->owner, x, y);
  }
}

void HeadlessDisplay::PressLeftButton(NativeWindow window, int x, int y) {
  if (Window* w = Get(window); w != nullptr && sink_ != nullptr) {
    sink_->LeftButtonPressed(w->owner, x, y);
  }
}

void HeadlessDisplay::RequestClose(NativeWindow window) {
  if (Window* w = Get(window); w != nullptr && sink_ != nullptr) {
    sink_->CloseRequested(w->owner);
  }
}

const HeadlessDisplay::Window* HeadlessDisplay::Find(NativeWindow window) const {
  const auto it = windows_.find(window);
  return it != windows_.end() ? &it->second : nullptr;
}

bool HeadlessDisplay::IsDestroyed(NativeWindow window) const {
  return std::find(destroyed_.begin(), destroyed_.end(), window) != destroyed_.end();
}

HeadlessDisplay::Window* HeadlessDisplay::Get(NativeWindow window) {
  const auto it = windows_.find(window);
  return it != windows_.end() && !IsDestroyed(window) ? &it->second : nullptr;
}

NativeWindow HeadlessDisplay::Add(Window window) {
  if (!failure.empty()) {
    return 0;
  }
  const NativeWindow id = nextWindow_++;
  windows_.emplace(id, std::move(window));
  return id;
}

NativeWindow HeadlessDisplay::CreateTopLevel(void* owner, const std::string& titleUtf8, const Surface* backing) {
  Window w;
  w.owner = owner;
  w.backing = backing;
  w.title = titleUtf8;
  return Add(std::move(w));
}

NativeWindow HeadlessDisplay::CreateChild(NativeWindow parent, void* owner, ScreenRect rect) {
  if (Get(parent) == nullptr) {
    return 0;
  }
  Window w;
  w.owner = owner;
  w.parent = parent;
  w.placement = rect;
  return Add(std::move(w));
}

void HeadlessDisplay::SetIcon(NativeWindow window, std::span<const std::uint8_t> png) {
  if (Window* w = Get(window)) {
    w->hasIcon = !png.empty();
  }
}

void HeadlessDisplay::SetPlacement(NativeWindow window, ScreenRect rect) {
  if (Window* w = Get(window)) {
    w->placement = rect;
  }
}

void HeadlessDisplay::SetKeepAbove(NativeWindow window, bool above) {
  if (Window* w = Get(window)) {
    w->keepAbove = above;
  }
}

void HeadlessDisplay::Show(NativeWindow window) {
  if (Window* w = Get(window)) {
    w->visible = true;
    w->placementWhenShown = w->placement;
  }
}

void HeadlessDisplay::Present(NativeWindow window, ScreenRect dirty) {
  if (Window* w = Get(window)) {
    w->presented.push_back(dirty);
  }
}

void HeadlessDisplay::Destroy(NativeWindow window) {
  if (Get(window) != nullptr) {
    destroyed_.push_back(window);
  }
}

void HeadlessDisplay::WaitForEvents(int timeoutMs, FdWatch* watch) {
  // No input arrives by itself here: waiting is time passing, so timers come
  // due, or the watched descriptor becoming ready.
  if (atNextLook) std::exchange(atNextLook, nullptr)();
  if (watch != nullptr) {
    WaitForFd(*watch, timeoutMs);
  } else if (timeoutMs > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
  }
}

MessageBoxId HeadlessDisplay::OpenMessageBox(const MessageBoxRequest& request) {
  ShownMessageBox shown;
  shown.hasOwner = request.owner != 0;
  shown.owner = request.owner;
  shown.text = request.text;
  shown.caption = request.caption;
  shown.stopIcon = request.stopIcon;
  messageBoxes.push_back(std::move(shown));
  const MessageBoxId id = nextBox_++;
  openBoxes_.emplace(id, messageBoxes.size() - 1);
  return id;
}

bool HeadlessDisplay::IsMessageBoxOpen(MessageBoxId box) {
  const auto it = openBoxes_.find(box);
  if (it == openBoxes_.end()) {
    return false;
  }
  if (keepMessageBoxOpen && keepMessageBoxOpen(messageBoxes[it->second])) {
    return true;
  }
  openBoxes_.erase(it);
  return false;
}

void HeadlessDisplay::CloseMessageBox(MessageBoxId box) { openBoxes_.erase(box); }

}  // namespace platform
