#!/usr/bin/python3
"""Tells whether a screenshot shows a stop icon (a red disc) in a rectangle.

Usage: stop-icon-shows.py SCREENSHOT.png X Y WIDTH HEIGHT yes|no
Exits 0 when the rectangle holds a stop icon (yes) or no red at all (no),
1 otherwise (saying how many red pixels it saw)."""
import sys

from PIL import Image

# A 48-pixel icon's disc is well over a thousand pixels; text and the
# buttons' faces have none of this red.
ICON_PIXELS = 400


def is_red(pixel):
    r, g, b = pixel
    return r >= 160 and g <= 90 and b <= 90


def main():
    shot_path, x, y, width, height, expected = sys.argv[1:7]
    x, y, width, height = int(x), int(y), int(width), int(height)
    pixels = Image.open(shot_path).convert("RGB").crop((x, y, x + width, y + height)).getdata()
    red = sum(1 for p in pixels if is_red(p))
    if (expected == "yes" and red >= ICON_PIXELS) or (expected == "no" and red == 0):
        return 0
    print(f"{red} red pixels, expected {'a stop icon' if expected == 'yes' else 'none'}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
