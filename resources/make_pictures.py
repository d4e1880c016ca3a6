#!/usr/bin/env python3
"""Draws Huevik's pictures and writes them as BMP and ICO files into pictures/.

The build compiles the committed files; this script is how they were made.
Run it again after changing a drawing: python3 resources/make_pictures.py
Everything is computed, so two runs write identical bytes.
"""

import math
import struct
import sys
from pathlib import Path

PICTURES = Path(__file__).resolve().parent / "pictures"
REFERENCES = Path(__file__).resolve().parent.parent / "tests" / "unit" / "pictures"

# The window's transparency key: a pixel of exactly this colour turns into a hole.
KEY_BLUE = (0, 0, 255)

SKIN_BLUE = (107, 173, 247)          # the border, also the swatch's first colour
PANEL_GREY = (240, 240, 240)
PANEL_EDGE = (150, 188, 232)
TITLE_TEXT = (255, 255, 255)
TITLE_SHADOW = (45, 95, 170)
DARK_BAR = (28, 48, 86)
WHITE = (255, 255, 255)


class Picture:
    """Rows of RGB tuples; None marks a transparent pixel (icons only)."""

    def __init__(self, width, height, fill=None):
        self.width = width
        self.height = height
        self.rows = [[fill] * width for _ in range(height)]

    def get(self, x, y):
        return self.rows[y][x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def fill_rect(self, left, top, right, bottom, colour):
        for y in range(max(top, 0), min(bottom, self.height)):
            for x in range(max(left, 0), min(right, self.width)):
                self.rows[y][x] = colour

    def pixels(self):
        for row in self.rows:
            yield from row


def mix(a, b, t):
    """a at t = 0, b at t = 1, rounded to whole channel values."""
    return tuple(int(round(ca + (cb - ca) * t)) for ca, cb in zip(a, b))


def blend_over(picture, x, y, colour, coverage):
    if coverage <= 0:
        return
    below = picture.get(x, y)
    picture.put(x, y, colour if below is None else mix(below, colour, coverage))


# --- file formats -----------------------------------------------------------

def bmp32_bytes(picture):
    """BITMAPFILEHEADER + BITMAPINFOHEADER + bottom-up BGRA rows (BI_RGB)."""
    pixel_bytes = bytearray()
    for row in reversed(picture.rows):
        for r, g, b in row:
            pixel_bytes += bytes((b, g, r, 255))
    header_size = 14 + 40
    pixels_per_metre = 3780  # 96 dpi
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixel_bytes), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, picture.width, picture.height, 1, 32, 0,
                              len(pixel_bytes), pixels_per_metre, pixels_per_metre, 0, 0)
    return file_header + info_header + bytes(pixel_bytes)


def rle8_bytes(picture):
    """BITMAPFILEHEADER + BITMAPINFOHEADER + colour table + bottom-up rows in 8-bit run-length
    coding (BI_RLE8): runs of one colour, stretches of three or more unlike pixels as they are."""
    colours = sorted(set(picture.pixels()))
    assert len(colours) <= 256, "more colours than an 8-bit picture holds"
    index = {colour: i for i, colour in enumerate(colours)}
    codes = bytearray()
    for row in reversed(picture.rows):
        line = [index[pixel] for pixel in row]
        at = 0
        while at < len(line):
            run = 1
            while at + run < len(line) and run < 255 and line[at + run] == line[at]:
                run += 1
            if run >= 2:
                codes += bytes((run, line[at]))
                at += run
                continue
            end = at + 1  # a stretch ends where a run of two begins
            while end < len(line) and end - at < 255 and not (end + 1 < len(line) and line[end] == line[end + 1]):
                end += 1
            stretch = line[at:end]
            if len(stretch) < 3:
                for value in stretch:
                    codes += bytes((1, value))
            else:
                codes += bytes((0, len(stretch))) + bytes(stretch) + bytes(len(stretch) % 2)
            at = end
        codes += bytes((0, 0))
    codes += bytes((0, 1))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    header_size = 14 + 40 + len(table)
    pixels_per_metre = 3780  # 96 dpi
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(codes), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, picture.width, picture.height, 1, 8, 1,
                              len(codes), pixels_per_metre, pixels_per_metre, len(colours), 0)
    return file_header + info_header + table + bytes(codes)


def ico24_bytes(picture):
    """One-image icon: 24-bit colour rows plus a 1-bit AND mask (1 = transparent)."""
    width, height = picture.width, picture.height
    colour_stride = (width * 3 + 3) // 4 * 4
    mask_stride = ((width + 31) // 32) * 4
    colour_rows = bytearray()
    mask_rows = bytearray()
    for row in reversed(picture.rows):
        line = bytearray()
        mask_bits = 0
        for x, pixel in enumerate(row):
            r, g, b = (0, 0, 0) if pixel is None else pixel
            line += bytes((b, g, r))
            if pixel is None:
                mask_bits |= 1 << (mask_stride * 8 - 1 - x)
        colour_rows += line + bytes(colour_stride - len(line))
        mask_rows += mask_bits.to_bytes(mask_stride, "big")
    image_size = 40 + len(colour_rows) + len(mask_rows)
    # In an icon the height counts colour rows and mask rows together.
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 24, 0,
                              len(colour_rows) + len(mask_rows), 0, 0, 0, 0)
    icon_dir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 24, image_size, 6 + 16)
    return icon_dir + entry + info_header + bytes(colour_rows) + bytes(mask_rows)


