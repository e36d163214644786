#!/usr/bin/env python3
"""Draws the program's three pictures as 24-bit BMP files beside this script.

skin.bmp   the main window's default skin, painted inside the window's stored
           shape (../shape/main-window.region) on a pure white surround
flag.bmp   the flag of Brazil shown on the main window
splash.bmp the logo of the start-up window; its bottom-left pixel is the
           transparency key
gol0.bmp, gol1.bmp, gol2.bmp, par2.bmp
           the goalkeeper of the credits game (keepers.py)

Only the Python standard library is used, and only IEEE-exact arithmetic
(+, -, *, /, sqrt) feeds the pictures, so every run writes the same bytes.
The pictures are checked in: the build embeds them and does not run this
script.
"""

import math
import struct
import sys
from pathlib import Path

import keepers

HERE = Path(__file__).resolve().parent
REGION_FILE = HERE.parent / "shape" / "main-window.region"

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# The stored shape as the window design knows it; a transcription slip here
# would give a window whose picture and shape disagree.
REGION_RECTANGLES = 118
REGION_BANDS = 64
REGION_BOUNDS = (10, 8, 325, 364)

# The lettering of the logo: a bold pixel font with two-pixel strokes, drawn
# at 1:1 on the skin's plate and scaled up on the splash picture. Only the
# letters of the product's name are needed.
FONT = {
    "K": ["##...##", "##...##", "##..##.", "##.##..", "####...", "###....",
          "####...", "##.##..", "##..##.", "##...##", "##...##"],
    "E": ["#######", "#######", "##.....", "##.....", "######.", "######.",
          "##.....", "##.....", "##.....", "#######", "#######"],
    "S": [".#####.", "#######", "##...##", "##.....", "######.", ".######",
          ".....##", ".....##", "##...##", "#######", ".#####."],
    "T": ["########", "########", "...##...", "...##...", "...##...", "...##...",
          "...##...", "...##...", "...##...", "...##...", "...##..."],
    "O": [".#####.", "#######", "##...##", "##...##", "##...##", "##...##",
          "##...##", "##...##", "##...##", "#######", ".#####."],
    "N": ["###...##", "###...##", "####..##", "####..##", "##.##.##", "##.##.##",
          "##.##.##", "##..####", "##..####", "##...###", "##...###"],
    "P": ["######.", "#######", "##...##", "##...##", "##...##", "#######",
          "######.", "##.....", "##.....", "##.....", "##....."],
    "R": ["######.", "#######", "##...##", "##...##", "##...##", "#######",
          "######.", "##.##..", "##..##.", "##...##", "##...##"],
    "I": ["######", "######", "..##..", "..##..", "..##..", "..##..",
          "..##..", "..##..", "..##..", "######", "######"],
    "M": ["##....##", "###..###", "########", "##.##.##", "##.##.##", "##....##",
          "##....##", "##....##", "##....##", "##....##", "##....##"],
    " ": [".....",] * 11,
}
FONT_HEIGHT = 11


