// Draws the demo's version line, "版本：2.0.1.0.3", over the background as the
// launcher's paint does, on the headless display, and writes the line's
// rectangle (7,430)-(157,445) as a binary PPM picture. Fails when the system
// font lacks a glyph of the line or the line leaves no ink.
// Usage: version-line-reference OUTPUT.ppm
#include "base/NarrowText.h"
#include "framework/DisplayBinding.h"
#include "framework/DrawText.h"
#include "framework/GdiObjects.h"
#include "framework/Resources.h"
#include "framework/SystemFont.h"
#include "platform/headless/HeadlessDisplay.h"

#include <clocale>
#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: version-line-reference OUTPUT.ppm\n");
    return 2;
  }
  std::setlocale(LC_ALL, "");
  platform::HeadlessDisplay display;
  UseDisplay(&display);
  const char* line = "版本：2.0.1.0.3";
  const int missing = pango_layout_get_unknown_glyphs_count(SystemFont::Current().NewLayout(line).get());
  if (missing != 0) {
    std::fprintf(stderr, "version-line-reference: the system font lacks %d glyphs of the line\n", missing);
    return 1;
  }

  HBITMAP picture = LoadBitmap(AfxGetInstanceHandle(), 51);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP old = SelectObject(dc, picture);
  const platform::Surface background = *picture->pixels;
  SetBkMode(dc, TRANSPARENT);
  RECT rect{7, 430, 157, 445};
  const std::string narrow = LocaleFromUtf8(line);
  DrawTextA(dc, narrow.c_str(), static_cast<int>(narrow.size()), &rect, DT_VCENTER);

  const platform::Surface& drawn = *picture->pixels;
  std::ofstream out(argv[1], std::ios::binary);
  out << "P6\n" << rect.Width() << " " << rect.Height() << "\n255\n";
  int ink = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const std::uint32_t p = drawn.Pixel(x, y);
      ink += p != background.Pixel(x, y);
      out.put(static_cast<char>(p >> 16 & 0xFF)).put(static_cast<char>(p >> 8 & 0xFF)).put(static_cast<char>(p & 0xFF));
    }
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(picture);
  UseDisplay(nullptr);
  if (ink == 0 || !out) {
    std::fprintf(stderr, "version-line-reference: %s\n", ink == 0 ? "the line left no ink" : "cannot write the picture");
    return 1;
  }
  return 0;
}
