// Comparing pictures: where they differ, where the ink is, and the pixels of
// a compiled-in bitmap.
#pragma once

#include "base/WinTypes.h"
#include "platform/ui/Display.h"
#include "platform/ui/Surface.h"

#include <cstdint>

namespace testsupport {

// The smallest rectangle of `area` holding every pixel where a and b differ;
// empty when they agree there. Without an area, the whole of a.
RECT Differences(const platform::Surface& a, const platform::Surface& b, RECT area = {});
// The smallest rectangle holding every pixel that is not `ground`.
RECT Ink(const platform::Surface& s, std::uint32_t ground);
// The pixels of bitmap resource `id`; empty when there is none.
platform::Surface Picture(UINT id);

inline RECT AsRect(const platform::ScreenRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace testsupport
