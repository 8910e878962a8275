#!/usr/bin/env python3
"""Generates Morvane's skin: 24-bit device-independent bitmaps at the exact
sizes the layout needs, and the program icon.

Every bitmap carries its own resource number in its bottom-right pixel, as
the colour (0x21, id & 0xFF, 0xC3) with the high byte of the id added to the
red part, so that tests can tell from one pixel which face is on screen.

Usage: skingen.py OUTPUT_DIR
"""
import os
import struct
import sys

SIGNATURE_RED = 0x21
SIGNATURE_BLUE = 0xC3


class Canvas:
    """A width x height picture of (r, g, b) tuples, top row first."""

    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the rectangle [x0, x1) x [y0, y1)."""
        for y in range(max(0, y0), min(self.height, y1)):
            row = self.pixels[y]
            for x in range(max(0, x0), min(self.width, x1)):
                row[x] = colour

    def vertical_gradient(self, x0, y0, x1, y1, top, bottom):
        span = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            t = (y - y0) / span
            self.fill(x0, y, x1, y + 1, mix(top, bottom, t))

    def frame(self, x0, y0, x1, y1, light, dark):
        """A one-pixel bevel: light top and left, dark bottom and right."""
        self.fill(x0, y0, x1, y0 + 1, light)
        self.fill(x0, y0, x0 + 1, y1, light)
        self.fill(x0, y1 - 1, x1, y1, dark)
        self.fill(x1 - 1, y0, x1, y1, dark)

    def rounded_panel(self, x0, y0, x1, y1, radius, top, bottom, outline, outside=None):
        """A vertically shaded panel with rounded corners and an outline."""
        for y in range(y0, y1):
            colour = mix(top, bottom, (y - y0) / max(1, y1 - y0 - 1))
            for x in range(x0, x1):
                d = corner_distance(x - x0, y - y0, x1 - x0, y1 - y0, radius)
                if d > radius + 0.5:
                    if outside is not None:
                        self.put(x, y, outside)
                elif d > radius - 0.8 or x in (x0, x1 - 1) or y in (y0, y1 - 1):
                    self.put(x, y, outline)
                else:
                    self.put(x, y, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    self.put(x, y, colour)

    def ring(self, cx, cy, radius, width, colour):
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if radius - width <= d <= radius:
                    self.put(x, y, colour)

    def polygon(self, points, colour):
        """Fills a convex polygon given clockwise or anticlockwise."""
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            xs = []
            n = len(points)
            for i in range(n):
                (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
                if ay == by:
                    continue
                if min(ay, by) <= y + 0.5 < max(ay, by):
                    xs.append(ax + (y + 0.5 - ay) * (bx - ax) / (by - ay))
            if len(xs) >= 2:
                self.fill(int(round(min(xs))), y, int(round(max(xs))), y + 1, colour)

    def text(self, x, y, string, colour, scale=1):
        """Draws upper-case text in the built-in 5 x 7 pixel font."""
        for ch in string:
            glyph = FONT.get(ch.upper())
            if glyph:
                for gy, row in enumerate(glyph):
                    for gx, bit in enumerate(row):
                        if bit == "#":
                            self.fill(x + gx * scale, y + gy * scale,
                                      x + (gx + 1) * scale, y + (gy + 1) * scale, colour)
            x += 6 * scale
        return x

    def sign(self, resource_id):
        self.put(self.width - 1, self.height - 1,
                 (SIGNATURE_RED + (resource_id >> 8), resource_id & 0xFF, SIGNATURE_BLUE))


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def corner_distance(x, y, w, h, r):
    """Distance from the nearest corner circle's centre, or 0 off the corners."""
    cx = r if x < r else (w - 1 - r if x > w - 1 - r else None)
    cy = r if y < r else (h - 1 - r if y > h - 1 - r else None)
    if cx is None or cy is None:
        return 0
    return ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5


FONT_ROWS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    " ": ["....."] * 7,
}
FONT = FONT_ROWS