class Canvas:
    """An RGB picture held row by row, top row first."""

    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.rows = [[colour] * width for _ in range(height)]

    def inside(self, x, y):
        return 0 <= x < self.width and 0 <= y < self.height

    def get(self, x, y):
        return self.rows[y][x]

    def set(self, x, y, colour):
        if self.inside(x, y):
            self.rows[y][x] = colour

    def blend(self, x, y, colour, alpha):
        """Mixes colour over the pixel; alpha counts 1/256ths."""
        if not self.inside(x, y) or alpha <= 0:
            return
        if alpha >= 256:
            self.rows[y][x] = colour
            return
        old = self.rows[y][x]
        self.rows[y][x] = tuple((c * alpha + o * (256 - alpha)) // 256 for c, o in zip(colour, old))

    def fill(self, left, top, right, bottom, colour):
        for y in range(max(top, 0), min(bottom, self.height)):
            for x in range(max(left, 0), min(right, self.width)):
                self.rows[y][x] = colour

    def bmp(self):
        """The picture as a bottom-up 24-bit BMP file."""
        stride = (self.width * 3 + 3) & ~3
        pixels = bytearray()
        for row in reversed(self.rows):
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            line += bytes(stride - len(line))
            pixels += line
        info = struct.pack(
            "<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0
        )
        header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
        return header + info + bytes(pixels)


def fail(message):
    sys.exit(f"generate.py: {message}")


def read_region(path):
    """The rectangles of the stored shape, checked against the design's facts.

    The file lists the stored numbers: the byte count, the four header
    fields, the bounds, then four numbers per rectangle.
    """
    numbers = []
    for number, line in enumerate(path.read_text().splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        try:
            numbers.extend(int(f) for f in line.split())
        except ValueError:
            fail(f"{path.name}:{number}: expected numbers")
    body = numbers[9:]
    if len(body) % 4:
        fail(f"{path.name}: rectangles need four numbers each")
    rectangles = [tuple(body[i:i + 4]) for i in range(0, len(body), 4)]
    check_region(rectangles)
    return rectangles


def check_region(rectangles):
    if len(rectangles) != REGION_RECTANGLES:
        fail(f"{len(rectangles)} rectangles, expected {REGION_RECTANGLES}")
    bounds = (
        min(r[0] for r in rectangles),
        min(r[1] for r in rectangles),
        max(r[2] for r in rectangles),
        max(r[3] for r in rectangles),
    )
    if bounds != REGION_BOUNDS:
        fail(f"bounding box {bounds}, expected {REGION_BOUNDS}")
    bands = []
    previous = None
    for rectangle in rectangles:
        left, top, right, bottom = rectangle
        if left >= right or top >= bottom:
            fail(f"empty rectangle {rectangle}")
        if previous and (previous[1], previous[3]) == (top, bottom):
            if left <= previous[2]:
                fail(f"{rectangle} does not lie clear to the right of {previous} in its band")
        else:
            if bands and top < bands[-1][1]:
                fail(f"band of {rectangle} starts above the end of the band before")
            bands.append((top, bottom))
        previous = rectangle
    if len(bands) != REGION_BANDS:
        fail(f"{len(bands)} bands, expected {REGION_BANDS}")


def region_mask(rectangles, width, height):
    mask = [[False] * width for _ in range(height)]
    for left, top, right, bottom in rectangles:
        for y in range(max(top, 0), min(bottom, height)):
            for x in range(max(left, 0), min(right, width)):
                mask[y][x] = True
    return mask


def coverage(test, x, y, samples=4):
    """How much of pixel (x, y) satisfies test, in 1/256ths, by supersampling."""
    hits = 0
    for sy in range(samples):
        for sx in range(samples):
            if test(x + (2 * sx + 1) / (2 * samples), y + (2 * sy + 1) / (2 * samples)):
                hits += 1
    return hits * 256 // (samples * samples)


def paint_shape(canvas, test, box, colour_at, clip=None):
    """Fills the shape given by test within box, anti-aliased at its edge."""
    left, top, right, bottom = box
    for y in range(math.floor(top), math.ceil(bottom)):
        for x in range(math.floor(left), math.ceil(right)):
            if clip and not clip(x, y):
                continue
            alpha = coverage(test, x, y)
            if alpha:
                canvas.blend(x, y, colour_at(x, y), alpha)


def distance(ax, ay, bx, by):
    return math.sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by))


