#!/usr/bin/env python3
"""Generates Morvane's skin: 24-bit device-independent bitmaps at the exact
sizes the layout needs, and the program icon.

For the tests it also writes skin_faces.inc: per bitmap its size, a part of
it that nothing is ever drawn over on screen (labels lie across the middle of
a face, thumbs over the top of a track, controls over a background, the
minimise button over the close button's left edge) and a checksum of that
part, so that a test tells from the screen which face is shown.

Usage: skingen.py OUTPUT_DIR
"""
import os
import struct
import sys


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


# Where each skinned control sits on the main window's background, so that
# the rounded corners of its faces blend into what lies behind them.
PLACES = {
    "minimize": (290, 5), "close": (316, 5), "stop": (14, 325), "play": (47, 325),
    "pause": (80, 325), "rewind": (126, 325), "forward": (159, 325), "mute": (205, 325),
    "volume": (246, 325), "slider": (22, 383), "reset": (216, 383), "nav": (72, 516),
}
ABOUT_OK_PLACE = (290, 176)

GLYPH = (214, 220, 230)
GLYPH_HOVER = (120, 226, 208)
GLYPH_DISABLED = (92, 100, 114)
DARK_FACE_TOP = (96, 106, 124)
DARK_FACE_BOTTOM = (58, 66, 82)
DARK_EDGE = (20, 23, 29)
LIGHT_FACE_TOP = (252, 253, 255)
LIGHT_FACE_BOTTOM = (214, 220, 229)
ACTIVE_TOP = (52, 142, 128)
ACTIVE_BOTTOM = (28, 98, 88)
PRESSED_TOP = (22, 84, 76)
PRESSED_BOTTOM = (36, 116, 104)
DISABLED_TOP = (206, 210, 216)
DISABLED_BOTTOM = (190, 195, 202)
CLOSE_HOT_TOP = (214, 86, 78)
CLOSE_HOT_BOTTOM = (168, 48, 44)


def crop(source, x, y, width, height):
    c = Canvas(width, height)
    for row in range(height):
        c.pixels[row] = list(source.pixels[y + row][x:x + width])
    return c


# --- glyphs, drawn centred in a w x h face ---------------------------------

def glyph_play(c, colour):
    cx, cy = c.width / 2, c.height / 2
    c.polygon([(cx - 4, cy - 7), (cx + 6, cy), (cx - 4, cy + 7)], colour)


def glyph_pause(c, colour):
    cx, cy = c.width // 2, c.height // 2
    c.fill(cx - 5, cy - 6, cx - 1, cy + 7, colour)
    c.fill(cx + 2, cy - 6, cx + 6, cy + 7, colour)


def glyph_stop(c, colour):
    cx, cy = c.width // 2, c.height // 2
    c.fill(cx - 6, cy - 6, cx + 7, cy + 7, colour)


def glyph_forward(c, colour):
    cx, cy = c.width / 2, c.height / 2
    c.polygon([(cx - 8, cy - 6), (cx, cy), (cx - 8, cy + 6)], colour)
    c.polygon([(cx - 1, cy - 6), (cx + 7, cy), (cx - 1, cy + 6)], colour)


def glyph_rewind(c, colour):
    cx, cy = c.width / 2, c.height / 2
    c.polygon([(cx + 7, cy - 6), (cx - 1, cy), (cx + 7, cy + 6)], colour)
    c.polygon([(cx, cy - 6), (cx - 8, cy), (cx, cy + 6)], colour)


def glyph_minimize(c, colour):
    cx, cy = c.width // 2, c.height // 2
    c.fill(cx - 6, cy + 3, cx + 6, cy + 6, colour)


def glyph_close(c, colour):
    cx, cy = c.width // 2 - 1, c.height // 2 - 1
    for i in range(-5, 6):
        for t in (0, 1):
            c.put(cx + i + t, cy + i, colour)
            c.put(cx + i + t, cy - i, colour)


def speaker(c, colour, muted):
    """A speaker cone with sound waves, or with a red cross when muted."""
    cx, cy = c.width // 2 - 2, c.height // 2
    c.fill(cx - 6, cy - 3, cx - 2, cy + 4, colour)
    c.polygon([(cx - 3, cy - 3), (cx + 3, cy - 8), (cx + 3, cy + 9), (cx - 3, cy + 4)], colour)
    if muted:
        red = (232, 96, 88)
        for i in range(-3, 4):
            for t in (0, 1):
                c.put(cx + 8 + i + t, cy + i, red)
                c.put(cx + 8 + i + t, cy - i, red)
    else:
        for radius in (5, 9):
            for y in range(cy - 9, cy + 10):
                for x in range(cx + 5, cx + 13):
                    d = ((x - cx - 1) ** 2 + (y - cy) ** 2) ** 0.5
                    if radius - 1.5 <= d <= radius and abs(y - cy) < radius * 0.75:
                        c.put(x, y, colour)