# --- the mouse, drawn on a 48 x 48 canvas -----------------------------------

MOUSE_CENTRE = (24.0, 29.0)
MOUSE_HALF_WIDTH = 12.5
MOUSE_HALF_HEIGHT = 17.5
MOUSE_ROUNDNESS = 2.6          # superellipse exponent: between an ellipse and a rounded box
MOUSE_OUTLINE = 1.6
BUTTON_LINE_Y = 24.5
BODY_OUTLINE = (48, 52, 62)
BODY_LIGHT = (250, 250, 252)
BODY_SHADE = (158, 165, 178)
WHEEL = (72, 76, 88)
WHEEL_SHINE = (150, 156, 170)
CORD = (62, 66, 78)


def inside_mouse_body(x, y):
    dx = (x - MOUSE_CENTRE[0]) / MOUSE_HALF_WIDTH
    dy = (y - MOUSE_CENTRE[1]) / MOUSE_HALF_HEIGHT
    return abs(dx) ** MOUSE_ROUNDNESS + abs(dy) ** MOUSE_ROUNDNESS <= 1.0


def on_body_outline(x, y):
    steps = [(math.cos(a * math.pi / 4), math.sin(a * math.pi / 4)) for a in range(8)]
    return any(not inside_mouse_body(x + MOUSE_OUTLINE * cx, y + MOUSE_OUTLINE * cy)
               for cx, cy in steps)


def cord_distance(x, y):
    """Distance to the cord, a wave from the body's top edge to the canvas top."""
    top_of_body = MOUSE_CENTRE[1] - MOUSE_HALF_HEIGHT
    best = float("inf")
    steps = 40
    for i in range(steps + 1):
        t = i / steps
        cy = top_of_body + 0.5 - t * (top_of_body - 0.5)
        cx = MOUSE_CENTRE[0] + 4.5 * math.sin(t * math.pi * 1.5)
        best = min(best, math.hypot(x - cx, y - cy))
    return best


def mouse_body_colour(x, y):
    if on_body_outline(x, y):
        return BODY_OUTLINE
    if abs(y - BUTTON_LINE_Y) < 0.6 or (y < BUTTON_LINE_Y and abs(x - MOUSE_CENTRE[0]) < 0.6):
        return BODY_OUTLINE
    if 21.5 <= x <= 26.5 and 14.0 <= y <= 21.5:
        return WHEEL_SHINE if 23.2 <= x <= 24.2 and 15.0 <= y <= 18.0 else WHEEL
    # Light from the top-left gives the body some depth.
    dx = (x - MOUSE_CENTRE[0]) / MOUSE_HALF_WIDTH
    dy = (y - MOUSE_CENTRE[1]) / MOUSE_HALF_HEIGHT
    shade = min(max((dx + dy + 1.2) / 2.6, 0.0), 1.0)
    colour = mix(BODY_LIGHT, BODY_SHADE, shade)
    if y < BUTTON_LINE_Y:
        colour = mix(colour, WHITE, 0.25)
    return colour


def mouse_colour_at(x, y):
    """Colour of the drawing at canvas point (x, y), or None where it is transparent."""
    if inside_mouse_body(x, y):
        return mouse_body_colour(x, y)
    if cord_distance(x, y) <= 1.2:
        return CORD
    return None


def sample_mouse(left, top, size, grid):
    """Average colour and coverage of a size x size canvas square, sampled grid x grid."""
    hits = []
    for j in range(grid):
        for i in range(grid):
            colour = mouse_colour_at(left + (i + 0.5) * size / grid, top + (j + 0.5) * size / grid)
            if colour is not None:
                hits.append(colour)
    if not hits:
        return None, 0.0
    average = tuple(int(round(sum(c[k] for c in hits) / len(hits))) for k in range(3))
    return average, len(hits) / (grid * grid)


def draw_mouse_icon():
    icon = Picture(48, 48)
    for y in range(48):
        for x in range(48):
            colour, coverage = sample_mouse(x, y, 1.0, 3)
            # The mask is one bit deep: a pixel is either drawn or a hole.
            if coverage >= 0.5:
                icon.put(x, y, colour)
    return icon


def draw_small_mouse(picture, left, top, size):
    scale = 48.0 / size
    for y in range(size):
        for x in range(size):
            colour, coverage = sample_mouse(x * scale, y * scale, scale, 6)
            if colour is not None:
                blend_over(picture, left + x, top + y, colour, coverage)


