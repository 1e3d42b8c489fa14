#!/usr/bin/python3
"""Tells whether a screenshot shows one of the progress lines that
version-line-reference --progress drew, at a screen position, and which.

Usage: progress-line-shows.py SCREENSHOT.png FOLDER X Y
Prints the percentage and exits 0 when a line matches every pixel, else 1."""
import sys

from PIL import Image


def main():
    shot_path, folder, x, y = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    shot = Image.open(shot_path).convert("RGB")
    for percent in range(101):
        line = Image.open(f"{folder}/{percent}.ppm").convert("RGB")
        region = shot.crop((x, y, x + line.width, y + line.height))
        if list(region.getdata()) == list(line.getdata()):
            print(percent)
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