def disc_test(cx, cy, r):
    return lambda px, py: (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r


def shade(colour, amount):
    return tuple(max(0, min(254, c + amount)) for c in colour)


def mix(a, b, t):
    """a at t = 0, b at t = 256."""
    t = max(0, min(256, t))
    return tuple((x * (256 - t) + y * t) // 256 for x, y in zip(a, b))


def text_mask(text, scale):
    """The lettering as a set of pixels, each font pixel a scale by scale block,
    letters two font pixels apart."""
    pixels = set()
    pen = 0
    for ch in text:
        rows = FONT[ch]
        if len(rows) != FONT_HEIGHT or len({len(row) for row in rows}) != 1:
            fail(f"the font's letter {ch!r} is malformed")
        for gy, row in enumerate(rows):
            for gx, bit in enumerate(row):
                if bit == "#":
                    for dy in range(scale):
                        for dx in range(scale):
                            pixels.add((pen + gx * scale + dx, gy * scale + dy))
        pen += (len(rows[0]) + 2) * scale
    return pixels, pen - 2 * scale, FONT_HEIGHT * scale


# ---------------------------------------------------------------- the skin

SKIN_SIZE = (338, 381)
BODY = (50, 50, 54)
BODY_LIGHT = (74, 74, 80)
OUTLINE = (200, 200, 204)
PLATE = (22, 22, 26)
PLATE_EDGE = (96, 96, 104)
GREY = (150, 150, 154)
LETTERING = (226, 226, 232)

ABOUT_DISC = (107.5, 35.3, 27.2)  # follows the round bump at the tab's left
PLATE_BOX = (110, 15, 257, 47)  # its left end lies under the disc
PLATE_TEXT_LEFT = 136  # right of the disc
KNOBS = ((281.5, 42.0), (295.5, 42.0))  # under the "-" and "X" buttons
KNOB_RADIUS = 5.5
LIST_FRAME = (34, 70, 295, 299)  # just outside the list box at 36, 72


def islands(mask):
    """Bounding boxes of the region's detached dots along the top edge."""
    seen = set()
    boxes = []
    for y in range(21, 32):
        for x in range(SKIN_SIZE[0]):
            # Columns 78 to 257 are the tab, which joins the body.
            if not mask[y][x] or (x, y) in seen or 78 <= x < 258:
                continue
            stack = [(x, y)]
            seen.add((x, y))
            box = [x, y, x + 1, y + 1]
            while stack:
                px, py = stack.pop()
                box = [min(box[0], px), min(box[1], py), max(box[2], px + 1), max(box[3], py + 1)]
                for nx, ny in ((px + 1, py), (px - 1, py), (px, py + 1), (px, py - 1)):
                    if mask[ny][nx] and (nx, ny) not in seen:
                        seen.add((nx, ny))
                        stack.append((nx, ny))
            boxes.append(box)
    return boxes


def edge_pixels(mask):
    """Pixels of the shape with a neighbour outside it."""
    height, width = len(mask), len(mask[0])

    def outside(x, y):
        return not (0 <= x < width and 0 <= y < height and mask[y][x])

    return {
        (x, y)
        for y in range(height)
        for x in range(width)
        if mask[y][x]
        and any(outside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
    }


def paint_rounded_box(canvas, box, radius, colour_at, clip):
    left, top, right, bottom = box

    def test(px, py):
        cx = min(max(px, left + radius), right - radius)
        cy = min(max(py, top + radius), bottom - radius)
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius

    paint_shape(canvas, test, box, colour_at, clip)


def paint_ball(canvas, cx, cy, r, base, clip):
    """A grey sphere lit from the top left."""

    def colour_at(x, y):
        d = distance(x + 0.5, y + 0.5, cx - r / 3, cy - r / 3) / (r * 1.4)
        return mix(shade(base, 60), shade(base, -30), int(d * 256))

    rim = r + 0.8
    box = (cx - rim - 1, cy - rim - 1, cx + rim + 1, cy + rim + 1)
    paint_shape(canvas, disc_test(cx, cy, rim), box, lambda x, y: shade(base, -70), clip)
    paint_shape(canvas, disc_test(cx, cy, r), box, colour_at, clip)


def paint_lettering(canvas, pixels, left, top, colour, shadow, clip):
    for offset, tint in ((1, shadow), (0, colour)):
        for x, y in sorted(pixels):
            if clip(left + x + offset, top + y + offset):
                canvas.set(left + x + offset, top + y + offset, tint)


def draw_skin(rectangles):
    width, height = SKIN_SIZE
    canvas = Canvas(width, height, WHITE)
    mask = region_mask(rectangles, width, height)

    def clip(x, y):
        return 0 <= x < width and 0 <= y < height and mask[y][x]

    for y in range(height):
        for x in range(width):
            if mask[y][x]:
                canvas.set(x, y, BODY)

    # A faint frame seats the list box without drawing under it.
    left, top, right, bottom = LIST_FRAME
    for x in range(left, right):
        canvas.set(x, top, shade(BODY, -22))
        canvas.set(x, bottom - 1, BODY_LIGHT)
    for y in range(top, bottom):
        canvas.set(left, y, shade(BODY, -22))
        canvas.set(right - 1, y, BODY_LIGHT)

    # The logo plate fills the tab and hangs a little into the body; the
    # islands right of the tab stay out of it.
    def on_plate(x, y):
        return clip(x, y) and (y >= 35 or x < 258)

    left, top, right, bottom = PLATE_BOX
    paint_rounded_box(canvas, PLATE_BOX, 7, lambda x, y: PLATE_EDGE, on_plate)
    paint_rounded_box(
        canvas,
        (left + 1, top + 1, right - 1, bottom - 1),
        6,
        lambda x, y: mix(PLATE, (40, 40, 46), (y - top) * 6),
        on_plate,
    )

    # The name is centred on the part of the plate that the disc leaves free.
    pixels, text_width, _ = text_mask("KESTON PRIME", 1)
    free_left = PLATE_TEXT_LEFT
    text_left = free_left + (right - 2 - free_left - text_width) // 2
    paint_lettering(canvas, pixels, text_left, 20, LETTERING, BLACK, clip)

    cx, cy, r = ABOUT_DISC
    paint_ball(canvas, cx, cy, r - 1.2, GREY, clip)

    for box_left, box_top, box_right, box_bottom in islands(mask):
        bx = (box_left + box_right) / 2
        by = (box_top + box_bottom) / 2
        paint_ball(canvas, bx, by, (box_right - box_left) / 2 - 1.0, GREY, clip)

    for kx, ky in KNOBS:
        paint_ball(canvas, kx, ky, KNOB_RADIUS, (104, 104, 108), clip)

    # A light outer line and a faint inner one give the body a rim.
    outline = edge_pixels(mask)
    inner_mask = [[mask[y][x] and (x, y) not in outline for x in range(width)] for y in range(height)]
    for x, y in edge_pixels(inner_mask):
        canvas.set(x, y, shade(canvas.get(x, y), 24))
    for x, y in outline:
        canvas.set(x, y, OUTLINE)

    check_skin(canvas, mask)
    return canvas


def check_skin(canvas, mask):
    for y in range(canvas.height):
        for x in range(canvas.width):
            if mask[y][x] == (canvas.get(x, y) == WHITE):
                fail(f"skin pixel {x},{y} disagrees with the window's shape")


# ---------------------------------------------------------------- the flag


def draw_flag():
    width, height = 80, 60
    canvas = Canvas(width, height, (0, 148, 64))
    cx, cy = 40, 30

    def rhombus(px, py):
        return abs(px - cx) / 33 + abs(py - cy) / 24 <= 1

    paint_shape(canvas, rhombus, (0, 0, width, height), lambda x, y: (254, 223, 0))
    disc = disc_test(cx, cy, 14.5)
    paint_shape(canvas, disc, (0, 0, width, height), lambda x, y: (0, 39, 118))

    # The band is an arc of a circle whose centre lies below the disc.
    def band(px, py):
        return disc(px, py) and 34.5 <= distance(px, py, 32, 66) <= 37.5

    paint_shape(canvas, band, (0, 0, width, height), lambda x, y: (250, 250, 250))
    for x, y in ((34, 36), (38, 38), (42, 36), (45, 40), (36, 41), (40, 42), (47, 34), (31, 38)):
        canvas.set(x, y, (250, 250, 250))
    return canvas


# ---------------------------------------------------------------- the splash


GOLD_TOP = (255, 236, 140)
GOLD = (236, 180, 40)
GOLD_BOTTOM = (150, 92, 10)


def gold_at(y, height):
    """Pale at the top of the letters, deep at their foot."""
    t = y * 256 // height
    if t < 128:
        return mix(GOLD_TOP, GOLD, t * 2)
    return mix(GOLD, GOLD_BOTTOM, (t - 128) * 2)


def paint_logo_line(canvas, text, scale, top):
    pixels, width, height = text_mask(text, scale)
    left = (canvas.width - width) // 2
    # Light upper and left edges, dark lower and right ones and a drop shadow
    # make the lettering read as raised metal.
    for x, y in sorted(pixels):
        canvas.set(left + x + 3, top + y + 3, (60, 34, 0))
    for x, y in sorted(pixels):
        colour = gold_at(y, height)
        if (x, y - 1) not in pixels or (x - 1, y) not in pixels:
            colour = shade(colour, 40)
        elif (x, y + 1) not in pixels or (x + 1, y) not in pixels:
            colour = shade(colour, -60)
        canvas.set(left + x, top + y, colour)


def draw_splash():
    width, height = 478, 284
    canvas = Canvas(width, height, BLACK)
    paint_logo_line(canvas, "KESTON", 6, 48)
    paint_logo_line(canvas, "PRIME", 6, 128)
    # A rule that fades towards its ends, above the status line.
    for x in range(40, width - 40):
        canvas.set(x, 210, mix(GOLD_TOP, GOLD_BOTTOM, abs(x - width // 2) * 256 // 200))
    # White is the transparency key: the start-up window shows through there.
    canvas.fill(0, height - 1, width, height, WHITE)
    return canvas


def main():
    rectangles = read_region(REGION_FILE)
    for name, canvas in (
        ("skin.bmp", draw_skin(rectangles)),
        ("flag.bmp", draw_flag()),
        ("splash.bmp", draw_splash()),
        *keepers.draw_keepers(lambda w, h: Canvas(w, h, WHITE), fail).items(),
    ):
        (HERE / name).write_bytes(canvas.bmp())


if __name__ == "__main__":
    main()