# --- a tiny pixel font, 5 x 7 -------------------------------------------------

GLYPHS = {
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "k": ["#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."],
}


def draw_text(picture, left, top, text, colour, scale):
    for index, letter in enumerate(text):
        glyph = GLYPHS[letter]
        glyph_left = left + index * 6 * scale
        for row, line in enumerate(glyph):
            for column, mark in enumerate(line):
                if mark == "#":
                    picture.fill_rect(glyph_left + column * scale, top + row * scale,
                                      glyph_left + (column + 1) * scale, top + (row + 1) * scale,
                                      colour)


# --- the pictures -------------------------------------------------------------

def draw_panel(picture, left, top, right, bottom):
    picture.fill_rect(left, top, right, bottom, PANEL_EDGE)
    picture.fill_rect(left + 1, top + 1, right - 1, bottom - 1, PANEL_GREY)
    for x, y in ((left, top), (right - 1, top), (left, bottom - 1), (right - 1, bottom - 1)):
        picture.put(x, y, mix(PANEL_EDGE, SKIN_BLUE, 0.6))


def draw_skin():
    skin = Picture(300, 263, SKIN_BLUE)
    draw_small_mouse(skin, 10, 9, 18)
    draw_text(skin, 35, 12, "Huevik", TITLE_SHADOW, 2)
    draw_text(skin, 34, 11, "Huevik", TITLE_TEXT, 2)
    draw_panel(skin, 8, 36, 292, 248)
    return skin


def full_hue(degrees):
    """The fully saturated colour of a hue: 0 red, 60 yellow, ... 300 magenta, 360 red."""
    sector, fraction = divmod((degrees % 360.0) / 60.0, 1.0)
    rising, falling = 255 * fraction, 255 * (1 - fraction)
    r, g, b = [(255, rising, 0), (falling, 255, 0), (0, 255, rising),
               (0, falling, 255), (rising, 0, 255), (255, 0, falling)][int(sector)]
    return (int(round(r)), int(round(g)), int(round(b)))


def draw_palette():
    width, height = 267, 70
    full_row = height // 2
    palette = Picture(width, height)
    for x in range(width):
        hue = full_hue(360.0 * x / (width - 1))
        for y in range(height):
            if y <= full_row:
                colour = mix(WHITE, hue, y / full_row)
            else:
                colour = mix(hue, (0, 0, 0), (y - full_row) / (height - 1 - full_row))
            palette.put(x, y, colour)
    return palette


def draw_minimise_tile(fill):
    tile = Picture(26, 18, fill)
    tile.fill_rect(8, 11, 18, 13, DARK_BAR)
    return tile


def draw_close_tile(fill):
    tile = Picture(44, 18, fill)
    centre_x, centre_y, reach, half_thickness = 22.0, 9.0, 4.5, 0.9
    for y in range(18):
        for x in range(44):
            hits = 0
            for j in range(4):
                for i in range(4):
                    dx = x + (i + 0.5) / 4 - centre_x
                    dy = y + (j + 0.5) / 4 - centre_y
                    on_a_stroke = min(abs(dx - dy), abs(dx + dy)) / math.sqrt(2) <= half_thickness
                    if on_a_stroke and abs(dx) <= reach and abs(dy) <= reach:
                        hits += 1
            blend_over(tile, x, y, WHITE, hits / 16)
    return tile


def all_pictures():
    return {
        "skin.bmp": draw_skin(),
        "palette.bmp": draw_palette(),
        "min_normal.bmp": draw_minimise_tile(SKIN_BLUE),
        "min_hover.bmp": draw_minimise_tile((158, 204, 252)),
        "min_pressed.bmp": draw_minimise_tile((70, 134, 214)),
        "close_normal.bmp": draw_close_tile((212, 48, 42)),
        "close_hover.bmp": draw_close_tile((240, 92, 80)),
        "mouse.ico": draw_mouse_icon(),
    }


# The program draws the palette chart itself (src/mainwindow/palette_picture.cpp), so only the
# tests' reference copy of it is written.
DRAWN_BY_THE_PROGRAM = {"palette.bmp"}


def main():
    PICTURES.mkdir(exist_ok=True)
    REFERENCES.mkdir(exist_ok=True)
    for name, picture in all_pictures().items():
        # Any pure-blue pixel would show as a hole in the colour-keyed window.
        assert KEY_BLUE not in picture.pixels(), f"{name} contains the transparency key colour"
        if name.endswith(".ico"):
            stored = ico24_bytes(picture)
        else:
            # The tests compare what the program shows with these uncompressed pixels.
            (REFERENCES / name).write_bytes(bmp32_bytes(picture))
            stored = None if name in DRAWN_BY_THE_PROGRAM else rle8_bytes(picture)
        if stored is not None:
            (PICTURES / name).write_bytes(stored)
            print(f"{name}: {picture.width} x {picture.height}, {len(stored)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