# The house colours.
BODY_TOP = (46, 52, 64)
BODY_BOTTOM = (30, 34, 42)
STRIP_TOP = (67, 76, 94)
STRIP_BOTTOM = (40, 46, 58)
ACCENT = (63, 181, 163)
ACCENT_DARK = (34, 120, 108)
PANEL = (233, 237, 242)
PANEL_EDGE = (150, 160, 172)
INK_LIGHT = (236, 239, 244)


def write_bmp(path, canvas):
    """Writes a bottom-up 24-bit BITMAPINFOHEADER bitmap."""
    row_size = (canvas.width * 3 + 3) & ~3
    image_size = row_size * canvas.height
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + image_size, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0,
                       image_size, 2835, 2835, 0, 0)
    rows = []
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray()
        for r, g, b in canvas.pixels[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    with open(path, "wb") as f:
        f.write(header + info + b"".join(rows))


def write_icon(path, canvas):
    """Writes a one-image .ico: 32-bit colour with an all-opaque mask."""
    size = canvas.width
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for r, g, b in canvas.pixels[y]:
            xor += bytes((b, g, r, 255))
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                       0, 0, 0, 0)
    image = info + bytes(xor) + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def draw_logo(c, x, y, size):
    """The lens mark: a teal ring around a dark pupil with a highlight."""
    cx, cy = x + size / 2 - 0.5, y + size / 2 - 0.5
    c.disc(cx, cy, size / 2 - 0.5, ACCENT_DARK)
    c.disc(cx, cy, size / 2 - 3, ACCENT)
    c.disc(cx, cy, size / 2 - 7, (20, 24, 30))
    c.disc(cx - size / 8, cy - size / 8, max(1.5, size / 10), INK_LIGHT)


def background():
    """Bitmap 121: the main window, 349 x 560."""
    c = Canvas(349, 560)
    c.vertical_gradient(0, 0, 349, 560, BODY_TOP, BODY_BOTTOM)
    # Title strip: the window is dragged by its top 35 pixels.
    c.vertical_gradient(0, 0, 349, 35, STRIP_TOP, STRIP_BOTTOM)
    c.fill(0, 34, 349, 35, ACCENT_DARK)
    draw_logo(c, 1, 1, 29)
    c.text(40, 11, "MORVANE", INK_LIGHT, 2)
    # Heading band, drawn over by the page heading in black.
    c.rounded_panel(6, 40, 343, 70, 6, (245, 247, 250), (222, 227, 234), PANEL_EDGE)
    # Video inset around the preview at (14, 82, 320 x 240).
    c.fill(11, 79, 337, 325, (12, 14, 18))
    c.frame(11, 79, 337, 325, (10, 12, 16), (96, 106, 122))
    c.fill(14, 82, 334, 322, (0, 0, 0))
    # Deck bar behind the transport buttons and the volume slider (y 325).
    c.rounded_panel(8, 322, 341, 358, 7, (58, 66, 82), (36, 41, 51), (22, 25, 31))
    # Page panel: captions, controls and body text (y 360 to 492).
    c.rounded_panel(8, 360, 341, 494, 8, PANEL, (214, 220, 228), PANEL_EDGE)
    # Footer behind Prev, Next and Cancel (y 516).
    c.fill(8, 506, 341, 507, (70, 78, 94))
    return c


def icon():
    c = Canvas(32, 32, BODY_TOP)
    c.rounded_panel(0, 0, 32, 32, 6, STRIP_TOP, BODY_BOTTOM, (20, 24, 30))
    draw_logo(c, 2, 2, 28)
    return c


def skin():
    """Every bitmap of the program by resource number."""
    return {121: background()}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    listing = ["// Written by skingen.py: the skin bitmaps by resource number."]
    for resource_id, canvas in sorted(skin().items()):
        name = "bmp%d.bmp" % resource_id
        canvas.sign(resource_id)
        write_bmp(os.path.join(out, name), canvas)
        listing.append('%d BITMAP "%s"' % (resource_id, name))
    write_icon(os.path.join(out, "icon102.ico"), icon())
    with open(os.path.join(out, "skin.rc"), "w") as f:
        f.write("\n".join(listing) + "\n")


if __name__ == "__main__":
    main()
