#include "ScreenPixels.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

std::vector<std::uint32_t> ReadScreen(int x, int y, int width, int height) {
  std::vector<std::uint32_t> pixels;
  Display* screen = XOpenDisplay(nullptr);
  if (screen == nullptr) {
    return pixels;
  }
  XImage* image = XGetImage(screen, DefaultRootWindow(screen), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image != nullptr) {
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, column, row) & 0xFFFFFF));
      }
    }
    XDestroyImage(image);
  }
  XCloseDisplay(screen);
  return pixels;
}
