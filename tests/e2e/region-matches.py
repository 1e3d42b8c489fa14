#!/usr/bin/python3
"""Tells whether a screenshot shows a BMP picture at a screen position.

Usage: region-matches.py SCREENSHOT.png PICTURE.bmp X Y
Exits 0 when every pixel matches, 1 otherwise (saying how many differ)."""
import sys

from PIL import Image


def main():
    shot_path, picture_path, x, y = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    shot = Image.open(shot_path).convert("RGB")
    picture = Image.open(picture_path).convert("RGB")
    region = shot.crop((x, y, x + picture.width, y + picture.height))
    differing = sum(1 for a, b in zip(region.getdata(), picture.getdata()) if a != b)
    if differing:
        print(f"{picture_path} at ({x},{y}): {differing} pixels differ", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
