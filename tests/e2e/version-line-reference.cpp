// Draws status lines over the background as the launcher's paint does, on
// the headless display, and writes each line's rectangle as a binary PPM
// picture. Fails when the system font lacks a glyph of a line or a line
// leaves no ink.
//   version-line-reference OUTPUT.ppm [VERSION]
//     the version line "版本：VERSION" (default 2.0.1.0.3, the demo's) in
//     (7,430)-(157,445);
//   version-line-reference --progress FOLDER
//     the progress lines "目前已下載：N %" for N from 0 to 100, right-aligned
//     in (480,430)-(630,445), as FOLDER/N.ppm.
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

namespace {

// Draws one line in rect over a fresh background and writes the rectangle to
// output; false (having said why) when a glyph is missing or nothing is drawn.
bool WriteLine(const std::string& line, RECT rect, UINT format, const std::string& output) {
  const int missing = pango_layout_get_unknown_glyphs_count(SystemFont::Current().NewLayout(line).get());
  if (missing != 0) {
    std::fprintf(stderr, "version-line-reference: the system font lacks %d glyphs of \"%s\"\n", missing, line.c_str());
    return false;
  }
  HBITMAP picture = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(51));
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP old = SelectObject(dc, picture);
  const platform::Surface background = OwnPixels(*picture);
  SetBkMode(dc, TRANSPARENT);
  const std::string narrow = LocaleFromUtf8(line);
  DrawTextA(dc, narrow.c_str(), static_cast<int>(narrow.size()), &rect, format);

  const platform::Surface& drawn = *picture->pixels;
  std::ofstream out(output, std::ios::binary);
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
  if (ink == 0 || !out) {
    std::fprintf(stderr, "version-line-reference: %s: %s\n", output.c_str(),
                 ink == 0 ? "the line left no ink" : "cannot write the picture");
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool progress = argc == 3 && std::string(argv[1]) == "--progress";
  if (argc < 2 || argc > 3 || (argc == 3 && !progress && std::string(argv[1]).starts_with("--"))) {
    std::fprintf(stderr, "usage: version-line-reference OUTPUT.ppm [VERSION] | --progress FOLDER\n");
    return 2;
  }
  std::setlocale(LC_ALL, "");
  platform::HeadlessDisplay display;
  UseDisplay(&display);
  bool written = true;
  if (progress) {
    for (int percent = 0; percent <= 100 && written; ++percent) {
      written = WriteLine("目前已下載：" + std::to_string(percent) + " %", RECT{480, 430, 630, 445},
                          DT_VCENTER | DT_RIGHT, std::string(argv[2]) + "/" + std::to_string(percent) + ".ppm");
    }
  } else {
    const std::string version = argc == 3 ? argv[2] : "2.0.1.0.3";
    written = WriteLine("版本：" + version, RECT{7, 430, 157, 445}, DT_VCENTER, argv[1]);
  }
  UseDisplay(nullptr);
  return written ? 0 : 1;
}
