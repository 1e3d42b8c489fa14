#!/usr/bin/python3
"""Tells whether two screenshots have the same pixels, in the whole picture or
in a rectangle.

Usage: same-pixels.py A.png B.png [X Y WIDTH HEIGHT]
Exits 0 when they are the same, 1 otherwise (saying how many differ)."""
import sys

from PIL import Image


def main():
    a, b = (Image.open(path).convert("RGB") for path in sys.argv[1:3])
    if len(sys.argv) == 7:
        x, y, width, height = (int(v) for v in sys.argv[3:7])
        a, b = (image.crop((x, y, x + width, y + height)) for image in (a, b))
    differing = sum(1 for p, q in zip(a.getdata(), b.getdata()) if p != q)
    if differing:
        print(f"{differing} pixels differ", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
