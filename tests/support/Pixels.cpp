#include "support/Pixels.h"

#include "framework/GdiObjects.h"
#include "framework/Resources.h"

#include <algorithm>

namespace testsupport {

namespace {

template <typename Differs>
RECT Bounds(RECT area, Differs differs) {
  RECT d{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (differs(x, y)) {
        d = RECT{std::min(d.left, x), std::min(d.top, y), std::max(d.right, x + 1), std::max(d.bottom, y + 1)};
      }
    }
  }
  return d;
}

}  // namespace

RECT Differences(const platform::Surface& a, const platform::Surface& b, RECT area) {
  if (area.IsEmpty()) area = RECT{0, 0, a.Width(), a.Height()};
  return Bounds(area, [&](int x, int y) { return a.Pixel(x, y) != b.Pixel(x, y); });
}

RECT Ink(const platform::Surface& s, std::uint32_t ground) {
  return Bounds(RECT{0, 0, s.Width(), s.Height()}, [&](int x, int y) { return s.Pixel(x, y) != ground; });
}

platform::Surface Picture(UINT id) {
  HBITMAP bitmap = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(id));
  if (bitmap == nullptr) return {};
  platform::Surface pixels = OwnPixels(*bitmap);
  DeleteObject(bitmap);
  return pixels;
}

}  // namespace testsupport
