#!/usr/bin/python3
"""Checks on a screenshot for the end-to-end tests, in screen coordinates.

  picture.py matches SHOT PICTURE X Y [PICTURE X Y...]
      each picture shows at its place, every pixel
  picture.py colour SHOT X Y WIDTH HEIGHT WHAT
      the rectangle shows WHAT: RRGGBB (nine pixels in ten), only-RRGGBB,
      no-RRGGBB, error-page (mostly white, with dark text), stop-icon (a red
      disc) or no-red
  picture.py progress SHOT FOLDER X Y
      one of the progress lines FOLDER/0.ppm to 100.ppm shows at the place;
      prints its percentage
  picture.py same SHOT OTHER [X Y WIDTH HEIGHT]
      two screenshots agree, whole or in the rectangle
Exits 0 when the check holds, else 1, saying what it saw."""
import sys

from PIL import Image

# A 48-pixel stop icon's disc is well over a thousand pixels; text and the
# buttons' faces have none of its red.
ICON_PIXELS = 400


def load(path):
    return Image.open(path).convert("RGB")


def region(image, x, y, width, height):
    return list(image.crop((x, y, x + width, y + height)).getdata())


def differing(shot, picture, x, y):
    return sum(a != b for a, b in zip(region(shot, x, y, picture.width, picture.height), picture.getdata()))


def matches(shot, *places):
    for i in range(0, len(places), 3):
        x, y = int(places[i + 1]), int(places[i + 2])
        count = differing(shot, load(places[i]), x, y)
        if count:
            return f"{places[i]} at ({x},{y}): {count} pixels differ"
    return None


def colour(shot, x, y, width, height, what):
    pixels = region(shot, int(x), int(y), int(width), int(height))
    red = sum(1 for r, g, b in pixels if r >= 160 and g <= 90 and b <= 90)
    white = pixels.count((255, 255, 255))
    dark = sum(1 for p in pixels if max(p) < 96)
    if what in ("stop-icon", "no-red"):
        holds = red >= ICON_PIXELS if what == "stop-icon" else red == 0
        return None if holds else f"{red} red pixels, expected {what}"
    if what == "error-page":
        holds = white >= 0.8 * len(pixels) and dark > 0
        return None if holds else f"no error page: {white} white and {dark} dark of {len(pixels)} pixels"
    kind, _, hex_colour = what.rpartition("-")
    seen = pixels.count(tuple(int(hex_colour[i:i + 2], 16) for i in (0, 2, 4)))
    holds = {"": seen >= 0.9 * len(pixels), "only": seen == len(pixels), "no": seen == 0}[kind]
    return None if holds else f"{what}: #{hex_colour} in {seen} of {len(pixels)}; the middle is {pixels[len(pixels) // 2]}"


def progress(shot, folder, x, y):
    for percent in range(101):
        if differing(shot, load(f"{folder}/{percent}.ppm"), int(x), int(y)) == 0:
            print(percent)
            return None
    return "no progress line"


def same(shot, other, *rectangle):
    other = load(other)
    if rectangle:
        x, y, width, height = (int(v) for v in rectangle)
        shot, other = (image.crop((x, y, x + width, y + height)) for image in (shot, other))
    count = sum(a != b for a, b in zip(shot.getdata(), other.getdata()))
    return f"{count} pixels differ" if count else None


def main():
    check = {"matches": matches, "colour": colour, "progress": progress, "same": same}[sys.argv[1]]
    failure = check(load(sys.argv[2]), *sys.argv[3:])
    if failure:
        print(failure, file=sys.stderr)
    return 1 if failure else 0


if __name__ == "__main__":
    sys.exit(main())
