// The desktop's user-interface font and the way text is smoothed on it, as
// the desktop's settings give them.
#pragma once

#include <string>

namespace platform {

enum class Antialias { Default, None, Gray, Subpixel };
enum class HintStyle { Default, None, Slight, Medium, Full };

struct DesktopFont {
  std::string name = "Sans 10";              // families and a size, as "Sans 10" (points) or "Sans 13px"
  double dpi = 96.0;                         // turns points into pixels
  Antialias antialias = Antialias::Default;  // Default: as the font configuration says
  HintStyle hintStyle = HintStyle::Default;

  bool operator==(const DesktopFont&) const = default;
};

}  // namespace platform
