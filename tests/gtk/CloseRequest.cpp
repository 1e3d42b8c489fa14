#include "CloseRequest.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// The mapped child of the root window titled `title`; 0 when there is none.
Window FindShown(Display* screen, const std::string& title) {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(screen, DefaultRootWindow(screen), &root, &parent, &children, &count) == 0) {
    return 0;
  }
  Window found = 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    XWindowAttributes attributes;
    char* name = nullptr;
    if (XGetWindowAttributes(screen, children[i], &attributes) != 0 && attributes.map_state == IsViewable &&
        XFetchName(screen, children[i], &name) != 0 && name != nullptr) {
      if (title == name) {
        found = children[i];
      }
    }
    if (name != nullptr) {
      XFree(name);
    }
  }
  if (children != nullptr) {
    XFree(children);
  }
  return found;
}

}  // namespace

bool RequestClose(const std::string& title) {
  Display* screen = XOpenDisplay(nullptr);
  if (screen == nullptr) {
    return false;
  }
  const Window window = FindShown(screen, title);
  if (window != 0) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(screen, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(screen, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(screen, window, False, NoEventMask, &event);
  }
  XCloseDisplay(screen);
  return window != 0;
}
