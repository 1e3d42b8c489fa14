#!/usr/bin/python3
"""Tells what a screenshot shows in a rectangle: a page of one colour (nine
in ten pixels), only one colour (only-RRGGBB), no pixel of a colour
(no-RRGGBB), or an error page (mostly white, dark text).

Usage: panel-shows.py SCREENSHOT.png X Y WIDTH HEIGHT (RRGGBB | only-RRGGBB | no-RRGGBB | error-page)
Exits 0 when it shows that, 1 otherwise (saying what it saw)."""
import sys

from PIL import Image


def main():
    shot_path, x, y, width, height, expected = sys.argv[1:7]
    x, y, width, height = int(x), int(y), int(width), int(height)
    pixels = list(Image.open(shot_path).convert("RGB").crop((x, y, x + width, y + height)).getdata())
    if expected == "error-page":
        white = sum(1 for p in pixels if p == (255, 255, 255))
        dark = sum(1 for p in pixels if max(p) < 96)
        if white >= 0.8 * len(pixels) and dark > 0:
            return 0
        print(f"no error page: {white} white and {dark} dark of {len(pixels)} pixels", file=sys.stderr)
        return 1
    if expected.startswith("no-"):
        colour = tuple(int(expected[i:i + 2], 16) for i in (3, 5, 7))
        seen = sum(1 for p in pixels if p == colour)
        if seen == 0:
            return 0
        print(f"#{expected[3:]} in {seen} pixels", file=sys.stderr)
        return 1
    share = 0.9
    if expected.startswith("only-"):
        expected, share = expected[5:], 1.0
    colour = tuple(int(expected[i:i + 2], 16) for i in (0, 2, 4))
    matching = sum(1 for p in pixels if p == colour)
    if matching >= share * len(pixels):
        return 0
    print(f"#{expected} in {matching} of {len(pixels)} pixels; the middle is {pixels[len(pixels) // 2]}",
          file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
