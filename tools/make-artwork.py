#!/usr/bin/env python3
"""Generate the Moravine launcher artwork.

Writes, relative to the current directory (run it from the repository root):

  res/bitmaps/51.bmp           640x480 window background
  res/bitmaps/52.bmp..72.bmp   89x30 button faces; for button k = 1..7 the ids
                               52+3(k-1), 53+3(k-1) and 54+3(k-1) are its normal
                               (orange), hover/pressed (blue) and disabled (grey)
                               faces
  res/icon.png                 48x48 window icon
  packaging/icons/N.png        the same icon drawn at NxN for the desktop, N = 64,
                               128, 256

Usage:  python3 tools/make-artwork.py

Needs Pillow (Debian: python3-pil) and the Noto CJK fonts (Debian:
fonts-noto-cjk).  The output is deterministic: all irregular detail comes from
fixed seeds, so running the script again yields byte-identical files.  The BMPs
are written by this script itself as 24-bit BI_RGB, bottom-up, rows padded to
4 bytes, with a 54-byte header.
"""

import os
import random
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/opentype/noto"
LABEL_FONT = (os.path.join(FONT_DIR, "NotoSansCJK-Bold.ttc"), 3)   # Noto Sans CJK TC
TITLE_FONT = (os.path.join(FONT_DIR, "NotoSerifCJK-Bold.ttc"), 3)  # Noto Serif CJK TC

OUT_DIR = "res"
BITMAP_DIR = os.path.join(OUT_DIR, "bitmaps")
# The icon drawn again at the larger sizes of the desktop's icon theme, for
# application grids and software centres (the theme's 48x48 is res/icon.png).
DESKTOP_ICON_DIR = os.path.join("packaging", "icons")
DESKTOP_ICON_SIZES = (64, 128, 256)
BACKGROUND_ID = 51
FIRST_BUTTON_ID = 52

# Background layout; boxes are (x0, y0, x1, y1) with exclusive ends.
SIZE = (640, 480)
TITLE_BAND = (0, 0, 640, 86)
PANEL = (7, 86, 632, 427)          # covered by the web view at run time
STATUS_STRIP = (4, 430, 636, 446)  # two lines of small black text in y 430..444
BUTTON_BAR = (4, 446, 636, 476)    # faces sit at x = 5 + 90k, y = 446
BUTTON_SIZE = (89, 30)
LABELS = ("開始遊戲", "線上更新", "會員註冊", "遊戲說明", "搖桿設定", "人才招募", "離開遊戲")

PANEL_FILL = (13, 11, 17)
PARCHMENT = (230, 214, 174)
INK_BROWN = (120, 84, 44)
BAR_STOPS = ((0.0, (34, 25, 19)), (1.0, (14, 10, 8)))
SKY_STOPS = ((0.0, (6, 8, 26)), (0.25, (30, 24, 64)), (0.45, (116, 58, 94)),
             (0.65, (220, 124, 78)), (1.0, (250, 188, 112)))
GOLD_STOPS = ((0.0, (255, 244, 200)), (0.45, (238, 194, 100)),
              (0.55, (192, 134, 46)), (1.0, (248, 210, 124)))
GOLD_OUTLINE = (26, 14, 4)
# Nested 1-px rings of a metal frame, outermost first.
FRAME_RINGS = ((16, 10, 4), (236, 196, 118), (178, 128, 56), (120, 80, 32))
PANEL_RINGS = ((210, 164, 84), (110, 72, 28), (30, 20, 10))

# Face kinds in id order: normal, hover/pressed, disabled.  Each has the plate
# gradient, its rim, the 1-px bevel highlight and shadow, the label colour and
# either a dark label outline and drop shadow or a light engraved-label offset.
FACE_STYLES = (
    {"stops": ((0.0, (255, 216, 132)), (0.48, (248, 158, 46)),
               (0.52, (228, 124, 20)), (1.0, (172, 74, 8))),
     "rim": (70, 30, 4), "bevel_hi": (255, 240, 196), "bevel_lo": (112, 46, 4),
     "text": (255, 251, 238), "outline": (92, 36, 0), "engrave": None},
    {"stops": ((0.0, (180, 224, 255)), (0.48, (74, 152, 238)),
               (0.52, (40, 116, 218)), (1.0, (16, 58, 148))),
     "rim": (8, 24, 66), "bevel_hi": (218, 240, 255), "bevel_lo": (10, 38, 104),
     "text": (255, 255, 255), "outline": (6, 28, 88), "engrave": None},
    {"stops": ((0.0, (178, 178, 174)), (0.48, (146, 146, 143)),
               (0.52, (134, 134, 131)), (1.0, (102, 102, 99))),
     "rim": (46, 46, 44), "bevel_hi": (206, 206, 202), "bevel_lo": (76, 76, 74),
     "text": (96, 96, 94), "outline": None, "engrave": (190, 190, 186)},
)

