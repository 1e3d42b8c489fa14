#include "shell/WindowPlacement.h"

#include "base/RectSize.h"

POINT CentreOnWorkArea(const RECT& workArea) {
  return POINT{(RectWidth(workArea) - kClientWidth) / 2, (RectHeight(workArea) - kClientHeight) / 2};
}