# --- faces -----------------------------------------------------------------

def deck_face(base, draw_glyph, state):
    """A 29 x 29 deck button on the dark deck bar."""
    c = crop(base, 0, 0, base.width, base.height)
    w, h = c.width, c.height
    if state == "normal":
        c.rounded_panel(0, 0, w, h, 6, DARK_FACE_TOP, DARK_FACE_BOTTOM, DARK_EDGE)
        c.fill(3, 1, w - 3, 2, (128, 138, 156))
        draw_glyph(c, GLYPH)
    elif state == "hover":
        c.rounded_panel(0, 0, w, h, 6, (112, 124, 144), (70, 79, 97), DARK_EDGE)
        c.fill(3, 1, w - 3, 2, (150, 160, 178))
        draw_glyph(c, GLYPH_HOVER)
    elif state == "pressed":
        c.rounded_panel(0, 0, w, h, 6, PRESSED_TOP, PRESSED_BOTTOM, DARK_EDGE)
        c.fill(3, h - 2, w - 3, h - 1, (70, 160, 146))
        draw_glyph(c, (255, 255, 255))
    else:
        c.rounded_panel(0, 0, w, h, 6, (62, 68, 80), (52, 58, 69), (40, 45, 54))
        draw_glyph(c, GLYPH_DISABLED)
    return c


def labelled_face(base, state):
    """Navigation, reset and OK buttons: light at rest, dark when active."""
    c = crop(base, 0, 0, base.width, base.height)
    w, h = c.width, c.height
    if state == "normal":
        c.rounded_panel(0, 0, w, h, 7, LIGHT_FACE_TOP, LIGHT_FACE_BOTTOM, PANEL_EDGE)
        c.fill(4, h - 3, w - 4, h - 2, (198, 205, 216))
    elif state == "hover":
        c.rounded_panel(0, 0, w, h, 7, ACTIVE_TOP, ACTIVE_BOTTOM, (18, 70, 63))
        c.fill(4, 1, w - 4, 2, (94, 186, 172))
    elif state == "pressed":
        c.rounded_panel(0, 0, w, h, 7, PRESSED_TOP, PRESSED_BOTTOM, (12, 52, 47))
    else:
        c.rounded_panel(0, 0, w, h, 7, DISABLED_TOP, DISABLED_BOTTOM, (176, 181, 189))
    return c


def title_face(draw_glyph, state, hot_top, hot_bottom):
    """Minimise and close, 28 x 26: whole tiles, used on both windows' strips."""
    c = Canvas(28, 26)
    if state == "normal":
        c.vertical_gradient(0, 0, 28, 26, (84, 94, 114), (56, 64, 80))
        c.frame(0, 0, 28, 26, (110, 120, 140), (32, 36, 46))
        draw_glyph(c, GLYPH)
    elif state == "hover":
        c.vertical_gradient(0, 0, 28, 26, hot_top, hot_bottom)
        c.frame(0, 0, 28, 26, mix(hot_top, (255, 255, 255), 0.3), mix(hot_bottom, (0, 0, 0), 0.4))
        draw_glyph(c, (255, 255, 255))
    elif state == "pressed":
        c.vertical_gradient(0, 0, 28, 26, hot_bottom, hot_top)
        c.frame(0, 0, 28, 26, mix(hot_bottom, (0, 0, 0), 0.4), mix(hot_top, (255, 255, 255), 0.3))
        draw_glyph(c, (235, 235, 235))
    else:
        c.vertical_gradient(0, 0, 28, 26, (70, 76, 88), (60, 66, 77))
        c.frame(0, 0, 28, 26, (78, 84, 96), (48, 53, 62))
        draw_glyph(c, GLYPH_DISABLED)
    return c


