#include "shell/WindowPlacement.h"

POINT CentreOnWorkArea(const RECT& workArea) {
  return POINT{(workArea.Width() - kClientWidth) / 2, (workArea.Height() - kClientHeight) / 2};
}