SUPERSAMPLE = 4


# --------------------------------------------------------------- file output

def write_bmp24(path, image):
    """Write an RGB image as a 24-bit BI_RGB bottom-up BMP with a 54-byte header."""
    width, height = image.size
    row_bytes = width * 3
    padding = b"\0" * (-row_bytes % 4)
    bgr = image.convert("RGB").tobytes("raw", "BGR")
    pixels = b"".join(bgr[y * row_bytes:(y + 1) * row_bytes] + padding
                      for y in reversed(range(height)))
    file_header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                              len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(file_header + info_header + pixels)


def write_png(path, image):
    """Write a PNG with no optional (possibly run-dependent) metadata chunks."""
    image.save(path, format="PNG", compress_level=9)


# ------------------------------------------------------------ basic helpers

def load_font(font, size):
    """Open a (path, face index) font at a pixel size."""
    path, index = font
    return ImageFont.truetype(path, size, index=index)


def mix(a, b, t):
    """Linear blend of two RGB colours, t = 0 gives a, t = 1 gives b."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def gradient_color(stops, t):
    """Colour at position t (0..1) along (position, colour) stops."""
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


def vertical_gradient(size, stops):
    """RGB image whose rows follow the colour stops from top to bottom."""
    width, height = size
    column = Image.new("RGB", (1, height))
    column.putdata([gradient_color(stops, y / max(height - 1, 1))
                    for y in range(height)])
    return column.resize(size, Image.NEAREST)


def value_noise(size, cell, seed):
    """Smooth greyscale noise: a seeded random grid upscaled bicubically.

    cell is (cw, ch), the spacing of the random grid in pixels."""
    rng = random.Random(seed)
    cw, ch = cell
    grid_w, grid_h = size[0] // cw + 3, size[1] // ch + 3
    grid = Image.new("L", (grid_w, grid_h))
    grid.putdata([rng.randrange(256) for _ in range(grid_w * grid_h)])
    big = grid.resize((grid_w * cw, grid_h * ch), Image.BICUBIC)
    return big.crop((cw, ch, cw + size[0], ch + size[1]))


def smooth_mask(size, draw_shapes):
    """Anti-aliased L mask: draw_shapes(draw, scale) paints at 4x, then downsample."""
    big = Image.new("L", (size[0] * SUPERSAMPLE, size[1] * SUPERSAMPLE), 0)
    draw_shapes(ImageDraw.Draw(big), SUPERSAMPLE)
    return big.resize(size, Image.LANCZOS)


def rounded_rect_mask(size, box, radius):
    """Anti-aliased mask of a rounded rectangle given in output pixels."""
    x0, y0, x1, y1 = box
    return smooth_mask(size, lambda draw, s: draw.rounded_rectangle(
        (x0 * s, y0 * s, x1 * s - 1, y1 * s - 1), radius * s, fill=255))


def shifted(mask, dx, dy):
    """Mask moved by (dx, dy) pixels; the vacated area is empty."""
    out = Image.new("L", mask.size, 0)
    out.paste(mask, (dx, dy))
    return out


def scaled(mask, factor):
    """Mask with every value multiplied by factor (0..1)."""
    return mask.point(lambda v: round(v * factor))


def paint(image, color_or_image, mask):
    """Paint a colour or a same-sized RGB image into image through mask."""
    source = color_or_image
    if not isinstance(source, Image.Image):
        source = Image.new("RGB", mask.size, source)
    image.paste(source, (0, 0), mask)


def text_mask(size, font, text, center, stroke=0):
    """L mask of text whose ink box (including stroke) is centred on center."""
    x0, y0, x1, y1 = font.getbbox(text, stroke_width=stroke)
    origin = (round(center[0] - (x0 + x1) / 2), round(center[1] - (y0 + y1) / 2))
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).text(origin, text, font=font, fill=255,
                              stroke_width=stroke, stroke_fill=255)
    return mask


def gilded(image, mask, top, bottom, outline=2):
    """Paint mask as gold metal with a dark outline; gradient spans rows top..bottom."""
    ring = mask.filter(ImageFilter.MaxFilter(2 * outline + 1))
    paint(image, GOLD_OUTLINE, ring)
    gold = Image.new("RGB", image.size, GOLD_STOPS[0][1])
    gold.paste(vertical_gradient((image.width, bottom - top), GOLD_STOPS), (0, top))
    paint(image, gold, mask)


def box_size(box):
    """(width, height) of an (x0, y0, x1, y1) box."""
    return box[2] - box[0], box[3] - box[1]


# ------------------------------------------------------------ title band art

def ridge_line(width, base, amplitude, roughness, seed):
    """Heights (one per column) of a mountain ridge by midpoint displacement."""
    rng = random.Random(seed)
    size = 1
    while size < width:
        size *= 2
    heights = [0.0] * (size + 1)
    heights[0] = base - rng.uniform(0, amplitude)
    heights[size] = base - rng.uniform(0, amplitude)
    step, spread = size, amplitude
    while step > 1:
        half = step // 2
        for x in range(half, size, step):
            middle = (heights[x - half] + heights[x + half]) / 2
            heights[x] = middle + rng.uniform(-spread, spread)
        step, spread = half, spread * roughness
    return heights[:width]


def sky(size):
    """Dusk sky with wispy clouds."""
    image = vertical_gradient(size, SKY_STOPS)
    wisps = value_noise(size, (64, 7), seed=11)
    wisps = wisps.point(lambda v: max(0, v - 150) * 2)
    paint(image, (176, 106, 120), scaled(wisps, 0.5))
    return image


def stars(image, count, max_y, seed):
    """Scatter faint single-pixel stars over the upper sky."""
    rng = random.Random(seed)
    for _ in range(count):
        x, y = rng.randrange(image.width), rng.randrange(2, max_y)
        shade = mix(image.getpixel((x, y)), (255, 250, 230), rng.uniform(0.3, 0.9))
        image.putpixel((x, y), shade)


def moon(image, center, radius):
    """Crescent moon with a faint night side and a soft halo."""
    cx, cy = center
    halo = Image.new("L", image.size, 0)
    ImageDraw.Draw(halo).ellipse((cx - radius * 2, cy - radius * 2,
                                  cx + radius * 2, cy + radius * 2), fill=90)
    paint(image, (240, 210, 170), halo.filter(ImageFilter.GaussianBlur(radius)))
    disc = smooth_mask(image.size, lambda d, s: d.ellipse(
        ((cx - radius) * s, (cy - radius) * s, (cx + radius) * s, (cy + radius) * s),
        fill=255))
    paint(image, (250, 236, 206), scaled(disc, 0.22))
    night_side = smooth_mask(image.size, lambda d, s: d.ellipse(
        ((cx - radius + 6) * s, (cy - radius - 3) * s,
         (cx + radius + 6) * s, (cy + radius - 3) * s), fill=255))
    paint(image, (252, 240, 212), ImageChops.subtract(disc, night_side))


def mountains(image, base, amplitude, roughness, color, seed):
    """Fill a mountain range silhouette; returns its ridge heights."""
    heights = ridge_line(image.width, base, amplitude, roughness, seed)

    def shapes(draw, s):
        points = [(x * s, h * s) for x, h in enumerate(heights)]
        points += [(image.width * s, image.height * s), (0, image.height * s)]
        draw.polygon(points, fill=255)
    paint(image, color, smooth_mask(image.size, shapes))
    return heights


def castle(image, left, ground, color):
    """Small castle silhouette with a few lit windows, standing on ground."""
    towers = ((0, 22, 9), (16, 30, 11), (36, 18, 8), (52, 24, 9))

    def shapes(draw, s):
        draw.rectangle((left * s, (ground - 12) * s, (left + 61) * s, (ground + 10) * s),
                       fill=255)
        for x, height, width in towers:
            x, top = left + x, ground - height
            draw.rectangle((x * s, top * s, (x + width) * s, (ground + 10) * s), fill=255)
            draw.polygon(((x - 1) * s, top * s, (x + width / 2) * s, (top - 9) * s,
                          (x + width + 1) * s, top * s), fill=255)
        for x in range(left + 2, left + 60, 4):
            draw.rectangle((x * s, (ground - 15) * s, (x + 2) * s, (ground - 12) * s),
                           fill=255)
    paint(image, color, smooth_mask(image.size, shapes))
    for dx, dy in ((20, -20), (21, -14), (5, -12), (40, -8), (55, -15)):
        image.putpixel((left + dx, round(ground) + dy), (255, 196, 96))


def horizontal_vignette(image, strength):
    """Darken the image towards its left and right edges."""
    row = Image.new("L", (image.width, 1))
    half = image.width / 2
    row.putdata([round(strength * ((x - half) / half) ** 2) for x in range(image.width)])
    paint(image, (0, 0, 0), row.resize(image.size, Image.BILINEAR))


def flourish_mask(size, center, title_half_width):
    """Tapered rods ending in diamonds, mirrored on both sides of the title."""
    cx, cy = center

    def shapes(draw, s):
        for side in (-1, 1):
            inner = cx + side * (title_half_width + 12)
            outer = cx + side * (title_half_width + 120)
            draw.polygon(((inner * s, (cy - 2) * s), (outer * s, cy * s),
                          (inner * s, (cy + 2) * s)), fill=255)
            for x, r in ((inner, 5), (outer, 4), ((inner + outer) / 2, 3)):
                draw.polygon(((x - r) * s, cy * s, x * s, (cy - r) * s,
                              (x + r) * s, cy * s, x * s, (cy + r) * s), fill=255)
    return smooth_mask(size, shapes)


def title_band():
    """Painted dusk landscape with the gilded game title."""
    size = box_size(TITLE_BAND)
    image = sky(size)
    stars(image, 70, 50, seed=7)
    moon(image, (560, 26), 10)
    mountains(image, 66, 40, 0.6, (64, 36, 72), seed=3)
    mountains(image, 76, 20, 0.58, (36, 21, 44), seed=9)
    near = mountains(image, 83, 9, 0.5, (13, 8, 17), seed=5)
    castle(image, 84, min(near[80:150]) + 4, (13, 8, 17))
    horizontal_vignette(image, 170)

    font = load_font(TITLE_FONT, 46)
    center = (size[0] // 2, 40)
    text = text_mask(size, font, "Moravine", center)
    glow = text.filter(ImageFilter.MaxFilter(7)).filter(ImageFilter.GaussianBlur(6))
    paint(image, (255, 180, 90), scaled(glow, 0.55))
    half_width = (font.getbbox("Moravine")[2] - font.getbbox("Moravine")[0]) // 2
    gilded(image, flourish_mask(size, center, half_width), center[1] - 6, center[1] + 6,
           outline=1)
    gilded(image, text, center[1] - 20, center[1] + 20)
    return image


# ------------------------------------------------------- frame and regions

def rings(draw, box, colors):
    """Nested 1-px rectangle outlines from box inwards, one per colour."""
    x0, y0, x1, y1 = box
    for i, color in enumerate(colors):
        draw.rectangle((x0 + i, y0 + i, x1 - 1 - i, y1 - 1 - i), outline=color)


def stud(image, center, radius):
    """Gold diamond stud with a dark outline."""
    cx, cy = center
    mask = smooth_mask(image.size, lambda d, s: d.polygon(
        ((cx - radius) * s, cy * s, cx * s, (cy - radius) * s,
         (cx + radius) * s, cy * s, cx * s, (cy + radius) * s), fill=255))
    gilded(image, mask, cy - radius, cy + radius + 1, outline=1)


def status_strip():
    """Parchment strip for the status text, darkened towards its ends."""
    size = box_size(STATUS_STRIP)
    image = Image.new("RGB", size, PARCHMENT)
    grain = value_noise(size, (9, 3), seed=13)
    paint(image, (196, 170, 120), scaled(grain, 0.22))
    ends = Image.new("L", (size[0], 1))
    ends.putdata([round(110 * max(0, 1 - min(x, size[0] - 1 - x) / 40) ** 2)
                  for x in range(size[0])])
    paint(image, (150, 108, 60), ends.resize(size, Image.BILINEAR))
    draw = ImageDraw.Draw(image)
    draw.line((0, size[1] - 1, size[0], size[1] - 1), fill=INK_BROWN)
    middle = size[0] // 2
    draw.line((middle - 120, 8, middle + 120, 8), fill=(196, 172, 126))
    draw.polygon((middle - 5, 8, middle, 3, middle + 5, 8, middle, 13), fill=INK_BROWN)
    return image


def button_bar_backdrop(size):
    """Dark bar behind the buttons; button faces reuse it for their corners."""
    return vertical_gradient(size, BAR_STOPS)


def background():
    """The 640x480 window background."""
    image = Image.new("RGB", SIZE, FRAME_RINGS[-1])
    image.paste(title_band(), TITLE_BAND[:2])
    image.paste(status_strip(), STATUS_STRIP[:2])
    image.paste(button_bar_backdrop(box_size(BUTTON_BAR)), BUTTON_BAR[:2])

    draw = ImageDraw.Draw(image)
    rings(draw, (0, 0) + SIZE, FRAME_RINGS)
    panel_ring = (PANEL[0] - 3, PANEL[1] - 3, PANEL[2] + 3, PANEL[3] + 3)
    rings(draw, panel_ring, PANEL_RINGS)
    for corner in ((panel_ring[0] + 1, panel_ring[1] + 1),
                   (panel_ring[2] - 2, panel_ring[1] + 1)):
        stud(image, corner, 5)
    for x in (8, SIZE[0] - 9):
        stud(image, (x, 8), 4)
    image.paste(PANEL_FILL, PANEL)  # last, so no ornament reaches into the panel
    return image


# ----------------------------------------------------------- button faces

def button_face(label, style, font):
    """One 89x30 button face: bevelled rounded plate with a centred label."""
    size = BUTTON_SIZE
    image = button_bar_backdrop(size)
    outer = rounded_rect_mask(size, (0, 0) + size, 6)
    plate = rounded_rect_mask(size, (1, 1, size[0] - 1, size[1] - 1), 5)
    paint(image, style["rim"], outer)
    paint(image, vertical_gradient(size, style["stops"]), plate)
    paint(image, style["bevel_hi"], ImageChops.subtract(plate, shifted(plate, 0, 1)))
    paint(image, style["bevel_lo"], ImageChops.subtract(plate, shifted(plate, 0, -1)))

    center = (size[0] / 2, size[1] / 2)
    glyphs = text_mask(size, font, label, center)
    if style["engrave"]:
        paint(image, style["engrave"], shifted(glyphs, 0, 1))
    else:
        halo = text_mask(size, font, label, center, stroke=1)
        paint(image, style["outline"], scaled(halo, 0.45))
        paint(image, style["outline"], shifted(glyphs, 1, 1))
    paint(image, style["text"], glyphs)
    return image


# ------------------------------------------------------------------- icon

def icon(pixels=48):
    """pixels x pixels RGBA medallion with a gilded serif M, drawn on a 48-unit grid."""
    s = SUPERSAMPLE * pixels / 48
    size = (pixels * SUPERSAMPLE, pixels * SUPERSAMPLE)
    image = Image.new("RGB", size, (0, 0, 0))
    disc = Image.new("L", size, 0)
    ImageDraw.Draw(disc).ellipse((0, 0, size[0] - 1, size[1] - 1), fill=255)
    inner = Image.new("L", size, 0)
    ImageDraw.Draw(inner).ellipse((5 * s, 5 * s, 43 * s - 1, 43 * s - 1), fill=255)

    outline = ImageFilter.MaxFilter(2 * round(s) + 1)
    gold = vertical_gradient(size, GOLD_STOPS)
    paint(image, gold, disc)
    paint(image, GOLD_OUTLINE, inner.filter(outline))
    paint(image, vertical_gradient(size, SKY_STOPS), inner)

    font = load_font(TITLE_FONT, round(30 * s))
    letter = text_mask(size, font, "M", (24 * s, 24.5 * s))
    paint(image, GOLD_OUTLINE, letter.filter(outline))
    paint(image, gold, letter)

    image.putalpha(disc)
    return image.resize((pixels, pixels), Image.LANCZOS)


# ------------------------------------------------------------------- main

def main():
    os.makedirs(BITMAP_DIR, exist_ok=True)
    os.makedirs(DESKTOP_ICON_DIR, exist_ok=True)
    write_bmp24(os.path.join(BITMAP_DIR, "%d.bmp" % BACKGROUND_ID), background())
    font = load_font(LABEL_FONT, 16)
    face_id = FIRST_BUTTON_ID
    for label in LABELS:
        for style in FACE_STYLES:
            write_bmp24(os.path.join(BITMAP_DIR, "%d.bmp" % face_id),
                        button_face(label, style, font))
            face_id += 1
    write_png(os.path.join(OUT_DIR, "icon.png"), icon())
    for pixels in DESKTOP_ICON_SIZES:
        write_png(os.path.join(DESKTOP_ICON_DIR, "%d.png" % pixels), icon(pixels))


if __name__ == "__main__":
    main()