def slider_track(base, groove_y):
    """A track: a sunken groove with tick marks, over the panel behind it."""
    c = crop(base, 0, 0, base.width, base.height)
    w = c.width
    dark = base.pixels[groove_y][w // 2][0] < 128
    groove, edge_light, edge_dark = (((22, 25, 31), (86, 96, 114), (12, 14, 18)) if dark
                                     else ((150, 160, 172), (255, 255, 255), (110, 120, 134)))
    tick = (120, 130, 148) if dark else (160, 168, 180)
    c.rounded_panel(4, groove_y - 2, w - 4, groove_y + 3, 2, groove, groove, edge_dark)
    c.fill(5, groove_y + 3, w - 5, groove_y + 4, edge_light)
    for i in range(11):
        x = 10 + (w - 21) * i // 10
        c.fill(x, groove_y + 7, x + 1, groove_y + (10 if i % 5 == 0 else 8), tick)
    return c


def thumb(height, top, bottom, edge, grip):
    c = Canvas(11, height)
    c.rounded_panel(0, 0, 11, height, 3, top, bottom, edge, outside=mix(top, bottom, 0.5))
    for y in range(height // 2 - 3, height // 2 + 4, 3):
        c.fill(3, y, 8, y + 1, grip)
    return c


def about_background():
    """Bitmap 164: the about box, 395 x 234; its title is drawn in dark grey."""
    c = Canvas(395, 234)
    c.vertical_gradient(0, 0, 395, 234, PANEL, (210, 216, 226))
    c.vertical_gradient(0, 0, 395, 35, (250, 251, 253), (224, 229, 236))
    c.fill(0, 34, 395, 35, ACCENT)
    draw_logo(c, 24, 176, 32)
    c.rounded_panel(20, 62, 375, 166, 8, (255, 255, 255), (242, 245, 249), PANEL_EDGE)
    c.fill(30, 94, 320, 95, (214, 220, 228))
    c.frame(0, 0, 395, 234, (255, 255, 255), (120, 130, 144))
    return c


# A label is centred on its face: the rows below it stay as drawn here.
ROWS_BELOW_LABEL = 5
# The about box's close button carries the label "X" over its glyph, and the
# main window's minimise button covers its two left columns: the glyph's
# left ends tell it from the minimise button.
CLOSE_CLEAR_COLUMNS = (2, 10)


def skin():
    """Every bitmap of the program by resource number, and for those that
    something is drawn over, the part (x0, y0, x1, y1) that stays clear."""
    main = background()
    about = about_background()

    def base(name, width, height, source=main, place=None):
        x, y = place or PLACES[name]
        return crop(source, x, y, width, height)

    bitmaps = {121: main, 164: about}
    clear = {}

    def clear_rows(resource_id, rows):
        canvas = bitmaps[resource_id]
        clear[resource_id] = (0, canvas.height - rows, canvas.width, canvas.height)

    clear_rows(121, 3)  # the bottom edge of either window
    clear_rows(164, 3)
    deck = {
        "stop": ((116, 133, 111, 148), glyph_stop),
        "play": ((114, 131, 119, 141), glyph_play),
        "pause": ((113, 130, 118, 140), glyph_pause),
        "rewind": ((115, 132, 120, 142), glyph_rewind),
        "forward": ((112, 129, 117, 139), glyph_forward),
    }
    states = ("normal", "hover", "pressed", "disabled")
    for name, (ids, glyph) in deck.items():
        for resource_id, state in zip(ids, states):
            bitmaps[resource_id] = deck_face(base(name, 29, 29), glyph, state)
    mute_ids = (146, 145, 147, 144)
    for resource_id, state in zip(mute_ids, states):
        muted = state == "pressed"  # the pressed face is also the muted look
        bitmaps[resource_id] = deck_face(base("mute", 29, 29),
                                         lambda c, colour, m=muted: speaker(c, colour, m), state)
    for ids, name, size in (((122, 123, 128, None), "nav", (84, 29)),
                            ((151, 150, 152, 161), "reset", (116, 29))):
        for resource_id, state in zip(ids, states):
            if resource_id:
                bitmaps[resource_id] = labelled_face(base(name, *size), state)
                clear_rows(resource_id, ROWS_BELOW_LABEL)
    for resource_id, state in zip((168, 167, 166), states):
        bitmaps[resource_id] = labelled_face(base("ok", 84, 29, about, ABOUT_OK_PLACE), state)
        clear_rows(resource_id, ROWS_BELOW_LABEL)
    for ids, glyph, hot in (((159, 158, 160, 157), glyph_minimize, (ACTIVE_TOP, ACTIVE_BOTTOM)),
                            ((155, 154, 156, 153), glyph_close, (CLOSE_HOT_TOP, CLOSE_HOT_BOTTOM))):
        for resource_id, state in zip(ids, states):
            bitmaps[resource_id] = title_face(glyph, state, *hot)
            if glyph == glyph_close:
                clear[resource_id] = (CLOSE_CLEAR_COLUMNS[0], 0, CLOSE_CLEAR_COLUMNS[1], 26)
    bitmaps[124] = slider_track(base("volume", 84, 26), 11)
    bitmaps[126] = slider_track(base("slider", 187, 29), 12)
    bitmaps[149] = thumb(23, (236, 240, 245), (176, 186, 200), (30, 34, 42), (120, 130, 146))
    bitmaps[125] = thumb(25, (92, 196, 180), (36, 130, 117), (16, 60, 54), (20, 90, 80))
    bitmaps[163] = thumb(25, (206, 210, 216), (170, 176, 184), (130, 136, 146), (150, 156, 166))
    # A thumb covers its track from the top.
    clear_rows(124, bitmaps[124].height - bitmaps[149].height)
    clear_rows(126, bitmaps[126].height - bitmaps[125].height)
    return bitmaps, clear


def part(canvas, x0, y0, x1, y1):
    return [row[x0:x1] for row in canvas.pixels[y0:y1]]


def checksum(pixels):
    """32-bit FNV-1a over pixels 0x00RRGGBB, row by row."""
    value = 0x811C9DC5
    for row in pixels:
        for r, g, b in row:
            value = ((value ^ ((r << 16) | (g << 8) | b)) * 0x01000193) & 0xFFFFFFFF
    return value


def write_face_table(path, bitmaps, clear):
    """What each face looks like, for the tests: a face is recognised by the
    checksum of its clear part, which must tell it from every other bitmap of
    its size."""
    rows = []
    for resource_id, canvas in sorted(bitmaps.items()):
        box = clear.get(resource_id, (0, 0, canvas.width, canvas.height))
        for other_id, other in bitmaps.items():
            if (other_id != resource_id and (other.width, other.height) == (canvas.width, canvas.height)
                    and part(other, *box) == part(canvas, *box)):
                sys.exit("skingen: bitmaps %d and %d look alike" % (resource_id, other_id))
        rows.append("    {%d, %d, %d, {%d, %d, %d, %d}, 0x%08Xu}," % (
            (resource_id, canvas.width, canvas.height) + box + (checksum(part(canvas, *box)),)))
    with open(path, "w") as f:
        f.write("// Written by skingen.py: how each skin bitmap looks, for the tests.\n"
                "// {resource number, width, height, {clear part}, its checksum}\n"
                + "\n".join(rows) + "\n")


PALETTE_SIZE = 236  # a 256-colour screen less the 20 colours Windows reserves


def skin_palette(bitmaps):
    """The colours that stand in for the skin on a 256-colour screen: the
    skin's own colours, split by median cut into PALETTE_SIZE boxes, each
    box given the mean of its pixels."""
    counts = {}
    for canvas in bitmaps.values():
        for row in canvas.pixels:
            for colour in row:
                counts[colour] = counts.get(colour, 0) + 1
    boxes = [list(counts.items())]
    while len(boxes) < PALETTE_SIZE:
        # The box whose pixels lie furthest from their mean is split next.
        splittable = [box for box in boxes if len(box) > 1]
        if not splittable:
            break
        worst = max(splittable, key=box_error)
        boxes.remove(worst)
        boxes.extend(split_box(worst))
    return sorted(box_mean(box) for box in boxes)


def box_mean(box):
    total = sum(count for _, count in box)
    return tuple(round(sum(colour[i] * count for colour, count in box) / total)
                 for i in range(3))


def box_error(box):
    mean = box_mean(box)
    return sum(count * sum((colour[i] - mean[i]) ** 2 for i in range(3)) for colour, count in box)


def split_box(box):
    """Cuts a box across its widest channel where half its pixels lie."""
    channel = max(range(3), key=lambda i: max(c[i] for c, _ in box) - min(c[i] for c, _ in box))
    box = sorted(box, key=lambda entry: entry[0][channel])
    half = sum(count for _, count in box) / 2
    seen = 0
    for cut, (_, count) in enumerate(box):
        seen += count
        if seen >= half:
            break
    cut = min(cut + 1, len(box) - 1)  # both halves keep a colour
    return box[:cut], box[cut:]


def write_palette(path, palette):
    with open(path, "w") as f:
        f.write("// Written by skingen.py: the skin's colours for a 256-colour screen.\n"
                + "".join("    {%d, %d, %d, 0},\n" % colour for colour in palette))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    listing = ["// Written by skingen.py: the skin bitmaps by resource number."]
    bitmaps, clear = skin()
    for resource_id, canvas in sorted(bitmaps.items()):
        name = "bmp%d.bmp" % resource_id
        write_bmp(os.path.join(out, name), canvas)
        listing.append('%d BITMAP "%s"' % (resource_id, name))
    write_icon(os.path.join(out, "icon102.ico"), icon())
    write_face_table(os.path.join(out, "skin_faces.inc"), bitmaps, clear)
    write_palette(os.path.join(out, "skin_palette.inc"), skin_palette(bitmaps))
    with open(os.path.join(out, "skin.rc"), "w") as f:
        f.write("\n".join(listing) + "\n")


if __name__ == "__main__":
    main()
