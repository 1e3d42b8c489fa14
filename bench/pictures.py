#!/usr/bin/python3
"""Writes what the first complete paint of each window looks like, for
paint-probe: the picture (PPM) and the mask of the pixels that count (PGM).

Usage: pictures.py BITMAP-DIR OUT-DIR
  launcher.ppm, launcher-mask.pgm: the background with the seven buttons'
    normal faces; the web panel and the two status lines do not count.
  reference.ppm, reference-mask.pgm: the background; the web view does not count.
"""
import sys

from PIL import Image, ImageDraw

PANEL = (7, 86, 632, 427)
STATUS_LINES = [(7, 430, 157, 445), (480, 430, 630, 445)]
FACES = [52, 55, 58, 61, 64, 67, 70]  # normal faces, left to right, 89x30 at (5 + 90 i, 446)


def mask(holes):
    picture = Image.new("L", (640, 480), 255)
    draw = ImageDraw.Draw(picture)
    for left, top, right, bottom in holes:
        draw.rectangle((left, top, right - 1, bottom - 1), fill=0)
    return picture


def main():
    bitmaps, out = sys.argv[1], sys.argv[2]
    background = Image.open(f"{bitmaps}/51.bmp").convert("RGB")
    background.save(f"{out}/reference.ppm")
    mask([PANEL]).save(f"{out}/reference-mask.pgm")
    launcher = background.copy()
    for i, face in enumerate(FACES):
        launcher.paste(Image.open(f"{bitmaps}/{face}.bmp").convert("RGB"), (5 + 90 * i, 446))
    launcher.save(f"{out}/launcher.ppm")
    mask([PANEL] + STATUS_LINES).save(f"{out}/launcher-mask.pgm")


if __name__ == "__main__":
    main()
